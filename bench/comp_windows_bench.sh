#!/usr/bin/env bash
# The composition and candidate windows after one property change: rebuild, measure and
# PaintToDC of each scheme (comp_windows_bench.exe) on the default skin and on a generated
# skin of 500 pictures: medians of RUNS runs. Build first (tools/build.sh).
# Usage: BUILD_DIR=build bench/comp_windows_bench.sh [RUNS]
. "$(dirname "$0")/bench_env.sh" comp_windows_bench "$@"
wine_up

wine "$BUILD_DIR/bin/comp_windows_bench.exe" "Z:${WORK//\//\\}" "Z:${ROOT//\//\\}\\art\\default_skin" "$RUNS" |
  tr -d '\r'
