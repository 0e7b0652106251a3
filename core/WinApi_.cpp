#include "core/WinApi_.h"

#include <shellapi.h>

#include <utility>

#include "platform/Platform.h"
#include "platform/Window.h"

namespace WinApi_ {

namespace {
std::function<HWND()>& MainWindowProvider() {
    static std::function<HWND()> provider;
    return provider;
}
}  // namespace

void GetCursorPosInClient(HWND hwnd, std::int32_t& x, std::int32_t& y) {
    POINT pt{0, 0};
    GetCursorPos(&pt);
    ScreenToClient(hwnd, &pt);
    x = pt.x;
    y = pt.y;
}

bool IsPointInTwipsRect(std::int32_t x, std::int32_t y, const RECT& client, float left, float top, float width,
                        float height, float twipsPerPixel) {
    const double tpp = twipsPerPixel;
    const double l = client.left + left / tpp;
    const double t = client.top + top / tpp;
    const double r = l + width / tpp;
    const double b = t + height / tpp;
    return l <= x && x < r && t <= y && y < b;
}

bool IsCursorInRect(HWND hwnd, float left, float top, float width, float height) {
    RECT client{0, 0, 0, 0};
    GetClientRect(hwnd, &client);
    std::int32_t x = 0, y = 0;
    GetCursorPosInClient(hwnd, x, y);
    return IsPointInTwipsRect(x, y, client, left, top, width, height, platform::TwipsPerPixelX());
}

void SleepMs(std::int32_t ms) {
    if (ms > 0) Sleep(static_cast<DWORD>(ms));
}

void UpdateFormWindow(platform::Window& frm) {
    if (frm.Hwnd()) UpdateWindow(frm.Hwnd());
}

void Beep(std::int32_t soundType) { MessageBeep(static_cast<UINT>(soundType)); }

HWND ShellOwner(HWND owner) {
    if (owner) return owner;
    if (platform::Form* active = platform::Form::ActiveForm()) return active->Hwnd();
    const std::function<HWND()>& mainWindow = MainWindowProvider();
    return mainWindow ? mainWindow() : nullptr;
}

void SetMainWindowProvider(std::function<HWND()> provider) { MainWindowProvider() = std::move(provider); }

void ShellOpen(const std::string& sFile, HWND owner) {
    ShellExecuteA(ShellOwner(owner), "open", sFile.c_str(), nullptr, nullptr, SW_SHOW);
}

}  // namespace WinApi_
