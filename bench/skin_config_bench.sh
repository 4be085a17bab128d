#!/usr/bin/env bash
# The input method's Skin.ini reader on the default skin's Skin.ini and on a generated one
# of 2191 buttons (skin_config_bench.exe): medians of RUNS runs, and on the default skin the
# ratio to the editor model's read of the same file. Build first (tools/build.sh).
# Usage: BUILD_DIR=build bench/skin_config_bench.sh [RUNS]
. "$(dirname "$0")/bench_env.sh" skin_config_bench "$@"
wine_up

wine "$BUILD_DIR/bin/skin_config_bench.exe" "Z:${WORK//\//\\}" "Z:${ROOT//\//\\}\\art\\default_skin\\Skin.ini" "$RUNS" |
  tr -d '\r'
