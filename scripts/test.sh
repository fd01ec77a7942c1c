#!/usr/bin/env bash
# Installs what is missing, builds both trees and runs every test through CTest;
# ends with CTest's summary. When the Windows side could not be set up or
# built, the native tests still run, and the run then fails with the reason.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
. "$root/scripts/env.sh"  # first: setup, the builds and every test get its locale
"$root/scripts/setup.sh"  # says first which Windows road it takes and why
. "$root/scripts/windows-road.sh"
build_status=0
"$root/scripts/build.sh" || build_status=$?
windows_status_read "$root/build/windows-road.txt"
# A failed native build stops here; a failed Windows build was recorded and
# comes back below.
if [ "$build_status" != 0 ] && [ "$windows_build_state" != failed ]; then exit "$build_status"; fi
use_private_runtime
trap 'rm -rf "$ORBELA_RUNTIME_ROOT"' EXIT
cd "$root/build"
status=0
ctest --output-on-failure -j "$jobs" --timeout 300 "$@" || status=$?
if [ "$windows_state" = failed ] || [ "$windows_state" = missing ]; then
  echo "test: the Windows side could not be set up or built: $windows_why" >&2
  exit 1
fi
exit "$status"
