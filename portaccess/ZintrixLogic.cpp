#include "portaccess/ZintrixLogic.h"

#include "portaccess/driver/TamrinIoctl.h"

namespace ZintrixLogic {

namespace {

void Put16(std::uint8_t* at, std::uint16_t v)
{
  at[0] = static_cast<std::uint8_t>(v);
  at[1] = static_cast<std::uint8_t>(v >> 8);
}

void Put32(std::uint8_t* at, std::uint32_t v)
{
  Put16(at, static_cast<std::uint16_t>(v));
  Put16(at + 2, static_cast<std::uint16_t>(v >> 16));
}

std::uint16_t Get16(const std::uint8_t* at)
{
  return static_cast<std::uint16_t>(at[0] | (at[1] << 8));
}

std::uint32_t Get32(const std::uint8_t* at)
{
  return Get16(at) | (static_cast<std::uint32_t>(Get16(at + 2)) << 16);
}

}  // namespace

std::array<std::uint8_t, kStreamSize> EncodeStream(const PersistedProperties& props)
{
  std::array<std::uint8_t, kStreamSize> out{};
  Put32(&out[0], kStreamVersion);
  Put32(&out[4], props.cx);
  Put32(&out[8], props.cy);
  Put16(&out[12], kVtBool);
  Put16(&out[14], static_cast<std::uint16_t>(props.fastMode));
  Put16(&out[16], kVtI4);
  Put32(&out[18], static_cast<std::uint32_t>(props.driverInit));
  return out;
}

std::optional<PersistedProperties> DecodeStream(std::span<const std::uint8_t> bytes)
{
  if (bytes.size() < kStreamSize) {
    return std::nullopt;
  }
  const std::uint8_t* b = bytes.data();
  if (Get32(b) > kStreamVersion || Get16(b + 12) != kVtBool || Get16(b + 16) != kVtI4) {
    return std::nullopt;
  }
  PersistedProperties props;
  props.cx = Get32(b + 4);
  props.cy = Get32(b + 8);
  props.fastMode = static_cast<std::int16_t>(Get16(b + 14));
  props.driverInit = static_cast<std::int32_t>(Get32(b + 18));
  return props;
}

std::uint32_t PixelsToHimetric(int pixels, int dpi)
{
  if (dpi <= 0) {
    return 0;
  }
  const std::int64_t him = (static_cast<std::int64_t>(pixels) * 2540 + dpi / 2) / dpi;
  return static_cast<std::uint32_t>(him);
}

WriteBuffer MakeWriteBuffer(std::uint16_t port, std::uint32_t value)
{
  static_assert(TamrinIoctl::kWriteInputSize == 8);
  WriteBuffer out{};
  Put16(&out[TamrinIoctl::kWritePortOffset], port);
  Put32(&out[TamrinIoctl::kWriteValueOffset], value);
  return out;
}

std::array<std::uint8_t, 2> MakePortBuffer(std::uint16_t port)
{
  std::array<std::uint8_t, 2> out{};
  Put16(out.data(), port);
  return out;
}

std::optional<std::int16_t> BiosPortBase(const BiosPortTable& table, PortFamily family, std::int32_t id)
{
  if (id < 1 || id > 4) {
    return std::nullopt;
  }
  const std::uint32_t first = family == PortFamily::Com ? TamrinIoctl::kBiosComWord : TamrinIoctl::kBiosLptWord;
  const std::size_t offset = 2 * (first + static_cast<std::uint32_t>(id - 1));
  return static_cast<std::int16_t>(Get16(&table[offset]));
}

}  // namespace ZintrixLogic
