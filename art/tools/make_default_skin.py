#!/usr/bin/env python3
"""Draws the default skin's pictures and writes its Skin.ini into art/default_skin/.

Standard library only. Every shape is a signed distance field (rounded rectangles,
circles, stroked polylines) sampled at pixel centres, so edges are anti-aliased
without supersampling and 1-px borders land exactly on the pixel grid.

Pictures are 32-bit PNG with straight (not premultiplied) alpha; window masks are
24-bit BMP (white inside, black outside: black is the mask's colour key).

Usage: make_default_skin.py [output folder]   (default: art/default_skin beside tools/)
"""
import math
import os
import struct
import sys
import zlib

# Palette, as (r, g, b). The accent is exactly the colour that the runtime recolours
# in status-bar pictures of default skins (COLORREF 0xD29451), so a user's chosen
# button colour can replace it.
ACCENT = (81, 148, 210)
ACCENT_DARK = (52, 112, 176)
GLYPH_OFF = (190, 198, 208)
FILL = (250, 251, 253)
BORDER = (211, 219, 229)
HOVER = (230, 240, 251)
DOWN = (210, 227, 246)
SEPARATOR = (228, 233, 239)

# Text colours of the windows, as (r, g, b).
PINYIN = (51, 65, 85)
FIRST_CAND = (37, 110, 190)
CAND = (36, 41, 48)
COMP_HINT = (140, 150, 165)

BG_SIZE = 20          # window backgrounds: nine-part pictures, cut 8 px from each edge
BG_CUT = 8
BG_RADIUS = 6
BTN = 24              # status-bar buttons
PAGE = 18             # page-turn buttons of the composition and candidate windows
STATUS_W, STATUS_H = 166, 32
STATUS_X0, STATUS_Y0 = 16, 4


def colorref(rgb):
    r, g, b = rgb
    return (b << 16) | (g << 8) | r


# ---------------------------------------------------------------- drawing

class Canvas:
    """Straight-alpha RGBA floats in 0..1, composited with 'over'."""

    def __init__(self, w, h):
        self.w, self.h = w, h
        self.px = [[0.0, 0.0, 0.0, 0.0] for _ in range(w * h)]

    def paint(self, sdf, rgb, opacity=1.0):
        """Composites colour rgb wherever sdf(x, y) < 0, with a one-pixel soft edge."""
        cr, cg, cb = (c / 255.0 for c in rgb)
        for y in range(self.h):
            for x in range(self.w):
                d = sdf(x + 0.5, y + 0.5)
                a = min(1.0, max(0.0, 0.5 - d)) * opacity
                if a <= 0.0:
                    continue
                p = self.px[y * self.w + x]
                da = p[3]
                oa = a + da * (1.0 - a)
                if oa > 0.0:
                    for i, c in enumerate((cr, cg, cb)):
                        p[i] = (c * a + p[i] * da * (1.0 - a)) / oa
                p[3] = oa

    def rgba_rows(self):
        rows = []
        for y in range(self.h):
            row = bytearray()
            for x in range(self.w):
                r, g, b, a = self.px[y * self.w + x]
                row += bytes((round(r * 255), round(g * 255), round(b * 255), round(a * 255)))
            rows.append(bytes(row))
        return rows


def sd_round_rect(x0, y0, x1, y1, r):
    cx, cy, hx, hy = (x0 + x1) / 2, (y0 + y1) / 2, (x1 - x0) / 2, (y1 - y0) / 2

    def f(x, y):
        qx = abs(x - cx) - hx + r
        qy = abs(y - cy) - hy + r
        outside = math.hypot(max(qx, 0.0), max(qy, 0.0))
        return outside + min(max(qx, qy), 0.0) - r
    return f


def sd_circle(cx, cy, r):
    return lambda x, y: math.hypot(x - cx, y - cy) - r


def seg_dist(px, py, ax, ay, bx, by):
    dx, dy = bx - ax, by - ay
    ll = dx * dx + dy * dy
    t = 0.0 if ll == 0 else max(0.0, min(1.0, ((px - ax) * dx + (py - ay) * dy) / ll))
    return math.hypot(px - ax - t * dx, py - ay - t * dy)


def sd_strokes(polylines, width):
    """Round-capped strokes along each polyline (a list of points)."""
    segs = []
    for line in polylines:
        for a, b in zip(line, line[1:]):
            segs.append((a[0], a[1], b[0], b[1]))
    half = width / 2.0

    def f(x, y):
        return min(seg_dist(x, y, *s) for s in segs) - half
    return f


def union(*fs):
    return lambda x, y: min(f(x, y) for f in fs)


def subtract(f, g):
    return lambda x, y: max(f(x, y), -g(x, y))


def ring(cx, cy, r, width):
    return lambda x, y: abs(math.hypot(x - cx, y - cy) - r) - width / 2.0


def arc(cx, cy, rx, ry, a0, a1, n=24):
    return [(cx + rx * math.cos(a0 + (a1 - a0) * i / n), cy + ry * math.sin(a0 + (a1 - a0) * i / n))
            for i in range(n + 1)]


# ---------------------------------------------------------------- file writers

def png_bytes(canvas):
    raw = b"".join(b"\x00" + row for row in canvas.rgba_rows())

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)
    ihdr = struct.pack(">IIBBBBB", canvas.w, canvas.h, 8, 6, 0, 0, 0)
    return b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", ihdr) + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b"")


def mask_bmp_bytes(canvas):
    """24-bit bottom-up BMP: white where the picture is at least half opaque, else black."""
    stride = (canvas.w * 3 + 3) & ~3
    body = bytearray()
    for y in reversed(range(canvas.h)):
        row = bytearray()
        for x in range(canvas.w):
            row += b"\xff\xff\xff" if canvas.px[y * canvas.w + x][3] >= 0.5 else b"\x00\x00\x00"
        body += row + b"\x00" * (stride - len(row))
    header = struct.pack("<2sIHHI", b"BM", 54 + len(body), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, canvas.w, canvas.h, 1, 24, 0, len(body), 2835, 2835, 0, 0)
    return header + info + bytes(body)


# ---------------------------------------------------------------- glyphs
# Glyphs are stroke lists on a 24-px canvas whose optical centre is (11.5, 11.5):
# strokes sit on pixel centres (x.5) so that 1.6-px lines stay crisp.

def glyph_zhong():
    return [[(6.5, 8.5), (16.5, 8.5), (16.5, 14.5), (6.5, 14.5), (6.5, 8.5)], [(11.5, 4.5), (11.5, 19.5)]]


def glyph_ying():
    return [[(5.5, 6.5), (17.5, 6.5)], [(8.5, 4.5), (8.5, 8.5)], [(14.5, 4.5), (14.5, 8.5)],
            [(7.5, 15), (7.5, 10.5), (15.5, 10.5), (15.5, 15)], [(4.5, 14.5), (18.5, 14.5)],
            [(11.5, 8.5), (11.5, 14.5)], [(11.5, 14.5), (5.5, 19.5)], [(11.5, 14.5), (17.5, 19.5)]]


def glyph_caps_a():
    return [[(6.5, 18.5), (11.5, 5.5), (16.5, 18.5)], [(8.5, 14.5), (14.5, 14.5)]]


def glyph_quan_pin():
    return [[(4.5, 11), (11.5, 4.5), (18.5, 11)], [(7.5, 11.5), (15.5, 11.5)], [(8.5, 15.5), (14.5, 15.5)],
            [(5.5, 19.5), (17.5, 19.5)], [(11.5, 11.5), (11.5, 19.5)]]


def glyph_shuang():
    return [[(4.5, 6.5), (10.5, 6.5), (5, 18.5)], [(5.5, 9.5), (11, 18.5)],
            [(12.5, 6.5), (18.5, 6.5), (13, 18.5)], [(13.5, 9.5), (19, 18.5)]]


def glyph_jian():
    # 简: bamboo radical, 门 frame, 日 inside.
    return [[(7.5, 3.5), (5.5, 6.5)], [(7, 5), (10.5, 5)], [(8.5, 5), (9.5, 7)],
            [(14.5, 3.5), (12.5, 6.5)], [(14, 5), (18, 5)], [(15.5, 5), (16.5, 7)],
            [(5.5, 9), (6.5, 10)], [(5.5, 11.5), (5.5, 20)], [(8.5, 9.5), (17.5, 9.5), (17.5, 19.5), (16, 19.5)],
            [(9.5, 12.5), (13.5, 12.5), (13.5, 17.5), (9.5, 17.5), (9.5, 12.5)], [(9.5, 15), (13.5, 15)]]


def glyph_fan():
    # 繁 reduced to what 24 px can carry: 每 and 攵 over 糸.
    return [[(6.5, 3.5), (5, 6)], [(6, 4.5), (10.5, 4.5)], [(5.5, 7), (10.5, 7), (10.5, 11), (5.5, 11), (5.5, 7)],
            [(4.5, 9), (11.5, 9)], [(14.5, 3.5), (13, 6.5)], [(13.5, 5.5), (18.5, 5.5)],
            [(17.5, 5.5), (12.5, 11)], [(14.5, 7.5), (18.5, 11)],
            [(12, 12.5), (9, 15), (13.5, 15), (8, 18)], [(8, 18), (15.5, 18)], [(11.5, 18), (11.5, 20.5)],
            [(8.5, 19.5), (7, 20.5)], [(14.5, 19.5), (16, 20.5)]]


def icon_sdf(name):
    w = 1.6
    if name == "cn":
        return sd_strokes(glyph_zhong(), w)
    if name == "en":
        return sd_strokes(glyph_ying(), 1.4)
    if name == "a":
        return union(sd_strokes(glyph_caps_a(), w), sd_strokes([[(6.5, 20.5), (16.5, 20.5)]], 1.2))
    if name == "cn_biaodian":
        return union(ring(8, 15.5, 2.6, 1.5), sd_circle(15.5, 14.5, 1.9),
                     sd_strokes([[(16.6, 15.0), (16.2, 17.0), (14.2, 19.2)]], 1.4))
    if name == "en_biaodian":
        return union(sd_circle(8.5, 17, 1.7), sd_circle(15, 15.5, 1.7),
                     sd_strokes([[(16.0, 16.0), (15.6, 17.8), (13.8, 19.6)]], 1.3))
    if name == "quan":
        return sd_circle(11.5, 12, 5.6)
    if name == "ban":
        half = lambda x, y: max(math.hypot(x - 11.5, y - 12) - 5.6, x - 11.5)
        return union(ring(11.5, 12, 4.9, 1.5), half)
    if name == "quanpin":
        return sd_strokes(glyph_quan_pin(), w)
    if name == "shuanpin":
        return sd_strokes(glyph_shuang(), 1.5)
    if name == "jian":       # first variant of the traditional/simplified button: traditional input
        return sd_strokes(glyph_fan(), 1.2)
    if name == "fan":
        return sd_strokes(glyph_jian(), 1.3)
    if name == "key":
        frame = ring_rect(3.5, 6.5, 20.5, 18.5, 2.5, 1.4)
        keys = [sd_round_rect(x, y, x + 2, y + 2, 0.4) for y in (9, 12) for x in (6, 9, 12, 15)]
        return union(frame, sd_strokes([[(8.5, 15.5), (15.5, 15.5)]], 1.5), *keys)
    if name == "menu":
        body = union(sd_circle(12, 12, 5.6),
                     *[sd_strokes([[(12 + 4.0 * math.cos(k * math.pi / 4), 12 + 4.0 * math.sin(k * math.pi / 4)),
                                    (12 + 7.2 * math.cos(k * math.pi / 4), 12 + 7.2 * math.sin(k * math.pi / 4))]], 2.8)
                       for k in range(8)])
        return subtract(body, sd_circle(12, 12, 2.4))
    if name == "ie":
        return union(ring(10.5, 10.5, 5.0, 1.7), sd_strokes([[(14.3, 14.3), (18.8, 18.8)]], 2.4))
    if name == "pass":
        return union(ring(12, 8.5, 3.3, 1.5), sd_strokes([arc(12, 20, 6.5, 6.0, math.pi, 2 * math.pi)], 1.5))
    if name == "passon":
        shoulders = lambda x, y: max(math.hypot((x - 12) / 7.2, (y - 20) / 6.7) * 6.7 - 6.7, y - 19.5)
        return union(sd_circle(12, 8.5, 4.0), shoulders)
    if name == "webpage":
        return union(ring(12, 12, 7.5, 1.4), sd_strokes([arc(12, 12, 3.3, 7.5, 0, 2 * math.pi, 40)], 1.3),
                     sd_strokes([[(4.8, 12), (19.2, 12)], [(6, 8.2), (18, 8.2)], [(6, 15.8), (18, 15.8)]], 1.1))
    if name == "skinmanager":
        shirt = [(9, 5.5), (5, 7.5), (3.5, 11.5), (6.8, 12.8), (7.5, 11), (7.5, 19.5), (16.5, 19.5),
                 (16.5, 11), (17.2, 12.8), (20.5, 11.5), (19, 7.5), (15, 5.5)]
        neck = arc(12, 5.5, 3, 2.6, 0, math.pi, 12)
        return sd_strokes([shirt, neck], 1.4)
    raise KeyError(name)


def ring_rect(x0, y0, x1, y1, r, width):
    outer = sd_round_rect(x0 - width / 2, y0 - width / 2, x1 + width / 2, y1 + width / 2, r + width / 2)
    inner = sd_round_rect(x0 + width / 2, y0 + width / 2, x1 - width / 2, y1 - width / 2, max(r - width / 2, 0.1))
    return subtract(outer, inner)


def chevron_sdf(direction):
    """Page-turn arrow on the 18-px canvas: 'left', 'right', 'up' or 'down'."""
    c, a, b = 9.0, 2.2, 4.0
    pts = {"left": [(c + a, c - b), (c - a, c), (c + a, c + b)],
           "right": [(c - a, c - b), (c + a, c), (c - a, c + b)],
           "up": [(c - b, c + a), (c, c - a), (c + b, c + a)],
           "down": [(c - b, c - a), (c, c + a), (c + b, c - a)]}[direction]
    return sd_strokes([pts], 1.7)


# ---------------------------------------------------------------- pictures

def button_picture(size, glyph, state, radius, glyph_rgb=ACCENT):
    """state 1 normal (glyph only), 2 hover (light plate), 3 down (deeper plate)."""
    cv = Canvas(size, size)
    if state == 2:
        cv.paint(sd_round_rect(1, 1, size - 1, size - 1, radius), HOVER)
    elif state == 3:
        cv.paint(sd_round_rect(1, 1, size - 1, size - 1, radius), DOWN)
    cv.paint(glyph, ACCENT_DARK if state == 3 and glyph_rgb == ACCENT else glyph_rgb)
    return cv


def window_background(w, h, radius):
    """Flat rounded panel with a crisp one-pixel border on its outermost pixels."""
    cv = Canvas(w, h)
    outer = sd_round_rect(0, 0, w, h, radius)
    cv.paint(outer, BORDER)
    cv.paint(sd_round_rect(1, 1, w - 1, h - 1, radius - 1), FILL)
    return cv


def status_background():
    cv = window_background(STATUS_W, STATUS_H, 8)
    # The bar's mark and drag handle: a short accent stroke at the left end.
    cv.paint(sd_round_rect(7, 10, 10, 22, 1.5), ACCENT)
    return cv


# ---------------------------------------------------------------- the skin

# Built-in buttons in index order: key, picture bases per variant (the table of the
# button model; the traditional/simplified pair names its first, traditional, variant "jian").
BUILTIN = [
    ("cn_en", ["cn", "en", "a"]),
    ("biaodian", ["cn_biaodian", "en_biaodian"]),
    ("quan_ban", ["quan", "ban"]),
    ("quan_shuang", ["quanpin", "shuanpin"]),
    ("fan_jian", ["jian", "fan"]),
    ("softkeyboard", ["key"]),
    ("menu", ["menu"]),
    ("vexilsearch", ["ie"]),
    ("pageup", ["pageup_on", "pageup_off"]),
    ("pagedown", ["pagedown_on", "pagedown_off"]),
    ("passport", ["pass", "passon"]),
    ("webpage", ["webpage"]),
    ("skinmanager", ["skinmanager"]),
]
PROPERTIES = ["display", "pos", "align", "", "down", "hover", "in", "out", "downing", "up",
              "url", "hint", "flashfile", "flashpreview"]
# State property -> suffix digit of the default picture names; only these three are drawn.
STATE_DIGIT = {"": 1, "hover": 2, "down": 3}

# Status bar: buttons shown, left to right; the others carry pictures but start hidden.
STATUS_SHOWN = ["cn_en", "quan_ban", "biaodian", "softkeyboard", "skinmanager", "menu"]
STATUS_HINTS = {"cn_en": "中/英文切换", "quan_ban": "全/半角切换", "biaodian": "中/英文标点",
                "softkeyboard": "软键盘", "skinmanager": "皮肤管理", "menu": "设置菜单",
                "quan_shuang": "全拼/双拼", "fan_jian": "繁/简体切换", "vexilsearch": "搜索",
                "passport": "登录通行证", "webpage": "访问网页"}

# Windows with their section, key prefix, default picture prefix, page-arrow style,
# and the layer of their page buttons (combined windows: 2, the candidate part).
WINDOWS = [
    (1, "Scheme_H1", None, "oh_", "h", 2),
    (2, "Scheme_H2", "comp", "oh2_", None, 0),
    (3, "Scheme_H2", "cand", "ah_", "h", 0),
    (4, "Scheme_V1", None, "ov_", "v", 2),
    (5, "Scheme_V2", "comp", "ov2_", None, 0),
    (6, "Scheme_V2", "cand", "av_", "v", 0),
]


def page_align(style, button, layer):
    """Alignment text (margins top,bottom,left,right; modes top,bottom,left,right; target; layer).
    Horizontal windows: both arrows side by side, right of the candidates (target 6).
    Vertical windows: in a footer row under the candidates, at its right end (target 8)."""
    end, gap = 8, 2
    right = end + (PAGE + gap if button == "pageup" else 0)
    if style == "h":
        return [0, 0, 0, right, 0, 0, 0, 2, 6, layer]
    return [0, 6, 0, right, 0, 2, 0, 2, 8, layer]


class Skin:
    def __init__(self, out):
        self.out = out
        self.files = {}
        self.sections = {}     # name -> list of (key, value), in writing order

    def picture(self, name, canvas):
        self.files[name] = png_bytes(canvas)
        return name

    def mask(self, name, canvas):
        self.files[name] = mask_bmp_bytes(canvas)
        return name

    def put(self, section, key, value):
        if isinstance(value, (list, tuple)):
            value = ",".join(str(v) for v in value)
        self.sections.setdefault(section, []).append((key, str(value)))

    # Button sets are written as the button model writes them: every built-in button in
    # index order, every property in order, placement by pos (status bar) or align.
    def button_set(self, section, prefix, placement, plan):
        for key, bases in BUILTIN:
            b = plan.get(key, {})
            for prop in PROPERTIES:
                if prop == "pos" and placement != "pos" or prop == "align" and placement != "align":
                    continue
                if prop in ("url", "hint") and not b.get(prop):
                    continue
                pkey = key if prop == "" else key + "_" + prop
                full = prefix + "_" + pkey if prefix else pkey
                if prop == "display":
                    value = 1 if b.get("shown") else 0
                elif prop == "pos":
                    value = b.get("pos", [0, 0])
                elif prop == "align":
                    value = b.get("align", [0, 0, 0, 0, 0, 0, 0, 0, 6, 0])
                elif prop in ("", "down", "hover", "in", "out", "downing", "up"):
                    value = b.get("states", {}).get(prop, [""] * len(bases))
                else:
                    value = b.get(prop, "")
                self.put(section, full, value)
        for count in ("custom_cnt", "flash_cnt", "photoframe_cnt"):
            self.put(section, prefix + "_" + count if prefix else count, 0)

    def write(self):
        os.makedirs(self.out, exist_ok=True)
        for name in os.listdir(self.out):
            if name.lower().endswith((".png", ".bmp", ".ini")):
                os.remove(os.path.join(self.out, name))
        for name, data in sorted(self.files.items()):
            with open(os.path.join(self.out, name), "wb") as f:
                f.write(data)
        lines = []
        for section, pairs in self.sections.items():
            lines.append("[%s]" % section)
            lines += ["%s=%s" % kv for kv in pairs]
            lines.append("")
        with open(os.path.join(self.out, "Skin.ini"), "wb") as f:
            f.write(b"\xff\xfe" + "\r\n".join(lines).encode("utf-16-le"))


def status_buttons(skin):
    plan = {}
    glyph_cache = {}
    for key, bases in BUILTIN:
        if key in ("pageup", "pagedown"):
            continue
        states = {}
        for prop, digit in STATE_DIGIT.items():
            names = []
            for base in bases:
                sdf = glyph_cache.setdefault(base, icon_sdf(base))
                names.append(skin.picture("%s%d.png" % (base, digit), button_picture(BTN, sdf, digit, 5)))
            states[prop] = names
        slot = STATUS_SHOWN.index(key) if key in STATUS_SHOWN else None
        plan[key] = {"shown": slot is not None,
                     "pos": [STATUS_X0 + BTN * slot, STATUS_Y0] if slot is not None else [0, 0],
                     "states": states, "hint": STATUS_HINTS[key]}
    return plan


def page_buttons(skin, prefix, style, layer):
    arrows = {"h": {"pageup": "left", "pagedown": "right"}, "v": {"pageup": "up", "pagedown": "down"}}[style]
    plan = {}
    for key in ("pageup", "pagedown"):
        sdf = chevron_sdf(arrows[key])
        off = skin.picture("%s%s_off1.png" % (prefix, key), button_picture(PAGE, sdf, 1, 4, GLYPH_OFF))
        states = {}
        for prop, digit in STATE_DIGIT.items():
            on = skin.picture("%s%s_on%d.png" % (prefix, key, digit), button_picture(PAGE, sdf, digit, 4))
            states[prop] = [on, off]
        plan[key] = {"shown": True, "align": page_align(style, key, layer), "states": states,
                     "hint": "上一页" if key == "pageup" else "下一页"}
    return plan


def build(out):
    skin = Skin(out)
    bg = window_background(BG_SIZE, BG_SIZE, BG_RADIUS)
    split = [0, BG_CUT, BG_CUT]

    skin.put("General", "skin_name", "晴空")
    skin.put("General", "skin_version", "1.0")
    skin.put("General", "skin_author", "栖鹭")
    skin.put("General", "skin_email", "")
    skin.put("General", "skin_time", "2024.06.01")
    skin.put("General", "skin_info", "清爽浅色的默认皮肤")
    skin.put("General", "skin_id", "kavrel_default")
    skin.put("General", "widget_cnt", 0)

    d = "Display"
    skin.put(d, "font_size", 16)
    skin.put(d, "font_ch", "Microsoft YaHei UI")
    skin.put(d, "font_en", "Segoe UI")
    skin.put(d, "pinyin_color", "0x%x" % colorref(PINYIN))
    skin.put(d, "zhongwen_first_color", "0x%x" % colorref(FIRST_CAND))
    skin.put(d, "zhongwen_color", "0x%x" % colorref(CAND))
    skin.put(d, "comphint_color", "0x%x" % colorref(COMP_HINT))
    skin.put(d, "webpage", "")
    skin.put(d, "use_gdip", 1)
    skin.put(d, "aero", 0)
    skin.put(d, "glow", 0)
    skin.put(d, "LargeFontSupport", 1)
    # Read by the input method only; the editor keeps them while the skin is open.
    skin.put(d, "result_color", "0x%x" % colorref(PINYIN))
    skin.put(d, "bihua_color", "0x%x" % colorref(COMP_HINT))
    skin.put(d, "caret_color", "0x%x" % colorref(ACCENT))
    skin.put(d, "clear_edge", 1)

    common = [("transparent_color_enable", 0), ("transparent_color", -1), ("opaque", 255), ("anchor", "0,0")]

    # Combined windows: pinyin row, separator line, candidates.
    for section, base, marges in (("Scheme_H1", "skin1", ([5, 3, 12, 12], [3, 6, 12, 4])),
                                  ("Scheme_V1", "skin2", ([6, 3, 12, 12], [3, 4, 12, 12]))):
        skin.put(section, "pic", skin.picture(base + ".png", bg))
        skin.put(section, "pic_mask", skin.mask(base + "_mask.bmp", bg))
        skin.put(section, "layout_horizontal", split)
        skin.put(section, "layout_vertical", split)
        skin.put(section, "separator", "0x%x,10,10" % colorref(SEPARATOR))
        skin.put(section, "pinyin_marge", marges[0])
        skin.put(section, "zhongwen_marge", marges[1])
        for k, v in common:
            skin.put(section, k, v)

    # Separate windows: a small pinyin window and the candidate window.
    for section, base, cand_marge in (("Scheme_H2", "skin1", [6, 6, 10, 4]), ("Scheme_V2", "skin2", [6, 4, 10, 10])):
        for part, win in (("pinyin", "_1"), ("zhongwen", "_2")):
            skin.put(section, part + "_pic", skin.picture(base + win + ".png", bg))
            skin.put(section, part + "_pic_mask", skin.mask(base + win + "_mask.bmp", bg))
            skin.put(section, part + "_layout_horizontal", split)
            skin.put(section, part + "_layout_vertical", split)
            skin.put(section, part + "_marge", [5, 5, 10, 10] if part == "pinyin" else cand_marge)
        for k, v in common:
            skin.put(section, k, v)

    s = "StatusBar"
    status = status_background()
    skin.put(s, "opaque", 255)
    skin.put(s, "pic", skin.picture("status.png", status))
    skin.put(s, "pic_mask", skin.mask("status_mask.bmp", status))
    skin.put(s, "transparent_color", -1)
    skin.put(s, "transparent_color_enable", 0)

    skin.button_set(s, None, "pos", status_buttons(skin))
    for window, section, prefix, pic_prefix, style, layer in WINDOWS:
        plan = page_buttons(skin, pic_prefix, style, layer) if style else {}
        skin.button_set(section, prefix, "align", plan)
    skin.write()
    check(skin)
    return skin


def check(skin):
    """Every picture named by a key exists, and every picture is named by some key."""
    named = set()
    for pairs in skin.sections.values():
        for _, value in pairs:
            for piece in value.split(","):
                if piece.lower().endswith((".png", ".bmp")):
                    named.add(piece)
    missing = named - set(skin.files)
    unused = set(skin.files) - named
    if missing or unused:
        raise SystemExit("picture names do not match: missing %s, unused %s" % (sorted(missing), sorted(unused)))


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "default_skin")
    skin = build(out)
    total = sum(len(v) for v in skin.files.values())
    print("%d pictures, %d bytes, into %s" % (len(skin.files), total, os.path.normpath(out)))


if __name__ == "__main__":
    main()
