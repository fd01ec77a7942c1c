# Closing while the package unpacks: after OK the window stays responsive
# until the worker has stopped cleanly, then the wizard ends without starting
# the client. Either nothing is registered and no temporary file is left
# behind, or entry, links and tree are complete.
. "$(dirname "${BASH_SOURCE[0]}")/InstallerSteps.sh"
temp=$(unixpath "$(driver folder temp)")
start_installer "$WIN_BIN/InstallationManyFiles.exe"
driver click "$title" quicksetupbtn >/dev/null
wait_shown progress_text 30 || fail "no progress page"
driver close "$title" >/dev/null
expect "$(notice_text)" "确定要退出Orbela安装程序？" "closing asks"
answer_box ok
if driver wait "$title" 100 >/dev/null; then
  status=0; driver text "$title" progress_text >/dev/null || status=$?
  # Gone in the meantime is fine too (3: no such window).
  [ "$status" = 0 ] || ! driver wait "$title" 100 >/dev/null || fail "the window did not answer while the worker ended"
  echo "ok: the window answers while the worker ends"
fi
wait_exit "$INSTALLER_PID" 120 || fail "the wizard did not end after OK"
[ ! -s "$WORK/fixture.log" ] || fail "the client was started"
echo "ok: the wizard ended without starting the client"

if [ "$(driver reg DisplayName)" = missing ]; then
  echo "stopped before unpacking"
  [ ! -e "$temp/orbela.7z" ] || fail "a partial package is left"
  expect "$(driver lnk "$(driver folder desktop)\\Orbela.lnk")" missing "no desktop link"
else
  echo "stopped after unpacking"
  root=$(windows_default_install_root "$WINEPREFIX")
  expect "$(driver reg InstallLocation)" "$root\\Orbela" "the entry is complete"
  expect "$(driver reg URLInfoAbout)" "$ORBELA_PRODUCT_PAGE" "the last value is written"
  expect "$(driver lnk "$(driver folder desktop)\\Orbela.lnk")" "$root\\Orbela\\Orbela.exe" "the desktop link"
  expect "$(tree_listing "$(unixpath "$root")" | wc -l)" "$(7z l -slt "$ORBELA_SLOW_PACKAGE" | grep -c '^Path = Orbela')" "the whole tree"
fi
