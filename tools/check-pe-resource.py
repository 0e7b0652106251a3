#!/usr/bin/env python3
"""Checks that a PE file carries a resource whose bytes are exactly those of a given file.

usage: check-pe-resource.py PE_FILE TYPE ID EXPECTED_FILE
TYPE is a resource type name ("BINARY") or a number; ID is the resource's number.
"""
import struct
import sys


class PeError(Exception):
    pass


def sections(pe):
    if pe[:2] != b"MZ":
        raise PeError("no MZ header")
    nt = struct.unpack_from("<I", pe, 0x3C)[0]
    if pe[nt:nt + 4] != b"PE\0\0":
        raise PeError("no PE header")
    count, opt_size = struct.unpack_from("<H12xH", pe, nt + 6)
    opt = nt + 24
    magic = struct.unpack_from("<H", pe, opt)[0]
    dirs = opt + (96 if magic == 0x10B else 112)
    res_rva, res_size = struct.unpack_from("<II", pe, dirs + 2 * 8)
    table = opt + opt_size
    secs = [struct.unpack_from("<8xIIII", pe, table + 40 * i) for i in range(count)]
    return res_rva, res_size, secs  # each: virtual size, rva, raw size, raw offset


def at_rva(secs, rva):
    for vsize, start, raw_size, raw in secs:
        if start <= rva < start + max(vsize, raw_size):
            return raw + rva - start
    raise PeError(f"RVA {rva:#x} lies in no section")


def entries(pe, base, offset):
    named, ids = struct.unpack_from("<12xHH", pe, base + offset)
    for i in range(named + ids):
        name, target = struct.unpack_from("<II", pe, base + offset + 16 + 8 * i)
        if name & 0x80000000:
            at = base + (name & 0x7FFFFFFF)
            length = struct.unpack_from("<H", pe, at)[0]
            key = pe[at + 2:at + 2 + 2 * length].decode("utf-16-le")
        else:
            key = name
        yield key, target


def find(pe, res_type, res_id):
    res_rva, res_size, secs = sections(pe)
    if not res_size:
        raise PeError("no resources")
    base = at_rva(secs, res_rva)
    level = 0
    for want in (res_type, res_id, None):  # type, name, first language
        match = [t for k, t in entries(pe, base, level) if want is None or k == want]
        if not match:
            raise PeError(f"no resource {res_type!r} {res_id!r}")
        target = match[0]
        if want is not None and not target & 0x80000000:
            raise PeError("resource directory ends early")
        level = target & 0x7FFFFFFF
    rva, size = struct.unpack_from("<II", pe, base + level)
    start = at_rva(secs, rva)
    return pe[start:start + size]


def main(argv):
    if len(argv) != 5:
        sys.exit(__doc__.strip().splitlines()[-2])
    res_type = int(argv[2]) if argv[2].isdigit() else argv[2].upper()
    with open(argv[1], "rb") as f:
        pe = f.read()
    with open(argv[4], "rb") as f:
        expected = f.read()
    try:
        data = find(pe, res_type, int(argv[3]))
    except (PeError, struct.error) as e:
        sys.exit(f"{argv[1]}: {e}")
    if data != expected:
        sys.exit(f"{argv[1]}: resource {argv[2]} {argv[3]} ({len(data)} bytes) differs from {argv[4]} "
                 f"({len(expected)} bytes)")
    print(f"{argv[1]}: resource {argv[2]} {argv[3]} is {argv[4]} ({len(data)} bytes)")


if __name__ == "__main__":
    main(sys.argv)
