// The main window's document commands: key-assignment and panel-layout files through
// the file dialog, new documents from the defaults or from templates, restoring the
// default keys, and the template entries of the File menu.
//
// A file that cannot be written is reported (trace and status line), one that cannot be
// read in a message box, and the command stops there: nothing the user has is replaced
// by less than what was asked for.
#include "editor/frmMain.h"

#include <exception>
#include <string>
#include <vector>

#include "core/Error_.h"
#include "core/Globals.h"
#include "core/Host.h"
#include "core/QbcFile.h"
#include "core/Trace_.h"
#include "core/Util.h"
#include "editor/TemplateMenus.h"
#include "editor/WorkingFileTexts.h"
#include "editor/frmOptions.h"
#include "platform/Platform.h"

namespace forms {

namespace {

constexpr const char* kTitle = "Keyloom";
constexpr const char* kQbcFilter = "Keyloom Configuration|*.qbc";
constexpr const char* kCplFilter = "Keyloom Control Panel Layout|*.cpl";
constexpr std::int32_t kErrFileNotFound = 53;
constexpr std::int32_t kErrPathFileAccess = 75;

std::string AskFile(HWND owner, bool save, const char* filter) {
    platform::FileDialogRequest request;
    request.save = save;
    request.filter = filter;
    request.owner = owner;
    return platform::ShowFileDialog(request);
}

// Runs a step of a command; a failure is reported and answers false.
template <class F>
bool Trapped(const char* sProcedure, F&& step) {
    try {
        step();
        return true;
    } catch (const Error_::RuntimeError& e) {
        Error_::ReportError(sProcedure, e.Number(), e.Description(), e.Source());
    } catch (const std::exception& e) {
        Error_::ReportError(sProcedure, kErrPathFileAccess, e.what(), "");
    }
    return false;
}

// A load whose file is there but cannot be read tells the user, who must not take the
// unchanged document for the one asked for; sKept says what stays. Any other failure is
// reported as Trapped does.
template <class F>
bool Loaded(const char* sProcedure, const char* sKept, F&& load) {
    try {
        load();
        return true;
    } catch (const Util::FileReadError& e) {
        Trace_::Trace(sProcedure, e.what());
        Host().MessageBox(WorkingFileTexts::CannotLoad(e.Path(), e.Why(), sKept), MB_OK | MB_ICONEXCLAMATION, kTitle);
        return false;
    } catch (...) {
        return Trapped(sProcedure, [] { throw; });
    }
}

constexpr const char* kKeysKept = "The key assignments stay as they were.";
constexpr const char* kPanelKept = "The panel stays as it was.";

// A file that has gone since it was chosen (or a default template that was never
// installed) is a missing file, reported as such, not one that cannot be read; hidden
// and system files count as gone, as everywhere else in the program.
void RequireFile(const std::string& sPath) {
    if (!Util::FileExists(sPath)) throw Error_::RuntimeError(kErrFileNotFound, "File not found: " + sPath);
}

// The key-assignment save dialog and the save; true only when a file was written.
bool SaveKeyAssignmentsAs(frmMain& form, const char* sProcedure) {
    const std::string sFile = AskFile(form.Hwnd(), true, kQbcFilter);
    if (sFile.empty()) return false;
    if (!Trapped(sProcedure, [&] { QbcFile::SaveQbcFile(sFile); })) return false;
    form.WorkingFileSavedTo(frmMain::WorkingFile::Keys, sFile);
    return true;
}

// The files of one kind in the template folder, in the order the file system gives
// them; only plain files count (as for a listing without attributes).
std::vector<std::string> ListTemplateFiles(const std::string& sPattern) {
    struct FindHandle {
        HANDLE h;
        ~FindHandle() {
            if (h != INVALID_HANDLE_VALUE) FindClose(h);
        }
    };
    std::vector<std::string> names;
    WIN32_FIND_DATAA data;
    const FindHandle find{FindFirstFileA(sPattern.c_str(), &data)};
    if (find.h == INVALID_HANDLE_VALUE) return names;
    constexpr DWORD kSkipped = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    do {
        if ((data.dwFileAttributes & kSkipped) == 0) names.emplace_back(data.cFileName);
    } while (FindNextFileA(find.h, &data));
    return names;
}

}  // namespace

std::string frmMain::AskPanelFileToSave() { return AskFile(Hwnd(), true, kCplFilter); }

// ---------------------------------------------------------------- template entries

void frmMain::zFile_Click() {
    // Only the list of the current mode: the other one's submenu is hidden.
    const bool fPanel = g_modeEditor == MODEEDITOR_PanelDesigner;
    const TemplateMenus::Kind kind = fPanel ? TemplateMenus::Kind::Panel : TemplateMenus::Kind::Keys;
    std::array<platform::MenuItem*, 20>& entries = fPanel ? mNewPanel : mNewKeyAsgn;
    std::array<std::string, 20>& paths = fPanel ? m_asCplTemplatePaths : m_asQbcTemplatePaths;
    int& iLast = fPanel ? m_iLastCplTemplate : m_iLastQbcTemplate;
    try {
        for (int i = 0; i <= iLast && i < 20; ++i) {
            entries[static_cast<std::size_t>(i)]->SetVisible(false);
            paths[static_cast<std::size_t>(i)].clear();
        }
        iLast = -1;
        const std::string sFolder = Host().AppPath() + "\\Templates\\";
        const std::vector<TemplateMenus::Entry> built =
            TemplateMenus::Build(ListTemplateFiles(sFolder + TemplateMenus::Pattern(kind)), kind, sFolder);
        for (std::size_t k = 0; k < built.size(); ++k) {
            platform::MenuItem& entry = *entries[k];
            if (built[k].visible) entry.SetCaption(built[k].caption);
            entry.SetVisible(built[k].visible);
            paths[k] = built[k].path;
            iLast = static_cast<int>(k);
        }
    } catch (const std::exception&) {
        // The menu opens with what was listed so far.
    }
}

// ---------------------------------------------------------------- panel layouts

void frmMain::mFileOpenPanel_Click() { OpenPanelFile(); }

void frmMain::mFileSavePanelAs_Click() { (void)SavePanelFileAs(); }

void frmMain::OpenPanelFile() {
    const std::string sFile = AskFile(Hwnd(), false, kCplFilter);
    if (sFile.empty()) return;
    EndCurrentEdit();
    Loaded("frmMain.OpenPanelFile", kPanelKept, [&] {
        RequireFile(sFile);
        CplLoad(sFile);
    });
}

bool frmMain::SavePanelFileAs() {
    EndCurrentEdit();
    const std::string sFile = AskPanelFileToSave();
    if (sFile.empty()) return false;
    return SavePanelFile(sFile, "frmMain.SavePanelFileAs");
}

bool frmMain::SavePanelFile(const std::string& sFile, const char* sProcedure) {
    if (!Trapped(sProcedure, [&] { CplSave(sFile); })) return false;
    WorkingFileSavedTo(WorkingFile::Panel, sFile);
    return true;
}

void frmMain::mNewPanelDefault_Click() { mNewPanel_Click(-2); }

void frmMain::mNewPanelEmpty_Click() { mNewPanel_Click(-1); }

void frmMain::mNewPanel_Click(int index) {
    if (index < -2 || index > m_iLastCplTemplate) return;
    const std::string sTemplate =
        index == -2 ? frmOptions::GetDefaultCplFileName()
                    : index >= 0 ? m_asCplTemplatePaths[static_cast<std::size_t>(index)] : std::string();
    const int answer =
        Host().MessageBox("Save current control panel design?", MB_YESNOCANCEL | MB_ICONQUESTION, kTitle);
    if (answer != IDYES && answer != IDNO) return;
    // The user asked for the panel to be kept: a cancelled save dialog, or a save that
    // failed, leaves it in place.
    if (answer == IDYES && !SavePanelFileAs()) return;
    Loaded("frmMain.mNewPanel_Click", kPanelKept, [&] {
        if (index == -1) {
            RemoveAllWidgets();
        } else {
            RequireFile(sTemplate);
            CplLoad(sTemplate);
        }
    });
    EndCurrentEdit();
}

// ---------------------------------------------------------------- key assignments

void frmMain::mFileOpenKeyAsgn_Click() {
    ClearStatus();
    const std::string sFile = AskFile(Hwnd(), false, kQbcFilter);
    if (sFile.empty()) return;
    if (!Loaded("frmMain.mFileOpenKeyAsgn_Click", kKeysKept, [&] {
            RequireFile(sFile);
            Load_QBC(sFile);
        }))
        return;
    if (optViewPanel.Checked())
        ShowPanelView();
    else
        ShowTableView();
}

// There is no save to the current name: both commands ask where to save.
void frmMain::mFileSaveKeyAsgn_Click() { mFileSaveKeyAsgnAs_Click(); }

void frmMain::mFileSaveKeyAsgnAs_Click() {
    ClearStatus();
    (void)SaveKeyAssignmentsAs(*this, "frmMain.mFileSaveKeyAsgnAs_Click");
}

void frmMain::mNewKeyAsgnDefaults_Click() { mNewKeyAsgn_Click(-1); }

void frmMain::mNewKeyAsgn_Click(int index) {
    if (index < -1 || index > m_iLastQbcTemplate) return;
    const int answer =
        Host().MessageBox("Save current control keycode assignments?", MB_YESNOCANCEL | MB_ICONQUESTION, kTitle);
    if (answer != IDYES && answer != IDNO) return;
    if (answer == IDYES) {
        ClearStatus();
        if (!SaveKeyAssignmentsAs(*this, "frmMain.mNewKeyAsgn_Click")) return;
    }
    if (index == -1) {
        LoadDefaultKeyAssignments();
        return;
    }
    const std::string sTemplate = m_asQbcTemplatePaths[static_cast<std::size_t>(index)];
    if (!Loaded("frmMain.mNewKeyAsgn_Click", kKeysKept, [&] {
            RequireFile(sTemplate);
            Load_QBC(sTemplate);
        }))
        return;
    if (optViewPanel.Checked())
        ShowPanelView();
    else
        ShowTableView();
}

void frmMain::mRestoreDefaults_Click() {
    ClearStatus();
    if (Host().MessageBox("Reset default settings?", MB_YESNO | MB_ICONQUESTION, kTitle) == IDYES)
        LoadDefaultKeyAssignments();
}

void frmMain::LoadDefaultKeyAssignments() {
    DeselectSwi();
    // The view stays as it is.
    Loaded("frmMain.LoadDefaultKeyAssignments", kKeysKept, [this] {
        const std::string sFile = QbcFile::GetDefaultQbcTemplatePath();
        RequireFile(sFile);
        Load_QBC(sFile);
    });
}

}  // namespace forms
