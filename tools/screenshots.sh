#!/usr/bin/env bash
# Renders the wizard headless into docs/screenshots/ (committed, shown in the
# README): one picture per page, the help viewer and a Yes/No message box.
# tools/screenshots.sh [PICTURE]; the default is the bundled RGBA PNG sample.
set -euo pipefail
cd "$(dirname "$0")/.."
if [ ! -f build/build.ninja ]; then
  cmake -S . -B build -G Ninja
fi
cmake --build build --parallel "$(nproc)" --target zentro_screenshot_tour
runtime=$(mktemp -d)
trap 'rm -rf "$runtime"' EXIT
chmod 700 "$runtime"
QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR=$runtime \
  build/zentro_screenshot_tour docs/screenshots "${1:-res/sample/sample-rgba.png}"
