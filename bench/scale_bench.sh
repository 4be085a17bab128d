#!/usr/bin/env bash
# Opening a package in the editor and making the runtime skin from it at 1 000, 10 000 and
# 50 000 pictures, beside Wine's floor of writing the same files (scale_bench.exe), and the
# extraction of a Skin.ini naming 50 000 missing pictures. Build first (tools/build.sh).
# Usage: BUILD_DIR=build bench/scale_bench.sh [RUNS [PICTURES...]] (default 1000 10000 50000)
. "$(dirname "$0")/bench_env.sh" scale_bench "$@"
wine_up
wine "$BUILD_DIR/bin/scale_bench.exe" "Z:${WORK//\//\\}" "$RUNS" "${@:2}" | tr -d '\r'
