// The options dialog in process over the real frmMain: shown modeless from the editor
// (what it reads from the globals, OK, Cancel, the slider's label), a change of board type
// reaching the main window, and the first-run form (no Cancel, the second tab unavailable,
// saving however it closes, the default files installed and loaded, a user's own panel
// kept). Pictures of both forms go to the build folder's screenshots/.
#include <gtest/gtest.h>

#include <algorithm>

#include "EditorFixture.h"
#include "editor/frmOptions.h"
#include "support/WinSupport.h"

namespace EditorTest {

namespace {

const std::string kCfg2 = "[BOARD TYPE] 2\r\n[USB MODE] True\r\n[DOWNLOAD SPEED] 100\r\n[TIMEOUT] 5000\r\n";
const std::string kOwnPanel = "3000!1200!345!360!01|2|7|0\r\n";

std::string Shot(const std::string& name) {
    const std::string dir = winsupport::Env("KL_BUILD_DIR");
    if (dir.empty()) return {};
    CreateDirectoryA((dir + "\\screenshots").c_str(), nullptr);
    return dir + "\\screenshots\\" + name + ".png";
}

std::string Template(const std::string& name) {
    return winsupport::Env("KL_PROGRAM_DIR") + "\\Templates\\" + name;
}

// A click as the user makes it: the control handles it and tells its parent.
void Press(const platform::Window& control) { SendMessageA(control.Hwnd(), BM_CLICK, 0, 0); }
// A key on the focused slider or tab strip; they report to the dialog as the user's would.
void Key(const platform::Window& control, int vk) {
    SendMessageA(control.Hwnd(), WM_KEYDOWN, static_cast<WPARAM>(vk), 0);
    SendMessageA(control.Hwnd(), WM_KEYUP, static_cast<WPARAM>(vk), 0);
}

// A key as the keyboard gives it: to the focused window, through the message loop, with
// Shift held or not.
void TypeKey(WPARAM vk, bool shift = false) {
    BYTE state[256];
    GetKeyboardState(state);
    state[VK_SHIFT] = shift ? 0x80 : 0;
    SetKeyboardState(state);
    const HWND focus = GetFocus();
    PostMessageA(focus, WM_KEYDOWN, vk, 1);
    PostMessageA(focus, WM_KEYUP, vk, 0xC0000001);
    platform::DoEvents();
    state[VK_SHIFT] = 0;
    SetKeyboardState(state);
}

}  // namespace

class Options : public EditorFixture {
protected:
    void SetUp() override {
        EditorFixture::SetUp();
        DeleteFileA(Path("Keyloom.cfg").c_str());
        CreateDirectoryA(Path("Templates").c_str(), nullptr);
        for (const char* name : {"Default-2.qbc", "Default-4.qbc", "Default_Quorba_2.cpl", "Default_Quorba_4.cpl"})
            CopyFileA(Template(name).c_str(), Path(std::string("Templates\\") + name).c_str(), FALSE);
        g_lTimeout = 5000;
    }
    void TearDown() override {
        if (forms::frmOptions* o = ::frmOptions.Peek(); o && o->IsLoaded()) o->Unload();
        platform::RunDeferredDeletes();
        EditorFixture::TearDown();
    }
    // The dialog as the editor shows it: modeless, over a main window that is there.
    forms::frmOptions& ShowModeless() {
        Open();
        forms::frmOptions& o = *::frmOptions;
        o.Show(false);
        platform::DoEvents();
        return o;
    }
};

TEST_F(Options, ModelessDialogShowsTheGlobalsAndOkWritesTheChoice) {
    WriteFile(Path("Keyloom.cfg"), kCfg2);
    g_typeQuorba = TYPEQUORBA_Quorba4;
    g_fUsbMode = false;
    g_lTimeout = 3000;
    forms::frmOptions& o = ShowModeless();
    EXPECT_FALSE(o.FirstRun());
    EXPECT_EQ(o.Caption(), "Keyloom Options");
    EXPECT_EQ(o.SSTab1.TabCaption(0), "Board Settings");
    EXPECT_EQ(o.SSTab1.TabCaption(1), "Download Timers");
    EXPECT_EQ(o.SSTab1.Tab(), 0);
    EXPECT_TRUE(o.SSTab1.TabEnabled(1));
    EXPECT_TRUE(o.optQuorba4.Value() && !o.optQuorba2.Value() && !o.optQuorbaVexo.Value());
    EXPECT_TRUE(o.optPs2.Value() && !o.optUsb.Value());
    EXPECT_EQ(o.sliderTimeout.Value(), 3000);
    EXPECT_EQ(o.lblTimeout.Caption(), "Adjust the timeout period:  3.0 seconds");
    EXPECT_EQ(o.optQuorba2.Caption(), "Quorba/&2, Caddow, Quorbette");
    EXPECT_EQ(o.frameDownloadTimeout.Caption(), "Quorba Download &Timeout");
    EXPECT_TRUE(o.cmdCancel.Visible());
    EXPECT_EQ(o.cmdOkay.Left(), 2640);
    EXPECT_EQ(o.cmdCancel.Left(), 3600);
    EXPECT_EQ(o.cmdCancel.Top(), 4440);
    EXPECT_EQ(o.cmdOkay.Width(), o.cmdCancel.Width());

    // The second tab shows the slider; the picture is taken there.
    Key(o.SSTab1, VK_RIGHT);
    EXPECT_EQ(o.SSTab1.Tab(), 1);
    EXPECT_TRUE(o.sliderTimeout.Visible());
    EXPECT_FALSE(o.optQuorba4.Visible());
    Key(o.sliderTimeout, VK_END);
    EXPECT_EQ(o.lblTimeout.Caption(), "Adjust the timeout period:  10.0 seconds");
    Key(o.sliderTimeout, VK_LEFT);  // the small change
    EXPECT_EQ(o.sliderTimeout.Value(), 9900);
    Key(o.sliderTimeout, VK_PRIOR);  // the large change
    EXPECT_EQ(o.lblTimeout.Caption(), "Adjust the timeout period:  8.9 seconds");
    o.Refresh();
    platform::DoEvents();
    winsupport::SaveScreenshot(o.Hwnd(), Shot("options-timers"));

    Key(o.SSTab1, VK_LEFT);
    Press(o.optUsb);
    EXPECT_TRUE(o.optUsb.Value() && !o.optPs2.Value());
    Press(o.cmdOkay);
    EXPECT_FALSE(o.IsLoaded());
    EXPECT_EQ(g_lTimeout, 8900);
    EXPECT_TRUE(g_fUsbMode);
    EXPECT_EQ(ReadFile(Path("Keyloom.cfg")),
              "[BOARD TYPE] 4\r\n[USB MODE] True\r\n[DOWNLOAD SPEED] 100\r\n[TIMEOUT] 8900\r\n");
    // Not a first run: nothing is installed.
    EXPECT_EQ(GetFileAttributesA(Path("Keyloom.cpl").c_str()), INVALID_FILE_ATTRIBUTES);
    platform::RunDeferredDeletes();
    EXPECT_FALSE(::frmOptions.Exists());
}

TEST_F(Options, CancelAfterMovingTheSliderChangesNothing) {
    WriteFile(Path("Keyloom.cfg"), kCfg2);
    forms::frmOptions& o = ShowModeless();
    o.SSTab1.SetTab(1);
    Key(o.sliderTimeout, VK_HOME);
    EXPECT_EQ(o.lblTimeout.Caption(), "Adjust the timeout period:  1.0 seconds");
    Press(o.optQuorba4);
    Press(o.cmdCancel);
    EXPECT_FALSE(o.IsLoaded());
    EXPECT_EQ(g_lTimeout, 5000);
    EXPECT_EQ(g_typeQuorba, TYPEQUORBA_Quorba2);
    EXPECT_EQ(ReadFile(Path("Keyloom.cfg")), kCfg2);
}

TEST_F(Options, EnterPressesTheFocusedButtonAndTheDefaultButtonOnlyOtherwise) {
    WriteFile(Path("Keyloom.cfg"), kCfg2);
    // Quorba/4 chosen, the focus on `focused`, then Enter.
    auto enterWithFocusOn = [this](auto focused) {
        forms::frmOptions& o = ShowModeless();
        Press(o.optQuorba4);
        (o.*focused).SetFocus();
        // The default frame is on the button Enter presses.
        const bool cancelFocused = GetFocus() == o.cmdCancel.Hwnd();
        EXPECT_EQ(GetWindowLongA(o.cmdCancel.Hwnd(), GWL_STYLE) & BS_TYPEMASK, cancelFocused ? BS_DEFPUSHBUTTON : 0);
        EXPECT_EQ(GetWindowLongA(o.cmdOkay.Hwnd(), GWL_STYLE) & BS_TYPEMASK, cancelFocused ? 0 : BS_DEFPUSHBUTTON);
        TypeKey(VK_RETURN);
        EXPECT_FALSE(o.IsLoaded());
    };
    enterWithFocusOn(&forms::frmOptions::cmdCancel);
    EXPECT_EQ(g_typeQuorba, TYPEQUORBA_Quorba2);
    EXPECT_EQ(ReadFile(Path("Keyloom.cfg")), kCfg2);
    platform::RunDeferredDeletes();

    enterWithFocusOn(&forms::frmOptions::optQuorba4);
    EXPECT_EQ(g_typeQuorba, TYPEQUORBA_Quorba4);
}

TEST_F(Options, TabWalksTheStopsAndArrowKeysChooseAmongTheOptionsOfAGroup) {
    WriteFile(Path("Keyloom.cfg"), kCfg2);
    forms::frmOptions& o = ShowModeless();
    o.optQuorba2.SetFocus();
    // Of each group only the chosen option is a stop; the hidden slider is none.
    const std::vector<HWND> stops = {o.optQuorba2.Hwnd(), o.optUsb.Hwnd(), o.cmdOkay.Hwnd(), o.cmdCancel.Hwnd(),
                                     o.SSTab1.Hwnd()};
    for (std::size_t i = 1; i <= stops.size(); ++i) {
        TypeKey(VK_TAB);
        EXPECT_EQ(GetFocus(), stops[i % stops.size()]) << i;
    }
    for (std::size_t i = stops.size(); i-- > 0;) {
        TypeKey(VK_TAB, true);
        EXPECT_EQ(GetFocus(), stops[i]) << i;
    }
    const struct {
        WPARAM vk;
        platform::OptionButton* chosen;
    } steps[] = {{VK_DOWN, &o.optQuorba4}, {VK_RIGHT, &o.optQuorbaVexo}, {VK_DOWN, &o.optQuorba2},
                 {VK_UP, &o.optQuorbaVexo}, {VK_LEFT, &o.optQuorba4}};
    for (const auto& step : steps) {
        TypeKey(step.vk);
        EXPECT_EQ(GetFocus(), step.chosen->Hwnd()) << step.vk;
        for (platform::OptionButton* b : {&o.optQuorba2, &o.optQuorba4, &o.optQuorbaVexo})
            EXPECT_EQ(b->Value(), b == step.chosen) << step.vk;
    }
    EXPECT_TRUE(o.optUsb.Value());  // the other group stays as it was
    TypeKey(VK_TAB);
    EXPECT_EQ(GetFocus(), o.optUsb.Hwnd());
}

TEST_F(Options, OnlyAnotherBoardTypeRebuildsTheMainWindowsTable) {
    WriteFile(Path("Keyloom.cfg"), kCfg2);
    WriteFile(Path("Keyloom.cpl"), kOwnPanel);  // opens in Key Assignments
    forms::frmMain& m = Open();
    m.optViewTable_Click();
    ASSERT_EQ(m.m_colCells.size(), 57u);
    const struct {
        int optionId;
        std::size_t cells;
        bool rebuilt;
    } steps[] = {{forms::frmOptions::kIdQuorba2, 57, false}, {forms::frmOptions::kIdQuorba4, 114, true}};
    for (const auto& step : steps) {
        TableCell* first = m.m_colCells.front();
        forms::frmOptions& o = ShowModeless();
        SendDlgItemMessageA(o.Hwnd(), step.optionId, BM_CLICK, 0, 0);
        Press(o.cmdOkay);
        EXPECT_EQ(m.m_colCells.size(), step.cells) << step.optionId;
        EXPECT_EQ(m.m_colCells.front() != first, step.rebuilt) << step.optionId;
        platform::DoEvents();
    }
    EXPECT_EQ(g_typeQuorba, TYPEQUORBA_Quorba4);
}

// A settings file that cannot be written: the user is told, and the choice (Quorba/4, PS/2,
// the shortest timeout) is not put in force, neither by OK and then Cancel nor by the close
// box of a first run, which saves as it closes. The parameter: a first run.
class OptionsUnsaved : public Options, public ::testing::WithParamInterface<bool> {};

TEST_P(OptionsUnsaved, TheSettingsInForceStayAsTheyWere) {
    const bool firstRun = GetParam();
    // Wine refuses to replace a file without write bits; with no settings file yet, a
    // folder where the writer puts its temporary file does the same.
    const std::string blocker = Path(firstRun ? "Keyloom.cfg.tmp~" : "Keyloom.cfg");
    const auto unblock = [&] {
        SetFileAttributesA(blocker.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(blocker.c_str());
        RemoveDirectoryA(blocker.c_str());
    };
    unblock();  // what an earlier run left behind
    if (firstRun) {
        ASSERT_TRUE(CreateDirectoryA(blocker.c_str(), nullptr));
    } else {
        WriteFile(blocker, kCfg2);
        ASSERT_TRUE(SetFileAttributesA(blocker.c_str(), FILE_ATTRIBUTE_READONLY));
    }
    WriteFile(Path("Keyloom.cpl"), kOwnPanel);  // opens in Key Assignments
    DeleteFileA(Path("Keyloom.qbc").c_str());
    forms::frmMain& m = Open();
    m.optViewTable_Click();
    ASSERT_EQ(m.m_colCells.size(), 57u);
    TableCell* first = m.m_colCells.front();

    forms::frmOptions& o = ShowModeless();
    ASSERT_EQ(o.FirstRun(), firstRun);
    Press(o.optQuorba4);
    Press(o.optPs2);
    o.SSTab1.SetTab(1);
    Key(o.sliderTimeout, VK_HOME);
    ASSERT_EQ(o.sliderTimeout.Value(), 1000);
    if (firstRun) {
        SendMessageA(o.Hwnd(), WM_CLOSE, 0, 0);
    } else {
        Press(o.cmdOkay);
        EXPECT_TRUE(o.IsLoaded());
        Press(o.cmdCancel);
    }
    EXPECT_FALSE(o.IsLoaded());
    EXPECT_EQ(g_typeQuorba, TYPEQUORBA_Quorba2);
    EXPECT_TRUE(g_fUsbMode);
    EXPECT_EQ(g_lTimeout, 5000);
    EXPECT_EQ(m.m_colCells.size(), 57u);
    EXPECT_EQ(m.m_colCells.front(), first);
    // A first run installs no default files for a choice that is not in force.
    EXPECT_EQ(GetFileAttributesA(Path("Keyloom.qbc").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(GetFileAttributesA(Path("Keyloom.cfg").c_str()) == INVALID_FILE_ATTRIBUTES, firstRun);
    unblock();
    ASSERT_EQ(host.boxes.size(), 1u);
    EXPECT_NE(host.boxes[0].text.find("Keyloom.cfg"), std::string::npos) << host.boxes[0].text;
    EXPECT_NE(host.boxes[0].text.find("The settings stay as they were."), std::string::npos);
    EXPECT_EQ(host.boxes[0].flags & MB_ICONMASK, static_cast<unsigned>(MB_ICONEXCLAMATION));
    EXPECT_EQ(host.boxes[0].title, "Keyloom");
}

INSTANTIATE_TEST_SUITE_P(OkThenCancelAndFirstRun, OptionsUnsaved, ::testing::Bool());

class OptionsFirstRun : public Options {
protected:
    // start-up's way: the main window shown, then the dialog modally over it. The close
    // box is posted first, so the modal loop meets it at once.
    forms::frmOptions& CloseBoxOfModalDialog() {
        forms::frmMain& m = Open();
        forms::frmOptions& o = *::frmOptions;
        PostMessageA(o.Hwnd(), WM_CLOSE, 0, 0);
        o.Show(true, &m);
        return o;
    }
};

TEST_F(OptionsFirstRun, HasNoCancelAndNoSecondTab) {
    Open();
    forms::frmOptions& o = *::frmOptions;
    o.Show(false);
    platform::DoEvents();
    EXPECT_TRUE(o.FirstRun());
    EXPECT_EQ(o.Caption(), "Keyloom Initial Configuration");
    EXPECT_FALSE(o.cmdCancel.Visible());
    EXPECT_EQ(o.cmdOkay.Left(), 3600);
    EXPECT_EQ(o.cmdOkay.Top(), 4440);
    EXPECT_FALSE(o.SSTab1.TabEnabled(1));
    Key(o.SSTab1, VK_RIGHT);
    EXPECT_EQ(o.SSTab1.Tab(), 0);
    EXPECT_TRUE(o.optQuorba2.Visible());
    EXPECT_FALSE(o.sliderTimeout.Visible());
    RedrawWindow(o.Hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    platform::DoEvents();
    winsupport::SaveScreenshot(o.Hwnd(), Shot("options-first-run"));
    // Esc has no Cancel to press: the dialog stays.
    o.cmdOkay.SetFocus();
    MSG msg{o.cmdOkay.Hwnd(), WM_KEYDOWN, VK_ESCAPE, 0, 0, {}};
    EXPECT_FALSE(platform::Form::PreTranslate(msg));
    EXPECT_TRUE(o.IsLoaded());
}

TEST_F(OptionsFirstRun, TheCloseBoxSavesInstallsTheDefaultFilesAndLoadsThem) {
    forms::frmOptions& o = CloseBoxOfModalDialog();
    EXPECT_FALSE(o.IsLoaded());
    EXPECT_EQ(ReadFile(Path("Keyloom.cfg")), kCfg2);
    const std::string panel = ReadFile(Template("Default_Quorba_2.cpl"));
    ASSERT_FALSE(panel.empty());
    EXPECT_EQ(ReadFile(Path("Keyloom.cpl")), panel);
    EXPECT_EQ(ReadFile(Path("Keyloom.qbc")), ReadFile(Template("Default-2.qbc")));
    EXPECT_FALSE(Main().m_colWidgets.empty());
    EXPECT_NE(std::count(g_abSwiKeys.begin(), g_abSwiKeys.end(), 0), static_cast<long>(g_abSwiKeys.size()));
    EXPECT_TRUE(Main().Enabled());
}

TEST_F(OptionsFirstRun, AWorkingFileIsNeverReplaced) {
    // A system file reads as missing to the test for a working file; the copy still
    // leaves it alone.
    WriteFile(Path("Keyloom.qbc"), "mine");
    SetFileAttributesA(Path("Keyloom.qbc").c_str(), FILE_ATTRIBUTE_SYSTEM);
    CloseBoxOfModalDialog();
    SetFileAttributesA(Path("Keyloom.qbc").c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(ReadFile(Path("Keyloom.qbc")), "mine");
    forms::frmOptions::CopyFileIgnoringErrors(Template("Default-2.qbc"), Path("Keyloom.qbc"));
    EXPECT_EQ(ReadFile(Path("Keyloom.qbc")), "mine");
}

TEST_F(OptionsFirstRun, AnExistingPanelIsKeptAndLoaded) {
    WriteFile(Path("Keyloom.cpl"), kOwnPanel);
    CloseBoxOfModalDialog();
    EXPECT_EQ(ReadFile(Path("Keyloom.cpl")), kOwnPanel);
    ASSERT_EQ(Main().m_colWidgets.size(), 1u);
    EXPECT_EQ(Main().m_colWidgets[0]->swiBase(), 207);
    EXPECT_EQ(ReadFile(Path("Keyloom.cfg")), kCfg2);
}

}  // namespace EditorTest
