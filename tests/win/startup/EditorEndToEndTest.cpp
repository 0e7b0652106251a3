// keyloom.exe /edit with working files of each board type: the editor opens where it was
// last closed, and closing it writes the working files back unchanged and saves its
// position again. The first key typed after the start, a sided one, reads as the key pressed.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <vector>

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
HWND StartEditor(winsupport::ChildProcess& proc, const std::string& dir, std::vector<std::string>* boxes = nullptr) {
    if (!proc.Start("\"" + dir + "\\keyloom.exe\" /edit", dir)) return nullptr;
    HWND main = nullptr;
    // The port-access control is not registered in this prefix: its report is answered,
    // and so is any other box of the start (their texts go to boxes).
    const bool up = winsupport::WaitUntil(
        [&] {
            winsupport::MessageBoxInfo box = winsupport::WaitForMessageBox(proc.Pid(), 0);
            if (box.hwnd) {
                if (boxes && box.text.find("tamrin.ocx") == std::string::npos) boxes->push_back(box.text);
                winsupport::PressButton(box.hwnd, IDOK);
                // Gone before the next look, which would otherwise find it again.
                winsupport::WaitUntil([&] { return !IsWindow(box.hwnd); }, kTimeout, false);
            }
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

// What a cabinet PC does to the working files: a program folder the user cannot write (a
// read-only mount that tools/with-readonly-folder.sh makes and names in KL_READONLY_DIR),
// working files that another program holds while the editor starts, and a panel line with a
// number too large to read. Each close is a round of boxes answered in turn; every round
// but the last leaves the editor running.
struct Answer {
    const char* boxHas;
    int button;
};
struct Cabinet {
    const char* name;
    bool readOnlyFolder;
    bool holdAtStart;  // both working files, released again before the first close
    const char* badPanelLine;  // put in as the panel's fourth line, when set
    std::vector<const char*> startBoxes;
    std::vector<std::vector<Answer>> closes;
    bool panelReplaced;  // by the editor's (empty) panel; otherwise unchanged but for the bad line
};

class EditorOnACabinet : public ::testing::TestWithParam<Cabinet> {};

TEST_P(EditorOnACabinet, KeepsTheUsersFilesAndSaysWhatItCouldNotDo) {
    if (!RunThroughWine()) GTEST_SKIP() << "run through tools/wine-run.sh";
    const Cabinet c = GetParam();
    std::string keys, dir;
    std::string panel = kPanel;
    if (c.readOnlyFolder) {
        dir = winsupport::Env("KL_READONLY_DIR");
        if (dir.empty()) GTEST_SKIP() << "needs the read-only folder of tools/with-readonly-folder.sh";
        keys = Read(dir + "\\Keyloom.qbc");
        panel = Read(dir + "\\Keyloom.cpl");
    } else {
        dir = PrepareEditorFolder(std::string("editor-cabinet-") + c.name, {2, "Default-2.qbc"}, keys);
        if (c.badPanelLine) {
            std::string withBad = panel;
            std::size_t at = 0;
            for (int line = 0; line < 3; ++line) at = withBad.find("\r\n", at) + 2;
            Write(dir + "\\Keyloom.cpl", withBad.insert(at, std::string(c.badPanelLine) + "\r\n"));
        }
    }
    const std::string qbcPath = dir + "\\Keyloom.qbc", cplPath = dir + "\\Keyloom.cpl";
    const std::string cplBefore = Read(cplPath);
    std::vector<HANDLE> held;
    if (c.holdAtStart)
        for (const std::string& f : {qbcPath, cplPath})
            held.push_back(CreateFileA(f.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));

    winsupport::ChildProcess proc;
    std::vector<std::string> boxes;
    const HWND main = StartEditor(proc, dir, &boxes);
    for (HANDLE h : held) CloseHandle(h);
    ASSERT_NE(main, nullptr);
    ASSERT_EQ(boxes.size(), c.startBoxes.size()) << (boxes.empty() ? "" : boxes[0]);
    for (std::size_t i = 0; i < boxes.size(); ++i) EXPECT_NE(boxes[i].find(c.startBoxes[i]), std::string::npos) << boxes[i];

    for (std::size_t round = 0; round < c.closes.size(); ++round) {
        SCOPED_TRACE("close " + std::to_string(round + 1));
        PostMessageA(main, WM_CLOSE, 0, 0);
        for (const Answer& a : c.closes[round]) {
            const winsupport::MessageBoxInfo box = winsupport::WaitForMessageBox(proc.Pid(), kTimeout);
            ASSERT_NE(box.hwnd, nullptr) << "no box that has " << a.boxHas;
            EXPECT_NE(box.text.find(a.boxHas), std::string::npos) << box.text;
            winsupport::PressButton(box.hwnd, a.button);
            ASSERT_TRUE(winsupport::WaitUntil([&] { return !IsWindow(box.hwnd); }, kTimeout, false));
        }
        if (round + 1 < c.closes.size()) {
            ASSERT_TRUE(winsupport::WaitUntil([&] { return IsWindowEnabled(main) != FALSE; }, kTimeout));
            EXPECT_TRUE(proc.Running());
            EXPECT_TRUE(IsWindowVisible(main));
        }
    }
    DWORD code = 99;
    ASSERT_TRUE(proc.WaitForExit(kTimeout, code));
    EXPECT_EQ(code, static_cast<DWORD>(ExitCodes::kExitOk));
    EXPECT_EQ(Read(qbcPath), keys);
    EXPECT_EQ(Read(cplPath), c.panelReplaced ? std::string() : c.readOnlyFolder ? cplBefore : panel);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, EditorOnACabinet,
    ::testing::Values(
        Cabinet{"ReadOnlyFolder", true, false, nullptr, {},
                {{{"could not save", IDNO}}, {{"could not save", IDYES}}}, false},
        Cabinet{"HeldAtStart", false, true, nullptr,
                {"Keyloom.cpl\r\ncannot be read: another program is using the file",
                 "Keyloom.qbc\r\ncannot be read: another program is using the file"},
                {{{"Keyloom.qbc\r\ncould not be read when the editor started", IDNO},
                  {"Keyloom.cpl\r\ncould not be read when the editor started", IDYES}}},
                true},
        Cabinet{"UnreadablePanelLine", false, false, "3000!1e40!345!360!01|2|7|0",
                {"1 line of the panel layout"}, {{}}, false}),
    [](const auto& info) { return std::string(info.param.name); });

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
