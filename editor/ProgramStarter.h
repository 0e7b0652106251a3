#pragma once
// Starting another program (the on-screen keyboard, the launcher) with a normal, focused
// window. Behind a seam, so that tests decide what starts, what is missing and what
// fails without starting real programs. Windows build only (kl_win).
#include <cstdint>
#include <functional>
#include <string>

namespace ProgramStarter {

// Starts the program file (a bare name is looked up along the search path; a path may
// hold blanks) and returns its task id; 0 when it did not start. The real starter
// raises Error_::RuntimeError (53 "File not found" for a missing file) when the system
// refuses the start; a replacement may raise or return 0.
std::uint32_t Start(const std::string& sProgram);

using Starter = std::function<std::uint32_t(const std::string& sProgram)>;
// Installs a starter; an empty one restores the system's.
void SetStarter(Starter starter);

}  // namespace ProgramStarter
