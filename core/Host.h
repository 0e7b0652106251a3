#pragma once
// What the pure logic needs from the program around it: message boxes, the trace
// window, the main window's refresh, pauses and event pumping, ending the program.
// The Windows program installs its own host at start; tests install fakes. Every
// method has a harmless default, so a fake overrides only what it watches.
#include <string>

// windows.h defines MessageBox as a macro (MessageBoxA). The method below must keep its
// name in every file, or a Win32 file that includes windows.h first would see another
// class than the rest of the program; so the macro goes. Win32 code calls ::MessageBoxA.
#ifdef MessageBox
#undef MessageBox
#endif

class IHost {
public:
    virtual ~IHost() = default;
    // Message box; flags are the usual MB_* bit values (MB_ICONHAND 16, MB_ICONINFORMATION 64...).
    // Returns the button pressed (IDOK 1, IDCANCEL 2, IDYES 6, IDNO 7).
    virtual int MessageBox(const std::string& text, unsigned flags, const std::string& title);
    // One finished trace line ("place:  message") for the trace window.
    virtual void TraceLine(const std::string& line);
    // Shows the trace window, modeless (loading it first if needed).
    virtual void ShowTraceWindow();
    // Refresh every view of one input (-1: all) in the main window.
    virtual void UpdateSwiBindings(int swi);
    // Blocks the whole program for that long.
    virtual void SleepMs(long ms);
    // Handles pending window events, then returns.
    virtual void DoEvents();
    // Folder of the running program, without a trailing backslash.
    virtual std::string AppPath();
    // Ends the program with the exit code; does not return in the real program.
    virtual void EndProgram(int exitCode);
};

// The host in use (a default one that does nothing until SetHost is called).
IHost& Host();
// Installs a host (not owned; it must outlive its use). nullptr restores the default.
void SetHost(IHost* host);
