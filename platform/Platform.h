#pragma once
// The program-wide part of our thin layer over Win32: screen geometry in twips,
// the program folder and command line, message boxes, event pumping, the message
// loop and ending the program.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>

namespace platform {

constexpr float kTwipsPerInch = 1440.0f;

// Twips per screen pixel (15 at 96 dpi).
float TwipsPerPixelX();
float TwipsPerPixelY();
int ToPixelsX(float twips);
int ToPixelsY(float twips);
float FromPixelsX(int pixels);
float FromPixelsY(int pixels);

// Colours as the system keeps them: 0x00BBGGRR, or a system colour role 0x800000nn.
COLORREF ResolveColor(COLORREF c);
constexpr COLORREF kSysButtonFace = 0x8000000F;
constexpr COLORREF kSysButtonText = 0x80000012;
constexpr COLORREF kSysWindow = 0x80000005;
constexpr COLORREF kSysWindowText = 0x80000008;

namespace Screen {
float Width();   // twips
float Height();  // twips
// Program-wide mouse pointer: 0 default, 11 hourglass, 13 arrow and hourglass.
void SetMousePointer(int pointer);
int MousePointer();
}  // namespace Screen

namespace App {
// Folder of keyloom.exe without a trailing backslash.
std::string Path();
// The arguments as typed after the program name (not trimmed).
std::string CommandLine();
std::string Title();
HINSTANCE Instance();
}  // namespace App

// MessageBoxA owned by the active window of the program (or none). Returns IDOK, IDYES...
int MsgBox(const std::string& prompt, unsigned flags, const std::string& title);

// Handles every pending window event, then returns (re-entrant).
void DoEvents();

// Runs the message loop until PostQuitMessage or until no form is loaded any more.
// Returns the exit code.
int RunMessageLoop();

// Ends the program with the exit code, at once. Tests may install a handler that
// records the call instead (the handler must not return into code that expects
// the program to be gone; throwing is fine).
[[noreturn]] void End(int exitCode);
void SetEndHandler(std::function<void(int)> handler);

// Which handler an error escaped from: one of our objects (a window, a timer), the message
// it was handling and, where one message serves several handlers (menu commands, the
// notifications of controls), which of them. An empty source stands for one not known.
struct EscapedErrorSource {
    const void* object = nullptr;
    unsigned message = 0;
    std::uintptr_t which = 0;
};

// The safety net at the dispatch boundary: called inside a catch block when an exception
// has escaped an event handler. Traces it (through the trace set below) and shows it in a
// message box; the program goes on with the next event. A handler that fails again is
// traced only: a paint or a timer that fails every time would otherwise open box after box
// as soon as the user closes one. A report that comes while the box of an earlier one is
// open is traced only too.
void ReportEscapedError(const EscapedErrorSource& source = {});
// Forgets the handlers of an object that goes away: another may come at its address.
void ForgetEscapedErrors(const void* object);
// Where those reports are traced (an empty function: nowhere).
void SetEscapedErrorTrace(std::function<void(const std::string&)> trace);

// Objects whose deletion must wait until no event handler of theirs is running:
// they are released when the outermost event dispatch has returned.
void DeferDelete(std::function<void()> release);
void RunDeferredDeletes();
int DispatchDepth();
// Marks code that runs on behalf of a window (event handlers, Unload): deferred
// deletions wait until the outermost scope has ended.
class DispatchScope {
public:
    DispatchScope();
    ~DispatchScope();
    DispatchScope(const DispatchScope&) = delete;
    DispatchScope& operator=(const DispatchScope&) = delete;
};

// Internal: counts loaded forms for RunMessageLoop.
void NoteFormLoaded(bool loaded);
int LoadedFormCount();

// The system's file dialog. `filter` is written as "Description|*.ext|..."; the result is
// the chosen path, empty when the user cancelled. Tests replace the dialog with a handler
// (an empty function restores the real dialog).
struct FileDialogRequest {
    bool save = false;
    std::string filter;
    std::string fileName;  // proposed name
    HWND owner = nullptr;
};
std::string ShowFileDialog(const FileDialogRequest& request);
// The dialog's flags: an open dialog takes only a file that exists; a save dialog asks
// nothing about a file that exists (the program's own saves replace it).
DWORD FileDialogFlags(bool save);
void SetFileDialogHandler(std::function<std::string(const FileDialogRequest&)> handler);

}  // namespace platform
