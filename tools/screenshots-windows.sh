#!/usr/bin/env bash
# Shows the wizard's five pages under Wine on a screen of its own (Xvfb) and
# saves them into docs/screenshots/windows/ (committed, shown in the README).
# tools/screenshots-windows.sh [PICTURE]; the default is the bundled RGBA PNG
# sample, as for the Linux pictures. Builds what is missing first: this
# machine's zentro-cli, then zentro.exe (tools/cross-build-windows.sh) and a Wine
# prefix with a Chinese font, all in build/.
set -euo pipefail
cd "$(dirname "$0")/.."
if [ ! -f build/build.ninja ]; then
  cmake -S . -B build -G Ninja
fi
cmake --build build --parallel "$(nproc)" --target zentro-cli
ZENTRO_HOST_CLI=build/cli/zentro-cli tools/cross-build-windows.sh build/windows zentro-cli zentro
wine=$(command -v wine64 || echo /usr/lib/wine/wine64)
# Debian's Python, which has Pillow (python3-pil).
/usr/bin/python3 tests/windows/windows_suite.py prefix --wine "$wine" --prefix build/windows/wizardprefix \
  --work build/tests/windows/wizard
/usr/bin/python3 tests/windows/wizard_suite.py screenshots --exe build/windows/zentro.exe --wine "$wine" \
  --prefix build/windows/wizardprefix --work build/tests/windows \
  --picture "${1:-res/sample/sample-rgba.png}" --shots docs/screenshots/windows
