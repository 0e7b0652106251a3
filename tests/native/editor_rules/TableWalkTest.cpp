// The key-assignment table's geometry: cell order, rows and columns, cell size, legend,
// and the single-precision row-end test.
#include <gtest/gtest.h>

#include <vector>

#include "core/Globals.h"
#include "editor/TableWalk.h"

namespace {

using TableWalk::Rect;
constexpr float t = 15;
constexpr std::int16_t Q2 = TYPEQUORBA_Quorba2, Q4 = TYPEQUORBA_Quorba4, Vexo = TYPEQUORBA_QuorbaVexo;
const Rect kArea{120, 600, 9000, 5400};

struct Expected {
    int swi, row, column;
};

// The table as the boards' tables read, row by row.
std::vector<Expected> Order(std::int16_t board) {
    std::vector<Expected> r;
    int row = 0;
    auto addRow = [&](int column, std::initializer_list<std::pair<int, int>> runs) {
        for (auto [from, to] : runs)
            for (int s = from; s <= to; ++s) r.push_back({s, row, column++});
        ++row;
    };
    auto addPlayer = [&](int base, int column) {
        if (board == Vexo) {
            addRow(column, {{base + 1, base + 8}});
            addRow(column, {{base + 9, base + 16}});
        } else {
            addRow(column, {{base + 1, base + 7}});
            addRow(column, {{base + 8, base + 12}, {base + 15, base + 16}});
        }
    };
    if (board != Q4) {
        addRow(0, {{100, 100}});
        for (int base : {100, 200, 150, 250}) addPlayer(base, 0);
        return r;
    }
    for (int pair : {0, 200}) {  // column 0 holds only the shift cells
        addRow(0, {{100 + pair, 107 + pair}});
        addRow(1, {{108 + pair, 112 + pair}, {115 + pair, 116 + pair}});
        for (int base : {200, 150, 250}) addPlayer(base + pair, 1);
    }
    return r;
}

void ExpectRect(const Rect& r, const Rect& e) {
    EXPECT_FLOAT_EQ(r.left, e.left);
    EXPECT_FLOAT_EQ(r.top, e.top);
    EXPECT_FLOAT_EQ(r.width, e.width);
    EXPECT_FLOAT_EQ(r.height, e.height);
}

TEST(TableWalk, CellsAndLegendOfEachBoard) {
    struct Case {
        std::int16_t board;
        int columns, rows;
        size_t count;
        float w, h;  // Quorba/2: 85.7 pixels wide -> 85; Quorba/4: 22.5 high -> 22
        Rect legend;
    } cases[] = {
        {Q2, 7, 9, 57, 1275, 600, {120 + 1275, 600, 6 * 1275 - t, 600 - t}},
        {Vexo, 8, 9, 65, 1125, 600, {120 + 1125, 600, 7 * 1125 - t, 600 - t}},
        // Column 0 from row 1 down to a pixel above the second shift cell.
        {Q4, 8, 16, 114, 1125, 330, {120, 600 + 330, 1125, 7 * 330 - t}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.board);
        const auto table = TableWalk::Walk(c.board, kArea, t);
        EXPECT_EQ(table.grid.columns, c.columns);
        EXPECT_EQ(table.grid.rows, c.rows);
        EXPECT_FLOAT_EQ(table.w, c.w);
        EXPECT_FLOAT_EQ(table.h, c.h);
        const auto expected = Order(c.board);
        ASSERT_EQ(expected.size(), c.count);
        ASSERT_EQ(table.cells.size(), c.count);
        for (size_t i = 0; i < c.count; ++i) {
            const auto& cell = table.cells[i];
            EXPECT_EQ(cell.swi, expected[i].swi) << "cell " << i;
            EXPECT_EQ(cell.row, expected[i].row) << "swi " << cell.swi;
            EXPECT_EQ(cell.column, expected[i].column) << "swi " << cell.swi;
            EXPECT_FLOAT_EQ(cell.left, kArea.left + cell.column * c.w) << "swi " << cell.swi;
            EXPECT_FLOAT_EQ(cell.top, kArea.top + cell.row * c.h) << "swi " << cell.swi;
        }
        ExpectRect(table.legend, c.legend);
    }
}

TEST(TableWalk, RowEndsWhenTheNextCellWouldOverrunByAPixel) {
    // Cells of 7 pixels: after seven of them the next would end exactly one pixel past
    // an area of 825 twips, but less than a pixel past one of 826.
    auto rowOf108 = [](const Rect& area) { return TableWalk::Walk(Q2, area, t).cells[8].row; };
    EXPECT_EQ(rowOf108({0, 0, 825, 900}), 2);
    EXPECT_EQ(rowOf108({0, 0, 826, 900}), 1);
    // Single precision decides: left + width rounds to exactly 825 past left, where the
    // exact sum would leave room for an eighth cell in the row.
    EXPECT_EQ(rowOf108({10673.0664f, 0, 825.000305f, 900}), 2);
}

TEST(TableWalk, UnusableSizesGiveEmptyCellsNotNegativeOnes) {
    for (float tp : {0.0f, -15.0f}) {
        const auto table = TableWalk::Walk(Vexo, kArea, tp);
        EXPECT_EQ(table.cells.size(), 65u);
        EXPECT_FLOAT_EQ(table.w, 0);
        EXPECT_FLOAT_EQ(table.h, 0);
    }
    const auto tiny = TableWalk::Walk(Q4, {0, 0, 100, 100}, t);
    EXPECT_EQ(tiny.cells.size(), 114u);
    ExpectRect(tiny.legend, {0, 0, 0, 0});
}

TEST(TableWalk, OtherBoardTypesAndEnds) {
    EXPECT_EQ(TableWalk::Walk(3, kArea, t).cells.size(), 57u);  // as the Quorba/2
    EXPECT_EQ(TableWalk::NextSwi(Q4, 2147483647), 0);
}

}  // namespace
