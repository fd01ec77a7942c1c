#!/usr/bin/env bash
# Configures and builds the mingw trees of the Windows road that setup chose
# (build/windows-road.txt): build/windows is the road's tree (framework, wizards
# and their tests), which CTest of build/ runs under Wine; the prefix is copied
# from the cached template by the "wine" fixture at the start of each run. On the
# x86-64 road the shipped i686 programs (the wizards) are built as well, into
# build/windows-i686, and not run.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
. "$root/scripts/env.sh"
. "$root/scripts/windows-road.sh"
cd "$root"
# Setup's record only: a failed earlier build is what this one may mend.
windows_setup_read build/windows-road.txt
[ "$windows_state" = ok ] || { echo "build-windows: $windows_why" >&2; exit 1; }

# The Windows trees take the native tree's deployment setting.
app_host=$(sed -n 's/^ORBELA_APP_API_HOST:[A-Z]*=//p' build/CMakeCache.txt 2>/dev/null || true)

# build_tree DIR ARCH [TARGET...]
build_tree() {
  local dir=$1 arch=$2; shift 2
  windows_road_env "$arch"
  # A tree configured for the other target is made anew: a toolchain cannot change in place.
  if [ -f "$dir/CMakeCache.txt" ] && [ "$(windows_road_of_tree "$dir")" != "$arch" ]; then
    echo "build-windows: $dir was built for $(windows_road_of_tree "$dir"); rebuilding it for $arch"
    rm -rf "$dir"
  fi
  cmake -S . -B "$dir" -DCMAKE_TOOLCHAIN_FILE="$ORBELA_MINGW_TOOLCHAIN" \
    -DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache \
    -DORBELA_CACHE="$ORBELA_CACHE" ${app_host:+-DORBELA_APP_API_HOST="$app_host"} \
    -DORBELA_NATIVE_BIN_DIR="$root/build/bin" >/dev/null
  local targets=()
  [ $# -eq 0 ] || targets=(--target "$@")
  cmake --build "$dir" -j "$jobs" "${targets[@]}"
}

build_tree build/windows "$windows_arch"
if [ "$windows_arch" != i686 ]; then
  build_tree build/windows-i686 i686 installation update uninstall
fi
