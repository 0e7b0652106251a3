#pragma once
// What a key-table cell (TableCell) paints, without a window: the geometry of its two
// bands, its font sizes, its colours and its two texts. Twips as single-precision
// numbers; colours are 0x00BBGGRR values.
#include <cstdint>
#include <string>

namespace TableCellLayout {

using Color = std::uint32_t;

inline constexpr Color kUpperNormal = 0x80FF80;    // light green: an ordinary input
inline constexpr Color kUpperShifted = 0xFF8080;   // light blue: a shifted meaning
inline constexpr Color kUpperShiftKey = 0x80FFFF;  // light yellow: a shift button
inline constexpr Color kLowerNormal = 0xC0C0C0;    // light grey
inline constexpr Color kLowerHighlight = 0xFFFF00; // cyan
inline constexpr Color kLowerSelected = 0x00FFFF;  // yellow
inline constexpr Color kText = 0x000000;
inline constexpr Color kGreyText = 0x808080;       // "n/a" and "(none)"
inline constexpr Color kGrid = 0x000000;
inline constexpr Color kDesignOutline = 0xFF8080;

// The bands of a cell with inner width W and height H, p twips per pixel:
//   xR right-most pixel column, yB bottom pixel row, yM the line between the bands
//   ((yB - p) / 2 rounded to whole twips, halves to the even neighbour), yL the first
//   row of the lower band, hL its height.
struct Bands {
    float xR = 0;
    float yB = 0;
    float yM = 0;
    float yL = 0;
    float hL = 0;
};
Bands ComputeBands(float W, float H, float p);

// Point size of the cell's font after a resize: 8 when half the height is more than
// 12 pixels, else 7.
float ResizeFontSize(float H, float p);
// Point size the cell paints with: 7 when yM is more than 150 twips, else 6.
float PaintFontSize(float yM);

// The shifted meanings of switches C and D of players 1 and 2 (163, 164, 263, 264),
// which no board has.
bool IsNotAvailable(std::int32_t swi);
// The shift inputs of the player pairs (100, 300).
bool IsShiftButton(std::int32_t swi);

// Upper band colour: light yellow for a shift button, else light blue when shifted,
// else light green.
Color UpperBandColor(std::int32_t swi);
// The long form of the input's short name, in parentheses when not available.
std::string UpperText(std::int32_t swi);
// Lower band colour: yellow while selected, else the band's own colour.
Color LowerBandColor(bool fSelected, Color colorLowerBand);
// The lower text by the first rule that applies: "n/a"; the user text in the user-text
// view ("ENTER TEXT" for an empty one while selected); "ASSIGN" / "PRESS KEY" while
// selected; the pair's shift input for a shift button ("(none)" without one); the
// assigned key's name.
std::string LowerText(std::int32_t swi, bool fSelected, bool fUserTextView);
// Texts are black, except exactly "n/a" and "(none)", which are grey.
Color TextColor(const std::string& s);

// The lower band's own colour after Blink(blnk): -1 cyan, 0 grey, 1 the other of the
// two; any other value is reported ("Bad blnk value = ") and keeps the colour.
Color BlinkColor(std::int32_t blnk, Color current);

// Top-left corner of a text of width tw and height th centred in the rectangle at
// (x, y) of width w and height h.
struct Point {
    float x = 0;
    float y = 0;
};
Point CenteredTextOrigin(float x, float y, float w, float h, float tw, float th);

}  // namespace TableCellLayout
