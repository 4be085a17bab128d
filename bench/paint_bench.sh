#!/usr/bin/env bash
# Drawing-layer benchmark (bench/paint_bench.cpp) and ImageMagick's Mitchell resize of the
# same 1920 x 1080 picture to 960 x 540 on the host: medians of RUNS runs and the ratio.
# Build first (tools/build.sh). Usage: BUILD_DIR=build bench/paint_bench.sh [RUNS]
. "$(dirname "$0")/bench_env.sh" paint_bench "$@"
wine_up

ours=$(wine "$BUILD_DIR/bin/paint_bench.exe" "$RUNS" "Z:${WORK//\//\\}" | tr -d '\r')
echo "$ours"
resize_ms=$(sed -n 's/^bicubic resize 1920x1080 -> 960x540 (source) *median *\([0-9.]*\) ms.*/\1/p' <<<"$ours")

python3 - "$WORK" "$RUNS" "$resize_ms" <<'PY'
import os, statistics, subprocess, sys, time
work, runs, ours_ms = sys.argv[1], int(sys.argv[2]), float(sys.argv[3])
src, out = os.path.join(work, "source.rgba"), os.path.join(work, "magick.rgba")
# ImageMagick reads and writes raw RGBA; the same command without the resize is timed too,
# so that its reading and writing can be taken off.
resize = ["convert", "-size", "1920x1080", "-depth", "8", "rgba:" + src, "-filter", "Mitchell",
          "-resize", "960x540!", "rgba:" + out]
copy = ["convert", "-size", "1920x1080", "-depth", "8", "rgba:" + src, "rgba:" + out + ".copy"]
def median_ms(command):
    times = []
    for _ in range(runs):
        t0 = time.perf_counter()
        subprocess.run(command, check=True)
        times.append((time.perf_counter() - t0) * 1000)
    return statistics.median(times)
full, io = median_ms(resize), median_ms(copy)
net = max(full - io, 0.001)
print("ImageMagick -filter Mitchell -resize: median %.1f ms per process, %.1f ms without read/write (%.1f Mpx/s)"
      % (full, net, 1920 * 1080 / 1e6 / (net / 1000)))
print("ratio resize time ours/ImageMagick = %.2f" % (ours_ms / net))
PY
