#include "LeImage.h"

#include <fstream>
#include <iterator>
#include <stdexcept>

namespace LeImage {
namespace {

constexpr uint32_t kPage = 4096;

uint32_t Get(const std::vector<uint8_t>& b, size_t at, int size)
{
  if (at + size > b.size()) {
    throw std::runtime_error("read beyond the end of the file");
  }
  uint32_t v = 0;
  for (int i = size - 1; i >= 0; --i) {
    v = (v << 8) | b[at + i];
  }
  return v;
}

}  // namespace

uint32_t Image::U32(uint32_t headerOffset) const { return Get(file, le + headerOffset, 4); }
uint16_t Image::U16(uint32_t headerOffset) const { return static_cast<uint16_t>(Get(file, le + headerOffset, 2)); }

std::vector<uint8_t> Image::ObjectBytes() const
{
  const Object& o = objects.at(0);
  std::vector<uint8_t> bytes;
  for (uint32_t p = 0; p < o.pageCount; ++p) {
    const size_t at = U32(0x80) + size_t(pageMap.at(o.pageIndex - 1 + p) - 1) * kPage;
    const size_t size = p + 1 == U32(0x14) ? U32(0x2C) : kPage;
    Get(file, at + size - 1, 1);
    bytes.insert(bytes.end(), file.begin() + at, file.begin() + at + size);
  }
  bytes.resize(o.virtualSize, 0);
  return bytes;
}

Image Read(const std::string& path)
{
  Image im;
  std::ifstream in(path, std::ios::binary);
  im.file.assign(std::istreambuf_iterator<char>(in), {});
  if (Get(im.file, 0, 2) != 0x5A4D) {
    throw std::runtime_error("no MZ stub");
  }
  im.le = Get(im.file, 0x3C, 4);
  if (im.U16(0) != 0x454C) {
    throw std::runtime_error("no LE header");
  }
  const auto at = [&](uint32_t field) { return im.le + im.U32(field); };
  for (uint32_t i = 0; i < im.U32(0x44); ++i) {
    const size_t o = at(0x40) + i * 24;
    im.objects.push_back({Get(im.file, o, 4), Get(im.file, o + 4, 4), Get(im.file, o + 8, 4),
                          Get(im.file, o + 12, 4), Get(im.file, o + 16, 4)});
  }
  for (uint32_t p = 0; p < im.U32(0x14); ++p) {
    const size_t o = at(0x48) + p * 4;  // 24-bit page number, high byte first, then its type
    im.pageMap.push_back((Get(im.file, o, 1) << 16) | (Get(im.file, o + 1, 1) << 8) | Get(im.file, o + 2, 1));
    im.pageTypes.push_back(static_cast<uint8_t>(Get(im.file, o + 3, 1)));
  }
  for (size_t o = at(0x58); Get(im.file, o, 1) != 0;) {
    const uint32_t len = Get(im.file, o, 1);
    Get(im.file, o + len + 2, 1);
    im.residentNames.push_back({std::string(im.file.begin() + o + 1, im.file.begin() + o + 1 + len),
                                static_cast<uint16_t>(Get(im.file, o + 1 + len, 2))});
    o += 3 + len;
  }
  uint16_t ordinal = 1;
  for (size_t o = at(0x5C); Get(im.file, o, 1) != 0;) {
    const uint32_t count = Get(im.file, o, 1), type = Get(im.file, o + 1, 1);
    if (type == 0) {
      ordinal += count;
      o += 2;
      continue;
    }
    if (type != 3) {
      throw std::runtime_error("entry bundle type other than 32-bit");
    }
    const uint16_t object = static_cast<uint16_t>(Get(im.file, o + 2, 2));
    o += 4;
    for (uint32_t i = 0; i < count; ++i, o += 5) {
      im.entries.push_back({ordinal++, object, static_cast<uint8_t>(Get(im.file, o, 1)), Get(im.file, o + 1, 4)});
    }
  }
  for (uint32_t p = 0; p < im.U32(0x14); ++p) {
    const size_t begin = Get(im.file, at(0x68) + p * 4, 4), end = Get(im.file, at(0x68) + p * 4 + 4, 4);
    for (size_t o = at(0x6C) + begin; o < at(0x6C) + end;) {
      Fixup f{};
      f.sourceType = static_cast<uint8_t>(Get(im.file, o, 1));
      f.targetFlags = static_cast<uint8_t>(Get(im.file, o + 1, 1));
      if (f.sourceType != 0x07 || (f.targetFlags & ~0x10) != 0) {
        throw std::runtime_error("fixup other than an internal 32-bit offset");
      }
      f.sourceOffset = static_cast<int16_t>(Get(im.file, o + 2, 2));
      f.page = p;
      f.object = static_cast<uint8_t>(Get(im.file, o + 4, 1));
      const bool wide = f.targetFlags & 0x10;
      f.target = Get(im.file, o + 5, wide ? 4 : 2);
      im.fixups.push_back(f);
      o += wide ? 9 : 7;
    }
  }
  return im;
}

std::vector<uint8_t> Load(const Image& image, uint32_t base)
{
  std::vector<uint8_t> mem = image.ObjectBytes();
  for (const Fixup& f : image.fixups) {
    const uint32_t value = base + f.target;
    for (int i = 0; i < 4; ++i) {
      const int64_t at = int64_t(f.page) * kPage + f.sourceOffset + i;
      // A straddling fixup is listed on both pages; each writes the bytes of its page.
      if (at >= int64_t(f.page) * kPage && at < int64_t(f.page + 1) * kPage && at < int64_t(mem.size())) {
        mem[at] = static_cast<uint8_t>(value >> (8 * i));
      }
    }
  }
  return mem;
}

}  // namespace LeImage
