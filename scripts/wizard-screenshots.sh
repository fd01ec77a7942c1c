#!/usr/bin/env bash
# Screenshots of a wizard's pages under Xvfb with Wine's X11 driver, in a
# prefix of their own, into build/screenshots/.
#   wizard-screenshots.sh Installation|Update|Uninstall
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
. "$root/scripts/env.sh"
. "$root/scripts/standin.sh"
. "$root/scripts/windows-road.sh"
wizard=${1:?usage: wizard-screenshots.sh Installation|Update|Uninstall}
bin=$root/build/windows/bin
out=$root/build/screenshots
work=$root/build/screenshots-work
[ -f "$bin/$wizard.exe" ] || { echo "screenshots: $bin/$wizard.exe is not built" >&2; exit 1; }

if [ -z "${SCREENSHOT_DISPLAY_READY:-}" ]; then
  exec env SCREENSHOT_DISPLAY_READY=1 xvfb-run -a -s '-screen 0 1024x768x24' "$0" "$@"
fi

windows_road_env "$(windows_road_of_tree "$root/build/windows")"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d;winebrowser.exe=d"
unset http_proxy https_proxy HTTP_PROXY HTTPS_PROXY
export LC_ALL=C.UTF-8
rm -rf "$work"
mkdir -p "$work" "$out"
export WINEPREFIX=$work/prefix
cp -a "$ORBELA_WINE_TEMPLATE" "$WINEPREFIX"
# Where the installer puts the client on this prefix's machine.
install_root=$(windows_default_install_root "$WINEPREFIX")
install_root_unix=$(windows_unix_path "$WINEPREFIX" "$install_root")
printf 'REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Wine\\Drivers]\n"Graphics"="x11"\n' > "$WINEPREFIX/drive_c/x11.reg"
wineserver -p </dev/null >/dev/null 2>&1
wine regedit /S 'C:\x11.reg' </dev/null >/dev/null 2>&1
wine cmd /c exit </dev/null >/dev/null 2>&1
trap 'wineserver -k 2>/dev/null || true; standin_stop; rm -rf "$work"' EXIT
standin_start "$work/standin"
export ORBELA_APP_API_HOST=$STANDIN_HOST ORBELA_WIZARD_QUERY=1

driver() { wine "$bin/WizardDriver.exe" "$@" </dev/null 2>/dev/null | tr -d '\r'; }
shot() { sleep 0.5; /usr/bin/import -window root "$out/$1.png"; echo "$out/$1.png"; }
shown() { [ "$(driver shown "$2" "$3")" = 1 ]; }
wait_shown() { # TITLE NAME
  local deadline=$((SECONDS + 120))
  until shown x "$1" "$2"; do [ "$SECONDS" -lt "$deadline" ] || { echo "screenshots: $2 never showed" >&2; exit 1; }; sleep 0.2; done
}
box="Orbela提示弹窗"

# An installed client for the updater and the uninstaller: the installer's
# package unpacked where the installer puts it, its entry and its links.
seed_client() {
  local package=$root/build/windows/tools/Installation/orbela.7z dir=$install_root_unix
  mkdir -p "$dir"
  7z x -y -bd -o"$dir" "$package" >/dev/null
  client="$install_root\\Orbela"
  wine "$bin/HelperProbe.exe" entry "$client" 1.1.1.81 </dev/null >/dev/null 2>&1
  wine "$bin/HelperProbe.exe" links "$client" </dev/null >/dev/null 2>&1
  cp "$dir/Orbela/Update.exe" "$dir/Update.exe"
}
fault() {
  curl -sf --data-urlencode route=/download/orbela-update.7z --data-urlencode "mode=$1" \
    "http://$STANDIN_HOST/__control/fault" >/dev/null
}

case "$wizard" in
Installation)
  title="Orbela安装向导"
  wine "$bin/Installation.exe" </dev/null >/dev/null 2>&1 &
  driver wait "$title" 60000 >/dev/null
  shot installation-quick-setup
  driver click "$title" custom_btn >/dev/null
  shot installation-expanded
  driver click "$title" custom_btn >/dev/null
  driver click "$title" terms_btn >/dev/null
  wait_shown "$title" wordedit
  shot installation-licence
  driver click "$title" down >/dev/null
  wait_shown "$title" quicksetupbtn
  driver click "$title" checkbox_terms >/dev/null
  driver click "$title" quicksetupbtn >/dev/null
  driver wait "$box" 30000 >/dev/null
  shot installation-notice
  driver click "$box" msg_down >/dev/null
  driver gone "$box" 30000 >/dev/null
  driver close "$title" >/dev/null
  driver wait "$box" 30000 >/dev/null
  driver click "$box" msg_down >/dev/null
  driver gone "$title" 30000 >/dev/null
  # The progress page stays long enough to see with the many-files package.
  slow=$bin/InstallationManyFiles.exe
  [ -f "$slow" ] || slow=$bin/Installation.exe
  wine "$slow" </dev/null >/dev/null 2>&1 &
  driver wait "$title" 60000 >/dev/null
  driver click "$title" quicksetupbtn >/dev/null
  wait_shown "$title" progress_text
  sleep 1.5
  shot installation-progress
  wait_shown "$title" start_btn
  shot installation-finished
  driver click "$title" close_btn >/dev/null
  driver gone "$title" 30000 >/dev/null
  ;;
Update)
  title="Orbela更新向导"
  seed_client
  mkdir -p "$work/standin/data/download"
  cp "$root/build/windows/tools/Update/orbela-update.7z" "$work/standin/data/download/"
  url="http://$STANDIN_HOST/download/orbela-update.7z"
  updater="$install_root\\Update.exe"
  # Slowly, so the progress page and the exit question can be seen.
  fault slow:150000
  wine "$updater" 1.1.1.82 "$url" </dev/null >/dev/null 2>&1 &
  driver wait "$title" 60000 >/dev/null
  sleep 4
  shot update-progress
  driver close "$title" >/dev/null
  driver wait "$box" 30000 >/dev/null
  shot update-exit-question
  driver click "$box" msg_cancel >/dev/null
  wait_shown "$title" start_btn
  shot update-finished
  driver close "$title" >/dev/null
  driver wait "$box" 30000 >/dev/null
  driver click "$box" msg_down >/dev/null
  driver gone "$title" 30000 >/dev/null
  fault 404
  wine "$updater" 1.1.1.82 "$url" </dev/null >/dev/null 2>&1 &
  driver wait "$box" 60000 >/dev/null
  shot update-download-failed
  driver click "$box" msg_down >/dev/null
  driver gone "$title" 30000 >/dev/null
  ;;
Uninstall)
  title="Orbela卸载向导"
  seed_client
  mkdir -p "$WINEPREFIX/drive_c/Copy"
  cp "$install_root_unix/Orbela/Uninstall.exe" "$WINEPREFIX/drive_c/Copy/"
  wine reg add 'HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\Orbela' /v InstallLocation /d 'C:\Windows' /f \
    </dev/null >/dev/null 2>&1
  wine 'C:\Copy\Uninstall.exe' </dev/null >/dev/null 2>&1 &
  driver wait "$title" 60000 >/dev/null
  shot uninstall-confirm
  driver click "$title" down >/dev/null
  driver wait "$box" 30000 >/dev/null
  shot uninstall-folder-wrong
  driver click "$box" msg_down >/dev/null
  driver gone "$box" 30000 >/dev/null
  driver click "$title" cancel >/dev/null
  driver gone "$title" 30000 >/dev/null
  wine "$bin/HelperProbe.exe" entry "$client" 1.1.1.81 </dev/null >/dev/null 2>&1
  wine "$install_root_unix/Orbela/Orbela.exe" </dev/null >/dev/null 2>&1 &
  sleep 2
  wine 'C:\Copy\Uninstall.exe' </dev/null >/dev/null 2>&1 &
  driver wait "$title" 60000 >/dev/null
  driver click "$title" down >/dev/null
  driver wait "$box" 30000 >/dev/null
  shot uninstall-stop-prompt
  driver click "$box" msg_down >/dev/null
  driver gone "$box" 30000 >/dev/null
  # The window answers once the removal has run; its progress page then runs
  # its last tenth in about a second.
  until shown x "$title" page_uninstall_rate || shown x "$title" page_uninstall_ok; do sleep 0.05; done
  sleep 0.15
  /usr/bin/import -window root "$out/uninstall-progress.png"; echo "$out/uninstall-progress.png"
  wait_shown "$title" page_uninstall_ok
  shot uninstall-finished
  driver click "$title" close_btn >/dev/null
  driver gone "$title" 30000 >/dev/null
  ;;
*)
  echo "screenshots: no page steps for $wizard" >&2
  exit 2
  ;;
esac
