// The Windows halves of start-up: the registry store, window placement on real
// forms, the cursor test, the host, and the DirectInput keyboard.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/WinHost.h"
#include "core/Globals.h"
#include "core/Host.h"
#include "core/KeyTables.h"
#include "core/KeyTables_win.h"
#include "core/Registry_win.h"
#include "core/WinApi_.h"
#include "editor/frmMain.h"
#include "platform/Controls.h"
#include "platform/Platform.h"
#include "support/WinSupport.h"

namespace {

constexpr char kTestApp[] = "KeyloomStartupTest";

class Plain : public platform::Form {
protected:
    void InitializeComponent() override {
        SetCaption("plain");
        Move(1500, 1500, 6000, 4500);
    }
};

class RegistryWin : public ::testing::Test {
protected:
    void SetUp() override {
        winsupport::DeleteUserRegTree("Software\\KeyloomStartupTest");
        Registry_::InstallWin32Registry();
        Registry_::Initialize("Default", kTestApp);
    }
    void TearDown() override {
        winsupport::DeleteUserRegTree("Software\\KeyloomStartupTest");
        Registry_::SetSettingsStore(nullptr);
        Registry_::SetScreen(nullptr);
        form.Unload();
    }
    static std::string Stored(const char* section, const char* key) {
        std::string v;
        if (!winsupport::ReadUserRegString(std::string("Software\\") + kTestApp + "\\" + section, key, v))
            return "<none>";
        return v;
    }
    Plain form;
};

TEST_F(RegistryWin, ValuesLiveUnderTheUsersSoftwareKey) {
    EXPECT_EQ(Stored("Default", "MainWindowLeft"), "<none>");
    EXPECT_FLOAT_EQ(Registry_::GetSingle("MainWindowLeft", -1), -1);
    Registry_::SaveSingle("MainWindowLeft", 1234.5f);
    Registry_::SaveSingle("Other", 7, "Second");
    EXPECT_EQ(Stored("Default", "MainWindowLeft"), "1234.5");
    EXPECT_EQ(Stored("Second", "Other"), "7");
    EXPECT_FLOAT_EQ(Registry_::GetSingle("MainWindowLeft", -1), 1234.5f);
    EXPECT_EQ(Registry_::GetString("Other", "", "Second"), "7");
}

TEST_F(RegistryWin, MainWindowPositionRoundTripOnARealForm) {
    form.Load();
    form.Show();
    form.Move(3000, 2250, 7500, 6000);
    Registry_::SaveWindowPosition("MainWindow", form);
    EXPECT_EQ(Stored("Default", "MainWindowLeft"), "3000");
    EXPECT_EQ(Stored("Default", "MainWindowWidth"), "7500");
    form.Move(0, 0, 6000, 4500);
    EXPECT_TRUE(Registry_::RestoreWindowPosition("MainWindow", form, true));
    EXPECT_FLOAT_EQ(form.Left(), 3000);
    EXPECT_FLOAT_EQ(form.Top(), 2250);
    EXPECT_FLOAT_EQ(form.Width(), 6000);  // size kept
    // A minimized window saves nothing.
    form.Move(600, 600);
    form.SetWindowState(1);
    ASSERT_TRUE(winsupport::WaitUntil([&] { return form.WindowState() == 1; }, 5000));
    Registry_::SaveWindowPosition("MainWindow", form);
    EXPECT_EQ(Stored("Default", "MainWindowLeft"), "3000");
}

TEST_F(RegistryWin, ImplausibleSizeCentresOnTheScreen) {
    Registry_::SaveSingle("MainWindowWidth", 1999);
    Registry_::SaveSingle("MainWindowHeight", 5000);
    form.Load();
    EXPECT_FALSE(Registry_::RestoreWindowPosition("MainWindow", form, true));
    // To the pixel: 3620 twips lie on pixel 241.
    EXPECT_FLOAT_EQ(form.Left(), 1280 * 15 / 2 - 6000 / 2);
    EXPECT_NEAR(form.Top(), 1024 * 15 / 3 - 4500 / 3, 7.5);
}

TEST(WinApiCursor, RectangleEdgesLeftAndTopInsideRightAndBottomOutside) {
    const RECT client{0, 0, 400, 300};
    // 150 twips = 10 px; 300 twips wide = 20 px; vertical uses the horizontal factor.
    auto in = [&](int x, int y) { return WinApi_::IsPointInTwipsRect(x, y, client, 150, 150, 300, 300, 15.0f); };
    EXPECT_TRUE(in(10, 10));
    EXPECT_TRUE(in(29, 29));
    EXPECT_FALSE(in(30, 15));
    EXPECT_FALSE(in(15, 30));
    EXPECT_FALSE(in(9, 15));
    EXPECT_FALSE(in(15, 9));
    // Fractions of a pixel are kept: 155 twips start at 10.33 px.
    EXPECT_FALSE(WinApi_::IsPointInTwipsRect(10, 11, client, 155, 150, 300, 300, 15.0f));
    EXPECT_TRUE(WinApi_::IsPointInTwipsRect(11, 11, client, 155, 150, 300, 300, 15.0f));
}

TEST(WinApiCursor, RealCursorAgainstAFormsClientArea) {
    Plain f;
    f.Load();
    f.Show();
    POINT origin{0, 0};
    ClientToScreen(f.Hwnd(), &origin);
    ASSERT_TRUE(SetCursorPos(origin.x + 10, origin.y + 20));
    ASSERT_TRUE(winsupport::WaitUntil([&] {
        POINT p;
        GetCursorPos(&p);
        return p.x == origin.x + 10 && p.y == origin.y + 20;
    }, 5000));
    std::int32_t x = -1, y = -1;
    WinApi_::GetCursorPosInClient(f.Hwnd(), x, y);
    EXPECT_EQ(x, 10);
    EXPECT_EQ(y, 20);
    EXPECT_TRUE(WinApi_::IsCursorInRect(f.Hwnd(), 150, 300, 15, 15));    // exactly the top-left pixel
    EXPECT_FALSE(WinApi_::IsCursorInRect(f.Hwnd(), 0, 0, 150, 300));     // right and bottom edge
    EXPECT_TRUE(WinApi_::IsCursorInRect(f.Hwnd(), 0, 0, 165, 315));
    f.Unload();
}

TEST(WinApiCalls, SleepBlocksForAboutTheTimeGivenAndNegativeIsNoWait) {
    const DWORD t0 = GetTickCount();
    WinApi_::SleepMs(120);
    EXPECT_GE(GetTickCount() - t0, 100u);
    const DWORD t1 = GetTickCount();
    WinApi_::SleepMs(-5);
    EXPECT_LT(GetTickCount() - t1, 100u);
}

TEST(WinApiCalls, ShellOwnerIsTheGivenOrTheActiveWindow) {
    Plain f;
    f.Load();
    EXPECT_EQ(WinApi_::ShellOwner(f.Hwnd()), f.Hwnd());
    f.Show();
    SetActiveWindow(f.Hwnd());
    ASSERT_EQ(GetActiveWindow(), f.Hwnd());
    EXPECT_EQ(WinApi_::ShellOwner(nullptr), f.Hwnd());
    f.Unload();
}

TEST(WinApiCalls, ShellOwnerFallsBackToTheInstalledMainWindow) {
    Plain main;
    main.Load();  // loaded hidden: not the active window
    ASSERT_EQ(platform::Form::ActiveForm(), nullptr);
    EXPECT_EQ(WinApi_::ShellOwner(nullptr), nullptr) << "no main window installed";
    int asked = 0;
    WinApi_::SetMainWindowProvider([&]() -> HWND {
        ++asked;
        return main.Hwnd();
    });
    EXPECT_EQ(WinApi_::ShellOwner(main.Hwnd()), main.Hwnd());
    EXPECT_EQ(asked, 0) << "asked only when nothing else owns";
    EXPECT_EQ(WinApi_::ShellOwner(nullptr), main.Hwnd());
    EXPECT_EQ(asked, 1);
    WinApi_::SetMainWindowProvider(nullptr);
    main.Unload();
}

TEST(WinHostTest, RefreshOrStatusCopyWithoutAMainWindowDoesNotBringOneUp) {
    WinHost host;
    WinMainWindowLink link;
    ASSERT_FALSE(frmMain.Exists());
    host.UpdateSwiBindings(-1);
    link.SetMainStatus("late");
    EXPECT_FALSE(frmMain.Exists());
    EXPECT_EQ(host.AppPath(), platform::App::Path());
}

TEST(WinHostTest, MessageBoxGoesToTheScreen) {
    WinHost host;
    auto answer = winsupport::AnswerMessageBoxAsync(IDOK, 10000);
    EXPECT_EQ(host.MessageBox("hello", MB_ICONINFORMATION, "Keyloom - www.keyloom.example"), IDOK);
    auto info = answer.Get();
    EXPECT_EQ(info.text, "hello");
    EXPECT_EQ(info.title, "Keyloom - www.keyloom.example");
}

// Each test sets up a keyboard of its own, on its own window or on none, and hears what
// the set-up reports.
class DirectInputKeyboard : public ::testing::Test {
protected:
    struct Reports : IHost {
        void TraceLine(const std::string& line) override { lines.push_back(line); }
        std::vector<std::string> lines;
    };
    void SetUp() override {
        KeyTables::ResetDirectInputKeyboard();
        SetHost(&reports);
    }
    void TearDown() override {
        KeyTables::ResetDirectInputKeyboard();
        SetHost(nullptr);
    }
    Reports reports;
};

TEST_F(DirectInputKeyboard, SetsUpOnAWindowAndReadsEveryKeyUp) {
    Plain f;
    f.Load();
    static HWND s_hwnd;
    s_hwnd = f.Hwnd();
    KeyTables::UseDirectInputKeyboard([]() -> HWND { return s_hwnd; });
    // No key is held in the test session.
    EXPECT_FALSE(KeyTables::IsDxKeyDown(42));
    // Those answers are the same without a device: it must have been set up, silently.
    EXPECT_TRUE(KeyTables::DirectInputKeyboardHasDevice());
    EXPECT_EQ(reports.lines, std::vector<std::string>{});
    EXPECT_FALSE(KeyTables::IsDxKeyDown(54));
    EXPECT_FALSE(KeyTables::IsSidedVkVariantDown(16, false));
    // Left Shift up on key-up: the first variant (44 L.SHIFT).
    EXPECT_EQ(KeyTables::MapVkToIbmKey(16, false), 44);
    EXPECT_EQ(KeyTables::MapVkToIbmKey(65, true), 31);
    f.Unload();
}

TEST_F(DirectInputKeyboard, TellsTheRightShiftFromTheLeft) {
    Plain f;
    f.Load();
    f.Show();
    static HWND s_hwnd;
    s_hwnd = f.Hwnd();
    KeyTables::UseDirectInputKeyboard([]() -> HWND { return s_hwnd; });
    ASSERT_FALSE(KeyTables::IsDxKeyDown(54));
    winsupport::SendKey(VK_RSHIFT, false);
    const bool seen = winsupport::WaitUntil([] { return KeyTables::IsDxKeyDown(54); }, 5000);
    EXPECT_TRUE(seen);
    if (seen) {
        EXPECT_FALSE(KeyTables::IsDxKeyDown(42));
        EXPECT_EQ(KeyTables::MapVkToIbmKey(16, true), 57);  // R.SHIFT
    }
    winsupport::SendKey(VK_RSHIFT, true);
    EXPECT_TRUE(winsupport::WaitUntil([] { return !KeyTables::IsDxKeyDown(54); }, 5000));
    winsupport::SendKey(VK_RETURN, false, true);  // keypad Enter
    if (winsupport::WaitUntil([] { return KeyTables::IsDxKeyDown(156); }, 5000)) {
        EXPECT_EQ(KeyTables::MapVkToIbmKey(13, true), 108);
    } else {
        ADD_FAILURE() << "keypad Enter not seen";
    }
    winsupport::SendKey(VK_RETURN, true, true);
    winsupport::WaitUntil([] { return !KeyTables::IsDxKeyDown(156); }, 5000);
    f.Unload();
}

TEST_F(DirectInputKeyboard, WithoutAMainWindowEverySidedKeyReadsUp) {
    KeyTables::UseDirectInputKeyboard([]() -> HWND { return nullptr; });
    EXPECT_FALSE(KeyTables::IsDxKeyDown(28));
    // Enter on key-down without a device: the second variant, NUM ENTER.
    EXPECT_EQ(KeyTables::MapVkToIbmKey(13, true), 108);
    // No window, no device, and nothing to report.
    EXPECT_FALSE(KeyTables::DirectInputKeyboardHasDevice());
    EXPECT_EQ(reports.lines, std::vector<std::string>{});
}

}  // namespace
