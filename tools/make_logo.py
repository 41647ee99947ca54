#!/usr/bin/env python3
"""Draws the version dialog's logo: 264 x 70 pixels, 24 bits, black background.

Writes widgets/qt/logo.bmp. Run from the repository root:
    python3 tools/make_logo.py
The picture is letters of a 5 x 7 pixel font, scaled up, in a colour
gradient with a lighter rim, under a thin bar; black stays the background
(the dialog keys it out).
"""
import math
import struct

WIDTH, HEIGHT = 264, 70

FONT = {
    "T": ["#####", "..#..", "..#..", "..#..", "..#..", "..#..", "..#.."],
    "A": [".###.", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"],
    "V": ["#...#", "#...#", "#...#", "#...#", "#...#", ".#.#.", "..#.."],
    "R": ["####.", "#...#", "#...#", "####.", "#.#..", "#..#.", "#...#"],
    "I": ["#####", "..#..", "..#..", "..#..", "..#..", "..#..", "#####"],
    "N": ["#...#", "##..#", "#.#.#", "#..##", "#...#", "#...#", "#...#"],
}


def hue(t):
    """Red through yellow, green and blue for t in 0..1, as (r, g, b)."""
    h = t * 4.0
    r = max(0.0, min(1.0, abs(h * 60 - 180) / 60 - 1))
    g = max(0.0, min(1.0, 2 - abs(h * 60 - 60) / 60))
    b = max(0.0, min(1.0, 2 - abs(h * 60 - 120) / 60))
    return tuple(int(40 + 215 * c) for c in (r, g, b))


def main():
    pixels = [[(0, 0, 0)] * WIDTH for _ in range(HEIGHT)]  # top row first
    scale, gap, text = 7, 6, "TAVRIN"
    letter_w = 5 * scale
    total = len(text) * letter_w + (len(text) - 1) * gap
    x0, y0 = (WIDTH - total) // 2, 6
    for i, ch in enumerate(text):
        for gy, line in enumerate(FONT[ch]):
            for gx, cell in enumerate(line):
                if cell != "#":
                    continue
                for dy in range(scale):
                    for dx in range(scale):
                        x = x0 + i * (letter_w + gap) + gx * scale + dx
                        y = y0 + gy * scale + dy
                        r, g, b = hue(x / WIDTH)
                        shade = 1.0 - 0.35 * (dy / scale)
                        rim = dx == 0 or dy == 0
                        c = (r, g, b) if not rim else tuple(min(255, v + 60) for v in (r, g, b))
                        pixels[y][x] = tuple(int(v * shade) if not rim else v for v in c)
    for x in range(x0, x0 + total):  # the bar under the letters
        for y in range(HEIGHT - 12, HEIGHT - 8):
            wave = 0.5 + 0.5 * math.sin(x / 9.0)
            pixels[y][x] = (int(90 + 150 * wave), int(90 + 150 * wave), 255)

    row_len = (WIDTH * 3 + 3) // 4 * 4
    data = bytearray()
    for row in reversed(pixels):  # bottom row first
        line = bytearray()
        for r, g, b in row:
            line += bytes((b, g, r))
        line += bytes(row_len - len(line))
        data += line
    header = struct.pack("<2sIHHI", b"BM", 54 + len(data), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, WIDTH, HEIGHT, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    with open("widgets/qt/logo.bmp", "wb") as f:
        f.write(header + info + data)


if __name__ == "__main__":
    main()
