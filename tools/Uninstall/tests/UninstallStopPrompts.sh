# The stop prompts: the client in its folder and the updater copy in the
# folder above are asked about; closing a prompt ends the uninstaller with
# nothing removed or reported; OK ends both, and a program of the same name
# elsewhere lives on. Another program's Update.exe in a shared install root
# is neither asked about, ended nor deleted.
. "$(dirname "${BASH_SOURCE[0]}")/UninstallSteps.sh"

seed_client 'C:\Games'
cp "$WIN_BIN/FixtureUpdater.exe" "$(unixpath 'C:\Games')/Update.exe"
mkdir -p "$(unixpath 'C:\Decoy')" "$(unixpath 'C:\Copy')"
cp "$client_dir/Orbela.exe" "$(unixpath 'C:\Decoy')/Orbela.exe"
cp "$client_dir/Uninstall.exe" "$(unixpath 'C:\Copy')/Uninstall.exe"
copy='C:\Copy\Uninstall.exe'

wstart client "$client\\Orbela.exe"; client_pid=$WSTARTED
wstart updater 'C:\Games\Update.exe'; updater_pid=$WSTARTED
wstart decoy 'C:\Decoy\Orbela.exe'; decoy_pid=$WSTARTED
three_started() { [ "$(wc -l <"$WORK/fixture.log" 2>/dev/null || echo 0)" -ge 3 ]; }
wait_for 60 three_started || fail "the fixtures did not start"
before=$(tree_hashes "$client_dir")

echo "--- the first prompt closed with its close button"
start_uninstaller "$copy"
driver click "$uninstall_title" down >/dev/null
expect "$(notice_text)" "检测到Orbela正在运行，卸载将关闭Orbela，是否继续？" "the client's prompt"
expect "$(driver text "$box" msg_title)" "Orbela" "the box's title"
answer_box close
wait_exit "$UNINSTALLER_PID" 30 || fail "a closed prompt did not end the uninstaller"
for pid in "$client_pid" "$updater_pid" "$decoy_pid"; do
  kill -0 "$pid" 2>/dev/null || fail "a fixture was ended although the prompt was closed"
done
expect "$(tree_hashes "$client_dir")" "$before" "nothing removed"
expect "$(driver reg InstallLocation)" "$client" "the entry stays"
expect "$(links_left | wc -l)" 4 "the links stay"
expect "$(requests_for /hits)" 0 "no report"

echo "--- both prompts answered OK"
start_uninstaller "$copy"
driver click "$uninstall_title" down >/dev/null
expect "$(notice_text)" "检测到Orbela正在运行，卸载将关闭Orbela，是否继续？" "the client's prompt"
# The updater's prompt follows in a box of the same title.
driver click "$box" msg_down >/dev/null
updater_prompt() { [ "$(driver text "$box" errr_text)" = "检测到Orbela正在升级，卸载将关闭升级程序，是否继续？" ]; }
wait_for 30 updater_prompt || fail "the updater's prompt did not follow"
echo "ok: the updater's prompt"
answer_box ok
wait_exit "$client_pid" 30 || fail "the client was not ended"
wait_exit "$updater_pid" 30 || fail "the updater was not ended"
echo "ok: the client and the updater were ended"
wait_for 60 uninstall_shown page_uninstall_ok || fail "the done page did not come"
driver click "$uninstall_title" close_btn >/dev/null
wait_exit "$UNINSTALLER_PID" 30 || fail "the done page's close did not end the uninstaller"
wait_for 60 gone "$client_dir" "$(unixpath "$copy")" "$(batch_file)" || fail "the client folder, the copy or the batch stayed"
kill -0 "$decoy_pid" 2>/dev/null || fail "the decoy elsewhere was ended"
echo "ok: the decoy elsewhere lives"
expect "$(requests_for /hits)" 1 "one report"
gone "$(unixpath 'C:\Games')" || fail "the updater copy or the emptied root stayed"
echo "ok: the updater copy went with the client and its emptied root"

echo "--- another program's Update.exe running in a shared root"
add_drive D "$WORK/drive-d"
seed_client 'D:\Shared'
cp "$client_dir/Orbela.exe" "$(any_unixpath 'D:\Shared')/Update.exe"
wstart foreign 'D:\Shared\Update.exe'; foreign_pid=$WSTARTED
four_started() { [ "$(wc -l <"$WORK/fixture.log" 2>/dev/null || echo 0)" -ge 4 ]; }
wait_for 60 four_started || fail "the foreign Update.exe did not start"
run_registered_uninstaller
confirm_and_finish
wait_for 60 gone "$client_dir" "$(batch_file)" || fail "the shared root's client folder or the batch stayed"
kill -0 "$foreign_pid" 2>/dev/null || fail "another program's Update.exe was ended"
[ -f "$(any_unixpath 'D:\Shared')/Update.exe" ] || fail "another program's Update.exe was deleted"
echo "ok: another program's Update.exe in the shared root lives on, asked about by no prompt"
kill "$foreign_pid" "$decoy_pid" 2>/dev/null || true
