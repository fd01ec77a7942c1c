#!/usr/bin/env bash
# Configures and builds the native tree (build/) and, where setup could set the
# Windows side up, the mingw trees (build/windows/, see build-windows.sh).
# A failing Windows build is recorded with its first error in
# build/windows-build.txt (read by windows_status_read and CTest's join of the
# Windows tests), so test.sh still runs the native tests and then fails with it.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
. "$root/scripts/env.sh"
. "$root/scripts/windows-road.sh"
cd "$root"
build_record=build/windows-build.txt
rm -f "$build_record"

cmake -S . -B build -DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache >/dev/null
cmake --build build -j "$jobs"

windows_status_read build/windows-road.txt
if [ "$windows_state" != ok ]; then
  echo "build: the Windows trees are not built: $windows_why"
  exit 0
fi
log=$(mktemp /tmp/orbela-build.XXXXXX)
status=0
# A pipeline, so tee has written the whole log before it is read.
{ "$root/scripts/build-windows.sh" 2>&1 >&3 3>&- | tee "$log" >&2; } 3>&1 || status=$?
if [ "$status" != 0 ]; then
  error=$(grep -m 1 -E '(^|[^[:alpha:]])(error|Error|ERROR)[: ]' "$log" ||
    grep -v '^[[:space:]]*$' "$log" | tail -n 1 || true)
  why="building the Windows trees failed: ${error:-build-windows.sh exited with $status}"
  windows_record "$build_record" failed "" "${why:0:400}"
  rm -f "$log"
  echo "build: $why" >&2
  exit 1
fi
rm -f "$log"
windows_record "$build_record" ok "" ""
