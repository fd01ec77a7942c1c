#!/usr/bin/env bash
# Starts one of the wizards (Installation, Update, Uninstall) under Wine in a
# prefix of its own that lives beside the machine cache, so what one wizard
# registers (the uninstall entry, shortcuts) is there for the next one.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
. "$root/scripts/env.sh"
. "$root/scripts/windows-road.sh"
name=${1:?usage: run-wizard.sh Installation|Update|Uninstall|skinprobe|skin-bench [arguments]}
shift
# Paths given to the framework tools reach them as Wine paths (drive Z:).
if [ "$name" = skinprobe ] || [ "$name" = skin-bench ]; then
  args=()
  for arg in "$@"; do
    case "$arg" in
      /*) arg="Z:${arg//\//\\}" ;;
    esac
    args+=("$arg")
  done
  set -- "${args[@]}"
fi
exe="$root/build/windows/bin/$name.exe"
if [ ! -f "$exe" ]; then
  echo "run: $name.exe has not been built (expected $exe)" >&2
  exit 1
fi

windows_road_env "$(windows_road_of_tree "$root/build/windows")"
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
template=$ORBELA_WINE_TEMPLATE
# Named after the template, so a new template revision gives a new prefix.
export WINEPREFIX="$template-run"
if [ ! -d "$WINEPREFIX" ]; then
  [ -d "$template" ] || "$root/scripts/setup-windows-deps.sh"
  # Made beside and renamed when complete: two starts at once never share a half-made prefix.
  staging=$(mktemp -d "$WINEPREFIX.XXXXXX")
  cp -a "$template/." "$staging"
  # A window to look at: the X11 driver instead of the tests' null driver.
  printf 'REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Wine\\Drivers]\n"Graphics"="x11"\n' > "$staging/drive_c/x11.reg"
  WINEPREFIX=$staging wine regedit /S 'C:\x11.reg' </dev/null >/dev/null 2>&1
  rm -f "$staging/drive_c/x11.reg"
  WINEPREFIX=$staging wineserver -w
  mv -T "$staging" "$WINEPREFIX" 2>/dev/null || rm -rf "$staging"
fi

if [ -z "${DISPLAY:-}" ]; then
  echo "run: no display; starting $name under Xvfb"
  exec xvfb-run -a -s '-screen 0 1280x800x24' wine "$exe" "$@"
fi
exec wine "$exe" "$@"
