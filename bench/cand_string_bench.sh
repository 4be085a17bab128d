#!/usr/bin/env bash
# The candidate string alone after one redraw request: rebuild, update with the preview's
# nine sample candidates, layout and render (cand_string_bench.exe) on the default skin,
# in a column and in a row: medians of RUNS runs. Build first (tools/build.sh).
# Usage: BUILD_DIR=build bench/cand_string_bench.sh [RUNS]
. "$(dirname "$0")/bench_env.sh" cand_string_bench "$@"
wine_up

wine "$BUILD_DIR/bin/cand_string_bench.exe" "Z:${WORK//\//\\}" "Z:${ROOT//\//\\}\\art\\default_skin" "$RUNS" |
  tr -d '\r'
