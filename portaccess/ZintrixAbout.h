#pragma once
// The control's About box (dialog 205): product and version lines, a notice and three
// links (web page, support e-mail, product page) that open with the shell.
#include <windows.h>

namespace ZintrixAbout {

// Runs the dialog modally, owned by `owner` (may be null). Returns 1 for OK, 0 when the
// window was closed otherwise.
INT_PTR Show(HWND owner);

// The notice line, set when the dialog opens.
inline constexpr char kNotice[] = "Copyright (C) 2026 the Keyloom developers";

}  // namespace ZintrixAbout
