#pragma once
// The options dialog: board type, connection and download timeout, written to
// "Keyloom.cfg". On a first run (no settings file yet) start-up shows it modally
// over the main window; it then has no Cancel, saves however it is closed, and
// installs the default key assignments for the board.
//
// This first version carries only what start-up needs: the settings come from the
// globals as start-up left them; the choice controls come with the editor.
#include "platform/Controls.h"
#include "platform/Window.h"

namespace forms {

class frmOptions : public platform::Form {
public:
    static constexpr int kIdOkay = 301;
    static constexpr int kIdCancel = 302;

    platform::Label lblQuorbaModel;
    platform::CommandButton cmdOkay;
    platform::CommandButton cmdCancel;

    // Applies the dialog to the globals and writes the settings file.
    void Save_Settings();
    // First run: copies the default key assignments of the board into the working
    // file when there is none, and loads it.
    void InstallDefaultFiles();
    // Copies a file; any error is ignored.
    static void CopyFileIgnoringErrors(const std::string& sSource, const std::string& sTarget);
    // The default panel layout template of the board type: its preferred name when that
    // file exists in the template folder, else the fallback name. Static: asking for the
    // name does not load the dialog.
    static std::string GetDefaultCplFileName();

    bool FirstRun() const { return m_fFirstRun; }

protected:
    void InitializeComponent() override;
    void Form_Load() override;
    void Form_QueryUnload(bool& cancel, int unloadMode) override;
    void Form_Unload(bool& cancel) override;
    DWORD FrameStyle() const override { return WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN; }
    DWORD FrameExStyle() const override { return WS_EX_DLGMODALFRAME; }

private:
    void cmdOkay_Click();
    void cmdCancel_Click();
    // Runs Save_Settings and reports what it could not do (an event handler must
    // not let the error escape into the window system).
    bool SaveReportingErrors(const char* sHandler);

    bool m_fFirstRun = false;
    bool m_fSettingsSaved = false;
};

}  // namespace forms

inline platform::FormRef<forms::frmOptions> frmOptions;
