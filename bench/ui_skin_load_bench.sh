#!/usr/bin/env bash
# The runtime skin's load of a packed skin (ui_skin_load_bench.exe), on the default skin
# and on a generated skin of 500 pictures, cold and with a warm handle manager: medians of
# RUNS runs. Build first (tools/build.sh).
# Usage: BUILD_DIR=build bench/ui_skin_load_bench.sh [RUNS]
. "$(dirname "$0")/bench_env.sh" ui_skin_load_bench "$@"
wine_up

wine "$BUILD_DIR/bin/ui_skin_load_bench.exe" "Z:${WORK//\//\\}" "Z:${ROOT//\//\\}\\art\\default_skin" "$RUNS" |
  tr -d '\r'
