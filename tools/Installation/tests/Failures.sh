# Failures: a package that cannot be unpacked registers nothing and returns
# to the first page; a desktop link that cannot be written is a notice over
# the main window, and the install still finishes.
. "$(dirname "${BASH_SOURCE[0]}")/InstallerSteps.sh"
desktop=$(driver folder desktop)
programs=$(driver folder programs)

start_installer "$WIN_BIN/InstallationTruncated.exe"
driver click "$title" quicksetupbtn >/dev/null
expect "$(notice_text)" "程序文件解压失败！" "a truncated package"
answer_box ok
wait_shown quicksetupbtn 30 || fail "not back on the first page"
echo "ok: back on the first page"
expect_no_entry "a truncated package"
expect "$(driver lnk "$desktop\\Orbela.lnk")" missing "a truncated package: no desktop link"
expect "$(driver lnk "$programs\\Orbela\\Orbela.lnk")" missing "a truncated package: no Start-menu link"
driver close "$title" >/dev/null
answer_box ok
wait_exit "$INSTALLER_PID" 30 || fail "the wizard stayed"

mkdir -p "$(unixpath "$desktop")/Orbela.lnk"
start_installer
driver click "$title" quicksetupbtn >/dev/null
expect "$(notice_text)" "桌面快捷方式创建失败！" "a directory in the desktop link's place"
expect "$(driver owner "$box")" "$title" "the notice is owned by the main window"
answer_box ok
wait_shown start_btn || fail "the finished page did not come after the notice"
echo "ok: the finished page follows the notice"
expect "$(driver reg DisplayName)" Orbela "the entry is written"
expect "$(driver lnk "$programs\\Orbela\\Orbela.lnk")" "$(windows_default_install_root "$WINEPREFIX")\\Orbela\\Orbela.exe" "the Start-menu link is written"
