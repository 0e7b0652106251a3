// The PS/2 transport against a simulated keyboard controller and board. The board's
// typed answers arrive from the host's event pump, as they do in the program, so the
// steps run nested inside the waits of the steps before them.
#include <deque>
#include <map>

#include "ProgrammingFakes.h"
#include "core/ExitCodes.h"

namespace {

using namespace fakes;
namespace Ps2 = DownloadViaPs2;

constexpr int kVkFound = 'Z', kVkStored = 'Y', kVkBoardType = 'C', kVkJumper = 'J', kVkInvalid = 'N';

// Keyboard controller and board on the far side of ports 0x60 and 0x64.
class SimPs2 final : public Download::IPortControl {
public:
    explicit SimPs2(FakeHost& host) : host_(host) {
        host_.onDoEvents = [this] { Pump(); };
    }

    // Controller: a byte is taken after this many status polls; from the data byte
    // with this index on (counting every byte written to 0x60) it never is.
    int readyAfterPolls = 2;
    int stallAtByte = -1;
    // Board: whether one answers at all, its model answer, and answers replaced at
    // reply points ("found1", "model1", "stored1", "found2", "model2", "stored2");
    // after a replaced answer the board says nothing more.
    bool boardPresent = true;
    int modelKey = '4';
    std::map<std::string, int> replace;
    // Replies are typed after this many event pumps.
    int latency = 3;

    struct Write {
        int port;
        int value;
        bool operator==(const Write&) const = default;
    };
    std::vector<Write> writes;
    std::vector<Download::DownloadArray> pagesReceived;
    std::vector<int> deliveryDepths;
    int readsAfterEnd = 0;
    bool ended = false;

    void OutByte(std::int32_t port, std::uint8_t value) override {
        writes.push_back({port, value});
        if (port == 0x64 && value == 0xA8) ended = true;
        if (port != 0x60) return;
        const int index = dataBytes_++;
        polls_ = 0;
        stalled_ = stallAtByte >= 0 && index >= stallAtByte;
        Board(value);
    }
    std::uint8_t InByte(std::int32_t port) override {
        EXPECT_EQ(port, 0x64);
        if (ended) ++readsAfterEnd;
        if (stalled_) return 0x1D;
        return ++polls_ >= readyAfterPolls ? 0x14 : 0x15;
    }

    // Delivers the next typed answer when its time has come (the host's DoEvents).
    void Pump() {
        if (queue_.empty()) return;
        if (--queue_.front().countdown > 0) return;
        const int vk = queue_.front().vk;
        queue_.pop_front();
        deliveryDepths.push_back(host_.depth);
        Ps2::OnKeyDown(static_cast<std::int16_t>(vk), 0);
    }
    void Type(int vk) { queue_.push_back({vk, latency}); }
    bool Idle() const { return queue_.empty(); }

private:
    // Queues the answer of a reply point; false when the board falls silent.
    bool Answer(const std::string& point, int vk) {
        if (silent_) return false;
        auto it = replace.find(point);
        if (it != replace.end()) {
            Type(it->second);
            silent_ = true;
            return false;
        }
        Type(vk);
        return true;
    }
    void Board(std::uint8_t b) {
        if (!boardPresent) return;
        if (!receiving_) {
            if (b != 0xEF) return;
            const std::string page = std::to_string(pagesReceived.size() + 1);
            if (!Answer("found" + page, kVkFound) || !Answer("model" + page, modelKey)) return;
            receiving_ = true;
            current_.clear();
            return;
        }
        current_.push_back(b);
        if (current_.size() < 83) return;
        receiving_ = false;
        pagesReceived.push_back(current_);
        Answer("stored" + std::to_string(pagesReceived.size()), kVkStored);
    }

    struct Pending {
        int vk;
        int countdown;
    };
    FakeHost& host_;
    std::deque<Pending> queue_;
    Download::DownloadArray current_;
    bool receiving_ = false;
    bool silent_ = false;
    bool stalled_ = false;
    int polls_ = 0;
    int dataBytes_ = 0;
};

class Ps2Transport : public ProgrammingTest {
protected:
    SimPs2 sim{host};
    void SetUp() override {
        ProgrammingTest::SetUp();
        window.SetPort(sim);
        g_fUsbMode = false;
        g_fProgrammingQuorba = true;  // as Download::ProgramBoard leaves it
        Download::SetRunOutcome(Download::RunOutcome::Running);
    }
    void TearDown() override {
        host.onDoEvents = nullptr;
        ProgrammingTest::TearDown();
    }

    std::vector<SimPs2::Write> ExpectedWrites(const std::vector<Download::DownloadArray>& pages) const {
        std::vector<SimPs2::Write> w{{0x64, 0xA7}};
        for (const auto& p : pages) {
            w.push_back({0x60, 0xEF});
            for (std::size_t i = 0; i < 83; ++i) w.push_back({0x60, p[i]});
        }
        w.push_back({0x64, 0xA8});
        return w;
    }
    static Download::DownloadArray First83(const Download::DownloadArray& a) {
        return Download::DownloadArray(a.begin(), a.begin() + 83);
    }
};

TEST_F(Ps2Transport, Quorba2Success) {
    const auto page = Pattern(3);
    Ps2::ProgramViaPs2(page, {});

    EXPECT_EQ(Statuses(), (std::vector<std::string>{"Found Board", "Downloading...", "SUCCESS: DOWNLOAD COMPLETE"}));
    EXPECT_EQ(sim.writes, ExpectedWrites({page}));
    ASSERT_EQ(sim.pagesReceived.size(), 1u);
    EXPECT_EQ(sim.pagesReceived[0], First83(page));
    EXPECT_EQ(WindowActions(), (std::vector<std::string>{"input-enabled 1", "reset-input", "reset-input",
                                                          "reset-input", "reset-input", "pointer 0", "close"}));
    EXPECT_FALSE(g_fProgrammingQuorba);
    EXPECT_TRUE(Ps2::g_sReply.empty());
    EXPECT_TRUE(Download::LastRunSucceeded());
    EXPECT_TRUE(host.exitCodes.empty());
    // Found and model inside the first wait; the stored answer inside the wait of
    // the step that sent the array.
    EXPECT_EQ(sim.deliveryDepths, (std::vector<int>{1, 1, 2}));
}

TEST_F(Ps2Transport, Quorba2TakesModelTwoAndVexoRunsTheSameSteps) {
    sim.modelKey = '2';
    Ps2::ProgramViaPs2(Pattern(1), {});
    EXPECT_EQ(Statuses().back(), "SUCCESS: DOWNLOAD COMPLETE");

    SimPs2 vexo(host);
    window.SetPort(vexo);
    log.clear();
    g_typeQuorba = TYPEQUORBA_QuorbaVexo;
    g_fProgrammingQuorba = true;
    Ps2::ProgramViaPs2(Pattern(9), {});
    EXPECT_EQ(Statuses(), (std::vector<std::string>{"Found Board", "Downloading...", "SUCCESS: DOWNLOAD COMPLETE"}));
    EXPECT_EQ(vexo.writes, ExpectedWrites({Pattern(9)}));
}

TEST_F(Ps2Transport, Quorba4SendsBothPagesWithNestedSteps) {
    g_typeQuorba = TYPEQUORBA_Quorba4;
    const auto p1 = Pattern(1), p2 = Pattern(150);
    Ps2::ProgramViaPs2(p1, p2);

    EXPECT_EQ(Statuses(), (std::vector<std::string>{"BOARD FOUND...", "PROGRAMMING P1-P2...", "", "P1-P2 DONE",
                                                    "PROGRAMMING P3-P4...", "SUCCESS: DOWNLOAD COMPLETE"}));
    EXPECT_EQ(sim.writes, ExpectedWrites({p1, p2}));
    EXPECT_EQ(sim.pagesReceived, (std::vector<Download::DownloadArray>{First83(p1), First83(p2)}));
    // One more wait open for every step that sent.
    EXPECT_EQ(sim.deliveryDepths, (std::vector<int>{1, 1, 2, 3, 3, 4}));
    EXPECT_GE(host.sleptMs, 300 + 500 + 300);
    EXPECT_EQ(WindowActions().back(), "close");
    EXPECT_FALSE(g_fProgrammingQuorba);
}

TEST_F(Ps2Transport, ARunLongerThanTheTimeoutIsNotTimedOutByTheWaitsAroundIt) {
    // Every byte takes about 0.1 s, a page about 8 s: far beyond the outer waits'
    // timeout, while no single byte or reply comes late.
    g_typeQuorba = TYPEQUORBA_Quorba4;
    g_lTimeout = 2000;
    sim.readyAfterPolls = 30;
    sim.latency = 40;  // the answers come in the waits, not during the sends
    Ps2::ProgramViaPs2(Pattern(1), Pattern(2));
    EXPECT_EQ(Statuses().back(), "SUCCESS: DOWNLOAD COMPLETE");
    EXPECT_EQ(std::count(sim.writes.begin(), sim.writes.end(), SimPs2::Write{0x64, 0xA8}), 1);
    EXPECT_TRUE(Download::LastRunSucceeded());
    EXPECT_EQ(WindowActions().back(), "close");
}

TEST_F(Ps2Transport, CommandLineSuccessEndsTheProgram) {
    g_fCommandLineMode = true;
    Ps2::ProgramViaPs2(Pattern(1), {});
    EXPECT_EQ(host.exitCodes, std::vector<int>{ExitCodes::kExitOk});
    EXPECT_NE(WindowActions().back(), "close");
}

TEST_F(Ps2Transport, Quorba4IgnoresModelTwoAndGoesOnFromLaterKeyEvents) {
    g_typeQuorba = TYPEQUORBA_Quorba4;
    sim.modelKey = '2';
    Ps2::ProgramViaPs2(Pattern(1), Pattern(2));

    // The "2" stays as the reply: every wait ends, the run stays live without a timeout.
    EXPECT_TRUE(g_fProgrammingQuorba);
    EXPECT_EQ(Ps2::g_sReply, "2");
    EXPECT_EQ(Ps2::g_iStep, 2);
    EXPECT_EQ(Statuses(), std::vector<std::string>{"BOARD FOUND..."});
    EXPECT_FALSE(Ps2::g_fTimedOut);

    // The normal event loop then delivers the key that the step takes.
    sim.modelKey = '4';
    Ps2::OnKeyDown('4', 0);
    EXPECT_EQ(Statuses(), (std::vector<std::string>{"BOARD FOUND...", "PROGRAMMING P1-P2...", "", "P1-P2 DONE",
                                                    "PROGRAMMING P3-P4...", "SUCCESS: DOWNLOAD COMPLETE"}));
    EXPECT_EQ(sim.pagesReceived.size(), 2u);
    EXPECT_FALSE(g_fProgrammingQuorba);
}

TEST_F(Ps2Transport, ABlankReplyEndsNoWait) {
    sim.Type(' ');  // typed before the board's first answer
    Ps2::ProgramViaPs2(Pattern(1), {});
    EXPECT_EQ(Statuses(), (std::vector<std::string>{"Found Board", "Downloading...", "SUCCESS: DOWNLOAD COMPLETE"}));
}

struct ErrorCase {
    std::int16_t board;
    const char* point;
    int vk;
    const char* text;
};

class Ps2ErrorReply : public Ps2Transport, public ::testing::WithParamInterface<ErrorCase> {};

TEST_P(Ps2ErrorReply, EndsTheRunWithItsText) {
    const ErrorCase c = GetParam();
    g_typeQuorba = c.board;
    sim.replace[c.point] = c.vk;
    Ps2::ProgramViaPs2(Pattern(1), Pattern(2));

    EXPECT_EQ(Statuses().back(), c.text);
    EXPECT_EQ(sim.writes.back(), (SimPs2::Write{0x64, 0xA8}));
    EXPECT_EQ(WindowActions().back(), "bring");
    EXPECT_FALSE(g_fProgrammingQuorba);
    EXPECT_TRUE(Ps2::g_sReply.empty());
    EXPECT_EQ(Download::LastRunOutcome(), Download::RunOutcome::Failed);
    EXPECT_FALSE(Ps2::g_fTimedOut);
    EXPECT_TRUE(sim.Idle());
}

std::vector<ErrorCase> AllErrorCases() {
    const std::pair<int, const char*> errors[] = {{kVkBoardType, "ERROR: CHECK BOARD TYPE SETTING"},
                                                  {kVkJumper, "DOWNLOAD FAILED: VEDO JUMPER ERROR"},
                                                  {kVkInvalid, "DOWNLOAD FAILED: INVALID QUORBA BOARD"}};
    std::vector<ErrorCase> cases;
    for (auto [vk, text] : errors) {
        for (const char* point : {"found1", "model1", "stored1"}) {
            cases.push_back({TYPEQUORBA_Quorba2, point, vk, text});
            cases.push_back({TYPEQUORBA_QuorbaVexo, point, vk, text});
        }
        for (const char* point : {"found1", "model1", "stored1", "found2", "model2", "stored2"})
            cases.push_back({TYPEQUORBA_Quorba4, point, vk, text});
    }
    return cases;
}

INSTANTIATE_TEST_SUITE_P(EveryStep, Ps2ErrorReply, ::testing::ValuesIn(AllErrorCases()), [](const auto& info) {
    return "board" + std::to_string(info.param.board) + "_" + info.param.point + "_" +
           std::string(1, static_cast<char>(info.param.vk));
});

TEST_F(Ps2Transport, WithoutTheControllerTheFirstByteTimesOut) {
    for (long timeout : {5000L, 2500L}) {
        SimPs2 dead(host);
        dead.stallAtByte = 0;
        dead.boardPresent = false;
        window.SetPort(dead);
        log.clear();
        g_lTimeout = timeout;
        g_fProgrammingQuorba = true;
        clock.t += 0.6;  // start between two ticks
        const double start = clock.t;
        Ps2::ProgramViaPs2(Pattern(1), {});
        const double waited = clock.t - start - 0.3 - 0.3;  // less the two fixed pauses
        EXPECT_EQ(Statuses(), std::vector<std::string>{"Timeout"});
        EXPECT_EQ(dead.writes, (std::vector<SimPs2::Write>{{0x64, 0xA7}, {0x60, 0xEF}, {0x64, 0xA8}}));
        // Whole-second ticks: between the timeout rounded up less one second and that.
        const double rounded = std::ceil(timeout / 1000.0);
        EXPECT_GT(waited, rounded - 1.0);
        EXPECT_LE(waited, rounded + 0.01);
        EXPECT_EQ(WindowActions().back(), "bring");
    }
}

TEST_F(Ps2Transport, ASilentBoardTimesOutInTheWait) {
    sim.boardPresent = false;
    Ps2::ProgramViaPs2(Pattern(1), {});
    EXPECT_EQ(Statuses(), std::vector<std::string>{"Timeout"});
    EXPECT_TRUE(Ps2::g_fTimedOut);
    EXPECT_FALSE(g_fProgrammingQuorba);
}

TEST_F(Ps2Transport, AFailureDuringAnArraySendWritesTheRestWithoutWaiting) {
    sim.stallAtByte = 1 + 10;  // the programming request, then ten data bytes get through
    const auto page = Pattern(1);
    Ps2::ProgramViaPs2(page, {});

    EXPECT_EQ(Statuses(), (std::vector<std::string>{"Found Board", "Downloading...", "Timeout"}));
    std::vector<SimPs2::Write> expected{{0x64, 0xA7}, {0x60, 0xEF}};
    for (std::size_t i = 0; i <= 10; ++i) expected.push_back({0x60, page[i]});
    expected.push_back({0x64, 0xA8});
    for (std::size_t i = 11; i < 83; ++i) expected.push_back({0x60, page[i]});
    EXPECT_EQ(sim.writes, expected);
    EXPECT_EQ(sim.readsAfterEnd, 0);
    EXPECT_EQ(Download::LastRunOutcome(), Download::RunOutcome::Failed);
}

TEST_F(Ps2Transport, AShortArrayIsReportedAndSentAsFarAsItGoes) {
    Download::DownloadArray shortArray(50, 0x11);
    Ps2::SendArray(shortArray);
    EXPECT_EQ(sim.writes.size(), 50u);
    const auto traces = Traces();
    ASSERT_FALSE(traces.empty());
    EXPECT_EQ(traces.front(), "Assertion Failure:  Bad download array");
}

TEST_F(Ps2Transport, KeysAfterTheRunInCommandLineMode) {
    g_fProgrammingQuorba = false;
    g_fCommandLineMode = true;

    Download::SetRunOutcome(Download::RunOutcome::Failed);
    Ps2::OnKeyDown(13, 1);  // Shift+Enter: nothing
    Ps2::OnKeyDown('A', 0);
    EXPECT_TRUE(host.exitCodes.empty());
    Ps2::OnKeyDown(112, 3);
    EXPECT_EQ(host.traceWindowShown, 1);
    for (int key : {13, 27, 32}) Ps2::OnKeyDown(static_cast<std::int16_t>(key), 0);
    EXPECT_EQ(host.exitCodes, (std::vector<int>{ExitCodes::kExitProgrammingFailed,
                                                ExitCodes::kExitProgrammingFailed,
                                                ExitCodes::kExitProgrammingFailed}));

    host.exitCodes.clear();
    Download::SetRunOutcome(Download::RunOutcome::Succeeded);
    Ps2::OnKeyDown(27, 0);
    EXPECT_EQ(host.exitCodes, std::vector<int>{ExitCodes::kExitOk});

    // The editor ignores them.
    host.exitCodes.clear();
    g_fCommandLineMode = false;
    Ps2::OnKeyDown(13, 0);
    Ps2::OnKeyDown(112, 3);
    EXPECT_TRUE(host.exitCodes.empty());
    EXPECT_EQ(host.traceWindowShown, 1);
    EXPECT_TRUE(Traces().empty());
}

TEST_F(Ps2Transport, KeyEventsInUsbModeAreReported) {
    g_fUsbMode = true;
    g_fProgrammingQuorba = false;
    Ps2::OnKeyDown('Z', 0);
    EXPECT_EQ(Traces(), std::vector<std::string>{"Assertion Failure:  Internal error: Should not be in g_fUsbMode"});
}

// A layout on which the board's found key (scan 0x2C) types "Y" and its stored key
// (scan 0x15) types "Z".
class SwappedLayout final : public Ps2::IKeyboardLayout {
public:
    std::int16_t VkKeyScan(char ch) override {
        if (ch >= 'a' && ch <= 'z') return static_cast<std::int16_t>(ch - 'a' + 'A');
        return -1;
    }
    std::uint32_t MapVirtualKey(std::uint32_t code, std::uint32_t type) override {
        if (type != 0) return 0;
        if (code == 'Y') return 0x2C;
        if (code == 'Z') return 0x15;
        return 0;
    }
};

TEST(Ps2ReplyTranslation, ComparesScanCodesOfTheCurrentLayout) {
    Ps2::SetKeyboardLayout(nullptr);
    Ps2::IKeyboardLayout& us = Ps2::KeyboardLayout();
    EXPECT_EQ(Ps2::ReplyScanOfKeyCode('Z', us), 0x2C);
    EXPECT_EQ(Ps2::ReplyScanOfKeyCode('Y', us), 0x15);
    EXPECT_EQ(Ps2::ReplyScanOfKeyCode('C', us), 0x2E);
    EXPECT_EQ(Ps2::ReplyScanOfKeyCode('J', us), 0x24);
    EXPECT_EQ(Ps2::ReplyScanOfKeyCode('N', us), 0x31);
    EXPECT_EQ(Ps2::ReplyCharOfKeyCode('z'), 'Z');
    EXPECT_EQ(Ps2::ReplyCharOfKeyCode('4'), '4');
    EXPECT_EQ(Ps2::LowerReplyCharOfKeyCode('Q'), 'q');
    EXPECT_EQ(Ps2::ReplyScanOfMapResult(0x12C), 0x2C);

    SwappedLayout swapped;
    EXPECT_EQ(Ps2::ReplyScanOfKeyCode('Y', swapped), 0x2C);
    EXPECT_EQ(Ps2::ReplyScanOfKeyCode('Z', swapped), 0x15);
    // The whole result of VkKeyScanA, shift state included, goes to MapVirtualKeyA.
    class ShiftedLayout final : public Ps2::IKeyboardLayout {
    public:
        std::uint32_t seen = 0;
        std::int16_t VkKeyScan(char) override { return 0x0241; }
        std::uint32_t MapVirtualKey(std::uint32_t code, std::uint32_t) override {
            seen = code;
            return 0x1234;
        }
    } shifted;
    EXPECT_EQ(Ps2::ReplyScanOfKeyCode('A', shifted), 0x34);
    EXPECT_EQ(shifted.seen, 0x0241u);
}

TEST_F(Ps2Transport, TheBoardsKeysAreRecognisedOnAnyLayout) {
    SwappedLayout layout;
    Ps2::SetKeyboardLayout(&layout);
    Ps2::g_iStep = 1;
    Ps2::OnReplyKey('Z');  // scan 0x15 here: not the found answer
    EXPECT_EQ(Ps2::g_iStep, 1);
    Ps2::OnReplyKey('Y');
    EXPECT_EQ(Ps2::g_iStep, 2);
    EXPECT_EQ(Statuses(), std::vector<std::string>{"Found Board"});
}

}  // namespace
