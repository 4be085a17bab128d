#!/usr/bin/env python3
"""Checks the drawing layer's pixel operations against an independent computation of
their formulas with numpy: colour conversion and premultiplication, colour keys (exact and
not), recolouring, alpha premultiplication, opaque bounds and bands, the bicubic weight
table and resize result (Mitchell-Netravali, B = C = 1/3, two passes in the cheaper order)
and the glow kernel and glow. Every comparison is exact but the resize's pixels, which
may differ from the double sums by one unit per channel (the resize sums floats and does
not round between its passes).

Usage: paint_ops_peer.py <build-dir> <source-dir>
paint_ops_child.exe (under Wine) runs the operations on inputs written here.
"""
import math
import os
import struct
import sys
import tempfile

try:
    import numpy as np
except ImportError:
    if sys.executable != "/usr/bin/python3" and os.path.exists("/usr/bin/python3"):
        os.execv("/usr/bin/python3", ["/usr/bin/python3"] + sys.argv)
    raise

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from peer_common import FAILURES, check, run, win  # noqa: E402

RNG = np.random.default_rng(20240611)


def write_pixels(path, pixels):
    h, w = pixels.shape
    with open(path, "wb") as f:
        f.write(struct.pack("<II", w, h) + pixels.astype("<u4").tobytes())


def read_pixels(path):
    data = open(path, "rb").read()
    w, h = struct.unpack_from("<II", data)
    return np.frombuffer(data, "<u4", w * h, 8).reshape(h, w)


def channels(p):
    return [(p >> s) & 0xFF for s in (0, 8, 16, 24)]  # b, g, r, a


def pack(b, g, r, a):
    return (a.astype(np.uint32) << 24) | (r.astype(np.uint32) << 16) | (g.astype(np.uint32) << 8) | b.astype(np.uint32)


def premultiplied(n):
    """Random premultiplied pixels: straight colours times random alphas (0 and 255 common)."""
    rgb = RNG.integers(0, 256, (n, 3), dtype=np.uint32)
    a = RNG.choice(np.array([0, 255, 1, 128, 200], np.uint32), n, p=[0.2, 0.4, 0.1, 0.15, 0.15])
    a = np.where(RNG.random(n) < 0.3, RNG.integers(0, 256, n, dtype=np.uint32), a)
    b, g, r = (rgb[:, i] * a // 255 for i in range(3))
    return pack(b, g, r, a)


# --- references -------------------------------------------------------------------------

def colorref_to_argb(c):
    c = np.asarray(c, np.int64)
    rgb = (c & 0xFF00) | ((c & 0xFF) << 16) | ((c >> 16) & 0xFF)
    alpha = np.where(c < 0x1000000, 0xFF000000, c & 0xFF000000)
    return np.where(c == 0xFFFFFFFF, 0, alpha | rgb).astype(np.uint32)


def premultiply_argb(p):
    p = np.asarray(p, np.uint32)
    b, g, r, a = channels(p)
    return pack(b * a // 255, g * a // 255, r * a // 255, a)


def apply_key(pixels, key, exact):
    if exact:
        return np.where(pixels == colorref_to_argb(key), 0, pixels).astype(np.uint32)
    if key == 0xFFFFFFFF:
        return pixels | np.uint32(0xFF000000)
    rgb = colorref_to_argb(key) & 0xFFFFFF
    return np.where((pixels & 0xFFFFFF) == rgb, 0, pixels | np.uint32(0xFF000000)).astype(np.uint32)


def recolor(pixels, a_color, b_color):
    if b_color in (0xFFFFFFFF, 0x7FFFFFFF):
        return pixels
    src = channels(colorref_to_argb(a_color).astype(np.uint32))
    to = colorref_to_argb(b_color) & 0xFFFFFF
    b, g, r, a = channels(pixels)
    near = pixels > 0xFFFFFF
    for have, want in zip((b, g, r), src[:3]):
        near &= np.abs(have.astype(np.int64) - (want * a // 255).astype(np.int64)) <= 16
    return np.where(near, premultiply_argb((a << 24) | to), pixels).astype(np.uint32)


def set_alpha(pixels, alpha):
    b, g, r, _ = channels(pixels)
    a = np.full_like(pixels, alpha)
    return pack(b * alpha // 255, g * alpha // 255, r * alpha // 255, a)


def opaque_bounds(pixels, rows):
    top_down = pixels[::-1]
    ys, xs = np.nonzero(top_down)
    if len(ys) == 0:
        return (0, 0, 0, 0, 0), (0, 0, 0, 0, 0)
    bounds = (1, xs.min(), ys.min(), xs.max() + 1, ys.max() + 1)
    first = ys.min()
    end = min(top_down.shape[0], first + rows)
    band_ys, band_xs = np.nonzero(top_down[first:end])
    band = (1, band_xs.min(), first, band_xs.max() + 1, end)
    return bounds, band


B = 1.0 / 3.0
C = 1.0 / 3.0
P0 = (6.0 - 2.0 * B) / 6.0
P2 = (-18.0 + 12.0 * B + 6.0 * C) / 6.0
P3 = (12.0 - 9.0 * B - 6.0 * C) / 6.0
Q0 = (8.0 * B + 24.0 * C) / 6.0
Q1 = (-12.0 * B - 48.0 * C) / 6.0
Q2 = (6.0 * B + 30.0 * C) / 6.0
Q3 = (-B - 6.0 * C) / 6.0


def mitchell(x):
    ax = abs(x)
    if ax < 1.0:
        return P0 + P2 * x * x + P3 * ax * ax * ax
    if ax < 2.0:
        return Q0 + Q1 * ax + Q2 * x * x + Q3 * ax * ax * ax
    return 0.0


def weight_table(source, target):
    """[(left, right, [weights...])] and the window size, as the filter's formulas give them."""
    scale = target / source
    width, fscale = (2.0 / scale, scale) if scale < 1.0 else (2.0, 1.0)
    window = 2 * int(math.ceil(width)) + 1
    table = []
    for u in range(target):
        centre = u / scale + (0.5 / scale - 0.5)
        left = max(0, int(math.floor(centre - width)))
        right = min(int(math.ceil(centre + width)), source - 1)
        if right - left + 1 > window:
            left += 1
        weights = [fscale * mitchell(fscale * (centre - k)) for k in range(left, right + 1)]
        total = 0.0
        for w in weights:
            total += w
        if total > 0.0 and total != 1.0:
            weights = [w / total for w in weights]
            while right > left and weights[right - left] == 0.0:
                right -= 1
        table.append((left, right, weights))
    return window, table


def finish(acc):
    """Sums + 0.5 truncated, clamped to 0..255; alpha raised to the largest channel."""
    v = np.clip(np.trunc(acc + 0.5), 0, 255).astype(np.uint32)
    b, g, r, a = v[..., 0], v[..., 1], v[..., 2], v[..., 3]
    return pack(b, g, r, np.maximum(np.maximum(a, b), np.maximum(g, r)))


def resize_pass(pixels, length, axis):
    """One pass along axis 1 (rows) or 0 (columns) of a memory-order pixel array."""
    if pixels.shape[axis] == length:
        return pixels.copy()
    _, table = weight_table(pixels.shape[axis], length)
    chans = np.stack(channels(pixels), axis=-1).astype(np.float64)
    out_shape = list(pixels.shape)
    out_shape[axis] = length
    out = np.empty(out_shape, np.uint32)
    for u, (left, right, weights) in enumerate(table):
        acc = np.zeros(chans.shape[1 - axis:1 - axis + 1] + (4,)) if False else None
        acc = 0.0
        for k in range(left, right + 1):
            tap = chans[:, k] if axis == 1 else chans[k]
            acc = acc + weights[k - left] * tap
        if axis == 1:
            out[:, u] = finish(acc)
        else:
            out[u] = finish(acc)
    return out


def resize(pixels, width, height):
    sh, sw = pixels.shape
    if height * sw < width * sh:
        return resize_pass(resize_pass(pixels, height, 0), width, 1)
    return resize_pass(resize_pass(pixels, width, 1), height, 0)


def glow_kernel():
    c = float((21 + 1) // 2)
    k = np.zeros((21, 21))
    for i in range(21):
        for j in range(21):
            dx, dy = abs(j + 0.5 - c), abs(i + 0.5 - c)
            d2 = dx * dx + dy * dy
            if dx < c and dy < c and d2 <= c * c:
                k[i, j] = 255.0 * 1.4 * (c * c - d2) / (c * c * c * c)
    return k


def glow(pixels):
    """Target (X, Y) in memory order sums kernel (r, k) over source (X - 21 + k, Y - 21 + r)."""
    h, w = pixels.shape
    kernel = glow_kernel()
    hit = np.zeros((h + 42, w + 42), bool)  # source placed at offset 21
    hit[21:21 + h, 21:21 + w] = pixels > 0xFFFFFF
    total = np.zeros((h + 21, w + 21))
    for r in range(21):
        for k in range(21):
            total = total + np.where(hit[r:r + h + 21, k:k + w + 21], kernel[r, k], 0.0)
    s = np.minimum(255.0, total).astype(np.uint32)
    return pack(s, s, s, s)


# --- run --------------------------------------------------------------------------------

def main():
    build_dir = sys.argv[1]
    work = tempfile.mkdtemp(prefix="kavrel_paint_peer_")
    jobs, checks = [], []

    def job(line, verify):
        jobs.append(line)
        checks.append(verify)

    colorrefs = np.array([0, 0xFF, 0x0000FF, 0x123456, 0xFFFFFF, 0x1000000, 0x80FF8040, 0xFFFFFFFF, 0x7FFFFFFF,
                          0xFF000000] + list(RNG.integers(0, 2**32, 40, dtype=np.uint64)), np.uint32)
    colorrefs.astype("<u4").tofile(os.path.join(work, "colorrefs.bin"))

    def verify_colorref(out):
        got = np.fromfile(out, "<u4").reshape(-1, 2)
        check(np.array_equal(got[:, 0], colorref_to_argb(colorrefs)), "ColorRefToArgb")
        check(np.array_equal(got[:, 1], premultiply_argb(colorrefs)), "PremultiplyArgb")
        check(got[2, 0] == 0xFFFF0000 and got[7, 0] == 0, "ColorRefToArgb(0x0000FF) and (-1)")
    job("colorref colorrefs.bin colorref.out", verify_colorref)

    # A picture holding the keys' colours among random pixels.
    pixels = premultiplied(37 * 23).reshape(23, 37)
    keys = [0x00FF00FF, 0x00000000, 0x0000FF00, 0xFFFFFFFF, 0x80FF00FF]
    for i, key in enumerate(keys):
        pixels.flat[RNG.choice(pixels.size, 25, replace=False)] = colorref_to_argb(key & 0xFFFFFF)
        pixels.flat[RNG.choice(pixels.size, 10, replace=False)] = colorref_to_argb(key) & 0xFFFFFF  # alpha 0
    write_pixels(os.path.join(work, "pixels.bin"), pixels)
    for key in keys:
        for exact in (0, 1):
            name = "key_%08x_%d.out" % (key, exact)
            job("key pixels.bin 0x%x %d %s" % (key, exact, name),
                lambda out, key=key, exact=exact: check(np.array_equal(read_pixels(out), apply_key(pixels, key, exact)),
                                                        "ApplyColorKey 0x%08x exact %d" % (key, exact)))

    # Recolour: pixels near a colour at several alphas, and the colours that do nothing.
    base = np.array([0x40, 0x80, 0xC0], np.uint32)
    near = []
    for a in (255, 128, 17, 0):
        for delta in (-17, -16, 0, 16, 17):
            bgr = np.clip(base * a // 255 + delta, 0, a)
            near.append(pack(bgr[2], bgr[1], bgr[0], np.uint32(a)))
    recolor_pixels = np.concatenate([np.array(near, np.uint32), premultiplied(80)]).reshape(10, 10)
    write_pixels(os.path.join(work, "recolor.bin"), recolor_pixels)
    for a_color, b_color in ((0x00C08040, 0x000000FF), (0x00C08040, 0xFFFFFFFF), (0x00C08040, 0x7FFFFFFF),
                             (0x00FFFFFF, 0x0000FF00)):
        name = "recolor_%08x_%08x.out" % (a_color, b_color)
        job("recolor recolor.bin 0x%x 0x%x %s" % (a_color, b_color, name),
            lambda out, a_color=a_color, b_color=b_color: check(
                np.array_equal(read_pixels(out), recolor(recolor_pixels, a_color, b_color)),
                "RecolorPixels 0x%08x -> 0x%08x" % (a_color, b_color)))

    for alpha in (0, 1, 128, 255):
        job("setalpha pixels.bin %d setalpha_%d.out" % (alpha, alpha),
            lambda out, alpha=alpha: check(np.array_equal(read_pixels(out), set_alpha(pixels, alpha)),
                                           "SetAlphaPremultiplied %d" % alpha))

    # Opaque bounds over sparse pictures, an empty one and a full one.
    sparse_cases = []
    for i, (w, h, n) in enumerate(((40, 30, 3), (40, 30, 1), (13, 7, 0), (5, 5, 25), (64, 48, 12))):
        sparse = np.zeros(h * w, np.uint32)
        sparse[RNG.choice(h * w, n, replace=False)] = RNG.integers(1, 2**32, n, dtype=np.uint64).astype(np.uint32)
        sparse = sparse.reshape(h, w)
        write_pixels(os.path.join(work, "sparse_%d.bin" % i), sparse)
        for rows in (1, 4):
            def verify_bounds(out, sparse=sparse, rows=rows, i=i):
                got = struct.unpack("<10i", open(out, "rb").read())
                want_bounds, want_band = opaque_bounds(sparse, rows)
                check(got[:5] == tuple(int(v) for v in want_bounds), "GetOpaqueBounds %d: %s != %s" % (i, got[:5], want_bounds))
                check(got[5:] == tuple(int(v) for v in want_band), "GetOpaqueBand %d rows %d: %s != %s" % (i, rows, got[5:], want_band))
            job("bounds sparse_%d.bin %d bounds_%d_%d.out" % (i, rows, i, rows), verify_bounds)

    # Weight tables: shrinking, enlarging, equal, odd ratios, to and from 1.
    for s, d in ((100, 50), (1920, 960), (10, 25), (7, 3), (33, 34), (5, 1), (1, 6), (300, 7)):
        def verify_weights(out, s=s, d=d):
            data = open(out, "rb").read()
            window, table = weight_table(s, d)
            got_window = struct.unpack_from("<i", data)[0]
            check(got_window == window, "window %d->%d: %d != %d" % (s, d, got_window, window))
            offset = 4
            for u, (left, right, weights) in enumerate(table):
                gl, gr = struct.unpack_from("<ii", data, offset)
                got = struct.unpack_from("<%dd" % window, data, offset + 8)
                offset += 8 + 8 * window
                if (gl, gr) != (left, right) or list(got[:len(weights)]) != weights:
                    check(False, "weights %d->%d entry %d: (%d, %d) %s != (%d, %d) %s"
                          % (s, d, u, gl, gr, got[:len(weights)], left, right, weights))
                    break
        job("weights %d %d weights_%d_%d.out" % (s, d, s, d), verify_weights)
    check(weight_table(100, 50)[0] == 9, "halving uses windows of 9 source pixels")

    # Resizes of a random premultiplied picture and of a smooth one, in both pass orders;
    # then single pixels, thin lines and extreme ratios.
    smooth_y, smooth_x = np.mgrid[0:45, 0:60]
    smooth_a = (smooth_x * 4).astype(np.uint32)
    smooth = pack((smooth_y * 5) * smooth_a // 255, (smooth_x * 3) * smooth_a // 255,
                  np.full_like(smooth_a, 200) * smooth_a // 255, smooth_a)
    sizes = ((30, 45), (30, 22), (60, 45), (131, 17), (7, 90), (1, 1), (120, 90))
    resizes = [("random", premultiplied(60 * 45).reshape(45, 60), sizes), ("smooth", smooth, sizes),
               ("dot", premultiplied(1).reshape(1, 1), ((1, 1), (9, 4))),
               ("line", premultiplied(250).reshape(1, 250), ((3, 1), (1, 7), (500, 2))),
               ("column", premultiplied(300).reshape(300, 1), ((4, 2), (1, 1)))]
    for name, source, targets in resizes:
        write_pixels(os.path.join(work, name + ".bin"), source)
        for w, h in targets:
            def verify_resize(out, source=source, w=w, h=h, name=name):
                got, want = read_pixels(out), resize(source, w, h)
                label = "bicubic resize %s %dx%d -> %dx%d" % (name, source.shape[1], source.shape[0], w, h)
                check(got.shape == want.shape, "%s: size %s" % (label, got.shape))
                if got.shape != want.shape:
                    return
                diff = max(int(np.abs(g.astype(np.int64) - e.astype(np.int64)).max())
                           for g, e in zip(channels(got), channels(want)))
                check(diff <= 1, "%s: a channel off by %d (%d pixels differ)"
                      % (label, diff, int(np.count_nonzero(got != want))))
            job("resize %s.bin %d %d resize_%s_%dx%d.out" % (name, w, h, name, w, h), verify_resize)

    def verify_kernel(out):
        got = np.fromfile(out, "<f8").reshape(21, 21)
        check(np.array_equal(got, glow_kernel()), "glow kernel")
        check(2.9 < got[10, 10] < 3.0, "glow kernel centre about 2.94: %r" % got[10, 10])
    job("kernel kernel.out", verify_kernel)

    # Glows: a large opaque block (255 in its middle), a single pixel (at most 2), an empty
    # picture (all 0) and text-like random strokes.
    block = np.zeros((40, 50), np.uint32)
    block[5:35, 5:45] = 0xFF102030
    single = np.zeros((3, 3), np.uint32)
    single[1, 1] = 0x01000000
    strokes = np.where(RNG.random((60, 400)) < 0.08, premultiplied(24000).reshape(60, 400), 0).astype(np.uint32)
    for name, source, extra in (
            ("block", block, lambda got: check(got[31, 36] == 0xFFFFFFFF, "glow of a large block is 255 in its middle")),
            ("single", single, lambda got: check(got.max() == 0x02020202, "glow of one pixel peaks at 2: %x" % got.max())),
            ("empty", np.zeros((4, 6), np.uint32), lambda got: check(not got.any(), "glow of nothing is empty")),
            ("strokes", strokes, lambda got: None)):
        write_pixels(os.path.join(work, "glow_%s.bin" % name), source)

        def verify_glow(out, source=source, extra=extra, name=name):
            got = read_pixels(out)
            check(got.shape == (source.shape[0] + 21, source.shape[1] + 21), "glow %s size %s" % (name, got.shape))
            check(np.array_equal(got, glow(source)), "glow %s (%d pixels differ)" % (
                name, int(np.count_nonzero(got != glow(source))) if got.shape == glow(source).shape else -1))
            extra(got)
        job("glow glow_%s.bin glow_%s.out" % (name, name), verify_glow)

    # PNG export: rectangles of a premultiplied picture decode to the un-premultiplied
    # source turned upright (colours of partly transparent pixels within 1 of the exact
    # quotient; fully transparent pixels have no colour).
    export = premultiplied(31 * 17).reshape(17, 31)
    write_pixels(os.path.join(work, "export.bin"), export)
    for rect in ((0, 0, 31, 17), (10, 3, 25, 16), (30, 16, 31, 17)):
        def verify_png(out, rect=rect):
            from PIL import Image
            image = Image.open(out)
            check(image.format == "PNG" and image.mode == "RGBA", "exported PNG is RGBA: %s %s" % (image.format, image.mode))
            got = np.asarray(image.convert("RGBA")).astype(np.int64)
            left, top, right, bottom = rect
            want = export[::-1][top:bottom, left:right]
            b, g, r, a = (v.astype(np.int64) for v in channels(want))
            check(got.shape == (bottom - top, right - left, 4), "PNG size %s for %s" % (got.shape, rect))
            if got.shape != (bottom - top, right - left, 4):
                return
            check(np.array_equal(got[..., 3], a), "PNG alpha for %s" % (rect,))
            visible = a > 0
            for i, ch in enumerate((r, g, b)):
                exact = np.where(visible, ch * 255 // np.maximum(a, 1), 0)
                diff = np.abs(got[..., i] - exact)[visible]
                check(diff.size == 0 or diff.max() <= 1, "PNG channel %d for %s off by %d" % (i, rect, diff.max()))
                check(np.array_equal(got[..., i][a == 255], ch[a == 255]), "opaque pixels exact for %s" % (rect,))
        job("png export.bin %d %d %d %d export_%d_%d.png" % (rect + (rect[0], rect[1])), verify_png)

    with open(os.path.join(work, "jobs.txt"), "w") as f:
        f.write("\n".join(jobs) + "\n")
    code, _, err = run(build_dir, "paint_ops_child.exe", [win(work)])
    check(code == 0, "paint_ops_child ran (exit %d): %s" % (code, err[-500:]))
    for line, verify in zip(jobs, checks):
        out = os.path.join(work, line.split()[-1])
        if not os.path.exists(out):
            check(False, "no output for: " + line)
            continue
        verify(out)
    print("%d jobs, %d failures" % (len(jobs), len(FAILURES)))
    sys.exit(1 if FAILURES else 0)


if __name__ == "__main__":
    main()
