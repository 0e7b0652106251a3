// The catalogue of panel-control pictures: which picture each type and colour yields,
// sizes in pixels and twips, transparency, sharing, names, and the pixels that carry
// meaning (the colour of a cap, a cyan highlight, corners showing the host).
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <set>
#include <string>

#include "PictureTestSupport.h"
#include "controls/ControlArt.h"
#include "controls/CplWidget_Resources.h"

using forms::CplWidget_Resources;
using platform::PicturePtr;
using pictest::ColorDiff;
using pictest::ReadBitmap;

namespace {

auto& Res() { return ::CplWidget_Resources.Get(); }

struct Pair {
    PicturePtr normal, blink;
};
Pair Lookup(const std::string& type, ColorIndex color) {
    Pair p;
    Res().GetPictureOfTypeAndColorIndex(type, color, p.normal, p.blink);
    return p;
}

COLORREF ToColorRef(ControlArt::Rgb c) { return RGB(c.r, c.g, c.b); }

// The pixel shows the tone at some brightness: every channel within tolerance of k x tone
// for the best k.
bool ShowsTone(COLORREF px, ControlArt::Rgb tone, int tolerance = 24) {
    const double t[3] = {double(tone.r), double(tone.g), double(tone.b)};
    const double p[3] = {double(GetRValue(px)), double(GetGValue(px)), double(GetBValue(px))};
    double num = 0, den = 0;
    for (int i = 0; i < 3; ++i) {
        num += t[i] * p[i];
        den += t[i] * t[i];
    }
    double k = den > 0 ? num / den : 0;
    for (int i = 0; i < 3; ++i)
        if (std::fabs(p[i] - k * t[i]) > tolerance) return false;
    return den > 0 || (p[0] < 40 && p[1] < 40 && p[2] < 40);
}

// Number of separate dark shapes (4-connected) within radius r of (cx, cy).
int DarkShapes(const pictest::Pixels& px, float cx, float cy, float r) {
    std::vector<int> seen(static_cast<std::size_t>(px.width * px.height), 0);
    auto dark = [&](int x, int y) {
        if (x < 0 || y < 0 || x >= px.width || y >= px.height) return false;
        float dx = float(x) + 0.5f - cx, dy = float(y) + 0.5f - cy;
        if (dx * dx + dy * dy > r * r) return false;
        COLORREF c = px.At(x, y);
        return GetRValue(c) < 110 && GetGValue(c) < 110 && GetBValue(c) < 110;
    };
    int shapes = 0;
    std::function<void(int, int)> fill = [&](int x, int y) {
        if (!dark(x, y) || seen[static_cast<std::size_t>(y * px.width + x)]) return;
        seen[static_cast<std::size_t>(y * px.width + x)] = 1;
        fill(x + 1, y);
        fill(x - 1, y);
        fill(x, y + 1);
        fill(x, y - 1);
    };
    for (int y = 0; y < px.height; ++y)
        for (int x = 0; x < px.width; ++x)
            if (dark(x, y) && !seen[static_cast<std::size_t>(y * px.width + x)]) {
                ++shapes;
                fill(x, y);
            }
    return shapes;
}

}  // namespace

TEST(PanelPictures, TableOfTypesAndHighlights) {
    for (int c = 0; c <= 8; ++c) {
        Pair b = Lookup("0", static_cast<ColorIndex>(c));
        EXPECT_EQ(b.normal, Res().imgButtonPix(c));
        EXPECT_EQ(b.blink, Res().imgBlinkButton());
        Pair j = Lookup("5", static_cast<ColorIndex>(c));
        EXPECT_EQ(j.normal, Res().imgJoystickPix(c));
        EXPECT_EQ(j.blink, j.normal);  // a joystick has no highlight of its own
        Pair t = Lookup("6", static_cast<ColorIndex>(c));
        EXPECT_EQ(t.normal, Res().imgTrackballPix(c));
        EXPECT_EQ(t.blink, t.normal);
    }
    for (int n = 1; n <= 4; ++n) {
        for (ColorIndex c : {0, 5, 42}) {
            Pair s = Lookup(std::to_string(n), c);
            EXPECT_EQ(s.normal, Res().imgStartButtons(n));
            EXPECT_EQ(s.blink, Res().imgBlinkButton());
        }
    }
    EXPECT_EQ(Lookup("7", 3).normal, Res().imgMisc());
    EXPECT_EQ(Lookup("7", 3).blink, Res().imgMiscBlink());
    EXPECT_EQ(Lookup("8", 3).normal, Res().imgCoinSlot());
    EXPECT_EQ(Lookup("8", 3).blink, Res().imgCoinSlotBlink());
    const char* arrows[4] = {"U", "R", "D", "L"};
    for (int d = 0; d < 4; ++d) {
        EXPECT_EQ(Lookup(arrows[d], 0).normal, Res().imgArrow(d));
        EXPECT_EQ(Lookup(arrows[d], 0).blink, Res().imgArrowBlink(d));
    }
}

TEST(PanelPictures, OutOfRangeColoursReadAsWhite) {
    EXPECT_EQ(Lookup("0", 9).normal, Res().imgButtonPix(0));
    EXPECT_EQ(Lookup("0", -1).normal, Res().imgButtonPix(0));
    EXPECT_EQ(Lookup("0", 8).normal, Res().imgButtonPix(8));
    EXPECT_EQ(Lookup("5", 32767).normal, Res().imgJoystickPix(0));
    EXPECT_EQ(CplWidget_Resources::ClampColorIndex(-1), 0);
    EXPECT_EQ(CplWidget_Resources::ClampColorIndex(0), 0);
    EXPECT_EQ(CplWidget_Resources::ClampColorIndex(8), 8);
    EXPECT_EQ(CplWidget_Resources::ClampColorIndex(9), 0);
    EXPECT_EQ(CplWidget_Resources::ClampColorIndex(-32768), 0);
}

TEST(PanelPictures, UnknownCodesLeaveBothReferencesAlone) {
    const PicturePtr keepN = Res().imgCoinSlot(), keepB = Res().imgMisc();
    for (const char* code : {"A", "u", "", " 0", "0 ", "00", "9", "r"}) {
        PicturePtr n = keepN, b = keepB;
        Res().GetPictureOfTypeAndColorIndex(code, 1, n, b);
        EXPECT_EQ(n, keepN) << "'" << code << "'";
        EXPECT_EQ(b, keepB) << "'" << code << "'";
        PicturePtr empty1, empty2;
        Res().GetPictureOfTypeAndColorIndex(code, 1, empty1, empty2);
        EXPECT_FALSE(empty1 || empty2) << "'" << code << "'";
    }
}

TEST(PanelPictures, DisplayNames) {
    EXPECT_EQ(CplWidget_Resources::GetNameOfType("0"), "PUSHBUTTON");
    EXPECT_EQ(CplWidget_Resources::GetNameOfType("1"), "P1START");
    EXPECT_EQ(CplWidget_Resources::GetNameOfType("2"), "P2START");
    EXPECT_EQ(CplWidget_Resources::GetNameOfType("4"), "P4START");
    EXPECT_EQ(CplWidget_Resources::GetNameOfType("5"), "JOYSTICK");
    EXPECT_EQ(CplWidget_Resources::GetNameOfType("6"), "TRACKBALL");
    EXPECT_EQ(CplWidget_Resources::GetNameOfType("7"), "MISC. CONTROL");
    EXPECT_EQ(CplWidget_Resources::GetNameOfType("8"), "COIN SLOT");
    for (const char* other : {"R", "U", "", "9", "a", " 1"}) EXPECT_EQ(CplWidget_Resources::GetNameOfType(other), "(UNKNOWN)");
}

TEST(PanelPictures, SizesInPixelsAndTwips) {
    struct Want {
        PicturePtr pic;
        int w, h;
        bool transparent;
    };
    std::vector<Want> all;
    for (int c = 0; c <= 8; ++c) {
        all.push_back({Res().imgButtonPix(c), 23, 24, true});
        all.push_back({Res().imgJoystickPix(c), 30, 30, true});
        all.push_back({Res().imgTrackballPix(c), 60, 60, false});
    }
    all.push_back({Res().imgBlinkButton(), 23, 24, true});
    for (int n = 1; n <= 4; ++n) all.push_back({Res().imgStartButtons(n), 23, 24, true});
    all.push_back({Res().imgMisc(), 61, 60, true});
    all.push_back({Res().imgMiscBlink(), 61, 60, true});
    all.push_back({Res().imgCoinSlot(), 42, 40, false});
    all.push_back({Res().imgCoinSlotBlink(), 42, 40, false});
    for (int d = 0; d < 4; ++d) {
        const bool vertical = d == 0 || d == 2;
        all.push_back({Res().imgArrow(d), vertical ? 15 : 8, vertical ? 8 : 15, true});
        all.push_back({Res().imgArrowBlink(d), vertical ? 15 : 8, vertical ? 8 : 15, true});
    }
    ASSERT_EQ(all.size(), 44u);
    std::set<const platform::Picture*> distinct;
    for (const Want& w : all) {
        ASSERT_TRUE(w.pic && w.pic->Handle());
        distinct.insert(w.pic.get());
        EXPECT_EQ(w.pic->PixelWidth(), w.w);
        EXPECT_EQ(w.pic->PixelHeight(), w.h);
        EXPECT_EQ(w.pic->Transparent(), w.transparent);
        // HiMetric to twips lands within half a pixel of the pixel size.
        EXPECT_NEAR(platform::PictureWidthTwips(w.pic), platform::FromPixelsX(w.w), platform::TwipsPerPixelX() / 2);
        EXPECT_EQ(platform::ToPixelsX(platform::PictureWidthTwips(w.pic)), w.w);
        EXPECT_EQ(platform::ToPixelsY(platform::PictureHeightTwips(w.pic)), w.h);
    }
    EXPECT_EQ(distinct.size(), 44u);
    if (platform::TwipsPerPixelX() == 15.0f && platform::TwipsPerPixelY() == 15.0f) {
        EXPECT_NEAR(platform::PictureWidthTwips(Res().imgButtonPix(3)), 345, 1);
        EXPECT_NEAR(platform::PictureHeightTwips(Res().imgButtonPix(3)), 360, 1);
        EXPECT_NEAR(platform::PictureWidthTwips(Res().imgJoystickPix(0)), 450, 1);
        EXPECT_NEAR(platform::PictureHeightTwips(Res().imgJoystickPix(0)), 450, 1);
        EXPECT_NEAR(platform::PictureWidthTwips(Res().imgTrackballPix(0)), 900, 1);
        EXPECT_NEAR(platform::PictureHeightTwips(Res().imgTrackballPix(0)), 900, 1);
    }
}

TEST(PanelPictures, ColoursThatCarryMeaning) {
    const COLORREF key = Res().imgButtonPix(0)->TransparentColor();
    for (int c = 0; c <= 8; ++c) {
        auto btn = ReadBitmap(Res().imgButtonPix(c)->Handle());
        // The centre of the cap is the main tone; the corners are transparent.
        EXPECT_LE(ColorDiff(btn.At(11, 11), ToColorRef(ControlArt::ButtonTone(c))), 6) << c;
        EXPECT_EQ(btn.At(0, 0), key);
        EXPECT_EQ(btn.At(22, 0), key);
        auto joy = ReadBitmap(Res().imgJoystickPix(c)->Handle());
        EXPECT_TRUE(ShowsTone(joy.At(14, 14), ControlArt::BallTone(c))) << c << " " << std::hex << joy.At(14, 14);
        EXPECT_EQ(joy.At(0, 0), key);
        EXPECT_EQ(joy.At(29, 29), key);
        auto tb = ReadBitmap(Res().imgTrackballPix(c)->Handle());
        EXPECT_TRUE(ShowsTone(tb.At(30, 30), ControlArt::BallTone(c))) << c << " " << std::hex << tb.At(30, 30);
        // The plate beside the ball is grey.
        COLORREF plate = tb.At(12, 4);
        EXPECT_LE(ColorDiff(plate, RGB(GetRValue(plate), GetRValue(plate), GetRValue(plate))), 8);
        EXPECT_GT(GetRValue(plate), 110);
    }
    auto red = ReadBitmap(Res().imgButtonPix(1)->Handle());
    EXPECT_GT(GetRValue(red.At(11, 11)), 200);
    EXPECT_LT(GetGValue(red.At(11, 11)), 20);
    auto cyan = ReadBitmap(Res().imgBlinkButton()->Handle());
    EXPECT_LE(ColorDiff(cyan.At(11, 11), RGB(0, 202, 214)), 6);

    auto misc = ReadBitmap(Res().imgMisc()->Handle());
    auto miscBlink = ReadBitmap(Res().imgMiscBlink()->Handle());
    EXPECT_EQ(misc.At(30, 51), RGB(255, 255, 255));  // the dot
    EXPECT_EQ(miscBlink.At(30, 51), RGB(0, 255, 255));
    EXPECT_EQ(misc.At(30, 44), key);  // between stem and dot
    EXPECT_EQ(misc.At(0, 0), key);
    EXPECT_EQ(misc.At(60, 59), key);

    auto coin = ReadBitmap(Res().imgCoinSlot()->Handle());
    auto coinBlink = ReadBitmap(Res().imgCoinSlotBlink()->Handle());
    EXPECT_TRUE(ShowsTone(coin.At(16, 16), ControlArt::kCoinSlotRed));
    EXPECT_GT(GetRValue(coin.At(16, 16)), 150);
    EXPECT_TRUE(ShowsTone(coinBlink.At(16, 16), ControlArt::kCoinSlotBlinkTone));
    EXPECT_LT(GetRValue(coin.At(8, 20)), 90);  // the dark plate
    EXPECT_EQ(coin.At(8, 20), coinBlink.At(8, 20));

    // Arrows: solid blue triangles pointing their way, cyan twins.
    auto up = ReadBitmap(Res().imgArrow(0)->Handle());
    EXPECT_EQ(up.At(7, 0), RGB(0, 0, 255));
    EXPECT_EQ(up.At(0, 7), RGB(0, 0, 255));
    EXPECT_EQ(up.At(14, 7), RGB(0, 0, 255));
    EXPECT_EQ(up.At(0, 0), key);
    EXPECT_EQ(up.At(14, 0), key);
    auto down = ReadBitmap(Res().imgArrow(2)->Handle());
    EXPECT_EQ(down.At(7, 7), RGB(0, 0, 255));
    EXPECT_EQ(down.At(0, 0), RGB(0, 0, 255));
    EXPECT_EQ(down.At(0, 7), key);
    auto right = ReadBitmap(Res().imgArrow(1)->Handle());
    EXPECT_EQ(right.At(7, 7), RGB(0, 0, 255));
    EXPECT_EQ(right.At(0, 0), RGB(0, 0, 255));
    EXPECT_EQ(right.At(7, 0), key);
    auto left = ReadBitmap(Res().imgArrow(3)->Handle());
    EXPECT_EQ(left.At(0, 7), RGB(0, 0, 255));
    EXPECT_EQ(left.At(7, 14), RGB(0, 0, 255));
    EXPECT_EQ(left.At(0, 0), key);
    for (int d = 0; d < 4; ++d) {
        auto a = ReadBitmap(Res().imgArrow(d)->Handle());
        auto b = ReadBitmap(Res().imgArrowBlink(d)->Handle());
        for (int y = 0; y < a.height; ++y)
            for (int x = 0; x < a.width; ++x) {
                if (a.At(x, y) == key) EXPECT_EQ(b.At(x, y), key);
                else EXPECT_EQ(b.At(x, y), RGB(0, 255, 255));
            }
    }
}

TEST(PanelPictures, StartButtonsCarryTheirNumberOfPlayers) {
    for (int n = 1; n <= 4; ++n) {
        auto px = ReadBitmap(Res().imgStartButtons(n)->Handle());
        // Each figure is a head and a body: two dark shapes on the white cap.
        EXPECT_EQ(DarkShapes(px, 11.5f, 11.5f, 7.5f), 2 * n) << n;
        EXPECT_GT(GetRValue(px.At(4, 11)), 200);  // a white cap around them
    }
}

TEST(PanelPictures, TransparentCornersShowTheHost) {
    pictest::HostForm host;
    host.Open(20, 20, 200, 120);
    platform::Image btn, joy, tb;
    btn.Create(&host, platform::FromPixelsX(10), platform::FromPixelsY(10));
    btn.SetPicture(Res().imgButtonPix(1));
    joy.Create(&host, platform::FromPixelsX(50), platform::FromPixelsY(10));
    joy.SetPicture(Res().imgJoystickPix(4));
    tb.Create(&host, platform::FromPixelsX(100), platform::FromPixelsY(10));
    tb.SetPicture(Res().imgTrackballPix(5));
    auto shot = pictest::CaptureClient(host.Hwnd());
    ASSERT_GE(shot.width, 160);
    EXPECT_EQ(shot.At(10, 10), pictest::kHostGrey);        // corner of the button
    EXPECT_EQ(shot.At(10 + 22, 10), pictest::kHostGrey);
    EXPECT_GT(GetRValue(shot.At(10 + 11, 10 + 11)), 200);  // red centre
    EXPECT_EQ(shot.At(50, 10), pictest::kHostGrey);        // corner of the joystick
    EXPECT_NE(shot.At(100, 10), pictest::kHostGrey);       // the trackball plate is opaque
    host.Unload();
}

TEST(PanelPictures, HolderUnloadsAndLoadsAnew) {
    PicturePtr kept = Res().imgButtonPix(2);
    ASSERT_TRUE(::CplWidget_Resources.Peek()->IsLoaded());
    ::CplWidget_Resources.Peek()->Unload();
    EXPECT_FALSE(::CplWidget_Resources.Peek()->IsLoaded());
    EXPECT_TRUE(kept && kept->Handle());  // a control still showing it keeps it
    EXPECT_EQ(kept->PixelWidth(), 23);
    PicturePtr again = Res().imgButtonPix(2);  // any use loads the holder again
    EXPECT_TRUE(::CplWidget_Resources.Peek()->IsLoaded());
    EXPECT_NE(again, kept);
    EXPECT_EQ(Lookup("0", 2).normal, again);
}
