#pragma once
// The about box of the editor.
#include "platform/Controls.h"
#include "platform/Window.h"

namespace forms {

class frmAbout : public platform::Form {
protected:
    void InitializeComponent() override;
};

}  // namespace forms

inline platform::FormRef<forms::frmAbout> frmAbout;
