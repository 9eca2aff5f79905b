#!/usr/bin/env python3
"""Draws the bundled sample: a shaded disc with a ring on a magenta key background.

Every corner is the key colour, so the converter turns transparency and
32-bit alpha on by default and every path (key mask, smoothing, palettes) runs.

With --png, the same disc as an RGBA PNG (Pillow) on a clear ground instead,
its rim fading over two pixels: the picture with alpha that most people hold.
"""
import math
import struct
import sys

SIZE = 256
KEY = (255, 0, 255)


def colour(x, y, keyed=True):
    cx = cy = (SIZE - 1) / 2
    dx, dy = x - cx, y - cy
    r = math.hypot(dx, dy)
    if r > 112 and keyed:
        return KEY
    if 96 <= r <= 104:
        return (250, 250, 245)
    t = r / 112
    light = max(0.0, 1 - math.hypot(dx + 40, dy + 40) / 200)
    red = int(40 + 180 * light + 30 * t)
    green = int(90 + 120 * (1 - t))
    blue = int(200 - 120 * t + 40 * light)
    return (min(red, 255), min(green, 255), min(blue, 255))


def main(path):
    row_bytes = SIZE * 3
    pixels = bytearray()
    for stored in range(SIZE):  # bottom row first
        y = SIZE - 1 - stored
        for x in range(SIZE):
            r, g, b = colour(x, y)
            pixels += bytes((b, g, r))
        pixels += bytes((4 - row_bytes % 4) % 4)
    header = struct.pack('<2sIHHI', b'BM', 54 + len(pixels), 0, 0, 54)
    info = struct.pack('<IiiHHIIiiII', 40, SIZE, SIZE, 1, 24, 0, 0, 2835, 2835, 0, 0)
    with open(path, 'wb') as out:
        out.write(header + info + pixels)


def main_png(path):
    from PIL import Image
    picture = Image.new('RGBA', (SIZE, SIZE))
    cx = cy = (SIZE - 1) / 2
    for y in range(SIZE):
        for x in range(SIZE):
            r = math.hypot(x - cx, y - cy)
            alpha = round(max(0.0, min(1.0, (113 - r) / 2)) * 255)
            picture.putpixel((x, y), colour(x, y, keyed=False) + (alpha,))
    picture.save(path)


if __name__ == '__main__':
    if len(sys.argv) > 1 and sys.argv[1] == '--png':
        main_png(sys.argv[2] if len(sys.argv) > 2 else 'res/sample/sample-rgba.png')
    else:
        main(sys.argv[1] if len(sys.argv) > 1 else 'res/sample/sample.bmp')
