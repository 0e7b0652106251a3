// The options dialog's pure rules: the timeout label, the board type of the chosen
// option, the default panel-layout template with its fallbacks, and the first-run
// installation, which never replaces a working file that is there.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "core/Globals.h"
#include "core/Host.h"
#include "editor/OptionsRules.h"

namespace {

namespace fs = std::filesystem;

TEST(OptionsTimeoutLabel, ShowsSecondsWithOneDecimal) {
    const struct {
        int ms;
        const char* value;
    } cases[] = {{1000, "1.0"}, {5000, "5.0"}, {10000, "10.0"}, {5100, "5.1"}, {5050, "5.1"},
                 {5049, "5.0"}, {999, "1.0"}, {0, "0.0"},       {12000, "12.0"}};
    for (const auto& c : cases)
        EXPECT_EQ(OptionsRules::TimeoutLabel(c.ms), std::string("Adjust the timeout period:  ") + c.value + " seconds")
            << c.ms;
}

// Assertion reports go to the trace; the program folder is a temporary one.
class FolderHost : public IHost {
public:
    std::string appPath;
    std::vector<std::string> traces;
    std::string AppPath() override { return appPath; }
    void TraceLine(const std::string& line) override { traces.push_back(line); }
};

class OptionsFiles : public ::testing::Test {
protected:
    void SetUp() override {
        folder = fs::temp_directory_path() /
                 (std::string("kl-options-") + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(folder);
        fs::create_directories(folder);
        // Here a backslash is a plain character: the program's "<folder>\Templates\x" is a
        // file of that name in the folder, the same for the test and the code under test.
        host.appPath = folder.string() + "/";
        SetHost(&host);
        g_typeQuorba = TYPEQUORBA_Quorba2;
    }
    void TearDown() override {
        SetHost(nullptr);
        fs::remove_all(folder);
    }
    void Put(const std::string& programPath, const std::string& text) { std::ofstream(programPath) << text; }
    std::string Get(const std::string& programPath) {
        std::ifstream in(programPath);
        std::ostringstream s;
        s << in.rdbuf();
        return s.str();
    }
    std::string P(const std::string& name) { return host.appPath + "\\" + name; }
    std::string T(const std::string& name) { return P("Templates\\" + name); }

    fs::path folder;
    FolderHost host;
};

TEST_F(OptionsFiles, DefaultPanelTemplateIsThePreferredNameWhenThereElseTheFallback) {
    const struct {
        std::int16_t type;
        const char* preferred;
        const char* fallback;
    } boards[] = {{2, "Default_Quorba_2.cpl", "Default_2_Player.cpl"},
                  {4, "Default_Quorba_4.cpl", "Default_4_Player.cpl"},
                  {5, "Default_Quorba_VEXO.cpl", "Default_2_Player.cpl"},
                  {3, "Default_Quorba_2.cpl", "Default_2_Player.cpl"}};
    for (const auto& b : boards) {
        g_typeQuorba = b.type;
        EXPECT_EQ(OptionsRules::DefaultCplFileName(), T(b.fallback)) << b.type;  // whether or not it exists
        Put(T(b.preferred), "x");
        EXPECT_EQ(OptionsRules::DefaultCplFileName(), T(b.preferred)) << b.type;
        fs::remove(T(b.preferred));
    }
}

TEST_F(OptionsFiles, BoardTypeOfChoiceTakesTheFirstChosenAndReportsNone) {
    EXPECT_EQ(OptionsRules::BoardTypeOfChoice(true, false, false), 4);
    EXPECT_EQ(OptionsRules::BoardTypeOfChoice(false, true, false), 2);
    EXPECT_EQ(OptionsRules::BoardTypeOfChoice(false, false, true), 5);
    EXPECT_EQ(OptionsRules::BoardTypeOfChoice(true, true, true), 4);
    EXPECT_TRUE(host.traces.empty());
    EXPECT_EQ(OptionsRules::BoardTypeOfChoice(false, false, false), 2);
    ASSERT_FALSE(host.traces.empty());
    EXPECT_NE(host.traces.back().find("No Quorba option button selected!"), std::string::npos);
}

class OptionsInstall : public OptionsFiles {
protected:
    std::vector<std::string> log;
    OptionsRules::InstallActions Recording() {
        return {[this](const std::string& from, const std::string& to) {
                    log.push_back("copy " + from + " > " + to);
                    std::ifstream in(from);
                    if (in) std::ofstream(to) << in.rdbuf();
                },
                [this](const std::string& p) { log.push_back("panel " + Get(p)); },
                [this](const std::string& p) { log.push_back("keys " + Get(p)); }};
    }
};

TEST_F(OptionsInstall, MissingWorkingFilesAreCopiedFromTheBoardsTemplatesAndLoaded) {
    g_typeQuorba = TYPEQUORBA_Quorba4;
    Put(T("Default_4_Player.cpl"), "panel4");
    Put(T("Default-4.qbc"), "keys4");
    OptionsRules::InstallDefaultFiles(Recording());
    EXPECT_EQ(log, (std::vector<std::string>{"copy " + T("Default_4_Player.cpl") + " > " + P("Keyloom.cpl"),
                                             "panel panel4",
                                             "copy " + T("Default-4.qbc") + " > " + P("Keyloom.qbc"), "keys keys4"}));
}

TEST_F(OptionsInstall, ExistingWorkingFilesAreKeptAndLoadedAndAFailedCopyLoadsNothing) {
    Put(T("Default_Quorba_2.cpl"), "template");
    Put(P("Keyloom.cpl"), "mine");
    // No key template: the copy fails quietly and no key file is loaded.
    OptionsRules::InstallDefaultFiles(Recording());
    EXPECT_EQ(Get(P("Keyloom.cpl")), "mine");
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[0], "panel mine");
    EXPECT_EQ(log[1].rfind("copy ", 0), 0u);
    EXPECT_FALSE(fs::exists(P("Keyloom.qbc")));
}

}  // namespace
