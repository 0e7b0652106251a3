#pragma once
// UI automation of our own for the Windows tests: find a top-level window of a
// process within a bounded time, read a message box, press its buttons, run a
// program and wait for its exit code, and save what a window shows as BMP or PNG.
#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace winsupport {

// Owns a kernel handle.
class UniqueHandle {
public:
    UniqueHandle() = default;
    explicit UniqueHandle(HANDLE h) : m_h(h) {}
    ~UniqueHandle() { Reset(); }
    UniqueHandle(UniqueHandle&& o) noexcept : m_h(o.Release()) {}
    UniqueHandle& operator=(UniqueHandle&& o) noexcept {
        if (this != &o) Reset(o.Release());
        return *this;
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    HANDLE Get() const { return m_h; }
    explicit operator bool() const { return m_h != nullptr && m_h != INVALID_HANDLE_VALUE; }
    HANDLE Release() {
        HANDLE h = m_h;
        m_h = nullptr;
        return h;
    }
    void Reset(HANDLE h = nullptr) {
        if (m_h && m_h != INVALID_HANDLE_VALUE) CloseHandle(m_h);
        m_h = h;
    }

private:
    HANDLE m_h = nullptr;
};

// A thread of the Windows API running fn; joined when it goes (fn never runs when no
// thread could be created). The toolchain's win32 thread model has no std::thread.
class Thread {
public:
    explicit Thread(std::function<void()> fn);
    ~Thread() { Join(); }
    Thread(const Thread&) = delete;
    Thread& operator=(const Thread&) = delete;
    // Waits until fn has returned (at once when it has, or after an earlier Join).
    void Join();
    // Whether fn has returned, without waiting.
    bool Done() const;

private:
    std::unique_ptr<std::function<void()>> m_fn;  // outlives the thread that runs it
    UniqueHandle m_handle;
};

// fn run on a Thread of its own; Get waits for it and hands back its result.
template <class T>
class Async {
public:
    explicit Async(std::function<T()> fn)
        : m_result(std::make_unique<T>()), m_thread([fn = std::move(fn), r = m_result.get()] { *r = fn(); }) {}
    T Get() {
        m_thread.Join();
        return *m_result;
    }
    bool Done() const { return m_thread.Done(); }

private:
    std::unique_ptr<T> m_result;  // declared first: the thread ends before it goes
    Thread m_thread;
};

// Polls cond every few milliseconds until it is true or timeoutMs has passed;
// with pump, pending messages of this thread are handled between polls.
bool WaitUntil(const std::function<bool()>& cond, DWORD timeoutMs, bool pump = true);
// The same with the caller's own event handling between polls (a form layer's DoEvents,
// which lets a form see its keys first as the program's own loop does).
bool PumpUntil(const std::function<bool()>& cond, DWORD timeoutMs, const std::function<void()>& pump);

// ---- the user at the keyboard and the mouse, through the system's input queue: the input
// goes where the focus (the pointer) really is, through the message loop's translation,
// and a DirectInput keyboard sees it.

// A key going down or up, with its scan code from the keyboard layout.
void SendKey(WORD vk, bool up, bool extended = false);
// A key typed: down, then up.
void TypeKey(WORD vk, bool extended = false);
// A click at a point of a window's client area (the window must not be covered): left,
// right, or a left double click (two clicks within the double-click time).
enum class Click { Left, Right, Double };
void ClickAt(HWND hwnd, POINT client, Click kind = Click::Left);
// On another thread: waits for a pop-up menu to show (the thread that opens it is in the
// menu's loop meanwhile and must not wait for this), then closes it with Esc as the user
// types it. Get is true when a menu came and went within timeoutMs.
Async<bool> EscapePopupMenuAsync(DWORD timeoutMs);
// The mouse moved (no button) to a point of a window's client area, as the user moves it.
void MoveMouseTo(HWND hwnd, POINT client);
// The window with the focus in the thread of window w (of any process of the session).
HWND FocusInThreadOf(HWND w);
// The user switching to another window and back, as with Alt+Tab: a window of this
// process takes the foreground, then the top-level window `back` is activated again.
// whileAway runs while the other window is active; pump handles this thread's messages
// meanwhile (null: as WaitUntil pumps). False when an activation did not happen within
// timeoutMs.
bool SwitchAwayAndBack(HWND back, DWORD timeoutMs, const std::function<void()>& pump = nullptr,
                       const std::function<void()>& whileAway = nullptr);

// The window text (title of a top-level window, text of a control).
std::string WindowText(HWND hwnd);
std::string ClassName(HWND hwnd);

// A visible top-level window of process pid (0: any process) whose class is
// className and whose title is title (an empty string matches anything).
// Nullptr when none appeared within timeoutMs. Does not pump messages: call it
// from a thread that is not needed for the window to appear, or pump yourself.
HWND FindTopLevelWindow(DWORD pid, const std::string& className, const std::string& title, DWORD timeoutMs);
// Every top-level window of the process (visible or not).
std::vector<HWND> TopLevelWindows(DWORD pid);

// A message box (dialog class "#32770"): title, text (its static text child)
// and the captions and ids of its buttons.
struct MessageBoxInfo {
    HWND hwnd = nullptr;
    std::string title;
    std::string text;
    std::vector<std::string> buttons;
    std::vector<int> buttonIds;
    bool hasIcon = false;
};
MessageBoxInfo ReadMessageBox(HWND box);
// Finds the next message box of pid (0: any) within timeoutMs (hwnd null when none).
MessageBoxInfo WaitForMessageBox(DWORD pid, DWORD timeoutMs);
// Presses the button with this id (IDOK, IDYES, IDNO...) of a dialog.
bool PressButton(HWND dialog, int id);
// On another thread: waits for a message box of this process, reads it, presses
// the button and hands back what it read (hwnd null when none came in time).
// For boxes that the calling thread shows itself.
Async<MessageBoxInfo> AnswerMessageBoxAsync(int buttonId, DWORD timeoutMs);

// A program started by a test.
class ChildProcess {
public:
    // commandLine is passed as is (quote the program path yourself).
    bool Start(const std::string& commandLine, const std::string& workingDir = "");
    DWORD Pid() const { return m_pid; }
    HANDLE Handle() const { return m_process.Get(); }
    // True when it ended within timeoutMs; its exit code in exitCode.
    bool WaitForExit(DWORD timeoutMs, DWORD& exitCode);
    bool Running() const;
    // Ends it if it still runs (only our own child).
    void Terminate();
    ~ChildProcess() { Terminate(); }

private:
    UniqueHandle m_process;
    DWORD m_pid = 0;
};

// A string value of HKEY_CURRENT_USER\<subKey>; false when there is none.
bool ReadUserRegString(const std::string& subKey, const std::string& name, std::string& value);
// Deletes HKEY_CURRENT_USER\<subKey> with everything below it.
void DeleteUserRegTree(const std::string& subKey);
// Deletes one value of HKEY_CURRENT_USER\<subKey>.
void DeleteUserRegValue(const std::string& subKey, const std::string& name);

// An environment variable ("" when unset).
std::string Env(const char* name);

// Saves what the window shows as a 24-bit picture, written as PNG when the path
// ends in ".png", else as BMP. fromScreen copies the window's rectangle off the
// screen (what is really on the display; the window must not be covered);
// otherwise PrintWindow asks the window to draw itself, which under Wine gives
// only the client area's background, without frame or child controls.
bool SaveScreenshot(HWND hwnd, const std::string& path, bool fromScreen = true);
// The pixel at client coordinates (x, y) of the window as it is on the screen.
COLORREF ScreenPixel(HWND hwnd, int x, int y);

}  // namespace winsupport
