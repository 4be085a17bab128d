#!/usr/bin/env bash
# ZipLib.dll against Info-ZIP on the same generated skin folder (500 pictures and Skin.ini, ~11 MB):
# medians of RUNS runs each and the ratios (ours / Info-ZIP). Build first (tools/build.sh).
# Usage: BUILD_DIR=build bench/ziplib_bench.sh [RUNS]
. "$(dirname "$0")/bench_env.sh" ziplib_bench "$@"
wine_up

ours=$(wine "$BUILD_DIR/bin/ziplib_bench.exe" "Z:${WORK//\//\\}" "$RUNS" | tr -d '\r')
echo "$ours"
zip_ms=$(sed -n 's/^ziplib zip   median \([0-9.]*\) ms.*/\1/p' <<<"$ours")
unzip_ms=$(sed -n 's/^ziplib unzip median \([0-9.]*\) ms.*/\1/p' <<<"$ours")
our_size=$(stat -c %s "$WORK/ours.zip")

python3 - "$WORK" "$RUNS" "$zip_ms" "$unzip_ms" "$our_size" <<'PY'
import os, shutil, statistics, subprocess, sys, time
work, runs, zip_ms, unzip_ms, our_size = sys.argv[1], int(sys.argv[2]), float(sys.argv[3]), float(sys.argv[4]), int(sys.argv[5])
skin, archive, out = os.path.join(work, "skin"), os.path.join(work, "infozip.zip"), os.path.join(work, "infozip_out")
zips, unzips = [], []
for _ in range(runs):
    if os.path.exists(archive):
        os.remove(archive)
    t0 = time.perf_counter()
    subprocess.run(["zip", "-q", "-r", "-6", archive, "."], cwd=skin, check=True)
    t1 = time.perf_counter()
    shutil.rmtree(out, ignore_errors=True)
    t2 = time.perf_counter()
    subprocess.run(["unzip", "-q", "-o", archive, "-d", out], check=True)
    t3 = time.perf_counter()
    zips.append((t1 - t0) * 1000)
    unzips.append((t3 - t2) * 1000)
z, u = statistics.median(zips), statistics.median(unzips)
size = os.path.getsize(archive)
print("Info-ZIP zip -r -6 median %.1f ms, archive %d bytes" % (z, size))
print("Info-ZIP unzip     median %.1f ms" % u)
print("ratio zip time   ours/Info-ZIP = %.2f" % (zip_ms / z))
print("ratio unzip time ours/Info-ZIP = %.2f" % (unzip_ms / u))
print("ratio size       ours/Info-ZIP = %.3f" % (our_size / size))
PY
