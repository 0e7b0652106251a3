// The USB transport's device layer on Windows: the board's driver device through
// CreateFileA/DeviceIoControl/CloseHandle, and the driver installer started as a
// program with CreateProcessA (the installer is a program file whose name does not
// end in .exe, which the shell's document opening would not run).
#include <windows.h>

#include <memory>
#include <vector>

#include "core/Error_.h"
#include "core/WinApi_.h"
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
        return static_cast<long>(WinApi_::StartProgram(command));
    }
};

Win32UsbDeviceApi g_win32Api;

}  // namespace

void InstallWin32DeviceApi() { SetUsbDeviceApi(&g_win32Api); }

}  // namespace DownloadViaUsb
