#!/usr/bin/env python3
"""Checks the packed skin container against an independent reader and writer.

Usage: skin_pack_peer.py <build-dir> <source-dir>
       skin_pack_peer.py --make-fixture <output file>

Our program (skin_pack_tool_child.exe, run under Wine) packs a folder in both formats;
this script reads the containers with its own parser, Python's zlib and a pure-Python
AES, and compares every entry with the folder. In the other direction it writes
containers itself and has our program extract them. Exits non-zero on any mismatch.
"""
import os
import random
import shutil
import struct
import subprocess
import sys
import tempfile
import zlib

# The fixed key and IV of packed skins (the same record as the encrypted text codec).
KEY = bytes([0x4b, 0x61, 0x76, 0x72, 0x65, 0x6c, 0x2d, 0x74, 0x65, 0x78, 0x74, 0x2d, 0x6b, 0x65, 0x79, 0x21,
             0x93, 0x1d, 0x5e, 0xa7, 0x0c, 0xf2, 0x68, 0x3b, 0xd4, 0x81, 0x2f, 0x56, 0xe9, 0x07, 0xbc, 0x4a])
IV = bytes([0x71, 0x3e, 0xa5, 0x0b, 0xc8, 0x94, 0x2d, 0x6f, 0x10, 0xe7, 0x5a, 0x83, 0x39, 0xd2, 0x4c, 0xb6])


# --- AES (FIPS-197), written out plainly ---------------------------------------------

def _xtime(a):
    a <<= 1
    return (a ^ 0x1b) & 0xff if a & 0x100 else a


def _mul(a, b):
    r = 0
    while b:
        if b & 1:
            r ^= a
        a = _xtime(a)
        b >>= 1
    return r


def _make_sbox():
    sbox = [0] * 256
    for x in range(256):
        inv = 0
        if x:
            inv = next(y for y in range(1, 256) if _mul(x, y) == 1)
        s = inv
        for shift in range(1, 5):
            s ^= ((inv << shift) | (inv >> (8 - shift))) & 0xff
        sbox[x] = s ^ 0x63
    inv_sbox = [0] * 256
    for i, v in enumerate(sbox):
        inv_sbox[v] = i
    return sbox, inv_sbox


SBOX, INV_SBOX = _make_sbox()


def _expand_key(key):
    nk = len(key) // 4
    rounds = nk + 6
    words = [list(key[4 * i:4 * i + 4]) for i in range(nk)]
    rcon = 1
    for i in range(nk, 4 * (rounds + 1)):
        t = list(words[i - 1])
        if i % nk == 0:
            t = [SBOX[b] for b in t[1:] + t[:1]]
            t[0] ^= rcon
            rcon = _xtime(rcon)
        elif nk > 6 and i % nk == 4:
            t = [SBOX[b] for b in t]
        words.append([a ^ b for a, b in zip(words[i - nk], t)])
    return [sum(words[4 * r:4 * r + 4], []) for r in range(rounds + 1)]


def _shift_rows(s, inverse=False):
    out = [0] * 16
    for c in range(4):
        for r in range(4):
            src = (c + r) % 4 if not inverse else (c - r) % 4
            out[4 * c + r] = s[4 * src + r]
    return out


def _mix_columns(s, inverse=False):
    m = (14, 11, 13, 9) if inverse else (2, 3, 1, 1)
    out = []
    for c in range(4):
        col = s[4 * c:4 * c + 4]
        for r in range(4):
            out.append(_mul(col[0], m[(0 - r) % 4]) ^ _mul(col[1], m[(1 - r) % 4]) ^
                       _mul(col[2], m[(2 - r) % 4]) ^ _mul(col[3], m[(3 - r) % 4]))
    return out


def _encrypt_block(block, keys):
    s = [a ^ b for a, b in zip(block, keys[0])]
    for rnd in range(1, len(keys)):
        s = _shift_rows([SBOX[b] for b in s])
        if rnd != len(keys) - 1:
            s = _mix_columns(s)
        s = [a ^ b for a, b in zip(s, keys[rnd])]
    return bytes(s)


def _decrypt_block(block, keys):
    s = [a ^ b for a, b in zip(block, keys[-1])]
    for rnd in range(len(keys) - 2, -1, -1):
        s = [INV_SBOX[b] for b in _shift_rows(s, inverse=True)]
        s = [a ^ b for a, b in zip(s, keys[rnd])]
        if rnd:
            s = _mix_columns(s, inverse=True)
    return bytes(s)


def cbc_encrypt(plain):
    keys = _expand_key(KEY)
    pad = 16 - len(plain) % 16
    plain += bytes([pad]) * pad
    out, prev = bytearray(), IV
    for i in range(0, len(plain), 16):
        prev = _encrypt_block(bytes(a ^ b for a, b in zip(plain[i:i + 16], prev)), keys)
        out += prev
    return bytes(out)


def cbc_decrypt(cipher):
    if len(cipher) == 0 or len(cipher) % 16:
        raise ValueError("ciphertext is not whole blocks")
    keys = _expand_key(KEY)
    out, prev = bytearray(), IV
    for i in range(0, len(cipher), 16):
        block = cipher[i:i + 16]
        out += bytes(a ^ b for a, b in zip(_decrypt_block(block, keys), prev))
        prev = block
    pad = out[-1]
    if not 1 <= pad <= 16 or out[-pad:] != bytes([pad]) * pad:
        raise ValueError("bad padding")
    return bytes(out[:-pad])


# --- Container ---------------------------------------------------------------------

def list_image(entries):
    """entries: [(name, bytes)] -> the list image."""
    elements = []
    for name, data in entries:
        raw = name.encode("utf-16-le")
        elements.append(struct.pack("<I", len(raw)) + raw + struct.pack("<I", len(data)) + data)
    if not elements:
        return struct.pack("<I", 0)
    pos = 8 + 4 * len(elements)
    offsets = []
    for e in elements:
        offsets.append(pos)
        pos += len(e)
    return (struct.pack("<I", pos) + struct.pack("<I", 4 * len(elements)) +
            b"".join(struct.pack("<I", o) for o in offsets) + b"".join(elements))


def build_container(entries, fmt):
    image = list_image(entries)
    if fmt == 1:
        return b"Skin" + struct.pack("<I", 1) + image
    body = cbc_encrypt(struct.pack("<I", len(image)) + zlib.compress(image, 9))
    return b"Skin" + struct.pack("<I", 3) + body


def unpack(blob):
    """-> (format, list image)."""
    if len(blob) < 8 or blob[:4] != b"Skin":
        raise ValueError("no Skin magic")
    fmt = struct.unpack_from("<I", blob, 4)[0]
    if fmt == 1:
        return fmt, blob[8:]
    if fmt != 3:
        raise ValueError("format %d" % fmt)
    plain = cbc_decrypt(blob[8:])
    declared = struct.unpack_from("<I", plain, 0)[0]
    image = zlib.decompress(plain[4:])
    if len(image) != declared:
        raise ValueError("declared %d, inflated %d" % (declared, len(image)))
    return fmt, image


def parse_list(image):
    total = struct.unpack_from("<I", image, 0)[0]
    if total == 0:
        return []
    if total != len(image):
        raise ValueError("list total %d, image %d" % (total, len(image)))
    count = struct.unpack_from("<I", image, 4)[0] // 4
    entries = []
    for i in range(count):
        off = struct.unpack_from("<I", image, 8 + 4 * i)[0]
        n = struct.unpack_from("<I", image, off)[0]
        name = image[off + 4:off + 4 + n].decode("utf-16-le")
        off += 4 + n
        m = struct.unpack_from("<I", image, off)[0]
        entries.append((name, image[off + 4:off + 4 + m]))
    return entries


# --- The check ---------------------------------------------------------------------

def win(path):
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def make_folder(folder):
    rng = random.Random(7)
    files = {
        "Skin.ini": "[General]\r\nName=测试皮肤\r\nAuthor=kavrel\r\n".encode("gbk") * 40,
        "背景.png": bytes(rng.getrandbits(8) for _ in range(70000)),
        "stripes.bmp": bytes(range(256)) * 600,
        "empty.gif": b"",
    }
    os.makedirs(folder)
    for name, data in files.items():
        with open(os.path.join(folder, name), "wb") as f:
            f.write(data)
    # Sub-folders are not packed.
    os.makedirs(os.path.join(folder, "sub"))
    with open(os.path.join(folder, "sub", "inner.bmp"), "wb") as f:
        f.write(b"not packed")
    return files


def run_tool(build_dir, *args):
    exe = os.path.join(build_dir, "bin", "skin_pack_tool_child.exe")
    result = subprocess.run([os.environ.get("KAVREL_WINE", "/usr/lib/wine/wine64"), exe] + list(args), stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                            timeout=120)
    return result.returncode, result.stderr.decode("utf-8", "replace")


def check(build_dir):
    failures = []
    work = tempfile.mkdtemp(prefix="skin_pack_peer_")
    try:
        folder = os.path.join(work, "skin")
        files = make_folder(folder)
        for fmt in (1, 3):
            target = os.path.join(work, "out%d.vsf" % fmt)
            code, err = run_tool(build_dir, "pack", win(folder), win(target), str(fmt))
            if code != 0:
                failures.append("pack format %d: exit %d %s" % (fmt, code, err))
                continue
            with open(target, "rb") as f:
                blob = f.read()
            try:
                got_fmt, image = unpack(blob)
                entries = parse_list(image)
            except Exception as e:  # any parse failure is a mismatch
                failures.append("format %d: unreadable: %r" % (fmt, e))
                continue
            if got_fmt != fmt:
                failures.append("format %d written as %d" % (fmt, got_fmt))
            if dict(entries) != files or len(entries) != len(files):
                failures.append("format %d: entries %s differ from folder %s" %
                                (fmt, sorted(n for n, _ in entries), sorted(files)))
            # Our list layout must be the one an independent writer produces.
            if image != list_image(entries):
                failures.append("format %d: list image layout differs" % fmt)

        for fmt in (1, 3):
            source = os.path.join(work, "peer%d.vsf" % fmt)
            with open(source, "wb") as f:
                f.write(build_container(sorted(files.items()), fmt))
            out = os.path.join(work, "extract%d" % fmt)
            os.makedirs(out)
            code, err = run_tool(build_dir, "extract", win(source), win(out))
            if code != 0:
                failures.append("extract peer format %d: exit %d %s" % (fmt, code, err))
                continue
            got = {}
            for name in os.listdir(out):
                with open(os.path.join(out, name), "rb") as f:
                    got[name] = f.read()
            if got != files:
                failures.append("extract peer format %d: %s differ from %s" % (fmt, sorted(got), sorted(files)))

        # A damaged container is refused, not half-extracted.
        damaged = os.path.join(work, "damaged.vsf")
        blob = bytearray(build_container(sorted(files.items()), 3))
        blob[len(blob) // 2] ^= 0x40
        with open(damaged, "wb") as f:
            f.write(blob)
        out = os.path.join(work, "extract_damaged")
        os.makedirs(out)
        code, _ = run_tool(build_dir, "extract", win(damaged), win(out))
        if code != 1 or os.listdir(out):
            failures.append("damaged container: exit %d, files %s" % (code, os.listdir(out)))
    finally:
        shutil.rmtree(work, ignore_errors=True)
    for f in failures:
        print("FAIL:", f)
    print("skin_pack_peer: %s" % ("failed" if failures else "ok"))
    return 1 if failures else 0


FIXTURE_ENTRIES = [
    ("Skin.ini", b"[General]\r\nName=fixture\r\n"),
    ("图片.bmp", bytes(range(256)) * 4),
    ("empty.txt", b""),
]


def main():
    if len(sys.argv) == 3 and sys.argv[1] == "--make-fixture":
        with open(sys.argv[2], "wb") as f:
            f.write(build_container(FIXTURE_ENTRIES, 3))
        return 0
    if len(sys.argv) < 2:
        print(__doc__)
        return 2
    return check(sys.argv[1])


if __name__ == "__main__":
    sys.exit(main())
