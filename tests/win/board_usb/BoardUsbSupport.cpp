#include "BoardUsbSupport.h"

#include <shellapi.h>

#include <fstream>

#include "core/Globals.h"
#include "core/QbcFile.h"
#include "programming/Download.h"

namespace BoardUsb {

namespace {

class Handle {
public:
    explicit Handle(HANDLE h = nullptr) : m_h(h == INVALID_HANDLE_VALUE ? nullptr : h) {}
    ~Handle() {
        if (m_h) CloseHandle(m_h);
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    HANDLE Get() const { return m_h; }
    explicit operator bool() const { return m_h != nullptr; }

private:
    HANDLE m_h;
};

class ServiceHandle {
public:
    explicit ServiceHandle(SC_HANDLE h) : m_h(h) {}
    ~ServiceHandle() {
        if (m_h) CloseServiceHandle(m_h);
    }
    ServiceHandle(const ServiceHandle&) = delete;
    ServiceHandle& operator=(const ServiceHandle&) = delete;
    SC_HANDLE Get() const { return m_h; }

private:
    SC_HANDLE m_h;
};

void DeleteTree(const std::string& path) {
    WIN32_FIND_DATAA fd;
    HANDLE find = FindFirstFileA((path + "\\*").c_str(), &fd);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = fd.cFileName;
            if (name == "." || name == "..") continue;
            const std::string full = path + "\\" + name;
            if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                DeleteTree(full);
            } else {
                SetFileAttributesA(full.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileA(full.c_str());
            }
        } while (FindNextFileA(find, &fd));
        FindClose(find);
    }
    RemoveDirectoryA(path.c_str());
}

void CopyFolderFiles(const std::string& from, const std::string& to) {
    CreateDirectoryA(to.c_str(), nullptr);
    WIN32_FIND_DATAA fd;
    HANDLE find = FindFirstFileA((from + "\\*").c_str(), &fd);
    if (find == INVALID_HANDLE_VALUE) return;
    do {
        if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
        CopyFileA((from + "\\" + fd.cFileName).c_str(), (to + "\\" + fd.cFileName).c_str(), FALSE);
    } while (FindNextFileA(find, &fd));
    FindClose(find);
}

bool CallServerExport(const std::string& path, const char* exportName) {
    HMODULE module = LoadLibraryA(path.c_str());
    if (!module) return false;
    using Register = HRESULT(STDAPICALLTYPE*)();
    auto reg = reinterpret_cast<Register>(reinterpret_cast<void*>(GetProcAddress(module, exportName)));
    const bool ok = reg && SUCCEEDED(reg());
    FreeLibrary(module);
    return ok;
}

bool RegisterServer(const std::string& path) { return CallServerExport(path, "DllRegisterServer"); }

Handle OpenDevice() {
    return Handle(CreateFileA("\\\\.\\USBTrellis", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
}

struct FindData {
    DWORD pid;
    bool mustBeVisible;
    HWND found;
};

BOOL CALLBACK FindDownloading(HWND hwnd, LPARAM lp) {
    auto* d = reinterpret_cast<FindData*>(lp);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if (pid != d->pid) return TRUE;
    char text[64] = {};
    GetWindowTextA(hwnd, text, sizeof text);
    if (std::string(text) != "Keyloom - Downloading") return TRUE;
    if (d->mustBeVisible && !IsWindowVisible(hwnd)) return TRUE;
    d->found = hwnd;
    return FALSE;
}

}  // namespace

std::string EnvPath(const char* name) {
    char buf[MAX_PATH * 2] = {};
    const DWORD n = GetEnvironmentVariableA(name, buf, sizeof buf);
    return std::string(buf, n < sizeof buf ? n : 0);
}

ProgramFolder::ProgramFolder(const std::string& name, bool withInstaller) {
    const std::string build = EnvPath("KL_BUILD_DIR");
    const std::string program = EnvPath("KL_PROGRAM_DIR");
    const std::string root = build + "\\board_usb";
    CreateDirectoryA(root.c_str(), nullptr);
    m_path = root + "\\" + name;
    DeleteTree(m_path);
    CreateDirectoryA(m_path.c_str(), nullptr);
    CopyFileA((program + "\\keyloom.exe").c_str(), File("keyloom.exe").c_str(), FALSE);
    CopyFileA((program + "\\tamrin.ocx").c_str(), File("tamrin.ocx").c_str(), FALSE);
    CopyFolderFiles(program + "\\Templates", File("Templates"));
    if (withInstaller) {
        CopyFileA((build + "\\tests\\qimload.dll").c_str(), File("qimload.dll").c_str(), FALSE);
        CopyFileA((build + "\\tests\\trellissim.sys").c_str(), File("trellissim.sys").c_str(), FALSE);
    }
    // The programming window cannot exist without its registered control.
    RegisterServer(File("tamrin.ocx"));
}

ProgramFolder::~ProgramFolder() { CallServerExport(File("tamrin.ocx"), "DllUnregisterServer"); }

void ProgramFolder::WriteSettings(int boardType, bool usb, long timeoutMs) const {
    std::ofstream out(File("Keyloom.cfg"), std::ios::binary | std::ios::trunc);
    out << "[BOARD TYPE] " << boardType << "\r\n"
        << "[USB MODE] " << (usb ? "True" : "False") << "\r\n"
        << "[DOWNLOAD SPEED] 100\r\n"
        << "[TIMEOUT] " << timeoutMs << "\r\n";
}

void ProgramFolder::RemoveInstaller() const { DeleteFileA(File("qimload.dll").c_str()); }

namespace Service {

bool Running() {
    ServiceHandle manager(OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS));
    if (!manager.Get()) return false;
    ServiceHandle service(OpenServiceA(manager.Get(), "TrellisSim", SERVICE_QUERY_STATUS));
    if (!service.Get()) return false;
    SERVICE_STATUS status{};
    return QueryServiceStatus(service.Get(), &status) && status.dwCurrentState == SERVICE_RUNNING;
}

bool Remove() {
    ServiceHandle manager(OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS));
    if (!manager.Get()) return false;
    ServiceHandle service(OpenServiceA(manager.Get(), "TrellisSim", SERVICE_ALL_ACCESS));
    if (!service.Get()) return !Device::Present();
    SERVICE_STATUS status{};
    ControlService(service.Get(), SERVICE_CONTROL_STOP, &status);
    const DWORD end = GetTickCount() + 15000;
    while (QueryServiceStatus(service.Get(), &status) && status.dwCurrentState != SERVICE_STOPPED) {
        if (static_cast<LONG>(GetTickCount() - end) >= 0) return false;
        Sleep(20);
    }
    DeleteService(service.Get());
    // The device goes with the driver's unload.
    const DWORD gone = GetTickCount() + 5000;
    while (Device::Present()) {
        if (static_cast<LONG>(GetTickCount() - gone) >= 0) return false;
        Sleep(20);
    }
    return true;
}

}  // namespace Service

bool Device::Present() { return static_cast<bool>(OpenDevice()); }

bool Device::WaitPresent(DWORD timeoutMs) {
    const DWORD end = GetTickCount() + timeoutMs;
    while (!Present()) {
        if (static_cast<LONG>(GetTickCount() - end) >= 0) return false;
        Sleep(20);
    }
    return true;
}

bool Device::Reset() {
    Handle h = OpenDevice();
    DWORD n = 0;
    return h && DeviceIoControl(h.Get(), TrellisSim::kIoctlReset, nullptr, 0, nullptr, 0, &n, nullptr);
}

bool Device::Configure(const TrellisSim::Config& config) {
    Handle h = OpenDevice();
    DWORD n = 0;
    TrellisSim::Config c = config;
    return h && DeviceIoControl(h.Get(), TrellisSim::kIoctlConfigure, &c, sizeof c, nullptr, 0, &n, nullptr);
}

std::optional<TrellisSim::Record> Device::Read() {
    Handle h = OpenDevice();
    if (!h) return std::nullopt;
    TrellisSim::Record r{};
    DWORD n = 0;
    if (!DeviceIoControl(h.Get(), TrellisSim::kIoctlReadRecord, nullptr, 0, &r, sizeof r, &n, nullptr) ||
        n != sizeof r)
        return std::nullopt;
    return r;
}

Program::Program(const ProgramFolder& folder, const std::string& arguments,
                 const std::vector<std::pair<std::string, std::string>>& environment) {
    for (const auto& [name, value] : environment) SetEnvironmentVariableA(name.c_str(), value.c_str());
    std::string command = "\"" + folder.File("keyloom.exe") + "\" " + arguments;
    std::vector<char> line(command.begin(), command.end());
    line.push_back('\0');
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.Path().c_str(), &si, &pi)) {
        CloseHandle(pi.hThread);
        m_process = pi.hProcess;
        m_pid = pi.dwProcessId;
    }
    for (const auto& [name, value] : environment) SetEnvironmentVariableA(name.c_str(), nullptr);
}

Program::~Program() {
    if (!m_process) return;
    if (WaitForSingleObject(m_process, 0) == WAIT_TIMEOUT) {
        TerminateProcess(m_process, 99);
        WaitForSingleObject(m_process, 5000);
    }
    CloseHandle(m_process);
}

std::optional<DWORD> Program::Wait(DWORD timeoutMs) {
    if (!m_process || WaitForSingleObject(m_process, timeoutMs) != WAIT_OBJECT_0) return std::nullopt;
    DWORD code = 0;
    GetExitCodeProcess(m_process, &code);
    return code;
}

HWND Program::WaitForWindow(DWORD timeoutMs, bool mustBeVisible) {
    const DWORD end = GetTickCount() + timeoutMs;
    for (;;) {
        FindData d{m_pid, mustBeVisible, nullptr};
        EnumWindows(&FindDownloading, reinterpret_cast<LPARAM>(&d));
        if (d.found) return d.found;
        if (static_cast<LONG>(GetTickCount() - end) >= 0) return nullptr;
        if (m_process && WaitForSingleObject(m_process, 20) == WAIT_OBJECT_0) return nullptr;
    }
}

std::string StatusText(HWND downloadingWindow) {
    HWND label = GetDlgItem(downloadingWindow, 101);
    if (!label) return {};
    char text[512] = {};
    GetWindowTextA(label, text, sizeof text);
    return text;
}

bool WaitForStatus(HWND downloadingWindow, const std::string& text, DWORD timeoutMs) {
    const DWORD end = GetTickCount() + timeoutMs;
    while (StatusText(downloadingWindow) != text) {
        if (static_cast<LONG>(GetTickCount() - end) >= 0) return false;
        Sleep(20);
    }
    return true;
}

bool StartBoard(const ProgramFolder& folder) {
    if (Device::Present()) return true;
    std::string command = "\"" + folder.File("qimload.dll") + "\"";
    std::vector<char> line(command.begin(), command.end());
    line.push_back('\0');
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return false;
    CloseHandle(pi.hThread);
    WaitForSingleObject(pi.hProcess, 30000);
    CloseHandle(pi.hProcess);
    return Device::WaitPresent(10000);
}

std::vector<std::vector<std::uint8_t>> ExpectedPages(const std::string& qbcPath, int boardType, bool ramOnly) {
    g_typeQuorba = static_cast<std::int16_t>(boardType);
    g_fRamOnly = ramOnly;
    g_fCommandLineMode = true;
    QbcFile::InitSwiOrderTables();
    QbcFile::LoadQbcFile(qbcPath);
    QbcFile::KeyArray ab12{}, ab34{};
    QbcFile::TextArray texts{};
    QbcFile::BuildAssignmentArrays(g_typeQuorba, ab12, ab34, texts);
    std::vector<std::vector<std::uint8_t>> pages;
    pages.push_back(Download::FillArray(ab12, 0));
    if (boardType == TYPEQUORBA_Quorba4) pages.push_back(Download::FillArray(ab34, 1));
    return pages;
}

}  // namespace BoardUsb
