#!/usr/bin/env python3
"""Times the command line first: zentro-cli's 20-image job (four depths, five sizes,
every kind keeping its 256 x 256 image) on keyed 24-bit BMPs of 256, 1024 and 4096
pixels a side, read by the default reader and, beside it, by --classic (wall and
system time, peak memory, minor page faults). Then zentro-bench's stages of the same
job. Then Pillow and ImageMagick making their five-size icon of the same 4096 x 4096
file in the same run, with our time and peak memory as ratios to theirs; the same
for a 4096 x 4096 BMP v5 with alpha as ImageMagick writes it, a 4096 x 4096
progressive JPEG, and an RGBA PNG of that picture (its key colour made clear, with
soft edges), with the share of our job that decoding the PNG takes. Then the bytes
of the sample's 256 x 256 image as the PNG in our icon and as Pillow and ImageMagick
compress the same pixels. Then the batch case: 200 keyed 256 x 256 pictures, each
process converting them all (zentro-cli with its default job over the folder,
Pillow's four-size save in one Python process, ImageMagick's mogrify), and
zentro-cli's cost a picture when it has one core, its default job beside --classic's. Last, a logo SVG drawn at each
size, against ImageMagick's icon of it and its single render. And the bytes of the
default icon of a few pictures (keyed, with alpha, a 1024 logo, a photo) beside
ImageMagick's and Pillow's icons of them at the same sizes; and every platform's
icons of it (zentro-cli --set all) against the chain users run today: rsvg-convert
once per size, ImageMagick for the two .ico files and Pillow for the .icns. It
measures; it asserts nothing.

Usage: bench/compare.py [BUILD_DIR] [--repeat N]      (BUILD_DIR defaults to build)
"""
import argparse
import os
import shutil
import struct
import subprocess
import sys
import tempfile
import time

SIDE = 4096
PILLOW = ("from PIL import Image; import sys; "
          "Image.open(sys.argv[1]).save(sys.argv[2], sizes=[(256, 256), (48, 48), (32, 32), (24, 24), (16, 16)])")

# The key colour of the bench picture becomes alpha 0, blurred into soft edges.
MAKE_PNG = ("from PIL import Image, ImageChops, ImageFilter; import sys; "
            "rgb = Image.open(sys.argv[1]).convert('RGB'); "
            "key = ImageChops.difference(rgb, Image.new('RGB', rgb.size, (255, 0, 255))).convert('L'); "
            "rgb.putalpha(key.point(lambda v: 255 if v else 0).filter(ImageFilter.GaussianBlur(2))); "
            "rgb.save(sys.argv[2])")


# zentro-bench's job, as a command line.
JOB = ["--depths", "32,24,8,4", "--sizes", "256,48,32,24,16", "--all-256", "-f"]

PROGRESSIVE_JPEG = ("from PIL import Image; import sys; "
                    "Image.open(sys.argv[1]).convert('RGB').save(sys.argv[2], quality=90, progressive=True)")

BATCH_COUNT = 200
BATCH_SIDE = 256
PILLOW_BATCH = ("from PIL import Image; import os, sys\n"
                "for name in sorted(os.listdir(sys.argv[1])):\n"
                "    Image.open(os.path.join(sys.argv[1], name)).save(\n"
                "        os.path.join(sys.argv[2], name[:-4] + '.ico'), sizes=[(256, 256), (48, 48), (32, 32), (16, 16)])")


def magick(program):
    """ImageMagick's own program, Debian's before any other on the PATH."""
    return shutil.which(program, path="/usr/bin") or shutil.which(program)


def one_core():
    """Keeps the calling process (a child about to start) on one core."""
    os.sched_setaffinity(0, {min(os.sched_getaffinity(0))})


def measure(command, repeat, before=None, cpu=False, setup=None):
    """Best wall time (ms) and largest peak resident memory (MB) of `repeat` runs;
    with `cpu`, also the best processor time (user and system, ms). `before` runs
    ahead of each run, untimed; `setup` in the child before it starts the command."""
    best, peak, best_cpu = None, 0.0, None
    for _ in range(repeat):
        if before:
            before()
        wall, usage = run_once(command, setup)
        best = wall if best is None else min(best, wall)
        peak = max(peak, usage.ru_maxrss / 1024)
        used = (usage.ru_utime + usage.ru_stime) * 1000
        best_cpu = used if best_cpu is None else min(best_cpu, used)
    return (best, peak, best_cpu) if cpu else (best, peak)


def run_once(command, setup=None):
    """Wall ms and the child's resource usage of one run; `setup` runs in the child
    before it starts the command."""
    start = time.perf_counter()
    process = subprocess.Popen(command, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, preexec_fn=setup)
    _, status, usage = os.wait4(process.pid, 0)
    wall = (time.perf_counter() - start) * 1000
    if os.waitstatus_to_exitcode(status) != 0:
        raise RuntimeError("failed: " + " ".join(command))
    return wall, usage


def readers_side_by_side(cli, folder, repeat):
    """The default reader against --classic on each source, runs interleaved, best of `repeat`."""
    print(f"zentro-cli, 20 images, default reader and --classic (runs interleaved, best of {repeat}):")
    print(f"{'source':14} {'reader':9} {'wall ms':>8} {'user ms':>8} {'sys ms':>7} {'peak MB':>8} {'minflt':>7}"
          f"   {'wall / classic':>14}")
    results = {}
    for side in (256, 1024, SIDE):
        source = os.path.join(folder, f"source-{side}.bmp")
        icon = os.path.join(folder, f"cli-{side}.ico")
        best = {"default": None, "classic": None}
        for _ in range(repeat):
            for reader, extra in (("default", []), ("classic", ["--classic"])):
                wall, usage = run_once([cli] + JOB + extra + ["-o", icon, source])
                row = (wall, usage.ru_utime * 1000, usage.ru_stime * 1000, usage.ru_maxrss / 1024, usage.ru_minflt)
                old = best[reader]
                best[reader] = row if old is None else tuple(min(a, b) for a, b in zip(old, row))
        for reader in ("default", "classic"):
            wall, user, system, peak, faults = best[reader]
            ratio = f"{wall / best['classic'][0]:14.2f}" if reader == "default" else ""
            print(f"{side}x{side:<9} {reader:9} {wall:8.1f} {user:8.1f} {system:7.1f} {peak:8.1f} {faults:7d}   {ratio}")
        results[side] = best["default"]
    return results


def write_keyed_bmp(path, side, seed):
    """A 24-bit BMP: a magenta background (every corner keyed) around a shaded disc."""
    row_size = (3 * side + 3) // 4 * 4
    header = b"BM" + struct.pack("<IHHI", 54 + row_size * side, 0, 0, 54)
    header += struct.pack("<IiiHHIIiiII", 40, side, side, 1, 24, 0, row_size * side, 0, 0, 0, 0)
    centre, radius = (side - 1) / 2, 0.45 * side
    rows = []
    for y in range(side):
        row = bytearray(b"\xff\x00\xff" * side) + bytes(row_size - 3 * side)
        dy = y - centre
        half = (radius * radius - dy * dy) ** 0.5 if abs(dy) < radius else -1
        for x in range(max(0, int(centre - half) + 1), min(side, int(centre + half) + 1)):
            row[3 * x:3 * x + 3] = bytes(((x * 3 + seed * 7) % 256, (y * 2 + seed * 13) % 256, (x + y + seed) % 256))
        rows.append(bytes(row))
    with open(path, "wb") as out:
        out.write(header + b"".join(rows))


def batch_case(cli, folder, repeat):
    pictures = os.path.join(folder, "batch")
    os.makedirs(pictures)
    for n in range(BATCH_COUNT):
        write_keyed_bmp(os.path.join(pictures, f"p{n:03}.bmp"), BATCH_SIDE, n)
    outputs = os.path.join(folder, "batch-out")

    def fresh_outputs():
        shutil.rmtree(outputs, ignore_errors=True)
        os.makedirs(outputs)

    runs = [("zentro", [cli, "--output-dir", outputs, pictures])]
    if pillow_available():
        runs.append(("Pillow", ["/usr/bin/python3", "-c", PILLOW_BATCH, pictures, outputs]))
    mogrify = magick("mogrify")
    if mogrify:
        runs.append(("ImageMagick", [mogrify, "-path", outputs, "-format", "ico", "-define",
                                     "icon:auto-resize=256,48,32,16"] +
                     [os.path.join(pictures, name) for name in sorted(os.listdir(pictures))]))
    print(f"\n{BATCH_COUNT} keyed {BATCH_SIDE}x{BATCH_SIDE} pictures, one process each (best of {repeat}):")
    print(f"{'':12} {'wall ms':>9} {'cpu ms':>9} {'peak MB':>8}   {'our time':>9} {'our cpu':>9}")
    ours = None
    for name, command in runs:
        wall, peak, cpu = measure(command, repeat, fresh_outputs, cpu=True)
        if ours is None:
            ours = (wall, cpu)
            print(f"{name:12} {wall:9.1f} {cpu:9.1f} {peak:8.1f}   (default job: 4 images each)")
        else:
            print(f"{name:12} {wall:9.1f} {cpu:9.1f} {peak:8.1f}   {ours[0] / wall:8.3f}x {ours[1] / cpu:8.3f}x")
    # What one picture costs on one core, everything counted: start, reading, writing;
    # today's default job beside the classic one (ten images each, no PNG), runs interleaved.
    jobs = {"default job": [], "--classic": ["--classic"]}
    best = {}
    for _ in range(repeat):
        for name, extra in jobs.items():
            wall, _, cpu = measure([cli, "-j", "1"] + extra + ["--output-dir", outputs, pictures], 1, fresh_outputs,
                                   cpu=True, setup=one_core)
            old = best.get(name, (wall, cpu))
            best[name] = (min(old[0], wall), min(old[1], cpu))
    print("zentro on one core (-j 1), a picture:")
    for name, (wall, cpu) in best.items():
        print(f"  {name:12} {wall / BATCH_COUNT:5.2f} ms wall {cpu / BATCH_COUNT:5.2f} ms CPU"
              f"   {cpu / best['--classic'][1]:5.2f}x the classic job's CPU")


def svg_case(cli, folder, repeat):
    """The bundled logo SVG: zentro-cli drawing it afresh at each size (its default job, and
    Windows' sizes stored as PNG) against ImageMagick's icon of it and against
    ImageMagick's single render of it to PNG."""
    logo = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "res", "sample", "logo.svg")
    icon = os.path.join(folder, "logo.ico")
    runs = [("zentro", [cli, "-f", "-o", icon, logo], "default job"),
            ("zentro", [cli, "-f", "--sizes", "windows", "--png", "all", "-o", icon, logo],
             "--sizes windows --png all")]
    convert = magick("convert")
    if convert:
        runs.append(("ImageMagick", [convert, logo, "-define", "icon:auto-resize=256,48,32,16", icon],
                     "icon:auto-resize=256,48,32,16"))
        runs.append(("ImageMagick", [convert, logo, os.path.join(folder, "logo.png")], "one render to PNG"))
    print(f"\nA logo SVG, drawn at each size (best of {repeat}):")
    print(f"{'':12} {'wall ms':>9} {'cpu ms':>9} {'peak MB':>8}")
    for name, command, what in runs:
        wall, peak, cpu = measure(command, repeat, cpu=True)
        print(f"{name:12} {wall:9.1f} {cpu:9.1f} {peak:8.1f}   {what}")


# What --set all writes, made the way the tools of the field make it: one render per
# size by rsvg-convert (the apple-touch icon drawn on white), the .ico files by
# ImageMagick from those renders, the .icns by Pillow from them.
SET_CHAIN = r"""
set -e
svg=$1; out=$2
mkdir -p "$out"
for s in 16 20 22 24 32 40 48 64 96 128 192 256 512 1024; do rsvg-convert -w $s -h $s -o "$out/r$s.png" "$svg"; done
rsvg-convert -w 180 -h 180 -b '#ffffff' -o "$out/apple-touch-icon.png" "$svg"
for s in 16 22 24 32 48 64 128 256 512; do mkdir -p "$out/hicolor/${s}x$s/apps"; cp "$out/r$s.png" "$out/hicolor/${s}x$s/apps/logo.png"; done
cp "$out/r96.png" "$out/favicon-96x96.png"
cp "$out/r192.png" "$out/web-app-manifest-192x192.png"; cp "$out/r512.png" "$out/web-app-manifest-512x512.png"
cp "$svg" "$out/favicon.svg"
"$3" "$out"/r{256,96,64,48,40,32,24,20,16}.png "$out/logo.ico"
"$3" "$out"/r{48,32,16}.png "$out/favicon.ico"
/usr/bin/python3 -c 'import sys; from PIL import Image
d = sys.argv[1]
big = Image.open(d + "/r1024.png")
big.save(d + "/logo.icns", append_images=[Image.open(d + "/r%d.png" % s) for s in (16, 32, 64, 128, 256, 512)])' "$out"
"""


def set_case(cli, folder, repeat):
    """Every platform's icons of the bundled logo: zentro-cli --set all against the chain of SET_CHAIN."""
    logo = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "res", "sample", "logo.svg")
    ours = os.path.join(folder, "set-ours")
    theirs = os.path.join(folder, "set-chain")
    runs = [("zentro", [cli, "--set", "all", "-f", "-o", ours, logo], "--set all: 20 files, 15 sizes drawn once")]
    convert = magick("convert")
    if convert and shutil.which("rsvg-convert") and pillow_available():
        runs.append(("chain", ["bash", "-c", SET_CHAIN, "chain", logo, theirs, convert],
                     "15 rsvg-convert runs, ImageMagick twice, Pillow once"))
    print(f"\nEvery platform's icons of the logo SVG (best of {repeat}):")
    print(f"{'':12} {'wall ms':>9} {'cpu ms':>9} {'peak MB':>8}   {'our time':>9} {'our cpu':>9}")
    mine = None
    for name, command, what in runs:
        wall, peak, cpu = measure(command, repeat, cpu=True)
        if mine is None:
            mine = (wall, cpu)
            print(f"{name:12} {wall:9.1f} {cpu:9.1f} {peak:8.1f}   {'':9} {'':9}   {what}")
        else:
            print(f"{name:12} {wall:9.1f} {cpu:9.1f} {peak:8.1f}   {mine[0] / wall:8.3f}x {mine[1] / cpu:8.3f}x   {what}")
    for name, path in (("zentro", ours), ("chain", theirs)):
        if os.path.isdir(path):
            sizes = {f: os.path.getsize(os.path.join(path, f)) for f in ("logo.ico", "logo.icns", "favicon.ico")}
            print(f"{name:12} bytes: " + ", ".join(f"{f} {n}" for f, n in sizes.items()))


def pillow_available():
    return subprocess.run(["/usr/bin/python3", "-c", "import PIL"], stderr=subprocess.DEVNULL).returncode == 0


def our_row(output, name):
    """The fields of zentro-bench's row `name`, or None when it is missing or failed."""
    for line in output.splitlines():
        fields = line.split()
        if fields and fields[0] == name and fields[1] != "failed":
            return [fields[0]] + [float(f) for f in fields[1:]]
    return None


def compare(title, ours, peers, repeat):
    """Prints our wall time and peak memory (a (wall, peak) pair) beside each peer's, measured now."""
    print(f"\n{title} (best of {repeat}):")
    print(f"{'':12} {'wall ms':>9} {'peak MB':>8}   {'our time':>9} {'our memory':>11}")
    if ours:
        print(f"{'zentro':12} {ours[0]:9.1f} {ours[1]:8.1f}   (20 images: 4 depths x 5 sizes)")
    for name, command in peers:
        wall, peak = measure(command, repeat)
        if ours:
            print(f"{name:12} {wall:9.1f} {peak:8.1f}   {ours[0] / wall:8.3f}x {ours[1] / peak:10.3f}x")
        else:
            print(f"{name:12} {wall:9.1f} {peak:8.1f}")


def five_size_peers(source, folder, name):
    """Pillow's and ImageMagick's five-size icon of `source`, as far as they are installed."""
    peers = []
    if pillow_available():
        peers.append(("Pillow", ["/usr/bin/python3", "-c", PILLOW, source, os.path.join(folder, name + "-pillow.ico")]))
    convert = magick("convert")
    if convert:
        peers.append(("ImageMagick", [convert, source, "-define", "icon:auto-resize=256,48,32,24,16",
                                      os.path.join(folder, name + "-magick.ico")]))
    return peers


def versus_peers(cli, folder, source, title, repeat):
    """The command line's 20-image job on `source` against Pillow and ImageMagick on the same file."""
    wall, peak = measure([cli] + JOB + ["-o", os.path.join(folder, "peer-job.ico"), source], repeat)
    compare(title, (wall, peak), five_size_peers(source, folder, os.path.basename(source)), repeat)


def compare_png(bench, folder, bmp, repeat):
    """The whole job on an RGBA PNG against Pillow's five-size save of the same file."""
    png = os.path.join(folder, f"rgba-{SIDE}.png")
    subprocess.run(["/usr/bin/python3", "-c", MAKE_PNG, bmp, png], check=True)
    run = subprocess.run([bench, "--repeat", str(repeat), "--keep", folder, "--picture", png],
                         stdout=subprocess.PIPE, text=True)
    print()
    print(run.stdout, end="")
    ours = our_row(run.stdout, os.path.basename(png))
    if ours:
        print(f"decoding the PNG: {ours[5]:.1f} ms, {100 * ours[5] / ours[1]:.0f} % of the job")
        ours = (ours[1], ours[3])
    else:
        print("zentro-bench could not read the PNG (built without the codecs?)")
    peers = [("Pillow", ["/usr/bin/python3", "-c", PILLOW, png, os.path.join(folder, "pillow-png.ico")])]
    compare(f"{SIDE}x{SIDE} RGBA PNG, five sizes", ours, peers, repeat)
    return png


def png_bytes(build, folder):
    """Bytes of the 256 x 256 image: PNG in our icon, and the same pixels saved by Pillow and ImageMagick."""
    cli = os.path.join(build, "cli", "zentro-cli")
    sample = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "res", "sample", "sample.bmp")
    icon = os.path.join(folder, "png.ico")
    subprocess.run([cli, "-f", "--classic", "--png", "256", "--sizes", "256", "--depths", "32", "-o", icon, sample],
                   stdout=subprocess.DEVNULL, check=True)
    # Unpacked with the icon's own encoder, so the file holds the very bytes of the icon's image.
    unpacked = os.path.join(folder, "unpacked")
    subprocess.run([cli, "-f", "--extract", unpacked, icon], stdout=subprocess.DEVNULL, check=True)
    ours = os.path.join(unpacked, "00-256x256-32.png")
    print("\nThe sample's 256x256 image as PNG (same RGBA pixels), bytes:")
    print(f"{'zentro':12} {os.path.getsize(ours):9d}   (--classic --png 256: zlib level 9)")
    if pillow_available():
        for name, options in (("Pillow", ""), ("Pillow -O", ", optimize=True")):
            saved = os.path.join(folder, "pillow.png")
            subprocess.run(["/usr/bin/python3", "-c", "from PIL import Image; import sys; "
                            f"Image.open(sys.argv[1]).save(sys.argv[2]{options})", ours, saved], check=True)
            print(f"{name:12} {os.path.getsize(saved):9d}   {'(optimize=True)' if options else '(default save)'}")
    convert = magick("convert")
    if convert:
        saved = os.path.join(folder, "magick.png")
        subprocess.run([convert, ours, saved], check=True)
        print(f"{'ImageMagick':12} {os.path.getsize(saved):9d}   (default convert)")


def default_icon_bytes(cli, folder):
    """Bytes of the default icon of a few pictures, beside ImageMagick's and Pillow's
    icons of the same pictures at the same sizes."""
    here = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "res", "sample")
    pictures = [("sample.bmp (keyed)", os.path.join(here, "sample.bmp")),
                ("sample-rgba.png", os.path.join(here, "sample-rgba.png"))]
    rsvg = shutil.which("rsvg-convert")
    if rsvg:
        logo = os.path.join(folder, "logo-1024.png")
        subprocess.run([rsvg, "-w", "1024", "-h", "1024", "-o", logo, os.path.join(here, "logo.svg")], check=True)
        pictures.append(("logo 1024 alpha", logo))
    if pillow_available():
        photo = os.path.join(folder, "photo-720x477.jpg")
        subprocess.run(["/usr/bin/python3", "-c", "from PIL import Image; import sys; "
                        "Image.open(sys.argv[1]).convert('RGB').resize((720, 477)).save(sys.argv[2], quality=90)",
                        os.path.join(here, "sample.bmp"), photo], check=True)
        pictures.append(("photo 720x477", photo))
    convert = magick("convert")
    print("\nThe default icon's bytes, and the peers' icons of the same pictures at the same sizes:")
    print(f"{'picture':20} {'sizes':16} {'zentro':>9} {'ImageMagick':>12} {'Pillow':>9}")
    for name, path in pictures:
        icon = os.path.join(folder, "default.ico")
        listing = subprocess.run([cli, "-f", "-o", icon, path], stdout=subprocess.PIPE, stderr=subprocess.DEVNULL,
                                 text=True, check=True).stdout
        sizes = [line.split()[1].split("x")[0] for line in listing.splitlines()[1:]]
        row = f"{name:20} {','.join(sizes):16} {os.path.getsize(icon):9d}"
        if convert:
            theirs = os.path.join(folder, "magick.ico")
            subprocess.run([convert, path, "-define", "icon:auto-resize=" + ",".join(sizes), theirs], check=True)
            row += f" {os.path.getsize(theirs):12d}"
        else:
            row += f" {'-':>12}"
        if pillow_available():
            theirs = os.path.join(folder, "pillow.ico")
            subprocess.run(["/usr/bin/python3", "-c", "from PIL import Image; import sys; "
                            "Image.open(sys.argv[1]).save(sys.argv[2], sizes=[(int(s), int(s)) for s in sys.argv[3:]])",
                            path, theirs] + sizes, check=True)
            row += f" {os.path.getsize(theirs):9d}"
        print(row)


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("build", nargs="?", default="build")
    parser.add_argument("--repeat", type=int, default=3)
    args = parser.parse_args()

    bench = os.path.join(args.build, "bench", "zentro-bench")
    cli = os.path.join(args.build, "cli", "zentro-cli")
    folder = tempfile.mkdtemp(prefix="zentro-compare-")
    try:
        run = subprocess.run([bench, "--repeat", str(args.repeat), "--keep", folder, "256", "1024", str(SIDE)],
                             stdout=subprocess.PIPE, text=True, check=True)
        ours = readers_side_by_side(cli, folder, args.repeat)
        print("\nzentro-bench, the same job in stages (default reader):")
        print(run.stdout, end="")
        default_job = subprocess.run([bench, "--repeat", str(args.repeat), "--default-job", str(BATCH_SIDE)],
                                     stdout=subprocess.PIPE, text=True, check=True)
        print("The command line's default job on a keyed picture:")
        print(default_job.stdout.splitlines()[-1])
        source = os.path.join(folder, f"source-{SIDE}.bmp")

        peers = five_size_peers(source, folder, "bmp")
        if not peers:
            print("\nNeither Pillow nor ImageMagick is installed: nothing to compare with.")
        compare(f"{SIDE}x{SIDE} BMP, five sizes", (ours[SIDE][0], ours[SIDE][3]), peers, args.repeat)
        if pillow_available():
            png = compare_png(bench, folder, source, args.repeat)
            convert = magick("convert")
            if convert:
                v5 = os.path.join(folder, f"alpha-{SIDE}.bmp")
                subprocess.run([convert, png, v5], check=True)
                versus_peers(cli, folder, v5, f"{SIDE}x{SIDE} BMP v5 with alpha (written by ImageMagick)", args.repeat)
            jpeg = os.path.join(folder, f"progressive-{SIDE}.jpg")
            subprocess.run(["/usr/bin/python3", "-c", PROGRESSIVE_JPEG, source, jpeg], check=True)
            versus_peers(cli, folder, jpeg, f"{SIDE}x{SIDE} progressive JPEG", args.repeat)
        png_bytes(args.build, folder)
        default_icon_bytes(cli, folder)
        batch_case(cli, folder, args.repeat)
        svg_case(cli, folder, args.repeat)
        set_case(cli, folder, args.repeat)
    finally:
        shutil.rmtree(folder, ignore_errors=True)
    return 0


if __name__ == "__main__":
    sys.exit(main())
