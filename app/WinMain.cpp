// keyloom.exe: installs the Windows program around the logic, runs the start-up,
// then the program lives on window events until it ends.
#include <windows.h>

#include "app/WinHost.h"
#include "core/MainStartup.h"
#include "platform/Platform.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    InstallWindowsProgram();
    MainStartup::Main();
    return platform::RunMessageLoop();
}
