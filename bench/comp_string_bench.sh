#!/usr/bin/env bash
# The composition string alone after one redraw request: rebuild, update with a composition,
# layout and paint (comp_string_bench.exe) on the default skin and on a generated skin of
# 500 pictures: medians of RUNS runs. Build first (tools/build.sh).
# Usage: BUILD_DIR=build bench/comp_string_bench.sh [RUNS]
. "$(dirname "$0")/bench_env.sh" comp_string_bench "$@"
wine_up

wine "$BUILD_DIR/bin/comp_string_bench.exe" "Z:${WORK//\//\\}" "Z:${ROOT//\//\\}\\art\\default_skin" "$RUNS" |
  tr -d '\r'
