#include "portaccess/driver/TamrinRequests.h"

#include "portaccess/driver/TamrinIoctl.h"

namespace TamrinRequests {

namespace {

constexpr Result Refused() { return Result{kStatusInvalidParameter, 0}; }
constexpr Result Completed(uint32_t bytes) { return Result{kStatusSuccess, bytes}; }

// Little-endian fields, assembled byte by byte: the buffers carry no alignment promise.
uint16_t Load16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }

uint32_t Load32(const uint8_t* p)
{
  return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
         (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

void Store(uint8_t* p, uint32_t value, uint32_t width)
{
  for (uint32_t i = 0; i < width; ++i) {
    p[i] = static_cast<uint8_t>(value >> (8 * i));
  }
}

// Width in bytes of a read or write request's value; 0 for the other codes.
uint32_t ReadWidth(uint32_t code)
{
  switch (code) {
    case TamrinIoctl::kReadByte: return 1;
    case TamrinIoctl::kReadWord: return 2;
    case TamrinIoctl::kReadDword: return 4;
    default: return 0;
  }
}

uint32_t WriteWidth(uint32_t code)
{
  switch (code) {
    case TamrinIoctl::kWriteByte: return 1;
    case TamrinIoctl::kWriteWord: return 2;
    case TamrinIoctl::kWriteDword: return 4;
    default: return 0;
  }
}

Result Read(const Operations& ops, uint32_t width, const uint8_t* in, uint32_t inLength, uint8_t* out,
            uint32_t outLength)
{
  if (inLength < TamrinIoctl::kPortInputSize || outLength < width) {
    return Refused();
  }
  const uint16_t port = Load16(in);
  uint32_t value = 0;
  switch (width) {
    case 1: value = ops.inByte(ops.context, port); break;
    case 2: value = ops.inWord(ops.context, port); break;
    default: value = ops.inDword(ops.context, port); break;
  }
  Store(out, value, width);
  return Completed(width);
}

Result Write(const Operations& ops, uint32_t width, const uint8_t* in, uint32_t inLength)
{
  if (inLength < TamrinIoctl::kWriteInputSize) {
    return Refused();
  }
  const uint16_t port = Load16(in + TamrinIoctl::kWritePortOffset);
  const uint8_t* value = in + TamrinIoctl::kWriteValueOffset;
  // Only the bytes of the request's width are read: a byte write looks at byte 4 alone.
  switch (width) {
    case 1: ops.outByte(ops.context, port, value[0]); break;
    case 2: ops.outWord(ops.context, port, Load16(value)); break;
    default: ops.outDword(ops.context, port, Load32(value)); break;
  }
  return Completed(0);
}

Result BiosTable(const Operations& ops, uint8_t* out, uint32_t outLength)
{
  if (outLength < TamrinIoctl::kBiosTableSize) {
    return Refused();
  }
  // Filled through a buffer of our own so that a failed mapping leaves the caller's buffer
  // exactly as it was (the control zeroes it and reads zeros as "no port").
  uint8_t table[TamrinIoctl::kBiosTableSize] = {};
  if (!ops.readBiosTable(ops.context, table)) {
    return Completed(0);
  }
  for (uint32_t i = 0; i < TamrinIoctl::kBiosTableSize; ++i) {
    out[i] = table[i];
  }
  return Completed(TamrinIoctl::kBiosTableSize);
}

Result FastMode(const Operations& ops, const uint8_t* in, uint32_t inLength)
{
  if (inLength < TamrinIoctl::kFastModeInputSize) {
    return Refused();
  }
  const bool open = Load32(in) != 0;
  switch (ops.setFastMode(ops.context, open)) {
    case FastModeAnswer::Done: return Completed(0);
    case FastModeAnswer::NotAvailable: return Result{kStatusNotImplemented, 0};
    default: return Result{kStatusUnsuccessful, 0};
  }
}

}  // namespace

Result HandleRequest(const Operations& ops, uint32_t code, const void* input, uint32_t inputLength,
                     void* output, uint32_t outputLength)
{
  const auto* in = static_cast<const uint8_t*>(input);
  auto* out = static_cast<uint8_t*>(output);
  if (in == nullptr) {
    inputLength = 0;
  }
  if (out == nullptr) {
    outputLength = 0;
  }

  if (const uint32_t width = ReadWidth(code); width != 0) {
    return Read(ops, width, in, inputLength, out, outputLength);
  }
  if (const uint32_t width = WriteWidth(code); width != 0) {
    return Write(ops, width, in, inputLength);
  }
  switch (code) {
    case TamrinIoctl::kBiosPortTable: return BiosTable(ops, out, outputLength);
    case TamrinIoctl::kFastMode: return FastMode(ops, in, inputLength);
    default: return Refused();
  }
}

}  // namespace TamrinRequests
