#pragma once
// Exit status of keyloom.exe. Editor mode always ends with kExitOk; command-line
// mode tells a script what happened.
namespace ExitCodes {
constexpr int kExitOk = 0;               // programmed successfully (or editor closed)
constexpr int kExitProgrammingFailed = 1; // the board was not programmed
constexpr int kExitUsage = 2;            // bad or misplaced switch, /?, no file named
constexpr int kExitFileNotFound = 3;     // the named key-assignment file does not exist
constexpr int kExitNoPortControl = 4;    // the programming window could not be created
                                         // (port-access control not registered)
}  // namespace ExitCodes
