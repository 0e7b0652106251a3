// keyloom.exe from its program folder: the usage box for a bad switch, the
// missing-file box, and a first run of the editor, each with its exit code.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <vector>

#include "core/ExitCodes.h"
#include "editor/frmOptions.h"
#include "support/WinSupport.h"

namespace {

const std::string kTitle = "Keyloom - www.keyloom.example";
constexpr DWORD kTimeout = 30000;

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

std::string ProgramDir() { return winsupport::Env("KL_PROGRAM_DIR"); }

std::string Quoted(const std::string& s) { return "\"" + s + "\""; }

// Answers boxes of other origin (the editor's report of a missing port-access
// control, when it is not registered in this prefix) until the start-up's own
// box turns up.
winsupport::MessageBoxInfo WaitForStartupBox(DWORD pid) {
    for (int i = 0; i < 3; ++i) {
        winsupport::MessageBoxInfo box = winsupport::WaitForMessageBox(pid, kTimeout);
        if (!box.hwnd || box.title == kTitle) return box;
        winsupport::PressButton(box.hwnd, IDOK);
        winsupport::WaitUntil([&] { return !IsWindow(box.hwnd); }, kTimeout, false);
    }
    return {};
}

class EndToEnd : public ::testing::Test {
protected:
    void SetUp() override {
        if (ProgramDir().empty()) GTEST_SKIP() << "KL_PROGRAM_DIR is not set (run through tools/wine-run.sh)";
    }
    winsupport::ChildProcess proc;
};

TEST_F(EndToEnd, BadSwitchShowsTheUsageBoxAndEndsWithTheUsageCode) {
    ASSERT_TRUE(proc.Start(Quoted(ProgramDir() + "\\keyloom.exe") + " /bogus", ProgramDir()));
    winsupport::MessageBoxInfo box = winsupport::WaitForMessageBox(proc.Pid(), kTimeout);
    ASSERT_NE(box.hwnd, nullptr) << "no message box";
    EXPECT_EQ(box.title, kTitle);
    EXPECT_EQ(box.text, kEditorBlock + "\r\nor\r\n\r\n" + kCommandLineBlock + "\r\nCommand line supplied was:\r\n/bogus");
    EXPECT_TRUE(box.hasIcon);
    ASSERT_EQ(box.buttons.size(), 1u);
    const std::string dir = winsupport::Env("KL_BUILD_DIR");
    if (!dir.empty()) winsupport::SaveScreenshot(box.hwnd, dir + "\\startup-usage.png");
    ASSERT_TRUE(winsupport::PressButton(box.hwnd, IDOK));
    DWORD code = 0;
    ASSERT_TRUE(proc.WaitForExit(kTimeout, code));
    EXPECT_EQ(code, static_cast<DWORD>(ExitCodes::kExitUsage));
}

TEST_F(EndToEnd, MisplacedSwitchShowsItsErrorLineFirst) {
    ASSERT_TRUE(proc.Start(Quoted(ProgramDir() + "\\keyloom.exe") + " k.qbc /program /T", ProgramDir()));
    winsupport::MessageBoxInfo box = winsupport::WaitForMessageBox(proc.Pid(), kTimeout);
    ASSERT_NE(box.hwnd, nullptr);
    EXPECT_EQ(box.text, "ERROR: /T cannot be used in command-line mode\r\n\r\n" + kCommandLineBlock +
                            "\r\nor\r\n\r\n" + kEditorBlock + "\r\nCommand line supplied was:\r\nk.qbc /program /T");
    winsupport::PressButton(box.hwnd, IDOK);
    DWORD code = 0;
    ASSERT_TRUE(proc.WaitForExit(kTimeout, code));
    EXPECT_EQ(code, static_cast<DWORD>(ExitCodes::kExitUsage));
}

TEST_F(EndToEnd, MissingFileShowsTheCriticalBoxAndEndsWithItsCode) {
    ASSERT_TRUE(proc.Start(Quoted(ProgramDir() + "\\keyloom.exe") + " missing.qbc /edit", ProgramDir()));
    winsupport::MessageBoxInfo box = WaitForStartupBox(proc.Pid());
    ASSERT_NE(box.hwnd, nullptr) << "no message box";
    EXPECT_EQ(box.text, "Cannot find configuration file named:\r\n   missing.qbc");
    EXPECT_TRUE(box.hasIcon);
    winsupport::PressButton(box.hwnd, IDOK);
    DWORD code = 0;
    ASSERT_TRUE(proc.WaitForExit(kTimeout, code));
    EXPECT_EQ(code, static_cast<DWORD>(ExitCodes::kExitFileNotFound));
}

// A program folder of its own: keyloom.exe and the templates, no settings file.
class FirstRun : public EndToEnd {
protected:
    std::string dir;
    void SetUp() override {
        EndToEnd::SetUp();
        if (IsSkipped()) return;
        const std::string build = winsupport::Env("KL_BUILD_DIR");
        ASSERT_FALSE(build.empty());
        dir = build + "\\startup-first-run";
        for (const char* f : {"\\Keyloom.cfg", "\\Keyloom.qbc", "\\Keyloom.cpl", "\\keyloom.exe"})
            DeleteFileA((dir + f).c_str());
        CreateDirectoryA(dir.c_str(), nullptr);
        CreateDirectoryA((dir + "\\Templates").c_str(), nullptr);
        ASSERT_TRUE(CopyFileA((ProgramDir() + "\\keyloom.exe").c_str(), (dir + "\\keyloom.exe").c_str(), FALSE));
        for (const char* pattern : {"\\Templates\\*.qbc", "\\Templates\\*.cpl"}) {
            WIN32_FIND_DATAA fd;
            HANDLE h = FindFirstFileA((ProgramDir() + pattern).c_str(), &fd);
            ASSERT_NE(h, INVALID_HANDLE_VALUE);
            do {
                CopyFileA((ProgramDir() + "\\Templates\\" + fd.cFileName).c_str(),
                          (dir + "\\Templates\\" + fd.cFileName).c_str(), FALSE);
            } while (FindNextFileA(h, &fd));
            FindClose(h);
        }
        winsupport::DeleteUserRegValue("Software\\Keyloom\\Default", "MainWindowLeft");
    }
    // The visible main windows of the program (the editor's caption is "Keyloom" alone).
    std::vector<HWND> MainWindows() const {
        std::vector<HWND> found;
        for (HWND w : winsupport::TopLevelWindows(proc.Pid()))
            if (IsWindowVisible(w) && winsupport::ClassName(w) == "KeyloomForm" && winsupport::WindowText(w) == "Keyloom")
                found.push_back(w);
        return found;
    }
    // Waits for the first-run dialog, answering boxes of other origin on the way.
    HWND WaitForOptions() {
        HWND options = nullptr;
        winsupport::WaitUntil(
            [&] {
                options =
                    winsupport::FindTopLevelWindow(proc.Pid(), "KeyloomForm", "Keyloom Initial Configuration", 0);
                if (options) return true;
                winsupport::MessageBoxInfo box = winsupport::WaitForMessageBox(proc.Pid(), 0);
                if (box.hwnd) winsupport::PressButton(box.hwnd, IDOK);
                return false;
            },
            kTimeout, false);
        return options;
    }
    static std::string Read(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream s;
        s << in.rdbuf();
        return s.str();
    }
};

TEST_F(FirstRun, OptionsOverTheMainWindowWriteTheSettingsAndClosingSavesAndExitsZero) {
    ASSERT_TRUE(proc.Start(Quoted(dir + "\\keyloom.exe"), dir));
    // The missing port-access control may be reported first.
    HWND options = nullptr;
    ASSERT_TRUE(winsupport::WaitUntil(
        [&] {
            options = winsupport::FindTopLevelWindow(proc.Pid(), "KeyloomForm", "Keyloom Initial Configuration", 0);
            if (options) return true;
            winsupport::MessageBoxInfo box = winsupport::WaitForMessageBox(proc.Pid(), 0);
            if (box.hwnd) winsupport::PressButton(box.hwnd, IDOK);
            return false;
        },
        kTimeout, false));
    // The main window is on screen under the dialog, and disabled by it.
    HWND main = winsupport::FindTopLevelWindow(proc.Pid(), "KeyloomForm", "Keyloom", kTimeout);
    ASSERT_NE(main, nullptr);
    EXPECT_FALSE(IsWindowEnabled(main));
    // First run: no Cancel.
    HWND cancel = GetDlgItem(options, forms::frmOptions::kIdCancel);
    ASSERT_NE(cancel, nullptr);
    EXPECT_FALSE(IsWindowVisible(cancel));
    ASSERT_TRUE(winsupport::PressButton(options, forms::frmOptions::kIdOkay));
    ASSERT_TRUE(winsupport::WaitUntil([&] { return !IsWindow(options) && IsWindowEnabled(main); }, kTimeout, false));
    EXPECT_EQ(Read(dir + "\\Keyloom.cfg"),
              "[BOARD TYPE] 2\r\n[USB MODE] True\r\n[DOWNLOAD SPEED] 100\r\n[TIMEOUT] 5000\r\n");
    // The default key assignments became the working file.
    EXPECT_EQ(Read(dir + "\\Keyloom.qbc"), Read(dir + "\\Templates\\Default-2.qbc"));
    DeleteFileA((dir + "\\Keyloom.qbc").c_str());
    PostMessageA(main, WM_CLOSE, 0, 0);
    DWORD code = 99;
    ASSERT_TRUE(proc.WaitForExit(kTimeout, code));
    EXPECT_EQ(code, static_cast<DWORD>(ExitCodes::kExitOk));
    // Closing saved the working file and the window position.
    EXPECT_NE(GetFileAttributesA((dir + "\\Keyloom.qbc").c_str()), INVALID_FILE_ATTRIBUTES);
    std::string left;
    EXPECT_TRUE(winsupport::ReadUserRegString("Software\\Keyloom\\Default", "MainWindowLeft", left));
}

TEST_F(FirstRun, ClosingTheDialogSavesInstallsTheDefaultsAndLeavesOneMainWindowThatEndsTheProgram) {
    ASSERT_TRUE(proc.Start(Quoted(dir + "\\keyloom.exe") + " /edit", dir));
    HWND options = WaitForOptions();
    ASSERT_NE(options, nullptr);
    EXPECT_EQ(GetWindow(options, GW_OWNER), winsupport::FindTopLevelWindow(proc.Pid(), "KeyloomForm", "Keyloom", 0));
    PostMessageA(options, WM_CLOSE, 0, 0);  // the close box
    ASSERT_TRUE(winsupport::WaitUntil([&] { return !IsWindow(options); }, kTimeout, false));
    EXPECT_EQ(Read(dir + "\\Keyloom.cfg"),
              "[BOARD TYPE] 2\r\n[USB MODE] True\r\n[DOWNLOAD SPEED] 100\r\n[TIMEOUT] 5000\r\n");
    EXPECT_EQ(Read(dir + "\\Keyloom.qbc"), Read(dir + "\\Templates\\Default-2.qbc"));
    const std::string panel = Read(dir + "\\Templates\\Default_Quorba_2.cpl");
    ASSERT_FALSE(panel.empty());
    EXPECT_EQ(Read(dir + "\\Keyloom.cpl"), panel);
    std::vector<HWND> mains;
    ASSERT_TRUE(winsupport::WaitUntil(
        [&] {
            mains = MainWindows();
            return mains.size() == 1 && IsWindowEnabled(mains[0]);
        },
        kTimeout, false))
        << mains.size() << " main windows";
    // Only the main window is left to close: its close box ends the program.
    PostMessageA(mains[0], WM_CLOSE, 0, 0);
    DWORD code = 99;
    ASSERT_TRUE(proc.WaitForExit(kTimeout, code));
    EXPECT_EQ(code, static_cast<DWORD>(ExitCodes::kExitOk));
    // The installed panel was loaded, so closing wrote it back as it came.
    EXPECT_EQ(Read(dir + "\\Keyloom.cpl"), panel);
}

}  // namespace
