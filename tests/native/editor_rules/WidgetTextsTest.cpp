// Captions of panel controls, their colours, and the hover texts of both editor modes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/Globals.h"
#include "core/Host.h"
#include "core/QbcFile.h"
#include "editor/WidgetTexts.h"

namespace {

class TraceHost : public IHost {
public:
    void TraceLine(const std::string& line) override { lines.push_back(line); }
    std::vector<std::string> lines;
};

// A small store: 1UP sends "A", shifted 1UP "1", 1UP's text is "FIRE", players 3-4
// shift with 3SW3. Nothing below may report an assertion.
class WidgetTextsTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetHost(&host);
        g_fDebugGui = false;
        g_abSwiKeys.fill(0);
        for (auto& s : g_asSwiUserText) s.clear();
        g_aswiShift.fill(0);
        g_abSwiKeys[101] = 31;
        g_abSwiKeys[151] = 2;
        g_asSwiUserText[101] = "FIRE";
        g_aswiShift[3] = 307;
    }
    void TearDown() override {
        EXPECT_TRUE(host.lines.empty()) << host.lines.front();
        SetHost(nullptr);
        g_typeQuorba = TYPEQUORBA_Quorba2;
    }
    TraceHost host;
};

const std::string kNone = "Control not associated with an Quorba input";
constexpr std::int16_t KA = MODEEDITOR_KeyAssignments, PD = MODEEDITOR_PanelDesigner;
constexpr std::int16_t Q2 = TYPEQUORBA_Quorba2, Q4 = TYPEQUORBA_Quorba4, Vexo = TYPEQUORBA_QuorbaVexo;

TEST_F(WidgetTextsTest, CaptionsAndTheirColours) {
    struct Case {
        std::int16_t board, mode;
        std::int32_t swi;
        bool fUserText;
        const char* caption;
    } cases[] = {
        {Q2, KA, 0, false, "n/a"},    {Q2, KA, 301, false, "n/a"},   {Q2, KA, 113, true, "n/a"},
        {Q2, KA, 101, false, "A"},    {Q2, KA, 151, false, "1"},     {Q2, KA, 102, false, "(none)"},
        {Q2, KA, 101, true, "FIRE"},  {Q2, KA, 102, true, ""},       {Q2, PD, 0, false, ""},
        {Q2, PD, 101, true, "1UP"},   {Q2, PD, 301, false, "n/a"},   {Q4, PD, 301, false, "3UP"},
        {Vexo, PD, 111, false, "1A"}, {Vexo, KA, 113, false, "(none)"},
        // Ids no board has (from a damaged layout file).
        {Q2, KA, 701, false, "n/a"},  {Q2, PD, 150, false, "n/a"},
    };
    for (const auto& c : cases) {
        g_typeQuorba = c.board;
        EXPECT_EQ(WidgetTexts::CaptionText(c.mode, c.swi, c.fUserText), c.caption) << c.mode << " " << c.swi;
    }
    for (const char* grey : {"n/a", "(none)"}) EXPECT_EQ(WidgetTexts::CaptionColor(grey, false), 0x808080u);
    for (const char* white : {"A", "", "N/A", "(none) "}) EXPECT_EQ(WidgetTexts::CaptionColor(white, false), 0xFFFFFFu);
    for (const char* any : {"n/a", "PRESS KEY"}) EXPECT_EQ(WidgetTexts::CaptionColor(any, true), 0u);
}

TEST_F(WidgetTextsTest, HoverTextsOfBothModes) {
    struct Case {
        std::int16_t board;
        std::int32_t swi;
        bool fExtraneous;
        std::string designer, binding;
    } cases[] = {
        {Q2, 101, false, "1UP = Player 1 Up", "1UP is assigned to 'A'"},
        {Q2, 151, false, "1UP = Player 1 Up", "Shift 1UP is assigned to '1'"},
        {Q2, 152, false, "1DOWN = Player 1 Down", "1DOWN is not currently assigned a key"},
        {Q2, 100, false, "P1/2 SHIFT = Player 1 Shift", "No switch currently functions as the P1/2 SHIFT"},
        {Q4, 300, false, "P3/4 SHIFT = Player 3 Shift", "P3/4 SHIFT is bound to 3SW3"},
        {Vexo, 163, false, "1C = Player 1 Switch C", "1C does not support a shifted value"},
        {Vexo, 163, true, "1C = Player 1 Switch C", ""},
        {Q2, 300, false, kNone, kNone},
        {Q2, 163, false, kNone, kNone},
        {Q2, 351, false, kNone, kNone},
        {Q2, 0, false, kNone, kNone},
        {Q2, 0, true, "", ""},
        {Q2, 150, false, kNone, kNone},  // not " does not support a shifted value"
        {Q2, 701, true, "", ""},
    };
    for (const auto& c : cases) {
        g_typeQuorba = c.board;
        EXPECT_EQ(WidgetTexts::SwiDescription(c.swi, c.fExtraneous), c.designer) << c.swi;
        EXPECT_EQ(WidgetTexts::BindingDescription(c.swi, c.fExtraneous), c.binding) << c.swi;
    }
}

}  // namespace
