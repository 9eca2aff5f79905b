#!/usr/bin/env bash
# Installs the Debian packages that are missing: with --run only what building and
# running the two programs needs (./run.sh), otherwise also what the tests, the
# linters, the fuzzers and the Windows cross-build need (./test.sh).
set -euo pipefail

run_packages=(
  build-essential cmake ninja-build pkg-config ccache
  qt6-base-dev qt6-translations-l10n fonts-wqy-microhei
  libpng-dev zlib1g-dev libjpeg62-turbo-dev libwebp-dev libgif-dev libdeflate-dev librsvg2-dev nlohmann-json3-dev libxml2-dev
)
test_packages=(
  libgtest-dev libgmock-dev libbenchmark-dev
  imagemagick python3-pil icoutils
  desktop-file-utils appstream man-db groff-base dpkg-dev
  clang libclang-rt-14-dev
  clang-format clang-tidy shellcheck python3-pyflakes
  librsvg2-bin strace stress-ng
  g++-mingw-w64-x86-64-posix libz-mingw-w64-dev nasm wine64 fonts-wine xvfb xdotool
)

packages=("${run_packages[@]}")
[ "${1:-}" = --run ] || packages+=("${test_packages[@]}")

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo_cmd=()
  [ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
  "${sudo_cmd[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
