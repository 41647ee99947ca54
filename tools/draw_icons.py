#!/usr/bin/env python3
"""Draws the main window's glyphs and icons as PNG files.

Run from the repository root:  python3 tools/draw_icons.py
Writes app/qt/icons/*.png (committed; the resource file app/qt/tavrin.qrc
lists them). Each picture is a few shapes, rasterised with 4x4 supersampling.
"""
import math
import os
import struct
import zlib

OUT = os.path.join(os.path.dirname(__file__), "..", "app", "qt", "icons")
SS = 4


def png(path, w, h, pixels):
    raw = b"".join(b"\0" + bytes(c for px in pixels[y * w:(y + 1) * w] for c in px) for y in range(h))

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)

    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n")
        f.write(chunk(b"IHDR", struct.pack(">IIBBBBB", w, h, 8, 6, 0, 0, 0)))
        f.write(chunk(b"IDAT", zlib.compress(raw, 9)))
        f.write(chunk(b"IEND", b""))


def seg_dist(px, py, x0, y0, x1, y1):
    dx, dy = x1 - x0, y1 - y0
    t = 0.0 if dx == dy == 0 else max(0.0, min(1.0, ((px - x0) * dx + (py - y0) * dy) / (dx * dx + dy * dy)))
    return math.hypot(px - (x0 + t * dx), py - (y0 + t * dy))


def inside(shape, x, y):
    kind = shape[0]
    if kind == "rect":
        _, x0, y0, x1, y1, _c = shape
        return x0 <= x < x1 and y0 <= y < y1
    if kind == "circle":
        _, cx, cy, r, _c = shape
        return math.hypot(x - cx, y - cy) <= r
    if kind == "ring":
        _, cx, cy, r, w, _c = shape
        return abs(math.hypot(x - cx, y - cy) - r) <= w / 2
    if kind == "arc":  # ring part between two angles (degrees, clockwise from east)
        _, cx, cy, r, w, a0, a1, _c = shape
        ang = math.degrees(math.atan2(y - cy, x - cx)) % 360
        return abs(math.hypot(x - cx, y - cy) - r) <= w / 2 and (a0 <= ang <= a1 if a0 <= a1 else ang >= a0 or ang <= a1)
    if kind == "line":
        _, x0, y0, x1, y1, w, _c = shape
        return seg_dist(x, y, x0, y0, x1, y1) <= w / 2
    raise ValueError(kind)


def draw(name, size, shapes):
    pixels = []
    for py in range(size):
        for px in range(size):
            acc = [0.0, 0.0, 0.0, 0.0]
            for sy in range(SS):
                for sx in range(SS):
                    x = px + (sx + 0.5) / SS
                    y = py + (sy + 0.5) / SS
                    colour = None
                    for s in shapes:
                        if inside(s, x, y):
                            colour = s[-1]
                    if colour:
                        a = colour[3] / 255 if len(colour) > 3 else 1.0
                        for i in range(3):
                            acc[i] += colour[i] * a
                        acc[3] += a
            n = SS * SS
            alpha = acc[3] / n
            if alpha > 0:
                pixels.append(tuple(int(round(acc[i] / acc[3])) for i in range(3)) + (int(round(alpha * 255)),))
            else:
                pixels.append((0, 0, 0, 0))
    png(os.path.join(OUT, name + ".png"), size, size, pixels)


WHITE = (255, 255, 255)
LIME = (0, 255, 0)
SKY = (120, 200, 255)
RED = (230, 60, 50)
YELLOW = (255, 220, 60)
PAPER = (250, 250, 240)
INK = (40, 60, 90)
BLUE = (40, 110, 210)
GREY = (170, 180, 190)

GLYPHS = {
    "close": [("circle", 16, 16, 13, RED), ("line", 10.5, 10.5, 21.5, 21.5, 3.5, WHITE),
              ("line", 21.5, 10.5, 10.5, 21.5, 3.5, WHITE)],
    "extract": [("rect", 4, 5, 18, 24, PAPER), ("line", 7, 10, 15, 10, 2, INK), ("line", 7, 15, 15, 15, 2, INK),
                ("line", 7, 20, 12, 20, 2, INK), ("ring", 19, 17, 7, 3, YELLOW), ("circle", 19, 17, 5.5, (255, 255, 255, 90)),
                ("line", 24, 22, 29, 28, 4, YELLOW)],
    "alldata": [("rect", 5, 4, 27, 28, PAPER)] + sum(([("circle", 9.5, y, 1.8, BLUE), ("line", 13, y, 24, y, 2.2, INK)]
                                                      for y in (9, 14, 19, 24)), []),
    "copy": [("rect", 4, 4, 19, 22, GREY), ("rect", 5, 5, 18, 21, PAPER), ("rect", 12, 10, 28, 29, GREY),
             ("rect", 13, 11, 27, 28, PAPER), ("line", 16, 16, 24, 16, 2, INK), ("line", 16, 20, 24, 20, 2, INK),
             ("line", 16, 24, 21, 24, 2, INK)],
    "stayontop": [("rect", 3, 12, 21, 28, GREY), ("rect", 4, 13, 20, 27, (90, 100, 110)), ("rect", 10, 4, 29, 20, LIME),
                  ("rect", 11, 8, 28, 19, PAPER), ("line", 19.5, 21, 19.5, 29, 2.5, YELLOW),
                  ("line", 16, 25, 19.5, 29, 2.5, YELLOW), ("line", 23, 25, 19.5, 29, 2.5, YELLOW)],
    "normal": [("rect", 3, 6, 17, 22, SKY), ("rect", 4, 10, 16, 21, PAPER), ("rect", 15, 10, 29, 26, SKY),
               ("rect", 16, 14, 28, 25, PAPER)],
    "settings": [("circle", 16, 16, 10, GREY)] + [("circle", 16 + 11 * math.cos(a * math.pi / 4), 16 + 11 * math.sin(a * math.pi / 4), 3.2, GREY)
                                                   for a in range(8)] + [("circle", 16, 16, 4.5, (60, 70, 80))],
    "logo": [("rect", 4, 5, 28, 10, LIME), ("rect", 13.5, 5, 18.5, 28, LIME), ("ring", 16, 16, 14, 1.5, WHITE)],
}
SMALL = {
    "help": [("circle", 12, 12, 11, BLUE), ("arc", 12, 9.5, 4.2, 2.6, 150, 90, WHITE), ("line", 12, 13.5, 12, 15.5, 2.6, WHITE),
             ("circle", 12, 19, 1.6, WHITE)],
    "version": [("circle", 12, 12, 11, (0, 150, 80)), ("circle", 12, 6.5, 1.8, WHITE), ("line", 12, 10.5, 12, 18.5, 3, WHITE)],
}
ROW_COLOURS = [(220, 60, 60), (230, 140, 40), (230, 200, 40), (120, 190, 60), (40, 160, 90), (40, 170, 170),
               (40, 120, 210), (90, 80, 200), (160, 70, 190), (200, 70, 140)]


def main():
    os.makedirs(OUT, exist_ok=True)
    for name, shapes in GLYPHS.items():
        draw(name, 32, shapes)
    for name, shapes in SMALL.items():
        draw(name, 24, shapes)
    draw("tavrin", 48, [("rect", 0, 0, 48, 48, (0, 64, 96)), ("rect", 8, 8, 40, 15, LIME), ("rect", 20.5, 8, 27.5, 41, LIME)])
    for i, colour in enumerate(ROW_COLOURS):
        draw("row%02d" % i, 16, [("circle", 8, 8, 6, colour)])
    # The row icon: a line of text on a slip.
    draw("row10", 16, [("rect", 2, 3, 14, 13, PAPER), ("rect", 2, 3, 14, 4, INK), ("rect", 2, 12, 14, 13, INK),
                       ("rect", 2, 3, 3, 13, INK), ("rect", 13, 3, 14, 13, INK), ("line", 5, 8, 11, 8, 1.6, LIME)])


if __name__ == "__main__":
    main()
