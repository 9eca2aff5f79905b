#!/usr/bin/env bash
# Builds libpng, libjpeg-turbo, libwebp and giflib as static libraries for
# 64-bit Windows from Debian's own sources, of exactly the versions this
# machine's Linux build links, so that both builds decode the same pixels.
# zlib is Debian's libz-mingw-w64-dev.
#
#   tools/build-windows-libs.sh DIR     (the libraries land in DIR/prefix)
#
# The sources come through a private apt configuration in DIR/apt with deb-src
# lines for the system's suite; the system's own sources are never touched.
# A finished build is kept in ~/.cache/zentro/windows-libs/KEY.tar (KEY from
# the versions, the toolchain and this script), so another clone on the same
# machine unpacks it in seconds; without the cache everything is built again.
set -euo pipefail
dir=$(realpath -m "$1")
here=$(cd "$(dirname "$0")" && pwd)
toolchain=$here/mingw-w64-x86_64.cmake
mingw=/usr/x86_64-w64-mingw32
jobs=$(( $(nproc) < 2 ? $(nproc) : 2 ))

# Source package and the binary package whose version the Linux build links.
sources=(libpng1.6=libpng-dev libjpeg-turbo=libjpeg62-turbo-dev libwebp=libwebp-dev giflib=libgif-dev)
wanted=()
for pair in "${sources[@]}"; do
  version=$(dpkg-query -W -f='${Version}' "${pair#*=}")
  wanted+=("${pair%%=*}=$version")
done
key=$( (printf '%s\n' "${wanted[@]}"; dpkg-query -W -f='${Version}\n' g++-mingw-w64-x86-64-posix libz-mingw-w64-dev nasm \
        2>/dev/null || true; cat "$0" "$toolchain") | sha256sum | cut -c1-16)
prefix=$dir/prefix
[ "$(cat "$prefix/key" 2>/dev/null)" = "$key" ] && exit 0

cache=${XDG_CACHE_HOME:-$HOME/.cache}/zentro/windows-libs/$key.tar
rm -rf "$prefix"
mkdir -p "$dir"
if [ -f "$cache" ] && tar -xf "$cache" -C "$dir" && [ "$(cat "$prefix/key" 2>/dev/null)" = "$key" ]; then
  # pkg-config and CMake files name the folder the libraries were built into.
  origin=$(cat "$prefix/origin")
  if [ "$origin" != "$prefix" ]; then
    grep -rlIZ --fixed-strings -- "$origin" "$prefix" | xargs -0 -r sed -i "s|$origin|$prefix|g"
  fi
  echo "Windows libraries from $cache"
  exit 0
fi
rm -rf "$prefix"

# Debian's sources of exactly those versions.
apt=$dir/apt
rm -rf "$apt" "$dir/src"
mkdir -p "$apt/lists/partial" "$apt/cache/archives/partial" "$apt/preferences.d" "$dir/src"
suites=$(sed -n 's/^Suites: *//p' /etc/apt/sources.list.d/debian.sources 2>/dev/null | tr '\n' ' ')
[ -n "$suites" ] || suites="bookworm bookworm-updates bookworm-security"
keyring=/usr/share/keyrings/debian-archive-keyring.gpg
for suite in $suites; do
  case $suite in
    *-security) echo "deb-src [signed-by=$keyring] http://deb.debian.org/debian-security $suite main" ;;
    *) echo "deb-src [signed-by=$keyring] http://deb.debian.org/debian $suite main" ;;
  esac
done >"$apt/sources.list"
aptopts=(-o "Dir::Etc::SourceList=$apt/sources.list" -o "Dir::Etc::SourceParts=$apt/none"
         -o "Dir::State::Lists=$apt/lists" -o "Dir::Cache=$apt/cache"
         -o "Dir::Etc::Preferences=$apt/preferences" -o "Dir::Etc::PreferencesParts=$apt/preferences.d"
         -o "APT::Sandbox::User=root")
apt-get "${aptopts[@]}" update -qq
if ! (cd "$dir/src" && apt-get "${aptopts[@]}" source -qq "${wanted[@]}" >/dev/null); then
  echo "Debian does not serve the sources of one of ${wanted[*]}; install the Linux" \
       "package at a version it serves (apt-cache -o Dir::Etc::SourceList=$apt/sources.list showsrc NAME)." >&2
  exit 1
fi
src() { find "$dir/src" -mindepth 1 -maxdepth 1 -type d -name "$1-*" | head -n1; }

cmake_lib() {  # SOURCE_DIR NAME CMAKE_OPTIONS...
  local from=$1 name=$2
  shift 2
  cmake -S "$from" -B "$dir/work/$name" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release \
    -Wno-dev -DCMAKE_INSTALL_PREFIX="$prefix" -DCMAKE_C_FLAGS_RELEASE="-O2 -DNDEBUG" "$@" >/dev/null
  cmake --build "$dir/work/$name" --parallel "$jobs" --target install >/dev/null
}

# Debian builds libpng with its SSE2 filters; they give the same rows as the C code.
cmake_lib "$(src libpng1.6)" png -DPNG_SHARED=OFF -DPNG_STATIC=ON -DPNG_TESTS=OFF -DPNG_EXECUTABLES=OFF \
  -DPNG_INTEL_SSE=on -DZLIB_LIBRARY="$mingw/lib/libz.a" -DZLIB_INCLUDE_DIR="$mingw/include" -DSKIP_INSTALL_FILES=ON
# The accurate integer DCT is libjpeg-turbo's default; its SIMD needs nasm and
# gives the same pixels as the C code.
simd=OFF
command -v nasm >/dev/null && simd=ON
cmake_lib "$(src libjpeg-turbo)" jpeg -DENABLE_SHARED=OFF -DENABLE_STATIC=ON -DWITH_TURBOJPEG=OFF -DWITH_SIMD=$simd \
  -DWITH_JPEG8=OFF -DCMAKE_SYSTEM_PROCESSOR=AMD64
cmake_lib "$(src libwebp)" webp -DBUILD_SHARED_LIBS=OFF -DWEBP_BUILD_ANIM_UTILS=OFF -DWEBP_BUILD_CWEBP=OFF \
  -DWEBP_BUILD_DWEBP=OFF -DWEBP_BUILD_GIF2WEBP=OFF -DWEBP_BUILD_IMG2WEBP=OFF -DWEBP_BUILD_VWEBP=OFF \
  -DWEBP_BUILD_WEBPINFO=OFF -DWEBP_BUILD_WEBPMUX=OFF -DWEBP_BUILD_EXTRAS=OFF -DWEBP_BUILD_LIBWEBPMUX=OFF

# giflib has only a Makefile for Unix: its library is these few files.
gif=$(src giflib)
mkdir -p "$dir/work/gif" "$prefix/lib" "$prefix/include"
objects=()
for file in dgif_lib egif_lib gifalloc gif_err gif_font gif_hash openbsd-reallocarray; do
  x86_64-w64-mingw32-gcc-posix -O2 -DNDEBUG -c "$gif/$file.c" -o "$dir/work/gif/$file.o"
  objects+=("$dir/work/gif/$file.o")
done
rm -f "$prefix/lib/libgif.a"
x86_64-w64-mingw32-gcc-ar-posix rcs "$prefix/lib/libgif.a" "${objects[@]}"
cp "$gif/gif_lib.h" "$prefix/include/"

# Each licence asks that it go with the binaries.
mkdir -p "$prefix/licences"
cp "$(src libpng1.6)/LICENSE" "$prefix/licences/libpng.txt"
cp "$(src libjpeg-turbo)/LICENSE.md" "$prefix/licences/libjpeg-turbo.md"
cp "$(src libjpeg-turbo)/README.ijg" "$prefix/licences/libjpeg-turbo-ijg.txt"
cp "$(src libwebp)/COPYING" "$prefix/licences/libwebp.txt"
cp "$(src libwebp)/PATENTS" "$prefix/licences/libwebp-patents.txt"
cp "$gif/COPYING" "$prefix/licences/giflib.txt"
cp /usr/share/doc/libz-mingw-w64-dev/copyright "$prefix/licences/zlib.txt"

echo "$prefix" >"$prefix/origin"
echo "$key" >"$prefix/key"
mkdir -p "$(dirname "$cache")"
tar -cf "$cache.$$" -C "$dir" prefix && mv "$cache.$$" "$cache"
echo "Windows libraries built: ${wanted[*]}"
