#!/usr/bin/env python3
"""Draw the Tarvolen program icon and write it as tarvolen.ico.

The icon holds two 16-colour (4 bits per pixel) images, 32x32 and 16x16.
It shows a sheet of paper with a folded corner and a red arrow heading
out of it towards the lower right. Everything outside the picture is
transparent through the AND mask.

Usage: make_icon.py [OUTPUT]   (default: tarvolen.ico next to this script)
"""
import os
import struct
import sys

# The standard 16-colour Windows palette, as (red, green, blue).
PALETTE = [
    (0x00, 0x00, 0x00), (0x80, 0x00, 0x00), (0x00, 0x80, 0x00), (0x80, 0x80, 0x00),
    (0x00, 0x00, 0x80), (0x80, 0x00, 0x80), (0x00, 0x80, 0x80), (0xC0, 0xC0, 0xC0),
    (0x80, 0x80, 0x80), (0xFF, 0x00, 0x00), (0x00, 0xFF, 0x00), (0xFF, 0xFF, 0x00),
    (0x00, 0x00, 0xFF), (0xFF, 0x00, 0xFF), (0x00, 0xFF, 0xFF), (0xFF, 0xFF, 0xFF),
]
BLACK, DARK_RED, LIGHT_GREY, GREY, RED, WHITE = 0, 1, 7, 8, 9, 15
TRANSPARENT = None

# Per-size layout: sheet box (inclusive), size of the folded corner, rows of
# "text" lines, arrow shaft start, arrow tip, arrow head length, shaft half-width.
LAYOUTS = {
    32: dict(sheet=(3, 1, 22, 29), fold=7, lines=(11, 14, 17, 20, 23),
             shaft_from=11, tip=29, head=10, half=1, rim=True),
    16: dict(sheet=(1, 0, 11, 14), fold=4, lines=(5, 7, 9),
             shaft_from=6, tip=14, head=6, half=1, rim=True),
}


def draw(size):
    """Return a size x size grid of palette indices (or TRANSPARENT), row 0 at top."""
    lay = LAYOUTS[size]
    px = [[TRANSPARENT] * size for _ in range(size)]
    x0, y0, x1, y1 = lay["sheet"]
    f = lay["fold"]

    # Sheet: white body, black border, corner cut off along a diagonal.
    for y in range(y0, y1 + 1):
        for x in range(x0, x1 + 1):
            over = (x - (x1 - f)) - (y - y0)   # > 0: beyond the fold line
            if over > 0:
                continue
            edge = x in (x0, x1) or y in (y0, y1) or over == 0
            px[y][x] = BLACK if edge else WHITE
    # The folded-over flap: grey triangle below the fold line.
    for y in range(y0, y0 + f + 1):
        for x in range(x1 - f, x1 + 1):
            d = (x - (x1 - f)) - (y - y0)
            if d <= 0:
                edge = x == x1 - f or y == y0 + f or d == 0
                px[y][x] = BLACK if edge else LIGHT_GREY

    # Lines of text on the sheet.
    for row in lay["lines"]:
        right = x1 - 2 if row > y0 + f else x1 - f - 2
        for x in range(x0 + 2, right + 1):
            px[row][x] = GREY

    # Red arrow along the main diagonal towards the lower-right corner.
    t, head, half = lay["tip"], lay["head"], lay["half"]
    arrow = set()
    for y in range(size):
        for x in range(size):
            in_head = x <= t and y <= t and (x - (t - head)) + (y - (t - head)) >= head
            in_shaft = (abs(x - y) <= half and lay["shaft_from"] <= x
                        and x <= t - head // 2)
            if in_head or in_shaft:
                arrow.add((x, y))
    if lay["rim"]:
        # A dark red rim keeps the arrow readable on the white sheet.
        for (x, y) in arrow:
            for dx in (-1, 0, 1):
                for dy in (-1, 0, 1):
                    nx, ny = x + dx, y + dy
                    if 0 <= nx < size and 0 <= ny < size and (nx, ny) not in arrow:
                        px[ny][nx] = DARK_RED
    for (x, y) in arrow:
        px[y][x] = RED
    return px


def dib(px):
    """Encode one icon image: BITMAPINFOHEADER, palette, XOR bitmap, AND mask."""
    size = len(px)
    xor_stride = ((size * 4 + 31) // 32) * 4
    and_stride = ((size + 31) // 32) * 4
    xor_rows, and_rows = [], []
    for row in reversed(px):                      # DIB rows run bottom-up
        xor = bytearray(xor_stride)
        mask = bytearray(and_stride)
        for x, c in enumerate(row):
            if c is TRANSPARENT:
                mask[x // 8] |= 0x80 >> (x % 8)
                c = 0                             # black under a set mask bit
            xor[x // 2] |= c << (4 if x % 2 == 0 else 0)
        xor_rows.append(bytes(xor))
        and_rows.append(bytes(mask))
    bits = b"".join(xor_rows) + b"".join(and_rows)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 4, 0,
                         len(bits), 0, 0, 16, 0)
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for (r, g, b) in PALETTE)
    return header + palette + bits


def build_ico(sizes=(32, 16)):
    images = [dib(draw(s)) for s in sizes]
    out = struct.pack("<HHH", 0, 1, len(images))   # ICONDIR: reserved, type icon, count
    offset = 6 + 16 * len(images)
    for s, img in zip(sizes, images):
        out += struct.pack("<BBBBHHII", s, s, 16, 0, 1, 4, len(img), offset)
        offset += len(img)
    return out + b"".join(images)


def main(argv):
    here = os.path.dirname(os.path.abspath(__file__))
    path = argv[1] if len(argv) > 1 else os.path.join(here, "tarvolen.ico")
    data = build_ico()
    with open(path, "wb") as fh:
        fh.write(data)
    print("wrote %s (%d bytes)" % (path, len(data)))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
