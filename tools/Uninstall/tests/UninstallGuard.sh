# The folder guard as a table: an "InstallLocation" that names no Orbela
# install, or one too long for the uninstaller to check and remove whole, gets
# "Orbela目录有误！", and nothing is removed, reported or left to a batch.
# "cancel" on the first page removes nothing either. A trailing backslash is
# accepted; a client folder that has vanished still loses its links and its
# entry, and no folder is touched.
. "$(dirname "${BASH_SOURCE[0]}")/UninstallSteps.sh"

seed_client 'C:\Games'
mkdir -p "$(unixpath 'C:\Fake\Orbela')" "$(unixpath 'C:\Other')"
echo keep > "$(unixpath 'C:\Fake\Orbela')/keep.txt"
cp -r "$client_dir" "$(unixpath 'C:\Other')/Client"
mkdir -p "$(unixpath 'C:\Copy')"
cp "$client_dir/Uninstall.exe" "$(unixpath 'C:\Copy')/Uninstall.exe"
copy='C:\Copy\Uninstall.exe'
# 310 characters, the client in it.
long_client="C:\\$(printf 'L%.0s' {1..150})\\$(printf 'M%.0s' {1..149})\\Orbela"
mkdir -p "$(dirname "$(unixpath "$long_client")")"
cp -r "$client_dir" "$(unixpath "$long_client")"
[ -f "$(unixpath "$long_client")/Orbela.exe" ] || fail "no client in the long folder"
snapshot() {
  tree_hashes "$(unixpath 'C:\')" 2>/dev/null | grep -v -e '/windows/' -e '/users/' -e '/ProgramData/' -e '/Program Files'
  links_left
}
before=$(snapshot)

# name|InstallLocation ("--missing" for none)
rows=(
  'a drive root|C:\'
  'empty|'
  'missing|--missing'
  'relative|Orbela'
  'the Windows folder|C:\Windows'
  'a folder Orbela without Orbela.exe|C:\Fake\Orbela'
  'a client folder with another name|C:\Other\Client'
  "a 310-character path|$long_client"
)
for row in "${rows[@]}"; do
  IFS='|' read -r name location <<<"$row"
  echo "--- $name"
  set_location "$location"
  start_uninstaller "$copy"
  driver click "$uninstall_title" down >/dev/null
  expect "$(notice_text)" "Orbela目录有误！" "$name: the notice"
  answer_box ok
  expect "$(driver shown "$uninstall_title" page_confirm_uninstall)" 1 "$name: the first page stays"
  driver click "$uninstall_title" cancel >/dev/null
  wait_exit "$UNINSTALLER_PID" 30 || fail "$name: cancel did not end the uninstaller"
  expect "$(snapshot)" "$before" "$name: nothing removed"
  expect "$(driver reg DisplayName)" Orbela "$name: the entry stays"
  [ -f "$WINEPREFIX/drive_c/windows/system32/cmd.exe" ] || fail "$name: the Windows folder was touched"
  gone "$(batch_file)" || fail "$name: a batch was written"
  [ -f "$(unixpath "$copy")" ] || fail "$name: the uninstaller was deleted"
done
expect "$(requests_for /hits)" 0 "no report"

echo "--- cancel on the first page"
set_location "$client"
start_uninstaller "$copy"
driver click "$uninstall_title" cancel >/dev/null
wait_exit "$UNINSTALLER_PID" 30 || fail "cancel did not end the uninstaller"
expect "$(snapshot)" "$before" "cancel: nothing removed"
expect "$(driver reg InstallLocation)" "$client" "cancel: the entry stays"
gone "$(batch_file)" || fail "cancel wrote a batch"

echo "--- a trailing backslash"
set_location "$client\\"
start_uninstaller "$copy"
confirm_and_finish
wait_for 60 gone "$client_dir" "$(unixpath 'C:\Games')" "$(unixpath "$copy")" "$(batch_file)" \
  || fail "the trailing backslash: the folder, its emptied parent, the copy or the batch stayed"
expect "$(driver reg InstallLocation)" missing "the trailing backslash: the entry is gone"
expect "$(links_left)" "" "the trailing backslash: the links are gone"
[ -d "$(unixpath 'C:\Copy')" ] || fail "the copy's folder went with it"

echo "--- a vanished client folder"
seed_client 'C:\Gone'
echo keep > "$(unixpath 'C:\Gone')/keep.txt"
rm -rf "$client_dir"
cp "$(unixpath 'C:\Other')/Client/Uninstall.exe" "$(unixpath 'C:\Copy')/Uninstall.exe"
start_uninstaller "$copy"
confirm_and_finish
wait_for 60 gone "$(unixpath "$copy")" "$(batch_file)" || fail "the vanished folder: the copy or the batch stayed"
expect "$(driver reg InstallLocation)" missing "the vanished folder: the entry is gone"
expect "$(links_left)" "" "the vanished folder: the links are gone"
expect "$(cat "$(unixpath 'C:\Gone')/keep.txt")" keep "the vanished folder: its parent is untouched"
expect "$(requests_for /hits)" 2 "one report for each uninstall"
