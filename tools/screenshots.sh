#!/usr/bin/env bash
# Renders the wizard headless into docs/screenshots/ (committed, shown in the
# README): one picture per page, the help viewer and a Yes/No message box.
# tools/screenshots.sh [BITMAP]; the default is the bundled keyed sample.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/build.sh build
runtime=$(mktemp -d)
trap 'rm -rf "$runtime"' EXIT
chmod 700 "$runtime"
QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR=$runtime \
  build/zentro_screenshot_tour docs/screenshots "${1:-res/sample/sample.bmp}"
