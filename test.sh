#!/usr/bin/env bash
# Installs what is missing, checks format and lint (tools/lint.sh), builds, and
# runs every test (the Windows command line and wizard too, cross-built and run
# under Wine); then the tests once more under AddressSanitizer and
# UndefinedBehaviorSanitizer, the threaded ones under ThreadSanitizer, and each
# fuzz target for a short while. Ends with the time each stage took.
set -euo pipefail
cd "$(dirname "$0")"

timings=()
stage() {  # NAME COMMAND...
  local name=$1 start=$SECONDS
  shift
  "$@"
  timings+=("$(printf '%-18s %4d s' "$name" $((SECONDS - start)))")
}
report() {
  [ ${#timings[@]} -eq 0 ] || printf 'test.sh: %s\n' "${timings[@]}" "$(printf '%-18s %4d s' total "$SECONDS")"
}
trap report EXIT

in_dir() {  # DIR COMMAND...
  (cd "$1" && shift && "$@")
}

stage setup tools/setup.sh
# Style and lint first: a badly formatted file fails in seconds, not after the builds.
stage lint tools/lint.sh

# ./run.sh may have configured this folder without the tests.
stage build tools/build.sh build -DZENTRO_TESTS=ON
stage tests in_dir build ctest --output-on-failure --parallel "$(nproc)"

stage sanitizer-build tools/build.sh build-sanitize -DZENTRO_SANITIZE=ON
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export LSAN_OPTIONS="suppressions=$PWD/tools/lsan.supp"
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
stage sanitizer-tests in_dir build-sanitize ctest --output-on-failure --parallel "$(nproc)"

# Conversions may run on threads of their own: the core and command-line tests include such runs.
if [ ! -f build-tsan/build.ninja ]; then
  cmake -S . -B build-tsan -G Ninja -DZENTRO_TSAN=ON -DZENTRO_GUI=OFF
fi
stage tsan-build cmake --build build-tsan --parallel "$(nproc)" \
  --target zentro_core_tests zentro_cli_tests zentro_codecs_tests
# tools/tsan.supp: librsvg's own thread pool, which the sanitizer cannot follow.
export TSAN_OPTIONS="halt_on_error=1:second_deadlock_stack=1:suppressions=$PWD/tools/tsan.supp"
tsan_tests() {
  build-tsan/tests/zentro_core_tests --gtest_brief=1
  # Batches convert several files at once.
  build-tsan/tests/cli/zentro_cli_tests --gtest_brief=1
  # SVG documents drawn on two threads at once.
  build-tsan/tests/codecs/zentro_codecs_tests --gtest_brief=1 --gtest_filter='Svg*'
}
stage tsan-tests tsan_tests

stage fuzz tools/fuzz.sh --smoke "${ZENTRO_FUZZ_SECONDS:-30}"
