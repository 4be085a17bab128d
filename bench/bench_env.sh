# Sourced by the benchmark scripts: BUILD_DIR (absolute), RUNS (the script's first argument,
# default 9), the Wine environment without the caller's display, and a scratch folder WORK
# that goes away with Wine's processes when the script ends. The caller runs wine_up.
# Usage: . "$(dirname "$0")/bench_env.sh" <name> "$@"
set -euo pipefail
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export BUILD_DIR=${BUILD_DIR:-$ROOT/build}
case "$BUILD_DIR" in /*) ;; *) BUILD_DIR=$ROOT/$BUILD_DIR ;; esac
RUNS=${2:-9}

unset DISPLAY
. "$ROOT/tools/wine_env.sh"
WORK=$(mktemp -d "/tmp/$1.XXXXXX")
cleanup() { wine_down; rm -rf "$WORK"; }
trap cleanup EXIT
