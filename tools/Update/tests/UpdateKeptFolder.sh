# The kept folder once a swap is done, and after a new install: only files
# of a swap cut off before its last move are ever put back. A finished
# swap's kept folder that cannot go (a file held in it) is removed by the
# next run, never restored; a new install removes the staging and kept
# folders, so no later update puts an older file over it.
. "$(dirname "${BASH_SOURCE[0]}")/SwapSteps.sh"

# download_fails WHAT: an update whose download fails, with its notice.
download_fails() {
  fault 404
  start_updater "$updater"
  expect "$(notice_text)" "更新包下载失败！" "$1: the download fails"
  answer_box ok
  wait_exit "$UPDATER_PID" 30 || fail "$1: the updater did not end"
  fault clear
}

echo "[$SECONDS s] --- a swap finished while a file is held in its staging and its kept folder"
hold_at 7
echo held > "$client_dir/~orbela-update-new/held.txt"
hold staging "$client\\~orbela-update-new\\held.txt"; staging_holder=$HELD_PID
hold kept "$kept\\Uninstall.exe"; kept_holder=$HELD_PID
rm -f "$hold_file"
wait_for 120 update_shown start_btn || fail "the finished swap: the update did not finish"
expect "$(driver reg DisplayVersion)" "$new_version" "the finished swap: the new version"
echo "after the finished swap:"; listing
is_new "the finished swap"
driver click "$update_title" close_btn >/dev/null
answer_box ok
wait_exit "$UPDATER_PID" 30 || fail "the finished updater did not close"
new_tree=$(tree_hashes "$client_dir" | grep -v ' ./~orbela-update-')
download_fails "the run after the finished swap"
echo "after the next run:"; listing
expect "$(tree_hashes "$client_dir" | grep -v ' ./~orbela-update-')" "$new_tree" \
  "the run after the finished swap: every client file stays the new one"
expect "$(driver reg DisplayVersion)" "$new_version" "the run after the finished swap: the new version stays"
kill "$staging_holder" "$kept_holder"
wait_exit "$staging_holder" 30 && wait_exit "$kept_holder" 30 || fail "the holders did not end"
download_fails "the run once nothing is held"
expect "$(ls -a "$client_dir" | grep -c '^~orbela-update')" 0 "the run once nothing is held: the folders are removed"
expect "$(tree_hashes "$client_dir")" "$new_tree" "the run once nothing is held: every client file stays the new one"

echo "[$SECONDS s] --- a new install over an update cut off after a move"
back_to_old
hold_at 2
kill -9 "$UPDATER_PID"
wait_exit "$UPDATER_PID" 30 || fail "the updater was not stopped"
echo "after the stop:"; listing
start_installer
answer_box ok  # the same version: go on
driver click "$title" quicksetupbtn >/dev/null
wait_shown start_btn || fail "the new install did not finish"
driver click "$title" close_btn >/dev/null
wait_exit "$INSTALLER_PID" 30 || fail "the installer did not close"
echo "after the new install:"; listing
expect "$(ls -a "$client_dir" | grep -c '^~orbela-update')" 0 "the new install: no staging or kept folder left"
installed_tree=$(tree_hashes "$client_dir")
cmp -s "$client_dir/Orbela.exe" "$old_dir/Orbela.exe" && fail "the new install kept the old build's Orbela.exe"
download_fails "the update after the new install"
echo "after the next update:"; listing
expect "$(tree_hashes "$client_dir")" "$installed_tree" "the update after the new install: every file as installed"
