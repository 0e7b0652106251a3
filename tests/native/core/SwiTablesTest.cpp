#include "CoreTestSupport.h"
#include "core/SwiTables.h"

using namespace SwiTables;

class SwiTablesTest : public CoreTest {};

TEST_F(SwiTablesTest, ValidSetIsExactlyTheListedRanges) {
    for (int swi : {0, 100, 116, 151, 166, 300, 466}) EXPECT_TRUE(IsValidSwi(swi)) << swi;
    for (int swi : {117, 150, 167, 200, 250, 400, 450, 467, -1, 99, 500, 1000000}) EXPECT_FALSE(IsValidSwi(swi)) << swi;
    int count = 0;
    for (int swi = -1000; swi < 1000; ++swi) count += IsValidSwi(swi);
    // 0, the two shift inputs, and 16 plain + 16 shifted switches for each of four players.
    EXPECT_EQ(count, 1 + 2 + 4 * 32);
    EXPECT_TRUE(host.traces.empty()) << "IsValidSwi never reports";
}

TEST_F(SwiTablesTest, CheckSwiReportsInvalidIdsOnly) {
    CheckSwi(101);
    EXPECT_TRUE(host.traces.empty());
    CheckSwi(200);
    ASSERT_EQ(host.traces.size(), 1u);
    EXPECT_EQ(host.traces[0], "Assertion Failure:  Invalid swi value = 200");
    CheckSwi(-5);
    EXPECT_EQ(host.traces.back(), "Assertion Failure:  Invalid swi value = -5");
}

TEST_F(SwiTablesTest, PresenceDependsOnBoardType) {
    g_typeQuorba = TYPEQUORBA_QuorbaVexo;
    EXPECT_TRUE(IsSwiOnBoard(113));
    EXPECT_TRUE(IsSwiOnBoard(213));
    EXPECT_FALSE(IsSwiOnBoard(163));
    EXPECT_FALSE(IsSwiOnBoard(263));
    EXPECT_FALSE(IsSwiOnBoard(301));
    EXPECT_FALSE(IsSwiOnBoard(300));
    EXPECT_TRUE(IsSwiOnBoard(0));
    g_typeQuorba = TYPEQUORBA_Quorba2;
    for (int swi : {113, 114, 163, 164, 213, 214, 263, 264, 301, 300, 466}) EXPECT_FALSE(IsSwiOnBoard(swi)) << swi;
    EXPECT_TRUE(IsSwiOnBoard(100));
    EXPECT_TRUE(IsSwiOnBoard(0));
    g_typeQuorba = TYPEQUORBA_Quorba4;
    EXPECT_TRUE(IsSwiOnBoard(301));
    EXPECT_TRUE(IsSwiOnBoard(300));
    EXPECT_TRUE(IsSwiOnBoard(466));
    for (int swi : {113, 114, 163, 164, 213, 214, 263, 264}) EXPECT_FALSE(IsSwiOnBoard(swi)) << swi;
    // No place in the Quorba/4 orders for players 3-4's switches C and D either.
    for (int swi : {313, 314, 363, 364, 413, 414, 463, 464}) EXPECT_FALSE(IsSwiOnBoard(swi)) << swi;
    g_typeQuorba = 3;  // any other value behaves as the Quorba/2
    EXPECT_FALSE(IsSwiOnBoard(301));
    EXPECT_TRUE(IsSwiOnBoard(116));
}

TEST_F(SwiTablesTest, PlayerBaseAndShiftArithmetic) {
    EXPECT_EQ(GetPlayerOfSwi(0), 0);
    EXPECT_EQ(GetPlayerOfSwi(100), 1);
    EXPECT_EQ(GetPlayerOfSwi(266), 2);
    EXPECT_EQ(GetPlayerOfSwi(300), 3);
    EXPECT_EQ(GetPlayerOfSwi(466), 4);
    EXPECT_EQ(GetSwiBase(262, false), 162);
    EXPECT_EQ(GetSwiBase(262, true), 112);
    EXPECT_EQ(GetSwiBase(0, true), 0);
    EXPECT_EQ(GetSwiBase(300, true), 100);
    EXPECT_TRUE(IsShiftedSwi(151));
    EXPECT_TRUE(IsShiftedSwi(466));
    EXPECT_FALSE(IsShiftedSwi(416));
    EXPECT_FALSE(IsShiftedSwi(300));
    EXPECT_EQ(SwiForPlayer(152, 4), 452);
    EXPECT_EQ(SwiForPlayer(0, 3), 0);
    EXPECT_EQ(SetSwiShifted(452, false), 402);
    EXPECT_EQ(SetSwiShifted(402, false), 402);
    EXPECT_EQ(SetSwiShifted(402, true), 452);
    EXPECT_EQ(SetSwiShifted(0, true), 0);
    EXPECT_EQ(MakeSwi(105, 3, true), 355);
    EXPECT_EQ(MakeSwi(155, 2, false), 205);
    EXPECT_EQ(MakeSwi(100, 3, false), 300);
    EXPECT_TRUE(host.traces.empty());
}

TEST_F(SwiTablesTest, ResultsOutsideTheValidSetAreReportedButReturned) {
    // The players 1-2 shift input moved to player 2.
    EXPECT_EQ(SwiForPlayer(100, 2), 200);
    EXPECT_EQ(host.Assertions(), std::vector<std::string>{"Invalid swi value = 200"});
    host.traces.clear();
    EXPECT_EQ(SetSwiShifted(100, true), 150);
    EXPECT_EQ(host.Assertions(), std::vector<std::string>{"Invalid swi value = 150"});
    host.traces.clear();
    // MakeSwi adds the 50 without a second check.
    EXPECT_EQ(MakeSwi(100, 1, true), 150);
    EXPECT_TRUE(host.traces.empty());
    // Arguments far out of range must not overflow.
    EXPECT_NO_FATAL_FAILURE(SwiForPlayer(2147483647, 2147483647));
    EXPECT_NO_FATAL_FAILURE(MakeSwi(-2147483647 - 1, -2147483647 - 1, true));
    EXPECT_NO_FATAL_FAILURE(SetSwiShifted(-2147483647 - 1, true));
}

TEST_F(SwiTablesTest, ShortNames) {
    EXPECT_EQ(GetSwiShortName(101, false), "1UP");
    EXPECT_EQ(GetSwiShortName(204, false), "2RGHT");
    EXPECT_EQ(GetSwiShortName(107, false), "1SW3");
    EXPECT_EQ(GetSwiShortName(416, false), "4COIN");
    EXPECT_EQ(GetSwiShortName(152, false), "1DOWN");
    EXPECT_EQ(GetSwiShortName(111, false), "1SW7");
    EXPECT_EQ(GetSwiShortName(104, true), "P1 - RIGHT");
    EXPECT_EQ(GetSwiShortName(107, true), "P1 - SW 3");
    EXPECT_EQ(GetSwiShortName(315, true), "P3 - START");
    EXPECT_EQ(GetSwiShortName(300, true), "P3/4 SHIFT");
    EXPECT_EQ(GetSwiShortName(100, false), "P1/2 SHIFT");
    EXPECT_EQ(GetSwiShortName(213, false), "2C");
    g_typeQuorba = TYPEQUORBA_Quorba4;
    EXPECT_EQ(GetSwiShortName(111, false), "1SW7");
    EXPECT_EQ(GetSwiShortName(112, true), "P1 - SW 8");
    g_typeQuorba = TYPEQUORBA_QuorbaVexo;
    EXPECT_EQ(GetSwiShortName(111, false), "1A");
    EXPECT_EQ(GetSwiShortName(212, true), "P2 - B");
    EXPECT_EQ(GetSwiShortName(0, false), "");
    EXPECT_TRUE(host.traces.empty());
}

TEST_F(SwiTablesTest, LongNames) {
    EXPECT_EQ(GetSwiLongName(101, true), "Player 1 Up");
    EXPECT_EQ(GetSwiLongName(257, true), "Shift Player 2 Switch 3");
    EXPECT_EQ(GetSwiLongName(257, false), "Player 2 Switch 3");
    EXPECT_EQ(GetSwiLongName(300, true), "Player 3 Shift");
    EXPECT_EQ(GetSwiLongName(165, true), "Shift Player 1 Start");
    EXPECT_EQ(GetSwiLongName(165, false), "Player 1 Start");
    EXPECT_EQ(GetSwiLongName(0, true), "");
    g_typeQuorba = TYPEQUORBA_QuorbaVexo;
    EXPECT_EQ(GetSwiLongName(111, false), "Player 1 Switch A");
    EXPECT_EQ(GetSwiLongName(114, false), "Player 1 Switch D");
}

TEST_F(SwiTablesTest, InvalidIdGivesEmptyNameAfterOneReport) {
    EXPECT_EQ(GetSwiShortName(117, false), "");
    EXPECT_EQ(host.Assertions().size(), 1u);
    EXPECT_EQ(GetSwiShortName(250, true), "");
    EXPECT_EQ(host.Assertions().size(), 2u);
    EXPECT_EQ(GetSwiLongName(400, true), "");
    EXPECT_EQ(host.Assertions(), (std::vector<std::string>{"Invalid swi value = 117", "Invalid swi value = 250",
                                                           "Invalid swi value = 400"}));
}

TEST_F(SwiTablesTest, EveryValidIdHasANameOnEveryBoard) {
    for (std::int16_t type : {TYPEQUORBA_Quorba2, TYPEQUORBA_Quorba4, TYPEQUORBA_QuorbaVexo}) {
        g_typeQuorba = type;
        for (int swi = 100; swi <= 466; ++swi) {
            if (!IsValidSwi(swi)) continue;
            EXPECT_FALSE(GetSwiShortName(swi, false).empty()) << swi;
            EXPECT_FALSE(GetSwiShortName(swi, true).empty()) << swi;
            EXPECT_FALSE(GetSwiLongName(swi, true).empty()) << swi;
        }
    }
    EXPECT_TRUE(host.traces.empty());
}
