#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (ASan + UBSan) in build-fuzz/ and runs
# each for a bounded time, one per core at once:  tools/fuzz.sh [--smoke] [SECONDS [TARGET...]]
# SECONDS defaults to 30 per target; targets default to all of them. The corpus
# grows in fuzz/corpus-run/TARGET, seeded from fuzz/corpus/TARGET; --smoke starts
# from the seeds alone each time instead (its start-up then stays short). Inputs
# that fail land in build-fuzz/artifacts/. Without clang and its fuzzer runtime
# the script says so and does nothing (exit status 0).
set -euo pipefail
cd "$(dirname "$0")/.."

corpus_root=fuzz/corpus-run
if [ "${1:-}" = "--smoke" ]; then
  corpus_root=build-fuzz/smoke-corpus
  rm -rf "$corpus_root"
  shift
fi
seconds=${1:-30}
shift || true
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(bmp_reader whole_job bmp_variant picture icon_reader svg)

probe_dir=$(mktemp -d)
trap 'rm -rf "$probe_dir"' EXIT
echo 'extern "C" int LLVMFuzzerTestOneInput(const unsigned char*, unsigned long) { return 0; }' > "$probe_dir/probe.cpp"
if ! command -v clang++ > /dev/null ||
   ! clang++ -fsanitize=fuzzer,address,undefined "$probe_dir/probe.cpp" -o "$probe_dir/probe" 2> /dev/null; then
  echo "fuzz: skipped: clang++ with the libFuzzer runtime is not installed (tools/setup.sh installs it)"
  exit 0
fi

if [ ! -f build-fuzz/build.ninja ]; then
  CC=clang CXX=clang++ cmake -S fuzz -B build-fuzz -G Ninja > /dev/null
fi
cmake --build build-fuzz --parallel "$(nproc)" --target "${targets[@]/#/fuzz_}"

mkdir -p build-fuzz/artifacts build-fuzz/logs
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export LSAN_OPTIONS="suppressions=$PWD/tools/lsan.supp"
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
# One target per core at a time: each runs for its full time, the whole run is shorter.
run_target() {  # TARGET: runs it, then prints its one line (and what failed)
  local target=$1 log="build-fuzz/logs/$1.log" start elapsed runs inputs status=0
  mkdir -p "$corpus_root/$target"
  start=$(date +%s)
  "build-fuzz/fuzz_$target" "$corpus_root/$target" "fuzz/corpus/$target" \
    -max_total_time="$seconds" -timeout=25 -rss_limit_mb=3072 -print_final_stats=1 \
    -artifact_prefix="build-fuzz/artifacts/$target-" > "$log" 2>&1 || status=$?
  elapsed=$(( $(date +%s) - start ))
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  inputs=$(find "$corpus_root/$target" "fuzz/corpus/$target" -type f | wc -l)
  if [ "$status" -eq 0 ]; then
    echo "fuzz $target: ${runs:-?} executions in ${elapsed} s, corpus of $inputs inputs, no failure"
  else
    echo "fuzz $target: FAILED after ${elapsed} s (status $status); log $log"
    grep -E 'check failed|ERROR: |SUMMARY: |runtime error|Test unit written' "$log" | head -20 || true
    return 1
  fi
}
failed=0
pids=()
for target in "${targets[@]}"; do
  while [ "$(jobs -rp | wc -l)" -ge "$(nproc)" ]; do
    wait -n || true
  done
  run_target "$target" > "build-fuzz/logs/$target.line" &
  pids+=($!)
done
# Told in the order the targets were named, each once it is done.
for i in "${!targets[@]}"; do
  wait "${pids[$i]}" || failed=1
  cat "build-fuzz/logs/${targets[$i]}.line"
done
exit "$failed"
