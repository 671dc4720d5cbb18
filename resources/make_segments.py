#!/usr/bin/env python3
"""Draws the six segment shapes of the seven-segment display as BMP files.

    python3 resources/make_segments.py        (writes resources/sevenseg/*.bmp)

Every shape is solid black on white, crisp (one sample at each pixel centre, no smoothing),
at the size and bit depth the display composes its glyphs from:

    SEGVERT   68 x 190   1 bit   vertical segment
    SEGHORZ  200 x  38   1 bit   horizontal segment
    SEGDOT    38 x  38   1 bit   decimal point
    SEGPLUS  200 x 190  24 bit   plus sign
    SEGDEG   160 x 138  24 bit   degree sign
    SEGCOLON  68 x 190  24 bit   colon

The shapes are drawn upright and then sheared by the slant of the glyph layout (the top
segment sits 37 pixels right of the middle one, which sits 37 right of the bottom one, 197
rows apart), each about its own middle row. The display colours a shape by flood-filling the
black region at fixed seed points, so every shape is one connected black region holding its
seeds: the degree sign's two halves hold (18, h - 18) and (w - 18, 18), and the colon's two
dots are joined by a one-pixel line through (25, h / 2).
"""

import os
import struct

SLANT = 37.0 / 197.0
HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(HERE, "sevenseg")


def inside_polygon(pts, x, y):
    """Even-odd test of the point against a closed polygon."""
    hit = False
    n = len(pts)
    for i in range(n):
        x1, y1 = pts[i]
        x2, y2 = pts[(i + 1) % n]
        if (y1 > y) != (y2 > y):
            xc = x1 + (y - y1) * (x2 - x1) / (y2 - y1)
            if x < xc:
                hit = not hit
    return hit


def raster(w, h, upright):
    """Samples an upright shape predicate through the shear: True where the pixel is black."""
    mid = h / 2.0
    rows = []
    for y in range(h):
        cy = y + 0.5
        shift = (mid - cy) * SLANT
        rows.append([upright(x + 0.5 - shift, cy) for x in range(w)])
    return rows


# --- the upright shapes --------------------------------------------------------------------

def hexagon_h(x0, x1, yc, half):
    """Horizontal elongated hexagon with pointed ends at x0 and x1."""
    return [(x0, yc), (x0 + half, yc - half), (x1 - half, yc - half), (x1, yc),
            (x1 - half, yc + half), (x0 + half, yc + half)]


def hexagon_v(xc, y0, y1, half):
    """Vertical elongated hexagon with pointed ends at y0 and y1."""
    return [(xc, y0), (xc + half, y0 + half), (xc + half, y1 - half), (xc, y1),
            (xc - half, y1 - half), (xc - half, y0 + half)]


def octagon(xc, yc, half, chamfer):
    a, c = half, half - chamfer
    return [(xc - c, yc - a), (xc + c, yc - a), (xc + a, yc - c), (xc + a, yc + c),
            (xc + c, yc + a), (xc - c, yc + a), (xc - a, yc + c), (xc - a, yc - c)]


SEG_HALF = 16   # half the thickness of a vertical segment (horizontal ones fill their 38 rows)

VERT = hexagon_v(34, 4, 186, SEG_HALF)
HORZ = hexagon_h(4, 196, 19, 19)
DOT = octagon(19, 19, 15, 6)
PLUS_H = hexagon_h(3, 197, 95, 19)
PLUS_V = hexagon_v(100, 3, 187, SEG_HALF)


def degree(x, y):
    # A square ring cut along its main diagonal into two L-shaped halves, one holding the
    # bottom-left seed, the other the top-right one.
    outer = 13 <= x <= 147 and 2 <= y <= 136
    inner = 43 < x < 117 and 32 < y < 106
    return outer and not inner and abs((x - y) - 11) > 5


# The dots sit close to the middle, so the joining line stays short.
COLON_DOT_A = octagon(34, 58, 16, 6)
COLON_DOT_B = octagon(34, 132, 16, 6)


def sheared_centre(xc, yc, h):
    return xc + (h / 2.0 - (yc + 0.5)) * SLANT, yc


def join(rows, start, end):
    """Blacks a one-pixel, 4-connected path from start towards end until it meets black."""
    (x0, y0), (x1, y1) = start, end
    step = 1 if y1 > y0 else -1
    x = x0
    for y in range(y0, int(y1) + step, step):
        target = round(x0 + (x1 - x0) * (y - y0) / (y1 - y0))
        while True:
            if rows[y][x] and (x, y) != start:
                return
            rows[y][x] = True
            if x == target:
                break
            x += 1 if target > x else -1


def colon_rows():
    rows = raster(68, 190, lambda x, y: inside_polygon(COLON_DOT_A, x, y) or inside_polygon(COLON_DOT_B, x, y))
    # The joining line runs from the seed pixel (25, 95) to the middle of each dot.
    join(rows, (25, 95), sheared_centre(34, 58, 190))
    join(rows, (25, 95), sheared_centre(34, 132, 190))
    return rows


# --- BMP writing ---------------------------------------------------------------------------

def bmp_bytes(rows, bits):
    h = len(rows)
    w = len(rows[0])
    if bits == 1:
        stride = ((w + 31) // 32) * 4
        palette = struct.pack("<BBBBBBBB", 0, 0, 0, 0, 255, 255, 255, 0)   # 0 black, 1 white
        body = bytearray()
        for row in reversed(rows):
            line = bytearray(stride)
            for x, black in enumerate(row):
                if not black:
                    line[x // 8] |= 0x80 >> (x % 8)
            body += line
        colours = 2
    else:
        stride = ((w * 3 + 3) // 4) * 4
        palette = b""
        body = bytearray()
        for row in reversed(rows):
            line = bytearray()
            for black in row:
                line += b"\x00\x00\x00" if black else b"\xff\xff\xff"
            line += bytes(stride - len(line))
            body += line
        colours = 0
    offset = 14 + 40 + len(palette)
    header = struct.pack("<2sIHHI", b"BM", offset + len(body), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, bits, 0, len(body), 3780, 3780, colours, colours)
    return header + info + palette + bytes(body)


def write(name, rows, bits):
    os.makedirs(OUT, exist_ok=True)
    path = os.path.join(OUT, name + ".bmp")
    with open(path, "wb") as f:
        f.write(bmp_bytes(rows, bits))
    print(path)


def polygon_rows(w, h, *polys):
    return raster(w, h, lambda x, y: any(inside_polygon(p, x, y) for p in polys))


def main():
    write("SEGVERT", polygon_rows(68, 190, VERT), 1)
    write("SEGHORZ", polygon_rows(200, 38, HORZ), 1)
    write("SEGDOT", polygon_rows(38, 38, DOT), 1)
    write("SEGPLUS", polygon_rows(200, 190, PLUS_H, PLUS_V), 24)
    write("SEGDEG", raster(160, 138, degree), 24)
    write("SEGCOLON", colon_rows(), 24)


if __name__ == "__main__":
    main()
