// Painting a whole form at once. Under Wine every control's own paint costs several round
// trips to the window server, and once a repaint runs longer than a moment the screen is
// updated after each control, so the user sees a large form fill in piece by piece. Our
// own controls draw just as well into any device context: a form that holds only those is
// drawn off screen in one pass, copied to the window in one go and marked as painted.
#include "platform/Window.h"

#include <functional>
#include <unordered_map>

#include "platform/GdiScope.h"

namespace platform {

namespace {

constexpr LONG kFrameStyles = WS_CAPTION | WS_BORDER | WS_THICKFRAME | WS_VSCROLL | WS_HSCROLL;
constexpr LONG kFrameExStyles = WS_EX_CLIENTEDGE | WS_EX_STATICEDGE | WS_EX_WINDOWEDGE | WS_EX_DLGMODALFRAME;

BOOL CALLBACK CollectWindow(HWND hwnd, LPARAM list) {
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(hwnd);
    return TRUE;
}

}  // namespace

bool Form::PrintTree(HDC dc) {
    // Every window on the form in one walk, each window's own list in one request to the
    // window server: top of the stacking order first, a window before those on it.
    std::vector<HWND> all;
    EnumChildWindows(m_hwnd, &CollectWindow, reinterpret_cast<LPARAM>(&all));
    std::unordered_map<HWND, std::vector<HWND>> onTop;  // a window's children, top first
    for (HWND hwnd : all) {
        const LONG style = GetWindowLongA(hwnd, GWL_STYLE);
        if (!(style & WS_VISIBLE)) continue;
        HWND parent = GetParent(hwnd);
        if (parent != m_hwnd && onTop.find(parent) == onTop.end()) continue;  // on a hidden window
        const Window* self = FromHwnd(hwnd);
        if (!self || self->m_oldProc || (style & kFrameStyles) || (GetWindowLongA(hwnd, GWL_EXSTYLE) & kFrameExStyles))
            return false;
        onTop[parent].push_back(hwnd);
        onTop.emplace(hwnd, std::vector<HWND>{});
    }
    SendMessageA(m_hwnd, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT | PRF_ERASEBKGND);
    // Depth first, each list from its bottom window up.
    struct Level {
        HWND parent;
        POINT origin;
    };
    std::function<void(const Level&)> print = [&](const Level& level) {
        const auto found = onTop.find(level.parent);
        if (found == onTop.end()) return;
        const std::vector<HWND>& children = found->second;
        for (auto it = children.rbegin(); it != children.rend(); ++it) {
            RECT r{};
            GetWindowRect(*it, &r);
            MapWindowPoints(nullptr, level.parent, reinterpret_cast<POINT*>(&r), 2);
            OffsetRect(&r, level.origin.x, level.origin.y);
            const int saved = SaveDC(dc);
            SetViewportOrgEx(dc, r.left, r.top, nullptr);
            IntersectClipRect(dc, 0, 0, r.right - r.left, r.bottom - r.top);
            SendMessageA(*it, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT | PRF_ERASEBKGND);
            RestoreDC(dc, saved);
            print(Level{*it, POINT{r.left, r.top}});
        }
    };
    print(Level{m_hwnd, POINT{0, 0}});
    return true;
}

void Form::PaintNow() {
    if (!m_hwnd || !IsWindowVisible(m_hwnd) || IsIconic(m_hwnd)) return;
    // A look at the input queue first. Wine copies a window to the screen after every
    // single paint once a program has not looked for input for a while; just after a look
    // it waits with the copy until the program looks again.
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 0, QS_ALLINPUT);
    RECT client{};
    GetClientRect(m_hwnd, &client);
    if (client.right > 0 && client.bottom > 0) {
        // The client area with its children: the copy covers them too.
        WindowDc screen(m_hwnd);
        GdiObject bitmap(CreateCompatibleBitmap(screen.Dc(), client.right, client.bottom));
        MemoryDc off(screen.Dc());
        // A form with a system control on it paints as usual: such a control may not draw
        // itself into another device context.
        if (screen.Dc() && off.Select(bitmap.Get()) && PrintTree(off.Dc())) {
            BitBlt(screen.Dc(), 0, 0, client.right, client.bottom, off.Dc(), 0, 0, SRCCOPY);
            // All painted now, in one request; the frame (caption and menu bar) is drawn
            // straight away.
            RedrawWindow(m_hwnd, nullptr, nullptr, RDW_VALIDATE | RDW_NOFRAME | RDW_ALLCHILDREN);
            SendMessageA(m_hwnd, WM_NCPAINT, 1, 0);
            return;
        }
    }
    // Painted here and now rather than one paint message fetched from the queue per window.
    RedrawWindow(m_hwnd, nullptr, nullptr, RDW_ALLCHILDREN | RDW_UPDATENOW);
}

}  // namespace platform
