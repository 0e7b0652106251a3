// The Windows side of the core seams, under Wine: files with normal attributes only,
// files replaced in one step, the DirectInput keyboard of the sided keys.
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "core/Globals.h"
#include "core/Host.h"
#include "core/KeyTables.h"
#include "core/KeyTables_win.h"
#include "core/QbcFile.h"
#include "core/Util.h"

namespace {

class TraceHost : public IHost {
public:
    void TraceLine(const std::string& line) override { traces.push_back(line); }
    std::vector<std::string> traces;
};

std::string ReadAll(const std::string& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void WriteAll(const std::string& p, const std::string& s) {
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    out << s;
}

class CorePlatformTest : public ::testing::Test {
protected:
    void SetUp() override {
        Util::InstallWin32FileSystem();
        SetHost(&host);
        char tmp[MAX_PATH];
        GetTempPathA(MAX_PATH, tmp);
        dir = std::string(tmp) + "kl_core_platform_" + std::to_string(GetCurrentProcessId());
        CreateDirectoryA(dir.c_str(), nullptr);
    }
    void TearDown() override {
        SetHost(nullptr);
        Util::SetFileSystem(nullptr);
        KeyTables::SetKeyboardDevice(nullptr);
        for (const char* name : {"normal.txt", "hidden.txt", "system.txt", "ro.txt", "f.qbc"}) {
            const std::string p = dir + "\\" + name;
            SetFileAttributesA(p.c_str(), FILE_ATTRIBUTE_NORMAL);
            DeleteFileA(p.c_str());
        }
        RemoveDirectoryA((dir + "\\sub").c_str());
        RemoveDirectoryA(dir.c_str());
    }
    std::string Path(const char* name) const { return dir + "\\" + name; }

    TraceHost host;
    std::string dir;
};

TEST_F(CorePlatformTest, HiddenAndSystemFilesAndFoldersCountAsMissing) {
    WriteAll(Path("normal.txt"), "x");
    WriteAll(Path("hidden.txt"), "x");
    WriteAll(Path("system.txt"), "x");
    WriteAll(Path("ro.txt"), "x");
    CreateDirectoryA(Path("sub").c_str(), nullptr);
    ASSERT_TRUE(SetFileAttributesA(Path("hidden.txt").c_str(), FILE_ATTRIBUTE_HIDDEN));
    ASSERT_TRUE(SetFileAttributesA(Path("system.txt").c_str(), FILE_ATTRIBUTE_SYSTEM));
    ASSERT_TRUE(SetFileAttributesA(Path("ro.txt").c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_TRUE(Util::FileExists(Path("normal.txt")));
    EXPECT_TRUE(Util::FileExists(Path("ro.txt")));
    EXPECT_FALSE(Util::FileExists(Path("hidden.txt")));
    EXPECT_FALSE(Util::FileExists(Path("system.txt")));
    EXPECT_FALSE(Util::FileExists(Path("sub")));
    EXPECT_FALSE(Util::FileExists(Path("missing.txt")));
    EXPECT_FALSE(Util::FileExists(Path("*.txt")));
}

TEST_F(CorePlatformTest, SaveReplacesTheOldFileAndKeepsItWhenItCannot) {
    WriteAll(Path("f.qbc"), "old");
    g_abSwiKeys[101] = 83;
    QbcFile::SaveQbcFile(Path("f.qbc"));
    const std::string saved = ReadAll(Path("f.qbc"));
    EXPECT_EQ(saved.substr(0, 15), " 0 \r\n 0 \r\n 83 \r");
    g_abSwiKeys[101] = 0;
    QbcFile::LoadQbcFile(Path("f.qbc"));
    EXPECT_EQ(g_abSwiKeys[101], 83);

    // A read-only old file cannot be replaced: the save fails and the file stays.
    WriteAll(Path("ro.txt"), "keep me");
    ASSERT_TRUE(SetFileAttributesA(Path("ro.txt").c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_THROW(Util::WriteFileReplacing(Path("ro.txt"), "new"), Util::FileWriteError);
    EXPECT_EQ(ReadAll(Path("ro.txt")), "keep me");
    EXPECT_EQ(GetFileAttributesA((Path("ro.txt") + ".tmp~").c_str()), INVALID_FILE_ATTRIBUTES);
}

HWND g_hwnd = nullptr;
HWND MainWindow() { return g_hwnd; }

TEST_F(CorePlatformTest, DirectInputKeyboardOnAWindow) {
    g_hwnd = nullptr;
    KeyTables::UseDirectInputKeyboard(&MainWindow);
    // No main window yet: nothing set up, nothing reported, sided keys read as up.
    EXPECT_FALSE(KeyTables::IsDxKeyDown(28));
    EXPECT_EQ(KeyTables::MapVkToIbmKey(13, true), 108);
    EXPECT_TRUE(host.traces.empty());

    g_hwnd = CreateWindowExA(0, "STATIC", "kl", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr,
                             GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(g_hwnd, nullptr);
    KeyTables::UseDirectInputKeyboard(&MainWindow);
    EXPECT_NO_THROW(KeyTables::IsDxKeyDown(42));
    EXPECT_NO_THROW(KeyTables::MapVkToIbmKey(16, false));
    EXPECT_TRUE(host.traces.empty()) << host.traces.front();
    DestroyWindow(g_hwnd);
    g_hwnd = nullptr;
}

}  // namespace
