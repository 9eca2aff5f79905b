#!/usr/bin/env python3
"""Icons with PNG images and any sizes must read alike in Pillow, ImageMagick and
icotool; --list, --check and --extract must work on ours and on theirs, and name
each fault of broken icons.

Usage: check_icons_with_readers.py ZENTRO_CLI SAMPLE.bmp
"""
import os
import re
import shutil
import struct
import subprocess
import sys
import tempfile

from PIL import Image, IcoImagePlugin

FAILURES = []


def fail(text):
    print(text)
    FAILURES.append(text)


def run(args, expect=0):
    result = subprocess.run(args, capture_output=True, text=True)
    if result.returncode != expect:
        fail(f"{args}: exit status {result.returncode}, expected {expect}\n{result.stdout}{result.stderr}")
    return result.stdout


def directory(path):
    data = open(path, "rb").read()
    count = struct.unpack_from("<H", data, 4)[0]
    entries = []
    for k in range(count):
        w, h, _, _, _, bits, size, offset = struct.unpack_from("<BBBBHHII", data, 6 + 16 * k)
        png = data[offset:offset + 8] == b"\x89PNG\r\n\x1a\n"
        entries.append((w or 256, h or 256, bits, size, offset, png))
    return entries


def pillow_rgba(path, entries):
    """Each entry as Pillow decodes it, found by its offset."""
    icon = IcoImagePlugin.IcoFile(open(path, "rb"))
    offsets = [e["offset"] for e in icon.entry]
    return [icon.frame(offsets.index(offset)).convert("RGBA") for *_, offset, _ in entries]


def check_ours(cli, sample, tmp):
    icons = {}
    for png in ("none", "256", "all"):
        ico = os.path.join(tmp, f"ours-{png}.ico")
        report = run([cli, "-f", "--png", png, "--sizes", "windows", "--depths", "32,8,4", "-o", ico, sample])
        entries = directory(ico)
        icons[png] = entries
        name = f"--png {png}"
        if len(entries) != 25 or {(w, h) for w, h, *_ in entries} != {(s, s) for s in (16, 20, 24, 32, 40, 48, 64, 96, 256)}:
            fail(f"{name}: wrote {entries}")
        pngs = [e for e in entries if e[5]]
        expected = {"none": 0, "256": 1, "all": 9}[png]
        if len(pngs) != expected or any(bits != 32 for _, _, bits, *_ in pngs):
            fail(f"{name}: PNG entries {pngs}")

        sizes = [(w, h) for w, h, *_ in entries]
        seen = run(["identify", "-format", "%w %h\n", ico]).split("\n")
        if [tuple(int(v) for v in line.split()) for line in seen if line] != sizes:
            fail(f"{name}: ImageMagick sees {seen}")
        listed = re.findall(r"--width=(\d+) --height=(\d+) --bit-depth=(\d+)", run(["icotool", "-l", ico]))
        if [(int(w), int(h), int(b)) for w, h, b in listed] != [(w, h, b) for w, h, b, *_ in entries]:
            fail(f"{name}: icotool lists {listed}")
        unpacked = os.path.join(tmp, f"icotool-{png}")
        os.makedirs(unpacked)
        run(["icotool", "-x", "-o", unpacked, ico])
        if len(os.listdir(unpacked)) != len(entries):
            fail(f"{name}: icotool unpacks {sorted(os.listdir(unpacked))}")
        decoded = pillow_rgba(ico, entries)
        if [im.size for im in decoded] != sizes:
            fail(f"{name}: Pillow reads {[im.size for im in decoded]}")

        # --list prints the lines the conversion printed; --check finds nothing.
        if run([cli, "--list", ico]).split("\n")[1:] != report.split("\n")[1:]:
            fail(f"{name}: --list differs from the conversion's report")
        run([cli, "--check", ico])
        # Every image unpacked as Pillow decodes it from the icon (alpha from the
        # AND mask below 32 bits), whatever form it is stored in.
        out = os.path.join(tmp, f"extract-{png}")
        written = run([cli, "--extract", out, ico]).split()
        for k, (w, h, bits, *_ ) in enumerate(entries):
            path = os.path.join(out, f"{k:02d}-{w}x{h}-{bits}.png")
            if path not in written or Image.open(path).convert("RGBA").tobytes() != decoded[k].tobytes():
                fail(f"{name}: {path} is not entry {k} as Pillow reads it")
        icons[png] = decoded
    # A PNG image holds what its BMP form holds, as Pillow decodes each.
    for k, (bmp, png) in enumerate(zip(icons["none"], icons["all"])):
        if bmp.tobytes() != png.tobytes():
            fail(f"entry {k}: the PNG form decodes unlike the BMP form")
    print("ours: 3 icons of 25 images read alike by Pillow, ImageMagick, icotool and --list/--check/--extract")


def check_theirs(cli, sample, tmp):
    source = Image.open(sample).convert("RGBA")
    png16 = os.path.join(tmp, "16.png")
    png256 = os.path.join(tmp, "256.png")
    source.resize((16, 16)).save(png16)
    source.save(png256)
    theirs = {
        "pillow-png.ico": lambda p: source.save(p, sizes=[(16, 16), (32, 32), (48, 48), (256, 256)]),
        "pillow-bmp.ico": lambda p: source.save(p, sizes=[(16, 16), (48, 48)], bitmap_format="bmp"),
        "magick.ico": lambda p: run(["convert", sample, "-define", "icon:auto-resize=256,48,32,16", p]),
        "icotool.ico": lambda p: run(["icotool", "-c", "-o", p, png16, png256]),
        "icotool-png.ico": lambda p: run(["icotool", "-c", "-r", png256, "-o", p, png16]),
    }
    for name, make in theirs.items():
        path = os.path.join(tmp, name)
        make(path)
        run([cli, "--check", path])
        entries = directory(path)
        if len(run([cli, "--list", path]).strip().split("\n")) != 1 + len(entries):
            fail(f"{name}: --list does not list {len(entries)} images")
        out = os.path.join(tmp, name + ".d")
        if len(run([cli, "--extract", out, path]).split()) != len(entries):
            fail(f"{name}: --extract did not unpack {len(entries)} images")
    print(f"theirs: {len(theirs)} icons from Pillow, ImageMagick and icotool pass --check, --list and --extract")


def check_broken(cli, sample, tmp):
    good = os.path.join(tmp, "good.ico")
    run([cli, "-f", "--png", "256", "--sizes", "48,256", "--depths", "32,8", "-o", good, sample])
    data = bytearray(open(good, "rb").read())
    entries = directory(good)
    png_k, png_at = next((k, e[4]) for k, e in enumerate(entries) if e[5])

    def edit(change):
        copy = bytearray(data)
        change(copy)
        return copy

    broken = {
        "fewer than an icon header": data[:5],
        "reserved field is 3": edit(lambda d: struct.pack_into("<H", d, 0, 3)),
        "neither 1 (icon) nor 2": edit(lambda d: struct.pack_into("<H", d, 2, 7)),
        "9999 entries need a directory": edit(lambda d: struct.pack_into("<H", d, 4, 9999)),
        "runs past the end of the file": edit(lambda d: struct.pack_into("<I", d, 6 + 8, 0x7FFFFFFF)),
        "overlaps that of entry": edit(lambda d: struct.pack_into("<I", d, 6 + 16 + 12, entries[0][4] + 8)),
        "the directory says 47x48": edit(lambda d: struct.pack_into("<B", d, 6, 47)),
        "PNG image is 256x256, the directory says 255x256": edit(lambda d: struct.pack_into("<B", d, 6 + 16 * png_k, 255)),
        "PNG image without a complete IHDR": edit(lambda d: struct.pack_into(">I", d, png_at + 8, 12)),
        "bits per pixel, the directory says 4": edit(lambda d: struct.pack_into("<H", d, 6 + 6, 4)),
    }
    for expected, content in broken.items():
        path = os.path.join(tmp, "broken.ico")
        open(path, "wb").write(content)
        report = run([cli, "--check", path], expect=1)
        if expected not in report:
            fail(f"--check does not say '{expected}':\n{report}")
        for args in (["--list"], ["--extract", os.path.join(tmp, "broken.d"), "-f"]):
            status = subprocess.run([cli, *args, path], capture_output=True).returncode
            if status not in (0, 1):
                fail(f"{args} on a broken icon ('{expected}') ended with status {status}")
    print(f"broken: {len(broken)} faults named by --check; --list and --extract end cleanly")


def main(cli, sample):
    if shutil.which("icotool") is None or shutil.which("identify") is None:
        print("icotool or ImageMagick missing (tools/setup.sh installs them)")
        return 1
    with tempfile.TemporaryDirectory() as tmp:
        check_ours(cli, sample, tmp)
        check_theirs(cli, sample, tmp)
        check_broken(cli, sample, tmp)
    return 1 if FAILURES else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1], sys.argv[2]))
