#!/usr/bin/env python3
"""Writes BMPs with Pillow and ImageMagick into OUTDIR, each NAME.bmp beside
NAME.rgba: the colours Pillow reads from it (width and height as 32-bit
little-endian numbers, then red, green, blue, alpha per pixel, top row first).

Pillow reads a 32-bit BI_RGB file without its fourth bytes; for the one it
writes from RGBA the expected colours are the RGBA picture it saved, whose
alpha those bytes hold.
"""
import os
import struct
import subprocess
import sys

from PIL import Image

WIDTH, HEIGHT = 29, 13


def source():
    im = Image.new('RGBA', (WIDTH, HEIGHT))
    for y in range(HEIGHT):
        for x in range(WIDTH):
            im.putpixel((x, y), ((x * 37 + y * 11) % 256, (x * 5 + y * 53) % 256, (x * y * 7 + 90) % 256,
                                 (0, 255, (x * 29 + y * 61) % 256)[(x + y) % 3]))
    return im


def exact_levels(bits):
    """8-bit values that ImageMagick stores as field levels of `bits` bits
    (rounding or truncating) whose 8-bit value Pillow (truncating) and the
    nearest-level scaling agree on."""
    top = (1 << bits) - 1
    return [-(-v * 255 // top) for v in range(top + 1) if v * 255 // top == (v * 255 + top // 2) // top]


def sixteen_bit_source(green_bits):
    red_blue, green = exact_levels(5), exact_levels(green_bits)
    im = Image.new('RGB', (WIDTH, HEIGHT))
    for y in range(HEIGHT):
        for x in range(WIDTH):
            im.putpixel((x, y), (red_blue[(x + 3 * y) % len(red_blue)], green[(2 * x + y) % len(green)],
                                 red_blue[(5 * x + y) % len(red_blue)]))
    return im


def dump(out, name, expected):
    rgba = expected.convert('RGBA')
    with open(os.path.join(out, name + '.rgba'), 'wb') as f:
        f.write(struct.pack('<II', *rgba.size) + rgba.tobytes())


def main(out):
    src = source()
    png = os.path.join(out, 'source.png')
    src.save(png)
    bmp = lambda name: os.path.join(out, name + '.bmp')

    src.save(bmp('pillow_rgba'))
    dump(out, 'pillow_rgba', src)
    for name, picture in (('pillow_rgb', src.convert('RGB')), ('pillow_palette', src.convert('RGB').convert('P')),
                          ('pillow_grey', src.convert('L')), ('pillow_1bit', src.convert('1'))):
        picture.save(bmp(name))
        dump(out, name, Image.open(bmp(name)))

    magick = {
        'magick_rgba': [png, bmp('magick_rgba')],
        'magick_rgb': [png, '-alpha', 'off', bmp('magick_rgb')],
        'magick_bmp3': [png, '-alpha', 'off', 'BMP3:' + bmp('magick_bmp3')],
        'magick_os2': [png, '-alpha', 'off', 'BMP2:' + bmp('magick_os2')],
        'magick_rle8': [png, '-alpha', 'off', '-type', 'palette', '-compress', 'RLE', 'BMP3:' + bmp('magick_rle8')],
    }
    for name, green_bits in (('magick_555', 5), ('magick_565', 6)):
        png16 = os.path.join(out, name + '.png')
        sixteen_bit_source(green_bits).save(png16)
        subtype = 'RGB555' if green_bits == 5 else 'RGB565'
        magick[name] = [png16, '-define', 'bmp:subtype=' + subtype, bmp(name)]
    for name, args in magick.items():
        subprocess.run(['convert'] + args, check=True)
        dump(out, name, Image.open(bmp(name)))


if __name__ == '__main__':
    main(sys.argv[1])
