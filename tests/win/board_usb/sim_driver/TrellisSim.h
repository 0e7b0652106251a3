#pragma once
// The simulated USB board used by the end-to-end tests: a kernel driver of our own that
// creates the board's device "\\.\USBTrellis", answers the board driver's three request
// codes like a board, and records every page it is sent. Besides the board's requests it
// takes three of its own, from the test: configure the answers, read back what was
// recorded, reset.
//
// Shared by the driver (freestanding, kernel mode) and the tests (user mode): fixed-width
// types only.
#include <stdint.h>

namespace TrellisSim {

// The board's requests.
constexpr uint32_t kIoctlFirst = 0x222000;
constexpr uint32_t kIoctlSecond = 0x222004;
constexpr uint32_t kIoctlTransfer = 0x222C80;
// The test's own requests (device type 0x22, functions 0xF00-0xF02, buffered).
constexpr uint32_t kIoctlConfigure = 0x223C00;  // in: Config
constexpr uint32_t kIoctlReadRecord = 0x223C04;  // out: Record
constexpr uint32_t kIoctlReset = 0x223C08;      // record emptied, default config

constexpr uint32_t kPageSize = 96;
constexpr uint32_t kMaxPages = 8;
constexpr uint32_t kMaxRequests = 96;
// The value that the first request returns in its bytes 4-7 and the second expects back.
constexpr uint32_t kPipeCookie = 0x5452454Cu;

// Which board request fails (the result code the program sees), for how many transfers.
enum FailPoint : uint8_t {
    kFailNone = 0,
    kFailFirst = 13,      // the first request
    kFailSecond = 14,     // the second request
    kFailStart = 15,      // the start request
    kFailFirstData = 16,  // the first data request
};

struct Config {
    uint8_t finalStatus;  // status after block 3 (1 programmed, 2-9 checksum error)
    uint8_t midStatus;    // status after blocks 1 and 2
    uint8_t failPoint;    // FailPoint
    uint8_t failTransfers;  // transfers (counted from the reset) that fail there
    uint32_t startDelayMs;  // the start request waits this long before it completes
};

// One board request as it arrived.
struct Request {
    uint32_t code;
    uint16_t inLength;
    uint16_t outLength;
    uint8_t kind;  // byte 7 of a transfer request (0xE9 control, 0xEB data, 0xEA status)
    uint8_t control;  // byte 8 of a control request (1 start, 0 end)
    uint8_t failed;   // 1 when the request was refused
    uint8_t reserved;
};

struct Record {
    uint32_t pageCount;     // complete pages: start, three blocks, end
    uint32_t requestCount;  // requests logged (at most kMaxRequests are kept)
    uint8_t pages[kMaxPages][kPageSize];
    Request requests[kMaxRequests];
};

inline Config DefaultConfig() {
    Config c{};
    c.finalStatus = 1;
    c.midStatus = 1;
    c.failPoint = kFailNone;
    c.failTransfers = 0;
    c.startDelayMs = 0;
    return c;
}

}  // namespace TrellisSim
