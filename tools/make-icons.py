#!/usr/bin/env python3
"""Draws the two icons and writes them as .ico files (run by developers, never by the build).

    shellext/Wendrift.ico        one 32x32 image, 16 colours (4 bpp)
    config/WendriftConfig.ico    two 32x32 images, 2 colours (1 bpp) and 16 colours (4 bpp)

The picture is a folder with an arrow leaving it, drawn on a grid of palette indices. Each
image is a DIB as icons store it: BITMAPINFOHEADER with the doubled height, colour table,
XOR bits and AND mask, both bottom-up with rows padded to 4 bytes.
"""
import os
import struct
import sys

SIZE = 32

# The standard 16-colour palette, as (red, green, blue).
VGA = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
BLACK, GREEN, OLIVE, NAVY, SILVER, LIME, YELLOW, BLUE, WHITE = 0, 2, 3, 4, 7, 10, 11, 12, 15
CLEAR = None  # transparent: AND bit set, XOR pixel 0


def blank():
    return [[CLEAR] * SIZE for _ in range(SIZE)]


def fill(grid, top, left, bottom, right, colour):
    for y in range(top, bottom + 1):
        for x in range(left, right + 1):
            grid[y][x] = colour


def box(grid, top, left, bottom, right, edge, inside):
    fill(grid, top, left, bottom, right, edge)
    fill(grid, top + 1, left + 1, bottom - 1, right - 1, inside)


def arrow(grid, edge, inside):
    """A right-pointing arrow whose tip leaves the folder's right edge."""
    cells = set()
    for y in range(15, 20):            # shaft
        for x in range(9, 21):
            cells.add((y, x))
    for i in range(0, 8):              # head, narrowing to the tip at column 28
        for y in range(10 + i, 25 - i):
            cells.add((y, 21 + i))
    for (y, x) in cells:
        grid[y][x] = inside
    for (y, x) in cells:               # one-pixel outline around the arrow
        for dy, dx in ((-1, 0), (1, 0), (0, -1), (0, 1)):
            n = (y + dy, x + dx)
            if n not in cells and 0 <= n[0] < SIZE and 0 <= n[1] < SIZE:
                grid[n[0]][n[1]] = edge


def picture(folder_edge, folder_face, folder_back, arrow_edge, arrow_face):
    grid = blank()
    box(grid, 5, 2, 9, 13, folder_edge, folder_back)      # tab
    box(grid, 8, 2, 27, 26, folder_edge, folder_back)     # back panel
    box(grid, 12, 2, 27, 26, folder_edge, folder_face)    # front panel
    arrow(grid, arrow_edge, arrow_face)
    return grid


def rows_bottom_up(grid):
    return list(reversed(grid))


def pack_bits(values, bits):
    """Packs one row of small integers MSB first and pads it to a 4-byte boundary."""
    out = bytearray()
    acc, used = 0, 0
    for v in values:
        acc = (acc << bits) | v
        used += bits
        if used == 8:
            out.append(acc)
            acc, used = 0, 0
    if used:
        out.append(acc << (8 - used))
    while len(out) % 4:
        out.append(0)
    return bytes(out)


def dib(grid, bits, palette):
    """One icon image: header, colour table, XOR bits, AND mask."""
    xor = b"".join(pack_bits([0 if c is CLEAR else c for c in row], bits)
                   for row in rows_bottom_up(grid))
    mask = b"".join(pack_bits([1 if c is CLEAR else 0 for c in row], 1)
                    for row in rows_bottom_up(grid))
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, bits, 0,
                         len(xor) + len(mask), 0, 0, 0, 0)
    table = b"".join(struct.pack("<BBBB", b, g, r, 0) for (r, g, b) in palette)
    return header + table + xor + mask, len(palette)


def ico(images):
    """images: list of (dib bytes, colour count, bits per pixel)."""
    directory = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    entries, blobs = b"", b""
    for data, colours, bits in images:
        entries += struct.pack("<BBBBHHII", SIZE, SIZE, colours if colours < 256 else 0, 0,
                               1, bits, len(data), offset)
        blobs += data
        offset += len(data)
    return directory + entries + blobs


def mono(grid):
    """The 16-colour picture reduced to black outlines on white faces."""
    light = {YELLOW, WHITE, SILVER, LIME}
    return [[CLEAR if c is CLEAR else (1 if c in light else 0) for c in row] for row in grid]


def main():
    root = os.path.abspath(os.path.join(os.path.dirname(__file__), ".."))
    shell_icon = picture(OLIVE, YELLOW, OLIVE, BLACK, LIME)
    config_icon = picture(OLIVE, YELLOW, OLIVE, NAVY, BLUE)
    # The 1 bpp variant of the configuration icon: arrow in black, folder faces white.
    config_mono = picture(BLACK, WHITE, WHITE, BLACK, BLACK)

    data4, n4 = dib(shell_icon, 4, VGA)
    write(os.path.join(root, "shellext", "Wendrift.ico"), ico([(data4, n4, 4)]))

    data1, n1 = dib(mono(config_mono), 1, [(0, 0, 0), (255, 255, 255)])
    data4c, n4c = dib(config_icon, 4, VGA)
    write(os.path.join(root, "config", "WendriftConfig.ico"),
          ico([(data1, n1, 1), (data4c, n4c, 4)]))


def write(path, data):
    with open(path, "wb") as f:
        f.write(data)
    sys.stdout.write("%s: %d bytes\n" % (path, len(data)))


if __name__ == "__main__":
    main()
