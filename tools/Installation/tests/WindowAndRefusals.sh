# The first page: default folder with and without a fixed D:, the custom area,
# hit-testing, a second start, and the folder checks as a table: each refusal
# shows its notice and leaves no entry and no temporary files.
. "$(dirname "${BASH_SOURCE[0]}")/InstallerSteps.sh"
HTCLIENT=1 HTCAPTION=2

start_installer
expect "$(driver text "$title" setup_path)" "$(windows_default_install_root "$WINEPREFIX")" "default folder without D:"
case "$(driver text "$title" lb_available_space)" in
  可用空间：*G) echo "ok: free space shown" ;;
  *) fail "free space label $(driver text "$title" lb_available_space)" ;;
esac

status=0; wrun 30 "$WIN_BIN/Installation.exe" >/dev/null || status=$?
expect "$status" 0 "a second installer ends at once with 0"

expect "$(driver window "$title")" "InstallationMainWnd 550x330" "collapsed window"
expect "$(driver hittest "$title" page_quick_setup)" $HTCAPTION "an empty spot drags the window"
window_is() { [ "$(driver window "$title")" = "InstallationMainWnd $1" ]; }
for size in 550x467 550x330 550x467; do
  driver click "$title" custom_btn >/dev/null
  wait_for 10 window_is $size || fail "custom_btn did not make the window $size"
  echo "ok: custom_btn makes the window $size"
done
expect "$(driver hittest "$title" setup_path)" $HTCLIENT "the folder field takes clicks"

temp=$(unixpath "$(driver folder temp)")
no_temp_files() {
  [ ! -e "$temp/orbela.7z" ] || fail "$1: orbela.7z was written"
  [ ! -e "$temp/7z.exe" ] || fail "$1: 7z.exe was written"
}

# refuse WHAT FOLDER NOTICE: types the folder, starts, expects the notice.
refuse() {
  expect "$(driver type "$title" setup_path "$2")" ok "typing $1"
  driver click "$title" quicksetupbtn >/dev/null
  expect "$(notice_text)" "$3" "$1 refused"
  answer_box ok
  expect "$(driver shown "$title" quicksetupbtn)" 1 "$1: still on the first page"
  no_temp_files "$1"
}

driver click "$title" checkbox_terms >/dev/null
driver click "$title" quicksetupbtn >/dev/null
expect "$(notice_text)" '请选中"我已阅读并同意Orbela许可协议"选项后，再进行安装！' "terms unticked refused"
expect "$(driver text "$box" msg_title)" "Orbela" "the box's title"
answer_box ok
no_temp_files "terms unticked"
driver click "$title" checkbox_terms >/dev/null

long='C:\'$(printf 'a%.0s' $(seq 1 148))
expect "${#long}" 151 "a folder of 151 characters"
while IFS='|' read -r what folder notice; do
  refuse "$what" "$folder" "$notice"
done <<ROWS
empty|$(printf '\b')|安装路径不能为空！
151 characters|$long|安装目录过长，请重新选择后再试！
relative|Games\\Orbela|安装路径的磁盘空间检查出错！
drive-relative|C:Orbela|安装路径的磁盘空间检查出错！
UNC|\\\\server\\share\\Orbela|安装路径的磁盘空间检查出错！
ROWS

expect_no_entry "after the refusals"

# Space: a tmpfs drive with 130 MiB free is refused; 131 MiB passes.
space_dir=$WORK/space
mkdir -p "$space_dir"
if mount -t tmpfs -o size=130m tmpfs "$space_dir" 2>/dev/null; then
  trap 'umount "$space_dir" 2>/dev/null; cleanup' EXIT
  add_drive T "$space_dir"
  refuse "130 MiB free" 'T:\Orbela' "安装路径的磁盘空间不足！"
  mount -o remount,size=131m "$space_dir"
  expect "$(driver type "$title" setup_path 'T:\Orbela')" ok "typing the 131 MiB drive"
  driver click "$title" quicksetupbtn >/dev/null
  wait_shown start_btn || fail "131 MiB free did not install"
  echo "ok: 131 MiB free passes"
  [ -f "$space_dir/Orbela/Orbela/Orbela.exe" ] || fail "nothing installed on the 131 MiB drive"
else
  echo "skip: tmpfs mount refused here; the free-space rows need it"
fi

# A fixed D: moves the default; on the licence page the text and its scroll bar take clicks.
driver close "$title" >/dev/null
expect "$(notice_text)" "确定要退出Orbela安装程序？" "closing asks"
answer_box ok
wait_exit "$INSTALLER_PID" 30 || fail "the installer stayed after OK"
wrun 30 reg delete 'HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\Orbela' /f >/dev/null 2>&1 || true

add_drive D "$WORK/drive-d"
start_installer
expect "$(driver text "$title" setup_path)" 'D:\Program Files\Orbela' "default folder with a fixed D:"
driver click "$title" terms_btn >/dev/null
wait_shown wordedit 30 || fail "no licence page"
expect "$(driver hittest "$title" wordedit)" $HTCLIENT "the licence text takes clicks"
expect "$(driver hittest "$title" '#ScrollBarUI')" $HTCLIENT "its scroll bar takes clicks"
driver click "$title" down >/dev/null
wait_shown quicksetupbtn 30 || fail "down did not return to the first page"
echo "ok: down returns to the first page"
