// The USB transport's device layer on Windows: the board's driver device through
// CreateFileA/DeviceIoControl/CloseHandle, and the driver installer started as a
// program with CreateProcessA (the installer is a program file whose name does not
// end in .exe, which the shell's document opening would not run).
#include <windows.h>

#include <memory>
#include <vector>

#include "core/Error_.h"
#include "programming/DownloadViaUsb.h"

namespace DownloadViaUsb {

namespace {

class UniqueHandle {
public:
    explicit UniqueHandle(HANDLE h = INVALID_HANDLE_VALUE) : h_(h) {}
    ~UniqueHandle() { Reset(); }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    HANDLE Get() const { return h_; }
    bool Valid() const { return h_ != INVALID_HANDLE_VALUE && h_ != nullptr; }
    void Reset() {
        if (Valid()) ::CloseHandle(h_);
        h_ = INVALID_HANDLE_VALUE;
    }

private:
    HANDLE h_;
};

class Win32UsbDevice final : public IUsbDevice {
public:
    explicit Win32UsbDevice(HANDLE h) : handle_(h) {}
    int IoControl(std::uint32_t code, const std::uint8_t* in, std::uint32_t inSize, std::uint8_t* out,
                  std::uint32_t outSize, std::uint32_t& bytesReturned) override {
        DWORD returned = 0;
        const BOOL ok = ::DeviceIoControl(handle_.Get(), code, const_cast<std::uint8_t*>(in), inSize, out, outSize,
                                          &returned, nullptr);
        bytesReturned = returned;
        return ok;
    }

private:
    UniqueHandle handle_;
};

// The error a failed program start raises, numbered as the program's runtime does.
[[noreturn]] void RaiseStartError(DWORD lastError) {
    switch (lastError) {
    case ERROR_FILE_NOT_FOUND:
        throw Error_::RuntimeError(53, "File not found");
    case ERROR_PATH_NOT_FOUND:
        throw Error_::RuntimeError(76, "Path not found");
    case ERROR_ACCESS_DENIED:
        throw Error_::RuntimeError(70, "Permission denied");
    default:
        throw Error_::RuntimeError(5, "Invalid procedure call or argument");
    }
}

class Win32UsbDeviceApi final : public IUsbDeviceApi {
public:
    std::unique_ptr<IUsbDevice> Open(const std::string& path, bool overlapped) override {
        const DWORD attributes = FILE_ATTRIBUTE_NORMAL | (overlapped ? FILE_FLAG_OVERLAPPED : 0);
        HANDLE h = ::CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                 nullptr, OPEN_EXISTING, attributes, nullptr);
        if (h == INVALID_HANDLE_VALUE) return nullptr;
        return std::make_unique<Win32UsbDevice>(h);
    }

    long StartProgram(const std::string& command) override {
        std::vector<char> commandLine(command.begin(), command.end());
        commandLine.push_back('\0');
        STARTUPINFOA si{};
        si.cb = sizeof si;
        si.dwFlags = STARTF_USESHOWWINDOW;
        si.wShowWindow = SW_SHOWNORMAL;
        PROCESS_INFORMATION pi{};
        if (!::CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
            RaiseStartError(::GetLastError());
        UniqueHandle process(pi.hProcess);
        UniqueHandle thread(pi.hThread);
        return static_cast<long>(pi.dwProcessId);
    }
};

Win32UsbDeviceApi g_win32Api;

}  // namespace

void InstallWin32DeviceApi() { SetUsbDeviceApi(&g_win32Api); }

}  // namespace DownloadViaUsb
