#pragma once
// Programming a board on the PS/2 keyboard line: port writes to the keyboard
// controller (0x64 command and status, 0x60 data) through the port-access control
// of the programming window, and the board's answers typed back as keys into the
// window's hidden text box.
//
// The exchange is driven from key events: a step that sends runs inside the key
// event, which runs inside the event pump of the wait before it, and then waits
// itself. Every wait pumps events and watches g_fProgrammingQuorba.
#include <cstdint>
#include <string>

#include "programming/Download.h"

class IStatusLabel;

namespace DownloadViaPs2 {

inline constexpr std::int32_t kPortData = 0x60;
inline constexpr std::int32_t kPortCommand = 0x64;
inline constexpr std::uint8_t kCmdAuxOff = 0xA7;
inline constexpr std::uint8_t kCmdAuxOn = 0xA8;
inline constexpr std::uint8_t kProgrammingRequest = 0xEF;
inline constexpr std::uint8_t kControllerReady = 0x14;
// Number of bytes of each download array that the board takes.
inline constexpr std::size_t kBytesSent = 83;

// Set-1 scan codes of the board's answers (keys Z, Y, C, J, N on a US layout).
inline constexpr std::uint8_t kScanFound = 0x2C;
inline constexpr std::uint8_t kScanStored = 0x15;
inline constexpr std::uint8_t kScanBoardType = 0x2E;
inline constexpr std::uint8_t kScanJumper = 0x24;
inline constexpr std::uint8_t kScanInvalidBoard = 0x31;

// The keyboard layout calls that turn a typed character back into the key that the
// board pressed.
class IKeyboardLayout {
public:
    virtual ~IKeyboardLayout() = default;
    // VkKeyScanA: virtual key in the low byte, shift state in the high byte; -1 none.
    virtual std::int16_t VkKeyScan(char ch) = 0;
    // MapVirtualKeyA.
    virtual std::uint32_t MapVirtualKey(std::uint32_t code, std::uint32_t mapType) = 0;
};
// Installs the layout (not owned); nullptr restores the built-in US layout, which
// knows the letters and digits.
void SetKeyboardLayout(IKeyboardLayout* layout);
IKeyboardLayout& KeyboardLayout();
// Windows build only (kl_win, DownloadViaPs2_win.cpp): installs the current keyboard
// layout (VkKeyScanA, MapVirtualKeyA). The program calls it once at start.
void InstallWin32KeyboardLayout();

// The reply character of a key code (the character with that code), upper case as
// stored in g_sReply, and lower case as looked up in the layout.
char ReplyCharOfKeyCode(std::int16_t keyCode);
char LowerReplyCharOfKeyCode(std::int16_t keyCode);
// The reply's scan code from what MapVirtualKeyA returned, taken as a byte.
std::uint8_t ReplyScanOfMapResult(std::uint32_t mapVirtualKeyResult);
// The whole translation: MapVirtualKeyA(VkKeyScanA(lower-case character), 0) as a byte.
std::uint8_t ReplyScanOfKeyCode(std::int16_t keyCode, IKeyboardLayout& layout);

// Module state, readable for the window and tests.
extern Download::DownloadArray g_abPs2Image1;
extern Download::DownloadArray g_abPs2Image2;
extern std::int16_t g_iStep;
extern std::string g_sReply;
extern std::uint8_t g_bReplyScan;
extern bool g_fTimedOut;

void ProgramViaPs2(const Download::DownloadArray& array1, const Download::DownloadArray& array2);
// txtInput_KeyDown of the programming window passes its arguments here.
void OnKeyDown(std::int16_t keyCode, std::int16_t shift);
void OnReplyKey(std::int16_t keyCode);
void StepQuorba2OrVexo();
void StepQuorba4();
void WaitForReply();
void SendByte(std::uint8_t b);
void SendArray(const Download::DownloadArray& ab);
void EndProgramming();
void Fail(const std::string& message);

// The programming window and its members, the window being created when needed.
Download::IProgrammingWindow& DownloadingForm();
IStatusLabel& StatusLabel();
Download::IPortControl& PortControl();
void ResetInput();

}  // namespace DownloadViaPs2
