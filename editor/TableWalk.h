#pragma once
// The geometry of the key-assignment table, without a window: for one board type, the
// grid, the cell size, every cell in the order the main window creates them (with its
// input and its place) and the rectangle of the colour legend.
//
// Twips as single-precision numbers. Every step is rounded to a float (as the window's
// properties are floats), so the walk decides its rows the same way in every build,
// whatever the FPU keeps between steps.
#include <cstdint>
#include <vector>

namespace TableWalk {

using Color = std::uint32_t;  // 0x00BBGGRR

// The legend's colour boxes: the upper-band colours of an ordinary and of a shifted
// input in the table cells.
inline constexpr Color kLegendNormal = 0x80FF80;   // light green
inline constexpr Color kLegendShifted = 0xFF8080;  // light blue

// A rectangle: left, top, width, height.
struct Rect {
    float left = 0;
    float top = 0;
    float width = 0;
    float height = 0;
};

// Columns and rows of the table of a board type: Quorba/2 7 x 9 (the shift cell on a
// row of its own), Quorba/Vexo 8 x 9 (the same, switches C and D included), Quorba/4
// 8 x 16 (the two shift cells in column 0). Any other type is laid out as the Quorba/2,
// as the rest of the editor treats it.
struct Grid {
    std::int16_t columns = 0;
    std::int16_t rows = 0;
};
Grid GridOf(std::int16_t boardType);

// The input whose cell follows swi's in the table of boardType; 0 after the last one.
// Each player's inputs go up, down, left, right, switches 1-8 (C and D on the Vexo),
// start, coin; players 1 and 2 plain, then players 1 and 2 shifted (then, on the
// Quorba/4, the shift cell of players 3-4 and the same for players 3 and 4).
std::int32_t NextSwi(std::int16_t boardType, std::int32_t swi);

// One cell: its input, its top-left corner, and the row and column the walk put it in.
struct Cell {
    std::int32_t swi = 0;
    float left = 0;
    float top = 0;
    std::int16_t row = 0;
    std::int16_t column = 0;
};

struct Table {
    Grid grid;
    float w = 0;  // every cell's width
    float h = 0;  // every cell's height
    std::vector<Cell> cells;  // in creation order
    Rect legend;
};

// The table of boardType in `area` (the table area's rectangle), t twips per pixel
// (the horizontal value, used in both directions). Cell sides are whole pixels: the
// area's share truncated. A new row starts when the next cell would overrun the area
// by a pixel or more (and, on the Quorba/2 and Vexo, after the shift cell), so a
// very small area can hold more cells in a row than the grid has columns.
// A t that is not positive, or an area too small for one pixel a cell, gives cells of
// no size; the legend never gets a negative width or height.
Table Walk(std::int16_t boardType, const Rect& area, float t);

}  // namespace TableWalk
