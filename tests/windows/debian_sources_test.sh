#!/usr/bin/env bash
# tools/debian-sources.sh against a scripted apt: which revision it takes when
# the mirror lists revisions it does not hand out, and what it says when no
# revision of the installed upstream version can be had.
set -euo pipefail
script=$(realpath "$(dirname "$0")/../../tools/debian-sources.sh")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/bin"

# INSTALLED: "binary source upstream version" lines; SERVED: "source version"
# lines the indexes list; MISSING: versions whose files answer 404.
cat >"$work/bin/dpkg-query" <<'SH'
#!/bin/sh
binary=$(eval echo "\${$#}")
echo "$INSTALLED" | awk -v b="$binary" '$1 == b { printf "%s %s %s\n", $2, $3, $4; found = 1 } END { exit !found }'
SH
cat >"$work/bin/apt-cache" <<'SH'
#!/bin/sh
package=$(eval echo "\${$#}")
echo "$SERVED" | awk -v p="$package" '$1 == p { print "Package: " p; print "Version: " $2; print "" }'
SH
cat >"$work/bin/apt-get" <<'SH'
#!/bin/sh
for arg; do last=$arg; done
case " $* " in *" update "*) exit 0 ;; esac
version=${last#*=}
case " $MISSING " in *" $version "*) echo "404  Not Found" >&2; exit 100 ;; esac
mkdir -p "${last%%=*}-${version}"
SH
chmod +x "$work/bin/"*

failures=0
expect() {  # NAME WANTED_STATUS WANTED_TEXT (in revisions, or in the message)
  local status=0
  PATH="$work/bin:$PATH" "$script" "$work/out" libpng-dev libjpeg62-turbo-dev >"$work/log" 2>&1 || status=$?
  local text
  text=$(cat "$work/log" "$work/out/revisions" 2>/dev/null || true)
  if [ "$status" -ne "$2" ] || ! grep -qF -- "$3" <<<"$text"; then
    echo "FAIL $1: status $status (wanted $2), wanted '$3' in:"
    echo "$text"
    failures=$((failures + 1))
  else
    echo "ok   $1"
  fi
}

jpeg_installed="libjpeg62-turbo-dev libjpeg-turbo 2.1.5 1:2.1.5-2"
jpeg_served="libjpeg-turbo 1:2.1.5-2"
for installed in 1.6.39-2+deb12u4 1.6.39-2+deb12u6; do
  export INSTALLED="libpng-dev libpng1.6 1.6.39 $installed
$jpeg_installed"
  export SERVED="libpng1.6 1.6.39-2+deb12u5
libpng1.6 1.6.39-2+deb12u6
$jpeg_served" MISSING="1.6.39-2+deb12u6"
  expect "installed $installed, +deb12u6 listed but not handed out" 0 "libpng1.6 1.6.39-2+deb12u5"
  expect "installed $installed, the epoch of libjpeg-turbo kept" 0 "libjpeg-turbo 1:2.1.5-2"
done

# By Debian's order, not the text's: +deb12u10 is newer than +deb12u9.
export SERVED="libpng1.6 1.6.39-2+deb12u9
libpng1.6 1.6.39-2+deb12u10
libpng1.6 1.6.40-1
$jpeg_served" MISSING=""
expect "the newest revision of the installed upstream version" 0 "libpng1.6 1.6.39-2+deb12u10"

export SERVED="libpng1.6 1.6.40-1
$jpeg_served" MISSING=""
expect "no revision of 1.6.39 served" 1 "apt-get install libpng-dev=VERSION"

export SERVED="libpng1.6 1.6.39-2+deb12u5
$jpeg_served" MISSING="1.6.39-2+deb12u5"
expect "the only revision listed answers 404" 1 "serves no source of libpng1.6 1.6.39"

[ "$failures" -eq 0 ]
