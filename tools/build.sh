#!/usr/bin/env bash
# Configures and builds one build folder: tools/build.sh DIR [cmake options...]
# A folder is configured the first time, and again whenever options are given.
set -euo pipefail
dir=$1
shift
if [ ! -f "$dir/build.ninja" ] || [ $# -gt 0 ]; then
  cmake -S . -B "$dir" -G Ninja "$@"
fi
cmake --build "$dir" --parallel "$(nproc)"
