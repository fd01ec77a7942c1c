#!/usr/bin/env bash
# Installs what the builds and tests need. Safe to run again: a machine that has
# everything returns in a few seconds.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)

native_packages=(
  build-essential cmake ccache pkg-config make python3
  qtbase5-dev qtwebengine5-dev libqt5sql5-sqlite qttools5-dev-tools libqt5svg5-dev
  libgl1-mesa-dri libcurl4-openssl-dev libcpp-httplib-dev libgtest-dev libgmock-dev googletest
  libbenchmark-dev
  xvfb xauth x11-utils imagemagick p7zip-full fonts-wqy-microhei
)
windows_packages=(
  g++-mingw-w64-i686 libz-mingw-w64-dev wine wine32:i386 fonts-wine fonts-liberation
  libstb-dev dpkg-dev locales
)

missing=()
check() {
  local p
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'ok installed' || missing+=("$p")
  done
}

export DEBIAN_FRONTEND=noninteractive
if [ "${ORBELA_NATIVE_ONLY:-0}" != 1 ]; then
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    dpkg --add-architecture i386
    need_update=1
  fi
  check "${windows_packages[@]}"
fi
check "${native_packages[@]}"

if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  if [ "$(id -u)" != 0 ]; then
    echo "setup: packages are missing and this is not root; install them first" >&2
    exit 1
  fi
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
elif [ "${need_update:-0}" = 1 ]; then
  apt-get update -qq
fi

# Wizard tests under LC_ALL=zh_CN.UTF-8 (code page 936) need the locale, or
# Wine cannot write Chinese file names.
if [ "${ORBELA_NATIVE_ONLY:-0}" != 1 ] && ! locale -a 2>/dev/null | grep -qix 'zh_CN.utf8'; then
  if [ "$(id -u)" = 0 ]; then
    localedef -i zh_CN -f UTF-8 zh_CN.UTF-8
  else
    echo "setup: the zh_CN.UTF-8 locale is missing (localedef -i zh_CN -f UTF-8 zh_CN.UTF-8 as root)" >&2
  fi
fi

mkdir -p "${ORBELA_CACHE:-/var/cache/orbela}/ccache"
if [ "${ORBELA_NATIVE_ONLY:-0}" != 1 ] && [ -x "$here/setup-windows-deps.sh" ]; then
  "$here/setup-windows-deps.sh"
fi
