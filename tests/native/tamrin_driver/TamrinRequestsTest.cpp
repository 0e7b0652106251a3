// The driver's request handling: every request with exact, short and long buffers, unknown
// codes, the write layouts, the BIOS table and fast mode. Buffers are allocated to their
// exact length, so AddressSanitizer catches any access beyond them.
#include "portaccess/driver/TamrinIoctl.h"
#include "portaccess/driver/TamrinRequests.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <cstring>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

namespace {

using TamrinRequests::FastModeAnswer;
using TamrinRequests::kStatusInvalidParameter;
using TamrinRequests::kStatusNotImplemented;
using TamrinRequests::kStatusSuccess;
using TamrinRequests::kStatusUnsuccessful;
namespace Ioctl = TamrinIoctl;

// A heap buffer of exactly `size` bytes (also 0), filled with `fill`.
class ExactBuffer {
 public:
  explicit ExactBuffer(std::size_t size, uint8_t fill = 0xCC) : m_size(size), m_data(new uint8_t[size])
  {
    std::memset(m_data.get(), fill, size);
  }
  ExactBuffer(std::initializer_list<uint8_t> bytes) : ExactBuffer(std::vector<uint8_t>(bytes)) {}
  explicit ExactBuffer(const std::vector<uint8_t>& bytes) : ExactBuffer(bytes.size())
  {
    std::copy(bytes.begin(), bytes.end(), m_data.get());
  }
  uint8_t* data() { return m_data.get(); }
  uint32_t size() const { return static_cast<uint32_t>(m_size); }
  uint8_t operator[](std::size_t i) const { return m_data[i]; }
  std::vector<uint8_t> bytes() const { return {m_data.get(), m_data.get() + m_size}; }

 private:
  std::size_t m_size;
  std::unique_ptr<uint8_t[]> m_data;
};

// Records what the core asks of the hardware and answers with preset values.
struct FakeHardware {
  struct Access {
    char kind;  // 'i' in, 'o' out
    int width;
    uint16_t port;
    uint32_t value;
    bool operator==(const Access&) const = default;
  };
  std::vector<Access> accesses;
  uint32_t inValue = 0x89ABCDEF;
  bool mapWorks = true;
  bool scribbleOnFailure = false;
  std::array<uint8_t, 16> bios{};
  int biosReads = 0;
  FastModeAnswer fastAnswer = FastModeAnswer::Done;
  std::vector<bool> fastRequests;

  static FakeHardware& Of(void* context) { return *static_cast<FakeHardware*>(context); }

  TamrinRequests::Operations Operations()
  {
    return {
        this,
        [](void* c, uint16_t port) -> uint8_t {
          auto& hw = Of(c);
          hw.accesses.push_back({'i', 1, port, 0});
          return static_cast<uint8_t>(hw.inValue);
        },
        [](void* c, uint16_t port) -> uint16_t {
          auto& hw = Of(c);
          hw.accesses.push_back({'i', 2, port, 0});
          return static_cast<uint16_t>(hw.inValue);
        },
        [](void* c, uint16_t port) -> uint32_t {
          auto& hw = Of(c);
          hw.accesses.push_back({'i', 4, port, 0});
          return hw.inValue;
        },
        [](void* c, uint16_t port, uint8_t v) { Of(c).accesses.push_back({'o', 1, port, v}); },
        [](void* c, uint16_t port, uint16_t v) { Of(c).accesses.push_back({'o', 2, port, v}); },
        [](void* c, uint16_t port, uint32_t v) { Of(c).accesses.push_back({'o', 4, port, v}); },
        [](void* c, uint8_t* table) {
          auto& hw = Of(c);
          ++hw.biosReads;
          if (!hw.mapWorks) {
            if (hw.scribbleOnFailure) {
              std::memset(table, 0x77, 16);
            }
            return false;
          }
          std::memcpy(table, hw.bios.data(), 16);
          return true;
        },
        [](void* c, bool open) {
          auto& hw = Of(c);
          hw.fastRequests.push_back(open);
          return hw.fastAnswer;
        },
    };
  }

  bool Untouched() const { return accesses.empty() && biosReads == 0 && fastRequests.empty(); }
};

TamrinRequests::Result Send(FakeHardware& hw, uint32_t code, ExactBuffer& in, ExactBuffer& out)
{
  return TamrinRequests::HandleRequest(hw.Operations(), code, in.data(), in.size(), out.data(), out.size());
}

// The contract of every request: its code, the layout sizes and the byte count.
struct Layout {
  const char* name;
  uint32_t code;
  uint32_t inputSize;
  uint32_t outputSize;
  uint32_t bytesReturned;
};

const Layout kLayouts[] = {
    {"ReadByte", Ioctl::kReadByte, 2, 1, 1},       {"ReadWord", Ioctl::kReadWord, 2, 2, 2},
    {"ReadDword", Ioctl::kReadDword, 2, 4, 4},     {"WriteByte", Ioctl::kWriteByte, 8, 0, 0},
    {"WriteWord", Ioctl::kWriteWord, 8, 0, 0},     {"WriteDword", Ioctl::kWriteDword, 8, 0, 0},
    {"BiosPortTable", Ioctl::kBiosPortTable, 0, 16, 16}, {"FastMode", Ioctl::kFastMode, 4, 0, 0},
};

void PrintTo(const Layout& l, std::ostream* os) { *os << l.name; }

class EveryRequest : public ::testing::TestWithParam<Layout> {};

TEST_P(EveryRequest, ExactBuffersSucceedWithTheirByteCount)
{
  const Layout& l = GetParam();
  FakeHardware hw;
  ExactBuffer in(l.inputSize, 0x01);
  ExactBuffer out(l.outputSize);
  const auto r = Send(hw, l.code, in, out);
  EXPECT_EQ(r.status, kStatusSuccess);
  EXPECT_EQ(r.bytesReturned, l.bytesReturned);
  EXPECT_FALSE(hw.Untouched());
}

TEST_P(EveryRequest, LongerBuffersAreAccepted)
{
  const Layout& l = GetParam();
  FakeHardware hw;
  ExactBuffer in(l.inputSize + 7, 0x01);
  ExactBuffer out(l.outputSize + 9, 0xEE);
  const auto r = Send(hw, l.code, in, out);
  EXPECT_EQ(r.status, kStatusSuccess);
  EXPECT_EQ(r.bytesReturned, l.bytesReturned);
  // Nothing beyond the byte count is written.
  for (uint32_t i = l.bytesReturned; i < out.size(); ++i) {
    EXPECT_EQ(out[i], 0xEE) << "byte " << i;
  }
}

TEST_P(EveryRequest, NullBuffersCountAsEmpty)
{
  const Layout& l = GetParam();
  FakeHardware hw;
  // Lengths that would be enough, but no memory behind them.
  const auto r = TamrinRequests::HandleRequest(hw.Operations(), l.code, nullptr, 64, nullptr, 64);
  if (l.inputSize == 0 && l.outputSize == 0) {
    EXPECT_EQ(r.status, kStatusSuccess);
  } else {
    EXPECT_EQ(r.status, kStatusInvalidParameter);
    EXPECT_TRUE(hw.Untouched());
  }
}

INSTANTIATE_TEST_SUITE_P(TamrinRequests, EveryRequest, ::testing::ValuesIn(kLayouts),
                         [](const auto& info) { return std::string(info.param.name); });

// A buffer one byte shorter than the layout: refused before anything is done, the output
// left as it was, and (with exact allocations) nothing read or written beyond either buffer.
void ExpectRefusedUntouched(const Layout& l, uint32_t inSize, uint32_t outSize)
{
  SCOPED_TRACE(::testing::Message() << l.name << " in " << inSize << " out " << outSize);
  FakeHardware hw;
  ExactBuffer in(inSize, 0x01);
  ExactBuffer out(outSize, 0xEE);
  const auto r = Send(hw, l.code, in, out);
  EXPECT_EQ(r.status, kStatusInvalidParameter);
  EXPECT_EQ(r.bytesReturned, 0u);
  EXPECT_TRUE(hw.Untouched());
  EXPECT_EQ(out.bytes(), std::vector<uint8_t>(outSize, 0xEE));
}

TEST(TamrinShortBuffers, InputShortByOneIsRefused)
{
  for (const Layout& l : kLayouts) {
    if (l.inputSize > 0) {
      ExpectRefusedUntouched(l, l.inputSize - 1, l.outputSize);
      ExpectRefusedUntouched(l, 0, l.outputSize + 4);
    }
  }
}

TEST(TamrinShortBuffers, OutputShortByOneIsRefused)
{
  for (const Layout& l : kLayouts) {
    if (l.outputSize > 0) {
      ExpectRefusedUntouched(l, l.inputSize, l.outputSize - 1);
      ExpectRefusedUntouched(l, l.inputSize + 4, 0);
    }
  }
}

TEST(TamrinRequestCodes, AreThePlatformControlCodes)
{
  // CTL_CODE(0x22, function, METHOD_BUFFERED, FILE_ANY_ACCESS) written out.
  for (uint32_t f = Ioctl::kFirstFunction; f <= Ioctl::kLastFunction; ++f) {
    EXPECT_EQ(Ioctl::TamrinCode(f), (0x22u << 16) | (f << 2));
  }
  EXPECT_EQ(Ioctl::FunctionOf(Ioctl::kFastMode), 0x817u);
  EXPECT_EQ(Ioctl::DeviceTypeOf(Ioctl::kReadByte), 0x22u);
}

TEST(TamrinRequestCodes, UnknownCodesAreRefusedAndNothingIsDone)
{
  const uint32_t unknown[] = {
      Ioctl::TamrinCode(0x818),                                 // next function
      Ioctl::TamrinCode(0x80F),                                 // previous function
      Ioctl::TamrinCode(0x000),
      Ioctl::ControlCode(0x23, 0x810, Ioctl::kMethodBuffered, 0),  // other device types
      Ioctl::ControlCode(0x00, 0x810, Ioctl::kMethodBuffered, 0),
      Ioctl::ControlCode(0x22, 0x810, 1, 0),                    // in-direct
      Ioctl::ControlCode(0x22, 0x813, 2, 0),                    // out-direct
      Ioctl::ControlCode(0x22, 0x816, 3, 0),                    // neither
      Ioctl::ControlCode(0x22, 0x817, Ioctl::kMethodBuffered, 1),  // read access
      Ioctl::ControlCode(0x22, 0x810, Ioctl::kMethodBuffered, 3),  // read/write access
      0x00000000u,
      0xFFFFFFFFu,
  };
  for (const uint32_t code : unknown) {
    FakeHardware hw;
    ExactBuffer in(32, 0x01);
    ExactBuffer out(32, 0xEE);
    const auto r = Send(hw, code, in, out);
    EXPECT_EQ(r.status, kStatusInvalidParameter) << std::hex << code;
    EXPECT_EQ(r.bytesReturned, 0u);
    EXPECT_TRUE(hw.Untouched()) << std::hex << code;
    EXPECT_EQ(out.bytes(), std::vector<uint8_t>(32, 0xEE));
  }
}

TEST(TamrinReads, ReturnExactlyTheirWidthLittleEndian)
{
  struct Case {
    uint32_t code;
    int width;
    std::vector<uint8_t> expected;
  };
  const Case cases[] = {
      {Ioctl::kReadByte, 1, {0xEF, 0x55, 0x55, 0x55, 0x55}},
      {Ioctl::kReadWord, 2, {0xEF, 0xCD, 0x55, 0x55, 0x55}},
      {Ioctl::kReadDword, 4, {0xEF, 0xCD, 0xAB, 0x89, 0x55}},
  };
  for (const auto& c : cases) {
    FakeHardware hw;
    ExactBuffer in{0x79, 0x03};  // port 0x379
    ExactBuffer out(5, 0x55);
    const auto r = Send(hw, c.code, in, out);
    EXPECT_EQ(r.status, kStatusSuccess);
    EXPECT_EQ(r.bytesReturned, static_cast<uint32_t>(c.width));
    EXPECT_EQ(out.bytes(), c.expected);
    ASSERT_EQ(hw.accesses.size(), 1u);
    EXPECT_EQ(hw.accesses[0], (FakeHardware::Access{'i', c.width, 0x379, 0}));
  }
}

TEST(TamrinReads, PortIsReadBeforeTheSharedBufferIsWritten)
{
  // Buffered transfer: input and output are one system buffer.
  FakeHardware hw;
  ExactBuffer buffer{0x60, 0x00, 0xAA, 0xAA};
  const auto r = TamrinRequests::HandleRequest(hw.Operations(), Ioctl::kReadDword, buffer.data(), 2,
                                               buffer.data(), 4);
  EXPECT_EQ(r.status, kStatusSuccess);
  ASSERT_EQ(hw.accesses.size(), 1u);
  EXPECT_EQ(hw.accesses[0].port, 0x60);
  EXPECT_EQ(buffer.bytes(), (std::vector<uint8_t>{0xEF, 0xCD, 0xAB, 0x89}));
}

TEST(TamrinWrites, ByteTakesOffsetFourOnly)
{
  FakeHardware hw;
  ExactBuffer in{0x64, 0x00, 0x00, 0x00, 0xA7, 0xFF, 0xFF, 0xFF};
  ExactBuffer out(0);
  const auto r = Send(hw, Ioctl::kWriteByte, in, out);
  EXPECT_EQ(r.status, kStatusSuccess);
  EXPECT_EQ(r.bytesReturned, 0u);
  ASSERT_EQ(hw.accesses.size(), 1u);
  EXPECT_EQ(hw.accesses[0], (FakeHardware::Access{'o', 1, 0x64, 0xA7}));
}

TEST(TamrinWrites, LayoutsAsTheControlSendsThem)
{
  struct Case {
    uint32_t code;
    std::vector<uint8_t> input;
    FakeHardware::Access expected;
  };
  const Case cases[] = {
      // OutByte 0xFF: FF 00 00 00.
      {Ioctl::kWriteByte, {0x78, 0x03, 0, 0, 0xFF, 0x00, 0x00, 0x00}, {'o', 1, 0x378, 0xFF}},
      // OutWord -1: sign-extended to FF FF FF FF; the word is bytes 4-5.
      {Ioctl::kWriteWord, {0x34, 0x12, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF}, {'o', 2, 0x1234, 0xFFFF}},
      {Ioctl::kWriteWord, {0xF8, 0x03, 0, 0, 0x34, 0x12, 0x99, 0x99}, {'o', 2, 0x3F8, 0x1234}},
      {Ioctl::kWriteDword, {0xFF, 0xFF, 0, 0, 0x78, 0x56, 0x34, 0x12}, {'o', 4, 0xFFFF, 0x12345678}},
      // Reserved bytes 2-3 are ignored.
      {Ioctl::kWriteByte, {0x80, 0x00, 0x5A, 0xA5, 0x01, 0, 0, 0}, {'o', 1, 0x80, 0x01}},
  };
  for (const auto& c : cases) {
    FakeHardware hw;
    ExactBuffer in(c.input);
    ExactBuffer out(0);
    const auto r = Send(hw, c.code, in, out);
    EXPECT_EQ(r.status, kStatusSuccess);
    ASSERT_EQ(hw.accesses.size(), 1u);
    EXPECT_EQ(hw.accesses[0], c.expected);
  }
}

TEST(TamrinBiosTable, CopiesTheSixteenBytes)
{
  FakeHardware hw;
  for (uint8_t i = 0; i < 16; ++i) {
    hw.bios[i] = static_cast<uint8_t>(0x10 + i);
  }
  ExactBuffer in(0);
  ExactBuffer out(16, 0);
  const auto r = Send(hw, Ioctl::kBiosPortTable, in, out);
  EXPECT_EQ(r.status, kStatusSuccess);
  EXPECT_EQ(r.bytesReturned, 16u);
  EXPECT_EQ(out.bytes(), std::vector<uint8_t>(hw.bios.begin(), hw.bios.end()));
}

TEST(TamrinBiosTable, MappingFailureSucceedsWithNothingCopied)
{
  FakeHardware hw;
  hw.mapWorks = false;
  hw.scribbleOnFailure = true;  // even a mapping that wrote something before failing
  ExactBuffer in(0);
  ExactBuffer out(16, 0);
  const auto r = Send(hw, Ioctl::kBiosPortTable, in, out);
  EXPECT_EQ(r.status, kStatusSuccess);
  EXPECT_EQ(r.bytesReturned, 0u);
  EXPECT_EQ(out.bytes(), std::vector<uint8_t>(16, 0));
}

TEST(TamrinFastMode, FlagOpensOrClosesForTheCaller)
{
  struct Case {
    std::vector<uint8_t> flag;
    bool open;
  };
  const Case cases[] = {
      {{1, 0, 0, 0}, true},
      {{0, 0, 0, 0}, false},
      {{0, 1, 0, 0}, true},  // any bit of the 32-bit flag
      {{0, 0, 0, 0x80}, true},
      {{0xFF, 0xFF, 0xFF, 0xFF}, true},
  };
  for (const auto& c : cases) {
    FakeHardware hw;
    ExactBuffer in(c.flag);
    ExactBuffer out(0);
    const auto r = Send(hw, Ioctl::kFastMode, in, out);
    EXPECT_EQ(r.status, kStatusSuccess);
    EXPECT_EQ(r.bytesReturned, 0u);
    EXPECT_EQ(hw.fastRequests, std::vector<bool>{c.open});
  }
}

TEST(TamrinFastMode, OpenThenCloseReachesTheProcessInOrder)
{
  FakeHardware hw;
  ExactBuffer open{1, 0, 0, 0};
  ExactBuffer close{0, 0, 0, 0};
  ExactBuffer out(0);
  EXPECT_EQ(Send(hw, Ioctl::kFastMode, open, out).status, kStatusSuccess);
  EXPECT_EQ(Send(hw, Ioctl::kFastMode, close, out).status, kStatusSuccess);
  EXPECT_EQ(hw.fastRequests, (std::vector<bool>{true, false}));
}

TEST(TamrinFastMode, UnavailableAndFailedAreReported)
{
  for (const bool open : {true, false}) {
    ExactBuffer in{static_cast<uint8_t>(open ? 1 : 0), 0, 0, 0};
    ExactBuffer out(0);
    FakeHardware missing;
    missing.fastAnswer = FastModeAnswer::NotAvailable;
    EXPECT_EQ(Send(missing, Ioctl::kFastMode, in, out).status, kStatusNotImplemented);
    FakeHardware refusing;
    refusing.fastAnswer = FastModeAnswer::Failed;
    const auto r = Send(refusing, Ioctl::kFastMode, in, out);
    EXPECT_EQ(r.status, kStatusUnsuccessful);
    EXPECT_EQ(r.bytesReturned, 0u);
  }
}

}  // namespace
