#!/usr/bin/env python3
"""Packs the Windows build as a ZIP with CPack and checks that it holds the
cross-built zentro-cli.exe and zentro.exe with their resources, the README's
Windows section and the licence of every picture library linked in; prints
the size of each program as packed.

Usage: check_windows_package.py WINDOWS_BUILD_DIR
"""
import glob
import os
import subprocess
import sys
import zipfile

build = sys.argv[1]
for old in glob.glob(os.path.join(build, "Zentro-*.zip")):
    os.remove(old)
subprocess.run(["cpack", "-G", "ZIP"], cwd=build, check=True, stdout=subprocess.DEVNULL)
(package,) = glob.glob(os.path.join(build, "Zentro-*-win64.zip"))
with zipfile.ZipFile(package) as archive:
    names = [n for n in archive.namelist() if not n.endswith("/")]
    exes = [n for n in names if n.endswith(("/bin/zentro-cli.exe", "/bin/zentro.exe"))]
    assert len(exes) == 2, names
    readme = archive.read(next(n for n in names if n.endswith("/README-Windows.txt"))).decode()
    assert "zentro-cli.exe" in readme and "SVG" in readme, readme
    licences = {os.path.basename(n).split(".")[0] for n in names if "/licences/" in n}
    assert {"libpng", "libjpeg-turbo", "libwebp", "giflib", "libdeflate", "zlib"} <= licences, names
    sources = archive.read(next(n for n in names if n.endswith("/licences/debian-sources.txt"))).decode().split()
    assert sources[0::2] == ["libpng1.6", "libjpeg-turbo", "libwebp", "giflib", "libdeflate"], sources
    for exe in exes:
        packed = os.path.join(build, "packed-" + os.path.basename(exe))
        with open(packed, "wb") as f:
            f.write(archive.read(exe))
        print(f"{os.path.basename(exe)}: {os.path.getsize(packed)} bytes")
        subprocess.run([sys.executable, os.path.join(os.path.dirname(__file__), "..", "..", "tools",
                                                     "check_windows_resources.py"), packed], check=True)
print(f"{os.path.basename(package)}: {', '.join(names)}")
