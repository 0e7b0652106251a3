// trellissim.sys: the simulated USB board of the end-to-end tests (see TrellisSim.h).
// It creates \Device\USBTrellis with the link \DosDevices\USBTrellis, so the program
// reaches it as \\.\USBTrellis, and hands every request to the board simulation.
#define __INTRINSIC_DEFINED_InterlockedBitTestAndSet
#define __INTRINSIC_DEFINED_InterlockedBitTestAndReset
#include <ntddk.h>

#include "TrellisSimCore.h"

namespace {

const wchar_t kDeviceName[] = L"\\Device\\USBTrellis";
const wchar_t kLinkName[] = L"\\DosDevices\\USBTrellis";

struct DriverState {
    PDEVICE_OBJECT device;
    KSPIN_LOCK lock;
    TrellisSim::Board board;
    // A copy of the request's input: buffered requests share one buffer for both ways.
    uint8_t input[sizeof(TrellisSim::Config) > 48 ? sizeof(TrellisSim::Config) : 48];
};

DriverState g_state;

NTSTATUS Complete(PIRP irp, NTSTATUS status, ULONG_PTR information) {
    irp->IoStatus.Status = status;
    irp->IoStatus.Information = information;
    IoCompleteRequest(irp, IO_NO_INCREMENT);
    return status;
}

NTSTATUS DeviceControl(PIRP irp, PIO_STACK_LOCATION stack) {
    const ULONG code = stack->Parameters.DeviceIoControl.IoControlCode;
    const ULONG inLength = stack->Parameters.DeviceIoControl.InputBufferLength;
    const ULONG outLength = stack->Parameters.DeviceIoControl.OutputBufferLength;
    uint8_t* buffer = static_cast<uint8_t*>(irp->AssociatedIrp.SystemBuffer);
    if ((inLength || outLength) && !buffer) return Complete(irp, STATUS_INVALID_PARAMETER, 0);

    KIRQL irql;
    KeAcquireSpinLock(&g_state.lock, &irql);
    const ULONG copied = inLength < sizeof g_state.input ? inLength : sizeof g_state.input;
    TrellisSim::Copy(g_state.input, buffer, copied);
    uint32_t information = 0, delayMs = 0;
    const TrellisSim::Outcome outcome = TrellisSim::Handle(g_state.board, code, g_state.input, inLength, buffer,
                                                           outLength, information, delayMs);
    KeReleaseSpinLock(&g_state.lock, irql);

    if (delayMs) {
        LARGE_INTEGER interval;
        interval.QuadPart = -static_cast<LONGLONG>(delayMs) * 10000;
        KeDelayExecutionThread(KernelMode, FALSE, &interval);
    }
    if (outcome == TrellisSim::Outcome::kRefused) return Complete(irp, STATUS_INVALID_DEVICE_REQUEST, 0);
    return Complete(irp, STATUS_SUCCESS, information);
}

NTSTATUS NTAPI Dispatch(PDEVICE_OBJECT, PIRP irp) {
    PIO_STACK_LOCATION stack = IoGetCurrentIrpStackLocation(irp);
    switch (stack->MajorFunction) {
    case IRP_MJ_CREATE:
    case IRP_MJ_CLOSE:
        return Complete(irp, STATUS_SUCCESS, 0);
    case IRP_MJ_DEVICE_CONTROL:
        return DeviceControl(irp, stack);
    default:
        return Complete(irp, STATUS_INVALID_DEVICE_REQUEST, 0);
    }
}

void NTAPI Unload(PDRIVER_OBJECT) {
    UNICODE_STRING link;
    RtlInitUnicodeString(&link, kLinkName);
    IoDeleteSymbolicLink(&link);
    if (g_state.device) IoDeleteDevice(g_state.device);
    g_state.device = nullptr;
}

}  // namespace

extern "C" NTSTATUS NTAPI DriverEntry(PDRIVER_OBJECT driver, PUNICODE_STRING) {
    KeInitializeSpinLock(&g_state.lock);
    TrellisSim::Reset(g_state.board);

    UNICODE_STRING deviceName;
    RtlInitUnicodeString(&deviceName, kDeviceName);
    NTSTATUS status = IoCreateDevice(driver, 0, &deviceName, FILE_DEVICE_UNKNOWN, 0, FALSE, &g_state.device);
    if (!NT_SUCCESS(status)) return status;

    UNICODE_STRING link;
    RtlInitUnicodeString(&link, kLinkName);
    status = IoCreateSymbolicLink(&link, &deviceName);
    if (!NT_SUCCESS(status)) {
        IoDeleteDevice(g_state.device);
        g_state.device = nullptr;
        return status;
    }
    driver->MajorFunction[IRP_MJ_CREATE] = Dispatch;
    driver->MajorFunction[IRP_MJ_CLOSE] = Dispatch;
    driver->MajorFunction[IRP_MJ_DEVICE_CONTROL] = Dispatch;
    driver->DriverUnload = Unload;
    return STATUS_SUCCESS;
}
