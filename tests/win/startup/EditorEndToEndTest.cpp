// keyloom.exe /edit with working files of each board type: the editor opens where it was
// last closed, and closing it writes the working files back unchanged and saves its
// position again. The first key typed after the start, a sided one, reads as the key pressed.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "core/ExitCodes.h"
#include "support/WinSupport.h"

namespace {

constexpr DWORD kTimeout = 30000;
const std::string kSettingsKey = "Software\\Keyloom\\Default";

std::string Read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void Write(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
}

bool WriteUserRegString(const std::string& subKey, const std::string& name, const std::string& value) {
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, subKey.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return false;
    const LONG rc = RegSetValueExA(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                                   static_cast<DWORD>(value.size() + 1));
    RegCloseKey(key);
    return rc == ERROR_SUCCESS;
}

struct Board {
    int type;
    const char* templateName;
};

class EditorEndToEnd : public ::testing::TestWithParam<Board> {};

const std::string kPanel =
    "3000!1200!345!360!01|2|7|0\r\n4500!2400!450!450!54|0|0|0\r\n4612.5!2265!225!120!AU|1|1|0\r\n"
    "4612.5!2865!225!120!AD|1|2|0\r\n4365!2512.5!120!225!AL|1|3|0\r\n4965!2512.5!120!225!AR|1|4|0\r\n"
    "6000.5!1417.5!345!360!10|1|13|0\r\n";

// A program folder of the test's own: keyloom.exe, settings of the board type over USB, the
// board's template keys and kPanel as working files; the main window's position, 1500 x 1200
// twips, saved in the registry. Returns the folder.
std::string PrepareEditorFolder(const std::string& name, const Board& board, std::string& keys) {
    const std::string program = winsupport::Env("KL_PROGRAM_DIR"), build = winsupport::Env("KL_BUILD_DIR");
    const std::string dir = build + "\\" + name;
    CreateDirectoryA(dir.c_str(), nullptr);
    EXPECT_TRUE(CopyFileA((program + "\\keyloom.exe").c_str(), (dir + "\\keyloom.exe").c_str(), FALSE));
    Write(dir + "\\Keyloom.cfg", "[BOARD TYPE] " + std::to_string(board.type) +
                                     "\r\n[USB MODE] True\r\n[DOWNLOAD SPEED] 100\r\n[TIMEOUT] 5000\r\n");
    keys = Read(program + "\\Templates\\" + board.templateName);
    EXPECT_FALSE(keys.empty());
    Write(dir + "\\Keyloom.qbc", keys);
    Write(dir + "\\Keyloom.cpl", kPanel);
    for (const auto& [valueName, value] : {std::pair<const char*, const char*>{"MainWindowLeft", "1500"},
                                           {"MainWindowTop", "1200"}, {"MainWindowWidth", "9000"},
                                           {"MainWindowHeight", "7000"}})
        EXPECT_TRUE(WriteUserRegString(kSettingsKey, valueName, value));
    return dir;
}

// keyloom.exe /edit started from its folder as a user starts it; its main window once it
// takes input (null when it did not come).
HWND StartEditor(winsupport::ChildProcess& proc, const std::string& dir) {
    if (!proc.Start("\"" + dir + "\\keyloom.exe\" /edit", dir)) return nullptr;
    HWND main = nullptr;
    // The port-access control is not registered in this prefix: its report is answered.
    const bool up = winsupport::WaitUntil(
        [&] {
            winsupport::MessageBoxInfo box = winsupport::WaitForMessageBox(proc.Pid(), 0);
            if (box.hwnd) winsupport::PressButton(box.hwnd, IDOK);
            main = winsupport::FindTopLevelWindow(proc.Pid(), "KeyloomForm", "Keyloom", 0);
            return main != nullptr && IsWindowEnabled(main);
        },
        kTimeout, false);
    return up ? main : nullptr;
}

bool RunThroughWine() {
    return !winsupport::Env("KL_PROGRAM_DIR").empty() && !winsupport::Env("KL_BUILD_DIR").empty();
}

TEST_P(EditorEndToEnd, ClosingWritesTheWorkingFilesBackUnchangedAndKeepsThePosition) {
    if (!RunThroughWine()) GTEST_SKIP() << "run through tools/wine-run.sh";
    const Board board = GetParam();
    std::string keys;
    const std::string dir = PrepareEditorFolder("editor-e2e-" + std::to_string(board.type), board, keys);
    const std::string panel = kPanel;
    winsupport::ChildProcess proc;
    const HWND main = StartEditor(proc, dir);
    ASSERT_NE(main, nullptr);
    RECT r;
    GetWindowRect(main, &r);
    EXPECT_EQ(r.left, 100);  // 1500 twips at 15 twips per pixel
    EXPECT_EQ(r.top, 80);

    DeleteFileA((dir + "\\Keyloom.qbc").c_str());
    DeleteFileA((dir + "\\Keyloom.cpl").c_str());
    winsupport::DeleteUserRegValue(kSettingsKey, "MainWindowLeft");
    PostMessageA(main, WM_CLOSE, 0, 0);
    DWORD code = 99;
    ASSERT_TRUE(proc.WaitForExit(kTimeout, code));
    EXPECT_EQ(code, static_cast<DWORD>(ExitCodes::kExitOk));
    EXPECT_EQ(Read(dir + "\\Keyloom.qbc"), keys);
    EXPECT_EQ(Read(dir + "\\Keyloom.cpl"), panel);
    std::string left;
    EXPECT_TRUE(winsupport::ReadUserRegString(kSettingsKey, "MainWindowLeft", left));
    EXPECT_EQ(left, "1500");
}

INSTANTIATE_TEST_SUITE_P(Boards, EditorEndToEnd,
                         ::testing::Values(Board{2, "Default-2.qbc"}, Board{4, "Default-4.qbc"},
                                           Board{5, "Default-VEXO.qbc"}),
                         [](const auto& info) { return "Quorba" + std::to_string(info.param.type); });

struct SidedKey {
    const char* name;
    WORD vk;
    const char* keyName;  // what the panel control's caption shows once the key is assigned
};

class EditorFirstKey : public ::testing::TestWithParam<SidedKey> {};

// The editor just started, a panel control selected, and the first key the user types is
// a sided one: it is read as the key pressed, not as its right-hand (keypad) twin.
TEST_P(EditorFirstKey, IsReadAsTheKeyPressed) {
    if (!RunThroughWine()) GTEST_SKIP() << "run through tools/wine-run.sh";
    const SidedKey key = GetParam();
    std::string keys;
    const std::string dir =
        PrepareEditorFolder(std::string("editor-first-key-") + key.name, {2, "Default-2.qbc"}, keys);
    winsupport::ChildProcess proc;
    const HWND main = StartEditor(proc, dir);
    ASSERT_NE(main, nullptr);
    SetForegroundWindow(main);
    ASSERT_TRUE(winsupport::WaitUntil([&] { return GetForegroundWindow() == main; }, kTimeout));
    // The push button of kPanel's first line, at 3000 x 1200 twips, 345 x 360, 15 twips a pixel.
    winsupport::ClickAt(main, {200 + 11, 80 + 12});
    HWND caption = nullptr;
    ASSERT_TRUE(winsupport::WaitUntil(
        [&] {
            caption = FindWindowExA(main, nullptr, nullptr, "PRESS KEY");
            return caption != nullptr;
        },
        kTimeout))
        << "the click selected no input";
    winsupport::SendKey(key.vk, false);
    const bool assigned =
        winsupport::WaitUntil([&] { return winsupport::WindowText(caption) != "PRESS KEY"; }, kTimeout);
    winsupport::SendKey(key.vk, true);
    ASSERT_TRUE(assigned) << "the key was not assigned";
    EXPECT_EQ(winsupport::WindowText(caption), key.keyName);
    PostMessageA(main, WM_CLOSE, 0, 0);
    DWORD code = 99;
    EXPECT_TRUE(proc.WaitForExit(kTimeout, code));
}

INSTANTIATE_TEST_SUITE_P(SidedKeys, EditorFirstKey,
                         ::testing::Values(SidedKey{"LeftShift", VK_LSHIFT, "L.SHIFT"},
                                           SidedKey{"MainEnter", VK_RETURN, "ENTER"}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
