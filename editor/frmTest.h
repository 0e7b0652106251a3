#pragma once
// The key test window: while it has the focus it names the key held down, whether the
// PC keyboard sends it or the board does for one of its inputs.
#include <string>

#include "editor/FramedLabel.h"
#include "platform/Controls.h"
#include "platform/Window.h"

namespace forms {

class frmTest : public platform::Form {
public:
    platform::Label lblTitle;
    platform::Label lblInstructions;
    platform::Label lblKey;
    FramedLabel lblPressed;

    // Shows the name (empty: no key pressed) centred under the instructions.
    void ShowKeyName(const std::string& name);

    // The events, public for automation and tests.
    void Form_KeyDown(int keyCode);
    void Form_KeyUp();

protected:
    void InitializeComponent() override;
    void Form_Load() override;
    void Form_Unload(bool& cancel) override;
    DWORD FrameStyle() const override { return WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN; }
};

}  // namespace forms

inline platform::FormRef<forms::frmTest> frmTest;
