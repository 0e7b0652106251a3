// Panel controls on a test host window: sizes from their pictures, caption and arrow
// placement with real labels, Blink, type and colour changes, the input they stand
// for, visibility, stacking order, mouse hits and Dispose.
#include <gtest/gtest.h>

#include <functional>

#include "WidgetTestSupport.h"
#include "controls/CplWidget_Resources.h"
#include "core/Globals.h"

namespace {

class PanelControl : public ::testing::Test {
protected:
    void SetUp() override {
        SetHost(&trace);
        g_modeEditor = MODEEDITOR_PanelDesigner;
        host.Open(0, 0, 800, 600);
        tx = platform::TwipsPerPixelX();
        ty = platform::TwipsPerPixelY();
    }
    void TearDown() override {
        SetHost(nullptr);
        g_modeEditor = MODEEDITOR_KeyAssignments;
    }
    wtest::TraceHost trace;
    wtest::HostForm host;
    float tx = 15, ty = 15;
};

TEST_F(PanelControl, SizedFromItsPicture) {
    ASSERT_FLOAT_EQ(tx, 15);
    ASSERT_FLOAT_EQ(ty, 15);
    auto& button = host.AddWidget(105, "0", 0);
    EXPECT_FLOAT_EQ(button.Width(), 345);
    EXPECT_FLOAT_EQ(button.Height(), 360);
    auto& joy = host.AddWidget(0, "5", 2);
    EXPECT_FLOAT_EQ(joy.Width(), 450);
    EXPECT_FLOAT_EQ(joy.Height(), 450);
    auto& ball = host.AddWidget(0, "6", 4);
    EXPECT_FLOAT_EQ(ball.Width(), 900);
    EXPECT_FLOAT_EQ(ball.Height(), 900);
    auto& coin = host.AddWidget(116, "8", 0);
    EXPECT_FLOAT_EQ(coin.Width(), 630);
    EXPECT_FLOAT_EQ(coin.Height(), 600);
    auto& up = host.AddWidget(101, "U", 0);
    EXPECT_FLOAT_EQ(up.Width(), 225);
    EXPECT_FLOAT_EQ(up.Height(), 120);
    // The control is exactly its picture.
    RECT r;
    GetClientRect(button.Hwnd(), &r);
    EXPECT_EQ(r.right, 23);
    EXPECT_EQ(r.bottom, 24);
}

TEST_F(PanelControl, SetTypeAndSetColor) {
    auto& res = CplWidget_Resources.Get();
    auto& w = host.AddWidget(0, "8", 0);
    w.Move(3000, 3000);
    w.SetType("0", 3);
    EXPECT_EQ(w.Picture(), res.imgButtonPix(3));
    EXPECT_EQ(w.pixBlink, res.imgBlinkButton());
    EXPECT_FLOAT_EQ(w.Width(), 345);
    EXPECT_FLOAT_EQ(w.Height(), 360);
    // The caption followed the new size: a button's caption overlaps its bottom two pixels.
    EXPECT_FLOAT_EQ(w.lbl->Top(), 3000 + 360 - 2 * ty);
    w.SetColor(5);
    EXPECT_EQ(w.Picture(), res.imgButtonPix(5));
    EXPECT_EQ(w.m_iColor, 5);
    // A colour out of range is kept as set and looked up as white.
    w.SetColor(9);
    EXPECT_EQ(w.m_iColor, 9);
    EXPECT_EQ(w.Picture(), res.imgButtonPix(0));
    // An unknown code keeps the pictures.
    w.SetType("A", 1);
    EXPECT_EQ(w.m_sType, "A");
    EXPECT_EQ(w.Picture(), res.imgButtonPix(0));
    EXPECT_EQ(w.pixNormal, res.imgButtonPix(0));
}

TEST_F(PanelControl, CaptionPlacementTable) {
    struct Case {
        const char* type;
        platform::Label::Alignment align;
    };
    const Case cases[] = {{"0", platform::Label::kCenter}, {"1", platform::Label::kCenter},
                          {"4", platform::Label::kCenter}, {"8", platform::Label::kCenter},
                          {"U", platform::Label::kCenter}, {"D", platform::Label::kCenter},
                          {"L", platform::Label::kRight},  {"R", platform::Label::kLeft}};
    float x = 1500;
    for (const auto& c : cases) {
        auto& w = host.AddWidget(101, c.type, 0, "1SW12");
        w.Move(x, 3000);
        const float L = w.Left(), T = w.Top(), W = w.Width(), H = w.Height();
        const float lw = w.lbl->Width(), lh = w.lbl->Height();
        ASSERT_GT(lw, 0);
        ASSERT_GT(lh, 0);
        float left = 0, top = 0;
        const std::string t = c.type;
        if (t == "8") {
            left = L + (W - lw) / 2;
            top = T + H - ty;
        } else if (t == "U") {
            left = L + (W - lw) / 2;
            top = T - W / 2 - lh + 80;
        } else if (t == "D") {
            left = L + (W - lw) / 2;
            top = T + H + 2 * ty;
        } else if (t == "L") {
            left = L - lw - 2 * ty;
            top = T + 3 * ty;
        } else if (t == "R") {
            left = L + W;
            top = T + 3 * ty;
        } else {
            left = L + (W - lw) / 2;
            top = T + H - 2 * ty;
        }
        EXPECT_FLOAT_EQ(w.lbl->Left(), wtest::SnapX(left)) << t;
        EXPECT_FLOAT_EQ(w.lbl->Top(), wtest::SnapY(top)) << t;
        EXPECT_EQ(w.lbl->GetAlignment(), c.align) << t;
        // The label keeps its own size.
        EXPECT_FLOAT_EQ(w.lbl->Width(), lw);
        x += 1200;
    }
    // No caption label: nothing to place, and the control counts as extraneous.
    auto& joy = host.AddWidget(0, "5", 0);
    EXPECT_EQ(joy.lbl, nullptr);
    joy.UpdateLabelPosition();
    EXPECT_TRUE(joy.FExtraneousWidget());
    EXPECT_FALSE(host.awidgets.begin()->second->FExtraneousWidget());
}

TEST_F(PanelControl, CaptionShowsThroughTransparentPixels) {
    // A wide, opaque caption lies under the control's bottom two rows, corners included.
    auto& w = host.AddWidget(105, "0", 0, "PRESS KEY");
    w.Move(1500, 1500);
    w.lbl->SetTransparent(false);
    // Text in its own back colour: only the caption's rectangle is looked at, whatever
    // the font's glyphs and their smoothing cover.
    w.lbl->SetBackColor(0x00FFFF);
    w.lbl->SetForeColor(0x00FFFF);
    w.Zorder();
    ASSERT_GT(w.lbl->Width(), w.Width());
    // By each window's own paint, and by the form's drawing of all of them in one pass,
    // which has moved the origin to the control already.
    const struct {
        const char* how;
        std::function<wtest::Pixels()> draw;
    } drawings[] = {
        {"own paint", [&] { return wtest::Capture(host.Hwnd()); }},
        {"one pass",
         [&] {
             { platform::Form::Batch all(host); }
             return wtest::Grab(host.Hwnd());
         }},
    };
    for (const auto& d : drawings) {
        SCOPED_TRACE(d.how);
        auto px = wtest::Crop(d.draw(), w.Hwnd());
        EXPECT_EQ(px.At(0, 23), COLORREF(0x00FFFF));
        EXPECT_EQ(px.At(22, 22), COLORREF(0x00FFFF));
        EXPECT_EQ(px.At(0, 0), wtest::kPanelGrey);
    }
    // A change of the caption's place repaints the part under the control.
    w.lbl->SetBackColor(0xFF00FF);
    w.lbl->SetForeColor(0xFF00FF);
    w.UpdateLabelPosition();
    EXPECT_TRUE(wtest::WaitFor(
        [&] { return wtest::Crop(wtest::Grab(host.Hwnd()), w.Hwnd()).At(0, 23) == COLORREF(0xFF00FF); }, 2000));
}

TEST_F(PanelControl, JoystickTakesItsArrowsAlong) {
    auto& joy = host.AddWidget(0, "5", 0);
    auto& up = host.AddWidget(101, "U", 0, "1UP");
    auto& down = host.AddWidget(102, "D", 0, "1DOWN");
    auto& left = host.AddWidget(103, "L", 0, "1LEFT");
    auto& right = host.AddWidget(104, "R", 0, "1RGHT");
    joy.Move(4500, 3000);
    for (CplWidget* a : {&up, &down, &left, &right}) joy.AddArrow(a);
    EXPECT_TRUE(trace.lines.empty());
    ASSERT_EQ(joy.m_colArrowWidgets.size(), 4u);
    EXPECT_EQ(up.m_widgetJoystick, &joy);
    EXPECT_EQ(right.m_widgetJoystick, &joy);

    auto check = [&](float L, float T) {
        // 30 x 30 joystick, 15 x 8 and 8 x 15 arrows, one pixel clear on each side; the
        // half pixel of the centring is kept (and shown at the nearest pixel).
        EXPECT_FLOAT_EQ(up.Left(), L + (450 - 225) / 2.0f);
        EXPECT_FLOAT_EQ(up.Top(), T - 120 - ty);
        EXPECT_FLOAT_EQ(down.Left(), L + (450 - 225) / 2.0f);
        EXPECT_FLOAT_EQ(down.Top(), T + 450 + ty);
        EXPECT_FLOAT_EQ(left.Left(), L - 120 - tx);
        EXPECT_FLOAT_EQ(left.Top(), T + (450 - 225) / 2.0f);
        EXPECT_FLOAT_EQ(right.Left(), L + 450 + tx);
        EXPECT_FLOAT_EQ(right.Top(), T + (450 - 225) / 2.0f);
        // Each arrow's caption went with it.
        EXPECT_FLOAT_EQ(down.lbl->Top(), down.Top() + down.Height() + 2 * ty);
        EXPECT_FLOAT_EQ(right.lbl->Left(), right.Left() + right.Width());
        EXPECT_FLOAT_EQ(left.lbl->Left(), wtest::SnapX(left.Left() - left.lbl->Width() - 2 * ty));
        EXPECT_FLOAT_EQ(up.lbl->Top(), wtest::SnapY(up.Top() - up.Width() / 2 - up.lbl->Height() + 80));
    };
    check(4500, 3000);
    joy.Move(6000, 4500);
    check(6000, 4500);
    joy.SetLeft(6300);
    check(6300, 4500);
    joy.SetTop(4200);
    check(6300, 4200);

    // Moving an arrow alone leaves the joystick where it is.
    up.Move(1500, 1500);
    EXPECT_FLOAT_EQ(joy.Left(), 6300);
    EXPECT_FLOAT_EQ(joy.Top(), 4200);
    EXPECT_FLOAT_EQ(up.Left(), 1500);
    EXPECT_FLOAT_EQ(up.lbl->Top(), wtest::SnapY(1500 - up.Width() / 2 - up.lbl->Height() + 80));
}

TEST_F(PanelControl, ArrowRulesReportedButDone) {
    auto& button = host.AddWidget(105, "0", 0);
    auto& arrow = host.AddWidget(101, "U", 0);
    button.AddArrow(&arrow);
    ASSERT_EQ(trace.lines.size(), 1u);
    EXPECT_EQ(trace.lines[0], "Assertion Failure:  Should not add arrows to anything other than a joystick!");
    EXPECT_EQ(arrow.m_widgetJoystick, &button);
    ASSERT_EQ(button.m_colArrowWidgets.size(), 1u);

    auto& joy = host.AddWidget(0, "5", 0);
    auto& odd = host.AddWidget(106, "0", 0);
    odd.Move(300, 300);
    trace.lines.clear();
    joy.AddArrow(&odd);
    ASSERT_EQ(trace.lines.size(), 1u);
    EXPECT_EQ(trace.lines[0], "Assertion Failure:  Unexpected sType=0");
    EXPECT_FLOAT_EQ(odd.Left(), 300);  // not moved
}

TEST_F(PanelControl, BlinkOnButtonAndJoystick) {
    auto& res = CplWidget_Resources.Get();
    auto& button = host.AddWidget(105, "0", 1);
    button.Move(1500, 1500);
    auto& joy = host.AddWidget(0, "5", 4);
    joy.Move(3000, 1500);

    auto centre = [&](CplWidget& w) {
        wtest::Pixels all = wtest::Capture(host.Hwnd());
        wtest::Pixels mine = wtest::Crop(all, w.Hwnd());
        return mine.At(mine.width / 2, mine.height / 2);
    };
    const COLORREF redCentre = centre(button);
    EXPECT_LT(wtest::ColorDiff(redCentre, RGB(214, 0, 0)), 60);

    button.Blink(1);
    EXPECT_EQ(button.Picture(), res.imgBlinkButton());
    const COLORREF lit = centre(button);
    // Highlighted means cyan.
    EXPECT_LT(GetRValue(lit), 60);
    EXPECT_GT(GetGValue(lit), 150);
    EXPECT_GT(GetBValue(lit), 150);
    button.Blink(1);
    EXPECT_EQ(button.Picture(), res.imgButtonPix(1));
    EXPECT_EQ(centre(button), redCentre);
    button.Blink(-1);
    button.Blink(-1);
    EXPECT_EQ(button.Picture(), res.imgBlinkButton());
    button.Blink(0);
    EXPECT_EQ(button.Picture(), res.imgButtonPix(1));
    button.Blink(0);
    EXPECT_EQ(button.Picture(), res.imgButtonPix(1));

    // A bad value is reported and keeps the picture.
    button.Blink(-1);
    button.Blink(3);
    ASSERT_EQ(trace.lines.size(), 1u);
    EXPECT_EQ(trace.lines[0], "Assertion Failure:  Bad blnk value = 3");
    EXPECT_EQ(button.Picture(), res.imgBlinkButton());

    // A joystick's two pictures are one: blinking changes nothing on screen.
    const COLORREF ball = centre(joy);
    joy.Blink(1);
    EXPECT_EQ(joy.Picture(), res.imgJoystickPix(4));
    EXPECT_EQ(centre(joy), ball);
    joy.Blink(-1);
    EXPECT_EQ(joy.Picture(), res.imgJoystickPix(4));
}

TEST_F(PanelControl, InputFollowsModeAndShiftedView) {
    auto& w = host.AddWidget(105, "0", 0);
    auto& unwired = host.AddWidget(0, "0", 0);
    host.keysShifted = true;
    g_modeEditor = MODEEDITOR_KeyAssignments;
    EXPECT_EQ(w.swi(), 155);
    EXPECT_EQ(static_cast<ISwi&>(w).swi(), 155);
    EXPECT_EQ(unwired.swi(), 0);
    host.keysShifted = false;
    EXPECT_EQ(w.swi(), 105);
    host.keysShifted = true;
    g_modeEditor = MODEEDITOR_PanelDesigner;
    EXPECT_EQ(w.swi(), 105);
    EXPECT_EQ(w.swiBase(), 105);
    // An invalid base input is reported and stored.
    w.SetSwiBase(150);
    ASSERT_EQ(trace.lines.size(), 1u);
    EXPECT_EQ(trace.lines[0], "Assertion Failure:  Invalid swi value = 150");
    EXPECT_EQ(w.swiBase(), 150);
}

TEST_F(PanelControl, VisibilityOrderAndHostEntry) {
    auto& button = host.AddWidget(105, "0", 0);
    auto& ball = host.AddWidget(0, "6", 0);
    EXPECT_EQ(button.Control(), host.awidgets[button.CtlArrayIndex].get());
    EXPECT_EQ(static_cast<ISwi&>(ball).Control(), &ball);

    ball.SetVisible(false);
    EXPECT_FALSE(ball.Visible());
    EXPECT_FALSE(IsWindowVisible(ball.Hwnd()));
    EXPECT_TRUE(button.Visible());
    EXPECT_TRUE(button.lbl->Visible());
    button.SetVisible(false);
    EXPECT_FALSE(IsWindowVisible(button.Hwnd()));
    EXPECT_FALSE(button.lbl->Visible());
    button.SetVisible(true);
    EXPECT_TRUE(IsWindowVisible(button.Hwnd()));
    EXPECT_TRUE(button.lbl->Visible());

    // Zorder: the label to the front, then the control above it.
    ball.Zorder();
    EXPECT_EQ(GetWindow(host.Hwnd(), GW_CHILD), ball.Hwnd());
    button.Zorder();
    HWND top = GetWindow(host.Hwnd(), GW_CHILD);
    EXPECT_EQ(top, button.Hwnd());
    EXPECT_EQ(GetWindow(top, GW_HWNDNEXT), button.lbl->Hwnd());
}

TEST_F(PanelControl, WholeRectangleIsHit) {
    auto& button = host.AddWidget(105, "0", 0);
    button.Move(1500, 1500);
    std::vector<platform::MouseEvent> downs, ups;
    button.MouseDown = [&](const platform::MouseEvent& e) { downs.push_back(e); };
    button.MouseUp = [&](const platform::MouseEvent& e) { ups.push_back(e); };
    // The top-left corner pixel is transparent in the picture.
    wtest::Pixels all = wtest::Capture(host.Hwnd());
    EXPECT_EQ(all.At(100, 100), wtest::kPanelGrey);
    POINT pt{100, 100};
    HWND hit = ChildWindowFromPointEx(host.Hwnd(), pt, CWP_SKIPINVISIBLE);
    EXPECT_EQ(hit, button.Hwnd());
    HWND image = button.Hwnd();
    POINT screen{100, 100};
    ClientToScreen(host.Hwnd(), &screen);
    EXPECT_EQ(SendMessageA(image, WM_NCHITTEST, 0, MAKELPARAM(screen.x, screen.y)), HTCLIENT);
    SendMessageA(image, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(0, 0));
    SendMessageA(image, WM_LBUTTONUP, 0, MAKELPARAM(22, 23));
    ASSERT_EQ(downs.size(), 1u);
    EXPECT_EQ(downs[0].button, platform::kLeftButton);
    EXPECT_FLOAT_EQ(downs[0].x, 0);
    EXPECT_FLOAT_EQ(downs[0].y, 0);
    ASSERT_EQ(ups.size(), 1u);
    EXPECT_FLOAT_EQ(ups[0].x, 22 * tx);
    EXPECT_FLOAT_EQ(ups[0].y, 23 * ty);
}

TEST_F(PanelControl, DisposeReleasesButLeavesArrowsAlone) {
    auto& joy = host.AddWidget(0, "5", 0);
    auto& up = host.AddWidget(101, "U", 0);
    auto& down = host.AddWidget(102, "D", 0);
    joy.AddArrow(&up);
    joy.AddArrow(&down);
    platform::Label* upLabel = up.lbl;
    up.Dispose();
    EXPECT_EQ(up.CtlArrayIndex, -1);
    EXPECT_EQ(up.lbl, nullptr);
    EXPECT_EQ(up.pixNormal, nullptr);
    EXPECT_EQ(up.pixBlink, nullptr);
    EXPECT_EQ(up.Picture(), nullptr);
    EXPECT_EQ(up.m_widgetJoystick, nullptr);
    EXPECT_TRUE(upLabel->Created());  // the host unloads the label itself

    joy.Dispose();
    EXPECT_EQ(joy.CtlArrayIndex, -1);
    EXPECT_TRUE(joy.m_colArrowWidgets.empty());
    EXPECT_EQ(down.m_widgetJoystick, &joy);  // left alone
    EXPECT_TRUE(trace.lines.empty());

    // When the joystick object goes, nothing keeps pointing at it.
    const std::int16_t j = 1;
    ASSERT_EQ(host.awidgets[j].get(), &joy);
    host.awidgets.erase(j);
    EXPECT_EQ(down.m_widgetJoystick, nullptr);
}

TEST_F(PanelControl, DesignTimeOutline) {
    CplWidget empty;
    empty.Create(&host, &host, 1500, 1500);
    empty.SetWidth(600);
    empty.SetHeight(450);
    empty.SetVisible(true);
    empty.SetDesignMode(true);
    wtest::Pixels all = wtest::Capture(host.Hwnd());
    wtest::Pixels mine = wtest::Crop(all, empty.Hwnd());
    ASSERT_EQ(mine.width, 40);
    ASSERT_EQ(mine.height, 30);
    const COLORREF outline = 0xFF8080;
    // Dotted: some pixels of the top row and of the right-most column carry the colour.
    EXPECT_GT(wtest::CountColor(mine, outline, 0, 0, 40, 1), 8);
    EXPECT_GT(wtest::CountColor(mine, outline, 39, 0, 40, 30), 6);
    EXPECT_GT(wtest::CountColor(mine, outline, 0, 29, 40, 30), 8);
    EXPECT_EQ(wtest::CountColor(mine, outline, 5, 5, 35, 25), 0);
    // At run time the empty control shows the panel only.
    empty.SetDesignMode(false);
    all = wtest::Capture(host.Hwnd());
    mine = wtest::Crop(all, empty.Hwnd());
    EXPECT_EQ(wtest::CountColor(mine, wtest::kPanelGrey, 0, 0, 40, 30), 40 * 30);
}

}  // namespace
