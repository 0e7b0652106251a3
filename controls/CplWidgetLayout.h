#pragma once
// The arithmetic of a panel control (CplWidget) that does not need a window: which
// input it stands for, which picture a Blink shows, where its caption label goes and
// where a joystick's direction arrows go. Positions and sizes are twips in the main
// window's coordinates, as single-precision numbers.
#include <cstdint>
#include <optional>
#include <string>

namespace CplWidgetLayout {

// The input a panel control stands for: in Key Assignments (modeEditor 1) with shifted
// keys shown, the base input + 50 (a base of 0 stays 0); otherwise the base input.
std::int32_t WidgetSwi(std::int32_t swiBase, std::int16_t modeEditor, bool fKeysShifted);

// What Blink(blnk) shows: -1 the highlighted picture, 0 the normal one, 1 the other one
// than the highlighted picture shown now. Any other value is reported ("Bad blnk
// value = ") and keeps the picture.
enum class BlinkPicture { Normal, Highlighted, Unchanged };
BlinkPicture BlinkTarget(std::int32_t blnk, bool fShowingHighlighted);

// A rectangle: left, top, width, height.
struct Box {
    float left = 0;
    float top = 0;
    float width = 0;
    float height = 0;
};

// Caption label placement beside a control of type sType at `widget`, for a label of
// width lw and height lh (its size is kept); p is the screen's vertical twips per pixel.
enum class CaptionAlign { Left, Right, Center };
struct CaptionPlace {
    CaptionAlign align = CaptionAlign::Center;
    float left = 0;
    float top = 0;
};
CaptionPlace PlaceCaption(const std::string& sType, const Box& widget, float lw, float lh, float p);

// Position of a direction arrow of type sArrowType ("U", "D", "L", "R") of size aW x aH
// around the joystick at `joystick`, one pixel clear of it; p is the screen's horizontal
// twips per pixel. nullopt for any other type (the caller reports it).
struct Point {
    float x = 0;
    float y = 0;
};
std::optional<Point> PlaceArrow(const std::string& sArrowType, const Box& joystick, float aW, float aH,
                                float p);

}  // namespace CplWidgetLayout
