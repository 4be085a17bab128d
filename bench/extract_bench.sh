#!/usr/bin/env bash
# The runtime skin made from a generated 500-picture package (extract_bench.exe), from its
# zip archive and from its packed container, with Info-ZIP `unzip` of the same archive in
# the same run: medians of RUNS runs and the ratio (ours from zip / Info-ZIP). Build first
# (tools/build.sh).
# Usage: BUILD_DIR=build bench/extract_bench.sh [RUNS]
. "$(dirname "$0")/bench_env.sh" extract_bench "$@"
wine_up

ours=$(wine "$BUILD_DIR/bin/extract_bench.exe" "Z:${WORK//\//\\}" "$RUNS" | tr -d '\r')
echo "$ours"
zip_ms=$(sed -n 's/^500 pictures from zip median \([0-9.]*\) ms.*/\1/p' <<<"$ours")

python3 - "$WORK" "$RUNS" "$zip_ms" <<'PY'
import os, shutil, statistics, subprocess, sys, time
work, runs, ours = sys.argv[1], int(sys.argv[2]), float(sys.argv[3])
archive, folder = os.path.join(work, "500.vsf"), os.path.join(work, "infozip_out")
times = []
for _ in range(runs):
    shutil.rmtree(folder, ignore_errors=True)
    t0 = time.perf_counter()
    subprocess.run(["unzip", "-q", "-o", archive, "-d", folder], check=True)
    times.append((time.perf_counter() - t0) * 1000)
peer = statistics.median(times)
print("500 pictures from zip %.1f ms, Info-ZIP unzip %.1f ms, ratio %.2f" % (ours, peer, ours / peer))
PY
