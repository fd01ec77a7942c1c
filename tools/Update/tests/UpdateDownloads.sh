# Downloads that fail, as a table: the notice "更新包下载失败！", and the client
# folder, its entry and the client stay as they were; a stale package in the
# temporary folder (the installer's full one) is never unpacked. A package
# that cannot be unpacked over a running client: the client is stopped
# without a question, and after "程序文件解压失败！" every file of the old
# client is back byte for byte and the client starts. A package sent without
# Content-Length completes the update.
. "$(dirname "${BASH_SOURCE[0]}")/UpdaterSteps.sh"

seed_install 'C:\Games'
cp "$client_dir/Update.exe" "$(unixpath 'C:\Games')/Update.exe"
updater='C:\Games\Update.exe'
before=$(tree_hashes "$client_dir")
temp=$(temp_dir)
closed_port=$(python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1]); s.close()')

# name|fault|url
rows=(
  "404|404|$package_url"
  "cut mid-body|cut:100000|$package_url"
  "closed port|clear|http://127.0.0.1:$closed_port/download/orbela-update.7z"
  "Content-Length above the body|length-lie:9999999|$package_url"
  "a 200 HTML page|redirect:/client/index|$package_url"
)
for row in "${rows[@]}"; do
  IFS='|' read -r name mode url <<<"$row"
  echo "--- $name"
  fault clear
  [ "$mode" = clear ] || fault "$mode"
  cp "$ORBELA_PACKAGE" "$temp/orbela.7z"
  start_updater "$updater" "$new_version" "$url"
  expect "$(notice_text)" "更新包下载失败！" "$name: the notice"
  expect "$(driver text "$box" msg_title)" "Orbela更新" "$name: the box's title"
  answer_box ok
  wait_exit "$UPDATER_PID" 30 || fail "$name: the updater did not end"
  expect "$(driver reg DisplayVersion)" "$old_version" "$name: DisplayVersion unchanged"
  expect "$(driver reg InstallLocation)" "$client" "$name: InstallLocation unchanged"
  expect "$(tree_hashes "$client_dir")" "$before" "$name: every file of the client folder unchanged"
  [ ! -e "$WORK/fixture.log" ] || fail "$name: the client was started"
done
expect "$(hits_field status | sort -u)" update "the reports are update reports"

echo "--- an extractor that cannot be written"
fault clear
gets=$(package_gets)
rm -f "$temp/7z.exe"
mkdir "$temp/7z.exe"
start_updater "$updater"
expect "$(notice_text)" "程序文件解压失败！" "an unwritable extractor: the notice"
answer_box ok
wait_exit "$UPDATER_PID" 30 || fail "the updater did not end"
expect "$(package_gets)" "$gets" "an unwritable extractor: nothing downloaded"
expect "$(driver reg DisplayVersion)" "$old_version" "an unwritable extractor: DisplayVersion unchanged"
expect "$(tree_hashes "$client_dir")" "$before" "an unwritable extractor: the client folder unchanged"
rmdir "$temp/7z.exe"

echo "--- an unpacking that fails over a running client"
fault clear
# The old client differs from the package's in every file; where the package
# has "UpdateNotes.txt" the client folder has a folder, so the package's files
# cannot all be put in place (the earlier ones already are by then).
for file in Orbela.exe Update.exe Uninstall.exe; do printf 'old build\n' >> "$client_dir/$file"; done
mkdir "$client_dir/UpdateNotes.txt"
echo keep > "$client_dir/UpdateNotes.txt/keep.txt"
before_failure=$(tree_hashes "$client_dir")
wstart client "$client\\Orbela.exe"; client_pid=$WSTARTED
wait_for 30 test -s "$WORK/fixture.log" || fail "the old client did not start"
start_updater "$updater"
expect "$(notice_text)" "程序文件解压失败！" "a failed unpacking: the notice"
answer_box ok
wait_exit "$UPDATER_PID" 30 || fail "the updater did not end after the failed unpacking"
wait_exit "$client_pid" 5 || fail "the running client was not stopped before the unpacking"
expect "$(tree_hashes "$client_dir")" "$before_failure" "a failed unpacking: every file of the old client as it was"
expect "$(ls -a "$client_dir" | grep -c '^~orbela-update')" 0 "a failed unpacking: no staging folder left"
expect "$(driver reg DisplayVersion)" "$old_version" "a failed unpacking: DisplayVersion unchanged"
: > "$WORK/fixture.log"
expect "$(driver run "\"$client\\Orbela.exe\"")" started "the old client starts again"
wait_for 30 test -s "$WORK/fixture.log" || fail "the old client did not start after the failure"
started_line=$(head -1 "$WORK/fixture.log")
case "$started_line" in
  "version=$old_version"*"image=$client\\Orbela.exe"*) echo "ok: the old client starts after the failure" ;;
  *) fail "after the failure: $started_line" ;;
esac
driver close "Orbela fixture" >/dev/null || true
rm -rf "$client_dir/UpdateNotes.txt"
rm -f "$WORK/fixture.log"

echo "--- no Content-Length"
fault chunked
cp "$ORBELA_PACKAGE" "$temp/orbela.7z"
start_updater "$updater"
wait_for 120 update_shown start_btn || fail "the update without Content-Length did not finish"
expect "$(driver reg DisplayVersion)" "$new_version" "without Content-Length: the new version"
[ -f "$client_dir/UpdateNotes.txt" ] || fail "the update's own file did not arrive"
[ ! -e "$client_dir/Orbela" ] || fail "the installer's package was unpacked into the client folder"
driver click "$update_title" close_btn >/dev/null
answer_box ok
wait_exit "$UPDATER_PID" 30 || fail "the finished updater did not close"
