// Panel Designer's palette, dragging and wiring. The palette display and the selectors'
// states are here because the mode switch and the selection use them; dragging from
// the palette and moving controls come with the designer's own work.
#include <string>

#include "controls/CplWidget_Resources.h"
#include "core/Debug_.h"
#include "core/Globals.h"
#include "core/SwiTables.h"
#include "core/Util.h"
#include "editor/frmMain.h"

namespace forms {

namespace {

// Input kind (the player-1 input) behind each SelectorIndex 1 to 16.
constexpr std::int32_t kSelectorKinds[17] = {0,   101, 102, 103, 104, 105, 106, 107, 108,
                                             109, 110, 111, 112, 115, 116, 113, 114};

void SetSelector(platform::Label& l, COLORREF c) {
    l.SetBackColor(c);
    l.Refresh();
}

}  // namespace

std::int16_t frmMain::SwiToSelectorIndex(std::int32_t swi) {
    const std::int32_t kind = SwiTables::GetSwiBase(swi, true);
    if (kind == 0) return 0;
    for (std::int16_t i = 1; i <= 16; ++i)
        if (kSelectorKinds[i] == kind) return i;
    Debug_::AssertFailed("Bad swi = " + std::to_string(swi));
    return 0;
}

std::int32_t frmMain::SelectorIndexToSwiKind(std::int16_t index) {
    if (index >= 0 && index <= 16) return kSelectorKinds[index];
    Debug_::AssertFailed("Bad ssi = " + std::to_string(index));
    return 0;
}

void frmMain::ShowPaletteItem() {
    const std::string t = std::to_string(m_iPaletteType);
    platform::PicturePtr normal, blink;
    ::CplWidget_Resources->GetPictureOfTypeAndColorIndex(t, m_iPaletteColor, normal, blink);
    imgPaletteItem.SetPicture(normal);
    lblPaletteItemType.SetCaption(forms::CplWidget_Resources::GetNameOfType(t));
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

namespace {
// A panel control's own twips geometry; the window's, rounded to pixels, for anything else.
struct Geometry {
    float left, top, width, height;
};
Geometry GeometryOf(const platform::Window& ctl) {
    if (const auto* w = dynamic_cast<const CplWidget*>(&ctl)) return {w->Left(), w->Top(), w->Width(), w->Height()};
    return {ctl.Left(), ctl.Top(), ctl.Width(), ctl.Height()};
}
}  // namespace

bool frmMain::IsInPanelArea(const platform::Window& ctl) {
    // Each side rounded to single precision, as the designer's geometry is defined.
    const Geometry g = GeometryOf(ctl);
    const volatile float L = g.left, T = g.top, W = g.width, H = g.height;
    const float k = 0.2f;
    const volatile float left = L + k * W, top = T + k * H, bottom = T - k * H, bottomLimit = 5500 - H,
                         right = L - k * W, rightLimit = 9398 - W;
    return left >= 2700 && top >= 620 && bottom <= bottomLimit && right <= rightLimit;
}

bool frmMain::IsInPaletteArea(const platform::Window& ctl) {
    const Geometry g = GeometryOf(ctl);
    const volatile float L = g.left, T = g.top, bottomLimit = 1935 - g.height, rightLimit = 2175 - g.width;
    return L >= 240 && T >= 120 && T <= bottomLimit && L <= rightLimit;
}

// Dragging, dropping, the palette's buttons and swatches and the selectors' clicks belong
// to the designer's own work.
void frmMain::DragControl(platform::Window&) {}
void frmMain::imgPaletteItem_MouseDown(const platform::MouseEvent&) {}
void frmMain::imgPaletteItem_MouseMove(const platform::MouseEvent&) {}
void frmMain::imgPaletteItem_MouseUp(const platform::MouseEvent&) {}
void frmMain::btnPalettePrev_MouseUp(const platform::MouseEvent&) {}
void frmMain::btnPaletteNext_MouseUp(const platform::MouseEvent&) {}
void frmMain::btnPalettePrev_MouseMove(const platform::MouseEvent&) {}
void frmMain::lblColorSel_Click(int) {}
void frmMain::lblColorSel_MouseMove(int, const platform::MouseEvent&) {}
void frmMain::lblSwiSel_MouseDown(std::int16_t, const platform::MouseEvent&) {}
void frmMain::lblPlayerSel_Click(std::int16_t) {}
void frmMain::DesignerMouseMove(CplWidget&, const platform::MouseEvent&) {}
void frmMain::DesignerMouseUp(CplWidget&, const platform::MouseEvent&) {}

}  // namespace forms
