#!/usr/bin/env bash
# Runs one wizard test script: a bash file sourced here, in a Wine prefix of
# its own (copied from the cached template, with its own wineserver) beside a
# store stand-in of its own; both are stopped at the end.
#   wizard-test.sh SCRIPT
# Environment (set by add_wizard_test): WIN_BIN, WORK, ORBELA_STORESERVER,
# ORBELA_CACHE, ORBELA_WINDOWS_ARCH (the tree's Windows road, set by the tree's
# copy of this script); LC_ALL=zh_CN.UTF-8 gives the wizards code page 936,
# anything else the default code pages 437/1252.
set -euo pipefail
# A step that stops the script through set -e says which one, as fail does.
trap 'status=$?; echo "wizard-test: \"$BASH_COMMAND\" ended with $status (${BASH_SOURCE[0]##*/}:$LINENO)" >&2' ERR
script=${1:?usage: wizard-test.sh SCRIPT}
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
: "${ORBELA_CACHE:=/var/cache/orbela}" "${WIN_BIN:?}" "${WORK:?}"
export ORBELA_CACHE WIN_BIN WORK

. "$root/scripts/standin.sh"
. "$root/scripts/windows-road.sh"
[ -n "${ORBELA_WINDOWS_ARCH:-}" ] || windows_road_choose
windows_road_env "$ORBELA_WINDOWS_ARCH"

export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d;winebrowser.exe=d"
unset DISPLAY WAYLAND_DISPLAY http_proxy https_proxy ftp_proxy all_proxy no_proxy \
  HTTP_PROXY HTTPS_PROXY FTP_PROXY ALL_PROXY NO_PROXY
# A UTF-8 Unix locale, so Wine can write file names such as "卸载Orbela.lnk".
if [ "${LC_ALL:-}" != zh_CN.UTF-8 ]; then export LC_ALL=C.UTF-8; fi

rm -rf "$WORK"
mkdir -p "$WORK"
export WINEPREFIX=$WORK/prefix
template=$ORBELA_WINE_TEMPLATE
[ -d "$template" ] || { echo "wizard-test: no template prefix $template (run scripts/setup.sh)" >&2; exit 1; }
# Wine only reads the system folders (system32, and syswow64 in a win64
# prefix), so their files are hard links to the template's; everything else
# (registry, user folders, Program Files) is a real copy.
system_dirs=()
for d in system32 syswow64; do
  if [ -d "$template/drive_c/windows/$d" ]; then system_dirs+=("$d"); fi
done
mkdir -p "$WINEPREFIX"
(cd "$template" && tar "${system_dirs[@]/#/--exclude=./drive_c/windows/}" -cf - .) | (cd "$WINEPREFIX" && tar -xf -)
for d in "${system_dirs[@]}"; do
  cp -al "$template/drive_c/windows/$d" "$WINEPREFIX/drive_c/windows/$d" 2>/dev/null \
    || cp -a "$template/drive_c/windows/$d" "$WINEPREFIX/drive_c/windows/$d"
done

cleanup() {
  local status=$?
  wineserver -k 2>/dev/null || true
  standin_stop
  # The prefix is kept after a failure, for a look at what the test left.
  [ "$status" = 0 ] && rm -rf "$WINEPREFIX"
  exit "$status"
}
trap cleanup EXIT
trap 'exit 143' TERM INT

# The server and Wine's services start detached from our stdio, or they would
# hold CTest's output pipe open.
wineserver -p </dev/null >/dev/null 2>&1
wine cmd /c exit </dev/null >/dev/null 2>&1

standin_start "$WORK/standin"
export ORBELA_APP_API_HOST=$STANDIN_HOST
export ORBELA_WIZARD_QUERY=1

# --- helpers for the test scripts -------------------------------------------

# The Windows path of a Unix path (drive Z: is the root).
winpath() { printf 'Z:%s' "${1//\//\\}"; }

export ORBELA_FIXTURE_LOG=$(winpath "$WORK/fixture.log")
export STANDIN_LOG_WIN=$(winpath "$STANDIN_LOG")

# wait_for SECS COMMAND...: until the command succeeds; false after SECS seconds.
wait_for() {
  local deadline=$((SECONDS + $1)); shift
  until "$@"; do
    [ "$SECONDS" -lt "$deadline" ] || return 1
    sleep 0.1
  done
}

fail() { echo "FAIL: $*" >&2; exit 1; }

# expect ACTUAL EXPECTED WHAT
expect() {
  if [ "$1" != "$2" ]; then fail "$3: got '$1', expected '$2'"; fi
  echo "ok: $3"
}

# wrun SECS EXE [ARGS]: runs a Windows program; its exit code, 124 on a hang.
# Standard output comes without carriage returns. It goes through a file, not
# a pipe, because programs the program starts keep their copy of it open.
wrun() {
  local secs=$1; shift
  local status=0 out=$WORK/wrun.out
  timeout -k 5 "$secs" wine "$@" </dev/null >"$out" || status=$?
  tr -d '\r' <"$out"
  return "$status"
}

# wstart NAME EXE [ARGS]: starts a Windows program in the background; its pid
# is WSTARTED and its output (without carriage returns) is "started NAME".
wstart() {
  local name=$1; shift
  wine "$@" </dev/null >"$WORK/started-$name.out" 2>"$WORK/started-$name.err" &
  WSTARTED=$!
}
started() { tr -d '\r' <"$WORK/started-$1.out"; }

# wait_exit PID SECS: until that background program ends; false on a time-out.
wait_exit() { wait_for "$2" bash -c "! kill -0 $1 2>/dev/null"; }

# driver COMMAND [ARGS]: one WizardDriver.exe command, its answer on standard output.
# A command that waits a given number of ms (wait, gone, answers) gets that
# long on top of the 30 s any command may take under a loaded Wine, so the
# driver's own time-out, not this wrapper, ends the wait.
driver() {
  local secs=30
  case $1 in
    wait|gone|answers) [[ ${3:-} =~ ^[0-9]+$ ]] && secs=$((30 + $3 / 1000)) ;;
  esac
  wrun "$secs" "$WIN_BIN/WizardDriver.exe" "$@"
}

# add_drive LETTER DIR: a drive of the prefix backed by a Unix folder.
add_drive() { mkdir -p "$2"; ln -sfn "$2" "$WINEPREFIX/dosdevices/${1,,}:"; }

# require_code_page N: the wizards see this ANSI code page (zh_CN gives 936).
require_code_page() {
  local seen
  seen=$(wrun 30 "$WIN_BIN/HelperProbe.exe" --code-page)
  [ "$seen" = "$1" ] || fail "the wizards see code page '$seen', not $1 (is the locale generated?)"
}

# hits_field KEY: that form field of every "/hits" request the stand-in logged, one a line.
hits_field() {
  python3 - "$STANDIN_LOG" "$1" <<'PY'
import json, sys
for line in open(sys.argv[1], encoding="utf-8"):
    entry = json.loads(line)
    if entry.get("path") == "/hits":
        value = entry.get(sys.argv[2]) if sys.argv[2] in ("verdict", "body") else entry["form"].get(sys.argv[2], "<absent>")
        print(value)
PY
}

. "$script"
echo "PASS: $(basename "$script")"
