#!/usr/bin/env bash
# Builds libpng, libjpeg-turbo, libwebp, giflib and libdeflate as static libraries for
# 64-bit Windows from Debian's own sources, of the upstream versions this
# machine's Linux build links, so that both builds decode the same pixels and
# compress them into the same bytes.
# zlib is Debian's libz-mingw-w64-dev.
#
#   tools/build-windows-libs.sh DIR     (the libraries land in DIR/prefix)
#
# Only the upstream version has to match: Debian's revisions of one upstream
# version carry security fixes that leave decoding alone, and the mirror hands
# out only some of them (often not the one installed here). So each library is
# built from the newest revision of its upstream version that Debian actually
# serves; DIR/prefix/revisions names them.
#
# tools/debian-sources.sh fetches the sources, through an apt configuration of its own.
# A finished build is kept in ~/.cache/zentro/windows-libs/KEY.tar (KEY from
# the upstream versions, the toolchain and this script), so another clone on the
# same machine unpacks it in seconds; without the cache everything is built again.
set -euo pipefail
dir=$(realpath -m "$1")
here=$(cd "$(dirname "$0")" && pwd)
toolchain=$here/mingw-w64-x86_64.cmake
mingw=/usr/x86_64-w64-mingw32
jobs=$(( $(nproc) < 2 ? $(nproc) : 2 ))

# The binary packages the Linux build links: their upstream versions are built.
packages=(libpng-dev libjpeg62-turbo-dev libwebp-dev libgif-dev libdeflate-dev)
key=$( (dpkg-query -W -f='${source:Package} ${source:Upstream-Version}\n' "${packages[@]}"
        dpkg-query -W -f='${Version}\n' g++-mingw-w64-x86-64-posix libz-mingw-w64-dev nasm 2>/dev/null || true
        cat "$0" "$here/debian-sources.sh" "$toolchain") | sha256sum | cut -c1-16)
prefix=$dir/prefix
say_built() {
  echo "Windows libraries $1: $(tr '\n' ' ' <"$prefix/revisions")"
}
if [ "$(cat "$prefix/key" 2>/dev/null)" = "$key" ]; then
  say_built "already in $prefix"
  exit 0
fi

cache=${XDG_CACHE_HOME:-$HOME/.cache}/zentro/windows-libs/$key.tar
rm -rf "$prefix"
mkdir -p "$dir"
if [ -f "$cache" ] && tar -xf "$cache" -C "$dir" && [ "$(cat "$prefix/key" 2>/dev/null)" = "$key" ]; then
  # pkg-config and CMake files name the folder the libraries were built into.
  origin=$(cat "$prefix/origin")
  if [ "$origin" != "$prefix" ]; then
    grep -rlIZ --fixed-strings -- "$origin" "$prefix" | xargs -0 -r sed -i "s|$origin|$prefix|g"
  fi
  say_built "from $cache"
  exit 0
fi
rm -rf "$prefix"

# Debian's sources of those upstream versions, the newest revision served of each.
"$here/debian-sources.sh" "$dir" "${packages[@]}"
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

# libdeflate's Makefile knows mingw-w64: its static library, under the name the
# compiler looks for, and a pkg-config file like the one Debian installs.
deflate=$(src libdeflate)
make -C "$deflate" -s -j "$jobs" CC=x86_64-w64-mingw32-gcc-posix AR=x86_64-w64-mingw32-gcc-ar-posix \
  libdeflatestatic.lib >/dev/null
cp "$deflate/libdeflatestatic.lib" "$prefix/lib/libdeflate.a"
cp "$deflate/libdeflate.h" "$prefix/include/"
sed -e "s|@PREFIX@|$prefix|" -e "s|@INCDIR@|$prefix/include|" -e "s|@LIBDIR@|$prefix/lib|" \
  -e "s|@VERSION@|$(sed -n 's/^#define LIBDEFLATE_VERSION_STRING[^"]*"\(.*\)"/\1/p' "$deflate/libdeflate.h")|" \
  "$deflate/libdeflate.pc.in" >"$prefix/lib/pkgconfig/libdeflate.pc"

# Each licence asks that it go with the binaries.
mkdir -p "$prefix/licences"
cp "$(src libpng1.6)/LICENSE" "$prefix/licences/libpng.txt"
cp "$(src libjpeg-turbo)/LICENSE.md" "$prefix/licences/libjpeg-turbo.md"
cp "$(src libjpeg-turbo)/README.ijg" "$prefix/licences/libjpeg-turbo-ijg.txt"
cp "$(src libwebp)/COPYING" "$prefix/licences/libwebp.txt"
cp "$(src libwebp)/PATENTS" "$prefix/licences/libwebp-patents.txt"
cp "$gif/COPYING" "$prefix/licences/giflib.txt"
cp "$deflate/COPYING" "$prefix/licences/libdeflate.txt"
cp /usr/share/doc/libz-mingw-w64-dev/copyright "$prefix/licences/zlib.txt"

cp "$dir/revisions" "$prefix/revisions"
echo "$prefix" >"$prefix/origin"
echo "$key" >"$prefix/key"
mkdir -p "$(dirname "$cache")"
tar -cf "$cache.$$" -C "$dir" prefix && mv "$cache.$$" "$cache"
say_built "built"
