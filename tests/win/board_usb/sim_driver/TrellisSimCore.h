#pragma once
// What the simulated board does with one request; no operating-system calls, so the
// driver only moves buffers in and out.
#include "TrellisSim.h"

namespace TrellisSim {

struct Board {
    Config config;
    Record record;
    uint8_t page[kPageSize];
    uint32_t blocks;         // data blocks of the current transfer
    uint32_t transfers;      // first requests seen since the reset
    bool dataSeen;           // a data request of the current transfer has come
};

inline void Copy(uint8_t* to, const uint8_t* from, uint32_t n) {
    for (uint32_t i = 0; i < n; ++i) to[i] = from[i];
}

inline void Reset(Board& b) {
    uint8_t* p = reinterpret_cast<uint8_t*>(&b);
    for (uint32_t i = 0; i < sizeof(Board); ++i) p[i] = 0;
    b.config = DefaultConfig();
}

enum class Outcome { kDone, kRefused };

// Handles one request. `in` holds a copy of the input; the answer goes to `out` (at most
// outLength bytes), its size to `information`; `delayMs` is how long to wait first.
inline Outcome Handle(Board& b, uint32_t code, const uint8_t* in, uint32_t inLength, uint8_t* out,
                      uint32_t outLength, uint32_t& information, uint32_t& delayMs) {
    information = 0;
    delayMs = 0;
    if (code == kIoctlConfigure) {
        if (inLength < sizeof(Config)) return Outcome::kRefused;
        Copy(reinterpret_cast<uint8_t*>(&b.config), in, sizeof(Config));
        return Outcome::kDone;
    }
    if (code == kIoctlReadRecord) {
        if (outLength < sizeof(Record)) return Outcome::kRefused;
        Copy(out, reinterpret_cast<const uint8_t*>(&b.record), sizeof(Record));
        information = sizeof(Record);
        return Outcome::kDone;
    }
    if (code == kIoctlReset) {
        Reset(b);
        return Outcome::kDone;
    }
    if (code != kIoctlFirst && code != kIoctlSecond && code != kIoctlTransfer) return Outcome::kRefused;

    Request r{};
    r.code = code;
    r.inLength = static_cast<uint16_t>(inLength);
    r.outLength = static_cast<uint16_t>(outLength);
    if (code == kIoctlTransfer && inLength >= 9) {
        r.kind = in[7];
        r.control = in[8];
    }
    if (code == kIoctlFirst) {
        ++b.transfers;
        b.blocks = 0;
        b.dataSeen = false;
    }
    const bool failing = b.config.failPoint != kFailNone && b.transfers <= b.config.failTransfers;
    bool refuse = false;
    if (code == kIoctlFirst) {
        if (inLength != 48 || outLength < 8 || (failing && b.config.failPoint == kFailFirst)) {
            refuse = true;
        } else {
            for (uint32_t i = 0; i < 8; ++i) out[i] = 0;
            out[4] = static_cast<uint8_t>(kPipeCookie);
            out[5] = static_cast<uint8_t>(kPipeCookie >> 8);
            out[6] = static_cast<uint8_t>(kPipeCookie >> 16);
            out[7] = static_cast<uint8_t>(kPipeCookie >> 24);
            information = 8;
        }
    } else if (code == kIoctlSecond) {
        const uint32_t cookie = inLength >= 4 ? (in[0] | (in[1] << 8) | (in[2] << 16) | (uint32_t(in[3]) << 24)) : 0;
        if (inLength != 4 || cookie != kPipeCookie || (failing && b.config.failPoint == kFailSecond)) refuse = true;
    } else if (inLength == 16 && r.kind == 0xE9) {
        if (r.control == 1) {
            if (failing && b.config.failPoint == kFailStart) {
                refuse = true;
            } else {
                b.blocks = 0;
                delayMs = b.config.startDelayMs;
            }
        } else if (b.blocks == 3 && b.record.pageCount < kMaxPages) {
            Copy(b.record.pages[b.record.pageCount], b.page, kPageSize);
            ++b.record.pageCount;
        }
    } else if (inLength == 48 && r.kind == 0xEB) {
        if (!b.dataSeen && failing && b.config.failPoint == kFailFirstData) {
            refuse = true;
        } else if (b.blocks < 3) {
            Copy(b.page + 32 * b.blocks, in + 16, 32);
            ++b.blocks;
        }
        b.dataSeen = true;
    } else if (inLength == 16 && r.kind == 0xEA) {
        if (outLength < 1) {
            refuse = true;
        } else {
            out[0] = b.blocks == 3 ? b.config.finalStatus : b.config.midStatus;
            information = 1;
        }
    } else {
        refuse = true;
    }
    r.failed = refuse ? 1 : 0;
    if (b.record.requestCount < kMaxRequests) b.record.requests[b.record.requestCount] = r;
    ++b.record.requestCount;
    return refuse ? Outcome::kRefused : Outcome::kDone;
}

}  // namespace TrellisSim
