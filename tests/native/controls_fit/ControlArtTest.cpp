// The drawn control pictures as pixel arrays: sizes, and the key colour marking
// exactly the transparent pixels (an opaque pixel of that colour would vanish).
#include <gtest/gtest.h>

#include <vector>

#include "controls/ControlArt.h"

using namespace ControlArt;

namespace {
struct Drawn {
    Pixmap pix;
    int w, h;
    bool transparent;
};
std::vector<Drawn> All() {
    std::vector<Drawn> v;
    for (int c = 0; c <= 8; ++c) {
        v.push_back({PushButton(ButtonTone(c)), 23, 24, true});
        v.push_back({Joystick(BallTone(c)), 30, 30, true});
        v.push_back({Trackball(BallTone(c)), 60, 60, false});
    }
    v.push_back({PushButton(kBlinkButtonTone), 23, 24, true});
    for (int n = 1; n <= 4; ++n) v.push_back({StartButton(n), 23, 24, true});
    v.push_back({QuestionMark(kMiscWhite), 61, 60, true});
    v.push_back({QuestionMark(kMiscBlinkTone), 61, 60, true});
    v.push_back({CoinSlot(kCoinSlotRed), 42, 40, false});
    v.push_back({CoinSlot(kCoinSlotBlinkTone), 42, 40, false});
    for (int d = 0; d < 4; ++d) {
        int w = d % 2 ? 8 : 15, h = d % 2 ? 15 : 8;
        v.push_back({Arrow(d, kArrowBlue), w, h, true});
        v.push_back({Arrow(d, kArrowBlinkTone), w, h, true});
    }
    for (int i = 0; i < 8; ++i) v.push_back({OptionStatePicture(i & 4, i & 2, i & 1), 12, 12, false});
    return v;
}
}  // namespace

TEST(ControlArt, SizesTransparencyAndKeyColour) {
    auto all = All();
    ASSERT_EQ(all.size(), 52u);
    for (size_t i = 0; i < all.size(); ++i) {
        const Drawn& d = all[i];
        EXPECT_EQ(d.pix.width, d.w) << i;
        EXPECT_EQ(d.pix.height, d.h) << i;
        EXPECT_EQ(d.pix.transparent, d.transparent) << i;
        ASSERT_EQ(d.pix.pixels.size(), static_cast<size_t>(d.w * d.h));
        int keyed = 0;
        for (const Rgb& p : d.pix.pixels) keyed += p == kKey;
        if (d.transparent) {
            // Some ground shows through, and there is a drawing on it.
            EXPECT_GT(keyed, 0) << i;
            EXPECT_LT(keyed, d.w * d.h * 9 / 10) << i;
        } else {
            EXPECT_EQ(keyed, 0) << i;  // opaque pictures never carry the key colour
        }
    }
}

TEST(ControlArt, NearKeyBallStaysOpaque) {
    // The purple ball (255, 0, 254) sits one step from the key colour; its shaded
    // pixels must not turn into holes.
    Pixmap j = Joystick(BallTone(6));
    EXPECT_FALSE(j.IsTransparentAt(14, 14));
    int holes = 0;
    for (int y = 8; y < 21; ++y)
        for (int x = 8; x < 21; ++x) holes += j.IsTransparentAt(x, y);
    EXPECT_EQ(holes, 0);
}

TEST(ControlArt, ColourIndexesOutsideTheTableReadAsWhite) {
    EXPECT_EQ(ButtonTone(9), ButtonTone(0));
    EXPECT_EQ(ButtonTone(-1), ButtonTone(0));
    EXPECT_EQ(BallTone(100), BallTone(0));
    EXPECT_EQ(ButtonTone(1), (Rgb{214, 0, 0}));
    EXPECT_EQ(BallTone(6), (Rgb{255, 0, 254}));
}
