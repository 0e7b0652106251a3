#include "CoreTestSupport.h"
#include "core/Debug_.h"
#include "core/Error_.h"
#include "core/Trace_.h"

class DiagnosticsTest : public CoreTest {};

namespace {
class Label : public IStatusLabel {
public:
    void SetCaption(const std::string& s) override { captions.push_back(s); }
    std::string Caption() const override { return captions.empty() ? std::string() : captions.back(); }
    std::vector<std::string> captions;
};
}  // namespace

TEST_F(DiagnosticsTest, TraceLineIsPlaceColonTwoBlanksMessage) {
    Trace_::Trace("KeyEditor", "hello");
    Trace_::Trace("", "");
    EXPECT_EQ(host.traces, (std::vector<std::string>{"KeyEditor:  hello", ":  "}));
}

TEST_F(DiagnosticsTest, AssertionTracesWithoutDebugDisplay) {
    Debug_::Assert(true, "never");
    Debug_::Assert(-1, "never");
    Debug_::Assert(7, "never");
    EXPECT_TRUE(host.traces.empty());
    Debug_::Assert(false, "it broke");
    Debug_::Assert(0, "again");
    EXPECT_EQ(host.traces, (std::vector<std::string>{"Assertion Failure:  it broke", "Assertion Failure:  again"}));
    EXPECT_TRUE(host.boxes.empty());
}

TEST_F(DiagnosticsTest, AssertionShowsABoxWithDebugDisplay) {
    g_fDebugGui = true;
    Debug_::AssertFailed("bad value");
    ASSERT_EQ(host.boxes.size(), 1u);
    EXPECT_EQ(host.boxes[0].text, "INTERNAL ERROR (ASSERTION FAILURE):\r\n\r\nbad value");
    EXPECT_EQ(host.boxes[0].flags, 16u);
    EXPECT_EQ(host.boxes[0].title, "Keyloom - Assertion Failure");
    EXPECT_TRUE(host.traces.empty());
}

TEST_F(DiagnosticsTest, ErrorReportText) {
    EXPECT_EQ(Error_::ErrorText("P", 5, "D", ""), "P: ERROR 0x5 (5): D");
    EXPECT_EQ(Error_::ErrorText("P", 5, "D", "S"), "S.P: ERROR 0x5 (5): D");
    EXPECT_EQ(Error_::ErrorText("P", -1, "D", ""), "P: ERROR 0xFFFFFFFF (-1): D");
    EXPECT_EQ(Error_::ErrorText("P", -2147483647 - 1, "D", ""), "P: ERROR 0x80000000 (-2147483648): D");
    EXPECT_EQ(Error_::ErrorText("P", 0x7FFFFFFF, "", ""), "P: ERROR 0x7FFFFFFF (2147483647): ");
}

TEST_F(DiagnosticsTest, ErrorReportTracesAndSetsTheStatus) {
    Label label;
    ProgressCallback::g_lblProgress = &label;
    Error_::ReportError("frmMain.btnStartLauncher(Start Launcher)_Click", 53, "File not found", "Keyloom");
    const std::string text = "Keyloom.frmMain.btnStartLauncher(Start Launcher)_Click: ERROR 0x35 (53): File not found";
    EXPECT_EQ(host.traces, std::vector<std::string>{"Runtime Error:  " + text});
    EXPECT_EQ(label.captions, std::vector<std::string>{text});

    // Without a status sink the trace line is all there is.
    Error_::SetStatusSink(nullptr);
    Error_::ReportError("P", 5, "D", "");
    EXPECT_EQ(host.traces.back(), "Runtime Error:  P: ERROR 0x5 (5): D");
    EXPECT_EQ(host.traces.size(), 2u);
    EXPECT_EQ(label.captions.size(), 1u);
}

TEST_F(DiagnosticsTest, ProgressMessageWithoutLabelIsTraced) {
    ProgressCallback::ProgressMessage("PROGRAMMING QUORBA...");
    EXPECT_EQ(host.traces, std::vector<std::string>{"Missed ProgressMessage:  PROGRAMMING QUORBA..."});
    Label label;
    ProgressCallback::g_lblProgress = &label;
    ProgressCallback::ProgressMessage("done");
    EXPECT_EQ(label.captions, std::vector<std::string>{"done"});
    EXPECT_EQ(host.traces.size(), 1u);
}

TEST_F(DiagnosticsTest, ShowTraceWindowGoesToTheHost) {
    struct ShowHost : RecordingHost {
        void ShowTraceWindow() override { ++shows; }
        int shows = 0;
    } h;
    SetHost(&h);
    Trace_::ShowTraceWindow();
    EXPECT_EQ(h.shows, 1);
    SetHost(&host);
}
