# Shared steps of the uninstaller tests (sourced after the wizard test helpers).
. "$(dirname "${BASH_SOURCE[0]}")/../../Update/tests/UpdaterSteps.sh"

# seed_client ROOT: an installed client under ROOT with its entry and links.
seed_client() {
  seed_install "$1"
  expect "$(wrun 30 "$WIN_BIN/HelperProbe.exe" links "$client")" written "the links for $client"
}

programs_dir() { unixpath "$(driver folder programs)"; }
desktop_dir() { unixpath "$(driver folder desktop)"; }

# The links of the set that exist, one a line.
links_left() {
  local link
  for link in "$(programs_dir)/Orbela/Orbela.lnk" "$(programs_dir)/Orbela/卸载Orbela.lnk" "$(desktop_dir)/Orbela.lnk"; do
    [ -e "$link" ] && echo "$link"
  done
  [ -d "$(programs_dir)/Orbela" ] && echo "$(programs_dir)/Orbela"
  return 0
}

# start_uninstaller EXE: starts it and waits for its window; sets UNINSTALLER_PID.
start_uninstaller() {
  wstart uninstaller "$1"
  UNINSTALLER_PID=$WSTARTED
  driver wait "$uninstall_title" 60000 >/dev/null || fail "no uninstaller window"
}

# run_registered_uninstaller: starts the entry's "UninstallString" as Windows runs it.
run_registered_uninstaller() {
  expect "$(driver run "$(driver reg UninstallString)")" started "the registered uninstaller starts"
  driver wait "$uninstall_title" 60000 >/dev/null || fail "no uninstaller window"
}

uninstall_shown() { [ "$(driver shown "$uninstall_title" "$1")" = 1 ]; }

# confirm_and_finish: "down", the done page, its close button.
confirm_and_finish() {
  driver click "$uninstall_title" down >/dev/null
  wait_for 60 uninstall_shown page_uninstall_ok || fail "the done page did not come"
  driver click "$uninstall_title" close_btn >/dev/null
  driver gone "$uninstall_title" 30000 >/dev/null || fail "closing the done page did not end the uninstaller"
}

batch_file() { printf '%s/DeleteBat.bat' "$(temp_dir)"; }

# gone PATH...: true when none of the Unix paths exists.
gone() {
  local path
  for path in "$@"; do [ ! -e "$path" ] || return 1; done
}
