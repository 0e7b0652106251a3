#!/usr/bin/env python3
"""Links a 32-bit ELF relocatable object into an LE image of a dynamically loadable
Windows 9x virtual device.

Only the simple case the Tamrin device needs is handled, and anything else is refused:
one allocated section holding code and data, R_386_32 relocations against symbols of that
section, and one exported symbol (the device descriptor, ordinal 1). The section becomes
the one object of the image; every relocation becomes an internal 32-bit offset fixup.

usage: le-link.py INPUT.o OUTPUT.vxd MODULE_NAME EXPORT_SYMBOL
"""
import struct
import sys

PAGE = 4096
LE_OFFSET = 0x80        # the LE header follows the DOS stub at this file offset
LE_HEADER_SIZE = 0xC4   # the LE header with the virtual-device fields at its end
DYNAMIC_VXD = 0x00038000
CPU_386, OS_WIN386 = 2, 4
DDK_VERSION = 0x0400
# Object flags: readable, writable, executable, preloaded, 32-bit.
OBJECT_FLAGS = 0x0001 | 0x0002 | 0x0004 | 0x0040 | 0x2000
ENTRY_32BIT, ENTRY_EXPORTED_SHARED = 3, 3
FIXUP_SOURCE_OFFSET32 = 0x07
FIXUP_TARGET_INTERNAL_OFF32 = 0x10

SHT_PROGBITS, SHT_SYMTAB, SHT_RELA, SHT_REL, SHT_NOBITS = 1, 2, 4, 9, 8
SHF_ALLOC = 0x2
R_386_32 = 1
STB_GLOBAL = 1


class LinkError(Exception):
    pass


def c_string(blob, offset):
    return blob[offset:blob.index(b"\0", offset)].decode("ascii")


def read_object(blob):
    """Returns (section bytes, [(offset, target offset)], {global name: value})."""
    if blob[:4] != b"\x7fELF" or blob[4] != 1 or blob[5] != 1:
        raise LinkError("not a little-endian 32-bit ELF file")
    e_type, e_machine = struct.unpack_from("<HH", blob, 16)
    if e_type != 1 or e_machine != 3:
        raise LinkError("not an i386 relocatable object")
    shoff, = struct.unpack_from("<I", blob, 32)
    shentsize, shnum, shstrndx = struct.unpack_from("<HHH", blob, 46)
    sections = [struct.unpack_from("<IIIIIIIIII", blob, shoff + i * shentsize) for i in range(shnum)]
    names = sections[shstrndx]
    name_of = lambda s: c_string(blob, names[4] + s[0])

    allocated = [i for i, s in enumerate(sections) if s[2] & SHF_ALLOC and s[5] > 0]
    if len(allocated) != 1 or sections[allocated[0]][1] != SHT_PROGBITS:
        raise LinkError("expected exactly one allocated section with contents, found %s"
                        % [name_of(sections[i]) for i in allocated])
    text_index = allocated[0]
    text = sections[text_index]
    code = bytearray(blob[text[4]:text[4] + text[5]])

    symtabs = [s for s in sections if s[1] == SHT_SYMTAB]
    if len(symtabs) != 1:
        raise LinkError("expected one symbol table")
    symtab = symtabs[0]
    strtab = sections[symtab[6]]
    symbols = [struct.unpack_from("<IIIBBH", blob, symtab[4] + i * 16) for i in range(symtab[5] // 16)]
    sym_name = lambda sym: c_string(blob, strtab[4] + sym[0])
    exports = {sym_name(s): s[1] for s in symbols if s[3] >> 4 == STB_GLOBAL and s[5] == text_index}

    relocations = []
    for s in sections:
        if s[1] == SHT_RELA:
            raise LinkError("RELA relocations are not handled")
        if s[1] != SHT_REL:
            continue
        if s[7] != text_index:
            raise LinkError("relocations for a section other than %s" % name_of(text))
        for i in range(s[5] // 8):
            offset, info = struct.unpack_from("<II", blob, s[4] + i * 8)
            sym = symbols[info >> 8]
            if info & 0xFF != R_386_32:
                raise LinkError("relocation type %d at 0x%x is not handled" % (info & 0xFF, offset))
            if sym[5] != text_index:
                raise LinkError("relocation at 0x%x refers outside the section (%s)" % (offset, sym_name(sym)))
            if offset + 4 > len(code):
                raise LinkError("relocation at 0x%x lies outside the section" % offset)
            addend, = struct.unpack_from("<I", code, offset)
            target = (sym[1] + addend) & 0xFFFFFFFF
            if target > len(code):
                raise LinkError("relocation at 0x%x points outside the section" % offset)
            # The loader writes the placed address; keep the object-relative one meanwhile.
            struct.pack_into("<I", code, offset, target)
            relocations.append((offset, target))
    return bytes(code), sorted(relocations), exports


def dos_stub():
    """A DOS program that says what this file is and exits; e_lfanew points to the LE header."""
    code = bytes([0x0E, 0x1F, 0xBA, 0x0E, 0x00, 0xB4, 0x09, 0xCD, 0x21, 0xB8, 0x01, 0x4C, 0xCD, 0x21])
    code += b"This is a Windows virtual device.\r\n$"
    header = bytearray(0x40)
    struct.pack_into("<2sHHHHHHHHHHHH", header, 0, b"MZ", LE_OFFSET % 512, 1, 0, 4, 0, 0xFFFF,
                     0, 0xB8, 0, 0, 0, 0x40)
    struct.pack_into("<I", header, 0x3C, LE_OFFSET)
    stub = bytes(header) + code
    if len(stub) > LE_OFFSET:
        raise LinkError("DOS stub too long")
    return stub.ljust(LE_OFFSET, b"\0")


def name_entry(name, ordinal):
    raw = name.encode("ascii")
    if not 0 < len(raw) < 128:
        raise LinkError("bad name %r" % name)
    return bytes([len(raw)]) + raw + struct.pack("<H", ordinal)


def fixup_records(relocations, pages):
    """Per page the records of every 32-bit fixup that touches it (a fixup that straddles a
    page boundary appears on both pages, with a negative offset on the second)."""
    page_table, records = [], bytearray()
    for page in range(pages):
        page_table.append(len(records))
        start = page * PAGE
        for offset, target in relocations:
            if offset < start + PAGE and offset + 4 > start:
                records += struct.pack("<BBhBI", FIXUP_SOURCE_OFFSET32, FIXUP_TARGET_INTERNAL_OFF32,
                                       offset - start, 1, target)
    page_table.append(len(records))
    return b"".join(struct.pack("<I", o) for o in page_table), bytes(records)


def link(code, relocations, exports, module, export):
    if export not in exports:
        raise LinkError("export %s is not a global symbol of the section" % export)
    pages = (len(code) + PAGE - 1) // PAGE
    # Loader section: object table, page map, resident names, entry table.
    object_table = struct.pack("<IIIIII", len(code), 0, OBJECT_FLAGS, 1, pages, 0)
    page_map = b"".join(struct.pack(">I", n + 1)[1:] + b"\0" for n in range(pages))
    resident = name_entry(module, 0) + name_entry(export, 1) + b"\0"
    entries = struct.pack("<BBHBI", 1, ENTRY_32BIT, 1, ENTRY_EXPORTED_SHARED, exports[export]) + b"\0"
    fixup_pages, fixups = fixup_records(relocations, pages)

    at = LE_HEADER_SIZE
    offsets = {}
    for key, part in (("objects", object_table), ("map", page_map), ("resident", resident),
                      ("entries", entries), ("fixup_pages", fixup_pages), ("fixups", fixups)):
        offsets[key] = at
        at += len(part)
    loader_size = offsets["fixup_pages"] - offsets["objects"]
    fixup_size = at - offsets["fixup_pages"]
    data_pages = (LE_OFFSET + at + 15) & ~15
    last_page = len(code) - (pages - 1) * PAGE

    header = bytearray(LE_HEADER_SIZE)
    struct.pack_into("<2sBBIHHII", header, 0, b"LE", 0, 0, 0, CPU_386, OS_WIN386, 0, DYNAMIC_VXD)
    struct.pack_into("<I", header, 0x14, pages)
    struct.pack_into("<II", header, 0x28, PAGE, last_page)
    struct.pack_into("<I", header, 0x30, fixup_size)
    struct.pack_into("<I", header, 0x38, loader_size)
    struct.pack_into("<II", header, 0x40, offsets["objects"], 1)
    struct.pack_into("<I", header, 0x48, offsets["map"])
    struct.pack_into("<I", header, 0x50, offsets["resident"])       # no resources
    struct.pack_into("<II", header, 0x58, offsets["resident"], offsets["entries"])
    struct.pack_into("<I", header, 0x60, offsets["fixup_pages"])    # no directives
    struct.pack_into("<II", header, 0x68, offsets["fixup_pages"], offsets["fixups"])
    struct.pack_into("<I", header, 0x70, at)                        # no imports
    struct.pack_into("<I", header, 0x78, at)
    struct.pack_into("<II", header, 0x80, data_pages, pages)        # all pages preloaded
    struct.pack_into("<H", header, 0xC2, DDK_VERSION)

    image = dos_stub() + bytes(header) + object_table + page_map + resident + entries + fixup_pages + fixups
    image = image.ljust(data_pages, b"\0")
    return image + code


def main(argv):
    if len(argv) != 5:
        sys.exit(__doc__.strip().splitlines()[-1])
    try:
        with open(argv[1], "rb") as f:
            code, relocations, exports = read_object(f.read())
        image = link(code, relocations, exports, argv[3], argv[4])
    except (LinkError, struct.error, ValueError, IndexError) as e:
        sys.exit("le-link: %s: %s" % (argv[1], e))
    with open(argv[2], "wb") as f:
        f.write(image)


if __name__ == "__main__":
    main(sys.argv)
