// The option button: its eight state pictures, click rules of both styles, the hover
// look and the timer that ends it, layout and saved properties.
#include <gtest/gtest.h>

#include <memory>

#include <cmath>

#include "PictureTestSupport.h"
#include "controls/ControlArt.h"
#include "controls/VantoOption.h"
#include "controls/VantoOption_Resources.h"

using pictest::ReadBitmap;

namespace {

class VantoOptionTest : public ::testing::Test {
protected:
    // One host for the suite: hiding a top-level window costs seconds under Wine on a
    // bare X server; the controls of each test go with the test.
    static void SetUpTestSuite() {
        s_hostForm = std::make_unique<pictest::HostForm>();
        s_hostForm->Open(40, 40, 400, 200);
    }
    static void TearDownTestSuite() {
        s_hostForm->Unload();
        s_hostForm.reset();
    }
    // Keeps the pointer away from the controls unless a test moves it there.
    void SetUp() override { ASSERT_TRUE(ParkPointer()); }
    bool ParkPointer() { return pictest::ParkPointer(host, 390, 190); }

    // As the main window's controls are saved: light grey on black, Arial 8.25, 255 twips high.
    VantoOption::PropertyBag MainWindowBag(bool round, bool checked, const std::string& caption) {
        VantoOption::PropertyBag bag;
        bag.Write("_Version", std::string("1.0"));
        if (round) bag.Write("RoundStyle", true);
        if (checked) bag.Write("Checked", true);
        bag.Write("Caption", caption);
        bag.Write("ForeColor", static_cast<std::int32_t>(RGB(192, 192, 192)));
        bag.Write("BackColor", static_cast<std::int32_t>(0));
        platform::FontSpec arial;
        arial.name = "Arial";
        arial.size = 8.25f;
        bag.Write("Font", arial);
        return bag;
    }
    void Place(VantoOption& opt, bool round, bool checked, float top = 300) {
        opt.Create(&host, 300, top, 2400, 255, MainWindowBag(round, checked, round ? "Table View" : "Snap Controls"));
        clicks = 0;
        opt.Click = [this] { ++clicks; };
    }
    static const platform::PicturePtr& Pic(bool round, bool checked, bool hover) {
        return VantoOption_Resources->Picture(round, checked, hover);
    }

    static inline std::unique_ptr<pictest::HostForm> s_hostForm;
    pictest::HostForm& host = *s_hostForm;
    int clicks = 0;
};

}  // namespace

TEST_F(VantoOptionTest, StatePicturesLookTheirPart) {
    using ControlArt::Rgb;
    auto rgb = [](Rgb c) { return RGB(c.r, c.g, c.b); };
    for (int round = 0; round < 2; ++round)
        for (int checked = 0; checked < 2; ++checked)
            for (int hover = 0; hover < 2; ++hover) {
                const platform::PicturePtr& p = Pic(round, checked, hover);
                ASSERT_TRUE(p && p->Handle());
                EXPECT_EQ(p->PixelWidth(), 12);
                EXPECT_EQ(p->PixelHeight(), 12);
                EXPECT_FALSE(p->Transparent());
                auto px = ReadBitmap(p->Handle());
                const COLORREF field = rgb(hover ? (round ? ControlArt::kOptionHoverField : ControlArt::kCheckHoverField)
                                                 : ControlArt::kOptionField);
                const COLORREF mark = rgb(hover ? ControlArt::kOptionHoverMark : ControlArt::kOptionMark);
                if (round) {
                    EXPECT_EQ(px.At(0, 0), RGB(0, 0, 0));    // black corners
                    EXPECT_EQ(px.At(11, 11), RGB(0, 0, 0));
                    EXPECT_EQ(px.At(6, 2), field);           // inside the circle, off the dot
                    EXPECT_EQ(px.At(5, 5), checked ? mark : field);
                    EXPECT_EQ(px.At(6, 6), checked ? mark : field);
                } else {
                    EXPECT_EQ(px.At(5, 0), rgb(ControlArt::kBevelDark));   // top
                    EXPECT_EQ(px.At(0, 5), rgb(ControlArt::kBevelDark));   // left
                    EXPECT_EQ(px.At(5, 11), rgb(ControlArt::kBevelLight)); // bottom
                    EXPECT_EQ(px.At(11, 5), rgb(ControlArt::kBevelLight)); // right
                    EXPECT_EQ(px.At(5, 2), field);                         // off the cross
                    EXPECT_EQ(px.At(3, 3), checked ? mark : field);        // on one diagonal
                    EXPECT_EQ(px.At(8, 3), checked ? mark : field);        // on the other
                }
            }
}

TEST_F(VantoOptionTest, CheckBoxTogglesOnEveryClick) {
    VantoOption opt;
    Place(opt, false, false);
    HWND label = opt.CaptionLabel().Hwnd();
    pictest::ClickAt(label, 2, 2);
    EXPECT_TRUE(opt.Checked());
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(opt.CheckImage().Picture(), Pic(false, true, false));
    pictest::ClickAt(opt.CheckImage().Hwnd(), 3, 3);
    EXPECT_FALSE(opt.Checked());
    EXPECT_EQ(clicks, 2);
    // On the control's own background (right of the caption).
    pictest::ClickAt(opt.Hwnd(), 14, 8);  // between picture and caption
    EXPECT_TRUE(opt.Checked());
    EXPECT_EQ(clicks, 3);
}

TEST_F(VantoOptionTest, CheckedRoundOptionIgnoresClicks) {
    VantoOption on, off;
    Place(on, true, true, 300);
    int onClicks = 0;
    on.Click = [&] { ++onClicks; };
    Place(off, true, false, 700);
    pictest::ClickAt(on.CaptionLabel().Hwnd(), 2, 2);
    pictest::ClickAt(on.CheckImage().Hwnd(), 2, 2);
    pictest::ClickAt(on.Hwnd(), 14, 8);
    EXPECT_TRUE(on.Checked());
    EXPECT_EQ(onClicks, 0);
    EXPECT_EQ(on.CheckImage().Picture(), Pic(true, true, false));
    pictest::ClickAt(off.CaptionLabel().Hwnd(), 2, 2);
    EXPECT_TRUE(off.Checked());
    EXPECT_EQ(clicks, 1);
    pictest::ClickAt(off.CaptionLabel().Hwnd(), 2, 2);  // now checked: ignored
    EXPECT_EQ(clicks, 1);
}

TEST_F(VantoOptionTest, SettingCheckedRedrawsWithoutClick) {
    VantoOption opt;
    Place(opt, true, false);
    opt.SetChecked(true);
    EXPECT_EQ(opt.CheckImage().Picture(), Pic(true, true, false));
    opt.SetChecked(true);
    opt.SetChecked(false);
    EXPECT_EQ(opt.CheckImage().Picture(), Pic(true, false, false));
    opt.SetRoundStyle(false);
    EXPECT_EQ(opt.CheckImage().Picture(), Pic(false, false, false));
    EXPECT_EQ(clicks, 0);
}

TEST_F(VantoOptionTest, PressWithoutReleaseOverTheControlIsNoClick) {
    VantoOption opt;
    Place(opt, false, false);
    SendMessageA(opt.Hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(14, 8));
    SendMessageA(opt.Hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(-5, 2));  // released outside
    EXPECT_FALSE(opt.Checked());
    SendMessageA(opt.Hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(14, 8));  // release without press
    EXPECT_FALSE(opt.Checked());
    EXPECT_EQ(clicks, 0);
}

TEST_F(VantoOptionTest, HoverLookEndsWhenThePointerLeaves) {
    VantoOption opt;
    Place(opt, false, true);
    const COLORREF grey = RGB(192, 192, 192);
    EXPECT_EQ(opt.ForeColor(), grey);
    HWND label = opt.CaptionLabel().Hwnd();
    POINT inside = pictest::ClientToScreenPoint(label, 3, 3);
    SetCursorPos(inside.x, inside.y);
    SendMessageA(label, WM_MOUSEMOVE, 0, MAKELPARAM(3, 3));
    ASSERT_TRUE(opt.Hover());
    EXPECT_EQ(opt.ForeColor(), RGB(255, 255, 255));
    EXPECT_EQ(opt.CheckImage().Picture(), Pic(false, true, true));
    EXPECT_TRUE(opt.MouseOverTimerRunning());

    // While the pointer stays over the control, the timer's ticks keep the hover.
    pictest::PumpFor(3 * VantoOption::kMouseOverInterval + 50);
    EXPECT_TRUE(opt.Hover());

    // Changing the caption colour while hovered shows it at once ...
    opt.SetForeColor(RGB(10, 200, 10));
    EXPECT_EQ(opt.ForeColor(), RGB(10, 200, 10));
    // ... and the next picture update while still hovered turns it white again.
    opt.SetChecked(false);
    EXPECT_EQ(opt.ForeColor(), RGB(255, 255, 255));
    EXPECT_EQ(opt.CheckImage().Picture(), Pic(false, false, true));

    // Leaving: no further mouse event reaches the control; the next tick restores it.
    const DWORD left = GetTickCount();
    ASSERT_TRUE(ParkPointer());
    ASSERT_TRUE(pictest::WaitFor([&] { return !opt.Hover(); }, 2000));
    EXPECT_LT(GetTickCount() - left, 1000u);
    EXPECT_EQ(opt.ForeColor(), RGB(10, 200, 10));
    EXPECT_EQ(opt.CheckImage().Picture(), Pic(false, false, false));
    EXPECT_FALSE(opt.MouseOverTimerRunning());
}

TEST_F(VantoOptionTest, FirstTickEndsAHoverThatNeverBegan) {
    VantoOption opt;
    Place(opt, true, false);
    EXPECT_TRUE(opt.MouseOverTimerRunning());
    EXPECT_TRUE(pictest::WaitFor([&] { return !opt.MouseOverTimerRunning(); }, 2000));
    EXPECT_FALSE(opt.Hover());
    EXPECT_EQ(opt.CheckImage().Picture(), Pic(true, false, false));
}

TEST_F(VantoOptionTest, DesignModeIgnoresHoverAndClick) {
    VantoOption opt;
    Place(opt, false, false);
    opt.SetDesignMode(true);
    POINT inside = pictest::ClientToScreenPoint(opt.CaptionLabel().Hwnd(), 3, 3);
    SetCursorPos(inside.x, inside.y);
    SendMessageA(opt.CaptionLabel().Hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(3, 3));
    EXPECT_FALSE(opt.Hover());
    pictest::ClickAt(opt.CaptionLabel().Hwnd(), 2, 2);
    pictest::ClickAt(opt.Hwnd(), 14, 8);
    EXPECT_FALSE(opt.Checked());
    EXPECT_EQ(clicks, 0);
    EXPECT_TRUE(ParkPointer());
}

TEST_F(VantoOptionTest, LayoutPlacesPictureAndCaption) {
    VantoOption opt;
    Place(opt, false, false);
    const float px = platform::TwipsPerPixelX(), py = platform::TwipsPerPixelY();
    const float h = opt.ScaleHeight();
    EXPECT_EQ(opt.CheckImage().Left(), 0);
    EXPECT_EQ(opt.CheckImage().Width(), 12 * px);
    EXPECT_EQ(opt.CheckImage().Height(), 12 * py);
    EXPECT_EQ(platform::ToPixelsY(opt.CheckImage().Top()), platform::ToPixelsY((h - 12 * py) / 2));
    const platform::Label& cap = opt.CaptionLabel();
    EXPECT_EQ(cap.Left(), 12 * px + 4 * px);
    EXPECT_EQ(platform::ToPixelsY(cap.Top()), platform::ToPixelsY(std::floor((h - cap.Height()) / 2 + py)));
    EXPECT_EQ(cap.Width(), opt.ScaleWidth() - cap.Left());
    EXPECT_TRUE(cap.Transparent());
    EXPECT_EQ(cap.Font().name, "Arial");
    EXPECT_EQ(opt.Caption(), "Snap Controls");
    EXPECT_EQ(platform::Window::FromHwnd(opt.Hwnd())->Caption(), "Snap Controls");  // window text

    // Narrower than picture and gap: the caption gets no width rather than a negative one.
    opt.SetWidth(10 * px);
    EXPECT_EQ(cap.Width(), 0);
}

TEST_F(VantoOptionTest, SavedPropertiesRoundTripWithDefaults) {
    VantoOption opt;
    Place(opt, true, true);
    EXPECT_TRUE(opt.RoundStyle());
    EXPECT_TRUE(opt.Checked());
    EXPECT_EQ(opt.BackColor(), RGB(0, 0, 0));
    VantoOption::PropertyBag out;
    opt.WriteProperties(out);
    std::vector<std::string> names;
    for (auto& it : out.items) names.push_back(it.first);
    EXPECT_EQ(names, (std::vector<std::string>{"_Version", "RoundStyle", "Checked", "Caption", "ForeColor",
                                               "BackColor", "Font"}));
    EXPECT_EQ(std::get<std::string>(*out.Find("_Version")), "1.0");
    EXPECT_EQ(std::get<std::string>(*out.Find("Caption")), "Table View");
    EXPECT_EQ(std::get<std::int32_t>(*out.Find("ForeColor")), static_cast<std::int32_t>(RGB(192, 192, 192)));

    // Nothing saved: everything at its default, and only the version is written back.
    VantoOption bare;
    bare.Create(&host, 300, 800, 2400, 255, {});
    EXPECT_FALSE(bare.RoundStyle());
    EXPECT_FALSE(bare.Checked());
    EXPECT_EQ(bare.Caption(), "");
    EXPECT_EQ(bare.ForeColor(), platform::kSysButtonText);
    EXPECT_EQ(bare.BackColor(), platform::kSysButtonFace);
    VantoOption::PropertyBag bareOut;
    bare.WriteProperties(bareOut);
    ASSERT_EQ(bareOut.items.size(), 1u);
    EXPECT_EQ(bareOut.items[0].first, "_Version");

    // A new instance from a designer: unchecked check box named after itself, black caption.
    VantoOption fresh;
    fresh.CreateNew(&host, 300, 1200, 2400, 255, "VantoOption1");
    EXPECT_EQ(fresh.Caption(), "VantoOption1");
    EXPECT_FALSE(fresh.Checked());
    EXPECT_FALSE(fresh.RoundStyle());
    EXPECT_EQ(fresh.ForeColor(), RGB(0, 0, 0));
}

TEST_F(VantoOptionTest, InstancesShareThePictures) {
    VantoOption a, b;
    Place(a, false, true, 300);
    Place(b, false, true, 700);
    EXPECT_EQ(a.CheckImage().Picture(), b.CheckImage().Picture());
    EXPECT_EQ(a.CheckImage().Picture()->Handle(), VantoOption_Resources->imgCheckOn()->Handle());
}

TEST_F(VantoOptionTest, DrawnOnItsBackgroundWithTheStatePicture) {
    VantoOption opt;
    Place(opt, true, true, 300);
    auto at = [&](const platform::Window& w, int x, int y) {
        POINT pt{x, y};
        MapWindowPoints(w.Hwnd(), host.Hwnd(), &pt, 1);
        return pictest::CaptureClient(host.Hwnd()).At(pt.x, pt.y);
    };
    // The picture as drawn: the white dot of a checked option.
    EXPECT_EQ(at(opt.CheckImage(), 6, 6), RGB(255, 255, 255));
    // The caption's ground (its top-left pixel, above the letters) is the control's background.
    EXPECT_EQ(at(opt.CaptionLabel(), 0, 0), RGB(0, 0, 0));
    opt.SetBackColor(RGB(0, 0, 128));
    EXPECT_EQ(at(opt.CaptionLabel(), 0, 0), RGB(0, 0, 128));
    EXPECT_EQ(at(opt, 14, 1), RGB(0, 0, 128));  // between picture and caption
}
