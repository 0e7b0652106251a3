#pragma once
// Turns a drawing of ControlArt into a picture the controls can show: a 24-bit DIB
// section, with the key colour as its transparent colour when the drawing has one.
#include "controls/ControlArt.h"
#include "platform/Graphics.h"

namespace ControlArt {

platform::PicturePtr ToPicture(const Pixmap& pixmap);

}  // namespace ControlArt
