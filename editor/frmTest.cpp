#include "editor/frmTest.h"

namespace forms {

void frmTest::InitializeComponent() { SetCaption("Keyloom - Key Test"); }

}  // namespace forms
