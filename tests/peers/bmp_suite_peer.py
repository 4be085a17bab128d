#!/usr/bin/env python3
"""Decodes the bmpsuite pictures (pillow's Debian source) with our BMP decoder and checks
the pixels against Pillow's decoding of the same files, or the suite's reference renders
where Pillow cannot decode a picture.

Usage: bmp_suite_peer.py <build-dir> <source-dir>

tests/fetch_test_suites.sh fetches the suite; without it the check is skipped with a
message. bmp_dump_child.exe (under Wine) writes every picture's DIB. The references are
turned into what our decoder must give: rows bottom-up, colours premultiplied by alpha,
alpha 255 for pictures without alpha, 32-bit pixels stored as B, G, R, A taken with their
own alpha byte, mask channels of n < 8 bits holding their n bits at the top (0xF8 for a
full 5-bit channel), and pixels an RLE stream never writes opaque black. Every picture's
outcome (decoded or refused) is fixed in OUTCOME below.
"""
import os
import re
import struct
import subprocess
import sys
import tempfile

try:
    import numpy as np
    from PIL import Image
except ImportError:
    # The pyenv shim on PATH may lack Debian's python3-pil and python3-numpy.
    if sys.executable != "/usr/bin/python3" and os.path.exists("/usr/bin/python3"):
        os.execv("/usr/bin/python3", ["/usr/bin/python3"] + sys.argv)
    raise

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from peer_common import check, finish, run, win  # noqa: E402

# Decoded ("ok") or refused ("fail"), and why where it is not plain.
OUTCOME = {
    "g/pal1.bmp": "ok", "g/pal1bg.bmp": "ok", "g/pal1wb.bmp": "ok", "g/pal4.bmp": "ok",
    "g/pal4rle.bmp": "ok", "g/pal8-0.bmp": "ok", "g/pal8.bmp": "ok", "g/pal8nonsquare.bmp": "ok",
    "g/pal8os2.bmp": "ok", "g/pal8rle.bmp": "ok", "g/pal8topdown.bmp": "ok", "g/pal8v4.bmp": "ok",
    "g/pal8v5.bmp": "ok", "g/pal8w124.bmp": "ok", "g/pal8w125.bmp": "ok", "g/pal8w126.bmp": "ok",
    "g/rgb16-565.bmp": "ok", "g/rgb16-565pal.bmp": "ok", "g/rgb16.bmp": "ok", "g/rgb24.bmp": "ok",
    "g/rgb24pal.bmp": "ok", "g/rgb32.bmp": "ok", "g/rgb32bf.bmp": "ok",
    "q/pal1p1.bmp": "ok",
    "q/pal2.bmp": "fail",  # 2 bits per pixel: not a supported depth
    "q/pal4rletrns.bmp": "ok", "q/pal8rletrns.bmp": "ok",  # skipped pixels opaque black
    "q/pal8offs.bmp": "ok", "q/pal8os2sp.bmp": "ok", "q/pal8os2v2.bmp": "ok",
    "q/pal8os2v2-16.bmp": "fail",  # 16-byte OS/2 header: not an accepted size
    "q/pal8oversizepal.bmp": "ok",
    "q/rgb16-231.bmp": "ok", "q/rgba16-4444.bmp": "ok", "q/rgb32-111110.bmp": "ok",
    "q/rgb32bf-xbgr.bmp": "ok", "q/rgb32fakealpha.bmp": "ok", "q/rgba32.bmp": "ok",
    "q/rgb24largepal.bmp": "ok", "q/rgb24prof.bmp": "ok", "q/rgb24lprof.bmp": "ok",
    "q/rgb24jpeg.bmp": "fail", "q/rgb24png.bmp": "fail",  # embedded JPEG/PNG
    "q/rgba32abf.bmp": "fail",  # BI_ALPHABITFIELDS
    "b/badbitcount.bmp": "fail", "b/badheadersize.bmp": "fail", "b/badplanes.bmp": "ok",
    "b/badrle.bmp": "fail", "b/badwidth.bmp": "fail", "b/pal8badindex.bmp": "fail",
    "b/reallybig.bmp": "fail", "b/shortfile.bmp": "fail",
    # Fields the decoder does not rely on (densities, file size, image size) are wrong;
    # the pixels are intact.
    "b/baddens1.bmp": "ok", "b/baddens2.bmp": "ok", "b/badfilesize.bmp": "ok", "b/badbitssize.bmp": "ok",
    # The colour count is absurd; only the entries an index can reach are read.
    "b/badpalettesize.bmp": "ok",
    # Top-down RLE: decoded and turned the right way up, as Pillow does.
    "b/rletopdown.bmp": "ok",
}

# Pictures checked against Pillow's decoding of another file of the same picture: Pillow
# refuses the first two (colour counts above 256), and misreads RLE4 (Pillow 9.4). The
# suite's render of this picture is off by one in some colours, so it serves only where
# no file of the picture decodes.
SAME_PICTURE = {"b/badpalettesize.bmp": "g/pal8.bmp", "q/pal8oversizepal.bmp": "g/pal8.bmp",
                "g/pal4rle.bmp": "g/pal4.bmp"}


def references(suite):
    """bmp path (g/x.bmp) -> reference PNG from the suite's HTML page."""
    html = open(os.path.join(suite, "html", "bmpsuite.html"), encoding="latin-1").read()
    refs = {}
    current = None
    for m in re.finditer(r'([gqb]/[\w-]+\.bmp)|src="([\w-]+\.png)"', html):
        if m.group(1):
            current = m.group(1)
        elif current and current not in refs:
            refs[current] = os.path.join(suite, "html", m.group(2))
    return refs


def reference(suite, refs, name):
    """Top-down RGBA: Pillow's decoding of the file, or the suite's render where Pillow
    cannot decode it or where the render shows what Pillow cannot (RLE skips as
    transparent pixels)."""
    source = SAME_PICTURE.get(name, name)
    if "rletrns" not in source:
        try:
            return np.asarray(Image.open(os.path.join(suite, source)).convert("RGBA"))
        except (OSError, ValueError):
            pass
    return np.asarray(Image.open(refs[source]).convert("RGBA"))


def header_of(data):
    h = {"offset": struct.unpack_from("<I", data, 10)[0], "size": struct.unpack_from("<I", data, 14)[0]}
    if h["size"] == 12:
        w, ht, _, bits = struct.unpack_from("<HHHH", data, 18)
        h.update(width=w, height=ht, bits=bits, compression=0, masks=None, alpha_mask=None)
        return h
    w, ht, _, bits, comp = struct.unpack_from("<iiHHI", data, 18)
    h.update(width=w, height=ht, bits=bits, compression=comp, masks=None, alpha_mask=None)
    if h["size"] >= 108:
        h["masks"] = struct.unpack_from("<III", data, 14 + 40)
        h["alpha_mask"] = struct.unpack_from("<I", data, 14 + 52)[0]
    elif comp == 3:
        h["masks"] = struct.unpack_from("<III", data, 14 + h["size"])
    return h


def channel_bits(mask, bits):
    if bits == 16:
        mask &= 0xFFFF
    return bin(mask).count("1")


def premultiply(rgb, alpha):
    a = alpha.astype(np.uint32)
    return np.dstack([(rgb[..., i].astype(np.uint32) * a // 255) for i in range(3)] + [a]).astype(np.uint8)


def expected_pixels(h, data, ref):
    """Top-down RGBA our decoder must give (premultiplied), and the tolerance."""
    rgb = ref[..., :3]
    height = abs(h["height"])
    standard = (0x00FF0000, 0x0000FF00, 0x000000FF)
    if h["bits"] == 32 and (h["compression"] == 0 or (
            tuple(h["masks"]) == standard and h["alpha_mask"] in (None, 0xFF000000))):
        stride = h["width"] * 4
        raw = np.frombuffer(data, np.uint8, stride * height, h["offset"]).reshape(height, h["width"], 4)
        if h["height"] > 0:
            raw = raw[::-1]
        return premultiply(rgb, raw[..., 3]), 0
    if h["bits"] in (16, 32):
        masks = h["masks"] if h["compression"] == 3 else (0x7C00, 0x03E0, 0x001F)
        out = np.empty_like(rgb)
        tolerance = 0
        for i, mask in enumerate(masks):
            n = channel_bits(mask, h["bits"])
            out[..., i] = (rgb[..., i] >> (8 - n)) << (8 - n) if n < 8 else rgb[..., i]
            tolerance = 1 if n > 8 else tolerance  # wide channels: references round, we cut
        alpha = np.full(rgb.shape[:2], 255, np.uint8)
        if h["alpha_mask"]:
            n = channel_bits(h["alpha_mask"], h["bits"])
            alpha = (ref[..., 3] >> (8 - n)) << (8 - n) if n < 8 else ref[..., 3]
        return premultiply(out, alpha), tolerance
    # Palette and 24-bit pictures are opaque; pixels an RLE stream skips are black.
    out = rgb.copy()
    out[ref[..., 3] == 0] = 0
    return premultiply(out, np.full(rgb.shape[:2], 255, np.uint8)), 0


def main():
    build_dir, source_dir = sys.argv[1], sys.argv[2]
    subprocess.run(["bash", os.path.join(source_dir, "tests", "fetch_test_suites.sh")], check=False)
    deps = os.environ.get("KAVREL_DEPS_DIR", os.path.join(source_dir, ".deps"))
    suite = os.path.join(deps, "src", "pillow", "Tests", "images", "bmp")
    if not os.path.isdir(os.path.join(suite, "g")):
        print("SKIPPED: bmpsuite not available (tests/fetch_test_suites.sh could not fetch pillow's source)")
        return
    refs = references(suite)
    names = sorted(os.path.join(d, f) for d in ("g", "q", "b") for f in os.listdir(os.path.join(suite, d))
                   if f.endswith(".bmp"))
    check(set(names) == set(OUTCOME), "every suite picture has an outcome: %s" % sorted(set(names) ^ set(OUTCOME)))

    work = tempfile.mkdtemp(prefix="kavrel_bmp_peer_")
    code, _, err = run(build_dir, "bmp_dump_child.exe", [win(work)] + [win(os.path.join(suite, n)) for n in names])
    check(code == 0, "bmp_dump_child ran (exit %d): %s" % (code, err[-300:]))
    decoded = refused = 0
    for name in names:
        dump_path = os.path.join(work, os.path.basename(name)[:-4] + ".dump")
        if not os.path.exists(dump_path):
            check(False, name + ": no dump")
            continue
        dump = open(dump_path, "rb").read()
        want = OUTCOME.get(name)
        if dump.startswith(b"FAIL\n"):
            refused += 1
            lines = dump[5:].decode("utf-8").splitlines()
            check(want == "fail", "%s refused: %s" % (name, " / ".join(lines)))
            check(lines and lines[-1] in ("文件过小", "读取图片信息失败", "创建HBITMAP失败", "读取图片数据失败"),
                  "%s: the refusal ends with one of the decoder's lines: %s" % (name, lines))
            continue
        decoded += 1
        check(want == "ok", name + " decoded but should be refused")
        width, height = struct.unpack_from("<II", dump, 3)
        pixels = np.frombuffer(dump, np.uint8, width * height * 4, 11).reshape(height, width, 4)
        ours = pixels[::-1][..., [2, 1, 0, 3]]  # top-down RGBA
        data = open(os.path.join(suite, name), "rb").read()
        ref = reference(suite, refs, name)
        if ref.shape != ours.shape:
            check(False, "%s: size %s, reference %s" % (name, ours.shape, ref.shape))
            continue
        expected, tolerance = expected_pixels(header_of(data), data, ref)
        diff = np.abs(ours.astype(int) - expected.astype(int))
        bad = np.argwhere(diff.max(axis=2) > tolerance)
        if len(bad):
            y, x = bad[0]
            check(False, "%s: %d pixels differ, first at (%d,%d): ours %s, expected %s" %
                  (name, len(bad), x, y, list(ours[y, x]), list(expected[y, x])))
    print("bmpsuite: %d decoded, %d refused" % (decoded, refused))


if __name__ == "__main__":
    main()
    finish("bmpsuite peer")
