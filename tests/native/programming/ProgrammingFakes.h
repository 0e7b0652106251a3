#pragma once
// Test doubles for the programming run: a host whose clock moves with sleeps and
// event pumping, a programming window that logs what is done to it, and one log of
// status texts, trace lines and window actions in the order they happened.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "core/Globals.h"
#include "core/Host.h"
#include "programming/Download.h"
#include "programming/DownloadViaPs2.h"
#include "programming/DownloadViaUsb.h"
#include "programming/ProgressCallback.h"

namespace fakes {

// Log entries: "status <text>", "trace <line>", "window <action>".
using Log = std::vector<std::string>;

inline std::vector<std::string> Only(const Log& log, const std::string& prefix) {
    std::vector<std::string> out;
    for (const std::string& e : log)
        if (e.rfind(prefix, 0) == 0) out.push_back(e.substr(prefix.size()));
    return out;
}

class FakeClock final : public Download::IClock {
public:
    // Seconds since an origin that lies on a midnight; starts at noon of day 10.
    double t = 10 * 86400.0 + 12 * 3600.0;
    double Timer() override { return std::fmod(t, 86400.0); }
    long long NowSeconds() override { return static_cast<long long>(std::floor(t)); }
    void SetTimeOfDay(double tod) { t = 10 * 86400.0 + tod; }
};

class FakeHost final : public IHost {
public:
    FakeHost(Log& log, FakeClock& clock) : log_(log), clock_(clock) {}

    double doEventsSeconds = 0.001;
    std::function<void()> onDoEvents;
    std::vector<int> exitCodes;
    std::vector<std::string> messageBoxes;
    int traceWindowShown = 0;
    int doEventsCalls = 0;
    int depth = 0;
    int maxDepth = 0;
    long sleptMs = 0;

    int MessageBox(const std::string& text, unsigned, const std::string& title) override {
        messageBoxes.push_back(title + "|" + text);
        return 1;
    }
    void TraceLine(const std::string& line) override { log_.push_back("trace " + line); }
    void ShowTraceWindow() override { ++traceWindowShown; }
    void SleepMs(long ms) override {
        sleptMs += ms;
        clock_.t += static_cast<double>(ms) / 1000.0;
    }
    void DoEvents() override {
        ++doEventsCalls;
        ++depth;
        if (depth > maxDepth) maxDepth = depth;
        clock_.t += doEventsSeconds;
        if (onDoEvents) onDoEvents();
        --depth;
    }
    std::string AppPath() override { return "C:\\Keyloom"; }
    void EndProgram(int exitCode) override {
        exitCodes.push_back(exitCode);
        log_.push_back("end " + std::to_string(exitCode));
    }

private:
    Log& log_;
    FakeClock& clock_;
};

class FakeLabel final : public IStatusLabel {
public:
    explicit FakeLabel(Log& log) : log_(log) {}
    void SetCaption(const std::string& text) override {
        caption_ = text;
        log_.push_back("status " + text);
    }
    std::string Caption() const override { return caption_; }

private:
    Log& log_;
    std::string caption_;
};

class FakeWindow final : public Download::IProgrammingWindow {
public:
    FakeWindow(Log& log, Download::IPortControl& port) : label(log), log_(log), port_(&port) {}
    FakeLabel label;
    int pointer = 0;

    void Show() override { log_.push_back("window show"); }
    void UpdateWindow() override { log_.push_back("window update"); }
    void SetMousePointer(int p) override {
        pointer = p;
        log_.push_back("window pointer " + std::to_string(p));
    }
    IStatusLabel& StatusLabel() override { return label; }
    void CloseForm() override { log_.push_back("window close"); }
    void BringToScreen() override { log_.push_back("window bring"); }
    void ResetTxtInput() override { log_.push_back("window reset-input"); }
    void SetTxtInputEnabled(bool e) override { log_.push_back(std::string("window input-enabled ") + (e ? "1" : "0")); }
    Download::IPortControl& PortControl() override { return *port_; }
    void SetPort(Download::IPortControl& port) { port_ = &port; }

private:
    Log& log_;
    Download::IPortControl* port_;
};

class NoPort final : public Download::IPortControl {
public:
    void OutByte(std::int32_t, std::uint8_t) override {}
    std::uint8_t InByte(std::int32_t) override { return 0xFF; }
};

// Installs the fakes for one test and restores the defaults afterwards.
class ProgrammingTest : public ::testing::Test {
protected:
    Log log;
    FakeClock clock;
    FakeHost host{log, clock};
    NoPort noPort;
    FakeWindow window{log, noPort};
    bool windowAvailable = true;

    void SetUp() override {
        g_typeQuorba = TYPEQUORBA_Quorba2;
        g_fUsbMode = true;
        g_lTimeout = 5000;
        g_fCommandLineMode = false;
        g_fShowProgress = true;
        g_fRamOnly = false;
        g_fDebugGui = false;
        g_fProgrammingQuorba = false;
        SetHost(&host);
        Download::SetClock(&clock);
        Download::SetDownloadingFormSource([this]() -> Download::IProgrammingWindow* {
            return windowAvailable ? &window : nullptr;
        });
        Download::SetRunOutcome(Download::RunOutcome::None);
        ProgressCallback::g_lblProgress = &window.label;
    }
    void TearDown() override {
        ProgressCallback::g_lblProgress = nullptr;
        Download::SetDownloadingFormSource({});
        Download::SetClock(nullptr);
        DownloadViaUsb::SetUsbDeviceApi(nullptr);
        DownloadViaPs2::SetKeyboardLayout(nullptr);
        SetHost(nullptr);
        g_fProgrammingQuorba = false;
        g_fCommandLineMode = false;
        g_fUsbMode = true;
        g_typeQuorba = TYPEQUORBA_Quorba2;
    }

    std::vector<std::string> Statuses() const { return Only(log, "status "); }
    std::vector<std::string> Traces() const { return Only(log, "trace "); }
    std::vector<std::string> WindowActions() const { return Only(log, "window "); }
};

// A 96-byte array whose byte i is seed + i.
inline Download::DownloadArray Pattern(std::uint8_t seed) {
    Download::DownloadArray a(Download::kDownloadArraySize);
    for (std::size_t i = 0; i < a.size(); ++i) a[i] = static_cast<std::uint8_t>(seed + i);
    return a;
}

}  // namespace fakes
