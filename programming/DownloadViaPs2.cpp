#include "programming/DownloadViaPs2.h"

#include "core/Debug_.h"
#include "core/Globals.h"
#include "core/Host.h"
#include "core/Trace_.h"
#include "core/Util.h"
#include "programming/DownloadViaUsb.h"
#include "programming/ProgressCallback.h"

namespace DownloadViaPs2 {

Download::DownloadArray g_abPs2Image1;
Download::DownloadArray g_abPs2Image2;
std::int16_t g_iStep = 0;
std::string g_sReply;
std::uint8_t g_bReplyScan = 0;
bool g_fTimedOut = false;

namespace {

// US layout: letters and digits, the keys a board types.
class UsKeyboardLayout final : public IKeyboardLayout {
public:
    std::int16_t VkKeyScan(char ch) override {
        if (ch >= 'a' && ch <= 'z') return static_cast<std::int16_t>(ch - 'a' + 'A');
        if (ch >= 'A' && ch <= 'Z') return static_cast<std::int16_t>(0x100 | ch);
        if (ch >= '0' && ch <= '9') return ch;
        if (ch == ' ') return 0x20;
        return -1;
    }
    std::uint32_t MapVirtualKey(std::uint32_t code, std::uint32_t mapType) override {
        if (mapType != 0 || code > 0xFF) return 0;
        static constexpr std::uint8_t kLetters[26] = {0x1E, 0x30, 0x2E, 0x20, 0x12, 0x21, 0x22, 0x23, 0x17,
                                                      0x24, 0x25, 0x26, 0x32, 0x31, 0x18, 0x19, 0x10, 0x13,
                                                      0x1F, 0x14, 0x16, 0x2F, 0x11, 0x2D, 0x15, 0x2C};
        if (code >= 'A' && code <= 'Z') return kLetters[code - 'A'];
        if (code == '0') return 0x0B;
        if (code >= '1' && code <= '9') return code - '1' + 0x02;
        if (code == 0x20) return 0x39;
        return 0;
    }
};

UsKeyboardLayout g_usLayout;
IKeyboardLayout* g_layout = &g_usLayout;

char ToUpperAscii(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }
char ToLowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool TrimmedIsEmpty(const std::string& s) { return Util::Trim(s).empty(); }

// True once g_lTimeout / 1000 whole-second ticks have passed since the start.
bool TimeoutReached(long long startSeconds) {
    const long long ticks = Download::Clock().NowSeconds() - startSeconds;
    return static_cast<double>(g_lTimeout) / 1000.0 <= static_cast<double>(ticks);
}

void SetStatus(const std::string& text) { StatusLabel().SetCaption(text); }

void FinishSuccessfully() {
    // The outcome is known before the end pumps events (a window closed then ends
    // a command-line run with its code).
    Download::SetRunOutcome(Download::RunOutcome::Succeeded);
    SetStatus("SUCCESS: DOWNLOAD COMPLETE");
    EndProgramming();
    if (g_fCommandLineMode)
        Download::EndCommandLineProgram();
    else
        DownloadingForm().CloseForm();
}

}  // namespace

void SetKeyboardLayout(IKeyboardLayout* layout) { g_layout = layout ? layout : &g_usLayout; }
IKeyboardLayout& KeyboardLayout() { return *g_layout; }

char ReplyCharOfKeyCode(std::int16_t keyCode) { return ToUpperAscii(static_cast<char>(keyCode & 0xFF)); }
char LowerReplyCharOfKeyCode(std::int16_t keyCode) { return ToLowerAscii(static_cast<char>(keyCode & 0xFF)); }
std::uint8_t ReplyScanOfMapResult(std::uint32_t mapVirtualKeyResult) {
    return static_cast<std::uint8_t>(mapVirtualKeyResult & 0xFF);
}
std::uint8_t ReplyScanOfKeyCode(std::int16_t keyCode, IKeyboardLayout& layout) {
    // The whole 16-bit result, shift state included, goes to MapVirtualKeyA.
    const std::int16_t vk = layout.VkKeyScan(LowerReplyCharOfKeyCode(keyCode));
    return ReplyScanOfMapResult(layout.MapVirtualKey(static_cast<std::uint16_t>(vk), 0));
}

Download::IProgrammingWindow& DownloadingForm() { return Download::DownloadingForm(); }
IStatusLabel& StatusLabel() { return Download::StatusLabel(); }
Download::IPortControl& PortControl() { return DownloadingForm().PortControl(); }
void ResetInput() { DownloadingForm().ResetTxtInput(); }

void ProgramViaPs2(const Download::DownloadArray& array1, const Download::DownloadArray& array2) {
    g_abPs2Image1 = array1;
    g_abPs2Image2 = array2;
    DownloadingForm().SetTxtInputEnabled(true);
    ResetInput();
    g_sReply.clear();
    g_iStep = 1;
    PortControl().OutByte(kPortCommand, kCmdAuxOff);
    Host().SleepMs(300);
    SendByte(kProgrammingRequest);
    g_sReply.clear();
    WaitForReply();
}

void SendByte(std::uint8_t b) {
    const long long start = Download::Clock().NowSeconds();
    g_fTimedOut = false;
    PortControl().OutByte(kPortData, b);
    for (;;) {
        if (!g_fProgrammingQuorba) return;
        if (PortControl().InByte(kPortCommand) == kControllerReady) return;
        Host().SleepMs(2);
        Host().DoEvents();
        // A run that ended while events were pumped is not timed out afterwards.
        if (!g_fProgrammingQuorba) return;
        if (TimeoutReached(start)) {
            g_fTimedOut = true;
            Fail("Timeout");
            return;
        }
    }
}

void WaitForReply() {
    const long long start = Download::Clock().NowSeconds();
    g_fTimedOut = false;
    for (;;) {
        if (!TrimmedIsEmpty(g_sReply) || !g_fProgrammingQuorba) return;
        Host().DoEvents();
        // The steps nested in the pump may have taken the reply or ended the run,
        // however long they took: only a wait still waiting times out.
        if (!TrimmedIsEmpty(g_sReply) || !g_fProgrammingQuorba) return;
        if (TimeoutReached(start)) {
            g_fTimedOut = true;
            Fail("Timeout");  // ends the run, and with it this loop
        }
    }
}

void SendArray(const Download::DownloadArray& ab) {
    Debug_::Assert(ab.size() >= kBytesSent, "Bad download array");
    // Sending goes on after the run has ended: the remaining bytes are then only
    // written. A too short array (reported above) sends what it has. The array is
    // copied first, since the exchange it belongs to may be replaced while events
    // are pumped.
    const Download::DownloadArray copy = ab;
    for (std::size_t i = 0; i < kBytesSent && i < copy.size(); ++i) SendByte(copy[i]);
}

void OnKeyDown(std::int16_t keyCode, std::int16_t shift) {
    Debug_::Assert(!g_fUsbMode, "Internal error: Should not be in g_fUsbMode");
    if (g_fProgrammingQuorba) {
        OnReplyKey(keyCode);
        return;
    }
    if (!g_fCommandLineMode) return;
    if ((keyCode == 13 || keyCode == 27 || keyCode == 32) && shift == 0)
        Download::EndCommandLineProgram();
    else if (keyCode == 112 && shift == 3)
        Trace_::ShowTraceWindow();
}

void OnReplyKey(std::int16_t keyCode) {
    Debug_::Assert(!g_fUsbMode, "Internal error: Should not be in g_fUsbMode");
    Debug_::Assert(g_fProgrammingQuorba, "Internal error: g_fProgrammingQuorba should be True");
    g_bReplyScan = ReplyScanOfKeyCode(keyCode, KeyboardLayout());
    g_sReply = std::string(1, ReplyCharOfKeyCode(keyCode));
    ResetInput();
    switch (g_bReplyScan) {
    case kScanBoardType:
        Fail("ERROR: CHECK BOARD TYPE SETTING");
        return;
    case kScanJumper:
        Fail("DOWNLOAD FAILED: VEDO JUMPER ERROR");
        return;
    case kScanInvalidBoard:
        Fail("DOWNLOAD FAILED: INVALID QUORBA BOARD");
        return;
    default:
        break;
    }
    switch (g_typeQuorba) {
    case TYPEQUORBA_Quorba4:
        StepQuorba4();
        break;
    case TYPEQUORBA_Quorba2:
    case TYPEQUORBA_QuorbaVexo:
        StepQuorba2OrVexo();
        break;
    default:
        break;
    }
}

void StepQuorba2OrVexo() {
    switch (g_iStep) {
    case 1:
        if (g_bReplyScan != kScanFound) return;
        g_sReply.clear();
        SetStatus("Found Board");
        g_iStep = 2;
        return;
    case 2:
        if (g_sReply != "4" && g_sReply != "2") return;
        g_sReply.clear();
        SetStatus("Downloading...");
        g_iStep = 3;
        SendArray(g_abPs2Image1);
        WaitForReply();
        return;
    case 3:
        if (g_bReplyScan != kScanStored) return;
        FinishSuccessfully();
        return;
    default:
        return;
    }
}

void StepQuorba4() {
    switch (g_iStep) {
    case 1:
        if (g_bReplyScan != kScanFound) return;
        g_sReply.clear();
        SetStatus("BOARD FOUND...");
        g_iStep = 2;
        return;
    case 2:
        if (g_sReply != "4") return;
        g_sReply.clear();
        SetStatus("PROGRAMMING P1-P2...");
        g_iStep = 3;
        SendArray(g_abPs2Image1);
        WaitForReply();
        return;
    case 3:
        if (g_bReplyScan != kScanStored) return;
        g_sReply.clear();
        Host().SleepMs(500);
        SetStatus("");
        SetStatus("P1-P2 DONE");
        g_iStep = 4;
        SendByte(kProgrammingRequest);
        WaitForReply();
        return;
    case 4:
        if (g_bReplyScan != kScanFound) return;
        g_sReply.clear();
        g_iStep = 5;
        return;
    case 5:
        if (g_sReply != "4") return;
        g_sReply.clear();
        SetStatus("PROGRAMMING P3-P4...");
        g_iStep = 6;
        SendArray(g_abPs2Image2);
        WaitForReply();
        return;
    case 6:
        if (g_bReplyScan != kScanStored) return;
        FinishSuccessfully();
        return;
    default:
        return;
    }
}

void EndProgramming() {
    DownloadingForm().SetMousePointer(0);
    Host().DoEvents();
    Host().SleepMs(300);
    PortControl().OutByte(kPortCommand, kCmdAuxOn);
    g_fProgrammingQuorba = false;
    g_sReply.clear();
}

void Fail(const std::string& message) {
    Download::SetRunOutcome(Download::RunOutcome::Failed);
    SetStatus(message);
    EndProgramming();
    DownloadViaUsb::BringDownloadingToScreen();
}

}  // namespace DownloadViaPs2
