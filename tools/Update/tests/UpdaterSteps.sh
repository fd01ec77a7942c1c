# Shared steps of the updater and uninstaller tests (sourced after the wizard
# test helpers): the installer's helpers, an installed client seeded straight
# from the installer's package, the update package in the stand-in's download
# folder, and starts of the updater as the client starts it.
. "$(dirname "${BASH_SOURCE[0]}")/../../Installation/tests/InstallerSteps.sh"
update_title="Orbela更新向导"
uninstall_title="Orbela卸载向导"
old_version=1.1.1.81
new_version=1.1.1.82
package_url="http://$STANDIN_HOST/download/orbela-update.7z"
download_dir=$WORK/standin/data/download
mkdir -p "$download_dir"
cp "$ORBELA_UPDATE_PACKAGE" "$download_dir/orbela-update.7z"

# The Unix path of a Windows path on any drive of the prefix.
any_unixpath() {
  local drive=${1:0:1} path=${1:2}
  printf '%s/dosdevices/%s:%s' "$WINEPREFIX" "${drive,,}" "${path//\\//}"
}

# seed_install ROOT: the package's folder "Orbela" under ROOT (a Windows path)
# and the uninstall entry for it, as an installation leaves them. Sets
# client (Windows) and client_dir (Unix).
seed_install() {
  local dir
  dir=$(any_unixpath "$1")
  mkdir -p "$dir"
  7z x -y -bd -o"$dir" "$ORBELA_PACKAGE" >/dev/null
  client="$1\\Orbela"
  client_dir="$dir/Orbela"
  expect "$(wrun 30 "$WIN_BIN/HelperProbe.exe" entry "$client" "$old_version")" written "the entry for $client"
}

# set_location TEXT | --missing: the entry's "InstallLocation" alone.
set_location() {
  if [ "$1" = --missing ]; then
    wrun 30 reg delete "$entry_key" /v InstallLocation /f >/dev/null 2>&1 || true
  else
    wrun 30 reg add "$entry_key" /v InstallLocation /d "$1" /f >/dev/null
  fi
}
entry_key='HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\Orbela'

# tree_hashes DIR: every file under DIR with its MD5, sorted.
tree_hashes() { (cd "$1" && find . -type f -exec md5sum {} + | sort -k 2); }

# fault MODE: the stand-in answers the update package that way ("clear" for normally).
fault() {
  if [ "$1" = clear ]; then
    curl -sf -d '' "http://$STANDIN_HOST/__control/fault/clear" >/dev/null || fail "faults not cleared"
  else
    curl -sf --data-urlencode route=/download/orbela-update.7z --data-urlencode "mode=$1" \
      "http://$STANDIN_HOST/__control/fault" >/dev/null || fail "fault $1 not set"
  fi
}

# How many requests for PATH the stand-in logged.
requests_for() {
  python3 - "$STANDIN_LOG" "$1" <<'PY'
import json, sys
print(sum(1 for line in open(sys.argv[1], encoding="utf-8") if json.loads(line).get("path") == sys.argv[2]))
PY
}
package_gets() { requests_for /download/orbela-update.7z; }

# start_updater EXE [ARGS...]: starts the updater (default arguments: the new
# version and the package's address); sets UPDATER_PID.
start_updater() {
  local exe=$1; shift
  if [ $# -eq 0 ]; then set -- "$new_version" "$package_url"; fi
  wstart updater "$exe" "$@"
  UPDATER_PID=$WSTARTED
}

# The updater's control is visible.
update_shown() { [ "$(driver shown "$update_title" "$1")" = 1 ]; }

# The temporary folder of the prefix as a Unix path.
temp_dir() { unixpath "$(driver folder temp)"; }
