// Where the fitted picture control places its picture: aspect kept, centred, the
// enlargement limit with its floor, every step in single precision.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "controls/ImageStretched_Fit.h"

using ImageStretched_Fit::Fit;
using ImageStretched_Fit::Placement;

namespace {
void ExpectPlacement(const Placement& p, float l, float t, float w, float h) {
    EXPECT_FLOAT_EQ(p.left, l);
    EXPECT_FLOAT_EQ(p.top, t);
    EXPECT_FLOAT_EQ(p.width, w);
    EXPECT_FLOAT_EQ(p.height, h);
}
}  // namespace

TEST(ImageFit, WideFitBeyondLimitIsCappedAndCentred) {
    float m = 2.0f;
    ExpectPlacement(Fit(400, 400, true, 100, 50, m), 100, 150, 200, 100);
    EXPECT_EQ(m, 2.0f);
}

TEST(ImageFit, WidthFitWithinLimit) {
    float m = 2.0f;
    ExpectPlacement(Fit(150, 400, true, 100, 50, m), 0, 162.5f, 150, 75);
}

TEST(ImageFit, TallPictureFitsTheHeight) {
    float m = 2.0f;
    ExpectPlacement(Fit(400, 100, true, 50, 100, m), 175, 0, 50, 100);
}

TEST(ImageFit, FactorEqualToTheLimitIsNotCapped) {
    float m = 2.0f;
    ExpectPlacement(Fit(200, 400, true, 100, 50, m), 0, 150, 200, 100);
}

TEST(ImageFit, LimitAtOrBelowFloorBecomesOneHundredth) {
    for (float start : {0.0f, -3.0f, 0.01f, 0.005f, std::numeric_limits<float>::quiet_NaN()}) {
        float m = start;
        Placement p = Fit(400, 400, true, 100, 50, m);
        EXPECT_EQ(m, 0.01f) << start;
        EXPECT_FLOAT_EQ(p.width, 1.0f);
        EXPECT_FLOAT_EQ(p.height, 0.5f);
        EXPECT_FLOAT_EQ(p.left, 199.5f);
        EXPECT_FLOAT_EQ(p.top, 199.75f);
    }
    float above = 0.02f;
    Fit(400, 400, true, 100, 50, above);
    EXPECT_EQ(above, 0.02f);
}

TEST(ImageFit, NoPictureCoversTheControlAndKeepsTheLimit) {
    float m = 0;
    ExpectPlacement(Fit(1635, 1365, false, 0, 0, m), 0, 0, 1635, 1365);
    EXPECT_EQ(m, 0.0f);  // the floor applies only when there is a picture to fit
}

TEST(ImageFit, ZeroSizedPictureCoversTheControl) {
    float m = 2.0f;
    ExpectPlacement(Fit(300, 200, true, 0, 50, m), 0, 0, 300, 200);
    ExpectPlacement(Fit(300, 200, true, 50, 0, m), 0, 0, 300, 200);
    Placement p = Fit(300, 200, true, 0, 0, m);
    EXPECT_TRUE(std::isfinite(p.width) && std::isfinite(p.height));
}

TEST(ImageFit, QuotientIsComparedAfterRoundingToSingle) {
    // 5 / 3 rounds to exactly the limit: not greater, so the width fit stands
    // (a double-precision comparison would cap it to 3 x limit).
    float m = 5.0f / 3.0f;
    Placement p = Fit(5, 100, true, 3, 1, m);
    EXPECT_EQ(p.width, 5.0f);
    EXPECT_EQ(p.left, 0.0f);
}

TEST(ImageFit, HeightIsComputedInSingleSteps) {
    // (10 / 3) rounded, times 7 rounded: 23.333332..., not 23.333334 from one rounding.
    float m = 10.0f;
    Placement p = Fit(10, 1000, true, 3, 7, m);
    EXPECT_EQ(p.height, 23.333332061767578f);
    EXPECT_EQ(p.top, (1000.0f - 23.333332061767578f) / 2.0f);
}

TEST(ImageFit, PaletteSizedControlWithAJoystick) {
    // The palette preview (1635 x 1365) with a 30 x 30-pixel joystick (450 twips):
    // the height fit gives factor 3.03, capped to 900 x 900.
    float m = 2.0f;
    ExpectPlacement(Fit(1635, 1365, true, 450, 450, m), 367.5f, 232.5f, 900, 900);
}
