# What the uninstaller cannot remove from the client folder: links out of it
# (a games library on another disk; Unix symbolic links in drive_c, which Wine
# 8 cannot remove, and which it shows as plain files when they lead to files)
# and a file held open by another program. The removal never enters or goes
# through a link, so every file and folder the links lead to lives; what is
# left gives "Orbela目录有误！", never the done page; the entry and the
# shortcuts go as always, and the batch deletes only the uninstaller. Then an
# uninstaller started by a second name outside the folder, and an install
# root that is a link: neither the name's folder nor the root goes.
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

echo "--- a link to a file and a link to an empty folder, uninstalled as the entry starts it"
# Wine shows the first as a plain file; deleting it by name would delete the
# file it leads to, and removing the second by name would remove its empty
# target. Neither is the entry itself, so both stay with their targets.
outside=$(unixpath 'C:\Outside4')
empty_out=$(unixpath 'C:\EmptyOut')
mkdir -p "$outside" "$empty_out"
echo "a player's save" > "$outside/save.dat"
seed_client 'C:\Games'
mkdir -p "$client_dir/VRGames"
ln -s "$outside/save.dat" "$client_dir/save.dat"
ln -s "$empty_out" "$client_dir/VRGames/Library"
show before
run_registered_uninstaller
uninstall_to_the_notice "hidden links"
wait_for 60 gone "$client_dir/Uninstall.exe" "$(batch_file)" || fail "hidden links: the uninstaller or the batch stayed"
show after
expect "$(cat "$outside/save.dat" 2>&1)" "a player's save" "hidden links: the file the link leads to lives"
[ -d "$empty_out" ] || fail "hidden links: the empty folder the link leads to is gone"
echo "ok: hidden links: the empty folder the link leads to lives"
expect "$(cd "$client_dir" && find . -mindepth 1 | sort | tr '\n' ' ')" \
  "./VRGames ./VRGames/Library ./save.dat " "hidden links: only the links and the folder holding one are left"
gone_as_always "hidden links"
rm -rf "$client_dir"

echo "--- a second name of the uninstaller elsewhere (a hard link), started there"
# Not the client folder's own program: the removal takes the client's name of
# it like any file, which Wine cannot delete while the program runs.
seed_client 'C:\Games'
copy_dir=$(unixpath 'C:\Copy')
mkdir -p "$copy_dir"
rm -f "$copy_dir/Uninstall.exe"
ln "$client_dir/Uninstall.exe" "$copy_dir/Uninstall.exe"
start_uninstaller 'C:\Copy\Uninstall.exe'
uninstall_to_the_notice "a second name"
wait_for 60 gone "$copy_dir/Uninstall.exe" "$(batch_file)" || fail "a second name: the second name or the batch stayed"
show after
expect "$(ls -A "$client_dir" | tr '\n' ' ')" "Uninstall.exe " "a second name: only the client's name of the program is left"
[ -d "$copy_dir" ] || fail "a second name: its folder is gone"
echo "ok: a second name: its folder stays"
gone_as_always "a second name"
rm -rf "$client_dir"

echo "--- an install root that is a link to a folder elsewhere"
real_root=$(unixpath 'C:\RealRoot')
mkdir -p "$real_root"
ln -s "$real_root" "$(unixpath 'C:\LinkedRoot')"
seed_client 'C:\LinkedRoot'
run_registered_uninstaller
confirm_and_finish
wait_for 60 gone "$client_dir" "$(batch_file)" || fail "a linked root: the client folder or the batch stayed"
[ -L "$(unixpath 'C:\LinkedRoot')" ] || fail "a linked root: the link is gone"
# Emptied by the uninstall, the folder the link leads to is what Wine would
# remove through the link's name.
[ -d "$real_root" ] || fail "a linked root: the folder the link leads to is gone"
echo "ok: a linked root: the link and the folder it leads to stay"
gone_as_always "a linked root"

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
