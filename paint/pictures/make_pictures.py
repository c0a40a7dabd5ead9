#!/usr/bin/env python3
"""Draws the programs' own pictures as .bmp files in this folder.

bitmap_130.bmp: the wizard pages' side picture, 16 colours, 120 x 260.
bitmap_132.bmp: the first page's and the uninstaller's picture, 256 colours, 120 x 260.
icon_128.bmp: the setup's icon (the closing dialog), 32 x 32, the same box and arrow.
icon_133.bmp: the uninstaller's question icon, 32 x 32, a question mark in a speech bubble.
The icons are 256-colour bitmaps whose colour 0, teal, stands for "transparent".

Both show an open box under a falling arrow on a sky that darkens towards the bottom.
Run it again after changing a picture; the build embeds the files it writes.
"""
import os
import struct

WIDTH, HEIGHT = 120, 260
HERE = os.path.dirname(os.path.abspath(__file__))


def write_bmp(path, bits, palette, rows, width=WIDTH, height=HEIGHT):
    """rows: top-down lists of palette indices."""
    stride = ((width * bits + 31) // 32) * 4
    data = bytearray()
    for row in reversed(rows):  # the file stores the bottom row first
        line = bytearray(stride)
        for x, index in enumerate(row):
            if bits == 8:
                line[x] = index
            else:  # 4 bits: the left pixel in the high half of the byte
                line[x // 2] |= index << (4 if x % 2 == 0 else 0)
        data += line
    table = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in palette)
    offset = 14 + 40 + len(table)
    header = struct.pack("<2sIHHI", b"BM", offset + len(data), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, 0, len(data),
                       2835, 2835, len(palette), 0)
    with open(path, "wb") as out:
        out.write(header + info + table + data)


def inside_box(x, y):
    """The box seen a little from the right and above: front, side and lid; None outside."""
    if 30 <= x < 80 and 170 <= y < 230:
        return "front"
    rise = (x - 80) * 10 // 16  # the side and the lid slant up to the right
    if 80 <= x < 96 and 170 - rise <= y < 230 - rise:
        return "side"
    shift = (170 - y) * 16 // 10
    if 160 <= y < 170 and 30 + shift <= x < 80 + shift:
        return "lid"
    return None


def inside_arrow(x, y):
    """A downward arrow above the box: a shaft and a triangular head."""
    if 49 <= x < 61 and 60 <= y < 120:
        return True
    if 120 <= y < 150:
        half = (150 - y) * 24 // 30
        return 55 - half <= x < 55 + half
    return False


def sparkle(x, y):
    return (x * 7 + y * 13) % 97 == 0 and y < 140


def picture_256():
    palette = []
    # 0..191: the sky, from pale blue at the top to deep blue at the bottom.
    for i in range(192):
        t = i / 191
        palette.append((int(170 - 150 * t), int(200 - 160 * t), int(250 - 110 * t)))
    # 192..255: the box (browns), the arrow (oranges), white.
    for i in range(32):
        t = i / 31
        palette.append((int(120 + 100 * t), int(80 + 70 * t), int(40 + 40 * t)))
    for i in range(31):
        t = i / 30
        palette.append((255, int(120 + 110 * t), int(20 + 40 * t)))
    palette.append((255, 255, 255))
    rows = []
    for y in range(HEIGHT):
        row = []
        for x in range(WIDTH):
            part = inside_box(x, y)
            if part == "front":
                row.append(192 + 10 + (x - 30) * 12 // 50)
            elif part == "side":
                row.append(192 + 2 + (y - 160) * 6 // 70)
            elif part == "lid":
                row.append(192 + 28)
            elif inside_arrow(x, y):
                row.append(224 + (y - 60) * 30 // 90)
            elif sparkle(x, y):
                row.append(255)
            else:
                row.append(y * 191 // (HEIGHT - 1))
        rows.append(row)
    return palette, rows


def picture_16():
    palette = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128),
               (128, 0, 128), (0, 128, 128), (192, 192, 192), (128, 128, 128),
               (255, 0, 0), (0, 255, 0), (255, 255, 0), (0, 0, 255), (255, 0, 255),
               (0, 255, 255), (255, 255, 255)]
    rows = []
    for y in range(HEIGHT):
        row = []
        for x in range(WIDTH):
            part = inside_box(x, y)
            if part == "front":
                row.append(3)
            elif part == "side":
                row.append(8)
            elif part == "lid":
                row.append(7)
            elif inside_arrow(x, y):
                row.append(11)
            elif sparkle(x, y):
                row.append(15)
            else:
                row.append(6 if y < 130 else 4)  # teal sky over a dark blue floor
        rows.append(row)
    return palette, rows


ICON = 32
TRANSPARENT = (0, 128, 128)


def icon_box_and_arrow():
    """The setup's icon: the pictures' open box, small, with the arrow dropping into it."""
    palette = [TRANSPARENT, (0, 0, 0), (176, 120, 56), (128, 80, 32), (216, 168, 96),
               (255, 160, 32), (255, 224, 96), (255, 255, 255)]
    rows = [[0] * ICON for _ in range(ICON)]

    def put(x, y, colour):
        if 0 <= x < ICON and 0 <= y < ICON:
            rows[y][x] = colour

    for y in range(17, 31):            # the front, outlined
        for x in range(4, 22):
            put(x, y, 1 if y in (17, 30) or x in (4, 21) else 2)
    for x in range(22, 29):            # the side, rising to the right
        rise = (x - 21) // 2
        for y in range(17 - rise, 31 - rise):
            put(x, y, 1 if y in (17 - rise, 30 - rise) or x == 28 else 3)
    for y in range(12, 17):            # the open lid, leaning back
        shift = (17 - y) * 3 // 2
        for x in range(4 + shift, 22 + shift):
            put(x, y, 1 if y == 12 or x in (4 + shift, 21 + shift) else 4)
    for y in range(1, 11):             # the arrow: shaft, then head
        for x in range(11, 16):
            put(x, y, 1 if x in (11, 15) or y == 1 else 5)
    for y in range(11, 18):
        half = 17 - y
        for x in range(13 - half, 14 + half):
            put(x, y, 1 if x in (13 - half, 13 + half) else 6)
    return palette, rows


QUESTION_MARK = [
    "..#####..",
    ".##...##.",
    "##.....##",
    "##.....##",
    ".......##",
    "......##.",
    ".....##..",
    "....##...",
    "...##....",
    "...##....",
    ".........",
    "...##....",
    "...##....",
]


def icon_question():
    """The uninstaller's question icon: a blue question mark in a white speech bubble."""
    palette = [TRANSPARENT, (0, 0, 0), (255, 255, 255), (0, 0, 200), (128, 128, 128)]
    rows = [[0] * ICON for _ in range(ICON)]
    cx, cy, rx, ry = 15.5, 13.0, 14.5, 12.0
    for y in range(ICON):
        for x in range(ICON):
            d = ((x - cx) / rx) ** 2 + ((y - cy) / ry) ** 2
            if d <= 1.0:
                rows[y][x] = 2 if d < 0.84 else 1
    for y in range(23, 31):            # the bubble's tail, down to the left
        for x in range(6, 6 + (31 - y)):
            if rows[y][x] == 0 or y > 24:
                rows[y][x] = 1 if x in (6, 5 + (31 - y)) or y == 30 else 2
    for gy, line in enumerate(QUESTION_MARK):  # drawn at twice its size would not fit: 1:1 bold
        for gx, cell in enumerate(line):
            if cell == "#":
                for dx in (0, 1):
                    x, y = 11 + gx + dx, 5 + gy + (gy // 2)
                    rows[y][x] = 3
                    if gy % 2 == 1:
                        rows[y + 1][x] = 3
    return palette, rows


if __name__ == "__main__":
    palette, rows = picture_16()
    write_bmp(os.path.join(HERE, "bitmap_130.bmp"), 4, palette, rows)
    palette, rows = picture_256()
    write_bmp(os.path.join(HERE, "bitmap_132.bmp"), 8, palette, rows)
    for name, (palette, rows) in (("icon_128.bmp", icon_box_and_arrow()),
                                  ("icon_133.bmp", icon_question())):
        write_bmp(os.path.join(HERE, name), 8, palette, rows, ICON, ICON)
