#pragma once
// Windows build only (kl_win): the keyboard device of the sided keys through
// DirectInput 8, in non-exclusive background mode on the main window.
#include <windows.h>

namespace KeyTables {

// Installs the DirectInput keyboard as the device of KeyTables (kept for the rest of
// the run). getMainWindow gives the main window's handle, loading the window if needed;
// it is called at set-up time: when the editor's main window has come on screen (start-up),
// else on the first key-state read.
void UseDirectInputKeyboard(HWND (*getMainWindow)());
// Whether that keyboard's set-up has created its DirectInput device.
bool DirectInputKeyboardHasDevice();
// For tests: uninstalls and releases that keyboard, so that the next
// UseDirectInputKeyboard sets up a new one with its own main window.
void ResetDirectInputKeyboard();

}  // namespace KeyTables
