# The whole life of a client: installed by the installer, handed over by the
# client to the updater in the folder above, updated from the stand-in's
# package, started, and removed by the uninstaller that the entry names. The
# entry, the links and the files are shown and checked after each step.
. "$(dirname "${BASH_SOURCE[0]}")/UninstallSteps.sh"

show_state() { # STEP
  local value
  echo "== after $1: entry"
  for value in $entry_values; do echo "   $value = $(driver reg "$value")"; done
  echo "== after $1: links"
  for link in "$(driver folder programs)\\Orbela\\Orbela.lnk" "$(driver folder programs)\\Orbela\\卸载Orbela.lnk" \
              "$(driver folder desktop)\\Orbela.lnk"; do
    echo "   $link -> $(driver lnk "$link")"
  done
  echo "== after $1: files under $root"
  if [ -d "$root_dir" ]; then (cd "$root_dir" && find . | sort | sed 's/^/   /'); else echo "   (no folder)"; fi
}

expect_links_to() { # CLIENT_FOLDER
  expect "$(driver lnk "$(driver folder programs)\\Orbela\\Orbela.lnk")" "$1\\Orbela.exe" "Start-menu link to the client"
  expect "$(driver lnk "$(driver folder programs)\\Orbela\\卸载Orbela.lnk")" "$1\\Uninstall.exe" "Start-menu link to the uninstaller"
  expect "$(driver lnk "$(driver folder desktop)\\Orbela.lnk")" "$1\\Orbela.exe" "desktop link to the client"
}

expect_entry_for() { # CLIENT_FOLDER VERSION
  local expected=("$1\\Orbela.exe" "$1" "\"$1\\Uninstall.exe\"" "Halvern" "$2" "Orbela" "$ORBELA_PRODUCT_PAGE") i=0 value
  for value in $entry_values; do
    expect "$(driver reg "$value")" "${expected[$i]}" "$value"
    i=$((i + 1))
  done
}

echo "=== 1. install"
start_installer
root=$(driver text "$title" setup_path)
root_dir=$(unixpath "$root")
client="$root\\Orbela"
client_dir="$root_dir/Orbela"
driver click "$title" quicksetupbtn >/dev/null
wait_shown start_btn || fail "the installation did not finish"
driver click "$title" close_btn >/dev/null
wait_exit "$INSTALLER_PID" 30 || fail "the installer did not end"
show_state install
expect_entry_for "$client" "$old_version"
expect_links_to "$client"
expect "$(tree_listing "$root_dir")" "$(package_listing)" "the files are the package's"

echo "=== 2. the installed client hands over"
wrun 30 "$client\\Orbela.exe" --hand-over "$new_version" "$package_url" >/dev/null || fail "the hand-over failed"
cmp -s "$client_dir/Update.exe" "$root_dir/Update.exe" || fail "the client's Update.exe did not appear in the folder above"
echo "ok: $root\\Update.exe is the client's updater"
driver wait "$update_title" 60000 >/dev/null || fail "the updater did not start"
echo "ok: the updater runs"

echo "=== 3. the update"
wait_for 120 update_shown start_btn || fail "the update did not finish"
expect "$(package_gets)" 1 "one GET of the update package"
show_state update
expect_entry_for "$client" "$new_version"
expect_links_to "$client"
cmp -s "$client_dir/Orbela.exe" <(7z x -so "$ORBELA_UPDATE_PACKAGE" Orbela.exe) || fail "the client is not the newer one"
[ -f "$client_dir/UpdateNotes.txt" ] || fail "the update's own file did not arrive"
echo "ok: the newer client and the update's files are in place"
expect "$(hits_field status | tail -1)" update "the update report"
expect "$(hits_field old_version | tail -1)" "$old_version" "the report's old version"
expect "$(hits_field new_version | tail -1)" "$new_version" "the report's new version"
driver click "$update_title" start_btn >/dev/null
driver gone "$update_title" 30000 >/dev/null || fail "the updater did not end on start"
# The log already holds the hand-over's start of the old client: wait for the new one.
newer_client_started() { grep -F "image=$client\\Orbela.exe" "$WORK/fixture.log" | grep -q "^version=$new_version"; }
wait_for 30 newer_client_started || fail "the newer client did not start"
started_line=$(grep -F "image=$client\\Orbela.exe" "$WORK/fixture.log" | tail -1 || true)
echo "client start: $started_line"
case "$started_line" in version=$new_version*) echo "ok: the newer client started" ;; *) fail "started: $started_line" ;; esac
expect "${started_line##*args=}" "" "the client got no arguments"

echo "=== 4. the uninstall, as Windows runs the entry's UninstallString"
run_registered_uninstaller
driver click "$uninstall_title" down >/dev/null
expect "$(notice_text)" "检测到Orbela正在运行，卸载将关闭Orbela，是否继续？" "the running client is asked about"
answer_box ok
wait_for 60 uninstall_shown page_uninstall_ok || fail "the done page did not come"
driver click "$uninstall_title" close_btn >/dev/null
driver gone "$uninstall_title" 30000 >/dev/null || fail "the uninstaller did not end"
start_menu_folder="$(programs_dir)/Orbela"
wait_for 60 gone "$client_dir" "$root_dir" "$start_menu_folder" "$(desktop_dir)/Orbela.lnk" "$(batch_file)" \
  || fail "something stayed: $(ls -d "$client_dir" "$root_dir" "$start_menu_folder" "$(batch_file)" 2>/dev/null)"
show_state uninstall
expect_no_entry "after the uninstall"
[ -d "$(dirname "$root_dir")" ] || fail "the folder above the install root went too"
expect "$(hits_field status | grep -c uninstall)" 1 "one uninstall report"
