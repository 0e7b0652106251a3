#pragma once
// Windows build only (kl_win): the keyboard device of the sided keys through
// DirectInput 8, in non-exclusive background mode on the main window.
#include <windows.h>

namespace KeyTables {

// Installs the DirectInput keyboard as the device of KeyTables (kept for the rest of
// the run). getMainWindow gives the main window's handle, loading the window if needed;
// it is called at set-up time, which happens on the first sided key.
void UseDirectInputKeyboard(HWND (*getMainWindow)());

}  // namespace KeyTables
