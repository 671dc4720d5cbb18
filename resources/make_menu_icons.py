#!/usr/bin/env python3
"""Draws the two check-box glyphs of the table editor's data menu as BMP files.

    python3 resources/make_menu_icons.py      (writes resources/menuicons/*.bmp)

Both are 16 x 16, 24 bit, crisp (whole pixels, no smoothing):

    EMPTYBOX    a box: frame (2, 2) .. (13, 13) in dark grey $404040, white inside
    CHECKEDBOX  the same box with a black check mark two pixels thick: down from (4, 7) to
                (6, 9), then up to (11, 4)

Everything outside the box is magenta ($FF00FF), the colour of the bottom-left pixel, which
the editor takes as transparent.
"""

import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(HERE, "menuicons")
SIZE = 16

MAGENTA = (255, 0, 255)
FRAME = (64, 64, 64)
WHITE = (255, 255, 255)
BLACK = (0, 0, 0)


def box():
    rows = [[MAGENTA] * SIZE for _ in range(SIZE)]
    for y in range(2, 14):
        for x in range(2, 14):
            edge = x in (2, 13) or y in (2, 13)
            rows[y][x] = FRAME if edge else WHITE
    return rows


def check_points():
    """The pixels of the mark: a two-pixel stroke along the two legs."""
    points = set()
    legs = [((4, 7), (6, 9)), ((6, 9), (11, 4))]
    for (x0, y0), (x1, y1) in legs:
        step = 1 if x1 > x0 else -1
        for x in range(x0, x1 + step, step):
            y = y0 + (x - x0) * (y1 - y0) // (x1 - x0)
            points.add((x, y))
            points.add((x, y + 1))
    return points


def checked_box():
    rows = box()
    for x, y in check_points():
        rows[y][x] = BLACK
    return rows


def bmp_bytes(rows):
    h = len(rows)
    w = len(rows[0])
    stride = ((w * 3 + 3) // 4) * 4
    body = bytearray()
    for row in reversed(rows):
        line = bytearray()
        for r, g, b in row:
            line += bytes((b, g, r))
        line += bytes(stride - len(line))
        body += line
    offset = 14 + 40
    header = struct.pack("<2sIHHI", b"BM", offset + len(body), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, len(body), 3780, 3780, 0, 0)
    return header + info + bytes(body)


def write(name, rows):
    os.makedirs(OUT, exist_ok=True)
    path = os.path.join(OUT, name + ".bmp")
    with open(path, "wb") as f:
        f.write(bmp_bytes(rows))
    print(path)


def main():
    write("EMPTYBOX", box())
    write("CHECKEDBOX", checked_box())


if __name__ == "__main__":
    main()
