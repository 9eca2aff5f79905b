#!/usr/bin/env bash
# Downloads and unpacks Debian's source packages of the upstream versions this
# machine has installed, each at the newest Debian revision the mirror actually
# hands out:
#
#   tools/debian-sources.sh DIR BINARY...
#
# e.g. libpng-dev: the source package libpng1.6 at libpng-dev's upstream
# version. The sources land in DIR/src; DIR/revisions names the revision taken
# of each ("libpng1.6 1.6.39-2+deb12u5").
#
# Only the upstream version has to match what is installed: Debian's revisions
# of one upstream version carry security fixes that leave the libraries'
# output alone, and the mirror serves only some of them (an index may list a
# revision whose files answer 404, and the installed one may be gone). When no
# revision of that upstream version can be had, it stops and says what to
# install.
#
# apt runs with a private configuration in DIR/apt (deb-src lines for the
# system's suites); the system's own sources are never touched.
set -euo pipefail
dir=$(realpath -m "$1")
shift

upstream() {  # 1:2.1.5-2 -> 2.1.5
  local version=${1#*:}
  echo "${version%-*}"
}
newest_first() {  # Debian versions on stdin, by dpkg's order
  local sorted=() version i
  while read -r version; do
    i=${#sorted[@]}
    sorted+=("$version")
    while [ "$i" -gt 0 ] && dpkg --compare-versions "$version" gt "${sorted[i-1]}"; do
      sorted[i]=${sorted[i-1]}
      i=$((i - 1))
    done
    sorted[i]=$version
  done
  [ ${#sorted[@]} -eq 0 ] || printf '%s\n' "${sorted[@]}"
}

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

served_versions() {  # SOURCE
  apt-cache "${aptopts[@]}" showsrc "$1" 2>/dev/null | sed -n 's/^Version: *//p' | sort -u | newest_first
}

: >"$dir/revisions"
for binary in "$@"; do
  package='' want='' installed=''
  read -r package want installed < <(dpkg-query -W -f='${source:Package} ${source:Upstream-Version} ${Version}\n' \
                                       "$binary" 2>/dev/null || true)
  if [ -z "$installed" ]; then
    echo "debian-sources: $binary is not installed (tools/setup.sh installs it)" >&2
    exit 1
  fi
  fetched=
  for version in $(served_versions "$package"); do
    [ "$(upstream "$version")" = "$want" ] || continue
    if (cd "$dir/src" && apt-get "${aptopts[@]}" source -qq "$package=$version" >/dev/null 2>&1); then
      fetched=$version
      break
    fi
    echo "debian-sources: Debian lists $package $version but does not hand it out; trying an older revision" >&2
  done
  if [ -z "$fetched" ]; then
    served=$(served_versions "$package" | tr '\n' ' ')
    echo "debian-sources: Debian serves no source of $package $want, the upstream version of the" \
         "installed $binary $installed (it serves: ${served:-none}). Install $binary at one of those" \
         "versions (apt-get install $binary=VERSION) and run this again." >&2
    exit 1
  fi
  echo "$package $fetched" >>"$dir/revisions"
done
