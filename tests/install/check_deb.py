#!/usr/bin/env python3
"""The Debian package builds, declares what it needs, and installs: dpkg puts it
into a scratch root (the system stays untouched), and the programs run from there.

Usage: check_deb.py BUILD_DIR SOURCE_DIR
"""
import glob
import os
import re
import sys
import tempfile

import installed


def field(deb, name):
    return installed.run(["dpkg-deb", "--field", deb, name]).stdout.strip()


def check_dependencies_met(depends):
    """Every clause of Depends is met by a package installed here."""
    for clause in depends.split(","):
        met = False
        for alternative in clause.split("|"):
            match = re.fullmatch(r"\s*([\w.+-]+)(?::\w+)?\s*(?:\(\s*([<>=]+)\s*([^)\s]+)\s*\))?\s*", alternative)
            assert match, alternative
            name, relation, version = match.groups()
            have = installed.run(["dpkg-query", "-W", "-f=${Version}", name])
            if have.returncode != 0 or not have.stdout:
                continue
            if relation is None:
                met = True
            else:
                op = {">=": "ge", "<=": "le", ">>": "gt", "<<": "lt", "=": "eq"}[relation]
                met = installed.run(["dpkg", "--compare-versions", have.stdout, op, version]).returncode == 0
            if met:
                break
        assert met, f"dependency not installed here: {clause.strip()}"


def main():
    build, source = sys.argv[1:3]
    with tempfile.TemporaryDirectory() as scratch:
        packed = installed.run(["cpack", "-G", "DEB", "--config", os.path.join(build, "CPackConfig.cmake"),
                                "-B", os.path.join(scratch, "package")])
        assert packed.returncode == 0, packed.stdout + packed.stderr
        debs = glob.glob(os.path.join(scratch, "package", "*.deb"))
        assert len(debs) == 1, debs
        deb = debs[0]

        assert field(deb, "Package") == "zentro"
        arch = installed.run(["dpkg", "--print-architecture"]).stdout.strip()
        assert field(deb, "Architecture") == arch, field(deb, "Architecture")
        depends = field(deb, "Depends")
        for library in ("libc6", "libstdc++6", "libqt6widgets6"):
            assert re.search(rf"(^|, ){re.escape(library)}\b", depends), f"{library} not in Depends: {depends}"
        check_dependencies_met(depends)

        # dpkg itself installs the package, into a root of its own.
        root = os.path.join(scratch, "root")
        admin = os.path.join(root, "var/lib/dpkg")
        for folder in ("info", "updates", "triggers"):
            os.makedirs(os.path.join(admin, folder))
        open(os.path.join(admin, "status"), "w").close()
        dpkg = ["dpkg", f"--instdir={root}", f"--admindir={admin}", "--log=/dev/null",
                "--force-not-root", "--force-depends", "--force-script-chrootless"]
        done = installed.run(dpkg + ["--install", deb])
        assert done.returncode == 0, done.stdout + done.stderr
        listed = installed.run(dpkg + ["--listfiles", "zentro"]).stdout.split()
        prefix = os.path.join(root, "usr")
        want = installed.expected_files()
        assert want <= {os.path.relpath(path, "/usr") for path in listed}, listed
        assert installed.files_under(prefix) == want, sorted(installed.files_under(prefix) ^ want)
        assert field(deb, "Version") == installed.check_programs(
            prefix, os.path.join(source, "res/sample/sample.bmp"), os.path.join(build, "cli/zentro-cli"))
    print(f"package {os.path.basename(deb)}: Depends {depends}")


if __name__ == "__main__":
    main()
