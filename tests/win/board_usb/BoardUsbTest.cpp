// keyloom.exe in command-line mode against the simulated USB board: every board type
// through the whole driver start-up, the pages compared byte for byte, and the failure
// paths with their final texts and exit codes; and a PS/2 run where the system has not
// loaded the port driver.
#include <gtest/gtest.h>

#include <fstream>
#include <numeric>

#include "BoardUsbSupport.h"
#include "core/ExitCodes.h"
#include "core/Globals.h"
#include "core/QbcFile.h"
#include "support/WinSupport.h"

namespace {

using namespace BoardUsb;

const char* TemplateName(int boardType) {
    return boardType == 4 ? "Default-4.qbc" : boardType == 5 ? "Default-VEXO.qbc" : "Default-2.qbc";
}

std::string Quoted(const std::string& s) { return "\"" + s + "\""; }

// The requests of one good transfer: first, second, start, three times data and
// status, end.
void ExpectGoodTransfer(const TrellisSim::Record& r, std::uint32_t from) {
    ASSERT_GE(r.requestCount, from + 10);
    const TrellisSim::Request* q = r.requests + from;
    EXPECT_EQ(q[0].code, TrellisSim::kIoctlFirst);
    EXPECT_EQ(q[0].inLength, 48);
    EXPECT_EQ(q[0].outLength, 8);
    EXPECT_EQ(q[1].code, TrellisSim::kIoctlSecond);
    EXPECT_EQ(q[1].inLength, 4);
    EXPECT_EQ(q[2].kind, 0xE9);
    EXPECT_EQ(q[2].control, 1);
    for (int b = 0; b < 3; ++b) {
        EXPECT_EQ(q[3 + 2 * b].kind, 0xEB);
        EXPECT_EQ(q[3 + 2 * b].inLength, 48);
        EXPECT_EQ(q[4 + 2 * b].kind, 0xEA);
        EXPECT_EQ(q[4 + 2 * b].outLength, 1);
    }
    EXPECT_EQ(q[9].kind, 0xE9);
    EXPECT_EQ(q[9].control, 0);
    for (int i = 0; i < 10; ++i) EXPECT_EQ(q[i].failed, 0) << "request " << i;
}

void ExpectPages(const TrellisSim::Record& r, const std::vector<std::vector<std::uint8_t>>& expected,
                 int boardType, bool ramOnly) {
    ASSERT_EQ(r.pageCount, expected.size());
    const std::size_t n = boardType == 5 ? 60 : 56;
    for (std::size_t p = 0; p < expected.size(); ++p) {
        const std::vector<std::uint8_t> got(r.pages[p], r.pages[p] + TrellisSim::kPageSize);
        EXPECT_EQ(got, expected[p]) << "page " << p;
        // And by hand: the checksum over bytes 0..n, the page and RAM flags, zeros at the end.
        const unsigned sum = std::accumulate(got.begin(), got.begin() + n + 1, 0u);
        EXPECT_EQ(got[n + 1], sum & 0xFF) << "page " << p;
        EXPECT_EQ(got[n + 2], (p == 1 ? 1 : 0) | (ramOnly ? 4 : 0)) << "page " << p;
        for (std::size_t i = n + 19; i < 96; ++i) EXPECT_EQ(got[i], 0) << "page " << p << " byte " << i;
    }
}

// The window once a failure has brought it on screen (left at the centre).
HWND WaitUntilBroughtOnScreen(Program& program) {
    HWND w = program.WaitForWindow(20000, false);
    if (!w) return nullptr;
    const DWORD end = GetTickCount() + 20000;
    for (;;) {
        RECT r;
        if (GetWindowRect(w, &r) && r.top >= 0 && IsWindowVisible(w)) return w;
        if (static_cast<LONG>(GetTickCount() - end) >= 0) return nullptr;
        Sleep(20);
    }
}

void ExpectCentred(HWND w) {
    RECT r;
    ASSERT_TRUE(GetWindowRect(w, &r));
    const int sw = GetSystemMetrics(SM_CXSCREEN), sh = GetSystemMetrics(SM_CYSCREEN);
    EXPECT_NEAR((r.left + r.right) / 2.0, sw / 2.0, 2.0);
    EXPECT_NEAR((r.top + r.bottom) / 2.0, sh / 2.0, 2.0);
}

// A failed run ends when the user closes its window, with the failure's exit code.
void CloseAndExpectFailedRun(Program& program, HWND w) {
    PostMessageA(w, WM_CLOSE, 0, 0);
    const auto code = program.Wait(10000);
    ASSERT_TRUE(code.has_value());
    EXPECT_EQ(*code, static_cast<DWORD>(ExitCodes::kExitProgrammingFailed));
}

TEST(BoardUsbTest, EveryBoardTypeIsProgrammedThroughTheDriverStartUp) {
    for (int type : {2, 4, 5}) {
        SCOPED_TRACE("board type " + std::to_string(type));
        // No device: the first attempt fails, the installer makes the device, the retry sends.
        ASSERT_TRUE(Service::Remove());
        ProgramFolder folder("board" + std::to_string(type), true);
        folder.WriteSettings(type, true, 10000);
        const std::string qbc = folder.File(std::string("Templates\\") + TemplateName(type));
        Program program(folder, Quoted(qbc));
        ASSERT_TRUE(program.Started());
        const auto code = program.Wait(90000);
        // A run that failed waits for the user: its status line says why.
        ASSERT_TRUE(code.has_value()) << "keyloom.exe did not end; its status: "
                                      << StatusText(program.WaitForWindow(0, false));
        EXPECT_EQ(*code, static_cast<DWORD>(ExitCodes::kExitOk));
        ASSERT_TRUE(Service::Running());
        const auto record = Device::Read();
        ASSERT_TRUE(record.has_value());
        const auto expected = ExpectedPages(qbc, type);
        ExpectPages(*record, expected, type, false);
        ASSERT_EQ(record->requestCount, 10 * expected.size());
        for (std::uint32_t p = 0; p < expected.size(); ++p) ExpectGoodTransfer(*record, 10 * p);
    }
}

TEST(BoardUsbTest, OwnFileWithBlanksInItsNameIsProgrammedInRamOnly) {
    ProgramFolder folder("ownfile", true);
    ASSERT_TRUE(StartBoard(folder));
    ASSERT_TRUE(Device::Reset());
    folder.WriteSettings(2, true, 5000);
    // A file of our own, written by the program's own writer.
    g_typeQuorba = TYPEQUORBA_Quorba2;
    g_fCommandLineMode = true;
    QbcFile::InitSwiOrderTables();
    QbcFile::LoadQbcFile(folder.File("Templates\\Default-2.qbc"));
    QbcFile::SetSwiKey(101, 30);
    QbcFile::SetSwiKey(105, 44);
    QbcFile::SetSwiKey(216, 57);
    for (int k = 0; k < 16; ++k) g_abMacroKeys[k] = static_cast<std::uint8_t>(k == 5 ? 0 : 17 + k);
    const std::string qbc = folder.File("my keys.qbc");
    QbcFile::SaveQbcFile(qbc);

    Program program(folder, Quoted(qbc) + " /ram");
    const auto code = program.Wait(60000);
    ASSERT_TRUE(code.has_value());
    EXPECT_EQ(*code, static_cast<DWORD>(ExitCodes::kExitOk));
    const auto record = Device::Read();
    ASSERT_TRUE(record.has_value());
    ExpectPages(*record, ExpectedPages(qbc, 2, true), 2, true);
    EXPECT_EQ(record->requestCount, 10u);
}

TEST(BoardUsbTest, DeviceAbsentAndInstallerMissingFailsAndWaitsForTheUser) {
    ASSERT_TRUE(Service::Remove());
    ProgramFolder folder("noinstaller", false);
    folder.WriteSettings(2, true, 3000);
    Program program(folder, Quoted(folder.File("Templates\\Default-2.qbc")));
    const HWND w = WaitUntilBroughtOnScreen(program);
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(WaitForStatus(w, "ERROR 0xC: Board not found / Driver not loaded", 5000)) << StatusText(w);
    ExpectCentred(w);
    EXPECT_FALSE(program.Wait(0).has_value()) << "the failed run waits until the window is closed";
    CloseAndExpectFailedRun(program, w);
}

// 64-bit Windows never loads the port driver (the 32-bit one cannot run there, an unsigned
// one is refused), and elsewhere a newly registered one starts only at the next boot. The
// control then reaches no port, and the run ends the way a silent keyboard controller ends it.
// The program then waits for the user: the window's close box ends it, and so does Space typed
// after the user has switched to another window and back (the reply box has the focus again).
class Ps2WithoutThePortDriver : public ::testing::TestWithParam<bool> {};

TEST_P(Ps2WithoutThePortDriver, RunEndsInTimeoutAndTheUserEndsTheProgram) {
    const bool bySpace = GetParam();
    ProgramFolder folder(bySpace ? "ps2space" : "ps2nodriver", false);  // registered: installed, not started
    const winsupport::UniqueHandle driver(CreateFileA("\\\\.\\Tamrin", GENERIC_READ | GENERIC_WRITE,
                                                      FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                                      FILE_ATTRIBUTE_NORMAL, nullptr));
    // With the driver there the control would execute port instructions, which fault under Wine.
    ASSERT_EQ(driver.Get(), INVALID_HANDLE_VALUE) << "the port driver is loaded in this Wine session";
    folder.WriteSettings(2, false, 2000);
    Program program(folder, Quoted(folder.File("Templates\\Default-2.qbc")));
    const HWND w = WaitUntilBroughtOnScreen(program);
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(WaitForStatus(w, "Timeout", 5000)) << StatusText(w);
    ExpectCentred(w);
    if (!bySpace) {
        CloseAndExpectFailedRun(program, w);
        return;
    }
    ASSERT_TRUE(winsupport::SwitchAwayAndBack(w, 10000));
    const auto focus = [w] { return winsupport::ClassName(winsupport::FocusInThreadOf(w)); };
    EXPECT_TRUE(winsupport::WaitUntil([&] { return focus() == "Edit"; }, 5000)) << "focus on " << focus();
    winsupport::TypeKey(VK_SPACE);
    const auto code = program.Wait(10000);
    ASSERT_TRUE(code.has_value()) << "Space did not end the program";
    EXPECT_EQ(*code, static_cast<DWORD>(ExitCodes::kExitProgrammingFailed));
}

INSTANTIATE_TEST_SUITE_P(BoardUsbTest, Ps2WithoutThePortDriver, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "SpaceAfterASwitch" : "CloseBox"; });

TEST(BoardUsbTest, ChecksumErrorFromTheBoardIsNotRetried) {
    ProgramFolder folder("status3", true);
    ASSERT_TRUE(StartBoard(folder));
    ASSERT_TRUE(Device::Reset());
    TrellisSim::Config config = TrellisSim::DefaultConfig();
    config.finalStatus = 3;
    ASSERT_TRUE(Device::Configure(config));
    folder.WriteSettings(4, true, 5000);
    Program program(folder, Quoted(folder.File("Templates\\Default-4.qbc")));
    const HWND w = WaitUntilBroughtOnScreen(program);
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(WaitForStatus(w, "ERROR 0x3: Checksum error", 5000)) << StatusText(w);
    const auto record = Device::Read();
    ASSERT_TRUE(record.has_value());
    // One transfer only: no retry after a board status, and no second page after a failed first.
    EXPECT_EQ(record->requestCount, 10u);
    ExpectGoodTransfer(*record, 0);
    PostMessageA(w, WM_CLOSE, 0, 0);
    const auto code = program.Wait(10000);
    ASSERT_TRUE(code.has_value());
    EXPECT_EQ(*code, static_cast<DWORD>(ExitCodes::kExitProgrammingFailed));
    Device::Reset();
}

// A key file a frontend left empty, or one another program holds, ends the run as a
// missing one does: the board keeps what it had, in both modes.
TEST(BoardUsbTest, KeyFileThatIsEmptyOrHeldIsNeverProgrammed) {
    ProgramFolder folder("unreadable", true);
    ASSERT_TRUE(StartBoard(folder));
    folder.WriteSettings(2, true, 5000);
    const std::string qbc = folder.File("game.qbc");
    const struct {
        const char* name;
        const char* content;
        bool held;
        const char* switches;
        const char* why;
    } cases[] = {{"empty", "", false, "", "the file is empty"},
                 {"held", "1\r\n", true, " /verbose", "another program is using the file"},
                 {"held in the editor", "1\r\n", true, " /edit", "another program is using the file"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(Device::Reset());
        {
            std::ofstream(qbc, std::ios::binary | std::ios::trunc) << c.content;
        }
        const HANDLE hold = c.held ? CreateFileA(qbc.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr)
                                   : INVALID_HANDLE_VALUE;
        Program program(folder, Quoted(qbc) + c.switches);
        const winsupport::MessageBoxInfo box = winsupport::WaitForMessageBox(program.ProcessId(), 30000);
        ASSERT_NE(box.hwnd, nullptr) << "no message box";
        EXPECT_EQ(box.text, "Cannot read configuration file named:\r\n   " + qbc + "\r\n\r\n" + c.why);
        winsupport::PressButton(box.hwnd, IDOK);
        const auto code = program.Wait(20000);
        if (hold != INVALID_HANDLE_VALUE) CloseHandle(hold);
        ASSERT_TRUE(code.has_value());
        EXPECT_EQ(*code, static_cast<DWORD>(ExitCodes::kExitFileNotFound));
        const auto record = Device::Read();
        ASSERT_TRUE(record.has_value());
        EXPECT_EQ(record->requestCount, 0u);
    }
}

TEST(BoardUsbTest, RefusedFirstRequestIsRetriedOnceTheDriverIsFound) {
    ProgramFolder folder("retry", true);
    ASSERT_TRUE(StartBoard(folder));
    ASSERT_TRUE(Device::Reset());
    TrellisSim::Config config = TrellisSim::DefaultConfig();
    config.failPoint = TrellisSim::kFailFirst;
    config.failTransfers = 1;
    ASSERT_TRUE(Device::Configure(config));
    folder.WriteSettings(2, true, 5000);
    const std::string qbc = folder.File("Templates\\Default-2.qbc");
    Program program(folder, Quoted(qbc));
    const auto code = program.Wait(60000);
    ASSERT_TRUE(code.has_value());
    EXPECT_EQ(*code, static_cast<DWORD>(ExitCodes::kExitOk));
    const auto record = Device::Read();
    ASSERT_TRUE(record.has_value());
    ASSERT_EQ(record->requestCount, 11u);
    EXPECT_EQ(record->requests[0].code, TrellisSim::kIoctlFirst);
    EXPECT_EQ(record->requests[0].failed, 1);
    ExpectGoodTransfer(*record, 1);
    ExpectPages(*record, ExpectedPages(qbc, 2), 2, false);
    Device::Reset();
}

TEST(BoardUsbTest, VerboseShowsTheWindowAndSilentKeepsItAboveTheScreen) {
    ProgramFolder folder("verbose", true);
    ASSERT_TRUE(StartBoard(folder));
    folder.WriteSettings(2, true, 5000);
    const std::string qbc = Quoted(folder.File("Templates\\Default-2.qbc"));
    TrellisSim::Config config = TrellisSim::DefaultConfig();
    config.startDelayMs = 2500;  // the run stays in the start request meanwhile
    {
        ASSERT_TRUE(Device::Reset());
        ASSERT_TRUE(Device::Configure(config));
        Program program(folder, qbc + " /verbose");
        const HWND w = program.WaitForWindow(20000, true);
        ASSERT_NE(w, nullptr);
        EXPECT_TRUE(WaitForStatus(w, "PROGRAMMING QUORBA...", 5000)) << StatusText(w);
        ExpectCentred(w);
        const auto code = program.Wait(60000);
        ASSERT_TRUE(code.has_value());
        EXPECT_EQ(*code, static_cast<DWORD>(ExitCodes::kExitOk));
    }
    {
        ASSERT_TRUE(Device::Reset());
        ASSERT_TRUE(Device::Configure(config));
        Program program(folder, qbc);
        const HWND w = program.WaitForWindow(20000, false);
        ASSERT_NE(w, nullptr);
        EXPECT_TRUE(WaitForStatus(w, "PROGRAMMING QUORBA...", 5000)) << StatusText(w);
        RECT r;
        ASSERT_TRUE(GetWindowRect(w, &r));
        EXPECT_LE(r.bottom, 0) << "a silent run is never seen";
        const auto code = program.Wait(60000);
        ASSERT_TRUE(code.has_value());
        EXPECT_EQ(*code, static_cast<DWORD>(ExitCodes::kExitOk));
    }
    Device::Reset();
}

}  // namespace
