#!/usr/bin/env bash
# Configures (once) and builds one build folder: tools/build.sh DIR [cmake options...]
set -euo pipefail
dir=$1
shift
if [ ! -f "$dir/build.ninja" ]; then
  cmake -S . -B "$dir" -G Ninja "$@"
fi
cmake --build "$dir" --parallel "$(nproc)"
