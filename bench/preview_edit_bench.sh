#!/usr/bin/env bash
# The editor's edit-to-preview road (preview_edit_bench.exe): one changed layout value, the
# preview's change message and the repainted back buffer, on the default skin and on a
# generated skin of 500 pictures: medians of RUNS runs and of the road's phases. The
# preview's windows need a display: Wine starts on its own Xvfb. Build first (tools/build.sh).
# Usage: BUILD_DIR=build bench/preview_edit_bench.sh [RUNS]
. "$(dirname "$0")/bench_env.sh" preview_edit_bench "$@"
wine_up

wine "$BUILD_DIR/bin/preview_edit_bench.exe" "Z:${WORK//\//\\}" "$RUNS" | tr -d '\r'
