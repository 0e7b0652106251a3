// The main window's life, keyboard and panel-layout file on the real frmMain: start-up
// with and without a working panel, the saves at closing (each on its own), the fixed
// client height, key presses, nudging, and a panel written and read back.
#include <gtest/gtest.h>

#include "EditorFixture.h"
#include "core/Error_.h"
#include "core/KeyTables.h"

namespace EditorTest {

namespace {

// A panel as the editor writes it: a wired push button, a joystick of colour 4 with its
// four arrows (the up arrow wired), a coin slot, and a fractional position.
const std::string kPanel =
    "3000!1200!345!360!01|2|7|0\r\n"
    "4500!2400!450!450!54|0|0|0\r\n"
    "4612.5!2265!225!120!AU|1|1|0\r\n"
    "4612.5!2865!225!120!AD|0|0|0\r\n"
    "4365!2512.5!120!225!AL|0|0|0\r\n"
    "4965!2512.5!120!225!AR|0|0|0\r\n"
    "6000.5!1417.5!345!360!30|1|13|0\r\n";

}  // namespace

using Life = EditorFixture;

TEST_F(Life, WithoutAPanelFileTheEditorStartsInPanelDesigner) {
    forms::frmMain& m = Open();
    EXPECT_EQ(g_modeEditor, MODEEDITOR_PanelDesigner);
    EXPECT_EQ(m.lblModeTitle.Caption(), "PANEL DESIGNER");
    EXPECT_TRUE(m.m_colWidgets.empty());
}

TEST_F(Life, AWorkingPanelIsLoadedAndWrittenBackByteForByteAtClosing) {
    WriteFile(Path("Keyloom.cpl"), kPanel);
    forms::frmMain& m = Open();
    EXPECT_EQ(g_modeEditor, MODEEDITOR_KeyAssignments);
    ASSERT_EQ(m.m_colWidgets.size(), 7u);
    CplWidget& joystick = *m.m_colWidgets[1];
    EXPECT_EQ(joystick.m_colArrowWidgets.size(), 4u);
    for (std::size_t i = 2; i <= 5; ++i) EXPECT_EQ(m.m_colWidgets[i]->m_widgetJoystick, &joystick);
    EXPECT_EQ(m.m_colWidgets[0]->swiBase(), 207);
    DeleteFileA(Path("Keyloom.cpl").c_str());
    m.Unload();
    EXPECT_EQ(ReadFile(Path("Keyloom.cpl")), kPanel);
    EXPECT_EQ(ReadFile(Path("Keyloom.qbc")).empty(), false);
    EXPECT_EQ(host.ends, std::vector<int>{0});
}

TEST_F(Life, ArrowsBeforeAnyJoystickStayFreeAndTheNthArrowGoesToTheNthJoystick) {
    WriteFile(Path("Keyloom.cpl"), "100!100!0!0!AU|0|0|0\r\n4500!2400!0!0!50\r\n5500!2400!0!0!51\r\n"
                                   "1!1!1!1!AU\r\n1!1!1!1!AU\r\n1!2!3!4\r\n1!2!3!4!\r\n");
    forms::frmMain& m = Open();
    ASSERT_EQ(m.m_colWidgets.size(), 5u);
    EXPECT_EQ(m.m_colWidgets[0]->m_widgetJoystick, nullptr);
    // The free arrow counts as the first "U": the second goes to the second joystick,
    // the third finds no third joystick.
    EXPECT_EQ(m.m_colWidgets[3]->m_widgetJoystick, m.m_colWidgets[2]);
    EXPECT_EQ(m.m_colWidgets[4]->m_widgetJoystick, nullptr);
    EXPECT_TRUE(m.m_colWidgets[1]->m_colArrowWidgets.empty());
}

TEST_F(Life, AWorkingFileThatCannotBeSavedAsksWhetherToCloseAndNoGoesBack) {
    forms::frmMain& m = Open();
    // A folder where the key file should go: that save fails, the panel save still runs.
    CreateDirectoryA(Path("Keyloom.qbc").c_str(), nullptr);
    const struct {
        bool logOff;  // Windows asks whether its session may end, instead of the close box
        int answer;
    } steps[] = {{true, IDNO}, {false, IDNO}, {false, IDYES}};
    for (const auto& step : steps) {
        SCOPED_TRACE(&step - steps);
        host.boxes.clear();
        host.answers = {step.answer};
        DeleteFileA(Path("Keyloom.cpl").c_str());
        if (step.logOff)
            EXPECT_FALSE(SendMessageA(m.Hwnd(), WM_QUERYENDSESSION, 0, 0));
        else
            m.Unload();
        EXPECT_TRUE(GetFileAttributesA(Path("Keyloom.cpl").c_str()) != INVALID_FILE_ATTRIBUTES);
        ASSERT_EQ(host.boxes.size(), 1u);
        EXPECT_NE(host.boxes[0].text.find(Path("Keyloom.qbc")), std::string::npos);
        EXPECT_EQ(host.boxes[0].flags, static_cast<unsigned>(MB_YESNO | MB_ICONEXCLAMATION | MB_DEFBUTTON2));
        EXPECT_EQ(m.IsLoaded(), step.answer == IDNO);
        EXPECT_EQ(host.ends, step.answer == IDNO ? std::vector<int>{} : std::vector<int>{0});
    }
    RemoveDirectoryA(Path("Keyloom.qbc").c_str());
}

TEST_F(Life, TheEndOfTheWindowsSessionClosesWithTheSaves) {
    WriteFile(Path("Keyloom.cpl"), kPanel);
    forms::frmMain& m = Open();
    DeleteFileA(Path("Keyloom.cpl").c_str());
    EXPECT_TRUE(SendMessageA(m.Hwnd(), WM_QUERYENDSESSION, 0, 0));
    EXPECT_TRUE(m.IsLoaded());  // asking whether it may end is no end yet
    SendMessageA(m.Hwnd(), WM_ENDSESSION, TRUE, 0);
    EXPECT_FALSE(m.IsLoaded());
    EXPECT_EQ(ReadFile(Path("Keyloom.cpl")), kPanel);
    EXPECT_FALSE(ReadFile(Path("Keyloom.qbc")).empty());
    EXPECT_EQ(host.ends, std::vector<int>{0});
}

TEST_F(Life, TheClientAreaKeepsItsHeight) {
    forms::frmMain& m = Open();
    const float client = m.ScaleHeight();
    m.SetHeight(m.Height() + 1500);
    platform::DoEvents();
    EXPECT_FLOAT_EQ(m.ScaleHeight(), client);
    EXPECT_FLOAT_EQ(client, m.lblHeightAtRuntime.Top());
}

TEST_F(Life, CtrlShiftF1AloneOpensTheTraceWindow) {
    forms::frmMain& m = Open();
    const struct {
        int shift;
        int shown;
    } cases[] = {{platform::kShiftMask | platform::kCtrlMask, 1},
                 {platform::kShiftMask | platform::kCtrlMask | platform::kAltMask, 0},
                 {platform::kShiftMask, 0}};
    for (const auto& c : cases) {
        host.traceWindowShown = 0;
        m.Form_KeyDown(112, c.shift);
        EXPECT_EQ(host.traceWindowShown, c.shown) << c.shift;
    }
}

TEST_F(Life, AKeyPressedWithAPanelControlSelectedIsAssignedAndEndsTheSelection) {
    WriteFile(Path("Keyloom.cpl"), kPanel);
    forms::frmMain& m = Open();
    m.SelectSwi(m.m_colWidgets[0]);
    m.Form_KeyDown('A', 0);
    EXPECT_EQ(QbcFile::GetSwiKey(207), KeyTables::MapVkToIbmKey('A', true));
    EXPECT_EQ(m.m_iswiSelected, nullptr);
    // While the board is programmed the editor takes no key.
    m.SelectSwi(m.m_colWidgets[0]);
    g_fProgrammingQuorba = true;
    m.Form_KeyDown('B', 0);
    g_fProgrammingQuorba = false;
    EXPECT_EQ(QbcFile::GetSwiKey(207), KeyTables::MapVkToIbmKey('A', true));
}

TEST_F(Life, ASidedKeyReleasedWhileTheKeyboardCannotBeReadStillEndsTheBlinking) {
    struct BrokenKeyboard : KeyTables::IKeyboardDevice {
        bool Create(KeyTables::KeyboardSetupError&) override { return true; }
        void GetState(std::array<std::uint8_t, 256>&) override { throw Error_::RuntimeError(5, "read failed"); }
    } keyboard;
    WriteFile(Path("Keyloom.cpl"), kPanel);
    forms::frmMain& m = Open();
    CplWidget& w = *m.m_colWidgets[0];
    g_abSwiKeys[207] = KeyTables::SidedVkToIbmKey(VK_SHIFT, true);
    m.BlinkSwisOfKey(g_abSwiKeys[207], -1);
    ASSERT_EQ(w.Picture(), w.pixBlink);
    KeyTables::SetKeyboardDevice(&keyboard);
    EXPECT_NO_THROW(m.Form_KeyUp(VK_SHIFT, 0));
    KeyTables::SetKeyboardDevice(nullptr);
    EXPECT_EQ(w.Picture(), w.pixNormal);
}

TEST_F(Life, ArrowKeysNudgeTheSelectedControlByTheGridOrAPixel) {
    WriteFile(Path("Keyloom.cpl"), kPanel);
    forms::frmMain& m = Open();
    m.EnterPanelDesigner(true);
    CplWidget& w = *m.m_colWidgets[0];
    const float px = platform::TwipsPerPixelX();
    const struct {
        bool snap;
        int shift;
        float step;
    } cases[] = {{true, 0, 100},
                 {true, platform::kShiftMask, px},
                 {false, platform::kShiftMask, 100},
                 {false, platform::kCtrlMask, 100},
                 {true, platform::kAltMask, px},
                 {true, platform::kShiftMask | platform::kCtrlMask, 100},
                 {false, platform::kShiftMask | platform::kCtrlMask, px}};
    for (const auto& c : cases) {
        m.SelectSwi(&w);
        m.chkSnapControls.SetChecked(c.snap);
        const float x = w.Left();
        m.Form_KeyDown(39, c.shift);
        EXPECT_FLOAT_EQ(w.Left() - x, c.step) << c.snap << " " << c.shift;
    }
    // Nothing selected: nothing moves.
    m.DeselectSwi();
    const float x = w.Left();
    m.Form_KeyDown(39, 0);
    EXPECT_FLOAT_EQ(w.Left(), x);
}

// A fast double click is one command: the second press raises no second click.
TEST_F(Life, ADoubleClickOnAButtonOrACheckBoxActsOnce) {
    forms::frmMain& m = Open();
    auto doubleClick = [](HWND h) {
        const LPARAM at = MAKELPARAM(4, 4);
        SendMessageA(h, WM_LBUTTONDOWN, MK_LBUTTON, at);
        SendMessageA(h, WM_LBUTTONUP, 0, at);
        SendMessageA(h, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
        SendMessageA(h, WM_LBUTTONUP, 0, at);
    };
    host.answers = {IDNO, IDNO};
    doubleClick(m.btnToggleMode.CaptionLabel().Hwnd());
    EXPECT_EQ(host.boxes.size(), 1u);
    EXPECT_EQ(g_modeEditor, MODEEDITOR_KeyAssignments);

    m.EnterPanelDesigner(true);
    const bool snap = m.chkSnapControls.Checked();
    doubleClick(m.chkSnapControls.CaptionLabel().Hwnd());
    EXPECT_NE(m.chkSnapControls.Checked(), snap);
    doubleClick(m.chkSnapControls.Hwnd());
    EXPECT_EQ(m.chkSnapControls.Checked(), snap);
}

}  // namespace EditorTest
