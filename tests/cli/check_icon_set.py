#!/usr/bin/env python3
"""zentro-cli --set read by others: Pillow opens every file; the .icns is parsed
here (element types, lengths, PackBits); every image equals librsvg's drawing of
the SVG at its size; the manifest is JSON and every link of the tags names a file
written. Then a 300 x 300 raster, which must leave out what is larger, and the
documents of a compressed SVG.

Usage: check_icon_set.py ZENTRO_CLI RSVG_CONVERT LOGO.svg
"""
import gzip
import html.parser
import io
import json
import os
import shutil
import struct
import subprocess
import sys
import tempfile

from PIL import Image, IcoImagePlugin

FAILURES = []
PASSED = [0]
WEB = ["favicon.ico", "favicon.svg", "favicon-96x96.png", "apple-touch-icon.png", "web-app-manifest-192x192.png",
       "web-app-manifest-512x512.png", "site.webmanifest", "favicon.html"]
HICOLOR = [16, 22, 24, 32, 48, 64, 128, 256, 512]
ICNS = [("is32", 16), ("s8mk", 16), ("il32", 32), ("l8mk", 32), ("ic11", 32), ("ic12", 64), ("ic07", 128),
        ("ic13", 256), ("ic08", 256), ("ic14", 512), ("ic09", 512), ("ic10", 1024)]


def check(ok, text):
    if ok:
        PASSED[0] += 1
    else:
        print(text)
        FAILURES.append(text)


def run(args, expect=0):
    result = subprocess.run(args, capture_output=True, text=True)
    check(result.returncode == expect, f"{args}: exit status {result.returncode}, expected {expect}\n{result.stderr}")
    return result


def files_under(folder):
    return sorted(os.path.relpath(os.path.join(root, name), folder)
                  for root, _, names in os.walk(folder) for name in names)


def unpack_bits(data, count):
    """Apple's PackBits, decoded independently of the writer."""
    out, i = bytearray(), 0
    while len(out) < count:
        header = data[i]
        if header < 0x80:
            out += data[i + 1:i + 2 + header]
            i += 2 + header
        else:
            out += bytes([data[i + 1]]) * (header - 0x80 + 3)
            i += 2
    check(i == len(data) and len(out) == count, f"PackBits: {i} of {len(data)} bytes read, {len(out)} of {count} made")
    return bytes(out)


def icns_images(path, largest=1024):
    """Each element's RGBA image, the element types in file order checked against Apple's
    layout (less the elements larger than `largest`)."""
    layout = [(kind, side) for kind, side in ICNS if side <= largest]
    data = open(path, "rb").read()
    check(data[:4] == b"icns" and struct.unpack(">I", data[4:8])[0] == len(data), f"{path}: header")
    elements, at = [], 8
    while at + 8 <= len(data):
        kind, length = data[at:at + 4].decode(), struct.unpack(">I", data[at + 4:at + 8])[0]
        check(length >= 8 and at + length <= len(data), f"{path}: {kind} of {length} bytes at {at}")
        elements.append((kind, data[at + 8:at + length]))
        at += length
    check(at == len(data), f"{path}: {len(data) - at} bytes after the elements")
    check([kind for kind, _ in elements] == [kind for kind, _ in layout], f"{path}: types {[k for k, _ in elements]}")
    found, images = dict(elements), {}
    for kind, side in layout:
        if kind.endswith("32"):
            packed = found[kind]
            check(len(packed) != 3 * side * side, f"{kind}: packed as long as raw")
            rgb = unpack_bits(packed, 3 * side * side)
            mask = found[{"is32": "s8mk", "il32": "l8mk"}[kind]]
            check(len(mask) == side * side, f"{kind}: mask of {len(mask)} bytes")
            n = side * side
            images[kind] = Image.frombytes("RGBA", (side, side), bytes(
                v for p in range(n) for v in (rgb[p], rgb[n + p], rgb[2 * n + p], mask[p])))
        elif not kind.endswith("mk"):
            image = Image.open(io.BytesIO(found[kind]))
            check(image.format == "PNG" and image.size == (side, side), f"{kind}: {image.format} {image.size}")
            images[kind] = image.convert("RGBA")
    return images


class Links(html.parser.HTMLParser):
    def __init__(self):
        super().__init__()
        self.hrefs = []

    def handle_starttag(self, tag, attrs):
        if tag == "link":
            self.hrefs.append(dict(attrs)["href"])


def check_web_texts(out, name):
    manifest = json.load(open(os.path.join(out, "site.webmanifest")))
    check(manifest["name"] == name and manifest["short_name"] == name, f"manifest names {manifest}")
    check(manifest["display"] == "standalone" and manifest["theme_color"] == manifest["background_color"] == "#ffffff",
          f"manifest {manifest}")
    for icon in manifest["icons"]:
        image = Image.open(os.path.join(out, icon["src"].lstrip("/")))
        check(icon["type"] == "image/png" and icon["sizes"] == "{0}x{1}".format(*image.size), f"manifest icon {icon}")
    links = Links()
    links.feed(open(os.path.join(out, "favicon.html")).read())
    check(len(links.hrefs) >= 4, f"tags name {links.hrefs}")
    for href in links.hrefs:
        check(href.startswith("/") and os.path.isfile(os.path.join(out, href[1:])), f"tag names {href}, not written")
    return [icon["src"] for icon in manifest["icons"]], links.hrefs


def svg_case(cli, rsvg, logo, folder):
    out = os.path.join(folder, "all")
    run([cli, "--set", "all", "-o", out, logo])
    expected = ["logo.icns", "logo.ico"] + [f"hicolor/{s}x{s}/apps/logo.png" for s in HICOLOR] + \
        ["hicolor/scalable/apps/logo.svg"] + WEB
    check(files_under(out) == sorted(expected), f"written: {files_under(out)}")
    renders = {}

    def render(side, background=None):
        if (side, background) not in renders:
            extra = ["-b", background] if background else []
            png = subprocess.run([rsvg, "-w", str(side), "-h", str(side)] + extra + [logo], capture_output=True,
                                 check=True).stdout
            renders[side, background] = Image.open(io.BytesIO(png)).convert("RGBA")
        return renders[side, background]

    def same(image, side, what):
        check(image.size == (side, side) and image.tobytes() == render(side).tobytes(), f"{what} is not the drawing")

    for path in files_under(out):
        if path.endswith(".png") and path != "apple-touch-icon.png":
            image = Image.open(os.path.join(out, path))
            check(image.mode == "RGBA", f"{path}: {image.mode}")
            same(image.convert("RGBA"), image.size[0], path)
    for icon, sizes in (("logo.ico", [256, 96, 64, 48, 40, 32, 24, 20, 16]), ("favicon.ico", [48, 32, 16])):
        ico = IcoImagePlugin.IcoFile(open(os.path.join(out, icon), "rb"))
        check([e["width"] for e in ico.entry] == sizes, f"{icon}: sizes {[e['width'] for e in ico.entry]}")
        for n, entry in enumerate(ico.entry):
            data = open(os.path.join(out, icon), "rb").read()
            png = data[entry["offset"]:entry["offset"] + 4] == b"\x89PNG"
            check(entry["bpp"] == 32 and png == (icon == "logo.ico" and entry["width"] == 256), f"{icon} {entry}")
            same(ico.frame(n).convert("RGBA"), entry["width"], f"{icon} at {entry['width']}")
    for kind, image in icns_images(os.path.join(out, "logo.icns")).items():
        same(image, image.size[0], f"icns {kind}")
    pillow = Image.open(os.path.join(out, "logo.icns"))
    for size in pillow.info["sizes"]:
        pillow.size = size
        pillow.load()
        same(pillow.convert("RGBA"), pillow.size[0], f"icns {size} as Pillow reads it")
    # Laid on white: within two steps of librsvg drawing on white, which composes premultiplied
    # from its own unrounded colours.
    touch = Image.open(os.path.join(out, "apple-touch-icon.png"))
    on_white = render(180, "#ffffff")
    check(touch.mode == "RGB" or touch.getextrema()[3] == (255, 255), "apple-touch-icon.png is not opaque")
    worst = max(abs(a - b) for p, q in zip(touch.convert("RGBA").getdata(), on_white.getdata()) for a, b in zip(p, q))
    check(worst <= 2, f"apple-touch-icon.png differs from the drawing on white by up to {worst}")
    for copy in ("favicon.svg", "hicolor/scalable/apps/logo.svg"):
        check(open(os.path.join(out, copy), "rb").read() == open(logo, "rb").read(), f"{copy} is not the document")
    icons, hrefs = check_web_texts(out, "logo")
    check(len(icons) == 2 and len(hrefs) == 5, f"manifest {icons}, tags {hrefs}")


def raster_case(cli, folder):
    """A 300 x 300 picture makes every file but those larger, each named."""
    picture = os.path.join(folder, "disc.png")
    disc = Image.new("RGBA", (300, 300))
    for y in range(300):
        for x in range(300):
            if (x - 150) ** 2 + (y - 150) ** 2 < 140 ** 2:
                disc.putpixel((x, y), (x % 256, y % 256, 128, 255))
    disc.save(picture)
    out = os.path.join(folder, "raster")
    result = run([cli, "--set", "all", "--name", "app", "-o", out, picture])
    left_out = ["hicolor/512x512/apps/app.png", "web-app-manifest-512x512.png"]
    expected = ["app.icns", "app.ico"] + [f"hicolor/{s}x{s}/apps/app.png" for s in HICOLOR if s <= 300] + \
        [name for name in WEB if name not in ("favicon.svg", left_out[1])]
    check(files_under(out) == sorted(expected), f"written from 300 x 300: {files_under(out)}")
    for named in left_out + ["ic14", "ic09", "ic10"]:
        check(named in result.stderr, f"{named} is not named as left out:\n{result.stderr}")
    # The same pixels in every file that holds a size.
    for kind, image in icns_images(os.path.join(out, "app.icns"), 300).items():
        side = image.size[0]
        png = Image.open(os.path.join(out, f"hicolor/{side}x{side}/apps/app.png"))
        check(image.tobytes() == png.convert("RGBA").tobytes(), f"icns {kind} is not hicolor's {side}")
    icons, hrefs = check_web_texts(out, "app")
    check(icons == ["/web-app-manifest-192x192.png"] and "/favicon.svg" not in hrefs, f"{icons} {hrefs}")
    Image.open(os.path.join(out, "app.icns")).load()


def compressed_case(cli, logo, folder):
    """The documents of an .svgz are its text, unpacked."""
    svgz = os.path.join(folder, "logo.svgz")
    with gzip.open(svgz, "wb") as packed:
        packed.write(open(logo, "rb").read())
    out = os.path.join(folder, "svgz")
    run([cli, "--set", "linux,web", "-o", out, svgz])
    for copy in ("favicon.svg", "hicolor/scalable/apps/logo.svg"):
        check(open(os.path.join(out, copy), "rb").read() == open(logo, "rb").read(), f"{copy} of the .svgz")


def main():
    cli, rsvg, logo = sys.argv[1:4]
    folder = tempfile.mkdtemp(prefix="zentro-set-")
    try:
        shutil.copy(logo, os.path.join(folder, "logo.svg"))
        svg_case(cli, rsvg, os.path.join(folder, "logo.svg"), folder)
        raster_case(cli, folder)
        compressed_case(cli, logo, folder)
    finally:
        shutil.rmtree(folder, ignore_errors=True)
    print(f"{PASSED[0]} passed, {len(FAILURES)} failed")
    return 1 if FAILURES else 0


if __name__ == "__main__":
    sys.exit(main())
