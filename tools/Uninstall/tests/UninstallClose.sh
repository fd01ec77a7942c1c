# A close during the progress page: the window goes on answering while the
# removal runs and closes when it ends, or when its wait for the removal is
# over (the batch follows either way). The removal is held back while a hold
# file exists (the uninstaller's seam for tests), so the close surely comes
# while it runs.
. "$(dirname "${BASH_SOURCE[0]}")/UninstallSteps.sh"

mkdir -p "$(unixpath 'C:\Copy')"
copy='C:\Copy\Uninstall.exe'
hold=$WORK/removal-hold
export ORBELA_UNINSTALL_REMOVAL_HOLD=$(winpath "$hold")

echo "--- a close during the progress page"
seed_client 'C:\Slow'
cp "$client_dir/Uninstall.exe" "$(unixpath "$copy")"
touch "$hold"
start_uninstaller "$copy"
driver click "$uninstall_title" down >/dev/null
wait_for 30 uninstall_shown page_uninstall_rate || fail "the progress page did not come"
# Sent, not posted: the answer below comes only after the close was handled.
driver close "$uninstall_title" sent >/dev/null
expect "$(driver answers "$uninstall_title" 1000)" 1 "the window answers after the close"
[ -f "$client_dir/Orbela.exe" ] || fail "the removal was not held back"
expect "$(driver answers "$uninstall_title" 1000)" 1 "the window still answers"
rm "$hold"
driver gone "$uninstall_title" 30000 >/dev/null || fail "the window did not close when the removal ended"
gone "$client_dir" || fail "the window closed before the removal ended"
wait_for 60 gone "$(unixpath "$copy")" "$(batch_file)" || fail "the close: the copy or the batch stayed"
echo "ok: closed once the removal ended"

echo "--- a close whose wait for the removal runs out"
seed_client 'C:\Held'
cp "$client_dir/Uninstall.exe" "$(unixpath "$copy")"
touch "$hold"
export ORBELA_UNINSTALL_CLOSE_WAIT_MS=1000
start_uninstaller "$copy"
driver click "$uninstall_title" down >/dev/null
wait_for 30 uninstall_shown page_uninstall_rate || fail "the progress page did not come"
driver close "$uninstall_title" sent >/dev/null
driver gone "$uninstall_title" 30000 >/dev/null || fail "the window did not close when its wait ran out"
wait_exit "$UNINSTALLER_PID" 30 || fail "the uninstaller did not end"
[ -f "$client_dir/Orbela.exe" ] || fail "the held-back removal ran after all"
wait_for 60 gone "$(unixpath "$copy")" "$(batch_file)" || fail "the wait ran out: the copy or the batch stayed"
echo "ok: the close's wait ended at its limit, the batch followed"
rm "$hold"
