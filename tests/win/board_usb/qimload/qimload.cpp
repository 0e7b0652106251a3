// A stand-in for the board's driver installer, for the end-to-end tests only. Placed as
// "qimload.dll" in a copy of the program folder, it does what the real installer does for
// the program: it makes the board's device openable. Here that means installing the
// simulated board driver (trellissim.sys from its own folder) as a demand-start kernel
// service "TrellisSim" and starting it.
//
// KL_QIMLOAD_MODE=idle in the environment makes it end at once without installing
// anything (a device that never appears).
#include <windows.h>

#include <string>

namespace {

std::string OwnFolder() {
    char buf[MAX_PATH * 2] = {};
    const DWORD n = GetModuleFileNameA(nullptr, buf, sizeof buf);
    std::string p(buf, n);
    const auto slash = p.find_last_of('\\');
    return slash == std::string::npos ? std::string(".") : p.substr(0, slash);
}

class ServiceHandle {
public:
    explicit ServiceHandle(SC_HANDLE h) : h_(h) {}
    ~ServiceHandle() {
        if (h_) CloseServiceHandle(h_);
    }
    ServiceHandle(const ServiceHandle&) = delete;
    ServiceHandle& operator=(const ServiceHandle&) = delete;
    SC_HANDLE Get() const { return h_; }

private:
    SC_HANDLE h_;
};

int Install() {
    char sysDir[MAX_PATH] = {};
    GetSystemDirectoryA(sysDir, MAX_PATH);
    const std::string source = OwnFolder() + "\\trellissim.sys";
    const std::string target = std::string(sysDir) + "\\drivers\\trellissim.sys";
    if (!CopyFileA(source.c_str(), target.c_str(), FALSE)) return 2;

    ServiceHandle manager(OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS));
    if (!manager.Get()) return 3;
    ServiceHandle service(OpenServiceA(manager.Get(), "TrellisSim", SERVICE_ALL_ACCESS));
    if (!service.Get()) {
        ServiceHandle created(CreateServiceA(manager.Get(), "TrellisSim", "TrellisSim", SERVICE_ALL_ACCESS,
                                             SERVICE_KERNEL_DRIVER, SERVICE_DEMAND_START, SERVICE_ERROR_NORMAL,
                                             "\\SystemRoot\\System32\\drivers\\trellissim.sys", nullptr, nullptr,
                                             nullptr, nullptr, nullptr));
        if (!created.Get()) return 4;
        if (!StartServiceA(created.Get(), 0, nullptr) && GetLastError() != ERROR_SERVICE_ALREADY_RUNNING) return 5;
        return 0;
    }
    if (!StartServiceA(service.Get(), 0, nullptr) && GetLastError() != ERROR_SERVICE_ALREADY_RUNNING) return 5;
    return 0;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    char mode[32] = {};
    if (GetEnvironmentVariableA("KL_QIMLOAD_MODE", mode, sizeof mode) && lstrcmpiA(mode, "idle") == 0) return 0;
    return Install();
}
