#include "editor/frmAbout.h"

namespace forms {

void frmAbout::InitializeComponent() { SetCaption("About Keyloom"); }

}  // namespace forms
