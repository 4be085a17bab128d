#!/usr/bin/env python3
"""Every program and DLL of the build is a 64-bit Windows file, and ZipLib.dll exports
exactly its plain names.

Usage: pe_machine_peer.py BUILD_DIR SOURCE_DIR

Reads the PE headers directly (no Wine): the machine field must be x86-64 (0x8664) with a
PE32+ optional header; ZipLib.dll's export table must list the names of its .def and
nothing decorated.
"""
import os
import struct
import sys

BUILD, SOURCE = sys.argv[1], sys.argv[2]
failures = []


def check(ok, what):
    print(("ok   " if ok else "FAIL ") + what)
    if not ok:
        failures.append(what)


def pe_headers(data):
    """(machine, optional-header magic, sections, optional header offset, optional size)"""
    if data[:2] != b"MZ":
        return None
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    if data[pe:pe + 4] != b"PE\0\0":
        return None
    machine, nsect = struct.unpack_from("<HH", data, pe + 4)
    opt_size = struct.unpack_from("<H", data, pe + 20)[0]
    opt = pe + 24
    magic = struct.unpack_from("<H", data, opt)[0]
    sections = []
    for i in range(nsect):
        s = opt + opt_size + 40 * i
        vsize, vaddr, rsize, raddr = struct.unpack_from("<IIII", data, s + 8)
        sections.append((vaddr, max(vsize, rsize), raddr))
    return machine, magic, sections, opt


def rva_to_offset(sections, rva):
    for vaddr, size, raddr in sections:
        if vaddr <= rva < vaddr + size:
            return rva - vaddr + raddr
    raise ValueError("rva outside the sections")


def export_names(data):
    machine, magic, sections, opt = pe_headers(data)
    export_rva = struct.unpack_from("<I", data, opt + 112)[0]  # data directory 0 of PE32+
    if not export_rva:
        return []
    e = rva_to_offset(sections, export_rva)
    count, _, names_rva = struct.unpack_from("<III", data, e + 24)
    names = []
    table = rva_to_offset(sections, names_rva)
    for i in range(count):
        n = rva_to_offset(sections, struct.unpack_from("<I", data, table + 4 * i)[0])
        names.append(data[n:data.index(b"\0", n)].decode())
    return names


binaries = []
for folder, _, files in os.walk(os.path.join(BUILD, "bin")):
    if "wineprefix" in folder:
        continue
    binaries += [os.path.join(folder, f) for f in files if f.lower().endswith((".exe", ".dll"))]
check(len(binaries) > 0, "the build folder holds programs")
for path in sorted(binaries):
    with open(path, "rb") as f:
        head = pe_headers(f.read())
    rel = os.path.relpath(path, BUILD)
    check(head is not None and head[0] == 0x8664 and head[1] == 0x20B, rel + " is PE32+ x86-64")

with open(os.path.join(SOURCE, "companions", "ziplib", "ziplib.def")) as f:
    lines = [l.split(";")[0].strip() for l in f]
expected = sorted(l for l in lines[lines.index("EXPORTS") + 1:] if l)
with open(os.path.join(BUILD, "bin", "ZipLib.dll"), "rb") as f:
    exported = sorted(export_names(f.read()))
check(exported == expected, "ZipLib.dll exports exactly %s (got %s)" % (expected, exported))

if failures:
    print("%d failure(s)" % len(failures))
    sys.exit(1)
