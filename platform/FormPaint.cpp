// Painting a whole form at once. Under Wine every control's own paint costs several round
// trips to the window server, and once a repaint runs longer than a moment the screen is
// updated after each control, so the user sees a large form fill in piece by piece. Our
// own controls draw just as well into any device context: a form that holds only those is
// drawn off screen in one pass, copied to the window in one go and marked as painted.
#include "platform/Window.h"

namespace platform {

namespace {

constexpr LONG kFrameStyles = WS_CAPTION | WS_BORDER | WS_THICKFRAME | WS_VSCROLL | WS_HSCROLL;
constexpr LONG kFrameExStyles = WS_EX_CLIENTEDGE | WS_EX_STATICEDGE | WS_EX_WINDOWEDGE | WS_EX_DLGMODALFRAME;

// A memory device context with a bitmap the size of a window's client area.
class OffScreen {
public:
    OffScreen(HDC like, int width, int height)
        : m_dc(CreateCompatibleDC(like)), m_bitmap(CreateCompatibleBitmap(like, width, height)) {
        if (m_dc && m_bitmap) m_old = SelectObject(m_dc, m_bitmap);
    }
    ~OffScreen() {
        if (m_old) SelectObject(m_dc, m_old);
        if (m_bitmap) DeleteObject(m_bitmap);
        if (m_dc) DeleteDC(m_dc);
    }
    OffScreen(const OffScreen&) = delete;
    OffScreen& operator=(const OffScreen&) = delete;
    bool Ok() const { return m_old != nullptr; }
    HDC Dc() const { return m_dc; }

private:
    HDC m_dc;
    HBITMAP m_bitmap;
    HGDIOBJ m_old = nullptr;
};

class WindowDc {
public:
    // The client area without its children cut out: the copy covers them too.
    explicit WindowDc(HWND hwnd) : m_hwnd(hwnd), m_dc(GetDCEx(hwnd, nullptr, DCX_CACHE)) {}
    ~WindowDc() {
        if (m_dc) ReleaseDC(m_hwnd, m_dc);
    }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    HDC Dc() const { return m_dc; }

private:
    HWND m_hwnd;
    HDC m_dc;
};

}  // namespace

bool Form::AllPrintable(HWND parent) {
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        const LONG style = GetWindowLongA(child, GWL_STYLE);
        if (!(style & WS_VISIBLE)) continue;
        const Window* self = FromHwnd(child);
        if (!self || self->m_oldProc || (style & kFrameStyles) || (GetWindowLongA(child, GWL_EXSTYLE) & kFrameExStyles))
            return false;
        if (!AllPrintable(child)) return false;
    }
    return true;
}

void Form::PrintChildren(HWND parent, HDC dc, POINT origin, std::vector<HWND>& printed) {
    HWND last = GetWindow(parent, GW_CHILD);
    if (last) last = GetWindow(last, GW_HWNDLAST);
    for (HWND child = last; child; child = GetWindow(child, GW_HWNDPREV)) {
        if (!(GetWindowLongA(child, GWL_STYLE) & WS_VISIBLE)) continue;
        RECT r{};
        GetWindowRect(child, &r);
        MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
        OffsetRect(&r, origin.x, origin.y);
        const int saved = SaveDC(dc);
        SetViewportOrgEx(dc, r.left, r.top, nullptr);
        IntersectClipRect(dc, 0, 0, r.right - r.left, r.bottom - r.top);
        SendMessageA(child, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT | PRF_ERASEBKGND);
        RestoreDC(dc, saved);
        printed.push_back(child);
        PrintChildren(child, dc, POINT{r.left, r.top}, printed);
    }
}

void Form::PaintNow() {
    if (!m_hwnd || !IsWindowVisible(m_hwnd) || IsIconic(m_hwnd)) return;
    // A look at the input queue first. Wine copies a window to the screen after every
    // single paint once a program has not looked for input for a while; just after a look
    // it waits with the copy until the program looks again.
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 0, QS_ALLINPUT);
    RECT client{};
    GetClientRect(m_hwnd, &client);
    // A form with a system control on it paints as usual: such a control may not draw
    // itself into another device context, and the copy would have to leave its place out.
    if (client.right > 0 && client.bottom > 0 && AllPrintable(m_hwnd)) {
        WindowDc screen(m_hwnd);
        OffScreen off(screen.Dc(), client.right, client.bottom);
        if (screen.Dc() && off.Ok()) {
            SendMessageA(m_hwnd, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(off.Dc()), PRF_CLIENT | PRF_ERASEBKGND);
            std::vector<HWND> printed;
            PrintChildren(m_hwnd, off.Dc(), POINT{0, 0}, printed);
            BitBlt(screen.Dc(), 0, 0, client.right, client.bottom, off.Dc(), 0, 0, SRCCOPY);
            // Only the client area: the frame (caption and menu bar) still paints itself.
            RedrawWindow(m_hwnd, &client, nullptr, RDW_VALIDATE | RDW_NOCHILDREN);
            for (HWND h : printed) RedrawWindow(h, nullptr, nullptr, RDW_VALIDATE | RDW_NOFRAME | RDW_NOCHILDREN);
        }
    }
    // The frame, and a form that was not drawn off screen, painted here and now rather
    // than one paint message fetched from the queue per window.
    RedrawWindow(m_hwnd, nullptr, nullptr, RDW_ALLCHILDREN | RDW_UPDATENOW);
}

}  // namespace platform
