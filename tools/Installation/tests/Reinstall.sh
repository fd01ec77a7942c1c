# Installing over an installed client: the running client and its updater
# copy are asked about and ended (a program of the same name elsewhere lives
# on), and the previous root's files and values are written again.
. "$(dirname "${BASH_SOURCE[0]}")/InstallerSteps.sh"
root='C:\Old Root'
client="$root\\Orbela"
install_into "$root"

# The previous root wins over what the folder field says; a trailing backslash is fine.
wrun 30 reg add 'HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\Orbela' /v InstallLocation /d "$client\\" /f >/dev/null
wrun 30 reg add 'HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\Orbela' /v DisplayIcon /d stale /f >/dev/null
rm "$(unixpath "$client")/Tools/7z.exe"
# The updater copy carries the updater's resources; the decoy elsewhere does not need to.
cp "$WIN_BIN/FixtureUpdater.exe" "$(unixpath "$root")/Update.exe"
mkdir -p "$WINEPREFIX/drive_c/Elsewhere"
cp "$(unixpath "$client")/Orbela.exe" "$WINEPREFIX/drive_c/Elsewhere/Update.exe"

start_fixtures() {
  wstart client "$client\\Orbela.exe"; CLIENT_PID=$WSTARTED
  wstart updater "$root\\Update.exe"; UPDATER_PID=$WSTARTED
  wait_for 30 bash -c "[ \$(wc -l <'$WORK/fixture.log') -ge \$1 ]" _ "$1" \
    || fail "the fixtures did not start"
}
: > "$WORK/fixture.log"
wstart decoy 'C:\Elsewhere\Update.exe'; DECOY_PID=$WSTARTED
start_fixtures 3

# The box's close button is no OK: the wizard ends and nothing changes.
start_installer
answer_box ok                      # the same version: go on
driver click "$title" quicksetupbtn >/dev/null
expect "$(notice_text)" "检测到Orbela正在运行，安装将关闭Orbela，是否继续？" "the running client is asked about"
answer_box close
wait_exit "$INSTALLER_PID" 30 || fail "closing the question did not end the wizard"
kill -0 "$CLIENT_PID" && kill -0 "$UPDATER_PID" || fail "a fixture ended although the question was closed"
expect "$(driver reg DisplayIcon)" stale "closing the question wrote nothing"
echo "ok: the box's close button changes nothing"

start_installer
answer_box ok
driver click "$title" quicksetupbtn >/dev/null
expect "$(notice_text)" "检测到Orbela正在运行，安装将关闭Orbela，是否继续？" "the client question again"
answer_box ok next
wait_notice "检测到Orbela正在升级，安装将关闭升级程序，是否继续？"
echo "ok: the updater question"
answer_box ok
wait_shown start_btn || fail "the reinstall did not finish"
wait_exit "$CLIENT_PID" 30 || fail "the client was not ended"
wait_exit "$UPDATER_PID" 30 || fail "the updater copy was not ended"
kill -0 "$DECOY_PID" || fail "the Update.exe elsewhere was ended"
echo "ok: OK ends the client and its updater; the decoy lives"
expect "$(driver reg InstallLocation)" "$client" "the entry names the previous root again"
expect "$(driver reg DisplayIcon)" "$client\\Orbela.exe" "the values are written again"
[ -f "$(unixpath "$client")/Tools/7z.exe" ] || fail "the files were not written again"
echo "ok: the previous root's files are written again"
driver click "$title" close_btn >/dev/null
wait_exit "$INSTALLER_PID" 30 || fail "the wizard stayed"
kill "$DECOY_PID" 2>/dev/null || true
