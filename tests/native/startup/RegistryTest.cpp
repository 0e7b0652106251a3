// Window settings: the stored values, and where a window goes at start.
#include <gtest/gtest.h>

#include <map>
#include <vector>

#include "StartupFakes.h"
#include "core/Globals.h"
#include "core/Registry_.h"

using namespace startup_test;

namespace {

class MapStore : public Registry_::ISettingsStore {
public:
    std::map<std::string, std::string> values;  // "app|section|key"
    bool Get(const std::string& a, const std::string& s, const std::string& k, std::string& v) override {
        auto it = values.find(a + "|" + s + "|" + k);
        if (it == values.end()) return false;
        v = it->second;
        return true;
    }
    void Save(const std::string& a, const std::string& s, const std::string& k, const std::string& v) override {
        values[a + "|" + s + "|" + k] = v;
    }
};

class FakeScreen : public Registry_::IScreen {
public:
    Registry_::IWindowPlacement* active = nullptr;
    std::vector<Registry_::ScreenRect> monitors;  // none: the screen alone
    float Width() override { return 15000; }
    float Height() override { return 12000; }
    Registry_::IWindowPlacement* ActiveForm() override { return active; }
    std::string AppTitle() override { return "TitleOfApp"; }
    std::vector<Registry_::ScreenRect> Monitors() override {
        return monitors.empty() ? IScreen::Monitors() : monitors;
    }
};

class RegistryTest : public ::testing::Test {
protected:
    MapStore store;
    FakeScreen screen;
    RecordingHost host;
    std::vector<std::string> log;
    RecordedPlacement frm{"frm", log};

    void SetUp() override {
        g_fDebugGui = false;
        SetHost(&host);
        Registry_::SetSettingsStore(&store);
        Registry_::SetScreen(&screen);
        Registry_::Initialize("Default", "Keyloom");
        frm.w = 9000;
        frm.h = 6000;
    }
    void TearDown() override {
        Registry_::SetSettingsStore(nullptr);
        Registry_::SetScreen(nullptr);
        SetHost(nullptr);
    }
    void Saved(float l, float t, float w, float h) {
        Registry_::SaveSingle("MainWindowLeft", l);
        Registry_::SaveSingle("MainWindowTop", t);
        Registry_::SaveSingle("MainWindowWidth", w);
        Registry_::SaveSingle("MainWindowHeight", h);
    }
};

TEST_F(RegistryTest, SinglesAreStoredAsTextUnderAppSectionAndKey) {
    Registry_::SaveSingle("MainWindowLeft", 1500);
    Registry_::SaveSingle("X", -12.5f, "Other");
    EXPECT_EQ(store.values.at("Keyloom|Default|MainWindowLeft"), "1500");
    EXPECT_EQ(store.values.at("Keyloom|Other|X"), "-12.5");
    EXPECT_FLOAT_EQ(Registry_::GetSingle("MainWindowLeft", 0), 1500);
    EXPECT_FLOAT_EQ(Registry_::GetSingle("X", 0, "Other"), -12.5f);
    EXPECT_FLOAT_EQ(Registry_::GetSingle("Missing", 7), 7);
    EXPECT_EQ(Registry_::GetString("Missing", "dflt"), "dflt");
    // Every float comes back exactly.
    Registry_::SaveSingle("Y", 1234.5678f);
    EXPECT_EQ(Registry_::GetSingle("Y", 0), 1234.5678f);
}

TEST_F(RegistryTest, StoredTextThatIsNotANumberCountsAsMissing) {
    store.values["Keyloom|Default|W"] = "wide";
    store.values["Keyloom|Default|V"] = "  2500 ";
    store.values["Keyloom|Default|D"] = "----";
    EXPECT_FLOAT_EQ(Registry_::GetSingle("W", 3), 3);
    EXPECT_FLOAT_EQ(Registry_::GetSingle("V", 3), 2500);
    EXPECT_FLOAT_EQ(Registry_::GetSingle("D", 3), 3);
}

TEST_F(RegistryTest, InitializeTrimsAndFallsBackToTheTitle) {
    Registry_::Initialize("  Sec  ", "   ");
    EXPECT_EQ(Registry_::AppName(), "TitleOfApp");
    EXPECT_EQ(Registry_::ResolveSection(Registry_::kDefaultSection), "Sec");
    EXPECT_EQ(Registry_::ResolveSection("Other"), "Other");
    EXPECT_TRUE(host.traces.empty());
}

TEST_F(RegistryTest, EmptyDefaultSectionIsReportedAndDefaultIsUsed) {
    Registry_::Initialize("  ", "Keyloom");
    ASSERT_EQ(host.traces.size(), 1u);
    EXPECT_EQ(host.traces[0],
              "Assertion Failure:  Registry_.Initialize() cannot be called with an empty string! (sSectionDefault='  ')");
    EXPECT_EQ(Registry_::ResolveSection(Registry_::kDefaultSection), "Default");
    EXPECT_EQ(host.traces.back(), "Assertion Failure:  Registry_.Initialize() was not called!");
}

TEST_F(RegistryTest, PlausibleSavedPositionMovesTheWindowAndKeepsItsSize) {
    Saved(300, 450, 6000, 4000);
    EXPECT_TRUE(Registry_::RestoreWindowPosition("MainWindow", frm, true));
    EXPECT_FLOAT_EQ(frm.l, 300);
    EXPECT_FLOAT_EQ(frm.t, 450);
    EXPECT_FLOAT_EQ(frm.w, 9000);
    EXPECT_TRUE(Registry_::RestoreWindowPosition("MainWindow", frm, false));
    EXPECT_FLOAT_EQ(frm.w, 6000);
    EXPECT_FLOAT_EQ(frm.h, 4000);
}

TEST_F(RegistryTest, ImplausibleValuesCentreTheWindowOnTheScreen) {
    for (auto bad : {std::array<float, 2>{1999, 4000}, {4000, 1999}, {15000, 4000}, {4000, 12000}}) {
        Saved(300, 450, bad[0], bad[1]);
        frm.w = 9000;
        frm.h = 6000;
        EXPECT_FALSE(Registry_::RestoreWindowPosition("MainWindow", frm, true));
        EXPECT_FLOAT_EQ(frm.l, 15000.0f / 2 - 9000.0f / 2);
        EXPECT_FLOAT_EQ(frm.t, 12000.0f / 3 - 6000.0f / 3);
        EXPECT_FLOAT_EQ(frm.w, 9000);
    }
    // Exactly 2000 is enough.
    Saved(300, 450, 2000, 2000);
    EXPECT_TRUE(Registry_::RestoreWindowPosition("MainWindow", frm, true));
}

// The window (9000 twips wide) keeps its size; the default grip is 450 twips (30 pixels)
// of a 345-twip bar, at least half of its height. The primary screen is 15000 x 12000.
TEST_F(RegistryTest, ASavedPositionCountsOnlyWhereTheTitleBarCanBeTaken) {
    const Registry_::ScreenRect primary{0, 0, 15000, 12000};
    const Registry_::ScreenRect leftOfIt{-19200, 1500, 0, 13500}, aboveIt{0, -12000, 15000, 0};
    const Registry_::ScreenRect smallRightOfIt{15000, 0, 25000, 6000};
    const struct {
        const char* what;
        std::vector<Registry_::ScreenRect> monitors;
        float left, top;
        bool used;
    } cases[] = {
        {"on the primary", {primary}, 300, 450, true},
        {"saved on a larger screen", {primary}, 40000, 20000, false},
        {"30 pixels left at the right edge", {primary}, 15000 - 450, 450, true},
        {"29 pixels left at the right edge", {primary}, 15000 - 435, 450, false},
        {"30 pixels left at the left edge", {primary}, -9000 + 450, 450, true},
        {"29 pixels left at the left edge", {primary}, -9000 + 435, 450, false},
        {"half the bar above the top", {primary}, 300, -172.5f, true},
        {"more than half above the top", {primary}, 300, -180, false},
        {"half the bar at the bottom", {primary}, 300, 12000 - 172.5f, true},
        {"less than half at the bottom", {primary}, 300, 12000 - 165, false},
        {"on a monitor left of the primary", {primary, leftOfIt}, -15000, 13000, true},
        {"that monitor unplugged", {primary}, -15000, 13000, false},
        {"on a monitor above the primary", {aboveIt, primary}, 3000, -6000, true},
        {"below a smaller monitor beside the primary", {primary, smallRightOfIt}, 16000, 8000, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        screen.monitors = c.monitors;
        Saved(c.left, c.top, 6000, 4000);
        frm.l = frm.t = -1;
        EXPECT_EQ(Registry_::RestoreWindowPosition("MainWindow", frm, true), c.used);
        EXPECT_FLOAT_EQ(frm.l, c.used ? c.left : 15000.0f / 2 - 9000.0f / 2);
        EXPECT_FLOAT_EQ(frm.t, c.used ? c.top : 12000.0f / 3 - 6000.0f / 3);
    }
}

TEST_F(RegistryTest, NothingSavedWithoutKeepSizeGivesEightThousandSquare) {
    EXPECT_FALSE(Registry_::RestoreWindowPosition("MainWindow", frm, false));
    EXPECT_FLOAT_EQ(frm.w, 8000);
    EXPECT_FLOAT_EQ(frm.h, 8000);
    EXPECT_FLOAT_EQ(frm.l, 7500 - 4000);
    EXPECT_FLOAT_EQ(frm.t, 4000 - 8000.0f / 3);
}

TEST_F(RegistryTest, CentresOverTheActiveFormAndNeverAboveOrLeftOfTheScreen) {
    std::vector<std::string> otherLog;
    RecordedPlacement active{"active", otherLog};
    active.l = 1000;
    active.t = 2000;
    active.w = 4000;
    active.h = 3000;
    screen.active = &active;
    EXPECT_FALSE(Registry_::RestoreWindowPosition("MainWindow", frm, true));
    // 1000 + 2000 - 4500 and 2000 + 1000 - 2000.
    EXPECT_FLOAT_EQ(frm.l, 0);
    EXPECT_FLOAT_EQ(frm.t, 1000);
    frm.w = 3000;
    EXPECT_FALSE(Registry_::RestoreWindowPosition("MainWindow", frm, true));
    EXPECT_FLOAT_EQ(frm.l, 1500);
}

TEST_F(RegistryTest, SaveWindowPositionOnlyForAVisibleNormalWindow) {
    frm.l = 120;
    frm.t = 240;
    frm.visible = false;
    Registry_::SaveWindowPosition("MainWindow", frm);
    EXPECT_TRUE(store.values.empty());
    frm.visible = true;
    for (int state : {1, 2}) {
        frm.state = state;
        Registry_::SaveWindowPosition("MainWindow", frm);
        EXPECT_TRUE(store.values.empty());
    }
    frm.state = 0;
    Registry_::SaveWindowPosition("MainWindow", frm);
    EXPECT_EQ(store.values.at("Keyloom|Default|MainWindowLeft"), "120");
    EXPECT_EQ(store.values.at("Keyloom|Default|MainWindowTop"), "240");
    EXPECT_EQ(store.values.at("Keyloom|Default|MainWindowWidth"), "9000");
    EXPECT_EQ(store.values.at("Keyloom|Default|MainWindowHeight"), "6000");
    // Round trip into a new window.
    std::vector<std::string> l2;
    RecordedPlacement again{"again", l2};
    EXPECT_TRUE(Registry_::RestoreWindowPosition("MainWindow", again, false));
    EXPECT_FLOAT_EQ(again.l, 120);
    EXPECT_FLOAT_EQ(again.w, 9000);
}

}  // namespace
