// The fitted picture on a window: the inner element follows the fit on resizes and
// picture changes, mouse events come only from over the picture, the design look.
#include <gtest/gtest.h>

#include <memory>

#include <vector>

#include "PictureTestSupport.h"
#include "controls/ImageStretched_.h"

namespace {

// A plain opaque picture of w x h pixels.
platform::PicturePtr MakePicture(int w, int h) {
    HDC screen = GetDC(nullptr);
    HBITMAP bmp = CreateCompatibleBitmap(screen, w, h);
    ReleaseDC(nullptr, screen);
    return std::make_shared<const platform::Picture>(bmp, false, 0);
}

class ImageStretchedTest : public ::testing::Test {
protected:
    // One host for the suite (hiding a top-level window is slow under Wine on a bare X server).
    static void SetUpTestSuite() {
        s_hostForm = std::make_unique<pictest::HostForm>();
        s_hostForm->Open(60, 60, 300, 300);
    }
    // No mouse move from an earlier pointer position may reach the controls of a test.
    void SetUp() override { ASSERT_TRUE(pictest::ParkPointer(host, 295, 295)); }
    static void TearDownTestSuite() {
        s_hostForm->Unload();
        s_hostForm.reset();
    }

    // The inner element's rectangle in pixels within the control.
    RECT InnerRect() const {
        RECT r{};
        GetWindowRect(img.InnerImage().Hwnd(), &r);
        MapWindowPoints(nullptr, img.Hwnd(), reinterpret_cast<POINT*>(&r), 2);
        return r;
    }
    void ExpectInnerAtPlacement() {
        const auto& p = img.Placement();
        RECT r = InnerRect();
        EXPECT_EQ(r.left, platform::ToPixelsX(p.left));
        EXPECT_EQ(r.top, platform::ToPixelsY(p.top));
        EXPECT_EQ(r.right, platform::ToPixelsX(p.left + p.width));
        EXPECT_EQ(r.bottom, platform::ToPixelsY(p.top + p.height));
    }

    static inline std::unique_ptr<pictest::HostForm> s_hostForm;
    pictest::HostForm& host = *s_hostForm;
    ImageStretched_ img;
};

}  // namespace

TEST_F(ImageStretchedTest, FitsOnPictureChangeAndResize) {
    const float tx = platform::TwipsPerPixelX(), ty = platform::TwipsPerPixelY();
    img.Create(&host, 0, 0, 80 * tx, 80 * ty);
    EXPECT_EQ(img.MaxStretch, 2.0f);
    EXPECT_EQ(img.ImageWidth(), 0);
    img.SetPicture(MakePicture(20, 10));
    EXPECT_NEAR(img.ImageWidth(), 20 * tx, tx / 2);
    EXPECT_NEAR(img.ImageHeight(), 10 * ty, ty / 2);
    // Factor 4 would fill the width: capped at 2, centred.
    EXPECT_NEAR(img.Placement().width, 40 * tx, 1);
    EXPECT_NEAR(img.Placement().height, 20 * ty, 1);
    EXPECT_NEAR(img.Placement().left, 20 * tx, 1);
    EXPECT_NEAR(img.Placement().top, 30 * ty, 1);
    ExpectInnerAtPlacement();

    img.SetWidth(30 * tx);  // width fit, factor 1.5
    EXPECT_NEAR(img.Placement().width, 30 * tx, 0.01);
    EXPECT_NEAR(img.Placement().left, 0, 0.01);
    EXPECT_NEAR(img.Placement().height, 15 * ty, 1);
    ExpectInnerAtPlacement();

    img.SetPicture(MakePicture(20, 60));  // tall: height fit, factor 4/3
    EXPECT_NEAR(img.Placement().height, 80 * ty, 0.01);
    EXPECT_NEAR(img.Placement().width, 20 * tx * 80 / 60, 1);
    ExpectInnerAtPlacement();

    img.SetPicture(nullptr);  // no picture: the empty element covers the control
    RECT r = InnerRect();
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(r.top, 0);
    EXPECT_EQ(r.right, 30);
    EXPECT_EQ(r.bottom, 80);
}

TEST_F(ImageStretchedTest, LimitAtOrBelowTheFloorIsRaisedByTheFit) {
    const float tx = platform::TwipsPerPixelX(), ty = platform::TwipsPerPixelY();
    img.Create(&host, 0, 0, 200 * tx, 200 * ty);
    img.MaxStretch = 0;
    img.SetPicture(MakePicture(100, 50));  // the floor: drawn at a hundredth, one pixel wide
    EXPECT_EQ(img.MaxStretch, 0.01f);
    EXPECT_NEAR(img.Placement().width, 100 * tx * 0.01f, 0.5);
    EXPECT_NEAR(img.Placement().left, (200 * tx - img.Placement().width) / 2, 0.01);
    img.MaxStretch = -5;
    img.SetHeight(190 * ty);
    EXPECT_EQ(img.MaxStretch, 0.01f);
}

TEST_F(ImageStretchedTest, MouseEventsOnlyOverThePicture) {
    const float tx = platform::TwipsPerPixelX(), ty = platform::TwipsPerPixelY();
    img.Create(&host, 0, 0, 80 * tx, 80 * ty);
    img.SetPicture(MakePicture(20, 10));
    std::vector<platform::MouseEvent> downs, moves, ups;
    img.MouseDown = [&](const platform::MouseEvent& e) { downs.push_back(e); };
    img.MouseMove = [&](const platform::MouseEvent& e) { moves.push_back(e); };
    img.MouseUp = [&](const platform::MouseEvent& e) { ups.push_back(e); };

    HWND inner = img.InnerImage().Hwnd();
    SendMessageA(inner, WM_MOUSEMOVE, 0, MAKELPARAM(5, 6));
    SendMessageA(inner, WM_RBUTTONDOWN, MK_RBUTTON | MK_SHIFT, MAKELPARAM(3, 4));
    SendMessageA(inner, WM_RBUTTONUP, MK_SHIFT, MAKELPARAM(3, 4));
    ASSERT_EQ(moves.size(), 1u);
    ASSERT_EQ(downs.size(), 1u);
    ASSERT_EQ(ups.size(), 1u);
    // Relative to the picture's own rectangle, arguments passed on unchanged.
    EXPECT_EQ(moves[0].x, 5 * tx);
    EXPECT_EQ(moves[0].y, 6 * ty);
    EXPECT_EQ(downs[0].button, platform::kRightButton);
    EXPECT_EQ(downs[0].shift, platform::kShiftMask);
    EXPECT_EQ(downs[0].x, 3 * tx);
    EXPECT_EQ(downs[0].y, 4 * ty);

    // Beside the picture (the control's own area): taken, but nothing raised.
    SendMessageA(img.Hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(2, 2));
    SendMessageA(img.Hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    SendMessageA(img.Hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
    EXPECT_EQ(moves.size(), 1u);
    EXPECT_EQ(downs.size(), 1u);
    EXPECT_EQ(ups.size(), 1u);
    // The whole rectangle is hit by the mouse: the point beside the picture is the control's.
    POINT pt = pictest::ClientToScreenPoint(img.Hwnd(), 2, 2);
    EXPECT_EQ(WindowFromPoint(pt), img.Hwnd());
}

TEST_F(ImageStretchedTest, OutlineOnlyInADesigner) {
    const float tx = platform::TwipsPerPixelX(), ty = platform::TwipsPerPixelY();
    img.Create(&host, 30 * tx, 30 * ty, 40 * tx, 30 * ty);
    auto count = [&](COLORREF c, int row) {
        auto shot = pictest::CaptureClient(host.Hwnd());
        int n = 0;
        for (int x = 30; x < 70; ++x) n += shot.At(x, 30 + row) == c;
        return n;
    };
    EXPECT_EQ(count(RGB(128, 128, 255), 0), 0);
    img.SetDesignMode(true);
    // Dotted outer rectangle on the top row, dotted inner one a pixel further in.
    EXPECT_GE(count(RGB(128, 128, 255), 0), 10);
    EXPECT_GE(count(RGB(255, 128, 128), 1), 10);
    img.SetDesignMode(false);
    EXPECT_EQ(count(RGB(128, 128, 255), 0), 0);
}
