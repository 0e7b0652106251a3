// Key-table cells on a test host window, read back as pixels: band colours and grid
// lines, highlight and selection, grey and black texts, fonts by size, the host entry
// and the design-time look.
#include <gtest/gtest.h>

#include "WidgetTestSupport.h"
#include "core/Globals.h"
#include "core/QbcFile.h"

namespace {

class KeyCell : public ::testing::Test {
protected:
    void SetUp() override {
        SetHost(&trace);
        g_fCommandLineMode = true;  // store changes call nothing back
        g_typeQuorba = TYPEQUORBA_Quorba2;
        g_abSwiKeys.fill(0);
        for (auto& s : g_asSwiUserText) s.clear();
        g_aswiShift.fill(0);
        host.Open(0, 0, 800, 600);
    }
    void TearDown() override {
        SetHost(nullptr);
        g_fCommandLineMode = false;
    }
    wtest::Pixels Shot(TableCell& c) { return wtest::Crop(wtest::Capture(host.Hwnd()), c.Hwnd()); }

    wtest::TraceHost trace;
    wtest::HostForm host;
};

// A cell 80 x 40 pixels at 15 twips per pixel: rows 0-18 upper band, row 19 the line,
// rows 20-38 lower band, row 39 the bottom line, column 79 the right border.
TEST_F(KeyCell, BandsAndGridOfAFortyPixelCell) {
    g_abSwiKeys[101] = 2;
    auto& c = host.AddCell(101, 1500, 1500, 1200, 600);
    auto px = Shot(c);
    ASSERT_EQ(px.width, 80);
    ASSERT_EQ(px.height, 40);
    const COLORREF green = 0x80FF80, grey = 0xC0C0C0, black = 0;
    EXPECT_EQ(px.At(1, 1), green);
    EXPECT_EQ(px.At(1, 18), green);
    EXPECT_EQ(px.At(78, 0), green);
    EXPECT_EQ(px.At(0, 19), black);
    EXPECT_EQ(px.At(78, 19), black);
    EXPECT_EQ(px.At(1, 20), grey);
    EXPECT_EQ(px.At(78, 38), grey);
    EXPECT_EQ(px.At(0, 39), black);
    EXPECT_EQ(px.At(78, 39), black);
    for (int y = 0; y < 40; ++y) EXPECT_EQ(px.At(79, y), black) << y;
    // Texts in black in both bands ("P1 - UP" above, the key "1" below).
    EXPECT_GT(wtest::CountColor(px, black, 2, 1, 77, 18), 5);
    EXPECT_GT(wtest::CountColor(px, black, 2, 21, 77, 38), 3);
    EXPECT_FLOAT_EQ(c.Font().size, 8);
    EXPECT_EQ(c.Font().name, "Arial");
}

TEST_F(KeyCell, TwentyPixelCellUsesTheSmallFont) {
    auto& c = host.AddCell(101, 1500, 1500, 1200, 300);
    EXPECT_FLOAT_EQ(c.Font().size, 7);
    auto px = Shot(c);
    ASSERT_EQ(px.height, 20);
    // yM = 135 -> row 9 is the line, the lower band starts at row 10, bottom row 19.
    EXPECT_EQ(px.At(1, 8), COLORREF(0x80FF80));
    EXPECT_EQ(px.At(1, 9), COLORREF(0));
    EXPECT_EQ(px.At(1, 10), COLORREF(0xC0C0C0));
    EXPECT_EQ(px.At(1, 19), COLORREF(0));
    c.SetHeight(600);
    EXPECT_FLOAT_EQ(c.Font().size, 8);
}

TEST_F(KeyCell, UpperBandColourByKindOfInput) {
    auto& plain = host.AddCell(201, 0, 0, 1200, 600);
    auto& shifted = host.AddCell(251, 1200, 0, 1200, 600);
    auto& shiftKey = host.AddCell(100, 2400, 0, 1200, 600);
    auto& other = host.AddCell(300, 3600, 0, 1200, 600);
    EXPECT_EQ(Shot(plain).At(1, 1), COLORREF(0x80FF80));
    EXPECT_EQ(Shot(shifted).At(1, 1), COLORREF(0xFF8080));
    EXPECT_EQ(Shot(shiftKey).At(1, 1), COLORREF(0x80FFFF));
    EXPECT_EQ(Shot(other).At(1, 1), COLORREF(0x80FFFF));
}

TEST_F(KeyCell, HighlightSelectionAndBlinkRules) {
    auto& c = host.AddCell(105, 1500, 1500, 1200, 600);
    const COLORREF grey = 0xC0C0C0, cyan = 0xFFFF00, yellow = 0x00FFFF;
    EXPECT_EQ(Shot(c).At(1, 25), grey);
    c.Blink(-1);
    EXPECT_EQ(c.LowerBandColor(), cyan);
    EXPECT_EQ(Shot(c).At(1, 25), cyan);
    c.Blink(1);
    EXPECT_EQ(Shot(c).At(1, 25), grey);
    c.Blink(1);
    c.Blink(1);
    EXPECT_EQ(Shot(c).At(1, 25), grey);
    c.Blink(0);
    EXPECT_EQ(Shot(c).At(1, 25), grey);

    // Selected: yellow, whatever the highlight, until deselected.
    host.selected = &c;
    c.Redraw();
    EXPECT_EQ(Shot(c).At(1, 25), yellow);
    c.Blink(-1);
    EXPECT_EQ(Shot(c).At(1, 25), yellow);
    host.selected = nullptr;
    c.Blink(0);
    c.Blink(-1);
    EXPECT_EQ(Shot(c).At(1, 25), cyan);
    // A bad value is reported; the colour stays.
    c.Blink(9);
    ASSERT_EQ(trace.lines.size(), 1u) << trace.lines.front() << " / " << trace.lines.back();
    EXPECT_EQ(trace.lines[0], "Assertion Failure:  Bad blnk value = 9");
    EXPECT_EQ(Shot(c).At(1, 25), cyan);
}

TEST_F(KeyCell, GreyAndBlackLowerTexts) {
    const COLORREF grey = 0x808080, black = 0;
    auto& none = host.AddCell(102, 0, 0, 1200, 600);   // no key: "(none)"
    auto& na = host.AddCell(163, 1200, 0, 1200, 600);  // not available: "n/a"
    g_abSwiKeys[103] = 2;
    auto& key = host.AddCell(103, 2400, 0, 1200, 600);
    auto lower = [](const wtest::Pixels& p, COLORREF c) { return wtest::CountColor(p, c, 0, 20, 79, 39); };
    auto pNone = Shot(none);
    EXPECT_GT(lower(pNone, grey), 3);
    EXPECT_EQ(lower(pNone, black), 0);
    auto pNa = Shot(na);
    EXPECT_GT(lower(pNa, grey), 3);
    EXPECT_EQ(lower(pNa, black), 0);
    // The name in parentheses stays black, on light blue.
    EXPECT_GT(wtest::CountColor(pNa, black, 0, 0, 79, 19), 5);
    EXPECT_EQ(pNa.At(1, 1), COLORREF(0xFF8080));
    auto pKey = Shot(key);
    EXPECT_GT(lower(pKey, black), 3);
    EXPECT_EQ(lower(pKey, grey), 0);

    // User-text view: an empty, unselected text leaves the band bare.
    host.userText = true;
    none.Redraw();
    auto bare = Shot(none);
    EXPECT_EQ(lower(bare, black) + lower(bare, grey), 0);
    host.selected = &none;
    none.Redraw();
    EXPECT_GT(lower(Shot(none), black), 5);  // "ENTER TEXT"
    host.selected = nullptr;
    host.userText = false;
}

TEST_F(KeyCell, HostEntryAndInterface) {
    auto& c = host.AddCell(116, 1500, 1500, 1200, 600);
    ISwi& v = c;
    EXPECT_EQ(v.swi(), 116);
    EXPECT_EQ(v.Control(), host.acells[c.CtlArrayIndex].get());
    EXPECT_FALSE(v.FExtraneousWidget());
    c.SetSwi(999);  // not checked when set
    EXPECT_EQ(c.swi(), 999);
    EXPECT_TRUE(trace.lines.empty());
    c.SetSwi(116);
    c.Move(3000, 2250);
    EXPECT_FLOAT_EQ(c.Left(), 3000);
    EXPECT_FLOAT_EQ(c.Top(), 2250);
    EXPECT_FLOAT_EQ(c.Width(), 1200);
    c.SetVisible(false);
    EXPECT_FALSE(c.Visible());
    c.SetVisible(true);
    auto& d = host.AddCell(115, 3000, 2250, 1200, 600);
    d.Zorder();
    EXPECT_EQ(GetWindow(host.Hwnd(), GW_CHILD), d.Hwnd());
    c.Zorder();
    EXPECT_EQ(GetWindow(host.Hwnd(), GW_CHILD), c.Hwnd());
}

TEST_F(KeyCell, DesignTimeLook) {
    auto& c = host.AddCell(101, 1500, 1500, 1200, 600);
    c.SetDesignMode(true);
    auto px = Shot(c);
    const COLORREF outline = 0xFF8080;
    EXPECT_GT(wtest::CountColor(px, outline, 0, 0, 80, 1), 20);
    EXPECT_GT(wtest::CountColor(px, outline, 0, 20, 80, 21), 20);
    EXPECT_EQ(wtest::CountColor(px, COLORREF(0x80FF80), 0, 0, 80, 40), 0);
}

}  // namespace
