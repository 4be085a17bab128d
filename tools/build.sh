#!/usr/bin/env bash
# Installs what is missing, cross-builds the libraries once and builds the project.
# BUILD_DIR picks the build folder (default: build/ in the checkout).
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD_DIR=${BUILD_DIR:-$ROOT/build}
case "$BUILD_DIR" in /*) ;; *) BUILD_DIR=$ROOT/$BUILD_DIR ;; esac
DEPS_DIR=${KAVREL_DEPS_DIR:-$ROOT/.deps}

bash "$ROOT/tools/setup_host.sh"
mkdir -p "$DEPS_DIR"
# Several build folders may share one library prefix: build it under a lock.
flock "$DEPS_DIR/.lock" bash "$ROOT/third_party/build_deps.sh" "$DEPS_DIR"

# ccache, where the machine has it, makes rebuilds in several checkouts cheap.
LAUNCHER=""
command -v ccache >/dev/null && LAUNCHER="-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache"
if [ ! -f "$BUILD_DIR/CMakeCache.txt" ]; then
  cmake -S "$ROOT" -B "$BUILD_DIR" -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-x86_64.cmake" \
    -DKAVREL_DEPS_PREFIX="$DEPS_DIR/prefix" $LAUNCHER >/dev/null
fi
cmake --build "$BUILD_DIR" -j"$(nproc)" -- --no-print-directory
