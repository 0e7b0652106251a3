#pragma once
// The parts of the Zintrix control that are plain data handling: the property stream it
// persists, the buffer of a port write request, the BIOS port table lookup and the extent
// conversion. No platform headers, so the native tests drive them directly.
#include <array>
#include <cstdint>
#include <optional>
#include <span>

namespace ZintrixLogic {

// ---- property stream ------------------------------------------------------------------
// Little-endian, 22 bytes: version, extent (_cx, _cy in HIMETRIC), then FastMode and
// DriverInit, each as variant type + value.
inline constexpr std::uint32_t kStreamVersion = 0x00000300;
inline constexpr std::size_t kStreamSize = 22;
inline constexpr std::uint16_t kVtBool = 0x000B;
inline constexpr std::uint16_t kVtI4 = 0x0003;
inline constexpr std::int16_t kTrue = -1;
inline constexpr std::int16_t kFalse = 0;

struct PersistedProperties {
  std::uint32_t cx = 0;  // HIMETRIC
  std::uint32_t cy = 0;  // HIMETRIC
  std::int16_t fastMode = kTrue;
  std::int32_t driverInit = 0;
  bool operator==(const PersistedProperties&) const = default;
};

std::array<std::uint8_t, kStreamSize> EncodeStream(const PersistedProperties& props);
// Empty when the bytes are not a stream of this layout: too short, a newer version than
// ours, or a variant type other than the property's.
std::optional<PersistedProperties> DecodeStream(std::span<const std::uint8_t> bytes);

// Extent of `pixels` screen pixels in HIMETRIC (1/100 mm) at `dpi` logical pixels per
// inch, rounded: (pixels x 2540 + dpi / 2) / dpi. 32 pixels at 96 dpi give 847.
std::uint32_t PixelsToHimetric(int pixels, int dpi);

// ---- port write request ---------------------------------------------------------------
// 8 bytes: 0-1 the port, 2-3 zero, 4-7 the value as 32 bits, little-endian.
using WriteBuffer = std::array<std::uint8_t, 8>;
WriteBuffer MakeWriteBuffer(std::uint16_t port, std::uint32_t value);
// A byte value travels zero-extended, a word value sign-extended.
constexpr std::uint32_t WidenByte(std::uint8_t value) { return value; }
constexpr std::uint32_t WidenWord(std::int16_t value)
{
  return static_cast<std::uint32_t>(static_cast<std::int32_t>(value));
}
// Only the low 16 bits of a port number reach the hardware.
constexpr std::uint16_t PortOf(std::int32_t port) { return static_cast<std::uint16_t>(port & 0xFFFF); }

// Read request input: the port as 2 little-endian bytes.
std::array<std::uint8_t, 2> MakePortBuffer(std::uint16_t port);

// ---- BIOS port table ------------------------------------------------------------------
// 16 bytes: eight little-endian words COM1-COM4, then LPT1-LPT4.
using BiosPortTable = std::array<std::uint8_t, 16>;
enum class PortFamily { Com, Lpt };
// The base address of port `id` (1-4) of the family; empty for any other id.
std::optional<std::int16_t> BiosPortBase(const BiosPortTable& table, PortFamily family, std::int32_t id);

}  // namespace ZintrixLogic
