#!/usr/bin/env python3
"""Writes the window icon (32x32 and 16x16, 32-bit colour) from the picture
below, so the repository holds a readable source instead of a binary file.
Usage: make_icon.py OUTPUT.ico"""
import struct
import sys

# 16x16 picture; the 32x32 image doubles every cell. A page with three list
# lines and a downward arrow: an episode list being collected.
PICTURE = """
................
..############..
..#wwwwwwwwww#..
..#wbbbbbbbbw#..
..#wwwwwwwwww#..
..#wbbbbbbbbw#..
..#wwwwwwwwww#..
..#wbbbbbbwww#..
..#wwwwwwwwww#..
..#wwwwoowwww#..
..#wwwwoowwww#..
..#wwooooooww#..
..#wwwoooowww#..
..#wwwwoowwww#..
..############..
................
"""
COLOURS = {  # (blue, green, red, alpha)
    ".": (0, 0, 0, 0),
    "#": (0x5a, 0x3c, 0x1e, 0xff),
    "w": (0xff, 0xff, 0xff, 0xff),
    "b": (0x80, 0x60, 0x30, 0xff),
    "o": (0x20, 0x80, 0xe0, 0xff),
}


def rows():
    lines = [line for line in PICTURE.strip().splitlines()]
    assert len(lines) == 16 and all(len(line) == 16 for line in lines), "picture must be 16x16"
    return lines


def image(size):
    scale = size // 16
    lines = rows()
    pixels = bytearray()
    mask = bytearray()
    mask_stride = ((size + 31) // 32) * 4
    for y in reversed(range(size)):  # bottom-up, as bitmaps are stored
        mask_row = bytearray(mask_stride)
        for x in range(size):
            cell = lines[y // scale][x // scale]
            b, g, r, a = COLOURS[cell]
            pixels += bytes((b, g, r, a))
            if a == 0:
                mask_row[x // 8] |= 0x80 >> (x % 8)
        mask += mask_row
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(pixels) + len(mask), 0, 0, 0, 0)
    return header + bytes(pixels) + bytes(mask)


def main():
    images = [image(32), image(16)]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, data in zip((32, 16), images):
        out += struct.pack("<BBBBHHII", size, size, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    with open(sys.argv[1], "wb") as f:
        f.write(out + b"".join(images))


if __name__ == "__main__":
    main()
