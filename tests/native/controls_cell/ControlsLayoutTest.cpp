// The window-free rules of the panel control and the key-table cell: which input a
// panel control stands for, Blink, caption and arrow placement, band geometry, font
// sizes, band colours and the lower-text rules.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "controls/CplWidgetLayout.h"
#include "controls/ISwi.h"
#include "controls/TableCellLayout.h"
#include "core/Globals.h"
#include "core/Host.h"
#include "core/QbcFile.h"

namespace {

class AssertHost : public IHost {
public:
    void TraceLine(const std::string& line) override { lines.push_back(line); }
    std::vector<std::string> lines;
};

class ControlsLayout : public ::testing::Test {
protected:
    void SetUp() override {
        SetHost(&host);
        g_fDebugGui = false;
        g_fCommandLineMode = true;  // store changes call back nothing
        g_typeQuorba = TYPEQUORBA_Quorba2;
        g_modeEditor = MODEEDITOR_KeyAssignments;
        g_abSwiKeys.fill(0);
        for (auto& s : g_asSwiUserText) s.clear();
        g_aswiShift.fill(0);
    }
    void TearDown() override { SetHost(nullptr); }
    AssertHost host;
};

using CplWidgetLayout::Box;
using CplWidgetLayout::CaptionAlign;

constexpr float p = 15;

// ---------------------------------------------------------------- panel control

TEST_F(ControlsLayout, WidgetSwiFollowsModeAndShiftedView) {
    EXPECT_EQ(CplWidgetLayout::WidgetSwi(105, MODEEDITOR_KeyAssignments, true), 155);
    EXPECT_EQ(CplWidgetLayout::WidgetSwi(0, MODEEDITOR_KeyAssignments, true), 0);
    EXPECT_EQ(CplWidgetLayout::WidgetSwi(105, MODEEDITOR_KeyAssignments, false), 105);
    EXPECT_EQ(CplWidgetLayout::WidgetSwi(105, MODEEDITOR_PanelDesigner, true), 105);
    EXPECT_EQ(CplWidgetLayout::WidgetSwi(0, MODEEDITOR_PanelDesigner, true), 0);
    EXPECT_EQ(CplWidgetLayout::WidgetSwi(316, MODEEDITOR_KeyAssignments, true), 366);
}

TEST_F(ControlsLayout, BlinkTargetsAndBadValue) {
    using CplWidgetLayout::BlinkPicture;
    EXPECT_EQ(CplWidgetLayout::BlinkTarget(-1, false), BlinkPicture::Highlighted);
    EXPECT_EQ(CplWidgetLayout::BlinkTarget(-1, true), BlinkPicture::Highlighted);
    EXPECT_EQ(CplWidgetLayout::BlinkTarget(0, true), BlinkPicture::Normal);
    EXPECT_EQ(CplWidgetLayout::BlinkTarget(1, false), BlinkPicture::Highlighted);
    EXPECT_EQ(CplWidgetLayout::BlinkTarget(1, true), BlinkPicture::Normal);
    EXPECT_TRUE(host.lines.empty());
    EXPECT_EQ(CplWidgetLayout::BlinkTarget(2, true), BlinkPicture::Unchanged);
    ASSERT_EQ(host.lines.size(), 1u);
    EXPECT_EQ(host.lines[0], "Assertion Failure:  Bad blnk value = 2");
}

TEST_F(ControlsLayout, CaptionPlacementByType) {
    // A push button 345 x 360 at (1000, 2000) with a 300 x 150 caption.
    const Box button{1000, 2000, 345, 360};
    const float lw = 300, lh = 150;
    for (const char* t : {"0", "1", "2", "3", "4", "5", "6"}) {
        auto c = CplWidgetLayout::PlaceCaption(t, button, lw, lh, p);
        EXPECT_EQ(c.align, CaptionAlign::Center) << t;
        EXPECT_FLOAT_EQ(c.left, 1000 + 22.5f) << t;
        EXPECT_FLOAT_EQ(c.top, 2000 + 360 - 30) << t;
    }
    for (const char* t : {"7", "8"}) {
        auto c = CplWidgetLayout::PlaceCaption(t, button, lw, lh, p);
        EXPECT_EQ(c.align, CaptionAlign::Center);
        EXPECT_FLOAT_EQ(c.top, 2000 + 360 - 15);
    }
    // Arrows: up and down 225 x 120, the sides 120 x 225.
    const Box up{1000, 2000, 225, 120};
    auto u = CplWidgetLayout::PlaceCaption("U", up, lw, lh, p);
    EXPECT_EQ(u.align, CaptionAlign::Center);
    EXPECT_FLOAT_EQ(u.left, 1000 + (225 - 300) / 2.0f);
    EXPECT_FLOAT_EQ(u.top, 2000 - 112.5f - 150 + 80);
    auto d = CplWidgetLayout::PlaceCaption("D", up, lw, lh, p);
    EXPECT_EQ(d.align, CaptionAlign::Center);
    EXPECT_FLOAT_EQ(d.top, 2000 + 120 + 30);
    const Box side{1000, 2000, 120, 225};
    auto l = CplWidgetLayout::PlaceCaption("L", side, lw, lh, p);
    EXPECT_EQ(l.align, CaptionAlign::Right);
    EXPECT_FLOAT_EQ(l.left, 1000 - 300 - 30);
    EXPECT_FLOAT_EQ(l.top, 2000 + 45);
    auto r = CplWidgetLayout::PlaceCaption("R", side, lw, lh, p);
    EXPECT_EQ(r.align, CaptionAlign::Left);
    EXPECT_FLOAT_EQ(r.left, 1000 + 120);
    EXPECT_FLOAT_EQ(r.top, 2000 + 45);
    // Codes are exact: a lower-case "u" is an ordinary (button) caption.
    auto lower = CplWidgetLayout::PlaceCaption("u", up, lw, lh, p);
    EXPECT_FLOAT_EQ(lower.top, 2000 + 120 - 30);
}

TEST_F(ControlsLayout, ArrowsSitAroundTheJoystickOnePixelClear) {
    const Box joy{3000, 3000, 450, 450};
    auto u = CplWidgetLayout::PlaceArrow("U", joy, 225, 120, p);
    ASSERT_TRUE(u);
    EXPECT_FLOAT_EQ(u->x, 3000 + 112.5f);
    EXPECT_FLOAT_EQ(u->y, 3000 - 120 - 15);
    auto d = CplWidgetLayout::PlaceArrow("D", joy, 225, 120, p);
    ASSERT_TRUE(d);
    EXPECT_FLOAT_EQ(d->x, 3000 + 112.5f);
    EXPECT_FLOAT_EQ(d->y, 3000 + 450 + 15);
    auto l = CplWidgetLayout::PlaceArrow("L", joy, 120, 225, p);
    ASSERT_TRUE(l);
    EXPECT_FLOAT_EQ(l->x, 3000 - 120 - 15);
    EXPECT_FLOAT_EQ(l->y, 3000 + 112.5f);
    auto r = CplWidgetLayout::PlaceArrow("R", joy, 120, 225, p);
    ASSERT_TRUE(r);
    EXPECT_FLOAT_EQ(r->x, 3000 + 450 + 15);
    EXPECT_FLOAT_EQ(r->y, 3000 + 112.5f);
    EXPECT_FALSE(CplWidgetLayout::PlaceArrow("0", joy, 345, 360, p));
    EXPECT_FALSE(CplWidgetLayout::PlaceArrow("", joy, 345, 360, p));
}

TEST_F(ControlsLayout, InterfaceMembersDoNothing) {
    ISwi bare;
    EXPECT_EQ(bare.swi(), 0);
    EXPECT_EQ(bare.Control(), nullptr);
    EXPECT_FALSE(bare.FExtraneousWidget());
    bare.Blink(7);  // not even reported
    bare.Redraw();
    EXPECT_TRUE(host.lines.empty());
}

// ---------------------------------------------------------------- table cell

TEST_F(ControlsLayout, BandsOfAForty) {
    auto b = TableCellLayout::ComputeBands(1200, 600, p);
    EXPECT_FLOAT_EQ(b.xR, 1185);
    EXPECT_FLOAT_EQ(b.yB, 585);
    EXPECT_FLOAT_EQ(b.yM, 285);
    EXPECT_FLOAT_EQ(b.yL, 300);
    EXPECT_FLOAT_EQ(b.hL, 285);
    EXPECT_FLOAT_EQ(TableCellLayout::PaintFontSize(b.yM), 7);
    EXPECT_FLOAT_EQ(TableCellLayout::ResizeFontSize(600, p), 8);
}

TEST_F(ControlsLayout, BandsOfATwenty) {
    auto b = TableCellLayout::ComputeBands(1200, 300, p);
    EXPECT_FLOAT_EQ(b.yB, 285);
    EXPECT_FLOAT_EQ(b.yM, 135);
    EXPECT_FLOAT_EQ(b.yL, 150);
    EXPECT_FLOAT_EQ(b.hL, 135);
    EXPECT_FLOAT_EQ(TableCellLayout::PaintFontSize(b.yM), 6);
    EXPECT_FLOAT_EQ(TableCellLayout::ResizeFontSize(300, p), 7);
}

TEST_F(ControlsLayout, BandLineRoundsHalvesToEven) {
    // (H - 2p) / 2 = 142.5 -> 142; 143.5 -> 144.
    EXPECT_FLOAT_EQ(TableCellLayout::ComputeBands(100, 315, 15).yM, 142);
    EXPECT_FLOAT_EQ(TableCellLayout::ComputeBands(100, 317, 15).yM, 144);
    // The font thresholds are strict: exactly 150 twips and exactly 12 pixels give the smaller size.
    EXPECT_FLOAT_EQ(TableCellLayout::PaintFontSize(150), 6);
    EXPECT_FLOAT_EQ(TableCellLayout::PaintFontSize(151), 7);
    EXPECT_FLOAT_EQ(TableCellLayout::ResizeFontSize(360, p), 7);
    EXPECT_FLOAT_EQ(TableCellLayout::ResizeFontSize(375, p), 8);
}

TEST_F(ControlsLayout, UpperBandColoursAndTexts) {
    EXPECT_EQ(TableCellLayout::UpperBandColor(101), TableCellLayout::kUpperNormal);
    EXPECT_EQ(TableCellLayout::UpperBandColor(151), TableCellLayout::kUpperShifted);
    EXPECT_EQ(TableCellLayout::UpperBandColor(100), TableCellLayout::kUpperShiftKey);
    EXPECT_EQ(TableCellLayout::UpperBandColor(300), TableCellLayout::kUpperShiftKey);
    EXPECT_EQ(TableCellLayout::UpperBandColor(163), TableCellLayout::kUpperShifted);
    EXPECT_EQ(TableCellLayout::UpperText(104), "P1 - RIGHT");
    EXPECT_EQ(TableCellLayout::UpperText(163), "(P1 - C)");
    EXPECT_EQ(TableCellLayout::UpperText(300), "P3/4 SHIFT");
    EXPECT_EQ(TableCellLayout::TextColor("(P1 - C)"), TableCellLayout::kText);
    EXPECT_TRUE(host.lines.empty());
}

TEST_F(ControlsLayout, LowerTextRulesInOrder) {
    using TableCellLayout::LowerText;
    g_abSwiKeys[101] = 2;  // "1"
    g_asSwiUserText[101] = "FIRE";
    g_aswiShift[1] = 105;

    // Not available beats everything.
    for (bool sel : {false, true})
        for (bool text : {false, true}) EXPECT_EQ(LowerText(163, sel, text), "n/a");
    EXPECT_EQ(LowerText(264, false, false), "n/a");
    // User-text view.
    EXPECT_EQ(LowerText(101, false, true), "FIRE");
    EXPECT_EQ(LowerText(101, true, true), "FIRE");
    EXPECT_EQ(LowerText(102, false, true), "");
    EXPECT_EQ(LowerText(102, true, true), "ENTER TEXT");
    EXPECT_EQ(LowerText(100, true, true), "ENTER TEXT");
    // Selected prompts.
    EXPECT_EQ(LowerText(101, true, false), "PRESS KEY");
    EXPECT_EQ(LowerText(100, true, false), "ASSIGN");
    EXPECT_EQ(LowerText(300, true, false), "ASSIGN");
    // Shift buttons show the pair's shift input.
    EXPECT_EQ(LowerText(100, false, false), "P1 - SW 1");
    EXPECT_EQ(LowerText(300, false, false), "(none)");
    // The assigned key.
    EXPECT_EQ(LowerText(101, false, false), "1");
    EXPECT_EQ(LowerText(102, false, false), "(none)");
    EXPECT_TRUE(host.lines.empty());
}

TEST_F(ControlsLayout, GreyOnlyForExactNeutralTexts) {
    EXPECT_EQ(TableCellLayout::TextColor("n/a"), TableCellLayout::kGreyText);
    EXPECT_EQ(TableCellLayout::TextColor("(none)"), TableCellLayout::kGreyText);
    EXPECT_EQ(TableCellLayout::TextColor("N/A"), TableCellLayout::kText);
    EXPECT_EQ(TableCellLayout::TextColor("(none) "), TableCellLayout::kText);
    EXPECT_EQ(TableCellLayout::TextColor(""), TableCellLayout::kText);
}

TEST_F(ControlsLayout, LowerBandBlinkAndSelection) {
    using namespace TableCellLayout;
    EXPECT_EQ(BlinkColor(-1, kLowerNormal), kLowerHighlight);
    EXPECT_EQ(BlinkColor(0, kLowerHighlight), kLowerNormal);
    EXPECT_EQ(BlinkColor(1, BlinkColor(1, kLowerNormal)), kLowerNormal);
    EXPECT_EQ(BlinkColor(1, kLowerNormal), kLowerHighlight);
    EXPECT_EQ(BlinkColor(5, kLowerHighlight), kLowerHighlight);
    ASSERT_EQ(host.lines.size(), 1u);
    EXPECT_EQ(host.lines[0], "Assertion Failure:  Bad blnk value = 5");
    // Selection covers the highlight until it ends.
    EXPECT_EQ(LowerBandColor(true, kLowerHighlight), kLowerSelected);
    EXPECT_EQ(LowerBandColor(false, kLowerHighlight), kLowerHighlight);
}

TEST_F(ControlsLayout, InvalidInputIsReportedByTheStoreAndNames) {
    EXPECT_EQ(TableCellLayout::LowerText(150, false, false), "(none)");
    EXPECT_FALSE(host.lines.empty());
    host.lines.clear();
    // A value beyond 16 bits must not wrap into a valid input.
    EXPECT_EQ(TableCellLayout::LowerText(65536 + 101, false, false), "(none)");
    EXPECT_FALSE(host.lines.empty());
}

TEST_F(ControlsLayout, CentredText) {
    auto at = TableCellLayout::CenteredTextOrigin(0, 300, 1185, 285, 400, 180);
    EXPECT_FLOAT_EQ(at.x, 392.5f);
    EXPECT_FLOAT_EQ(at.y, 352.5f);
}

}  // namespace
