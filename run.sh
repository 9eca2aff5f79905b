#!/usr/bin/env bash
# Installs what is missing, builds, and runs the main job on FILE (default: the
# bundled sample): the wizard when there is a display, otherwise zentro-cli,
# which writes build/NAME.ico and lists what it wrote.
set -euo pipefail
cd "$(dirname "$0")"
tools/setup.sh
tools/build.sh build
input=${1:-res/sample/sample.bmp}
if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  exec build/zentro "$input"
fi
name=$(basename "$input")
output=build/${name%.*}.ico
build/cli/zentro-cli --force -o "$output" "$input"
