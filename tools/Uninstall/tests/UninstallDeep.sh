# Paths past 260 characters in the client folder (a game's deep assets): the
# whole folder goes with the done page, and nothing outside it is touched;
# the Windows folder and the system folder keep every entry. They are counted
# from the Unix side as soon as the removal has ended or either count has
# changed, so a wipe fails the row at once rather than at a time-out of the
# driver, which cannot run without the system folder.
. "$(dirname "${BASH_SOURCE[0]}")/UninstallSteps.sh"

windows_dir=$WINEPREFIX/drive_c/windows
counts() { echo "windows=$(ls -A "$windows_dir" | wc -l) system32=$(ls -A "$windows_dir/system32" | wc -l)"; }
counts_before=$(counts)
echo "before: $counts_before"

# deep_tree LENGTH: folders under the client's VRGames down to a file whose
# Windows path is LENGTH characters or a little more; prints that path.
deep_tree() {
  local relative='VRGames' name
  name=$(printf 'Asset%.0s' {1..8})
  while [ $((${#client} + 1 + ${#relative})) -lt $(($1 - 20)) ]; do relative+="\\$name"; done
  relative+='\texture-atlas-0001.dat'
  mkdir -p "$(unixpath "$client\\${relative%\\*}")"
  echo deep > "$(unixpath "$client\\$relative")"
  printf '%s\\%s' "$client" "$relative"
}

notice_open() { driver wait "$box" 0 >/dev/null 2>&1; }
ended_or_wiped() { [ "$(counts)" != "$counts_before" ] || uninstall_shown page_uninstall_ok || notice_open; }

# uninstall_deep NAME EXE|--entry: the confirmation, the done page, its close, the batch.
uninstall_deep() {
  local name=$1
  if [ "$2" = --entry ]; then run_registered_uninstaller; else start_uninstaller "$2"; fi
  driver click "$uninstall_title" down >/dev/null
  wait_for 120 ended_or_wiped || fail "$name: neither the done page nor a notice came"
  expect "$(counts)" "$counts_before" "$name: the Windows and system folders keep every entry"
  expect "$(driver shown "$uninstall_title" page_uninstall_ok)" 1 "$name: the done page"
  driver click "$uninstall_title" close_btn >/dev/null
  driver gone "$uninstall_title" 30000 >/dev/null || fail "$name: closing the done page did not end the uninstaller"
  wait_for 60 gone "$client_dir" "$(batch_file)" || fail "$name: the client folder or the batch stayed"
  expect "$(driver reg InstallLocation)" missing "$name: the entry is gone"
}

echo "--- a client folder of 220 characters, a file of over 300, uninstalled as the entry starts it"
long_root="C:\\$(printf 'R%.0s' {1..140})\\$(printf 'S%.0s' {1..69})"
seed_client "$long_root"
expect "${#client}" 220 "the client folder's length"
deep=$(deep_tree 310)
echo "the deep file: ${#deep} characters"
[ "${#deep}" -gt 300 ] || fail "the deep file's path is only ${#deep} characters"
uninstall_deep "a 220-character folder" --entry

echo "--- C:\\Games\\Orbela with a file of about 280 characters, uninstalled from a copy"
seed_client 'C:\Games'
deep=$(deep_tree 280)
echo "the deep file: ${#deep} characters"
[ "${#deep}" -gt 270 ] || fail "the deep file's path is only ${#deep} characters"
mkdir -p "$(unixpath 'C:\Copy')"
cp "$client_dir/Uninstall.exe" "$(unixpath 'C:\Copy')/Uninstall.exe"
uninstall_deep "C:\\Games\\Orbela from a copy" 'C:\Copy\Uninstall.exe'
echo "after: $(counts)"
