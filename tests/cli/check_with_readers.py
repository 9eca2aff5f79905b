#!/usr/bin/env python3
"""Icons written by zentro-cli must read back the same in ImageMagick and Pillow.

Usage: check_with_readers.py ZENTRO_CLI SAMPLE.bmp
Converts the sample with several choices, then checks with `identify` and with
Pillow that every icon holds the images we listed, at their sizes and depths,
and that the 24-bit images decode to the pixels the previews show.
"""
import os
import struct
import subprocess
import sys
import tempfile

from PIL import Image, IcoImagePlugin

CHOICES = [
    ["--depths", "32,24,8,4", "--sizes", "256,48,32,24,16", "--all-256"],
    ["--depths", "24,8,4", "--opaque"],
    ["--depths", "24", "--sizes", "48,32,16", "--transparent"],
]


def directory(path):
    with open(path, "rb") as f:
        data = f.read()
    reserved, kind, count = struct.unpack_from("<HHH", data, 0)
    assert (reserved, kind) == (0, 1), "not an icon header"
    entries = []
    for k in range(count):
        w, h, _, _, _, bits, size, offset = struct.unpack_from("<BBBBHHII", data, 6 + 16 * k)
        entries.append((w or 256, h or 256, bits, size, offset))
    return entries


def identify(path):
    out = subprocess.run(["identify", "-format", "%w %h\n", path], check=True,
                         capture_output=True, text=True).stdout.split("\n")
    return [tuple(int(v) for v in line.split()) for line in out if line.strip()]


def main(cli, sample):
    failures = 0
    with tempfile.TemporaryDirectory() as tmp:
        for n, choice in enumerate(CHOICES):
            ico = os.path.join(tmp, f"{n}.ico")
            previews = os.path.join(tmp, f"pv{n}")
            subprocess.run([cli, "-f", "-o", ico, "--previews", previews, *choice, sample],
                           check=True, capture_output=True)
            entries = directory(ico)

            seen = identify(ico)
            if seen != [(w, h) for w, h, *_ in entries]:
                print(f"{choice}: ImageMagick sees {seen}, we wrote {entries}")
                failures += 1

            icon = IcoImagePlugin.IcoFile(open(ico, "rb"))
            if len(icon.entry) != len(entries):
                print(f"{choice}: Pillow sees {len(icon.entry)} images, we wrote {len(entries)}")
                failures += 1
            # Pillow keeps its own order of the images; find each by its offset.
            offsets = [e["offset"] for e in icon.entry]
            for k, (w, h, bits, _, offset) in enumerate(entries):
                index = offsets.index(offset)
                header = icon.entry[index]
                if (header["width"], header["height"], header["bpp"]) != (w, h, bits):
                    print(f"{choice}: image {k} reads as {header}")
                    failures += 1
                if bits != 24:
                    continue
                decoded = icon.frame(index).convert("RGBA")
                preview = Image.open(os.path.join(previews, f"{k:02d}.bmp")).convert("RGB")
                for y in range(h):
                    for x in range(w):
                        r, g, b, a = decoded.getpixel((x, y))
                        expected = preview.getpixel((x, y))
                        # Transparent pixels show white in the preview.
                        got = (r, g, b) if a == 255 else (255, 255, 255)
                        if got != expected:
                            print(f"{choice}: image {k} pixel {(x, y)} is {got}, preview {expected}")
                            failures += 1
                            break
                    else:
                        continue
                    break
            print(f"{choice}: {len(entries)} images checked")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1], sys.argv[2]))
