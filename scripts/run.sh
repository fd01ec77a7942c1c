#!/usr/bin/env bash
# Installs what is missing, builds, starts the store stand-in on loopback and
# the client against it. "./scripts/run.sh Installation" (or Update, Uninstall)
# starts that wizard under Wine instead; "./scripts/run.sh skinprobe ..." and
# "./scripts/run.sh skin-bench" run those framework tools the same way.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
. "$root/scripts/env.sh"  # first: setup, the builds, Wine and the client get its locale
"$root/scripts/setup.sh"
. "$root/scripts/windows-road.sh"
build_status=0
"$root/scripts/build.sh" || build_status=$?

# Without a Windows side (not set up, or its build failed) the client still
# runs; a wizard cannot.
windows_status_read "$root/build/windows-road.txt"
if [ "$build_status" != 0 ] && [ "$windows_build_state" != failed ]; then exit "$build_status"; fi
if [ "$windows_state" != ok ]; then
  if [ -n "${1:-}" ]; then
    echo "run: $1 cannot run: the Windows side is not available: $windows_why" >&2
    exit 1
  fi
  echo "run: the wizards are unavailable: $windows_why"
fi

case "${1:-}" in
  Installation|Update|Uninstall|"") ;;
  skinprobe|skin-bench)
    exec "$root/scripts/run-wizard.sh" "$@" ;;
  *) echo "usage: $0 [Installation|Update|Uninstall|skinprobe ARGS|skin-bench]" >&2; exit 2 ;;
esac

# The store stand-in serves the client and takes the wizards' statistics reports.
. "$root/scripts/standin.sh"
use_private_runtime
cleanup() {
  standin_stop
  rm -rf "$ORBELA_RUNTIME_ROOT"
}
trap cleanup EXIT

if [ -x "$root/build/bin/storeserver" ]; then
  data="$root/build/storeserver-data"
  mkdir -p "$data"
  offer=()
  # The updater started without arguments takes the update the stand-in offers.
  if [ "${1:-}" = Update ] && [ $# -eq 1 ]; then offer=(--update optional); fi
  standin_start "$data" --port "${ORBELA_PORT:-8801}" "${offer[@]}"
  echo "run: store stand-in: listening $STANDIN_HOST (request log $STANDIN_LOG)"
  export ORBELA_APP_API_HOST=$STANDIN_HOST ORBELA_OPEN_API_HOST=$STANDIN_HOST ORBELA_FORUM_HOST=$STANDIN_HOST \
    ORBELA_IP_LOOKUP_HOST=$STANDIN_HOST
fi

if [ "${1:-}" = Update ] && [ $# -eq 1 ]; then
  package="$root/build/windows/tools/Update/orbela-update.7z"
  [ -f "$package" ] || { echo "run: $package has not been built" >&2; exit 1; }
  mkdir -p "$data/data/download"
  cp "$package" "$data/data/download/orbela-update.7z"
  # Asked as the client asks: the version service, signed with the client's version.
  offered=$(python3 - "$STANDIN_HOST" <<'PY'
import hashlib, json, sys, urllib.parse, urllib.request
version = "1.1.1.81"
sign = hashlib.md5((version + "kwintep!~#@%$&^)(*").encode()).hexdigest()
query = urllib.parse.urlencode({"version": version, "sign": sign})
loopback_only = urllib.request.build_opener(urllib.request.ProxyHandler({}))
with loopback_only.open(f"http://{sys.argv[1]}/client/api/ajaxGetVersion?{query}", timeout=10) as reply:
    data = json.load(reply)["data"]
print(data["ve_num"], data["ve_url"])
PY
)
  echo "run: the stand-in offers ${offered% *} at ${offered#* }"
  set -- Update ${offered% *} ${offered#* }
fi

if [ -n "${1:-}" ]; then
  "$root/scripts/run-wizard.sh" "$@"
  exit
fi

client="$root/build/Orbela/Orbela"
if [ -z "${DISPLAY:-}" ]; then
  echo "run: no display; starting the client under Xvfb"
  xvfb-run -a -s '-screen 0 1920x1080x24' "$client"
else
  "$client"
fi
