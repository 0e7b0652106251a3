#include "portaccess/ZintrixLogic.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <vector>

namespace zl = ZintrixLogic;

namespace {

// The program's stored instance: 847 x 847 HIMETRIC, FastMode True, DriverInit 0.
const std::array<std::uint8_t, 22> kProgramStream = {
    0x00, 0x03, 0x00, 0x00,  // version 0x300
    0x4F, 0x03, 0x00, 0x00,  // _cx 847
    0x4F, 0x03, 0x00, 0x00,  // _cy 847
    0x0B, 0x00, 0xFF, 0xFF,  // VT_BOOL True
    0x03, 0x00, 0x00, 0x00, 0x00, 0x00,  // VT_I4 0
};

TEST(ZintrixStream, ExtentOf32PixelsIs847At96Dpi)
{
  EXPECT_EQ(zl::PixelsToHimetric(32, 96), 847u);
  EXPECT_EQ(zl::PixelsToHimetric(32, 120), 677u);  // (81280 + 60) / 120
  EXPECT_EQ(zl::PixelsToHimetric(32, 144), 564u);
  EXPECT_EQ(zl::PixelsToHimetric(32, 0), 0u);
}

TEST(ZintrixStream, ProgramInstanceEncodesToTheStoredBytes)
{
  const zl::PersistedProperties props{zl::PixelsToHimetric(32, 96), zl::PixelsToHimetric(32, 96), zl::kTrue, 0};
  EXPECT_EQ(zl::EncodeStream(props), kProgramStream);
}

TEST(ZintrixStream, LoadSaveRoundTrip)
{
  const auto loaded = zl::DecodeStream(kProgramStream);
  ASSERT_TRUE(loaded);
  EXPECT_EQ(loaded->cx, 847u);
  EXPECT_EQ(loaded->cy, 847u);
  EXPECT_EQ(loaded->fastMode, zl::kTrue);
  EXPECT_EQ(loaded->driverInit, 0);
  EXPECT_EQ(zl::EncodeStream(*loaded), kProgramStream);

  const zl::PersistedProperties other{0x01020304, 0xFFFFFFFF, zl::kFalse, 2};
  const auto bytes = zl::EncodeStream(other);
  EXPECT_EQ(bytes[4], 0x04);
  EXPECT_EQ(bytes[7], 0x01);
  EXPECT_EQ(bytes[14], 0x00);
  EXPECT_EQ(bytes[18], 0x02);
  EXPECT_EQ(zl::DecodeStream(bytes), other);
}

TEST(ZintrixStream, RefusesStreamsOfAnotherLayout)
{
  EXPECT_FALSE(zl::DecodeStream(std::span(kProgramStream).first(21)));
  EXPECT_FALSE(zl::DecodeStream({}));

  auto newer = kProgramStream;
  newer[1] = 0x04;  // version 0x400
  EXPECT_FALSE(zl::DecodeStream(newer));
  auto older = kProgramStream;
  older[1] = 0x02;
  EXPECT_TRUE(zl::DecodeStream(older));

  auto wrongBool = kProgramStream;
  wrongBool[12] = 0x02;
  EXPECT_FALSE(zl::DecodeStream(wrongBool));
  auto wrongInt = kProgramStream;
  wrongInt[16] = 0x0B;
  EXPECT_FALSE(zl::DecodeStream(wrongInt));

  // Trailing bytes belong to whatever the container stores next.
  std::vector<std::uint8_t> longer(kProgramStream.begin(), kProgramStream.end());
  longer.push_back(0xAA);
  EXPECT_TRUE(zl::DecodeStream(longer));
}

TEST(ZintrixWriteRequest, WordMinusOneIsSignExtended)
{
  const auto buf = zl::MakeWriteBuffer(0x378, zl::WidenWord(-1));
  EXPECT_EQ(buf, (zl::WriteBuffer{0x78, 0x03, 0x00, 0x00, 0xFF, 0xFF, 0xFF, 0xFF}));
  EXPECT_EQ(zl::MakeWriteBuffer(0x378, zl::WidenWord(0x7FFF)),
            (zl::WriteBuffer{0x78, 0x03, 0x00, 0x00, 0xFF, 0x7F, 0x00, 0x00}));
}

TEST(ZintrixWriteRequest, ByteIsZeroExtended)
{
  EXPECT_EQ(zl::MakeWriteBuffer(0x64, zl::WidenByte(0xFF)),
            (zl::WriteBuffer{0x64, 0x00, 0x00, 0x00, 0xFF, 0x00, 0x00, 0x00}));
  EXPECT_EQ(zl::MakeWriteBuffer(0x64, zl::WidenByte(0xA7)),
            (zl::WriteBuffer{0x64, 0x00, 0x00, 0x00, 0xA7, 0x00, 0x00, 0x00}));
}

TEST(ZintrixWriteRequest, OnlyTheLow16BitsOfAPortCount)
{
  EXPECT_EQ(zl::PortOf(0x12340060), 0x0060);
  EXPECT_EQ(zl::PortOf(-1), 0xFFFF);
  EXPECT_EQ(zl::MakePortBuffer(zl::PortOf(0x10064)), (std::array<std::uint8_t, 2>{0x64, 0x00}));
  EXPECT_EQ(zl::MakeWriteBuffer(zl::PortOf(0x7FFF0378), 0x89ABCDEF),
            (zl::WriteBuffer{0x78, 0x03, 0x00, 0x00, 0xEF, 0xCD, 0xAB, 0x89}));
}

TEST(ZintrixBiosTable, SelectsTheWordOfEachPort)
{
  // COM1 0x3F8, COM2 0x2F8, COM3 none, COM4 0x2E8, LPT1 0x378, LPT2 0x278, LPT3 0x3BC, LPT4 0xBEEF.
  const zl::BiosPortTable table = {0xF8, 0x03, 0xF8, 0x02, 0x00, 0x00, 0xE8, 0x02,
                                   0x78, 0x03, 0x78, 0x02, 0xBC, 0x03, 0xEF, 0xBE};
  using F = zl::PortFamily;
  EXPECT_EQ(zl::BiosPortBase(table, F::Com, 1), 0x3F8);
  EXPECT_EQ(zl::BiosPortBase(table, F::Com, 2), 0x2F8);
  EXPECT_EQ(zl::BiosPortBase(table, F::Com, 3), 0);
  EXPECT_EQ(zl::BiosPortBase(table, F::Com, 4), 0x2E8);
  EXPECT_EQ(zl::BiosPortBase(table, F::Lpt, 1), 0x378);  // the word at byte offset 8
  EXPECT_EQ(zl::BiosPortBase(table, F::Lpt, 2), 0x278);
  EXPECT_EQ(zl::BiosPortBase(table, F::Lpt, 3), 0x3BC);
  EXPECT_EQ(zl::BiosPortBase(table, F::Lpt, 4), static_cast<std::int16_t>(0xBEEF));
}

TEST(ZintrixBiosTable, IdsOutside1To4AreInvalid)
{
  const zl::BiosPortTable table{};
  for (std::int32_t id : {0, 5, -1, 0x10001}) {
    EXPECT_FALSE(zl::BiosPortBase(table, zl::PortFamily::Lpt, id)) << id;
    EXPECT_FALSE(zl::BiosPortBase(table, zl::PortFamily::Com, id)) << id;
  }
}

}  // namespace
