#!/usr/bin/env bash
# The desktop previews' share of an edit (desktop_preview_bench.exe): both previews reload
# the runtime skin from the work copy and lay out, the selected one paints; on the default
# skin and on a generated skin of 500 pictures: medians of RUNS runs. Build first
# (tools/build.sh).
# Usage: BUILD_DIR=build bench/desktop_preview_bench.sh [RUNS]
. "$(dirname "$0")/bench_env.sh" desktop_preview_bench "$@"
wine_up

wine "$BUILD_DIR/bin/desktop_preview_bench.exe" "Z:${WORK//\//\\}" "Z:${ROOT//\//\\}\\art\\default_skin" "$RUNS" |
  tr -d '\r'
