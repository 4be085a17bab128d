#!/usr/bin/env bash
# Picture decoding: our decoders under Wine on the default skin's pictures and on generated
# pictures (1024 x 1024 RGBA PNG, interlaced PNG, 100-frame APNG, 50-frame GIF), and the
# host's libpng on the same PNG files for comparison (for the APNG, its default image only:
# Debian's libpng has no animation support). Build first (tools/build.sh).
# Usage: BUILD_DIR=build bench/picture_decode_bench.sh [RUNS]
. "$(dirname "$0")/bench_env.sh" picture_bench "$@"

/usr/bin/python3 - "$WORK" <<'PY'
import sys
import numpy as np
from PIL import Image
work = sys.argv[1]
rng = np.random.default_rng(7)
# Smooth gradients with some noise: compresses like real artwork, not like random bytes.
y, x = np.mgrid[0:1024, 0:1024]
rgba = np.stack([(x // 4) % 256, (y // 4) % 256, (x + y) // 8 % 256, 128 + 127 * np.sin(x / 40.0) * np.cos(y / 50.0)], 2)
rgba = (rgba + rng.integers(0, 6, rgba.shape)).clip(0, 255).astype(np.uint8)
Image.fromarray(rgba, "RGBA").save(work + "/rgba_1024.png")
Image.fromarray(rgba[:512, :512, :3].copy(), "RGB").save(work + "/plain_512.png")
frames = []
for i in range(100):
    f = np.roll(rgba[:256, :256], i * 3, axis=1).copy()
    frames.append(Image.fromarray(f, "RGBA"))
frames[0].save(work + "/anim_100.png", save_all=True, append_images=frames[1:], duration=40, loop=0)
gif = [Image.fromarray(np.roll(rgba[:200, :200, :3], i * 4, axis=0).copy(), "RGB").quantize(64) for i in range(50)]
gif[0].save(work + "/anim_50.gif", save_all=True, append_images=gif[1:], duration=60, loop=0)
PY
convert "$WORK/plain_512.png" -interlace PNG "$WORK/interlaced_512.png"
rm "$WORK/plain_512.png"

gcc -O2 -o "$WORK/png_host_peer" "$ROOT/bench/png_host_peer.c" $(pkg-config --cflags --libs libpng)

wine_up
echo "ours (Wine, $RUNS runs, median):"
ours=$(wine "$BUILD_DIR/bin/picture_decode_bench.exe" "Z:${WORK//\//\\}" "Z:${ROOT//\//\\}\\art\\default_skin" "$RUNS" | tr -d '\r')
echo "$ours"
echo "host libpng (native, same transforms, median):"
"$WORK/png_host_peer" "$RUNS" "$WORK"/*.png "$ROOT"/art/default_skin/*.png >"$WORK/host.txt"
python3 - "$WORK/host.txt" <<PY
import re, sys
host = dict(l.split() for l in open(sys.argv[1]))
ours = """$ours"""
skin = sum(float(v) for k, v in host.items() if not re.match(r"(rgba_1024|interlaced_512|anim_100)\.png", k))
for k in ("rgba_1024.png", "interlaced_512.png", "anim_100.png"):
    m = re.search(re.escape(k) + r": .*median ([0-9.]+) ms", ours)
    print("%-20s host %.2f ms, ours %s ms, ratio ours/host %s" % (k, float(host[k]), m.group(1), "%.2f" % (float(m.group(1)) / float(host[k])) if k != "anim_100.png" else "n/a (host reads the default image only)"))
m = re.search(r"default skin: \d+ pictures, median ([0-9.]+) ms", ours)
print("default skin PNGs  host %.2f ms (PNG only), ours %s ms (PNG and BMP)" % (skin, m.group(1)))
PY
