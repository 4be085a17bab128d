#!/usr/bin/env bash
# The skin document's open, refresh of the preview copy and save (skin_doc_bench.exe), with
# Info-ZIP `zip -r -6` on the same saved folders in the same run: medians of RUNS runs and
# the ratios (ours / Info-ZIP) beside the goal of the default skin's. Build first (tools/build.sh).
# Usage: BUILD_DIR=build bench/skin_doc_bench.sh [RUNS]
. "$(dirname "$0")/bench_env.sh" skin_doc_bench "$@"
wine_up

ours=$(wine "$BUILD_DIR/bin/skin_doc_bench.exe" "Z:${WORK//\//\\}" "$RUNS" | tr -d '\r')
echo "$ours"
default_ms=$(sed -n 's/^default skin *save median \([0-9.]*\) ms.*/\1/p' <<<"$ours")
large_ms=$(sed -n 's/^500 pictures *save median \([0-9.]*\) ms.*/\1/p' <<<"$ours")

python3 - "$WORK" "$RUNS" "$default_ms" "$large_ms" <<'PY'
import os, statistics, subprocess, sys, time
work, runs = sys.argv[1], int(sys.argv[2])
ours = {"default": float(sys.argv[3]), "500": float(sys.argv[4])}
for name, label in (("default", "default skin"), ("500", "500 pictures")):
    folder, archive = os.path.join(work, name), os.path.join(work, name + "_infozip.zip")
    times = []
    for _ in range(runs):
        if os.path.exists(archive):
            os.remove(archive)
        t0 = time.perf_counter()
        subprocess.run(["zip", "-q", "-r", "-6", archive, "."], cwd=folder, check=True)
        times.append((time.perf_counter() - t0) * 1000)
    peer = statistics.median(times)
    goal = " (goal <= 1.00)" if name == "default" else ""
    print("%-14s save %.1f ms, Info-ZIP zip -r -6 %.1f ms, ratio %.2f%s" % (label, ours[name], peer, ours[name] / peer, goal))
PY
