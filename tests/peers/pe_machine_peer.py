#!/usr/bin/env python3
"""Every program and DLL of the build is a 64-bit Windows file, ZipLib.dll exports
exactly its plain names, and Kavrel.exe imports from ZipLib.dll only names that the
maker's library exports too.

Usage: pe_machine_peer.py BUILD_DIR SOURCE_DIR

Reads the PE headers directly (no Wine): the machine field must be x86-64 (0x8664) with a
PE32+ optional header; ZipLib.dll's export table must list the names of its .def and
nothing decorated; the maker-exports build (bin/ziplib_maker) exports exactly the names of
ziplib_maker.def, and those hold every name Kavrel.exe imports from ZipLib.dll at load time
(our additions are looked up by name while it runs).
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


def import_names(data, dll):
    """Names imported by name from the DLL (case-insensitive match of its file name)."""
    machine, magic, sections, opt = pe_headers(data)
    import_rva = struct.unpack_from("<I", data, opt + 120)[0]  # data directory 1 of PE32+
    names = []
    if not import_rva:
        return names
    d = rva_to_offset(sections, import_rva)
    while True:
        lookup_rva, _, _, name_rva, thunk_rva = struct.unpack_from("<IIIII", data, d)
        if not name_rva:
            break
        n = rva_to_offset(sections, name_rva)
        if data[n:data.index(b"\0", n)].decode().lower() == dll.lower():
            t = rva_to_offset(sections, lookup_rva or thunk_rva)
            while True:
                entry = struct.unpack_from("<Q", data, t)[0]
                if not entry:
                    break
                if not entry >> 63:
                    h = rva_to_offset(sections, entry & 0x7FFFFFFF) + 2
                    names.append(data[h:data.index(b"\0", h)].decode())
                t += 8
        d += 20
    return names


def def_names(name):
    with open(os.path.join(SOURCE, "companions", "ziplib", name)) as f:
        lines = [l.split(";")[0].strip() for l in f]
    return sorted(l for l in lines[lines.index("EXPORTS") + 1:] if l)


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

for folder, def_file in (("", "ziplib.def"), ("ziplib_maker", "ziplib_maker.def")):
    expected = def_names(def_file)
    path = os.path.join(BUILD, "bin", folder, "ZipLib.dll")
    with open(path, "rb") as f:
        exported = sorted(export_names(f.read()))
    check(exported == expected, "%s exports exactly %s (got %s)" % (os.path.relpath(path, BUILD), expected, exported))

maker = set(def_names("ziplib_maker.def"))
with open(os.path.join(BUILD, "bin", "Kavrel.exe"), "rb") as f:
    imported = sorted(import_names(f.read(), "ZipLib.dll"))
check("UnZip" in imported and "ZipFolder" in imported and set(imported) <= maker,
      "Kavrel.exe imports from ZipLib.dll only the maker's names (got %s)" % imported)

if failures:
    print("%d failure(s)" % len(failures))
    sys.exit(1)
