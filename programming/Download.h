#pragma once
// A programming run: the entry point that the Program command and the unattended
// command-line start call, the 96-byte download array of one board page, and the
// byte helpers of its checksum.
//
// What a run needs of the programming window and of the clock sits behind the small
// interfaces below, so the run logic stays free of Windows and tests can drive it.
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

class IStatusLabel;

namespace Download {

// One board page as sent to the board: indices 0 to 95. An array that was never
// built (the second page of a two-player board) is empty.
using DownloadArray = std::vector<std::uint8_t>;
constexpr std::size_t kDownloadArraySize = 96;

// Port-access control of the programming window (Zintrix1), reached late-bound.
// When the control cannot reach the port, InByte must return something other than
// the controller's ready status 0x14.
class IPortControl {
public:
    virtual ~IPortControl() = default;
    virtual void OutByte(std::int32_t port, std::uint8_t value) = 0;
    virtual std::uint8_t InByte(std::int32_t port) = 0;
};

// The programming window (frmDownloading) as the programming code uses it.
class IProgrammingWindow {
public:
    virtual ~IProgrammingWindow() = default;
    // Shows the window modeless.
    virtual void Show() = 0;
    // Paints pending changes at once (UpdateWindow on the window).
    virtual void UpdateWindow() = 0;
    // The window's mouse pointer: 0 default, 13 arrow and hourglass.
    virtual void SetMousePointer(int pointer) = 0;
    // lblStatus; setting its caption copies the text to the main window in editor mode.
    virtual IStatusLabel& StatusLabel() = 0;
    // Starts the close timer: the window unloads one second later.
    virtual void CloseForm() = 0;
    // Centres a window parked off screen, shows it and gives the warning beep.
    virtual void BringToScreen() = 0;
    // Clears txtInput, enables and shows it, and focuses it when it is visible and enabled.
    virtual void ResetTxtInput() = 0;
    // txtInput.Enabled.
    virtual void SetTxtInputEnabled(bool enabled) = 0;
    // Zintrix1.
    virtual IPortControl& PortControl() = 0;
};

// Returns the one programming window, creating and loading it when none exists;
// nullptr when it cannot be created (the window code reports why). The programming
// code asks again for every use, because the window may be closed and loaded anew
// while events are pumped.
using DownloadingFormSource = std::function<IProgrammingWindow*()>;
void SetDownloadingFormSource(DownloadingFormSource source);

// The window and its status label, through the source above. Without a window a
// stand-in that does nothing is returned (its port reads never give 0x14).
IProgrammingWindow& DownloadingForm();
IStatusLabel& StatusLabel();
// True when the source currently yields a real window.
bool HasDownloadingForm();

// Wall clock as the transports read it.
class IClock {
public:
    virtual ~IClock() = default;
    // Time of day: seconds since local midnight, with fractions (0 <= t < 86400).
    virtual double Timer() = 0;
    // Date and time in whole seconds since a fixed origin; the difference of two
    // readings is the number of whole-second clock ticks between them.
    virtual long long NowSeconds() = 0;
};
// Installs a clock (not owned); nullptr restores the system clock.
void SetClock(IClock* clock);
IClock& Clock();

// How the last programming run ended; the command-line mode turns it into the exit code.
enum class RunOutcome { None, Running, Succeeded, Failed };
RunOutcome LastRunOutcome();
bool LastRunSucceeded();
void SetRunOutcome(RunOutcome outcome);
// Exit code of command-line mode (core/ExitCodes.h): ExitCodes::kExitOk after a
// successful run, otherwise ExitCodes::kExitProgrammingFailed (also when no run has
// ended yet, as when the window is closed before or during a run).
int CommandLineExitCode();
// Ends the program with CommandLineExitCode().
void EndCommandLineProgram();

// Runs one programming of the board with the current assignments and settings.
void ProgramBoard();

// Builds the download array of one page from a key array (element 0 the QBC
// shift-key index, elements 1.. the IBM key numbers in download order).
DownloadArray FillArray(std::span<const std::uint8_t> abIbmKeys, std::int16_t iPage);

std::uint8_t AddByte(std::uint8_t b1, std::uint8_t b2);
std::uint8_t LowByte(std::int16_t value);
std::int16_t ByteToInt(std::uint8_t b);

}  // namespace Download
