#include "core/WinApi_.h"

#include <shellapi.h>

#include <memory>
#include <type_traits>
#include <utility>
#include <vector>

#include "core/Error_.h"
#include "platform/Platform.h"
#include "platform/SystemLibrary.h"
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
    using ShellExecuteFn = HINSTANCE(WINAPI*)(HWND, LPCSTR, LPCSTR, LPCSTR, LPCSTR, INT);
    if (const auto shellExecute = platform::SystemFunction<ShellExecuteFn>("shell32.dll", "ShellExecuteA"))
        shellExecute(ShellOwner(owner), "open", sFile.c_str(), nullptr, nullptr, SW_SHOW);
}

namespace {
struct HandleCloser {
    void operator()(HANDLE h) const {
        if (h) ::CloseHandle(h);
    }
};
using UniqueHandle = std::unique_ptr<std::remove_pointer_t<HANDLE>, HandleCloser>;

[[noreturn]] void RaiseStartError(DWORD lastError) {
    switch (lastError) {
    case ERROR_FILE_NOT_FOUND:
        throw Error_::RuntimeError(53, "File not found");
    case ERROR_PATH_NOT_FOUND:
        throw Error_::RuntimeError(76, "Path not found");
    case ERROR_ACCESS_DENIED:
        throw Error_::RuntimeError(70, "Permission denied");
    default:
        throw Error_::RuntimeError(5, "Invalid procedure call or argument");
    }
}
}  // namespace

std::uint32_t StartProgram(const std::string& sCommandLine) {
    std::vector<char> commandLine(sCommandLine.begin(), sCommandLine.end());
    commandLine.push_back('\0');
    STARTUPINFOA si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESHOWWINDOW;
    si.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION pi{};
    if (!::CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        RaiseStartError(::GetLastError());
    const UniqueHandle process(pi.hProcess);
    const UniqueHandle thread(pi.hThread);
    return pi.dwProcessId;
}

}  // namespace WinApi_
