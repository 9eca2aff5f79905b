#!/usr/bin/env python3
"""Draws the program's icon picture: a framed landscape (sky, sun, two hills).

The build turns it into icon 128 (48, 32 and 16 pixels at 8 bits per pixel)
with the project's own converter, so the picture is square, opaque, and 96
pixels wide: each icon size divides it into whole source areas.

Usage: make_app_icon.py OUT.bmp
"""
import math
import struct
import sys

SIZE = 96
SAMPLES = 4  # per axis, for smooth edges
FRAME = (38, 58, 104)
FRAME_WIDTH = 5
SUN = (255, 204, 58)
NEAR_HILL = (46, 128, 64)
FAR_HILL = (92, 168, 84)


def sky(y):
    t = y / SIZE
    return (int(96 + 120 * t), int(160 + 75 * t), int(232 + 20 * t))


def hill(x, peak_x, peak_y, spread):
    """Height of a smooth hill (y of its outline) at column x."""
    d = (x - peak_x) / spread
    return peak_y + (SIZE - peak_y) * (1 - math.exp(-d * d))


def colour(x, y):
    """Colour at a point (x right, y down) of the picture."""
    if x < FRAME_WIDTH or y < FRAME_WIDTH or x >= SIZE - FRAME_WIDTH or y >= SIZE - FRAME_WIDTH:
        return FRAME
    if y > hill(x, 30, 50, 26):
        return NEAR_HILL
    if y > hill(x, 68, 58, 30):
        return FAR_HILL
    if math.hypot(x - 64, y - 30) < 12:
        return SUN
    return sky(y)


def pixel(px, py):
    total = [0, 0, 0]
    for sy in range(SAMPLES):
        for sx in range(SAMPLES):
            c = colour(px + (sx + 0.5) / SAMPLES, py + (sy + 0.5) / SAMPLES)
            for i in range(3):
                total[i] += c[i]
    n = SAMPLES * SAMPLES
    return tuple((v + n // 2) // n for v in total)


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    stride = (SIZE * 3 + 3) // 4 * 4
    rows = []
    for py in reversed(range(SIZE)):  # bottom-up
        row = bytearray()
        for px in range(SIZE):
            r, g, b = pixel(px, py)
            row += bytes((b, g, r))
        row += bytes(stride - len(row))
        rows.append(bytes(row))
    bits = b"".join(rows)
    info = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE, 1, 24, 0, len(bits), 2835, 2835, 0, 0)
    header = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(bits), 0, 0, 14 + len(info))
    with open(sys.argv[1], "wb") as out:
        out.write(header + info + bits)


if __name__ == "__main__":
    main()
