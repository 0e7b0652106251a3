#pragma once
// Encoder inputs. Every switch a board can read is one small integer, the swi:
// (player - 1) x 100 + kind, plus 50 for the shifted meaning of the same switch.
// Kinds: 100 shift input of a player pair (only 100 and 300 exist), 101-104 up, down,
// left, right, 105-112 switches 1-8 (Quorba/Vexo: 111 and 112 are switches A and B),
// 113-114 switches C and D, 115 start, 116 coin. 0 = no input.
//
// All answers depend only on the arguments and on g_typeQuorba. An invalid id is
// reported through Debug_::AssertFailed and processing goes on with it unchanged.
#include <cstdint>
#include <string>

namespace SwiTables {

// True for 0, 100-116, 151-166, 201-216, 251-266, 300-316, 351-366, 401-416, 451-466.
bool IsValidSwi(std::int32_t swi);
// Reports "Invalid swi value = <swi>" when the id is not valid.
void CheckSwi(std::int32_t swi);
// Whether the input exists on the board of g_typeQuorba (validity is not checked).
// Switches C and D exist only on the Quorba/Vexo, and there only unshifted; players 3
// and 4 only on the Quorba/4.
bool IsSwiOnBoard(std::int32_t swi);
// 1-4 for an id of that player, 0 for 0 and anything else.
std::int32_t GetPlayerOfSwi(std::int32_t swi);
// The id as player 1's (100-116, 150-166 shifted); with fStripShift the shift is dropped.
std::int32_t GetSwiBase(std::int32_t swi, bool fStripShift);
bool IsShiftedSwi(std::int32_t swi);
// The same switch, same shift state, for another player.
std::int32_t SwiForPlayer(std::int32_t swi, std::int32_t player);
// The id with the requested shift state.
std::int32_t SetSwiShifted(std::int32_t swi, bool fShifted);
// The switch of swi (kind), for player, shifted or not.
std::int32_t MakeSwi(std::int32_t swi, std::int32_t player, bool fShifted);
// "1UP", "2RGHT", "P1/2 SHIFT"; long form "P1 - UP", "P2 - RIGHT", "P3/4 SHIFT". The
// shifted meaning has the plain one's name. Empty for 0 and invalid ids.
std::string GetSwiShortName(std::int32_t swi, bool fLong);
// "Player 1 Up", "Shift Player 2 Switch 3" (fWithShift and a shifted id), "Player 3 Shift".
std::string GetSwiLongName(std::int32_t swi, bool fWithShift);

}  // namespace SwiTables
