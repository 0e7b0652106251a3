#pragma once
// Helpers of the picture and option-button tests: a dark host window, bounded waits
// that keep the window events flowing, reading back pixels of pictures and windows,
// and saving a screenshot.
#include <windows.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/Controls.h"
#include "platform/Platform.h"
#include "support/PixelSupport.h"

namespace pictest {

using pixtest::BuildDir;
using pixtest::ColorDiff;
using pixtest::Pixels;
using pixtest::SaveBmp;
using pixtest::WaitFor;

constexpr COLORREF kHostGrey = RGB(40, 40, 40);

// A borderless top-level window on the editor's dark grey, at a fixed screen place.
class HostForm : public platform::Form {
public:
    void Open(int x, int y, int w, int h) {
        Load();
        SetBackColor(kHostGrey);
        SetWindowPos(Hwnd(), HWND_TOP, x, y, w, h, SWP_NOACTIVATE);
        Show();
    }

protected:
    DWORD FrameStyle() const override { return WS_POPUP | WS_CLIPCHILDREN; }
    // Not a task-bar window: Wine then does not wait for a window manager when it goes.
    DWORD FrameExStyle() const override { return WS_EX_TOOLWINDOW; }
};

// Handles window events for ms milliseconds (to see that something does NOT happen).
inline void PumpFor(DWORD ms) {
    WaitFor([] { return false; }, ms);
}

// The pixels of a bitmap.
inline Pixels ReadBitmap(HBITMAP bmp) {
    Pixels p;
    BITMAP bm{};
    if (!bmp || !GetObjectA(bmp, sizeof bm, &bm)) return p;
    p.width = bm.bmWidth;
    p.height = bm.bmHeight < 0 ? -bm.bmHeight : bm.bmHeight;
    p.bgra.resize(static_cast<std::size_t>(p.width * p.height));
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = p.width;
    bi.bmiHeader.biHeight = -p.height;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    HDC dc = GetDC(nullptr);
    GetDIBits(dc, bmp, 0, static_cast<UINT>(p.height), p.bgra.data(), &bi, DIB_RGB_COLORS);
    ReleaseDC(nullptr, dc);
    return p;
}

// The client area as a window DC reads it now.
inline Pixels ReadClient(HWND hwnd) {
    RECT r;
    GetClientRect(hwnd, &r);
    HDC src = GetDC(hwnd);
    HDC mem = CreateCompatibleDC(src);
    HBITMAP bmp = CreateCompatibleBitmap(src, r.right, r.bottom);
    HGDIOBJ old = SelectObject(mem, bmp);
    BitBlt(mem, 0, 0, r.right, r.bottom, src, 0, 0, SRCCOPY);
    SelectObject(mem, old);
    DeleteDC(mem);
    ReleaseDC(hwnd, src);
    Pixels p = ReadBitmap(bmp);
    DeleteObject(bmp);
    return p;
}

// What a window shows (client area, children included), after painting it. Wine hands
// painted pixels on to what a window DC reads only while the thread waits for messages,
// so the window is read until two reads a little apart agree (bounded).
inline Pixels CaptureClient(HWND hwnd) {
    RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    PumpFor(60);
    Pixels last = ReadClient(hwnd);
    for (int i = 0; i < 30; ++i) {
        PumpFor(60);
        Pixels now = ReadClient(hwnd);
        if (now.bgra == last.bgra) return now;
        last = std::move(now);
    }
    return last;
}

// Screen position of a point of a window's client area.
inline POINT ClientToScreenPoint(HWND hwnd, int x, int y) {
    POINT pt{x, y};
    ClientToScreen(hwnd, &pt);
    return pt;
}

// Moves the pointer to client point (x, y) of `host` (a spot without controls) and waits
// until the host has seen it there. Mouse moves from earlier pointer positions that are
// still on their way are delivered first, so none of them reaches a later control.
inline bool ParkPointer(platform::Window& host, int x, int y) {
    bool seen = false;
    auto previous = host.MouseMove;
    host.MouseMove = [&](const platform::MouseEvent& e) {
        if (platform::ToPixelsX(e.x) == x && platform::ToPixelsY(e.y) == y) seen = true;
    };
    POINT target = ClientToScreenPoint(host.Hwnd(), x, y);
    POINT now{};
    GetCursorPos(&now);
    if (now.x == target.x && now.y == target.y) SetCursorPos(target.x - 1, target.y);  // moves only are reported
    SetCursorPos(target.x, target.y);
    const bool ok = WaitFor([&] { return seen; }, 2000);
    host.MouseMove = previous;
    return ok;
}

// A left click as the window's own messages (pressed and released at client x, y).
inline void ClickAt(HWND hwnd, int x, int y) {
    SendMessageA(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    SendMessageA(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
}

}  // namespace pictest
