#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test under Wine.
# Extra arguments go to ctest (for example: -R str_test).
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
export BUILD_DIR=${BUILD_DIR:-$ROOT/build}
case "$BUILD_DIR" in /*) ;; *) BUILD_DIR=$ROOT/$BUILD_DIR ;; esac

# An include that goes up a layer fails the run before anything is built.
python3 "$ROOT/tools/check_layers.py"
bash "$ROOT/tools/build.sh"

# Tests always get a display of their own.
unset DISPLAY
. "$ROOT/tools/wine_env.sh"
trap wine_down EXIT
wine_up
ctest --test-dir "$BUILD_DIR" --output-on-failure --no-tests=error -j"$(nproc)" "$@"
