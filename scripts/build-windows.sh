#!/usr/bin/env bash
# Configures and builds the mingw tree build/windows (framework, wizards and
# their tests). CTest of build/ runs its tests under Wine; the prefix is copied
# from the cached template by the "wine" fixture at the start of each run.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
. "$root/scripts/env.sh"
cd "$root"

# The Windows tree takes the native tree's deployment setting.
app_host=$(sed -n 's/^ORBELA_APP_API_HOST:[A-Z]*=//p' build/CMakeCache.txt 2>/dev/null || true)
cmake -S . -B build/windows -DCMAKE_TOOLCHAIN_FILE="$root/cmake/MingwI686.cmake" \
  -DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache \
  -DORBELA_CACHE="$ORBELA_CACHE" ${app_host:+-DORBELA_APP_API_HOST="$app_host"} \
  -DORBELA_NATIVE_BIN_DIR="$root/build/bin" >/dev/null
cmake --build build/windows -j "$jobs"
