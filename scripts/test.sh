#!/usr/bin/env bash
# Installs what is missing, builds both trees and runs every test through CTest;
# ends with CTest's summary. When the Windows side could not be set up, the
# native tests still run, and the run then fails with the reason.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"  # says first which Windows road it takes and why
. "$root/scripts/env.sh"
. "$root/scripts/windows-road.sh"
"$root/scripts/build.sh"
windows_status_read "$root/build/windows-road.txt"
use_private_runtime
trap 'rm -rf "$ORBELA_RUNTIME_ROOT"' EXIT
cd "$root/build"
status=0
ctest --output-on-failure -j "$jobs" --timeout 300 "$@" || status=$?
if [ "$windows_state" = failed ] || [ "$windows_state" = missing ]; then
  echo "test: the Windows side could not be set up: $windows_why" >&2
  exit 1
fi
exit "$status"
