#include "editor/frmMain.h"

#include <exception>
#include <functional>
#include <initializer_list>
#include <string>

#include "core/Globals.h"
#include "core/Host.h"
#include "core/Trace_.h"
#include "editor/frmMain_Groups.h"

namespace forms {

using groups::Choose;
using groups::ShowAll;

namespace {

constexpr const char* kTitle = "Keyloom";
constexpr unsigned kQuestionFlags = MB_YESNOCANCEL | MB_ICONQUESTION;

const std::string kDesignerWarning =
    "Warning: changing Quorba wiring connections in Panel Design mode will mean re-creating keycode files to "
    "reflect the new wiring.\r\n\r\nDo you want to continue?";
const std::string kSaveLayoutQuestion =
    "Panel layout and wiring assignments must be complete and saved before configuring keycodes.\r\n\r\n"
    "Would you like to save the current panel laybout before continuing?";

// Runs every step even when an earlier one throws: a control that cannot be shown or a
// failed table rebuild must not leave the rest of the layout half done. Failures are
// only traced; the user sees the layout as far as it could be made.
void RunEachStep(const char* place, std::initializer_list<std::function<void()>> steps) {
    for (const auto& step : steps) {
        try {
            step();
        } catch (const std::exception& e) {
            Trace_::Trace(place, e.what());
        } catch (...) {
            Trace_::Trace(place, "unknown error");
        }
    }
}

}  // namespace

// ---------------------------------------------------------------- ending an edit

void frmMain::EndCurrentEdit() {
    if (g_modeEditor == MODEEDITOR_PanelDesigner)
        EndDesignerEdit();
    else if (m_iswiSelected)
        EndKeyEdit();
}

void frmMain::EndDesignerEdit() {
    DisableSelectors();
    SetPanelDesignerTitles();
    EndKeyEdit();
}

void frmMain::EndKeyEdit() {
    BlinkSwisOfKey(0, 0);
    timerBlink.SetEnabled(false);
    ClearStatus();
    DeselectSwi();
    if (g_modeEditor != MODEEDITOR_KeyAssignments) return;
    if (optLabelWithKeys.Checked()) ShowKeyLabels();
    if (optLabelWithUserText.Checked()) ShowUserTextLabels();
}

// ---------------------------------------------------------------- entering a mode

void frmMain::ApplyMode(bool fQuiet) {
    if (g_modeEditor == MODEEDITOR_KeyAssignments)
        EnterKeyAssignments(fQuiet);
    else
        EnterPanelDesigner(fQuiet);
}

void frmMain::EnterPanelDesigner(bool fQuiet) {
    // Ended before asking, so that a declined switch leaves no edit half done.
    EndCurrentEdit();
    if (!fQuiet && Host().MessageBox(kDesignerWarning, kQuestionFlags, kTitle) != IDYES) return;

    platform::Form::Batch batch(*this);
    zView->SetVisible(false);
    ShowAll({&optLabelWithKeys, &optKeysNormal, &optKeysShifted, &Line1}, false);
    ShowPanelFileMenus(true);
    ShowQbcFileMenus(false);
    ShowAll({&imgLogo, &optViewTable, &optViewPanel, &lblDisplayMode, &Line4, &Line5}, false);
    ShowAll({mViewAsTable, zViewSep0, mViewAsPanel}, false);
    ShowTableCells(false);
    g_modeEditor = MODEEDITOR_PanelDesigner;
    SetPanelDesignerTitles();
    ShowWidgets(true);
    ShowPaletteItem();
}

void frmMain::EnterKeyAssignments(bool fQuiet) {
    EndCurrentEdit();
    if (!fQuiet) {
        const int answer = Host().MessageBox(kSaveLayoutQuestion, kQuestionFlags, kTitle);
        if (answer == IDYES) {
            const std::string sFile = AskPanelFileToSave();
            if (sFile.empty()) return;
            // A layout that could not be saved keeps the designer: the user was told that
            // the switch needs it saved.
            if (!SavePanelFile(sFile, "frmMain.EnterKeyAssignments")) return;
        } else if (answer != IDNO) {
            return;  // Cancel, or a box that could not be shown: stay where we are
        }
    }
    platform::Form::Batch batch(*this);
    ShowQbcFileMenus(true);
    ShowPanelFileMenus(false);
    // Key Assignments always comes back in the panel view: the table is not built for it.
    Choose(optViewPanel, mViewAsPanel, optViewTable, mViewAsTable);
    ShowKeyAssignmentsGui();  // still in the old mode here
    g_modeEditor = MODEEDITOR_KeyAssignments;
    ShowPanelView();
}

void frmMain::ShowKeyAssignmentsGui() {
    RunEachStep("frmMain.ShowKeyAssignmentsGui",
                {[this] { SetKeyAssignmentsTitles(); },
                 [this] {
                     // In the panel view the controls stay: the panel view follows at once.
                     if (!optViewPanel.Checked()) ShowWidgets(false);
                 },
                 [this] { optLabelWithKeys.SetVisible(true); },
                 [this] {
                     if (optViewPanel.Checked()) ShowAll({&optKeysNormal, &optKeysShifted, &Line1}, true);
                 },
                 [this] { zView->SetVisible(true); },
                 [this] { Choose(optLabelWithKeys, mViewKeycodeAssignments, optLabelWithUserText, mViewUserText); },
                 [this] { imgLogo.SetVisible(true); },
                 [this] { imgLogo.ZOrder(0); },
                 [this] { ShowAll({&optViewTable, &optViewPanel, &lblDisplayMode, &Line4, &Line5}, true); },
                 [this] { ShowAll({mViewAsTable, zViewSep0, mViewAsPanel}, true); },
                 [this] {
                     // The table is built when it is shown, never while it stays hidden.
                     if (optViewTable.Checked()) LayoutTableCells();
                 },
                 [this] {
                     if (optViewPanel.Checked())
                         ShowKeyLabels();
                     else
                         Refresh();
                 }});
}

// ---------------------------------------------------------------- views of Key Assignments

void frmMain::ShowPanelView() {
    platform::Form::Batch batch(*this);
    DeselectSwi();
    Choose(optViewPanel, mViewAsPanel, optViewTable, mViewAsTable);
    if (g_modeEditor == MODEEDITOR_KeyAssignments) {
        ShowAll({&optKeysNormal, &optKeysShifted, &Line1}, true);
        ShowAll({mViewNormalKeys, zViewSep1, mViewShiftedKeys}, true);
    }
    Choose(optKeysNormal, mViewNormalKeys, optKeysShifted, mViewShiftedKeys);
    // The table area stays covered while the cells go and the panel controls come.
    picBack.SetVisible(true);
    picBack.ZOrder(0);
    picBack.Refresh();
    ShowTableCells(false);
    ShowWidgets(true);
    ShowKeyLabels();
    picBack.SetVisible(false);
    Refresh();
}

void frmMain::ShowKeyLabels() {
    Choose(optLabelWithKeys, mViewKeycodeAssignments, optLabelWithUserText, mViewUserText);
    RefreshAllWidgetCaptions();
}

void frmMain::ShowUserTextLabels() {
    Choose(optLabelWithUserText, mViewUserText, optLabelWithKeys, mViewKeycodeAssignments);
    RefreshAllWidgetCaptions();
}

// ---------------------------------------------------------------- titles and what each mode shows

void frmMain::SetKeyAssignmentsTitles() {
    ShowDesignerControls(false);
    btnToggleMode.SetCaption("Switch To PANEL DESIGNER");
    lblModeTitle.SetCaption("KEY ASSIGNMENTS");
}

void frmMain::SetPanelDesignerTitles() {
    ShowDesignerControls(true);
    btnToggleMode.SetCaption("Switch To KEY ASSIGNMENTS");
    lblModeTitle.SetCaption("PANEL DESIGNER");
}

void frmMain::ShowDesignerControls(bool fDesign) {
    const bool fKeys = !fDesign;
    const bool fVexo = g_typeQuorba == TYPEQUORBA_QuorbaVexo;

    for (std::size_t i = 1; i <= 4; ++i) lblPlayerSel[i].SetVisible(fDesign);
    for (std::size_t i = 1; i <= 14; ++i) lblSwiSel[i].SetVisible(fDesign);
    // Only the Vexo has switches C and D; it calls its last two numbered switches A and B.
    lblSwiSel[15].SetVisible(fDesign && fVexo);
    lblSwiSel[16].SetVisible(fDesign && fVexo);
    lblSwiSel[11].SetCaption(fVexo ? "SW A" : "SW 7");
    lblSwiSel[12].SetCaption(fVexo ? "SW B" : "SW 8");

    ShowAll({&Line2, &Line3, &chkSnapControls, &chkLockControls, &lblQuorbaConnections, &btnRemoveAllWidgets,
             &btnOpenCpl, &btnSaveCplAs},
            fDesign);
    ShowAll({mSnapToGrid, zEditSep0, mLockControls, mClearControls}, fDesign);
    ShowAll({&btnSaveQbcAs, &btnOpenQbc, &btnRestoreDefaults, &optLabelWithUserText}, fKeys);
    ShowAll({mRestoreDefaults, mViewUserText}, fKeys);
    mModeDesign->SetChecked(fDesign);
    mModeAssign->SetChecked(fKeys);
    btnStartLauncher.SetEnabled(fKeys);
    ShowAll({mStartLauncher, zToolsSep0}, fKeys);
    btnStartLauncher.SetVisible(fKeys && LauncherExists());
    btnProgramQuorba.SetEnabled(fKeys);
    mProgramQuorba->SetEnabled(fKeys);
    ShowPalette(fDesign);

    RefreshAllWidgetCaptions();
}

void frmMain::ShowWidgets(bool fVisible) {
    // A panel control shows and hides its caption label with itself.
    for (CplWidget* widget : m_colWidgets) widget->SetVisible(fVisible);
}

void frmMain::ShowPanelFileMenus(bool fVisible) {
    ShowAll({zFileNewPanel, mFileOpenPanel, mFileSavePanelAs, zFileSepPanel}, fVisible);
    mFileSavePanel->SetVisible(false);
}

void frmMain::ShowQbcFileMenus(bool fVisible) {
    ShowAll({zFileNewKeyAsgn, mFileOpenKeyAsgn, zFileSepKeyAsgnOpen, mFileSaveKeyAsgnAs, zFileSepKeyAsgnEnd,
             mDefineMacros},
            fVisible);
    ShowAll({zFileOpenRecentKeyAsgn, mFileSaveKeyAsgn}, false);
}

// ---------------------------------------------------------------- switching

void frmMain::btnToggleMode_Click() {
    if (g_modeEditor == MODEEDITOR_KeyAssignments)
        EnterPanelDesigner(false);
    else
        EnterKeyAssignments(false);
}

void frmMain::mModeDesign_Click() {
    if (g_modeEditor == MODEEDITOR_KeyAssignments) EnterPanelDesigner(false);
}

void frmMain::mModeAssign_Click() {
    if (g_modeEditor == MODEEDITOR_PanelDesigner) EnterKeyAssignments(false);
}

}  // namespace forms
