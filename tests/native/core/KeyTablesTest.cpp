#include <set>

#include "CoreTestSupport.h"
#include "core/Error_.h"

using namespace KeyTables;

namespace {

// The key table as published for the board: key, name (nullptr none), virtual key
// (-1 none), PS/2 code, download byte.
struct Row {
    int key;
    const char* name;
    int vk;
    int ps2;
    int byte;
};
// clang-format off
const Row kTable[] = {
    {0, "(none)", -1, 0x0, 0x00},
    {1, "`", 192, 0xE, 0x0E},
    {2, "1", 49, 0x16, 0x16},
    {3, "2", 50, 0x1E, 0x1E},
    {4, "3", 51, 0x26, 0x26},
    {5, "4", 52, 0x25, 0x25},
    {6, "5", 53, 0x2E, 0x2E},
    {7, "6", 54, 0x36, 0x36},
    {8, "7", 55, 0x3D, 0x3D},
    {9, "8", 56, 0x3E, 0x3E},
    {10, "9", 57, 0x46, 0x46},
    {11, "0", 48, 0x45, 0x45},
    {12, "-", 189, 0x4E, 0x4E},
    {13, "=", 187, 0x55, 0x55},
    {14, nullptr, -1, 0x0, 0x00},
    {15, "BACKSPACE", 8, 0x66, 0x66},
    {16, "TAB", 9, 0xD, 0x0D},
    {17, "Q", 81, 0x15, 0x15},
    {18, "W", 87, 0x1D, 0x1D},
    {19, "E", 69, 0x24, 0x24},
    {20, "R", 82, 0x2D, 0x2D},
    {21, "T", 84, 0x2C, 0x2C},
    {22, "Y", 89, 0x35, 0x35},
    {23, "U", 85, 0x3C, 0x3C},
    {24, "I", 73, 0x43, 0x43},
    {25, "O", 79, 0x44, 0x44},
    {26, "P", 80, 0x4D, 0x4D},
    {27, "[", 219, 0x54, 0x54},
    {28, "]", 221, 0x5B, 0x5B},
    {29, "\\", 220, 0x5D, 0x5D},
    {30, "CAPSLCK", 20, 0x58, 0x58},
    {31, "A", 65, 0x1C, 0x1C},
    {32, "S", 83, 0x1B, 0x1B},
    {33, "D", 68, 0x23, 0x23},
    {34, "F", 70, 0x2B, 0x2B},
    {35, "G", 71, 0x34, 0x34},
    {36, "H", 72, 0x33, 0x33},
    {37, "J", 74, 0x3B, 0x3B},
    {38, "K", 75, 0x42, 0x42},
    {39, "L", 76, 0x4B, 0x4B},
    {40, ";", 186, 0x4C, 0x4C},
    {41, "'", 222, 0x52, 0x52},
    {42, nullptr, -1, 0x5D, 0x5D},
    {43, "ENTER", 13, 0x5A, 0x5A},
    {44, "L.SHIFT", 16, 0x12, 0x12},
    {45, nullptr, -1, 0x61, 0x61},
    {46, "Z", 90, 0x1A, 0x1A},
    {47, "X", 88, 0x22, 0x22},
    {48, "C", 67, 0x21, 0x21},
    {49, "V", 86, 0x2A, 0x2A},
    {50, "B", 66, 0x32, 0x32},
    {51, "N", 78, 0x31, 0x31},
    {52, "M", 77, 0x3A, 0x3A},
    {53, ",", 188, 0x41, 0x41},
    {54, ".", 190, 0x49, 0x49},
    {55, "/", 191, 0x4A, 0x4A},
    {56, nullptr, -1, 0x0, 0x00},
    {57, "R.SHIFT", -1, 0x59, 0x59},
    {58, "L.CTRL", 17, 0x14, 0x14},
    {59, nullptr, -1, 0x0, 0x00},
    {60, "L.ALT", 18, 0x11, 0x11},
    {61, "SPACE", 32, 0x29, 0x29},
    {62, "R.ALT", -1, 0xE011, 0x91},
    {64, "R.CTRL", -1, 0xE014, 0x94},
    {75, "INSERT", 45, 0xE070, 0xF0},
    {76, "DELETE", 46, 0xE071, 0xF1},
    {79, "LEFT", 37, 0xE06B, 0xEB},
    {80, "HOME", 36, 0xE06C, 0xEC},
    {81, "END", 35, 0xE069, 0xE9},
    {83, "UP", 38, 0xE075, 0xF5},
    {84, "DOWN", 40, 0xE072, 0xF2},
    {85, "PAGE UP", 33, 0xE07D, 0xFD},
    {86, "PAGE DN", 34, 0xE07A, 0xFA},
    {89, "RIGHT", 39, 0xE074, 0xF4},
    {90, "NUM LCK", 144, 0x77, 0x77},
    {91, "NUM 7", 103, 0x6C, 0x6C},
    {92, "NUM 4", 100, 0x6B, 0x6B},
    {93, "NUM 1", 97, 0x69, 0x69},
    {95, "NUM /", 111, 0xE04A, 0xCA},
    {96, "NUM 8", 104, 0x75, 0x75},
    {97, "NUM 5", 101, 0x73, 0x73},
    {98, "NUM 2", 98, 0x72, 0x72},
    {99, "NUM 0", 96, 0x70, 0x70},
    {100, "NUM *", 106, 0x7C, 0x7C},
    {101, "NUM 9", 105, 0x7D, 0x7D},
    {102, "NUM 6", 102, 0x74, 0x74},
    {103, "NUM 3", 99, 0x7A, 0x7A},
    {104, "NUM .", 110, 0x71, 0x71},
    {105, "NUM -", 109, 0x7B, 0x7B},
    {106, "NUM +", 107, 0x79, 0x79},
    {108, "NUM ENTER", -1, 0xE05A, 0xDA},
    {110, "ESCAPE", 27, 0x76, 0x76},
    {112, "F1", 112, 0x5, 0x05},
    {113, "F2", 113, 0x6, 0x06},
    {114, "F3", 114, 0x4, 0x04},
    {115, "F4", 115, 0xC, 0x0C},
    {116, "F5", 116, 0x3, 0x03},
    {117, "F6", 117, 0xB, 0x0B},
    {118, "F7", 118, 0x83, 0x83},
    {119, "F8", 119, 0xA, 0x0A},
    {120, "F9", 120, 0x1, 0x01},
    {121, "F10", 121, 0x9, 0x09},
    {122, "F11", 122, 0x78, 0x78},
    {123, "F12", 123, 0x7, 0x07},
    {125, nullptr, -1, 0x7E, 0x7E},
    {126, "L.WIN", 91, 0x9F, 0x9F},
    {127, "R.WIN", 92, 0xA7, 0xA7},
    {128, "APP", 93, 0xAF, 0xAF},
    {129, "POWER", -1, 0xB7, 0xB7},
    {130, "SLEEP", 95, 0xBF, 0xBF},
    {131, "WAKE", -1, 0xDE, 0xDE},
    {132, "MACRO 1", -1, 0xE0, 0xE0},
    {133, "MACRO 2", -1, 0xE1, 0xE1},
    {134, "MACRO 3", -1, 0xE2, 0xE2},
    {135, "MACRO 4", -1, 0xE3, 0xE3},
};
// clang-format on

const Row* FindRow(int key) {
    for (const Row& r : kTable)
        if (r.key == key) return &r;
    return nullptr;
}

}  // namespace

class KeyTablesTest : public CoreTest {};

TEST_F(KeyTablesTest, EveryRowOfTheTable) {
    ASSERT_EQ(std::size(kTable), 115u);
    for (const Row& r : kTable) {
        host.traces.clear();
        const auto key = static_cast<IbmKey>(r.key);
        if (r.name) {
            EXPECT_EQ(GetNameOfIbmKey(key), r.name) << r.key;
        } else {
            EXPECT_EQ(GetNameOfIbmKey(key), "(Unknown " + std::to_string(r.key) + ")") << r.key;
        }
        EXPECT_EQ(static_cast<std::uint16_t>(IbmToPs2Key_(key)), r.ps2) << r.key;
        EXPECT_EQ(IbmKeyToDownloadByte(key), r.byte) << r.key;
        if (r.vk >= 0) {
            EXPECT_EQ(MapVkToIbmKey_(static_cast<std::int16_t>(r.vk)), r.key) << r.key;
        }
        EXPECT_EQ(host.traces.size(), r.name ? 0u : 1u) << r.key;
    }
}

TEST_F(KeyTablesTest, KeysOutsideTheTable) {
    for (int key = 0; key < 256; ++key) {
        if (FindRow(key)) continue;
        host.traces.clear();
        EXPECT_EQ(GetNameOfIbmKey(static_cast<IbmKey>(key)), "(Unknown " + std::to_string(key) + ")");
        EXPECT_EQ(IbmToPs2Key_(static_cast<IbmKey>(key)), 0) << key;
        EXPECT_EQ(IbmKeyToDownloadByte(static_cast<IbmKey>(key)), 0) << key;
        EXPECT_EQ(host.Assertions(),
                  (std::vector<std::string>{"GetNameOfIbmKey() unrecognized ibm = " + std::to_string(key),
                                            "IbmToPs2Key_() unrecognized IBM key # = " + std::to_string(key),
                                            "IbmToPs2Key_() unrecognized IBM key # = " + std::to_string(key)}))
            << key;
    }
}

TEST_F(KeyTablesTest, VirtualKeysOutsideTheTable) {
    std::set<int> known;
    for (const Row& r : kTable)
        if (r.vk >= 0) known.insert(r.vk);
    EXPECT_EQ(known.size(), 98u);
    for (int vk = 0; vk < 256; ++vk) {
        if (known.count(vk)) continue;
        host.traces.clear();
        EXPECT_EQ(MapVkToIbmKey_(static_cast<std::int16_t>(vk)), vk);
        ASSERT_EQ(host.traces.size(), 1u);
    }
    host.traces.clear();
    EXPECT_EQ(MapVkToIbmKey_(12), 12);
    EXPECT_EQ(host.traces, std::vector<std::string>{"MapVkToIbmKey_:  Unrecognized VK_=12 (&HC)"});
    EXPECT_EQ(GetNameOfIbmKey(12), "-");
    host.traces.clear();
    EXPECT_EQ(MapVkToIbmKey_(300), 0) << "outside the byte range";
    EXPECT_EQ(host.traces, std::vector<std::string>{"MapVkToIbmKey_:  Unrecognized VK_=300 (&H12C)"});
    host.traces.clear();
    EXPECT_EQ(MapVkToIbmKey_(-1), 0);
    EXPECT_EQ(host.traces, std::vector<std::string>{"MapVkToIbmKey_:  Unrecognized VK_=-1 (&HFFFF)"});
}

TEST_F(KeyTablesTest, SidedVirtualKeysAloneGiveTheLeftVariant) {
    EXPECT_EQ(MapVkToIbmKey_(13), 43);
    EXPECT_EQ(MapVkToIbmKey_(16), 44);
    EXPECT_EQ(MapVkToIbmKey_(17), 58);
    EXPECT_EQ(MapVkToIbmKey_(18), 60);
}

// ---- sided keys ----

class FakeKeyboard : public IKeyboardDevice {
public:
    bool Create(KeyboardSetupError& err) override {
        ++creates;
        if (failSetup) {
            err.fFailed = true;
            err.lNumber = static_cast<std::int32_t>(0x80040154);
            err.sDescription = "Class not registered";
        }
        return createsDevice;
    }
    void GetState(std::array<std::uint8_t, 256>& abState) override {
        ++reads;
        if (failRead) throw Error_::RuntimeError(-2147024866, "Input lost");
        abState.fill(0);
        for (int dik : down) abState[static_cast<std::size_t>(dik)] = 0x80;
        abState[200] = 0x7F;  // other bits do not count
    }
    bool createsDevice = true;
    bool failSetup = false;
    bool failRead = false;
    std::set<int> down;
    int creates = 0;
    int reads = 0;
};

class SidedKeysTest : public CoreTest {
protected:
    void SetUp() override {
        CoreTest::SetUp();
        SetKeyboardDevice(&keyboard);
    }
    FakeKeyboard keyboard;
};

TEST_F(SidedKeysTest, KeyDownPicksThePhysicalKey) {
    keyboard.down = {54};  // right Shift
    EXPECT_EQ(MapVkToIbmKey(16, true), 57);
    keyboard.down = {42};
    EXPECT_EQ(MapVkToIbmKey(16, true), 44);
    keyboard.down = {156};
    EXPECT_EQ(MapVkToIbmKey(13, true), 108);
    keyboard.down = {28};
    EXPECT_EQ(MapVkToIbmKey(13, true), 43);
    keyboard.down = {157};
    EXPECT_EQ(MapVkToIbmKey(17, true), 64);
    keyboard.down = {184};
    EXPECT_EQ(MapVkToIbmKey(18, true), 62);
    keyboard.down = {42, 54};  // both Shift keys held
    EXPECT_EQ(MapVkToIbmKey(16, true), 44);
    EXPECT_EQ(keyboard.creates, 1) << "set up once";
}

TEST_F(SidedKeysTest, KeyUpPicksTheKeyNoLongerDown) {
    keyboard.down = {};  // left Ctrl released
    EXPECT_EQ(MapVkToIbmKey(17, false), 58);
    keyboard.down = {29};  // left still held: the right one went up
    EXPECT_EQ(MapVkToIbmKey(17, false), 64);
}

TEST_F(SidedKeysTest, OtherKeysNeverTouchTheKeyboard) {
    EXPECT_EQ(MapVkToIbmKey(65, true), 31);
    EXPECT_FALSE(IsSidedVkVariantDown(65, false));
    EXPECT_EQ(keyboard.creates, 0);
    EXPECT_EQ(keyboard.reads, 0);
    EXPECT_EQ(SidedVkToIbmKey(65, true), 0);
    for (int vk = -5; vk < 300; ++vk) EXPECT_EQ(IsSidedVk(vk), vk == 13 || vk == 16 || vk == 17 || vk == 18) << vk;
}

TEST_F(SidedKeysTest, SidedTables) {
    EXPECT_EQ(SidedVkToIbmKey(13, false), 43);
    EXPECT_EQ(SidedVkToIbmKey(13, true), 108);
    EXPECT_EQ(SidedVkToIbmKey(16, true), 57);
    EXPECT_EQ(SidedVkToIbmKey(18, false), 60);
    keyboard.down = {184};
    EXPECT_TRUE(IsSidedVkVariantDown(18, true));
    EXPECT_FALSE(IsSidedVkVariantDown(18, false));
    EXPECT_FALSE(IsDxKeyDown(200));
    EXPECT_TRUE(IsDxKeyDown(184));
    EXPECT_THROW(IsDxKeyDown(256), Error_::RuntimeError);
    EXPECT_THROW(IsDxKeyDown(-1), Error_::RuntimeError);
}

TEST_F(SidedKeysTest, WithoutADeviceEnterGivesTheKeypadEnterOnKeyDown) {
    keyboard.createsDevice = false;  // no main window
    keyboard.down = {28};
    EXPECT_EQ(MapVkToIbmKey(13, true), 108);
    EXPECT_EQ(MapVkToIbmKey(13, false), 43);
    EXPECT_EQ(keyboard.creates, 2) << "every read tries the set-up again";
    EXPECT_EQ(keyboard.reads, 0);
    EXPECT_TRUE(host.traces.empty()) << "no window is no failure";
}

TEST_F(SidedKeysTest, SetupFailureIsReportedEachTime) {
    keyboard.createsDevice = false;
    keyboard.failSetup = true;
    EXPECT_FALSE(IsDxKeyDown(28));
    EXPECT_FALSE(IsDxKeyDown(28));
    const std::string text = "InitializeDirectInput: ERROR 0x80040154 (-2147221164): Class not registered";
    EXPECT_EQ(host.traces, (std::vector<std::string>{"Runtime Error:  " + text, "Missed ProgressMessage:  " + text,
                                                     "Runtime Error:  " + text, "Missed ProgressMessage:  " + text}));
}

TEST_F(SidedKeysTest, FailureAfterTheDeviceExistsIsReportedOnceAndTheDeviceUsed) {
    keyboard.failSetup = true;  // e.g. acquiring failed, the device is there
    keyboard.down = {54};
    EXPECT_EQ(MapVkToIbmKey(16, true), 57);
    EXPECT_EQ(MapVkToIbmKey(16, true), 57);
    EXPECT_EQ(keyboard.creates, 1);
    EXPECT_EQ(host.traces.size(), 2u);
}

TEST_F(SidedKeysTest, FailingReadGoesToTheCaller) {
    keyboard.failRead = true;
    try {
        MapVkToIbmKey(16, true);
        FAIL() << "no error";
    } catch (const Error_::RuntimeError& e) {
        EXPECT_EQ(e.Number(), -2147024866);
    }
}
