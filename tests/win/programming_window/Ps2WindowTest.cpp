// The PS/2 path through the real programming window: the board's answers arrive as key
// messages in txtInput while the transport waits, and the port-access control is a
// stand-in behind the same late-bound OutByte/InByte calls as the real one.
#include "DownloadingFixture.h"

#include "core/ExitCodes.h"
#include "core/QbcFile.h"
#include "programming/DownloadViaPs2.h"

namespace {

using WindowTest::DownloadingFixture;
using WindowTest::Ps2Board;
using WindowTest::PumpUntil;

std::string TemplatePath(const char* name) {
    char buf[MAX_PATH * 2] = {};
    GetEnvironmentVariableA("KL_PROGRAM_DIR", buf, sizeof buf);
    return std::string(buf) + "\\Templates\\" + name;
}

class Ps2WindowTest : public DownloadingFixture {
protected:
    void SetUp() override {
        DownloadingFixture::SetUp();
        g_fUsbMode = false;
        DownloadViaPs2::InstallWin32KeyboardLayout();
        onControlMade = [this](WindowTest::FakePortControl& c) { board.AttachTo(c); };
    }
    void Load(std::int16_t boardType, const char* file) {
        g_typeQuorba = boardType;
        QbcFile::InitSwiOrderTables();
        QbcFile::LoadQbcFile(TemplatePath(file));
        QbcFile::KeyArray ab12{}, ab34{};
        QbcFile::TextArray texts{};
        QbcFile::BuildAssignmentArrays(g_typeQuorba, ab12, ab34, texts);
        expected.push_back(Download::FillArray(ab12, 0));
        if (boardType == TYPEQUORBA_Quorba4) expected.push_back(Download::FillArray(ab34, 1));
    }
    // The 83 bytes of a page that the board takes.
    std::vector<std::uint8_t> Sent(std::size_t page) const {
        return {expected[page].begin(), expected[page].begin() + 83};
    }
    void Run() {
        Window();
        RecordStatus();
        Download::ProgramBoard();
    }

    Ps2Board board;
    std::vector<Download::DownloadArray> expected;
};

TEST_F(Ps2WindowTest, TwoPlayerBoardIsProgrammedFromItsTypedAnswers) {
    Load(TYPEQUORBA_Quorba2, "Default-2.qbc");
    Run();
    EXPECT_EQ(statuses, (std::vector<std::string>{"PROGRAMMING QUORBA...", "Found Board", "Downloading...",
                                                  "SUCCESS: DOWNLOAD COMPLETE"}));
    ASSERT_EQ(board.pages.size(), 1u);
    EXPECT_EQ(board.pages[0], Sent(0));
    ASSERT_EQ(board.writes.size(), 2u + 83u + 1u);
    EXPECT_EQ(board.writes.front(), (std::pair<std::int32_t, std::uint8_t>{0x64, 0xA7}));
    EXPECT_EQ(board.writes[1], (std::pair<std::int32_t, std::uint8_t>{0x60, 0xEF}));
    EXPECT_EQ(board.writes.back(), (std::pair<std::int32_t, std::uint8_t>{0x64, 0xA8}));
    EXPECT_FALSE(g_fProgrammingQuorba);
    ASSERT_EQ(host.ends.size(), 1u);
    EXPECT_EQ(host.ends[0], ExitCodes::kExitOk);
}

TEST_F(Ps2WindowTest, VexoBoardTakesTheAnswerTwoAsItsModel) {
    Load(TYPEQUORBA_QuorbaVexo, "Default-VEXO.qbc");
    board.answerModel = "2";
    Run();
    ASSERT_FALSE(statuses.empty());
    EXPECT_EQ(statuses.back(), "SUCCESS: DOWNLOAD COMPLETE");
    ASSERT_EQ(board.pages.size(), 1u);
    EXPECT_EQ(board.pages[0], Sent(0));
}

TEST_F(Ps2WindowTest, FourPlayerBoardGetsBothPagesOneAfterTheOther) {
    Load(TYPEQUORBA_Quorba4, "Default-4.qbc");
    Run();
    EXPECT_EQ(statuses, (std::vector<std::string>{"PROGRAMMING QUORBA...", "BOARD FOUND...", "PROGRAMMING P1-P2...",
                                                  "", "P1-P2 DONE", "PROGRAMMING P3-P4...",
                                                  "SUCCESS: DOWNLOAD COMPLETE"}));
    ASSERT_EQ(board.pages.size(), 2u);
    EXPECT_EQ(board.pages[0], Sent(0));
    EXPECT_EQ(board.pages[1], Sent(1));
    ASSERT_EQ(host.ends.size(), 1u);
    EXPECT_EQ(host.ends[0], ExitCodes::kExitOk);
}

TEST_F(Ps2WindowTest, WrongBoardTypeEndsTheRunAndBringsTheWindowOnScreen) {
    Load(TYPEQUORBA_Quorba2, "Default-2.qbc");
    board.answerModel = "C";
    Run();
    ASSERT_FALSE(statuses.empty());
    EXPECT_EQ(statuses.back(), "ERROR: CHECK BOARD TYPE SETTING");
    EXPECT_TRUE(board.pages.size() == 1u && board.pages[0].empty()) << "no array is sent";
    EXPECT_EQ(board.writes.back(), (std::pair<std::int32_t, std::uint8_t>{0x64, 0xA8}));
    forms::frmDownloading& w = Window();
    EXPECT_TRUE(w.Visible());
    EXPECT_GE(w.Top(), 0);
    EXPECT_TRUE(host.ends.empty()) << "a failed command-line run waits for the user";

    // Enter in the window ends the program, with the failure's status.
    Ps2Board::Type('\r');
    ASSERT_TRUE(PumpUntil([this] { return !host.ends.empty(); }, 3000));
    EXPECT_EQ(host.ends[0], ExitCodes::kExitProgrammingFailed);
}

TEST_F(Ps2WindowTest, ControllerThatNeverGetsReadyEndsInTimeout) {
    Load(TYPEQUORBA_Quorba2, "Default-2.qbc");
    board.statusValue = 0x00;
    g_lTimeout = 1000;
    const DWORD start = GetTickCount();
    Run();
    const DWORD elapsed = GetTickCount() - start;
    ASSERT_FALSE(statuses.empty());
    EXPECT_EQ(statuses.back(), "Timeout");
    EXPECT_LT(elapsed, 4000u);
    EXPECT_GE(Window().Top(), 0);
    EXPECT_FALSE(g_fProgrammingQuorba);
}

}  // namespace
