// The key-assignment templates in Templates/ are generated from the layout below with
// the program's own writer. Run with KL_WRITE_TEMPLATES=1 to write them anew.
#include <cstdlib>
#include <set>

#include "CoreTestSupport.h"
#include "core/SwiTables.h"

namespace fs = std::filesystem;

namespace {

struct Assignment {
    int swi;  // of player 1 or 2 (players 3-4 on the Quorba/4 mirror 1-2 by +200 for shifted keys)
    std::uint8_t key;
    const char* text;
};

// Keys per player: up, down, left, right, switches 1-8 (Vexo: 1-6, A, B), C, D, start, coin.
constexpr std::uint8_t kPlayerKeys[4][16] = {
    // arrows; L.CTRL L.ALT SPACE L.SHIFT Z X C V; M ,; 1; 5
    {83, 84, 79, 89, 58, 60, 61, 44, 46, 47, 48, 49, 52, 53, 2, 6},
    // R F D G; A S Q W E T Y U; . /; 2; 6
    {20, 34, 33, 35, 31, 32, 17, 18, 19, 21, 22, 23, 54, 55, 3, 7},
    // I K J L; R.CTRL R.SHIFT ENTER H B N M ,; -; 3; 7
    {24, 38, 37, 39, 64, 57, 43, 36, 50, 51, 52, 53, 0, 0, 4, 8},
    // NUM 8 2 4 6; NUM 0 . ENTER + - 7 9 1; -; 4; 8
    {96, 98, 92, 102, 99, 104, 108, 106, 105, 91, 101, 93, 0, 0, 5, 9},
};

// Keys while the pair's shift input (start of the pair's first player) is held.
constexpr Assignment kShifted[] = {
    {151, 16, "Menu"},   // shift + P1 up: TAB
    {155, 26, "Pause"},  // shift + P1 switch 1: P
    {156, 114, "Reset"}, // shift + P1 switch 2: F3
    {265, 110, "Exit"},  // shift + P2 start: ESCAPE
};

void FillLayout(std::int16_t type) {
    const int players = type == TYPEQUORBA_Quorba4 ? 4 : 2;
    for (int p = 1; p <= players; ++p) {
        for (int k = 0; k < 16; ++k) {
            const int swi = (p - 1) * 100 + 101 + k;
            if (!SwiTables::IsSwiOnBoard(swi)) continue;
            g_abSwiKeys[static_cast<std::size_t>(swi)] = kPlayerKeys[p - 1][k];
        }
    }
    for (int pair = 0; pair < players / 2; ++pair) {
        for (const Assignment& a : kShifted) {
            const auto swi = static_cast<std::size_t>(a.swi + 200 * pair);
            g_abSwiKeys[swi] = a.key;
            g_asSwiUserText[swi] = a.text;
        }
    }
    g_aswiShift[1] = 115;
    if (type == TYPEQUORBA_Quorba4) g_aswiShift[3] = 315;
}

fs::path TemplatesFolder() { return fs::path(__FILE__).parent_path() / ".." / ".." / ".." / "Templates"; }

const char* TemplateName(std::int16_t type) {
    switch (type) {
    case TYPEQUORBA_Quorba4: return "Default-4.qbc";
    case TYPEQUORBA_QuorbaVexo: return "Default-VEXO.qbc";
    default: return "Default-2.qbc";
    }
}

}  // namespace

class TemplatesTest : public CoreTest, public ::testing::WithParamInterface<std::int16_t> {};

TEST_P(TemplatesTest, CommittedTemplateIsTheLayoutInFileFormat) {
    const std::int16_t type = GetParam();
    g_typeQuorba = type;
    FillLayout(type);
    const fs::path committed = TemplatesFolder() / TemplateName(type);
    if (const char* w = std::getenv("KL_WRITE_TEMPLATES"); w && std::string(w) == "1")
        QbcFile::SaveQbcFile(committed.string());
    const fs::path fresh = TempDir() / TemplateName(type);
    QbcFile::SaveQbcFile(fresh.string());
    ASSERT_TRUE(fs::exists(committed)) << committed;
    EXPECT_EQ(ReadAll(committed), ReadAll(fresh)) << TemplateName(type);
}

TEST_P(TemplatesTest, TemplateLoadsBackToTheLayout) {
    const std::int16_t type = GetParam();
    g_typeQuorba = type;
    FillLayout(type);
    const auto keys = g_abSwiKeys;
    const auto texts = g_asSwiUserText;
    const auto shifts = g_aswiShift;
    ResetState();
    g_typeQuorba = type;
    QbcFile::LoadQbcFile((TemplatesFolder() / TemplateName(type)).string());
    std::set<int> used;
    for (int swi = 101; swi <= 466; ++swi) {
        if (!SwiTables::IsValidSwi(swi) || !SwiTables::IsSwiOnBoard(swi)) continue;
        const auto i = static_cast<std::size_t>(swi);
        EXPECT_EQ(g_abSwiKeys[i], keys[i]) << swi;
        EXPECT_EQ(g_asSwiUserText[i], texts[i]) << swi;
        // Within one pair's shift state no key is used twice.
        if (g_abSwiKeys[i] && !SwiTables::IsShiftedSwi(swi)) {
            EXPECT_TRUE(used.insert(g_abSwiKeys[i]).second) << "key " << int(g_abSwiKeys[i]) << " twice, " << swi;
        }
    }
    EXPECT_EQ(g_aswiShift, shifts);
    EXPECT_EQ(g_abSwiKeys[115], 2) << "P1 start on key 1";
    EXPECT_EQ(g_abSwiKeys[101], 83) << "P1 up on the up arrow";
    EXPECT_TRUE(host.traces.empty());
}

INSTANTIATE_TEST_SUITE_P(Boards, TemplatesTest,
                         ::testing::Values(TYPEQUORBA_Quorba2, TYPEQUORBA_Quorba4, TYPEQUORBA_QuorbaVexo));
