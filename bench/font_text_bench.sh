#!/usr/bin/env bash
# FreeType text (bench/font_text_bench.cpp) beside the host's FreeType on the same 1000 CJK
# characters in the same font file (bench/ft_host_peer.c): cold open + measure and warm
# draw, medians of RUNS runs, and the ratios to their goals (warm draw <= 1.0x the host,
# cold open + measure <= 1.2x). Build first (tools/build.sh).
# Usage: BUILD_DIR=build bench/font_text_bench.sh [RUNS]
. "$(dirname "$0")/bench_env.sh" font_text_bench "$@"
font=/usr/share/fonts/truetype/wqy/wqy-microhei.ttc
gcc -O2 -o "$WORK/ft_host_peer" "$ROOT/bench/ft_host_peer.c" $(pkg-config --cflags --libs freetype2)

wine_up
ours=$(wine "$BUILD_DIR/bin/font_text_bench.exe" "$RUNS" | tr -d '\r')
echo "$ours"
host=$("$WORK/ft_host_peer" "$font" "$RUNS")
echo "$host"
python3 - "$ours" "$host" <<'PY'
import re, sys
ours, host = sys.argv[1], sys.argv[2]
cold = re.search(r"CJK face, cold +([0-9.]+) +([0-9.]+)", ours)
warm = re.search(r"CJK face, warm +([0-9.]+) +([0-9.]+)", ours)
h = re.search(r"cold open\+measure ([0-9.]+) ms, warm draw ([0-9.]+) ms", host)
print("warm draw: ours %.2f ms, host %.2f ms, ratio %.2f (goal <= 1.0)"
      % (float(warm.group(2)), float(h.group(2)), float(warm.group(2)) / float(h.group(2))))
print("cold open + measure: ours %.2f ms, host %.2f ms, ratio %.2f (goal <= 1.2)"
      % (float(cold.group(1)), float(h.group(1)), float(cold.group(1)) / float(h.group(1))))
PY
