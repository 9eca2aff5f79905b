#!/usr/bin/env bash
# Checks the tracked sources and exits non-zero on any finding:
#   format  clang-format (.clang-format) over the C++ files, changing nothing
#   tidy    clang-tidy (.clang-tidy) over the core, codecs/, cli/ and icon_sets/,
#           with the compile commands of build-lint/ (configured here, never
#           built); a source that passed is checked again only once it or a
#           header it includes changes (~/.cache/zentro/tidy-passed)
#   shell   shellcheck over the shell scripts
#   python  pyflakes over the Python helpers
#   tools/lint.sh [format|tidy|shell|python]...   (default: all four)
#   tools/lint.sh --fix                           reformats the files "format" checks
# tests/identity keeps the bytes it was recorded with and is never reformatted.
set -euo pipefail
cd "$(dirname "$0")/.."

clang_format=$(command -v clang-format-14 || command -v clang-format || true)
clang_tidy=$(command -v clang-tidy-14 || command -v clang-tidy || true)
# Debian's interpreter: pyflakes comes from its python3-pyflakes package.
python=/usr/bin/python3
jobs=$(nproc)

cpp_files() {
  git ls-files -- '*.cpp' '*.h' ':!:tests/identity/**'
}

# Sources of the core (platform/ without its toolkit halves), codecs/, cli/ and icon_sets/.
tidy_files() {
  git ls-files -- 'image/*.cpp' 'icon/*.cpp' 'job/*.cpp' 'platform/*.cpp' 'codecs/*.cpp' 'cli/*.cpp' 'icon_sets/*.cpp' |
    grep -v -e '^platform/qt/' -e '^platform/win32/' || true
}

need() {
  if [ -z "$2" ] || ! [ -x "$2" ]; then
    echo "lint: $1 is not installed (tools/setup.sh installs it)" >&2
    exit 2
  fi
}

check_format() {
  need clang-format "$clang_format"
  local log
  log=$(mktemp)
  if cpp_files | xargs -P "$jobs" -n 20 "$clang_format" --dry-run --Werror > "$log" 2>&1; then
    echo "lint format: $(cpp_files | wc -l) C++ files as .clang-format writes them"
    rm -f "$log"
    return 0
  fi
  grep -E '(warning|error):' "$log" | cut -d: -f1 | sort -u | sed 's/^/lint format: not formatted: /'
  head -40 "$log"
  echo "lint format: reformat with: tools/lint.sh --fix (or clang-format -i FILE)"
  rm -f "$log"
  return 1
}

check_tidy() {
  need clang-tidy "$clang_tidy"
  # Configured every time (quick once the cache is there) so new sources have their commands.
  cmake -S . -B build-lint -G Ninja -DZENTRO_GUI=OFF -DZENTRO_TESTS=OFF -DZENTRO_CCACHE=OFF \
    -DCMAKE_EXPORT_COMPILE_COMMANDS=ON > /dev/null || return 1
  # A source whose key (tools/tidy_keys.py) passed before is not checked again.
  local passed=${XDG_CACHE_HOME:-$HOME/.cache}/zentro/tidy-passed keys
  mkdir -p "$passed"
  keys=$(tidy_files | "$python" tools/tidy_keys.py build-lint "$clang_tidy")
  local -a pending=()
  local key file
  while read -r key file; do
    [ -f "$passed/$key" ] || pending+=("$file")
  done <<<"$keys"
  local log status=0
  log=$(mktemp)
  [ ${#pending[@]} -eq 0 ] ||
    printf '%s\n' "${pending[@]}" | xargs -P "$jobs" -n 4 "$clang_tidy" -p build-lint --quiet > "$log" 2>&1 ||
    status=$?
  # A header included by several sources is reported once per source.
  if [ "$status" -ne 0 ] || grep -qE '(warning|error):' "$log"; then
    grep -E '(warning|error):' "$log" | sort -u || true
    echo "lint tidy: findings above (the full log follows)"
    grep -vE '^[0-9]+ warnings? generated\.$' "$log" | head -200
    rm -f "$log"
    return 1
  fi
  while read -r key file; do
    [ "$key" = none ] || touch "$passed/$key"
  done <<<"$keys"
  echo "lint tidy: $(tidy_files | wc -l) sources, no finding ($(( $(tidy_files | wc -l) - ${#pending[@]} )) unchanged since they last passed)"
  rm -f "$log"
}

check_shell() {
  need shellcheck "$(command -v shellcheck || true)"
  local files
  mapfile -t files < <(git ls-files -- '*.sh' '.ci/run')
  shellcheck "${files[@]}" || return 1
  echo "lint shell: ${#files[@]} scripts, no finding"
}

check_python() {
  if ! "$python" -m pyflakes --version > /dev/null 2>&1; then
    echo "lint: pyflakes is not installed for $python (tools/setup.sh installs python3-pyflakes)" >&2
    exit 2
  fi
  local files
  mapfile -t files < <(git ls-files -- '*.py')
  "$python" -m pyflakes "${files[@]}" || return 1
  echo "lint python: ${#files[@]} files, no finding"
}

if [ "${1:-}" = "--fix" ]; then
  need clang-format "$clang_format"
  cpp_files | xargs -P "$jobs" -n 20 "$clang_format" -i
  exit 0
fi

checks=("$@")
[ ${#checks[@]} -gt 0 ] || checks=(format tidy shell python)
failed=0
for check in "${checks[@]}"; do
  case "$check" in
    format) check_format || failed=1 ;;
    tidy) check_tidy || failed=1 ;;
    shell) check_shell || failed=1 ;;
    python) check_python || failed=1 ;;
    *)
      echo "usage: tools/lint.sh [--fix | format|tidy|shell|python...]" >&2
      exit 2
      ;;
  esac
done
exit "$failed"
