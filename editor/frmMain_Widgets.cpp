#include "editor/frmMain.h"

#include <algorithm>
#include <limits>
#include <memory>
#include <stdexcept>

#include "core/Globals.h"
#include "core/QbcFile.h"
#include "core/SwiTables.h"
#include "editor/WidgetTexts.h"
#include "platform/Platform.h"

namespace forms {

namespace {

constexpr int kNoButton = 0, kLeftButton = 1, kRightButton = 2;
const char kOwnerHover[] = "SwiDesc";
const char kOwnerKeyEditor[] = "KeyEditor";

// Joysticks, trackballs and miscellaneous controls stand for no input of their own and
// carry no caption.
bool HasCaption(const std::string& sType) {
    return sType.empty() || (sType[0] != '5' && sType[0] != '6' && sType[0] != '7');
}

bool IsHighlighted(const platform::Label& caption) { return caption.BackColor() == frmMain::kCaptionHighlight; }

bool InPanelDesigner() { return g_modeEditor == MODEEDITOR_PanelDesigner; }

// The store's 16-bit id of a valid input. An id that is no input at all (a hand-made
// layout file can wire a control to one) must not be cut to 16 bits, where it could turn
// into another, valid input; it counts as none.
std::int16_t StoreId(std::int32_t swi) { return SwiTables::IsValidSwi(swi) ? static_cast<std::int16_t>(swi) : 0; }

// A panel control and its caption leave the window at once but are released only after
// the running event has returned: the control may be the one whose mouse event this is.
template <class T>
void UnloadControl(std::unique_ptr<T> ctl) {
    if (!ctl) return;
    ctl->SetVisible(false);
    std::shared_ptr<T> dying(std::move(ctl));
    platform::DeferDelete([dying]() mutable { dying.reset(); });
}

}  // namespace

// ---------------------------------------------------------------- what the rest of the system calls

void frmMain::EnableGuiForQuorbaType() {
    platform::Form::Batch batch(*this);
    EndCurrentEdit();
    if (InPanelDesigner()) {
        RefreshAllWidgetCaptions();
        return;
    }
    if (optViewPanel.Checked()) RefreshAllWidgetCaptions();
    if (optViewTable.Checked()) LayoutTableCells();
}

void frmMain::UpdateSwiBindings(std::int32_t swi) {
    if (swi == -1) {
        platform::Form::Batch batch(*this);
        RefreshAllWidgetCaptions();
        Refresh();
        return;
    }
    // Each view's swi as it reads now: in the shifted view a control wired to 101 is 151.
    for (CplWidget* widget : std::vector<CplWidget*>(m_colWidgets))
        if (widget->swi() == swi) RefreshWidgetCaption(*widget);
    for (TableCell* cell : std::vector<TableCell*>(m_colCells))
        if (cell->swi() == swi) cell->Redraw();
}

// ---------------------------------------------------------------- creating and removing

CplWidget& frmMain::AddWidget(std::int32_t swiBase, const std::string& sType, std::int16_t iColor) {
    // Indexes count up and are not reused, until the 16-bit range runs out; from then on
    // a new control takes the lowest index that is free again.
    constexpr std::int16_t kTop = std::numeric_limits<std::int16_t>::max();
    std::int16_t n = m_iNextWidgetIndex;
    if (awidgets.count(n) != 0 || n <= 0) {
        n = 1;
        while (awidgets.count(n) != 0) {
            if (n == kTop) throw std::length_error("AddWidget: no free control index");
            ++n;
        }
    } else if (m_iNextWidgetIndex < kTop) {
        ++m_iNextWidgetIndex;
    }

    auto created = std::make_unique<CplWidget>();
    created->Create(this, this);
    CplWidget& widget = *created;
    awidgets[n] = std::move(created);
    m_colWidgets.push_back(&widget);
    widget.CtlArrayIndex = n;
    widget.SetType(sType, iColor);
    widget.SetSwiBase(swiBase);
    widget.MouseDown = [this, n](const platform::MouseEvent& e) { awidgets_MouseDown(n, e); };
    widget.MouseMove = [this, n](const platform::MouseEvent& e) { awidgets_MouseMove(n, e); };
    widget.MouseUp = [this, n](const platform::MouseEvent& e) { awidgets_MouseUp(n, e); };

    if (HasCaption(sType)) {
        // Made like the template: white text on the panel, Arial 6 point, one line.
        auto label = std::make_unique<platform::Label>();
        platform::FontSpec font;
        font.name = "Arial";
        font.size = 6;
        label->SetFont(font);
        label->Create(this, 0, 0, 0, 0, "", false);
        label->SetTransparent(true);
        label->SetForeColor(WidgetTexts::kCaptionText);
        label->SetWordWrap(false);
        label->SetAutoSize(true);
        platform::Label& caption = *label;
        alblWidgetCaptions[n] = std::move(label);
        caption.Change = [this, n] { alblWidgetCaptions_Change(n); };
        caption.MouseDown = [this, n](const platform::MouseEvent& e) { alblWidgetCaptions_MouseDown(n, e); };
        caption.MouseMove = [this, n](const platform::MouseEvent& e) { alblWidgetCaptions_MouseMove(n, e); };
        widget.lbl = &caption;
        caption.SetCaption("");
        widget.UpdateLabelPosition();
    }
    return widget;
}

void frmMain::RemoveWidget(CplWidget& widget) {
    if (m_iswiSelected == static_cast<ISwi*>(&widget)) DeselectSwi();
    const std::int16_t n = widget.CtlArrayIndex;
    if (n <= 0) return;  // the template, or a control already disposed
    RemoveWidgetFromCollection(widget);
    const bool hadCaption = widget.lbl != nullptr;
    widget.Dispose();
    if (hadCaption) {
        auto it = alblWidgetCaptions.find(n);
        if (it != alblWidgetCaptions.end()) {
            UnloadControl(std::move(it->second));
            alblWidgetCaptions.erase(it);
        }
    }
    auto it = awidgets.find(n);
    if (it != awidgets.end() && it->second.get() == &widget) {
        UnloadControl(std::move(it->second));
        awidgets.erase(it);
    }
}

void frmMain::RemoveAllWidgets() {
    while (!m_colWidgets.empty()) {
        CplWidget* first = m_colWidgets.front();
        RemoveWidget(*first);
        // A listed control that can no longer be removed (disposed by someone else)
        // must not keep this loop going.
        if (!m_colWidgets.empty() && m_colWidgets.front() == first) m_colWidgets.erase(m_colWidgets.begin());
    }
}

void frmMain::RemoveWidgetFromCollection(CplWidget& widget) {
    auto it = std::find(m_colWidgets.begin(), m_colWidgets.end(), &widget);
    if (it != m_colWidgets.end()) m_colWidgets.erase(it);
}

CplWidget* frmMain::WidgetAt(std::int16_t index) {
    if (index <= 0) return nullptr;
    auto it = awidgets.find(index);
    return it == awidgets.end() ? nullptr : it->second.get();
}

// ---------------------------------------------------------------- selection

void frmMain::SelectSwi(ISwi* iswi) {
    if (iswi == m_iswiSelected) return;
    DeselectSwi();
    m_iswiSelected = iswi;
    if (!iswi) return;
    iswi->Redraw();
    if (InPanelDesigner()) {
        SyncPaletteToSelection();
        ShowSelectionInSelectors();
    }
}

void frmMain::DeselectSwi() {
    m_cellPendingShiftDefn = nullptr;
    m_swiEditText = 0;
    if (!m_iswiSelected) return;
    ISwi* old = m_iswiSelected;
    m_iswiSelected = nullptr;
    ClearStatus();
    old->Blink(0);
    old->Redraw();
    // However the edit ended, the caption stops asking for a key or text at once and
    // shows the input's own again.
    if (auto* widget = dynamic_cast<CplWidget*>(old); widget && widget->lbl && IsHighlighted(*widget->lbl)) {
        widget->lbl->SetBackColor(0);
        widget->lbl->SetTransparent(true);
        RefreshWidgetCaption(*widget);
        ColorWidgetCaption(*widget->lbl);
    }
    if (InPanelDesigner()) DisableSelectors();
}

// ---------------------------------------------------------------- captions

void frmMain::RefreshAllWidgetCaptions() {
    for (CplWidget* widget : std::vector<CplWidget*>(m_colWidgets)) RefreshWidgetCaption(*widget);
}

void frmMain::RefreshWidgetCaption(CplWidget& widget) {
    if (!widget.lbl) return;
    // A caption that reads right already stands and is coloured for its text: the
    // views and modes refresh every caption, most of them unchanged.
    const std::string text = WidgetTexts::CaptionText(g_modeEditor, widget.swi(), optLabelWithUserText.Checked());
    if (widget.lbl->Caption() == text) return;
    widget.lbl->SetCaption(text);
}

void frmMain::ColorWidgetCaption(platform::Label& label) {
    label.SetForeColor(WidgetTexts::CaptionColor(label.Caption(), IsHighlighted(label)));
}

void frmMain::alblWidgetCaptions_Change(std::int16_t index) {
    if (CplWidget* widget = WidgetAt(index)) widget->UpdateLabelPosition();
    auto it = alblWidgetCaptions.find(index);
    if (index > 0 && it != alblWidgetCaptions.end()) ColorWidgetCaption(*it->second);
}

// ---------------------------------------------------------------- keys lighting up their inputs

void frmMain::BlinkSwisOfKey(std::uint8_t key, std::int32_t blnk) {
    const bool all = key == 0 && blnk == 0;
    for (CplWidget* widget : m_colWidgets)
        if (all || IsSwiAssignedKey(key, widget->swi())) widget->Blink(blnk);
    for (TableCell* cell : m_colCells)
        if (all || IsSwiAssignedKey(key, cell->swi())) cell->Blink(blnk);
}

bool frmMain::IsSwiAssignedKey(std::uint8_t key, std::int32_t swi) {
    // 0 holds no key and is on every board: key 0 matches every unwired control.
    if (!SwiTables::IsValidSwi(swi)) return false;
    return QbcFile::GetSwiKey(StoreId(swi)) == key && SwiTables::IsSwiOnBoard(swi);
}

// ---------------------------------------------------------------- hover texts

void frmMain::ShowSwiDescription(ISwi& iswi) {
    // A prompt of an edit is never replaced by a description.
    if (!m_sStatusOwner.empty() && m_sStatusOwner != kOwnerHover) return;
    SetStatus(WidgetTexts::SwiDescription(iswi.swi(), iswi.FExtraneousWidget()), kOwnerHover);
}

void frmMain::ShowBindingDescription(ISwi& iswi) {
    if (!m_sStatusOwner.empty() && m_sStatusOwner != kOwnerHover) return;
    SetStatus(WidgetTexts::BindingDescription(iswi.swi(), iswi.FExtraneousWidget()), kOwnerHover);
}

// ---------------------------------------------------------------- mouse on panel controls and captions

void frmMain::awidgets_MouseDown(std::int16_t index, const platform::MouseEvent&) {
    CplWidget* widget = WidgetAt(index);
    if (!widget || !InPanelDesigner()) return;
    EndCurrentEdit();
    SelectSwi(widget);
}

void frmMain::awidgets_MouseMove(std::int16_t index, const platform::MouseEvent& e) {
    CplWidget* widget = WidgetAt(index);
    if (!widget) return;
    if (!InPanelDesigner()) {
        ShowBindingDescription(*widget);
    } else if (e.button == kNoButton) {
        ShowSwiDescription(*widget);
    } else if (e.button == kLeftButton) {
        DesignerMouseMove(*widget, e);
    }
}

void frmMain::awidgets_MouseUp(std::int16_t index, const platform::MouseEvent& e) {
    CplWidget* widget = WidgetAt(index);
    if (!widget) return;
    if (InPanelDesigner()) {
        DesignerMouseUp(*widget, e);
        return;
    }
    // Key Assignments: the release starts an edit of the control's key or user text.
    SelectSwi(widget);
    const std::int32_t swi = widget->swi();
    platform::Label* caption = widget->lbl;
    if (!caption || swi == 0) return;
    caption->SetTransparent(false);
    caption->SetBackColor(kCaptionHighlight);
    caption->SetForeColor(WidgetTexts::kCaptionEditingText);
    caption->ZOrder(0);
    if (optLabelWithKeys.Checked()) {
        caption->SetCaption("PRESS KEY");
        SetStatus("PRESS KEY TO ASSIGN", kOwnerKeyEditor);
    } else {
        BeginTextEdit(swi);
        caption->SetCaption("ENTER TEXT");
        SetStatus("ENTER USER TEXT", kOwnerKeyEditor);
    }
    if (e.button == kRightButton) mPopupKeyAsgn.PopupAtCursor(Hwnd());
}

void frmMain::alblWidgetCaptions_MouseDown(std::int16_t index, const platform::MouseEvent& e) {
    auto it = alblWidgetCaptions.find(index);
    if (index <= 0 || it == alblWidgetCaptions.end()) return;
    if (g_modeEditor != MODEEDITOR_KeyAssignments || optLabelWithUserText.Checked()) return;
    if (e.button == kRightButton && IsHighlighted(*it->second)) mPopupKeyAsgn.PopupAtCursor(Hwnd());
}

void frmMain::alblWidgetCaptions_MouseMove(std::int16_t index, const platform::MouseEvent& e) {
    CplWidget* widget = WidgetAt(index);
    if (!widget || e.button != kNoButton) return;
    if (InPanelDesigner())
        ShowSwiDescription(*widget);
    else
        ShowBindingDescription(*widget);
}

}  // namespace forms
