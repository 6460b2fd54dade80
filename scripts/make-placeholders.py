#!/usr/bin/env python3
"""Draws the library's four placeholder images (200 x 200, 8 bits, 256 colours):
a white symbol over a soft tinted backdrop. 1 framed picture, 2 film strip,
3 loudspeaker, 4 text page. Writes dorvane/res/placeholder<N>.bmp.

Run from the repository root: python3 scripts/make-placeholders.py
"""
import math
import os
import struct

SIZE = 200
WHITE = 255
SHADES = 240  # palette entries 0..239 hold the backdrop ramp

# Backdrop tints (dark corner, light centre) per placeholder, as (r, g, b).
TINTS = {
    1: ((40, 70, 120), (170, 200, 235)),   # blue: pictures
    2: ((100, 40, 40), (235, 180, 170)),   # red: video
    3: ((40, 90, 50), (175, 225, 180)),    # green: sound
    4: ((90, 80, 40), (230, 220, 170)),    # sand: data
}


def palette(tint):
    (r0, g0, b0), (r1, g1, b1) = tint
    entries = []
    for i in range(256):
        if i >= SHADES:
            entries.append((255, 255, 255))
            continue
        t = i / (SHADES - 1)
        entries.append((round(r0 + (r1 - r0) * t), round(g0 + (g1 - g0) * t), round(b0 + (b1 - b0) * t)))
    return entries


def backdrop():
    # A soft vignette with gentle diagonal waves, so it reads like a faded photograph.
    rows = []
    for y in range(SIZE):
        row = []
        for x in range(SIZE):
            dx, dy = (x - 100) / 100, (y - 100) / 100
            light = 1 - 0.55 * (dx * dx + dy * dy)
            light += 0.06 * math.sin((x + 2 * y) / 11)
            row.append(max(0, min(SHADES - 1, round(light * (SHADES - 1)))))
        rows.append(row)
    return rows


def rect(px, x0, y0, x1, y1):
    for y in range(max(0, y0), min(SIZE, y1)):
        for x in range(max(0, x0), min(SIZE, x1)):
            px[y][x] = WHITE


def frame(px, x0, y0, x1, y1, w):
    rect(px, x0, y0, x1, y0 + w)
    rect(px, x0, y1 - w, x1, y1)
    rect(px, x0, y0, x0 + w, y1)
    rect(px, x1 - w, y0, x1, y1)


def disc(px, cx, cy, r):
    for y in range(cy - r, cy + r + 1):
        for x in range(cx - r, cx + r + 1):
            if 0 <= x < SIZE and 0 <= y < SIZE and (x - cx) ** 2 + (y - cy) ** 2 <= r * r:
                px[y][x] = WHITE


def arc(px, cx, cy, r, w, a0, a1):
    for y in range(SIZE):
        for x in range(SIZE):
            d = math.hypot(x - cx, y - cy)
            a = math.degrees(math.atan2(y - cy, x - cx))
            if r - w / 2 <= d <= r + w / 2 and a0 <= a <= a1:
                px[y][x] = WHITE


def picture(px):
    frame(px, 40, 50, 160, 150, 8)
    disc(px, 128, 80, 10)
    for y in range(95, 142):  # a mountain
        half = (y - 95)
        rect(px, 85 - half, y, 85 + half + 1, y + 1)
    rect(px, 48, 141, 152, 142)


def film(px):
    frame(px, 60, 25, 140, 175, 6)
    rect(px, 60, 25, 78, 175)
    rect(px, 122, 25, 140, 175)
    for y in range(32, 170, 18):  # sprocket holes cut back out of the edges
        for yy in range(y, y + 9):
            for x in list(range(64, 74)) + list(range(126, 136)):
                px[yy][x] = px[yy][x - 40] if px[yy][x - 40] != WHITE else 0
    rect(px, 78, 98, 122, 102)


def speaker(px):
    rect(px, 45, 80, 70, 120)
    for x in range(70, 100):  # the cone widens to the right
        spread = 20 + (x - 70)
        rect(px, x, 100 - spread, x + 1, 100 + spread)
    for r in (25, 42, 59):
        arc(px, 100, 100, r, 6, -45, 45)


def page(px):
    frame(px, 55, 30, 145, 170, 5)
    for i in range(22):  # folded corner
        rect(px, 123 + i, 30 + i, 145, 31 + i)
    for y in range(60, 160, 14):
        rect(px, 68, y, 132 if y < 146 else 108, y + 5)


def write_bmp(path, pixels, colours):
    row_bytes = SIZE  # 200 is a multiple of 4
    offset = 14 + 40 + 256 * 4
    size = offset + row_bytes * SIZE
    with open(path, "wb") as f:
        f.write(struct.pack("<2sIHHI", b"BM", size, 0, 0, offset))
        f.write(struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE, 1, 8, 0, row_bytes * SIZE, 2835, 2835, 256, 0))
        for r, g, b in colours:
            f.write(struct.pack("<BBBB", b, g, r, 0))
        for y in range(SIZE - 1, -1, -1):
            f.write(bytes(pixels[y]))


def main():
    out = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "dorvane", "res")
    os.makedirs(out, exist_ok=True)
    for number, draw in ((1, picture), (2, film), (3, speaker), (4, page)):
        px = backdrop()
        draw(px)
        write_bmp(os.path.join(out, "placeholder%d.bmp" % number), px, palette(TINTS[number]))


if __name__ == "__main__":
    main()
