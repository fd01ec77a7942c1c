# The message box through the helper probe and the driver: its window, its
# owner, the results of its buttons and closes, one box at a time, and boxes
# that workers ask for.
box="Orbela提示弹窗"
probe_title="Orbela helper probe"
probe=$WIN_BIN/HelperProbe.exe

# box_row NAME ARGS... -- ACTION...: one probe with a box; ACTION runs once the
# box is there; the probe's answer is what it printed.
open_box() { # name, probe arguments
  local name=$1; shift
  wstart "$name" "$probe" box "$@"
  PROBE_PID=$WSTARTED
  driver wait "$box" 30000 >/dev/null || fail "$name: no box appeared"
}
probe_result() { # name
  wait_exit "$PROBE_PID" 30 || fail "$1: the probe did not end"
  started "$1" | grep '^result' || true
}

# The window itself; the probe's window stays after the box.
open_box first "请先关闭Orbela" 3 cancel keep
expect "$(driver window "$box")" "MessageBoxMainWnd 450x230" "class and size"
expect "$(driver owner "$box")" "$probe_title" "the probe's window owns the box"
expect "$(driver enabled "$probe_title")" 0 "the owner is disabled while the box is open"
expect "$(driver text "$box" msg_title)" "Orbela" "title text"
expect "$(driver text "$box" errr_text)" "请先关闭Orbela" "message text"
expect "$(driver shown "$box" errr_detail)" 0 "no second line for a one-line text"
expect "$(driver shown "$box" msg_cancel)" 1 "cancel button shown"
expect "$(driver hittest "$box" errr_text)" 2 "the whole box is its caption"
expect "$(driver hittest "$box" msg_down)" 1 "buttons take clicks"

# A second box, from another process, answers 0 at once and shows nothing.
expect "$(wrun 30 "$probe" box "second" 3)" "result 0" "a second box while one is open"

# SC_MAXIMIZE on a skin without "maxbtn" leaves a working box.
driver maximize "$box" >/dev/null
expect "$(driver text "$box" msg_title)" "Orbela" "the box answers after SC_MAXIMIZE"
expect "$(driver enabled "$probe_title")" 0 "the owner stays disabled"
driver click "$box" msg_down >/dev/null
driver gone "$box" 5000 >/dev/null || fail "the box stayed after OK"
wait_for 10 grep -q '^result' "$WORK/started-first.out" || fail "the probe printed no result"
expect "$(started first)" "result 1" "OK gives 1"
expect "$(driver enabled "$probe_title")" 1 "the owner takes input again once the box is gone"
driver close "$probe_title" >/dev/null
expect "$(probe_result first)" "result 1" "the probe ends when its window is closed"

# Results table: how the box is closed, what it answers.
row=0
while read -r cancel action name want what; do
  row=$((row + 1))
  open_box "row$row" "Orbela" 4 $cancel
  if [ "$cancel" = nocancel ]; then
    expect "$(driver shown "$box" msg_cancel)" 0 "no cancel button"
  fi
  case "$action" in
    click) driver click "$box" "$name" >/dev/null ;;
    close) driver close "$box" >/dev/null ;;
  esac
  expect "$(probe_result "row$row")" "result $want" "$what"
done <<'ROWS'
cancel click msg_cancel 2 cancel gives 2
cancel click close_btn 0 the close button gives 0
cancel close - 0 a posted SC_CLOSE gives 0
nocancel click msg_down 1 OK without a cancel button gives 1
nocancel close - 0 SC_CLOSE without a cancel button gives 0
ROWS
driver gone "$box" 5000 >/dev/null || fail "a box was left open"

# A worker's notice is shown by the window thread; the worker waits for the answer.
wstart worker "$probe" worker-box "开始程序中的快捷方式创建失败！"
PROBE_PID=$WSTARTED
driver wait "$box" 30000 >/dev/null || fail "the worker's box did not appear"
expect "$(driver owner "$box")" "$probe_title" "the worker's box is owned by the main window"
expect "$(driver shown "$box" msg_cancel)" 0 "a notice has no cancel button"
driver click "$box" msg_down >/dev/null
wait_exit "$PROBE_PID" 30 || fail "the worker's probe did not end"
expect "$(started worker | grep '^box thread')" "box thread window" "the box ran on the window thread"
expect "$(started worker | grep '^result')" "result 1" "the worker got the answer"
