# What goes and what stays: the client folder and an install root it leaves
# empty go, a sibling and its parent stay; the clean-up batch deletes exactly
# the uninstaller that ran (on another drive than the batch's current folder,
# renamed with blanks and brackets, from a temporary folder with blanks, under
# a folder with umlauts), and decoys beside it live. Install roots whose names
# cmd would read as other paths ("%", "%PATH%", "!", "^", "&"): exactly that
# install goes, the folder the misread name would reach and a sibling live.
. "$(dirname "${BASH_SOURCE[0]}")/UninstallSteps.sh"

echo "--- on drive E: beside a sibling, a decoy Uninstall.exe in the batch's current folder"
add_drive E "$WORK/drive-e"
seed_client 'E:\Games'
mkdir -p "$WORK/drive-e/Games/Other"
echo keep > "$WORK/drive-e/Games/Other/keep.txt"
temp=$(temp_dir)
echo decoy > "$temp/Uninstall.exe"
run_registered_uninstaller
confirm_and_finish
wait_for 60 gone "$client_dir" "$(batch_file)" || fail "the client folder or the batch stayed"
expect "$(cat "$WORK/drive-e/Games/Other/keep.txt")" keep "the sibling and its parent live"
expect "$(cat "$temp/Uninstall.exe")" decoy "the decoy in the batch's folder lives"
expect "$(driver reg InstallLocation)" missing "the entry is gone"
expect "$(links_left)" "" "the links are gone"

# name|install root|where a misread path would land (a sentinel there)
misread_rows=(
  'a lone %|D:\Games 100%|D:\Games 100'
  'a variable|D:\Games %PATH%|D:\Games PATH'
  'marks of delayed expansion and command lines|D:\Games a!ORBELA_TEST_NAME!b^c&d|D:\Games aMisreadb^c&d'
)
# The variable a batch run with delayed expansion would read (Wine's cmd keeps the caret).
export ORBELA_TEST_NAME=Misread
add_drive D "$WORK/drive-d"
for row in "${misread_rows[@]}"; do
  IFS='|' read -r name root misread <<<"$row"
  echo "--- $name: $root"
  seed_client "$root"
  mkdir -p "$(any_unixpath "$root")/Other" "$(any_unixpath "$misread")/Orbela"
  echo keep > "$(any_unixpath "$root")/Other/keep.txt"
  echo keep > "$(any_unixpath "$misread")/Orbela/keep.txt"
  run_registered_uninstaller
  expect "$(driver reg InstallLocation)" "$root\\Orbela" "$name: the entry names the install"
  confirm_and_finish
  wait_for 60 gone "$client_dir" "$(batch_file)" || fail "$name: the client folder or the batch stayed"
  expect "$(cat "$(any_unixpath "$root")/Other/keep.txt")" keep "$name: the sibling in the install root lives"
  expect "$(cat "$(any_unixpath "$misread")/Orbela/keep.txt")" keep "$name: the misread folder lives"
  expect "$(driver reg InstallLocation)" missing "$name: the entry is gone"
done

echo "--- a renamed copy beside decoys"
seed_client 'C:\Third'
mkdir -p "$(unixpath 'C:\Downloads')"
cp "$client_dir/Uninstall.exe" "$(unixpath 'C:\Downloads')/Uninstall (1).exe"
echo decoy > "$(unixpath 'C:\Downloads')/Uninstall"
echo decoy > "$(unixpath 'C:\Downloads')/(1).exe"
start_uninstaller 'C:\Downloads\Uninstall (1).exe'
confirm_and_finish
wait_for 60 gone "$(unixpath 'C:\Downloads')/Uninstall (1).exe" "$(batch_file)" || fail "the renamed copy or the batch stayed"
expect "$(cat "$(unixpath 'C:\Downloads')/Uninstall")" decoy "the decoy Uninstall lives"
expect "$(cat "$(unixpath 'C:\Downloads')/(1).exe")" decoy "the decoy (1).exe lives"
gone "$(unixpath 'C:\Third')" || fail "the emptied root C:\\Third stayed"

echo "--- under C:\\Größe, a temporary folder with blanks"
wrun 30 reg add 'HKCU\Environment' /v TEMP /d 'C:\temp dir with blanks' /f >/dev/null
wrun 30 reg add 'HKCU\Environment' /v TMP /d 'C:\temp dir with blanks' /f >/dev/null
mkdir -p "$WINEPREFIX/drive_c/temp dir with blanks"
expect "$(driver folder temp)" 'C:\temp dir with blanks\' "the temporary folder has blanks"
seed_client 'C:\Größe'
run_registered_uninstaller
confirm_and_finish
wait_for 60 gone "$(unixpath 'C:\Größe')" "$(batch_file)" || fail "C:\\Größe or the batch stayed"
expect "$(driver reg InstallLocation)" missing "the entry is gone"
expect "$(requests_for /hits)" 6 "one report for each uninstall"
