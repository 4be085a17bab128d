#!/usr/bin/env bash
# The preview's redraw path (bench/paint_to_dc_bench.cpp): PaintToDC of a 600 x 200 top
# with a nine-part background and 30 children; median of RUNS runs. No peer exists.
# Build first (tools/build.sh). Usage: BUILD_DIR=build bench/paint_to_dc_bench.sh [RUNS]
. "$(dirname "$0")/bench_env.sh" paint_to_dc_bench "$@"
wine_up

wine "$BUILD_DIR/bin/paint_to_dc_bench.exe" "$RUNS" | tr -d '\r'
