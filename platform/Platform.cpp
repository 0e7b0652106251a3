#include "platform/Platform.h"

#include <commdlg.h>

#include <algorithm>
#include <cmath>
#include <exception>
#include <utility>
#include <vector>

#include "platform/GdiScope.h"
#include "platform/SystemLibrary.h"
#include "platform/Window.h"

namespace platform {

namespace {
int ScreenDpi(int index) {
    static int dpi[2] = {0, 0};
    int& d = dpi[index == LOGPIXELSX ? 0 : 1];
    if (d == 0) {
        const WindowDc screen(nullptr);
        d = screen.Dc() ? GetDeviceCaps(screen.Dc(), index) : 96;
        if (d <= 0) d = 96;
    }
    return d;
}

std::function<void(int)>& EndHandler() {
    static std::function<void(int)> h;
    return h;
}

std::vector<std::function<void()>>& Deferred() {
    static std::vector<std::function<void()>> v;
    return v;
}

int g_dispatchDepth = 0;
int g_loadedForms = 0;
int g_mousePointer = 0;

void DispatchOne(MSG& msg) {
    DispatchScope scope;
    if (Form::PreTranslate(msg)) return;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
}
}  // namespace

float TwipsPerPixelX() { return kTwipsPerInch / static_cast<float>(ScreenDpi(LOGPIXELSX)); }
float TwipsPerPixelY() { return kTwipsPerInch / static_cast<float>(ScreenDpi(LOGPIXELSY)); }
int ToPixelsX(float twips) { return static_cast<int>(std::lround(twips / TwipsPerPixelX())); }
int ToPixelsY(float twips) { return static_cast<int>(std::lround(twips / TwipsPerPixelY())); }
float FromPixelsX(int pixels) { return static_cast<float>(pixels) * TwipsPerPixelX(); }
float FromPixelsY(int pixels) { return static_cast<float>(pixels) * TwipsPerPixelY(); }

COLORREF ResolveColor(COLORREF c) {
    if ((c & 0xFF000000u) == 0x80000000u) return GetSysColor(static_cast<int>(c & 0xFF));
    return c & 0x00FFFFFFu;
}

namespace Screen {
float Width() { return FromPixelsX(GetSystemMetrics(SM_CXSCREEN)); }
float Height() { return FromPixelsY(GetSystemMetrics(SM_CYSCREEN)); }
void SetMousePointer(int pointer) {
    g_mousePointer = pointer;
    POINT pt;
    if (GetCursorPos(&pt)) SetCursorPos(pt.x, pt.y);  // makes WM_SETCURSOR run again
}
int MousePointer() { return g_mousePointer; }
}  // namespace Screen

namespace App {
std::string Path() {
    char buf[MAX_PATH * 2] = {};
    DWORD n = GetModuleFileNameA(nullptr, buf, sizeof buf);
    std::string p(buf, n);
    auto slash = p.find_last_of("\\/");
    return slash == std::string::npos ? std::string(".") : p.substr(0, slash);
}

std::string CommandLine() {
    // Skip the program name as the C runtime does: quoted, or up to the first blank.
    const char* s = GetCommandLineA();
    if (!s) return {};
    if (*s == '"') {
        ++s;
        while (*s && *s != '"') ++s;
        if (*s == '"') ++s;
    } else {
        while (*s && *s != ' ' && *s != '\t') ++s;
    }
    while (*s == ' ' || *s == '\t') ++s;
    return s;
}

std::string Title() { return "Keyloom"; }
HINSTANCE Instance() { return GetModuleHandleA(nullptr); }
}  // namespace App

int MsgBox(const std::string& prompt, unsigned flags, const std::string& title) {
    HWND owner = nullptr;
    if (Form* f = Form::ActiveForm()) owner = f->Hwnd();
    DispatchScope scope;
    return MessageBoxA(owner, prompt.c_str(), title.c_str(), flags | MB_SETFOREGROUND);
}

void DoEvents() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        DispatchOne(msg);
    }
}

int RunMessageLoop() {
    MSG msg;
    RunDeferredDeletes();
    while (LoadedFormCount() > 0) {
        BOOL r = GetMessageA(&msg, nullptr, 0, 0);
        if (r == 0) return static_cast<int>(msg.wParam);
        if (r < 0) return 1;
        DispatchOne(msg);
    }
    return 0;
}

void End(int exitCode) {
    if (auto& h = EndHandler()) {
        h(exitCode);
    }
    ExitProcess(static_cast<UINT>(exitCode));
}

void SetEndHandler(std::function<void(int)> handler) { EndHandler() = std::move(handler); }

namespace {
std::function<void(const std::string&)>& EscapedErrorTrace() {
    static std::function<void(const std::string&)> t;
    return t;
}
bool g_reportingEscapedError = false;
std::vector<EscapedErrorSource>& ShownEscapedErrors() {
    static std::vector<EscapedErrorSource> v;
    return v;
}
// True the first time a known handler fails.
bool FirstFailureOf(const EscapedErrorSource& source) {
    if (!source.object) return true;
    auto& shown = ShownEscapedErrors();
    const bool seen = std::any_of(shown.begin(), shown.end(), [&](const EscapedErrorSource& s) {
        return s.object == source.object && s.message == source.message && s.which == source.which;
    });
    if (!seen) shown.push_back(source);
    return !seen;
}
}  // namespace

void ForgetEscapedErrors(const void* object) {
    auto& shown = ShownEscapedErrors();
    shown.erase(std::remove_if(shown.begin(), shown.end(),
                               [object](const EscapedErrorSource& s) { return s.object == object; }),
                shown.end());
}

void SetEscapedErrorTrace(std::function<void(const std::string&)> trace) { EscapedErrorTrace() = std::move(trace); }

void ReportEscapedError(const EscapedErrorSource& source) {
    std::string what;
    try {
        throw;
    } catch (const std::exception& e) {
        what = e.what();
    } catch (...) {
        what = "unknown error";
    }
    const std::string text = "Unexpected error: " + what;
    try {
        if (auto& trace = EscapedErrorTrace()) trace(text);
    } catch (...) {
        // A trace that fails must not take the report with it.
    }
    // A box over an open one, or one more for a handler that failed before, would keep
    // the user clicking boxes away.
    if (g_reportingEscapedError || !FirstFailureOf(source)) return;
    g_reportingEscapedError = true;
    try {
        MsgBox(text, MB_OK | MB_ICONEXCLAMATION, App::Title());
    } catch (...) {
    }
    g_reportingEscapedError = false;
}

void DeferDelete(std::function<void()> release) {
    if (g_dispatchDepth == 0) {
        release();
        return;
    }
    Deferred().push_back(std::move(release));
}

void RunDeferredDeletes() {
    while (!Deferred().empty()) {
        auto v = std::move(Deferred());
        Deferred().clear();
        for (auto& f : v) f();
    }
}

int DispatchDepth() { return g_dispatchDepth; }

DispatchScope::DispatchScope() { ++g_dispatchDepth; }
DispatchScope::~DispatchScope() {
    if (--g_dispatchDepth == 0) RunDeferredDeletes();
}

void NoteFormLoaded(bool loaded) { g_loadedForms += loaded ? 1 : -1; }
int LoadedFormCount() { return g_loadedForms; }

namespace {
std::function<std::string(const FileDialogRequest&)>& FileDialogHandler() {
    static std::function<std::string(const FileDialogRequest&)> h;
    return h;
}
}  // namespace

void SetFileDialogHandler(std::function<std::string(const FileDialogRequest&)> handler) {
    FileDialogHandler() = std::move(handler);
}

DWORD FileDialogFlags(bool save) {
    return OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | (save ? 0 : OFN_FILEMUSTEXIST);
}

std::string ShowFileDialog(const FileDialogRequest& request) {
    if (FileDialogHandler()) return FileDialogHandler()(request);
    // The dialog wants its filter as NUL-separated pairs ending in two NULs.
    std::string filter = request.filter;
    for (char& c : filter)
        if (c == '|') c = '\0';
    filter.append(2, '\0');
    char file[MAX_PATH] = {};
    request.fileName.copy(file, sizeof file - 1);
    OPENFILENAMEA ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = request.owner;
    ofn.lpstrFilter = filter.c_str();
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = file;
    ofn.nMaxFile = sizeof file;
    ofn.Flags = FileDialogFlags(request.save);
    using DialogFn = BOOL(WINAPI*)(LPOPENFILENAMEA);
    const auto dialog =
        SystemFunction<DialogFn>("comdlg32.dll", request.save ? "GetSaveFileNameA" : "GetOpenFileNameA");
    if (!dialog) return {};
    return dialog(&ofn) ? std::string(file) : std::string();
}

}  // namespace platform
