#include "core/SwiTables.h"

#include "core/Debug_.h"
#include "core/Globals.h"

namespace SwiTables {

namespace {

// Arithmetic on ids in 64 bits, so that no argument can overflow; a result outside
// 32 bits wraps (it is reported as invalid anyway).
std::int32_t Wrap(long long v) { return static_cast<std::int32_t>(static_cast<std::uint32_t>(v)); }

std::int32_t PlayerOf(std::int32_t swi) {
    if (swi >= 100 && swi <= 499) return swi / 100;
    return 0;
}

std::int32_t BaseOf(std::int32_t swi, bool fStripShift) {
    if (swi == 0) return 0;
    std::int32_t base = Wrap(static_cast<long long>(swi) - (PlayerOf(swi) - 1) * 100LL);
    if (fStripShift && base >= 150 && base <= 199) base -= 50;
    return base;
}

bool IsShifted(std::int32_t swi) {
    const std::int32_t r = swi % 100;
    return swi >= 150 && swi <= 499 && r >= 50;
}

bool IsVexo() { return g_typeQuorba == TYPEQUORBA_QuorbaVexo; }

struct NameParts {
    const char* shortPart;
    const char* longPart;  // part of the long short-name form
    const char* name;       // part of the long name
};

NameParts NamePartsOfKind(std::int32_t kind) {
    static const NameParts kTable[] = {
        {"SHIFT", "SHIFT", "Shift"},   {"UP", "UP", "Up"},           {"DOWN", "DOWN", "Down"},
        {"LEFT", "LEFT", "Left"},      {"RGHT", "RIGHT", "Right"},   {"SW1", "SW 1", "Switch 1"},
        {"SW2", "SW 2", "Switch 2"},   {"SW3", "SW 3", "Switch 3"},  {"SW4", "SW 4", "Switch 4"},
        {"SW5", "SW 5", "Switch 5"},   {"SW6", "SW 6", "Switch 6"},  {"SW7", "SW 7", "Switch 7"},
        {"SW8", "SW 8", "Switch 8"},   {"C", "C", "Switch C"},       {"D", "D", "Switch D"},
        {"STRT", "START", "Start"},    {"COIN", "COIN", "Coin"},
    };
    if (IsVexo() && kind == 111) return {"A", "A", "Switch A"};
    if (IsVexo() && kind == 112) return {"B", "B", "Switch B"};
    if (kind < 100 || kind > 116) return {"", "", ""};
    return kTable[kind - 100];
}

}  // namespace

bool IsValidSwi(std::int32_t swi) {
    if (swi == 0 || swi == 100 || swi == 300) return true;
    if (swi < 100 || swi > 466) return false;
    const std::int32_t r = swi % 100;
    return (r >= 1 && r <= 16) || (r >= 51 && r <= 66);
}

void CheckSwi(std::int32_t swi) {
    if (!IsValidSwi(swi)) Debug_::AssertFailed("Invalid swi value = " + std::to_string(swi));
}

bool IsSwiOnBoard(std::int32_t swi) {
    const bool fPlayers34 = swi >= 300 && swi <= 499;
    const std::int32_t r = swi >= 100 && swi <= 499 ? swi % 100 : -1;
    const bool fSwitchCD = r == 13 || r == 14;
    const bool fShiftedCD = r == 63 || r == 64;
    switch (g_typeQuorba) {
    case TYPEQUORBA_QuorbaVexo:
        return !fPlayers34 && !fShiftedCD;
    case TYPEQUORBA_Quorba4:
        // Switches C and D have no place in the Quorba/4's download order for any
        // player, so they count as absent for players 3 and 4 as well.
        return !fSwitchCD && !fShiftedCD;
    default:
        return !fPlayers34 && !fSwitchCD && !fShiftedCD;
    }
}

std::int32_t GetPlayerOfSwi(std::int32_t swi) {
    CheckSwi(swi);
    return PlayerOf(swi);
}

std::int32_t GetSwiBase(std::int32_t swi, bool fStripShift) {
    if (swi == 0) return 0;
    CheckSwi(swi);
    return BaseOf(swi, fStripShift);
}

bool IsShiftedSwi(std::int32_t swi) {
    CheckSwi(swi);
    return IsShifted(swi);
}

std::int32_t SwiForPlayer(std::int32_t swi, std::int32_t player) {
    if (swi == 0) return 0;
    const std::int32_t r = Wrap(GetSwiBase(swi, false) + (static_cast<long long>(player) - 1) * 100);
    CheckSwi(r);
    return r;
}

std::int32_t SetSwiShifted(std::int32_t swi, bool fShifted) {
    if (swi == 0) return 0;
    CheckSwi(swi);
    if (IsShifted(swi) == fShifted) return swi;
    const std::int32_t r = Wrap(static_cast<long long>(swi) + (fShifted ? 50 : -50));
    CheckSwi(r);
    return r;
}

std::int32_t MakeSwi(std::int32_t swi, std::int32_t player, bool fShifted) {
    if (swi == 0) return 0;
    CheckSwi(swi);
    std::int32_t r = Wrap(BaseOf(swi, true) + (static_cast<long long>(player) - 1) * 100);
    CheckSwi(r);
    if (fShifted) r = Wrap(static_cast<long long>(r) + 50);
    return r;
}

std::string GetSwiShortName(std::int32_t swi, bool fLong) {
    if (!IsValidSwi(swi)) {
        CheckSwi(swi);
        return {};
    }
    if (swi == 0) return {};
    const std::int32_t player = PlayerOf(swi);
    const std::int32_t kind = BaseOf(swi, true);
    const NameParts parts = NamePartsOfKind(kind);
    std::string sPart = fLong ? parts.longPart : parts.shortPart;
    if (sPart.empty()) return {};
    std::string sPrefix = fLong ? "P" + std::to_string(player) + " - " : std::to_string(player);
    if (kind == 100) sPrefix = player == 1 ? "P1/2 " : "P3/4 ";
    if (fLong && sPart.size() >= 2 && sPart.compare(0, 2, "SW") == 0) sPart = "SW " + sPart.substr(sPart.size() - 1);
    return sPrefix + sPart;
}

std::string GetSwiLongName(std::int32_t swi, bool fWithShift) {
    if (!IsValidSwi(swi)) {
        CheckSwi(swi);
        return {};
    }
    if (swi == 0) return {};
    const std::string sName = NamePartsOfKind(BaseOf(swi, true)).name;
    if (sName.empty()) return {};
    std::string s = fWithShift && IsShifted(swi) ? "Shift " : "";
    return s + "Player " + std::to_string(PlayerOf(swi)) + " " + sName;
}

}  // namespace SwiTables
