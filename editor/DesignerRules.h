#pragma once
// The Panel Designer's rules, without a window: where a dragged control lands, whether
// it lies in the panel area or on the palette, the grid, the palette's type stepping,
// and the translation between switch selectors and input kinds.
//
// Twips as single-precision numbers. Every step is rounded to a float (as the window's
// properties are floats), so a control at the very edge of an area is judged the same
// way in every build, whatever the FPU keeps between steps.
#include <cstdint>

namespace DesignerRules {

// A control's rectangle: left, top, width, height.
struct Box {
    float left = 0;
    float top = 0;
    float width = 0;
    float height = 0;
};

// The panel design area is x 2700 to 9398, y 620 to 5500; a control may stick out past
// each edge by up to a fifth of its own width (left, right) or height (top, bottom).
bool IsInPanelArea(const Box& b);
// The palette area is x 240 to 2175, y 120 to 1935; a control must lie wholly inside.
bool IsInPaletteArea(const Box& b);

// The grid of "Snap Controls": 100 twips, by truncation toward zero (-150 gives -100).
inline constexpr float kGrid = 100;
float Snap(float v);

// Where a control of that size goes when it is dragged with the cursor at (x, y) client
// pixels, t twips per pixel (the horizontal value, used in both directions): centred on
// the cursor, then snapped to the grid when fSnap.
struct Point {
    float left = 0;
    float top = 0;
};
Point DragPosition(std::int32_t x, std::int32_t y, float t, float width, float height, bool fSnap);

// A release over a label counts when it lies within the label, edges included.
bool IsOnButton(float x, float y, float width, float height);

// The palette's types 0 (push button) to 8 (coin slot), stepped round: previous of 0 is
// 8, next of 8 is 0. A type outside that range (from a hand-made layout file) steps
// back into it.
inline constexpr std::int16_t kFirstPaletteType = 0, kLastPaletteType = 8;
std::int16_t PreviousPaletteType(std::int16_t type);
std::int16_t NextPaletteType(std::int16_t type);

// The switch selectors 1 to 16 and their input kinds (player 1's unshifted ids); 0 is
// "not wired" both ways.
inline constexpr std::int16_t kSelectorCount = 16;
// The selector of an input (player and shift stripped); an id with no selector (such as
// the shift cell 100) gives 0 after reporting "Bad swi = <swi>".
std::int16_t SwiToSelectorIndex(std::int32_t swi);
// The kind of a selector; any other index gives 0 after reporting "Bad ssi = <index>".
std::int32_t SelectorIndexToSwiKind(std::int16_t index);

}  // namespace DesignerRules
