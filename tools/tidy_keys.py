#!/usr/bin/env python3
"""Prints, for each source named on standard input, a key that changes whenever
clang-tidy could say something else about it: the file and every header it
includes (the system's too), its compile command, .clang-tidy and clang-tidy's
version. tools/lint.sh skips a file whose key passed before.

Usage: tools/tidy_keys.py BUILD_DIR CLANG_TIDY < files   (prints "KEY FILE" lines)
Paths inside the source tree count relative to it, so clones share keys.
"""
import hashlib
import json
import os
import shlex
import subprocess
import sys
from concurrent.futures import ThreadPoolExecutor

build, clang_tidy = sys.argv[1], sys.argv[2]
root = os.getcwd()
commands = {os.path.realpath(entry["file"]): entry for entry in json.load(
    open(os.path.join(build, "compile_commands.json")))}
common = hashlib.sha256()
common.update(subprocess.run([clang_tidy, "--version"], capture_output=True, check=True).stdout)
common.update(open(".clang-tidy", "rb").read())


def relative(text):
    return text.replace(root + "/", "")


def key(name):
    entry = commands.get(os.path.realpath(name))
    if entry is None:  # no command: never skipped
        return "none"
    args = shlex.split(entry["command"])
    output = args.index("-o")
    del args[output:output + 2]
    found = subprocess.run(args + ["-M"], cwd=entry["directory"], capture_output=True, text=True)
    if found.returncode != 0:
        return "none"
    digest = common.copy()
    digest.update(relative(" ".join(args)).encode())
    for path in found.stdout.replace("\\\n", " ").split()[1:]:
        digest.update(relative(os.path.normpath(os.path.join(entry["directory"], path))).encode())
        with open(os.path.join(entry["directory"], path), "rb") as f:
            digest.update(f.read())
    return digest.hexdigest()


names = sys.stdin.read().split()
with ThreadPoolExecutor(os.cpu_count() or 1) as pool:
    for name, value in zip(names, pool.map(key, names)):
        print(value, name)
