#pragma once
// The options dialog's rules that need no window: the timeout label, the board type of
// the chosen option, the default panel-layout template of a board, and the first-run
// installation of the working files (which copies only what is missing, so a user's
// own files are never replaced).
#include <cstdint>
#include <functional>
#include <string>

namespace OptionsRules {

// The slider's bounds and steps, in milliseconds.
constexpr int kTimeoutMin = 1000, kTimeoutMax = 10000;
constexpr int kTimeoutSmallChange = 100, kTimeoutLargeChange = 1000, kTimeoutTickEvery = 1000;

// "Adjust the timeout period:  5.0 seconds" for 5000 ms: seconds with one decimal.
std::string TimeoutLabel(int ms);

// The board type of the chosen option: Quorba/4 first, then Quorba/2, then Vexo. With no
// option chosen an assertion reports it and the board type is 2.
std::int16_t BoardTypeOfChoice(bool fQuorba4, bool fQuorba2, bool fVexo);

// The default panel-layout template of g_typeQuorba in the program folder's "Templates":
// its preferred name when that file exists, else the fallback name.
std::string DefaultCplFileName();

// What the installation does with files; each step reports its own errors.
struct InstallActions {
    std::function<void(const std::string& sSource, const std::string& sTarget)> copyIgnoringErrors;
    std::function<void(const std::string& sPath)> loadPanel;
    std::function<void(const std::string& sPath)> loadKeys;
};
// First run: the working panel layout and key assignments of the program folder are
// copied from the board's templates when missing, and each is loaded when it exists now.
void InstallDefaultFiles(const InstallActions& actions);

}  // namespace OptionsRules
