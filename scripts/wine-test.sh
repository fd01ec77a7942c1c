#!/usr/bin/env bash
# Runs Windows programs under Wine, headless and quiet.
#   wine-test.sh template DIR            make a prefix from scratch (the cached template)
#   wine-test.sh template-path           where the cached template lives
#   wine-test.sh start PREFIX            copy the template to PREFIX, start a warm wineserver
#   wine-test.sh run PREFIX SECS EXE...  run EXE in PREFIX; its exit code, 124 on a hang
#   wine-test.sh stop PREFIX             stop PREFIX's wineserver
# CTest calls start and stop as the fixture around every Windows test.
# ORBELA_WINDOWS_ARCH names the Windows road (scripts/windows-road.sh); the
# mingw tree's copy of this script sets it to the tree's target.
# ORBELA_DLLOVERRIDES adds DLL overrides for one run (e.g. "msftedit=d");
# ORBELA_WINEDEBUG replaces the silent WINEDEBUG (e.g. "warn+heap").
set -euo pipefail
. "$(dirname "${BASH_SOURCE[0]}")/windows-road.sh"
[ -n "${ORBELA_WINDOWS_ARCH:-}" ] || windows_road_choose
windows_road_env "$ORBELA_WINDOWS_ARCH"
export WINEDEBUG=${ORBELA_WINEDEBUG:--all}
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d${ORBELA_DLLOVERRIDES:+;$ORBELA_DLLOVERRIDES}"
unset DISPLAY WAYLAND_DISPLAY

# Makes the template. Its steps' output stays on standard output and error, so
# a failure shows why; each step is checked. (Raise orbela_wine_template_revision
# in windows-road.sh whenever this changes.)
make_template() {
  local out=$1
  rm -rf "$out"; mkdir -p "$out"
  export WINEPREFIX=$out
  echo "wine-test: making a $WINEARCH prefix with $WINELOADER ($("$WINELOADER" --version 2>&1 || true))"
  wineboot -i </dev/null || { echo "wine-test: wineboot -i failed (exit code $?)" >&2; return 1; }
  wineserver -w
  [ -f "$WINEPREFIX/system.reg" ] && [ -d "$WINEPREFIX/drive_c/windows/system32" ] ||
    { echo "wine-test: wineboot made no prefix in $WINEPREFIX" >&2; return 1; }
  cat > "$WINEPREFIX/drive_c/setup.reg" <<'REG'
REGEDIT4

[HKEY_CURRENT_USER\Software\Wine\Drivers]
"Graphics"="null"

[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion\AeDebug]
"Debugger"=""

[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]
"Microsoft YaHei"="WenQuanYi Micro Hei"
"SimSun"="WenQuanYi Micro Hei"

[HKEY_CURRENT_USER\Software\Wine\DllOverrides]
"winemenubuilder.exe"=""
"mscoree"=""
"mshtml"=""
REG
  wine regedit /S 'C:\setup.reg' </dev/null || { echo "wine-test: regedit of the settings failed" >&2; return 1; }
  rm -f "$WINEPREFIX/drive_c/setup.reg"
  # The wizards' skins name the face in Chinese; a value name outside ASCII
  # needs a Unicode (UTF-16) .reg file.
  { printf '\xff\xfe'; printf '%s\r\n' 'Windows Registry Editor Version 5.00' '' \
      '[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]' '"微软雅黑"="WenQuanYi Micro Hei"' '' |
      iconv -f UTF-8 -t UTF-16LE; } > "$WINEPREFIX/drive_c/faces.reg"
  wine regedit /S 'C:\faces.reg' </dev/null || { echo "wine-test: regedit of the font faces failed" >&2; return 1; }
  rm -f "$WINEPREFIX/drive_c/faces.reg"
  # Debian's Wine never finds its own fonts; the CJK font joins them.
  cp /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/"
  cp /usr/share/fonts/truetype/wqy/wqy-microhei.ttc "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
  # User folders are links to $HOME in a fresh prefix; make them real.
  local d
  for d in "$WINEPREFIX"/drive_c/users/*/*; do
    if [ -L "$d" ]; then rm "$d"; mkdir "$d"; fi
  done
  wineserver -w
  grep -q '^"Graphics"="null"' "$WINEPREFIX/user.reg" ||
    { echo "wine-test: the settings did not reach the prefix's registry" >&2; return 1; }
}

cmd=${1:-}
case "$cmd" in
  template)
    make_template "$2"
    ;;
  template-path)
    echo "$ORBELA_WINE_TEMPLATE"
    ;;
  start)
    prefix=$2 template=$ORBELA_WINE_TEMPLATE
    [ -d "$template" ] || { echo "wine-test: no template prefix $template (run scripts/setup.sh)" >&2; exit 1; }
    export WINEPREFIX=$prefix
    [ -d "$prefix" ] && { wineserver -k 2>/dev/null || true; rm -rf "$prefix"; }
    cp -a --reflink=auto "$template" "$prefix"
    # The server and Wine's services start detached from our stdio, or they
    # would hold CTest's output pipe open for good.
    wineserver -p </dev/null >/dev/null 2>&1
    wine cmd /c exit </dev/null >/dev/null 2>&1
    ;;
  run)
    prefix=$2 secs=$3; shift 3
    export WINEPREFIX=$prefix
    [ -d "$prefix" ] || { echo "wine-test: no prefix $prefix" >&2; exit 1; }
    # A crash exits at once (no debugger in the prefix); a hang is cut here.
    status=0
    timeout -k 5 "$secs" wine "$@" </dev/null || status=$?
    [ "$status" = 124 ] && echo "wine-test: $1 did not finish within $secs s" >&2
    exit "$status"
    ;;
  stop)
    export WINEPREFIX=$2
    [ -d "$2" ] && wineserver -k 2>/dev/null || true
    ;;
  *)
    echo "usage: wine-test.sh template DIR | start PREFIX | run PREFIX SECS EXE [ARGS] | stop PREFIX" >&2
    exit 2
    ;;
esac
