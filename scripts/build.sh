#!/usr/bin/env bash
# Configures and builds the native tree (build/) and, where setup could set the
# Windows side up, the mingw trees (build/windows/, see build-windows.sh).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
. "$root/scripts/env.sh"
. "$root/scripts/windows-road.sh"
cd "$root"

cmake -S . -B build -DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache >/dev/null
cmake --build build -j "$jobs"

windows_status_read build/windows-road.txt
if [ "$windows_state" = ok ]; then
  "$root/scripts/build-windows.sh"
else
  echo "build: the Windows trees are not built: $windows_why"
fi
