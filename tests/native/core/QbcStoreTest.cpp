#include <set>
#include <utility>

#include "CoreTestSupport.h"
#include "core/SwiTables.h"

using namespace QbcFile;

class QbcStoreTest : public CoreTest {};

TEST_F(QbcStoreTest, SetKeyCallsBackUnlessCommandLineOrLoading) {
    SetSwiKey(101, 83);
    EXPECT_EQ(GetSwiKey(101), 83);
    EXPECT_EQ(host.updates, std::vector<int>{101});
    g_fCommandLineMode = true;
    SetSwiKey(102, 84);
    EXPECT_EQ(GetSwiKey(102), 84);
    EXPECT_EQ(host.updates.size(), 1u);
    g_fCommandLineMode = false;
    g_fLoadingAssignments = true;
    SetSwiUserText(102, "x");
    EXPECT_EQ(host.updates.size(), 1u);
}

TEST_F(QbcStoreTest, IdZeroAndInvalidIdsAreNone) {
    SetSwiKey(0, 5);
    SetSwiUserText(0, "t");
    EXPECT_EQ(GetSwiKey(0), 0);
    EXPECT_EQ(GetSwiUserText(0), "");
    EXPECT_TRUE(host.updates.empty());
    EXPECT_TRUE(host.traces.empty());
    SetSwiKey(117, 5);
    SetSwiKey(600, 5);
    SetSwiKey(-3, 5);
    EXPECT_EQ(GetSwiKey(117), 0);
    EXPECT_EQ(GetSwiUserText(999), "");
    EXPECT_TRUE(host.updates.empty());
    EXPECT_EQ(host.Assertions().size(), 5u);
    EXPECT_EQ(g_abSwiKeys[117], 0);
}

TEST_F(QbcStoreTest, UserTextCallsBackOnlyOnARealChange) {
    SetSwiUserText(105, "Fire");
    EXPECT_EQ(host.updates, std::vector<int>{105});
    SetSwiUserText(105, "Fire");
    EXPECT_EQ(host.updates.size(), 1u);
    SetSwiUserText(105, "FIRE");
    EXPECT_EQ(GetSwiUserText(105), "FIRE");
    EXPECT_EQ(host.updates, (std::vector<int>{105, 105}));
}

TEST_F(QbcStoreTest, ShiftInputsGoToTheSlotOfTheirPair) {
    SetShiftSwi(305, 102);
    EXPECT_EQ(g_aswiShift[3], 302);
    SetShiftSwi(205, 402);
    EXPECT_EQ(g_aswiShift[1], 202);
    EXPECT_EQ(GetShiftSwi(101), 202);
    EXPECT_EQ(GetShiftSwi(466), 302);
    EXPECT_EQ(GetShiftSwi(300), 302);
    SetShiftSwi(101, 100);
    EXPECT_EQ(g_aswiShift[1], 0);
    SetShiftSwi(401, 300);
    EXPECT_EQ(g_aswiShift[3], 0);
    SetShiftSwi(401, 0);
    EXPECT_EQ(g_aswiShift[3], 0);
    SetShiftSwi(101, 115);
    EXPECT_EQ(g_aswiShift[1], 115);
    EXPECT_TRUE(host.updates.empty());
}

TEST_F(QbcStoreTest, SwitchNameTokens) {
    EXPECT_EQ(ParseSwiName("xx"), 0);
    EXPECT_EQ(ParseSwiName("1^"), 100);
    EXPECT_EQ(ParseSwiName("3^"), 300);
    EXPECT_EQ(ParseSwiName("1u"), 101);
    EXPECT_EQ(ParseSwiName("^2s"), 265);
    EXPECT_EQ(ParseSwiName("28"), 212);
    EXPECT_EQ(ParseSwiName("1A"), 111);
    EXPECT_EQ(ParseSwiName("^2D"), 264);
    EXPECT_EQ(ParseSwiName("4c"), 416);
    EXPECT_TRUE(host.traces.empty());
    EXPECT_EQ(ParseSwiName("^1z"), 0);
    EXPECT_EQ(host.Assertions(), std::vector<std::string>{"Badly formatted sSwiName=1z"});
    EXPECT_EQ(ParseSwiName(""), 0);
    EXPECT_EQ(ParseSwiName("^"), 0);
}

// Every order is a permutation: each position used by exactly one input, counts as given.
TEST_F(QbcStoreTest, OrdersCoverTheirPositionsOnce) {
    struct Case {
        std::int16_t type;
        int maxDownload;
        int maxText;
    };
    for (const Case c : {Case{2, 56, 56}, Case{4, 56, 113}, Case{5, 64, 64}}) {
        std::set<int> download, text;
        for (int swi = 100; swi <= 299; ++swi) {
            bool fP34 = false;
            const int pos = GetDownloadPosOfSwi(c.type, swi, fP34);
            EXPECT_FALSE(fP34);
            if (pos > 0) {
                EXPECT_TRUE(download.insert(pos).second) << swi;
            }
        }
        for (int swi = 100; swi <= 499; ++swi) {
            const int slot = GetTextIndexOfSwi(c.type, swi);
            if (slot > 0) {
                EXPECT_TRUE(text.insert(slot).second) << swi;
            }
        }
        EXPECT_EQ(download.size(), static_cast<std::size_t>(c.maxDownload)) << c.type;
        EXPECT_EQ(*download.rbegin(), c.maxDownload);
        // Quorba/Vexo: four text slots are empty (shifted C and D of both players).
        EXPECT_EQ(text.size(), static_cast<std::size_t>(c.type == 5 ? c.maxText - 4 : c.maxText)) << c.type;
        EXPECT_EQ(*text.rbegin(), c.maxText);
    }
}

TEST_F(QbcStoreTest, OrderLookups) {
    bool fP34 = false;
    EXPECT_EQ(GetDownloadPosOfSwi(2, 111, fP34), 24);
    EXPECT_EQ(GetDownloadPosOfSwi(5, 111, fP34), 24);
    EXPECT_EQ(GetDownloadPosOfSwi(5, 113, fP34), 29);
    EXPECT_EQ(GetDownloadPosOfSwi(2, 113, fP34), 0);
    EXPECT_EQ(GetDownloadPosOfSwi(2, 151, fP34), 29);
    EXPECT_EQ(GetDownloadPosOfSwi(2, 100, fP34), 0);
    EXPECT_FALSE(fP34);
    EXPECT_EQ(GetDownloadPosOfSwi(4, 301, fP34), 1);
    EXPECT_TRUE(fP34);
    EXPECT_EQ(GetDownloadPosOfSwi(4, 101, fP34), 1);
    EXPECT_TRUE(fP34) << "never cleared";
    EXPECT_EQ(GetDownloadPosOfSwi(2, 117, fP34), -1);
    EXPECT_EQ(GetDownloadPosOfSwi(2, 0, fP34), 0);
    EXPECT_EQ(GetTextIndexOfSwi(4, 300), 57);
    EXPECT_EQ(GetTextIndexOfSwi(4, 301), 58);
    EXPECT_EQ(GetTextIndexOfSwi(4, 466), 113);
    EXPECT_EQ(GetTextIndexOfSwi(2, 300), 0);
    EXPECT_EQ(GetTextIndexOfSwi(5, 163), 0);
    EXPECT_EQ(GetTextIndexOfSwi(5, 162), 44);
    EXPECT_EQ(GetTextIndexOfSwi(5, 165), 47);
    EXPECT_EQ(GetTextIndexOfSwi(3, 101), 0);
    EXPECT_EQ(GetTextIndexOfSwi(2, 0), 0);
    EXPECT_EQ(GetTextIndexOfSwi(2, 100000), 0);
}

TEST_F(QbcStoreTest, ShiftSwiToQbcShiftKey) {
    EXPECT_EQ(ShiftSwiToQbcShiftKey(2, 0), 0);
    EXPECT_EQ(ShiftSwiToQbcShiftKey(2, 101), 1);
    EXPECT_EQ(ShiftSwiToQbcShiftKey(2, 115), 13);
    EXPECT_EQ(ShiftSwiToQbcShiftKey(2, 201), 15);
    EXPECT_EQ(ShiftSwiToQbcShiftKey(2, 216), 28);
    EXPECT_EQ(ShiftSwiToQbcShiftKey(2, 113), 11);
    EXPECT_EQ(ShiftSwiToQbcShiftKey(2, 114), 12);
    EXPECT_EQ(ShiftSwiToQbcShiftKey(2, 301), 1);
    EXPECT_EQ(ShiftSwiToQbcShiftKey(4, 416), 28);
    EXPECT_EQ(ShiftSwiToQbcShiftKey(2, 152), 2);
    EXPECT_EQ(ShiftSwiToQbcShiftKey(5, 113), 13);
    EXPECT_EQ(ShiftSwiToQbcShiftKey(5, 201), 17);
    EXPECT_EQ(ShiftSwiToQbcShiftKey(5, 216), 32);
    EXPECT_EQ(ShiftSwiToQbcShiftKey(5, 100), 0);
    EXPECT_TRUE(host.traces.empty());
}

// The index is the plain switch's slot in the board's text order.
TEST_F(QbcStoreTest, ShiftKeyIndexIsTheTextSlot) {
    for (std::int16_t type : {TYPEQUORBA_Quorba2, TYPEQUORBA_QuorbaVexo}) {
        g_typeQuorba = type;
        for (int swi = 101; swi <= 216; ++swi) {
            if (!SwiTables::IsValidSwi(swi) || SwiTables::IsShiftedSwi(swi) || !SwiTables::IsSwiOnBoard(swi)) continue;
            EXPECT_EQ(ShiftSwiToQbcShiftKey(type, swi), GetTextIndexOfSwi(type, swi)) << type << " " << swi;
            EXPECT_EQ(QbcShiftKeyToShiftSwi(type, ShiftSwiToQbcShiftKey(type, swi), false), swi);
            EXPECT_EQ(QbcShiftKeyToShiftSwi(type, ShiftSwiToQbcShiftKey(type, swi + 200), true),
                      swi + 200);
        }
    }
}

TEST_F(QbcStoreTest, QbcShiftKeyToShiftSwi) {
    EXPECT_EQ(QbcShiftKeyToShiftSwi(4, 57, false), 0);
    EXPECT_EQ(QbcShiftKeyToShiftSwi(4, 58, false), 101);
    EXPECT_EQ(QbcShiftKeyToShiftSwi(4, 29, false), 101);
    EXPECT_EQ(QbcShiftKeyToShiftSwi(4, 1, true), 301);
    EXPECT_EQ(QbcShiftKeyToShiftSwi(2, 13, false), 115);
    EXPECT_EQ(QbcShiftKeyToShiftSwi(2, 14, false), 116);
    EXPECT_EQ(QbcShiftKeyToShiftSwi(2, 26, false), 212);
    EXPECT_EQ(QbcShiftKeyToShiftSwi(2, 27, false), 215);
    EXPECT_EQ(QbcShiftKeyToShiftSwi(2, 113, false), 216);
    EXPECT_EQ(QbcShiftKeyToShiftSwi(2, 114, false), 0);
    EXPECT_EQ(QbcShiftKeyToShiftSwi(2, 255, true), 0);
    EXPECT_EQ(QbcShiftKeyToShiftSwi(2, 0, true), 0);
    EXPECT_EQ(QbcShiftKeyToShiftSwi(5, 16, false), 116);
    EXPECT_EQ(QbcShiftKeyToShiftSwi(5, 17, false), 201);
    EXPECT_EQ(QbcShiftKeyToShiftSwi(5, 64, false), 216);
    EXPECT_EQ(QbcShiftKeyToShiftSwi(5, 65, false), 0);
    EXPECT_EQ(QbcShiftKeyToShiftSwi(5, -1, false), 0);
}

// The board's shift-key code is the download position of the switch at that text slot.
TEST_F(QbcStoreTest, QuorbaShiftKeyIsTheDownloadPosition) {
    for (std::int16_t type : {TYPEQUORBA_Quorba2, TYPEQUORBA_Quorba4, TYPEQUORBA_QuorbaVexo}) {
        g_typeQuorba = type;
        const int n = type == TYPEQUORBA_QuorbaVexo ? 32 : 28;
        for (int index = 1; index <= n; ++index) {
            const int swi = QbcShiftKeyToShiftSwi(type, index, false);
            bool fP34 = false;
            EXPECT_EQ(QbcShiftKeyToQuorbaShiftKey(index), GetDownloadPosOfSwi(type, swi, fP34)) << type << " " << index;
        }
    }
    EXPECT_TRUE(host.traces.empty());
}

TEST_F(QbcStoreTest, QuorbaShiftKeyFoldingAndBadValues) {
    g_typeQuorba = TYPEQUORBA_Quorba4;
    EXPECT_EQ(QbcShiftKeyToQuorbaShiftKey(0), 0);
    EXPECT_EQ(QbcShiftKeyToQuorbaShiftKey(57), 0);
    EXPECT_EQ(QbcShiftKeyToQuorbaShiftKey(58), 1);
    EXPECT_EQ(QbcShiftKeyToQuorbaShiftKey(29), 1);
    EXPECT_EQ(QbcShiftKeyToQuorbaShiftKey(113), 22);
    EXPECT_TRUE(host.traces.empty());
    EXPECT_EQ(QbcShiftKeyToQuorbaShiftKey(114), 0);
    EXPECT_EQ(host.Assertions().back(), "QbcShiftKeyToQuorbaShiftKey_2Or4e: Unexpected index=29");
    EXPECT_EQ(QbcShiftKeyToQuorbaShiftKey(-1), 0);
    EXPECT_EQ(host.Assertions().back(), "QbcShiftKeyToQuorbaShiftKey_2Or4e: Unexpected index=-1");
    g_typeQuorba = TYPEQUORBA_QuorbaVexo;
    EXPECT_EQ(QbcShiftKeyToQuorbaShiftKey(45), 29);
    EXPECT_EQ(QbcShiftKeyToQuorbaShiftKey(64), 22);
    EXPECT_EQ(QbcShiftKeyToQuorbaShiftKey(65), 0);
    EXPECT_EQ(host.Assertions().back(), "QbcShiftKeyToQuorbaShiftKey_Vexo: Unexpected index=33");
    host.traces.clear();
    g_typeQuorba = 7;
    EXPECT_EQ(QbcShiftKeyToQuorbaShiftKey(2), 6);
    EXPECT_EQ(host.Assertions(), std::vector<std::string>{"Bad g_typeQuorba value: 7"});
}

TEST_F(QbcStoreTest, BuildPutsOnlyPresentInputsInTheirPlaces) {
    g_typeQuorba = TYPEQUORBA_Quorba2;
    g_abSwiKeys[101] = 83;
    g_abSwiKeys[113] = 9;   // switch C: absent on the Quorba/2
    g_abSwiKeys[301] = 24;  // player 3: absent
    g_asSwiUserText[101] = "Up";
    g_asSwiUserText[100] = "P12 shift";
    g_asSwiUserText[300] = "P34 shift";
    g_aswiShift[1] = 115;
    g_aswiShift[3] = 315;
    KeyArray ab12{}, ab34{};
    TextArray asText{};
    BuildAssignmentArrays(g_typeQuorba, ab12, ab34, asText);
    EXPECT_EQ(ab12[0], 13);
    EXPECT_EQ(ab12[1], 83);
    EXPECT_EQ(ab34[0], 13) << "the players 3-4 shift index is written on every board";
    for (std::size_t i = 1; i < ab34.size(); ++i) EXPECT_EQ(ab34[i], 0) << i;
    for (std::size_t i = 2; i < ab12.size(); ++i) EXPECT_EQ(ab12[i], 0) << i;
    EXPECT_EQ(asText[1], "Up");
    EXPECT_EQ(asText[0], "P12 shift");
    for (std::size_t i = 2; i < asText.size(); ++i) EXPECT_EQ(asText[i], "") << i;
}

TEST_F(QbcStoreTest, BuildWritesPlayers34ShiftTextOnlyOnQuorba4) {
    g_asSwiUserText[300] = "P34 shift";
    g_aswiShift[3] = 301;
    g_typeQuorba = TYPEQUORBA_Quorba4;
    KeyArray ab12{}, ab34{};
    TextArray asText{};
    BuildAssignmentArrays(g_typeQuorba, ab12, ab34, asText);
    EXPECT_EQ(asText[57], "P34 shift");
    EXPECT_EQ(ab34[0], 1);
    g_typeQuorba = TYPEQUORBA_QuorbaVexo;
    g_asSwiUserText[162] = "B shifted";
    KeyArray c12{}, c34{};
    TextArray cText{};
    BuildAssignmentArrays(g_typeQuorba, c12, c34, cText);
    EXPECT_EQ(cText[0], "");
    EXPECT_EQ(cText[44], "B shifted");
    for (int slot : {45, 46, 61, 62}) EXPECT_EQ(cText[static_cast<std::size_t>(slot)], "") << slot;
}

TEST_F(QbcStoreTest, ApplyClearsPlayers34FromATwoPlayerFileAndCallsBackOnce) {
    g_typeQuorba = TYPEQUORBA_Quorba4;
    g_abSwiKeys[301] = 24;
    g_asSwiUserText[301] = "old";
    g_asSwiUserText[300] = "old too";
    KeyArray ab12{}, ab34{};
    TextArray asText{};
    ab12[1] = 83;
    ab12[0] = 15;  // 201
    asText[0] = "shift text";
    asText[1] = "up";
    ApplyAssignmentArrays(TYPEQUORBA_Quorba2, ab12, ab34, asText);
    EXPECT_EQ(g_abSwiKeys[101], 83);
    EXPECT_EQ(g_abSwiKeys[301], 0);
    EXPECT_EQ(g_asSwiUserText[101], "up");
    EXPECT_EQ(g_asSwiUserText[100], "shift text");
    // No place in a two-player file's text order: no text, as no key.
    EXPECT_EQ(g_asSwiUserText[301], "");
    EXPECT_EQ(g_asSwiUserText[300], "");
    EXPECT_EQ(g_aswiShift[1], 201);
    EXPECT_EQ(g_aswiShift[3], 0);
    EXPECT_EQ(host.updates, std::vector<int>{-1});
    EXPECT_FALSE(g_fLoadingAssignments);
}

// Every input with a place in the file's download order but none in its text order loses
// the text of the document before, and none takes slot 0 (the players 1-2 shift text).
TEST_F(QbcStoreTest, ApplyGivesInputsWithoutATextSlotNoText) {
    const std::pair<std::int16_t, std::vector<int>> cases[] = {
        {TYPEQUORBA_Quorba2, {300, 301, 316, 366, 401, 466}},
        {TYPEQUORBA_QuorbaVexo, {163, 264, 300, 314, 363, 464}},
    };
    for (const auto& [fileType, noSlot] : cases) {
        for (int swi : noSlot) g_asSwiUserText[static_cast<std::size_t>(swi)] = "old";
        KeyArray ab12{}, ab34{};
        TextArray asText{};
        asText[0] = "shift text";
        ApplyAssignmentArrays(fileType, ab12, ab34, asText);
        for (int swi : noSlot) EXPECT_EQ(g_asSwiUserText[static_cast<std::size_t>(swi)], "") << fileType << " " << swi;
    }
}

TEST_F(QbcStoreTest, ApplyInCommandLineModeMakesNoCallBack) {
    g_fCommandLineMode = true;
    KeyArray ab12{}, ab34{};
    TextArray asText{};
    ab12[5] = 7;
    ApplyAssignmentArrays(TYPEQUORBA_QuorbaVexo, ab12, ab34, asText);
    EXPECT_TRUE(host.updates.empty());
}

TEST_F(QbcStoreTest, DefaultTemplatePathFollowsBoardType) {
    EXPECT_EQ(GetDefaultQbcTemplatePath(), "C:\\Keyloom\\Templates\\Default-2.qbc");
    g_typeQuorba = TYPEQUORBA_Quorba4;
    EXPECT_EQ(GetDefaultQbcTemplatePath(), "C:\\Keyloom\\Templates\\Default-4.qbc");
    g_typeQuorba = TYPEQUORBA_QuorbaVexo;
    EXPECT_EQ(GetDefaultQbcTemplatePath(), "C:\\Keyloom\\Templates\\Default-VEXO.qbc");
    g_typeQuorba = 9;
    EXPECT_EQ(GetDefaultQbcTemplatePath(), "C:\\Keyloom\\Templates\\Default-2.qbc");
}
