# Folders with blanks and non-ASCII names: the tree lands exactly there.
# Typed folders are resolved first: "C:\x\..\Games" installs into and records
# "C:\Games\Orbela", the drive root "E:\" "E:\Orbela"; the uninstaller then
# removes each of them.
. "$(dirname "${BASH_SOURCE[0]}")/InstallerSteps.sh"

# A temporary folder with blanks (both paths of the extractor's command line are quoted).
wrun 30 reg add 'HKCU\Environment' /v TEMP /d 'C:\temp dir with blanks' /f >/dev/null
wrun 30 reg add 'HKCU\Environment' /v TMP /d 'C:\temp dir with blanks' /f >/dev/null
mkdir -p "$WINEPREFIX/drive_c/temp dir with blanks"
expect "$(driver folder temp)" 'C:\temp dir with blanks\' "the temporary folder has blanks"

for root in 'C:\My Games' 'C:\Größe'; do
  forget_entry
  install_into "$root"
  expect "$(tree_listing "$(unixpath "$root")")" "$(package_listing)" "the tree under $root"
done
[ -f "$WINEPREFIX/drive_c/temp dir with blanks/orbela.7z" ] || fail "the package was not written to the temporary folder"
echo "ok: the package went to the temporary folder with blanks"

# typed|the install root it resolves to
rows=(
  'C:\x\..\Games|C:\Games'
  'E:\|E:\'
)
add_drive E "$WORK/drive-e"
uninstall_title="Orbela卸载向导"
uninstall_done() { [ "$(driver shown "$uninstall_title" page_uninstall_ok)" = 1 ]; }
for row in "${rows[@]}"; do
  IFS='|' read -r typed resolved <<<"$row"
  echo "--- typed $typed"
  forget_entry
  client="${resolved%\\}\\Orbela"
  client_dir=$(windows_unix_path "$WINEPREFIX" "$client")
  [ "${typed:0:1}" = E ] && client_dir=$WORK/drive-e/Orbela
  start_installer
  driver click "$title" custom_btn >/dev/null
  expect "$(driver type "$title" setup_path "$typed")" ok "typing $typed"
  driver click "$title" quicksetupbtn >/dev/null
  wait_shown start_btn || fail "installing into $typed did not finish"
  expect "$(driver reg InstallLocation)" "$client" "$typed: recorded as the resolved folder"
  expect "$(driver reg UninstallString)" "\"$client\\Uninstall.exe\"" "$typed: the uninstaller's place"
  [ -f "$client_dir/Orbela.exe" ] || fail "$typed: nothing installed into $client"
  driver click "$title" close_btn >/dev/null
  wait_exit "$INSTALLER_PID" 30 || fail "$typed: the installer did not end"

  expect "$(driver run "$(driver reg UninstallString)")" started "$typed: the registered uninstaller starts"
  driver wait "$uninstall_title" 60000 >/dev/null || fail "$typed: no uninstaller window"
  driver click "$uninstall_title" down >/dev/null
  wait_for 60 uninstall_done || fail "$typed: the uninstall did not finish"
  driver click "$uninstall_title" close_btn >/dev/null
  driver gone "$uninstall_title" 30000 >/dev/null || fail "$typed: the uninstaller did not end"
  wait_for 60 bash -c "[ ! -e \"\$1\" ]" _ "$client_dir" || fail "$typed: the uninstaller left $client"
  expect "$(driver reg InstallLocation)" missing "$typed: the entry is gone"
  echo "ok: $typed installed into $client and removed again"
done
[ -d "$WORK/drive-e" ] || fail "the drive E: itself went"
