#include "core/KeyTables.h"

#include "core/Debug_.h"
#include "core/Error_.h"
#include "core/Trace_.h"
#include "core/Util.h"

namespace KeyTables {

namespace {

// One key: number, display name (nullptr: none), virtual key (-1: none), PS/2 code as
// its 16-bit pattern (0xE0xx for prefixed codes; the Windows and power keys are held
// in their one-byte download form).
struct KeyRow {
    std::uint8_t key;
    const char* name;
    std::int16_t vk;
    std::uint16_t ps2;
};

// clang-format off
constexpr KeyRow kKeys[] = {
    {0, "(none)", -1, 0x0000},
    {1, "`", 192, 0x000E},
    {2, "1", 49, 0x0016},
    {3, "2", 50, 0x001E},
    {4, "3", 51, 0x0026},
    {5, "4", 52, 0x0025},
    {6, "5", 53, 0x002E},
    {7, "6", 54, 0x0036},
    {8, "7", 55, 0x003D},
    {9, "8", 56, 0x003E},
    {10, "9", 57, 0x0046},
    {11, "0", 48, 0x0045},
    {12, "-", 189, 0x004E},
    {13, "=", 187, 0x0055},
    {14, nullptr, -1, 0x0000},
    {15, "BACKSPACE", 8, 0x0066},
    {16, "TAB", 9, 0x000D},
    {17, "Q", 81, 0x0015},
    {18, "W", 87, 0x001D},
    {19, "E", 69, 0x0024},
    {20, "R", 82, 0x002D},
    {21, "T", 84, 0x002C},
    {22, "Y", 89, 0x0035},
    {23, "U", 85, 0x003C},
    {24, "I", 73, 0x0043},
    {25, "O", 79, 0x0044},
    {26, "P", 80, 0x004D},
    {27, "[", 219, 0x0054},
    {28, "]", 221, 0x005B},
    {29, "\\", 220, 0x005D},
    {30, "CAPSLCK", 20, 0x0058},
    {31, "A", 65, 0x001C},
    {32, "S", 83, 0x001B},
    {33, "D", 68, 0x0023},
    {34, "F", 70, 0x002B},
    {35, "G", 71, 0x0034},
    {36, "H", 72, 0x0033},
    {37, "J", 74, 0x003B},
    {38, "K", 75, 0x0042},
    {39, "L", 76, 0x004B},
    {40, ";", 186, 0x004C},
    {41, "'", 222, 0x0052},
    {42, nullptr, -1, 0x005D},
    {43, "ENTER", 13, 0x005A},
    {44, "L.SHIFT", 16, 0x0012},
    {45, nullptr, -1, 0x0061},
    {46, "Z", 90, 0x001A},
    {47, "X", 88, 0x0022},
    {48, "C", 67, 0x0021},
    {49, "V", 86, 0x002A},
    {50, "B", 66, 0x0032},
    {51, "N", 78, 0x0031},
    {52, "M", 77, 0x003A},
    {53, ",", 188, 0x0041},
    {54, ".", 190, 0x0049},
    {55, "/", 191, 0x004A},
    {56, nullptr, -1, 0x0000},
    {57, "R.SHIFT", -1, 0x0059},
    {58, "L.CTRL", 17, 0x0014},
    {59, nullptr, -1, 0x0000},
    {60, "L.ALT", 18, 0x0011},
    {61, "SPACE", 32, 0x0029},
    {62, "R.ALT", -1, 0xE011},
    {64, "R.CTRL", -1, 0xE014},
    {75, "INSERT", 45, 0xE070},
    {76, "DELETE", 46, 0xE071},
    {79, "LEFT", 37, 0xE06B},
    {80, "HOME", 36, 0xE06C},
    {81, "END", 35, 0xE069},
    {83, "UP", 38, 0xE075},
    {84, "DOWN", 40, 0xE072},
    {85, "PAGE UP", 33, 0xE07D},
    {86, "PAGE DN", 34, 0xE07A},
    {89, "RIGHT", 39, 0xE074},
    {90, "NUM LCK", 144, 0x0077},
    {91, "NUM 7", 103, 0x006C},
    {92, "NUM 4", 100, 0x006B},
    {93, "NUM 1", 97, 0x0069},
    {95, "NUM /", 111, 0xE04A},
    {96, "NUM 8", 104, 0x0075},
    {97, "NUM 5", 101, 0x0073},
    {98, "NUM 2", 98, 0x0072},
    {99, "NUM 0", 96, 0x0070},
    {100, "NUM *", 106, 0x007C},
    {101, "NUM 9", 105, 0x007D},
    {102, "NUM 6", 102, 0x0074},
    {103, "NUM 3", 99, 0x007A},
    {104, "NUM .", 110, 0x0071},
    {105, "NUM -", 109, 0x007B},
    {106, "NUM +", 107, 0x0079},
    {108, "NUM ENTER", -1, 0xE05A},
    {110, "ESCAPE", 27, 0x0076},
    {112, "F1", 112, 0x0005},
    {113, "F2", 113, 0x0006},
    {114, "F3", 114, 0x0004},
    {115, "F4", 115, 0x000C},
    {116, "F5", 116, 0x0003},
    {117, "F6", 117, 0x000B},
    {118, "F7", 118, 0x0083},
    {119, "F8", 119, 0x000A},
    {120, "F9", 120, 0x0001},
    {121, "F10", 121, 0x0009},
    {122, "F11", 122, 0x0078},
    {123, "F12", 123, 0x0007},
    {125, nullptr, -1, 0x007E},
    {126, "L.WIN", 91, 0x009F},
    {127, "R.WIN", 92, 0x00A7},
    {128, "APP", 93, 0x00AF},
    {129, "POWER", -1, 0x00B7},
    {130, "SLEEP", 95, 0x00BF},
    {131, "WAKE", -1, 0x00DE},
    {132, "MACRO 1", -1, 0x00E0},
    {133, "MACRO 2", -1, 0x00E1},
    {134, "MACRO 3", -1, 0x00E2},
    {135, "MACRO 4", -1, 0x00E3},
};
// clang-format on

struct Lookup {
    std::array<const char*, 256> names{};
    std::array<bool, 256> hasPs2{};
    std::array<std::uint16_t, 256> ps2{};
    std::array<std::int16_t, 256> keyOfVk{};  // -1: none
    Lookup() {
        keyOfVk.fill(-1);
        for (const KeyRow& r : kKeys) {
            names[r.key] = r.name;
            hasPs2[r.key] = true;
            ps2[r.key] = r.ps2;
            if (r.vk >= 0) keyOfVk[static_cast<std::size_t>(r.vk)] = r.key;
        }
    }
};

const Lookup& Tables() {
    static const Lookup lookup;
    return lookup;
}

// The sided pairs: virtual key, then (DirectInput code, key) of the first and the
// second variant.
struct SidedKey {
    std::int32_t vk;
    std::int32_t dik1;
    IbmKey key1;
    std::int32_t dik2;
    IbmKey key2;
};
constexpr SidedKey kSided[] = {
    {13, 28, 43, 156, 108},  // Enter: DIK_RETURN ENTER, DIK_NUMPADENTER NUM ENTER
    {16, 42, 44, 54, 57},    // Shift: DIK_LSHIFT L.SHIFT, DIK_RSHIFT R.SHIFT
    {17, 29, 58, 157, 64},   // Ctrl: DIK_LCONTROL L.CTRL, DIK_RCONTROL R.CTRL
    {18, 56, 60, 184, 62},   // Alt: DIK_LMENU L.ALT, DIK_RMENU R.ALT
};

const SidedKey* FindSided(std::int32_t vk) {
    for (const SidedKey& s : kSided)
        if (s.vk == vk) return &s;
    return nullptr;
}

// The keyboard device and the last state read from it.
IKeyboardDevice* g_pKeyboard = nullptr;
bool g_fDiKeyboard = false;  // the set-up has created the device
std::array<std::uint8_t, 256> g_abDiKeyState{};

}  // namespace

std::string GetNameOfIbmKey(IbmKey key) {
    if (const char* name = Tables().names[key]) return name;
    Debug_::AssertFailed("GetNameOfIbmKey() unrecognized ibm = " + std::to_string(key));
    return "(Unknown " + std::to_string(key) + ")";
}

IbmKey MapVkToIbmKey_(std::int16_t vk) {
    if (vk >= 0 && vk <= 255) {
        const std::int16_t key = Tables().keyOfVk[static_cast<std::size_t>(vk)];
        if (key >= 0) return static_cast<IbmKey>(key);
    }
    Trace_::Trace("MapVkToIbmKey_", "Unrecognized VK_=" + std::to_string(vk) + " (&H" + Util::Hex16(vk) + ")");
    return vk >= 0 && vk <= 255 ? static_cast<IbmKey>(vk) : 0;
}

std::int16_t IbmToPs2Key_(IbmKey key) {
    if (Tables().hasPs2[key]) return static_cast<std::int16_t>(Tables().ps2[key]);
    Debug_::AssertFailed("IbmToPs2Key_() unrecognized IBM key # = " + std::to_string(key));
    return 0;
}

std::uint8_t IbmKeyToDownloadByte(IbmKey key) {
    const std::int16_t c = IbmToPs2Key_(key);
    const auto bits = static_cast<std::uint16_t>(c);
    if ((bits & 0xFF80) == 0xE000) return static_cast<std::uint8_t>(0x80 | (bits & 0x7F));
    if (c >= 0 && c <= 255) return static_cast<std::uint8_t>(c);
    Debug_::AssertFailed("Bad key scan code returned by IbmToPs2Key_() = &H" + Util::Hex16(c));
    return 0;
}

void SetKeyboardDevice(IKeyboardDevice* device) {
    g_pKeyboard = device;
    g_fDiKeyboard = false;
    g_abDiKeyState.fill(0);
}

void InitializeDirectInput() {
    if (!g_pKeyboard) return;
    KeyboardSetupError err;
    g_fDiKeyboard = g_pKeyboard->Create(err);
    if (err.fFailed) Error_::ReportError("InitializeDirectInput", err.lNumber, err.sDescription, err.sSource);
}

bool IsDxKeyDown(std::int32_t dik) {
    if (dik < 0 || dik > 255) throw Error_::RuntimeError(9, "Subscript out of range");
    if (!g_fDiKeyboard) {
        InitializeDirectInput();
        if (!g_fDiKeyboard) return false;
    }
    g_pKeyboard->GetState(g_abDiKeyState);
    return (g_abDiKeyState[static_cast<std::size_t>(dik)] & 0x80) != 0;
}

bool IsSidedVk(std::int32_t vk) { return FindSided(vk) != nullptr; }

bool IsSidedVkVariantDown(std::int32_t vk, bool fSecond) {
    const SidedKey* s = FindSided(vk);
    if (!s) return false;
    return IsDxKeyDown(fSecond ? s->dik2 : s->dik1);
}

IbmKey SidedVkToIbmKey(std::int32_t vk, bool fRight) {
    const SidedKey* s = FindSided(vk);
    if (!s) return 0;
    return fRight ? s->key2 : s->key1;
}

IbmKey MapVkToIbmKey(std::int32_t vk, bool fKeyDown) {
    if (!IsSidedVk(vk)) return MapVkToIbmKey_(static_cast<std::int16_t>(vk));
    const bool fFirstDown = IsSidedVkVariantDown(vk, false);
    return SidedVkToIbmKey(vk, fFirstDown != fKeyDown);
}

}  // namespace KeyTables
