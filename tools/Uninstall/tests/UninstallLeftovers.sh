# What the uninstaller cannot remove from the client folder: links to folders
# elsewhere (a games library on another disk; Unix symbolic links in drive_c,
# which Wine 8 cannot remove) and a file held open by another program. The
# removal never enters a link, so every file the links lead to lives; what is
# left gives "Orbela目录有误！", never the done page; the entry and the
# shortcuts go as always, and the batch deletes only the uninstaller.
. "$(dirname "${BASH_SOURCE[0]}")/UninstallSteps.sh"

library=$(unixpath 'C:\GameLibrary')
shared=$(unixpath 'C:\SharedLib')
mkdir -p "$library/BigGame" "$shared"
echo save > "$library/BigGame/save.dat"
echo keep > "$shared/keep.txt"
# Every file under the links' targets; a target gone lists nothing.
sentinels() { (cd "$WINEPREFIX/drive_c" && find GameLibrary SharedLib -type f 2>/dev/null | sort) || true; }
sentinels_before=$(sentinels)

# show WHAT: the client folder and the sentinels, for the log.
show() {
  echo "$1: the client folder"
  if [ -e "$client_dir" ]; then
    (cd "$client_dir" && find . -mindepth 1 | sort | while read -r entry; do
      if [ -L "$entry" ]; then echo "   $entry -> $(readlink "$entry")"; else echo "   $entry"; fi
    done)
  else echo "   (gone)"; fi
  echo "$1: the files the links lead to"
  sentinels | sed 's/^/   /'
}

# seed_linked ROOT: an installed client whose VRGames and Library are links out of it.
seed_linked() {
  seed_client "$1"
  rm -rf "$client_dir/VRGames" "$client_dir/Library"
  ln -s "$library" "$client_dir/VRGames"
  ln -s "$shared" "$client_dir/Library"
}

# uninstall_to_the_notice NAME: the confirmation, then the notice, answered, then the close.
uninstall_to_the_notice() {
  driver click "$uninstall_title" down >/dev/null
  expect "$(notice_text)" "Orbela目录有误！" "$1: the notice"
  expect "$(driver shown "$uninstall_title" page_uninstall_ok)" 0 "$1: no done page"
  answer_box ok
  driver click "$uninstall_title" close_btn >/dev/null
  driver gone "$uninstall_title" 30000 >/dev/null || fail "$1: the uninstaller did not close"
}

# gone_as_always NAME: the entry and the shortcuts are gone.
gone_as_always() {
  expect "$(driver reg InstallLocation)" missing "$1: the entry is gone"
  expect "$(links_left)" "" "$1: the shortcuts are gone"
}

echo "--- links out of the folder, uninstalled as the entry starts it"
seed_linked 'C:\Games'
show before
run_registered_uninstaller
uninstall_to_the_notice "from the folder"
wait_for 60 gone "$client_dir/Uninstall.exe" "$(batch_file)" || fail "from the folder: the uninstaller or the batch stayed"
show after
expect "$(sentinels)" "$sentinels_before" "from the folder: every file the links lead to lives"
expect "$(ls -A "$client_dir" | tr '\n' ' ')" "Library VRGames " "from the folder: only the two links are left"
gone_as_always "from the folder"
rm "$client_dir/VRGames" "$client_dir/Library"

echo "--- a link out of the folder, uninstalled from a copy"
seed_linked 'C:\Games'
rm "$client_dir/Library"
mkdir -p "$(unixpath 'C:\Copy')"
cp "$client_dir/Uninstall.exe" "$(unixpath 'C:\Copy')/Uninstall.exe"
show before
start_uninstaller 'C:\Copy\Uninstall.exe'
uninstall_to_the_notice "from a copy"
wait_for 60 gone "$(unixpath 'C:\Copy')/Uninstall.exe" "$(batch_file)" || fail "from a copy: the copy or the batch stayed"
show after
expect "$(sentinels)" "$sentinels_before" "from a copy: every file the link leads to lives"
expect "$(ls -A "$client_dir" | tr '\n' ' ')" "VRGames " "from a copy: only the link is left"
gone_as_always "from a copy"
rm "$client_dir/VRGames"

echo "--- a file held open by a running game, uninstalled as the entry starts it"
seed_client 'C:\Held'
mkdir -p "$client_dir/VRGames/Game"
echo data > "$client_dir/VRGames/Game/data.pak"
wstart holder "$WIN_BIN/WizardDriver.exe" hold 'C:\Held\Orbela\VRGames\Game\data.pak' 600000
holder_pid=$WSTARTED
held() { [ "$(started holder)" = held ]; }
wait_for 30 held || fail "the file was not held: $(started holder)"
show before
run_registered_uninstaller
uninstall_to_the_notice "a held file"
wait_for 60 gone "$client_dir/Uninstall.exe" "$(batch_file)" || fail "a held file: the uninstaller or the batch stayed"
show after
expect "$(cd "$client_dir" && find . -mindepth 1 | sort | tr '\n' ' ')" \
  "./VRGames ./VRGames/Game ./VRGames/Game/data.pak " "a held file: only the held file and its folders are left"
gone_as_always "a held file"
kill "$holder_pid"
wait_exit "$holder_pid" 30 || fail "the holder did not end"
