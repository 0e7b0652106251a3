#include "platform/Window.h"

#include <algorithm>
#include <cmath>
#include <unordered_map>

#include "platform/CriticalSection.h"
#include "platform/Controls.h"
#include "platform/GdiScope.h"

namespace platform {

namespace {
constexpr char kFormClass[] = "KeyloomForm";
constexpr char kControlClass[] = "KeyloomControl";

// Our object of every window of this program, kept in the program itself: every message
// looks its window up, and a window property would cost a round trip to the window server
// for each message, and one more for each window made and destroyed.
CriticalSection g_knownLock;
std::unordered_map<HWND, Window*>& KnownWindows() {
    static std::unordered_map<HWND, Window*> known;
    return known;
}

void ForgetKnown(HWND hwnd) {
    CriticalSection::Hold hold(g_knownLock);
    KnownWindows().erase(hwnd);
}

void Remember(HWND hwnd, Window* self) {
    CriticalSection::Hold hold(g_knownLock);
    KnownWindows()[hwnd] = self;
}

// The window this thread is creating: its first messages come before it is known.
thread_local Window* t_creating = nullptr;

class CreatingScope {
public:
    explicit CreatingScope(Window* w) : m_previous(t_creating) { t_creating = w; }
    ~CreatingScope() { t_creating = m_previous; }
    CreatingScope(const CreatingScope&) = delete;
    CreatingScope& operator=(const CreatingScope&) = delete;

private:
    Window* m_previous;
};

RECT ChildRectInParent(HWND hwnd) {
    RECT r{};
    GetWindowRect(hwnd, &r);
    HWND parent = GetParent(hwnd);
    if (parent && (GetWindowLongA(hwnd, GWL_STYLE) & WS_CHILD)) {
        MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    }
    return r;
}

// The handler a message went to, for telling a failure that repeats from a new one. A
// window's paint is one handler however it is asked for; the commands and the
// notifications of controls that come to one window are each a handler of their own.
EscapedErrorSource HandlerOf(const Window* self, UINT msg, WPARAM wp, LPARAM lp) {
    if (!self->Created()) return {};  // gone while handling: nothing left to repeat
    std::uintptr_t which = 0;
    switch (msg) {
    case WM_PRINTCLIENT: msg = WM_PAINT; break;
    case WM_COMMAND: which = lp ? static_cast<std::uintptr_t>(lp) : LOWORD(wp); break;
    case WM_HSCROLL:
    case WM_VSCROLL: which = static_cast<std::uintptr_t>(lp); break;
    case WM_NOTIFY:
        if (lp) which = reinterpret_cast<std::uintptr_t>(reinterpret_cast<const NMHDR*>(lp)->hwndFrom);
        break;
    case WM_DRAWITEM:
        if (lp) which = reinterpret_cast<std::uintptr_t>(reinterpret_cast<const DRAWITEMSTRUCT*>(lp)->hwndItem);
        break;
    default: break;
    }
    return {self, msg, which};
}

HCURSOR CursorFor(int pointer, HCURSOR custom) {
    switch (pointer) {
    case 1: return LoadCursor(nullptr, IDC_ARROW);
    case 2: return LoadCursor(nullptr, IDC_CROSS);
    case 3: return LoadCursor(nullptr, IDC_IBEAM);
    case 11: return LoadCursor(nullptr, IDC_WAIT);
    case 13: return LoadCursor(nullptr, IDC_APPSTARTING);
    case 15: return LoadCursor(nullptr, IDC_SIZEALL);
    case 99: return custom;
    default: return nullptr;
    }
}
}  // namespace

int CurrentShiftState() {
    int s = 0;
    if (GetKeyState(VK_SHIFT) < 0) s |= kShiftMask;
    if (GetKeyState(VK_CONTROL) < 0) s |= kCtrlMask;
    if (GetKeyState(VK_MENU) < 0) s |= kAltMask;
    return s;
}

// ---------------------------------------------------------------- Window

Window::~Window() {
    DestroyHwnd();
    if (m_brush) DeleteObject(m_brush);
}

Window* Window::FromHwnd(HWND hwnd) {
    if (!hwnd) return nullptr;
    {
        CriticalSection::Hold hold(g_knownLock);
        const auto it = KnownWindows().find(hwnd);
        if (it != KnownWindows().end()) return it->second;
    }
    if (t_creating && t_creating->m_hwnd == hwnd) {
        Remember(hwnd, t_creating);
        return t_creating;
    }
    return nullptr;
}

const char* Window::RegisterClassOnce(const char* name, UINT style) {
    WNDCLASSEXA wc{};
    if (GetClassInfoExA(App::Instance(), name, &wc)) return name;
    wc.cbSize = sizeof wc;
    wc.style = style;
    wc.lpfnWndProc = &Window::StaticWndProc;
    wc.hInstance = App::Instance();
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = nullptr;
    wc.lpszClassName = name;
    RegisterClassExA(&wc);
    return name;
}

void Window::CreateChild(Window* parent, const char* className, DWORD style, DWORD exStyle,
                         float left, float top, float width, float height, const std::string& text) {
    DestroyHwnd();
    m_parent = parent;
    const bool ours = className == nullptr;
    const char* cls = ours ? RegisterClassOnce(kControlClass, CS_DBLCLKS) : className;
    {
        CreatingScope creating(this);
        m_hwnd = CreateWindowExA(exStyle, cls, text.c_str(), style | WS_CHILD | WS_CLIPSIBLINGS,
                                 ToPixelsX(left), ToPixelsY(top), ToPixelsX(width), ToPixelsY(height),
                                 parent ? parent->Hwnd() : nullptr, nullptr, App::Instance(), this);
    }
    if (!m_hwnd) return;
    Remember(m_hwnd, this);
    if (!ours) Subclass();
    if (!m_font) m_font = std::make_unique<platform::Font>(m_fontSpec);
    SendMessageA(m_hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(m_font->Handle()), FALSE);
}

void Window::CreateTopLevel(const char* className, DWORD style, DWORD exStyle, const std::string& text) {
    DestroyHwnd();
    const char* cls = className ? className : RegisterClassOnce(kFormClass, CS_DBLCLKS);
    {
        CreatingScope creating(this);
        m_hwnd = CreateWindowExA(exStyle, cls, text.c_str(), style, 0, 0, 400, 300, nullptr, nullptr,
                                 App::Instance(), this);
    }
    if (!m_hwnd) return;
    Remember(m_hwnd, this);
}

void Window::Subclass() {
    m_oldProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(m_hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Window::SubclassProc)));
}

void Window::DestroyHwnd() {
    if (!m_hwnd) return;
    HWND h = m_hwnd;
    if (m_oldProc) {
        SetWindowLongPtrA(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_oldProc));
        m_oldProc = nullptr;
    }
    ForgetKnown(h);
    ForgetEscapedErrors(this);
    m_hwnd = nullptr;
    DestroyWindow(h);
}

LRESULT CALLBACK Window::StaticWndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCCREATE) {
        auto* cs = reinterpret_cast<CREATESTRUCTA*>(lp);
        if (auto* self = static_cast<Window*>(cs->lpCreateParams)) {
            self->m_hwnd = hwnd;
            Remember(hwnd, self);
        }
    }
    Window* self = FromHwnd(hwnd);
    if (!self) return DefWindowProcA(hwnd, msg, wp, lp);
    DispatchScope scope;
    if (msg == WM_NCDESTROY) {
        self->ForgetHwnd();
        return DefWindowProcA(hwnd, msg, wp, lp);
    }
    if (msg == WM_SETFOCUS) Form::NoteFocus(hwnd);
    LRESULT result = 0;
    try {
        if (self->HandleMessage(msg, wp, lp, result)) return result;
    } catch (...) {
        // Nothing may unwind into the system's code that called us.
        ReportEscapedError(HandlerOf(self, msg, wp, lp));
        return 0;
    }
    return self->DefaultProc(msg, wp, lp);
}

LRESULT CALLBACK Window::SubclassProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    Window* self = FromHwnd(hwnd);
    if (!self) return DefWindowProcA(hwnd, msg, wp, lp);
    DispatchScope scope;
    if (msg == WM_NCDESTROY) {
        // The system destroys the control (its parent went away): hand the
        // message to the control's own procedure and forget the handle.
        WNDPROC old = self->m_oldProc;
        self->ForgetHwnd();
        return old ? CallWindowProcA(old, hwnd, msg, wp, lp) : DefWindowProcA(hwnd, msg, wp, lp);
    }
    if (msg == WM_SETFOCUS) Form::NoteFocus(hwnd);
    LRESULT result = 0;
    try {
        if (self->HandleMessage(msg, wp, lp, result)) return result;
    } catch (...) {
        // Nothing may unwind into the system's code that called us.
        ReportEscapedError(HandlerOf(self, msg, wp, lp));
        return 0;
    }
    return self->DefaultProc(msg, wp, lp);
}

void Window::ForgetHwnd() {
    if (!m_hwnd) return;
    HWND h = m_hwnd;
    if (m_oldProc) {
        SetWindowLongPtrA(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_oldProc));
        m_oldProc = nullptr;
    }
    ForgetKnown(h);
    ForgetEscapedErrors(this);
    m_hwnd = nullptr;
    OnHwndDestroyed();
}

LRESULT Window::DefaultProc(UINT msg, WPARAM wp, LPARAM lp) {
    if (m_oldProc) return CallWindowProcA(m_oldProc, m_hwnd, msg, wp, lp);
    return DefWindowProcA(m_hwnd, msg, wp, lp);
}

MouseEvent Window::MakeMouseEvent(WPARAM wp, LPARAM lp, int button) const {
    MouseEvent e;
    e.button = button;
    e.shift = ((wp & MK_SHIFT) ? kShiftMask : 0) | ((wp & MK_CONTROL) ? kCtrlMask : 0) |
              (GetKeyState(VK_MENU) < 0 ? kAltMask : 0);
    e.x = FromPixelsX(static_cast<short>(LOWORD(lp)));
    e.y = FromPixelsY(static_cast<short>(HIWORD(lp)));
    return e;
}

COLORREF Window::EffectiveBackColor() const { return ResolveColor(m_backColor); }

bool Window::HandleMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    switch (msg) {
    case WM_ERASEBKGND: {
        if (m_oldProc) return false;
        RECT r;
        GetClientRect(m_hwnd, &r);
        COLORREF c = PaintsBackground() ? EffectiveBackColor()
                                        : (m_parent ? m_parent->EffectiveBackColor() : EffectiveBackColor());
        HBRUSH b = CreateSolidBrush(c);
        FillRect(reinterpret_cast<HDC>(wp), &r, b);
        DeleteObject(b);
        result = 1;
        return true;
    }
    case WM_NCPAINT: {
        // Our own controls have no frame or scroll bar: there is nothing to draw, and
        // the system's frame painting costs as much as the control's own paint.
        constexpr LONG kFrame = WS_CAPTION | WS_BORDER | WS_THICKFRAME | WS_VSCROLL | WS_HSCROLL;
        constexpr LONG kEdges = WS_EX_CLIENTEDGE | WS_EX_STATICEDGE | WS_EX_WINDOWEDGE | WS_EX_DLGMODALFRAME;
        if (m_oldProc || (GetWindowLongA(m_hwnd, GWL_STYLE) & kFrame) || (GetWindowLongA(m_hwnd, GWL_EXSTYLE) & kEdges))
            return false;
        result = 0;
        return true;
    }
    case WM_PAINT: {
        if (m_oldProc) return false;
        const PaintDc paint(m_hwnd);
        Graphics g(paint.Dc());
        g.SetFont(m_fontSpec);
        OnPaint(g);
        result = 0;
        return true;
    }
    case WM_PRINTCLIENT: {
        // Painting into a given device context (PrintWindow, screenshots).
        if (m_oldProc) return false;
        HDC dc = reinterpret_cast<HDC>(wp);
        RECT r;
        GetClientRect(m_hwnd, &r);
        if (PaintsBackground() || m_parent) {
            COLORREF c = PaintsBackground() ? EffectiveBackColor() : m_parent->EffectiveBackColor();
            HBRUSH b = CreateSolidBrush(c);
            FillRect(dc, &r, b);
            DeleteObject(b);
        }
        {
            Graphics g(dc);
            g.SetFont(m_fontSpec);
            OnPaint(g);
        }
        result = 0;
        return true;
    }
    case WM_SIZE:
        OnResize();
        return false;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSTATIC: {
        Window* child = FromHwnd(reinterpret_cast<HWND>(lp));
        if (!child) return false;
        HDC dc = reinterpret_cast<HDC>(wp);
        COLORREF back = child->EffectiveBackColor();
        SetTextColor(dc, ResolveColor(child->m_foreColor));
        SetBkColor(dc, back);
        if (!child->m_brush || child->m_brushColor != back) {
            if (child->m_brush) DeleteObject(child->m_brush);
            child->m_brush = CreateSolidBrush(back);
            child->m_brushColor = back;
        }
        result = reinterpret_cast<LRESULT>(child->m_brush);
        return true;
    }
    case WM_SETCURSOR: {
        if (LOWORD(lp) != HTCLIENT) return false;
        HCURSOR c = nullptr;
        if (Screen::MousePointer() != 0) c = CursorFor(Screen::MousePointer(), nullptr);
        for (const Window* w = this; !c && w; w = w->m_parent) c = CursorFor(w->m_mousePointer, w->m_customCursor);
        if (!c) return false;
        SetCursor(c);
        result = TRUE;
        return true;
    }
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN: {
        int b = msg == WM_LBUTTONDOWN ? kLeftButton : msg == WM_RBUTTONDOWN ? kRightButton : kMiddleButton;
        m_mouseDown[b == kLeftButton ? 0 : b == kRightButton ? 1 : 2] = true;
        // System controls keep the mouse themselves (a push button that loses the
        // capture forgets that it was pressed).
        if (!m_oldProc) SetCapture(m_hwnd);
        if (MouseDown) MouseDown(MakeMouseEvent(wp, lp, b));
        return !m_oldProc;
    }
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP: {
        int b = msg == WM_LBUTTONUP ? kLeftButton : msg == WM_RBUTTONUP ? kRightButton : kMiddleButton;
        bool& down = m_mouseDown[b == kLeftButton ? 0 : b == kRightButton ? 1 : 2];
        bool wasDown = down;
        down = false;
        // The release that ends a double click raised DblClick already: a double
        // click is one Click and one DblClick, never two Clicks (two commands). Read
        // before the capture goes, which forgets the press.
        const bool secondOfDouble = b == kLeftButton && m_doubleClickPress;
        if (b == kLeftButton) m_doubleClickPress = false;
        if (!m_oldProc && GetCapture() == m_hwnd && !m_mouseDown[0] && !m_mouseDown[1] && !m_mouseDown[2])
            ReleaseCapture();
        MouseEvent e = MakeMouseEvent(wp, lp, b);
        if (MouseUp) MouseUp(e);
        if (wasDown && b == kLeftButton && !secondOfDouble && Created() && ClicksOnMouseUp()) {
            RECT r;
            GetClientRect(m_hwnd, &r);
            POINT pt{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
            if (PtInRect(&r, pt) && Click) Click();
        }
        return !m_oldProc;
    }
    case WM_LBUTTONDBLCLK:
        if (DblClick) DblClick();
        // A double click is also a press, as the system reports it.
        m_mouseDown[0] = true;
        m_doubleClickPress = true;
        if (!m_oldProc) SetCapture(m_hwnd);
        if (MouseDown) MouseDown(MakeMouseEvent(wp, lp, kLeftButton));
        return !m_oldProc;
    case WM_CAPTURECHANGED:
        // Whoever took the mouse (a pop-up menu's loop, a dialog) also takes the releases
        // of the buttons held here: waiting for them would keep the mouse here for good.
        // Forgotten, the next press and release behave as on a fresh window.
        if (reinterpret_cast<HWND>(lp) != m_hwnd) {
            m_mouseDown[0] = m_mouseDown[1] = m_mouseDown[2] = false;
            m_doubleClickPress = false;
        }
        return false;
    case WM_MOUSEMOVE: {
        if (!MouseMove) return false;
        int b = ((wp & MK_LBUTTON) ? kLeftButton : 0) | ((wp & MK_RBUTTON) ? kRightButton : 0) |
                ((wp & MK_MBUTTON) ? kMiddleButton : 0);
        MouseMove(MakeMouseEvent(wp, lp, b));
        return false;
    }
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: {
        if (!KeyDown) return false;
        int key = static_cast<int>(wp);
        KeyDown(key, CurrentShiftState());
        if (key == 0) {
            result = 0;
            return true;
        }
        return false;
    }
    case WM_KEYUP:
    case WM_SYSKEYUP: {
        if (!KeyUp) return false;
        int key = static_cast<int>(wp);
        KeyUp(key, CurrentShiftState());
        if (key == 0) {
            result = 0;
            return true;
        }
        return false;
    }
    case WM_CHAR: {
        if (!KeyPress) return false;
        int ch = static_cast<int>(static_cast<unsigned char>(wp));
        KeyPress(ch);
        if (ch == 0) {
            result = 0;
            return true;
        }
        if (ch != static_cast<int>(static_cast<unsigned char>(wp))) {
            result = DefaultProc(msg, static_cast<WPARAM>(ch), lp);
            return true;
        }
        return false;
    }
    case WM_COMMAND: {
        if (lp) {  // notification from a child control
            if (Window* child = FromHwnd(reinterpret_cast<HWND>(lp))) {
                if (HIWORD(wp) == EN_CHANGE) {
                    if (auto* tb = dynamic_cast<TextBox*>(child); tb && tb->Change) tb->Change();
                } else if (HIWORD(wp) == BN_CLICKED) {
                    if (auto* bt = dynamic_cast<CommandButton*>(child); bt && bt->Click) bt->Click();
                }
            }
        }
        return false;
    }
    default:
        return false;
    }
}

float Window::Left() const {
    if (!m_hwnd) return 0;
    return FromPixelsX(ChildRectInParent(m_hwnd).left);
}
float Window::Top() const {
    if (!m_hwnd) return 0;
    return FromPixelsY(ChildRectInParent(m_hwnd).top);
}
// A size needs no mapping to the parent's coordinates.
float Window::Width() const {
    if (!m_hwnd) return 0;
    RECT r{};
    GetWindowRect(m_hwnd, &r);
    return FromPixelsX(r.right - r.left);
}
float Window::Height() const {
    if (!m_hwnd) return 0;
    RECT r{};
    GetWindowRect(m_hwnd, &r);
    return FromPixelsY(r.bottom - r.top);
}
void Window::SetLeft(float v) { Move(v, Top(), Width(), Height()); }
void Window::SetTop(float v) { Move(Left(), v, Width(), Height()); }
void Window::SetWidth(float v) { Move(Left(), Top(), v, Height()); }
void Window::SetHeight(float v) { Move(Left(), Top(), Width(), v); }
void Window::Move(float left, float top) { Move(left, top, Width(), Height()); }
void Window::Move(float left, float top, float width, float height) {
    if (!m_hwnd) return;
    int l = ToPixelsX(left), t = ToPixelsY(top);
    int w = std::max(0, ToPixelsX(left + width) - l);
    int h = std::max(0, ToPixelsY(top + height) - t);
    // Layouts place many controls where they already stand: that costs nothing.
    const RECT now = ChildRectInParent(m_hwnd);
    if (now.left == l && now.top == t && now.right - now.left == w && now.bottom - now.top == h) return;
    // What a moved control uncovers is painted with the rest, not at once for each move.
    const bool child = (GetWindowLongA(m_hwnd, GWL_STYLE) & WS_CHILD) != 0;
    SetWindowPos(m_hwnd, nullptr, l, t, w, h, SWP_NOZORDER | SWP_NOACTIVATE | (child ? SWP_DEFERERASE : 0));
}
float Window::ScaleWidth() const {
    if (!m_hwnd) return 0;
    RECT r;
    GetClientRect(m_hwnd, &r);
    return FromPixelsX(r.right);
}
float Window::ScaleHeight() const {
    if (!m_hwnd) return 0;
    RECT r;
    GetClientRect(m_hwnd, &r);
    return FromPixelsY(r.bottom);
}

bool Window::Visible() const { return m_hwnd && (GetWindowLongA(m_hwnd, GWL_STYLE) & WS_VISIBLE); }
void Window::SetVisible(bool visible) {
    if (!m_hwnd || Visible() == visible) return;
    // One of our own controls that leaves uncovers its parent, which is painted with the
    // rest of a change rather than at once; the system's way is kept where the focus
    // has to move away first.
    const bool ownChild = !m_oldProc && (GetWindowLongA(m_hwnd, GWL_STYLE) & WS_CHILD);
    if (!visible && ownChild) {
        const HWND focus = GetFocus();
        if (focus != m_hwnd && !IsChild(m_hwnd, focus)) {
            SetWindowPos(m_hwnd, nullptr, 0, 0, 0, 0,
                         SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_DEFERERASE);
            return;
        }
    }
    ShowWindow(m_hwnd, visible ? SW_SHOWNA : SW_HIDE);
}
bool Window::Enabled() const { return m_hwnd && IsWindowEnabled(m_hwnd); }
void Window::SetEnabled(bool enabled) {
    if (!m_hwnd) return;
    EnableWindow(m_hwnd, enabled ? TRUE : FALSE);
    Invalidate();
}
std::string Window::Caption() const {
    if (!m_hwnd) return {};
    int n = GetWindowTextLengthA(m_hwnd);
    std::string s(static_cast<size_t>(n) + 1, '\0');
    n = GetWindowTextA(m_hwnd, s.data(), n + 1);
    s.resize(static_cast<size_t>(std::max(n, 0)));
    return s;
}
void Window::SetCaption(const std::string& text) {
    if (!m_hwnd || Caption() == text) return;
    SetWindowTextA(m_hwnd, text.c_str());
    Invalidate();
}
// A colour written again as it is changes no pixel: nothing to repaint.
void Window::SetBackColor(COLORREF c) {
    if (m_backColor == c) return;
    m_backColor = c;
    Invalidate();
}
void Window::SetForeColor(COLORREF c) {
    if (m_foreColor == c) return;
    m_foreColor = c;
    Invalidate();
}
void Window::SetFont(const FontSpec& f) {
    m_fontSpec = f;
    m_font = std::make_unique<platform::Font>(f);
    if (m_hwnd) {
        SendMessageA(m_hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(m_font->Handle()), TRUE);
        Invalidate();
    }
}
void Window::ZOrder(int position) {
    if (!m_hwnd) return;
    SetWindowPos(m_hwnd, position == 0 ? HWND_TOP : HWND_BOTTOM, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    if (position == 0 && m_parent) Invalidate();
}
void Window::Refresh() {
    if (!m_hwnd || !IsWindowVisible(m_hwnd)) return;
    InvalidateRect(m_hwnd, nullptr, TRUE);
    UpdateWindow(m_hwnd);
}
void Window::Invalidate() {
    if (m_hwnd && IsWindowVisible(m_hwnd)) InvalidateRect(m_hwnd, nullptr, TRUE);
}
void Window::SetFocus() {
    if (m_hwnd) ::SetFocus(m_hwnd);
}
void Window::AssignControlId(int id) {
    if (m_hwnd) SetWindowLongPtrA(m_hwnd, GWLP_ID, id);
}
int Window::ControlId() const { return m_hwnd ? GetDlgCtrlID(m_hwnd) : 0; }

void Window::SetMousePointer(int pointer, HCURSOR custom) {
    m_mousePointer = pointer;
    m_customCursor = custom;
    POINT pt;
    if (GetCursorPos(&pt)) SetCursorPos(pt.x, pt.y);
}

}  // namespace platform
