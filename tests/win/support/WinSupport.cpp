#include "support/WinSupport.h"

#include "platform/GdiScope.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <memory>

namespace winsupport {

namespace {
DWORD WINAPI RunThread(void* fn) {
    (*static_cast<std::function<void()>*>(fn))();
    return 0;
}
}  // namespace

Thread::Thread(std::function<void()> fn) : m_fn(std::make_unique<std::function<void()>>(std::move(fn))) {
    m_handle.Reset(CreateThread(nullptr, 0, &RunThread, m_fn.get(), 0, nullptr));
}

void Thread::Join() {
    if (m_handle) WaitForSingleObject(m_handle.Get(), INFINITE);
    m_handle.Reset();
}

bool Thread::Done() const { return !m_handle || WaitForSingleObject(m_handle.Get(), 0) == WAIT_OBJECT_0; }

bool WaitUntil(const std::function<bool()>& cond, DWORD timeoutMs, bool pump) {
    const DWORD start = GetTickCount();
    for (;;) {
        if (pump) {
            MSG msg;
            while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
                if (msg.message == WM_QUIT) {
                    PostQuitMessage(static_cast<int>(msg.wParam));
                    break;
                }
                TranslateMessage(&msg);
                DispatchMessageA(&msg);
            }
        }
        if (cond()) return true;
        if (GetTickCount() - start >= timeoutMs) return cond();
        if (pump)
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        else
            Sleep(10);
    }
}

bool PumpUntil(const std::function<bool()>& cond, DWORD timeoutMs, const std::function<void()>& pump) {
    return WaitUntil(
        [&] {
            pump();
            return cond();
        },
        timeoutMs, false);
}

void SendKey(WORD vk, bool up, bool extended) {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = vk;
    in.ki.wScan = static_cast<WORD>(MapVirtualKeyA(vk, 0));
    in.ki.dwFlags = (extended ? KEYEVENTF_EXTENDEDKEY : 0) | (up ? KEYEVENTF_KEYUP : 0);
    SendInput(1, &in, sizeof in);
}

void TypeKey(WORD vk, bool extended) {
    SendKey(vk, false, extended);
    SendKey(vk, true, extended);
}

void ClickAt(HWND hwnd, POINT client, Click kind) {
    ClientToScreen(hwnd, &client);
    SetCursorPos(client.x, client.y);
    const bool right = kind == Click::Right;
    const DWORD press = right ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN;
    const DWORD release = right ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP;
    INPUT in[4] = {};
    bool down = true;
    for (INPUT& e : in) {
        e.type = INPUT_MOUSE;
        e.mi.dwFlags = down ? press : release;
        down = !down;
    }
    SendInput(kind == Click::Double ? 4 : 2, in, sizeof in[0]);
}

Async<bool> EscapePopupMenuAsync(DWORD timeoutMs) {
    return Async<bool>([timeoutMs] {
        HWND menu = nullptr;
        const bool shown = WaitUntil(
            [&] {
                menu = FindWindowA("#32768", nullptr);
                return menu && IsWindowVisible(menu);
            },
            timeoutMs, false);
        if (!shown) return false;
        TypeKey(VK_ESCAPE);
        return WaitUntil([&] { return !IsWindowVisible(menu); }, timeoutMs, false);
    });
}

void MoveMouseTo(HWND hwnd, POINT client) {
    ClientToScreen(hwnd, &client);
    const int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dx = (client.x * 65536 + 32768) / w;
    in.mi.dy = (client.y * 65536 + 32768) / h;
    in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &in, sizeof in);
}

namespace {
// Focus and active window of the thread of window w; all empty when it cannot be read.
GUITHREADINFO ThreadInfoOf(HWND w) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(w, nullptr), &info)) info = GUITHREADINFO{};
    return info;
}
}  // namespace

HWND FocusInThreadOf(HWND w) { return ThreadInfoOf(w).hwndFocus; }

bool SwitchAwayAndBack(HWND back, DWORD timeoutMs, const std::function<void()>& pump,
                       const std::function<void()>& whileAway) {
    struct WindowHolder {
        HWND h;
        ~WindowHolder() {
            if (h) DestroyWindow(h);
        }
    } other{CreateWindowExA(0, "STATIC", "Another program", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, 200, 120,
                            nullptr, nullptr, GetModuleHandleA(nullptr), nullptr)};
    if (!other.h) return false;
    auto until = [&](HWND w) {
        SetForegroundWindow(w);
        const auto cond = [&] {
            if (pump) pump();
            return GetForegroundWindow() == w && ThreadInfoOf(w).hwndActive == w;
        };
        return WaitUntil(cond, timeoutMs, !pump);
    };
    if (!until(other.h)) return false;
    if (whileAway) whileAway();
    return until(back);
}

std::string WindowText(HWND hwnd) {
    if (!hwnd) return {};
    // WM_GETTEXT reads the text of another program's controls too (GetWindowText
    // does not); the timeout keeps a hung window from hanging the test.
    DWORD_PTR len = 0;
    if (!SendMessageTimeoutA(hwnd, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 2000, &len)) return {};
    std::string s(static_cast<size_t>(len) + 1, '\0');
    DWORD_PTR got = 0;
    SendMessageTimeoutA(hwnd, WM_GETTEXT, s.size(), reinterpret_cast<LPARAM>(s.data()), SMTO_ABORTIFHUNG, 2000, &got);
    s.resize(static_cast<size_t>(got));
    return s;
}

std::string ClassName(HWND hwnd) {
    char buf[256] = {};
    int n = GetClassNameA(hwnd, buf, sizeof buf);
    return std::string(buf, n > 0 ? static_cast<size_t>(n) : 0);
}

namespace {
struct EnumData {
    DWORD pid;
    std::vector<HWND> found;
};
BOOL CALLBACK CollectTop(HWND hwnd, LPARAM lp) {
    auto* d = reinterpret_cast<EnumData*>(lp);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if (d->pid == 0 || pid == d->pid) d->found.push_back(hwnd);
    return TRUE;
}
BOOL CALLBACK CollectChild(HWND hwnd, LPARAM lp) {
    reinterpret_cast<std::vector<HWND>*>(lp)->push_back(hwnd);
    return TRUE;
}
}  // namespace

std::vector<HWND> TopLevelWindows(DWORD pid) {
    EnumData d{pid, {}};
    EnumWindows(&CollectTop, reinterpret_cast<LPARAM>(&d));
    return d.found;
}

HWND FindTopLevelWindow(DWORD pid, const std::string& className, const std::string& title, DWORD timeoutMs) {
    HWND hit = nullptr;
    WaitUntil(
        [&] {
            for (HWND h : TopLevelWindows(pid)) {
                if (!IsWindowVisible(h)) continue;
                if (!className.empty() && ClassName(h) != className) continue;
                if (!title.empty() && WindowText(h) != title) continue;
                hit = h;
                return true;
            }
            return false;
        },
        timeoutMs, false);
    return hit;
}

MessageBoxInfo ReadMessageBox(HWND box) {
    MessageBoxInfo info;
    info.hwnd = box;
    if (!box) return info;
    info.title = WindowText(box);
    std::vector<HWND> kids;
    EnumChildWindows(box, &CollectChild, reinterpret_cast<LPARAM>(&kids));
    std::string longestStatic;
    for (HWND k : kids) {
        const std::string cls = ClassName(k);
        const int id = GetDlgCtrlID(k);
        if (_stricmp(cls.c_str(), "Static") == 0) {
            const LONG style = GetWindowLongA(k, GWL_STYLE);
            if ((style & SS_TYPEMASK) == SS_ICON) {
                info.hasIcon = true;
                continue;
            }
            std::string t = WindowText(k);
            // The text of a message box is the static control with id 0xFFFF.
            if (id == 0xFFFF) info.text = t;
            if (t.size() > longestStatic.size()) longestStatic = t;
        } else if (_stricmp(cls.c_str(), "Button") == 0) {
            info.buttons.push_back(WindowText(k));
            info.buttonIds.push_back(id);
        }
    }
    if (info.text.empty()) info.text = longestStatic;
    return info;
}

MessageBoxInfo WaitForMessageBox(DWORD pid, DWORD timeoutMs) {
    return ReadMessageBox(FindTopLevelWindow(pid, "#32770", "", timeoutMs));
}

bool PressButton(HWND dialog, int id) {
    if (!dialog || !IsWindow(dialog)) return false;
    HWND button = GetDlgItem(dialog, id);
    return PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button)) != 0;
}

Async<MessageBoxInfo> AnswerMessageBoxAsync(int buttonId, DWORD timeoutMs) {
    const DWORD pid = GetCurrentProcessId();
    return Async<MessageBoxInfo>([pid, buttonId, timeoutMs] {
        MessageBoxInfo info = WaitForMessageBox(pid, timeoutMs);
        if (info.hwnd) PressButton(info.hwnd, buttonId);
        return info;
    });
}

bool ChildProcess::Start(const std::string& commandLine, const std::string& workingDir) {
    Terminate();
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    std::string cmd = commandLine;
    if (!CreateProcessA(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        workingDir.empty() ? nullptr : workingDir.c_str(), &si, &pi))
        return false;
    CloseHandle(pi.hThread);
    m_process.Reset(pi.hProcess);
    m_pid = pi.dwProcessId;
    return true;
}

bool ChildProcess::WaitForExit(DWORD timeoutMs, DWORD& exitCode) {
    if (!m_process) return false;
    if (WaitForSingleObject(m_process.Get(), timeoutMs) != WAIT_OBJECT_0) return false;
    return GetExitCodeProcess(m_process.Get(), &exitCode) != 0;
}

bool ChildProcess::Running() const {
    return m_process && WaitForSingleObject(m_process.Get(), 0) == WAIT_TIMEOUT;
}

void ChildProcess::Terminate() {
    if (Running()) {
        TerminateProcess(m_process.Get(), 255);
        WaitForSingleObject(m_process.Get(), 5000);
    }
    m_process.Reset();
    m_pid = 0;
}

bool ReadUserRegString(const std::string& subKey, const std::string& name, std::string& value) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, subKey.c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return false;
    char buf[1024] = {};
    DWORD size = sizeof buf - 1, type = 0;
    const bool ok = RegQueryValueExA(key, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(buf), &size) ==
                        ERROR_SUCCESS &&
                    type == REG_SZ;
    RegCloseKey(key);
    if (ok) value = buf;
    return ok;
}

void DeleteUserRegTree(const std::string& subKey) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, subKey.c_str(), 0, KEY_READ | KEY_WRITE, &key) != ERROR_SUCCESS) return;
    std::vector<std::string> children;
    char name[256];
    for (DWORD i = 0;; ++i) {
        DWORD n = sizeof name;
        if (RegEnumKeyExA(key, i, name, &n, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        children.emplace_back(name, n);
    }
    RegCloseKey(key);
    for (const std::string& c : children) DeleteUserRegTree(subKey + "\\" + c);
    RegDeleteKeyA(HKEY_CURRENT_USER, subKey.c_str());
}

void DeleteUserRegValue(const std::string& subKey, const std::string& name) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, subKey.c_str(), 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS) return;
    RegDeleteValueA(key, name.c_str());
    RegCloseKey(key);
}

std::string Env(const char* name) {
    char buf[4096];
    DWORD n = GetEnvironmentVariableA(name, buf, sizeof buf);
    if (n == 0 || n >= sizeof buf) return {};
    return std::string(buf, n);
}

// ---------------------------------------------------------------- pictures

namespace {

struct Pixels {
    int w = 0, h = 0;
    std::vector<std::uint8_t> bgr;  // bottom-up rows, 4-byte aligned, as a 24-bit DIB
    int Stride() const { return ((w * 3) + 3) & ~3; }
};

bool Capture(HWND hwnd, bool fromScreen, Pixels& px) {
    RECT r{};
    if (!GetWindowRect(hwnd, &r)) return false;
    px.w = r.right - r.left;
    px.h = r.bottom - r.top;
    if (px.w <= 0 || px.h <= 0) return false;
    platform::WindowDc screen(nullptr);
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = px.w;
    bi.bmiHeader.biHeight = px.h;  // bottom-up
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 24;
    bi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    platform::GdiObject dib(CreateDIBSection(screen.Dc(), &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!dib.Get() || !bits) return false;
    platform::MemoryDc mem(screen.Dc());
    mem.Select(dib.Get());
    bool ok;
    if (fromScreen)
        ok = BitBlt(mem.Dc(), 0, 0, px.w, px.h, screen.Dc(), r.left, r.top, SRCCOPY) != 0;
    else
        ok = PrintWindow(hwnd, mem.Dc(), 0) != 0;
    GdiFlush();
    const auto* p = static_cast<const std::uint8_t*>(bits);
    px.bgr.assign(p, p + static_cast<size_t>(px.Stride()) * static_cast<size_t>(px.h));
    return ok;
}

bool WriteAll(const std::string& path, const std::vector<std::uint8_t>& data) {
    std::unique_ptr<FILE, int (*)(FILE*)> f(std::fopen(path.c_str(), "wb"), &std::fclose);
    if (!f) return false;
    return std::fwrite(data.data(), 1, data.size(), f.get()) == data.size();
}

void Put32Le(std::vector<std::uint8_t>& v, std::uint32_t x) {
    for (int i = 0; i < 4; ++i) v.push_back(static_cast<std::uint8_t>(x >> (8 * i)));
}
void Put16Le(std::vector<std::uint8_t>& v, std::uint16_t x) {
    v.push_back(static_cast<std::uint8_t>(x));
    v.push_back(static_cast<std::uint8_t>(x >> 8));
}
void Put32Be(std::vector<std::uint8_t>& v, std::uint32_t x) {
    for (int i = 3; i >= 0; --i) v.push_back(static_cast<std::uint8_t>(x >> (8 * i)));
}

std::vector<std::uint8_t> EncodeBmp(const Pixels& px) {
    std::vector<std::uint8_t> v;
    const std::uint32_t dataSize = static_cast<std::uint32_t>(px.bgr.size());
    v.push_back('B');
    v.push_back('M');
    Put32Le(v, 54 + dataSize);
    Put32Le(v, 0);
    Put32Le(v, 54);
    Put32Le(v, 40);
    Put32Le(v, static_cast<std::uint32_t>(px.w));
    Put32Le(v, static_cast<std::uint32_t>(px.h));
    Put16Le(v, 1);
    Put16Le(v, 24);
    Put32Le(v, 0);
    Put32Le(v, dataSize);
    Put32Le(v, 2835);
    Put32Le(v, 2835);
    Put32Le(v, 0);
    Put32Le(v, 0);
    v.insert(v.end(), px.bgr.begin(), px.bgr.end());
    return v;
}

std::uint32_t Crc32(const std::uint8_t* p, size_t n, std::uint32_t crc = 0) {
    static std::uint32_t table[256];
    static bool init = false;
    if (!init) {
        for (std::uint32_t i = 0; i < 256; ++i) {
            std::uint32_t c = i;
            for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            table[i] = c;
        }
        init = true;
    }
    crc = ~crc;
    for (size_t i = 0; i < n; ++i) crc = table[(crc ^ p[i]) & 0xFF] ^ (crc >> 8);
    return ~crc;
}

void PutChunk(std::vector<std::uint8_t>& out, const char type[4], const std::vector<std::uint8_t>& data) {
    Put32Be(out, static_cast<std::uint32_t>(data.size()));
    std::vector<std::uint8_t> body(type, type + 4);
    body.insert(body.end(), data.begin(), data.end());
    out.insert(out.end(), body.begin(), body.end());
    Put32Be(out, Crc32(body.data(), body.size()));
}

// PNG with uncompressed (stored) deflate blocks: large but needs no compressor.
std::vector<std::uint8_t> EncodePng(const Pixels& px) {
    std::vector<std::uint8_t> raw;
    raw.reserve(static_cast<size_t>(px.h) * (static_cast<size_t>(px.w) * 3 + 1));
    for (int y = 0; y < px.h; ++y) {
        raw.push_back(0);  // filter: none
        const std::uint8_t* row = px.bgr.data() + static_cast<size_t>(px.h - 1 - y) * static_cast<size_t>(px.Stride());
        for (int x = 0; x < px.w; ++x) {
            raw.push_back(row[x * 3 + 2]);
            raw.push_back(row[x * 3 + 1]);
            raw.push_back(row[x * 3 + 0]);
        }
    }
    std::vector<std::uint8_t> z{0x78, 0x01};
    size_t pos = 0;
    do {
        const size_t n = std::min<size_t>(65535, raw.size() - pos);
        const bool last = pos + n == raw.size();
        z.push_back(last ? 1 : 0);
        Put16Le(z, static_cast<std::uint16_t>(n));
        Put16Le(z, static_cast<std::uint16_t>(~n));
        z.insert(z.end(), raw.begin() + static_cast<std::ptrdiff_t>(pos), raw.begin() + static_cast<std::ptrdiff_t>(pos + n));
        pos += n;
    } while (pos < raw.size());
    std::uint32_t a = 1, b = 0;
    for (std::uint8_t c : raw) {
        a = (a + c) % 65521;
        b = (b + a) % 65521;
    }
    Put32Be(z, (b << 16) | a);

    std::vector<std::uint8_t> out{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<std::uint8_t> ihdr;
    Put32Be(ihdr, static_cast<std::uint32_t>(px.w));
    Put32Be(ihdr, static_cast<std::uint32_t>(px.h));
    ihdr.insert(ihdr.end(), {8, 2, 0, 0, 0});
    PutChunk(out, "IHDR", ihdr);
    PutChunk(out, "IDAT", z);
    PutChunk(out, "IEND", {});
    return out;
}

}  // namespace

bool SaveScreenshot(HWND hwnd, const std::string& path, bool fromScreen) {
    Pixels px;
    if (!Capture(hwnd, fromScreen, px)) return false;
    const bool png = path.size() >= 4 && _stricmp(path.c_str() + path.size() - 4, ".png") == 0;
    return WriteAll(path, png ? EncodePng(px) : EncodeBmp(px));
}

COLORREF ScreenPixel(HWND hwnd, int x, int y) {
    POINT pt{x, y};
    ClientToScreen(hwnd, &pt);
    platform::WindowDc screen(nullptr);
    return GetPixel(screen.Dc(), pt.x, pt.y);
}

}  // namespace winsupport
