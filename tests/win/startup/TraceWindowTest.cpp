// The trace window: lines in arrival order, greyed out while lines arrive,
// hidden unless the debug display is on.
#include <gtest/gtest.h>

#include "app/WinHost.h"
#include "core/Globals.h"
#include "core/Trace_.h"
#include "core/Trace_frmTrace.h"
#include "platform/Platform.h"
#include "support/WinSupport.h"

namespace {

class TraceWindow : public ::testing::Test {
protected:
    WinHost host;
    void SetUp() override {
        SetHost(&host);
        g_fDebugGui = false;
    }
    void TearDown() override {
        if (Trace_frmTrace.Peek()) Trace_frmTrace.Peek()->Unload();
        Trace_frmTrace.Reset();
        g_fDebugGui = false;
        SetHost(nullptr);
    }
};

TEST_F(TraceWindow, LinesArriveInOrderAndTheWindowStaysHiddenWithoutDebugDisplay) {
    EXPECT_FALSE(Trace_frmTrace.Exists());
    Trace_::Trace("KeyEditor", "first");
    Trace_::Trace("Assertion Failure", "second");
    ASSERT_TRUE(Trace_frmTrace.Exists());
    forms::Trace_frmTrace& w = *Trace_frmTrace;
    EXPECT_FALSE(w.Visible());
    EXPECT_EQ(w.Caption(), "Keyloom Trace");
    ASSERT_EQ(w.List1.ListCount(), 2);
    EXPECT_EQ(w.List1.List(0), "KeyEditor:  first");
    EXPECT_EQ(w.List1.List(1), "Assertion Failure:  second");
    EXPECT_EQ(w.List1.ListIndex(), 1);  // the newest line is selected
    // Greyed out while lines arrive.
    EXPECT_FALSE(w.Enabled());
    EXPECT_EQ(w.List1.BackColor(), platform::kSysButtonFace);
    // The list fills the client area.
    EXPECT_FLOAT_EQ(w.List1.Width(), w.ScaleWidth());
    EXPECT_FLOAT_EQ(w.List1.Height(), w.ScaleHeight());
}

TEST_F(TraceWindow, ShowingItDoesNotTurnTheDebugDisplayOn) {
    Trace_::ShowTraceWindow();
    ASSERT_TRUE(Trace_frmTrace.Exists());
    EXPECT_TRUE(Trace_frmTrace->Visible());
    EXPECT_FALSE(g_fDebugGui);
}

TEST_F(TraceWindow, WithTheDebugDisplayItShowsItselfDisabledOnLoad) {
    g_fDebugGui = true;
    Trace_::Trace("x", "y");
    forms::Trace_frmTrace& w = *Trace_frmTrace;
    EXPECT_TRUE(w.Visible());
    EXPECT_FALSE(w.Enabled());
    EXPECT_EQ(w.List1.List(0), "x:  y");
}

TEST_F(TraceWindow, ReturnsToNormalFiveSecondsAfterTheLastLine) {
    Trace_::Trace("one", "1");
    forms::Trace_frmTrace& w = *Trace_frmTrace;
    const DWORD first = GetTickCount();
    // A second line two seconds later starts the count again.
    ASSERT_TRUE(winsupport::WaitUntil([&] { return GetTickCount() - first >= 2000; }, 5000));
    EXPECT_FALSE(w.Enabled());
    Trace_::Trace("two", "2");
    const DWORD second = GetTickCount();
    ASSERT_TRUE(winsupport::WaitUntil([&] { return w.Enabled(); }, 10000));
    const DWORD took = GetTickCount() - second;
    EXPECT_GE(took, 4900u);
    EXPECT_LT(took, 7000u);
    EXPECT_EQ(w.List1.BackColor(), platform::kSysWindow);
    EXPECT_EQ(w.List1.ListCount(), 2);
}

}  // namespace
