#!/usr/bin/env bash
# Installs what is missing, builds both trees and runs every test through CTest;
# ends with CTest's summary.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
. "$root/scripts/env.sh"
"$root/scripts/build.sh"
use_private_runtime
trap 'rm -rf "$ORBELA_RUNTIME_ROOT"' EXIT
cd "$root/build"
ctest --output-on-failure -j "$jobs" --timeout 300 "$@"
