#!/usr/bin/env bash
# Installs what is missing, builds everything and starts the editor on the default skin.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
export BUILD_DIR=${BUILD_DIR:-$ROOT/build}
case "$BUILD_DIR" in /*) ;; *) BUILD_DIR=$ROOT/$BUILD_DIR ;; esac

bash "$ROOT/tools/build.sh"

EXE="$BUILD_DIR/bin/Kavrel.exe"
if [ ! -f "$EXE" ]; then
  echo "Built the libraries and tests; the editor program itself is not part of this build yet."
  exit 0
fi
. "$ROOT/tools/wine_env.sh"
trap wine_down EXIT
wine_up
# Starts the editor and, without a package on the command line, makes a new skin from the
# default skin, as File > New does.
wine "$EXE" "$@" &
editor=$!
if [ $# -eq 0 ]; then
  wine "$BUILD_DIR/bin/post_command_child.exe" 32782 || true
fi
wait "$editor"
