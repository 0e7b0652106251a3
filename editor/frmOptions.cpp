#include "editor/frmOptions.h"

#include <windows.h>

#include <exception>

#include "core/CfgFile.h"
#include "core/Debug_.h"
#include "core/Error_.h"
#include "core/Globals.h"
#include "core/Host.h"
#include "core/QbcFile.h"
#include "core/Util.h"
#include "editor/OptionsArt.h"
#include "editor/OptionsRules.h"
#include "editor/frmMain.h"

namespace forms {

namespace {
constexpr float kButtonWidth = 885, kButtonHeight = 300;
constexpr float kOkayLeft = 2640, kCancelLeft = 3600, kButtonTop = 4440;
constexpr float kClientWidth = 4680, kClientHeight = 4920;
// The tab strip and the pages inside it.
constexpr float kTabLeft = 120, kTabTop = 120, kTabWidth = 4440, kTabHeight = 4160;
constexpr float kFrameLeft = 240, kFrameWidth = 4200, kInsetLeft = 360, kInsetWidth = 3960;
constexpr float kOptionLeft = 480, kOptionHeight = 255;

constexpr std::int32_t kPathFileAccessError = 75;
constexpr const char* kTitle = "Keyloom";
constexpr const char* kCrLf = "\r\n";
constexpr const char* kSettingsKept = "The settings stay as they were.";

std::string CfgPath() { return Host().AppPath() + "\\Keyloom.cfg"; }

// Reports what a load of a working file could not do: the settings are saved all the same.
template <class F>
void LoadReportingErrors(const char* sWhat, F&& load) {
    try {
        load();
    } catch (const Error_::RuntimeError& e) {
        Error_::ReportError(sWhat, e.Number(), e.Description(), e.Source());
    } catch (const std::exception& e) {
        Error_::ReportError(sWhat, kPathFileAccessError, e.what(), "");
    }
}
}  // namespace

// ---------------------------------------------------------------- building

void frmOptions::InitializeComponent() {
    SetCaption("Keyloom Options");
    Move(0, 0, kClientWidth, kClientHeight);
    // The frame takes what the caption and borders need beyond the client area.
    Move(0, 0, kClientWidth + (Width() - ScaleWidth()), kClientHeight + (Height() - ScaleHeight()));
    Move((platform::Screen::Width() - Width()) / 2, (platform::Screen::Height() - Height()) / 3);

    SSTab1.Create(this, kTabLeft, kTabTop, kTabWidth, kTabHeight);
    SSTab1.AssignControlId(kIdTabs);
    SSTab1.AddTab("Board Settings");
    SSTab1.AddTab("Download Timers");
    SSTab1.Click = [this] { SSTab1_Click(); };

    CreateBoardPage();
    CreateTimerPage();

    cmdOkay.Create(this, kOkayLeft, kButtonTop, kButtonWidth, kButtonHeight, "OK");
    cmdOkay.AssignControlId(kIdOkay);
    cmdCancel.Create(this, kCancelLeft, kButtonTop, kButtonWidth, kButtonHeight, "Cancel");
    cmdCancel.AssignControlId(kIdCancel);
    cmdOkay.Click = [this] { cmdOkay_Click(); };
    cmdCancel.Click = [this] { cmdCancel_Click(); };
    SetDefaultButton(&cmdOkay);
    SetCancelButton(&cmdCancel);

    // The frames lie under their controls and the tab strip under everything on its pages.
    for (platform::Frame* frame : {&frameQuorbaModel, &frameConnection, &frameDownloadTimeout}) frame->ZOrder(1);
    SSTab1.ZOrder(1);

    SetKeyPreview(true);
    KeyDown = [this](int& keyCode, int shift) { Form_KeyDown(keyCode, shift); };
}

void frmOptions::CreateBoardPage() {
    frameQuorbaModel.Create(this, kFrameLeft, 540, kFrameWidth, 1860, "Quorba Model");
    lblQuorbaModel.Create(this, kInsetLeft, 800, kInsetWidth, 420,
                          "Please select the type of Quorba that is connected to the computer:");
    optQuorba2.Create(this, kOptionLeft, 1300, 3600, kOptionHeight, "Quorba/&2, Caddow, Quorbette", true);
    optQuorba2.AssignControlId(kIdQuorba2);
    optQuorba4.Create(this, kOptionLeft, 1620, 3600, kOptionHeight, "Quorba/&4");
    optQuorba4.AssignControlId(kIdQuorba4);
    optQuorbaVexo.Create(this, kOptionLeft, 1940, 3600, kOptionHeight, "Quorba &Vexo");
    optQuorbaVexo.AssignControlId(kIdQuorbaVexo);

    frameConnection.Create(this, kFrameLeft, 2540, kFrameWidth, 1500, "Connection");
    lblQuorbaConnection.Create(this, kInsetLeft, 2800, kInsetWidth, 420,
                               "Please select the how the Quorba is connected to the computer:");
    optPs2.Create(this, kOptionLeft, 3300, 1800, kOptionHeight, "&PS/2", true);
    optPs2.AssignControlId(kIdPs2);
    optUsb.Create(this, kOptionLeft, 3620, 1800, kOptionHeight, "&USB");
    optUsb.AssignControlId(kIdUsb);
}

void frmOptions::CreateTimerPage() {
    frameDownloadTimeout.Create(this, kFrameLeft, 540, kFrameWidth, 1860, "Quorba Download &Timeout");
    lblTimeout.Create(this, kInsetLeft, 860, kInsetWidth, 255);
    lblTimeout.AssignControlId(kIdTimeoutLabel);
    Image1.Create(this, kInsetLeft, 1380);
    Image1.SetPicture(OptionsArt::Stopwatch());
    Label1[0].Create(this, 960, 1500, 420, 255, "Fast");
    Label1[0].SetAlignment(platform::Label::kRight);
    sliderTimeout.Create(this, 1440, 1380, 2280, 540);
    sliderTimeout.AssignControlId(kIdTimeout);
    sliderTimeout.SetRange(OptionsRules::kTimeoutMin, OptionsRules::kTimeoutMax);
    sliderTimeout.SetSmallChange(OptionsRules::kTimeoutSmallChange);
    sliderTimeout.SetLargeChange(OptionsRules::kTimeoutLargeChange);
    sliderTimeout.SetTickFrequency(OptionsRules::kTimeoutTickEvery);
    sliderTimeout.Change = [this] { sliderTimeout_Change(); };
    Label1[1].Create(this, 3780, 1500, 480, 255, "Slow");
}

bool frmOptions::HandleMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    if (platform::ReflectNotification(msg, wp, lp, result)) return true;
    return Form::HandleMessage(msg, wp, lp, result);
}

// ---------------------------------------------------------------- life

void frmOptions::Form_Load() {
    SSTab1.SetTab(0);
    m_fFirstRun = !Util::FileExists(CfgPath());
    if (m_fFirstRun) {
        cmdCancel.SetVisible(false);
        cmdOkay.Move(cmdCancel.Left(), cmdCancel.Top());
        SSTab1.SetTabEnabled(1, false);
        SetCaption("Keyloom Initial Configuration");
    }
    switch (g_typeQuorba) {
    case TYPEQUORBA_Quorba2: SelectBoardOption(optQuorba2); break;
    case TYPEQUORBA_Quorba4: SelectBoardOption(optQuorba4); break;
    case TYPEQUORBA_QuorbaVexo: SelectBoardOption(optQuorbaVexo); break;
    default:
        Debug_::AssertFailed("Unknown g_typeQuorba");
        SelectBoardOption(optQuorba2);
        break;
    }
    SelectConnectionOption(g_fUsbMode ? optUsb : optPs2);
    // A stored timeout outside the slider's range shows (and is saved) at the nearer end.
    sliderTimeout.SetValue(static_cast<int>(g_lTimeout));
    sliderTimeout_Change();
    m_fSettingsSaved = false;
}

void frmOptions::Form_QueryUnload(bool& /*cancel*/, int /*unloadMode*/) {
    // Every way of closing a first-run dialog saves.
    if (m_fFirstRun && !m_fSettingsSaved) SaveReportingErrors("frmOptions.Form_QueryUnload");
}

void frmOptions::Form_Unload(bool& /*cancel*/) {
    if (::frmOptions.Peek() == this) ::frmOptions.Reset();
}

// ---------------------------------------------------------------- events

void frmOptions::SSTab1_Click() {
    const bool board = SSTab1.Tab() == 0;
    for (platform::Window* w : std::initializer_list<platform::Window*>{
             &frameQuorbaModel, &lblQuorbaModel, &optQuorba2, &optQuorba4, &optQuorbaVexo, &frameConnection,
             &lblQuorbaConnection, &optPs2, &optUsb})
        w->SetVisible(board);
    for (platform::Window* w : std::initializer_list<platform::Window*>{
             &frameDownloadTimeout, &lblTimeout, &Image1, &Label1[0], &sliderTimeout, &Label1[1]})
        w->SetVisible(!board);
}

void frmOptions::sliderTimeout_Change() { lblTimeout.SetCaption(OptionsRules::TimeoutLabel(sliderTimeout.Value())); }

void frmOptions::Form_KeyDown(int& keyCode, int shift) {
    if (!(shift & platform::kAltMask)) return;
    platform::OptionButton* board = keyCode == '2'   ? &optQuorba2
                                    : keyCode == '4' ? &optQuorba4
                                    : keyCode == 'V' ? &optQuorbaVexo
                                                     : nullptr;
    platform::OptionButton* connection = keyCode == 'P' ? &optPs2 : keyCode == 'U' ? &optUsb : nullptr;
    if (board || connection) {
        SSTab1.SetTab(0);
        if (board) SelectBoardOption(*board);
        if (connection) SelectConnectionOption(*connection);
        (board ? board : connection)->SetFocus();
    } else if (keyCode == 'T' && SSTab1.TabEnabled(1)) {
        SSTab1.SetTab(1);
        sliderTimeout.SetFocus();
    } else {
        return;
    }
    keyCode = 0;
}

void frmOptions::SelectBoardOption(platform::OptionButton& chosen) {
    for (platform::OptionButton* o : {&optQuorba2, &optQuorba4, &optQuorbaVexo}) o->SetValue(o == &chosen);
}

void frmOptions::SelectConnectionOption(platform::OptionButton& chosen) {
    for (platform::OptionButton* o : {&optPs2, &optUsb}) o->SetValue(o == &chosen);
}

void frmOptions::cmdOkay_Click() {
    // A settings file that cannot be written is reported and the dialog stays, so
    // the choice is not lost silently.
    if (SaveReportingErrors("frmOptions.cmdOkay_Click")) Unload();
}

void frmOptions::cmdCancel_Click() { Unload(); }

// ---------------------------------------------------------------- saving and the first run

void frmOptions::Save_Settings() {
    // The file is written first: a choice that could not be saved is never put in force,
    // so the editor and the file never disagree, and Cancel after a failed OK leaves
    // everything as it was before the dialog. On a first run the default files follow the
    // settings too; a folder that takes no settings file takes no copies either.
    CfgFile::Settings chosen = CfgFile::SettingsInForce();
    chosen.typeQuorba =
        OptionsRules::BoardTypeOfChoice(optQuorba4.Value(), optQuorba2.Value(), optQuorbaVexo.Value());
    chosen.lTimeout = sliderTimeout.Value();
    chosen.fUsbMode = optUsb.Value();
    CfgFile::WriteCfgFile(CfgPath(), chosen);

    if (chosen.typeQuorba != g_typeQuorba) {
        g_typeQuorba = chosen.typeQuorba;
        ::frmMain->EnableGuiForQuorbaType();
    }
    g_lTimeout = chosen.lTimeout;
    g_fUsbMode = chosen.fUsbMode;
    if (m_fFirstRun) InstallDefaultFiles();
    m_fSettingsSaved = true;
}

void frmOptions::InstallDefaultFiles() {
    // A working file that cannot be read is reported; the settings are still saved, or
    // every later start would be a first run again.
    OptionsRules::InstallDefaultFiles({
        &frmOptions::CopyFileIgnoringErrors,
        [](const std::string& sPath) {
            LoadReportingErrors("frmOptions.InstallDefaultFiles", [&] { ::frmMain->CplLoad(sPath); });
        },
        [](const std::string& sPath) {
            LoadReportingErrors("frmOptions.InstallDefaultFiles", [&] { QbcFile::LoadQbcFile(sPath); });
        },
    });
}

void frmOptions::CopyFileIgnoringErrors(const std::string& sSource, const std::string& sTarget) {
    // Fails when the target exists: a working file is never replaced, also one that
    // the test for its existence did not see (a system file, one made meanwhile).
    CopyFileA(sSource.c_str(), sTarget.c_str(), TRUE);
}

std::string frmOptions::GetDefaultCplFileName() { return OptionsRules::DefaultCplFileName(); }

bool frmOptions::SaveReportingErrors(const char* sHandler) {
    try {
        Save_Settings();
        return true;
    } catch (const Util::FileWriteError& e) {
        // The user must learn that the choice did not take: the status line lies behind
        // the dialog, and a first run's close box closes it all the same.
        Error_::ReportError(sHandler, kPathFileAccessError, e.what(), "");
        Host().MessageBox(e.what() + std::string(kCrLf) + kCrLf + kSettingsKept, MB_OK | MB_ICONEXCLAMATION,
                          kTitle);
    } catch (const Error_::RuntimeError& e) {
        Error_::ReportError(sHandler, e.Number(), e.Description(), e.Source());
    } catch (const std::exception& e) {
        Error_::ReportError(sHandler, kPathFileAccessError, e.what(), "");
    }
    return false;
}

}  // namespace forms
