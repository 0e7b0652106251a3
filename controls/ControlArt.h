#pragma once
// The artwork of the editor's controls, drawn in code: the panel-control pictures
// (push and start buttons, joysticks, trackballs, the miscellaneous control, the coin
// slot, the joystick arrows) and the option button's state pictures. Each drawing is a
// small pixel array; the Windows side turns it into a shared picture.
//
// Shapes are sampled 4 x 4 times per pixel. A pixel less than half covered by the
// drawing is transparent (it takes the key colour); partly covered edge pixels are
// blended with the editor's dark panel grey, the background the pictures sit on.
#include <cstdint>
#include <vector>

namespace ControlArt {

struct Rgb {
    std::uint8_t r = 0, g = 0, b = 0;
    bool operator==(const Rgb&) const = default;
};

// The colour that marks transparent pixels. No opaque pixel of a drawing has it.
constexpr Rgb kKey{255, 0, 255};
// The editor's panel background, which soft edges are blended with.
constexpr Rgb kPanelGrey{40, 40, 40};

struct Pixmap {
    int width = 0;
    int height = 0;
    bool transparent = false;  // transparent pixels hold kKey
    std::vector<Rgb> pixels;   // row by row from the top
    Rgb At(int x, int y) const { return pixels[static_cast<std::size_t>(y * width + x)]; }
    bool IsTransparentAt(int x, int y) const { return transparent && At(x, y) == kKey; }
};

// Main tones by colour index 0-8 (anything else reads as 0).
Rgb ButtonTone(int colorIndex);  // push-button caps
Rgb BallTone(int colorIndex);    // joystick and trackball balls
constexpr Rgb kBlinkButtonTone{0, 202, 214};
constexpr Rgb kMiscWhite{255, 255, 255};
constexpr Rgb kMiscBlinkTone{0, 255, 255};
constexpr Rgb kCoinSlotRed{214, 0, 0};
constexpr Rgb kCoinSlotBlinkTone{0, 156, 165};
constexpr Rgb kArrowBlue{0, 0, 255};
constexpr Rgb kArrowBlinkTone{0, 255, 255};

// 23 x 24, round cap seen from above in `tone`, transparent corners.
Pixmap PushButton(Rgb tone);
// 23 x 24, the white button marked with `players` (1-4) player figures.
Pixmap StartButton(int players);
// 30 x 30, joystick from above: dark round base, ball in `ball`, transparent corners.
Pixmap Joystick(Rgb ball);
// 60 x 60, trackball in a square grey plate, ball in `ball`, no transparency.
Pixmap Trackball(Rgb ball);
// 61 x 60, question mark in `color` on a transparent ground.
Pixmap QuestionMark(Rgb color);
// 42 x 40, dark coin-door plate with its coin slot lit in `slot`, no transparency.
Pixmap CoinSlot(Rgb slot);
// Solid triangle in `color` on a transparent ground; direction 0 up (15 x 8),
// 1 right (8 x 15), 2 down (15 x 8), 3 left (8 x 15).
Pixmap Arrow(int direction, Rgb color);

// Option-button state pictures, 12 x 12, no transparency: a square check box or a
// round option, checked or not, normal or under the mouse.
Pixmap OptionStatePicture(bool round, bool checked, bool hover);
constexpr Rgb kOptionField{64, 64, 64};
constexpr Rgb kCheckHoverField{93, 94, 117};
constexpr Rgb kOptionHoverField{110, 104, 143};
constexpr Rgb kOptionMark{255, 255, 255};
constexpr Rgb kOptionHoverMark{224, 220, 255};
constexpr Rgb kBevelDark{128, 128, 128};
constexpr Rgb kBevelLight{240, 240, 240};

}  // namespace ControlArt
