#!/usr/bin/env bash
# Installs what is missing, builds both trees and runs every test through CTest;
# ends with CTest's summary.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
. "$root/scripts/env.sh"
"$root/scripts/build.sh"
cd "$root/build"
status=0
ctest --output-on-failure -j "$jobs" --timeout 300 "$@" || status=$?
[ -n "${ORBELA_RUNTIME_ROOT:-}" ] && rm -rf "$ORBELA_RUNTIME_ROOT"
exit $status
