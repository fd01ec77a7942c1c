# How the updater starts: a wrong command line ends it at once; the client
# folder is found where the client left it or refused; the finished page comes
# while the window is held in the system's move loop; closing during the
# download asks, and either goes on or ends with nothing changed.
. "$(dirname "${BASH_SOURCE[0]}")/UpdaterSteps.sh"

seed_install 'C:\Games'
cp "$client_dir/Update.exe" "$(unixpath 'C:\Games')/Update.exe"
updater='C:\Games\Update.exe'

# Command lines that end the updater before anything else: exit 0, no window, no request.
long_version=$(printf '1.%.0s' $(seq 1 50))1
rows=(
  "no arguments|"
  "one argument|$new_version"
  "three arguments|$new_version $package_url extra"
  "a version with letters|1.1.1.8a $package_url"
  "a version above 99 characters|$long_version $package_url"
)
for row in "${rows[@]}"; do
  IFS='|' read -r name arguments <<<"$row"
  status=0
  # shellcheck disable=SC2086
  wrun 30 "$updater" $arguments >/dev/null || status=$?
  expect "$status" 0 "$name: exit code"
done
expect "$(driver wait "$update_title" 1)" timeout "no updater window is left"
expect "$(package_gets)" 0 "no download was asked for"
expect "$(requests_for /hits)" 0 "no report was sent"

echo "--- no InstallLocation, no client beside the updater or in the current folder"
set_location --missing
mkdir -p "$(unixpath 'C:\Elsewhere')"
cp "$client_dir/Update.exe" "$(unixpath 'C:\Elsewhere')/Update.exe"
start_updater 'C:\Elsewhere\Update.exe'
expect "$(notice_text)" "Orbela目录有误！" "a folder without the client gets nothing"
answer_box ok
wait_exit "$UPDATER_PID" 30 || fail "the updater did not end after the notice"
expect "$(package_gets)" 0 "nothing was downloaded"
expect "$(requests_for /hits)" 0 "nothing was reported"

# Candidates that hold "Orbela.exe" but lack the client folder's shape (named
# "Orbela" below a root): each row registers one as the location and starts
# the updater in another as its current folder. Each gets the folder error
# with nothing downloaded.
holders=('C:\' 'C:\windows\system32' 'C:\Games\Client')
for holder in "${holders[@]}"; do
  mkdir -p "$(unixpath "$holder")"
  cp "$client_dir/Orbela.exe" "$(unixpath "$holder")/Orbela.exe"
done
# InstallLocation|current folder
rows=(
  'C:\|C:\windows\system32'
  'C:|C:\Games\Client'
  'C:\Windows\System32|C:\'
  'C:\Games\Client|C:\windows\system32'
)
for row in "${rows[@]}"; do
  IFS='|' read -r location current <<<"$row"
  name="InstallLocation $location, current folder $current"
  echo "--- $name"
  set_location "$location"
  pushd "$(unixpath "$current")" >/dev/null
  start_updater 'C:\Elsewhere\Update.exe'
  popd >/dev/null
  expect "$(notice_text)" "Orbela目录有误！" "$name: the folder error"
  answer_box ok
  wait_exit "$UPDATER_PID" 30 || fail "$name: the updater did not end after the notice"
done
expect "$(package_gets)" 0 "no download for a folder of the wrong shape"
for holder in "${holders[@]}"; do
  expect "$(ls -a "$(unixpath "$holder")" | grep -c '^~orbela-update')" 0 "no staging folder in $holder"
  rm -f "$(unixpath "$holder")/Orbela.exe"
done
set_location --missing

echo "--- no InstallLocation, the folder Orbela beside the updater"
start_updater "$updater"
wait_for 120 update_shown start_btn || fail "the update beside the updater did not finish"
expect "$(driver reg InstallLocation)" "$client" "the entry names the folder beside the updater"
expect "$(driver reg DisplayVersion)" "$new_version" "the new version"
[ -f "$client_dir/UpdateNotes.txt" ] || fail "the update did not reach the folder beside the updater"
driver click "$update_title" close_btn >/dev/null
answer_box ok
wait_exit "$UPDATER_PID" 30 || fail "the finished updater did not close"

echo "--- closing during the download"
more_gets_than() { [ "$(package_gets)" -gt "$1" ]; }
# The package comes slowly, so the question comes while it downloads.
fault slow:200000
# start_slow_update: the client back at the old version, the updater started
# and its download begun.
start_slow_update() {
  rm -f "$client_dir/UpdateNotes.txt"
  expect "$(wrun 30 "$WIN_BIN/HelperProbe.exe" entry "$client" "$old_version")" written "the entry back at the old version"
  gets=$(package_gets)
  start_updater "$updater"
  wait_for 60 more_gets_than "$gets" || fail "the download did not start"
}
# close_finished: the finished page's close button and OK end the updater.
close_finished() {
  driver click "$update_title" close_btn >/dev/null
  answer_box ok
  wait_exit "$UPDATER_PID" 30 || fail "the finished updater did not close"
}
start_slow_update
driver close "$update_title" >/dev/null
expect "$(driver text "$box" errr_text)" "确定要退出更新程序？" "closing asks"
answer_box cancel
wait_for 120 update_shown start_btn || fail "cancel did not let the update finish"
expect "$(driver reg DisplayVersion)" "$new_version" "cancel: the update completed"
close_finished

echo "--- the update ends while the window is being moved"
start_slow_update
driver move "$update_title" >/dev/null
moving() { [ "$(driver moving "$update_title")" = 1 ]; }
wait_for 30 moving || fail "the window did not enter the move loop"
# The precondition: the loop began before the update ended (the package comes slowly).
expect "$(driver shown "$update_title" start_btn)" 0 "the update still runs as the move loop begins"
wait_for 120 update_shown start_btn || fail "the finished page did not come during the move loop"
expect "$(driver moving "$update_title")" 1 "the finished page came within the move loop"
expect "$(driver reg DisplayVersion)" "$new_version" "moved: the update completed"
driver endmove "$update_title" >/dev/null
not_moving() { ! moving; }
wait_for 30 not_moving || fail "the move loop did not end"
close_finished

rm -f "$client_dir/UpdateNotes.txt"
before=$(tree_hashes "$client_dir")
start_slow_update
driver close "$update_title" >/dev/null
driver wait "$box" 30000 >/dev/null || fail "no question"
answer_box ok
wait_exit "$UPDATER_PID" 30 || fail "OK during the download did not end the updater"
expect "$(driver reg DisplayVersion)" "$old_version" "OK: the version stays"
expect "$(tree_hashes "$client_dir")" "$before" "OK: every file of the client folder unchanged"
[ ! -e "$WORK/fixture.log" ] || fail "the client was started"
