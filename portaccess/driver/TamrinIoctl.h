// The request contract between the Tamrin port-access control and its NT kernel driver:
// object names, request codes and buffer layouts. Shared by the driver, its portable
// request core, the control and the tests; it needs nothing but <stdint.h>, so it builds
// in user mode, natively and inside the freestanding kernel driver alike.
//
// The names here deliberately avoid the platform's macro names (CTL_CODE, METHOD_BUFFERED,
// FILE_DEVICE_UNKNOWN, ...) so this header can sit beside <windows.h> or <ntddk.h>.
#pragma once

#include <stdint.h>

namespace TamrinIoctl {

// Kernel object names (the driver creates them) and the path user mode opens.
inline constexpr wchar_t kDeviceName[] = L"\\Device\\Tamrin";
inline constexpr wchar_t kLinkName[] = L"\\DosDevices\\Tamrin";
inline constexpr char kUserPath[] = "\\\\.\\Tamrin";

// Device type 0x22: "unknown" device, the type drivers of their own kind use.
inline constexpr uint32_t kDeviceType = 0x22;
inline constexpr uint32_t kMethodBuffered = 0;
inline constexpr uint32_t kAnyAccess = 0;

// The platform's control-code packing: device type in bits 16-31, required access in bits
// 14-15, function in bits 2-13, transfer method in bits 0-1.
constexpr uint32_t ControlCode(uint32_t deviceType, uint32_t function, uint32_t method, uint32_t access)
{
  return (deviceType << 16) | (access << 14) | (function << 2) | method;
}
constexpr uint32_t DeviceTypeOf(uint32_t code) { return code >> 16; }
constexpr uint32_t AccessOf(uint32_t code) { return (code >> 14) & 0x3; }
constexpr uint32_t FunctionOf(uint32_t code) { return (code >> 2) & 0xFFF; }
constexpr uint32_t MethodOf(uint32_t code) { return code & 0x3; }

constexpr uint32_t TamrinCode(uint32_t function)
{
  return ControlCode(kDeviceType, function, kMethodBuffered, kAnyAccess);
}

// Functions 0x810-0x817: the driver's requests.
inline constexpr uint32_t kFirstFunction = 0x810;
inline constexpr uint32_t kLastFunction = 0x817;

inline constexpr uint32_t kReadByte = TamrinCode(0x810);       // in: port (2)        out: value (1)
inline constexpr uint32_t kReadWord = TamrinCode(0x811);       // in: port (2)        out: value (2)
inline constexpr uint32_t kReadDword = TamrinCode(0x812);      // in: port (2)        out: value (4)
inline constexpr uint32_t kWriteByte = TamrinCode(0x813);      // in: write layout (8) out: none
inline constexpr uint32_t kWriteWord = TamrinCode(0x814);      // in: write layout (8) out: none
inline constexpr uint32_t kWriteDword = TamrinCode(0x815);     // in: write layout (8) out: none
inline constexpr uint32_t kBiosPortTable = TamrinCode(0x816);  // in: none            out: table (16)
inline constexpr uint32_t kFastMode = TamrinCode(0x817);       // in: flag (4)        out: none

static_assert(kReadByte == 0x222040);
static_assert(kReadWord == 0x222044);
static_assert(kReadDword == 0x222048);
static_assert(kWriteByte == 0x22204C);
static_assert(kWriteWord == 0x222050);
static_assert(kWriteDword == 0x222054);
static_assert(kBiosPortTable == 0x222058);
static_assert(kFastMode == 0x22205C);

// Read requests: the 16-bit port, little-endian, at the start of the input buffer.
inline constexpr uint32_t kPortInputSize = 2;

// Write requests: 8 bytes; 0-1 port, 2-3 reserved (zero), 4-7 the value as 32 bits
// (a byte write uses byte 4 only, a word write bytes 4-5).
inline constexpr uint32_t kWriteInputSize = 8;
inline constexpr uint32_t kWritePortOffset = 0;
inline constexpr uint32_t kWriteValueOffset = 4;

// BIOS port table: 16 bytes of physical memory from 0x400, eight little-endian words
// COM1-COM4, then LPT1-LPT4.
inline constexpr uint32_t kBiosTablePhysical = 0x400;
inline constexpr uint32_t kBiosTableSize = 16;
inline constexpr uint32_t kBiosComWord = 0;  // word index of COM1
inline constexpr uint32_t kBiosLptWord = 4;  // word index of LPT1

// Fast mode: a 32-bit flag, 0 = take the port range from the process, other = open it.
// Where the system has no per-process I/O permission map (the driver looks the routines up
// at load) both directions are refused with STATUS_NOT_IMPLEMENTED, which user mode sees as
// ERROR_INVALID_FUNCTION; a system that refuses the map gives STATUS_UNSUCCESSFUL.
inline constexpr uint32_t kFastModeInputSize = 4;

// The I/O permission map the driver installs: one bit per port (0 = allowed), as map 1.
inline constexpr uint32_t kPermissionMapSize = 0x2000;
inline constexpr uint32_t kPermissionMapNumber = 1;

}  // namespace TamrinIoctl
