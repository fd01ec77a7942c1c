# Updates that meet links, are cut off or cannot undo, run by the updater's
# test build (see SwapSteps.sh).
. "$(dirname "${BASH_SOURCE[0]}")/SwapSteps.sh"

echo "[$SECONDS s] --- an extractor that runs into its limit"
ORBELA_UPDATE_EXTRACT_MS=1 start_updater "$updater"
expect "$(notice_text)" "程序文件解压失败！" "an extractor past its limit: the unpack failure"
answer_box ok
wait_exit "$UPDATER_PID" 30 || fail "the updater did not end"
expect "$(tree_hashes "$client_dir")" "$old_tree" "an extractor past its limit: every file of the client as it was"
expect "$(driver reg DisplayVersion)" "$old_version" "an extractor past its limit: DisplayVersion unchanged"

echo "[$SECONDS s] --- links named like the staging and kept folders"
# Unix symbolic links to folders: reparse points to Wine (attributes 0x410).
# They are never entered and nothing is put back from them. Wine 8 cannot
# remove such a link (Windows removes the link itself and goes on), so here the
# update ends with the unpack failure and the client as it was.
sentinels=$WINEPREFIX/drive_c/sentinels
for name in old new; do
  mkdir -p "$sentinels/$name"
  echo "keep $name" > "$sentinels/$name/keep.txt"
  # A file named like a client file: it must not come into the client folder.
  echo "not the client" > "$sentinels/$name/Uninstall.exe"
  ln -s "$sentinels/$name" "$client_dir/~orbela-update-$name"
done
echo "before:"; listing; find "$sentinels" -type f | sort
start_updater "$updater"
expect "$(notice_text)" "程序文件解压失败！" "links: the update cannot use the folder names"
answer_box ok
wait_exit "$UPDATER_PID" 30 || fail "links: the updater did not end"
echo "after:"; listing; find "$sentinels" -type f | sort
for name in old new; do
  expect "$(cat "$sentinels/$name/keep.txt")" "keep $name" "the $name link's target keeps its file"
  expect "$(cat "$sentinels/$name/Uninstall.exe")" "not the client" "the $name link's target keeps its other file"
done
expect "$(tree_hashes "$client_dir")" "$old_tree" "links: every file of the client as it was"
expect "$(driver reg DisplayVersion)" "$old_version" "links: DisplayVersion unchanged"
rm "$client_dir/~orbela-update-old" "$client_dir/~orbela-update-new"
start_updater "$updater"
updated "without the links"

echo "[$SECONDS s] --- an updater stopped between two moves"
back_to_old
hold_at 6
kill -9 "$UPDATER_PID"
wait_exit "$UPDATER_PID" 30 || fail "the updater was not stopped"
echo "after the stop:"; listing
cmp -s "$client_dir/Orbela.exe" "$old_dir/Orbela.exe" || fail "Orbela.exe lost its old bytes"
echo "ok: Orbela.exe keeps its old bytes"
cmp -s "$client_dir/Update.exe" "$new_dir/Update.exe" || fail "the swap was not cut part way"
echo "ok: the new Update.exe and Uninstall.exe are already in place"
expect "$(driver reg DisplayVersion)" "$old_version" "DisplayVersion unchanged"
: > "$WORK/fixture.log"
expect "$(driver run "\"$client\\Orbela.exe\"")" started "the old program is started beside the new files"
wait_for 30 test -s "$WORK/fixture.log" || fail "the old program did not start beside the new files"
case "$(head -1 "$WORK/fixture.log")" in
  "version=$old_version"*) echo "ok: the old program runs with its old version" ;;
  *) fail "after the stop: $(head -1 "$WORK/fixture.log")" ;;
esac
driver close "Orbela fixture" >/dev/null
rm -f "$WORK/fixture.log"
# The next run puts the old files back before anything else: with the
# download failing, the old client is whole again.
fault 404
start_updater "$updater"
expect "$(notice_text)" "更新包下载失败！" "the next run's download fails"
answer_box ok
wait_exit "$UPDATER_PID" 30 || fail "the updater did not end"
# A file the package adds (placed before the stop) stays; every replaced one is old again.
expect "$(tree_hashes "$client_dir" | grep -v ' ./UpdateNotes.txt$')" "$old_tree" "the next run put every old file back first"
fault clear
start_updater "$updater"
updated "the run after the stop"

echo "[$SECONDS s] --- an undo that cannot put a file back, under a 150-character install root"
long_root="C:\\$(printf 'P%.0s' {1..100})\\$(printf 'Q%.0s' {1..46})"
expect "${#long_root}" 150 "the install root's length"
back_to_old "$long_root"
# A folder where the package has "UpdateNotes.txt" makes move 5 fail; the new
# Uninstall.exe, held open by another program, cannot be replaced by the old.
mkdir "$client_dir/UpdateNotes.txt"
hold_at 2
hold uninstaller "$client\\Uninstall.exe"; holder_pid=$HELD_PID
rm -f "$hold_file"
expect "$(notice_text)" "部分旧文件未能恢复，保存在：" "the notice says old files were not put back"
read -r box_width box_height <<<"$(driver window "$box" | sed -E 's/.* ([0-9]+)x([0-9]+)$/\1 \2/')"
echo "the box: ${box_width}x${box_height}"
# The text and every line of the folder lie inside the box; the folder's
# lines, in order, are the whole kept folder.
shown=''
while IFS= read -r label; do
  read -r left top right bottom <<<"$(sed -E 's/.*" (-?[0-9]+),(-?[0-9]+),(-?[0-9]+),(-?[0-9]+) visible.*/\1 \2 \3 \4/' <<<"$label")"
  text=$(sed -E 's/.* visible [a-z]+ "(.*)"$/\1/; s/\\\\/\\/g' <<<"$label")
  echo "  $left,$top..$right,$bottom \"$text\""
  [ "$left" -ge 0 ] && [ "$right" -le "$box_width" ] && [ "$top" -ge 0 ] && [ "$bottom" -le "$box_height" ] \
    || fail "a line lies outside the box: $label"
  [[ $label == *'"errr_text"'* ]] || shown+=$text
done < <(driver dump "$box" | grep -E '"errr_(text|detail[0-9]*)"')
expect "$shown" "$kept" "the box shows the whole kept folder"
answer_box ok
wait_exit "$UPDATER_PID" 30 || fail "the updater did not end"
echo "after the failed undo:"; listing
cmp -s "$client_dir/~orbela-update-old/Uninstall.exe" "$old_dir/Uninstall.exe" || fail "the kept folder lacks the old Uninstall.exe"
cmp -s "$client_dir/Update.exe" "$old_dir/Update.exe" || fail "the old Update.exe was not put back"
echo "ok: the kept folder holds the old Uninstall.exe; the other old file is back"
expect "$(driver reg DisplayVersion)" "$old_version" "DisplayVersion unchanged"
kill "$holder_pid"
wait_exit "$holder_pid" 30 || fail "the holder did not end"
rmdir "$client_dir/UpdateNotes.txt"
start_updater "$updater"
updated "the run after the failed undo"

echo "[$SECONDS s] --- only the package's programs are stopped, after a short wait"
back_to_old
mkdir -p "$client_dir/VRGames/Game" "$client_dir/Tools"
cp "$client_dir/Orbela.exe" "$client_dir/VRGames/Game/Game.exe"
cp "$client_dir/Orbela.exe" "$client_dir/Tools/helper.exe"
wstart client "$client\\Orbela.exe"; client_pid=$WSTARTED
wstart game "$client\\VRGames\\Game\\Game.exe"; game_pid=$WSTARTED
wstart helper "$client\\Tools\\helper.exe"; helper_pid=$WSTARTED
three_started() { [ -f "$WORK/fixture.log" ] && [ "$(wc -l <"$WORK/fixture.log")" -ge 3 ]; }
wait_for 30 three_started || fail "the programs did not start"
# The client never ends by itself: the 300 ms wait runs into its limit.
ORBELA_UPDATE_CLIENT_END_MS=300 start_updater "$updater"
wait_exit "$client_pid" 120 || fail "the client was not stopped"
updated "programs running"
kill -0 "$game_pid" 2>/dev/null || fail "the game under VRGames was stopped"
kill -0 "$helper_pid" 2>/dev/null || fail "a program the package does not replace was stopped"
echo "ok: the game under VRGames and Tools\\helper.exe still run"
kill "$game_pid" "$helper_pid"
