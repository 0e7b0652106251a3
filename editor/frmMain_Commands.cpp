// The remaining commands of the main window's menus and buttons: programming the board,
// the other windows, the programs the editor starts, the help text, Clear Controls,
// Snap To Grid, Lock Controls and Exit. A button that shares a menu item's command and
// must not let a runtime error escape runs it through Trapped.
#include <windows.h>

#include <exception>
#include <vector>

#include "core/Error_.h"
#include "core/ExitCodes.h"
#include "core/Globals.h"
#include "core/Host.h"
#include "core/Util.h"
#include "editor/HelpTexts.h"
#include "editor/ProgramStarter.h"
#include "editor/frmAbout.h"
#include "editor/frmMacros.h"
#include "editor/frmMain.h"
#include "editor/frmOptions.h"
#include "editor/frmTest.h"
#include "programming/Download.h"

namespace forms {

namespace {

constexpr unsigned kWarning = MB_OK | MB_ICONEXCLAMATION;
constexpr const char* kTitle = "Keyloom";
// The runtime's "Internal error", for a failure that carries no number of its own.
constexpr std::int32_t kErrInternal = 51;

// Runs the command; a runtime error it raises is reported (status line and trace) under
// the procedure's name, and the editor goes on.
template <class F>
void Trapped(const char* sProcedure, F&& command) {
    try {
        command();
    } catch (const Error_::RuntimeError& e) {
        Error_::ReportError(sProcedure, e.Number(), e.Description(), e.Source());
    } catch (const std::exception& e) {
        Error_::ReportError(sProcedure, kErrInternal, e.what(), "");
    }
}

// The task id of the started program; a start that raises counts as not started.
std::uint32_t StartProgram(const std::string& sProgram) {
    try {
        return ProgramStarter::Start(sProgram);
    } catch (const std::exception&) {
        return 0;
    }
}

std::string LauncherPath() { return Host().AppPath() + "\\Launcher.exe"; }

// Major, minor and revision of the running program's version resource; zeros when it
// has none.
HelpTexts::Version ProgramVersion() {
    char path[MAX_PATH] = {};
    if (::GetModuleFileNameA(nullptr, path, MAX_PATH) == 0) return {};
    DWORD ignored = 0;
    const DWORD size = ::GetFileVersionInfoSizeA(path, &ignored);
    if (size == 0) return {};
    std::vector<char> data(size);
    if (!::GetFileVersionInfoA(path, 0, size, data.data())) return {};
    void* fixed = nullptr;
    UINT length = 0;
    if (!::VerQueryValueA(data.data(), "\\", &fixed, &length) || length < sizeof(VS_FIXEDFILEINFO)) return {};
    const auto* info = static_cast<const VS_FIXEDFILEINFO*>(fixed);
    return {HIWORD(info->dwFileVersionMS), LOWORD(info->dwFileVersionMS), LOWORD(info->dwFileVersionLS)};
}

}  // namespace

bool frmMain::LauncherExists() { return Util::FileExists(LauncherPath()); }

// Exit closes the window the normal way, saves included.
void frmMain::mFileExit_Click() { Unload(); }

// ---------------------------------------------------------------- programming

void frmMain::mProgramQuorba_Click() { Download::ProgramBoard(); }

void frmMain::btnProgramQuorba_Click() {
    Trapped("frmMain.btnProgramQuorba(Program)_Click", [this] { mProgramQuorba_Click(); });
}

// ---------------------------------------------------------------- edit options

void frmMain::mDefineMacros_Click() { ::frmMacros->Show(false); }

void frmMain::mSnapToGrid_Click() {
    chkSnapControls.SetChecked(!chkSnapControls.Checked());
    chkSnapControls_Click();
}

void frmMain::chkSnapControls_Click() { mSnapToGrid->SetChecked(chkSnapControls.Checked()); }

void frmMain::mLockControls_Click() {
    chkLockControls.SetChecked(!chkLockControls.Checked());
    chkLockControls_Click();
}

void frmMain::mClearControls_Click() {
    if (Host().MessageBox("Remove all controls?", MB_YESNO | MB_ICONQUESTION, kTitle) != IDYES) return;
    RemoveAllWidgets();
    EndCurrentEdit();
}

// ---------------------------------------------------------------- tools

void frmMain::mTestWindow_Click() { ::frmTest->Show(false); }

void frmMain::mOnScreenKeypad_Click() {
    if (StartProgram("osk.exe") == 0) Host().MessageBox("Unabled to locate the on screen keyboard!", kWarning, kTitle);
}

void frmMain::mStartLauncher_Click() {
    const std::string sPath = LauncherPath();
    if (!Util::FileExists(sPath)) {
        Host().MessageBox("Could not find " + sPath, kWarning, kTitle);
        return;
    }
    // The session's work is saved as a close saves it, while the window still stands
    // where the user left it; a file that cannot be written may send the user back.
    if (!SaveWorkingFiles()) return;
    SetWindowState(1);
    if (StartProgram(sPath) != 0) {
        // The launcher takes over: the editor goes at once, its saves made above.
        m_fEndingWithoutSaves = true;
        Host().EndProgram(ExitCodes::kExitOk);
        return;
    }
    SetWindowState(2);
    Host().MessageBox("Could not start " + sPath, kWarning, kTitle);
}

void frmMain::btnStartLauncher_Click() {
    Trapped("frmMain.btnStartLauncher(Start Launcher)_Click", [this] { mStartLauncher_Click(); });
}

void frmMain::mToolsOptions_Click() { ::frmOptions->Show(false); }

// ---------------------------------------------------------------- help

void frmMain::mHelpContents_Click() {
    Host().MessageBox(HelpTexts::Text(g_modeEditor), kWarning, HelpTexts::Title(ProgramVersion()));
}

void frmMain::mHelpAbout_Click() { ::frmAbout->Show(true, this); }

}  // namespace forms
