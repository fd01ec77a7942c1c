# Sourced by the scripts: the environment the client and its tests need on Linux,
# also when running as root in CI.
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
