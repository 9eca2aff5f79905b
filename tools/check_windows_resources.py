#!/usr/bin/env python3
"""Finds the Windows resources in a PE executable and checks them: icon 128 as
an icon group, the version (1, 5, 0, 1) with its Chinese file description and
internal name, and the manifest that names Zentro.exe and asks for common
controls 6.0.0.0.

Usage: check_windows_resources.py PROGRAM.exe
"""
import struct
import sys
import xml.etree.ElementTree as ElementTree

RT_ICON, RT_GROUP_ICON, RT_VERSION, RT_MANIFEST = 3, 14, 16, 24


def sections(pe):
    (offset,) = struct.unpack_from("<I", pe, 0x3C)
    assert pe[offset:offset + 4] == b"PE\0\0", "not a PE file"
    count, _, _, _, optional_size = struct.unpack_from("<HIIIH", pe, offset + 6)
    table = offset + 24 + optional_size
    for k in range(count):
        name, vsize, vaddr, rsize, raw = struct.unpack_from("<8sIIII", pe, table + 40 * k)
        yield name.rstrip(b"\0"), vaddr, raw, rsize


def resources(pe):
    """{(type, name): bytes} from the .rsrc section, first language of each."""
    rsrc = next((s for s in sections(pe) if s[0] == b".rsrc"), None)
    assert rsrc, "no .rsrc section: the resource script was not compiled in"
    _, vaddr, raw, _ = rsrc

    def entries(at):
        named, ids = struct.unpack_from("<HH", pe, raw + at + 12)
        for k in range(named + ids):
            ident, target = struct.unpack_from("<II", pe, raw + at + 16 + 8 * k)
            yield ident, target

    found = {}
    for kind, to_names in entries(0):
        for name, to_langs in entries(to_names & 0x7FFFFFFF):
            _, leaf = next(entries(to_langs & 0x7FFFFFFF))
            data_rva, size = struct.unpack_from("<II", pe, raw + leaf)
            found[(kind, name)] = pe[raw + data_rva - vaddr:raw + data_rva - vaddr + size]
    return found


def main():
    with open(sys.argv[1], "rb") as f:
        pe = f.read()
    found = resources(pe)

    group = found.get((RT_GROUP_ICON, 128))
    assert group, f"no icon 128 (have {sorted(found)})"
    _, kind, count = struct.unpack_from("<HHH", group, 0)
    sizes = [group[6 + 14 * k] or 256 for k in range(count)]
    assert kind == 1 and sorted(sizes) == [16, 32, 48], sizes
    icons = [key for key in found if key[0] == RT_ICON]
    assert len(icons) == count, icons

    version = found.get((RT_VERSION, 1))
    assert version, "no version resource"
    fixed = version.index(struct.pack("<I", 0xFEEF04BD))
    file_ms, file_ls = struct.unpack_from("<II", version, fixed + 8)
    assert (file_ms >> 16, file_ms & 0xFFFF, file_ls >> 16, file_ls & 0xFFFF) == (1, 5, 0, 1)
    for key, value in (("FileDescription", "转换位图文件变图标"), ("InternalName", "Zentro")):
        wanted = (key + "\0").encode("utf-16-le")
        at = version.index(wanted) + len(wanted)
        at += (4 - at % 4) % 4  # values start on a 32-bit boundary
        stored = version[at:at + 2 * len(value) + 2].decode("utf-16-le")
        assert stored == value + "\0", (key, stored)

    manifest = found.get((RT_MANIFEST, 1))
    assert manifest, "no manifest"
    v1 = "{urn:schemas-microsoft-com:asm.v1}"
    assembly = ElementTree.fromstring(manifest)
    assert assembly.find(v1 + "assemblyIdentity").get("name") == "Zentro.exe"
    needs = [(a.get("name"), a.get("version")) for a in assembly.iter(v1 + "assemblyIdentity")][1:]
    assert needs == [("Microsoft.Windows.Common-Controls", "6.0.0.0")], needs
    print(f"{sys.argv[1]}: icon 128 ({', '.join(map(str, sorted(sizes)))} px), version 1.5.0.1, "
          f"FileDescription and InternalName, manifest for Zentro.exe with common controls 6.0.0.0")


if __name__ == "__main__":
    main()
