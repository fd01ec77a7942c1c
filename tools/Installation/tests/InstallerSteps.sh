# Shared steps of the installer tests (sourced after the wizard test helpers).
title="Orbela安装向导"
box="Orbela提示弹窗"
entry_values="DisplayIcon InstallLocation UninstallString Publisher DisplayVersion DisplayName URLInfoAbout"

# The Unix path of a Windows path on drive C: of the prefix.
unixpath() { windows_unix_path "$WINEPREFIX" "$1"; }

# start_installer [EXE]: starts the installer and waits for its window.
start_installer() {
  wstart installer "${1:-$WIN_BIN/Installation.exe}"
  INSTALLER_PID=$WSTARTED
  driver wait "$title" 60000 >/dev/null || fail "no installer window"
}

# wait_shown NAME [SECS]: until that control of the installer is visible.
is_shown() { [ "$(driver shown "$title" "$1")" = 1 ]; }
wait_shown() { wait_for "${2:-120}" is_shown "$1"; }

# The notice in the open message box, after waiting for it.
notice_text() {
  driver wait "$box" 30000 >/dev/null || fail "no message box"
  driver text "$box" errr_text
}

# answer_box ok|cancel|close [next]: closes the open message box that way;
# with "next" another box follows at once, so its going is not awaited.
answer_box() {
  case "$1" in
    ok) driver click "$box" msg_down >/dev/null ;;
    cancel) driver click "$box" msg_cancel >/dev/null ;;
    close) driver click "$box" close_btn >/dev/null ;;
  esac
  [ "${2:-}" = next ] || driver gone "$box" 30000 >/dev/null || fail "the message box stayed"
}

# wait_notice TEXT: until the open message box shows that text.
notice_is() { [ "$(driver text "$box" errr_text)" = "$1" ]; }
wait_notice() { wait_for 30 notice_is "$1" || fail "no notice \"$1\""; }

# The paths of the package's listing under its top folder, sorted.
package_listing() {
  7z l -slt "$ORBELA_PACKAGE" | sed -n 's/^Path = //p' | grep '^Orbela' | sort
}

# The tree under a Unix folder, as the listing names it.
tree_listing() {
  (cd "$1" && find Orbela -mindepth 0 | sort)
}

# expect_no_entry WHAT: no uninstall entry was written.
expect_no_entry() {
  local value
  for value in $entry_values; do
    expect "$(driver reg "$value")" missing "$1: no $value"
  done
}

# install_into ROOT: a first installation into ROOT typed in the custom area,
# up to the finished page; the finished page's close button ends the wizard.
install_into() {
  start_installer
  driver click "$title" custom_btn >/dev/null
  expect "$(driver type "$title" setup_path "$1")" ok "typing $1"
  driver click "$title" quicksetupbtn >/dev/null
  wait_shown start_btn || fail "installing into $1 did not finish"
  expect "$(driver reg InstallLocation)" "$1\\Orbela" "installed into $1"
  driver click "$title" close_btn >/dev/null
  wait_exit "$INSTALLER_PID" 30 || fail "close_btn on the finished page did not end the wizard"
}

forget_entry() {
  wrun 30 reg delete 'HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\Orbela' /f >/dev/null 2>&1 || true
}
