#!/usr/bin/env python3
"""Draws the small pictures of tamrin.ocx and writes them in the Windows file formats.

    tamrin-art.py OUTDIR   -> OUTDIR/tamrin.ico  (32x32 and 16x16, 16 colours)
                              OUTDIR/hand.cur    (32x32 monochrome pointing hand)
                              OUTDIR/toolbox.bmp (16x16, 16 colours)

The icon shows a D-shaped port connector with two rows of pins; the cursor is a hand with
the index finger raised, hot spot at its tip. Everything is drawn from the geometry and
the pattern below, so the build needs no picture files.
"""
import os
import struct
import sys

# The 16 standard colours, in their usual palette order, as (red, green, blue).
PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
BLACK, NAVY, SILVER, GREY, YELLOW, WHITE = 0, 4, 7, 8, 11, 15


def trapezoid(x, y, top, bottom, top_left, top_right, bottom_left, bottom_right):
    """Whether (x, y) lies in the trapezoid whose edges run from the top to the bottom row."""
    if y < top or y > bottom:
        return False
    t = (y - top) / max(1, bottom - top)
    left = top_left + (bottom_left - top_left) * t
    right = top_right + (bottom_right - top_right) * t
    return left - 0.5 <= x <= right + 0.5


def connector(size):
    """Rows of palette indices (None = transparent) of the connector icon."""
    if size == 32:
        top, bottom, tl, tr, bl, br = 8, 23, 1, 30, 5, 26
        pin_rows = [(12, [6, 9, 12, 15, 18, 21, 24]), (18, [8, 11, 14, 17, 20, 23])]
        pin = 2
    else:
        top, bottom, tl, tr, bl, br = 4, 11, 0, 15, 2, 13
        pin_rows = [(6, [4, 6, 8, 10]), (9, [5, 7, 9])]
        pin = 1
    pins = {(x + dx, y + dy) for y, xs in pin_rows for x in xs for dx in range(pin) for dy in range(pin)}
    rows = []
    for y in range(size):
        row = []
        for x in range(size):
            if not trapezoid(x, y, top, bottom, tl, tr, bl, br):
                row.append(None)
            elif not trapezoid(x, y, top + 1, bottom - 1, tl + 1, tr - 1, bl + 1, br - 1):
                row.append(BLACK)
            elif (x, y) in pins:
                row.append(YELLOW)
            elif trapezoid(x, y, top + 2, bottom - 2, tl + 3, tr - 3, bl + 2, br - 2):
                row.append(NAVY)
            else:
                row.append(SILVER)
        rows.append(row)
    return rows


# The hand: 'X' black, '.' white, anything else transparent. Hot spot: the fingertip.
HAND = [
    "     XX          ",
    "    X..X         ",
    "    X..X         ",
    "    X..X         ",
    "    X..X         ",
    "    X..XXX       ",
    "    X..X..XXX    ",
    "    X..X..X..XX  ",
    "    X..X..X..X.X ",
    "XXX X..X..X..X..X",
    "X..XX...........X",
    "X...X...........X",
    " X..............X",
    "  X.............X",
    "  X.............X",
    "   X...........X ",
    "   X...........X ",
    "    X.........X  ",
    "    X.........X  ",
    "    XXXXXXXXXXX  ",
]
HAND_HOTSPOT = (5, 0)


def row_bytes(bits_per_pixel, width):
    return ((width * bits_per_pixel + 31) // 32) * 4


def pack_rows(rows, bits_per_pixel, value):
    """Bottom-up rows, each padded to 4 bytes; value(pixel) gives the pixel's bits."""
    out = bytearray()
    width = len(rows[0])
    for row in reversed(rows):
        acc, nbits, line = 0, 0, bytearray()
        for px in row:
            acc = (acc << bits_per_pixel) | value(px)
            nbits += bits_per_pixel
            if nbits == 8:
                line.append(acc)
                acc, nbits = 0, 0
        if nbits:
            line.append(acc << (8 - nbits))
        line.extend(b"\0" * (row_bytes(bits_per_pixel, width) - len(line)))
        out += line
    return bytes(out)


def info_header(width, height, bits_per_pixel, image_size):
    return struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits_per_pixel, 0, image_size, 0, 0, 0, 0)


def palette_bytes(colors):
    return b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in colors)


def icon_image(rows):
    """The 16-colour image of an icon entry: header, palette, colour bits, mask."""
    size = len(rows)
    xor = pack_rows(rows, 4, lambda px: 0 if px is None else px)
    mask = pack_rows(rows, 1, lambda px: 1 if px is None else 0)
    return info_header(size, 2 * size, 4, len(xor) + len(mask)) + palette_bytes(PALETTE) + xor + mask


def write_icon(path, images):
    header = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    entries, data = b"", b""
    for rows in images:
        img = icon_image(rows)
        size = len(rows)
        entries += struct.pack("<BBBBHHII", size, size, 16, 0, 1, 4, len(img), offset + len(data))
        data += img
    with open(path, "wb") as f:
        f.write(header + entries + data)


def write_cursor(path):
    rows = [[None] * 32 for _ in range(32)]
    for y, line in enumerate(HAND):
        for x, ch in enumerate(line):
            rows[y][x] = {"X": "black", ".": "white"}.get(ch)
    # Colour bits: 1 = white; mask: 1 = transparent (with colour 0).
    xor = pack_rows(rows, 1, lambda px: 1 if px == "white" else 0)
    mask = pack_rows(rows, 1, lambda px: 1 if px is None else 0)
    img = info_header(32, 64, 1, len(xor) + len(mask)) + palette_bytes([(0, 0, 0), (255, 255, 255)]) + xor + mask
    header = struct.pack("<HHH", 0, 2, 1)
    entry = struct.pack("<BBBBHHII", 32, 32, 2, 0, HAND_HOTSPOT[0], HAND_HOTSPOT[1], len(img), 6 + 16)
    with open(path, "wb") as f:
        f.write(header + entry + img)


def write_bitmap(path):
    rows = [[SILVER if px is None else px for px in row] for row in connector(16)]
    bits = pack_rows(rows, 4, lambda px: px)
    offset = 14 + 40 + 16 * 4
    file_header = struct.pack("<2sIHHI", b"BM", offset + len(bits), 0, 0, offset)
    with open(path, "wb") as f:
        f.write(file_header + info_header(16, 16, 4, len(bits)) + palette_bytes(PALETTE) + bits)


def main():
    if len(sys.argv) != 2:
        sys.exit("usage: tamrin-art.py OUTDIR")
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    write_icon(os.path.join(out, "tamrin.ico"), [connector(32), connector(16)])
    write_cursor(os.path.join(out, "hand.cur"))
    write_bitmap(os.path.join(out, "toolbox.bmp"))


if __name__ == "__main__":
    main()
