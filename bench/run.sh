#!/usr/bin/env bash
# Builds, then times the whole job on generated pictures and compares it with
# Pillow and ImageMagick on the same file. Prints figures; asserts nothing.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/setup.sh
tools/build.sh build
/usr/bin/python3 bench/compare.py build "$@"
