#include "editor/frmMain.h"

#include <string>

#include "controls/LabelButton_Helper.h"
#include "core/Globals.h"
#include "core/Trace_.h"
#include "editor/frmMain_Groups.h"

namespace forms {

using groups::Choose;
using groups::ShowAll;

namespace {

// The status line grows with its text; it stays centred on this line of the window.
constexpr float kStatusCentreY = 5835;

}  // namespace

// ---------------------------------------------------------------- panel or table

void frmMain::optViewPanel_Click() { ShowPanelView(); }

void frmMain::optViewTable_Click() { ShowTableView(); }

void frmMain::ShowTableView() {
    platform::Form::Batch batch(*this);
    DeselectSwi();
    Choose(optViewTable, mViewAsTable, optViewPanel, mViewAsPanel);
    // The table shows unshifted and shifted inputs side by side.
    ShowAll({&optKeysNormal, &optKeysShifted, &Line1}, false);
    ShowAll({mViewNormalKeys, zViewSep1, mViewShiftedKeys}, false);
    ShowKeyAssignmentsGui();
}

// ---------------------------------------------------------------- normal or shifted keys

void frmMain::optKeysNormal_Click() {
    platform::Form::Batch batch(*this);
    Choose(optKeysNormal, mViewNormalKeys, optKeysShifted, mViewShiftedKeys);
    // The panel controls now stand for other inputs: their captions follow. The
    // selection stays.
    if (optLabelWithKeys.Checked()) ShowKeyLabels();
    if (optLabelWithUserText.Checked()) ShowUserTextLabels();
}

void frmMain::optKeysShifted_Click() {
    platform::Form::Batch batch(*this);
    Choose(optKeysShifted, mViewShiftedKeys, optKeysNormal, mViewNormalKeys);
    if (optLabelWithKeys.Checked()) ShowKeyLabels();
    if (optLabelWithUserText.Checked()) ShowUserTextLabels();
}

// ---------------------------------------------------------------- key or user-text captions

void frmMain::optLabelWithKeys_Click() {
    platform::Form::Batch batch(*this);
    Choose(optLabelWithKeys, mViewKeycodeAssignments, optLabelWithUserText, mViewUserText);
    ClearStatus();
    DeselectSwi();
    if (optViewPanel.Checked())
        ShowKeyLabels();
    else
        Refresh();  // the cells draw their texts themselves
}

void frmMain::optLabelWithUserText_Click() {
    platform::Form::Batch batch(*this);
    Choose(optLabelWithUserText, mViewUserText, optLabelWithKeys, mViewKeycodeAssignments);
    ClearStatus();
    // The selection stays: its user text can be typed next.
    if (optViewTable.Checked())
        Refresh();
    else
        ShowUserTextLabels();
}

// ---------------------------------------------------------------- lock

void frmMain::chkLockControls_Click() {
    if (g_modeEditor == MODEEDITOR_PanelDesigner) EndCurrentEdit();
    mLockControls->SetChecked(chkLockControls.Checked());
}

// ---------------------------------------------------------------- status line

void frmMain::SetStatus(const std::string& sText, const std::string& sOwner) {
    // The tag first: the caption's Change traces the text under it.
    m_sStatusOwner = sOwner;
    lblStatus.SetCaption(sText);
}

void frmMain::ClearStatus() { SetStatus("", ""); }

void frmMain::lblStatus_Change() {
    // Texts written by the programming window keep the tag of the text before them.
    const std::string caption = lblStatus.Caption();
    if (!caption.empty()) Trace_::Trace(m_sStatusOwner, caption);
    lblStatus.SetTop(kStatusCentreY - lblStatus.Height() / 2);
}

void frmMain::lblStatus_MouseMove(const platform::MouseEvent&) {
    // The status line is part of the window's background: a label button left
    // highlighted gets its own colours back here too.
    LabelButton_Helper::SetHotButton(nullptr, 0xFFFFFF, 0);
}

void frmMain::lblStatus_MouseDown(const platform::MouseEvent&) { EndCurrentEdit(); }

// ---------------------------------------------------------------- blinking of the wired control

void frmMain::timerBlink_Timer() {
    // Only a selection in Panel Designer blinks; anything else stops the timer.
    if (g_modeEditor != MODEEDITOR_PanelDesigner || !m_iswiSelected) {
        timerBlink.SetEnabled(false);
        return;
    }
    m_iswiSelected->Blink(1);
}

}  // namespace forms
