#pragma once
// The options dialog's picture beside the timeout slider: a stopwatch, drawn at run time
// on the dialog's face colour. Made once and shared.
#include "platform/Graphics.h"

namespace OptionsArt {

platform::PicturePtr Stopwatch();  // 32 x 32 pixels

}  // namespace OptionsArt
