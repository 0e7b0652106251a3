// The two editor modes of the real frmMain: switching with both questions answered
// every way, what each mode shows on each board, the Mode menu, the views of Key
// Assignments, the status line's owner tag and the blink timer.
#include <gtest/gtest.h>

#include <functional>
#include <initializer_list>
#include <optional>

#include "EditorFixture.h"
#include "support/PixelSupport.h"

namespace EditorTest {

namespace {

// One wired push button; with it the editor starts in Key Assignments.
const std::string kPanel = "3000!1200!345!360!01|1|5|0\r\n";
constexpr const char* kPrompt = "PRESS KEY TO ASSIGN";
const std::string kSaveQuestion =
    "Panel layout and wiring assignments must be complete and saved before configuring keycodes.\r\n\r\n"
    "Would you like to save the current panel laybout before continuing?";
const std::string kDesignerWarning =
    "Warning: changing Quorba wiring connections in Panel Design mode will mean re-creating keycode files to "
    "reflect the new wiring.\r\n\r\nDo you want to continue?";
using Windows = std::initializer_list<platform::Window*>;

}  // namespace

using ModesSwitch = EditorFixture;
using ModesViews = EditorFixture;
using ModesStatus = EditorFixture;

TEST_F(ModesSwitch, EachAnswerSwitchesOrKeepsTheModeAndEveryAttemptEndsTheEdit) {
    forms::frmMain& m = Open();
    CplWidget& w = m.AddWidget(105, "0", 1);
    const std::string saved = Path("saved.cpl");
    DeleteFileA(saved.c_str());  // left by an earlier run
    const struct {
        int answer;
        std::optional<std::string> dialog;  // what the save dialog returns; none: no dialog
        std::int16_t mode;                  // afterwards
    } steps[] = {
        {IDCANCEL, {}, MODEEDITOR_PanelDesigner}, {IDYES, "", MODEEDITOR_PanelDesigner},
        {IDNO, {}, MODEEDITOR_KeyAssignments},    {IDNO, {}, MODEEDITOR_KeyAssignments},
        {IDCANCEL, {}, MODEEDITOR_KeyAssignments}, {IDYES, {}, MODEEDITOR_PanelDesigner},
        {IDYES, saved, MODEEDITOR_KeyAssignments},
    };
    for (const auto& s : steps) {
        SCOPED_TRACE(&s - steps);
        const bool toKeys = g_modeEditor == MODEEDITOR_PanelDesigner;
        const std::size_t dialogsBefore = dialogs.size();
        host.answers = {s.answer};
        if (s.dialog) dialogAnswers.push_back(*s.dialog);
        m.SelectSwi(&w);
        m.SetStatus(kPrompt, "KeyEditor");
        m.btnToggleMode_Click();

        ASSERT_FALSE(host.boxes.empty());
        EXPECT_EQ(host.boxes.back().text, toKeys ? kSaveQuestion : kDesignerWarning);
        EXPECT_EQ(host.boxes.back().title, "Keyloom");
        EXPECT_EQ(host.boxes.back().flags, unsigned(MB_YESNOCANCEL | MB_ICONQUESTION));
        EXPECT_EQ(dialogs.size() - dialogsBefore, s.dialog ? 1u : 0u);
        EXPECT_EQ(g_modeEditor, s.mode);
        EXPECT_EQ(m.lblModeTitle.Caption(), s.mode ? "KEY ASSIGNMENTS" : "PANEL DESIGNER");
        EXPECT_EQ(m.m_iswiSelected, nullptr);
        EXPECT_EQ(m.lblStatus.Caption(), "");
        // Key Assignments always opens in the panel view with normal keys and key captions.
        if (s.mode == MODEEDITOR_KeyAssignments) {
            EXPECT_TRUE(m.optViewPanel.Checked() && m.optKeysNormal.Checked() && m.optLabelWithKeys.Checked());
        }
    }
    EXPECT_NE(ReadFile(saved), "");
}

TEST_F(ModesSwitch, ALayoutThatCannotBeSavedIsReportedAndKeepsPanelDesigner) {
    forms::frmMain& m = Open();
    ASSERT_EQ(g_modeEditor, MODEEDITOR_PanelDesigner);
    const std::string readOnly = Path("read-only.cpl");
    SetFileAttributesA(readOnly.c_str(), FILE_ATTRIBUTE_NORMAL);
    WriteFile(readOnly, "old");
    SetFileAttributesA(readOnly.c_str(), FILE_ATTRIBUTE_READONLY);
    host.answers = {IDYES};
    dialogAnswers = {readOnly};
    EXPECT_NO_THROW(m.btnToggleMode_Click());
    SetFileAttributesA(readOnly.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(g_modeEditor, MODEEDITOR_PanelDesigner);
    EXPECT_EQ(m.lblModeTitle.Caption(), "PANEL DESIGNER");
    EXPECT_EQ(ReadFile(readOnly), "old");
    ASSERT_FALSE(host.traces.empty());
    EXPECT_NE(host.traces.back().find("frmMain.EnterKeyAssignments"), std::string::npos) << host.traces.back();
}

TEST_F(ModesSwitch, TheModeMenuItemOfTheCurrentModeDoesNothing) {
    forms::frmMain& m = Open();
    CplWidget& w = m.AddWidget(105, "0", 1);
    for (platform::MenuItem* item : {m.mModeDesign, m.mModeAssign}) {
        if (item == m.mModeAssign) m.EnterKeyAssignments(true);
        const std::int16_t mode = g_modeEditor;
        m.SelectSwi(&w);
        m.SetStatus(kPrompt, "KeyEditor");
        item->Click();
        EXPECT_TRUE(host.boxes.empty());
        EXPECT_EQ(g_modeEditor, mode);
        EXPECT_EQ(m.m_iswiSelected, &w);
        EXPECT_EQ(m.lblStatus.Caption(), kPrompt);
    }
}

// Which controls and menu items each mode shows, on a board with 14 and with 16 switches.
TEST_F(ModesSwitch, EachModeShowsItsControlsOnEveryBoard) {
    forms::frmMain& m = Open();
    for (std::int16_t board : {TYPEQUORBA_Quorba2, TYPEQUORBA_QuorbaVexo}) {
        g_typeQuorba = board;
        const bool vexo = board == TYPEQUORBA_QuorbaVexo;
        for (bool design : {true, false}) {
            SCOPED_TRACE(std::to_string(board) + (design ? " designer" : " keys"));
            design ? m.EnterPanelDesigner(true) : m.EnterKeyAssignments(true);
            int selectors = 0;
            for (std::size_t i = 1; i <= 16; ++i) selectors += m.lblSwiSel[i].Visible();
            for (std::size_t i = 1; i <= 4; ++i) selectors += m.lblPlayerSel[i].Visible();
            EXPECT_EQ(selectors, design ? (vexo ? 20 : 18) : 0);
            EXPECT_EQ(m.lblSwiSel[11].Caption(), vexo ? "SW A" : "SW 7");
            EXPECT_EQ(m.lblSwiSel[12].Caption(), vexo ? "SW B" : "SW 8");
            for (platform::Window* c : Windows{&m.Line2, &m.Line3, &m.chkSnapControls, &m.chkLockControls,
                                               &m.lblQuorbaConnections, &m.btnRemoveAllWidgets, &m.btnOpenCpl,
                                               &m.btnSaveCplAs})
                EXPECT_EQ(c->Visible(), design) << c->Caption();
            for (platform::Window* c :
                 Windows{&m.btnSaveQbcAs, &m.btnOpenQbc, &m.btnRestoreDefaults, &m.optLabelWithUserText,
                         &m.optLabelWithKeys, &m.optViewPanel, &m.optViewTable, &m.optKeysNormal, &m.optKeysShifted,
                         &m.lblDisplayMode, &m.Line1, &m.Line4, &m.Line5, &m.imgLogo})
                EXPECT_EQ(c->Visible(), !design) << c->Caption();
            for (platform::MenuItem* i : {m.mSnapToGrid, m.zEditSep0, m.mLockControls, m.mClearControls,
                                          m.zFileNewPanel, m.mFileOpenPanel, m.mFileSavePanelAs})
                EXPECT_EQ(i->Visible(), design) << i->Caption();
            for (platform::MenuItem* i : {m.mRestoreDefaults, m.mViewUserText, m.mStartLauncher, m.zToolsSep0, m.zView,
                                          m.zFileNewKeyAsgn, m.mFileOpenKeyAsgn, m.mDefineMacros})
                EXPECT_EQ(i->Visible(), !design) << i->Caption();
            for (platform::MenuItem* i : {m.mFileSavePanel, m.mFileSaveKeyAsgn, m.zFileOpenRecentKeyAsgn})
                EXPECT_FALSE(i->Visible()) << i->Caption();
            EXPECT_TRUE(m.mModeDesign->Checked() == design && m.mModeAssign->Checked() == !design);
            EXPECT_EQ(m.btnProgramQuorba.Enabled() && m.mProgramQuorba->Enabled(), !design);
            EXPECT_EQ(m.btnStartLauncher.Enabled(), !design);
            EXPECT_FALSE(m.btnStartLauncher.Visible());  // no launcher in the program folder
        }
        WriteFile(Path("Launcher.exe"), "MZ");
        m.SetKeyAssignmentsTitles();
        EXPECT_TRUE(m.btnStartLauncher.Visible());
        DeleteFileA(Path("Launcher.exe").c_str());
    }
}

TEST_F(ModesViews, TheTableViewAndBackStartAgainWithNormalKeysAndKeyCaptions) {
    WriteFile(Path("Keyloom.cpl"), kPanel);
    forms::frmMain& m = Open();
    ASSERT_EQ(g_modeEditor, MODEEDITOR_KeyAssignments);
    CplWidget& w = *m.m_colWidgets.at(0);
    m.optKeysShifted_Click();
    EXPECT_TRUE(m.mViewShiftedKeys->Checked() && !m.optKeysNormal.Checked() && w.swi() == w.swiBase() + 50);
    // User-text captions keep the selection; key captions (below) drop it.
    m.SelectSwi(&w);
    m.optLabelWithUserText_Click();
    EXPECT_TRUE(m.m_iswiSelected == &w && m.mViewUserText->Checked() && !m.mViewKeycodeAssignments->Checked());

    m.mViewAsTable->Click();
    EXPECT_TRUE(m.optViewTable.Checked() && m.mViewAsTable->Checked() && !m.optViewPanel.Checked());
    EXPECT_FALSE(m.optKeysNormal.Visible() || m.mViewNormalKeys->Visible() || m.zViewSep1->Visible() || w.Visible());
    EXPECT_TRUE(m.optLabelWithKeys.Checked() && !m.m_colCells.empty() && !m.m_iswiSelected);

    m.optViewPanel_Click();
    EXPECT_TRUE(m.optViewPanel.Checked() && m.mViewAsPanel->Checked() && !m.optViewTable.Checked());
    EXPECT_TRUE(m.optKeysNormal.Visible() && m.optKeysNormal.Checked() && m.mViewNormalKeys->Checked());
    EXPECT_FALSE(m.optKeysShifted.Checked() || m.mViewShiftedKeys->Checked());
    EXPECT_TRUE(m.optLabelWithKeys.Checked() && m.mViewKeycodeAssignments->Checked() && w.Visible());
    EXPECT_EQ(w.swi(), w.swiBase());
    EXPECT_EQ(w.lbl->Caption(), "(none)");
    m.SelectSwi(&w);
    m.optLabelWithKeys_Click();
    EXPECT_EQ(m.m_iswiSelected, nullptr);
}

TEST_F(ModesStatus, PromptsWinOverHoverTextsAndEveryTextIsTracedUnderItsOwner) {
    WriteFile(Path("Keyloom.cpl"), kPanel);
    forms::frmMain& m = Open();
    CplWidget& w = *m.m_colWidgets.at(0);
    m.SetStatus(kPrompt, "KeyEditor");
    EXPECT_EQ(host.traces.back(), "KeyEditor:  PRESS KEY TO ASSIGN");
    EXPECT_NEAR(m.lblStatus.Top() + m.lblStatus.Height() / 2, 5835, 15);
    m.ShowBindingDescription(w);
    EXPECT_EQ(m.lblStatus.Caption(), kPrompt);
    // The programming window writes the line and leaves the tag alone.
    m.lblStatus.SetCaption("Programming");
    EXPECT_EQ(host.traces.back(), "KeyEditor:  Programming");

    const std::size_t traced = host.traces.size();
    m.ClearStatus();
    EXPECT_EQ(m.m_sStatusOwner, "");
    EXPECT_EQ(host.traces.size(), traced);  // empty texts are not traced
    m.ShowBindingDescription(w);
    EXPECT_EQ(m.m_sStatusOwner, "SwiDesc");
    EXPECT_NE(m.lblStatus.Caption(), "");

    m.SelectSwi(&w);
    m.lblStatus_MouseDown(platform::MouseEvent{});
    EXPECT_EQ(m.m_iswiSelected, nullptr);
}

TEST_F(ModesStatus, TheBlinkTimerStopsByItselfWithoutADesignerSelection) {
    forms::frmMain& m = Open();
    CplWidget& w = m.AddWidget(105, "0", 1);
    w.SetVisible(true);
    const std::function<void()> endings[] = {[&] { m.m_iswiSelected = nullptr; },
                                             [&] { g_modeEditor = MODEEDITOR_KeyAssignments; }};
    for (const auto& end : endings) {
        g_modeEditor = MODEEDITOR_PanelDesigner;
        m.SelectSwi(&w);
        m.timerBlink.SetEnabled(true);
        EXPECT_TRUE(pixtest::WaitFor([&] { return w.Picture() == w.pixBlink; }, 3000));
        end();
        EXPECT_TRUE(pixtest::WaitFor([&] { return !m.timerBlink.Enabled(); }, 3000));
    }
    g_modeEditor = MODEEDITOR_PanelDesigner;
}

}  // namespace EditorTest
