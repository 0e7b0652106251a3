// The program-wide part of the platform layer: twips, message boxes, event
// pumping, timers, deferred deletion, ending the program.
#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>

#include "platform/Controls.h"
#include "platform/Platform.h"
#include "platform/Window.h"
#include "support/WinSupport.h"

#include <commdlg.h>  // after windows.h, which the platform headers bring

using namespace platform;

namespace {

struct EndCalled : std::runtime_error {
    int code;
    explicit EndCalled(int c) : std::runtime_error("End"), code(c) {}
};

TEST(Twips, FifteenTwipsPerPixelAtTheDefaultDpi) {
    EXPECT_FLOAT_EQ(TwipsPerPixelX(), 15.0f);
    EXPECT_FLOAT_EQ(TwipsPerPixelY(), 15.0f);
    EXPECT_EQ(ToPixelsX(1500), 100);
    EXPECT_EQ(ToPixelsY(7), 0);
    EXPECT_EQ(ToPixelsY(8), 1);
    EXPECT_FLOAT_EQ(FromPixelsX(3), 45.0f);
    EXPECT_FLOAT_EQ(Screen::Width(), 1280 * 15.0f);
    EXPECT_FLOAT_EQ(Screen::Height(), 1024 * 15.0f);
}

TEST(Colors, SystemRolesResolveToTheirCurrentColour) {
    EXPECT_EQ(ResolveColor(kSysButtonFace), GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(ResolveColor(kSysWindow), GetSysColor(COLOR_WINDOW));
    EXPECT_EQ(ResolveColor(0x00FFFF00), 0x00FFFF00u);
}

TEST(App, PathIsTheProgramFolderWithoutTrailingBackslash) {
    char buf[MAX_PATH];
    GetModuleFileNameA(nullptr, buf, MAX_PATH);
    std::string exe = buf;
    std::string path = App::Path();
    ASSERT_FALSE(path.empty());
    EXPECT_NE(path.back(), '\\');
    EXPECT_EQ(exe.substr(0, path.size()), path);
    EXPECT_EQ(exe[path.size()], '\\');
    // The program name is not part of the arguments.
    EXPECT_EQ(App::CommandLine().find("kl_wintest_platform"), std::string::npos);
}

TEST(MsgBox, ShowsTextTitleAndIconAndReturnsTheButtonPressed) {
    auto answer = winsupport::AnswerMessageBoxAsync(IDNO, 10000);
    int r = MsgBox("First line\r\nsecond line", MB_YESNO | MB_ICONQUESTION, "Keyloom");
    winsupport::MessageBoxInfo info = answer.Get();
    ASSERT_NE(info.hwnd, nullptr);
    EXPECT_EQ(r, IDNO);
    EXPECT_EQ(info.title, "Keyloom");
    EXPECT_EQ(info.text, "First line\r\nsecond line");
    EXPECT_TRUE(info.hasIcon);
    EXPECT_EQ(info.buttons.size(), 2u);
}

TEST(MsgBox, TimersKeepFiringWhileTheBoxIsOpen) {
    Timer t;
    int ticks = 0;
    t.Tick = [&] { ++ticks; };
    t.SetInterval(10);
    t.SetEnabled(true);
    // Answer only once the timer has fired a few times inside the box's own loop.
    winsupport::Async<winsupport::MessageBoxInfo> answer([&] {
        winsupport::MessageBoxInfo info = winsupport::WaitForMessageBox(GetCurrentProcessId(), 10000);
        winsupport::WaitUntil([&] { return ticks >= 3; }, 10000, false);
        winsupport::PressButton(info.hwnd, IDOK);
        return info;
    });
    MsgBox("waiting", MB_OK, "Keyloom");
    answer.Get();
    t.SetEnabled(false);
    EXPECT_GE(ticks, 3);
}

TEST(TimerTest, FiresWhileEnabledAndStopsWhenDisabled) {
    Timer t;
    int ticks = 0;
    t.Tick = [&] {
        if (++ticks == 3) t.SetEnabled(false);
    };
    t.SetInterval(15);
    EXPECT_FALSE(t.Enabled());
    t.SetEnabled(true);
    ASSERT_TRUE(winsupport::WaitUntil([&] { return ticks >= 3; }, 5000));
    // A reference timer proves time passed without further ticks of the first.
    Timer ref;
    int refTicks = 0;
    ref.Tick = [&] { ++refTicks; };
    ref.SetInterval(15);
    ref.SetEnabled(true);
    ASSERT_TRUE(winsupport::WaitUntil([&] { return refTicks >= 6; }, 5000));
    EXPECT_EQ(ticks, 3);
}

TEST(TimerTest, RestartingFromItsOwnTickKeepsItRunning) {
    Timer t;
    int ticks = 0;
    t.Tick = [&] {
        ++ticks;
        t.SetEnabled(false);
        t.SetEnabled(true);
    };
    t.SetInterval(10);
    t.SetEnabled(true);
    EXPECT_TRUE(winsupport::WaitUntil([&] { return ticks >= 4; }, 5000));
}

TEST(TimerTest, ADestroyedTimerNeverFires) {
    int ticks = 0;
    {
        Timer t;
        t.Tick = [&] { ++ticks; };
        t.SetInterval(10);
        t.SetEnabled(true);
    }
    Timer ref;
    int refTicks = 0;
    ref.Tick = [&] { ++refTicks; };
    ref.SetInterval(10);
    ref.SetEnabled(true);
    ASSERT_TRUE(winsupport::WaitUntil([&] { return refTicks >= 5; }, 5000));
    EXPECT_EQ(ticks, 0);
}

TEST(DoEventsTest, NestedPumpingRunsOtherEventsAndDefersDeletionToTheOutermost) {
    Timer outer, inner;
    int innerTicks = 0;
    int depthSeen = 0;
    bool deletedInside = false;
    bool released = false;
    inner.Tick = [&] {
        ++innerTicks;
        depthSeen = std::max(depthSeen, DispatchDepth());
    };
    outer.Tick = [&] {
        outer.SetEnabled(false);
        DeferDelete([&] { released = true; });
        inner.SetInterval(5);
        inner.SetEnabled(true);
        // A long operation that pumps events itself, as the PS/2 waits do.
        while (innerTicks < 3) {
            DoEvents();
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
        }
        inner.SetEnabled(false);
        deletedInside = released;
    };
    outer.SetInterval(5);
    outer.SetEnabled(true);
    ASSERT_TRUE(winsupport::WaitUntil([&] { return released; }, 5000));
    EXPECT_GE(depthSeen, 2);
    EXPECT_FALSE(deletedInside);
    EXPECT_TRUE(released);
    EXPECT_EQ(DispatchDepth(), 0);
}

TEST(DeferDeleteTest, OutsideAnyHandlerReleasesAtOnce) {
    bool released = false;
    DeferDelete([&] { released = true; });
    EXPECT_TRUE(released);
}

TEST(EndTest, CallsTheInstalledHandlerWithTheExitCode) {
    SetEndHandler([](int code) { throw EndCalled(code); });
    try {
        End(3);
        FAIL() << "End returned";
    } catch (const EndCalled& e) {
        EXPECT_EQ(e.code, 3);
    }
    SetEndHandler(nullptr);
}

TEST(FileDialogTest, OnlyTheOpenDialogAsksForAnExistingFileAndTheSaveDialogAsksNothing) {
    EXPECT_TRUE(FileDialogFlags(false) & OFN_FILEMUSTEXIST);
    EXPECT_FALSE(FileDialogFlags(true) & (OFN_OVERWRITEPROMPT | OFN_FILEMUSTEXIST | OFN_CREATEPROMPT));
}

}  // namespace
