// The main window's remaining commands on the real frmMain, each from its menu item and
// from its button: programming (with its trap, and without the port-access control), the
// other windows, Snap To Grid, Lock Controls, Clear Controls, the on-screen keyboard, the
// launcher, the help text and Exit. Program starts go through a scripted starter.
#include <gtest/gtest.h>

#include <functional>

#include "EditorFixture.h"
#include "core/Error_.h"
#include "editor/HelpTexts.h"
#include "editor/ProgramStarter.h"
#include "editor/frmAbout.h"
#include "editor/frmMacros.h"
#include "editor/frmOptions.h"
#include "editor/frmTest.h"
#include "programming/Download.h"
#include "programming/DownloadViaUsb.h"
#include "programming/ProgressCallback.h"

namespace EditorTest {

namespace {

constexpr unsigned kWarning = MB_OK | MB_ICONEXCLAMATION;
const std::string kPanel = "3000!1200!345!360!01|2|7|0\r\n6000!1400!345!360!30|1|13|0\r\n";

// No board on the bus and no driver installer: every run fails with the device not found.
class NoBoard final : public DownloadViaUsb::IUsbDeviceApi {
public:
    std::unique_ptr<DownloadViaUsb::IUsbDevice> Open(const std::string&, bool) override { return nullptr; }
    long StartProgram(const std::string&) override { return 0; }
};

enum class Start { Runs, Refused, Raises };

class CommandsFixture : public EditorFixture {
protected:
    void SetUp() override {
        EditorFixture::SetUp();
        ProgramStarter::SetStarter([this](const std::string& program) -> std::uint32_t {
            started.push_back(program);
            if (start == Start::Raises) throw Error_::RuntimeError(53, "File not found");
            return start == Start::Runs ? 4242u : 0u;
        });
    }
    void TearDown() override {
        EditorFixture::TearDown();
        ProgramStarter::SetStarter({});
        DownloadViaUsb::SetUsbDeviceApi(nullptr);
        Error_::SetStatusSink(nullptr);
        g_fShowProgress = false;
    }
    // The menu item's and the button's way to the same command.
    std::vector<std::pair<const char*, std::function<void()>>> Ways(platform::MenuItem* item,
                                                                   platform::Window& button) {
        return {{"menu", [item] { item->Click(); }}, {"button", [&button] { button.Click(); }}};
    }
    bool Exists(const std::string& name) { return GetFileAttributesA(Path(name).c_str()) != INVALID_FILE_ATTRIBUTES; }

    std::vector<std::string> started;
    Start start = Start::Runs;
    NoBoard noBoard;
};

using CommandsProgram = CommandsFixture;
using CommandsWindows = CommandsFixture;
using CommandsEdit = CommandsFixture;
using CommandsPrograms = CommandsFixture;
using CommandsHelp = CommandsFixture;

}  // namespace

TEST_F(CommandsProgram, ARunFromMenuOrButtonShowsItsOutcome) {
    forms::frmMain& m = Open();
    DownloadViaUsb::SetUsbDeviceApi(&noBoard);
    for (auto& [way, run] : Ways(m.mProgramQuorba, m.btnProgramQuorba)) {
        SCOPED_TRACE(way);
        m.lblStatus.SetCaption("");
        run();
        EXPECT_FALSE(g_fProgrammingQuorba);
        EXPECT_EQ(m.lblStatus.Caption(), "ERROR 0xC: Board not found / Driver not loaded");
        EXPECT_EQ(::frmDownloading->lblStatus.Caption(), m.lblStatus.Caption());
        EXPECT_TRUE(::frmDownloading->Visible());
    }
    EXPECT_TRUE(host.boxes.empty());
}

// The programming window is loaded with the main window, before that one goes to its saved
// place: the first run of the session still shows it centred over the main window.
TEST_F(CommandsProgram, TheFirstRunCentresTheWindowOverTheMainWindowWhereItStands) {
    g_fShowProgress = true;  // as in every editor session
    forms::frmMain& m = Open();
    ASSERT_TRUE(::frmDownloading.Exists());
    m.Move(1500, 1200);
    DownloadViaUsb::SetUsbDeviceApi(&noBoard);
    m.btnProgramQuorba.Click();
    forms::frmDownloading& w = *::frmDownloading;
    ASSERT_TRUE(w.Visible());
    EXPECT_NEAR(w.Left(), m.Left() + (m.Width() - w.Width()) / 2, 2 * platform::TwipsPerPixelX());
    EXPECT_NEAR(w.Top(), m.Top() + (m.Height() - w.Height()) / 2, 2 * platform::TwipsPerPixelY());
}

TEST_F(CommandsProgram, ARuntimeErrorUnderTheButtonIsReportedAndTheEditorGoesOn) {
    forms::frmMain& m = Open();
    Error_::SetStatusSink(ProgressCallback::ProgressMessage);
    Download::SetDownloadingFormSource([]() -> Download::IProgrammingWindow* {
        throw Error_::RuntimeError(91, "Object variable or With block variable not set", "Keyloom");
    });
    m.btnProgramQuorba.Click();
    forms::InstallProgrammingWindow();
    EXPECT_EQ(m.lblStatus.Caption(),
              "Keyloom.frmMain.btnProgramQuorba(Program)_Click: ERROR 0x5B (91): Object variable or With block "
              "variable not set");
    EXPECT_TRUE(m.IsLoaded());
    EXPECT_TRUE(host.ends.empty());
}

TEST_F(CommandsProgram, WithoutThePortControlTheOutcomeIsOnTheStatusLineAndInAMessage) {
    ZintrixHost::SetControlFactory([](IUnknown**) -> HRESULT { return REGDB_E_CLASSNOTREG; });
    forms::frmMain& m = Open();
    ASSERT_EQ(host.boxes.size(), 1u);  // the missing control, once at start
    DownloadViaUsb::SetUsbDeviceApi(&noBoard);
    // Each attempt to load the window installs the system's USB device layer again, so
    // the outcome depends on whether a (simulated) board is reachable in this Wine
    // session: either way it is on the status line, and a failure also in a message box.
    std::size_t boxes = host.boxes.size();
    for (int run = 0; run < 2; ++run) {
        m.mProgramQuorba->Click();
        EXPECT_FALSE(g_fProgrammingQuorba);
        const std::string outcome = m.lblStatus.Caption();
        ASSERT_FALSE(outcome.empty());
        if (outcome == "Quorba successfully programmed!") continue;
        ASSERT_EQ(host.boxes.size(), ++boxes);
        EXPECT_EQ(host.boxes.back().text, outcome);
        EXPECT_EQ(host.boxes.back().flags, kWarning);
    }
    EXPECT_TRUE(m.IsLoaded());
}

TEST_F(CommandsWindows, EachWindowOpensBesideTheMainWindow) {
    forms::frmMain& m = Open();
    struct Case {
        const char* name;
        std::function<void()> run;
        std::function<platform::Form*()> window;
    };
    const Case cases[] = {
        {"macros menu", [&] { m.mDefineMacros->Click(); }, [] { return ::frmMacros.Peek(); }},
        {"macros pop-up", [&] { m.mKeysDefineMacros->Click(); }, [] { return ::frmMacros.Peek(); }},
        {"test menu", [&] { m.mTestWindow->Click(); }, [] { return ::frmTest.Peek(); }},
        {"test button", [&] { m.btnShowTestForm.Click(); }, [] { return ::frmTest.Peek(); }},
        {"options menu", [&] { m.mToolsOptions->Click(); }, [] { return ::frmOptions.Peek(); }},
        {"options button", [&] { m.btnShowOptionsDialog.Click(); }, [] { return ::frmOptions.Peek(); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        c.run();
        platform::Form* w = c.window();
        ASSERT_NE(w, nullptr);
        EXPECT_TRUE(w->IsLoaded() && w->Visible());
        EXPECT_TRUE(IsWindowEnabled(m.Hwnd())) << "modeless";
        w->Unload();
        platform::RunDeferredDeletes();
    }
}

TEST_F(CommandsWindows, ShowingAnOpenWindowAgainBringsItForwardAndActivatesIt) {
    forms::frmMain& m = Open();
    const auto above = [](HWND a, HWND b) {
        for (HWND h = GetTopWindow(nullptr); h; h = GetWindow(h, GW_HWNDNEXT)) {
            if (h == a || h == b) return h == a;
        }
        return false;
    };
    const struct {
        const char* name;
        std::function<void()> run;
        std::function<platform::Form*()> window;
    } cases[] = {
        {"options", [&] { m.mToolsOptions->Click(); }, [] { return ::frmOptions.Peek(); }},
        {"macros", [&] { m.mDefineMacros->Click(); }, [] { return ::frmMacros.Peek(); }},
        {"test", [&] { m.mTestWindow->Click(); }, [] { return ::frmTest.Peek(); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        c.run();
        platform::Form* w = c.window();
        ASSERT_NE(w, nullptr);
        // A click on the main window puts it in front.
        SetWindowPos(m.Hwnd(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        SetActiveWindow(m.Hwnd());
        ASSERT_TRUE(above(m.Hwnd(), w->Hwnd()));
        c.run();
        EXPECT_EQ(c.window(), w);
        EXPECT_TRUE(above(w->Hwnd(), m.Hwnd()));
        EXPECT_EQ(GetActiveWindow(), w->Hwnd());
        w->Unload();
        platform::RunDeferredDeletes();
    }
}

namespace {
HWND g_aboutOwner = nullptr;
bool g_mainEnabledUnderAbout = true;

// Runs inside the about box's modal loop: looks at the box and closes it. A plain
// function, as a timer procedure must be stdcall on 32-bit Windows.
void CALLBACK LookAtAboutAndClose(HWND, UINT, UINT_PTR, DWORD) {
    forms::frmAbout* about = ::frmAbout.Peek();
    if (!about || !about->IsLoaded() || !about->Visible()) return;
    g_aboutOwner = GetWindow(about->Hwnd(), GW_OWNER);
    g_mainEnabledUnderAbout = IsWindowEnabled(::frmMain->Hwnd());
    about->Unload();
}
}  // namespace

TEST_F(CommandsWindows, AboutIsModalAndOwnedByTheMainWindow) {
    forms::frmMain& m = Open();
    g_aboutOwner = nullptr;
    // The box blocks the command: a timer inside its modal loop looks at it and closes it.
    const UINT_PTR timer = SetTimer(nullptr, 0, 20, LookAtAboutAndClose);
    m.mHelpAbout->Click();
    KillTimer(nullptr, timer);
    EXPECT_EQ(g_aboutOwner, m.Hwnd());
    EXPECT_FALSE(g_mainEnabledUnderAbout);
}

TEST_F(CommandsEdit, SnapToGridTwiceRestoresMenuAndOptionButton) {
    forms::frmMain& m = Open();
    ASSERT_TRUE(m.chkSnapControls.Checked());
    for (bool expected : {false, true}) {
        m.mSnapToGrid->Click();
        EXPECT_EQ(m.chkSnapControls.Checked(), expected);
        EXPECT_EQ(m.mSnapToGrid->Checked(), expected);
    }
    // The option button's own click: the menu follows.
    m.chkSnapControls.SetChecked(false);
    m.chkSnapControls.Click();
    EXPECT_FALSE(m.mSnapToGrid->Checked());
    for (bool expected : {!m.chkLockControls.Checked(), m.chkLockControls.Checked()}) {
        m.mLockControls->Click();
        EXPECT_EQ(m.chkLockControls.Checked(), expected);
        EXPECT_EQ(m.mLockControls->Checked(), expected);
    }
}

TEST_F(CommandsEdit, ClearControlsAsksAndOnlyYesRemoves) {
    WriteFile(Path("Keyloom.cpl"), kPanel);
    forms::frmMain& m = Open();
    m.EnterPanelDesigner(true);
    for (auto& [way, run] : Ways(m.mClearControls, m.btnRemoveAllWidgets)) {
        for (int answer : {IDNO, IDYES}) {
            SCOPED_TRACE(std::string(way) + (answer == IDYES ? " yes" : " no"));
            if (m.m_colWidgets.empty()) m.CplLoad(Path("Keyloom.cpl"));
            ASSERT_EQ(m.m_colWidgets.size(), 2u);
            m.SelectSwi(m.m_colWidgets[1]);
            host.answers.push_back(answer);
            run();
            platform::RunDeferredDeletes();
            ASSERT_FALSE(host.boxes.empty());
            EXPECT_EQ(host.boxes.back().text, "Remove all controls?");
            EXPECT_EQ(host.boxes.back().title, "Keyloom");
            EXPECT_EQ(host.boxes.back().flags, unsigned(MB_YESNO | MB_ICONQUESTION));
            EXPECT_EQ(m.m_colWidgets.size(), answer == IDYES ? 0u : 2u);
            EXPECT_EQ(m.m_iswiSelected == nullptr, answer == IDYES);
        }
    }
}

TEST_F(CommandsEdit, ExitClosesWithTheSaves) {
    forms::frmMain& m = Open();
    m.mFileExit->Click();
    EXPECT_FALSE(m.IsLoaded());
    EXPECT_TRUE(Exists("Keyloom.qbc") && Exists("Keyloom.cpl"));
    EXPECT_EQ(host.ends, std::vector<int>{0});
}

TEST_F(CommandsPrograms, TheOnScreenKeyboardStartsOrTheUserIsTold) {
    forms::frmMain& m = Open();
    for (auto& [way, run] : Ways(m.mOnScreenKeypad, m.btnOnScreenKeyboard)) {
        for (Start s : {Start::Runs, Start::Refused, Start::Raises}) {
            SCOPED_TRACE(std::string(way) + " " + std::to_string(static_cast<int>(s)));
            start = s;
            started.clear();
            host.boxes.clear();
            run();
            EXPECT_EQ(started, std::vector<std::string>{"osk.exe"});
            if (s == Start::Runs) {
                EXPECT_TRUE(host.boxes.empty());
                continue;
            }
            ASSERT_EQ(host.boxes.size(), 1u);
            EXPECT_EQ(host.boxes[0].text, "Unabled to locate the on screen keyboard!");
            EXPECT_EQ(host.boxes[0].flags, kWarning);
            EXPECT_EQ(host.boxes[0].title, "Keyloom");
        }
    }
    EXPECT_TRUE(m.IsLoaded());
}

TEST_F(CommandsPrograms, ALauncherThatCannotStartLeavesTheEditorMaximised) {
    forms::frmMain& m = Open();
    const std::string launcher = Path("Launcher.exe");
    for (auto& [way, run] : Ways(m.mStartLauncher, m.btnStartLauncher)) {
        struct Case {
            bool present;
            Start start;
            std::string box;
        };
        for (const Case& c : {Case{false, Start::Runs, "Could not find " + launcher},
                              Case{true, Start::Refused, "Could not start " + launcher},
                              Case{true, Start::Raises, "Could not start " + launcher}}) {
            SCOPED_TRACE(std::string(way) + " " + c.box);
            DeleteFileA(launcher.c_str());
            if (c.present) WriteFile(launcher, "MZ");
            EXPECT_EQ(m.LauncherExists(), c.present);
            start = c.start;
            started.clear();
            host.boxes.clear();
            m.SetWindowState(0);
            run();
            EXPECT_EQ(started, c.present ? std::vector<std::string>{launcher} : std::vector<std::string>{});
            ASSERT_EQ(host.boxes.size(), 1u);
            EXPECT_EQ(host.boxes[0].text, c.box);
            EXPECT_EQ(host.boxes[0].flags, kWarning);
            EXPECT_EQ(m.WindowState(), c.present ? 2 : 0);
        }
    }
    EXPECT_TRUE(host.ends.empty());
    DeleteFileA(launcher.c_str());
}

TEST_F(CommandsPrograms, ALauncherThatStartsEndsTheEditorAfterTheSavesOfAClose) {
    WriteFile(Path("Launcher.exe"), "MZ");
    forms::frmMain& m = Open();
    m.AddWidget(105, "0", 1);
    QbcFile::SetSwiKey(105, 30);
    m.btnStartLauncher.Click();
    EXPECT_EQ(started, std::vector<std::string>{Path("Launcher.exe")});
    EXPECT_EQ(host.ends, std::vector<int>{0});
    EXPECT_EQ(m.WindowState(), 1);
    // Saved before the launcher started; the window then closes as it would at the end.
    g_abSwiKeys.fill(0);
    m.Unload();
    QbcFile::LoadQbcFile(Path("Keyloom.qbc"));
    EXPECT_EQ(QbcFile::GetSwiKey(105), 30);
    EXPECT_NE(ReadFile(Path("Keyloom.cpl")).find("|1|5|0"), std::string::npos);
    DeleteFileA(Path("Launcher.exe").c_str());
}

TEST_F(CommandsHelp, TheHelpOfEachModeCarriesTheProgramVersion) {
    forms::frmMain& m = Open();
    m.EnterKeyAssignments(true);
    for (auto& [way, run] : Ways(m.mHelpContents, m.btnHelpContents)) {
        SCOPED_TRACE(way);
        for (std::int16_t mode : {MODEEDITOR_KeyAssignments, MODEEDITOR_PanelDesigner}) {
            mode == MODEEDITOR_PanelDesigner ? m.EnterPanelDesigner(true) : m.EnterKeyAssignments(true);
            host.boxes.clear();
            run();
            ASSERT_EQ(host.boxes.size(), 1u);
            EXPECT_EQ(host.boxes[0].title, "Keyloom - Version 1.2.138");
            EXPECT_EQ(host.boxes[0].flags, kWarning);
            EXPECT_EQ(host.boxes[0].text, HelpTexts::Text(mode));
            EXPECT_EQ(host.boxes[0].text.rfind(mode == MODEEDITOR_PanelDesigner
                                                   ? "You are currently in 'Panel Designer' Mode.\r\n\r\n"
                                                   : "You are currently in 'Key Assignments' Mode.\r\n\r\n",
                                               0),
                      0u);
        }
    }
}

}  // namespace EditorTest
