// The request handling of the Tamrin kernel driver, free of any platform header: decode a
// device-control request, check its buffers, perform it through the operations the driver
// injects (port instructions, physical memory, the process's I/O permission), and answer
// with the completion status and the byte count.
//
// It is compiled into the freestanding kernel driver as well as natively for the tests and
// the fuzzer, so it uses no exceptions, no RTTI, no heap and no library calls.
#pragma once

#include <stdint.h>

namespace TamrinRequests {

// Completion statuses (NT status values).
inline constexpr uint32_t kStatusSuccess = 0x00000000;
inline constexpr uint32_t kStatusUnsuccessful = 0xC0000001;
inline constexpr uint32_t kStatusNotImplemented = 0xC0000002;
inline constexpr uint32_t kStatusInvalidParameter = 0xC000000D;

// Answer of the fast-mode operation.
enum class FastModeAnswer : uint8_t {
  Done,          // the calling process got (or lost) the whole port range
  NotAvailable,  // this system has no per-process I/O permission map: nothing done
  Failed,        // the system refused to install the map or to assign it
};

// What the driver provides. Every member must be set; `context` is passed back unchanged.
struct Operations {
  void* context;
  uint8_t (*inByte)(void* context, uint16_t port);
  uint16_t (*inWord)(void* context, uint16_t port);
  uint32_t (*inDword)(void* context, uint16_t port);
  void (*outByte)(void* context, uint16_t port, uint8_t value);
  void (*outWord)(void* context, uint16_t port, uint16_t value);
  void (*outDword)(void* context, uint16_t port, uint32_t value);
  // Copies the 16 bytes of physical memory at 0x400 into `table` (16 bytes). Returns false
  // when the memory could not be mapped.
  bool (*readBiosTable)(void* context, uint8_t* table);
  // Opens (true) or closes (false) the port range to the process that sent the request.
  FastModeAnswer (*setFastMode)(void* context, bool open);
};

struct Result {
  uint32_t status;
  uint32_t bytesReturned;
};

// Handles one device-control request. `input` and `output` may be the same memory (the
// system's buffered transfer uses one buffer for both): the whole input is read before any
// output is written. Nothing outside [input, input + inputLength) is read and nothing
// outside [output, output + outputLength) is written; a null buffer counts as empty.
// Buffers shorter than a request's layout and unknown codes are refused with
// kStatusInvalidParameter before anything is done; longer buffers are accepted.
Result HandleRequest(const Operations& ops, uint32_t code, const void* input, uint32_t inputLength,
                     void* output, uint32_t outputLength);

}  // namespace TamrinRequests
