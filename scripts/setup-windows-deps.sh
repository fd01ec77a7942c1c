#!/usr/bin/env bash
# Cross-builds the Windows side's dependencies from Debian's source packages and
# prepares the Wine template prefix. Everything lands in the machine cache, keyed
# by version, and is built only when missing:
#   $ORBELA_CACHE/deps/curl-<ver>     include/, lib/libcurl.a (static, http only)
#   $ORBELA_CACHE/deps/minizip-<ver>  include/minizip/*.h, lib/libminizip.a
#   $ORBELA_CACHE/deps/7zip-<ver>     bin/7zr.exe, bin/7za.exe
#   $ORBELA_CACHE/deps/windows-deps.cmake   the paths above, for the mingw tree
#   $ORBELA_CACHE/wine-<wine ver>     the template prefix (win32, null graphics)
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

wine_version=$(dpkg-query -W -f='${Version}' wine 2>/dev/null || echo unknown)
template=$ORBELA_CACHE/wine-$wine_version

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
# newest version that is cached or can be fetched (into $work/<package>), and
# $fetched to 1 when it still has to be built.
pick() {
  local v plain
  picked= fetched=0
  for v in $(src_versions "$1"); do
    plain=${v#*:}
    if [ -d "$deps/$2-$plain" ]; then picked=$deps/$2-$plain; return 0; fi
    grep -qxF "$1=$v" "$unavailable" 2>/dev/null && continue
    rm -rf "${work:?}"/*
    if (cd "$work" && apt-get source --download-only -qq "$1=$v" >/dev/null 2>&1 &&
        dpkg-source -x "$1"_*.dsc "$1" >/dev/null 2>&1); then
      picked=$deps/$2-$plain fetched=1; return 0
    fi
    echo "$1=$v" >> "$unavailable"
  done
  echo "setup-windows-deps: no source of $1 could be fetched" >&2
  exit 1
}

# Each build goes to <dir>.tmp and is renamed when complete, so an interrupted
# run never leaves a directory that looks finished.
pick zlib minizip; minizip_dir=$picked
if [ "$fetched" = 1 ]; then
  echo "setup-windows-deps: building ${minizip_dir##*/}"
  out=$minizip_dir.tmp; rm -rf "$out"; mkdir -p "$out/lib" "$out/include/minizip"
  (cd "$work/zlib/contrib/minizip" &&
    i686-w64-mingw32-gcc -O2 -w -c unzip.c ioapi.c iowin32.c zip.c mztools.c &&
    i686-w64-mingw32-ar rcs "$out/lib/libminizip.a" unzip.o ioapi.o iowin32.o zip.o mztools.o &&
    cp unzip.h zip.h ioapi.h iowin32.h mztools.h crypt.h "$out/include/minizip/")
  mv "$out" "$minizip_dir"
fi

pick curl curl; curl_dir=$picked
if [ "$fetched" = 1 ]; then
  echo "setup-windows-deps: building ${curl_dir##*/}"
  out=$curl_dir.tmp; rm -rf "$out"
  (cd "$work/curl" &&
    ./configure -q --host=i686-w64-mingw32 --prefix="$out" --disable-shared --enable-static \
      --disable-pthreads --without-ssl --without-libpsl --without-brotli --without-zstd \
      --without-libidn2 --without-nghttp2 --without-librtmp --without-libssh2 \
      --with-zlib=/usr/i686-w64-mingw32 --disable-ftp --disable-file --disable-ldap --disable-ldaps \
      --disable-rtsp --disable-dict --disable-telnet --disable-tftp --disable-pop3 --disable-imap \
      --disable-smb --disable-smtp --disable-gopher --disable-mqtt --disable-manual --disable-docs \
      --enable-ipv6 --disable-ntlm-wb >/dev/null &&
    make -s -j "$jobs" -C lib >/dev/null && make -s -C lib install >/dev/null &&
    make -s -C include install >/dev/null)
  mv "$out" "$curl_dir"
fi

pick 7zip 7zip; sevenzip_dir=$picked
if [ "$fetched" = 1 ]; then
  echo "setup-windows-deps: building ${sevenzip_dir##*/}"
  out=$sevenzip_dir.tmp; rm -rf "$out"; mkdir -p "$out/bin"
  for bundle in Alone7z:7zr Alone:7za; do
    (cd "$work/7zip/CPP/7zip/Bundles/${bundle%%:*}" && mkdir -p b &&
      make -s -j "$jobs" -f ../../cmpl_gcc.mak IS_MINGW=1 CROSS_COMPILE=i686-w64-mingw32- \
        RC=i686-w64-mingw32-windres O=b/mingw32 >/dev/null 2>&1 &&
      i686-w64-mingw32-strip -o "$out/bin/${bundle#*:}.exe" "b/mingw32/${bundle#*:}.exe")
  done
  mv "$out" "$sevenzip_dir"
fi

cat > "$record.tmp" <<EOF
# Written by scripts/setup-windows-deps.sh: the cached mingw dependencies.
set(ORBELA_MINIZIP_DIR "$minizip_dir")
set(ORBELA_CURL_DIR "$curl_dir")
set(ORBELA_7ZIP_DIR "$sevenzip_dir")
EOF
mv "$record.tmp" "$record"

if [ ! -d "$template" ]; then
  echo "setup-windows-deps: Wine template prefix ${template##*/}"
  "$(dirname "$0")/wine-test.sh" template "$template.tmp"
  mv "$template.tmp" "$template"
fi
