#include "editor/frmMacros.h"

namespace forms {

void frmMacros::InitializeComponent() { SetCaption("Keyloom - Macros"); }

}  // namespace forms
