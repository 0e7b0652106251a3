#include "editor/TableWalk.h"

#include <cmath>

#include "controls/TableCellLayout.h"
#include "core/Globals.h"

namespace TableWalk {

// The legend explains the cells' colours, so it must show the very same ones.
static_assert(kLegendNormal == TableCellLayout::kUpperNormal);
static_assert(kLegendShifted == TableCellLayout::kUpperShifted);

namespace {

// Rounds to single precision even where the FPU keeps more (x87 on 32-bit x86).
float F(float x) {
    volatile float v = x;
    return v;
}

float NonNegative(float x) { return x > 0 ? x : 0; }

// One side of a cell: the area's share in whole pixels. A share below one pixel, an
// unusable t or area (zero, negative, not a number, infinite) all give 0, never a
// negative or non-finite size.
float CellSide(float extent, std::int16_t count, float t) {
    if (!(t > 0) || !std::isfinite(t)) return 0;
    const float pixels = F(F(extent / static_cast<float>(count)) / t);
    if (!(pixels >= 1) || !std::isfinite(pixels)) return 0;
    return F(std::trunc(pixels) * t);
}

}  // namespace

Grid GridOf(std::int16_t boardType) {
    switch (boardType) {
    case TYPEQUORBA_Quorba4: return {8, 16};
    case TYPEQUORBA_QuorbaVexo: return {8, 9};
    default: return {7, 9};
    }
}

std::int32_t NextSwi(std::int16_t boardType, std::int32_t swi) {
    if (swi > 466) return 0;
    switch (swi) {
    // After a player's coin input comes the next player's up (or the first shifted
    // player's, or the other pair's shift cell).
    case 116: return 201;
    case 216: return 151;
    case 166: return 251;
    case 266: return boardType == TYPEQUORBA_Quorba4 ? 300 : 0;
    case 316: return 401;
    case 416: return 351;
    case 366: return 451;
    case 466: return 0;
    // Switch 8 is followed by C and D only on the board that has them.
    case 112: case 162: case 212: case 262:
    case 312: case 362: case 412: case 462:
        return boardType == TYPEQUORBA_QuorbaVexo ? swi + 1 : swi + 3;
    default: return swi + 1;
    }
}

Table Walk(std::int16_t boardType, const Rect& area, float t) {
    const bool fQuorba4 = boardType == TYPEQUORBA_Quorba4;
    Table table;
    table.grid = GridOf(boardType);
    const float w = table.w = CellSide(area.width, table.grid.columns, t);
    const float h = table.h = CellSide(area.height, table.grid.rows, t);

    // A row ends once the next cell would overrun the area by at least a pixel. On the
    // Quorba/4 column 0 belongs to the shift cells and the legend, so rows start in
    // column 1 except the two that begin with a shift cell.
    const float rowEnd = F(F(F(area.left + area.width) - w) + t);
    const float rowStart = fQuorba4 ? F(area.left + w) : area.left;
    const std::int16_t columnStart = fQuorba4 ? 1 : 0;

    float x = area.left;
    float y = area.top;
    std::int16_t row = 0;
    std::int16_t column = 0;
    table.cells.reserve(114);
    for (std::int32_t swi = 100; swi != 0;) {
        table.cells.push_back({swi, x, y, row, column});
        x = F(x + w);
        ++column;
        const bool fShiftCell = swi == 100 || swi == 300;
        if (x >= rowEnd || (!fQuorba4 && fShiftCell)) {
            x = rowStart;
            column = columnStart;
            y = F(y + h);
            ++row;
        }
        swi = NextSwi(boardType, swi);
        if (fQuorba4 && swi == 300) {
            x = area.left;
            column = 0;
        }
    }

    if (fQuorba4) {
        // Column 0 below the first shift cell, down to the row above the second.
        const float rowsAbove = F(static_cast<float>(table.grid.rows) / 2 - 1);
        table.legend = {area.left, F(area.top + h), w, NonNegative(F(F(rowsAbove * h) - t))};
    } else {
        // Row 0 beside the shift cell.
        const float columnsBeside = static_cast<float>(table.grid.columns - 1);
        table.legend = {F(area.left + w), area.top, NonNegative(F(F(columnsBeside * w) - t)),
                        NonNegative(F(h - t))};
    }
    return table;
}

}  // namespace TableWalk
