#include "editor/frmOptions.h"

#include <windows.h>

#include <exception>

#include "core/CfgFile.h"
#include "core/Error_.h"
#include "core/Globals.h"
#include "core/Host.h"
#include "core/QbcFile.h"
#include "core/Util.h"

namespace forms {

namespace {
constexpr float kButtonWidth = 885, kButtonHeight = 300;
constexpr float kOkayLeft = 2640, kCancelLeft = 3600, kButtonTop = 4440;

std::string CfgPath() { return Host().AppPath() + "\\Keyloom.cfg"; }
}  // namespace

void frmOptions::InitializeComponent() {
    SetCaption("Keyloom Options");
    Move(0, 0, 4800, 5250);
    Move((platform::Screen::Width() - Width()) / 2, (platform::Screen::Height() - Height()) / 3);
    lblQuorbaModel.Create(this, 240, 240, ScaleWidth() - 480, 600,
                          "Please select the type of Quorba that is connected to the computer:");
    cmdOkay.Create(this, kOkayLeft, kButtonTop, kButtonWidth, kButtonHeight, "OK");
    cmdOkay.AssignControlId(kIdOkay);
    cmdCancel.Create(this, kCancelLeft, kButtonTop, kButtonWidth, kButtonHeight, "Cancel");
    cmdCancel.AssignControlId(kIdCancel);
    cmdOkay.Click = [this] { cmdOkay_Click(); };
    cmdCancel.Click = [this] { cmdCancel_Click(); };
    SetDefaultButton(&cmdOkay);
    SetCancelButton(&cmdCancel);
}

void frmOptions::Form_Load() {
    m_fFirstRun = !Util::FileExists(CfgPath());
    if (m_fFirstRun) {
        cmdCancel.SetVisible(false);
        cmdOkay.Move(cmdCancel.Left(), cmdCancel.Top());
        SetCaption("Keyloom Initial Configuration");
    }
    m_fSettingsSaved = false;
}

void frmOptions::Save_Settings() {
    // The board type, timeout and connection stay as the globals hold them until
    // the dialog offers its choices.
    if (m_fFirstRun) InstallDefaultFiles();
    m_fSettingsSaved = true;
    CfgFile::WriteCfgFile(CfgPath());
}

void frmOptions::InstallDefaultFiles() {
    // Existing working files are never replaced.
    const std::string sKeyPath = Host().AppPath() + "\\Keyloom.qbc";
    if (!Util::FileExists(sKeyPath)) CopyFileIgnoringErrors(QbcFile::GetDefaultQbcTemplatePath(), sKeyPath);
    if (Util::FileExists(sKeyPath)) QbcFile::LoadQbcFile(sKeyPath);
}

void frmOptions::CopyFileIgnoringErrors(const std::string& sSource, const std::string& sTarget) {
    CopyFileA(sSource.c_str(), sTarget.c_str(), FALSE);
}

std::string frmOptions::GetDefaultCplFileName() {
    const std::string sFolder = Host().AppPath() + "\\Templates\\";
    const char* sPreferred = "Default_Quorba_2.cpl";
    const char* sFallback = "Default_2_Player.cpl";
    if (g_typeQuorba == TYPEQUORBA_Quorba4) {
        sPreferred = "Default_Quorba_4.cpl";
        sFallback = "Default_4_Player.cpl";
    } else if (g_typeQuorba == TYPEQUORBA_QuorbaVexo) {
        sPreferred = "Default_Quorba_VEXO.cpl";
    }
    return Util::FileExists(sFolder + sPreferred) ? sFolder + sPreferred : sFolder + sFallback;
}

bool frmOptions::SaveReportingErrors(const char* sHandler) {
    try {
        Save_Settings();
        return true;
    } catch (const Error_::RuntimeError& e) {
        Error_::ReportError(sHandler, e.Number(), e.Description(), e.Source());
    } catch (const std::exception& e) {
        Error_::ReportError(sHandler, 75, e.what(), "");  // path/file access error
    }
    return false;
}

void frmOptions::cmdOkay_Click() {
    // A settings file that cannot be written is reported and the dialog stays, so
    // the choice is not lost silently.
    if (SaveReportingErrors("frmOptions.cmdOkay_Click")) Unload();
}

void frmOptions::cmdCancel_Click() { Unload(); }

void frmOptions::Form_QueryUnload(bool& /*cancel*/, int /*unloadMode*/) {
    // Every way of closing a first-run dialog saves.
    if (m_fFirstRun && !m_fSettingsSaved) SaveReportingErrors("frmOptions.Form_QueryUnload");
}

void frmOptions::Form_Unload(bool& /*cancel*/) {
    if (::frmOptions.Peek() == this) ::frmOptions.Reset();
}

}  // namespace forms
