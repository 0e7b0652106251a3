// Times the editor as a user meets it: keyloom.exe /edit from start until its window is
// fully painted, then each switch of mode and view until the window is fully painted
// again, next to a trivial program that shows a window of the same size. Run by
// tools/bench-editor.sh, which prepares one program folder per board.
//
//   kl_bench_editor RUNS [--shots DIR] NAME=FOLDER [NAME=FOLDER ...]
//   kl_bench_editor --window WIDTH HEIGHT        (the trivial program)
//
// A FOLDER holds keyloom.exe, Keyloom.cfg and the working files to start from as work.qbc
// and work.cpl (copied to Keyloom.qbc and Keyloom.cpl before every start). The runs take
// turns (each board, then the trivial program), so a machine that changes speed affects
// all alike. With --shots, the first run saves a picture of every state as
// DIR\NAME-STATE.png (NAME without slashes).
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "BenchWatch.h"
#include "support/WinSupport.h"

namespace {

constexpr DWORD kQuietMs = 500;
constexpr DWORD kTimeoutMs = 60000;
constexpr int kIdToggleMode = 202;  // the main window's control ids
constexpr int kIdModeTitle = 203;
const char kTrivialClass[] = "KlBenchTrivial";
const std::string kSettingsKey = "Software\\Keyloom\\Default";

// ---------------------------------------------------------------- the trivial program

LRESULT CALLBACK TrivialProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, &ps);
        RECT r;
        GetClientRect(hwnd, &r);
        HBRUSH b = CreateSolidBrush(RGB(40, 40, 40));
        FillRect(dc, &r, b);
        DeleteObject(b);
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, RGB(192, 192, 192));
        DrawTextA(dc, "Keyloom", -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        EndPaint(hwnd, &ps);
        return 0;
    }
    case WM_DESTROY: PostQuitMessage(0); return 0;
    default: return DefWindowProcA(hwnd, msg, wp, lp);
    }
}

int TrivialWindow(int width, int height) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = &TrivialProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.lpszClassName = kTrivialClass;
    RegisterClassA(&wc);
    HWND hwnd = CreateWindowExA(0, kTrivialClass, "Trivial", WS_OVERLAPPEDWINDOW, 100, 80, width, height, nullptr,
                                nullptr, wc.hInstance, nullptr);
    if (!hwnd) return 1;
    ShowWindow(hwnd, SW_SHOW);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}

// ---------------------------------------------------------------- driving a program

struct Failure {
    std::string what;
};

void Check(bool ok, const std::string& what) {
    if (!ok) throw Failure{what};
}

void Click(HWND target) {
    RECT r;
    GetClientRect(target, &r);
    const LPARAM at = MAKELPARAM(r.right / 2, r.bottom / 2);
    PostMessageA(target, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageA(target, WM_LBUTTONUP, 0, at);
}

struct FindChild {
    HWND main;
    const std::string* text;
    HWND hit;
};

BOOL CALLBACK MatchChild(HWND h, LPARAM lp) {
    auto* f = reinterpret_cast<FindChild*>(lp);
    if (GetParent(h) != f->main || winsupport::WindowText(h) != *f->text) return TRUE;
    f->hit = h;
    return FALSE;
}

// A control of the main window by its text (the option buttons carry their captions).
HWND ChildByText(HWND main, const std::string& text) {
    FindChild find{main, &text, nullptr};
    EnumChildWindows(main, &MatchChild, reinterpret_cast<LPARAM>(&find));
    return find.hit;
}

// Starts a program and waits for its window of that class to be shown and fully painted.
struct Started {
    double upMs = 0, paintedMs = 0, spreadMs = 0;
    int changes = 0;
    HWND hwnd = nullptr;
    std::uint64_t picture = 0;
};

// A shown top-level window of that class of the process, or nullptr. Asks the window
// server only for windows of the class: a look at every window of the desktop each few
// milliseconds would keep the server busy and slow down the program being timed.
HWND ShownWindowOf(DWORD pid, const char* cls) {
    for (HWND h = FindWindowExA(nullptr, nullptr, cls, nullptr); h; h = FindWindowExA(nullptr, h, cls, nullptr)) {
        DWORD owner = 0;
        GetWindowThreadProcessId(h, &owner);
        if (owner == pid && IsWindowVisible(h)) return h;
    }
    return nullptr;
}

Started StartAndSettle(winsupport::ChildProcess& proc, bench::ScreenWatch& watch, const std::string& cmd,
                       const std::string& dir, const std::string& cls) {
    Started s;
    const double t0 = bench::NowMs();
    Check(proc.Start(cmd, dir), "cannot start " + cmd);
    while (!s.hwnd) {
        // A message box at start (port-access control not registered, say) spoils the figure.
        if (HWND box = ShownWindowOf(proc.Pid(), "#32770"))
            Check(false, "a message box came up at start: " + winsupport::ReadMessageBox(box).text);
        s.hwnd = ShownWindowOf(proc.Pid(), cls.c_str());
        Check(proc.Running(), "the program ended at start");
        Check(bench::NowMs() - t0 < kTimeoutMs, "no window within the time limit");
        if (!s.hwnd) Sleep(5);
    }
    s.upMs = bench::NowMs() - t0;
    const bench::Settled settled = watch.WaitSettled(s.hwnd, 0, kQuietMs, kTimeoutMs);
    Check(settled.ok, "start: " + settled.error);
    s.paintedMs = settled.endMs - t0;
    s.spreadMs = settled.endMs - settled.firstMs;
    s.changes = settled.changes;
    s.picture = settled.picture;
    return s;
}

void Close(winsupport::ChildProcess& proc, HWND hwnd) {
    PostMessageA(hwnd, WM_CLOSE, 0, 0);
    DWORD code = 0;
    if (!proc.WaitForExit(kTimeoutMs, code)) proc.Terminate();
}

// ---------------------------------------------------------------- figures

struct Figures {
    std::map<std::string, std::vector<double>> ms, changes, spread;
    std::vector<std::string> order;
    void Add(const std::string& step, double t, int n, double spreadMs) {
        if (ms.find(step) == ms.end()) order.push_back(step);
        ms[step].push_back(t);
        changes[step].push_back(n);
        spread[step].push_back(spreadMs);
    }
};

double Median(std::vector<double> v) {
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    const std::size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

struct Board {
    std::string name, dir;
    Figures figures;
};

struct Step {
    const char* name;
    const char* state;   // picture name with --shots
    int answer;          // the question's button, 0 when the step asks none
    const char* target;  // the option clicked; nullptr: the mode toggle button
    const char* title;   // the mode title afterwards (nullptr: unchanged)
};

const Step kSteps[] = {
    {"Key Assignments -> Panel Designer", "designer", IDYES, nullptr, "PANEL DESIGNER"},
    {"Panel Designer -> Key Assignments", "keys-panel-again", IDNO, nullptr, "KEY ASSIGNMENTS"},
    {"panel view -> table view", "keys-table", 0, "Table View", nullptr},
    {"table view -> panel view", "keys-panel-back", 0, "Panel View", nullptr},
    {"key captions -> user-text captions", "usertext-panel", 0, "View User Text", nullptr},
    {"user-text captions -> key captions", "keys-panel-end", 0, "View Key Assignments", nullptr},
};

void RestoreWorkingFiles(const std::string& dir) {
    Check(CopyFileA((dir + "\\work.qbc").c_str(), (dir + "\\Keyloom.qbc").c_str(), FALSE) != 0,
          "cannot copy " + dir + "\\work.qbc");
    Check(CopyFileA((dir + "\\work.cpl").c_str(), (dir + "\\Keyloom.cpl").c_str(), FALSE) != 0,
          "cannot copy " + dir + "\\work.cpl");
    // The same place on the screen every time (100, 80 pixels).
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, kSettingsKey.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                        nullptr) != ERROR_SUCCESS)
        return;
    for (const auto& [name, value] : {std::pair<const char*, const char*>{"MainWindowLeft", "1500"},
                                      {"MainWindowTop", "1200"}, {"MainWindowWidth", "9000"},
                                      {"MainWindowHeight", "7000"}})
        RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value), static_cast<DWORD>(strlen(value) + 1));
    RegCloseKey(key);
}

// One run of the editor: start, every switch, close. Returns the window's outer size.
SIZE RunEditor(Board& board, bench::ScreenWatch& watch, const std::string& shots) {
    RestoreWorkingFiles(board.dir);
    winsupport::ChildProcess proc;
    const Started s = StartAndSettle(proc, watch, "\"" + board.dir + "\\keyloom.exe\" /edit", board.dir, "KeyloomForm");
    board.figures.Add("start: window up", s.upMs, 0, 0);
    board.figures.Add("start: fully painted", s.paintedMs, s.changes, s.spreadMs);
    const HWND main = s.hwnd;
    std::string file = board.name;
    file.erase(std::remove(file.begin(), file.end(), '/'), file.end());
    auto shot = [&](const char* state) {
        if (!shots.empty()) winsupport::SaveScreenshot(main, shots + "\\" + file + "-" + state + ".png");
    };
    shot("keys-panel");
    std::uint64_t picture = s.picture;
    for (const Step& step : kSteps) {
        HWND target = nullptr;
        if (step.target) {
            target = ChildByText(main, step.target);
        } else if (HWND toggle = GetDlgItem(main, kIdToggleMode)) {
            target = GetWindow(toggle, GW_CHILD);  // the button's caption takes the clicks
        }
        Check(target != nullptr, std::string(step.name) + ": no control to click");
        double t0 = bench::NowMs();
        Click(target);
        if (step.answer) {
            HWND found = nullptr;
            DWORD pid = 0;
            GetWindowThreadProcessId(main, &pid);
            Check(winsupport::WaitUntil(
                      [&] {
                          found = winsupport::FindTopLevelWindow(pid, "#32770", "", 0);
                          return found != nullptr;
                      },
                      kTimeoutMs, false),
                  std::string(step.name) + ": no question came");
            // The time counts from the answer: the user's reading time is not the program's.
            // The pictures count once the box has gone: what it covered shows again first.
            t0 = bench::NowMs();
            winsupport::PressButton(found, step.answer);
            Check(winsupport::WaitUntil([&] { return !IsWindowVisible(found); }, kTimeoutMs, false),
                  std::string(step.name) + ": the question stays");
            picture = watch.Fingerprint(main);
        }
        const bench::Settled settled = watch.WaitSettled(main, picture, kQuietMs, kTimeoutMs);
        Check(settled.ok, std::string(step.name) + ": " + settled.error);
        Check(settled.changes > 0, std::string(step.name) + ": the window did not change");
        if (step.title) {
            const std::string title = winsupport::WindowText(GetDlgItem(main, kIdModeTitle));
            Check(title == step.title, std::string(step.name) + ": the mode title reads \"" + title + "\"");
        }
        board.figures.Add(step.name, settled.endMs - t0, settled.changes, settled.endMs - settled.firstMs);
        picture = settled.picture;
        shot(step.state);
    }
    RECT r;
    GetWindowRect(main, &r);
    Close(proc, main);
    return SIZE{r.right - r.left, r.bottom - r.top};
}

void RunTrivial(Figures& figures, bench::ScreenWatch& watch, SIZE size) {
    char self[MAX_PATH];
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    winsupport::ChildProcess proc;
    const Started s = StartAndSettle(
        proc, watch, "\"" + std::string(self) + "\" --window " + std::to_string(size.cx) + " " + std::to_string(size.cy),
        "", kTrivialClass);
    figures.Add("start: window up", s.upMs, 0, 0);
    figures.Add("start: fully painted", s.paintedMs, s.changes, s.spreadMs);
    Close(proc, s.hwnd);
}

void Report(const Figures& trivial, const std::vector<Board>& boards, int runs) {
    const double base = Median(trivial.ms.at("start: fully painted"));
    std::printf("Medians over %d runs. ratio: to the trivial window's start until fully painted.\n", runs);
    std::printf("pictures: different pictures the window showed during the step (1: one repaint);\n");
    std::printf("spread: ms from the first changed picture to the final one.\n\n");
    std::printf("%-38s %9s\n", "trivial window", "ms");
    for (const std::string& step : trivial.order)
        std::printf("  %-36s %9.0f\n", step.c_str(), Median(trivial.ms.at(step)));
    for (const Board& b : boards) {
        std::printf("\n%-38s %9s %7s %9s %7s\n", b.name.c_str(), "ms", "ratio", "pictures", "spread");
        for (const std::string& step : b.figures.order) {
            const double m = Median(b.figures.ms.at(step));
            std::printf("  %-36s %9.0f %6.2fx %9.0f %7.0f\n", step.c_str(), m, base > 0 ? m / base : 0.0,
                        Median(b.figures.changes.at(step)), Median(b.figures.spread.at(step)));
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 4 && std::string(argv[1]) == "--window") return TrivialWindow(std::atoi(argv[2]), std::atoi(argv[3]));
    if (argc < 3) {
        std::fprintf(stderr, "usage: kl_bench_editor RUNS [--shots DIR] NAME=FOLDER ...\n");
        return 2;
    }
    const int runs = std::max(1, std::atoi(argv[1]));
    std::string shots;
    std::vector<Board> boards;
    for (int i = 2; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--shots" && i + 1 < argc) {
            shots = argv[++i];
            continue;
        }
        const std::size_t eq = a.find('=');
        if (eq == std::string::npos) {
            std::fprintf(stderr, "not NAME=FOLDER: %s\n", a.c_str());
            return 2;
        }
        boards.push_back(Board{a.substr(0, eq), a.substr(eq + 1), {}});
    }
    // No hover effects: the pointer stays off every window.
    SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1);
    bench::ScreenWatch watch;
    Figures trivial;
    try {
        for (int run = 0; run < runs; ++run) {
            SIZE size{0, 0};
            for (Board& b : boards) {
                const SIZE s = RunEditor(b, watch, run == 0 ? shots : std::string());
                if (size.cx == 0) size = s;
            }
            RunTrivial(trivial, watch, size);
            std::fprintf(stderr, "run %d of %d done\n", run + 1, runs);
        }
    } catch (const Failure& f) {
        std::fprintf(stderr, "benchmark failed: %s\n", f.what.c_str());
        return 1;
    }
    Report(trivial, boards, runs);
    return 0;
}
