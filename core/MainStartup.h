#pragma once
// The program's start: defaults, the settings file, the switch orders, editor or
// command-line mode from the command line, the switches, the first window, the
// key-assignment file, then the editor or an unattended programming run.
//
// The windows that start-up places and shows sit behind IStartupWindows, so the
// whole procedure runs in tests without any window; message boxes, pauses and
// ending the program go through the host (core/Host.h).
#include <string>
#include <vector>

#include "core/Registry_.h"

namespace MainStartup {

// The maker's web address, at the end of start-up's message-box titles.
inline constexpr const char* kWebAddress = "www.keyloom.example";
// "Keyloom - " and the web address.
std::string MessageTitle();

class IStartupWindows {
public:
    virtual ~IStartupWindows() = default;
    // The program's argument text, as received (not trimmed).
    virtual std::string CommandLine() = 0;
    // The main window (frmMain), loaded hidden by this call if it is not loaded.
    virtual Registry_::IWindowPlacement& MainWindow() = 0;
    // The programming window (frmDownloading), loaded by this call if needed.
    virtual Registry_::IWindowPlacement& DownloadingWindow() = 0;
    // Shows the main window, modeless.
    virtual void ShowMainWindow() = 0;
    // Shows the options dialog modally over the main window (first run).
    virtual void ShowOptionsDialog() = 0;
    // Shows the programming window, modeless.
    virtual void ShowDownloadingWindow() = 0;
    // Download::ProgramBoard.
    virtual void ProgramBoard() = 0;
    // The editor's working key file is there but could not be read (sWhy): the editor
    // tells the user and must not write over the file without asking.
    virtual void WorkingKeyFileUnread(const std::string& sPath, const std::string& sWhy) = 0;
};
// Installs the windows (not owned); nullptr restores a stand-in without windows.
void SetStartupWindows(IStartupWindows* windows);

// The start procedure. Returns when the program runs on window events, or at once
// after the host was asked to end the program (usage text, missing file).
void Main();

// The usage text of both modes (the current mode's block first), with sError as
// its first line when not empty and the command line at the end when not empty.
std::string UsageText(const std::string& sError, const std::string& sCommandLine);
// Shows the usage text and ends the program with ExitCodes::kExitUsage.
void ShowUsageAndEnd(const std::string& sError);

// Sets g_fCommandLineMode from the first switch text found in sCmd (see the
// order in the source); no hit leaves it as it is.
void DetectCommandLineMode(const std::string& sCmd);
// True when sCmd holds "/DEBUGGUI" (any case) or "DebugMeNow.txt" lies in the
// program folder.
bool DetectDebugGui(const std::string& sCmd);

// The command line cut at every "/": the file name (trimmed, one quote removed
// at each end) and the switch pieces as typed.
struct SplitCommandLine {
    std::string sFileName;
    std::vector<std::string> switches;
};
SplitCommandLine Split(const std::string& sCmd);

}  // namespace MainStartup
