// A window showing every panel-control picture and every option-button state on the
// editor's dark grey, saved as screenshots/controls_pictures.bmp in the build folder
// for a person to look at; the test checks what it can read back.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "PictureTestSupport.h"
#include "controls/CplWidget_Resources.h"
#include "controls/ImageStretched_.h"
#include "controls/VantoOption.h"
#include "controls/VantoOption_Resources.h"

TEST(ControlsScreenshot, EveryPictureAndOptionState) {
    pictest::HostForm host;
    host.Open(0, 0, 760, 470);
    const float tx = platform::TwipsPerPixelX(), ty = platform::TwipsPerPixelY();
    auto& res = CplWidget_Resources.Get();
    std::vector<std::unique_ptr<platform::Image>> images;
    std::vector<std::unique_ptr<platform::Label>> labels;
    auto put = [&](const platform::PicturePtr& pic, int x, int y) {
        auto im = std::make_unique<platform::Image>();
        im->Create(&host, x * tx, y * ty);
        im->SetPicture(pic);
        images.push_back(std::move(im));
    };
    auto title = [&](const std::string& text, int x, int y) {
        auto l = std::make_unique<platform::Label>();
        l->Create(&host, x * tx, y * ty, 0, 0, text);
        l->SetTransparent(true);
        l->SetAutoSize(true);
        l->SetForeColor(RGB(192, 192, 192));
        labels.push_back(std::move(l));
    };

    title("push buttons 0-8, highlight, start buttons P1-P4", 8, 4);
    for (int c = 0; c < 9; ++c) put(res.imgButtonPix(c), 8 + c * 34, 22);
    put(res.imgBlinkButton(), 8 + 9 * 34 + 10, 22);
    for (int n = 1; n <= 4; ++n) put(res.imgStartButtons(n), 8 + 10 * 34 + 20 + (n - 1) * 34, 22);

    title("joysticks 0-8", 8, 54);
    for (int c = 0; c < 9; ++c) put(res.imgJoystickPix(c), 8 + c * 40, 72);

    title("trackballs 0-8", 8, 110);
    for (int c = 0; c < 9; ++c) put(res.imgTrackballPix(c), 8 + c * 68, 128);

    title("misc, coin slot, arrows U R D L (each with its highlight)", 8, 196);
    put(res.imgMisc(), 8, 214);
    put(res.imgMiscBlink(), 78, 214);
    put(res.imgCoinSlot(), 150, 224);
    put(res.imgCoinSlotBlink(), 202, 224);
    for (int d = 0; d < 4; ++d) {
        put(res.imgArrow(d), 262 + d * 24, 228);
        put(res.imgArrowBlink(d), 262 + d * 24, 252);
    }

    // The palette preview size, with a joystick and a push button fitted into it.
    title("fitted at palette size", 400, 196);
    ImageStretched_ fitJoy, fitButton;
    fitJoy.Create(&host, 380 * tx, 214 * ty, 1635, 1365);
    fitJoy.SetPicture(res.imgJoystickPix(2));
    fitJoy.SetBackColor(pictest::kHostGrey);
    fitButton.Create(&host, 500 * tx, 214 * ty, 1635, 1365);
    fitButton.SetPicture(res.imgButtonPix(5));
    fitButton.SetBackColor(pictest::kHostGrey);

    title("option pictures: off, off hover, on, on hover", 8, 316);
    for (int round = 0; round < 2; ++round)
        for (int checked = 0; checked < 2; ++checked)
            for (int hover = 0; hover < 2; ++hover)
                put(VantoOption_Resources->Picture(round, checked, hover),
                    8 + (round * 4 + checked * 2 + hover) * 22, 336);

    // Live option buttons as the main window has them, one of them under the mouse.
    VantoOption::PropertyBag base;
    base.Write("ForeColor", static_cast<std::int32_t>(RGB(192, 192, 192)));
    base.Write("BackColor", static_cast<std::int32_t>(pictest::kHostGrey));
    platform::FontSpec arial;
    arial.name = "Arial";
    base.Write("Font", arial);
    struct Live {
        bool round, checked;
        const char* caption;
    };
    const Live live[] = {{true, true, "View Key Assignments"}, {true, false, "View User Text"},
                         {false, true, "Snap Controls"},       {false, false, "Lock Controls"},
                         {true, false, "Panel View"},          {true, true, "Hovered option"}};
    std::vector<std::unique_ptr<VantoOption>> opts;
    for (int i = 0; i < 6; ++i) {
        VantoOption::PropertyBag bag = base;
        bag.Write("RoundStyle", live[i].round);
        bag.Write("Checked", live[i].checked);
        bag.Write("Caption", std::string(live[i].caption));
        auto o = std::make_unique<VantoOption>();
        o->Create(&host, (8 + (i % 3) * 200) * tx, (366 + (i / 3) * 24) * ty, 2700, 255, bag);
        opts.push_back(std::move(o));
    }
    // Hover the last one for real: the pointer sits on it while the window is captured.
    VantoOption& hovered = *opts[5];
    POINT pt = pictest::ClientToScreenPoint(hovered.CaptionLabel().Hwnd(), 60, 4);
    SetCursorPos(pt.x, pt.y);
    SendMessageA(hovered.CaptionLabel().Hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(60, 4));
    ASSERT_TRUE(hovered.Hover());

    auto shot = pictest::CaptureClient(host.Hwnd());
    // Move the pointer away only after the capture, so a tick cannot end the hover first.
    EXPECT_TRUE(pictest::ParkPointer(host, 750, 460));
    ASSERT_EQ(shot.width, 760);
    // Corner of the first push button shows the host; the red button's centre is red.
    EXPECT_EQ(shot.At(8, 22), pictest::kHostGrey);
    COLORREF redCentre = shot.At(8 + 34 + 11, 22 + 11);
    EXPECT_GT(GetRValue(redCentre), 200);
    EXPECT_LT(GetGValue(redCentre), 20);
    // The highlighted button is cyan.
    COLORREF cyan = shot.At(8 + 9 * 34 + 10 + 11, 22 + 11);
    EXPECT_LE(pictest::ColorDiff(cyan, RGB(0, 202, 214)), 6);

    CreateDirectoryA((pictest::BuildDir() + "\\screenshots").c_str(), nullptr);
    const std::string path = pictest::BuildDir() + "\\screenshots\\controls_pictures.bmp";
    EXPECT_TRUE(pictest::SaveBmp(shot, path)) << path;
    host.Unload();
}
