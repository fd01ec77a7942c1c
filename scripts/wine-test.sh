#!/usr/bin/env bash
# Runs Windows programs under Wine, headless and quiet.
#   wine-test.sh template DIR            make a prefix from scratch (the cached template)
#   wine-test.sh template-path           where the cached template lives
#   wine-test.sh start PREFIX            copy the template to PREFIX, start a warm wineserver
#   wine-test.sh run PREFIX SECS EXE...  run EXE in PREFIX; its exit code, 124 on a hang
#   wine-test.sh stop PREFIX             stop PREFIX's wineserver
# CTest calls start and stop as the fixture around every Windows test.
# ORBELA_DLLOVERRIDES adds DLL overrides for one run (e.g. "msftedit=d");
# ORBELA_WINEDEBUG replaces the silent WINEDEBUG (e.g. "warn+heap").
set -euo pipefail
: "${ORBELA_CACHE:=/var/cache/orbela}"
export WINEARCH=win32 WINEDEBUG=${ORBELA_WINEDEBUG:--all}
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d${ORBELA_DLLOVERRIDES:+;$ORBELA_DLLOVERRIDES}"
unset DISPLAY WAYLAND_DISPLAY

# Raised whenever make_template changes, so caches made before are remade.
template_revision=2

template_dir() {
  echo "$ORBELA_CACHE/wine-$(dpkg-query -W -f='${Version}' wine 2>/dev/null || echo unknown)-r$template_revision"
}

make_template() {
  local out=$1
  rm -rf "$out"; mkdir -p "$out"
  export WINEPREFIX=$out
  wineboot -i </dev/null >/dev/null 2>&1
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
  wine regedit /S 'C:\setup.reg' </dev/null >/dev/null 2>&1
  rm -f "$WINEPREFIX/drive_c/setup.reg"
  # The wizards' skins name the face in Chinese; a value name outside ASCII
  # needs a Unicode (UTF-16) .reg file.
  { printf '\xff\xfe'; printf '%s\r\n' 'Windows Registry Editor Version 5.00' '' \
      '[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]' '"微软雅黑"="WenQuanYi Micro Hei"' '' |
      iconv -f UTF-8 -t UTF-16LE; } > "$WINEPREFIX/drive_c/faces.reg"
  wine regedit /S 'C:\faces.reg' </dev/null >/dev/null 2>&1
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
}

cmd=${1:-}
case "$cmd" in
  template)
    make_template "$2"
    ;;
  template-path)
    template_dir
    ;;
  start)
    prefix=$2 template=$(template_dir)
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
