// The rules of the macro window, the key test window and the about box.
#include <gtest/gtest.h>

#include <array>
#include <set>
#include <string>
#include <vector>

#include "core/Error_.h"
#include "core/Globals.h"
#include "core/Host.h"
#include "editor/AboutTexts.h"
#include "editor/KeyTestText.h"
#include "editor/MacroSlots.h"

namespace {

class QuietHost : public IHost {
public:
    void TraceLine(const std::string& line) override { lines.push_back(line); }
    std::vector<std::string> lines;
};

class SmallWindowsTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetHost(&host);
        g_fDebugGui = false;
    }
    void TearDown() override {
        KeyTables::SetKeyboardDevice(nullptr);
        SetHost(nullptr);
    }
    QuietHost host;
};

// ---- macro window ----

TEST(MacroLayout, BlocksColumnsAndColoursFollowTheSlotIndex) {
    EXPECT_EQ(MacroSlots::SlotIndex(1, 1), 0);
    EXPECT_EQ(MacroSlots::SlotIndex(2, 2), 5);
    EXPECT_EQ(MacroSlots::SlotIndex(4, 4), 15);
    struct Row {
        int slot;
        float left, top, width;
    };
    for (const Row& r : {Row{0, 60, 345, 825}, Row{5, 870, 840, 810}, Row{10, 1665, 1350, 825},
                         Row{15, 2475, 1860, 825}}) {
        const MacroSlots::Rect s = MacroSlots::SlotRect(r.slot);
        EXPECT_EQ(s.left, r.left) << r.slot;
        EXPECT_EQ(s.top, r.top) << r.slot;
        EXPECT_EQ(s.width, r.width) << r.slot;
        EXPECT_EQ(s.height, 180) << r.slot;
    }
    EXPECT_EQ(MacroSlots::HeadRect(3, 2).top, 1200);
    EXPECT_EQ(MacroSlots::HeadRect(3, 2).left, 870);
    EXPECT_EQ(MacroSlots::TitleRect(4).top, 1560);
    EXPECT_EQ(MacroSlots::TitleText(3), "MACRO 3");
    EXPECT_EQ(MacroSlots::HeadText(1), "1ST KEY");
    EXPECT_EQ(MacroSlots::HeadText(4), "4TH KEY");
    // (red, green, blue) as the colours are given, stored blue-high.
    EXPECT_EQ(MacroSlots::TitleBack(1), 0xFF0000u);
    EXPECT_EQ(MacroSlots::TitleBack(4), 0x0000E0u);
    EXPECT_EQ(MacroSlots::HeadBack(2), 0x80FF80u);
    EXPECT_EQ(MacroSlots::HeadBack(4), 0x8080FFu);
}

TEST(MacroLayout, TheMenuAssignsTheSpecialKeys) {
    std::vector<int> keys;
    for (const auto& e : MacroSlots::kMenu) keys.push_back(e.key);
    EXPECT_EQ(keys, (std::vector<int>{126, 128, 129, 130, 131, 0}));
    EXPECT_STREQ(MacroSlots::kMenu[0].caption, "Left Windows");
    EXPECT_STREQ(MacroSlots::kMenu[5].caption, "None");
}

class MacroModelTest : public SmallWindowsTest {
protected:
    void SetUp() override {
        SmallWindowsTest::SetUp();
        for (std::size_t i = 0; i < keys.size(); ++i) keys[i] = static_cast<std::uint8_t>(31 + i);
        keys[7] = 0;
        model.Load();
    }
    std::array<std::uint8_t, 16> keys{};
    MacroSlots::SlotModel model{keys};
};

TEST_F(MacroModelTest, LoadNamesEveryStoredKey) {
    EXPECT_EQ(model.Text(0), "A");
    EXPECT_EQ(model.Text(7), "(none)");
    EXPECT_EQ(model.Waiting(), -1);
    for (int i = 0; i < 16; ++i) EXPECT_EQ(model.Back(i), MacroSlots::kIdleBack);
}

TEST_F(MacroModelTest, PressesAndKeysFollowTheWaitingRules) {
    // Left press, key: the key is named and stored.
    ASSERT_TRUE(model.Press(5, false));
    EXPECT_EQ(model.Text(5), "PRESS KEY");
    EXPECT_EQ(model.Back(5), MacroSlots::kWaitingBack);
    model.Assign(31);
    EXPECT_EQ(model.Text(5), "A");
    EXPECT_EQ(model.Back(5), MacroSlots::kIdleBack);
    EXPECT_EQ(keys[5], 31);
    EXPECT_EQ(model.Waiting(), -1);

    // A left press while another slot waits does nothing.
    ASSERT_TRUE(model.Press(1, false));
    EXPECT_FALSE(model.Press(2, false));
    EXPECT_EQ(model.Waiting(), 1);
    EXPECT_EQ(model.Text(2), "D");
    EXPECT_EQ(model.Back(2), MacroSlots::kIdleBack);

    // A right press takes the waiting over; the slot left behind keeps its text.
    ASSERT_TRUE(model.Press(3, true));
    EXPECT_EQ(model.Waiting(), 3);
    EXPECT_EQ(model.Back(1), MacroSlots::kIdleBack);
    EXPECT_EQ(model.Text(1), "PRESS KEY");
    EXPECT_EQ(model.Back(3), MacroSlots::kWaitingBack);
    model.Assign(129);  // Power from the menu
    EXPECT_EQ(keys[3], 129);
    EXPECT_EQ(model.Text(3), "POWER");
    EXPECT_EQ(keys[1], 32);  // untouched

    // A key while no slot waits changes nothing.
    const auto before = keys;
    model.Assign(44);
    EXPECT_EQ(keys, before);
    EXPECT_FALSE(model.Press(16, true));
    EXPECT_FALSE(model.Press(-1, true));
}

// ---- key test window ----

TEST(KeyTestTexts, NameBoxAndCentring) {
    const KeyTestText::Display none = KeyTestText::ForName("");
    EXPECT_EQ(none.pressedText, "(No key pressed)");
    EXPECT_EQ(none.keyText, "");
    EXPECT_FALSE(none.fBorder);
    EXPECT_EQ(none.fore, KeyTestText::kSysGrayText);
    EXPECT_EQ(none.back, KeyTestText::kSysButtonFace);
    const KeyTestText::Display a = KeyTestText::ForName("A");
    EXPECT_EQ(a.pressedText, "   A   ");
    EXPECT_EQ(a.keyText, "KEY: ");
    EXPECT_TRUE(a.fBorder);
    EXPECT_EQ(a.back, KeyTestText::kSys3DHighlight);
    EXPECT_EQ(KeyTestText::PairLeft(3750, 600, 1200), 975);
    EXPECT_EQ(std::string(KeyTestText::kInstructions).find(".    ("), 46u);
}

class FakeKeyboard : public KeyTables::IKeyboardDevice {
public:
    bool Create(KeyTables::KeyboardSetupError&) override { return true; }
    void GetState(std::array<std::uint8_t, 256>& state) override {
        if (failRead) throw Error_::RuntimeError(5, "Input lost");
        state.fill(0);
        for (int dik : down) state[static_cast<std::size_t>(dik)] = 0x80;
    }
    std::set<int> down;
    bool failRead = false;
};

TEST_F(SmallWindowsTest, PressedKeysAreSidedAndSurviveAnUnreadableKeyboard) {
    FakeKeyboard keyboard;
    KeyTables::SetKeyboardDevice(&keyboard);
    struct Case {
        int vk, dik;
        const char* name;
    };
    for (const Case& c : {Case{16, 42, "L.SHIFT"}, Case{16, 54, "R.SHIFT"}, Case{17, 29, "L.CTRL"},
                          Case{17, 157, "R.CTRL"}, Case{18, 56, "L.ALT"}, Case{18, 184, "R.ALT"},
                          Case{13, 28, "ENTER"}, Case{13, 156, "NUM ENTER"}, Case{65, 0, "A"}}) {
        keyboard.down = {c.dik};
        EXPECT_EQ(KeyTables::GetNameOfIbmKey(KeyTestText::PressedKey(c.vk)), c.name) << c.vk << "/" << c.dik;
    }
    keyboard.failRead = true;
    EXPECT_EQ(KeyTestText::PressedKey(16), 44);  // the key still counts, as the left one
    EXPECT_EQ(KeyTestText::PressedKey(65), 31);
}

// ---- about box ----

TEST(AboutBoxTexts, VersionTitleAndDescription) {
    EXPECT_EQ(AboutTexts::VersionText({1, 2, 0, 138}), "Version 1.2.138");
    EXPECT_EQ(AboutTexts::VersionText({10, 0, 7, 5}), "Version 10.0.5");
    EXPECT_EQ(AboutTexts::VersionText(AboutTexts::kProgramVersion), "Version 1.2.138");
    EXPECT_EQ(AboutTexts::TitleText(), "Keyloom by www.keyloom.example");
    const std::string d = AboutTexts::DescriptionText();
    EXPECT_EQ(d.rfind("Utility to assign keycodes to buttons for use with the Brackwell Quorba/2, ", 0), 0u);
    EXPECT_NE(d.find("Quorbette, or Caddow.\r\n\r\nCopyright"), std::string::npos);
    const std::string w = AboutTexts::kDisclaimer;
    EXPECT_EQ(w.substr(w.size() - 11), "treaties.  ");
}

}  // namespace
