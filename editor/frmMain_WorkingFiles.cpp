// The main window's working files, "Keyloom.qbc" and "Keyloom.cpl" in the program folder:
// what a close (or Start Launcher) saves, and the guard on a working file that could not
// be read at start, so that the editor's empty stand-in never takes its place unasked.
#include <windows.h>

#include <exception>
#include <string>
#include <vector>

#include "core/Host.h"
#include "core/QbcFile.h"
#include "core/Registry_win.h"
#include "core/Trace_.h"
#include "core/Util.h"
#include "editor/WorkingFileTexts.h"
#include "editor/frmMain.h"

namespace forms {

namespace {

constexpr const char* kTitle = "Keyloom";
constexpr const char* kProcedure = "frmMain.SaveWorkingFiles";

std::size_t Slot(frmMain::WorkingFile which) { return which == frmMain::WorkingFile::Keys ? 0 : 1; }

// Windows names one file in any letter case.
bool SamePath(const std::string& a, const std::string& b) { return Util::UCase(a) == Util::UCase(b); }

}  // namespace

std::string frmMain::WorkingFilePath(WorkingFile which) {
    return Host().AppPath() + (which == WorkingFile::Keys ? "\\Keyloom.qbc" : "\\Keyloom.cpl");
}

void frmMain::WorkingFileUnread(WorkingFile which, const std::string& sWhy) {
    // Named as the close will name it when it asks, whatever case the reader was given.
    const std::string sPath = WorkingFilePath(which);
    Trace_::Trace("frmMain.WorkingFileUnread", sPath + ": " + sWhy);
    m_unreadWorkingFiles[Slot(which)] = {true, sWhy};
    Host().MessageBox(WorkingFileTexts::UnreadAtStart(sPath, sWhy), MB_OK | MB_ICONEXCLAMATION, kTitle);
}

void frmMain::WorkingFileLoaded(WorkingFile which) { m_unreadWorkingFiles[Slot(which)] = {}; }

void frmMain::WorkingFileSavedTo(WorkingFile which, const std::string& sFile) {
    if (SamePath(sFile, WorkingFilePath(which))) m_unreadWorkingFiles[Slot(which)] = {};
}

bool frmMain::SaveWorkingFiles() {
    std::vector<std::string> failures;
    const auto save = [&](WorkingFile which, auto&& write) {
        const std::string sPath = WorkingFilePath(which);
        const UnreadWorkingFile& unread = m_unreadWorkingFiles[Slot(which)];
        if (unread.fUnread && Host().MessageBox(WorkingFileTexts::ReplaceUnread(sPath, unread.sWhy),
                                                MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2, kTitle) != IDYES) {
            Trace_::Trace(kProcedure, sPath + ": kept as it was");
            return;
        }
        try {
            write(sPath);
            WorkingFileSavedTo(which, sPath);
        } catch (const std::exception& e) {
            Trace_::Trace(kProcedure, e.what());
            failures.emplace_back(e.what());
        }
    };
    save(WorkingFile::Keys, [](const std::string& sPath) { QbcFile::SaveQbcFile(sPath); });
    save(WorkingFile::Panel, [this](const std::string& sPath) { CplSave(sPath); });
    if (!failures.empty() && Host().MessageBox(WorkingFileTexts::CloseWithoutSaving(failures),
                                               MB_YESNO | MB_ICONEXCLAMATION | MB_DEFBUTTON2, kTitle) != IDYES)
        return false;
    // Only where the editor ends: a window position is no work of the user's to ask about.
    try {
        Registry_::SaveWindowPosition("MainWindow", *this);
    } catch (const std::exception& e) {
        Trace_::Trace(kProcedure, std::string("window position not saved: ") + e.what());
    }
    return true;
}

}  // namespace forms
