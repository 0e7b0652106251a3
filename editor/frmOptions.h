#pragma once
// The options dialog: board type, connection and download timeout, written to
// "Keyloom.cfg". The editor shows it modeless; on a first run (no settings file yet)
// start-up shows it modally over the main window: it then has no Cancel, keeps its
// second tab unavailable, saves however it is closed, and installs the default panel
// layout and key assignments of the chosen board.
#include <array>
#include <string>

#include "platform/Controls.h"
#include "platform/Window.h"

namespace forms {

class frmOptions : public platform::Form {
public:
    // Control ids, for automation from another process.
    static constexpr int kIdOkay = 301;
    static constexpr int kIdCancel = 302;
    static constexpr int kIdTabs = 303;
    static constexpr int kIdQuorba2 = 304, kIdQuorba4 = 305, kIdQuorbaVexo = 306;
    static constexpr int kIdPs2 = 307, kIdUsb = 308;
    static constexpr int kIdTimeout = 309, kIdTimeoutLabel = 310;

    platform::TabControl SSTab1;  // tab 0 "Board Settings", tab 1 "Download Timers"
    platform::Frame frameQuorbaModel, frameConnection, frameDownloadTimeout;
    platform::Label lblQuorbaModel, lblQuorbaConnection, lblTimeout;
    platform::OptionButton optQuorba2, optQuorba4, optQuorbaVexo, optPs2, optUsb;
    platform::Slider sliderTimeout;
    std::array<platform::Label, 2> Label1;  // "Fast" left of the slider, "Slow" right of it
    platform::Image Image1;
    platform::CommandButton cmdOkay;
    platform::CommandButton cmdCancel;

    // Writes the dialog's choice to the settings file, and once it is written puts it in
    // force (the globals, the main window, on a first run the default files). A file that
    // cannot be written changes nothing: Util::FileWriteError.
    void Save_Settings();
    // First run: copies the default panel layout and key assignments of the board into
    // the working files that are missing, and loads those that exist then.
    void InstallDefaultFiles();
    // Copies a file unless the target exists; any error is ignored.
    static void CopyFileIgnoringErrors(const std::string& sSource, const std::string& sTarget);
    // The default panel layout template of the board type: its preferred name when that
    // file exists in the template folder, else the fallback name. Static: asking for the
    // name does not load the dialog.
    static std::string GetDefaultCplFileName();

    bool FirstRun() const { return m_fFirstRun; }
    bool SettingsSaved() const { return m_fSettingsSaved; }

    void cmdOkay_Click();
    void cmdCancel_Click();
    void sliderTimeout_Change();

protected:
    void InitializeComponent() override;
    void Form_Load() override;
    void Form_QueryUnload(bool& cancel, int unloadMode) override;
    void Form_Unload(bool& cancel) override;
    DWORD FrameStyle() const override { return WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN; }
    DWORD FrameExStyle() const override { return WS_EX_DLGMODALFRAME; }
    bool HandleMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

private:
    void CreateBoardPage();
    void CreateTimerPage();
    // Shows the controls of the chosen tab, hides those of the other.
    void SSTab1_Click();
    // Alt and an access key: chooses that option, or goes to the timeout slider.
    void Form_KeyDown(int& keyCode, int shift);
    void SelectBoardOption(platform::OptionButton& chosen);
    void SelectConnectionOption(platform::OptionButton& chosen);
    // Runs Save_Settings and reports what it could not do (an event handler must
    // not let the error escape into the window system).
    bool SaveReportingErrors(const char* sHandler);

    bool m_fFirstRun = false;
    bool m_fSettingsSaved = false;
};

}  // namespace forms

inline platform::FormRef<forms::frmOptions> frmOptions;
