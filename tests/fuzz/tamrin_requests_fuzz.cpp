// Fuzzes the Tamrin driver's request handling with arbitrary codes, buffer lengths and
// bytes. Buffers are allocated to their exact length (AddressSanitizer catches any access
// beyond them); the answer is checked against what every request promises.
//
// Input: [selector][code: 4][input length][output length][flags][input bytes...]
//   selector < 0x80 picks one of the known codes (the fuzzer reaches every request at once),
//   otherwise the 4 code bytes are used as they are.
#include "portaccess/driver/TamrinIoctl.h"
#include "portaccess/driver/TamrinRequests.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>

namespace {

using TamrinRequests::FastModeAnswer;

struct Fake {
  bool mapWorks;
  FastModeAnswer fastAnswer;
  int calls = 0;
};

Fake& Of(void* c) { return *static_cast<Fake*>(c); }

TamrinRequests::Operations OperationsFor(Fake& fake)
{
  return {
      &fake,
      [](void* c, uint16_t port) -> uint8_t { return static_cast<uint8_t>(++Of(c).calls + port); },
      [](void* c, uint16_t port) -> uint16_t { return static_cast<uint16_t>(++Of(c).calls + port); },
      [](void* c, uint16_t port) -> uint32_t { return static_cast<uint32_t>(++Of(c).calls) * 0x01010101u + port; },
      [](void* c, uint16_t, uint8_t) { ++Of(c).calls; },
      [](void* c, uint16_t, uint16_t) { ++Of(c).calls; },
      [](void* c, uint16_t, uint32_t) { ++Of(c).calls; },
      [](void* c, uint8_t* table) {
        auto& f = Of(c);
        ++f.calls;
        std::memset(table, 0x42, TamrinIoctl::kBiosTableSize);  // also when failing
        return f.mapWorks;
      },
      [](void* c, bool) {
        auto& f = Of(c);
        ++f.calls;
        return f.fastAnswer;
      },
  };
}

void Require(bool condition)
{
  if (!condition) {
    __builtin_trap();
  }
}

constexpr uint32_t kKnown[] = {
    TamrinIoctl::kReadByte,   TamrinIoctl::kReadWord,   TamrinIoctl::kReadDword,
    TamrinIoctl::kWriteByte,  TamrinIoctl::kWriteWord,  TamrinIoctl::kWriteDword,
    TamrinIoctl::kBiosPortTable, TamrinIoctl::kFastMode,
    TamrinIoctl::TamrinCode(0x80F), TamrinIoctl::TamrinCode(0x818),
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  if (size < 9) {
    return 0;
  }
  uint32_t code = 0;
  std::memcpy(&code, data + 1, 4);
  if (data[0] < 0x80) {
    code = kKnown[data[0] % (sizeof(kKnown) / sizeof(kKnown[0]))];
  }
  const uint32_t inLength = data[5] % 40;
  const uint32_t outLength = data[6] % 40;
  const uint8_t flags = data[7];
  const bool shared = (flags & 0x80) != 0;  // one buffer for both, as the buffered transfer does
  Fake fake{(flags & 1) != 0, static_cast<FastModeAnswer>((flags >> 1) % 3)};

  const uint8_t* payload = data + 8;
  const size_t payloadSize = size - 8;

  std::unique_ptr<uint8_t[]> in(new uint8_t[inLength]);
  for (uint32_t i = 0; i < inLength; ++i) {
    in[i] = i < payloadSize ? payload[i] : 0;
  }
  std::unique_ptr<uint8_t[]> out;
  uint32_t outSize = outLength;
  if (shared) {
    outSize = inLength > outLength ? inLength : outLength;
    std::unique_ptr<uint8_t[]> both(new uint8_t[outSize]);
    std::memset(both.get(), 0xEE, outSize);
    std::memcpy(both.get(), in.get(), inLength);
    out = std::move(both);
  } else {
    out.reset(new uint8_t[outLength]);
    std::memset(out.get(), 0xEE, outLength);
  }
  std::unique_ptr<uint8_t[]> before(new uint8_t[outSize]);
  std::memcpy(before.get(), out.get(), outSize);

  const uint8_t* input = shared ? out.get() : in.get();
  const auto r = TamrinRequests::HandleRequest(OperationsFor(fake), code, input, inLength, out.get(), outLength);

  Require(r.status == TamrinRequests::kStatusSuccess || r.status == TamrinRequests::kStatusInvalidParameter ||
          r.status == TamrinRequests::kStatusNotImplemented || r.status == TamrinRequests::kStatusUnsuccessful);
  Require(r.bytesReturned <= outLength);
  if (r.status != TamrinRequests::kStatusSuccess) {
    Require(r.bytesReturned == 0);
  }
  if (r.status == TamrinRequests::kStatusInvalidParameter) {
    Require(fake.calls == 0);
  }
  // Nothing is written past the byte count (and nothing at all when 0 bytes come back).
  for (uint32_t i = r.bytesReturned; i < outSize; ++i) {
    Require(out[i] == before[i]);
  }
  return 0;
}
