#pragma once
// The programming window: one status line, a Close button, and two members that the
// PS/2 transport needs, the port-access control Zintrix1 and the text box txtInput that
// the board's typed replies go to (kept above the visible area).
//
// It is loaded hidden long before a run, shown by a run, brought on screen with a
// warning beep on failure and closed one second after a success. In editor mode every
// status change is copied to the main window's status line; in command-line mode
// closing it ends the program with the run's exit status.
#include <windows.h>

#include <string>

#include "controls/LabelButton_.h"
#include "platform/Controls.h"
#include "platform/Window.h"
#include "programming/Download.h"
#include "programming/ProgressCallback.h"
#include "programming/ZintrixHost.h"

namespace forms {

// What the programming window needs of the editor's main window, which lives above this
// layer: where it stands, to centre over it, and its status line, to copy the status to.
// The program installs the real one.
class IMainWindowLink {
public:
    // The main window's outer position and size, in twips.
    struct Frame {
        float left = 0, top = 0, width = 0, height = 0;
    };
    virtual ~IMainWindowLink() = default;
    // The main window's frame; the main window is loaded (hidden) when it is not loaded.
    virtual Frame MainWindowFrame() = 0;
    // Sets the main window's status line when the main window is loaded; otherwise
    // nothing happens, so that a late status text does not bring the editor back.
    virtual void SetMainStatus(const std::string& sText) = 0;
};
// Installs the link (not owned; it must outlive its use). Without one (nullptr) there is
// no main window: an editor-mode window centres on the screen and keeps its status.
void SetMainWindowLink(IMainWindowLink* link);

class frmDownloading : public platform::Form {
public:
    frmDownloading() = default;
    ~frmDownloading() override;

    // Control ids of the window's children, so that automation (and the tests, from
    // another process) find the status line, the Close button and the reply box.
    static constexpr int kIdStatus = 101;
    static constexpr int kIdCloseButton = 102;
    static constexpr int kIdInput = 103;

    platform::Label lblStatus;
    LabelButton_ lblCloseButton;
    platform::Label lblSize;
    platform::Timer timerClose;
    platform::TextBox txtInput;
    ZintrixHost Zintrix1;

    // Starts timerClose: one interval (1000 ms) later the window unloads.
    void CloseForm();
    // Empties txtInput, enables and shows it, and focuses it when it is then both
    // visible and enabled.
    void ResetTxtInput();
    // A window parked off screen moves to the screen centre; then it is shown and the
    // warning sound plays.
    void BringToScreen();
    // Shows the window for a programming run; in the editor a hidden window first centres
    // over the main window where that one stands now.
    void ShowForRun();

    // True when this load could not create Zintrix1 (the window then unloads itself).
    bool PortControlMissing() const { return m_fPortControlMissing; }

protected:
    void InitializeComponent() override;
    void Form_Load() override;
    void Form_Resize() override;
    void Form_Unload(bool& cancel) override;

private:
    void CentreOverMainWindow();
    bool CreatePortControl();
    void ReportMissingPortControl(HRESULT hr);
    void Form_MouseDown(const platform::MouseEvent& e);
    void Form_MouseMove(const platform::MouseEvent& e);
    void lblStatus_Change();
    void lblCloseButton_Click();
    void timerClose_Timer();
    void txtInput_KeyDown(int& keyCode, int shift);

    bool m_fPortControlMissing = false;
};

// The status label that outlives the window instances: texts set on it go to the
// lblStatus of the current window, loading the window when none is loaded. This is what
// the main window and the programming window register as the status channel.
IStatusLabel& DownloadingStatusLabel();

// The programming window as the programming code sees it (Download::IProgrammingWindow),
// through the global reference, together with the Windows device layer and keyboard
// layout of the two transports. Loading the window installs all of it; calling this at
// program start does the same.
void InstallProgrammingWindow();

}  // namespace forms

inline platform::FormRef<forms::frmDownloading> frmDownloading;
