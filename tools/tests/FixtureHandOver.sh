# The fixture client's update hand-over: its folder's Update.exe is copied to
# the parent folder only when missing there, and the copy starts with exactly
# the two arguments. The fixture itself stands in for Update.exe.
# The client lives on drive E:, as an installed one may.
add_drive E "$WORK/drive-e"
root_dir=$WORK/drive-e/Games
client=$root_dir/Orbela
mkdir -p "$client"
cp "$WIN_BIN/Orbela.exe" "$client/Orbela.exe"
cp "$WIN_BIN/Orbela.exe" "$client/Update.exe"
log=$WORK/fixture.log

started_update() { grep -q 'Update.exe' "$log" 2>/dev/null; }

wrun 30 'E:\Games\Orbela\Orbela.exe' --hand-over 1.1.2.0 "http://$STANDIN_HOST/download/orbela update.7z" \
  || fail "the hand-over failed"
cmp -s "$client/Update.exe" "$root_dir/Update.exe" || fail "Update.exe was not copied to the parent folder"
wait_for 30 started_update || fail "the copy did not start"
line=$(grep 'Update.exe' "$log")
expect "$(printf '%s' "$line" | sed 's/.*\timage=\([^\t]*\).*/\1/')" "E:\\Games\\Update.exe" "the copy runs from the parent folder"
expect "${line##*args=}" "1.1.2.0|http://$STANDIN_HOST/download/orbela update.7z" "exactly the two arguments"
expect "$(head -n 1 "$log" | sed 's/^version=\([^\t]*\).*/\1/')" "1.1.1.81" "the fixture records its version"

# An existing copy in the parent folder is kept.
printf 'older updater' > "$root_dir/Update.exe"
wrun 30 'E:\Games\Orbela\Orbela.exe' --hand-over 1.1.3.0 http://x/y.7z && fail "a non-program copy should not start"
expect "$(cat "$root_dir/Update.exe")" "older updater" "an existing Update.exe in the parent folder is not overwritten"
