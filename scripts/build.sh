#!/usr/bin/env bash
# Configures and builds the native tree (build/) and, where the Windows side is
# present, the mingw tree (build/windows/).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
. "$root/scripts/env.sh"
cd "$root"

cmake -S . -B build -DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache >/dev/null
cmake --build build -j "$jobs"

if [ "${ORBELA_NATIVE_ONLY:-0}" != 1 ] && [ -x "$root/scripts/build-windows.sh" ]; then
  "$root/scripts/build-windows.sh"
fi
