# Sourced by the scripts that build or start Windows programs: which of the two
# Windows roads this machine takes, and the Wine and mingw settings of a road.
#   i686    the shipped 32-bit programs, run under 32-bit Wine (WINEARCH=win32)
#   x86_64  the same code built for x86-64, run under 64-bit Wine (WINEARCH=win64),
#           for machines whose kernel cannot execute 32-bit programs
#
#   windows_road_choose        sets ORBELA_WINDOWS_ARCH and ORBELA_WINDOWS_ROAD_WHY
#                              (ORBELA_WINDOWS_ARCH=i686|x86_64 set beforehand forces a road)
#   windows_road_env ARCH      exports the road's WINEARCH, WINELOADER, WINESERVER,
#                              ORBELA_WINE_TEMPLATE, ORBELA_MINGW_TRIPLE, ORBELA_MINGW_TOOLCHAIN
#                              and puts the wine shims first on PATH
#   windows_road_of_tree DIR   the ARCH a configured mingw tree was built for
#   windows_setup_read FILE    sets windows_state, windows_arch, windows_why from setup's record
#   windows_status_read FILE   the same, and then, beside it, build.sh's record of the Windows
#                              build (windows-build.txt, in windows_build_state): a failed
#                              build makes the state failed with the build's error
#   windows_record FILE STATE ARCH WHY   writes such a record (state=, arch=, why=)
orbela_scripts_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# Every script that starts Wine comes through here: the cache and the locale.
. "$orbela_scripts_dir/env.sh"

# Raised whenever the prefix that make_template in wine-test.sh makes changes,
# so templates made before are made again.
orbela_wine_template_revision=2

# Runs a tiny i386 program. Asked on every run and never cached: a cache may
# be restored onto a machine of the other kind.
windows_road_runs_32bit() {
  local dir status=0 out
  dir=$(mktemp -d /tmp/orbela-i386.XXXXXX)
  printf '.globl _start\n_start:\n  movl $1, %%eax\n  xorl %%ebx, %%ebx\n  int $0x80\n' > "$dir/probe.s"
  if ! as --32 -o "$dir/probe.o" "$dir/probe.s" 2>"$dir/err" ||
     ! ld -m elf_i386 -o "$dir/probe" "$dir/probe.o" 2>>"$dir/err"; then
    windows_road_32bit_why="no i386 probe could be built ($(head -n 1 "$dir/err"))"
    rm -rf "$dir"
    return 1
  fi
  out=$("$dir/probe" 2>&1) || status=$?
  rm -rf "$dir"
  if [ "$status" = 0 ]; then
    windows_road_32bit_why="this machine runs 32-bit programs"
    return 0
  fi
  out=${out##*: }
  windows_road_32bit_why="this machine cannot run 32-bit programs (${out:-exit code $status})"
  return 1
}

# A road this machine cannot run is refused here, with the reason in
# ORBELA_WINDOWS_ROAD_WHY (also the last line on standard error), before
# anything of it is installed.
windows_road_choose() {
  case "${ORBELA_WINDOWS_ARCH:-}" in
    i686)
      if ! windows_road_runs_32bit; then
        ORBELA_WINDOWS_ROAD_WHY="ORBELA_WINDOWS_ARCH=i686 is forced, but $windows_road_32bit_why"
        echo "$ORBELA_WINDOWS_ROAD_WHY" >&2
        return 3
      fi
      ORBELA_WINDOWS_ROAD_WHY="forced by ORBELA_WINDOWS_ARCH=$ORBELA_WINDOWS_ARCH" ;;
    x86_64)
      ORBELA_WINDOWS_ROAD_WHY="forced by ORBELA_WINDOWS_ARCH=$ORBELA_WINDOWS_ARCH" ;;
    "")
      if windows_road_runs_32bit; then ORBELA_WINDOWS_ARCH=i686; else ORBELA_WINDOWS_ARCH=x86_64; fi
      ORBELA_WINDOWS_ROAD_WHY=$windows_road_32bit_why ;;
    *)
      ORBELA_WINDOWS_ROAD_WHY="ORBELA_WINDOWS_ARCH must be i686 or x86_64, not '$ORBELA_WINDOWS_ARCH'"
      echo "$ORBELA_WINDOWS_ROAD_WHY" >&2
      return 2 ;;
  esac
  export ORBELA_WINDOWS_ARCH ORBELA_WINDOWS_ROAD_WHY
}

windows_road_env() {
  case "$1" in
    i686)
      export WINEARCH=win32 WINELOADER=/usr/lib/wine/wine WINESERVER=/usr/lib/wine/wineserver32
      export ORBELA_MINGW_TRIPLE=i686-w64-mingw32
      ORBELA_MINGW_TOOLCHAIN=$orbela_scripts_dir/../cmake/MingwI686.cmake ;;
    x86_64)
      export WINEARCH=win64 WINELOADER=/usr/lib/wine/wine64 WINESERVER=/usr/lib/wine/wineserver64
      export ORBELA_MINGW_TRIPLE=x86_64-w64-mingw32
      ORBELA_MINGW_TOOLCHAIN=$orbela_scripts_dir/../cmake/MingwX86_64.cmake ;;
    *)
      echo "windows-road: unknown Windows road '$1'" >&2
      return 2 ;;
  esac
  ORBELA_MINGW_TOOLCHAIN=$(cd "${ORBELA_MINGW_TOOLCHAIN%/*}" && pwd)/${ORBELA_MINGW_TOOLCHAIN##*/}
  local wine_version
  wine_version=$(dpkg-query -W -f='${Version}' wine 2>/dev/null || echo unknown)
  export ORBELA_MINGW_TOOLCHAIN
  export ORBELA_WINE_TEMPLATE=$ORBELA_CACHE/wine-$wine_version-$WINEARCH-r$orbela_wine_template_revision
  # Debian's "wine" and "wineboot" pick the 32-bit loader whenever its file
  # exists, and its "wineserver" the 64-bit server; the shims always start the
  # road's loader (WINELOADER) and server (WINESERVER, which the loader also
  # starts when no server runs).
  case ":$PATH:" in
    *":$orbela_scripts_dir/wine-shim:"*) ;;
    *) export PATH=$orbela_scripts_dir/wine-shim:$PATH ;;
  esac
}

windows_road_of_tree() {
  sed -n 's/^ORBELA_WINDOWS_ARCH:[A-Z]*=//p' "$1/CMakeCache.txt" 2>/dev/null
}

windows_setup_read() {
  local key value
  windows_state=missing windows_arch="" windows_why="the Windows side has not been set up (run scripts/setup.sh)"
  [ -f "$1" ] || return 0
  while IFS='=' read -r key value; do
    case "$key" in
      state) windows_state=$value ;;
      arch) windows_arch=$value ;;
      why) windows_why=$value ;;
    esac
  done < "$1"
}

windows_status_read() {
  local key value build_why="" build_file
  windows_setup_read "$1"
  windows_build_state=""
  build_file=$(dirname "$1")/windows-build.txt
  [ "$windows_state" = ok ] && [ -f "$build_file" ] || return 0
  while IFS='=' read -r key value; do
    case "$key" in
      state) windows_build_state=$value ;;
      why) build_why=$value ;;
    esac
  done < "$build_file"
  if [ "$windows_build_state" = failed ]; then windows_state=failed windows_why=$build_why; fi
}

windows_record() {
  printf 'state=%s\narch=%s\nwhy=%s\n' "$2" "$3" "$4" > "$1.tmp"
  mv "$1.tmp" "$1"
}

# The installer's default folder (without a D: drive) on the machine of a
# prefix: 64-bit Windows, a win64 prefix, keeps 32-bit programs in
# "Program Files (x86)". Read from the prefix's registry, not from the installer.
windows_default_install_root() {
  if grep -q '^#arch=win64' "$1/system.reg" 2>/dev/null; then
    echo 'C:\Program Files (x86)\Orbela'
  else
    echo 'C:\Program Files\Orbela'
  fi
}

# windows_unix_path PREFIX 'C:\...': where a path on drive C: of a prefix lies.
windows_unix_path() {
  local path=${2#[Cc]:}
  printf '%s/drive_c%s' "$1" "${path//\\//}"
}
