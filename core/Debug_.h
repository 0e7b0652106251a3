#pragma once
// Internal consistency checks. A failed check is reported (message box with the debug
// display on, trace line otherwise) and the caller always goes on.
#include <string>

namespace Debug_ {

// Reports sMessage when fCondition is false; any true (non-zero) condition passes.
void Assert(bool fCondition, const std::string& sMessage);
// Reports an assertion and returns.
void AssertFailed(const std::string& sMessage);

}  // namespace Debug_
