#!/usr/bin/env python3
"""Writes the seed corpora of the fuzz targets into fuzz/corpus/.

The bitmaps are the kinds of pictures the tests build: every bit count, short
and full palettes, padding, skipped bytes, short data, a compressed header. The
whole-job seeds pair small pictures with the choices the pages preset. Every
seed stays small: the fuzzers grow their own corpus from these.
"""
import os
import struct
import sys


def bmp(width, height, bits, pixels=b'', palette=(), off_bits=None, file_size=None, compression=0):
    table = b''.join(struct.pack('<BBBB', c & 0xFF, (c >> 8) & 0xFF, c >> 16, 0) for c in palette)
    off = 54 + len(table) if off_bits is None else off_bits
    table = table.ljust(max(off - 54, 0), b'\0')
    size = off + len(pixels) if file_size is None else file_size
    head = struct.pack('<2sIHHI', b'BM', size, 0, 0, off)
    info = struct.pack('<IiiHHIIiiII', 40, width, height, 1, bits, compression, 0, 2835, 2835, 0, 0)
    return head + info + table + pixels


def rows24(width, height, colour):
    stride = (3 * width + 3) // 4 * 4
    data = bytearray()
    for y in range(height):
        row = bytearray()
        for x in range(width):
            r, g, b = colour(x, y)
            row += bytes((b, g, r))
        data += row.ljust(stride, b'\0')
    return bytes(data)


def disc(x, y, side=16):
    inside = (x - side / 2 + 0.5) ** 2 + (y - side / 2 + 0.5) ** 2 < (side / 3) ** 2
    return (32, 96, 200) if inside else (255, 0, 255)


def bmp_reader_seeds():
    return {
        'rgb_3x2.bmp': bmp(3, 2, 24, rows24(3, 2, lambda x, y: (80 * x, 120 * y, 40))),
        'rgb_skipped_bytes.bmp': bmp(1, 1, 24, b'\1\2\3\0', off_bits=62),
        'rgb_disc_16.bmp': bmp(16, 16, 24, rows24(16, 16, disc)),
        'rgb_short_data.bmp': bmp(4, 4, 24, b'\x99\x66\x33' * 4, file_size=54 + 64),
        'mono_9x2.bmp': bmp(9, 2, 1, bytes((0x80, 0x80, 0, 0, 0, 0, 0, 0)), palette=(0xFFFFFF, 0)),
        'nibbles_short_palette.bmp': bmp(3, 1, 4, bytes((0x12, 0, 0, 0)), palette=(0, 0x112233, 0x445566)),
        'bytes_full_palette.bmp': bmp(5, 3, 8, bytes(range(0, 240, 20)) + bytes(12),
                                      palette=[(i * 0x010203) & 0xFFFFFF for i in range(256)]),
        'run_length.bmp': bmp(2, 2, 8, bytes(8), palette=(0,), compression=1),
        'png_named_bmp.bmp': b'\x89PNG\r\n\x1a\n\0\0\0\rIHDR',
    }


def icon_image(width, height, bits, palette=(), alpha=0x80):
    """A bitmap as an icon stores it: doubled height, colour rows, then the AND mask."""
    table = b''.join(struct.pack('<BBBB', c & 0xFF, (c >> 8) & 0xFF, c >> 16, 0) for c in palette)
    stride = (width * bits + 31) // 32 * 4
    colour = bytearray()
    for y in range(height):
        row = bytes((x * 37 + y * 11 + (alpha if bits == 32 and x % 4 == 3 else 0)) & 0xFF
                    for x in range(stride))
        colour += row
    mask_stride = (width + 31) // 32 * 4
    mask = bytes(0xA5 if (y + i) % 2 else 0 for y in range(height) for i in range(mask_stride))
    info = struct.pack('<IiiHHIIiiII', 40, width, 2 * height, 1, bits, 0, 0, 0, 0, len(palette), 0)
    return info + table + bytes(colour) + mask


def png_head(width, height):
    ihdr = struct.pack('>II5B', width, height, 8, 6, 0, 0, 0)
    return b'\x89PNG\r\n\x1a\n' + struct.pack('>I', 13) + b'IHDR' + ihdr + b'\0\0\0\0'


def icon(images, kind=1, sizes=None, offsets=None):
    """An icon file of (width, height, bits, bytes) images, laid out one after another."""
    head = struct.pack('<HHH', 0, kind, len(images))
    offset = 6 + 16 * len(images)
    entries, body = b'', b''
    for k, (width, height, bits, data) in enumerate(images):
        at = offsets[k] if offsets else offset
        size = sizes[k] if sizes else len(data)
        entries += struct.pack('<BBBBHHII', width & 0xFF, height & 0xFF, 0, 0, 1, bits, size, at)
        body += data
        offset += len(data)
    return head + entries + body


def icon_reader_seeds():
    grey = [i * 0x111111 for i in range(16)]
    four = (3, 2, 4, icon_image(3, 2, 4, grey))
    alpha = (2, 2, 32, icon_image(2, 2, 32))
    mono = (9, 1, 1, icon_image(9, 1, 1, (0, 0xFFFFFF)))
    eight = (2, 3, 8, icon_image(2, 3, 8, [i * 0x010101 for i in range(256)]))
    png = (0, 0, 32, png_head(256, 256))
    return {
        'three_depths.ico': icon([four, alpha, mono]),
        'palette_and_png.ico': icon([eight, png]),
        'cursor.cur': icon([four], kind=2),
        'overlapping.ico': icon([four, alpha], offsets=[38, 60]),
        'past_the_end.ico': icon([alpha], sizes=[0x7FFFFFFF]),
        'no_and_mask.ico': icon([(2, 2, 32, icon_image(2, 2, 32)[:-8])]),
        'short_directory.ico': struct.pack('<HHH', 0, 1, 40) + bytes(20),
    }


def variant(width, height, bits, pixels, header_size=40, compression=0, masks=(), palette=(), colours=None):
    """A BMP with any header size: 12 is OS/2 1.x (3-byte palette entries), the
    masks follow the first 40 bytes of the header, inside it or after it."""
    if header_size == 12:
        info = struct.pack('<IHHHH', 12, width, height, 1, bits)
        table = b''.join(struct.pack('<BBB', c & 0xFF, (c >> 8) & 0xFF, c >> 16) for c in palette)
    else:
        count = len(palette) if colours is None else colours
        info = struct.pack('<IiiHHIIiiII', header_size, width, height, 1, bits, compression, len(pixels), 2835, 2835,
                           count, 0)
        info = (info + b''.join(struct.pack('<I', m) for m in masks)).ljust(header_size, b'\0')
        table = b''.join(struct.pack('<BBBB', c & 0xFF, (c >> 8) & 0xFF, c >> 16, 0) for c in palette)
    off = 14 + len(info) + len(table)
    return struct.pack('<2sIHHI', b'BM', off + len(pixels), 0, 0, off) + info + table + pixels


def bmp_variant_seeds():
    rgba = bytes((0, 0, 255, 255, 0, 255, 0, 128, 255, 0, 0, 0)) * 2
    return {
        'v5_bitfields_alpha.bmp': variant(3, 2, 32, rgba, 124, 3, (0xFF0000, 0xFF00, 0xFF, 0xFF000000)),
        'argb4444.bmp': variant(2, 2, 16, bytes((0x0F, 0xF0, 0xF0, 0x80, 0x00, 0x0F, 0x34, 0x12)), 40, 6,
                                (0x0F00, 0x00F0, 0x000F, 0xF000)),
        'rgb565.bmp': variant(3, 1, 16, bytes((0x1F, 0, 0xE0, 0x07, 0, 0xF8, 0, 0)), 40, 3, (0xF800, 0x07E0, 0x1F)),
        'rgb555.bmp': variant(2, 2, 16, bytes((0x1F, 0x7C, 0x11, 0x42)) * 2),
        'rle8.bmp': variant(4, 3, 8, bytes((0, 3, 2, 3, 1, 0, 6, 1, 0, 0, 0, 2, 1, 1, 2, 2, 0, 1)), 40, 1,
                            palette=(0, 0x102030, 0x405060, 0x708090)),
        'rle4.bmp': variant(6, 2, 4, bytes((0, 5, 0x21, 0x32, 0x10, 0, 1, 0x12, 0, 0, 4, 0x33, 0, 1)), 40, 2,
                            palette=(0, 0x102030, 0x405060, 0x708090)),
        'os2_core_8bit.bmp': variant(3, 2, 8, bytes((0, 1, 2, 0, 2, 1, 0, 0)), 12, palette=(0xFF0000, 0xFF00, 0xFF)),
        'os2_64_4bit.bmp': variant(3, 1, 4, bytes((0x01, 0x20, 0, 0)), 64, palette=(0x123456, 0xABCDEF, 0x777777)),
        'top_down_24bit.bmp': variant(2, -2, 24, bytes(range(1, 7)) + b'\0\0' + bytes(range(7, 13)) + b'\0\0'),
        'short_palette_2bit.bmp': variant(5, 1, 2, bytes((0x1B, 0xC0, 0, 0)), palette=(0xFF8000, 0x0080FF)),
        'alpha_bytes_32bit.bmp': variant(2, 1, 32, rgba[:8]),
        'classic_8bit.bmp': variant(3, 2, 8, bytes((0, 1, 2, 0, 2, 1, 0, 0)), palette=(0xFF0000, 0xFF00, 0xFF),
                                    colours=0),
        'embedded_png.bmp': variant(1, 1, 0, b'\x89PNG\r\n\x1a\n', 124, 5),
        'bits_64.bmp': variant(1, 1, 64, bytes(8)),
    }


def job(format_bits, size_bits, width, height, pixels, width16=0, height16=0, alloc=0):
    return bytes((format_bits, size_bits, width, height, width16, height16, alloc)) + pixels


def whole_job_seeds():
    key, ink, rim, glow = b'\xff\x00\xff', b'\x20\x40\x80', b'\xf0\xf0\xf0', b'\x10\xc0\x30'
    four = key + ink + rim + glow
    # 2 bits a pixel: a keyed frame around a patterned middle.
    pattern = bytes((0x00, 0x00, 0x54, 0xE4, 0x1B, 0xA9, 0x00, 0x00))
    gradient = bytes((i * 7) & 0xFF for i in range(96))
    use24, use4, use8, use32, transparent, only256, use16, palette = (1 << b for b in range(8))
    s256, s48, s32, s24, s16 = (1 << b for b in range(5))
    large = 0xE0
    return {
        'page_defaults.job': job(use4 | use8 | only256 | palette, s48 | s32 | s16, 47, 52, four + pattern),
        'keyed_all_kinds.job': job(use24 | use4 | use8 | use32 | transparent | only256 | palette,
                                   s48 | s32 | s24 | s16, 50, 48, four + pattern),
        'large_256.job': job(use8 | use32 | transparent | only256 | palette, s256 | s16 | large, 16, 20,
                             four + pattern),
        'true_colour_gradient.job': job(use24 | use4, s32 | s16, 40, 33, gradient),
        'separate_16.job': job(use24 | use32 | transparent | use16 | palette, s32 | s16, 40, 40,
                               four + pattern, 23, 18),
        'too_small.job': job(use8, s48, 20, 30, gradient),
        'own_alpha.job': job(use24 | use4 | use8 | use32 | transparent, s48 | s32 | s16, 50, 49, gradient,
                             alloc=0x80),
        'own_alpha_on_white.job': job(use24 | use8, s32 | s16, 40, 33, gradient, alloc=0x80),
        'no_memory.job': job(use4 | use8 | use32 | transparent | palette, s32 | s16, 33, 33, four + pattern,
                             alloc=0xC3),
    }


def picture_seeds():
    """Small files of every format the dispatcher knows, written by Pillow, in
    the variants its decoders handle apart: palettes with transparency, 16-bit
    and grey PNG, progressive, grey, CMYK and turned JPEG, lossy, lossless and
    animated WebP, transparent and animated GIF."""
    import io
    from PIL import Image

    def save(image, fmt, **options):
        out = io.BytesIO()
        image.save(out, fmt, **options)
        return out.getvalue()

    rgba = Image.new('RGBA', (6, 5))
    rgba.putdata([(40 * x, 50 * y, 90, 255 if x + y > 2 else 60 * (x + y)) for y in range(5) for x in range(6)])
    rgb = rgba.convert('RGB')
    palette = rgb.quantize(4)
    palette.info['transparency'] = 1
    grey16 = Image.new('I;16', (4, 3))
    grey16.putdata([i * 5000 for i in range(12)])
    exif = Image.Exif()
    exif[0x0112] = 6
    second = Image.new('RGB', (6, 5), (200, 10, 10))
    return {
        'rgba.png': save(rgba, 'PNG'),
        'palette_trns.png': save(palette, 'PNG', transparency=1),
        'grey16.png': save(grey16, 'PNG'),
        'grey_alpha.png': save(rgba.convert('LA'), 'PNG'),
        'baseline.jpg': save(rgb, 'JPEG', quality=80),
        'progressive_turned.jpg': save(rgb, 'JPEG', progressive=True, exif=exif.tobytes()),
        'grey.jpg': save(rgb.convert('L'), 'JPEG'),
        'cmyk.jpg': save(rgb.convert('CMYK'), 'JPEG'),
        'lossy.webp': save(rgb, 'WEBP', quality=50),
        'lossless_alpha.webp': save(rgba, 'WEBP', lossless=True),
        'animated.webp': save(rgb, 'WEBP', save_all=True, append_images=[second], lossless=True),
        'transparent.gif': save(palette, 'GIF', transparency=1),
        'animated.gif': save(rgb, 'GIF', save_all=True, append_images=[second]),
        'rgb.bmp': save(rgb, 'BMP'),
        'icon.ico': save(rgba, 'ICO', sizes=[(6, 5)]),
    }


def svg_seeds():
    """Documents in the shapes the decoder meets: gradients, partial alpha, a
    filter, text, a use of its own element, a DOCTYPE with entities, and the
    same compressed."""
    import gzip
    ns = 'xmlns="http://www.w3.org/2000/svg" xmlns:xlink="http://www.w3.org/1999/xlink"'
    logo = (f'<svg {ns} viewBox="0 0 100 100"><defs><linearGradient id="g"><stop offset="0" stop-color="#1e90ff"/>'
            '<stop offset="1" stop-color="#8a2be2" stop-opacity="0.6"/></linearGradient></defs>'
            '<rect x="6" y="6" width="88" height="88" rx="18" fill="url(#g)"/>'
            '<path d="M30 70 L50 25 L70 70 Z" fill="#fff" fill-opacity="0.85" stroke="#222" stroke-width="3"/></svg>')
    return {
        'logo.svg': logo.encode(),
        'logo.svgz': gzip.compress(logo.encode(), mtime=0),
        'filter_use.svg': (f'<?xml version="1.0"?><svg {ns} width="20mm" height="10mm"><filter id="f">'
                           '<feGaussianBlur stdDeviation="2"/></filter><circle id="c" cx="20" cy="20" r="9" '
                           'filter="url(#f)" fill="#c00"/><use xlink:href="#c" x="30" opacity="0.5"/></svg>').encode(),
        'entities_text.svg': ('<!DOCTYPE svg [<!ENTITY t "Zentro">]><!-- a comment -->'
                              '<svg:svg xmlns:svg="http://www.w3.org/2000/svg" width="40" height="40">'
                              '<svg:text x="2" y="20" font-size="9">&t;</svg:text></svg:svg>').encode(),
        'pattern_clip.svg': (f'<svg {ns} viewBox="0 0 8 8" preserveAspectRatio="xMinYMax slice" width="8" height="4">'
                             '<pattern id="p" width="2" height="2" patternUnits="userSpaceOnUse">'
                             '<rect width="1" height="1"/></pattern><clipPath id="k"><circle cx="4" cy="4" r="3"/>'
                             '</clipPath><rect width="8" height="8" fill="url(#p)" clip-path="url(#k)"/></svg>').encode(),
        'references.svg': ('<?xml-stylesheet href="a.css"?>'
                           f'<svg {ns} width="8" height="8"><style>@import "b.css"; rect {{ fill: url(c.svg#g) }}'
                           '</style><image xlink:href="d.png" width="4" height="4"/><use href="#e"/>'
                           '<rect id="e" style="filter:url(\'f.svg#f\')" width="2" height="2"/></svg>').encode(),
    }


def main(root):
    for target, seeds in (('bmp_reader', bmp_reader_seeds()), ('whole_job', whole_job_seeds()),
                          ('bmp_variant', bmp_variant_seeds()), ('picture', picture_seeds()),
                          ('icon_reader', icon_reader_seeds()), ('svg', svg_seeds())):
        folder = os.path.join(root, target)
        os.makedirs(folder, exist_ok=True)
        for name, data in seeds.items():
            with open(os.path.join(folder, name), 'wb') as out:
                out.write(data)


if __name__ == '__main__':
    main(sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(os.path.abspath(__file__)), 'corpus'))
