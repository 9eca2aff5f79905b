#!/usr/bin/env bash
# Cross-builds zentro-cli.exe for 64-bit Windows with Debian's mingw-w64 and
# checks that the Windows resources (icon 128, version, manifest) are in it.
# Not part of ./test.sh. Needs: apt-get install g++-mingw-w64-x86-64-posix
#
#   tools/cross-build-windows.sh [BUILD_DIR]     (default build-windows)
#
# Icon 128 is made by a zentro-cli for this machine, built first in
# BUILD_DIR-host (the core and the command line only).
set -euo pipefail
cd "$(dirname "$0")/.."
out=${1:-build-windows}
jobs=$(( $(nproc) < 2 ? $(nproc) : 2 ))

cmake -S . -B "$out-host" -G Ninja -DZENTRO_GUI=OFF -DZENTRO_TESTS=OFF >/dev/null
cmake --build "$out-host" --parallel "$jobs" --target zentro-cli

cmake -S . -B "$out" -G Ninja \
  -DCMAKE_TOOLCHAIN_FILE="$PWD/tools/mingw-w64-x86_64.cmake" \
  -DCMAKE_BUILD_TYPE=Release \
  -DZENTRO_GUI=OFF -DZENTRO_TESTS=OFF -DZENTRO_CODECS=OFF \
  -DZENTRO_HOST_CLI="$PWD/$out-host/cli/zentro-cli" >/dev/null
cmake --build "$out" --parallel "$jobs" --target zentro-cli

exe="$out/cli/zentro-cli.exe"
ls -l "$exe"
python3 tools/check_windows_resources.py "$exe"
