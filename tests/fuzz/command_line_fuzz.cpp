// The start-up's command line: any text, through the whole start procedure with
// recording stand-ins for the windows and the host. Start-up must end in exactly
// one of its outcomes, and its waits must stay within the allowed range.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/ExitCodes.h"
#include "core/Globals.h"
#include "core/Host.h"
#include "core/MainStartup.h"

namespace {

class FuzzHost final : public IHost {
public:
    int boxes = 0;
    int ends = 0;
    int lastEnd = -1;
    int MessageBox(const std::string&, unsigned, const std::string&) override { return ++boxes, 1; }
    void SleepMs(long ms) override {
        if (ms <= 0 || ms > 60000) std::abort();
    }
    // A folder that does not exist: no settings file, no working file.
    std::string AppPath() override { return "kl-fuzz-no-such-folder"; }
    void EndProgram(int code) override { ++ends, lastEnd = code; }
};

class Placement final : public Registry_::IWindowPlacement {
public:
    float Left() override { return 0; }
    float Top() override { return 0; }
    float Width() override { return 5400; }
    float Height() override { return 1500; }
    bool Visible() override { return false; }
    int WindowState() override { return 0; }
    void Move(float, float) override {}
    void Move(float, float, float, float) override {}
};

class Windows final : public MainStartup::IStartupWindows {
public:
    std::string cmd;
    int shows = 0;
    int programs = 0;
    Placement p;
    std::string CommandLine() override { return cmd; }
    Registry_::IWindowPlacement& MainWindow() override { return p; }
    Registry_::IWindowPlacement& DownloadingWindow() override { return p; }
    void ShowMainWindow() override { ++shows; }
    void ShowOptionsDialog() override {}
    void ShowDownloadingWindow() override { ++shows; }
    void ProgramBoard() override { ++programs; }
    void WorkingKeyFileUnread(const std::string&, const std::string&) override {}
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzHost host;
    Windows windows;
    windows.cmd.assign(reinterpret_cast<const char*>(data), size);
    SetHost(&host);
    MainStartup::SetStartupWindows(&windows);
    g_fCommandLineMode = false;
    g_fShowUserText = false;
    g_fRamOnly = false;

    MainStartup::Main();

    MainStartup::SetStartupWindows(nullptr);
    SetHost(nullptr);

    if (host.ends > 1) std::abort();
    if (host.ends == 1) {
        // Ended: one box, nothing programmed, the editor not shown at the end.
        if (host.boxes != 1 || windows.programs != 0) std::abort();
        if (host.lastEnd != ExitCodes::kExitUsage && host.lastEnd != ExitCodes::kExitFileNotFound) std::abort();
    } else {
        // Ran on without a box: the editor shown, or the programming window shown
        // and one programming run started.
        if (host.boxes != 0) std::abort();
        if (g_fCommandLineMode ? windows.programs != 1 : windows.programs != 0 || windows.shows < 1) std::abort();
    }
    return 0;
}
