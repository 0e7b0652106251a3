; tm.vxd: the Tamrin port-access virtual device for Windows 9x, loaded dynamically by each
; control instance (which opens it delete-on-close) and driven with DeviceIoControl.
;
; The control passes its requests differently than on NT: the 16-bit port sits at the
; caller's bytes-returned location, a write's value at the start of the input buffer. The
; device never writes the bytes-returned location and answers every request with success;
; a request whose buffers are missing or too short is skipped rather than read or written
; beyond what the caller gave.
;
; One section holds code and data: tools/le-link.py turns it into the single object of the
; LE image and exports TAMRIN_DDB as ordinal 1.

bits 32
section .text progbits alloc exec write align=16

W32_DEVICEIOCONTROL     equ 23h

; DeviceIoControl parameter block handed over in esi.
DIOC_IoControlCode      equ 0Ch
DIOC_InBuffer           equ 10h
DIOC_InSize             equ 14h
DIOC_OutBuffer          equ 18h
DIOC_OutSize            equ 1Ch
DIOC_BytesReturned      equ 20h

FIRST_REQUEST           equ 222040h     ; read byte; the table runs in steps of 4
REQUEST_COUNT           equ 7           ; up to the BIOS table, the NT-only fast mode excluded

BIOS_TABLE_PHYSICAL     equ 400h
BIOS_TABLE_SIZE         equ 16

; VMM service call: int 20h followed by (device id << 16) | service; the system patches it
; into a direct call on first use.
VMM_MapPhysToLinear     equ 0001006Ch

global TAMRIN_DDB
TAMRIN_DDB:
        dd 0                            ; next descriptor (the system links them)
        dw 0400h                        ; DDK version 4.0
        dw 0                            ; no assigned device id
        db 1, 0                         ; device version 1.0
        dw 0                            ; flags
        db 'TAMRIN  '                   ; device name, blank padded to 8
        dd 80000000h                    ; no particular init order
        dd ControlProc
        dd 0, 0, 0, 0                   ; no V86 or protected-mode API
        dd 0                            ; reference data
        dd 0, 0                         ; no service table
        dd 0                            ; no Win32 service table
        dd 50726576h                    ; 'Prev' marker
        dd DDB_SIZE
        dd 52737631h, 52737632h, 52737633h ; 'Rsv1'..'Rsv3'
DDB_SIZE equ $ - TAMRIN_DDB

; Control procedure: eax = system message, esi = parameter block for the device I/O
; control message. Carry clear and eax = 0 report success for every message.
ControlProc:
        cmp eax, W32_DEVICEIOCONTROL
        jne .success
        pushad
        mov ecx, [esi + DIOC_IoControlCode]
        sub ecx, FIRST_REQUEST          ; the open (0) and close (-1) codes fall outside too
        test ecx, 3
        jnz .done
        shr ecx, 2
        cmp ecx, REQUEST_COUNT
        jae .done
        call [RequestTable + ecx * 4]
.done:
        popad
.success:
        xor eax, eax
        clc
        ret

RequestTable:
        dd ReadByte, ReadWord, ReadDword, WriteByte, WriteWord, WriteDword, BiosTable

; In: eax = value width, esi = parameter block. Out: carry clear with dx = port and
; edi = output buffer when both are there and the buffer holds the value.
PortAndOutput:
        mov edi, [esi + DIOC_OutBuffer]
        cmp [esi + DIOC_OutSize], eax
        jmp PortAndBuffer

; As PortAndOutput, for the input buffer.
PortAndInput:
        mov edi, [esi + DIOC_InBuffer]
        cmp [esi + DIOC_InSize], eax
PortAndBuffer:
        jb .refuse
        test edi, edi
        jz .refuse
        mov edx, [esi + DIOC_BytesReturned]
        test edx, edx
        jz .refuse
        mov dx, [edx]
        clc
        ret
.refuse:
        stc
        ret

ReadByte:
        mov eax, 1
        call PortAndOutput
        jc .skip
        in al, dx
        mov [edi], al
.skip:
        ret

ReadWord:
        mov eax, 2
        call PortAndOutput
        jc .skip
        in ax, dx
        mov [edi], ax
.skip:
        ret

ReadDword:
        mov eax, 4
        call PortAndOutput
        jc .skip
        in eax, dx
        mov [edi], eax
.skip:
        ret

WriteByte:
        mov eax, 1
        call PortAndInput
        jc .skip
        mov al, [edi]
        out dx, al
.skip:
        ret

WriteWord:
        mov eax, 2
        call PortAndInput
        jc .skip
        mov ax, [edi]
        out dx, ax
.skip:
        ret

WriteDword:
        mov eax, 4
        call PortAndInput
        jc .skip
        mov eax, [edi]
        out dx, eax
.skip:
        ret

; The BIOS data area's port words, through a linear mapping of the physical memory. A
; failed mapping copies nothing, leaving the caller's (zeroed) buffer as it was.
BiosTable:
        mov edi, [esi + DIOC_OutBuffer]
        test edi, edi
        jz .skip
        cmp dword [esi + DIOC_OutSize], BIOS_TABLE_SIZE
        jb .skip
        push 0                          ; flags
        push BIOS_TABLE_SIZE
        push BIOS_TABLE_PHYSICAL
        int 20h
        dd VMM_MapPhysToLinear
        add esp, 12
        cmp eax, -1
        je .skip
        mov esi, eax
        mov ecx, BIOS_TABLE_SIZE
        cld
        rep movsb
.skip:
        ret
