// Programs are started with CreateProcessA rather than the shell: the task id (the
// process id) is what tells the caller that the program runs.
#include "editor/ProgramStarter.h"

#include "core/WinApi_.h"

namespace ProgramStarter {

namespace {

// Quoted, so that a program folder with blanks names one file.
std::uint32_t StartWithSystem(const std::string& sProgram) { return WinApi_::StartProgram("\"" + sProgram + "\""); }

Starter& CurrentStarter() {
    static Starter starter;
    return starter;
}

}  // namespace

std::uint32_t Start(const std::string& sProgram) {
    if (const Starter& s = CurrentStarter()) return s(sProgram);
    return StartWithSystem(sProgram);
}

void SetStarter(Starter starter) { CurrentStarter() = std::move(starter); }

}  // namespace ProgramStarter
