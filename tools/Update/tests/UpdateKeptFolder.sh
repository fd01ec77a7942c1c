# The kept folder once a swap is done, and after a new install: only files
# of a swap cut off before its last move are ever put back. A finished
# swap's kept folder that cannot go (a file held in it, its record held
# too) is removed by the next run, never restored; a new install removes
# the staging and kept folders, or marks a kept folder it cannot remove as
# ended, so no later update puts an older file over it. Then kept folders
# holding links Wine shows as files: neither a link in place of an old file
# nor one in place of the record is ever followed.
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

# without_swap: tree_hashes' lines without the update's own folders.
without_swap() { grep -v ' ./~orbela-update-' || true; }

# end_holders PID...: the holding programs are ended.
end_holders() {
  kill "$@"
  local pid
  for pid in "$@"; do wait_exit "$pid" 30 || fail "the holder $pid did not end"; done
}

# A held record cannot be deleted: the swap is marked ended beside it.
for record in free held; do
  name="the swap finished with its record $record"
  echo "[$SECONDS s] --- a swap finished while a file is held in its staging and its kept folder, its record $record"
  [ "$record" = free ] || back_to_old
  hold_at 7
  echo held > "$client_dir/~orbela-update-new/held.txt"
  holders=()
  hold staging "$client\\~orbela-update-new\\held.txt"; holders+=("$HELD_PID")
  hold kept "$kept\\Uninstall.exe"; holders+=("$HELD_PID")
  if [ "$record" = held ]; then hold record "$kept\\~orbela-update-swap"; holders+=("$HELD_PID"); fi
  rm -f "$hold_file"
  wait_for 120 update_shown start_btn || fail "$name: the update did not finish"
  expect "$(driver reg DisplayVersion)" "$new_version" "$name: the new version"
  echo "after the finished swap:"; listing
  is_new "$name"
  driver click "$update_title" close_btn >/dev/null
  answer_box ok
  wait_exit "$UPDATER_PID" 30 || fail "$name: the finished updater did not close"
  new_tree=$(tree_hashes "$client_dir" | without_swap)
  download_fails "$name, the next run"
  echo "after the next run:"; listing
  expect "$(tree_hashes "$client_dir" | without_swap)" "$new_tree" "$name, the next run: every client file stays the new one"
  expect "$(driver reg DisplayVersion)" "$new_version" "$name, the next run: the new version stays"
  end_holders "${holders[@]}"
  download_fails "$name, the run once nothing is held"
  expect "$(ls -a "$client_dir" | grep -c '^~orbela-update')" 0 "$name, the run once nothing is held: the folders are removed"
  expect "$(tree_hashes "$client_dir")" "$new_tree" "$name, the run once nothing is held: every client file stays the new one"
done

# install_anew NAME: the installer's quick setup over the client, to its end.
install_anew() {
  start_installer
  answer_box ok  # the same version: go on
  driver click "$title" quicksetupbtn >/dev/null
  wait_shown start_btn || fail "$1: the new install did not finish"
  driver click "$title" close_btn >/dev/null
  wait_exit "$INSTALLER_PID" 30 || fail "$1: the installer did not close"
  echo "after the new install:"; listing
  cmp -s "$client_dir/Orbela.exe" "$old_dir/Orbela.exe" && fail "$1: the new install kept the old build's Orbela.exe"
  installed_tree=$(tree_hashes "$client_dir" | without_swap)
}

# cut_after_move_2: an update stopped once the new Uninstall.exe is in place.
cut_after_move_2() {
  back_to_old
  hold_at 2
  kill -9 "$UPDATER_PID"
  wait_exit "$UPDATER_PID" 30 || fail "the updater was not stopped"
  echo "after the stop:"; listing
}

echo "[$SECONDS s] --- a new install over an update cut off after a move"
cut_after_move_2
install_anew "the new install"
expect "$(ls -a "$client_dir" | grep -c '^~orbela-update')" 0 "the new install: no staging or kept folder left"
download_fails "the update after the new install"
echo "after the next update:"; listing
expect "$(tree_hashes "$client_dir")" "$installed_tree" "the update after the new install: every file as installed"

echo "[$SECONDS s] --- a new install over an update cut off after a move, its record and an old file held"
cut_after_move_2
holders=()
hold record "$kept\\~orbela-update-swap"; holders+=("$HELD_PID")
hold kept "$kept\\Uninstall.exe"; holders+=("$HELD_PID")
install_anew "the held new install"
download_fails "the update after the held new install"
echo "after the next update:"; listing
expect "$(tree_hashes "$client_dir" | without_swap)" "$installed_tree" "the update after the held new install: every file as installed"
end_holders "${holders[@]}"
download_fails "the update once nothing is held"
expect "$(ls -a "$client_dir" | grep -c '^~orbela-update')" 0 "the update once nothing is held: the folders are removed"
expect "$(tree_hashes "$client_dir")" "$installed_tree" "the update once nothing is held: every file as installed"

# Unix symbolic links to files in drive_c: Wine shows them as plain files and
# would move or delete what they lead to.
outside=$(any_unixpath 'C:\Outside3')
mkdir -p "$outside"
echo "a program of its own" > "$outside/Orbela.exe"
echo "a file of its own" > "$outside/swaprec"
kept_dir=$client_dir/~orbela-update-old

echo "[$SECONDS s] --- an undo whose kept Orbela.exe is a link to a file outside"
back_to_old
mkdir "$kept_dir"
printf 'update swap not finished\r\n' > "$kept_dir/~orbela-update-swap"
ln -s "$outside/Orbela.exe" "$kept_dir/Orbela.exe"
echo "before:"; listing
start_updater "$updater"
expect "$(notice_text)" "部分旧文件未能恢复，保存在：" "a linked old file: the notice says old files were not put back"
answer_box ok
wait_exit "$UPDATER_PID" 30 || fail "a linked old file: the updater did not end"
echo "after:"; listing
expect "$(cat "$outside/Orbela.exe" 2>&1)" "a program of its own" "a linked old file: the file it leads to stays where it is"
[ -L "$kept_dir/Orbela.exe" ] || fail "a linked old file: the link left the kept folder"
echo "ok: a linked old file: the link stays in the kept folder"
expect "$(tree_hashes "$client_dir" | without_swap)" "$old_tree" "a linked old file: every client file as it was"

echo "[$SECONDS s] --- a kept folder whose record is a link to a file outside"
back_to_old
mkdir "$kept_dir"
ln -s "$outside/swaprec" "$kept_dir/~orbela-update-swap"
echo "an older build" > "$kept_dir/Uninstall.exe"
echo "before:"; listing
download_fails "a linked record"
echo "after:"; listing
expect "$(tree_hashes "$client_dir" | without_swap)" "$old_tree" "a linked record: nothing is put back"
expect "$(cat "$outside/swaprec" 2>&1)" "a file of its own" "a linked record: the file it leads to stays where it is"
