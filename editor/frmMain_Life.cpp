// The main window's life: creation, loading, the fixed client height, closing, and the
// questions its panel controls and table cells ask of it.
#include <exception>
#include <string>

#include "controls/CplWidget_Resources.h"
#include "controls/LabelButton_Helper.h"
#include "controls/VantoOption_Resources.h"
#include "core/Debug_.h"
#include "core/ExitCodes.h"
#include "core/Globals.h"
#include "core/Host.h"
#include "core/Trace_.h"
#include "core/Trace_frmTrace.h"
#include "core/Util.h"
#include "editor/frmAbout.h"
#include "editor/frmMacros.h"
#include "editor/frmMain.h"
#include "editor/frmOptions.h"
#include "editor/frmTest.h"
#include "programming/ProgressCallback.h"
#include "programming/frmDownloading.h"

namespace forms {

namespace {

// Shut-down goes on whatever a step throws: a failing save never keeps the next one
// (or the program's end) from happening.
template <class F>
void Quietly(const char* sWhat, F&& step) {
    try {
        step();
    } catch (const std::exception& e) {
        Trace_::Trace("frmMain.Form_QueryUnload", std::string(sWhat) + ": " + e.what());
    } catch (...) {
        Trace_::Trace("frmMain.Form_QueryUnload", std::string(sWhat) + ": failed");
    }
}

template <class Ref>
void UnloadIfThere(Ref& ref) {
    if (auto* form = ref.Peek(); form && form->IsLoaded()) form->Unload();
}

}  // namespace

frmMain::frmMain() = default;

frmMain::~frmMain() {
    // The panel controls refer to each other and to their captions: they go first.
    m_colWidgets.clear();
    m_colCells.clear();
    awidgets.clear();
    alblWidgetCaptions.clear();
    acells.clear();
}

void frmMain::Form_Load() {
    platform::Form::Batch batch(*this);
    // The status channel goes to the programming window's label; loading that window
    // here creates the port-access control at editor start.
    (void)::frmDownloading.Get();
    ProgressCallback::g_lblProgress = &DownloadingStatusLabel();
    Debug_::Assert(!g_fCommandLineMode, "frmMain should not be present in command line version!");

    m_xPaletteHome = imgPaletteItem.Left();
    m_yPaletteHome = imgPaletteItem.Top();
    m_cxPaletteHome = imgPaletteItem.Width();
    m_cyPaletteHome = imgPaletteItem.Height();

    EndCurrentEdit();

    const std::string sPanel = WorkingFilePath(WorkingFile::Panel);
    if (Util::FileExists(sPanel)) {
        try {
            CplLoad(sPanel);
        } catch (const Util::FileReadError& e) {
            // The editor starts with an empty panel, and keeps it from replacing the file.
            WorkingFileUnread(WorkingFile::Panel, e.Why());
        } catch (const std::exception& e) {
            Trace_::Trace("frmMain.Form_Load", std::string("Keyloom.cpl: ") + e.what());
        }
        ApplyMode(true);
    } else {
        // A first start without a panel layout opens in Panel Designer.
        EnterPanelDesigner(true);
    }

    if (g_modeEditor == MODEEDITOR_KeyAssignments) {
        ShowPanelView();
        ShowQbcFileMenus(true);
        ShowPanelFileMenus(false);
        if (g_fShowUserText) {
            ClearStatus();
            optLabelWithKeys.SetChecked(false);
            mViewKeycodeAssignments->SetChecked(false);
            optLabelWithUserText.SetChecked(true);
            mViewUserText->SetChecked(true);
            optViewPanel.SetChecked(true);
            mViewAsPanel->SetChecked(true);
            optViewTable.SetChecked(false);
            mViewAsTable->SetChecked(false);
            ShowUserTextLabels();
        }
    }
    Form_Resize();
}

void frmMain::Form_Resize() {
    // Whatever height the user drags to, the client area ends at the marker's top. A
    // minimised window has no client area to keep, a maximised one fills the screen.
    if (!lblHeightAtRuntime.Created() || WindowState() != 0) return;
    const float wanted = Height() - ScaleHeight() + lblHeightAtRuntime.Top();
    if (Height() != wanted) SetHeight(wanted);
}

void frmMain::Form_QueryEndSession(bool& cancel) {
    // A log-off asks as a close does, before Windows goes on.
    if (g_fCommandLineMode || m_fEndingWithoutSaves) return;
    cancel = !SaveWorkingFiles();
    m_fSavedForSessionEnd = !cancel;
}

void frmMain::Form_QueryUnload(bool& cancel, int unloadMode) {
    // A working file that cannot be written is the user's work: the user may go back and
    // save it elsewhere rather than lose it.
    const bool fSaved = unloadMode == 2 && m_fSavedForSessionEnd;
    if (!g_fCommandLineMode && !m_fEndingWithoutSaves && !fSaved && !SaveWorkingFiles()) {
        cancel = true;
        return;
    }
    // The other windows, each if it exists.
    Quietly("CplWidget_Resources", [] { UnloadIfThere(::CplWidget_Resources); });
    Quietly("frmAbout", [] { UnloadIfThere(::frmAbout); });
    Quietly("frmDownloading", [] { UnloadIfThere(::frmDownloading); });
    Quietly("frmMacros", [] { UnloadIfThere(::frmMacros); });
    Quietly("frmOptions", [] { UnloadIfThere(::frmOptions); });
    Quietly("frmTest", [] { UnloadIfThere(::frmTest); });
    Quietly("Trace_frmTrace", [] { UnloadIfThere(::Trace_frmTrace); });
    Quietly("VantoOption_Resources", [] { UnloadIfThere(::VantoOption_Resources); });
}

void frmMain::Form_Unload(bool& /*cancel*/) { Host().EndProgram(ExitCodes::kExitOk); }

void frmMain::Form_Click() { EndCurrentEdit(); }

void frmMain::pnlLegend_MouseDown(const platform::MouseEvent&) { EndCurrentEdit(); }

void frmMain::Form_MouseMove(const platform::MouseEvent& e) {
    shapePaletteColorHighlight.SetVisible(false);
    LabelButton_Helper::SetHotButton(nullptr, 0xFFFFFF, 0);
    if (e.button == 0 && m_sStatusOwner == "SwiDesc") ClearStatus();
}

// ---------------------------------------------------------------- host questions

platform::Window* frmMain::CplWidgetEntry(std::int16_t ctlArrayIndex) {
    // The template (0) is never moved or shown through its index.
    if (ctlArrayIndex <= 0) return nullptr;
    auto it = awidgets.find(ctlArrayIndex);
    return it == awidgets.end() ? nullptr : it->second.get();
}

bool frmMain::KeysShiftedShown() { return optKeysShifted.Created() && optKeysShifted.Checked(); }

platform::Window* frmMain::TableCellEntry(std::int16_t ctlArrayIndex) {
    if (ctlArrayIndex <= 0) return nullptr;
    auto it = acells.find(ctlArrayIndex);
    return it == acells.end() ? nullptr : it->second.get();
}

const ISwi* frmMain::SelectedSwi() { return m_iswiSelected; }

bool frmMain::UserTextShown() { return optLabelWithUserText.Created() && optLabelWithUserText.Checked(); }

}  // namespace forms
