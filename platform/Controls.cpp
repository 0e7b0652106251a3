#include "platform/Controls.h"

#include <commctrl.h>

#include <algorithm>
#include <cmath>
#include <map>

namespace platform {

namespace {

// A device context for measuring texts, like the screen's: a window's own context would
// cost a round trip to the window server at every caption change.
HDC MeasuringDc() {
    struct Dc {
        HDC dc = CreateCompatibleDC(nullptr);
        ~Dc() {
            if (dc) DeleteDC(dc);
        }
    };
    static Dc measuring;
    return measuring.dc;
}

}  // namespace

// ---------------------------------------------------------------- Label

void Label::Create(Window* parent, float left, float top, float width, float height, const std::string& caption,
                   bool visible) {
    CreateChild(parent, nullptr, visible ? WS_VISIBLE : 0, 0, left, top, width, height, caption);
    ApplyAutoSize();
}

void Label::SetCaption(const std::string& text) {
    Window::SetCaption(text);
    ApplyAutoSize();
    if (Change) Change();
}

void Label::SetAlignment(Alignment a) {
    m_alignment = a;
    Invalidate();
}

void Label::SetAutoSize(bool autoSize) {
    m_autoSize = autoSize;
    ApplyAutoSize();
}

void Label::SetTransparent(bool transparent) {
    m_transparent = transparent;
    Invalidate();
}

void Label::SetWordWrap(bool wrap) {
    m_wordWrap = wrap;
    ApplyAutoSize();
    Invalidate();
}

void Label::SetFont(const FontSpec& f) {
    Window::SetFont(f);
    ApplyAutoSize();
}

void Label::SetBackColor(COLORREF c) { Window::SetBackColor(c); }
void Label::SetForeColor(COLORREF c) { Window::SetForeColor(c); }

void Label::SetAutoHeight(bool autoHeight) {
    m_autoHeight = autoHeight;
    ApplyAutoSize();
}

void Label::ApplyAutoSize() {
    if ((!m_autoSize && !m_autoHeight) || !m_hwnd) return;
    HDC dc = MeasuringDc();
    HGDIOBJ old = SelectObject(dc, m_font ? m_font->Handle() : GetStockObject(DEFAULT_GUI_FONT));
    std::string text = Caption();
    RECT r{0, 0, 0, 0};
    if (m_autoHeight && !m_autoSize) {
        RECT client{};
        GetClientRect(m_hwnd, &client);
        SIZE line{};
        GetTextExtentPoint32A(dc, "X", 1, &line);
        r.right = client.right;
        if (!text.empty())
            DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &r, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
        SelectObject(dc, old);
        SetWindowPos(m_hwnd, nullptr, 0, 0, client.right, std::max<LONG>(r.bottom, line.cy),
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_DEFERERASE);
        return;
    }
    if (text.empty()) {
        SIZE sz{};
        GetTextExtentPoint32A(dc, "X", 1, &sz);
        r.bottom = sz.cy;
    } else {
        DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &r, DT_CALCRECT | DT_NOPREFIX);
    }
    SelectObject(dc, old);
    RECT wr{};
    GetWindowRect(m_hwnd, &wr);
    if (wr.right - wr.left == r.right && wr.bottom - wr.top == r.bottom) return;
    SetWindowPos(m_hwnd, nullptr, 0, 0, r.right, r.bottom, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_DEFERERASE);
}

void Label::OnPaint(Graphics& g) {
    RECT r;
    GetClientRect(m_hwnd, &r);
    std::string text = Caption();
    HDC dc = g.Dc();
    if (m_font) SelectObject(dc, m_font->Handle());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, IsWindowEnabled(m_hwnd) ? ResolveColor(m_foreColor) : GetSysColor(COLOR_GRAYTEXT));
    UINT fmt = DT_NOPREFIX | (m_wordWrap && !m_autoSize ? DT_WORDBREAK : 0);
    fmt |= m_alignment == kRight ? DT_RIGHT : m_alignment == kCenter ? DT_CENTER : DT_LEFT;
    DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &r, fmt);
}

bool Label::HandleMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    if (msg == WM_NCHITTEST && !IsWindowEnabled(m_hwnd)) {
        result = HTTRANSPARENT;
        return true;
    }
    return Window::HandleMessage(msg, wp, lp, result);
}

// ---------------------------------------------------------------- TextBox

void TextBox::Create(Window* parent, float left, float top, float width, float height, bool multiLine) {
    m_backColor = kSysWindow;
    m_foreColor = kSysWindowText;
    DWORD style = WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL;
    if (multiLine) style |= ES_MULTILINE | ES_AUTOVSCROLL | WS_VSCROLL;
    CreateChild(parent, "EDIT", style, WS_EX_CLIENTEDGE, left, top, width, height);
}

void TextBox::SetMaxLength(int n) {
    if (m_hwnd) SendMessageA(m_hwnd, EM_LIMITTEXT, static_cast<WPARAM>(n), 0);
}

void TextBox::SetBackColor(COLORREF c) { Window::SetBackColor(c); }
void TextBox::SetForeColor(COLORREF c) { Window::SetForeColor(c); }

bool TextBox::HandleMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    return Window::HandleMessage(msg, wp, lp, result);
}

// ---------------------------------------------------------------- CommandButton

void CommandButton::Create(Window* parent, float left, float top, float width, float height,
                           const std::string& caption) {
    CreateChild(parent, "BUTTON", WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 0, left, top, width, height, caption);
}

// ---------------------------------------------------------------- ListBox

void ListBox::Create(Window* parent, float left, float top, float width, float height) {
    m_backColor = kSysWindow;
    m_foreColor = kSysWindowText;
    CreateChild(parent, "LISTBOX", WS_VISIBLE | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT, WS_EX_CLIENTEDGE,
                left, top, width, height);
}

void ListBox::AddItem(const std::string& item) {
    if (m_hwnd) SendMessageA(m_hwnd, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
}

int ListBox::ListCount() const {
    return m_hwnd ? static_cast<int>(SendMessageA(m_hwnd, LB_GETCOUNT, 0, 0)) : 0;
}

std::string ListBox::List(int index) const {
    if (!m_hwnd) return {};
    LRESULT n = SendMessageA(m_hwnd, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
    if (n == LB_ERR) return {};
    std::string s(static_cast<size_t>(n) + 1, '\0');
    SendMessageA(m_hwnd, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(s.data()));
    s.resize(static_cast<size_t>(n));
    return s;
}

int ListBox::ListIndex() const {
    return m_hwnd ? static_cast<int>(SendMessageA(m_hwnd, LB_GETCURSEL, 0, 0)) : -1;
}

void ListBox::SetListIndex(int index) {
    if (m_hwnd) SendMessageA(m_hwnd, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void ListBox::Clear() {
    if (m_hwnd) SendMessageA(m_hwnd, LB_RESETCONTENT, 0, 0);
}

void ListBox::SetBackColor(COLORREF c) { Window::SetBackColor(c); }

// ---------------------------------------------------------------- Image

void Image::Create(Window* parent, float left, float top, float width, float height) {
    CreateChild(parent, nullptr, WS_VISIBLE, 0, left, top, width, height);
}

void Image::SetPicture(PicturePtr pic) {
    const bool same = pic == m_picture;
    m_picture = std::move(pic);
    if (!m_stretch && m_picture && m_hwnd) {
        RECT r{};
        GetWindowRect(m_hwnd, &r);
        if (r.right - r.left != m_picture->PixelWidth() || r.bottom - r.top != m_picture->PixelHeight())
            SetWindowPos(m_hwnd, nullptr, 0, 0, m_picture->PixelWidth(), m_picture->PixelHeight(),
                         SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_DEFERERASE);
    }
    // The same picture again (an option button's hover ending unseen) shows nothing new.
    if (!same) Invalidate();
}

void Image::SetStretch(bool s) {
    m_stretch = s;
    Invalidate();
}

void Image::OnPaint(Graphics& g) {
    if (!m_picture) return;
    RECT r;
    GetClientRect(m_hwnd, &r);
    if (m_stretch)
        m_picture->Draw(g.Dc(), 0, 0, r.right, r.bottom);
    else
        m_picture->Draw(g.Dc(), 0, 0, m_picture->PixelWidth(), m_picture->PixelHeight());
}

// ---------------------------------------------------------------- UserControl

void UserControl::Create(Window* parent, float left, float top, float width, float height, bool visible) {
    CreateChild(parent, nullptr, (visible ? WS_VISIBLE : 0) | WS_CLIPCHILDREN, 0, left, top, width, height);
}

bool UserControl::HandleMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    if (msg == WM_ERASEBKGND && m_transparent) {
        RECT r;
        GetClientRect(m_hwnd, &r);
        HBRUSH b = CreateSolidBrush(m_parent ? m_parent->EffectiveBackColor() : EffectiveBackColor());
        FillRect(reinterpret_cast<HDC>(wp), &r, b);
        DeleteObject(b);
        result = 1;
        return true;
    }
    return Window::HandleMessage(msg, wp, lp, result);
}

// ---------------------------------------------------------------- Timer

namespace {
std::map<UINT_PTR, Timer*>& Timers() {
    static std::map<UINT_PTR, Timer*> m;
    return m;
}
}  // namespace

Timer::~Timer() {
    ForgetEscapedErrors(this);
    if (m_id) {
        KillTimer(nullptr, m_id);
        Timers().erase(m_id);
    }
}

void Timer::SetInterval(unsigned ms) {
    m_interval = ms;
    Restart();
}

void Timer::SetEnabled(bool enabled) {
    m_enabled = enabled;
    Restart();
}

void Timer::Restart() {
    if (m_id) {
        KillTimer(nullptr, m_id);
        Timers().erase(m_id);
        m_id = 0;
    }
    if (m_enabled && m_interval > 0) {
        m_id = SetTimer(nullptr, 0, m_interval, &Timer::Proc);
        if (m_id) Timers()[m_id] = this;
    }
}

void CALLBACK Timer::Proc(HWND, UINT, UINT_PTR id, DWORD) {
    auto it = Timers().find(id);
    if (it == Timers().end()) return;
    DispatchScope scope;
    Timer* t = it->second;
    try {
        if (t->Tick) t->Tick();
    } catch (...) {
        ReportEscapedError({t, WM_TIMER, 0});
    }
}

// ---------------------------------------------------------------- MenuItem

namespace {
unsigned g_nextMenuId = 1000;
}

MenuItem& MenuItem::Add(const std::string& caption) {
    auto item = std::make_unique<MenuItem>(caption);
    item->m_parent = this;
    item->m_id = g_nextMenuId++;
    m_items.push_back(std::move(item));
    NotifyChanged();
    return *m_items.back();
}

MenuItem& MenuItem::AddSeparator() {
    auto item = std::make_unique<MenuItem>("-", true);
    item->m_parent = this;
    item->m_id = g_nextMenuId++;
    m_items.push_back(std::move(item));
    NotifyChanged();
    return *m_items.back();
}

void MenuItem::SetCaption(const std::string& c) {
    if (m_caption == c) return;
    m_caption = c;
    NotifyChanged();
}
void MenuItem::SetChecked(bool c) {
    if (m_checked == c) return;
    m_checked = c;
    NotifyChanged();
}
void MenuItem::SetEnabled(bool e) {
    if (m_enabled == e) return;
    m_enabled = e;
    NotifyChanged();
}
void MenuItem::SetVisible(bool v) {
    if (m_visible == v) return;
    m_visible = v;
    NotifyChanged();
}

void MenuItem::NotifyChanged() {
    MenuItem* top = this;
    while (top->m_parent) top = top->m_parent;
    // While a pop-up is opening its menu is on screen: rebuilding it now would destroy
    // the pop-up being shown. OpenPopup refills that pop-up instead.
    if (top->m_holdChanges) {
        top->m_changedWhileHeld = true;
        return;
    }
    if (top->Changed) top->Changed();
}

HMENU MenuItem::Build(bool menuBar) {
    // Handles of an earlier tree are dead or about to die: none may be found again.
    ForgetPopups();
    HMENU m = menuBar ? CreateMenu() : CreatePopupMenu();
    Fill(m);
    return m;
}

void MenuItem::Fill(HMENU m) {
    for (auto& it : m_items) {
        if (!it->m_visible) continue;
        if (it->m_separator) {
            AppendMenuA(m, MF_SEPARATOR, 0, nullptr);
            continue;
        }
        UINT flags = MF_STRING | (it->m_checked ? MF_CHECKED : 0) | (it->m_enabled ? 0 : MF_GRAYED);
        if (!it->m_items.empty()) {
            it->m_popup = CreatePopupMenu();
            it->Fill(it->m_popup);
            AppendMenuA(m, flags | MF_POPUP, reinterpret_cast<UINT_PTR>(it->m_popup), it->m_caption.c_str());
        } else {
            AppendMenuA(m, flags, it->m_id, it->m_caption.c_str());
        }
    }
}

void MenuItem::ForgetPopups() {
    m_popup = nullptr;
    for (auto& it : m_items) it->ForgetPopups();
}

MenuItem* MenuItem::FindPopup(HMENU popup) {
    for (auto& it : m_items) {
        if (it->m_popup == popup) return it.get();
        if (MenuItem* found = it->FindPopup(popup)) return found;
    }
    return nullptr;
}

bool MenuItem::OpenPopup(HMENU popup) {
    MenuItem* item = popup ? FindPopup(popup) : nullptr;
    if (!item || !item->Opening) return false;
    MenuItem* top = this;
    while (top->m_parent) top = top->m_parent;
    struct Hold {
        MenuItem* top;
        bool wasHolding;
        ~Hold() { top->m_holdChanges = wasHolding; }
    } hold{top, top->m_holdChanges};
    top->m_holdChanges = true;
    top->m_changedWhileHeld = false;
    item->Opening();
    if (!top->m_changedWhileHeld) return false;
    // The pop-up keeps its handle (the menu above holds it); only its contents change.
    // Deleting an entry destroys the pop-up below it as well.
    while (GetMenuItemCount(popup) > 0) DeleteMenu(popup, 0, MF_BYPOSITION);
    for (auto& it : item->m_items) it->ForgetPopups();
    item->Fill(popup);
    return true;
}

bool MenuItem::Dispatch(unsigned id) {
    for (auto& it : m_items) {
        if (it->m_id == id) {
            if (it->Click) it->Click();
            return true;
        }
        if (it->Dispatch(id)) return true;
    }
    return false;
}

void MenuItem::PopupAtCursor(HWND owner) {
    HMENU m = Build(false);
    POINT pt;
    GetCursorPos(&pt);
    UINT id = static_cast<UINT>(TrackPopupMenu(m, TPM_RETURNCMD | TPM_LEFTALIGN | TPM_RIGHTBUTTON, pt.x, pt.y, 0, owner, nullptr));
    DestroyMenu(m);
    ForgetPopups();
    if (id) Dispatch(id);
}

}  // namespace platform

namespace platform {

// ---------------------------------------------------------------- Line, Shape

void Line::Create(Window* parent, float x1, float y1, float x2, float y2, COLORREF color) {
    const float px = TwipsPerPixelX(), py = TwipsPerPixelY();
    const float left = std::min(x1, x2), top = std::min(y1, y2);
    const float width = std::max(std::fabs(x2 - x1), px), height = std::max(std::fabs(y2 - y1), py);
    Label::Create(parent, left, top, width, height);
    SetBackColor(color);
}

void Shape::Create(Window* parent, float left, float top, float width, float height, COLORREF color) {
    m_left = left;
    m_top = top;
    m_width = width;
    m_height = height;
    for (Line& side : m_sides) {
        side.Create(parent, 0, 0, 0, 0, color);
        // A drawn outline takes no mouse: the control it frames gets it, edge included.
        side.SetEnabled(false);
    }
    Place();
}

void Shape::Place() {
    const float px = TwipsPerPixelX(), py = TwipsPerPixelY();
    const float r = m_left + m_width - px, b = m_top + m_height - py;
    m_sides[0].Move(m_left, m_top, m_width, py);
    m_sides[1].Move(m_left, b, m_width, py);
    m_sides[2].Move(m_left, m_top, px, m_height);
    m_sides[3].Move(r, m_top, px, m_height);
}

void Shape::Move(float left, float top) {
    m_left = left;
    m_top = top;
    Place();
}

void Shape::SetVisible(bool visible) {
    m_visible = visible;
    for (Line& side : m_sides) side.SetVisible(visible);
}

void Shape::ZOrder() {
    for (Line& side : m_sides) side.ZOrder(0);
}

// ---------------------------------------------------------------- ToolTip

ToolTip::~ToolTip() {
    if (m_hwnd) DestroyWindow(m_hwnd);
}

void ToolTip::Add(Window& form, Window& tool, const std::string& text) {
    if (!form.Hwnd() || !tool.Hwnd()) return;
    if (!m_hwnd) {
        INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES};
        InitCommonControlsEx(&icc);
        m_hwnd = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT,
                                 CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, form.Hwnd(), nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
    }
    m_texts.emplace_back(tool.Hwnd(), text);
    if (!m_hwnd) return;
    TOOLINFOA ti{};
    ti.cbSize = TTTOOLINFOA_V1_SIZE;
    ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    ti.hwnd = form.Hwnd();
    ti.uId = reinterpret_cast<UINT_PTR>(tool.Hwnd());
    ti.lpszText = const_cast<char*>(m_texts.back().second.c_str());
    SendMessageA(m_hwnd, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&ti));
}

std::string ToolTip::TextOf(const Window& tool) const {
    for (const auto& [hwnd, text] : m_texts)
        if (hwnd == tool.Hwnd()) return text;
    return {};
}

}  // namespace platform
