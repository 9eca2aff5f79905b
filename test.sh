#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test; then the unit tests
# once more under AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")"
tools/setup.sh

tools/build.sh build
(cd build && ctest --output-on-failure --parallel "$(nproc)")

tools/build.sh build-sanitize -DZENTRO_SANITIZE=ON -DZENTRO_GUI=OFF
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
(cd build-sanitize && ctest --output-on-failure --parallel "$(nproc)")
