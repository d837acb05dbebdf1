#!/usr/bin/env python3
"""Draws the toolbar pictures of the editor into data/icons/*.png, and the
application's own icon (a ruled word-list sheet with a pencil) in the sizes of
the desktop's icon theme into data/icons/app/kelvari-<size>.png.

Standard library only. Every picture is 24 x 24 pixels on a magenta
background: the toolbar button treats the colour of the top-left pixel as
transparent, and no picture uses magenta itself. Edges are hard (no
anti-aliasing) so that no half-magenta pixel survives around a shape. The
colours are dark enough (red + green + blue at most 231) that the grey resting
image of the button keeps the shapes apart from the light button face.

The application icon has a transparent background and soft edges: it is
drawn from shapes in a unit square, several samples per pixel.

    python3 tools/make-icons.py [output-folder]
"""

import math
import os
import struct
import sys
import zlib

SIZE = 24
KEY = (255, 0, 255)

DARK = (64, 64, 64)
GREY = (128, 128, 128)
SILVER = (192, 192, 192)
LIGHT = (224, 224, 224)
WHITE = (255, 255, 255)
YELLOW = (255, 208, 64)
OCHRE = (200, 150, 30)
BLUE = (30, 60, 140)
NAVY = (20, 40, 100)
SKY = (120, 170, 240)
GREEN = (20, 120, 40)
RED = (170, 30, 30)
MAROON = (110, 20, 20)



def png_bytes(size, colour_type, raw):
    """A square 8-bit PNG of filtered scan lines: colour type 2 is RGB, 6 is RGBA."""
    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

    header = struct.pack(">IIBBBBB", size, size, 8, colour_type, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header)
            + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))

class Canvas:
    def __init__(self):
        self.px = [[KEY] * SIZE for _ in range(SIZE)]

    def dot(self, x, y, c):
        if 0 <= x < SIZE and 0 <= y < SIZE:
            self.px[y][x] = c

    def rect(self, x0, y0, x1, y1, fill=None, line=None):
        """Corners are inclusive pixel positions."""
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                edge = x in (x0, x1) or y in (y0, y1)
                if edge and line is not None:
                    self.dot(x, y, line)
                elif fill is not None:
                    self.dot(x, y, fill)

    def polygon(self, points, fill=None, line=None):
        """Vertices at pixel centres; fills every pixel whose centre is inside."""
        if fill is not None:
            for y in range(SIZE):
                xs = []
                for (ax, ay), (bx, by) in zip(points, points[1:] + points[:1]):
                    if (ay <= y < by) or (by <= y < ay):
                        xs.append(ax + (y - ay) * (bx - ax) / (by - ay))
                xs.sort()
                for a, b in zip(xs[0::2], xs[1::2]):
                    for x in range(math.ceil(a), math.floor(b) + 1):
                        self.dot(x, y, fill)
        if line is not None:
            for a, b in zip(points, points[1:] + points[:1]):
                self.line(a[0], a[1], b[0], b[1], line)

    def line(self, x0, y0, x1, y1, c):
        steps = int(max(abs(x1 - x0), abs(y1 - y0))) or 1
        for i in range(steps + 1):
            t = i / steps
            self.dot(int(round(x0 + (x1 - x0) * t)), int(round(y0 + (y1 - y0) * t)), c)

    def disc(self, cx, cy, r, c, r_inner=-1.0):
        """Pixels whose centre lies between r_inner (exclusive) and r from (cx, cy)."""
        for y in range(SIZE):
            for x in range(SIZE):
                d = math.hypot(x + 0.5 - cx, y + 0.5 - cy)
                if r_inner < d <= r:
                    self.dot(x, y, c)

    def sprite(self, x0, y0, rows, c):
        for dy, row in enumerate(rows):
            for dx, mark in enumerate(row):
                if mark != " ":
                    self.dot(x0 + dx, y0 + dy, c)

    def png(self):
        raw = b"".join(b"\x00" + b"".join(bytes(p) for p in row) for row in self.px)
        return png_bytes(SIZE, 2, raw)


def draw_new(c):
    # A sheet of paper with its top-right corner folded.
    x0, y0, x1, y1, fold = 4, 1, 19, 22, 5
    c.polygon([(x0, y0), (x1 - fold, y0), (x1, y0 + fold), (x1, y1), (x0, y1)],
              fill=WHITE, line=DARK)
    c.polygon([(x1 - fold, y0), (x1 - fold, y0 + fold), (x1, y0 + fold)], fill=LIGHT, line=DARK)


def draw_open(c):
    # The back of the folder with its tab, a sheet in it, the front opened forward.
    c.polygon([(1, 5), (7, 5), (9, 7), (18, 7), (18, 20), (1, 20)], fill=OCHRE, line=DARK)
    c.rect(5, 3, 15, 12, fill=WHITE, line=GREY)
    c.polygon([(1, 20), (5, 11), (22, 11), (18, 20)], fill=YELLOW, line=DARK)


def draw_save(c):
    c.polygon([(2, 2), (19, 2), (21, 4), (21, 21), (2, 21)], fill=BLUE, line=NAVY)
    c.rect(5, 2, 17, 9, fill=WHITE, line=NAVY)  # label
    for y in (4, 6):
        c.line(7, y, 15, y, SKY)
    c.rect(6, 14, 17, 21, fill=SILVER, line=NAVY)  # shutter
    c.rect(13, 15, 15, 19, fill=NAVY)


def draw_convert(c):
    # Right over left: the list goes out and comes back converted.
    c.rect(1, 5, 14, 9, fill=GREEN)
    c.polygon([(13, 1), (22, 7), (13, 13)], fill=GREEN)
    c.rect(9, 15, 22, 19, fill=BLUE)
    c.polygon([(10, 11), (1, 17), (10, 23)], fill=BLUE)


def draw_setting(c):
    cx = cy = 12
    teeth = 8
    for i in range(teeth):
        a = 2 * math.pi * i / teeth
        ux, uy = math.cos(a), math.sin(a)
        vx, vy = -uy, ux
        c.polygon([(cx - 0.5 + ux * along + vx * across, cy - 0.5 + uy * along + vy * across)
                   for along, across in ((6, -2), (11, -1.5), (11, 1.5), (6, 2))], fill=DARK)
    c.disc(cx, cy, 8, DARK)
    c.disc(cx, cy, 7, GREY)
    # The hole shows a light grey rather than the transparent colour, so the gear
    # reads as one part on any background.
    c.disc(cx, cy, 3.5, DARK)
    c.disc(cx, cy, 2.5, LIGHT)


def draw_help(c):
    c.disc(12, 12, 11.5, NAVY)
    c.disc(12, 12, 10.5, BLUE)
    c.sprite(8, 5, [
        " XXXXXX ",
        "XXX  XXX",
        "XX    XX",
        "      XX",
        "     XXX",
        "    XXX ",
        "   XXX  ",
        "   XX   ",
        "        ",
        "   XX   ",
        "   XX   ",
    ], WHITE)


def draw_atok(c):
    # A closed book seen from the front, its pages showing at the bottom.
    c.rect(6, 18, 20, 21, fill=WHITE, line=DARK)
    c.rect(3, 1, 19, 18, fill=RED, line=MAROON)
    c.rect(3, 1, 5, 21, fill=MAROON)  # spine
    c.rect(8, 5, 16, 9, fill=YELLOW, line=OCHRE)  # title plate
    c.line(10, 7, 14, 7, MAROON)


ICONS = {
    "new": draw_new,
    "open": draw_open,
    "save": draw_save,
    "convert": draw_convert,
    "setting": draw_setting,
    "help": draw_help,
    "atok": draw_atok,
}


# --- The application icon ---------------------------------------------------

APP_SIZES = (16, 24, 32, 48, 64, 128, 256)

INK = (34, 44, 78)
PAPER = (255, 255, 255)
BAND = (38, 92, 178)
RULE = (168, 182, 206)
TEXT = (70, 74, 86)
MARK = (196, 48, 48)
PENCIL = (246, 192, 44)
PENCIL_SIDE = (214, 150, 20)
WOOD = (238, 206, 160)
ERASER = (232, 120, 140)


def rounded_box(x0, y0, x1, y1, r):
    def inside(x, y):
        if not (x0 <= x <= x1 and y0 <= y <= y1):
            return False
        cx = min(max(x, x0 + r), x1 - r)
        cy = min(max(y, y0 + r), y1 - r)
        return (x - cx) ** 2 + (y - cy) ** 2 <= r * r
    return inside


def box(x0, y0, x1, y1):
    return lambda x, y: x0 <= x <= x1 and y0 <= y <= y1


def both(a, b):
    return lambda x, y: a(x, y) and b(x, y)


def band(ax, ay, bx, by, half, t0=0.0, t1=1.0):
    """The part of the strip of half-width `half` around A->B between t0 and t1."""
    dx, dy = bx - ax, by - ay
    length = math.hypot(dx, dy)
    ux, uy = dx / length, dy / length

    def inside(x, y):
        t = ((x - ax) * ux + (y - ay) * uy) / length
        d = -(x - ax) * uy + (y - ay) * ux
        return t0 <= t <= t1 and -half <= d <= half
    return inside


def tip(ax, ay, bx, by, half, t0):
    """The cone from the strip's width at t0 down to a point at B."""
    dx, dy = bx - ax, by - ay
    length = math.hypot(dx, dy)
    ux, uy = dx / length, dy / length

    def inside(x, y):
        t = ((x - ax) * ux + (y - ay) * uy) / length
        d = -(x - ax) * uy + (y - ay) * ux
        return t0 <= t <= 1.0 and abs(d) <= half * (1.0 - t) / (1.0 - t0)
    return inside


def app_layers(size):
    """Shapes in the unit square, bottom first."""
    s = max(1.0 / size, 0.03)  # outline width, at least one pixel
    x0, y0, x1, y1, r = 0.10, 0.04, 0.78, 0.96, 0.06
    page = rounded_box(x0 + s, y0 + s, x1 - s, y1 - s, r - s / 2)
    layers = [(rounded_box(x0, y0, x1, y1, r), INK), (page, PAPER),
              (both(page, box(x0, y0, x1, 0.25)), BAND)]
    # Three columns, as in the editor's table: reading, word, part of speech.
    cols = (0.34, 0.58)
    rows = (0.43, 0.61, 0.79)
    w = max(0.5 / size, 0.012)
    for cx in cols:
        layers.append((both(page, box(cx - w, 0.25, cx + w, y1)), RULE))
    for ry in rows:
        layers.append((both(page, box(x0, ry - w, x1, ry + w)), RULE))
    if size >= 32:
        for i, top in enumerate((0.25,) + rows[:-1]):
            mid = (top + (rows[i] if i < len(rows) else y1)) / 2
            h = 0.028
            layers.append((box(0.16, mid - h, 0.29, mid + h), TEXT))
            layers.append((box(0.39, mid - h, 0.53 - 0.04 * (i % 2), mid + h), TEXT))
            layers.append((rounded_box(0.63, mid - h, 0.70, mid + h, h), MARK))
        for cx in (0.22, 0.46, 0.66):
            layers.append((box(cx - 0.04, 0.13, cx + 0.04, 0.16), PAPER))
    # A pencil across the lower right corner, writing into the list.
    ax, ay, bx, by, half = 0.94, 0.34, 0.50, 0.90, 0.085
    o = s
    layers += [
        (band(ax, ay, bx, by, half + o, 0.0, 0.74), INK),
        (tip(ax, ay, bx, by, half + o, 0.74), INK),
        (band(ax, ay, bx, by, half, 0.0, 0.16), ERASER),
        (band(ax, ay, bx, by, half, 0.16, 0.20), INK),
        (band(ax, ay, bx, by, half, 0.20, 0.74), PENCIL),
        (band(ax, ay, bx, by, half * 0.35, 0.20, 0.74), PENCIL_SIDE),
        (tip(ax, ay, bx, by, half, 0.74), WOOD),
        (tip(ax, ay, bx, by, half, 0.90), INK),
    ]
    return layers


def app_icon_png(size):
    layers = app_layers(size)
    n = 4 if size <= 64 else 2  # samples per pixel and axis
    rows = []
    for py in range(size):
        row = bytearray(b"\x00")
        for px in range(size):
            covered = 0
            acc = [0, 0, 0]
            for sy in range(n):
                for sx in range(n):
                    x = (px + (sx + 0.5) / n) / size
                    y = (py + (sy + 0.5) / n) / size
                    colour = None
                    for inside, c in layers:
                        if inside(x, y):
                            colour = c
                    if colour is not None:
                        covered += 1
                        for k in range(3):
                            acc[k] += colour[k]
            if covered:
                row += bytes(round(a / covered) for a in acc)
            else:
                row += b"\x00\x00\x00"
            row.append(round(255 * covered / (n * n)))
        rows.append(bytes(row))

    return png_bytes(size, 6, b"".join(rows))


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "data", "icons")
    os.makedirs(out, exist_ok=True)
    for name, draw in ICONS.items():
        c = Canvas()
        draw(c)
        for x, y in ((0, 0), (SIZE - 1, 0), (0, SIZE - 1), (SIZE - 1, SIZE - 1)):
            assert c.px[y][x] == KEY, (name, x, y)
        with open(os.path.join(out, name + ".png"), "wb") as f:
            f.write(c.png())
    app_out = os.path.join(out, "app")
    os.makedirs(app_out, exist_ok=True)
    for size in APP_SIZES:
        with open(os.path.join(app_out, "kelvari-%d.png" % size), "wb") as f:
            f.write(app_icon_png(size))


if __name__ == "__main__":
    main()
