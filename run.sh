#!/usr/bin/env bash
# Installs what building and running needs, builds the two programs only, and runs
# the main job on FILE (default: the bundled sample): the wizard when there is a
# display, otherwise zentro-cli, which writes build/NAME.ico and lists what it wrote.
# ./test.sh installs and builds everything else.
set -euo pipefail
cd "$(dirname "$0")"
tools/setup.sh --run
# A first build leaves the tests out (they need packages this run did not
# install); a folder ./test.sh configured keeps its own settings.
if [ ! -f build/build.ninja ]; then
  cmake -S . -B build -G Ninja -DZENTRO_TESTS=OFF
fi
cmake --build build --parallel "$(nproc)" --target zentro zentro-cli
input=${1:-res/sample/sample.bmp}
if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  exec build/zentro "$input"
fi
name=$(basename "$input")
output=build/${name%.*}.ico
build/cli/zentro-cli --force -o "$output" "$input"
