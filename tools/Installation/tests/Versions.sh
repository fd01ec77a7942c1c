# The installed version against the package's 1.1.1.81, as a table: the
# button's text, whether the custom area can open, which question comes, and
# that declining closes the wizard with nothing written.
. "$(dirname "${BASH_SOURCE[0]}")/InstallerSteps.sh"
key='HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\Orbela'
temp=$(unixpath "$(driver folder temp)")
same="您使用的安装包跟本地版本相同，是否需要继续安装？"
older_package="您使用的安装包版本过旧，是否继续安装？"

# installed|button|custom_btn shown|question|answer
while IFS='|' read -r installed button custom question answer; do
  row="installed '${installed:-none}'"
  wrun 30 reg delete "$key" /f >/dev/null 2>&1 || true
  if [ -n "$installed" ]; then
    wrun 30 reg add "$key" /v DisplayVersion /d "$installed" /f >/dev/null
    wrun 30 reg add "$key" /v InstallLocation /d 'C:\Games\Orbela' /f >/dev/null
  fi
  start_installer
  expect "$(driver text "$title" quicksetupbtn)" "$button" "$row: button"
  expect "$(driver shown "$title" custom_btn)" "$custom" "$row: custom_btn shown"
  if [ -n "$question" ]; then
    expect "$(notice_text)" "$question" "$row: the question"
    answer_box "$answer"
  else
    status=0; driver wait "$box" 1500 >/dev/null || status=$?
    expect "$status" 2 "$row: no question"
  fi
  if [ "$answer" = cancel ] || [ "$answer" = close ]; then
    wait_exit "$INSTALLER_PID" 30 || fail "$row: declining did not close the wizard"
    echo "ok: $row: declining closes the wizard"
    expect "$(driver reg DisplayVersion)" "$installed" "$row: the entry is as it was"
    expect "$(driver reg DisplayIcon)" missing "$row: nothing written to the entry"
    [ ! -e "$temp/orbela.7z" ] || fail "$row: the package was written"
  else
    expect "$(driver shown "$title" quicksetupbtn)" 1 "$row: the wizard stays"
    driver close "$title" >/dev/null
    answer_box ok
    wait_exit "$INSTALLER_PID" 30 || fail "$row: the wizard did not close"
  fi
done <<ROWS
|立即安装    |1|||
1.1.0.5|一键升级    |0|||
1.1.1.81|覆盖安装    |0|$same|ok
1.1.1.81|覆盖安装    |0|$same|cancel
2.0.0.0|覆盖安装    |0|$older_package|cancel
1.1.2.0|覆盖安装    |0|$older_package|cancel
1.1.2.0|覆盖安装    |0|$older_package|close
ROWS
