#pragma once
// The key test window: names every key pressed.
#include "platform/Controls.h"
#include "platform/Window.h"

namespace forms {

class frmTest : public platform::Form {
protected:
    void InitializeComponent() override;
};

}  // namespace forms

inline platform::FormRef<forms::frmTest> frmTest;
