#!/usr/bin/env python3
"""Checks the FreeType text runs of font_metrics_child.exe against an independent
computation with the host's FreeType (freetype-py) over the same font files: glyph
advances (whole pixels, ink width when it is narrower), kerning against the next
character in the same face, line height and ascent over the faces a run uses, and the
fallback order for characters the main face lacks (the SimSun font links: Micro Hei,
then Zen Hei). Every comparison is exact.

Usage: font_metrics_peer.py <build-dir> <source-dir>
"""
import os
import sys
import tempfile

try:
    import freetype
except ImportError:
    if sys.executable != "/usr/bin/python3" and os.path.exists("/usr/bin/python3"):
        os.execv("/usr/bin/python3", ["/usr/bin/python3"] + sys.argv)
    raise

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from peer_common import FAILURES, check, run, win  # noqa: E402

LINKS = [("/usr/share/fonts/truetype/wqy/wqy-microhei.ttc", 0), ("/usr/share/fonts/truetype/wqy/wqy-zenhei.ttc", 0)]
LOAD_TARGET_LCD = 0x30000

CASES = [
    ("DejaVu Sans", 16, "AVATAR Wo To. fi"),
    ("DejaVu Sans", 23, "LT\"Yo\" P, kerning"),
    ("DejaVu Sans", 12, "Ag国字A"),
    ("DejaVu Sans Bold", 20, "VAWAY"),
    ("WenQuanYi Zen Hei", 16, "拼音输入法 Skin"),
    ("WenQuanYi Zen Hei Mono", 18, "皮肤 abc"),
    ("WenQuanYi Micro Hei", 24, "栖鹭拼音，编辑器。"),
    ("DejaVu Sans", 16, "\U00010300\U00010301x"),
]


def host_path(windows_path):
    return windows_path[2:].replace("\\", "/") if windows_path.upper().startswith("Z:") else windows_path


class Face:
    def __init__(self, path, index, px):
        self.face = freetype.Face(path, index)
        self.face.select_charmap(freetype.FT_ENCODING_UNICODE)
        self.face.set_pixel_sizes(0, px)
        self.px = px

    def serves(self, code):
        index = self.face.get_char_index(code)
        if not index:
            return False
        try:
            self.face.load_glyph(index, LOAD_TARGET_LCD)
        except freetype.FT_Exception:
            return False
        return True

    def advance(self, code, next_code):
        index = self.face.get_char_index(code)
        self.face.load_glyph(index, LOAD_TARGET_LCD)
        self.face.glyph.render(freetype.FT_RENDER_MODE_LIGHT)
        m = self.face.glyph.metrics
        ceil = lambda v: (v + 63) >> 6
        ink = ceil(m.horiBearingX) + ceil(m.width) if m.width else 0
        adv = ceil(m.horiAdvance)
        result = ink if ink and (adv == 0 or adv > ink) else adv
        # freetype-py's get_kerning takes characters and looks their glyphs up itself.
        result += self.face.get_kerning(code, next_code, freetype.FT_KERNING_DEFAULT).x >> 6
        return result

    def line(self):
        f = self.face
        return f.size.y_ppem * (f.ascender - f.descender) // f.units_per_EM, f.ascender * f.size.x_ppem // f.units_per_EM


def expected_run(faces, codes):
    width = height = ascent = 0
    for i, code in enumerate(codes):
        face = next((f for f in faces if f.serves(code)), None)
        if face is None:
            continue
        h, a = face.line()
        height, ascent = max(height, h), max(ascent, a)
        width += face.advance(code, codes[i + 1] if i + 1 < len(codes) else 0)
    return width, height, ascent


def main():
    build_dir = sys.argv[1]
    work = tempfile.mkdtemp(prefix="font_metrics_")
    jobs = os.path.join(work, "jobs.txt")
    with open(jobs, "w") as f:
        for face, px, text in CASES:
            f.write("%s|%d|%s\n" % (face, px, " ".join("%x" % ord(c) for c in text)))
    code, out, err = run(build_dir, "font_metrics_child.exe", [win(jobs)])
    check(code == 0, "font_metrics_child ran (exit %d): %s" % (code, err[-500:]))
    lines = out.splitlines()
    compared = 0
    for face_name, px, text in CASES:
        if not lines:
            check(False, "no output for %s" % face_name)
            break
        head = lines.pop(0)
        if head == "nofont":
            check(False, "no FreeType font for %s" % face_name)
            continue
        path, index = head.rsplit("|", 1)
        faces = [Face(host_path(path), int(index), px)] + [Face(p, i, px) for p, i in LINKS]
        family = faces[0].face.family_name.decode()
        check(face_name.startswith(family), "%s opened %s" % (face_name, family))
        codes = [ord(c) for c in text]
        runs = [codes] + [[c] for c in codes] + [codes[i:i + 2] for i in range(len(codes) - 1)]
        for codes_run in runs:
            got = tuple(int(v) for v in lines.pop(0).split("|"))
            want = expected_run(faces, codes_run)
            check(got == want, "%s %dpx %r: got %s, FreeType gives %s" %
                  (face_name, px, "".join(map(chr, codes_run)), got, want))
            compared += 1
    print("%d runs compared, %d failures" % (compared, len(FAILURES)))
    sys.exit(1 if FAILURES else 0)


if __name__ == "__main__":
    main()
