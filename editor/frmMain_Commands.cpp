// The remaining commands of the main window's menus and buttons. Exit and the launcher
// test are here already (closing and the mode table need them); the others come with
// the commands' own work.
#include "core/Host.h"
#include "core/Util.h"
#include "editor/frmMain.h"

namespace forms {

bool frmMain::LauncherExists() { return Util::FileExists(Host().AppPath() + "\\Launcher.exe"); }

// Exit closes the window the normal way, saves included.
void frmMain::mFileExit_Click() { Unload(); }

void frmMain::mProgramQuorba_Click() {}
void frmMain::btnProgramQuorba_Click() {}
void frmMain::mDefineMacros_Click() {}
void frmMain::mSnapToGrid_Click() {}
void frmMain::chkSnapControls_Click() {}
void frmMain::mLockControls_Click() {}
void frmMain::mClearControls_Click() {}
void frmMain::mTestWindow_Click() {}
void frmMain::mOnScreenKeypad_Click() {}
void frmMain::mStartLauncher_Click() {}
void frmMain::mToolsOptions_Click() {}
void frmMain::mHelpContents_Click() {}
void frmMain::mHelpAbout_Click() {}

}  // namespace forms
