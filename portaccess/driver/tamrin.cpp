// tamrin.sys: the NT kernel driver of the Tamrin port-access control.
//
// It creates \Device\Tamrin (reachable from user mode as \\.\Tamrin), executes port
// instructions for the control, copies the BIOS port table out of physical memory, and can
// open the whole I/O port range to the calling process (fast mode), so that the control may
// execute port instructions itself.
//
// Decoding and buffer checks live in the portable request core (TamrinRequests); this file
// only supplies what needs the kernel: the port instructions, the physical mapping, the
// process's I/O permission map and the driver objects.
//
// The I/O permission map routines are not part of the documented kernel interface and some
// kernels (and kernel emulations) do not have them, or have them only as stubs. They are
// looked up at load time, never imported, so the driver loads everywhere; without them the
// fast-mode request is refused with STATUS_NOT_IMPLEMENTED (user mode sees
// ERROR_INVALID_FUNCTION) and every other request works as usual.

// In C++ the DDK's own InterlockedBitTestAndSet/Reset clash with the compiler-intrinsic
// versions of <intrin.h>, which the DDK includes itself; let the DDK's stand alone.
#define __INTRINSIC_DEFINED_InterlockedBitTestAndSet
#define __INTRINSIC_DEFINED_InterlockedBitTestAndReset
#include <ntddk.h>

#include "portaccess/driver/TamrinIoctl.h"
#include "portaccess/driver/TamrinRequests.h"

namespace {

// Ke386SetIoAccessMap(map number, 0x2000-byte map) copies a permission map into the
// system's map slot; Ke386IoSetAccessProcess(process, map number) makes the process use
// that slot (0 = none: port instructions fault in user mode again).
typedef BOOLEAN(NTAPI* SetIoAccessMapRoutine)(ULONG mapNumber, PVOID map);
typedef BOOLEAN(NTAPI* IoSetAccessProcessRoutine)(PEPROCESS process, ULONG mapNumber);

struct DriverState {
  PDEVICE_OBJECT device;
  PUCHAR permissionMap;  // kPermissionMapSize bytes, all zero: every port allowed
  SetIoAccessMapRoutine setIoAccessMap;
  IoSetAccessProcessRoutine ioSetAccessProcess;
  bool fastModeAvailable;  // both routines present and the map installed at load
};

DriverState g_driver;

// --- port instructions ----------------------------------------------------------------

uint8_t PortInByte(void*, uint16_t port)
{
  uint8_t value;
  __asm__ __volatile__("inb %w1, %b0" : "=a"(value) : "Nd"(port));
  return value;
}

uint16_t PortInWord(void*, uint16_t port)
{
  uint16_t value;
  __asm__ __volatile__("inw %w1, %w0" : "=a"(value) : "Nd"(port));
  return value;
}

uint32_t PortInDword(void*, uint16_t port)
{
  uint32_t value;
  __asm__ __volatile__("inl %w1, %0" : "=a"(value) : "Nd"(port));
  return value;
}

void PortOutByte(void*, uint16_t port, uint8_t value)
{
  __asm__ __volatile__("outb %b0, %w1" : : "a"(value), "Nd"(port));
}

void PortOutWord(void*, uint16_t port, uint16_t value)
{
  __asm__ __volatile__("outw %w0, %w1" : : "a"(value), "Nd"(port));
}

void PortOutDword(void*, uint16_t port, uint32_t value)
{
  __asm__ __volatile__("outl %0, %w1" : : "a"(value), "Nd"(port));
}

// --- BIOS data area ---------------------------------------------------------------------

bool ReadBiosTable(void*, uint8_t* table)
{
  PHYSICAL_ADDRESS address;
  address.QuadPart = TamrinIoctl::kBiosTablePhysical;
  auto* mapped = static_cast<volatile UCHAR*>(MmMapIoSpace(address, TamrinIoctl::kBiosTableSize, MmCached));
  if (mapped == nullptr) {
    return false;
  }
  for (uint32_t i = 0; i < TamrinIoctl::kBiosTableSize; ++i) {
    table[i] = mapped[i];
  }
  MmUnmapIoSpace(const_cast<UCHAR*>(mapped), TamrinIoctl::kBiosTableSize);
  return true;
}

// --- fast mode --------------------------------------------------------------------------

TamrinRequests::FastModeAnswer SetFastMode(void*, bool open)
{
  using TamrinRequests::FastModeAnswer;
  if (!g_driver.fastModeAvailable) {
    return FastModeAnswer::NotAvailable;
  }
  PEPROCESS process = IoGetCurrentProcess();
  if (open) {
    // Installed again because another driver may have put a map of its own into slot 1.
    if (!g_driver.setIoAccessMap(TamrinIoctl::kPermissionMapNumber, g_driver.permissionMap) ||
        !g_driver.ioSetAccessProcess(process, TamrinIoctl::kPermissionMapNumber)) {
      return FastModeAnswer::Failed;
    }
    return FastModeAnswer::Done;
  }
  return g_driver.ioSetAccessProcess(process, 0) ? FastModeAnswer::Done : FastModeAnswer::Failed;
}

const TamrinRequests::Operations kOperations = {
    nullptr,     PortInByte,    PortInWord,    PortInDword, PortOutByte,
    PortOutWord, PortOutDword,  ReadBiosTable, SetFastMode,
};

// --- dispatch ---------------------------------------------------------------------------

NTSTATUS NTAPI Dispatch(PDEVICE_OBJECT, PIRP irp)
{
  PIO_STACK_LOCATION stack = IoGetCurrentIrpStackLocation(irp);
  NTSTATUS status = STATUS_SUCCESS;
  ULONG_PTR information = 0;
  switch (stack->MajorFunction) {
    case IRP_MJ_CREATE:
    case IRP_MJ_CLOSE:
      break;
    case IRP_MJ_DEVICE_CONTROL: {
      // Buffered transfer: one system buffer holds the input on the way in and the output
      // on the way out; the core reads all input before it writes.
      void* buffer = irp->AssociatedIrp.SystemBuffer;
      const auto result = TamrinRequests::HandleRequest(
          kOperations, stack->Parameters.DeviceIoControl.IoControlCode, buffer,
          stack->Parameters.DeviceIoControl.InputBufferLength, buffer,
          stack->Parameters.DeviceIoControl.OutputBufferLength);
      status = static_cast<NTSTATUS>(result.status);
      information = result.bytesReturned;
      break;
    }
    default:
      status = STATUS_INVALID_DEVICE_REQUEST;
      break;
  }
  irp->IoStatus.Status = status;
  irp->IoStatus.Information = information;
  IoCompleteRequest(irp, IO_NO_INCREMENT);
  return status;
}

// --- load and unload --------------------------------------------------------------------

[[maybe_unused]] PVOID SystemRoutine(PCWSTR name)
{
  UNICODE_STRING routine;
  RtlInitUnicodeString(&routine, name);
  return MmGetSystemRoutineAddress(&routine);
}

void LookUpPermissionRoutines()
{
#if defined(_WIN64)
  // 64-bit Windows has no I/O permission maps: fast mode is never available there, and
  // the control keeps using driver requests.
  g_driver.fastModeAvailable = false;
#else
  g_driver.setIoAccessMap = reinterpret_cast<SetIoAccessMapRoutine>(SystemRoutine(L"Ke386SetIoAccessMap"));
  g_driver.ioSetAccessProcess =
      reinterpret_cast<IoSetAccessProcessRoutine>(SystemRoutine(L"Ke386IoSetAccessProcess"));
  // A system whose routines refuse to install the map cannot give fast mode either.
  g_driver.fastModeAvailable =
      g_driver.setIoAccessMap != nullptr && g_driver.ioSetAccessProcess != nullptr &&
      g_driver.setIoAccessMap(TamrinIoctl::kPermissionMapNumber, g_driver.permissionMap);
#endif
}

void FreePermissionMap()
{
  if (g_driver.permissionMap != nullptr) {
    MmFreeNonCachedMemory(g_driver.permissionMap, TamrinIoctl::kPermissionMapSize);
    g_driver.permissionMap = nullptr;
  }
}

VOID NTAPI Unload(PDRIVER_OBJECT)
{
  FreePermissionMap();
  UNICODE_STRING link;
  RtlInitUnicodeString(&link, TamrinIoctl::kLinkName);
  IoDeleteSymbolicLink(&link);
  if (g_driver.device != nullptr) {
    IoDeleteDevice(g_driver.device);
    g_driver.device = nullptr;
  }
}

}  // namespace

extern "C" NTSTATUS NTAPI DriverEntry(PDRIVER_OBJECT driver, PUNICODE_STRING)
{
  g_driver = DriverState{};

  g_driver.permissionMap = static_cast<PUCHAR>(MmAllocateNonCachedMemory(TamrinIoctl::kPermissionMapSize));
  if (g_driver.permissionMap == nullptr) {
    return STATUS_INSUFFICIENT_RESOURCES;
  }
  for (uint32_t i = 0; i < TamrinIoctl::kPermissionMapSize; ++i) {
    g_driver.permissionMap[i] = 0;
  }
  LookUpPermissionRoutines();

  UNICODE_STRING deviceName;
  RtlInitUnicodeString(&deviceName, TamrinIoctl::kDeviceName);
  NTSTATUS status = IoCreateDevice(driver, 0, &deviceName, TamrinIoctl::kDeviceType, 0, FALSE, &g_driver.device);
  if (!NT_SUCCESS(status)) {
    g_driver.device = nullptr;
    FreePermissionMap();
    return status;
  }

  driver->MajorFunction[IRP_MJ_CREATE] = Dispatch;
  driver->MajorFunction[IRP_MJ_CLOSE] = Dispatch;
  driver->MajorFunction[IRP_MJ_DEVICE_CONTROL] = Dispatch;
  driver->DriverUnload = Unload;

  UNICODE_STRING link;
  RtlInitUnicodeString(&link, TamrinIoctl::kLinkName);
  status = IoCreateSymbolicLink(&link, &deviceName);
  if (!NT_SUCCESS(status)) {
    IoDeleteDevice(g_driver.device);
    g_driver.device = nullptr;
    FreePermissionMap();
    return status;
  }
  return STATUS_SUCCESS;
}
