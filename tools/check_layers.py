#!/usr/bin/env python3
"""Fails on an #include that reaches up a layer.

The layer order is read from the README's "layers" block: one line per layer, highest
first; layers on one line, separated by ";", are siblings; "a | b" families are siblings too; after a folder's colon, its
family folders, highest first, separated by ">" (or "|" for siblings). Production code
may include its own family, lower families of its own folder and lower layers; test code
(*_test.cpp, *_child.cpp, testdata/) may in addition include its whole folder and
tests/support. tests/, bench/ and art/ sit above everything.
"""
import os
import re
import subprocess
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
TOP_TOOLS = ("tests", "bench", "art")
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.M)


def read_layers(readme):
    text = open(readme, encoding="utf-8").read()
    match = re.search(r"```layers\n(.*?)```", text, re.S)
    if not match:
        sys.exit(f"{readme}: no ```layers block")
    layers = {}  # folder -> (rank, {family: rank})
    lines = [l for l in match.group(1).splitlines() if l.strip()]
    for rank, line in enumerate(reversed(lines)):
        for part in line.split(";"):
            folder, _, families = part.partition(":")
            folder = folder.strip()
            fam = {}
            chain = [g for g in families.split(">") if g.strip()]
            for frank, group in enumerate(reversed(chain)):
                for name in group.split("|"):
                    fam[name.strip()] = frank
            layers[folder] = (rank, fam)
    return layers


def family_of(path, fam):
    """The family folder of path inside its layer folder ('.' for files at its root)."""
    rel = path.split("/", 1)[1] if "/" in path else ""
    best = "."
    for name in fam:
        if name != "." and (rel == name or rel.startswith(name + "/")) and len(name) > len(best):
            best = name
    return best if best in fam else None


def is_test(path):
    base = os.path.basename(path)
    return base.endswith(("_test.cpp", "_child.cpp")) or "/testdata/" in path


def main():
    layers = read_layers(os.path.join(ROOT, "README.md"))
    files = subprocess.check_output(["git", "-C", ROOT, "ls-files", "--cached", "--others",
                                     "--exclude-standard"], text=True).split("\n")
    errors = []
    for path in files:
        if not path.endswith((".h", ".cpp", ".c", ".rc")) or not os.path.exists(os.path.join(ROOT, path)):
            continue
        top = path.split("/", 1)[0]
        if top in TOP_TOOLS or top not in layers:
            continue
        rank, fam = layers[top]
        src_family = family_of(path, fam)
        if fam and src_family is None and not is_test(path):
            errors.append(f"{path}: its folder is not in the README's layers block")
            continue
        text = open(os.path.join(ROOT, path), encoding="utf-8", errors="replace").read()
        for match in INCLUDE.finditer(text):
            target = match.group(1)
            line = text.count("\n", 0, match.start()) + 1
            ttop = target.split("/", 1)[0]
            if ttop not in layers and ttop not in TOP_TOOLS:
                continue  # a third-party or system header
            where = f"{path}:{line}: includes {target}"
            if ttop in TOP_TOOLS:
                if not (is_test(path) and target.startswith("tests/support/")):
                    errors.append(f"{where}: only test code includes {ttop}/, and only tests/support")
                continue
            trank = layers[ttop][0]
            if ttop != top:
                if trank >= rank:
                    errors.append(f"{where}: {ttop}/ is not below {top}/")
                continue
            if is_test(path) or not fam:
                continue
            tfam = family_of(target, fam)
            if tfam is None:
                errors.append(f"{where}: its folder is not in the README's layers block")
                continue
            if tfam != src_family and fam[tfam] >= fam[src_family]:
                errors.append(f"{where}: {top}/{tfam} is not below {top}/{src_family}")
    for e in errors:
        print(e)
    if errors:
        print(f"{len(errors)} include(s) go up a layer; the order is the README's layers block")
        return 1
    print("layers: every include goes down")
    return 0


if __name__ == "__main__":
    sys.exit(main())
