#pragma once
// The macro window: the four macros of four keys each, set by pressing keys.
#include "platform/Controls.h"
#include "platform/Window.h"

namespace forms {

class frmMacros : public platform::Form {
protected:
    void InitializeComponent() override;
};

}  // namespace forms

inline platform::FormRef<forms::frmMacros> frmMacros;
