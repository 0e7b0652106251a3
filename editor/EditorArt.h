#pragma once
// The main window's own pictures, drawn at run time: the Keyloom logo and the three
// picture buttons (help, keyboard test, on-screen keyboard). Each is made once and
// shared.
#include "platform/Graphics.h"

#include <windows.h>

#include <functional>

namespace EditorArt {

// Draws with GDI into a new 24-bit bitmap of w x h pixels and wraps it as a picture
// (nullptr when the bitmap cannot be made).
platform::PicturePtr DrawPicture(int w, int h, const std::function<void(HDC)>& paint);

platform::PicturePtr Logo();          // 132 x 121 pixels (the palette area with its swatches), on the editor's dark grey
platform::PicturePtr HelpIcon();      // 24 x 24
platform::PicturePtr TestIcon();      // 24 x 24
platform::PicturePtr KeyboardIcon();  // 24 x 24

}  // namespace EditorArt
