#include "editor/frmMain.h"

#include <exception>
#include <string>

#include "core/Debug_.h"
#include "core/ExitCodes.h"
#include "core/Globals.h"
#include "core/Host.h"
#include "core/QbcFile.h"
#include "core/Registry_win.h"
#include "core/Trace_.h"
#include "core/Trace_frmTrace.h"
#include "editor/frmOptions.h"
#include "programming/ProgressCallback.h"
#include "programming/frmDownloading.h"

namespace forms {

namespace {
constexpr COLORREF kBack = RGB(40, 40, 40);
constexpr COLORREF kText = RGB(192, 192, 192);
constexpr float kStatusHeight = 255;
}  // namespace

void frmMain::InitializeComponent() {
    SetCaption("Keyloom");
    SetBackColor(kBack);
    SetForeColor(kText);
    Move(0, 0, 12000, 9000);
    lblStatus.Create(this, 120, ScaleHeight() - kStatusHeight - 60, ScaleWidth() - 240, kStatusHeight);
    lblStatus.SetBackColor(kBack);
    lblStatus.SetForeColor(kText);
    lblStatus.SetWordWrap(false);
    lblStatus.AssignControlId(kIdStatus);
}

void frmMain::Form_Load() {
    // The status channel goes to the programming window's label; loading that window
    // here creates the port-access control at editor start.
    (void)::frmDownloading.Get();
    ProgressCallback::g_lblProgress = &DownloadingStatusLabel();
    Debug_::Assert(!g_fCommandLineMode, "frmMain should not be present in command line version!");
    Form_Resize();
}

void frmMain::Form_Resize() {
    if (!lblStatus.Created() || WindowState() == 1) return;
    lblStatus.Move(120, ScaleHeight() - kStatusHeight - 60, ScaleWidth() - 240, kStatusHeight);
}

void frmMain::UpdateSwiBindings(int /*swi*/) {}

void frmMain::Form_QueryUnload(bool& /*cancel*/, int /*unloadMode*/) {
    if (!g_fCommandLineMode) {
        // Each save on its own: a failing one does not keep the next from running.
        try {
            QbcFile::SaveQbcFile(Host().AppPath() + "\\Keyloom.qbc");
        } catch (const std::exception& e) {
            Trace_::Trace("frmMain.Form_QueryUnload", std::string("Keyloom.qbc not saved: ") + e.what());
        }
        try {
            Registry_::SaveWindowPosition("MainWindow", *this);
        } catch (const std::exception&) {
        }
    }
    // The other windows, each if it exists.
    if (::frmDownloading.Peek()) ::frmDownloading.Peek()->Unload();
    if (::frmOptions.Peek()) ::frmOptions.Peek()->Unload();
    if (::Trace_frmTrace.Peek()) ::Trace_frmTrace.Peek()->Unload();
}

void frmMain::Form_Unload(bool& /*cancel*/) { Host().EndProgram(ExitCodes::kExitOk); }

}  // namespace forms
