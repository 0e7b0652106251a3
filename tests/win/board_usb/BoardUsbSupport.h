#pragma once
// What the end-to-end tests of programming a USB board need around keyloom.exe: a copy
// of the program folder (with or without the stand-in driver installer), the simulated
// board's service and device, and running the program with a bounded wait.
#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "sim_driver/TrellisSim.h"

namespace BoardUsb {

// A folder of the build (Windows path) from the environment the test runner sets.
std::string EnvPath(const char* name);

// A private copy of the build's program folder: keyloom.exe, tamrin.ocx (registered from
// the copy) and the templates; with the installer, also "qimload.dll" and trellissim.sys.
class ProgramFolder {
public:
    ProgramFolder(const std::string& name, bool withInstaller);
    // Unregisters the folder's control again: its registration installs the port driver as
    // a service started at boot, which a later restart of Wine's services in this shared
    // session would start under the next test programs.
    ~ProgramFolder();
    ProgramFolder(const ProgramFolder&) = delete;
    ProgramFolder& operator=(const ProgramFolder&) = delete;
    const std::string& Path() const { return m_path; }
    std::string File(const std::string& name) const { return m_path + "\\" + name; }
    // Writes Keyloom.cfg: board type, USB connection, timeout in ms.
    void WriteSettings(int boardType, bool usb, long timeoutMs) const;
    void RemoveInstaller() const;

private:
    std::string m_path;
};

// The simulated board's kernel service "TrellisSim".
namespace Service {
// Stops it (the device goes away) and removes it; true when it is gone.
bool Remove();
bool Running();
}  // namespace Service

// The simulated board's device, opened by the test itself.
class Device {
public:
    static bool Present();
    // Waits (bounded) until the device can be opened.
    static bool WaitPresent(DWORD timeoutMs);
    static bool Reset();
    static bool Configure(const TrellisSim::Config& config);
    static std::optional<TrellisSim::Record> Read();
};

// keyloom.exe of a folder, started with the arguments.
class Program {
public:
    Program(const ProgramFolder& folder, const std::string& arguments,
            const std::vector<std::pair<std::string, std::string>>& environment = {});
    ~Program();
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;
    bool Started() const { return m_process != nullptr; }
    // The exit code, or empty when the program did not end within the time.
    std::optional<DWORD> Wait(DWORD timeoutMs);
    // The programming window of this process ("Keyloom - Downloading"), waited for.
    HWND WaitForWindow(DWORD timeoutMs, bool mustBeVisible);
    DWORD ProcessId() const { return m_pid; }

private:
    HANDLE m_process = nullptr;
    DWORD m_pid = 0;
};

// The status line (lblStatus) of a programming window: its window text.
std::string StatusText(HWND downloadingWindow);
// Waits until the status line shows the text.
bool WaitForStatus(HWND downloadingWindow, const std::string& text, DWORD timeoutMs);

// The pages a run must send for the file on that board type, built by the program's own
// code: the file loaded as keyloom.exe loads it, then the download arrays.
std::vector<std::vector<std::uint8_t>> ExpectedPages(const std::string& qbcPath, int boardType, bool ramOnly = false);

// Starts the simulated board the way the program's driver start-up does: the folder's
// stand-in installer, then a bounded wait for the device.
bool StartBoard(const ProgramFolder& folder);

}  // namespace BoardUsb
