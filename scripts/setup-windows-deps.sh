#!/usr/bin/env bash
# Cross-builds the Windows side's dependencies from Debian's source packages and
# prepares the Wine template prefix of the Windows road (scripts/windows-road.sh).
# Everything lands in the machine cache, keyed by version and target, and is
# built only when missing:
#   $ORBELA_CACHE/deps/curl-<ver>-<target>     include/, lib/libcurl.a (static, http only)
#   $ORBELA_CACHE/deps/minizip-<ver>-<target>  include/minizip/*.h, lib/libminizip.a
#   $ORBELA_CACHE/deps/7zip-<ver>-<target>     bin/7zr.exe, bin/7za.exe
#   $ORBELA_CACHE/deps/windows-deps-<target>.cmake   the paths above, for a mingw tree
#   $ORBELA_WINE_TEMPLATE                      the road's template prefix (null graphics)
# The targets are the road's and i686, whose programs are the ones that ship.
# On failure the last line of standard error says in one line what failed.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
. "$here/windows-road.sh"
windows_road_choose
windows_road_env "$ORBELA_WINDOWS_ARCH"
deps=$ORBELA_CACHE/deps
jobs=$(nproc 2>/dev/null || echo 2)
export CCACHE_DIR=${CCACHE_DIR:-$ORBELA_CACHE/ccache}
targets=("$ORBELA_WINDOWS_ARCH")
[ "$ORBELA_WINDOWS_ARCH" = i686 ] || targets+=(i686)
mkdir -p "$deps"

# One setup at a time per machine: worktrees share the cache.
exec 9>"$deps/.lock"
flock 9

# fail WHAT: the one-line reason, last on standard error.
fail() {
  echo "setup-windows-deps: $*" >&2
  exit 1
}

have_src_entry() {
  grep -rqs '^Types:.*deb-src\|^deb-src ' /etc/apt/sources.list /etc/apt/sources.list.d/
}

record_of() { echo "$deps/windows-deps-$1.cmake"; }

recorded_dirs_present() {  # <target>
  local record d
  record=$(record_of "$1")
  [ -f "$record" ] || return 1
  for d in $(sed -n 's/^set(ORBELA_[A-Z0-9]*_DIR "\(.*\)")$/\1/p' "$record"); do
    [ -d "$d" ] || return 1
  done
}

# Caches made before the targets had names of their own hold i686 builds and
# a win32 template: they are taken over, not built again.
adopt_unnamed_caches() {
  local dir
  for dir in "$deps"/minizip-* "$deps"/curl-* "$deps"/7zip-*; do
    case "$dir" in *-i686|*-x86_64|*.tmp) continue ;; esac
    if [ -d "$dir" ] && [ ! -e "$dir-i686" ]; then mv -T "$dir" "$dir-i686"; fi
  done
  rm -f "$deps/windows-deps.cmake"
  local unnamed=${ORBELA_WINE_TEMPLATE/-win32-/-}
  if [ "$WINEARCH" = win32 ] && [ -d "$unnamed" ] && [ ! -e "$ORBELA_WINE_TEMPLATE" ]; then
    mv -T "$unnamed" "$ORBELA_WINE_TEMPLATE"
  fi
}
adopt_unnamed_caches

all_recorded() {
  local t
  for t in "${targets[@]}"; do recorded_dirs_present "$t" || return 1; done
}

# Warm path without a source entry (a restored cache): trust the records.
if ! have_src_entry && all_recorded && [ -d "$ORBELA_WINE_TEMPLATE" ]; then
  exit 0
fi

if ! have_src_entry; then
  [ "$(id -u)" = 0 ] || fail "no deb-src entry and not root"
  src=/etc/apt/sources.list.d/debian.sources
  [ -f "$src" ] || fail "$src not found; add a deb-src entry"
  sed 's/^Types: deb$/Types: deb-src/' "$src" > /etc/apt/sources.list.d/debian-src.sources
  apt-get update -qq || fail "apt-get update with the deb-src entry failed"
fi

pids=()
work=$(mktemp -d /tmp/orbela-deps.XXXXXX)
trap 'rm -rf "$work"' EXIT
unavailable=$deps/unavailable-sources

# Source versions, newest first (a mirror may lack the newest one's files).
src_versions() {
  local v sorted=() i
  for v in $(apt-cache showsrc --only-source "$1" 2>/dev/null | sed -n 's/^Version: //p' | sort -u); do
    i=${#sorted[@]}
    sorted+=("$v")
    while [ "$i" -gt 0 ] && dpkg --compare-versions "${sorted[i-1]}" lt "$v"; do
      sorted[i]=${sorted[i-1]}; sorted[i-1]=$v; i=$((i - 1))
    done
  done
  printf '%s\n' "${sorted[@]}"
}

# first_lines FILE: its first three non-empty lines, joined into one.
first_lines() {
  awk 'NF { printf "%s%s", (n++ ? " / " : ""), $0 } n == 3 { exit } END { if (!n) printf "it printed nothing" }' "$1"
}

# pick <source package> <cache name>: sets $picked to the newest version that
# is cached for every target or can be fetched (then unpacked into
# $work/<package>/src). A version that could not be fetched is remembered in
# $unavailable ("<package>=<version> <what apt-get source or dpkg-source said>")
# and not tried again; the failure names each version with that reason.
pick() {
  local v plain dir=$work/$1 t all out reason reasons=""
  picked=
  for v in $(src_versions "$1"); do
    plain=${v#*:}
    all=1
    for t in "${targets[@]}"; do [ -d "$deps/$2-$plain-$t" ] || all=0; done
    if [ "$all" = 1 ]; then picked=$plain; return 0; fi
    reason=$(awk -v key="$1=$v" '$1 == key { $1 = ""; sub(/^ /, ""); print (length($0) ? $0 : "failed before"); exit }' \
      "$unavailable" 2>/dev/null || true)
    if [ -n "$reason" ]; then
      reasons="${reasons:+$reasons; }$v: $reason"
      continue
    fi
    rm -rf "$dir"; mkdir -p "$dir"
    out=$work/$1.fetch
    if (cd "$dir" && apt-get source --download-only -qq "$1=$v" >"$out" 2>&1); then
      if (cd "$dir" && dpkg-source -x "$1"_*.dsc src >"$out" 2>&1); then
        picked=$plain; return 0
      fi
      reason="dpkg-source -x: $(first_lines "$out")"
    else
      reason="apt-get source: $(first_lines "$out")"
    fi
    echo "$1=$v $reason" >> "$unavailable"
    reasons="${reasons:+$reasons; }$v: $reason"
  done
  fail "no source of $1 could be fetched: ${reasons:-apt knows no source version of $1 (apt-cache showsrc $1)}"
}

# Each build works in a copy of the sources of its own (the targets build side
# by side), writes <dir>.tmp and renames it when complete, so an interrupted
# run never leaves a folder that looks finished. Their output goes to a log
# that is shown only when one fails.
sources_copy() {  # <package> <target>: prints the copy's folder
  local copy=$work/$1-$2
  rm -rf "$copy"; cp -a "$work/$1/src" "$copy"
  echo "$copy"
}

build_minizip() {  # <target> <out>
  local triple=$1-w64-mingw32
  cd "$(sources_copy zlib "$1")/contrib/minizip"
  mkdir -p "$2/lib" "$2/include/minizip"
  "$triple-gcc" -O2 -w -c unzip.c ioapi.c iowin32.c zip.c mztools.c
  "$triple-ar" rcs "$2/lib/libminizip.a" unzip.o ioapi.o iowin32.o zip.o mztools.o
  cp unzip.h zip.h ioapi.h iowin32.h mztools.h crypt.h "$2/include/minizip/"
}

build_curl() {  # <target> <out>: static, http only, Win32 threaded resolver
  local triple=$1-w64-mingw32
  cd "$(sources_copy curl "$1")"
  ./configure --host="$triple" --prefix="$2" --disable-shared --enable-static --disable-dependency-tracking \
    --disable-pthreads --without-ssl --without-libpsl --without-brotli --without-zstd \
    --without-libidn2 --without-nghttp2 --without-librtmp --without-libssh2 \
    --with-zlib="/usr/$triple" --disable-ftp --disable-file --disable-ldap --disable-ldaps \
    --disable-rtsp --disable-dict --disable-telnet --disable-tftp --disable-pop3 --disable-imap \
    --disable-smb --disable-smtp --disable-gopher --disable-mqtt --disable-manual \
    --enable-ipv6 --disable-ntlm-wb
  make -j "$jobs" -C lib
  make -C lib install
  make -C include install
}

# The two bundles share most of their sources; through ccache the second takes
# the first one's objects instead of compiling them again.
build_7zip() {  # <target> <out>: the console extractors 7zr.exe (7z only) and 7za.exe
  local triple=$1-w64-mingw32 bundle copy cache=()
  copy=$(sources_copy 7zip "$1")
  mkdir -p "$2/bin"
  if command -v ccache >/dev/null; then cache=(ccache); fi
  for bundle in Alone7z:7zr Alone:7za; do
    (cd "$copy/CPP/7zip/Bundles/${bundle%%:*}" && mkdir -p b &&
      make -j "$jobs" -f ../../cmpl_gcc.mak IS_MINGW=1 CROSS_COMPILE="$triple-" \
        CC="${cache[*]} $triple-gcc" CXX="${cache[*]} $triple-g++" RC="$triple-windres" O=b/mingw &&
      "$triple-strip" -o "$2/bin/${bundle#*:}.exe" "b/mingw/${bundle#*:}.exe")
  done
}

build_template() {  # <out>
  "$here/wine-test.sh" template "$1"
}

start() {  # <final dir> <builder> [arguments]
  local out=$1; shift
  echo "setup-windows-deps: building ${out##*/}"
  rm -rf "$out.tmp"
  ( set -e; "$@" "$out.tmp"; mv -T "$out.tmp" "$out" ) >"$work/${out##*/}.log" 2>&1 &
  pids+=("$!:$out")
}

# build_for_targets <cache name> <builder> <version>
build_for_targets() {
  local t
  for t in "${targets[@]}"; do
    [ -d "$deps/$1-$3-$t" ] || start "$deps/$1-$3-$t" "$2" "$t"
  done
}
pick zlib minizip; minizip_version=$picked
build_for_targets minizip build_minizip "$minizip_version"
pick curl curl; curl_version=$picked
build_for_targets curl build_curl "$curl_version"
pick 7zip 7zip; sevenzip_version=$picked
build_for_targets 7zip build_7zip "$sevenzip_version"
if [ ! -d "$ORBELA_WINE_TEMPLATE" ]; then start "$ORBELA_WINE_TEMPLATE" build_template; fi

failed=""
for entry in "${pids[@]}"; do
  if ! wait "${entry%%:*}"; then
    dir=${entry#*:}
    log=$work/${dir##*/}.log
    echo "setup-windows-deps: building ${dir##*/} failed; the end of its output:" >&2
    tail -n 30 "$log" | sed 's/^/  | /' >&2
    last=$(grep -v '^[[:space:]]*$' "$log" | tail -n 1 || true)
    failed="${failed:+$failed; }building ${dir##*/} failed: ${last:-it printed nothing}"
  fi
done
[ -z "$failed" ] || fail "$failed"

for t in "${targets[@]}"; do
  record=$(record_of "$t")
  cat > "$record.tmp" <<EOF
# Written by scripts/setup-windows-deps.sh: the cached mingw dependencies ($t).
set(ORBELA_MINIZIP_DIR "$deps/minizip-$minizip_version-$t")
set(ORBELA_CURL_DIR "$deps/curl-$curl_version-$t")
set(ORBELA_7ZIP_DIR "$deps/7zip-$sevenzip_version-$t")
EOF
  mv "$record.tmp" "$record"
done
