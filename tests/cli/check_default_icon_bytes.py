#!/usr/bin/env python3
"""The default icon of a large logo with alpha is no larger than ImageMagick's icon
of the same picture at the same sizes (its PNG for 256, BMP below, as ours).
Usage: check_default_icon_bytes.py ZENTRO_CLI RSVG_CONVERT LOGO.svg"""
import os
import shutil
import subprocess
import sys
import tempfile


def main(cli, rsvg, svg):
    convert = shutil.which("convert")
    if convert is None:
        print("ImageMagick missing (tools/setup.sh installs it)")
        return 1
    with tempfile.TemporaryDirectory() as tmp:
        # A raster, as people hand one over: the logo drawn at 1024 with its alpha.
        logo = os.path.join(tmp, "logo.png")
        subprocess.run([rsvg, "-w", "1024", "-h", "1024", "-o", logo, svg], check=True)
        ours = os.path.join(tmp, "ours.ico")
        listing = subprocess.run([cli, "-o", ours, logo], stdout=subprocess.PIPE, text=True, check=True).stdout
        sizes = [line.split()[1].split("x")[0] for line in listing.splitlines()[1:]]
        theirs = os.path.join(tmp, "theirs.ico")
        subprocess.run([convert, logo, "-define", "icon:auto-resize=" + ",".join(sizes), theirs], check=True)
        print(f"sizes {','.join(sizes)}: ours {os.path.getsize(ours)} bytes, ImageMagick's {os.path.getsize(theirs)}")
        if sizes != ["256", "48", "32", "16"] or os.path.getsize(ours) > os.path.getsize(theirs):
            print("FAILED: the default icon should hold 256, 48, 32 and 16 and be no larger than ImageMagick's")
            return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:]))
