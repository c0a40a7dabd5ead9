#!/usr/bin/env python3
"""Draws the programs' icon, cmake/windows/vandrel.ico: a package box (brown, with its lid
and a band of tape) under a green arrow pointing down into it, at 16x16, 32x32 and 48x48
pixels, 32 bits per pixel with alpha. Run it again after changing the drawing; the build
takes the .ico from the source tree."""
import struct
import sys
from pathlib import Path

BOX = (176, 122, 60, 255)
LID = (206, 156, 92, 255)
TAPE = (236, 214, 160, 255)
EDGE = (96, 62, 28, 255)
ARROW = (40, 150, 70, 255)
CLEAR = (0, 0, 0, 0)


def pixel(x, y, n):
    """The colour at (x, y) of an n x n icon, y from the top; drawn in a 16-unit grid."""
    u, v = x * 16.0 / n, y * 16.0 / n
    # The arrow: a shaft from the top and a head whose point reaches into the lid.
    if 6.5 <= u < 9.5 and 0.5 <= v < 5:
        return ARROW
    if 5 <= v < 8.5 and abs(u - 8) < (8.5 - v) * 1.1:
        return ARROW
    # The box: lid from 7 to 9, body from 9 to 15, with a dark edge all round.
    if 1.5 <= u < 14.5 and 7 <= v < 15:
        if u < 2.5 or u >= 13.5 or v >= 14 or v < 7.8:
            return EDGE
        if 7 <= u < 9:
            return TAPE
        return LID if v < 9.5 else BOX
    return CLEAR


def image(n):
    """One icon image: BITMAPINFOHEADER (double height), pixels bottom-up BGRA, AND mask."""
    header = struct.pack("<IiiHHIIiiII", 40, n, 2 * n, 1, 32, 0, 0, 0, 0, 0, 0)
    rows = []
    for y in reversed(range(n)):
        rows.append(b"".join(bytes((b, g, r, a)) for r, g, b, a in (pixel(x, y, n) for x in range(n))))
    mask_row = ((n + 31) // 32) * 4
    return header + b"".join(rows) + bytes(mask_row * n)


def icon(sizes):
    images = [image(n) for n in sizes]
    out = struct.pack("<HHH", 0, 1, len(sizes))
    offset = 6 + 16 * len(sizes)
    for n, data in zip(sizes, images):
        out += struct.pack("<BBBBHHII", n % 256, n % 256, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    return out + b"".join(images)


if __name__ == "__main__":
    target = Path(sys.argv[1]) if len(sys.argv) > 1 else Path(__file__).resolve().parent.parent / "cmake/windows/vandrel.ico"
    target.write_bytes(icon([16, 32, 48]))
    print(target)
