// The label button on host windows: colours read back from the screen, the hot-button
// rules across two buttons, pressing and clicking through real mouse messages on the
// caption, the caption font rule, and the saved properties.
#include <gtest/gtest.h>

#include "WindowTestSupport.h"
#include "controls/LabelButton_.h"
#include "controls/LabelButton_Helper.h"
#include "platform/Platform.h"

namespace {

using WindowTest::PixelAt;

class HostForm : public platform::Form {
public:
    explicit HostForm(COLORREF back) : m_back(back) {}
    LabelButton_ first, second;
    int firstClicks = 0;

protected:
    void InitializeComponent() override {
        SetBackColor(m_back);
        first.Create(this, 300, 300, 1500, 375, {{"Caption", std::string("First")}});
        second.Create(this, 2100, 300, 1500, 375,
                      {{"Caption", std::string("Second")}, {"NormalColors", false}});
        first.Click = [this] { ++firstClicks; };
    }

private:
    COLORREF m_back;
};

class LabelButtonTest : public ::testing::Test {
protected:
    void SetUp() override {
        LabelButton_Helper::g_btnHot = nullptr;
        form = std::make_unique<HostForm>(platform::kSysButtonFace);
        form->Load();
        form->Move(0, 0, 6000, 2400);
        form->Show();
        platform::DoEvents();
    }
    void TearDown() override {
        form->Unload();
        form.reset();
        LabelButton_Helper::g_btnHot = nullptr;
    }
    static void MouseOverCaption(LabelButton_& b) {
        SendMessageA(b.CaptionLabel().Hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(2, 2));
    }
    // A point of the button's own rectangle away from the caption and the outline.
    static COLORREF Face(const LabelButton_& b) { return PixelAt(b.Hwnd(), 3, 3); }

    std::unique_ptr<HostForm> form;
};

TEST_F(LabelButtonTest, SchemesShowTheirColoursAndAnOutlineOnButtonFaceHosts) {
    EXPECT_EQ(form->first.BackColor(), RGB(192, 192, 192));
    EXPECT_EQ(form->first.ForeColor(), RGB(0, 0, 0));
    EXPECT_EQ(form->second.BackColor(), RGB(128, 128, 128));
    EXPECT_EQ(form->second.ForeColor(), RGB(224, 224, 224));
    EXPECT_EQ(Face(form->first), RGB(192, 192, 192));
    EXPECT_EQ(Face(form->second), RGB(128, 128, 128));
    // The outline: one black pixel at each edge on a button-face host.
    RECT r;
    GetClientRect(form->first.Hwnd(), &r);
    EXPECT_EQ(PixelAt(form->first.Hwnd(), 0, 0), RGB(0, 0, 0));
    EXPECT_EQ(PixelAt(form->first.Hwnd(), r.right - 1, r.bottom - 1), RGB(0, 0, 0));
    EXPECT_EQ(PixelAt(form->first.Hwnd(), 1, 1), RGB(192, 192, 192));

    HostForm dark(RGB(40, 40, 40));
    dark.Load();
    dark.Move(0, 2700, 6000, 2400);
    dark.Show();
    EXPECT_EQ(PixelAt(dark.first.Hwnd(), 0, 0), RGB(192, 192, 192));
    dark.Unload();
}

TEST_F(LabelButtonTest, HighlightMovesFromButtonToButtonAndEndsOverTheHostBackground) {
    MouseOverCaption(form->first);
    EXPECT_EQ(LabelButton_Helper::g_btnHot, &form->first);
    EXPECT_EQ(Face(form->first), RGB(192, 192, 255));
    EXPECT_EQ(form->first.ForeColor(), RGB(0, 0, 0));

    MouseOverCaption(form->second);
    EXPECT_EQ(LabelButton_Helper::g_btnHot, &form->second);
    EXPECT_EQ(Face(form->first), RGB(192, 192, 192));
    EXPECT_EQ(form->first.ForeColor(), RGB(0, 0, 0));
    EXPECT_EQ(Face(form->second), RGB(192, 192, 255));
    EXPECT_EQ(form->second.ForeColor(), RGB(0, 0, 0));

    // The rectangle around the caption does not react.
    SendMessageA(form->first.Hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(3, 3));
    EXPECT_EQ(LabelButton_Helper::g_btnHot, &form->second);

    LabelButton_Helper::SetHotButton(nullptr, RGB(255, 255, 255), RGB(0, 0, 0));
    EXPECT_EQ(LabelButton_Helper::g_btnHot, nullptr);
    EXPECT_EQ(form->second.BackColor(), RGB(128, 128, 128));
    EXPECT_EQ(form->second.ForeColor(), RGB(224, 224, 224));
    // None while none is highlighted changes nothing.
    LabelButton_Helper::SetHotButton(nullptr, RGB(1, 2, 3), RGB(4, 5, 6));
    EXPECT_EQ(form->second.BackColor(), RGB(128, 128, 128));
    EXPECT_EQ(form->first.BackColor(), RGB(192, 192, 192));
}

TEST_F(LabelButtonTest, PressShowsBlueReleaseShowsTheSchemeAndClickEndsTheHighlight) {
    LabelButton_& b = form->first;
    const HWND caption = b.CaptionLabel().Hwnd();
    MouseOverCaption(b);
    SendMessageA(caption, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    EXPECT_EQ(Face(b), RGB(128, 128, 255));
    EXPECT_EQ(form->firstClicks, 0);
    SendMessageA(caption, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
    EXPECT_EQ(form->firstClicks, 1);
    EXPECT_EQ(Face(b), RGB(192, 192, 192));
    EXPECT_EQ(LabelButton_Helper::g_btnHot, nullptr);
    // The highlight comes back with the next movement over the caption.
    MouseOverCaption(b);
    EXPECT_EQ(Face(b), RGB(192, 192, 255));
}

TEST_F(LabelButtonTest, DisabledButtonShowsGreyTextAndIgnoresTheMouse) {
    LabelButton_& b = form->first;
    b.SetEnabled(false);
    EXPECT_EQ(b.ForeColor(), RGB(128, 128, 128));
    EXPECT_EQ(b.BackColor(), RGB(192, 192, 192));
    MouseOverCaption(b);
    SendMessageA(b.CaptionLabel().Hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    SendMessageA(b.CaptionLabel().Hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
    EXPECT_EQ(LabelButton_Helper::g_btnHot, nullptr);
    EXPECT_EQ(form->firstClicks, 0);
    EXPECT_EQ(Face(b), RGB(192, 192, 192));
    form->second.SetEnabled(false);
    EXPECT_EQ(form->second.ForeColor(), RGB(64, 64, 64));
}

TEST_F(LabelButtonTest, ButtonDisabledWhileHighlightedComesBackDisabled) {
    LabelButton_& b = form->first;
    MouseOverCaption(b);
    b.SetEnabled(false);
    LabelButton_Helper::SetHotButton(nullptr, RGB(255, 255, 255), RGB(0, 0, 0));
    EXPECT_EQ(b.ForeColor(), RGB(128, 128, 128));
    EXPECT_EQ(b.BackColor(), RGB(192, 192, 192));
}

TEST_F(LabelButtonTest, WideCaptionSwitchesToSevenPointsForGoodAndStaysCentred) {
    LabelButton_& b = form->first;
    EXPECT_FLOAT_EQ(b.CaptionLabel().Font().size, 8.25f);
    EXPECT_EQ(b.CaptionLabel().Font().name, "Arial");
    b.SetCaption("A caption far wider than this little button is");
    EXPECT_FLOAT_EQ(b.CaptionLabel().Font().size, 7.0f);
    b.SetCaption("OK");
    EXPECT_FLOAT_EQ(b.CaptionLabel().Font().size, 7.0f);
    const platform::Label& c = b.CaptionLabel();
    const float tpp = platform::TwipsPerPixelX();
    EXPECT_NEAR(c.Left(), (b.ScaleWidth() - c.Width()) / 2, tpp);
    EXPECT_NEAR(c.Top(), (b.ScaleHeight() - c.Height()) / 2, platform::TwipsPerPixelY());
    EXPECT_EQ(b.Caption(), "OK");
    // The caption is the button's window text too, for automation.
    char text[16] = {};
    GetWindowTextA(b.Hwnd(), text, sizeof text);
    EXPECT_STREQ(text, "OK");
}

TEST_F(LabelButtonTest, SavedPropertiesKeepOnlyWhatDiffersFromTheDefaults) {
    LabelButton_::PropertyBag bag;
    form->first.WriteProperties(bag);
    ASSERT_EQ(bag.size(), 2u);
    EXPECT_EQ(std::get<std::string>(bag.at("_Version")), "1.0");
    EXPECT_EQ(std::get<std::string>(bag.at("Caption")), "First");

    bag.clear();
    form->second.SetEnabled(false);
    form->second.SetCaption("");
    form->second.WriteProperties(bag);
    EXPECT_EQ(bag.count("Caption"), 0u);
    EXPECT_EQ(std::get<bool>(bag.at("Enabled")), false);
    EXPECT_EQ(std::get<bool>(bag.at("NormalColors")), false);

    // Reading: missing values take their defaults.
    form->second.ReadProperties({});
    EXPECT_TRUE(form->second.Enabled());
    EXPECT_TRUE(form->second.NormalColors());
    EXPECT_EQ(form->second.BackColor(), RGB(192, 192, 192));
    EXPECT_EQ(form->second.Caption(), "");
}

}  // namespace
