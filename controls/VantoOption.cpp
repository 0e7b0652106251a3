#include "controls/VantoOption.h"

#include <algorithm>
#include <cmath>

#include "controls/VantoOption_Resources.h"

namespace {

// Whether the pointer lies in the rectangle (twips, relative to the client area of
// hwnd); left and top edges inclusive, right and bottom exclusive. All four values are
// converted with the horizontal twips-per-pixel factor.
bool CursorInRect(HWND hwnd, float left, float top, float width, float height) {
    RECT client{};
    GetClientRect(hwnd, &client);
    POINT pt{};
    GetCursorPos(&pt);
    ScreenToClient(hwnd, &pt);
    const double tpp = platform::TwipsPerPixelX();
    const double l = client.left + left / tpp, t = client.top + top / tpp;
    const double r = l + width / tpp, b = t + height / tpp;
    return l <= pt.x && pt.x < r && t <= pt.y && pt.y < b;
}

}  // namespace

// ---------------------------------------------------------------- property bag

void VantoOption::PropertyBag::Write(const std::string& name, PropertyValue value) {
    for (auto& item : items) {
        if (item.first == name) {
            item.second = std::move(value);
            return;
        }
    }
    items.emplace_back(name, std::move(value));
}

const VantoOption::PropertyValue* VantoOption::PropertyBag::Find(const std::string& name) const {
    for (const auto& item : items)
        if (item.first == name) return &item.second;
    return nullptr;
}

// ---------------------------------------------------------------- life

void VantoOption::CreateParts(platform::Window* host, float left, float top, float width, float height) {
    platform::UserControl::Create(host, left, top, width, height);
    imgCheck.Create(this, 0, 0);
    lblCaption.Create(this, 0, 0, 0, 0);
    lblCaption.SetTransparent(true);
    lblCaption.SetWordWrap(false);
    lblCaption.SetAutoSize(true);

    imgCheck.MouseMove = [this](const platform::MouseEvent&) { BeginHover(); };
    lblCaption.MouseMove = [this](const platform::MouseEvent&) { BeginHover(); };
    imgCheck.Click = [this] { ToggleOnClick(); };
    lblCaption.Click = [this] { ToggleOnClick(); };

    // The timer runs from the start: its first tick ends a hover that never began.
    timerMouseOver.Tick = [this] { MouseOverTick(); };
    timerMouseOver.SetInterval(kMouseOverInterval);
    timerMouseOver.SetEnabled(true);
}

void VantoOption::Create(platform::Window* host, float left, float top, float width, float height,
                         const PropertyBag& bag) {
    CreateParts(host, left, top, width, height);
    ReadProperties(bag);
    Layout();
    UpdatePicture();
}

void VantoOption::CreateNew(platform::Window* host, float left, float top, float width, float height,
                            const std::string& name) {
    CreateParts(host, left, top, width, height);
    m_fChecked = false;
    m_fRoundStyle = false;
    SetCaption(name);
    Layout();
    UpdatePicture();
}

// ---------------------------------------------------------------- properties

void VantoOption::SetChecked(bool checked) {
    if (checked == m_fChecked) return;
    m_fChecked = checked;
    UpdatePicture();
}

void VantoOption::SetRoundStyle(bool round) {
    if (round == m_fRoundStyle) return;
    m_fRoundStyle = round;
    UpdatePicture();
}

void VantoOption::SetCaption(const std::string& text) {
    lblCaption.SetCaption(text);
    platform::UserControl::SetCaption(text);
}

void VantoOption::SetForeColor(COLORREF c) {
    m_colorNormal = c;
    lblCaption.SetForeColor(c);
}

void VantoOption::SetBackColor(COLORREF c) {
    platform::UserControl::SetBackColor(c);
    if (Hwnd() && IsWindowVisible(Hwnd()))
        RedrawWindow(Hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void VantoOption::SetFont(const platform::FontSpec& f) { lblCaption.SetFont(f); }

void VantoOption::ReadProperties(const PropertyBag& bag) {
    auto get = [&bag]<class T>(const char* name, T def) {
        const PropertyValue* v = bag.Find(name);
        if (v) {
            if (const T* t = std::get_if<T>(v)) return *t;
        }
        return def;
    };
    m_fRoundStyle = get("RoundStyle", false);
    m_fChecked = get("Checked", false);
    SetCaption(get("Caption", std::string()));
    const COLORREF fore = static_cast<COLORREF>(get("ForeColor", static_cast<std::int32_t>(platform::kSysButtonText)));
    lblCaption.SetForeColor(fore);
    m_colorNormal = fore;
    SetBackColor(static_cast<COLORREF>(get("BackColor", static_cast<std::int32_t>(platform::kSysButtonFace))));
    if (const PropertyValue* v = bag.Find("Font")) {
        if (const auto* f = std::get_if<platform::FontSpec>(v)) {
            lblCaption.SetFont(*f);
            Layout();
        }
    }
}

void VantoOption::WriteProperties(PropertyBag& bag) const {
    bag.Write("_Version", std::string("1.0"));
    if (m_fRoundStyle) bag.Write("RoundStyle", true);
    if (m_fChecked) bag.Write("Checked", true);
    if (!Caption().empty()) bag.Write("Caption", Caption());
    if (ForeColor() != platform::kSysButtonText) bag.Write("ForeColor", static_cast<std::int32_t>(ForeColor()));
    if (BackColor() != platform::kSysButtonFace) bag.Write("BackColor", static_cast<std::int32_t>(BackColor()));
    if (!(lblCaption.Font() == platform::Window::Font())) bag.Write("Font", lblCaption.Font());
}

// ---------------------------------------------------------------- drawing

void VantoOption::UpdatePicture() {
    imgCheck.SetPicture(VantoOption_Resources->Picture(m_fRoundStyle, m_fChecked, m_fHover));
    lblCaption.SetForeColor(m_fHover ? kHoverCaptionColor : m_colorNormal);
}

void VantoOption::Layout() {
    if (!imgCheck.Created()) return;
    UpdatePicture();
    const float h = ScaleHeight(), w = ScaleWidth();
    imgCheck.SetTop((h - imgCheck.Height()) / 2);
    const float captionTop = std::floor((h - lblCaption.Height()) / 2 + platform::TwipsPerPixelY());
    const float captionLeft = imgCheck.Left() + imgCheck.Width() + 4 * platform::TwipsPerPixelX();
    // A control narrower than its picture and gap leaves the caption no room at all.
    const float captionWidth = std::max(0.0f, w - captionLeft);
    lblCaption.Move(captionLeft, captionTop, captionWidth, lblCaption.Height());
}

// ---------------------------------------------------------------- mouse

void VantoOption::BeginHover() {
    if (DesignMode() || m_fHover) return;
    m_fHover = true;
    UpdatePicture();
    timerMouseOver.SetEnabled(true);
}

void VantoOption::MouseOverTick() {
    HWND container = Parent() ? Parent()->Hwnd() : GetParent(Hwnd());
    if (!Created() || !container) return;
    if (CursorInRect(container, Left(), Top(), Width(), Height())) return;
    timerMouseOver.SetEnabled(false);
    m_fHover = false;
    UpdatePicture();
}

void VantoOption::ToggleOnClick() {
    if (DesignMode()) return;
    // A checked option stays checked: the host switches it off through its group.
    if (m_fRoundStyle && m_fChecked) return;
    SetChecked(!Checked());
    if (Click) Click();
}

bool VantoOption::HandleMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    switch (msg) {
    case WM_MOUSEMOVE:
        BeginHover();
        break;
    case WM_LBUTTONDOWN:
        m_fPressed = true;
        SetCapture(Hwnd());
        result = 0;
        return true;
    case WM_LBUTTONDBLCLK:
        // The second press of a double click: the first click already acted, and a
        // check box must not flip back.
        m_fPressed = false;
        result = 0;
        return true;
    case WM_LBUTTONUP: {
        // A click on the background: pressed and released over the control.
        const bool wasPressed = m_fPressed;
        m_fPressed = false;
        if (GetCapture() == Hwnd()) ReleaseCapture();
        RECT r;
        GetClientRect(Hwnd(), &r);
        POINT pt{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
        if (wasPressed && PtInRect(&r, pt)) ToggleOnClick();
        result = 0;
        return true;
    }
    default:
        break;
    }
    return platform::UserControl::HandleMessage(msg, wp, lp, result);
}
