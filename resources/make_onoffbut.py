#!/usr/bin/env python3
"""Draws the 23 picture sets of the on/off button as BMP files.

    python3 resources/make_onoffbut.py           (writes resources/onoffbut/*.bmp)
    python3 resources/make_onoffbut.py --check   (fails when a file differs from what it draws)

Each set is one 24-bit bitmap of 2 x 2 tiles of the glyph size, read by the button as

    top-left     on, enabled        top-right     off, enabled
    bottom-left  on, disabled       bottom-right  off, disabled

Pixels of the colour $EBBEEB (red EB, green BE, blue EB) are transparent. Every pixel is one
sample at its centre, never blended with its neighbours, so no edge is smoothed into the key
colour. The disabled tiles are the enabled ones in light grey.

    name          bitmap    glyph     picture
    CHECKBOX      32 x 32   16 x 16   sunken box, check mark when on
    RADIOBUT      28 x 28   14 x 14   sunken round button, dot when on
    SLIDETOPBOT   36 x 60   18 x 30   vertical slider, knob up when on
    SLIDELFTRGT   60 x 36   30 x 18   horizontal slider, knob right when on
    COLSLIDETB    36 x 60   18 x 30   as SLIDETOPBOT, slot green when on and red when off
    COLSLIDELR    60 x 36   30 x 18   as SLIDELFTRGT, slot green when on and red when off
    LEDREDGREEN   28 x 28   14 x 14   round LED, green when on, red when off
    ARROWTR       50 x 50   25 x 25   arrow, green up when on, red right when off
    ARROWUD       50 x 50   25 x 25   arrow, green up when on, red down when off
    ARROWLR       50 x 50   25 x 25   arrow, green right when on, red left when off
    TRAFFICLGT    62 x 62   31 x 31   pedestrian light, green walker when on, red when off
    BEVELEDLED    34 x 34   17 x 17   red LED in a metal ring, lit when on
    SMILEYS       36 x 36   18 x 18   yellow face, smiling when on, sad when off
    SMILEYRG      36 x 36   18 x 18   face, green smiling when on, red sad when off
    BULB          78 x 98   39 x 49   light bulb, glowing when on
    BUTLAMP       98 x 48   49 x 24   illuminated push button, amber when on
    HDLEFT        96 x 32   48 x 16   slide switch, thumb left and green when on
    HDRIGHT       96 x 32   48 x 16   slide switch, thumb right and green when on
    USER1         48 x 48   24 x 24   power button, green symbol when on
    USER2         48 x 48   24 x 24   toggle lever, up when on
    USER3         48 x 48   24 x 24   star, gold when on
    USER4         48 x 48   24 x 24   square indicator, blue when on
    USER5         48 x 48   24 x 24   heart, red when on
"""

import math
import os
import struct
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(HERE, "onoffbut")
KEY = (0xEB, 0xBE, 0xEB)   # (r, g, b) of the transparent colour


# --- colours ---------------------------------------------------------------------------------

def mix(a, b, t):
    """Colour between a (t = 0) and b (t = 1)."""
    t = min(1.0, max(0.0, t))
    return tuple(int(round(a[i] + (b[i] - a[i]) * t)) for i in range(3))


def grey(v):
    return (v, v, v)


BLACK = grey(0)
WHITE = grey(255)
DARK = grey(64)
SHADOW = grey(128)
FACE = grey(192)
LIGHT = grey(224)
GREEN = (0, 200, 0)
RED = (230, 0, 0)


def disabled(c):
    """The grey a pixel takes in a disabled picture: its brightness, lighter."""
    lum = 0.30 * c[0] + 0.59 * c[1] + 0.11 * c[2]
    return grey(int(round(112 + lum * 0.5)))


# --- a picture -------------------------------------------------------------------------------

class Pic:
    def __init__(self, w, h):
        self.w, self.h = w, h
        self.px = [[None] * w for _ in range(h)]   # None = transparent

    def paint(self, inside, colour):
        """Sets every pixel whose centre satisfies inside(x, y); colour is a colour or a
        function (x, y) -> colour of the centre."""
        for y in range(self.h):
            for x in range(self.w):
                cx, cy = x + 0.5, y + 0.5
                if inside(cx, cy):
                    self.px[y][x] = colour(cx, cy) if callable(colour) else colour

    def outline(self, colour, where=None):
        """Colours the drawn pixels that touch a transparent one (or the edge) on four sides."""
        edge = []
        for y in range(self.h):
            for x in range(self.w):
                if self.px[y][x] is None or (where and not where(x + 0.5, y + 0.5)):
                    continue
                for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)):
                    nx, ny = x + dx, y + dy
                    if not (0 <= nx < self.w and 0 <= ny < self.h) or self.px[ny][nx] is None:
                        edge.append((x, y))
                        break
        for x, y in edge:
            self.px[y][x] = colour(x + 0.5, y + 0.5) if callable(colour) else colour

    def bitmap(self, pattern, origin, palette):
        """Pixel art: rows of characters from origin, each character a palette key ('.' skips)."""
        ox, oy = origin
        for j, row in enumerate(pattern):
            for i, ch in enumerate(row):
                if ch in palette:
                    self.px[oy + j][ox + i] = palette[ch]


# --- shapes (predicates of a point) ----------------------------------------------------------

def disc(cx, cy, r):
    return lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def ring(cx, cy, r0, r1):
    return lambda x, y: r0 * r0 < (x - cx) ** 2 + (y - cy) ** 2 <= r1 * r1


def box(x0, y0, x1, y1):
    return lambda x, y: x0 <= x < x1 and y0 <= y < y1


def rounded(x0, y0, x1, y1, r):
    def inside(x, y):
        if not (x0 <= x < x1 and y0 <= y < y1):
            return False
        qx = min(max(x, x0 + r), x1 - r)
        qy = min(max(y, y0 + r), y1 - r)
        return (x - qx) ** 2 + (y - qy) ** 2 <= r * r
    return inside


def polygon(pts):
    def inside(x, y):
        hit = False
        n = len(pts)
        for i in range(n):
            x1, y1 = pts[i]
            x2, y2 = pts[(i + 1) % n]
            if (y1 > y) != (y2 > y) and x < x1 + (y - y1) * (x2 - x1) / (y2 - y1):
                hit = not hit
        return hit
    return inside


def stroke(points, width):
    """A line through the points, width pixels wide, with round ends."""
    half = width / 2.0

    def near(x, y):
        for (ax, ay), (bx, by) in zip(points, points[1:]):
            dx, dy = bx - ax, by - ay
            t = max(0.0, min(1.0, ((x - ax) * dx + (y - ay) * dy) / (dx * dx + dy * dy)))
            if (x - ax - t * dx) ** 2 + (y - ay - t * dy) ** 2 <= half * half:
                return True
        return False
    return near


def arc(cx, cy, r, width, a0, a1):
    """Part of a circle between the angles a0..a1 (degrees, 0 = right, clockwise on screen)."""
    def inside(x, y):
        d = math.hypot(x - cx, y - cy)
        a = math.degrees(math.atan2(y - cy, x - cx)) % 360
        return abs(d - r) <= width / 2.0 and (a0 <= a <= a1 if a0 <= a1 else a >= a0 or a <= a1)
    return inside


# --- shading ---------------------------------------------------------------------------------

def radial(cx, cy, r, centre, rim):
    """Colour from centre at (cx, cy) to rim at distance r."""
    return lambda x, y: mix(centre, rim, math.hypot(x - cx, y - cy) / r)


def bevel(cx, cy, light, dark):
    """Light towards the top-left of (cx, cy), dark towards the bottom-right."""
    return lambda x, y: light if (x - cx) + (y - cy) < 0 else dark


def raised(x0, y0, x1, y1, light, dark):
    """A box edge: light along the top and left, dark along the bottom and right."""
    return lambda x, y: light if min(x - x0, y - y0) < min(x1 - x, y1 - y) else dark


def vertical(y0, y1, top, bottom):
    return lambda x, y: mix(top, bottom, (y - y0) / float(y1 - y0))


def lamp(base, lit):
    """A round lamp's shading: a highlight up-left when lit, flat and dark when not."""
    if lit:
        return lambda cx, cy, r: radial(cx - r * 0.35, cy - r * 0.35, r * 1.5, mix(base, WHITE, 0.75), base)
    dim = mix(base, BLACK, 0.55)
    return lambda cx, cy, r: radial(cx - r * 0.35, cy - r * 0.35, r * 1.5, mix(dim, WHITE, 0.25), dim)


# --- the sets --------------------------------------------------------------------------------

def checkbox(on):
    p = Pic(16, 16)
    p.paint(box(1, 1, 15, 15), raised(1, 1, 15, 15, SHADOW, WHITE))
    p.paint(box(2, 2, 14, 14), raised(2, 2, 14, 14, DARK, LIGHT))
    p.paint(box(3, 3, 13, 13), WHITE)
    if on:
        p.paint(stroke([(4.8, 8.0), (7.0, 10.5), (11.3, 5.0)], 2.0), BLACK)
    return p


def radiobut(on):
    p = Pic(14, 14)
    p.paint(disc(7, 7, 6.6), bevel(7, 7, SHADOW, WHITE))
    p.paint(disc(7, 7, 5.6), bevel(7, 7, DARK, LIGHT))
    p.paint(disc(7, 7, 4.6), WHITE)
    if on:
        p.paint(disc(7, 7, 2.2), BLACK)
    return p


def knob(p, x0, y0, x1, y1):
    """A raised grey knob with a groove across it."""
    p.paint(box(x0, y0, x1, y1), raised(x0, y0, x1, y1, WHITE, DARK))
    p.paint(box(x0 + 1, y0 + 1, x1 - 1, y1 - 1), FACE)
    mid = (y0 + y1) // 2
    p.paint(box(x0 + 2, mid - 1, x1 - 2, mid), SHADOW)
    p.paint(box(x0 + 2, mid, x1 - 2, mid + 1), WHITE)


def slider(knob_up, slot):
    """A vertical slider, 18 x 30, its knob up or down."""
    p = Pic(18, 30)
    p.paint(box(6, 1, 12, 29), raised(6, 1, 12, 29, SHADOW, WHITE))
    p.paint(box(7, 2, 11, 28), slot)
    if knob_up:
        knob(p, 1, 1, 17, 12)
    else:
        knob(p, 1, 18, 17, 29)
    return p


def transposed(p):
    """The picture mirrored at its diagonal: top becomes left."""
    q = Pic(p.h, p.w)
    q.px = [list(column) for column in zip(*p.px)]
    return q


def slot_colour(on):
    return (0, 176, 0) if on else (208, 0, 0)


def led(on):
    p = Pic(14, 14)
    p.paint(disc(7, 7, 6.6), DARK)
    base = (0, 230, 0) if on else (230, 0, 0)
    p.paint(disc(7, 7, 5.6), lamp(base, True)(7, 7, 5.6))
    return p


def arrow(direction, colour):
    """An arrow filling a 25 x 25 tile, pointing up, down, left or right."""
    up = [(12.5, 2), (22.5, 12.5), (16.5, 12.5), (16.5, 23), (8.5, 23), (8.5, 12.5), (2.5, 12.5)]
    turn = {
        "up": lambda x, y: (x, y),
        "down": lambda x, y: (x, 25 - y),
        "left": lambda x, y: (y, x),
        "right": lambda x, y: (25 - y, x),
    }[direction]
    p = Pic(25, 25)
    p.paint(polygon([turn(x, y) for x, y in up]), lambda x, y: mix(WHITE, colour, 0.35 + 0.65 * (x + y) / 30.0))
    p.outline(mix(colour, BLACK, 0.55))
    return p


STANDING = ["...#...", "..###..", "...#...", ".#####.", "#.###.#", "#.###.#", "..###..", "..#.#..",
            "..#.#..", "..#.#..", ".##.##."]
WALKING = ["...##..", "...##..", "..##...", ".####..", "#.###.#", "..##...", "..###..", ".#..#..",
           ".#...#.", "#....#.", "#.....#"]


def traffic(on):
    p = Pic(31, 31)
    p.paint(rounded(7, 0, 24, 31, 3), vertical(0, 31, grey(80), grey(32)))
    p.outline(grey(16))
    for cy, colour, figure, lit in ((8, RED, STANDING, not on), (23, GREEN, WALKING, on)):
        p.paint(disc(15.5, cy, 6.5), grey(8))
        p.bitmap(figure, (12, cy - 5), {"#": colour if lit else mix(colour, BLACK, 0.7)})
    return p


def beveled_led(on):
    p = Pic(17, 17)
    p.paint(disc(8.5, 8.5, 8.4), lambda x, y: mix(WHITE, grey(72), (x + y) / 17.0))
    p.paint(disc(8.5, 8.5, 6.4), lambda x, y: mix(grey(72), WHITE, (x + y) / 17.0))
    p.paint(disc(8.5, 8.5, 5.4), lamp((235, 0, 0), on)(8.5, 8.5, 5.4))
    return p


def smiley(on, face):
    p = Pic(18, 18)
    p.paint(disc(9, 9, 8.5), radial(6, 6, 12, mix(face, WHITE, 0.5), face))
    p.outline(mix(face, BLACK, 0.6))
    eye = BLACK
    p.paint(box(5.6, 5, 7.4, 8), eye)
    p.paint(box(10.6, 5, 12.4, 8), eye)
    if on:
        p.paint(arc(9, 7.5, 5.2, 1.5, 30, 150), eye)
    else:
        p.paint(arc(9, 17.5, 5.2, 1.5, 215, 325), eye)
    return p


def bulb(on):
    p = Pic(39, 49)
    glass = (255, 226, 48) if on else (226, 226, 218)
    rim = (236, 160, 0) if on else (150, 150, 146)
    shape = lambda x, y: disc(19.5, 16, 14.5)(x, y) or polygon([(9, 24), (30, 24), (26, 35), (13, 35)])(x, y)
    p.paint(shape, radial(14, 11, 24, WHITE if on else mix(glass, WHITE, 0.6), glass))
    p.outline(rim)
    wire = (255, 96, 0) if on else grey(96)
    p.paint(stroke([(16, 34), (16, 20), (18, 16), (19.5, 20), (21, 16), (23, 20), (23, 34)], 1.3), wire)
    for i, y in enumerate(range(35, 44, 3)):
        p.paint(box(13, y, 26, y + 2), vertical(y, y + 2, grey(208), grey(120)))
        p.paint(box(14, y + 2, 25, y + 3), grey(88))
    p.paint(rounded(15, 44, 24, 48, 1.5), grey(48))
    return p


def butlamp(on):
    p = Pic(49, 24)
    p.paint(rounded(0, 0, 49, 24, 3), raised(0, 0, 49, 24, WHITE, DARK))
    p.paint(rounded(1, 1, 48, 23, 2.5), raised(1, 1, 48, 23, LIGHT, SHADOW))
    p.paint(box(2, 2, 47, 22), FACE)
    p.paint(box(5, 5, 44, 19), raised(5, 5, 44, 19, SHADOW, WHITE))
    lens = (255, 176, 0) if on else (120, 104, 64)
    p.paint(box(6, 6, 43, 18), radial(18, 9, 30, mix(lens, WHITE, 0.7 if on else 0.2), lens))
    return p


def slide_switch(on, thumb_left_when_on):
    p = Pic(48, 16)
    track = (40, 176, 40) if on else grey(150)
    p.paint(rounded(1, 1, 47, 15, 7), vertical(1, 15, mix(track, BLACK, 0.25), track))
    p.outline(mix(track, BLACK, 0.5))
    left = on == thumb_left_when_on
    cx = 8.5 if left else 39.5
    p.paint(disc(cx, 8, 6.8), radial(cx - 2, 6, 9, WHITE, grey(176)))
    p.outline(grey(96), disc(cx, 8, 7.2))
    # "I" on the free side of the track when on, "O" when off
    if on:
        p.paint(box(30, 5, 32, 11) if left else box(16, 5, 18, 11), WHITE)
    else:
        ox = 33 if left else 15
        p.paint(ring(ox, 8, 1.6, 3.1), grey(235))
    return p


def power(on):
    p = Pic(24, 24)
    p.paint(disc(12, 12, 11.5), lambda x, y: mix(WHITE, grey(88), (x + y) / 24.0))
    p.paint(disc(12, 12, 9.5), radial(9, 9, 14, grey(232), grey(168)))
    symbol = (0, 190, 0) if on else grey(96)
    p.paint(arc(12, 13, 5.5, 2.0, 300, 240), symbol)
    p.paint(stroke([(12, 5.5), (12, 12)], 2.0), symbol)
    return p


def toggle(on):
    p = Pic(24, 24)
    p.paint(rounded(2, 2, 22, 22, 3), raised(2, 2, 22, 22, WHITE, SHADOW))
    p.paint(rounded(3, 3, 21, 21, 2.5), LIGHT)
    p.paint(disc(12, 12, 5), radial(11, 11, 7, grey(110), grey(24)))
    tip = (12, 4) if on else (12, 20)
    p.paint(stroke([(12, 12), tip], 4.6), grey(40))
    p.paint(stroke([(12, 12), tip], 2.8), lambda x, y: mix(grey(235), grey(120), (x - 10.6) / 2.8))
    p.paint(disc(tip[0], tip[1], 3.2), grey(40))
    p.paint(disc(tip[0], tip[1], 2.4), radial(tip[0] - 1, tip[1] - 1, 4, WHITE, grey(150)))
    return p


def star(on):
    p = Pic(24, 24)
    pts = []
    for k in range(10):
        r = 11.2 if k % 2 == 0 else 4.7
        a = math.radians(-90 + 36 * k)
        pts.append((12 + r * math.cos(a), 12.8 + r * math.sin(a)))
    fill = (255, 200, 0) if on else WHITE
    p.paint(polygon(pts), radial(10, 9, 13, mix(fill, WHITE, 0.6), fill))
    p.outline((176, 112, 0) if on else grey(96))
    return p


def square_led(on):
    p = Pic(24, 24)
    p.paint(box(1, 1, 23, 23), raised(1, 1, 23, 23, SHADOW, WHITE))
    p.paint(box(2, 2, 22, 22), grey(40))
    base = (40, 110, 255)
    p.paint(rounded(4, 4, 20, 20, 2), lamp(base, on)(12, 12, 11))
    return p


def heart(on):
    p = Pic(24, 24)

    def inside(x, y):
        u, v = (x - 12) / 9.0, (12.2 - y) / 9.0
        return (u * u + v * v - 1) ** 3 - u * u * v ** 3 <= 0
    fill = (228, 16, 40) if on else (250, 226, 230)
    p.paint(inside, radial(8, 7, 16, mix(fill, WHITE, 0.55), fill))
    p.outline(mix(fill, BLACK, 0.5) if on else grey(150))
    return p


SETS = [
    ("CHECKBOX", checkbox),
    ("RADIOBUT", radiobut),
    ("SLIDETOPBOT", lambda on: slider(on, grey(32))),
    ("SLIDELFTRGT", lambda on: transposed(slider(not on, grey(32)))),
    ("COLSLIDETB", lambda on: slider(on, slot_colour(on))),
    ("COLSLIDELR", lambda on: transposed(slider(not on, slot_colour(on)))),
    ("LEDREDGREEN", led),
    ("ARROWTR", lambda on: arrow("up", GREEN) if on else arrow("right", RED)),
    ("ARROWUD", lambda on: arrow("up", GREEN) if on else arrow("down", RED)),
    ("ARROWLR", lambda on: arrow("right", GREEN) if on else arrow("left", RED)),
    ("TRAFFICLGT", traffic),
    ("BEVELEDLED", beveled_led),
    ("SMILEYS", lambda on: smiley(on, (255, 216, 0))),
    ("SMILEYRG", lambda on: smiley(on, (64, 208, 64) if on else (236, 64, 48))),
    ("BULB", bulb),
    ("BUTLAMP", butlamp),
    ("HDLEFT", lambda on: slide_switch(on, True)),
    ("HDRIGHT", lambda on: slide_switch(on, False)),
    ("USER1", power),
    ("USER2", toggle),
    ("USER3", star),
    ("USER4", square_led),
    ("USER5", heart),
]


# --- output ----------------------------------------------------------------------------------

def compose(draw):
    """The 2 x 2 tile bitmap of a set: rows of (r, g, b), top row first."""
    on, off = draw(True), draw(False)
    w, h = on.w, on.h
    assert (off.w, off.h) == (w, h)
    rows = [[KEY] * (2 * w) for _ in range(2 * h)]
    for tile, (ox, oy), dim in ((on, (0, 0), False), (off, (w, 0), False), (on, (0, h), True), (off, (w, h), True)):
        for y in range(h):
            for x in range(w):
                c = tile.px[y][x]
                if c is not None:
                    c = disabled(c) if dim else c
                    assert c != KEY, "a drawn pixel has the transparent colour"
                    rows[oy + y][ox + x] = c
    return rows


def bmp_bytes(rows):
    h, w = len(rows), len(rows[0])
    stride = (w * 3 + 3) & ~3
    body = bytearray()
    for row in reversed(rows):
        line = bytearray()
        for r, g, b in row:
            line += bytes((b, g, r))
        body += line + bytes(stride - len(line))
    offset = 14 + 40
    header = struct.pack("<2sIHHI", b"BM", offset + len(body), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, len(body), 3780, 3780, 0, 0)
    return header + info + bytes(body)


def main():
    check = "--check" in sys.argv[1:]
    os.makedirs(OUT, exist_ok=True)
    stale = []
    for name, draw in SETS:
        data = bmp_bytes(compose(draw))
        path = os.path.join(OUT, name + ".bmp")
        if check:
            with open(path, "rb") as f:
                if f.read() != data:
                    stale.append(name)
        else:
            with open(path, "wb") as f:
                f.write(data)
    if stale:
        print("picture sets that differ from make_onoffbut.py: " + ", ".join(stale))
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
