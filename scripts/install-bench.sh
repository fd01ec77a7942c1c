#!/usr/bin/env bash
# Times the installer's unattended install against the raw work of the same
# steps. Builds once (in build/install-bench/) an installer carrying a ~200 MiB
# package made from a generated folder (part compressible, part not), then in
# one fresh Wine prefix beside the store stand-in, alternating, best of three:
#   installer: from the driver's click on "quicksetupbtn" (posted as the driver
#              ends) until the worker's last write (the desktop link);
#   raw:       copy the package into the temporary folder, then "wine 7z.exe x"
#              of it with the same extractor into the same root.
# Each timed part starts right after the same warm-up (see warm below).
# Last line: install_ratio=<installer/raw>.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
. "$root/scripts/env.sh"
. "$root/scripts/standin.sh"
. "$root/scripts/windows-road.sh"
bench=$root/build/install-bench
main_bin=$root/build/windows/bin
[ -f "$main_bin/WizardDriver.exe" ] || { echo "install-bench: build the Windows tree first (scripts/build.sh)" >&2; exit 1; }

# The generated client folder: 190 MiB of random bytes and 80 MiB of repeated
# text, so the package itself comes to about 200 MiB.
client=$bench/client/Orbela
if [ ! -f "$client/Orbela.exe" ]; then
  echo "install-bench: generating the client folder"
  rm -rf "$bench/client"
  mkdir -p "$client/bin" "$client/data"
  cp "$main_bin/Orbela.exe" "$client/Orbela.exe"
  for i in $(seq 1 19); do head -c $((10 << 20)) /dev/urandom > "$client/bin/module$i.dll"; done
  python3 - "$client/data" <<'PY'
import sys
line = "".join("Orbela resource line %06d with some repeated text for the compressor\n" % i for i in range(1000))
for n in range(40):
    with open("%s/resource%02d.txt" % (sys.argv[1], n), "w") as f:
        while f.tell() < (2 << 20):
            f.write(line)
PY
fi
# The road of the Windows tree: what this machine runs.
windows_road_env "$(windows_road_of_tree "$root/build/windows")"
echo "install-bench: building the installer ($WINEARCH)"
if [ -f "$bench/windows/CMakeCache.txt" ] && [ "$(windows_road_of_tree "$bench/windows")" != "$(windows_road_of_tree "$root/build/windows")" ]; then
  rm -rf "$bench/windows"
fi
cmake -S "$root" -B "$bench/windows" -DCMAKE_TOOLCHAIN_FILE="$ORBELA_MINGW_TOOLCHAIN" \
  -DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DORBELA_CACHE="$ORBELA_CACHE" \
  -DORBELA_NATIVE_BIN_DIR="$root/build/bin" -DORBELA_WINDOWS_CLIENT_DIR="$client" >/dev/null
cmake --build "$bench/windows" --target installation -j "$jobs" >/dev/null
installer=$bench/windows/bin/Installation.exe
package=$bench/windows/tools/Installation/orbela.7z
extractor=$(sed -n 's/^set(ORBELA_7ZIP_DIR "\(.*\)")$/\1/p' "$ORBELA_CACHE/deps/windows-deps-$(windows_road_of_tree "$bench/windows").cmake")/bin/7zr.exe
echo "install-bench: package $(du -m "$package" | cut -f1) MiB, client $(du -sm "$client" | cut -f1) MiB"

export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d;winebrowser.exe=d"
unset DISPLAY http_proxy https_proxy HTTP_PROXY HTTPS_PROXY
export LC_ALL=C.UTF-8 ORBELA_WIZARD_QUERY=1
work=$bench/run
rm -rf "$work"; mkdir -p "$work"
export WINEPREFIX=$work/prefix
cp -a "$ORBELA_WINE_TEMPLATE" "$WINEPREFIX"
trap 'wineserver -k 2>/dev/null || true; standin_stop; rm -rf "$work"' EXIT
wineserver -p </dev/null >/dev/null 2>&1
wine cmd /c exit </dev/null >/dev/null 2>&1
standin_start "$work/standin"
export ORBELA_APP_API_HOST=$STANDIN_HOST

driver() { wine "$main_bin/WizardDriver.exe" "$@" </dev/null 2>/dev/null | tr -d '\r'; }
title="Orbela安装向导"
temp_win=$(driver folder temp)
temp=$WINEPREFIX/drive_c/${temp_win#C:\\}; temp=${temp//\\//}
install_root=$(windows_default_install_root "$WINEPREFIX")
root_unix=$(windows_unix_path "$WINEPREFIX" "$install_root")
desktop=$(driver folder desktop)
link=$WINEPREFIX/drive_c/${desktop#C:\\}/Orbela.lnk; link=${link//\\//}
now() { date +%s.%N; }
# A FIFO held open both ways never has data, so a read on it just waits.
mkfifo "$work/tick"; exec {tick}<>"$work/tick"

clean() {
  wine reg delete 'HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\Orbela' /f </dev/null >/dev/null 2>&1 || true
  rm -rf "$root_unix" "$temp/orbela.7z" "$temp/7z.exe" "$link"
  sync
}
# Both sides start in the same memory state. A virtual machine may hand memory
# freed a while ago back to its host, and taking it again then costs several
# times the writes themselves, so whichever side started longer after "clean"
# (the installer: its start-up comes in between) paid for it. Writing a GiB
# and dropping it right before the timed part gives both fresh memory.
warm() { dd if=/dev/zero of="$work/warm" bs=4M count=256 status=none; rm -f "$work/warm"; }

run_installer() {
  clean
  wine "$installer" </dev/null >/dev/null 2>&1 &
  local pid=$!
  driver wait "$title" 60000 >/dev/null
  warm
  # The click is posted as the driver ends; its start-up (a Wine process and a
  # query of the control tree) is no work of the installer's.
  driver click "$title" quicksetupbtn >/dev/null
  local start; start=$(now)
  # Wait without starting a process each turn: a "sleep" every 5 ms costs the
  # machine enough to slow the installer being timed (the raw side polls nothing).
  until [ -f "$link" ]; do read -t 0.005 -u "$tick" || true; done
  local end; end=$(now)
  driver close "$title" >/dev/null
  driver click "Orbela提示弹窗" msg_down >/dev/null
  wait "$pid" 2>/dev/null || true
  [ -f "$root_unix/Orbela/Orbela.exe" ] || { echo "install-bench: the installer did not install" >&2; exit 1; }
  echo "$end - $start" | bc
}

run_raw() {
  clean
  cp "$extractor" "$temp/7z.exe"
  mkdir -p "$root_unix"
  warm
  local start; start=$(now)
  cp "$package" "$temp/orbela.7z"
  wine "$temp_win\\7z.exe" x "$temp_win\\orbela.7z" -y "-o$install_root" </dev/null >/dev/null
  local end; end=$(now)
  [ -f "$root_unix/Orbela/Orbela.exe" ] || { echo "install-bench: 7z did not extract" >&2; exit 1; }
  echo "$end - $start" | bc
}

best_installer=""; best_raw=""
for round in 1 2 3; do
  t=$(run_installer); echo "round $round installer ${t}s"
  if [ -z "$best_installer" ] || [ "$(echo "$t < $best_installer" | bc)" = 1 ]; then best_installer=$t; fi
  t=$(run_raw); echo "round $round raw ${t}s"
  if [ -z "$best_raw" ] || [ "$(echo "$t < $best_raw" | bc)" = 1 ]; then best_raw=$t; fi
done
echo "installer_best=${best_installer}s raw_best=${best_raw}s"
printf 'install_ratio=%.3f\n' "$(echo "$best_installer / $best_raw" | bc -l)"
