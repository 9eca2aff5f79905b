#!/usr/bin/env python3
"""`cmake --install` into a scratch prefix puts every file where it belongs,
and each one is sound.

Usage: check_install_tree.py BUILD_DIR SOURCE_DIR
"""
import filecmp
import os
import sys
import tempfile
import xml.etree.ElementTree as ElementTree

from PIL import Image

import installed


def check_desktop_entry(prefix):
    path = os.path.join(prefix, f"share/applications/{installed.APP_ID}.desktop")
    valid = installed.run(["desktop-file-validate", path])
    assert valid.returncode == 0 and valid.stdout == "" and valid.stderr == "", valid
    entry = installed.desktop_entry(path)
    assert entry["Type"] == "Application", entry
    assert entry["Name"] == "Ikoblen", entry
    assert entry["Comment"] == "转换位图文件变图标", entry
    assert entry["Exec"] == "zentro %f", entry
    # Every format the wizard opens, the classic bitmap among them.
    mime_types = entry["MimeType"].split(";")
    for mime in ("image/bmp", "image/png", "image/jpeg", "image/webp", "image/gif", "image/x-icon", "image/svg+xml"):
        assert mime in mime_types, entry
    assert "Graphics" in entry["Categories"].split(";"), entry
    # What the launcher names must be installed.
    assert os.access(os.path.join(prefix, "bin", entry["Exec"].split()[0]), os.X_OK), entry["Exec"]
    for n in installed.ICON_SIZES:
        assert os.path.isfile(os.path.join(prefix, f"share/icons/hicolor/{n}x{n}/apps/{entry['Icon']}.png")), n


def check_metainfo(prefix, version):
    path = os.path.join(prefix, f"share/metainfo/{installed.APP_ID}.metainfo.xml")
    valid = installed.run(["appstreamcli", "validate", "--no-net", path])
    assert valid.returncode == 0, valid.stdout + valid.stderr
    assert "W:" not in valid.stdout and "E:" not in valid.stdout, valid.stdout
    component = ElementTree.parse(path).getroot()
    assert component.findtext("id") == installed.APP_ID
    assert component.findtext("name") == "Ikoblen"
    assert component.find("launchable").text == f"{installed.APP_ID}.desktop"
    for binary in component.iter("binary"):
        assert os.path.isfile(os.path.join(prefix, "bin", binary.text)), binary.text
    releases = [release.get("version") for release in component.iter("release")]
    assert releases and releases[0] == version, (releases, version)


def main():
    build, source = sys.argv[1:3]
    with tempfile.TemporaryDirectory() as prefix:
        done = installed.run(["cmake", "--install", build, "--prefix", prefix])
        assert done.returncode == 0, done.stdout + done.stderr
        found = installed.files_under(prefix)
        assert found == installed.expected_files(), (
            f"missing {sorted(installed.expected_files() - found)}, unexpected {sorted(found - installed.expected_files())}")

        version = installed.check_programs(prefix, os.path.join(source, "res/sample/sample.bmp"),
                                           os.path.join(build, "cli/zentro-cli"))
        check_desktop_entry(prefix)
        check_metainfo(prefix, version)
        with Image.open(os.path.join(source, "res/icon/zentro.bmp")) as picture:
            picture = picture.convert("RGB")
            for n in installed.ICON_SIZES:
                installed.check_theme_icon(os.path.join(prefix, f"share/icons/hicolor/{n}x{n}/apps/zentro.png"), n, picture)
        for program in ("zentro", "zentro-cli"):
            installed.check_manual_page(os.path.join(prefix, f"share/man/man1/{program}.1"),
                                        os.path.join(prefix, "bin", program))
        for topic in installed.HELP_TOPICS:
            assert filecmp.cmp(os.path.join(prefix, f"share/zentro/help/{topic}.html"),
                               os.path.join(source, f"res/help/{topic}.html"), shallow=False), topic
    print("install tree: every file present and sound")


if __name__ == "__main__":
    main()
