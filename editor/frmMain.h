#pragma once
// The main editor window: the program's only top-level window in editor mode.
// Start-up loads it hidden while placing it, then shows it; closing it saves the
// working files and the window position, unloads the other windows and ends the
// program.
#include "platform/Controls.h"
#include "platform/Window.h"

namespace forms {

class frmMain : public platform::Form {
public:
    // Control id of the status line, for automation.
    static constexpr int kIdStatus = 201;

    // The status line.
    platform::Label lblStatus;

    // Refreshes every view of one input (-1: all).
    void UpdateSwiBindings(int swi);

protected:
    void InitializeComponent() override;
    void Form_Load() override;
    void Form_QueryUnload(bool& cancel, int unloadMode) override;
    void Form_Unload(bool& cancel) override;
    void Form_Resize() override;
};

}  // namespace forms

inline platform::FormRef<forms::frmMain> frmMain;
