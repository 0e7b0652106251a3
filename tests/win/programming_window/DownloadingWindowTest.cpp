// The real programming window in-process: where it places itself, its layout, the reply
// box, bringing it on screen, the close timer, ending a command-line run, the status copy
// to the main window, and hosting the port-access control.
#include "DownloadingFixture.h"

#include <algorithm>
#include <atomic>

#include "controls/LabelButton_Helper.h"
#include "core/ExitCodes.h"
#include "editor/frmMain.h"
#include "programming/ProgressCallback.h"
#include "support/WinSupport.h"

namespace {

using WindowTest::DownloadingFixture;
using WindowTest::PumpUntil;

float Tx() { return platform::TwipsPerPixelX(); }
float Ty() { return platform::TwipsPerPixelY(); }

class DownloadingWindowTest : public DownloadingFixture {};

TEST_F(DownloadingWindowTest, SilentRunParksTheWindowOffScreen) {
    forms::frmDownloading& w = Window();
    EXPECT_LT(w.Top(), 0);
    EXPECT_LT(w.Left(), 0);
    EXPECT_NEAR(w.Top(), -w.Height() - 1000, 2 * Ty());
    EXPECT_NEAR(w.Left(), -w.Width() - 1000, 2 * Tx());
    EXPECT_EQ(w.Caption(), "Keyloom - Downloading");
}

TEST_F(DownloadingWindowTest, VerboseRunCentresOnScreenWithTheSizeMarkedByLblSize) {
    g_fShowProgress = true;
    forms::frmDownloading& w = Window();
    EXPECT_NEAR(w.ScaleWidth(), 5400, Tx());
    EXPECT_NEAR(w.ScaleHeight(), 1200, Ty());
    EXPECT_NEAR(w.Left(), (platform::Screen::Width() - w.Width()) / 2, 2 * Tx());
    EXPECT_NEAR(w.Top(), (platform::Screen::Height() - w.Height()) / 2, 2 * Ty());
    // Form_Resize: status above the middle, Close button below it, both centred.
    EXPECT_NEAR(w.lblStatus.Left(), (w.ScaleWidth() - w.lblStatus.Width()) / 2, Tx());
    EXPECT_NEAR(w.lblStatus.Top(), w.ScaleHeight() / 2 - 1.25f * w.lblStatus.Height(), Ty());
    EXPECT_NEAR(w.lblCloseButton.Left(), (w.ScaleWidth() - w.lblCloseButton.Width()) / 2, Tx());
    EXPECT_NEAR(w.lblCloseButton.Top(), w.ScaleHeight() / 2 + 0.25f * w.lblStatus.Height(), Ty());
    EXPECT_NEAR(w.lblCloseButton.Width(), 900, Tx());
    EXPECT_NEAR(w.lblCloseButton.Height(), 255, Ty());
    EXPECT_EQ(w.lblCloseButton.Caption(), "Close");
    EXPECT_EQ(w.lblStatus.Caption(), "PROGRAMMING QUORBA");
    // The whole longest status text fits the status line.
    EXPECT_GE(w.lblStatus.Width(), 4500);
}

TEST_F(DownloadingWindowTest, EditorCentresTheWindowOverTheMainWindow) {
    g_fCommandLineMode = false;
    g_fShowProgress = true;
    // The main window's load already loads the programming window (hidden).
    forms::frmMain& main = *::frmMain;
    EXPECT_TRUE(::frmDownloading.Exists());
    main.Move(1500, 900, 9000, 6000);
    Window().Unload();
    forms::frmDownloading& w = Window();
    EXPECT_NEAR(w.Left(), main.Left() + (main.Width() - w.Width()) / 2, 2 * Tx());
    EXPECT_NEAR(w.Top(), main.Top() + (main.Height() - w.Height()) / 2, 2 * Ty());
    EXPECT_FALSE(w.Visible()) << "loaded hidden";
    w.Unload();
    main.Unload();
    ::frmMain.Reset();
}

TEST_F(DownloadingWindowTest, EditorWithoutAMainWindowCentresOnTheScreenAndKeepsItsStatus) {
    forms::SetMainWindowLink(nullptr);
    g_fCommandLineMode = false;
    g_fShowProgress = true;
    forms::frmDownloading& w = Window();
    EXPECT_NEAR(w.Left(), (platform::Screen::Width() - w.Width()) / 2, 2 * Tx());
    EXPECT_NEAR(w.Top(), (platform::Screen::Height() - w.Height()) / 2, 2 * Ty());
    w.lblStatus.SetCaption("Driver Started");
    EXPECT_EQ(w.lblStatus.Caption(), "Driver Started");
    EXPECT_FALSE(::frmMain.Exists());
}

TEST_F(DownloadingWindowTest, ReplyBoxIsHiddenOverUsbAndAboveTheClientAreaOverPs2) {
    {
        forms::frmDownloading& w = Window();
        EXPECT_FALSE(w.txtInput.Visible());
        w.Unload();
    }
    g_fUsbMode = false;
    forms::frmDownloading& w = Window();
    EXPECT_TRUE(w.txtInput.Visible());
    EXPECT_NEAR(w.txtInput.Top(), -2000, Ty());
    w.txtInput.SetText("Z");
    w.txtInput.SetEnabled(false);
    w.ResetTxtInput();
    EXPECT_EQ(w.txtInput.Text(), "");
    EXPECT_TRUE(w.txtInput.Enabled());
    EXPECT_TRUE(w.txtInput.Visible());
}

TEST_F(DownloadingWindowTest, BringToScreenCentresAParkedWindowAndLeavesAVisibleOneInPlace) {
    forms::frmDownloading& w = Window();
    ASSERT_LT(w.Top(), 0);
    const float width = w.Width(), height = w.Height();
    w.BringToScreen();
    EXPECT_TRUE(w.Visible());
    EXPECT_NEAR(w.Left(), (platform::Screen::Width() - width) / 2, 2 * Tx());
    EXPECT_NEAR(w.Top(), (platform::Screen::Height() - height) / 2, 2 * Ty());
    EXPECT_NEAR(w.Width(), width, Tx());

    w.Move(300, 450);
    w.BringToScreen();
    EXPECT_NEAR(w.Left(), 300, Tx());
    EXPECT_NEAR(w.Top(), 450, Ty());
    EXPECT_TRUE(w.Visible());
    // A window just above the screen edge still counts as parked.
    w.Move(300, -Ty());
    w.BringToScreen();
    EXPECT_GT(w.Top(), 0);
}

TEST_F(DownloadingWindowTest, StatusReachesTheMainWindowOnlyInEditorMode) {
    g_fCommandLineMode = false;
    g_fShowProgress = true;
    forms::frmMain& main = *::frmMain;
    main.lblStatus.SetCaption("before");
    ProgressCallback::g_lblProgress = &forms::DownloadingStatusLabel();
    ProgressCallback::ProgressMessage("Loading Driver...");
    EXPECT_EQ(Window().lblStatus.Caption(), "Loading Driver...");
    EXPECT_EQ(main.lblStatus.Caption(), "Loading Driver...");
    // The empty status between the pages of a four-player board is copied too.
    ProgressCallback::ProgressMessage("");
    EXPECT_EQ(main.lblStatus.Caption(), "");

    g_fCommandLineMode = true;
    main.lblStatus.SetCaption("kept");
    ProgressCallback::ProgressMessage("Driver Started");
    EXPECT_EQ(Window().lblStatus.Caption(), "Driver Started");
    EXPECT_EQ(main.lblStatus.Caption(), "kept");
    g_fCommandLineMode = false;
    Window().Unload();
    main.Unload();
    ::frmMain.Reset();
}

TEST_F(DownloadingWindowTest, StatusLabelLoadsAClosedWindowAgain) {
    g_fCommandLineMode = false;
    g_fShowProgress = true;
    forms::frmMain& main = *::frmMain;
    Window().Unload();
    EXPECT_FALSE(::frmDownloading.Exists());
    forms::DownloadingStatusLabel().SetCaption("again");
    ASSERT_TRUE(::frmDownloading.Exists());
    EXPECT_TRUE(::frmDownloading.Peek()->IsLoaded());
    EXPECT_EQ(::frmDownloading.Peek()->lblStatus.Caption(), "again");
    EXPECT_EQ(made.size(), 2u);  // a new instance comes with a new control
    Window().Unload();
    main.Unload();
    ::frmMain.Reset();
}

// Watches from another thread when a window stops being visible: hiding a mapped window
// under Wine without a window manager waits for the X server afterwards, so the time the
// unload returns says little about when it began.
class HideWatcher {
public:
    explicit HideWatcher(HWND hwnd) : m_hwnd(hwnd), m_start(GetTickCount()) {}
    ~HideWatcher() { m_stop = true; }  // a test that ends early must not wait forever
    // Milliseconds from the start until the window was first seen hidden; 0 if never.
    DWORD HiddenAfter() const { return m_hiddenAfter; }

private:
    HWND m_hwnd;
    DWORD m_start;
    std::atomic<bool> m_stop{false};
    std::atomic<DWORD> m_hiddenAfter{0};
    // Declared last: it starts once everything it reads is set, and ends before they go.
    winsupport::Thread m_thread{[this] {
        for (; !m_stop; Sleep(2)) {
            if (!IsWindow(m_hwnd) || !IsWindowVisible(m_hwnd)) {
                const DWORD after = GetTickCount() - m_start;
                m_hiddenAfter = after == 0 ? 1 : after;
                return;
            }
        }
    }};
};

TEST_F(DownloadingWindowTest, CloseFormUnloadsAboutOneSecondLater) {
    g_fCommandLineMode = false;
    g_fShowProgress = true;
    forms::frmMain& main = *::frmMain;
    forms::frmDownloading& w = Window();
    w.Show();
    platform::DoEvents();
    ASSERT_TRUE(IsWindowVisible(w.Hwnd()));
    {
        HideWatcher watcher(w.Hwnd());
        w.CloseForm();
        ASSERT_TRUE(PumpUntil([] { return !::frmDownloading.Exists(); }, 6000));
        ASSERT_TRUE(PumpUntil([&] { return watcher.HiddenAfter() != 0; }, 1000));
        EXPECT_GE(watcher.HiddenAfter(), 900u);
        EXPECT_LT(watcher.HiddenAfter(), 2000u);
    }
    EXPECT_TRUE(host.ends.empty());
    main.Unload();
    ::frmMain.Reset();
}

TEST_F(DownloadingWindowTest, ClosingInCommandLineModeEndsWithTheStatusOfTheRun) {
    Window().Unload();
    ASSERT_EQ(host.ends.size(), 1u);
    EXPECT_EQ(host.ends[0], ExitCodes::kExitProgrammingFailed);  // closed before any run ended

    Download::SetRunOutcome(Download::RunOutcome::Failed);
    Window().Unload();
    ASSERT_EQ(host.ends.size(), 2u);
    EXPECT_EQ(host.ends[1], ExitCodes::kExitProgrammingFailed);

    Download::SetRunOutcome(Download::RunOutcome::Succeeded);
    Window().Unload();
    ASSERT_EQ(host.ends.size(), 3u);
    EXPECT_EQ(host.ends[2], ExitCodes::kExitOk);
}

TEST_F(DownloadingWindowTest, CloseButtonAndCloseBoxUnloadTheWindow) {
    forms::frmDownloading& w = Window();
    const HWND caption = w.lblCloseButton.CaptionLabel().Hwnd();
    SendMessageA(caption, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    SendMessageA(caption, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
    platform::RunDeferredDeletes();
    EXPECT_FALSE(::frmDownloading.Exists());
    EXPECT_EQ(host.ends.size(), 1u);

    const HWND hwnd = Window().Hwnd();
    SendMessageA(hwnd, WM_CLOSE, 0, 0);
    platform::RunDeferredDeletes();
    EXPECT_FALSE(::frmDownloading.Exists());
    EXPECT_EQ(host.ends.size(), 2u);
}

TEST_F(DownloadingWindowTest, CtrlShiftAltClickShowsTheTraceWindow) {
    forms::frmDownloading& w = Window();
    SendMessageA(w.Hwnd(), WM_LBUTTONDOWN, MK_LBUTTON | MK_SHIFT, MAKELPARAM(5, 5));
    SendMessageA(w.Hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(host.traceWindowShown, 0);

    BYTE keys[256];
    GetKeyboardState(keys);
    BYTE withAlt[256];
    memcpy(withAlt, keys, sizeof keys);
    withAlt[VK_MENU] = 0x80;
    SetKeyboardState(withAlt);
    SendMessageA(w.Hwnd(), WM_LBUTTONDOWN, MK_LBUTTON | MK_SHIFT | MK_CONTROL, MAKELPARAM(5, 5));
    SendMessageA(w.Hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    SetKeyboardState(keys);
    EXPECT_EQ(host.traceWindowShown, 1);
}

TEST_F(DownloadingWindowTest, MovingOverTheBackgroundEndsTheCloseButtonsHighlight) {
    forms::frmDownloading& w = Window();
    SendMessageA(w.lblCloseButton.CaptionLabel().Hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(2, 2));
    ASSERT_EQ(LabelButton_Helper::g_btnHot, &w.lblCloseButton);
    EXPECT_EQ(w.lblCloseButton.BackColor(), RGB(192, 192, 255));
    SendMessageA(w.Hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(LabelButton_Helper::g_btnHot, nullptr);
    EXPECT_EQ(w.lblCloseButton.BackColor(), RGB(192, 192, 192));
}

// ---------------------------------------------------------------- Zintrix1

TEST_F(DownloadingWindowTest, ControlGetsItsSiteThenTheStoredPropertiesAndGoesWithTheWindow) {
    forms::frmDownloading& w = Window();
    ASSERT_EQ(made.size(), 1u);
    WindowTest::FakePortControl& c = Control();
    ASSERT_TRUE(w.Zintrix1.Created());
    // Version 0x300, extent 847 x 847, FastMode True, DriverInit 0: exactly 22 bytes.
    const std::vector<std::uint8_t> expected = {0x00, 0x03, 0x00, 0x00, 0x4F, 0x03, 0x00, 0x00, 0x4F, 0x03, 0x00,
                                                0x00, 0x0B, 0x00, 0xFF, 0xFF, 0x03, 0x00, 0x00, 0x00, 0x00, 0x00};
    EXPECT_EQ(c.loadedStream, expected);
    ASSERT_GE(c.events.size(), 2u);
    EXPECT_EQ(c.events[0].what, "SetClientSite");
    EXPECT_TRUE(c.events[0].withSite);
    EXPECT_EQ(c.events[1].what, "Load");
    for (const auto& e : c.events) EXPECT_NE(e.what, "DoVerb") << "an invisible control is never activated";

    // Late-bound, by name.
    c.onIn = [](std::int32_t) -> std::uint8_t { return 0x14; };
    w.Zintrix1.OutByte(0x64, 0xA7);
    EXPECT_EQ(w.Zintrix1.InByte(0x64), 0x14);
    std::vector<std::string> names;
    for (const auto& e : c.events)
        if (e.what.rfind("GetIDsOfNames:", 0) == 0) names.push_back(e.what.substr(14));
    EXPECT_EQ(names, (std::vector<std::string>{"OUTBYTE", "INBYTE"}));
    const auto out = *std::find_if(c.events.begin(), c.events.end(),
                                   [](const WindowTest::ControlEvent& e) { return e.what == "OutByte"; });
    EXPECT_EQ(out.port, 0x64);
    EXPECT_EQ(out.value, 0xA7);

    w.Unload();
    EXPECT_EQ(c.events.back().what, "SetClientSite");
    EXPECT_FALSE(c.events.back().withSite);
    EXPECT_EQ(c.events[c.events.size() - 2].what, "Close");
    EXPECT_EQ(c.Refs(), 1u) << "only the test still holds the control";
}

TEST_F(DownloadingWindowTest, SilentCommandLineRunWithoutTheControlEndsQuietly) {
    factoryResult = REGDB_E_CLASSNOTREG;
    forms::frmDownloading& w = Window();
    EXPECT_FALSE(w.IsLoaded());
    EXPECT_TRUE(w.PortControlMissing());
    ASSERT_EQ(host.ends.size(), 1u);
    EXPECT_EQ(host.ends[0], ExitCodes::kExitNoPortControl);
    EXPECT_TRUE(host.boxes.empty());
    ASSERT_FALSE(host.traces.empty());
    EXPECT_NE(host.traces.back().find("not registered"), std::string::npos);
    EXPECT_FALSE(Download::HasDownloadingForm());
}

TEST_F(DownloadingWindowTest, VerboseCommandLineRunWithoutTheControlSaysSo) {
    factoryResult = REGDB_E_CLASSNOTREG;
    g_fShowProgress = true;
    Window();
    ASSERT_EQ(host.boxes.size(), 1u);
    EXPECT_NE(host.boxes[0].find("tamrin.ocx"), std::string::npos);
    ASSERT_EQ(host.ends.size(), 1u);
    EXPECT_EQ(host.ends[0], ExitCodes::kExitNoPortControl);
}

TEST_F(DownloadingWindowTest, EditorWithoutTheControlWarnsOnceAndKeepsItsStatusLine) {
    g_fCommandLineMode = false;
    g_fShowProgress = true;
    factoryResult = REGDB_E_CLASSNOTREG;
    // The main window's load is the first reference: the warning comes then.
    forms::frmMain& main = *::frmMain;
    EXPECT_EQ(host.boxes.size(), 1u);
    EXPECT_FALSE(Window().IsLoaded());
    EXPECT_FALSE(Window().IsLoaded());  // every reference tries again
    EXPECT_EQ(host.boxes.size(), 1u);
    EXPECT_TRUE(host.ends.empty());
    EXPECT_NE(main.lblStatus.Caption().find("not registered"), std::string::npos);
    // Programming code finds no window and goes on without one.
    EXPECT_FALSE(Download::HasDownloadingForm());
    // Once the control is there, the next reference has a window.
    factoryResult = S_OK;
    EXPECT_TRUE(Window().IsLoaded());
    EXPECT_TRUE(Download::HasDownloadingForm());
    Window().Unload();
    main.Unload();
    ::frmMain.Reset();
}

TEST_F(DownloadingWindowTest, RegisteredControlIsCreatedThroughCom) {
    ZintrixHost::SetControlFactory(nullptr);
    const std::string program = [] {
        char buf[MAX_PATH * 2] = {};
        GetEnvironmentVariableA("KL_PROGRAM_DIR", buf, sizeof buf);
        return std::string(buf);
    }();
    HMODULE ocx = LoadLibraryA((program + "\\tamrin.ocx").c_str());
    ASSERT_NE(ocx, nullptr);
    using Register = HRESULT(STDAPICALLTYPE*)();
    auto reg = reinterpret_cast<Register>(reinterpret_cast<void*>(GetProcAddress(ocx, "DllRegisterServer")));
    ASSERT_NE(reg, nullptr);
    // Unregistered again at the end, however the test ends: the registration installs the
    // port driver as a service started at boot, which the next start of this Wine prefix
    // would load under later tests.
    struct Unregister {
        HMODULE ocx;
        ~Unregister() {
            if (auto f = reinterpret_cast<Register>(reinterpret_cast<void*>(GetProcAddress(ocx, "DllUnregisterServer"))))
                f();
            FreeLibrary(ocx);
        }
    } unregister{ocx};
    // Registering again fails while the control's driver, registered to start with the
    // system, is loaded (its file cannot be replaced); the class stays registered then.
    reg();

    forms::frmDownloading& w = Window();
    ASSERT_TRUE(w.IsLoaded());
    ASSERT_TRUE(w.Zintrix1.Created());
    // The stored FastMode True reached the control.
    IDispatch* d = w.Zintrix1.Object();
    LPOLESTR name = const_cast<LPOLESTR>(L"FastMode");
    DISPID id = 0;
    ASSERT_HRESULT_SUCCEEDED(d->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &id));
    DISPPARAMS none{nullptr, nullptr, 0, 0};
    VARIANT v;
    VariantInit(&v);
    ASSERT_HRESULT_SUCCEEDED(d->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET, &none, &v, nullptr, nullptr));
    EXPECT_EQ(v.vt, VT_BOOL);
    EXPECT_EQ(v.boolVal, VARIANT_TRUE);
    // No port access here: under Wine a port instruction, in the driver or in this
    // process, faults.
}

}  // namespace
