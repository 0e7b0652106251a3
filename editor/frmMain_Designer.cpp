// Panel Designer's palette, dragging and wiring. The palette display and the selectors'
// states are here because the mode switch and the selection use them; dragging from
// the palette and moving controls come with the designer's own work. The geometry and
// the selector tables are DesignerRules'.
#include <initializer_list>
#include <string>
#include <vector>

#include "controls/CplWidget_Resources.h"
#include "core/Debug_.h"
#include "core/Globals.h"
#include "core/SwiTables.h"
#include "core/Util.h"
#include "core/WinApi_.h"
#include "editor/DesignerRules.h"
#include "editor/frmMain.h"
#include "platform/Platform.h"

namespace forms {

namespace {

constexpr int kLeftButton = 1;
const char kOwnerDesigner[] = "CplEditor";
// What an unwired control gets when only its player is chosen: that player's switch 1.
constexpr std::int32_t kSwitch1 = 105;
constexpr std::int32_t kFirstPlayer = 1;

bool InPanelDesigner() { return g_modeEditor == MODEEDITOR_PanelDesigner; }

void SetSelector(platform::Label& l, COLORREF c) {
    l.SetBackColor(c);
    l.Refresh();
}

// A selector in the disabled colour is switched off: its colour is its state.
bool IsSelectorOff(const platform::Label& l) { return l.BackColor() == frmMain::kSelectorDisabled; }

// A panel control's own twips geometry; the window's, rounded to pixels, for anything else.
DesignerRules::Box GeometryOf(const platform::Window& ctl) {
    if (const auto* w = dynamic_cast<const CplWidget*>(&ctl)) return {w->Left(), w->Top(), w->Width(), w->Height()};
    return {ctl.Left(), ctl.Top(), ctl.Width(), ctl.Height()};
}

}  // namespace

// ---------------------------------------------------------------- selector tables

std::int16_t frmMain::SwiToSelectorIndex(std::int32_t swi) { return DesignerRules::SwiToSelectorIndex(swi); }

std::int32_t frmMain::SelectorIndexToSwiKind(std::int16_t index) {
    return DesignerRules::SelectorIndexToSwiKind(index);
}

// ---------------------------------------------------------------- the palette

void frmMain::ShowPaletteItem() {
    const std::string t = std::to_string(m_iPaletteType);
    platform::PicturePtr normal, blink;
    ::CplWidget_Resources->GetPictureOfTypeAndColorIndex(t, m_iPaletteColor, normal, blink);
    imgPaletteItem.SetPicture(normal);
    lblPaletteItemType.SetCaption(forms::CplWidget_Resources::GetNameOfType(t));
}

void frmMain::ShowPalette(bool fVisible) {
    // The logo that lies over the palette in Key Assignments keeps its size in pixels while
    // the palette is placed in twips: at more than 96 DPI parts of the palette would show
    // (and obey) below it, so there they are put away. The hover frame goes with them; in
    // Panel Designer it comes back only under the pointer.
    for (platform::Label& swatch : lblColorSel) swatch.SetVisible(fVisible);
    for (platform::Window* w : std::initializer_list<platform::Window*>{&imgPaletteItem, &lblPaletteItemType,
                                                                       &btnPalettePrev, &btnPaletteNext})
        w->SetVisible(fVisible);
    if (!fVisible) shapePaletteColorHighlight.SetVisible(false);
}

void frmMain::ResetPaletteItem() {
    imgPaletteItem.Move(m_xPaletteHome, m_yPaletteHome, m_cxPaletteHome, m_cyPaletteHome);
}

void frmMain::SyncPaletteToSelection() {
    auto* widget = dynamic_cast<CplWidget*>(m_iswiSelected);
    if (!widget) return;
    if (widget->m_widgetJoystick) widget = widget->m_widgetJoystick;
    m_iPaletteColor = widget->m_iColor;
    if (auto type = Util::CInt(Util::Val(widget->m_sType))) m_iPaletteType = *type;
    ShowPaletteItem();
}

void frmMain::btnPalettePrev_MouseUp(const platform::MouseEvent& e) {
    if (!InPanelDesigner()) return;
    if (!DesignerRules::IsOnButton(e.x, e.y, btnPalettePrev.Width(), btnPalettePrev.Height())) return;
    m_iPaletteType = DesignerRules::PreviousPaletteType(m_iPaletteType);
    ShowPaletteItem();
}

void frmMain::btnPaletteNext_MouseUp(const platform::MouseEvent& e) {
    if (!InPanelDesigner()) return;
    if (!DesignerRules::IsOnButton(e.x, e.y, btnPaletteNext.Width(), btnPaletteNext.Height())) return;
    m_iPaletteType = DesignerRules::NextPaletteType(m_iPaletteType);
    ShowPaletteItem();
}

void frmMain::btnPalettePrev_MouseMove(const platform::MouseEvent&) { shapePaletteColorHighlight.SetVisible(false); }

void frmMain::lblColorSel_MouseMove(int index, const platform::MouseEvent&) {
    if (!InPanelDesigner() || index < 0 || index >= static_cast<int>(lblColorSel.size())) return;
    const platform::Label& swatch = lblColorSel[static_cast<std::size_t>(index)];
    shapePaletteColorHighlight.SetVisible(false);
    shapePaletteColorHighlight.Move(swatch.Left(), swatch.Top());
    // The swatches are opaque windows: a frame beneath them would never be seen.
    shapePaletteColorHighlight.ZOrder();
    shapePaletteColorHighlight.SetVisible(true);
}

void frmMain::lblColorSel_Click(int index) {
    if (!InPanelDesigner() || index < 0 || index >= static_cast<int>(lblColorSel.size())) return;
    m_iPaletteColor = static_cast<std::int16_t>(index);
    ShowPaletteItem();
    auto* widget = dynamic_cast<CplWidget*>(m_iswiSelected);
    if (!widget) return;
    // An arrow wears its joystick's colour.
    if (widget->m_widgetJoystick) widget = widget->m_widgetJoystick;
    widget->SetColor(m_iPaletteColor);
}

// ---------------------------------------------------------------- dragging and dropping

bool frmMain::IsInPanelArea(const platform::Window& ctl) { return DesignerRules::IsInPanelArea(GeometryOf(ctl)); }

bool frmMain::IsInPaletteArea(const platform::Window& ctl) {
    return DesignerRules::IsInPaletteArea(GeometryOf(ctl));
}

void frmMain::DragControl(platform::Window& ctl) {
    // The real cursor rather than the event's position: the control moves under the
    // mouse, so coordinates relative to it would chase themselves.
    std::int32_t x = 0, y = 0;
    WinApi_::GetCursorPosInClient(Hwnd(), x, y);
    const DesignerRules::Box g = GeometryOf(ctl);
    const DesignerRules::Point p =
        DesignerRules::DragPosition(x, y, platform::TwipsPerPixelX(), g.width, g.height, chkSnapControls.Checked());
    // A panel control keeps exact twips and takes its caption and arrows along.
    if (auto* widget = dynamic_cast<CplWidget*>(&ctl))
        widget->Move(p.left, p.top);
    else
        ctl.Move(p.left, p.top);

    if (IsInPaletteArea(ctl))
        SetStatus("DRAG CONTROL TO RIGHT", kOwnerDesigner);
    else if (!IsInPanelArea(ctl))
        SetStatus("OUTSIDE OF PANEL DESIGN AREA", kOwnerDesigner);
    else
        SetStatus("DROP CONTROL ON PANEL", kOwnerDesigner);
}

void frmMain::imgPaletteItem_MouseDown(const platform::MouseEvent& e) {
    if (e.button != kLeftButton || !InPanelDesigner()) return;
    EndCurrentEdit();
    // The picture travels at its natural size, the size the new control will have.
    imgPaletteItem.Move(imgPaletteItem.Left(), imgPaletteItem.Top(), imgPaletteItem.ImageWidth(),
                        imgPaletteItem.ImageHeight());
    DragControl(imgPaletteItem);
}

void frmMain::imgPaletteItem_MouseMove(const platform::MouseEvent& e) {
    if (e.button != kLeftButton || !InPanelDesigner()) return;
    DragControl(imgPaletteItem);
}

void frmMain::imgPaletteItem_MouseUp(const platform::MouseEvent&) {
    if (IsInPanelArea(imgPaletteItem)) {
        SetStatus("CLICK ON CONTROL TO ASSIGN TO AN QUORBA INPUT", kOwnerDesigner);
        CplWidget& widget = AddWidget(0, std::to_string(m_iPaletteType), m_iPaletteColor);
        widget.Move(imgPaletteItem.Left(), imgPaletteItem.Top());
        widget.SetVisible(true);
        widget.Zorder();
        if (widget.m_sType == "5") {
            for (const char* direction : {"U", "D", "L", "R"}) {
                CplWidget& arrow = AddWidget(0, direction, 0);
                widget.AddArrow(&arrow);
                arrow.SetVisible(true);
                arrow.Zorder();
            }
        }
    }
    ResetPaletteItem();
}

void frmMain::DesignerMouseMove(CplWidget& widget, const platform::MouseEvent&) {
    // Arrows move only with their joystick.
    if (chkLockControls.Checked() || widget.m_widgetJoystick) return;
    DragControl(widget);
}

void frmMain::DesignerMouseUp(CplWidget& widget, const platform::MouseEvent&) {
    // Locked controls are never deleted by the mouse: a click on one that sticks out of
    // the panel area (a loaded panel, an arrow at the edge) only selects it.
    if (IsInPanelArea(widget) || chkLockControls.Checked()) {
        SelectSwi(&widget);
        if (widget.lbl) SetStatus("CLICK ON BOARD CONNECTION", kOwnerDesigner);
        timerBlink.SetEnabled(true);
        return;
    }
    // Dropped outside: the control goes, an arrow taking its joystick and the joystick
    // its arrows. Their windows stay until this event has returned.
    CplWidget& target = widget.m_widgetJoystick ? *widget.m_widgetJoystick : widget;
    for (CplWidget* arrow : std::vector<CplWidget*>(target.m_colArrowWidgets))
        if (arrow) RemoveWidget(*arrow);
    RemoveWidget(target);
}

// ---------------------------------------------------------------- wiring

void frmMain::ShowSelectionInSelectors() {
    Debug_::Assert(g_modeEditor == MODEEDITOR_PanelDesigner, "Wrong mode!");
    auto* widget = dynamic_cast<CplWidget*>(m_iswiSelected);
    if (!widget) return;
    if (!widget->lbl) {
        DisableSelectors();
        return;
    }
    ResetSwitchSelectors();
    ResetPlayerSelectors();
    const std::int32_t p = SwiTables::GetPlayerOfSwi(widget->swi());
    if (p >= 1 && p <= 4) SetSelector(lblPlayerSel[static_cast<std::size_t>(p)], kSelectorLit);
    const std::int16_t s = SwiToSelectorIndex(widget->swi());
    if (s != 0) SetSelector(lblSwiSel[static_cast<std::size_t>(s)], kSelectorLit);
}

void frmMain::ResetPlayerSelectors() {
    const bool fFourPlayers = g_typeQuorba == TYPEQUORBA_Quorba4;
    for (std::size_t p = 1; p <= 4; ++p)
        SetSelector(lblPlayerSel[p], p <= 2 || fFourPlayers ? kSelectorNormal : kSelectorDisabled);
}

void frmMain::ResetSwitchSelectors() {
    for (std::size_t s = 1; s <= 16; ++s) SetSelector(lblSwiSel[s], kSelectorNormal);
}

void frmMain::DisableSelectors() {
    for (std::size_t p = 1; p <= 4; ++p) SetSelector(lblPlayerSel[p], kSelectorDisabled);
    for (std::size_t s = 1; s <= 16; ++s) SetSelector(lblSwiSel[s], kSelectorDisabled);
}

// Choosing a switch keeps the control's player (player 1 for an unwired control).
void frmMain::lblSwiSel_MouseDown(std::int16_t index, const platform::MouseEvent&) {
    if (index < 1 || index > DesignerRules::kSelectorCount) return;
    platform::Label& selector = lblSwiSel[static_cast<std::size_t>(index)];
    auto* widget = dynamic_cast<CplWidget*>(m_iswiSelected);
    if (IsSelectorOff(selector) || !widget) return;
    ResetSwitchSelectors();
    SetSelector(selector, kSelectorLit);
    const std::int32_t kind = SelectorIndexToSwiKind(index);
    std::int32_t player = SwiTables::GetPlayerOfSwi(widget->swi());
    if (player == 0) player = kFirstPlayer;
    widget->SetSwiBase(SwiTables::SwiForPlayer(kind, player));
    RefreshWidgetCaption(*widget);
}

// Choosing a player keeps the control's switch (switch 1 for an unwired control).
void frmMain::lblPlayerSel_Click(std::int16_t index) {
    if (index < 1 || index > 4) return;
    platform::Label& selector = lblPlayerSel[static_cast<std::size_t>(index)];
    auto* widget = dynamic_cast<CplWidget*>(m_iswiSelected);
    if (IsSelectorOff(selector) || !widget) return;
    ResetPlayerSelectors();
    SetSelector(selector, kSelectorLit);
    const std::int32_t swi = widget->swi() != 0 ? widget->swi() : kSwitch1;
    widget->SetSwiBase(SwiTables::SwiForPlayer(swi, index));
    RefreshWidgetCaption(*widget);
}

}  // namespace forms
