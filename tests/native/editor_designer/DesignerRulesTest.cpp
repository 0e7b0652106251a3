// The Panel Designer's rules: the two areas at their limits, the grid, the drag
// position, the palette's type stepping and the selector tables both ways.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/Globals.h"
#include "core/Host.h"
#include "editor/DesignerRules.h"

namespace {

using DesignerRules::Box;

class TraceHost : public IHost {
public:
    void TraceLine(const std::string& line) override { lines.push_back(line); }
    std::vector<std::string> lines;
};

TEST(DesignerAreas, PanelAreaAllowsAFifthOverhangOnEachSide) {
    // A 500 x 400 control may stick out by 100 to the left and right, 80 up and down.
    struct Case {
        float left, top;
        bool in;
    } cases[] = {
        {2600, 1000, true},  {2599, 1000, false},  // left: 2600 + 100 >= 2700
        {4000, 540, true},   {4000, 539, false},   // top: 540 + 80 >= 620
        {4000, 5180, true},  {4000, 5181, false},  // bottom: 5180 - 80 <= 5500 - 400
        {8998, 1000, true},  {8999, 1000, false},  // right: 8998 - 100 <= 9398 - 500
        {2600, 540, true},   {8998, 5180, true},   // both corners at once
    };
    for (const Case& c : cases)
        EXPECT_EQ(DesignerRules::IsInPanelArea(Box{c.left, c.top, 500, 400}), c.in) << c.left << ", " << c.top;
    // Fractions of a twip count: a panel layout stores half pixels.
    EXPECT_FALSE(DesignerRules::IsInPanelArea(Box{2599.5f, 1000, 500, 400}));
    EXPECT_TRUE(DesignerRules::IsInPanelArea(Box{2600.5f, 1000, 500, 400}));
}

TEST(DesignerAreas, PaletteAreaTakesOnlyWholeControls) {
    struct Case {
        float left, top;
        bool in;
    } cases[] = {
        {240, 120, true},   {239, 120, false}, {240, 119, false},
        {1675, 1535, true}, {1676, 1535, false}, {1675, 1536, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DesignerRules::IsInPaletteArea(Box{c.left, c.top, 500, 400}), c.in) << c.left << ", " << c.top;
}

TEST(DesignerDrag, CentredOnTheCursorAndSnappedByTruncation) {
    struct Case {
        float v, snapped;
    } cases[] = {{-150, -100}, {2790, 2700}, {2800, 2800}, {-99.5f, 0}, {0, 0}, {99.99f, 0}, {1234.5f, 1200}};
    for (const Case& c : cases) EXPECT_EQ(DesignerRules::Snap(c.v), c.snapped) << c.v;

    // Cursor (100, 50) at 15 twips a pixel, a 500 x 300 control: centred at (1500, 750).
    DesignerRules::Point p = DesignerRules::DragPosition(100, 50, 15, 500, 300, false);
    EXPECT_EQ(p.left, 1250);
    EXPECT_EQ(p.top, 600);
    // The horizontal value serves both directions; snapping works on the centred corner.
    p = DesignerRules::DragPosition(202, 6, 15, 500, 300, true);  // 2780, -60
    EXPECT_EQ(p.left, 2700);
    EXPECT_EQ(p.top, 0);
    p = DesignerRules::DragPosition(-10, 10, 15, 300, 0, true);  // -300, 150
    EXPECT_EQ(p.left, -300);
    EXPECT_EQ(p.top, 100);
}

TEST(DesignerPalette, TypesStepRoundAndReleasesCountOnTheButtonOnly) {
    struct Case {
        std::int16_t type, previous, next;
    } cases[] = {{0, 8, 1}, {4, 3, 5}, {8, 7, 0}, {-3, 8, 0}, {12, 8, 0}};
    for (const Case& c : cases) {
        EXPECT_EQ(DesignerRules::PreviousPaletteType(c.type), c.previous) << c.type;
        EXPECT_EQ(DesignerRules::NextPaletteType(c.type), c.next) << c.type;
    }
    EXPECT_TRUE(DesignerRules::IsOnButton(0, 0, 450, 210) && DesignerRules::IsOnButton(450, 210, 450, 210));
    EXPECT_FALSE(DesignerRules::IsOnButton(-1, 100, 450, 210) || DesignerRules::IsOnButton(451, 100, 450, 210) ||
                 DesignerRules::IsOnButton(100, 210.5f, 450, 210));
}

TEST(DesignerSelectors, BothWaysAndBadValuesReported) {
    TraceHost host;
    SetHost(&host);
    g_fDebugGui = false;
    const std::int32_t kinds[] = {0, 101, 102, 103, 104, 105, 106, 107, 108, 109, 110, 111, 112, 115, 116, 113, 114};
    for (std::int16_t i = 0; i <= DesignerRules::kSelectorCount; ++i) {
        EXPECT_EQ(DesignerRules::SelectorIndexToSwiKind(i), kinds[i]) << i;
        EXPECT_EQ(DesignerRules::SwiToSelectorIndex(kinds[i]), i) << kinds[i];
    }
    // Player and shift do not matter.
    EXPECT_EQ(DesignerRules::SwiToSelectorIndex(463), 15);
    EXPECT_EQ(DesignerRules::SwiToSelectorIndex(215), 13);
    EXPECT_EQ(DesignerRules::SwiToSelectorIndex(351), 1);
    EXPECT_TRUE(host.lines.empty());

    // The shift cell has no selector; an index beyond the table has no kind.
    EXPECT_EQ(DesignerRules::SwiToSelectorIndex(100), 0);
    EXPECT_EQ(DesignerRules::SelectorIndexToSwiKind(17), 0);
    EXPECT_EQ(DesignerRules::SelectorIndexToSwiKind(-1), 0);
    std::string all;
    for (const std::string& l : host.lines) all += l + "\n";
    EXPECT_NE(all.find("Bad swi = 100"), std::string::npos) << all;
    EXPECT_NE(all.find("Bad ssi = 17"), std::string::npos) << all;
    EXPECT_NE(all.find("Bad ssi = -1"), std::string::npos) << all;
    SetHost(nullptr);
}

}  // namespace
