#!/usr/bin/env python3
"""Packs the files directly inside a skin folder into a plain packed skin container.

Layout (all integers u32 little-endian):
  "Skin", format number 1, then the list image:
    total (whole list image in bytes, this field included; an empty list is the single u32 0),
    table bytes (4 x n), n offsets (from the start of the list image), then n entries;
  entry = name (byte count, UTF-16LE code units, no terminator) + data (byte count, bytes).
Entries are the folder's files in case-insensitive name order; sub-folders are not entered.

Usage: pack_skin.py <skin folder> <output file>
"""
import os
import struct
import sys


def entry_image(name, data):
    raw = name.encode("utf-16-le")
    return struct.pack("<I", len(raw)) + raw + struct.pack("<I", len(data)) + data


def list_image(entries):
    if not entries:
        return struct.pack("<I", 0)
    images = [entry_image(n, d) for n, d in entries]
    head = 8 + 4 * len(images)
    offsets, pos = [], head
    for img in images:
        offsets.append(pos)
        pos += len(img)
    if pos > 0xFFFFFFFF:
        raise ValueError("skin folder too large for a packed container")
    return struct.pack("<II", pos, 4 * len(images)) + struct.pack("<%dI" % len(offsets), *offsets) + b"".join(images)


def folder_entries(folder):
    entries = []
    for name in sorted(os.listdir(folder), key=lambda n: (n.upper(), n)):
        path = os.path.join(folder, name)
        if os.path.isfile(path):
            with open(path, "rb") as f:
                entries.append((name, f.read()))
    return entries


def pack_folder(folder):
    return b"Skin" + struct.pack("<I", 1) + list_image(folder_entries(folder))


def main():
    if len(sys.argv) != 3:
        sys.exit("usage: pack_skin.py <skin folder> <output file>")
    folder, out = sys.argv[1], sys.argv[2]
    if not os.path.isdir(folder):
        sys.exit("pack_skin.py: not a folder: %s" % folder)
    image = pack_folder(folder)
    os.makedirs(os.path.dirname(os.path.abspath(out)), exist_ok=True)
    # Written under a temporary name first, so an interrupted build leaves no half file.
    tmp = out + ".part"
    with open(tmp, "wb") as f:
        f.write(image)
    os.replace(tmp, out)


if __name__ == "__main__":
    main()
