#!/usr/bin/env bash
# Installs what is missing, builds, and runs the main job on the bundled sample.
set -euo pipefail
cd "$(dirname "$0")"
tools/setup.sh
tools/build.sh build
build/cli/zentro-cli --force -o build/sample.ico "${1:-res/sample/sample.bmp}"
