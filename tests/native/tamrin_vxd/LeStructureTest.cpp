// The built tm.vxd read back with the tests' own LE reader.
#include <gtest/gtest.h>

#include <cstring>

#include "LeImage.h"

namespace {

constexpr uint32_t kDdbSize = 0x50;
constexpr uint32_t kDdbControlProc = 0x18;

const LeImage::Image& Vxd()
{
  static const LeImage::Image image = LeImage::Read(TAMRIN_VXD_FILE);
  return image;
}

TEST(TamrinVxdStructure, HeaderDescribesADynamicVirtualDevice)
{
  const LeImage::Image& im = Vxd();
  ASSERT_EQ(im.objects.size(), 1u);
  const LeImage::Object& o = im.objects[0];
  const uint32_t pages = (o.virtualSize + 4095) / 4096;
  struct Field {
    uint32_t offset, size, expected;
  };
  const Field fields[] = {
      {0x02, 2, 0},                                    // little-endian bytes and words
      {0x04, 4, 0},       {0x08, 2, 2},  {0x0A, 2, 4}, // format level, 386, Windows 386
      {0x10, 4, 0x38000},                              // dynamically loadable virtual device
      {0x14, 4, pages},   {0x28, 4, 4096},
      {0x2C, 4, o.virtualSize - (pages - 1) * 4096},   // bytes on the last page
      {0x44, 4, 1},       {0x54, 4, 0},  {0x64, 4, 0}, // objects, resources, directives
      {0x74, 4, 0},       {0x84, 4, pages},            // imports, preloaded pages
      {0xC2, 2, 0x400},                                // DDK version
  };
  for (const Field& f : fields) {
    EXPECT_EQ(f.size == 4 ? im.U32(f.offset) : im.U16(f.offset), f.expected) << "field 0x" << std::hex << f.offset;
  }
  // Loader section: object table to the fixup page table; fixup section: to the imports.
  EXPECT_EQ(im.U32(0x38), im.U32(0x68) - im.U32(0x40));
  EXPECT_EQ(im.U32(0x30), im.U32(0x70) - im.U32(0x68));
  EXPECT_EQ(im.U32(0x80) + o.virtualSize, im.file.size());

  EXPECT_EQ(o.flags, 0x2047u);  // readable, writable, executable, preloaded, 32-bit
  EXPECT_EQ(o.pageIndex, 1u);
  EXPECT_EQ(o.pageCount, pages);
  for (uint32_t p = 0; p < pages; ++p) {
    EXPECT_EQ(im.pageMap[p], p + 1);
    EXPECT_EQ(im.pageTypes[p], 0);
  }
}

TEST(TamrinVxdStructure, ExportsTheDescriptorAsOrdinalOne)
{
  const LeImage::Image& im = Vxd();
  ASSERT_EQ(im.residentNames.size(), 2u);
  EXPECT_EQ(im.residentNames[0].text, "TAMRIN");
  EXPECT_EQ(im.residentNames[0].ordinal, 0);
  EXPECT_EQ(im.residentNames[1].text, "TAMRIN_DDB");
  EXPECT_EQ(im.residentNames[1].ordinal, 1);
  ASSERT_EQ(im.entries.size(), 1u);
  const LeImage::Entry& e = im.entries[0];
  EXPECT_EQ(e.ordinal, 1);
  EXPECT_EQ(e.object, 1);
  EXPECT_EQ(e.flags & 1, 1);  // exported
  ASSERT_LE(e.offset + kDdbSize, im.objects[0].virtualSize);

  const std::vector<uint8_t> ddb = im.ObjectBytes();
  const auto u32 = [&](uint32_t at) {
    uint32_t v;
    std::memcpy(&v, &ddb[e.offset + at], 4);
    return v;
  };
  EXPECT_EQ(std::string(ddb.begin() + e.offset + 0x0C, ddb.begin() + e.offset + 0x14), "TAMRIN  ");
  EXPECT_EQ(ddb[e.offset + 4] | ddb[e.offset + 5] << 8, 0x400);
  // The loader takes the device id from the header, the system from the descriptor.
  EXPECT_EQ(im.U16(0xC0), ddb[e.offset + 6] | ddb[e.offset + 7] << 8);
  EXPECT_EQ(u32(0x14), 0x80000000u);  // undefined init order
  EXPECT_EQ(u32(0x40), kDdbSize);
  EXPECT_EQ(u32(0x3C), 0x50726576u);  // 'Prev'
  // The control procedure is reached through a fixup, inside the object, past the block.
  int procFixups = 0;
  for (const LeImage::Fixup& f : im.fixups) {
    if (f.page * 4096 + f.sourceOffset == int64_t(e.offset + kDdbControlProc)) {
      ++procFixups;
      EXPECT_GE(f.target, e.offset + kDdbSize);
      EXPECT_LT(f.target, im.objects[0].virtualSize);
      EXPECT_EQ(f.target, u32(kDdbControlProc));
    }
  }
  EXPECT_EQ(procFixups, 1);
}

TEST(TamrinVxdStructure, EveryFixupLandsInsideTheObject)
{
  const LeImage::Image& im = Vxd();
  ASSERT_FALSE(im.fixups.empty());
  for (const LeImage::Fixup& f : im.fixups) {
    const int64_t source = int64_t(f.page) * 4096 + f.sourceOffset;
    EXPECT_EQ(f.object, 1);
    EXPECT_GE(source, 0);
    EXPECT_LE(source + 4, int64_t(im.objects[0].virtualSize));
    EXPECT_LE(f.target, im.objects[0].virtualSize);
  }
}

}  // namespace
