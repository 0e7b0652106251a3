#include "programming/frmDownloading.h"

#include "controls/LabelButton_Helper.h"
#include "core/ExitCodes.h"
#include "core/Globals.h"
#include "core/Host.h"
#include "core/Trace_.h"
#include "core/WinApi_.h"
#include "platform/Platform.h"
#include "programming/DownloadViaPs2.h"
#include "programming/DownloadViaUsb.h"

namespace forms {

namespace {

// Design values of the window's controls (twips).
constexpr float kStatusLeft = 120, kStatusTop = 120, kStatusWidth = 1650, kStatusHeight = 195;
constexpr float kCloseWidth = 900, kCloseHeight = 255;
constexpr float kSizeLeft = 480, kSizeTop = 1200, kSizeWidth = 4920, kSizeHeight = 195;
constexpr float kInputWidth = 1215, kInputHeight = 285;
constexpr float kInputTop = -2000;
constexpr unsigned kCloseInterval = 1000;

// The status label as the status channel sees it: always the label of the current
// window instance, which a reference loads when none is loaded. A window that cannot be
// loaded (no port-access control) leaves the texts to the main window's status line, so
// that the user still sees how a run goes.
class StatusLabelOfWindow final : public IStatusLabel {
public:
    void SetCaption(const std::string& sCaption) override;
    std::string Caption() const override {
        frmDownloading& w = *::frmDownloading;
        return w.IsLoaded() ? w.lblStatus.Caption() : m_sCaption;
    }

private:
    std::string m_sCaption;
};

class ProgrammingWindow final : public Download::IProgrammingWindow {
public:
    void Show() override { ::frmDownloading->ShowForRun(); }
    void UpdateWindow() override { WinApi_::UpdateFormWindow(*::frmDownloading); }
    void SetMousePointer(int pointer) override { ::frmDownloading->SetMousePointer(pointer); }
    IStatusLabel& StatusLabel() override { return DownloadingStatusLabel(); }
    void CloseForm() override { ::frmDownloading->CloseForm(); }
    void BringToScreen() override { ::frmDownloading->BringToScreen(); }
    void ResetTxtInput() override { ::frmDownloading->ResetTxtInput(); }
    void SetTxtInputEnabled(bool enabled) override { ::frmDownloading->txtInput.SetEnabled(enabled); }
    Download::IPortControl& PortControl() override { return ::frmDownloading->Zintrix1; }
};

StatusLabelOfWindow g_statusLabel;
ProgrammingWindow g_programmingWindow;
bool g_fMissingControlShown = false;
// Set while the status line carries a run's text that no window could show: a renewed
// attempt to load the window must not cover it with the missing control's report.
bool g_fRunTextWithoutWindow = false;
IMainWindowLink* g_mainWindow = nullptr;

void SetMainStatus(const std::string& sText) {
    if (g_mainWindow) g_mainWindow->SetMainStatus(sText);
}

void StatusLabelOfWindow::SetCaption(const std::string& sCaption) {
    frmDownloading& w = *::frmDownloading;
    if (w.IsLoaded()) {
        w.lblStatus.SetCaption(sCaption);
        return;
    }
    m_sCaption = sCaption;
    if (g_fCommandLineMode) return;
    g_fRunTextWithoutWindow = true;
    SetMainStatus(sCaption);
}

}  // namespace

void SetMainWindowLink(IMainWindowLink* link) { g_mainWindow = link; }

IStatusLabel& DownloadingStatusLabel() { return g_statusLabel; }

void InstallProgrammingWindow() {
    // What the transports reach of Windows besides the window: the board's driver
    // device and installer, and the keyboard layout that maps the board's typed answers.
    DownloadViaUsb::InstallWin32DeviceApi();
    DownloadViaPs2::InstallWin32KeyboardLayout();
    Download::SetDownloadingFormSource([]() -> Download::IProgrammingWindow* {
        // A window that cannot be created (no port-access control) unloads itself.
        return ::frmDownloading->IsLoaded() ? &g_programmingWindow : nullptr;
    });
}

frmDownloading::~frmDownloading() { Zintrix1.Destroy(); }

void frmDownloading::InitializeComponent() {
    SetCaption("Keyloom - Downloading");

    lblStatus.Create(this, kStatusLeft, kStatusTop, kStatusWidth, kStatusHeight, "PROGRAMMING QUORBA");
    lblStatus.Change = [this] { lblStatus_Change(); };
    lblStatus.AssignControlId(kIdStatus);

    LabelButton_::PropertyBag closeButton{{"Caption", std::string("Close")}};
    lblCloseButton.Create(this, 0, 0, kCloseWidth, kCloseHeight, closeButton);
    lblCloseButton.Click = [this] { lblCloseButton_Click(); };
    lblCloseButton.AssignControlId(kIdCloseButton);

    lblSize.Create(this, kSizeLeft, kSizeTop, kSizeWidth, kSizeHeight,
                   "The top,right corner of this label marks the size of this Form at runtime.");

    timerClose.SetInterval(kCloseInterval);
    timerClose.SetEnabled(false);
    timerClose.Tick = [this] { timerClose_Timer(); };

    txtInput.Create(this, kStatusLeft, kInputTop, kInputWidth, kInputHeight);
    txtInput.KeyDown = [this](int& keyCode, int shift) { txtInput_KeyDown(keyCode, shift); };
    txtInput.AssignControlId(kIdInput);

    MouseDown = [this](const platform::MouseEvent& e) { Form_MouseDown(e); };
    MouseMove = [this](const platform::MouseEvent& e) { Form_MouseMove(e); };

    m_fPortControlMissing = !CreatePortControl();
}

bool frmDownloading::CreatePortControl() {
    const HRESULT hr = Zintrix1.Create(Hwnd(), BackColor());
    if (SUCCEEDED(hr)) return true;
    ReportMissingPortControl(hr);
    return false;
}

void frmDownloading::ReportMissingPortControl(HRESULT hr) {
    const std::string text = ZintrixHost::DescribeFailure(hr);
    Trace_::Trace("frmDownloading.Form_Load", text);
    if (g_fCommandLineMode) {
        // A silent run stays silent: the trace line and the exit status tell.
        if (g_fShowProgress) Host().MessageBox(text, MB_OK | MB_ICONHAND, "Keyloom");
        Host().EndProgram(ExitCodes::kExitNoPortControl);
        return;
    }
    if (!g_fRunTextWithoutWindow) SetMainStatus(text);
    // Once per run of the editor; later attempts report on the status line only (unless
    // it carries a run's text).
    if (!g_fMissingControlShown) {
        g_fMissingControlShown = true;
        Host().MessageBox(text, MB_OK | MB_ICONEXCLAMATION, "Keyloom");
    }
}

void frmDownloading::Form_Load() {
    ProgressCallback::g_lblProgress = &DownloadingStatusLabel();
    InstallProgrammingWindow();

    if (m_fPortControlMissing) {
        // Without its control the window cannot exist: it goes again at once and the
        // next reference tries anew.
        Unload();
        return;
    }
    g_fRunTextWithoutWindow = false;

    const float frameWidth = Width() - ScaleWidth();
    const float frameHeight = Height() - ScaleHeight();
    const float w = lblSize.Left() + lblSize.Width() + frameWidth;
    const float h = lblSize.Top() + frameHeight;

    // The status texts are longer than the label's design width: the label spans the
    // window (with the design margin) and centres its text, so no text is cut off.
    lblStatus.SetAlignment(platform::Label::kCenter);
    lblStatus.SetWidth(lblSize.Left() + lblSize.Width() - 2 * kStatusLeft);

    if (!g_fShowProgress) {
        Move(-w - 1000, -h - 1000, w, h);
    } else if (g_fCommandLineMode || !g_mainWindow) {
        Move((platform::Screen::Width() - w) / 2, (platform::Screen::Height() - h) / 2, w, h);
    } else {
        Move(0, 0, w, h);
        CentreOverMainWindow();
    }
    Form_Resize();

    txtInput.SetVisible(!g_fUsbMode);
}

void frmDownloading::CentreOverMainWindow() {
    const IMainWindowLink::Frame main = g_mainWindow->MainWindowFrame();
    Move(main.left + (main.width - Width()) / 2, main.top + (main.height - Height()) / 2);
}

void frmDownloading::ShowForRun() {
    // The editor loads this window while its main window loads, before that one moves to
    // its saved or centred place: a run centres it over the main window as it stands now.
    // A window still on screen from a run before stays where the user sees it.
    if (!g_fCommandLineMode && g_fShowProgress && g_mainWindow && !Visible()) CentreOverMainWindow();
    Show(false);
}

void frmDownloading::Form_Resize() {
    if (!lblStatus.Created()) return;
    const float sw = ScaleWidth(), sh = ScaleHeight();
    lblStatus.Move((sw - lblStatus.Width()) / 2, sh / 2 - 1.25f * lblStatus.Height());
    lblCloseButton.Move((sw - lblCloseButton.Width()) / 2, sh / 2 + 0.25f * lblStatus.Height());
    txtInput.SetTop(kInputTop);
}

void frmDownloading::Form_Unload(bool& /*cancel*/) {
    if (m_fPortControlMissing) {
        // The failed load going again: nothing of a window has happened yet.
        Zintrix1.Destroy();
        return;
    }
    Zintrix1.Destroy();
    if (::frmDownloading.Peek() == this) ::frmDownloading.Reset();
    if (g_fCommandLineMode) Download::EndCommandLineProgram();
}

void frmDownloading::CloseForm() { timerClose.SetEnabled(true); }

void frmDownloading::ResetTxtInput() {
    txtInput.SetText("");
    txtInput.SetEnabled(true);
    txtInput.SetVisible(true);
    if (txtInput.Visible() && txtInput.Enabled()) txtInput.SetFocus();
}

void frmDownloading::BringToScreen() {
    // Each step on its own: a failing one does not keep the others from happening.
    if (Top() < 0) {
        Move((platform::Screen::Width() - Width()) / 2, (platform::Screen::Height() - Height()) / 2);
    }
    Show(false);
    WinApi_::Beep(MB_ICONEXCLAMATION);
}

void frmDownloading::Form_MouseDown(const platform::MouseEvent& e) {
    if (e.shift == (platform::kShiftMask | platform::kCtrlMask | platform::kAltMask)) Trace_::ShowTraceWindow();
}

void frmDownloading::Form_MouseMove(const platform::MouseEvent&) {
    LabelButton_Helper::SetHotButton(nullptr, RGB(255, 255, 255), RGB(0, 0, 0));
}

void frmDownloading::lblStatus_Change() {
    // A window whose load failed has no label text to copy.
    if (g_fCommandLineMode || !lblStatus.Created()) return;
    // Straight into the main window's label: its owner tag stays as it is.
    SetMainStatus(lblStatus.Caption());
}

void frmDownloading::lblCloseButton_Click() { Unload(); }

void frmDownloading::timerClose_Timer() { Unload(); }

void frmDownloading::txtInput_KeyDown(int& keyCode, int shift) {
    DownloadViaPs2::OnKeyDown(static_cast<std::int16_t>(keyCode), static_cast<std::int16_t>(shift));
}

}  // namespace forms
