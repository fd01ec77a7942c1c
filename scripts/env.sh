# Sourced by the scripts (directly, or through windows-road.sh): the environment
# the client and its tests need on Linux, also when running as root in CI or
# started with an empty environment.
# Without a UTF-8 locale (none set, or one that is not installed) Wine and Qt
# see ASCII file names and window titles: such a caller runs with C.UTF-8,
# which glibc always has. Tests that need another locale set LC_ALL themselves.
case "$(locale charmap 2>/dev/null)" in
  UTF-8) ;;
  *) export LC_ALL=C.UTF-8 LANG=C.UTF-8 ;;
esac
: "${ORBELA_CACHE:=/var/cache/orbela}"
export ORBELA_CACHE
export CCACHE_DIR="${CCACHE_DIR:-$ORBELA_CACHE/ccache}"
export CCACHE_MAXSIZE="${CCACHE_MAXSIZE:-5G}"
# Paths inside the clone are hashed relative to it, so clones share cache hits.
export CCACHE_BASEDIR="${CCACHE_BASEDIR:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}"
export QTWEBENGINE_DISABLE_SANDBOX=1
export QT_QUICK_BACKEND=software
jobs=$(nproc 2>/dev/null || echo 2)

# A private runtime and cache folder for the client and its tests (the lock,
# the hand-over socket, shader caches), removed when the calling script ends.
use_private_runtime() {
  ORBELA_RUNTIME_ROOT=$(mktemp -d /tmp/orbela-run.XXXXXX)
  mkdir -p -m 700 "$ORBELA_RUNTIME_ROOT/runtime" "$ORBELA_RUNTIME_ROOT/cache"
  export XDG_RUNTIME_DIR="$ORBELA_RUNTIME_ROOT/runtime"
  export XDG_CACHE_HOME="$ORBELA_RUNTIME_ROOT/cache"
  export ORBELA_RUNTIME_ROOT
}
