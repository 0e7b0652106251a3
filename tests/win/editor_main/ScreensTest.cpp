// The editor on the screens cabinets have. Every case takes the program's own first steps:
// the board's default panel and keys as the working files, the main window placed from the
// saved position (the case's, or none) and shown, in Key Assignments. Then it checks where
// the window opened, that Key Assignments shows and obeys no part of the palette (at every
// DPI: the build's session at 120 DPI runs these cases too), or that every key name of the
// default panel stands whole and apart from the others at 96 DPI.
#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "EditorFixture.h"
#include "core/Registry_win.h"
#include "support/WinSupport.h"

namespace EditorTest {

namespace {

constexpr char kTestApp[] = "KeyloomScreensTest";
constexpr LONG kCaptionGap = 3;  // pixels between two key names

enum class Check { OpensAt, NoPalette, KeyNames };

struct Case {
    const char* name;
    std::int16_t board;
    Check check;
    float savedLeft = 0, savedTop = 0;  // twips (OpensAt only)
    bool centred = false;
};

void PrintTo(const Case& c, std::ostream* os) { *os << c.name; }

const Case kCases[] = {
    {"SavedOffEveryMonitorOpensCentred", TYPEQUORBA_Quorba2, Check::OpensAt, 40000, 20000, true},
    {"SavedOnTheMonitorOpensThere", TYPEQUORBA_Quorba2, Check::OpensAt, 1500, 1200, false},
    {"KeyAssignmentsShowsAndObeysNoPaletteControl", TYPEQUORBA_Quorba4, Check::NoPalette},
    {"Quorba2KeyNamesStandWholeAndApart", TYPEQUORBA_Quorba2, Check::KeyNames},
    {"Quorba4KeyNamesStandWholeAndApart", TYPEQUORBA_Quorba4, Check::KeyNames},
    {"VexoKeyNamesStandWholeAndApart", TYPEQUORBA_QuorbaVexo, Check::KeyNames},
};

RECT InClient(const platform::Window& w, HWND client) {
    RECT r;
    GetWindowRect(w.Hwnd(), &r);
    MapWindowPoints(nullptr, client, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

// Pixels between two rectangles (negative: they overlap by that much).
LONG Gap(const RECT& a, const RECT& b) {
    return std::max(std::max(b.left - a.right, a.left - b.right), std::max(b.top - a.bottom, a.top - b.bottom));
}

// A picture of the window, named for the case and the DPI, to be looked at.
void SavePicture(const forms::frmMain& m, const std::string& name) {
    const std::string dir = winsupport::Env("KL_BUILD_DIR");
    if (dir.empty()) return;
    CreateDirectoryA((dir + "\\screenshots").c_str(), nullptr);
    const int dpi = static_cast<int>(platform::kTwipsPerInch / platform::TwipsPerPixelX());
    winsupport::SaveScreenshot(m.Hwnd(), dir + "\\screenshots\\" + name + "-" + std::to_string(dpi) + ".png");
}

class OnEveryScreen : public EditorFixture, public ::testing::WithParamInterface<Case> {
protected:
    void TearDown() override {
        EditorFixture::TearDown();  // the window saves its position as it closes
        winsupport::DeleteUserRegTree(std::string("Software\\") + kTestApp);
        Registry_::SetSettingsStore(nullptr);
        Registry_::SetScreen(nullptr);
    }
    // Until every input sent so far has been handled.
    static bool Settle() {
        return PumpUntil([] { return HIWORD(GetQueueStatus(QS_INPUT)) == 0; });
    }
    void CheckNoPalette(forms::frmMain& m);
    void CheckKeyNames(forms::frmMain& m);
};

void OnEveryScreen::CheckNoPalette(forms::frmMain& m) {
    std::vector<platform::Window*> palette{&m.imgPaletteItem, &m.lblPaletteItemType, &m.btnPalettePrev,
                                           &m.btnPaletteNext};
    for (platform::Label& swatch : m.lblColorSel) palette.push_back(&swatch);
    for (platform::Window* w : palette) EXPECT_FALSE(IsWindowVisible(w->Hwnd())) << w->Caption();
    // The user points at the lowest swatch, then clicks ">>", where they stood.
    ASSERT_TRUE(Activate(m.Hwnd()));
    const std::int16_t type = m.m_iPaletteType;
    winsupport::MoveMouseTo(m.lblColorSel[8].Hwnd(), {2, 2});
    ASSERT_TRUE(Settle());
    winsupport::ClickAt(m.btnPaletteNext.Hwnd(), {10, 5});
    ASSERT_TRUE(Settle());
    EXPECT_EQ(m.m_iPaletteType, type);
    EXPECT_FALSE(m.shapePaletteColorHighlight.Visible());
    m.EnterPanelDesigner(true);
    for (platform::Window* w : palette) EXPECT_TRUE(IsWindowVisible(w->Hwnd())) << w->Caption();
    SavePicture(m, "PanelDesigner");
}

void OnEveryScreen::CheckKeyNames(forms::frmMain& m) {
    if (platform::TwipsPerPixelX() != 15) GTEST_SKIP() << "the default panels are laid out for 96 DPI";
    RECT client;
    GetClientRect(m.Hwnd(), &client);
    const std::vector<CplWidget*>& all = m.m_colWidgets;
    for (std::size_t i = 0; i < all.size(); ++i) {
        if (!all[i]->lbl) continue;
        const RECT name = InClient(*all[i]->lbl, m.Hwnd());
        const std::string text = all[i]->lbl->Caption();
        EXPECT_TRUE(IsWindowVisible(all[i]->lbl->Hwnd()) && name.left >= 0 && name.top >= 0 &&
                    name.right <= client.right && name.bottom <= client.bottom)
            << text;
        for (std::size_t j = 0; j < all.size(); ++j) {
            if (j == i) continue;
            EXPECT_GE(Gap(name, InClient(*all[j], m.Hwnd())), 0) << text << " lies under a control";
            if (all[j]->lbl && j < i) {
                EXPECT_GE(Gap(name, InClient(*all[j]->lbl, m.Hwnd())), kCaptionGap)
                    << text << " and " << all[j]->lbl->Caption();
            }
        }
    }
}

}  // namespace

TEST_P(OnEveryScreen, OpensAsTheProgramStartsAndShowsWhatItsCaseSays) {
    const Case& c = GetParam();
    g_typeQuorba = c.board;
    const std::string templates = winsupport::Env("KL_PROGRAM_DIR") + "\\Templates\\";
    const std::string board = c.board == TYPEQUORBA_QuorbaVexo ? "VEXO" : std::to_string(c.board);
    WriteFile(Path("Keyloom.cpl"), ReadFile(templates + "Default_Quorba_" + board + ".cpl"));
    QbcFile::LoadQbcFile(templates + "Default-" + board + ".qbc");
    winsupport::DeleteUserRegTree(std::string("Software\\") + kTestApp);
    Registry_::InstallWin32Registry();
    Registry_::Initialize("Default", kTestApp);
    if (c.check == Check::OpensAt) {
        for (const auto& [key, value] : {std::pair<const char*, float>{"Left", c.savedLeft}, {"Top", c.savedTop},
                                         {"Width", 10000}, {"Height", 7500}})
            Registry_::SaveSingle(std::string("MainWindow") + key, value);
    }
    WinStartupWindows windows;
    Registry_::RestoreWindowPosition("MainWindow", windows.MainWindow(), true);
    windows.ShowMainWindow();
    platform::DoEvents();
    forms::frmMain& m = Main();
    ASSERT_EQ(m.lblModeTitle.Caption(), "KEY ASSIGNMENTS");
    SavePicture(m, c.name);

    switch (c.check) {
    case Check::OpensAt: {
        const float left = c.centred ? platform::Screen::Width() / 2 - m.Width() / 2 : c.savedLeft;
        const float top = c.centred ? platform::Screen::Height() / 3 - m.Height() / 3 : c.savedTop;
        EXPECT_NEAR(m.Left(), left, platform::TwipsPerPixelX());
        EXPECT_NEAR(m.Top(), top, platform::TwipsPerPixelY());
        break;
    }
    case Check::NoPalette: CheckNoPalette(m); break;
    case Check::KeyNames: CheckKeyNames(m); break;
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, OnEveryScreen, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace EditorTest
