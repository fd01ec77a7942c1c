# The driver's own commands against the helper probe's window and what a
# wizard leaves behind: typing into edits, links, the uninstall entry,
# folders, started command lines, and its exit codes.
probe_title="Orbela helper probe"
helpers=$(driver --help)
for command in wait gone click text shown type close minimize iconic hittest owner enabled answers lnk reg folder run hold; do
  # A here-string, not a pipe: grep -q ends at its first match, and the writer's
  # SIGPIPE would fail the pipeline under pipefail.
  grep -q "^  $command " <<<"$helpers" || fail "--help does not list $command"
done
echo "ok: --help lists every command"

wstart probe "$WIN_BIN/HelperProbe.exe" stay
driver wait "$probe_title" 30000 >/dev/null || fail "no probe window"
while read -r field text; do
  expect "$(driver type "$probe_title" "$field" "$text")" ok "typing into $field"
  expect "$(driver text "$probe_title" "$field")" "$text" "$field holds what was typed"
done <<'ROWS'
probe_edit E:\Games 游戏
probe_edit2 C:\Program Files (x86)
probe_edit D:\Orbela
ROWS
expect "$(driver text "$probe_title" probe_edit2)" 'C:\Program Files (x86)' "the other field kept its text"
expect "$(driver answers "$probe_title")" 1 "the probe's window answers a sent message"

status=0; driver text "$probe_title" no_such_control >/dev/null || status=$?
expect "$status" 1 "a missing control fails with 1"
driver close "$probe_title" >/dev/null
status=0; driver gone "$probe_title" 10000 >/dev/null || status=$?
expect "$status" 0 "the probe's window goes on SC_CLOSE"
# A close of a minimised wizard frame restores it before the question,
# whether the close is posted or sent (the system menu sends it).
for how in posted sent; do
  wstart "minimised-$how" "$WIN_BIN/HelperProbe.exe" stay
  driver wait "$probe_title" 30000 >/dev/null || fail "no probe window ($how)"
  driver minimize "$probe_title" >/dev/null
  wait_for 10 test "$(driver iconic "$probe_title")" = 1 || fail "the probe's window did not minimise ($how)"
  if [ "$how" = sent ]; then driver close "$probe_title" sent >/dev/null; else driver close "$probe_title" >/dev/null; fi
  wait_exit "$WSTARTED" 30 || fail "the probe did not end on a $how close"
  expect "$(started "minimised-$how")" "close asked while shown" "a $how close of a minimised frame restores it first"
done

status=0; driver wait "no such window" 300 >/dev/null || status=$?
expect "$status" 2 "a time-out fails with 2"

# What wizards leave behind.
expect "$(driver reg DisplayName)" missing "no uninstall entry"
wrun 30 reg add 'HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\Orbela' /v DisplayName /d '奥贝拉 Orbela' /f >/dev/null
expect "$(driver reg DisplayName)" "奥贝拉 Orbela" "an uninstall value in UTF-8"
case "$(driver folder temp)" in
  'C:\users\'*'\Temp\') echo "ok: temporary folder" ;;
  *) fail "temporary folder is $(driver folder temp)" ;;
esac
case "$(driver folder programs)" in
  *'\Start Menu\Programs') echo "ok: programs folder" ;;
  *) fail "programs folder is $(driver folder programs)" ;;
esac
expect "$(driver lnk 'C:\no\such.lnk')" missing "a missing link"

# A command line as Windows runs an UninstallString: quoted path, arguments.
mkdir -p "$WORK/drive-c/Program Files/Orbela"
add_drive F "$WORK/drive-c"
cp "$WIN_BIN/Orbela.exe" "$WORK/drive-c/Program Files/Orbela/Orbela.exe"
expect "$(driver run '"F:\Program Files\Orbela\Orbela.exe" --hand-over 2.0 http://x/y.7z')" started "run starts the command line"
wait_for 30 grep -q 'args=--hand-over|2.0|http://x/y.7z' "$WORK/fixture.log" || fail "the started program did not record its arguments"
echo "ok: the started program got its arguments"
