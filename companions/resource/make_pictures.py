#!/usr/bin/env python3
"""Draws the pictures of Resource.dll into a folder: PNG (some animated) and one BMP.

Usage: make_pictures.py OUT_FOLDER
Plain shapes in the program's own colours; every picture is drawn here, nothing is copied.
"""
import math
import os
import struct
import sys
import zlib

BLUE = (0x2d, 0x7d, 0xd2, 255)
DARK = (0x37, 0x37, 0x37, 255)
GREY = (0xbf, 0xbf, 0xbf, 255)
LIGHT = (0xf4, 0xf6, 0xfa, 255)
WHITE = (255, 255, 255, 255)
GREEN = (0x3c, 0xa0, 0x50, 255)
RED = (0xd2, 0x3c, 0x3c, 255)
MASK = (0, 0, 0, 255)  # mask pictures: only alpha counts


class Canvas:
    def __init__(self, w, h, fill=(0, 0, 0, 0)):
        self.w, self.h = w, h
        self.px = [list(fill) for _ in range(w * h)]

    def put(self, x, y, c, cover=1.0):
        if 0 <= x < self.w and 0 <= y < self.h and cover > 0:
            a = c[3] / 255.0 * min(cover, 1.0)
            d = self.px[y * self.w + x]
            out_a = a + d[3] / 255.0 * (1 - a)
            if out_a <= 0:
                return
            for i in range(3):
                d[i] = int(round((c[i] * a + d[i] * d[3] / 255.0 * (1 - a)) / out_a))
            d[3] = int(round(out_a * 255))

    def shape(self, inside, c, x0=0, y0=0, x1=None, y1=None):
        """Fills where inside(x, y) holds, 4x4 supersampled for smooth edges."""
        x1 = self.w if x1 is None else x1
        y1 = self.h if y1 is None else y1
        for y in range(max(0, y0), min(self.h, y1)):
            for x in range(max(0, x0), min(self.w, x1)):
                n = sum(inside(x + (i + 0.5) / 4, y + (j + 0.5) / 4) for i in range(4) for j in range(4))
                self.put(x, y, c, n / 16.0)

    def rect(self, x, y, w, h, c):
        self.shape(lambda px, py: x <= px < x + w and y <= py < y + h, c)

    def round_rect(self, x, y, w, h, r, c):
        def inside(px, py):
            if not (x <= px < x + w and y <= py < y + h):
                return False
            cx = min(max(px, x + r), x + w - r)
            cy = min(max(py, y + r), y + h - r)
            return (px - cx) ** 2 + (py - cy) ** 2 <= r * r
        self.shape(inside, c)

    def frame(self, x, y, w, h, r, c, fill):
        self.round_rect(x, y, w, h, r, c)
        self.round_rect(x + 1, y + 1, w - 2, h - 2, max(r - 1, 0), fill)

    def circle(self, cx, cy, r, c):
        self.shape(lambda px, py: (px - cx) ** 2 + (py - cy) ** 2 <= r * r, c)

    def ring(self, cx, cy, r, t, c):
        self.shape(lambda px, py: (r - t) ** 2 <= (px - cx) ** 2 + (py - cy) ** 2 <= r * r, c)

    def line(self, x0, y0, x1, y1, t, c):
        dx, dy = x1 - x0, y1 - y0
        ln = dx * dx + dy * dy or 1

        def inside(px, py):
            k = max(0.0, min(1.0, ((px - x0) * dx + (py - y0) * dy) / ln))
            return (px - x0 - k * dx) ** 2 + (py - y0 - k * dy) ** 2 <= (t / 2.0) ** 2
        # Only the line's own box is looked at: quick on large canvases.
        self.shape(inside, c, int(min(x0, x1) - t), int(min(y0, y1) - t), int(max(x0, x1) + t) + 1,
                   int(max(y0, y1) + t) + 1)

    def triangle(self, pts, c):
        (ax, ay), (bx, by), (cx, cy) = pts

        def side(px, py, x0, y0, x1, y1):
            return (x1 - x0) * (py - y0) - (y1 - y0) * (px - x0)

        def inside(px, py):
            s = [side(px, py, ax, ay, bx, by), side(px, py, bx, by, cx, cy), side(px, py, cx, cy, ax, ay)]
            return all(v >= 0 for v in s) or all(v <= 0 for v in s)
        self.shape(inside, c)

    def paste(self, other, ox, oy):
        for y in range(other.h):
            for x in range(other.w):
                p = other.px[y * other.w + x]
                self.put(ox + x, oy + y, p, 1.0)

    def raw_rows(self):
        out = bytearray()
        for y in range(self.h):
            out.append(0)
            for x in range(self.w):
                out.extend(self.px[y * self.w + x])
        return bytes(out)


def chunk(kind, data):
    return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xffffffff)


def ihdr(w, h):
    return chunk(b"IHDR", struct.pack(">IIBBBBB", w, h, 8, 6, 0, 0, 0))


def png(canvas):
    return (b"\x89PNG\r\n\x1a\n" + ihdr(canvas.w, canvas.h) +
            chunk(b"IDAT", zlib.compress(canvas.raw_rows(), 9)) + chunk(b"IEND", b""))


def apng(frames, delay_num, delay_den=100):
    """Animated PNG: every frame full size, shown for delay_num/delay_den seconds, looping."""
    w, h = frames[0].w, frames[0].h
    out = bytearray(b"\x89PNG\r\n\x1a\n" + ihdr(w, h))
    out += chunk(b"acTL", struct.pack(">II", len(frames), 0))
    seq = 0
    for i, f in enumerate(frames):
        out += chunk(b"fcTL", struct.pack(">IIIIIHHBB", seq, w, h, 0, 0, delay_num, delay_den, 0, 0))
        seq += 1
        data = zlib.compress(f.raw_rows(), 9)
        if i == 0:
            out += chunk(b"IDAT", data)
        else:
            out += chunk(b"fdAT", struct.pack(">I", seq) + data)
            seq += 1
    out += chunk(b"IEND", b"")
    return bytes(out)


def bmp24(canvas, background=WHITE):
    """A bottom-up 24-bit BMP file, alpha blended over the background."""
    row = (canvas.w * 3 + 3) & ~3
    pixels = bytearray()
    for y in range(canvas.h - 1, -1, -1):
        line = bytearray()
        for x in range(canvas.w):
            r, g, b, a = canvas.px[y * canvas.w + x]
            mix = [int(round((c * a + bg * (255 - a)) / 255)) for c, bg in zip((r, g, b), background[:3])]
            line += bytes((mix[2], mix[1], mix[0]))
        line += b"\0" * (row - len(line))
        pixels += line
    header = struct.pack("<IiiHHIIiiII", 40, canvas.w, canvas.h, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    return b"BM" + struct.pack("<IHHI", 14 + len(header) + len(pixels), 0, 0, 14 + len(header)) + header + pixels


# --- the pictures -----------------------------------------------------------------

def info_icon(size=16):
    c = Canvas(size, size)
    c.circle(size / 2, size / 2, size / 2 - 0.5, BLUE)
    c.rect(size / 2 - 1, size * 0.42, 2, size * 0.36, WHITE)
    c.circle(size / 2, size * 0.27, 1.2, WHITE)
    return c


# The rich-hint controls: a button face of three states (normal, hover, pressed) tall enough
# for its nine-part split lines, radio cells (normal, selected, hover, selected and hover)
# and check squares (normal, hover, checked, checked and hover).
def hint_strip(cell_w, cell_h, count, draw):
    c = Canvas(cell_w * count, cell_h)
    for i in range(count):
        cell = Canvas(cell_w, cell_h)
        draw(cell, i)
        c.paste(cell, i * cell_w, 0)
    return c


def hint_button(cell, i):
    fill = [WHITE, LIGHT, (0xdc, 0xe8, 0xf8, 255)][i]
    cell.frame(0, 0, cell.w, cell.h, 4, BLUE if i else GREY, fill)


def hint_radio(cell, i):
    edge = BLUE if i in (2, 3) else GREY
    r = cell.w / 2 - 0.5
    cell.circle(cell.w / 2, cell.h / 2, r, edge)
    cell.circle(cell.w / 2, cell.h / 2, r - 1, LIGHT if i in (2, 3) else WHITE)
    if i in (1, 3):
        cell.circle(cell.w / 2, cell.h / 2, r - 4, edge)


def hint_check(cell, i):
    edge = BLUE if i in (1, 3) else GREY
    cell.frame(0, 0, cell.w, cell.h, 2, edge, LIGHT if i in (1, 3) else WHITE)
    if i in (2, 3):
        cell.line(3, 7, 6, 10, 1.6, edge)
        cell.line(6, 10, 11, 4, 1.6, edge)


def hint_background(w=80, h=100):
    c = Canvas(w, h)
    c.round_rect(2, 2, w - 2, h - 2, 8, (0, 0, 0, 40))  # shadow
    c.frame(0, 0, w - 2, h - 2, 8, GREY, WHITE)
    return c


def arrow(w, h, direction, colour=GREY, fill=WHITE):
    c = Canvas(w, h)
    pts = {
        "down": [(0, 0), (w, 0), (w / 2, h)],
        "up": [(0, h), (w, h), (w / 2, 0)],
        "left": [(w, 0), (w, h), (0, h / 2)],
        "right": [(0, 0), (0, h), (w, h / 2)],
    }[direction]
    c.triangle(pts, colour)
    inner = {
        "down": [(1.5, 0), (w - 1.5, 0), (w / 2, h - 1.5)],
        "up": [(1.5, h), (w - 1.5, h), (w / 2, 1.5)],
        "left": [(w, 1.5), (w, h - 1.5), (1.5, h / 2)],
        "right": [(0, 1.5), (0, h - 1.5), (w - 1.5, h / 2)],
    }[direction]
    c.triangle(inner, fill)
    return c


def spinner_frames(count=8, size=16):
    frames = []
    for k in range(count):
        c = Canvas(size, size)
        for i in range(count):
            angle = 2 * math.pi * i / count
            shade = 60 + 195 * ((i - k) % count) // (count - 1)
            x = size / 2 + math.cos(angle) * (size / 2 - 3)
            y = size / 2 + math.sin(angle) * (size / 2 - 3)
            c.circle(x, y, 1.6, (BLUE[0], BLUE[1], BLUE[2], shade))
        frames.append(c)
    return frames


def cloud(c, colour):
    c.circle(5.5, 9.5, 3.5, colour)
    c.circle(9, 7, 4.5, colour)
    c.circle(12, 10, 3, colour)
    c.rect(5.5, 9, 6.5, 4, colour)


def dead_cloud_frames(reverse=False, count=4, size=16):
    frames = []
    for k in range(count):
        c = Canvas(size, size)
        shade = 255 - 45 * k
        cloud(c, (GREY[0], GREY[1], GREY[2], shade))
        c.line(6, 8, 11, 12, 1.4, (RED[0], RED[1], RED[2], shade))
        c.line(11, 8, 6, 12, 1.4, (RED[0], RED[1], RED[2], shade))
        frames.append(c)
    return frames[::-1] if reverse else frames


def strokes(cell=12):
    """The five basic strokes side by side: horizontal, vertical, left-falling, dot, turning."""
    c = Canvas(cell * 5, cell)
    c.line(2, 6, 10, 6, 1.6, DARK)
    c.line(cell + 6, 2, cell + 6, 10, 1.6, DARK)
    c.line(2 * cell + 9, 2, 2 * cell + 3, 10, 1.6, DARK)
    c.line(3 * cell + 5, 4, 3 * cell + 7, 8, 2.0, DARK)
    c.line(4 * cell + 2, 3, 4 * cell + 10, 3, 1.6, DARK)
    c.line(4 * cell + 10, 3, 4 * cell + 10, 10, 1.6, DARK)
    return c


def flash_placeholder(size=48):
    c = Canvas(size, size)
    c.frame(0, 0, size, size, 6, GREY, LIGHT)
    c.triangle([(18, 14), (18, 34), (34, 24)], GREY)
    return c


def round_button(size, edge, fill, mark=None):
    c = Canvas(size, size)
    c.frame(0, 0, size, size, size / 2 - 1, edge, fill)
    if mark:
        mark(c)
    return c


# Fills of the four frames of a state strip: normal, hover, down, disabled.
STATE_FILLS = [WHITE, LIGHT, (0xdc, 0xe8, 0xf8, 255), (0xe6, 0xe6, 0xe6, 255)]


def state_strip(draw):
    """Four frames side by side, draw(i) making frame i."""
    frames = [draw(i) for i in range(4)]
    c = Canvas(frames[0].w * 4, frames[0].h)
    for i, f in enumerate(frames):
        c.paste(f, i * f.w, 0)
    return c


def text_button(w, h, edge, fill, mark):
    c = Canvas(w, h)
    c.frame(0, 0, w, h, 4, edge, fill)
    mark(c)
    return c


def check_box(checked, fill=WHITE, size=14):
    c = Canvas(size, size)
    c.frame(0, 0, size, size, 2, BLUE if checked else GREY, fill)
    if checked:
        c.rect(2, 2, size - 4, size - 4, BLUE)
        c.line(3.5, 7, 6, 9.5, 1.6, WHITE)
        c.line(6, 9.5, 10.5, 4.5, 1.6, WHITE)
    return c


def mask(draw, size=12):
    c = Canvas(size, size)
    draw(c)
    return c


def person(c):
    c.circle(6, 3.5, 2.6, MASK)
    c.round_rect(1.5, 7, 9, 5, 2.5, MASK)


def help_mark(c):
    c.ring(6, 6, 5.5, 1.3, MASK)
    c.line(4.5, 4.5, 6, 3.2, 1.2, MASK)
    c.line(6, 3.2, 7.6, 4.5, 1.2, MASK)
    c.line(7.6, 4.5, 6, 6.8, 1.2, MASK)
    c.circle(6, 8.9, 0.8, MASK)


def magnifier(c):
    c.ring(5, 5, 4.2, 1.4, MASK)
    c.line(8, 8, 11.2, 11.2, 1.8, MASK)


def check_mark(size=13):
    c = Canvas(size, size)
    c.line(2.5, 6.5, 5.5, 9.5, 2.0, DARK)
    c.line(5.5, 9.5, 10.5, 3, 2.0, DARK)
    return c


def tick(c):
    c.line(c.w / 2 - 8, c.h / 2, c.w / 2 - 3, c.h / 2 + 5, 2.0, WHITE)
    c.line(c.w / 2 - 3, c.h / 2 + 5, c.w / 2 + 7, c.h / 2 - 5, 2.0, WHITE)


def hint_arrow_strip(w=16, h=9):
    """The rich hint's arrow: four frames, pointing down (tip centred, tip to the left),
    then pointing up (the same two)."""
    c = Canvas(w * 4, h)
    for i, (down, tip) in enumerate([(True, w / 2), (True, 3), (False, w / 2), (False, 3)]):
        frame = Canvas(w, h)
        base, end, inner_base, inner_end = (0, h, 0, h - 1.5) if down else (h, 0, h, 1.5)
        frame.triangle([(0, base), (w, base), (tip, end)], GREY)
        frame.triangle([(1.5, inner_base), (w - 1.5, inner_base), (tip, inner_end)], WHITE)
        c.paste(frame, i * w, 0)
    return c


def cross(c, colour=DARK, pad=None):
    pad = c.w * 0.32 if pad is None else pad
    c.line(pad, pad, c.w - pad, c.h - pad, 1.6, colour)
    c.line(c.w - pad, pad, pad, c.h - pad, 1.6, colour)


def undo(c):
    c.ring(c.w / 2, c.h / 2, 6, 1.6, BLUE)
    c.triangle([(c.w / 2 - 9, c.h / 2 - 3), (c.w / 2 - 3, c.h / 2 - 3), (c.w / 2 - 6, c.h / 2 + 2)], BLUE)


def hint_frame(w=12, h=12):
    """Box behind the composition hint: light fill, blue edge, rounded corners."""
    c = Canvas(w, h)
    c.frame(0, 0, w, h, 3, (BLUE[0], BLUE[1], BLUE[2], 200), (LIGHT[0], LIGHT[1], LIGHT[2], 230))
    return c


def keyboard_key(size=40):
    """Phone key: a rounded tile with a stronger edge; 15-pixel stretch margins. Tinted when shown."""
    c = Canvas(size, size)
    c.frame(1, 1, size - 2, size - 2, 6, (0, 0, 0, 150), (0, 0, 0, 40))
    return c


def keyboard_icon(draw, w=32, h=24):
    """Phone key icon in one colour: only the alpha counts, the keyboard tints it."""
    c = Canvas(w, h)
    draw(c)
    return c


def delete_mark(c):
    c.triangle([(3, 12), (11, 4), (11, 20)], MASK)
    c.rect(11, 4, 18, 16, MASK)
    c.line(15, 8, 23, 16, 2, (255, 255, 255, 255))
    c.line(23, 8, 15, 16, 2, (255, 255, 255, 255))
    # The cross is cut out of the tag: where it was drawn white, clear the pixel.
    for i, p in enumerate(c.px):
        if p[0] > 128:
            c.px[i] = [0, 0, 0, 0]


def enter_mark(c):
    c.line(26, 4, 26, 14, 2.4, MASK)
    c.line(26, 14, 9, 14, 2.4, MASK)
    c.triangle([(3, 14), (10, 8), (10, 20)], MASK)


def space_mark(c):
    c.line(4, 10, 4, 17, 2.4, MASK)
    c.line(4, 17, 28, 17, 2.4, MASK)
    c.line(28, 17, 28, 10, 2.4, MASK)


# Fonts with Chinese glyphs, searched in order; the captions need one of them.
CJK_FONTS = [
    "/usr/share/fonts/truetype/wqy/wqy-microhei.ttc",
    "/usr/share/fonts/truetype/wqy/wqy-zenhei.ttc",
    "/usr/share/fonts/opentype/noto/NotoSansCJK-Regular.ttc",
]


def caption(c, text, colour, size=14):
    """Text centred on the canvas in a CJK font (drawn through Pillow, blended as coverage)."""
    from PIL import Image, ImageDraw, ImageFont
    path = next((p for p in CJK_FONTS if os.path.exists(p)), None)
    if path is None:
        sys.exit("make_pictures.py: no font with Chinese glyphs (fonts-wqy-microhei) in " + ", ".join(CJK_FONTS))
    font = ImageFont.truetype(path, size)
    cover = Image.new("L", (c.w, c.h), 0)
    ImageDraw.Draw(cover).text((c.w / 2, c.h / 2), text, font=font, fill=255, anchor="mm")
    for y in range(c.h):
        for x in range(c.w):
            v = cover.getpixel((x, y))
            if v:
                c.put(x, y, colour, v / 255.0)


# The preview's view-mode buttons: normal, hover, pressed (the chosen mode) and disabled.
VIEW_MODE_LOOKS = [
    (GREY, WHITE, DARK),
    (BLUE, LIGHT, BLUE),
    (BLUE, BLUE, WHITE),
    (GREY, (0xe6, 0xe6, 0xe6, 255), (0x99, 0x99, 0x99, 255)),
]


def view_mode_button(text, w=100, h=36):
    def frame(i):
        edge, fill, ink = VIEW_MODE_LOOKS[i]
        c = Canvas(w, h)
        c.frame(1, 1, w - 2, h - 2, 4, edge, fill)
        caption(c, text, ink)
        return c
    return state_strip(frame)


def fill_box(c, x, y, w, h, colour, r=0):
    """A rectangle (rounded when r > 0) drawn only within its own bounds: quick on large canvases."""
    def inside(px, py):
        if not (x <= px < x + w and y <= py < y + h):
            return False
        if r <= 0:
            return True
        cx = min(max(px, x + r), x + w - r)
        cy = min(max(py, y + r), y + h - r)
        return (px - cx) ** 2 + (py - cy) ** 2 <= r * r
    if r <= 0 and x == int(x) and y == int(y) and w == int(w) and h == int(h):
        for py in range(max(0, int(y)), min(c.h, int(y + h))):
            for px in range(max(0, int(x)), min(c.w, int(x + w))):
                c.put(px, py, colour)
        return
    c.shape(inside, colour, int(x), int(y), int(math.ceil(x + w)), int(math.ceil(y + h)))


def preview_close_strip(size=28):
    """The full-screen preview's close button: normal, hover and pressed side by side."""
    looks = [((0, 0, 0, 110), WHITE), (RED, WHITE), ((0x9c, 0x24, 0x24, 255), LIGHT)]
    c = Canvas(size * len(looks), size)
    for i, (fill, ink) in enumerate(looks):
        f = Canvas(size, size)
        f.circle(size / 2, size / 2, size / 2 - 1, fill)
        cross(f, ink, size * 0.34)
        c.paste(f, i * size, 0)
    return c


def phone_screen(w, h, keyboard):
    """The phone preview's screen behind the composition bar and the keyboard: status strip,
    a chat app's title bar and a few message bubbles, all in the upper part of the screen
    that the keyboard leaves free. Drawn at the phone's own size (240 x 320 or 480 x 800)."""
    s = w / 240.0
    c = Canvas(w, h, (0xea, 0xed, 0xf2, 255))
    # Status strip: signal bars, a clock and the battery.
    strip = int(14 * s)
    fill_box(c, 0, 0, w, strip, DARK)
    for i in range(4):
        bar = int((3 + 2 * i) * s)
        fill_box(c, int((6 + 4 * i) * s), strip - int(3 * s) - bar, int(3 * s), bar, WHITE)
    for i in range(4):
        fill_box(c, w / 2 - 12 * s + i * 6 * s, 4 * s, 4 * s, 6 * s, WHITE, 1 * s)
    fill_box(c, w - 26 * s, 4 * s, 18 * s, 7 * s, WHITE, 1.5 * s)
    fill_box(c, w - 8 * s, 6 * s, 2 * s, 3 * s, WHITE)
    fill_box(c, w - 24 * s, 5.5 * s, 11 * s, 4 * s, GREEN)
    # Title bar: back arrow and the title.
    top = strip
    bar_h = int(26 * s)
    fill_box(c, 0, top, w, bar_h, BLUE)
    mid = top + bar_h / 2.0
    c.line(15 * s, mid - 6 * s, 9 * s, mid, 2 * s, WHITE)
    c.line(9 * s, mid, 15 * s, mid + 6 * s, 2 * s, WHITE)
    fill_box(c, w / 2 - 30 * s, top + bar_h / 2 - 3 * s, 60 * s, 6 * s, WHITE, 3 * s)
    # Message bubbles, alternating sides, down to where the composition bar of a tall skin
    # may reach.
    y = top + bar_h + 8 * s
    lengths = [120, 90, 150, 70, 110, 130, 80, 140, 100, 60, 125, 95]
    limit = h - keyboard - 50 * s
    i = 0
    while y + 22 * s < limit and i < len(lengths):
        width = lengths[i] * s
        if i % 2 == 0:
            fill_box(c, 8 * s, y, width, 20 * s, WHITE, 6 * s)
            fill_box(c, 16 * s, y + 7 * s, width - 16 * s, 6 * s, GREY, 3 * s)
        else:
            fill_box(c, w - 8 * s - width, y, width, 20 * s, (0x9f, 0xd8, 0x7a, 255), 6 * s)
            fill_box(c, w - width, y + 7 * s, width - 16 * s, 6 * s, (0x5c, 0x9a, 0x3c, 255), 3 * s)
        y += 28 * s
        i += 1
    # The phone's edge.
    for x0, y0, ww, hh in ((0, 0, w, 1), (0, h - 1, w, 1), (0, 0, 1, h), (w - 1, 0, 1, h)):
        fill_box(c, x0, y0, ww, hh, DARK)
    return c


def pictures():
    def skin_box_mark(c):
        for i in range(3):
            c.circle(7 + i * 5, 12, 1.6, BLUE)

    yield "hint_icon.png", png(info_icon())
    yield "hint_button.png", png(hint_strip(18, 26, 3, hint_button))
    yield "hint_radio.png", png(hint_strip(14, 14, 4, hint_radio))
    yield "hint_check.png", png(hint_strip(14, 14, 4, hint_check))
    yield "hint_background.png", png(hint_background())
    yield "hint_arrow.png", png(hint_arrow_strip())
    yield "cloud_waiting.png", apng(spinner_frames(), 8)
    yield "cloud_dead.png", apng(dead_cloud_frames(), 12)
    yield "cloud_dead_reverse.png", apng(dead_cloud_frames(reverse=True), 12)
    yield "strokes.bmp", bmp24(strokes())
    yield "flash.png", png(flash_placeholder())
    yield "skin_box_button.png", png(round_button(24, GREY, WHITE, skin_box_mark))
    yield "skin_box_button_down.png", png(round_button(24, BLUE, (0xdc, 0xe8, 0xf8, 255), skin_box_mark))
    yield "skin_box_button_hover.png", png(round_button(24, BLUE, LIGHT, skin_box_mark))
    yield "skin_box_hint_background.png", png(hint_background(60, 40))
    yield "skin_box_point.png", png(arrow(12, 7, "down"))
    yield "skin_box_point_up.png", png(arrow(12, 7, "up"))
    yield "skin_box_point_left.png", png(arrow(7, 12, "left"))
    yield "skin_box_point_right.png", png(arrow(7, 12, "right"))
    # The bar configuration's buttons: strips of four frames (normal, hover, down, disabled).
    ok_fills = [BLUE, (0x4a, 0x93, 0xe0, 255), (0x1f, 0x5f, 0xa8, 255), GREY]
    yield "bar_config_ok.png", png(state_strip(lambda i: text_button(60, 24, ok_fills[i], ok_fills[i], tick)))
    yield "bar_config_default.png", png(state_strip(lambda i: text_button(60, 24, GREY, STATE_FILLS[i], undo)))
    yield "bar_config_close.png", png(state_strip(lambda i: round_button(16, GREY, STATE_FILLS[i], lambda c: cross(c, DARK, 5))))
    yield "bar_config_checked.png", png(state_strip(lambda i: check_box(True)))
    yield "bar_config_unchecked.png", png(state_strip(lambda i: check_box(False, STATE_FILLS[i])))
    yield "button_hover.png", png(text_button(24, 24, (BLUE[0], BLUE[1], BLUE[2], 90), (BLUE[0], BLUE[1], BLUE[2], 40), lambda c: None))
    yield "button_down.png", png(text_button(24, 24, (BLUE[0], BLUE[1], BLUE[2], 140), (BLUE[0], BLUE[1], BLUE[2], 80), lambda c: None))
    yield "mask_name.png", png(mask(person))
    yield "mask_cloud.png", png(mask(lambda c: cloud(c, MASK), 16))
    yield "mask_help.png", png(mask(help_mark))
    yield "mask_search.png", png(mask(magnifier))
    yield "check_mark.png", png(check_mark())
    yield "hint_frame.png", png(hint_frame())
    # The program's keyboard pictures (PNG resources 2012 to 2015 of the editor).
    yield "keyboard_key.png", png(keyboard_key())
    yield "keyboard_delete.png", png(keyboard_icon(delete_mark))
    yield "keyboard_enter.png", png(keyboard_icon(enter_mark))
    yield "keyboard_space.png", png(keyboard_icon(space_mark))
    # The full-screen preview's close button and the phone previews' screens (RC_PNG
    # resources 2009 to 2011 of the editor).
    yield "preview_close.png", png(preview_close_strip())
    yield "phone_small.png", png(phone_screen(240, 320, 155))
    yield "phone_large.png", png(phone_screen(480, 800, 325))
    # The preview's view-mode buttons (PNG resources 2000 to 2003 of the editor), in the
    # order of the view modes.
    for i, text in enumerate(["正常预览", "全屏预览", "背景变色", "长句预览"]):
        yield "view_mode_%d.png" % i, png(view_mode_button(text))


def main():
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    for name, data in pictures():
        path = os.path.join(out, name)
        # Rewrite only what changed, so that the resource compiler does not run again.
        try:
            with open(path, "rb") as f:
                if f.read() == data:
                    continue
        except OSError:
            pass
        with open(path, "wb") as f:
            f.write(data)


if __name__ == "__main__":
    main()
