"""What an installed Zentro must hold, and checks of its files, shared by the
install-tree test and the Debian package test."""
import os
import re
import struct
import subprocess
import tempfile
import zlib

from PIL import Image

APP_ID = "com.quorvan.zentro"
HELP_TOPICS = ["Input", "Format", "Sizes", "Preview", "Output"]
ICON_SIZES = [16, 32, 48, 256]


def expected_files():
    """Every file an installation holds, relative to its prefix."""
    files = {
        "bin/zentro",
        "bin/zentro-cli",
        f"share/applications/{APP_ID}.desktop",
        f"share/metainfo/{APP_ID}.metainfo.xml",
        "share/man/man1/zentro.1",
        "share/man/man1/zentro-cli.1",
    }
    files |= {f"share/zentro/help/{topic}.html" for topic in HELP_TOPICS}
    files |= {f"share/icons/hicolor/{n}x{n}/apps/zentro.png" for n in ICON_SIZES}
    return files


def files_under(root):
    found = set()
    for folder, _, names in os.walk(root):
        for name in names:
            found.add(os.path.relpath(os.path.join(folder, name), root))
    return found


def run(args, **kwargs):
    return subprocess.run(args, capture_output=True, text=True, timeout=120, **kwargs)


def check_programs(prefix, sample, reference_cli):
    """The installed programs start, name their version, and convert; the icon is
    byte for byte what the build's own zentro-cli makes."""
    cli = os.path.join(prefix, "bin/zentro-cli")
    version = run([cli, "--version"])
    assert version.returncode == 0 and re.fullmatch(r"zentro-cli \d+(\.\d+)+\n", version.stdout), version
    wizard = run([os.path.join(prefix, "bin/zentro"), "--version"])
    assert wizard.returncode == 0, wizard
    assert wizard.stdout.split()[1] == version.stdout.split()[1], (wizard.stdout, version.stdout)

    with tempfile.TemporaryDirectory() as scratch:
        icons = []
        for name, program in (("installed.ico", cli), ("built.ico", reference_cli)):
            out = os.path.join(scratch, name)
            done = run([program, "--depths", "32,24,8,4", "--all-256", "-o", out, sample])
            assert done.returncode == 0, done
            with open(out, "rb") as f:
                icons.append(f.read())
        reserved, kind, count = struct.unpack_from("<HHH", icons[0], 0)
        assert (reserved, kind, count) == (0, 1, 16), (reserved, kind, count)
        assert icons[0] == icons[1], "the installed zentro-cli writes other bytes than the built one"
        with Image.open(os.path.join(scratch, "installed.ico")) as icon:
            assert (256, 256) in icon.info["sizes"], icon.info["sizes"]
    return version.stdout.split()[1]


def png_chunks(data):
    assert data[:8] == b"\x89PNG\r\n\x1a\n", "no PNG signature"
    chunks, at = [], 8
    while at < len(data):
        length, kind = struct.unpack_from(">I4s", data, at)
        body = data[at + 8:at + 8 + length]
        (crc,) = struct.unpack_from(">I", data, at + 8 + length)
        assert crc == zlib.crc32(kind + body), f"bad CRC in {kind}"
        chunks.append((kind, body))
        at += 12 + length
    assert chunks[0][0] == b"IHDR" and chunks[-1][0] == b"IEND", [c[0] for c in chunks]
    return chunks


def area_average(picture, size):
    """The picture scaled to size x size by area averaging, each channel truncated."""
    width, height = picture.size
    pixels = picture.load()

    def spans(source, target):
        scale = source / target
        result = []
        for t in range(target):
            start, end = t * scale, (t + 1) * scale
            parts = []
            for s in range(int(start), min(source, int(-(-end // 1)))):
                w = min(end, s + 1) - max(start, s)
                if w > 0:
                    parts.append((s, w))
            result.append(parts)
        return result

    xs, ys = spans(width, size), spans(height, size)
    out = Image.new("RGB", (size, size))
    for ty, yparts in enumerate(ys):
        for tx, xparts in enumerate(xs):
            total, acc = 0.0, [0.0, 0.0, 0.0]
            for sy, wy in yparts:
                for sx, wx in xparts:
                    w = wx * wy
                    total += w
                    for c, v in enumerate(pixels[sx, sy]):
                        acc[c] += v * w
            out.putpixel((tx, ty), tuple(int(a / total) for a in acc))
    return out


def check_theme_icon(path, size, picture):
    """A valid PNG of size x size that shows the program's picture the right way up."""
    with open(path, "rb") as f:
        chunks = png_chunks(f.read())
    width, height, depth, colour, _, _, interlace = struct.unpack(">IIBBBBB", chunks[0][1])
    assert (width, height) == (size, size), (path, width, height)
    assert (depth, colour, interlace) == (8, 2, 0), (path, depth, colour, interlace)
    raw = zlib.decompress(b"".join(body for kind, body in chunks if kind == b"IDAT"))
    assert len(raw) == size * (3 * size + 1), path
    with Image.open(path) as png:
        png.load()
        reference = area_average(picture, size)
        worst = max(abs(a - b) for p, q in zip(png.getdata(), reference.getdata()) for a, b in zip(p, q))
        assert worst <= 1, f"{path} differs from the picture by {worst}"


def desktop_entry(path):
    entry = {}
    with open(path, encoding="utf-8") as f:
        lines = [line.rstrip("\n") for line in f if line.strip() and not line.startswith("#")]
    assert lines[0] == "[Desktop Entry]", lines[0]
    for line in lines[1:]:
        key, _, value = line.partition("=")
        entry[key] = value
    return entry


def usage_options(help_text):
    """The option names in the Options section of a --help text."""
    names, inside = [], False
    for line in help_text.splitlines():
        if line.startswith("Options"):
            inside = True
        elif inside and not line.strip():
            break
        elif inside and line.lstrip().startswith("-"):
            head = line.strip().split("  ")[0]
            names += [word.rstrip(",") for word in head.split() if word.startswith("-")]
    return names


def check_manual_page(path, program):
    """man renders the page without a warning, and it explains every option of --help."""
    env = dict(os.environ, MANWIDTH="80", LC_ALL="C.UTF-8")
    shown = run(["man", "--warnings", "-l", path], env=env)
    assert shown.returncode == 0 and shown.stderr == "", (path, shown.stderr)
    text = shown.stdout
    name = os.path.basename(program)
    assert re.search(rf"^NAME\n\s+{re.escape(name)} - ", text, re.M), f"{path}: no NAME line for {name}"
    for section in ("SYNOPSIS", "DESCRIPTION", "OPTIONS", "EXAMPLES"):
        assert re.search(rf"^{section}$", text, re.M), f"{path}: no {section}"
    described = re.search(r"^OPTIONS\n(.*?)^\S", text, re.M | re.S).group(1)
    options = usage_options(run([program, "--help"]).stdout)
    assert options, f"{program} --help lists no options"
    for option in options:
        # Each option heads its own paragraph: "       -o, --output FILE".
        assert re.search(rf"^ {{7}}(\S+, )?{re.escape(option)}(,| |$)", described, re.M), f"{path} misses {option}"
