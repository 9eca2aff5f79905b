#!/usr/bin/env bash
# Cross-builds zentro-cli.exe and the wizard zentro.exe for 64-bit Windows with
# Debian's mingw-w64 and checks that the Windows resources (icon 128, version,
# manifest) are in each.
# Needs: apt-get install g++-mingw-w64-x86-64-posix (tools/setup.sh does).
#
#   tools/cross-build-windows.sh [BUILD_DIR [TARGET...]]   (default build-windows zentro-cli zentro)
#
# BUILD_DIR may be absolute or relative to the current folder. Icon 128 is
# made by a zentro-cli for this machine: the one named by ZENTRO_HOST_CLI, else
# one built first in BUILD_DIR-host (the core and the command line only). The
# picture libraries are built first from Debian's sources into BUILD_DIR/libs
# (tools/build-windows-libs.sh), so the .exe reads what the Linux build reads
# but SVG.
set -euo pipefail
out=$(realpath -m "${1:-build-windows}")
shift || true
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(zentro-cli zentro)
host=${ZENTRO_HOST_CLI:+$(realpath "$ZENTRO_HOST_CLI")}
cd "$(dirname "$0")/.."
jobs=$(( $(nproc) < 2 ? $(nproc) : 2 ))

if [ -z "$host" ]; then
  if [ ! -f "$out-host/build.ninja" ]; then
    cmake -S . -B "$out-host" -G Ninja -DZENTRO_GUI=OFF -DZENTRO_TESTS=OFF -DZENTRO_CODECS=OFF >/dev/null
  fi
  cmake --build "$out-host" --parallel "$jobs" --target zentro-cli
  host=$out-host/cli/zentro-cli
fi

tools/build-windows-libs.sh "$out/libs"
libs=("-DZENTRO_WINDOWS_LIBS=$out/libs/prefix" -DZENTRO_CODECS=ON -DZENTRO_SVG=OFF
      -DZLIB_LIBRARY=/usr/x86_64-w64-mingw32/lib/libz.a -DZLIB_INCLUDE_DIR=/usr/x86_64-w64-mingw32/include)
if [ ! -f "$out/build.ninja" ]; then
  cmake -S . -B "$out" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$PWD/tools/mingw-w64-x86_64.cmake" \
    -DCMAKE_BUILD_TYPE=Release \
    -DZENTRO_GUI=OFF -DZENTRO_TESTS=OFF "${libs[@]}" \
    -DZENTRO_HOST_CLI="$host" >/dev/null
else
  cmake -S . -B "$out" -DZENTRO_HOST_CLI="$host" "${libs[@]}" >/dev/null
fi
cmake --build "$out" --parallel "$jobs" --target "${targets[@]}"

for target in "${targets[@]}"; do
  case $target in
    zentro-cli) exe="$out/cli/zentro-cli.exe" ;;
    zentro) exe="$out/zentro.exe" ;;
    *) continue ;;
  esac
  ls -l "$exe"
  python3 tools/check_windows_resources.py "$exe"
done
