# Sourced by shell scripts and shell-driven tests: starts the store stand-in on
# a free loopback port (unless the arguments name one) with its own data folder
# and request log.
#   standin_start DIR [storeserver arguments]   sets STANDIN_PID, STANDIN_HOST, STANDIN_LOG
#   standin_stop
# The program is $ORBELA_STORESERVER, else build/bin/storeserver of this clone.
# It also ends by itself when the shell that started it ends.

standin_start() {
  local dir=$1; shift
  local binary=${ORBELA_STORESERVER:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)/build/bin/storeserver}
  [ -x "$binary" ] || { echo "standin: $binary is not built" >&2; return 1; }
  mkdir -p "$dir/data"
  STANDIN_LOG=$dir/requests.log
  : > "$STANDIN_LOG"
  : > "$dir/standin.out"
  "$binary" --port 0 "$@" --data "$dir/data" --log "$STANDIN_LOG" > "$dir/standin.out" 2> "$dir/standin.err" &
  STANDIN_PID=$!
  # Wait for its one "listening 127.0.0.1:<port>" line (or its end).
  local line="" tries=0
  while :; do
    line=$(head -n 1 "$dir/standin.out" || true)
    case "$line" in listening\ *) break ;; esac
    if ! kill -0 "$STANDIN_PID" 2>/dev/null || [ "$tries" -ge 600 ]; then
      echo "standin: did not start: $(cat "$dir/standin.err")" >&2
      standin_stop
      return 1
    fi
    tries=$((tries + 1))
    sleep 0.05
  done
  STANDIN_HOST=${line#listening }
  export STANDIN_PID STANDIN_HOST STANDIN_LOG
}

standin_stop() {
  if [ -n "${STANDIN_PID:-}" ]; then
    kill "$STANDIN_PID" 2>/dev/null || true
    wait "$STANDIN_PID" 2>/dev/null || true
    STANDIN_PID=
  fi
}
