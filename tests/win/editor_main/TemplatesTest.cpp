// The default panel layouts shipped in the program folder's Templates: each loads into
// the real main window and saves back unchanged, wires every input of its board once,
// gives every joystick its arrows, keeps its controls and captions apart inside the
// panel design area, and is saved as a picture of Panel Designer to be looked at.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <vector>

#include "EditorFixture.h"
#include "core/SwiTables.h"
#include "support/WinSupport.h"

namespace EditorTest {

namespace {

struct Board {
    std::int16_t type;
    const char* file;
    int players;
    bool switchesCD;
};

const Board kBoards[] = {
    {TYPEQUORBA_Quorba2, "Default_Quorba_2.cpl", 2, false},
    {TYPEQUORBA_Quorba4, "Default_Quorba_4.cpl", 4, false},
    {TYPEQUORBA_QuorbaVexo, "Default_Quorba_VEXO.cpl", 2, true},
};

// The inputs a panel of the board wires: for every player the four directions,
// switches 1 to 8, start and coin, and on a Vexo switches C and D.
std::multiset<std::int32_t> ExpectedInputs(const Board& b) {
    std::multiset<std::int32_t> inputs;
    for (int p = 1; p <= b.players; ++p) {
        for (std::int32_t kind = 101; kind <= 116; ++kind) {
            if ((kind == 113 || kind == 114) && !b.switchesCD) continue;
            inputs.insert(SwiTables::SwiForPlayer(kind, p));
        }
    }
    return inputs;
}

RECT ScreenRect(const platform::Window& w) {
    RECT r;
    GetWindowRect(w.Hwnd(), &r);
    return r;
}

bool Overlap(const RECT& a, const RECT& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

std::string Shot(const std::string& name) {
    const std::string dir = winsupport::Env("KL_BUILD_DIR");
    if (dir.empty()) return {};
    CreateDirectoryA((dir + "\\screenshots").c_str(), nullptr);
    return dir + "\\screenshots\\" + name + ".png";
}

}  // namespace

class DefaultPanels : public EditorFixture, public ::testing::WithParamInterface<Board> {
protected:
    // The board's template loaded into the window, shown in Panel Designer.
    forms::frmMain& OpenTemplate() {
        g_typeQuorba = GetParam().type;
        forms::frmMain& m = Open();
        m.EnterPanelDesigner(true);
        m.CplLoad(TemplatePath());
        m.RefreshAllWidgetCaptions();
        platform::DoEvents();
        return m;
    }
    std::string TemplatePath() const {
        return winsupport::Env("KL_PROGRAM_DIR") + "\\Templates\\" + GetParam().file;
    }
};

TEST_P(DefaultPanels, LoadsAndSavesBackByteForByte) {
    const std::string original = ReadFile(TemplatePath());
    ASSERT_FALSE(original.empty()) << TemplatePath();
    forms::frmMain& m = OpenTemplate();
    m.CplSave(Path("again.cpl"));
    EXPECT_EQ(ReadFile(Path("again.cpl")), original);
}

TEST_P(DefaultPanels, WiresEveryInputOfItsBoardOnceAndEveryJoystickHasFourArrows) {
    forms::frmMain& m = OpenTemplate();
    std::multiset<std::int32_t> wired;
    int joysticks = 0;
    for (CplWidget* w : m.m_colWidgets) {
        if (w->m_sType == "5") {
            ++joysticks;
            EXPECT_EQ(w->swi(), 0) << "a joystick stands for no input itself";
            std::map<std::string, int> directions;
            std::set<int> players;
            for (CplWidget* arrow : w->m_colArrowWidgets) {
                ++directions[arrow->m_sType];
                players.insert(SwiTables::GetPlayerOfSwi(arrow->swi()));
            }
            EXPECT_EQ(directions, (std::map<std::string, int>{{"D", 1}, {"L", 1}, {"R", 1}, {"U", 1}}));
            EXPECT_EQ(players.size(), 1u) << "the arrows of one joystick serve one player";
            continue;
        }
        ASSERT_NE(w->lbl, nullptr) << "type " << w->m_sType;
        EXPECT_NE(w->lbl->Caption(), "n/a") << "input " << w->swi() << " is not on this board";
        EXPECT_NE(w->lbl->Caption(), "") << "type " << w->m_sType << " is not wired";
        const bool arrow = w->m_sType == "U" || w->m_sType == "D" || w->m_sType == "L" || w->m_sType == "R";
        EXPECT_FALSE(arrow && w->m_widgetJoystick == nullptr) << "a free arrow wired to " << w->swi();
        wired.insert(w->swi());
    }
    EXPECT_EQ(joysticks, GetParam().players);
    EXPECT_EQ(wired, ExpectedInputs(GetParam()));
}

TEST_P(DefaultPanels, ControlsAndCaptionsStayApartInsideThePanelArea) {
    forms::frmMain& m = OpenTemplate();
    std::vector<std::pair<RECT, const CplWidget*>> controls, captions;
    for (CplWidget* w : m.m_colWidgets) {
        EXPECT_TRUE(m.IsInPanelArea(*w)) << "type " << w->m_sType << " at " << w->Left() << ", " << w->Top();
        EXPECT_TRUE(w->Left() >= 2700 && w->Top() >= 620 && w->Left() + w->Width() <= 9398 &&
                    w->Top() + w->Height() <= 5500)
            << "type " << w->m_sType << " at " << w->Left() << ", " << w->Top() << " sticks out";
        controls.emplace_back(ScreenRect(*w), w);
        if (w->lbl) captions.emplace_back(ScreenRect(*w->lbl), w);
    }
    for (std::size_t i = 0; i < controls.size(); ++i)
        for (std::size_t j = 0; j < i; ++j)
            EXPECT_FALSE(Overlap(controls[i].first, controls[j].first)) << "controls " << j << " and " << i;
    for (std::size_t i = 0; i < captions.size(); ++i) {
        for (std::size_t j = 0; j < i; ++j)
            EXPECT_FALSE(Overlap(captions[i].first, captions[j].first))
                << "captions " << captions[j].second->lbl->Caption() << " and " << captions[i].second->lbl->Caption();
        for (const auto& [rect, w] : controls) {
            if (w == captions[i].second) continue;
            EXPECT_FALSE(Overlap(captions[i].first, rect))
                << "caption " << captions[i].second->lbl->Caption() << " on a control of type " << w->m_sType;
        }
    }
}

TEST_P(DefaultPanels, IsSavedAsAPictureOfPanelDesigner) {
    forms::frmMain& m = OpenTemplate();
    m.Refresh();
    platform::DoEvents();
    const std::string path = Shot("default-panel-" + std::to_string(GetParam().type));
    if (path.empty()) GTEST_SKIP() << "no build folder to save the picture in";
    EXPECT_TRUE(winsupport::SaveScreenshot(m.Hwnd(), path));
}

INSTANTIATE_TEST_SUITE_P(Boards, DefaultPanels, ::testing::ValuesIn(kBoards),
                         [](const ::testing::TestParamInfo<Board>& info) {
                             return "Quorba" + std::to_string(info.param.type);
                         });

}  // namespace EditorTest
