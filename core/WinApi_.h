#pragma once
// The few direct Windows calls that the windows and the programming code need
// beyond the window layer: where the mouse cursor is, a pause, an immediate
// repaint, a warning sound, and opening a document or web address with the shell.
// None of them reports errors: the results of the system calls are not examined.
// Windows build only (kl_win).
#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>

namespace platform {
class Window;
}

namespace WinApi_ {

// The cursor position in pixels relative to the window's client area.
void GetCursorPosInClient(HWND hwnd, std::int32_t& x, std::int32_t& y);
// True when the cursor lies inside the rectangle given in twips relative to the
// window's client area: left and top edges inside, right and bottom edges outside.
// Both directions are converted with the horizontal twips-per-pixel value.
bool IsCursorInRect(HWND hwnd, float left, float top, float width, float height);
// The same test on a cursor position already in client pixels.
bool IsPointInTwipsRect(std::int32_t x, std::int32_t y, const RECT& client, float left, float top, float width,
                        float height, float twipsPerPixel);
// Blocks the whole program for that long: nothing is painted, no event is handled.
void SleepMs(std::int32_t ms);
// Does the window's pending painting at once.
void UpdateFormWindow(platform::Window& frm);
// MessageBeep with that sound type (MB_ICONEXCLAMATION 48: the warning sound).
void Beep(std::int32_t soundType);
// Opens a file or web address with the shell ("open", shown normally). Owner 0
// means the program's active window, or the main window when none is active.
void ShellOpen(const std::string& sFile, HWND owner);
// Starts a program with a normal, focused window from a whole command line (quote a path
// with blanks yourself) and returns its process id. A start the system refuses raises
// Error_::RuntimeError numbered as the program's runtime does (53 file not found, 76 path
// not found, 70 permission denied, 5 otherwise).
std::uint32_t StartProgram(const std::string& sCommandLine);
// The owner ShellOpen uses for the given one.
HWND ShellOwner(HWND owner);
// Where ShellOwner finds the main window when no window is active: the main window
// lives above this layer, so the program installs it. Without one (an empty function)
// the last fallback is no owner at all.
void SetMainWindowProvider(std::function<HWND()> provider);

}  // namespace WinApi_
