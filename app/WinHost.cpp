#include "app/WinHost.h"

#include "core/Error_.h"
#include "core/KeyTables_win.h"
#include "core/Trace_.h"
#include "core/Trace_frmTrace.h"
#include "core/Util.h"
#include "core/WinApi_.h"
#include "editor/frmMain.h"
#include "editor/frmOptions.h"
#include "platform/Platform.h"
#include "programming/Download.h"
#include "programming/ProgressCallback.h"

int WinHost::MessageBox(const std::string& text, unsigned flags, const std::string& title) {
    return platform::MsgBox(text, flags, title);
}

void WinHost::TraceLine(const std::string& line) { ::Trace_frmTrace->Trace(line); }

void WinHost::ShowTraceWindow() { ::Trace_frmTrace->Show(false); }

void WinHost::UpdateSwiBindings(int swi) {
    // Only a main window that is there: a late refresh during shut-down must not
    // bring the editor back.
    if (forms::frmMain* main = ::frmMain.Peek(); main && main->IsLoaded()) main->UpdateSwiBindings(swi);
}

void WinHost::SleepMs(long ms) { WinApi_::SleepMs(static_cast<std::int32_t>(ms)); }

void WinHost::DoEvents() { platform::DoEvents(); }

std::string WinHost::AppPath() { return platform::App::Path(); }

void WinHost::EndProgram(int exitCode) { platform::End(exitCode); }

std::string WinStartupWindows::CommandLine() { return platform::App::CommandLine(); }

Registry_::IWindowPlacement& WinStartupWindows::MainWindow() {
    m_main.emplace(*::frmMain);
    return *m_main;
}

Registry_::IWindowPlacement& WinStartupWindows::DownloadingWindow() {
    m_downloading.emplace(*::frmDownloading);
    return *m_downloading;
}

void WinStartupWindows::ShowMainWindow() {
    forms::frmMain& main = *::frmMain;
    // On screen at once, without a pass that erases every control's background before the
    // paint: each control is erased and painted in one go.
    if (main.Hwnd() && !IsWindowVisible(main.Hwnd()))
        SetWindowPos(main.Hwnd(), HWND_TOP, 0, 0, 0, 0, SWP_SHOWWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_DEFERERASE);
    main.Show(false);
}

void WinStartupWindows::ShowOptionsDialog() { ::frmOptions->Show(true, &*::frmMain); }

void WinStartupWindows::ShowDownloadingWindow() { ::frmDownloading->Show(false); }

void WinStartupWindows::ProgramBoard() { Download::ProgramBoard(); }

void WinStartupWindows::WorkingKeyFileUnread(const std::string& /*sPath*/, const std::string& sWhy) {
    ::frmMain->WorkingFileUnread(forms::frmMain::WorkingFile::Keys, sWhy);
}

forms::IMainWindowLink::Frame WinMainWindowLink::MainWindowFrame() {
    forms::frmMain& main = *::frmMain;
    return {main.Left(), main.Top(), main.Width(), main.Height()};
}

void WinMainWindowLink::SetMainStatus(const std::string& sText) {
    if (forms::frmMain* main = ::frmMain.Peek(); main && main->IsLoaded()) main->lblStatus.SetCaption(sText);
}

void InstallWindowsProgram() {
    static WinHost host;
    static WinStartupWindows windows;
    static WinMainWindowLink mainWindowLink;
    const auto mainWindowHwnd = []() -> HWND { return ::frmMain->Hwnd(); };
    SetHost(&host);
    Util::InstallWin32FileSystem();
    Registry_::InstallWin32Registry();
    KeyTables::UseDirectInputKeyboard(mainWindowHwnd);
    WinApi_::SetMainWindowProvider(mainWindowHwnd);
    Error_::SetStatusSink(ProgressCallback::ProgressMessage);
    platform::SetEscapedErrorTrace([](const std::string& sText) { Trace_::Trace("Event handler", sText); });
    forms::SetMainWindowLink(&mainWindowLink);
    forms::InstallProgrammingWindow();
    MainStartup::SetStartupWindows(&windows);
}
