// The download array of every board type and the start of a programming run.
#include <numeric>

#include "ProgrammingFakes.h"
#include "core/KeyTables.h"
#include "core/QbcFile.h"

namespace {

using namespace fakes;
using Download::FillArray;

// Key numbers with known download bytes.
constexpr std::uint8_t kKeyF7 = 118;      // 0x83
constexpr std::uint8_t kKeyRAlt = 62;     // 0x91
constexpr std::uint8_t kKeyMacro1 = 132;  // 0xE0
constexpr std::uint8_t kKeyLWin = 126;    // 0x9F

class FillArrayTest : public ProgrammingTest {
protected:
    void SetUp() override {
        ProgrammingTest::SetUp();
        QbcFile::InitSwiOrderTables();
        g_abMacroKeys.fill(0);
    }
    void TearDown() override {
        g_abMacroKeys.fill(0);
        g_fRamOnly = false;
        ProgrammingTest::TearDown();
    }
    static std::uint8_t Sum(const Download::DownloadArray& a, std::size_t last) {
        return static_cast<std::uint8_t>(std::accumulate(a.begin(), a.begin() + last + 1, 0u) & 0xFF);
    }
};

TEST_F(FillArrayTest, EmptyQuorba2AssignmentGivesTheShiftByteFFAndItsChecksum) {
    QbcFile::KeyArray keys{};
    for (std::uint8_t k = 0; k < 16; ++k) g_abMacroKeys[k] = k % 2 ? kKeyF7 : kKeyMacro1;
    const auto a = FillArray(keys, 0);
    ASSERT_EQ(a.size(), 96u);
    EXPECT_EQ(a[0], 0xFF);
    for (std::size_t i = 1; i <= 56; ++i) EXPECT_EQ(a[i], 0) << i;
    EXPECT_EQ(a[57], 0xFF);
    EXPECT_EQ(a[58], 0);
    for (std::size_t k = 0; k < 16; ++k) EXPECT_EQ(a[59 + k], k % 2 ? 0x83 : 0xE0) << k;
    for (std::size_t i = 75; i < 96; ++i) EXPECT_EQ(a[i], 0) << i;
    EXPECT_TRUE(host.messageBoxes.empty());
    EXPECT_TRUE(Traces().empty());

    g_fRamOnly = true;
    EXPECT_EQ(FillArray(keys, 0)[58], 4);
}

TEST_F(FillArrayTest, ShiftCodeAndKeyBytesInDownloadOrder) {
    QbcFile::KeyArray keys{};
    keys[0] = 2;  // text-order position 2 (1d) is download position 6 on Quorba/2
    keys[1] = kKeyRAlt;
    keys[56] = kKeyLWin;
    keys[57] = kKeyF7;  // beyond n: not part of the array
    const auto a = FillArray(keys, 0);
    EXPECT_EQ(a[0], 6);
    EXPECT_EQ(a[1], 0x91);
    EXPECT_EQ(a[56], 0x9F);
    EXPECT_EQ(a[57], Sum(a, 56));
    EXPECT_EQ(a[57], (6 + 0x91 + 0x9F) & 0xFF);
}

TEST_F(FillArrayTest, ChecksumWrapsAtEveryPartialSum) {
    QbcFile::KeyArray keys{};
    keys[0] = 1;
    for (std::size_t i = 1; i <= 64; ++i) keys[i] = static_cast<std::uint8_t>(i % 3 == 0 ? kKeyMacro1 : kKeyF7);
    for (std::int16_t board : {TYPEQUORBA_Quorba2, TYPEQUORBA_QuorbaVexo}) {
        g_typeQuorba = board;
        const std::size_t n = board == TYPEQUORBA_QuorbaVexo ? 60 : 56;
        const auto a = FillArray(keys, 0);
        unsigned total = 0;
        for (std::size_t i = 0; i <= n; ++i) total += a[i];
        EXPECT_GT(total, 255u * 10);
        EXPECT_EQ(a[n + 1], total % 256) << board;
    }
}

TEST_F(FillArrayTest, Quorba4PagesDifferOnlyInTheirFlagBitAndOwnChecksums) {
    g_typeQuorba = TYPEQUORBA_Quorba4;
    for (std::uint8_t k = 0; k < 16; ++k) g_abMacroKeys[k] = static_cast<std::uint8_t>(kKeyMacro1 + k % 4);
    g_fRamOnly = true;
    QbcFile::KeyArray p12{}, p34{};
    p12[0] = 1;
    p12[3] = kKeyF7;
    p34[0] = 14;
    p34[5] = kKeyRAlt;
    const auto a1 = FillArray(p12, 0);
    const auto a2 = FillArray(p34, 1);
    EXPECT_EQ(a1[58], 4);
    EXPECT_EQ(a2[58], 1 | 4);
    EXPECT_EQ(a1[57], Sum(a1, 56));
    EXPECT_EQ(a2[57], Sum(a2, 56));
    EXPECT_EQ(a2[0], 20);  // shift-key index 14 gives the board code 20
    EXPECT_TRUE(std::equal(a1.begin() + 59, a1.begin() + 75, a2.begin() + 59));
    EXPECT_EQ(a1[59], 0xE0);
    EXPECT_EQ(a1[60], 0xE1);
    EXPECT_TRUE(Traces().empty());
}

TEST_F(FillArrayTest, VexoLayoutUsesSixtyKeys) {
    g_typeQuorba = TYPEQUORBA_QuorbaVexo;
    g_abMacroKeys[0] = kKeyF7;
    g_abMacroKeys[15] = kKeyLWin;
    QbcFile::KeyArray keys{};
    keys[0] = 13;  // Vexo: text position 13 (1C) is download position 29
    keys[60] = kKeyF7;
    keys[61] = kKeyRAlt;  // beyond n = 60
    const auto a = FillArray(keys, 0);
    EXPECT_EQ(a[0], 29);
    EXPECT_EQ(a[60], 0x83);
    EXPECT_EQ(a[61], Sum(a, 60));
    EXPECT_EQ(a[62], 0);
    EXPECT_EQ(a[63], 0x83);
    EXPECT_EQ(a[78], 0x9F);
    for (std::size_t i = 79; i < 96; ++i) EXPECT_EQ(a[i], 0) << i;
}

TEST_F(FillArrayTest, WrongPagesAndShortArraysAreReportedAndTheArrayIsStillBuilt) {
    QbcFile::KeyArray keys{};
    FillArray(keys, 1);
    g_typeQuorba = TYPEQUORBA_Quorba4;
    FillArray(keys, 2);
    g_typeQuorba = TYPEQUORBA_QuorbaVexo;
    const auto a = FillArray(keys, 1);
    EXPECT_EQ(a[62], 1);  // the page flag is set as asked
    const std::uint8_t shortKeys[10] = {1, kKeyF7, kKeyF7};
    const auto b = FillArray(shortKeys, 0);
    EXPECT_EQ(b[1], 0x83);
    EXPECT_EQ(b[10], 0);
    EXPECT_EQ(Traces(), (std::vector<std::string>{
                            "Assertion Failure:  Illegal iPage used for TYPEQUORBA_Quorba2",
                            "Assertion Failure:  Illegal iPage used for TYPEQUORBA_Quorba4",
                            "Assertion Failure:  Illegal iPage used for TYPEQUORBA_QuorbaVexo",
                            "Assertion Failure:  FillArray: Bad abIbmKeys",
                        }));
}

TEST_F(FillArrayTest, AnUnknownBoardTypeShowsTheInternalErrorOncePerArray) {
    g_typeQuorba = 3;
    QbcFile::KeyArray keys{};
    keys[56] = kKeyF7;
    const auto a = FillArray(keys, 0);
    FillArray(keys, 1);
    EXPECT_EQ(host.messageBoxes,
              (std::vector<std::string>(
                  2, "Keyloom Internal Error|Internal Error: Unsupported Quorba board (unrecognized TYPEQUORBA_)")));
    EXPECT_EQ(a[56], 0x83);
    EXPECT_EQ(a[57], Sum(a, 56));
}

TEST(DownloadBytes, Helpers) {
    EXPECT_EQ(Download::AddByte(200, 100), 44);
    EXPECT_EQ(Download::AddByte(255, 1), 0);
    EXPECT_EQ(Download::LowByte(0x1234), 0x34);
    EXPECT_EQ(Download::LowByte(-1), 0xFF);
    EXPECT_EQ(Download::ByteToInt(0xFF), 255);
}

// ProgramBoard: the order of its steps up to the transport.
class ProgramBoardTest : public FillArrayTest {
protected:
    class RecordingApi final : public DownloadViaUsb::IUsbDeviceApi {
    public:
        explicit RecordingApi(Log& log, bool& flagSeen) : log_(log), flag_(flagSeen) {}
        std::unique_ptr<DownloadViaUsb::IUsbDevice> Open(const std::string&, bool) override {
            log_.push_back("device open");
            flag_ = g_fProgrammingQuorba;
            return nullptr;
        }
        long StartProgram(const std::string&) override { return 0; }

    private:
        Log& log_;
        bool& flag_;
    };
};

TEST_F(ProgramBoardTest, ShowsTheWindowThenSetsTheBusyStateThenSends) {
    bool flagDuringTransfer = false;
    RecordingApi api(log, flagDuringTransfer);
    DownloadViaUsb::SetUsbDeviceApi(&api);
    ProgressCallback::g_lblProgress = nullptr;  // the ProgressMessage texts become trace lines
    Download::ProgramBoard();
    ASSERT_GE(log.size(), 6u);
    EXPECT_EQ(std::vector<std::string>(log.begin(), log.begin() + 5),
              (std::vector<std::string>{"window show", "status PROGRAMMING QUORBA...", "window update",
                                        "window pointer 13",
                                        "trace SendDataThroughPipe.CreateFile():  file = \\\\.\\USBTrellis"}));
    EXPECT_TRUE(flagDuringTransfer);
    EXPECT_FALSE(g_fProgrammingQuorba);
    EXPECT_EQ(log.back(), "window bring");
    EXPECT_EQ(window.label.Caption(), "ERROR 0xC: Board not found / Driver not loaded");
    EXPECT_NE(std::find(log.begin(), log.end(),
                        "trace Missed ProgressMessage:  ERROR 0xC: Board not found / Driver not loaded"),
              log.end());
}

TEST_F(ProgramBoardTest, Ps2RunSendsTheArrayBuiltFromTheStore) {
    class Port final : public Download::IPortControl {
    public:
        std::vector<std::uint8_t> data;
        void OutByte(std::int32_t port, std::uint8_t v) override {
            if (port == 0x60) data.push_back(v);
        }
        std::uint8_t InByte(std::int32_t) override { return 0x14; }
    } port;
    window.SetPort(port);
    g_fUsbMode = false;
    g_lTimeout = 1000;
    QbcFile::SetShiftSwi(101, 115);
    QbcFile::SetSwiKey(101, kKeyF7);
    g_abMacroKeys[0] = kKeyMacro1;
    QbcFile::KeyArray ab12{}, ab34{};
    QbcFile::TextArray text{};
    QbcFile::BuildAssignmentArrays(g_typeQuorba, ab12, ab34, text);
    const auto expected = FillArray(ab12, 0);

    Download::ProgramBoard();  // the board never answers: the wait times out
    ASSERT_EQ(port.data.size(), 1u);
    EXPECT_EQ(port.data[0], 0xEF);
    EXPECT_EQ(Statuses(), (std::vector<std::string>{"PROGRAMMING QUORBA...", "Timeout"}));
    EXPECT_EQ(DownloadViaPs2::g_abPs2Image1, expected);
    EXPECT_TRUE(DownloadViaPs2::g_abPs2Image2.empty());
    EXPECT_EQ(expected[1], 0x83);
    EXPECT_NE(expected[0], 0xFF);

    QbcFile::SetSwiKey(101, 0);
    QbcFile::SetShiftSwi(101, 0);
}

}  // namespace
