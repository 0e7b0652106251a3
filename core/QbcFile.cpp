#include "core/QbcFile.h"

#include <sstream>

#include "core/Debug_.h"
#include "core/Globals.h"
#include "core/Host.h"
#include "core/SwiTables.h"
#include "core/Util.h"

std::array<std::uint8_t, 500> g_abSwiKeys{};
std::array<std::string, 500> g_asSwiUserText{};
std::array<std::int32_t, 5> g_aswiShift{};
std::array<std::uint8_t, 16> g_abMacroKeys{};
bool g_fLoadingAssignments = false;

namespace QbcFile {

namespace {

using PosTable = std::array<std::int16_t, 500>;

// Download orders: the byte layout of one board page (position 0 the shift-key slot).
PosTable g_aposDownloadVexo{};  // positions 0-64
PosTable g_aposDownload2Or4{};  // positions 0-56
// Text orders: the slot of each input's user text in a key-assignment file.
PosTable g_aposTextVexo{};  // slots 0-64
PosTable g_aposText2{};     // slots 0-56
PosTable g_aposText4{};     // slots 0-113
bool g_fOrdersBuilt = false;

const char* const kDownloadVexo =
    "1^,1u,1r,11,1l,13,1d,15,12,2r,14,2l,16,2u,2d,21,1s,22,2s,23,1c,24,2c,25,1A,26,1B,2A,2B,1C,1D,2C,2D,"
    "^1u,^1r,^11,^1l,^13,^1d,^15,^12,^2r,^14,^2l,^16,^2u,^2d,^21,^1s,^22,^2s,^23,^1c,^24,^2c,^25,^1A,^26,^1B,"
    "^2A,^2B,^1C,^1D,^2C,^2D";
const char* const kDownload2Or4 =
    "1^,1u,1r,11,1l,13,1d,15,12,2r,14,2l,16,2u,2d,21,1s,22,2s,23,1c,24,2c,25,17,26,18,27,28,"
    "^1u,^1r,^11,^1l,^13,^1d,^15,^12,^2r,^14,^2l,^16,^2u,^2d,^21,^1s,^22,^2s,^23,^1c,^24,^2c,^25,^17,^26,^18,"
    "^27,^28";
const char* const kTextVexo =
    "1^,1u,1d,1l,1r,11,12,13,14,15,16,1A,1B,1C,1D,1s,1c,2u,2d,2l,2r,21,22,23,24,25,26,2A,2B,2C,2D,2s,2c,"
    "^1u,^1d,^1l,^1r,^11,^12,^13,^14,^15,^16,^1A,^1B,xx,xx,^1s,^1c,^2u,^2d,^2l,^2r,^21,^22,^23,^24,^25,^26,"
    "^2A,^2B,xx,xx,^2s,^2c";
const char* const kText2Plain =
    "1^,1u,1d,1l,1r,11,12,13,14,15,16,17,18,1s,1c,2u,2d,2l,2r,21,22,23,24,25,26,27,28,2s,2c,";
const char* const kText2Shifted =
    "^1u,^1d,^1l,^1r,^11,^12,^13,^14,^15,^16,^17,^18,^1s,^1c,^2u,^2d,^2l,^2r,^21,^22,^23,^24,^25,^26,^27,^28,"
    "^2s,^2c";
const char* const kText34Plain =
    "3^,3u,3d,3l,3r,31,32,33,34,35,36,37,38,3s,3c,4u,4d,4l,4r,41,42,43,44,45,46,47,48,4s,4c,";
const char* const kText34Shifted =
    "^3u,^3d,^3l,^3r,^31,^32,^33,^34,^35,^36,^37,^38,^3s,^3c,^4u,^4d,^4l,^4r,^41,^42,^43,^44,^45,^46,^47,^48,"
    "^4s,^4c";

void ParseSwiList(const std::string& sList, PosTable& table) {
    std::int16_t pos = 0;
    std::size_t start = 0;
    for (;;) {
        const std::size_t comma = sList.find(',', start);
        const std::string sToken = sList.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
        const std::int32_t swi = ParseSwiName(sToken);
        if (swi >= 100 && swi <= 499) table[static_cast<std::size_t>(swi)] = pos;
        if (comma == std::string::npos) break;
        start = comma + 1;
        ++pos;
    }
}

bool InStore(std::int32_t swi) { return swi != 0 && SwiTables::IsValidSwi(swi); }

void NotifyChanged(std::int32_t swi) {
    if (!g_fCommandLineMode && !g_fLoadingAssignments) Host().UpdateSwiBindings(swi);
}

// Kind of an id with its player and shift removed, without a second validity report.
std::int32_t KindOf(std::int32_t swi) {
    const long long player = swi >= 100 && swi <= 499 ? swi / 100 : 0;
    long long kind = swi - (player - 1) * 100;
    if (kind >= 150 && kind <= 199) kind -= 50;
    return static_cast<std::int32_t>(kind);
}

std::uint8_t ClampShiftIndex(std::int32_t v) { return v < 0 || v > 255 ? 0 : static_cast<std::uint8_t>(v); }

std::string NumberLine(long v) { return " " + std::to_string(v) + " \r\n"; }

// Rule of the number lines: the leading number rounded, low 8 bits; a value beyond 32
// bits leaves the element as it was.
void StoreByteOfLine(const std::string& sLine, std::uint8_t& b) {
    if (const auto v = Util::CLng(Util::Val(sLine))) b = static_cast<std::uint8_t>(static_cast<std::uint32_t>(*v) & 0xFF);
}

class LoadingFlag {
public:
    LoadingFlag() { g_fLoadingAssignments = true; }
    ~LoadingFlag() { g_fLoadingAssignments = false; }
    LoadingFlag(const LoadingFlag&) = delete;
    LoadingFlag& operator=(const LoadingFlag&) = delete;
};

}  // namespace

// ---- store accessors ----

std::uint8_t GetSwiKey(std::int16_t swi) {
    SwiTables::CheckSwi(swi);
    return InStore(swi) ? g_abSwiKeys[static_cast<std::size_t>(swi)] : 0;
}

void SetSwiKey(std::int16_t swi, std::uint8_t key) {
    SwiTables::CheckSwi(swi);
    if (!InStore(swi)) return;
    g_abSwiKeys[static_cast<std::size_t>(swi)] = key;
    NotifyChanged(swi);
}

std::string GetSwiUserText(std::int16_t swi) {
    SwiTables::CheckSwi(swi);
    return InStore(swi) ? g_asSwiUserText[static_cast<std::size_t>(swi)] : std::string();
}

void SetSwiUserText(std::int16_t swi, const std::string& sText) {
    SwiTables::CheckSwi(swi);
    if (!InStore(swi)) return;
    std::string& sStored = g_asSwiUserText[static_cast<std::size_t>(swi)];
    if (sStored == sText) return;
    sStored = sText;
    NotifyChanged(swi);
}

std::int32_t GetShiftSwi(std::int16_t swi) { return swi >= 300 && swi <= 499 ? g_aswiShift[3] : g_aswiShift[1]; }

void SetShiftSwi(std::int16_t swi, std::int32_t swiShift) {
    if (swiShift == 100 || swiShift == 300) swiShift = 0;
    if (swi >= 300 && swi <= 499) {
        if (swiShift >= 100 && swiShift <= 299) swiShift += 200;
        g_aswiShift[3] = swiShift;
    } else {
        if (swiShift >= 300 && swiShift <= 499) swiShift -= 200;
        g_aswiShift[1] = swiShift;
    }
}

// ---- switch orders ----

std::int32_t ParseSwiName(const std::string& sSwiName) {
    if (sSwiName == "xx") return 0;
    std::string s = sSwiName;
    const bool fShifted = !s.empty() && s[0] == '^';
    if (fShifted) s.erase(0, 1);
    std::int32_t kind = 0;
    if (!s.empty()) {
        const char c = s.back();
        switch (c) {
        case '^': kind = 100; break;
        case 'u': kind = 101; break;
        case 'd': kind = 102; break;
        case 'l': kind = 103; break;
        case 'r': kind = 104; break;
        case 'A': kind = 111; break;
        case 'B': kind = 112; break;
        case 'C': kind = 113; break;
        case 'D': kind = 114; break;
        case 's': kind = 115; break;
        case 'c': kind = 116; break;
        default:
            if (c >= '1' && c <= '8') kind = 105 + (c - '1');
            break;
        }
    }
    if (kind == 0) {
        Debug_::AssertFailed("Badly formatted sSwiName=" + s);
        return 0;
    }
    const std::int32_t player = s[0] >= '0' && s[0] <= '9' ? s[0] - '0' : 0;
    return SwiTables::MakeSwi(kind, player, fShifted);
}

void InitSwiOrderTables() {
    if (g_fOrdersBuilt) return;
    g_fOrdersBuilt = true;
    ParseSwiList(kDownloadVexo, g_aposDownloadVexo);
    ParseSwiList(kDownload2Or4, g_aposDownload2Or4);
    ParseSwiList(kTextVexo, g_aposTextVexo);
    ParseSwiList(std::string(kText2Plain) + kText2Shifted, g_aposText2);
    ParseSwiList(std::string(kText2Plain) + kText2Shifted + "," + kText34Plain + kText34Shifted, g_aposText4);
}

std::int16_t GetDownloadPosOfSwi(std::int16_t boardType, std::int32_t swi, bool& fP34) {
    InitSwiOrderTables();
    if (!SwiTables::IsValidSwi(swi)) return -1;
    if (swi == 0) return 0;
    if (swi >= 300) {
        fP34 = true;
        swi -= 200;
    }
    const PosTable& table = boardType == TYPEQUORBA_QuorbaVexo ? g_aposDownloadVexo : g_aposDownload2Or4;
    return table[static_cast<std::size_t>(swi)];
}

std::int16_t GetTextIndexOfSwi(std::int16_t boardType, std::int32_t swi) {
    InitSwiOrderTables();
    if (swi < 100 || swi > 499) return 0;
    switch (boardType) {
    case TYPEQUORBA_Quorba2: return g_aposText2[static_cast<std::size_t>(swi)];
    case TYPEQUORBA_Quorba4: return g_aposText4[static_cast<std::size_t>(swi)];
    case TYPEQUORBA_QuorbaVexo: return g_aposTextVexo[static_cast<std::size_t>(swi)];
    default: return 0;
    }
}

// ---- array conversion ----

void BuildAssignmentArrays(std::int16_t boardType, KeyArray& ab12, KeyArray& ab34, TextArray& asText) {
    for (std::int32_t swi = 100; swi <= 499; ++swi) {
        if (!SwiTables::IsValidSwi(swi) || !SwiTables::IsSwiOnBoard(swi)) continue;
        bool fP34 = false;
        const std::int16_t pos = GetDownloadPosOfSwi(boardType, swi, fP34);
        if (pos <= 0 || pos >= static_cast<std::int16_t>(ab12.size())) continue;
        (fP34 ? ab34 : ab12)[static_cast<std::size_t>(pos)] = g_abSwiKeys[static_cast<std::size_t>(swi)];
        asText[static_cast<std::size_t>(GetTextIndexOfSwi(boardType, swi))] = g_asSwiUserText[static_cast<std::size_t>(swi)];
    }
    ab12[0] = ClampShiftIndex(ShiftSwiToQbcShiftKey(boardType, g_aswiShift[1]));
    asText[static_cast<std::size_t>(GetTextIndexOfSwi(boardType, 100))] = g_asSwiUserText[100];
    ab34[0] = ClampShiftIndex(ShiftSwiToQbcShiftKey(boardType, g_aswiShift[3]));
    if (g_typeQuorba == TYPEQUORBA_Quorba4)
        asText[static_cast<std::size_t>(GetTextIndexOfSwi(boardType, 300))] = g_asSwiUserText[300];
}

namespace {

// The text a file gives an input. One without a slot in the file's text order (players
// 3-4 and their shift input in a two-player file, the shifted switches C and D of a
// Quorba/Vexo file) gets none, just as its key gets the file's zero: it neither keeps
// the text of the document before nor takes slot 0, the players 1-2 shift text.
const std::string& FileTextOf(std::int16_t boardType, std::int32_t swi, const TextArray& asText) {
    static const std::string kNone;
    const std::int16_t slot = GetTextIndexOfSwi(boardType, swi);
    return slot > 0 ? asText[static_cast<std::size_t>(slot)] : kNone;
}

}  // namespace

void ApplyAssignmentArrays(std::int16_t boardType, const KeyArray& ab12, const KeyArray& ab34,
                           const TextArray& asText) {
    {
        LoadingFlag loading;
        for (std::int32_t swi = 100; swi <= 499; ++swi) {
            bool fP34 = false;
            const std::int16_t pos = GetDownloadPosOfSwi(boardType, swi, fP34);
            if (pos <= 0 || pos >= static_cast<std::int16_t>(ab12.size())) continue;
            const auto id = static_cast<std::int16_t>(swi);
            SetSwiKey(id, (fP34 ? ab34 : ab12)[static_cast<std::size_t>(pos)]);
            SetSwiUserText(id, FileTextOf(boardType, swi, asText));
        }
        g_aswiShift[1] = QbcShiftKeyToShiftSwi(boardType, ab12[0], false);
        g_aswiShift[3] = QbcShiftKeyToShiftSwi(boardType, ab34[0], true);
        SetSwiUserText(100, asText[static_cast<std::size_t>(GetTextIndexOfSwi(boardType, 100))]);
        SetSwiUserText(300, FileTextOf(boardType, 300, asText));
    }
    if (!g_fCommandLineMode) Host().UpdateSwiBindings(-1);
}

// ---- shift-key conversions ----

std::int32_t ShiftSwiToQbcShiftKey(std::int16_t boardType, std::int32_t swiShift) {
    if (swiShift == 0) return 0;
    std::int32_t player = SwiTables::GetPlayerOfSwi(swiShift);
    if (player >= 3) player -= 2;
    const std::int32_t kind = KindOf(swiShift);
    std::int32_t n;
    if (kind == 100) {
        n = 0;
    } else if (kind >= 101 && kind <= 116) {
        n = kind - 100;  // Quorba/Vexo: 1-16 in kind order
        if (boardType != TYPEQUORBA_QuorbaVexo) {
            if (kind == 113 || kind == 114) n = kind - 102;  // C, D: 11, 12 (absent there)
            if (kind == 115 || kind == 116) n = kind - 102;  // start 13, coin 14
        }
    } else {
        return 0;
    }
    if (player == 2) n += boardType == TYPEQUORBA_QuorbaVexo ? 16 : 14;
    return n;
}

std::int32_t QbcShiftKeyToShiftSwi(std::int16_t boardType, std::int32_t index, bool fP34) {
    if (index == 0) return 0;
    std::int32_t swi = 0;
    if (boardType == TYPEQUORBA_QuorbaVexo) {
        if (index > 32) index -= 32;
        if (index >= 1 && index <= 16) swi = 100 + index;
        else if (index >= 17 && index <= 32) swi = 200 + index - 16;
    } else {
        if (index >= 57) index -= 57;
        if (index > 28) index -= 28;
        if (index >= 1 && index <= 12) swi = 100 + index;
        else if (index == 13) swi = 115;
        else if (index == 14) swi = 116;
        else if (index >= 15 && index <= 26) swi = 200 + index - 14;
        else if (index == 27) swi = 215;
        else if (index == 28) swi = 216;
    }
    if (swi != 0 && fP34) swi += 200;
    return swi;
}

std::int32_t QbcShiftKeyToQuorbaShiftKey(std::int32_t index) {
    switch (g_typeQuorba) {
    case TYPEQUORBA_Quorba2:
    case TYPEQUORBA_Quorba4: return QbcShiftKeyToQuorbaShiftKey_2Or4e(index);
    case TYPEQUORBA_QuorbaVexo: return QbcShiftKeyToQuorbaShiftKey_Vexo(index);
    default:
        Debug_::AssertFailed("Bad g_typeQuorba value: " + std::to_string(g_typeQuorba));
        return QbcShiftKeyToQuorbaShiftKey_2Or4e(index);
    }
}

std::int32_t QbcShiftKeyToQuorbaShiftKey_2Or4e(std::int32_t index) {
    static const std::int32_t kCodes[29] = {0,  1,  6,  4,  2,  3,  8,  5,  10, 7,  12, 24, 26, 16, 20,
                                            13, 14, 11, 9,  15, 17, 19, 21, 23, 25, 27, 28, 18, 22};
    if (index >= 57) index -= 57;
    if (index > 28) index -= 28;
    if (index >= 0 && index <= 28) return kCodes[index];
    Debug_::AssertFailed("QbcShiftKeyToQuorbaShiftKey_2Or4e: Unexpected index=" + std::to_string(index));
    return 0;
}

std::int32_t QbcShiftKeyToQuorbaShiftKey_Vexo(std::int32_t index) {
    static const std::int32_t kCodes[33] = {0,  1,  6,  4,  2,  3,  8,  5,  10, 7,  12, 24, 26, 29, 30, 16, 20,
                                            13, 14, 11, 9,  15, 17, 19, 21, 23, 25, 27, 28, 31, 32, 18, 22};
    if (index > 32) index -= 32;
    if (index >= 0 && index <= 32) return kCodes[index];
    Debug_::AssertFailed("QbcShiftKeyToQuorbaShiftKey_Vexo: Unexpected index=" + std::to_string(index));
    return 0;
}

std::string GetDefaultQbcTemplatePath() {
    const char* sName = "Default-2.qbc";
    if (g_typeQuorba == TYPEQUORBA_Quorba4) sName = "Default-4.qbc";
    else if (g_typeQuorba == TYPEQUORBA_QuorbaVexo) sName = "Default-VEXO.qbc";
    return Host().AppPath() + "\\Templates\\" + sName;
}

// ---- the file ----

void WriteQbcTo(std::ostream& out) {
    KeyArray ab12{};
    KeyArray ab34{};
    TextArray asText{};
    BuildAssignmentArrays(g_typeQuorba, ab12, ab34, asText);
    std::string s;
    for (std::size_t p = 0; p < ab12.size(); ++p) {
        s += NumberLine(ab12[p]);
        s += NumberLine(ab34[p]);
    }
    for (std::string sText : asText) {
        if (sText.empty()) {
            sText = " 0 ";
        } else {
            // A line break would shift every later line of the file.
            for (char& c : sText)
                if (c == '\r' || c == '\n') c = ' ';
        }
        s += sText + "\r\n";
    }
    for (const std::uint8_t b : g_abMacroKeys) s += NumberLine(b);
    s += NumberLine(g_typeQuorba);
    out << s;
}

void SaveQbcFile(const std::string& sPath) {
    std::ostringstream out;
    WriteQbcTo(out);
    Util::WriteFileReplacing(sPath, out.str());
}

void ReadQbcFrom(std::istream* in) {
    KeyArray ab12{};
    KeyArray ab34{};
    TextArray asText{};
    Util::LineReader reader(in);
    std::string sLine;  // a failed read keeps the previous line's text
    for (std::size_t p = 0; p < ab12.size(); ++p) {
        reader.ReadLine(sLine);
        StoreByteOfLine(sLine, ab12[p]);
        reader.ReadLine(sLine);
        StoreByteOfLine(sLine, ab34[p]);
    }
    for (std::string& sText : asText) {
        reader.ReadLine(sLine);
        if (sLine.empty()) reader.ReadLine(sLine);
        sText = sLine == " 0 " ? std::string() : sLine;
    }
    for (std::uint8_t& b : g_abMacroKeys) {
        reader.ReadLine(sLine);
        StoreByteOfLine(sLine, b);
    }
    std::int16_t boardType = 0;
    do {
        reader.ReadLine(sLine);
        const double v = Util::Val(sLine);
        if (v != 0.0) {
            if (const auto n = Util::CInt(v)) boardType = *n;
        }
    } while (!reader.AtEnd());
    if (boardType != TYPEQUORBA_Quorba2 && boardType != TYPEQUORBA_Quorba4 && boardType != TYPEQUORBA_QuorbaVexo)
        boardType = TYPEQUORBA_Quorba2;
    ApplyAssignmentArrays(boardType, ab12, ab34, asText);
}

void LoadQbcFile(const std::string& sPath) {
    // Read whole before anything changes: a file another program holds, or one a frontend
    // left empty, would otherwise set every key to none (and a board programmed from it
    // would go dead).
    const std::string sContent = Util::ReadWholeFile(sPath);
    if (sContent.empty()) throw Util::FileReadError(sPath, "the file is empty");
    std::istringstream in(sContent);
    ReadQbcFrom(&in);
}

}  // namespace QbcFile
