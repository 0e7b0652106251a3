#pragma once
// Exit status of keyloom.exe. A closed editor ends with kExitOk, and so does a board
// programmed from the command line; a usage error or a missing named file ends either
// mode with its code, and the rest tell a command-line script what went wrong.
namespace ExitCodes {
constexpr int kExitOk = 0;               // programmed successfully (or editor closed)
constexpr int kExitProgrammingFailed = 1; // the board was not programmed
constexpr int kExitUsage = 2;            // bad or misplaced switch, /?, no file named
constexpr int kExitFileNotFound = 3;     // the named key-assignment file does not exist
constexpr int kExitNoPortControl = 4;    // the programming window could not be created
                                         // (port-access control not registered)
}  // namespace ExitCodes
