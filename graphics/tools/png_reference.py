#!/usr/bin/python3
"""Independent PNG decoder for the decoder tests: zlib and numpy only, no libpng.

Usage: png_reference.py OUT_DIR DEPS_SRC_DIR

For every *.png of libpng's PngSuite (with its interlaced set) and testpngs in Debian's
libpng1.6 source under DEPS_SRC_DIR, writes OUT_DIR/<name>.raw with what our
decoder must produce: the picture expanded to 8-bit RGB or RGBA (palette and low bit depths
expanded, tRNS turned into alpha, grey copied to RGB, 16-bit samples cut to their high
byte), premultiplied by alpha, as 32-bit BGRA rows bottom-up. Header: b"KRAW", width,
height, has-alpha (u32 little-endian each). A picture that a conforming reader must refuse
(bad signature, critical chunk damaged, invalid header, missing or short image data) gets
OUT_DIR/<name>.fail instead.
"""
import glob
import os
import struct
import sys
import zlib

import numpy as np

SIGNATURE = b"\x89PNG\r\n\x1a\n"
DEPTHS = {0: (1, 2, 4, 8, 16), 2: (8, 16), 3: (1, 2, 4, 8), 4: (8, 16), 6: (8, 16)}
CHANNELS = {0: 1, 2: 3, 3: 1, 4: 2, 6: 4}
ADAM7 = ((0, 0, 8, 8), (4, 0, 8, 8), (0, 4, 4, 8), (2, 0, 4, 4), (0, 2, 2, 4), (1, 0, 2, 2), (0, 1, 1, 2))


class Refused(Exception):
    pass


def chunks(data):
    if data[:8] != SIGNATURE:
        raise Refused("signature")
    pos = 8
    while True:
        if pos + 8 > len(data):
            raise Refused("truncated")
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        if length > 0x7FFFFFFF or pos + 12 + length > len(data):
            raise Refused("truncated chunk")
        body = data[pos + 8:pos + 8 + length]
        crc = struct.unpack(">I", data[pos + 8 + length:pos + 12 + length])[0]
        critical = not (kind[0] & 0x20)
        if zlib.crc32(kind + body) & 0xFFFFFFFF != crc:
            if critical:
                raise Refused("crc")
        else:
            yield kind, body
        pos += 12 + length
        if kind == b"IEND":
            return


def unfilter(raw, width, height, bits_per_pixel, pos):
    stride = (width * bits_per_pixel + 7) // 8
    bpp = max(1, bits_per_pixel // 8)
    out = np.zeros((height, stride), dtype=np.uint8)
    prev = np.zeros(stride, dtype=np.int32)
    for y in range(height):
        if pos + 1 + stride > len(raw):
            raise Refused("not enough image data")
        kind = raw[pos]
        line = np.frombuffer(raw, dtype=np.uint8, count=stride, offset=pos + 1).astype(np.int32)
        pos += 1 + stride
        if kind == 0:
            cur = line
        elif kind == 2:
            cur = (line + prev) & 0xFF
        elif kind in (1, 3, 4):
            cur = line.copy()
            p = prev.tolist()
            c = cur.tolist()
            for i in range(stride):
                a = c[i - bpp] if i >= bpp else 0
                if kind == 1:
                    c[i] = (c[i] + a) & 0xFF
                elif kind == 3:
                    c[i] = (c[i] + ((a + p[i]) >> 1)) & 0xFF
                else:
                    b = p[i]
                    cc = p[i - bpp] if i >= bpp else 0
                    pa, pb, pc = abs(b - cc), abs(a - cc), abs(a + b - 2 * cc)
                    pred = a if pa <= pb and pa <= pc else (b if pb <= pc else cc)
                    c[i] = (c[i] + pred) & 0xFF
            cur = np.array(c, dtype=np.int32)
        else:
            raise Refused("bad filter")
        out[y] = cur
        prev = cur
    return out, pos


def samples(rows, width, channels, depth):
    """Row bytes to an (h, w, channels) array of raw sample values."""
    h = rows.shape[0]
    if depth == 16:
        v = rows[:, :width * channels * 2].reshape(h, width * channels, 2).astype(np.int32)
        v = v[:, :, 0] * 256 + v[:, :, 1]
    elif depth == 8:
        v = rows[:, :width * channels].astype(np.int32)
    else:
        bits = np.unpackbits(rows, axis=1)[:, :width * channels * depth]
        bits = bits.reshape(h, width * channels, depth).astype(np.int32)
        v = np.zeros((h, width * channels), dtype=np.int32)
        for k in range(depth):
            v = v * 2 + bits[:, :, k]
    return v.reshape(h, width, channels)


def decode(data):
    header = None
    palette = None
    trns = None
    idat = []
    for kind, body in chunks(data):
        if header is None and kind != b"IHDR":
            raise Refused("IHDR not first")
        if kind == b"IHDR":
            if header is not None or len(body) != 13:
                raise Refused("bad IHDR")
            header = struct.unpack(">IIBBBBB", body)
            w, h, depth, ctype, comp, filt, inter = header
            if (not 0 < w <= 0x7FFFFFFF or not 0 < h <= 0x7FFFFFFF or ctype not in DEPTHS
                    or depth not in DEPTHS[ctype] or comp or filt or inter > 1):
                raise Refused("invalid IHDR")
        elif kind == b"PLTE":
            if len(body) % 3 or not 0 < len(body) // 3 <= 256:
                if header[3] == 3:
                    raise Refused("bad PLTE")
                continue
            palette = np.frombuffer(body, dtype=np.uint8).reshape(-1, 3).astype(np.int32)
        elif kind == b"tRNS":
            ctype, depth = header[3], header[2]
            mask = 0xFFFF if depth == 16 else (1 << depth) - 1
            if ctype == 0 and len(body) == 2:
                trns = (struct.unpack(">H", body)[0] & mask,)
            elif ctype == 2 and len(body) == 6:
                trns = tuple(v & mask for v in struct.unpack(">HHH", body))
            elif ctype == 3 and palette is not None and 0 < len(body) <= len(palette):
                trns = list(body)
        elif kind == b"IDAT":
            idat.append(body)
    if header is None or not idat:
        raise Refused("no image data")
    w, h, depth, ctype, _, _, inter = header
    if ctype == 3 and palette is None:
        raise Refused("no palette")
    try:
        raw = zlib.decompressobj().decompress(b"".join(idat))
    except zlib.error:
        raise Refused("zlib")
    channels = CHANNELS[ctype]
    bits = channels * depth
    values = np.zeros((h, w, channels), dtype=np.int32)
    pos = 0
    passes = ADAM7 if inter else ((0, 0, 1, 1),)
    for x0, y0, dx, dy in passes:
        pw, ph = (w - x0 + dx - 1) // dx, (h - y0 + dy - 1) // dy
        if pw <= 0 or ph <= 0:
            continue
        rows, pos = unfilter(raw, pw, ph, bits, pos)
        values[y0::dy, x0::dx] = samples(rows, pw, channels, depth)

    alpha = None
    if ctype == 3:
        idx = values[:, :, 0]
        pal = np.zeros((256, 3), dtype=np.int32)
        pal[:len(palette)] = palette
        rgb = pal[idx]
        if trns is not None:
            t = np.full(256, 255, dtype=np.int32)
            t[:len(trns)] = trns
            alpha = t[idx]
    else:
        colour = values[:, :, :3] if ctype in (2, 6) else values[:, :, :1]
        if ctype in (4, 6):
            alpha = values[:, :, -1]
        elif trns is not None:
            match = np.all(colour == np.array(trns, dtype=np.int32), axis=2)
            alpha = np.where(match, 0, 255)
        if depth == 16:
            colour = colour >> 8
            if ctype in (4, 6):
                alpha = alpha >> 8
        elif depth < 8:
            colour = colour * (255 // ((1 << depth) - 1))
        rgb = np.repeat(colour, 3, axis=2) if colour.shape[2] == 1 else colour

    if alpha is None:
        a = np.full((h, w), 255, dtype=np.int32)
    else:
        a = alpha
        rgb = rgb * a[:, :, None] // 255
    bgra = np.stack([rgb[:, :, 2], rgb[:, :, 1], rgb[:, :, 0], a], axis=2).astype(np.uint8)
    return w, h, alpha is not None, bgra[::-1].tobytes()


def main():
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    written = 0
    roots = sorted(glob.glob(os.path.join(sys.argv[2], "libpng1.6-*", "contrib")))
    if not roots:
        print("png reference: no libpng1.6 source under " + sys.argv[2])
        return
    folders = [os.path.join(roots[-1], f) for f in ("pngsuite", "pngsuite/interlaced", "testpngs")]
    for folder in folders:
        if not os.path.isdir(folder):
            print("png reference: no folder " + folder)
            continue
        for name in sorted(os.listdir(folder)):
            if not name.endswith(".png"):
                continue
            stem = os.path.join(out, name[:-4])
            for old in (stem + ".raw", stem + ".fail"):
                if os.path.exists(old):
                    os.remove(old)
            with open(os.path.join(folder, name), "rb") as f:
                data = f.read()
            try:
                w, h, has_alpha, pixels = decode(data)
                with open(stem + ".raw", "wb") as f:
                    f.write(b"KRAW" + struct.pack("<III", w, h, int(has_alpha)) + pixels)
            except Refused:
                open(stem + ".fail", "wb").close()
            written += 1
    print("png reference: %d pictures" % written)


if __name__ == "__main__":
    main()
