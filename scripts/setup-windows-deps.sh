#!/usr/bin/env bash
# Cross-builds the Windows side's dependencies from Debian's source packages and
# prepares the Wine template prefix. Everything lands in the machine cache, keyed
# by version, and is built only when missing:
#   $ORBELA_CACHE/deps/curl-<ver>     include/, lib/libcurl.a (static, http only)
#   $ORBELA_CACHE/deps/minizip-<ver>  include/minizip/*.h, lib/libminizip.a
#   $ORBELA_CACHE/deps/7zip-<ver>     bin/7zr.exe, bin/7za.exe
#   $ORBELA_CACHE/deps/windows-deps.cmake   the paths above, for the mingw tree
#   $ORBELA_CACHE/wine-<wine ver>-r<n>  the template prefix (win32, null graphics)
set -euo pipefail
: "${ORBELA_CACHE:=/var/cache/orbela}"
deps=$ORBELA_CACHE/deps
record=$deps/windows-deps.cmake
jobs=$(nproc 2>/dev/null || echo 2)
mkdir -p "$deps"

# One setup at a time per machine: worktrees share the cache.
exec 9>"$deps/.lock"
flock 9

have_src_entry() {
  grep -rqs '^Types:.*deb-src\|^deb-src ' /etc/apt/sources.list /etc/apt/sources.list.d/
}

recorded_dirs_present() {
  [ -f "$record" ] || return 1
  local d
  for d in $(sed -n 's/^set(ORBELA_[A-Z0-9]*_DIR "\(.*\)")$/\1/p' "$record"); do
    [ -d "$d" ] || return 1
  done
}

template=$(ORBELA_CACHE=$ORBELA_CACHE "$(dirname "$0")/wine-test.sh" template-path)

# Warm path without a source entry (a restored cache): trust the record.
if ! have_src_entry && recorded_dirs_present && [ -d "$template" ]; then
  exit 0
fi

if ! have_src_entry; then
  [ "$(id -u)" = 0 ] || { echo "setup-windows-deps: no deb-src entry and not root" >&2; exit 1; }
  src=/etc/apt/sources.list.d/debian.sources
  [ -f "$src" ] || { echo "setup-windows-deps: $src not found; add a deb-src entry" >&2; exit 1; }
  sed 's/^Types: deb$/Types: deb-src/' "$src" > /etc/apt/sources.list.d/debian-src.sources
  apt-get update -qq
fi

here=$(cd "$(dirname "$0")" && pwd)
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

# pick <source package> <cache name>: sets $picked to the cache folder of the
# newest version that is cached or can be fetched (unpacked into
# $work/<package>/src), and $fetched to 1 when it still has to be built.
pick() {
  local v plain dir=$work/$1
  picked= fetched=0
  for v in $(src_versions "$1"); do
    plain=${v#*:}
    if [ -d "$deps/$2-$plain" ]; then picked=$deps/$2-$plain; return 0; fi
    grep -qxF "$1=$v" "$unavailable" 2>/dev/null && continue
    rm -rf "$dir"; mkdir -p "$dir"
    if (cd "$dir" && apt-get source --download-only -qq "$1=$v" >/dev/null 2>&1 &&
        dpkg-source -x "$1"_*.dsc src >/dev/null 2>&1); then
      picked=$deps/$2-$plain fetched=1; return 0
    fi
    echo "$1=$v" >> "$unavailable"
  done
  echo "setup-windows-deps: no source of $1 could be fetched" >&2
  exit 1
}

# Each build writes <dir>.tmp and renames it when complete, so an interrupted
# run never leaves a folder that looks finished. The builds run side by side;
# their output goes to a log that is shown only when one fails.
build_minizip() {  # <out>
  cd "$work/zlib/src/contrib/minizip"
  mkdir -p "$1/lib" "$1/include/minizip"
  i686-w64-mingw32-gcc -O2 -w -c unzip.c ioapi.c iowin32.c zip.c mztools.c
  i686-w64-mingw32-ar rcs "$1/lib/libminizip.a" unzip.o ioapi.o iowin32.o zip.o mztools.o
  cp unzip.h zip.h ioapi.h iowin32.h mztools.h crypt.h "$1/include/minizip/"
}

build_curl() {  # <out>: static, http only, Win32 threaded resolver
  cd "$work/curl/src"
  ./configure --host=i686-w64-mingw32 --prefix="$1" --disable-shared --enable-static \
    --disable-pthreads --without-ssl --without-libpsl --without-brotli --without-zstd \
    --without-libidn2 --without-nghttp2 --without-librtmp --without-libssh2 \
    --with-zlib=/usr/i686-w64-mingw32 --disable-ftp --disable-file --disable-ldap --disable-ldaps \
    --disable-rtsp --disable-dict --disable-telnet --disable-tftp --disable-pop3 --disable-imap \
    --disable-smb --disable-smtp --disable-gopher --disable-mqtt --disable-manual \
    --enable-ipv6 --disable-ntlm-wb
  make -j "$jobs" -C lib
  make -C lib install
  make -C include install
}

build_7zip() {  # <out>: the console extractors 7zr.exe (7z only) and 7za.exe
  local bundle
  mkdir -p "$1/bin"
  for bundle in Alone7z:7zr Alone:7za; do
    (cd "$work/7zip/src/CPP/7zip/Bundles/${bundle%%:*}" && mkdir -p b &&
      make -j "$jobs" -f ../../cmpl_gcc.mak IS_MINGW=1 CROSS_COMPILE=i686-w64-mingw32- \
        RC=i686-w64-mingw32-windres O=b/mingw32 &&
      i686-w64-mingw32-strip -o "$1/bin/${bundle#*:}.exe" "b/mingw32/${bundle#*:}.exe")
  done
}

build_template() {  # <out>
  "$here/wine-test.sh" template "$1"
}

start() {  # <builder> <final dir>
  echo "setup-windows-deps: building ${2##*/}"
  rm -rf "$2.tmp"
  ( set -e; "$1" "$2.tmp"; mv -T "$2.tmp" "$2" ) >"$work/${2##*/}.log" 2>&1 &
  pids+=("$!:$2")
}

pick zlib minizip; minizip_dir=$picked
if [ "$fetched" = 1 ]; then start build_minizip "$minizip_dir"; fi
pick curl curl; curl_dir=$picked
if [ "$fetched" = 1 ]; then start build_curl "$curl_dir"; fi
pick 7zip 7zip; sevenzip_dir=$picked
if [ "$fetched" = 1 ]; then start build_7zip "$sevenzip_dir"; fi
if [ ! -d "$template" ]; then start build_template "$template"; fi

failed=0
for entry in "${pids[@]}"; do
  if ! wait "${entry%%:*}"; then
    dir=${entry#*:}
    echo "setup-windows-deps: building ${dir##*/} failed:" >&2
    tail -n 30 "$work/${dir##*/}.log" >&2
    failed=1
  fi
done
[ "$failed" = 0 ] || exit 1

cat > "$record.tmp" <<EOF
# Written by scripts/setup-windows-deps.sh: the cached mingw dependencies.
set(ORBELA_MINIZIP_DIR "$minizip_dir")
set(ORBELA_CURL_DIR "$curl_dir")
set(ORBELA_7ZIP_DIR "$sevenzip_dir")
EOF
mv "$record.tmp" "$record"
