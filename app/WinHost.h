#pragma once
// The Windows program around the pure logic: the host (message boxes, the trace
// window, the main window's refresh, pauses, event pumping, the program folder,
// ending the program), the windows that start-up places and shows, and the main
// window as the programming window sees it. This is the one place that knows every
// layer; the layers below reach what lies above them only through what it installs.
#include <optional>

#include "core/MainStartup.h"
#include "core/Registry_win.h"  // windows.h: before Host.h, which drops its MessageBox macro
#include "core/Host.h"
#include "programming/frmDownloading.h"

class WinHost final : public IHost {
public:
    int MessageBox(const std::string& text, unsigned flags, const std::string& title) override;
    void TraceLine(const std::string& line) override;
    void ShowTraceWindow() override;
    void UpdateSwiBindings(int swi) override;
    void SleepMs(long ms) override;
    void DoEvents() override;
    std::string AppPath() override;
    void EndProgram(int exitCode) override;
};

// frmMain, frmOptions, frmDownloading and Download::ProgramBoard for MainStartup.
class WinStartupWindows final : public MainStartup::IStartupWindows {
public:
    std::string CommandLine() override;
    Registry_::IWindowPlacement& MainWindow() override;
    Registry_::IWindowPlacement& DownloadingWindow() override;
    void ShowMainWindow() override;
    void ShowOptionsDialog() override;
    void ShowDownloadingWindow() override;
    void ProgramBoard() override;
    void WorkingKeyFileUnread(const std::string& sPath, const std::string& sWhy) override;

private:
    std::optional<Registry_::FormPlacement> m_main, m_downloading;
};

// The editor's frmMain for the programming window: its frame for centring and its
// status line for the status copy.
class WinMainWindowLink final : public forms::IMainWindowLink {
public:
    Frame MainWindowFrame() override;
    void SetMainStatus(const std::string& sText) override;
};

// Installs everything of the Windows program that the logic reaches through its
// seams: the host, the file system, the registry, the DirectInput keyboard, the
// programming window and its link to the main window, the main window as the shell's
// last owner, the status line of runtime errors, and the start-up windows. Called
// once by WinMain (and by tests of the whole program).
void InstallWindowsProgram();
