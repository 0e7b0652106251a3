// A reader of LE virtual-device images written for the tests, independently of the linker
// that produces them: it knows the format, not the linker's choices.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace LeImage {

struct Object {
  uint32_t virtualSize, base, flags, pageIndex, pageCount;
};

struct Fixup {
  uint8_t sourceType, targetFlags;
  int16_t sourceOffset;  // within its page; negative on the second page of a straddling one
  uint32_t page;         // 0-based page of the record
  uint8_t object;
  uint32_t target;
};

struct Name {
  std::string text;
  uint16_t ordinal;
};

struct Entry {
  uint16_t ordinal, object;
  uint8_t flags;
  uint32_t offset;
};

struct Image {
  std::vector<uint8_t> file;
  uint32_t le = 0;  // file offset of the LE header
  std::vector<Object> objects;
  std::vector<uint32_t> pageMap;  // data page number (1-based) per logical page
  std::vector<uint8_t> pageTypes;
  std::vector<Name> residentNames;
  std::vector<Entry> entries;
  std::vector<Fixup> fixups;

  uint32_t U32(uint32_t headerOffset) const;
  uint16_t U16(uint32_t headerOffset) const;
  // The bytes of object 1 as stored in the file (fixups not applied).
  std::vector<uint8_t> ObjectBytes() const;
};

// Reads and parses the file; throws std::runtime_error on anything it cannot follow.
Image Read(const std::string& path);

// Places object 1 at `base` and applies its fixups, as the loader does.
std::vector<uint8_t> Load(const Image& image, uint32_t base);

}  // namespace LeImage
