#!/usr/bin/env bash
# Installs what is missing, builds, starts the store stand-in on loopback and
# the client against it. "./scripts/run.sh Installation" (or Update, Uninstall)
# starts that wizard under Wine instead; "./scripts/run.sh skinprobe ..." and
# "./scripts/run.sh skin-bench" run those framework tools the same way.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
. "$root/scripts/env.sh"
"$root/scripts/build.sh"

case "${1:-}" in
  Installation|Update|Uninstall|skinprobe|skin-bench)
    exec "$root/scripts/run-wizard.sh" "$@" ;;
  "") ;;
  *) echo "usage: $0 [Installation|Update|Uninstall|skinprobe ARGS|skin-bench]" >&2; exit 2 ;;
esac

use_private_runtime
server_pid=
cleanup() {
  [ -n "$server_pid" ] && kill "$server_pid" 2>/dev/null || true
  rm -rf "$ORBELA_RUNTIME_ROOT"
}
trap cleanup EXIT

if [ -x "$root/build/bin/storeserver" ]; then
  data="$root/build/storeserver-data"
  mkdir -p "$data"
  coproc SERVER { exec "$root/build/bin/storeserver" --port "${ORBELA_PORT:-8801}" --data "$data" --log "$data/requests.log"; }
  server_pid=$SERVER_PID
  read -r line <&"${SERVER[0]}" || { echo "run: the store stand-in did not start" >&2; exit 1; }
  echo "run: store stand-in: $line"
  address=${line#listening }
  export ORBELA_APP_API_HOST=$address ORBELA_OPEN_API_HOST=$address ORBELA_FORUM_HOST=$address ORBELA_IP_LOOKUP_HOST=$address
fi

client="$root/build/Orbela/Orbela"
if [ -z "${DISPLAY:-}" ]; then
  echo "run: no display; starting the client under Xvfb"
  xvfb-run -a -s '-screen 0 1920x1080x24' "$client"
else
  "$client"
fi
