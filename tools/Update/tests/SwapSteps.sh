# Shared steps of the tests that watch the updater's swap (sourced after the
# wizard test helpers). They run the updater's test build (UpdateSeamed.exe:
# it can hold between two moves of the swap and take short wait limits). The
# swap's moves for the update package: 1 second name of the old Uninstall.exe
# in the kept folder, 2 the new one in place, 3 and 4 the same for
# Update.exe, 5 UpdateNotes.txt, 6 the old Orbela.exe's second name, 7 the
# new Orbela.exe in place.
. "$(dirname "${BASH_SOURCE[0]}")/UpdaterSteps.sh"

# old_build: the installed programs made to differ from the package's, so
# every file tells an old from a new one.
old_build() {
  for file in Orbela.exe Update.exe Uninstall.exe; do printf 'old build\n' >> "$client_dir/$file"; done
}
# seed_old ROOT: the old client under ROOT, installed anew, with the test
# build as its updater copy in ROOT. Sets updater and kept.
seed_old() {
  rm -rf "$(any_unixpath "$1")/Orbela"
  seed_install "$1"
  old_build
  cp "$WIN_BIN/UpdateSeamed.exe" "$(any_unixpath "$1")/Update.exe"
  updater="$1\\Update.exe"
  kept="$client\\~orbela-update-old"
}
hold_file=$WORK/hold
export ORBELA_UPDATE_HOLD_FILE
ORBELA_UPDATE_HOLD_FILE=$(winpath "$hold_file")
new_dir=$WORK/package
mkdir -p "$new_dir"
7z x -y -bd -o"$new_dir" "$ORBELA_UPDATE_PACKAGE" >/dev/null
seed_old 'C:\Games'
old_tree=$(tree_hashes "$client_dir")
old_dir=$WORK/old
cp -r "$client_dir" "$old_dir"

# listing: every entry of the client folder with its MD5 or "->" target, for the log.
listing() {
  (cd "$client_dir" && find . -mindepth 1 | sort | while read -r entry; do
    if [ -L "$entry" ]; then echo "$entry -> $(readlink "$entry")"
    elif [ -f "$entry" ]; then echo "$entry $(md5sum <"$entry" | cut -c1-8)"
    else echo "$entry/"; fi
  done)
}
# is_new WHAT: every file of the package is in place.
is_new() {
  for file in Orbela.exe Update.exe Uninstall.exe UpdateNotes.txt; do
    cmp -s "$new_dir/$file" "$client_dir/$file" || fail "$1: $file is not the package's"
  done
  echo "ok: $1: every file of the package is in place"
}
# updated WHAT: the finished page came; every file of the package is in place,
# the new version registered, nothing of the swap left.
updated() {
  wait_for 120 update_shown start_btn || fail "$1: the update did not finish"
  is_new "$1"
  expect "$(driver reg DisplayVersion)" "$new_version" "$1: the new version"
  expect "$(ls -a "$client_dir" | grep -c '^~orbela-update')" 0 "$1: no staging or kept folder left"
  driver click "$update_title" close_btn >/dev/null
  answer_box ok
  wait_exit "$UPDATER_PID" 30 || fail "$1: the finished updater did not close"
}
# back_to_old [ROOT]: the client as installed under ROOT (C:\Games), at the old version.
back_to_old() {
  seed_old "${1:-C:\\Games}"
  expect "$(tree_hashes "$client_dir")" "$old_tree" "the old client again"
}
# hold_at MOVE: starts the updater, which holds after that move.
hold_at() {
  rm -f "$hold_file"
  ORBELA_UPDATE_HOLD_AFTER_MOVE=$1 start_updater "$updater"
  wait_for 120 test -e "$hold_file" || fail "the updater did not reach move $1"
}

# hold NAME WINDOWS-PATH: another program holds the file (no write or delete
# sharing) until it is ended; its pid is HELD_PID.
holds() { [ "$(started "$1")" = held ]; }
hold() {
  wstart "$1" "$WIN_BIN/WizardDriver.exe" hold "$2" 600000
  HELD_PID=$WSTARTED
  wait_for 30 holds "$1" || fail "$1 was not held: $(started "$1")"
}
