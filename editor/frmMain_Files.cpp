// The main window's document commands: key-assignment and panel-layout files through
// the file dialog, new documents from the defaults or from templates, restoring the
// default keys, and the template entries of the File menu.
//
// A file that cannot be read or written is reported (trace and status line) and the
// command stops there: nothing the user has is replaced by less than what was asked for.
#include "editor/frmMain.h"

#include <exception>
#include <string>
#include <vector>

#include "core/Error_.h"
#include "core/Globals.h"
#include "core/Host.h"
#include "core/QbcFile.h"
#include "core/Util.h"
#include "editor/TemplateMenus.h"
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

// Both loaders throw away what is there before they read: a file that has gone since
// it was chosen (or a default template that was never installed) would leave an empty
// panel or an empty set of keys in place of the user's.
void RequireFile(const std::string& sPath) {
    if (!Util::FileExists(sPath)) throw Error_::RuntimeError(kErrFileNotFound, "File not found: " + sPath);
}

// The key-assignment save dialog and the save; false only when a chosen file could not
// be written.
bool SaveKeyAssignmentsAs(frmMain& form, const char* sProcedure) {
    const std::string sFile = AskFile(form.Hwnd(), true, kQbcFilter);
    if (sFile.empty()) return true;
    return Trapped(sProcedure, [&] { QbcFile::SaveQbcFile(sFile); });
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
    Trapped("frmMain.OpenPanelFile", [&] {
        RequireFile(sFile);
        CplLoad(sFile);
    });
}

bool frmMain::SavePanelFileAs() {
    EndCurrentEdit();
    const std::string sFile = AskPanelFileToSave();
    if (sFile.empty()) return true;
    return SavePanelFile(sFile, "frmMain.SavePanelFileAs");
}

bool frmMain::SavePanelFile(const std::string& sFile, const char* sProcedure) {
    return Trapped(sProcedure, [&] { CplSave(sFile); });
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
    // A cancelled save dialog goes on to the new panel; a save that failed keeps the
    // panel the user wanted kept.
    if (answer == IDYES && !SavePanelFileAs()) return;
    Trapped("frmMain.mNewPanel_Click", [&] {
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
    if (!Trapped("frmMain.mFileOpenKeyAsgn_Click", [&] {
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
    if (!Trapped("frmMain.mNewKeyAsgn_Click", [&] {
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
    Trapped("frmMain.LoadDefaultKeyAssignments", [this] {
        const std::string sFile = QbcFile::GetDefaultQbcTemplatePath();
        RequireFile(sFile);
        Load_QBC(sFile);
    });
}

}  // namespace forms
