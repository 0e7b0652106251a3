#include "controls/CplWidget.h"

#include <algorithm>

#include "controls/CplWidgetLayout.h"
#include "core/Debug_.h"
#include "core/Globals.h"
#include "core/SwiTables.h"
#include "platform/Platform.h"

namespace {

constexpr COLORREF kBackColor = 0;  // black
constexpr COLORREF kDesignOutline = 0xFF8080;

// Every live panel control. Arrows and joysticks refer to each other without owning
// one another; a control that goes away takes itself out of those references, so no
// other control is left pointing at it.
std::vector<CplWidget*>& LiveWidgets() {
    static std::vector<CplWidget*> v;
    return v;
}

HBITMAP HandleOf(const platform::PicturePtr& pic) { return pic ? pic->Handle() : nullptr; }

// A kept value while the window still shows it (keptShown: the kept value at its nearest
// pixel); once the window was placed through the plain window members instead, what the
// window shows.
float KeptOrShown(float kept, float keptShown, float shown) { return keptShown == shown ? kept : shown; }

}  // namespace

CplWidget::CplWidget() { LiveWidgets().push_back(this); }

CplWidget::~CplWidget() {
    auto& live = LiveWidgets();
    live.erase(std::remove(live.begin(), live.end(), this), live.end());
    for (CplWidget* w : live) {
        if (w->m_widgetJoystick == this) w->m_widgetJoystick = nullptr;
        auto& arrows = w->m_colArrowWidgets;
        arrows.erase(std::remove(arrows.begin(), arrows.end(), this), arrows.end());
    }
}

void CplWidget::Create(ICplWidgetHost* host, platform::Window* parent, float left, float top) {
    m_host = host;
    m_left = left;
    m_top = top;
    m_width = 0;
    m_height = 0;
    platform::UserControl::Create(parent, left, top, 0, 0, false);
    // Transparent parts of the pictures show the panel, not the control's own black.
    SetBackColor(kBackColor);
    SetTransparent(true);
}

// ---------------------------------------------------------------- host entry

platform::Window& CplWidget::Entry() {
    if (m_host) {
        if (platform::Window* e = m_host->CplWidgetEntry(CtlArrayIndex)) return *e;
    }
    return *this;
}

const platform::Window& CplWidget::Entry() const { return const_cast<CplWidget*>(this)->Entry(); }

platform::Window* CplWidget::Control() { return &Entry(); }

// ---------------------------------------------------------------- input

void CplWidget::SetSwiBase(std::int32_t swiBaseNew) {
    SwiTables::CheckSwi(swiBaseNew);
    m_swiBase = swiBaseNew;
}

std::int32_t CplWidget::swi() const {
    const bool shifted = m_host ? m_host->KeysShiftedShown() : false;
    return CplWidgetLayout::WidgetSwi(m_swiBase, g_modeEditor, shifted);
}

// ---------------------------------------------------------------- pictures

void CplWidget::ShowPicture(const platform::PicturePtr& pic) {
    if (HandleOf(m_picture) == HandleOf(pic)) return;
    m_picture = pic;
    Invalidate();
    // The control takes its picture's size in whole pixels (345 x 360 twips for 23 x 24
    // pixels); the HiMetric round trip would add fractions that panel files then keep.
    // Both at once: one placement of the window, its caption and its arrows.
    m_width = pic ? static_cast<float>(pic->PixelWidth()) * platform::TwipsPerPixelX() : 0.0f;
    m_height = pic ? static_cast<float>(pic->PixelHeight()) * platform::TwipsPerPixelY() : 0.0f;
    PlaceEntry();
    PlaceAfterGeometryChange();
}

void CplWidget::Blink(std::int32_t blnk) {
    const bool showingBlink = HandleOf(m_picture) == HandleOf(pixBlink);
    switch (CplWidgetLayout::BlinkTarget(blnk, showingBlink)) {
    case CplWidgetLayout::BlinkPicture::Highlighted: ShowPicture(pixBlink); break;
    case CplWidgetLayout::BlinkPicture::Normal: ShowPicture(pixNormal); break;
    case CplWidgetLayout::BlinkPicture::Unchanged: break;
    }
}

void CplWidget::SetType(const std::string& sType, std::int16_t iColor) {
    m_sType = sType;
    m_iColor = iColor;
    CplWidget_Resources->GetPictureOfTypeAndColorIndex(m_sType, m_iColor, pixNormal, pixBlink);
    if (HandleOf(pixNormal)) ShowPicture(pixNormal);
}

void CplWidget::SetColor(std::int16_t iColor) {
    m_iColor = iColor;
    CplWidget_Resources->GetPictureOfTypeAndColorIndex(m_sType, m_iColor, pixNormal, pixBlink);
    if (pixNormal) ShowPicture(pixNormal);
}

void CplWidget::Redraw() {
    if (!m_hwnd || !IsWindowVisible(m_hwnd)) return;
    RedrawWindow(m_hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

// ---------------------------------------------------------------- geometry

float CplWidget::Left() const {
    const platform::Window& e = Entry();
    if (!e.Created()) return m_left;
    return KeptOrShown(m_left, platform::FromPixelsX(platform::ToPixelsX(m_left)), e.platform::Window::Left());
}
float CplWidget::Top() const {
    const platform::Window& e = Entry();
    if (!e.Created()) return m_top;
    return KeptOrShown(m_top, platform::FromPixelsY(platform::ToPixelsY(m_top)), e.platform::Window::Top());
}
float CplWidget::Width() const {
    const platform::Window& e = Entry();
    if (!e.Created()) return m_width;
    return KeptOrShown(m_width, platform::FromPixelsX(platform::ToPixelsX(m_width)), e.platform::Window::Width());
}
float CplWidget::Height() const {
    const platform::Window& e = Entry();
    if (!e.Created()) return m_height;
    return KeptOrShown(m_height, platform::FromPixelsY(platform::ToPixelsY(m_height)),
                       e.platform::Window::Height());
}

void CplWidget::SetLeft(float v) {
    m_left = v;
    PlaceEntry();
    PlaceAfterGeometryChange();
}
void CplWidget::SetTop(float v) {
    m_top = v;
    PlaceEntry();
    PlaceAfterGeometryChange();
}
void CplWidget::SetWidth(float v) {
    m_width = v;
    PlaceEntry();
    PlaceAfterGeometryChange();
}
void CplWidget::SetHeight(float v) {
    m_height = v;
    PlaceEntry();
    PlaceAfterGeometryChange();
}
void CplWidget::Move(float x, float y) {
    m_left = x;
    m_top = y;
    PlaceEntry();
    PlaceAfterGeometryChange();
}

void CplWidget::PlaceEntry() {
    const platform::Window& e = Entry();
    if (!e.Created()) return;
    // Size rounded on its own, so a picture keeps its pixel size wherever it stands.
    const int l = platform::ToPixelsX(m_left), t = platform::ToPixelsY(m_top);
    const int w = std::max(0, platform::ToPixelsX(m_width)), h = std::max(0, platform::ToPixelsY(m_height));
    RECT now{};
    GetWindowRect(e.Hwnd(), &now);
    if (HWND parent = GetParent(e.Hwnd())) MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&now), 2);
    if (now.left == l && now.top == t && now.right - now.left == w && now.bottom - now.top == h) return;
    SetWindowPos(e.Hwnd(), nullptr, l, t, w, h, SWP_NOZORDER | SWP_NOACTIVATE | SWP_DEFERERASE);
}

void CplWidget::PlaceAfterGeometryChange() {
    UpdateLabelPosition();
    PositionArrowWidgets();
}

void CplWidget::OnResize() {
    // A stretched picture fills the new size; the outline runs along the new edges.
    Invalidate();
}

void CplWidget::SetStretch(bool fStretch) {
    m_stretch = fStretch;
    Invalidate();
}

CplWidgetLayout::Box CplWidget::Geometry() const {
    const platform::Window& e = Entry();
    if (!e.Created()) return {m_left, m_top, m_width, m_height};
    // One look at the window for all four values (see Left).
    RECT r{};
    GetWindowRect(e.Hwnd(), &r);
    if (HWND parent = GetParent(e.Hwnd())) MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    return {KeptOrShown(m_left, platform::FromPixelsX(platform::ToPixelsX(m_left)), platform::FromPixelsX(r.left)),
            KeptOrShown(m_top, platform::FromPixelsY(platform::ToPixelsY(m_top)), platform::FromPixelsY(r.top)),
            KeptOrShown(m_width, platform::FromPixelsX(platform::ToPixelsX(m_width)),
                        platform::FromPixelsX(r.right - r.left)),
            KeptOrShown(m_height, platform::FromPixelsY(platform::ToPixelsY(m_height)),
                        platform::FromPixelsY(r.bottom - r.top))};
}

void CplWidget::UpdateLabelPosition() {
    if (!lbl) return;
    const CplWidgetLayout::Box me = Geometry();
    const auto place =
        CplWidgetLayout::PlaceCaption(m_sType, me, lbl->Width(), lbl->Height(), platform::TwipsPerPixelY());
    switch (place.align) {
    case CplWidgetLayout::CaptionAlign::Left: lbl->SetAlignment(platform::Label::kLeft); break;
    case CplWidgetLayout::CaptionAlign::Right: lbl->SetAlignment(platform::Label::kRight); break;
    case CplWidgetLayout::CaptionAlign::Center: lbl->SetAlignment(platform::Label::kCenter); break;
    }
    lbl->platform::Window::Move(place.left, place.top);
    // The part of the caption under the picture is drawn with the picture (see EraseToPanel).
    Invalidate();
}

void CplWidget::PositionArrowWidgets() {
    if (m_colArrowWidgets.empty()) return;
    const CplWidgetLayout::Box me = Geometry();
    const float p = platform::TwipsPerPixelX();
    // A copy: an arrow's Move must not disturb the walk.
    const std::vector<CplWidget*> arrows = m_colArrowWidgets;
    for (CplWidget* arrow : arrows) {
        const auto at = CplWidgetLayout::PlaceArrow(arrow->m_sType, me, arrow->Width(), arrow->Height(), p);
        if (!at) {
            Debug_::AssertFailed("Unexpected sType=" + arrow->m_sType);
            continue;
        }
        arrow->Move(at->x, at->y);
    }
}

void CplWidget::AddArrow(CplWidget* widget) {
    Debug_::Assert(m_sType == "5", "Should not add arrows to anything other than a joystick!");
    if (!widget) return;
    m_colArrowWidgets.push_back(widget);
    widget->m_widgetJoystick = this;
    PositionArrowWidgets();
}

// ---------------------------------------------------------------- order and visibility

void CplWidget::Zorder() {
    if (lbl) lbl->ZOrder(0);
    Entry().ZOrder(0);
}

bool CplWidget::Visible() const { return Entry().platform::Window::Visible(); }

void CplWidget::SetVisible(bool fVisible) {
    platform::Window& e = Entry();
    if (&e == this)
        platform::Window::SetVisible(fVisible);
    else
        e.SetVisible(fVisible);
    if (lbl) lbl->SetVisible(fVisible);
}

// ---------------------------------------------------------------- life

void CplWidget::Dispose() {
    pixNormal.reset();
    pixBlink.reset();
    lbl = nullptr;
    m_picture.reset();
    Invalidate();
    CtlArrayIndex = -1;
    m_widgetJoystick = nullptr;
    while (!m_colArrowWidgets.empty()) m_colArrowWidgets.erase(m_colArrowWidgets.begin());
    m_colArrowWidgets.shrink_to_fit();
}

// ---------------------------------------------------------------- painting

void CplWidget::PaintDesignOutline(platform::Graphics& g) const {
    if (!m_designMode) return;
    const float px = platform::TwipsPerPixelX(), py = platform::TwipsPerPixelY();
    g.Box(0, 0, ScaleWidth() - px, ScaleHeight() - py, kDesignOutline, true);
}

void CplWidget::OnPaint(platform::Graphics& g) {
    if (m_picture && m_hwnd) {
        RECT r;
        GetClientRect(m_hwnd, &r);
        if (m_stretch)
            m_picture->Draw(g.Dc(), 0, 0, r.right, r.bottom);
        else
            m_picture->Draw(g.Dc(), 0, 0, m_picture->PixelWidth(), m_picture->PixelHeight());
    }
    PaintDesignOutline(g);
}

bool CplWidget::HandleMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    if (msg == WM_ERASEBKGND) {
        EraseToPanel(reinterpret_cast<HDC>(wp));
        result = 1;
        return true;
    }
    if (msg == WM_PRINTCLIENT) {
        // Painting into a given device context: the same background as on screen.
        EraseToPanel(reinterpret_cast<HDC>(wp));
        platform::Graphics g(reinterpret_cast<HDC>(wp));
        OnPaint(g);
        result = 0;
        return true;
    }
    return platform::UserControl::HandleMessage(msg, wp, lp, result);
}

void CplWidget::EraseToPanel(HDC dc) {
    const platform::Window* panel = Parent();
    RECT r;
    GetClientRect(m_hwnd, &r);
    HBRUSH b = CreateSolidBrush(panel ? panel->EffectiveBackColor() : EffectiveBackColor());
    FillRect(dc, &r, b);
    DeleteObject(b);
    // A caption overlaps the bottom of its control, which lies above it: the caption's
    // part under the picture's transparent pixels must show as well.
    const platform::Label* cap = lbl;
    if (!cap || !cap->Created() || !IsWindowVisible(cap->Hwnd())) return;
    POINT at{0, 0};
    MapWindowPoints(cap->Hwnd(), m_hwnd, &at, 1);
    RECT capRect;
    GetClientRect(cap->Hwnd(), &capRect);
    OffsetRect(&capRect, at.x, at.y);
    RECT overlap;
    if (!IntersectRect(&overlap, &capRect, &r)) return;
    // From wherever the origin stands: a form drawn in one pass has moved it to us.
    POINT oldOrg;
    OffsetViewportOrgEx(dc, at.x, at.y, &oldOrg);
    SendMessageA(cap->Hwnd(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
    SetViewportOrgEx(dc, oldOrg.x, oldOrg.y, nullptr);
}
