// The system's own controls of the dialogs: group boxes, radio buttons, the tab strip
// and the trackbar, and the hand-over of their notifications from the parent form.
#include <windows.h>

#include <commctrl.h>

#include "platform/Controls.h"

namespace platform {

namespace {
HWND SenderOf(UINT msg, LPARAM lp) {
    switch (msg) {
    case WM_NOTIFY: return reinterpret_cast<const NMHDR*>(lp)->hwndFrom;
    case WM_HSCROLL:
    case WM_VSCROLL: return reinterpret_cast<HWND>(lp);
    case WM_DRAWITEM: return reinterpret_cast<const DRAWITEMSTRUCT*>(lp)->hwndItem;
    default: return nullptr;
    }
}

void InitCommonControlsOnce() {
    static const bool done = [] {
        INITCOMMONCONTROLSEX icc{sizeof icc, ICC_TAB_CLASSES | ICC_BAR_CLASSES};
        return InitCommonControlsEx(&icc) != FALSE;
    }();
    (void)done;
}
}  // namespace

bool ReflectNotification(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    if (!lp) return false;
    HWND sender = SenderOf(msg, lp);
    auto* control = dynamic_cast<NotifyingControl*>(Window::FromHwnd(sender));
    return control && control->OnNotification(msg, wp, lp, result);
}

// ---------------------------------------------------------------- Frame

void Frame::Create(Window* parent, float left, float top, float width, float height, const std::string& caption) {
    CreateChild(parent, "BUTTON", WS_VISIBLE | BS_GROUPBOX, 0, left, top, width, height, caption);
}

bool Frame::HandleMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    if (msg != WM_ERASEBKGND) return Window::HandleMessage(msg, wp, lp, result);
    RECT r;
    GetClientRect(m_hwnd, &r);
    HBRUSH b = CreateSolidBrush(EffectiveBackColor());
    FillRect(reinterpret_cast<HDC>(wp), &r, b);
    DeleteObject(b);
    result = 1;
    return true;
}

// ---------------------------------------------------------------- OptionButton

void OptionButton::Create(Window* parent, float left, float top, float width, float height,
                          const std::string& caption, bool startsGroup) {
    CreateChild(parent, "BUTTON", WS_VISIBLE | WS_TABSTOP | BS_AUTORADIOBUTTON | (startsGroup ? WS_GROUP : 0), 0,
                left, top, width, height, caption);
}

bool OptionButton::Value() const { return m_hwnd && SendMessageA(m_hwnd, BM_GETCHECK, 0, 0) == BST_CHECKED; }

void OptionButton::SetValue(bool value) {
    if (m_hwnd) SendMessageA(m_hwnd, BM_SETCHECK, value ? BST_CHECKED : BST_UNCHECKED, 0);
}

// ---------------------------------------------------------------- TabControl

void TabControl::Create(Window* parent, float left, float top, float width, float height) {
    InitCommonControlsOnce();
    CreateChild(parent, WC_TABCONTROLA, WS_VISIBLE | WS_TABSTOP | TCS_OWNERDRAWFIXED, 0, left, top, width, height);
    m_enabled.clear();
    m_shown = 0;
}

void TabControl::AddTab(const std::string& caption) {
    if (!m_hwnd) return;
    TCITEMA item{};
    item.mask = TCIF_TEXT;
    std::string text = caption;
    item.pszText = text.data();
    SendMessageA(m_hwnd, TCM_INSERTITEMA, static_cast<WPARAM>(TabCount()), reinterpret_cast<LPARAM>(&item));
    m_enabled.push_back(true);
}

int TabControl::TabCount() const {
    return m_hwnd ? static_cast<int>(SendMessageA(m_hwnd, TCM_GETITEMCOUNT, 0, 0)) : 0;
}

std::string TabControl::TabCaption(int index) const {
    if (!m_hwnd) return {};
    char buf[256] = {};
    TCITEMA item{};
    item.mask = TCIF_TEXT;
    item.pszText = buf;
    item.cchTextMax = sizeof buf;
    SendMessageA(m_hwnd, TCM_GETITEMA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
    return item.pszText ? std::string(item.pszText) : std::string();
}

int TabControl::Tab() const { return m_hwnd ? static_cast<int>(SendMessageA(m_hwnd, TCM_GETCURSEL, 0, 0)) : -1; }

void TabControl::SetTab(int index) {
    if (!m_hwnd || index < 0 || index >= TabCount()) return;
    SendMessageA(m_hwnd, TCM_SETCURSEL, static_cast<WPARAM>(index), 0);
    m_shown = index;
    if (Click) Click();
}

bool TabControl::TabEnabled(int index) const {
    return index >= 0 && index < static_cast<int>(m_enabled.size()) && m_enabled[static_cast<size_t>(index)];
}

void TabControl::SetTabEnabled(int index, bool enabled) {
    if (index < 0 || index >= static_cast<int>(m_enabled.size())) return;
    m_enabled[static_cast<size_t>(index)] = enabled;
    Invalidate();
}

bool TabControl::OnNotification(UINT msg, WPARAM /*wp*/, LPARAM lp, LRESULT& result) {
    if (msg == WM_NOTIFY && reinterpret_cast<const NMHDR*>(lp)->code == TCN_SELCHANGE) {
        const int chosen = Tab();
        if (!TabEnabled(chosen)) {
            // The strip has already moved; an unavailable tab puts it back.
            SendMessageA(m_hwnd, TCM_SETCURSEL, static_cast<WPARAM>(m_shown), 0);
        } else {
            m_shown = chosen;
            if (Click) Click();
        }
        result = 0;
        return true;
    }
    if (msg == WM_DRAWITEM) {
        const auto* di = reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
        const int index = static_cast<int>(di->itemID);
        const std::string text = TabCaption(index);
        RECT r = di->rcItem;
        HDC dc = di->hDC;
        FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
        HGDIOBJ oldFont = m_font ? SelectObject(dc, m_font->Handle()) : nullptr;
        SetBkMode(dc, TRANSPARENT);
        const bool enabled = TabEnabled(index);
        if (!enabled) {
            // Embossed like any unavailable caption: a light copy one pixel down and right.
            RECT shade = r;
            OffsetRect(&shade, 1, 1);
            SetTextColor(dc, GetSysColor(COLOR_BTNHIGHLIGHT));
            DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &shade, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        }
        SetTextColor(dc, GetSysColor(enabled ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
        DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        if (oldFont) SelectObject(dc, oldFont);
        result = TRUE;
        return true;
    }
    return false;
}

// ---------------------------------------------------------------- Slider

void Slider::Create(Window* parent, float left, float top, float width, float height) {
    InitCommonControlsOnce();
    CreateChild(parent, TRACKBAR_CLASSA, WS_VISIBLE | WS_TABSTOP | TBS_HORZ | TBS_AUTOTICKS | TBS_BOTTOM, 0, left,
                top, width, height);
    m_lastValue = Value();
}

void Slider::SetRange(int min, int max) {
    if (!m_hwnd) return;
    SendMessageA(m_hwnd, TBM_SETRANGEMIN, FALSE, min);
    SendMessageA(m_hwnd, TBM_SETRANGEMAX, TRUE, max);
    m_lastValue = Value();
}

void Slider::SetSmallChange(int n) {
    if (m_hwnd) SendMessageA(m_hwnd, TBM_SETLINESIZE, 0, n);
}

void Slider::SetLargeChange(int n) {
    if (m_hwnd) SendMessageA(m_hwnd, TBM_SETPAGESIZE, 0, n);
}

void Slider::SetTickFrequency(int n) {
    if (m_hwnd) SendMessageA(m_hwnd, TBM_SETTICFREQ, static_cast<WPARAM>(n), 0);
}

int Slider::Value() const { return m_hwnd ? static_cast<int>(SendMessageA(m_hwnd, TBM_GETPOS, 0, 0)) : 0; }

void Slider::SetValue(int value) {
    if (!m_hwnd) return;
    SendMessageA(m_hwnd, TBM_SETPOS, TRUE, value);
    m_lastValue = Value();
}

int Slider::Min() const { return m_hwnd ? static_cast<int>(SendMessageA(m_hwnd, TBM_GETRANGEMIN, 0, 0)) : 0; }
int Slider::Max() const { return m_hwnd ? static_cast<int>(SendMessageA(m_hwnd, TBM_GETRANGEMAX, 0, 0)) : 0; }

bool Slider::OnNotification(UINT msg, WPARAM /*wp*/, LPARAM /*lp*/, LRESULT& result) {
    if (msg != WM_HSCROLL && msg != WM_VSCROLL) return false;
    // The trackbar reports every step of a drag and the end of it: only a new value counts.
    const int value = Value();
    if (value != m_lastValue) {
        m_lastValue = value;
        if (Change) Change();
    }
    result = 0;
    return true;
}

}  // namespace platform
