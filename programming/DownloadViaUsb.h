#pragma once
// Programming a USB board through its kernel driver: the device "\\.\USBTrellis",
// three request codes, the array in three 32-byte blocks between a start and an end
// request, the board's status byte, and a driver start-up with one retry when the
// device cannot be used.
//
// The device calls and the start of the driver installer go through IUsbDeviceApi;
// the Windows program installs the real one, tests a simulated driver.
#include <cstdint>
#include <memory>
#include <string>

#include "programming/Download.h"

class IStatusLabel;

namespace DownloadViaUsb {

inline constexpr const char* kDevicePath = "\\\\.\\USBTrellis";
inline constexpr std::uint32_t kIoctlFirst = 0x222000;
inline constexpr std::uint32_t kIoctlSecond = 0x222004;
inline constexpr std::uint32_t kIoctlTransfer = 0x222C80;

// Result codes of one transfer besides the board's own status byte.
enum : std::int32_t {
    kResultProgrammed = 1,
    kResultDeviceNotOpened = 12,
    kResultFirstRequestFailed = 13,
    kResultSecondRequestFailed = 14,
    kResultStartRequestFailed = 15,
    kResultFirstDataRequestFailed = 16,
};

// One open device handle; closing is the destructor's job.
class IUsbDevice {
public:
    virtual ~IUsbDevice() = default;
    // DeviceIoControl without an overlapped structure. Returns what the call returns
    // (1 on success). out may be written beyond outSize by a faulty driver: it always
    // points into a buffer of at least 64 bytes.
    virtual int IoControl(std::uint32_t code, const std::uint8_t* in, std::uint32_t inSize, std::uint8_t* out,
                          std::uint32_t outSize, std::uint32_t& bytesReturned) = 0;
};

class IUsbDeviceApi {
public:
    virtual ~IUsbDeviceApi() = default;
    // CreateFileA(path, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
    // no security, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL (| FILE_FLAG_OVERLAPPED when
    // overlapped), no template). nullptr when the device cannot be opened.
    virtual std::unique_ptr<IUsbDevice> Open(const std::string& path, bool overlapped) = 0;
    // Starts the command line as a program in a normal window with the focus and
    // returns its task id (0: not started). A start that fails raises
    // Error_::RuntimeError with the runtime's number and description (53 "File not
    // found" for a missing program file).
    virtual long StartProgram(const std::string& command) = 0;
};

// Installs the device layer (not owned); nullptr restores the default, which finds
// no device and cannot start programs.
void SetUsbDeviceApi(IUsbDeviceApi* api);
IUsbDeviceApi& UsbDeviceApi();
// Windows build only (kl_win, DownloadViaUsb_win.cpp): installs the device layer on
// CreateFileA/DeviceIoControl/CloseHandle, with programs started by CreateProcessA.
// The program calls it once at start.
void InstallWin32DeviceApi();

// Runs the USB part of a programming run and ends it.
void ProgramViaUsb(const Download::DownloadArray& array1, const Download::DownloadArray& array2);
// One transfer of one page; returns the board's status or a transport failure code.
std::int32_t SendDataThroughPipe(const Download::DownloadArray& array);
// One transfer, and after a transport failure the driver start-up and one more.
std::int32_t SendWithRetry(const Download::DownloadArray& array);
// Makes the driver available if it can (starts its installer when the device is absent).
void StartDriver();
std::string ErrorText(std::int32_t code, bool fWithCode);
// Time of day that many seconds from now, wrapped past midnight.
double TimerAfter(float seconds);
// Ends a run with an error.
void Fail(const std::string& message);
// Brings the programming window on screen with a beep. Without a window it ends a
// command-line run; in the editor it shows the status text in a message box.
void BringDownloadingToScreen();
Download::IProgrammingWindow& DownloadingForm();
IStatusLabel& StatusLabel();

}  // namespace DownloadViaUsb
