// Start-up: defaults, settings file, mode detection, every switch and its error
// line, the waits, the usage text, first run and the missing-file box.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "StartupFakes.h"
#include "core/CfgFile.h"
#include "core/ExitCodes.h"
#include "core/Globals.h"
#include "core/QbcFile.h"

using namespace startup_test;

namespace {

const std::string kTitle = "Keyloom - www.keyloom.example";

const std::string kEditorBlock =
    "=== EDITOR MODE ===\r\n"
    "Keyloom [filename.qbc] /edit [/T] [/D] [/?]\r\n"
    "   filename.qbc - QBC file to load and edit (optional)\r\n"
    "   /edit - Shows the Keyloom Editor (REQUIRED)\r\n"
    "   /T - Default to displaying User Text in Key Assignment Editor\r\n"
    "   /D - Load default key assignments\r\n"
    "   /? - Displays this message\r\n";
const std::string kCommandLineBlock =
    "=== COMMAND-LINE MODE ===\r\n"
    "Keyloom filename.qbc [/verbose] [/delay] [/?]\r\n"
    "   filename.qbc - QBC file to download into the Quorba (REQUIRED)\r\n"
    "   /verbose - Verbose mode; display GUI during Quorba programming\r\n"
    "   /delay - Delay five seconds before programming\r\n"
    "   /delay:0.5 - Delay a half second before programming (range: 0 to 60 seconds)\r\n";

std::string Usage(bool commandLineMode, const std::string& error, const std::string& cmd) {
    std::string s = error.empty() ? "" : error + "\r\n\r\n";
    s += commandLineMode ? kCommandLineBlock : kEditorBlock;
    s += "\r\nor\r\n\r\n";
    s += commandLineMode ? kEditorBlock : kCommandLineBlock;
    if (!cmd.empty()) s += "\r\nCommand line supplied was:\r\n" + cmd;
    return s;
}

// A key-assignment file of the given board type, as the writer makes it, with a
// marker in its first macro key (a load never changes the board type; the marker
// tells which file was loaded).
std::string QbcOfBoard(std::int16_t board, std::uint8_t marker = 0) {
    const std::int16_t keep = g_typeQuorba;
    g_typeQuorba = board;
    g_abMacroKeys[0] = marker ? marker : static_cast<std::uint8_t>(100 + board);
    std::ostringstream out;
    QbcFile::WriteQbcTo(out);
    g_abMacroKeys[0] = 0;
    g_typeQuorba = keep;
    return out.str();
}
// The marker of the file that was loaded (0: none).
int Loaded() { return g_abMacroKeys[0] ? g_abMacroKeys[0] - 100 : 0; }

std::string CfgOfBoard(std::int16_t board, std::int32_t timeout) {
    return "[BOARD TYPE] " + std::to_string(board) + "\r\n[USB MODE] False\r\n[DOWNLOAD SPEED] 100\r\n[TIMEOUT] " +
           std::to_string(timeout) + "\r\n";
}

class MainTest : public ::testing::Test {
protected:
    ScratchFolder folder;
    RecordingHost host;
    RecordingWindows windows;
    RecordingKeyboard keyboard{windows.log};

    void SetUp() override {
        host.appPath = folder.AppPath();
        SetHost(&host);
        MainStartup::SetStartupWindows(&windows);
        KeyTables::SetKeyboardDevice(&keyboard);
        g_fCommandLineMode = false;
        g_fShowUserText = false;
        g_fRamOnly = false;
        g_fShowProgress = false;
        g_fDebugGui = false;
        g_typeQuorba = 0;
        g_fUsbMode = false;
        g_lTimeout = 0;
        g_lDownloadSpeed = 0;
        g_modeEditor = 0;
        g_abMacroKeys[0] = 0;
    }
    void TearDown() override {
        KeyTables::SetKeyboardDevice(nullptr);
        MainStartup::SetStartupWindows(nullptr);
        SetHost(nullptr);
    }
    void Run(const std::string& cmd) {
        windows.commandLine = cmd;
        MainStartup::Main();
    }
    void WriteCfg() { folder.Write("Keyloom.cfg", CfgOfBoard(2, 5000)); }
    // The command line ended with the usage text and this error line.
    void ExpectUsageEnd(const std::string& error, const std::string& cmd) {
        ASSERT_EQ(host.boxes.size(), 1u);
        EXPECT_EQ(host.boxes[0].text, Usage(g_fCommandLineMode, error, cmd));
        EXPECT_EQ(host.boxes[0].title, kTitle);
        EXPECT_EQ(host.boxes[0].flags, 64u);
        ASSERT_EQ(host.ends.size(), 1u);
        EXPECT_EQ(host.ends[0], ExitCodes::kExitUsage);
    }
};

// ------------------------------------------------------------------ editor mode

TEST_F(MainTest, EmptyCommandLineStartsTheEditorWithDefaults) {
    WriteCfg();
    folder.Write("Keyloom.cfg", "");  // exists, every line blank: defaults and USB
    Run("");
    EXPECT_FALSE(g_fCommandLineMode);
    EXPECT_TRUE(g_fShowProgress);
    EXPECT_EQ(g_modeEditor, 1);
    EXPECT_EQ(g_typeQuorba, 2);
    EXPECT_TRUE(g_fUsbMode);
    EXPECT_TRUE(host.boxes.empty());
    EXPECT_TRUE(host.ends.empty());
    // The keyboard device is made once the main window is on screen, before any key.
    EXPECT_EQ(windows.log, (std::vector<std::string>{"load main", "move main", "show main", "keyboard"}));
}

TEST_F(MainTest, SettingsFileValuesReplaceTheDefaults) {
    folder.Write("Keyloom.cfg", CfgOfBoard(4, 7000));
    Run("");
    EXPECT_EQ(g_typeQuorba, 4);
    EXPECT_FALSE(g_fUsbMode);
    EXPECT_EQ(g_lTimeout, 7000);
    EXPECT_EQ(g_lDownloadSpeed, 100);
}

TEST_F(MainTest, EditorLoadsTheDefaultWorkingFileWhenItExists) {
    WriteCfg();
    folder.Write("keyloom.qbc", QbcOfBoard(5));
    Run("");
    EXPECT_EQ(Loaded(), 5);
    EXPECT_EQ(g_typeQuorba, 2);  // the settings' board type stays
    EXPECT_TRUE(host.boxes.empty());
}

TEST_F(MainTest, FirstRunShowsTheMainWindowThenTheOptionsBeforeLookingForTheFile) {
    // The dialog writes the settings file and the working file appears meanwhile.
    windows.onOptions = [&] {
        folder.Write("Keyloom.cfg", CfgOfBoard(4, 5000));
        folder.Write("keyloom.qbc", QbcOfBoard(4));
    };
    Run("");
    // The keyboard is made at the first showing, before the dialog can take keys, and once.
    EXPECT_EQ(windows.log, (std::vector<std::string>{"load main", "move main", "show main", "keyboard", "options",
                                                     "show main"}));
    EXPECT_EQ(Loaded(), 4);
    EXPECT_TRUE(host.boxes.empty());
    EXPECT_TRUE(host.ends.empty());
}

TEST_F(MainTest, FailedKeyboardSetUpIsReportedOnceAtStartAndTriedAgainByAKeyRead) {
    keyboard.fails = true;
    Run("");  // first run: the main window is shown twice
    auto reports = [&] {
        return std::count_if(host.traces.begin(), host.traces.end(), [](const std::string& t) {
            return t.find("InitializeDirectInput: ERROR 0x80040154") != std::string::npos;
        });
    };
    EXPECT_EQ(std::count(windows.log.begin(), windows.log.end(), "keyboard"), 1);
    EXPECT_EQ(reports(), 1);
    EXPECT_FALSE(KeyTables::IsDxKeyDown(42));
    EXPECT_EQ(std::count(windows.log.begin(), windows.log.end(), "keyboard"), 2);
    EXPECT_EQ(reports(), 2);
}

TEST_F(MainTest, NamedFileWithEditIsLoadedInTheEditor) {
    WriteCfg();
    const std::string file = folder.Write("panel one.qbc", QbcOfBoard(4));
    Run(" \"" + file + "\"  /edit ");
    EXPECT_FALSE(g_fCommandLineMode);
    EXPECT_EQ(Loaded(), 4);
    EXPECT_EQ(windows.log.back(), "keyboard");
}

TEST_F(MainTest, UserTextSwitchInTheEditor) {
    WriteCfg();
    Run("/t");
    EXPECT_TRUE(g_fShowUserText);
    EXPECT_TRUE(host.ends.empty());
}

TEST_F(MainTest, DefaultsSwitchLoadsTheBoardsTemplate) {
    folder.Write("Keyloom.cfg", CfgOfBoard(4, 5000));
    folder.Write("Templates\\Default-4.qbc", QbcOfBoard(4));
    Run("/D");
    EXPECT_TRUE(host.boxes.empty());
    EXPECT_EQ(Loaded(), 4);
    // A named file is never a first run, even without a settings file.
    EXPECT_EQ(windows.log, (std::vector<std::string>{"load main", "move main", "show main", "keyboard"}));
}

TEST_F(MainTest, DefaultsSwitchWithAMissingTemplateNamesItInTheMissingFileBox) {
    folder.Write("Keyloom.cfg", CfgOfBoard(5, 5000));
    Run("/d");
    ASSERT_EQ(host.boxes.size(), 1u);
    EXPECT_EQ(host.boxes[0].text,
              "Cannot find configuration file named:\r\n   " + folder.AppPath() + "\\Templates\\Default-VEXO.qbc");
    EXPECT_EQ(host.ends, std::vector<int>{ExitCodes::kExitFileNotFound});
}

TEST_F(MainTest, DebugGuiAloneIsEditorMode) {
    WriteCfg();
    Run("/debuggui");
    EXPECT_TRUE(g_fDebugGui);
    EXPECT_FALSE(g_fCommandLineMode);
    EXPECT_TRUE(host.ends.empty());
}

TEST_F(MainTest, MarkerFileTurnsTheDebugDisplayOn) {
    WriteCfg();
    folder.Write("DebugMeNow.txt", "");
    Run("");
    EXPECT_TRUE(g_fDebugGui);
}

// ------------------------------------------------------------------ command-line mode

TEST_F(MainTest, CommandLineProgramsSilentlyWithTheWindowAboveTheScreen) {
    const std::string file = folder.Write("k.qbc", QbcOfBoard(4));
    Run(file);
    EXPECT_TRUE(g_fCommandLineMode);
    EXPECT_FALSE(g_fShowProgress);
    EXPECT_EQ(Loaded(), 4);
    EXPECT_EQ(windows.log, (std::vector<std::string>{"load downloading", "move downloading", "show downloading",
                                                     "program"}));
    EXPECT_FLOAT_EQ(windows.downloading.t, -1500.0f - 2000.0f);
    EXPECT_TRUE(host.ends.empty());
}

TEST_F(MainTest, VerboseCentresTheProgrammingWindow) {
    const std::string file = folder.Write("k.qbc", QbcOfBoard(2));
    Run(file + " /VERBOSE");
    EXPECT_TRUE(g_fShowProgress);
    // The stand-in screen: 1280 x 1024 pixels at 15 twips.
    EXPECT_FLOAT_EQ(windows.downloading.l, (19200.0f - 6000.0f) / 2);
    EXPECT_FLOAT_EQ(windows.downloading.t, (15360.0f - 1500.0f) / 2);
    EXPECT_EQ(windows.log.back(), "program");
}

TEST_F(MainTest, RamSwitchesInCommandLineMode) {
    const std::string file = folder.Write("k.qbc", QbcOfBoard(2));
    Run(file + " /r");
    EXPECT_TRUE(g_fRamOnly);
    g_fRamOnly = false;
    Run(file + " /Ram");
    EXPECT_TRUE(g_fRamOnly);
    EXPECT_TRUE(host.ends.empty());
}

TEST_F(MainTest, ProgramSwitchWithoutAFileEndsWithTheMissingFileError) {
    Run("/program");
    EXPECT_TRUE(g_fCommandLineMode);
    ExpectUsageEnd("ERROR: command-line is missing .QBC file", "/program");
    // The window was placed before the file was looked for; nothing was programmed.
    EXPECT_EQ(windows.log, (std::vector<std::string>{"load downloading", "move downloading"}));
}

TEST_F(MainTest, MissingNamedFileShowsTheCriticalBoxAndEnds) {
    Run("nothere.qbc");
    ASSERT_EQ(host.boxes.size(), 1u);
    EXPECT_EQ(host.boxes[0].text, "Cannot find configuration file named:\r\n   nothere.qbc");
    EXPECT_EQ(host.boxes[0].flags, 16u);
    EXPECT_EQ(host.boxes[0].title, kTitle);
    EXPECT_EQ(host.ends, std::vector<int>{ExitCodes::kExitFileNotFound});
    EXPECT_EQ(std::count(windows.log.begin(), windows.log.end(), "program"), 0);
}

TEST_F(MainTest, MissingNamedFileInTheEditorAlsoEnds) {
    WriteCfg();
    Run("nothere.qbc /edit");
    ASSERT_EQ(host.boxes.size(), 1u);
    EXPECT_EQ(host.ends, std::vector<int>{ExitCodes::kExitFileNotFound});
    // The main window is loaded and placed by then, but never shown.
    EXPECT_EQ(windows.log, (std::vector<std::string>{"load main", "move main"}));
}

// ------------------------------------------------------------------ waits

struct DelayCase {
    const char* switches;
    std::vector<long> sleeps;
};

class DelayTest : public MainTest, public ::testing::WithParamInterface<DelayCase> {};

TEST_P(DelayTest, WaitsBeforeProgramming) {
    const std::string file = folder.Write("k.qbc", QbcOfBoard(2));
    Run(file + " " + GetParam().switches);
    EXPECT_EQ(host.sleeps, GetParam().sleeps);
    EXPECT_TRUE(host.ends.empty());
    EXPECT_EQ(windows.log.back(), "program");
}

INSTANTIATE_TEST_SUITE_P(Forms, DelayTest,
                         ::testing::Values(DelayCase{"/delay", {5000}}, DelayCase{"/DELAY:0", {}},
                                           DelayCase{"/delay:75", {60000}}, DelayCase{"/delay:60", {60000}},
                                           DelayCase{"/delay:abc", {}}, DelayCase{"/delay:", {}},
                                           DelayCase{"/delay:0.5", {500}}, DelayCase{"/delay:-3", {}},
                                           DelayCase{"/delay: 2.25", {2250}}, DelayCase{"/delay:1.0004", {1000}},
                                           DelayCase{"/delay:1e1", {10000}},
                                           DelayCase{"/delay:0.0004", {}}, DelayCase{"/delay:02d -007", {}},
                                           DelayCase{"/delay /delay:2", {5000, 2000}}));

// ------------------------------------------------------------------ bad switches

struct BadCase {
    const char* cmd;   // %F: an existing .qbc file
    bool commandLineMode;
    const char* error;
    std::vector<long> sleeps;
};

class BadSwitchTest : public MainTest, public ::testing::WithParamInterface<BadCase> {};

TEST_P(BadSwitchTest, EndsWithTheUsageTextAndItsErrorLine) {
    WriteCfg();
    const std::string file = folder.Write("k.qbc", QbcOfBoard(2));
    std::string cmd = GetParam().cmd;
    if (auto at = cmd.find("%F"); at != std::string::npos) cmd.replace(at, 2, file);
    Run(cmd);
    EXPECT_EQ(g_fCommandLineMode, GetParam().commandLineMode);
    ExpectUsageEnd(GetParam().error, cmd);
    EXPECT_EQ(host.sleeps, GetParam().sleeps);
    // Before any window was placed.
    EXPECT_TRUE(windows.log.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Lines, BadSwitchTest,
    ::testing::Values(BadCase{"%F /program /T", true, "ERROR: /T cannot be used in command-line mode", {}},
                      // "/T" is found before ".QBC": a file with /T alone is editor mode.
                      BadCase{"%F /T /x", false, "", {}},
                      BadCase{"/edit /ram", false, "ERROR: /ram cannot be used in editor mode", {}},
                      BadCase{"/edit /R", false, "ERROR: /ram cannot be used in editor mode", {}},
                      BadCase{"%F /program /D", true, "ERROR: /D cannot be used in command-line mode", {}},
                      BadCase{"%F /edit /delay", false, "ERROR: /delay cannot be used in editor mode", {5000}},
                      BadCase{"/edit /delay:3", false, "ERROR: /delay cannot be used in editor mode", {}},
                      BadCase{"%F /edit /verbose", false, "ERROR: /verbose cannot be used in editor mode", {}},
                      BadCase{"/edit /verbose /ram", false, "ERROR: /verbose cannot be used in editor mode", {}},
                      BadCase{"%F /verbose /T", true, "ERROR: /T cannot be used in command-line mode", {}},
                      BadCase{"/?", false, "", {}}, BadCase{"%F /?", true, "", {}},
                      BadCase{"/bogus", false, "", {}}, BadCase{"/T /Text", false, "", {}},
                      BadCase{"/edit /", false, "", {}}, BadCase{"%F /delay:1 /x", true, "", {1000}},
                      BadCase{"/edit //T", false, "", {}}));

TEST_F(MainTest, TInCommandLineModeSetsTheFlagBeforeEnding) {
    const std::string file = folder.Write("k.qbc", QbcOfBoard(2));
    Run(file + " /program /T");
    EXPECT_TRUE(g_fShowUserText);
    ASSERT_EQ(host.ends.size(), 1u);
}

TEST_F(MainTest, UsageTextShowsTheCommandLineAsReceived) {
    Run("  /whatever  ");
    ASSERT_EQ(host.boxes.size(), 1u);
    EXPECT_EQ(host.boxes[0].text, Usage(false, "", "  /whatever  "));
}

// ------------------------------------------------------------------ pieces

TEST(UsageText, EmptyCommandLineHasNoSuppliedPart) {
    g_fCommandLineMode = false;
    const std::string s = MainStartup::UsageText("", "");
    EXPECT_EQ(s, kEditorBlock + "\r\nor\r\n\r\n" + kCommandLineBlock);
    EXPECT_EQ(s.find("Command line supplied was:"), std::string::npos);
    g_fCommandLineMode = true;
    EXPECT_EQ(MainStartup::UsageText("E", "x"),
              "E\r\n\r\n" + kCommandLineBlock + "\r\nor\r\n\r\n" + kEditorBlock + "\r\nCommand line supplied was:\r\nx");
    g_fCommandLineMode = false;
}

struct ModeCase {
    const char* cmd;
    bool before;
    bool after;
};
class ModeTest : public ::testing::TestWithParam<ModeCase> {};

TEST_P(ModeTest, FirstHitDecides) {
    g_fCommandLineMode = GetParam().before;
    MainStartup::DetectCommandLineMode(GetParam().cmd);
    EXPECT_EQ(g_fCommandLineMode, GetParam().after) << GetParam().cmd;
    g_fCommandLineMode = false;
}

INSTANTIATE_TEST_SUITE_P(
    Order, ModeTest,
    ::testing::Values(ModeCase{"", false, false}, ModeCase{"", true, true}, ModeCase{"plain", true, true},
                      ModeCase{"a.qbc", false, true}, ModeCase{"A.QBC /edit", false, false},
                      ModeCase{"x /edit /program", false, true}, ModeCase{"x.qbc /edit /verbose", false, false},
                      ModeCase{"x /verbose /t", false, true}, ModeCase{"/delay:2 /T", false, true},
                      ModeCase{"/Ram /D", false, true}, ModeCase{"/debuggui", false, false},
                      ModeCase{"/Toast.qbc", false, false}, ModeCase{"a.qbc /D", false, false},
                      ModeCase{"/editor.qbc", false, false}, ModeCase{"file.qbcx", false, true}));

TEST(SplitTest, QuotesAndBlanksAroundTheFileName) {
    auto s = MainStartup::Split("  \"C:\\My Files\\k.qbc\"  /verbose /delay:2");
    EXPECT_EQ(s.sFileName, "C:\\My Files\\k.qbc");
    EXPECT_EQ(s.switches, (std::vector<std::string>{"verbose ", "delay:2"}));
    // Only one quote at each end goes.
    EXPECT_EQ(MainStartup::Split("\"\"a\"\"").sFileName, "\"a\"");
    EXPECT_EQ(MainStartup::Split("\"").sFileName, "");
    EXPECT_EQ(MainStartup::Split("  \" spaced \"").sFileName, " spaced ");
    EXPECT_TRUE(MainStartup::Split("").switches.empty());
    EXPECT_EQ(MainStartup::Split("/").switches, std::vector<std::string>{""});
    EXPECT_EQ(MainStartup::Split("/a//b").switches, (std::vector<std::string>{"a", "", "b"}));
}

}  // namespace
