#include "programming/DownloadViaUsb.h"

#include <array>
#include <cmath>
#include <cstring>

#include "core/Debug_.h"
#include "core/Error_.h"
#include "core/ExitCodes.h"
#include "core/Globals.h"
#include "core/Host.h"
#include "core/Trace_.h"
#include "core/Util.h"
#include "programming/ProgressCallback.h"

namespace DownloadViaUsb {

namespace {

// Without a real device layer there is no device and nothing can be started.
class NoDeviceApi final : public IUsbDeviceApi {
public:
    std::unique_ptr<IUsbDevice> Open(const std::string&, bool) override { return nullptr; }
    long StartProgram(const std::string&) override { return 0; }
};

NoDeviceApi g_noDeviceApi;
IUsbDeviceApi* g_api = &g_noDeviceApi;

// The handle of the last open.
std::unique_ptr<IUsbDevice> g_hUsbDevice;

constexpr const char* kPlaceCreateFile = "SendDataThroughPipe.CreateFile()";
constexpr const char* kPlaceIoControl = "SendDataThroughPipe.DeviceIoControl()";
constexpr const char* kPlaceOutput = "DeviceIoControl() Output";

// Output area: the status byte and 63 guard bytes behind it, which show a driver
// that writes more than it was asked for.
constexpr std::size_t kOutputAreaSize = 64;
using OutputArea = std::array<std::uint8_t, kOutputAreaSize>;
// MB_ICONEXCLAMATION | MB_OK.
constexpr unsigned kMbExclamationOk = 48;

constexpr std::array<std::uint8_t, 16> kStartHeader = {0, 0, 0, 0, 0x20, 0, 0, 0xE9, 1, 0, 0, 0, 0, 0, 0x80, 0x7C};
constexpr std::array<std::uint8_t, 16> kDataHeader = {0, 0, 0, 0, 0x20, 0, 0, 0xEB, 0, 0, 0, 0, 0x20, 0, 0x80, 0x7C};
constexpr std::array<std::uint8_t, 16> kStatusRequest = {1, 0, 0, 0, 0x20, 0, 0, 0xEA, 0, 0, 0, 0, 1, 0, 0x80, 0x7C};

void TraceReturned(std::uint32_t requested, std::uint32_t returned) {
    Trace_::Trace(kPlaceOutput,
                  "BytesRequested = " + std::to_string(requested) + "; cbReturned = " + std::to_string(returned));
}

// One request on the open device; true when the call returned 1.
bool Request(std::uint32_t code, const std::uint8_t* in, std::uint32_t inSize, std::uint8_t* out,
             std::uint32_t outSize, std::uint32_t& returned) {
    returned = 0;
    if (!g_hUsbDevice) return false;
    return g_hUsbDevice->IoControl(code, in, inSize, out, outSize, returned) == 1;
}

void CloseDevice() { g_hUsbDevice.reset(); }

std::int32_t FailedRequest(std::int32_t result) {
    ProgressCallback::ProgressMessage(ErrorText(result, true));
    CloseDevice();
    return result;
}

}  // namespace

void SetUsbDeviceApi(IUsbDeviceApi* api) { g_api = api ? api : &g_noDeviceApi; }
IUsbDeviceApi& UsbDeviceApi() { return *g_api; }

Download::IProgrammingWindow& DownloadingForm() { return Download::DownloadingForm(); }
IStatusLabel& StatusLabel() { return Download::StatusLabel(); }

std::string ErrorText(std::int32_t code, bool fWithCode) {
    std::string text;
    if (code == 0) return "No error";
    if (code == 1) return "Success";
    if (code >= 2 && code <= 9)
        text = "Checksum error";
    else if (code == kResultDeviceNotOpened)
        text = "Board not found / Driver not loaded";
    else if (code == kResultFirstRequestFailed)
        text = "Failed to start data transmission to Quorba";
    else if (code >= kResultSecondRequestFailed && code <= kResultFirstDataRequestFailed)
        text = "Failed to transmit data to Quorba";
    else
        text = "Unknown error";
    if (fWithCode) text = "ERROR 0x" + Util::Hex(code) + ": " + text;
    return text;
}

double TimerAfter(float seconds) {
    double t = Download::Clock().Timer() + static_cast<double>(seconds);
    if (t >= 86400) t -= 86400;
    return t;
}

std::int32_t SendDataThroughPipe(const Download::DownloadArray& array) {
    // The control header is 16 bytes; its buffer is as large as the output area, so
    // that a driver answering the first request with too much stays inside it.
    std::array<std::uint8_t, kOutputAreaSize> control{};
    std::array<std::uint8_t, 48> data{};
    std::array<std::uint8_t, 16> status{};
    OutputArea out{};
    std::uint32_t n = 0;

    Trace_::Trace(kPlaceCreateFile, std::string("file = ") + kDevicePath);
    g_hUsbDevice = UsbDeviceApi().Open(kDevicePath, false);
    if (!g_hUsbDevice) {
        ProgressCallback::ProgressMessage(ErrorText(kResultDeviceNotOpened, true));
        return kResultDeviceNotOpened;
    }
    Trace_::Trace(kPlaceCreateFile, "Success");
    for (std::size_t i = 1; i < kOutputAreaSize; ++i) out[i] = static_cast<std::uint8_t>(123 - i);

    // First request: 48 zero bytes in, 8 bytes asked back into the control header.
    Trace_::Trace(kPlaceIoControl, "#1");
    if (!Request(kIoctlFirst, data.data(), 48, control.data(), 8, n)) return FailedRequest(kResultFirstRequestFailed);
    Trace_::Trace(kPlaceIoControl, "Success");
    TraceReturned(8, n);

    // Second request: bytes 4-7 of the first answer handed back.
    std::memcpy(control.data(), control.data() + 4, 4);
    if (!Request(kIoctlSecond, control.data(), 4, out.data(), 0, n)) return FailedRequest(kResultSecondRequestFailed);
    TraceReturned(0, n);

    std::copy(kStartHeader.begin(), kStartHeader.end(), control.begin());
    if (!Request(kIoctlTransfer, control.data(), 16, out.data(), 0, n)) return FailedRequest(kResultStartRequestFailed);
    TraceReturned(0, n);

    std::copy(kDataHeader.begin(), kDataHeader.end(), data.begin());
    status = kStatusRequest;

    // The array is 96 bytes; a shorter one (reported by the caller) sends zeros for
    // what it lacks instead of reading past its end.
    auto fillBlock = [&](std::size_t block) {
        for (std::size_t i = 0; i < 32; ++i) {
            const std::size_t k = block * 32 + i;
            data[16 + i] = k < array.size() ? array[k] : 0;
        }
    };

    // Block 1: a failed data request ends the transfer; the status is ignored.
    fillBlock(0);
    if (!Request(kIoctlTransfer, data.data(), 48, out.data(), 0, n)) return FailedRequest(kResultFirstDataRequestFailed);
    TraceReturned(0, n);
    Request(kIoctlTransfer, status.data(), 16, out.data(), 1, n);
    TraceReturned(1, n);

    // Block 2: both outcomes ignored.
    fillBlock(1);
    Request(kIoctlTransfer, data.data(), 48, out.data(), 0, n);
    TraceReturned(0, n);
    Request(kIoctlTransfer, status.data(), 16, out.data(), 1, n);
    TraceReturned(1, n);

    // Block 3: its status read decides. The byte is cleared first, so that a read
    // that writes nothing cannot pass an earlier block's answer off as the result.
    fillBlock(2);
    Request(kIoctlTransfer, data.data(), 48, out.data(), 0, n);
    TraceReturned(0, n);
    out[0] = 0;
    Request(kIoctlTransfer, status.data(), 16, out.data(), 1, n);
    const std::int32_t result = out[0];
    TraceReturned(1, n);

    // End request: the start header with byte 8 cleared; outcome ignored.
    control[8] = 0;
    Request(kIoctlTransfer, control.data(), 16, out.data(), 0, n);
    TraceReturned(0, n);

    CloseDevice();

    for (std::size_t i = 1; i < kOutputAreaSize; ++i) {
        if (out[i] != static_cast<std::uint8_t>(123 - i)) {
            Trace_::Trace("SendDataThroughPipe", "DeviceIoControl() overflowed buffer");
            break;
        }
    }
    return result;
}

void StartDriver() {
    ProgressCallback::ProgressMessage("Loading Driver...");
    Trace_::Trace("StartDriver.CreateFile()", std::string("file = ") + kDevicePath);
    if (std::unique_ptr<IUsbDevice> probe = UsbDeviceApi().Open(kDevicePath, false)) {
        probe.reset();
        Trace_::Trace("StartDriver.CreateFile()", "Driver already installed; okay to go");
        return;
    }
    Trace_::Trace("StartDriver.CreateFile()", "Driver not yet installed.");
    ProgressCallback::ProgressMessage("Installing Driver...");

    const std::string command = "\"" + Host().AppPath() + "\\qimload.dll\"";
    Trace_::Trace("StartDriver.Shell()", "file = " + command);
    long taskId = 0;
    bool raised = false;
    try {
        taskId = UsbDeviceApi().StartProgram(command);
    } catch (const Error_::RuntimeError& e) {
        raised = true;
        ProgressCallback::ProgressMessage("ERROR VB #" + std::to_string(e.Number()) + ": " + e.Description() + " (" +
                                          command + ")");
    }
    if (raised || taskId == 0) {
        ProgressCallback::ProgressMessage("Driver Missing");
        return;
    }
    Trace_::Trace("StartDriver.Shell()", "Success");

    // The deadline is a time of day; the wait measures the time passed since its
    // start, so that a wait spanning midnight also lasts its full time.
    const double start = Download::Clock().Timer();
    const double deadline = std::nearbyint(TimerAfter(static_cast<float>(g_lTimeout) / 1000.0f));
    double span = deadline - start;
    if (span <= -43200) span += 86400;  // the deadline lies past midnight

    for (;;) {
        if (std::unique_ptr<IUsbDevice> device = UsbDeviceApi().Open(kDevicePath, true)) {
            ProgressCallback::ProgressMessage("Driver Started");
            return;  // the handle closes here
        }
        double elapsed = Download::Clock().Timer() - start;
        // Only a wait across midnight goes back by most of a day; two readings of the
        // same moment may differ by a rounding error of either sign.
        if (elapsed < -43200) elapsed += 86400;
        if (elapsed > span) {
            ProgressCallback::ProgressMessage("Timeout: Board not found");
            return;
        }
        Host().DoEvents();
    }
}

std::int32_t SendWithRetry(const Download::DownloadArray& array) {
    std::int32_t r = SendDataThroughPipe(array);
    if (r > 10) {
        StartDriver();
        r = SendDataThroughPipe(array);
    }
    return r;
}

void BringDownloadingToScreen() {
    if (!Download::HasDownloadingForm()) {
        // No window the user could close: in command-line mode the program would
        // otherwise never end. The window fails only without its port-access control.
        if (g_fCommandLineMode) {
            Host().EndProgram(ExitCodes::kExitNoPortControl);
            return;
        }
        // In the editor a message box stands in for the window the user would have seen.
        Host().MessageBox(StatusLabel().Caption(), kMbExclamationOk, "Keyloom");
        return;
    }
    DownloadingForm().BringToScreen();
}

void Fail(const std::string& message) {
    g_fProgrammingQuorba = false;
    Download::SetRunOutcome(Download::RunOutcome::Failed);
    DownloadingForm().SetMousePointer(0);
    StatusLabel().SetCaption(message);
    BringDownloadingToScreen();
}

void ProgramViaUsb(const Download::DownloadArray& array1, const Download::DownloadArray& array2) {
    Debug_::Assert(array1.size() == Download::kDownloadArraySize, "Bad download array");
    std::int32_t r = SendWithRetry(array1);
    if (r == kResultProgrammed && g_typeQuorba == TYPEQUORBA_Quorba4) {
        Debug_::Assert(array2.size() == Download::kDownloadArraySize, "Bad download array for Quorba/4");
        r = SendWithRetry(array2);
    }
    if (r == kResultProgrammed) {
        Download::SetRunOutcome(Download::RunOutcome::Succeeded);
        if (g_fCommandLineMode) {
            Download::EndCommandLineProgram();
            return;
        }
        g_fProgrammingQuorba = false;
        DownloadingForm().SetMousePointer(0);
        StatusLabel().SetCaption("Quorba successfully programmed!");
        DownloadingForm().CloseForm();
        return;
    }
    Fail(ErrorText(r, true));
}

}  // namespace DownloadViaUsb
