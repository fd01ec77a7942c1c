# Sourced by the scripts: the environment the client and its tests need on Linux,
# also when running as root in CI.
: "${ORBELA_CACHE:=/var/cache/orbela}"
export ORBELA_CACHE
export CCACHE_DIR="${CCACHE_DIR:-$ORBELA_CACHE/ccache}"
export CCACHE_MAXSIZE="${CCACHE_MAXSIZE:-5G}"
export QTWEBENGINE_DISABLE_SANDBOX=1
export QT_QUICK_BACKEND=software
if [ -z "${ORBELA_RUNTIME_READY:-}" ]; then
  ORBELA_RUNTIME_ROOT=$(mktemp -d /tmp/orbela-run.XXXXXX)
  chmod 700 "$ORBELA_RUNTIME_ROOT"
  mkdir -p "$ORBELA_RUNTIME_ROOT/runtime" "$ORBELA_RUNTIME_ROOT/cache"
  chmod 700 "$ORBELA_RUNTIME_ROOT/runtime"
  export XDG_RUNTIME_DIR="$ORBELA_RUNTIME_ROOT/runtime"
  export XDG_CACHE_HOME="$ORBELA_RUNTIME_ROOT/cache"
  export ORBELA_RUNTIME_ROOT ORBELA_RUNTIME_READY=1
fi
jobs=$(nproc 2>/dev/null || echo 2)
