// The USB transport against a simulated driver and board: the request sequence and
// its exact headers, every failure point, the board's statuses, the guard bytes and
// the driver start-up with its wait.
#include <array>
#include <cstring>
#include <optional>

#include "ProgrammingFakes.h"
#include "core/Error_.h"
#include "core/ExitCodes.h"

namespace {

using namespace fakes;
using DownloadViaUsb::kDevicePath;

// A driver that answers the three request codes like a board and records the pages.
class SimDriver final : public DownloadViaUsb::IUsbDeviceApi {
public:
    explicit SimDriver(FakeClock& clock) : clock_(clock) {}
    // The device's requests are numbered per transfer attempt (each "first" request
    // begins one).

    // Device presence; with appearAt set it appears at that clock reading.
    bool present = true;
    std::optional<double> appearAt;
    // Installer: not there (start raises 53), started (task id 42, the device appears
    // installDelay seconds later) or started without a task id.
    enum class Installer { Missing, Starts, NoTask } installer = Installer::Missing;
    double installDelay = 2.0;
    // Failing request kind ("first", "second", "start", "data1"...) for the given
    // transfer attempts (1-based); empty: all attempts.
    std::string failKind;
    std::vector<int> failAttempts;
    // Board statuses after blocks 1, 2 and 3, per page (the last entry repeats).
    std::vector<std::array<std::uint8_t, 3>> statuses{{1, 1, 1}};
    // Bytes the status read writes (2 overruns the asked size); 0 writes nothing (block 3 only).
    int statusBytesWritten = 1;
    int block3StatusBytesWritten = 1;

    std::vector<Download::DownloadArray> pages;
    std::vector<std::string> kinds;  // every request in order
    std::vector<std::string> protocolErrors;
    std::vector<std::string> commandsStarted;
    int opens = 0, overlappedOpens = 0, openDevices = 0, attempts = 0;

    std::unique_ptr<DownloadViaUsb::IUsbDevice> Open(const std::string& path, bool overlapped) override {
        EXPECT_EQ(path, kDevicePath);
        if (overlapped) ++overlappedOpens; else ++opens;
        if (!IsPresent()) return nullptr;
        return std::make_unique<Device>(*this, overlapped);
    }
    long StartProgram(const std::string& command) override {
        commandsStarted.push_back(command);
        switch (installer) {
        case Installer::Missing:
            throw Error_::RuntimeError(53, "File not found");
        case Installer::NoTask:
            return 0;
        case Installer::Starts:
            appearAt = clock_.t + installDelay;
            return 42;
        }
        return 0;
    }

private:
    bool IsPresent() const { return present || (appearAt && clock_.t >= *appearAt); }

    class Device final : public DownloadViaUsb::IUsbDevice {
    public:
        Device(SimDriver& d, bool) : d_(d) { ++d_.openDevices; }
        ~Device() override { --d_.openDevices; }
        int IoControl(std::uint32_t code, const std::uint8_t* in, std::uint32_t inSize, std::uint8_t* out,
                      std::uint32_t outSize, std::uint32_t& returned) override {
            return d_.Handle(code, in, inSize, out, outSize, returned);
        }

    private:
        SimDriver& d_;
    };

    bool Fails(const std::string& kind) const {
        if (kind != failKind) return false;
        if (failAttempts.empty()) return true;
        for (int a : failAttempts)
            if (a == attempts) return true;
        return false;
    }

    int Handle(std::uint32_t code, const std::uint8_t* in, std::uint32_t inSize, std::uint8_t* out,
               std::uint32_t outSize, std::uint32_t& returned) {
        std::string kind = Classify(code, in, inSize, outSize);
        kinds.push_back(kind);
        if (kind == "first") ++attempts;
        if (kind == "data") kind += std::to_string(block_);
        if (Fails(kind) || kind == "bad") return 0;
        static constexpr std::uint8_t kCookie[4] = {0xC0, 0xFF, 0xEE, 0x07};
        if (kind == "first") {
            for (int i = 0; i < 8; ++i) out[i] = static_cast<std::uint8_t>(0x10 + i);
            std::memcpy(out + 4, kCookie, 4);
            returned = 8;
        } else if (kind == "second") {
            if (std::memcmp(in, kCookie, 4) != 0) protocolErrors.push_back("second request without the cookie");
        } else if (kind == "start") {
            current_.clear();
            block_ = 0;
        } else if (kind.rfind("data", 0) == 0) {
            current_.insert(current_.end(), in + 16, in + 48);
        } else if (kind == "status") {
            const auto& st = statuses[std::min(pages.size(), statuses.size() - 1)];
            const int n = block_ == 3 ? block3StatusBytesWritten : statusBytesWritten;
            for (int i = 0; i < n; ++i) out[i] = i == 0 ? st[static_cast<std::size_t>(block_ - 1)] : 0xAA;
            returned = static_cast<std::uint32_t>(n);
        } else if (kind == "end") {
            if (current_.size() == 96) pages.push_back(current_);
        }
        return 1;
    }

    std::string Classify(std::uint32_t code, const std::uint8_t* in, std::uint32_t inSize, std::uint32_t outSize) {
        static constexpr std::uint8_t kStart[16] = {0, 0, 0, 0, 0x20, 0, 0, 0xE9, 1, 0, 0, 0, 0, 0, 0x80, 0x7C};
        static constexpr std::uint8_t kEnd[16] = {0, 0, 0, 0, 0x20, 0, 0, 0xE9, 0, 0, 0, 0, 0, 0, 0x80, 0x7C};
        static constexpr std::uint8_t kData[16] = {0, 0, 0, 0, 0x20, 0, 0, 0xEB, 0, 0, 0, 0, 0x20, 0, 0x80, 0x7C};
        static constexpr std::uint8_t kStatus[16] = {1, 0, 0, 0, 0x20, 0, 0, 0xEA, 0, 0, 0, 0, 1, 0, 0x80, 0x7C};
        if (code == 0x222000) {
            bool zero = inSize == 48;
            for (std::uint32_t i = 0; zero && i < inSize; ++i) zero = in[i] == 0;
            if (!zero || outSize != 8) protocolErrors.push_back("first request");
            return "first";
        }
        if (code == 0x222004) {
            if (inSize != 4 || outSize != 0) protocolErrors.push_back("second request sizes");
            return "second";
        }
        if (code != 0x222C80) {
            protocolErrors.push_back("unknown code");
            return "bad";
        }
        if (inSize == 16 && std::memcmp(in, kStart, 16) == 0 && outSize == 0) return "start";
        if (inSize == 16 && std::memcmp(in, kEnd, 16) == 0 && outSize == 0) return "end";
        if (inSize == 48 && std::memcmp(in, kData, 16) == 0 && outSize == 0) {
            ++block_;
            return "data";
        }
        if (inSize == 16 && std::memcmp(in, kStatus, 16) == 0 && outSize == 1) return "status";
        protocolErrors.push_back("unrecognised transfer request");
        return "bad";
    }

    FakeClock& clock_;
    Download::DownloadArray current_;
    int block_ = 0;
};

const std::vector<std::string> kOneTransfer = {"first", "second", "start", "data", "status", "data",
                                               "status", "data", "status", "end"};

std::vector<std::string> Repeat(const std::vector<std::string>& v, int n) {
    std::vector<std::string> out;
    for (int i = 0; i < n; ++i) out.insert(out.end(), v.begin(), v.end());
    return out;
}

class UsbTransport : public ProgrammingTest {
protected:
    SimDriver driver{clock};
    void SetUp() override {
        ProgrammingTest::SetUp();
        DownloadViaUsb::SetUsbDeviceApi(&driver);
        g_fProgrammingQuorba = true;
        Download::SetRunOutcome(Download::RunOutcome::Running);
    }
    void TearDown() override {
        EXPECT_TRUE(driver.protocolErrors.empty()) << driver.protocolErrors.front();
        EXPECT_EQ(driver.openDevices, 0) << "a device handle stayed open";
        ProgrammingTest::TearDown();
    }
};

const std::vector<std::string> kSuccessfulTransferTraces = {
    "SendDataThroughPipe.CreateFile():  file = \\\\.\\USBTrellis",
    "SendDataThroughPipe.CreateFile():  Success",
    "SendDataThroughPipe.DeviceIoControl():  #1",
    "SendDataThroughPipe.DeviceIoControl():  Success",
    "DeviceIoControl() Output:  BytesRequested = 8; cbReturned = 8",
    "DeviceIoControl() Output:  BytesRequested = 0; cbReturned = 0",
    "DeviceIoControl() Output:  BytesRequested = 0; cbReturned = 0",
    "DeviceIoControl() Output:  BytesRequested = 0; cbReturned = 0",
    "DeviceIoControl() Output:  BytesRequested = 1; cbReturned = 1",
    "DeviceIoControl() Output:  BytesRequested = 0; cbReturned = 0",
    "DeviceIoControl() Output:  BytesRequested = 1; cbReturned = 1",
    "DeviceIoControl() Output:  BytesRequested = 0; cbReturned = 0",
    "DeviceIoControl() Output:  BytesRequested = 1; cbReturned = 1",
    "DeviceIoControl() Output:  BytesRequested = 0; cbReturned = 0",
};

TEST_F(UsbTransport, SuccessfulTransferTracesEveryRequestAndClosesTheWindowInEditorMode) {
    const auto page = Pattern(7);
    DownloadViaUsb::ProgramViaUsb(page, {});

    EXPECT_EQ(Traces(), kSuccessfulTransferTraces);
    EXPECT_EQ(driver.kinds, kOneTransfer);
    ASSERT_EQ(driver.pages.size(), 1u);
    EXPECT_EQ(driver.pages[0], page);
    EXPECT_EQ(Statuses(), std::vector<std::string>{"Quorba successfully programmed!"});
    EXPECT_EQ(WindowActions(), (std::vector<std::string>{"pointer 0", "close"}));
    EXPECT_FALSE(g_fProgrammingQuorba);
    EXPECT_TRUE(Download::LastRunSucceeded());
    EXPECT_TRUE(host.exitCodes.empty());
}

TEST_F(UsbTransport, CommandLineSuccessEndsTheProgramWithExitCodeZero) {
    g_fCommandLineMode = true;
    DownloadViaUsb::ProgramViaUsb(Pattern(1), {});
    EXPECT_EQ(host.exitCodes, std::vector<int>{ExitCodes::kExitOk});
    EXPECT_TRUE(Statuses().empty());
    EXPECT_TRUE(WindowActions().empty());
}

TEST_F(UsbTransport, Quorba4SendsBothPagesInOrder) {
    g_typeQuorba = TYPEQUORBA_Quorba4;
    const auto p1 = Pattern(1), p2 = Pattern(100);
    DownloadViaUsb::ProgramViaUsb(p1, p2);
    EXPECT_EQ(driver.kinds, Repeat(kOneTransfer, 2));
    ASSERT_EQ(driver.pages.size(), 2u);
    EXPECT_EQ(driver.pages[0], p1);
    EXPECT_EQ(driver.pages[1], p2);
    EXPECT_EQ(Statuses(), std::vector<std::string>{"Quorba successfully programmed!"});
}

TEST_F(UsbTransport, TwoPlayerBoardsSendOnlyTheFirstArray) {
    g_typeQuorba = TYPEQUORBA_QuorbaVexo;
    DownloadViaUsb::ProgramViaUsb(Pattern(1), Pattern(2));
    EXPECT_EQ(driver.kinds, kOneTransfer);
}

TEST_F(UsbTransport, Quorba4StopsAfterAFailedFirstPage) {
    g_typeQuorba = TYPEQUORBA_Quorba4;
    driver.statuses = {{1, 1, 3}};
    DownloadViaUsb::ProgramViaUsb(Pattern(1), Pattern(2));
    EXPECT_EQ(driver.kinds, kOneTransfer);
    EXPECT_EQ(Statuses(), std::vector<std::string>{"ERROR 0x3: Checksum error"});

    // Also when the first page never gets through the transport.
    log.clear();
    driver.kinds.clear();
    driver.present = false;
    DownloadViaUsb::ProgramViaUsb(Pattern(1), Pattern(2));
    EXPECT_TRUE(driver.kinds.empty());
    EXPECT_EQ(Statuses().back(), "ERROR 0xC: Board not found / Driver not loaded");
}

// Board statuses 2 to 9: no driver start-up, no retry.
class UsbBoardStatus : public UsbTransport, public ::testing::WithParamInterface<int> {};

TEST_P(UsbBoardStatus, ChecksumErrorEndsTheRunWithoutRetry) {
    const int status = GetParam();
    driver.statuses = {{1, 1, static_cast<std::uint8_t>(status)}};
    DownloadViaUsb::ProgramViaUsb(Pattern(1), {});
    EXPECT_EQ(driver.kinds, kOneTransfer);
    EXPECT_EQ(Statuses(), std::vector<std::string>{"ERROR 0x" + std::to_string(status) + ": Checksum error"});
    EXPECT_EQ(WindowActions(), (std::vector<std::string>{"pointer 0", "bring"}));
    EXPECT_FALSE(g_fProgrammingQuorba);
    EXPECT_EQ(Download::LastRunOutcome(), Download::RunOutcome::Failed);
    EXPECT_EQ(Download::CommandLineExitCode(), ExitCodes::kExitProgrammingFailed);
}
INSTANTIATE_TEST_SUITE_P(AllChecksumStatuses, UsbBoardStatus, ::testing::Range(2, 10));

TEST_F(UsbTransport, StatusZeroAndUnknownStatusesFail) {
    driver.statuses = {{1, 1, 0}};
    DownloadViaUsb::ProgramViaUsb(Pattern(1), {});
    EXPECT_EQ(Statuses(), std::vector<std::string>{"No error"});

    log.clear();
    driver.statuses = {{1, 1, 0x42}};
    DownloadViaUsb::ProgramViaUsb(Pattern(1), {});
    // A status above 10 is taken for a transport failure: driver start-up and retry.
    EXPECT_EQ(Statuses(), (std::vector<std::string>{"Loading Driver...", "ERROR 0x42: Unknown error"}));
    EXPECT_EQ(driver.kinds, Repeat(kOneTransfer, 3));
}

TEST_F(UsbTransport, StatusesAfterTheFirstTwoBlocksAreIgnored) {
    driver.statuses = {{3, 9, 1}};
    DownloadViaUsb::ProgramViaUsb(Pattern(1), {});
    EXPECT_TRUE(Download::LastRunSucceeded());
}

TEST_F(UsbTransport, AThirdStatusReadThatWritesNothingDoesNotPassForSuccess) {
    driver.statuses = {{1, 1, 1}};
    driver.block3StatusBytesWritten = 0;
    DownloadViaUsb::ProgramViaUsb(Pattern(1), {});
    EXPECT_EQ(Statuses(), std::vector<std::string>{"No error"});
    EXPECT_EQ(Download::LastRunOutcome(), Download::RunOutcome::Failed);
}

TEST_F(UsbTransport, ADriverWritingBeyondTheStatusByteIsTracedOnceAndTheResultStands) {
    driver.statusBytesWritten = 2;
    driver.block3StatusBytesWritten = 2;
    DownloadViaUsb::ProgramViaUsb(Pattern(1), {});
    const auto traces = Traces();
    EXPECT_EQ(std::count(traces.begin(), traces.end(), "SendDataThroughPipe:  DeviceIoControl() overflowed buffer"),
              1);
    EXPECT_EQ(traces.back(), "SendDataThroughPipe:  DeviceIoControl() overflowed buffer");
    EXPECT_TRUE(Download::LastRunSucceeded());
}

// Transport failures 13 to 16: the error text when it happens, the driver start-up
// (the device is there), and one more attempt.
struct FailurePoint {
    const char* kind;
    int code;
    const char* text;
    std::size_t requestsBeforeFailure;
};

class UsbFailurePoint : public UsbTransport, public ::testing::WithParamInterface<FailurePoint> {};

TEST_P(UsbFailurePoint, FailureRunsTheDriverStartUpAndRetriesOnce) {
    const FailurePoint fp = GetParam();
    driver.failKind = fp.kind;
    driver.failAttempts = {1};
    DownloadViaUsb::ProgramViaUsb(Pattern(1), {});

    std::vector<std::string> expectedKinds(kOneTransfer.begin(), kOneTransfer.begin() + fp.requestsBeforeFailure + 1);
    expectedKinds.insert(expectedKinds.end(), kOneTransfer.begin(), kOneTransfer.end());
    EXPECT_EQ(driver.kinds, expectedKinds);
    EXPECT_EQ(Statuses(),
              (std::vector<std::string>{fp.text, "Loading Driver...", "Quorba successfully programmed!"}));
    const auto traces = Traces();
    const std::vector<std::string> startUp = {"StartDriver.CreateFile():  file = \\\\.\\USBTrellis",
                                              "StartDriver.CreateFile():  Driver already installed; okay to go"};
    EXPECT_NE(std::search(traces.begin(), traces.end(), startUp.begin(), startUp.end()), traces.end());
    EXPECT_TRUE(driver.commandsStarted.empty());
    EXPECT_TRUE(Download::LastRunSucceeded());
    ASSERT_EQ(driver.pages.size(), 1u);
}

TEST_P(UsbFailurePoint, FailureOnBothAttemptsEndsWithItsText) {
    const FailurePoint fp = GetParam();
    driver.failKind = fp.kind;
    DownloadViaUsb::ProgramViaUsb(Pattern(1), {});
    EXPECT_EQ(Statuses(), (std::vector<std::string>{fp.text, "Loading Driver...", fp.text, fp.text}));
    EXPECT_EQ(WindowActions(), (std::vector<std::string>{"pointer 0", "bring"}));
    EXPECT_EQ(Download::LastRunOutcome(), Download::RunOutcome::Failed);
    // The traces of a failed request stop at it.
    const auto traces = Traces();
    const std::size_t firstAttempt = std::find(traces.begin(), traces.end(),
                                               "StartDriver.CreateFile():  file = \\\\.\\USBTrellis") -
                                     traces.begin();
    EXPECT_EQ(firstAttempt, fp.code == 13 ? 3u : 5u + (fp.requestsBeforeFailure - 1));
}

INSTANTIATE_TEST_SUITE_P(
    AllTransportFailures, UsbFailurePoint,
    ::testing::Values(FailurePoint{"first", 13, "ERROR 0xD: Failed to start data transmission to Quorba", 0},
                      FailurePoint{"second", 14, "ERROR 0xE: Failed to transmit data to Quorba", 1},
                      FailurePoint{"start", 15, "ERROR 0xF: Failed to transmit data to Quorba", 2},
                      FailurePoint{"data1", 16, "ERROR 0x10: Failed to transmit data to Quorba", 3}),
    [](const auto& info) { return std::string(info.param.kind); });

TEST_F(UsbTransport, FailuresOfLaterRequestsAreIgnored) {
    for (const char* kind : {"data2", "data3", "end"}) {
        log.clear();
        driver.failKind = kind;
        DownloadViaUsb::ProgramViaUsb(Pattern(1), {});
        EXPECT_EQ(Statuses(), std::vector<std::string>{"Quorba successfully programmed!"}) << kind;
    }
}

TEST_F(UsbTransport, DeviceAbsentAndInstallerMissing) {
    driver.present = false;
    driver.installer = SimDriver::Installer::Missing;
    DownloadViaUsb::ProgramViaUsb(Pattern(1), {});
    EXPECT_EQ(Statuses(), (std::vector<std::string>{
                              "ERROR 0xC: Board not found / Driver not loaded",
                              "Loading Driver...",
                              "Installing Driver...",
                              "ERROR VB #53: File not found (\"C:\\Keyloom\\qimload.dll\")",
                              "Driver Missing",
                              "ERROR 0xC: Board not found / Driver not loaded",
                              "ERROR 0xC: Board not found / Driver not loaded",
                          }));
    EXPECT_EQ(Traces(), (std::vector<std::string>{
                            "SendDataThroughPipe.CreateFile():  file = \\\\.\\USBTrellis",
                            "StartDriver.CreateFile():  file = \\\\.\\USBTrellis",
                            "StartDriver.CreateFile():  Driver not yet installed.",
                            "StartDriver.Shell():  file = \"C:\\Keyloom\\qimload.dll\"",
                            "SendDataThroughPipe.CreateFile():  file = \\\\.\\USBTrellis",
                        }));
    EXPECT_EQ(driver.commandsStarted, std::vector<std::string>{"\"C:\\Keyloom\\qimload.dll\""});
    EXPECT_EQ(WindowActions(), (std::vector<std::string>{"pointer 0", "bring"}));
    EXPECT_EQ(driver.overlappedOpens, 0);
}

TEST_F(UsbTransport, CommandLineFailureLeavesTheWindowToTheUser) {
    g_fCommandLineMode = true;
    driver.present = false;
    DownloadViaUsb::ProgramViaUsb(Pattern(1), {});
    EXPECT_TRUE(host.exitCodes.empty());
    EXPECT_EQ(WindowActions().back(), "bring");
    EXPECT_EQ(Download::CommandLineExitCode(), ExitCodes::kExitProgrammingFailed);
}

TEST_F(UsbTransport, InstallerWithoutTaskIdReportsOnlyDriverMissing) {
    driver.present = false;
    driver.installer = SimDriver::Installer::NoTask;
    DownloadViaUsb::StartDriver();
    EXPECT_EQ(Statuses(), (std::vector<std::string>{"Loading Driver...", "Installing Driver...", "Driver Missing"}));
}

TEST_F(UsbTransport, DeviceAppearingDuringTheWaitIsUsed) {
    driver.present = false;
    driver.installer = SimDriver::Installer::Starts;
    driver.installDelay = 2.0;
    const double start = clock.t;
    DownloadViaUsb::ProgramViaUsb(Pattern(5), {});
    EXPECT_EQ(Statuses(), (std::vector<std::string>{"ERROR 0xC: Board not found / Driver not loaded",
                                                    "Loading Driver...", "Installing Driver...", "Driver Started",
                                                    "Quorba successfully programmed!"}));
    const auto traces = Traces();
    EXPECT_NE(std::find(traces.begin(), traces.end(), "StartDriver.Shell():  Success"), traces.end());
    EXPECT_GT(driver.overlappedOpens, 1);  // polled with the overlapped flag
    EXPECT_GT(host.doEventsCalls, 0);      // and pumped events between polls
    EXPECT_NEAR(clock.t - start, 2.0, 0.01);
    ASSERT_EQ(driver.pages.size(), 1u);
    EXPECT_EQ(driver.pages[0], Pattern(5));
}

TEST_F(UsbTransport, DeviceNeverAppearingTimesOutAfterTheTimeout) {
    driver.present = false;
    driver.installer = SimDriver::Installer::Starts;
    driver.installDelay = 1e9;
    for (long timeout : {5000L, 2000L}) {
        log.clear();
        g_lTimeout = timeout;
        clock.t += 0.25;
        const double start = clock.t;
        DownloadViaUsb::StartDriver();
        EXPECT_EQ(Statuses().back(), "Timeout: Board not found");
        // The deadline is rounded to a whole second of the time of day.
        EXPECT_GE(clock.t - start, timeout / 1000.0 - 0.5);
        EXPECT_LE(clock.t - start, timeout / 1000.0 + 0.5);
    }
}

TEST_F(UsbTransport, AWaitAcrossMidnightLastsItsFullTime) {
    driver.present = false;
    driver.installer = SimDriver::Installer::Starts;
    driver.installDelay = 1e9;
    clock.SetTimeOfDay(86398.0);
    const double start = clock.t;
    DownloadViaUsb::StartDriver();
    EXPECT_EQ(Statuses().back(), "Timeout: Board not found");
    EXPECT_NEAR(clock.t - start, 5.0, 0.01);

    // And a device appearing after midnight within the wait is found.
    log.clear();
    driver.installDelay = 3.0;
    clock.SetTimeOfDay(86399.5);
    DownloadViaUsb::StartDriver();
    EXPECT_EQ(Statuses().back(), "Driver Started");
}

TEST(UsbTimerAfter, WrapsPastMidnight) {
    FakeClock clock;
    Download::SetClock(&clock);
    clock.SetTimeOfDay(86395.5);
    EXPECT_DOUBLE_EQ(DownloadViaUsb::TimerAfter(10), 5.5);
    EXPECT_DOUBLE_EQ(DownloadViaUsb::TimerAfter(4.5f), 0.0);
    clock.SetTimeOfDay(100.25);
    EXPECT_DOUBLE_EQ(DownloadViaUsb::TimerAfter(5), 105.25);
    Download::SetClock(nullptr);
}

TEST(UsbErrorText, EveryCodeWithAndWithoutTheCode) {
    using DownloadViaUsb::ErrorText;
    EXPECT_EQ(ErrorText(0, true), "No error");
    EXPECT_EQ(ErrorText(1, true), "Success");
    EXPECT_EQ(ErrorText(2, true), "ERROR 0x2: Checksum error");
    EXPECT_EQ(ErrorText(9, false), "Checksum error");
    EXPECT_EQ(ErrorText(10, true), "ERROR 0xA: Unknown error");
    EXPECT_EQ(ErrorText(11, false), "Unknown error");
    EXPECT_EQ(ErrorText(12, true), "ERROR 0xC: Board not found / Driver not loaded");
    EXPECT_EQ(ErrorText(13, true), "ERROR 0xD: Failed to start data transmission to Quorba");
    EXPECT_EQ(ErrorText(14, false), "Failed to transmit data to Quorba");
    EXPECT_EQ(ErrorText(16, true), "ERROR 0x10: Failed to transmit data to Quorba");
    EXPECT_EQ(ErrorText(17, true), "ERROR 0x11: Unknown error");
    EXPECT_EQ(ErrorText(255, true), "ERROR 0xFF: Unknown error");
    EXPECT_EQ(ErrorText(-1, true), "ERROR 0xFFFFFFFF: Unknown error");
}

TEST_F(UsbTransport, WithoutAWindowACommandLineFailureEndsTheProgram) {
    windowAvailable = false;
    ProgressCallback::g_lblProgress = nullptr;
    g_fCommandLineMode = true;
    driver.statuses = {{1, 1, 2}};
    DownloadViaUsb::ProgramViaUsb(Pattern(1), {});
    EXPECT_EQ(host.exitCodes, std::vector<int>{ExitCodes::kExitNoPortControl});
}

}  // namespace
