#!/usr/bin/env python3
"""Renders every picture of a skin folder onto one PNG for review, with mock-ups of the
status bar and of a stretched candidate window built from Skin.ini.

Standard library only. Usage: contact_sheet.py [skin folder] [output.png] [zoom]
(defaults: art/default_skin, /tmp/default_skin_sheet.png, 3).
"""
import os
import struct
import sys
import zlib


def read_png(data):
    """8-bit RGB or RGBA, non-interlaced PNG -> (w, h, rows of RGBA tuples)."""
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        raise ValueError("not a PNG")
    pos, idat, w = 8, b"", 0
    while pos + 8 <= len(data):
        n, kind = struct.unpack(">I4s", data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + n]
        if kind == b"IHDR":
            w, h, depth, ctype, _, _, interlace = struct.unpack(">IIBBBBB", body)
            if depth != 8 or ctype not in (2, 6) or interlace:
                raise ValueError("unsupported PNG form")
            bpp = 4 if ctype == 6 else 3
        elif kind == b"IDAT":
            idat += body
        pos += 12 + n
    raw = zlib.decompress(idat)
    stride = w * bpp
    prev = bytearray(stride)
    rows = []
    for y in range(h):
        f = raw[y * (stride + 1)]
        line = bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        for i in range(stride):
            a = line[i - bpp] if i >= bpp else 0
            b = prev[i]
            c = prev[i - bpp] if i >= bpp else 0
            if f == 1:
                line[i] = (line[i] + a) & 255
            elif f == 2:
                line[i] = (line[i] + b) & 255
            elif f == 3:
                line[i] = (line[i] + (a + b) // 2) & 255
            elif f == 4:
                p = a + b - c
                pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
                line[i] = (line[i] + (a if pa <= pb and pa <= pc else b if pb <= pc else c)) & 255
        rows.append([tuple(line[x * bpp:x * bpp + bpp]) + ((255,) if bpp == 3 else ()) for x in range(w)])
        prev = line
    return w, h, rows


def read_bmp24(data):
    _, _, _, _, off = struct.unpack("<2sIHHI", data[:14])
    _, w, h, _, bits = struct.unpack("<IiiHH", data[14:30])
    if bits != 24:
        raise ValueError("only 24-bit BMP")
    stride = (w * 3 + 3) & ~3
    rows = []
    for y in range(abs(h)):
        src = (abs(h) - 1 - y) if h > 0 else y
        line = data[off + src * stride:off + src * stride + w * 3]
        rows.append([(line[x * 3 + 2], line[x * 3 + 1], line[x * 3], 255) for x in range(w)])
    return w, abs(h), rows


def load(path):
    with open(path, "rb") as f:
        data = f.read()
    return read_bmp24(data) if path.lower().endswith(".bmp") else read_png(data)


def read_ini(path):
    with open(path, "rb") as f:
        text = f.read()
    text = text[2:].decode("utf-16-le") if text[:2] == b"\xff\xfe" else text.decode("gbk")
    sections, cur = {}, None
    for line in text.splitlines():
        line = line.strip()
        if line.startswith("[") and line.endswith("]"):
            cur = sections.setdefault(line[1:-1], {})
        elif "=" in line and cur is not None:
            k, v = line.split("=", 1)
            cur[k.strip()] = v.strip()
    return sections


class Sheet:
    def __init__(self, w, h, bg):
        self.w, self.h = w, h
        self.px = [list(bg) for _ in range(w * h)]

    def blend(self, x, y, rgba):
        if 0 <= x < self.w and 0 <= y < self.h:
            p = self.px[y * self.w + x]
            a = rgba[3] / 255.0
            for i in range(3):
                p[i] = round(rgba[i] * a + p[i] * (1 - a))

    def draw(self, img, x0, y0, zoom=1):
        w, h, rows = img
        for y in range(h):
            for x in range(w):
                for dy in range(zoom):
                    for dx in range(zoom):
                        self.blend(x0 + x * zoom + dx, y0 + y * zoom + dy, rows[y][x])

    def rect(self, x0, y0, x1, y1, rgb):
        for y in range(y0, y1):
            for x in range(x0, x1):
                self.blend(x, y, rgb + (255,))

    def save(self, path):
        raw = b"".join(b"\x00" + bytes(v for p in self.px[y * self.w:(y + 1) * self.w] for v in p)
                       for y in range(self.h))

        def chunk(kind, data):
            return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)
        with open(path, "wb") as f:
            f.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", self.w, self.h, 8, 2, 0, 0, 0))
                    + chunk(b"IDAT", zlib.compress(raw, 6)) + chunk(b"IEND", b""))


def nine_part(img, cuts_x, cuts_y, w, h):
    """Stretches the middle stripes of img to w x h (corners at natural size)."""
    sw, sh, rows = img
    cx1, cx2 = cuts_x
    cy1, cy2 = cuts_y

    def src(d, size, c1, c2, total):
        if d < c1:
            return d
        if d >= total - (size - c2):
            return c2 + d - (total - (size - c2))
        mid = max(c2 - c1, 1)
        return c1 + (d - c1) * mid // max(total - c1 - (size - c2), 1)
    out = [[rows[src(y, sh, cy1, cy2, h)][src(x, sw, cx1, cx2, w)] for x in range(w)] for y in range(h)]
    return w, h, out


def first_picture(value):
    return value.split(",")[0] if value else ""


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    folder = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "default_skin")
    out = sys.argv[2] if len(sys.argv) > 2 else "/tmp/default_skin_sheet.png"
    zoom = int(sys.argv[3]) if len(sys.argv) > 3 else 3
    names = sorted(n for n in os.listdir(folder) if n.lower().endswith((".png", ".bmp")))
    pics = {n: load(os.path.join(folder, n)) for n in names}
    ini = read_ini(os.path.join(folder, "Skin.ini"))

    cell = 26 * zoom + 8
    cols = 12
    small = [n for n in names if pics[n][0] <= 26 and pics[n][1] <= 26]
    large = [n for n in names if n not in small]
    grid_rows = (len(small) + cols - 1) // cols
    width = max(cols * cell + 16, 620)
    height = 16 + grid_rows * cell + sum(pics[n][1] * zoom + 12 for n in large) + 320
    sheet = Sheet(width, height, (236, 238, 241))

    y = 16
    for i, n in enumerate(small):
        x = 8 + (i % cols) * cell
        yy = y + (i // cols) * cell
        sheet.rect(x, yy, x + 26 * zoom, yy + 26 * zoom, (255, 255, 255))
        sheet.draw(pics[n], x + (26 - pics[n][0]) * zoom // 2, yy + (26 - pics[n][1]) * zoom // 2, zoom)
    y += grid_rows * cell
    for n in large:
        sheet.draw(pics[n], 8, y, zoom)
        y += pics[n][1] * zoom + 12

    # Mock-ups at 100% on white and on a dark desktop strip.
    for bgc, x0 in (((255, 255, 255), 0), ((40, 44, 52), width // 2)):
        sheet.rect(x0, y, x0 + width // 2, y + 300, bgc)
    sb = ini["StatusBar"]
    for x0 in (8, width // 2 + 8):
        sheet.draw(pics[sb["pic"]], x0, y + 8)
        for key, value in sb.items():
            if key.endswith("_display") and value == "1":
                btn = key[:-len("_display")]
                px, py = (int(v) for v in sb[btn + "_pos"].split(","))
                sheet.draw(pics[first_picture(sb[btn])], x0 + px, y + 8 + py)
        h1 = ini["Scheme_H1"]
        cut = [int(v) for v in h1["layout_horizontal"].split(",")[1:]]
        bg = pics[h1["pic"]]
        win = nine_part(bg, (cut[0], bg[0] - cut[1]), (cut[0], bg[1] - cut[1]), 280, 64)
        sheet.draw(win, x0, y + 56)
        sep = ini["Scheme_H1"]["separator"].split(",")
        c = int(sep[0], 16)
        sheet.rect(x0 + int(sep[1]), y + 56 + 30, x0 + 280 - int(sep[2]), y + 56 + 31, (c & 255, (c >> 8) & 255, c >> 16))
        up, down = pics[first_picture(h1["pageup"])], pics[first_picture(h1["pagedown"])]
        sheet.draw(up, x0 + 280 - 8 - 18 - 2 - 18, y + 56 + 31 + (33 - 18) // 2)
        sheet.draw(down, x0 + 280 - 8 - 18, y + 56 + 31 + (33 - 18) // 2)
        v2 = ini["Scheme_V2"]
        bgv = pics[v2["zhongwen_pic"]]
        win = nine_part(bgv, (8, bgv[0] - 8), (8, bgv[1] - 8), 150, 160)
        sheet.draw(win, x0, y + 130)
        sheet.draw(pics[first_picture(v2["cand_pageup"])], x0 + 150 - 8 - 38, y + 130 + 160 - 6 - 18)
        sheet.draw(pics[first_picture(v2["cand_pagedown"])], x0 + 150 - 8 - 18, y + 130 + 160 - 6 - 18)
    sheet.save(out)
    print(out)


if __name__ == "__main__":
    main()
