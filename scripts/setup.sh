#!/usr/bin/env bash
# Installs what the builds and tests need. Safe to run again: a machine that has
# everything returns in a few seconds.
#
# The native side comes first; a failure there stops everything. The Windows
# side then takes the road this machine allows (scripts/windows-road.sh); if it
# cannot be set up, that is recorded in build/windows-road.txt with its reason
# and this script still succeeds, so the client can be built, run and tested:
#   state=ok|failed|unavailable|off   arch=i686|x86_64   why=<one line>
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/.." && pwd)
. "$here/windows-road.sh"

native_packages=(
  build-essential cmake ccache pkg-config make python3
  qtbase5-dev qtwebengine5-dev libqt5sql5-sqlite qttools5-dev-tools libqt5svg5-dev
  libgl1-mesa-dri libcurl4-openssl-dev libcpp-httplib-dev libgtest-dev libgmock-dev googletest
  libbenchmark-dev
  xvfb xauth x11-utils imagemagick p7zip-full fonts-wqy-microhei
)
# Both roads cross-build the shipped i686 programs.
windows_packages=(
  g++-mingw-w64-i686 libz-mingw-w64-dev wine fonts-wine fonts-liberation
  libstb-dev dpkg-dev locales
)
i686_road_packages=(wine32:i386)
x86_64_road_packages=(wine64 g++-mingw-w64-x86-64)

export DEBIAN_FRONTEND=noninteractive

missing_of() {  # package...: sets $missing to those not installed
  local p
  missing=()
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'ok installed' || missing+=("$p")
  done
}

install_packages() {  # package...
  missing_of "$@"
  [ ${#missing[@]} -gt 0 ] || return 0
  echo "setup: installing ${missing[*]}"
  if [ "$(id -u)" != 0 ]; then
    echo "setup: packages are missing and this is not root; install them first: ${missing[*]}" >&2
    return 1
  fi
  apt-get update -qq || return 1
  apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}

install_packages "${native_packages[@]}"
mkdir -p "$ORBELA_CACHE/ccache"

status_file=$root/build/windows-road.txt
mkdir -p "$root/build"
record_windows() { windows_record "$status_file" "$@"; }

if [ "${ORBELA_NATIVE_ONLY:-0}" = 1 ]; then
  record_windows off "" "the Windows side is off (ORBELA_NATIVE_ONLY=1)"
  echo "setup: the Windows side is off (ORBELA_NATIVE_ONLY=1)"
  exit 0
fi

forced=${ORBELA_WINDOWS_ARCH:-}
if ! windows_road_choose 2>/dev/null; then
  record_windows failed "" "$ORBELA_WINDOWS_ROAD_WHY"
  echo "setup: the Windows side is not available: $ORBELA_WINDOWS_ROAD_WHY" >&2
  exit 0
fi
arch=$ORBELA_WINDOWS_ARCH
echo "setup: Windows road $arch: $ORBELA_WINDOWS_ROAD_WHY"

# set_up_windows: the road's packages, the locale, the cached dependencies and
# the Wine template. On failure $why says what went wrong, in one line.
set_up_windows() {
  local road_packages log status
  if [ "$arch" = i686 ]; then
    road_packages=("${i686_road_packages[@]}")
    if ! dpkg --print-foreign-architectures | grep -qx i386; then
      [ "$(id -u)" = 0 ] || { why="the i386 architecture is not enabled (dpkg --add-architecture i386 as root)"; return 1; }
      dpkg --add-architecture i386
    fi
  else
    road_packages=("${x86_64_road_packages[@]}")
  fi
  log=$(mktemp /tmp/orbela-setup.XXXXXX)
  install_packages "${windows_packages[@]}" "${road_packages[@]}" 2>"$log" || status=$?
  if [ "${status:-0}" != 0 ]; then
    cat "$log" >&2
    why="installing the Windows packages failed: $(grep -v '^[[:space:]]*$' "$log" | tail -n 1)"
    rm -f "$log"
    return 1
  fi
  if ! "$WINELOADER" --version >"$log" 2>&1; then
    why="$WINELOADER does not run: $(tail -n 1 "$log")"
    rm -f "$log"
    return 2
  fi

  # Wizard tests under LC_ALL=zh_CN.UTF-8 (code page 936) need the locale, or
  # Wine cannot write Chinese file names.
  if ! grep -qix 'zh_CN.utf8' <<<"$(locale -a 2>/dev/null)"; then
    if [ "$(id -u)" = 0 ]; then
      localedef -i zh_CN -f UTF-8 zh_CN.UTF-8 2>"$log" ||
        { cat "$log" >&2; why="making the zh_CN.UTF-8 locale failed: $(tail -n 1 "$log")"; rm -f "$log"; return 1; }
    else
      echo "setup: the zh_CN.UTF-8 locale is missing (localedef -i zh_CN -f UTF-8 zh_CN.UTF-8 as root)" >&2
    fi
  fi

  "$here/setup-windows-deps.sh" 2> >(tee "$log" >&2) || status=$?
  wait  # for tee
  if [ "${status:-0}" != 0 ]; then
    why=$(grep -v '^[[:space:]]*$' "$log" | tail -n 1)
    why=${why#setup-windows-deps: }
    rm -f "$log"
    return 1
  fi
  rm -f "$log"
}

windows_road_env "$arch"
why=""
status=0
set_up_windows || status=$?
state=failed
case "$status" in
  0) state=ok why=$ORBELA_WINDOWS_ROAD_WHY ;;
  # The x86-64 road's Wine cannot run either: no road is left on this machine.
  2) if [ "$arch" = x86_64 ] && [ -z "$forced" ]; then state=unavailable why="$ORBELA_WINDOWS_ROAD_WHY, and $why"; fi ;;
esac
record_windows "$state" "$arch" "$why"
[ "$state" = ok ] || echo "setup: the Windows side is not available: $why" >&2
