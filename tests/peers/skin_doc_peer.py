#!/usr/bin/env python3
"""Opens, edits and saves a skin package end to end, with independent tools at both ends.

Usage: skin_doc_peer.py <build-dir> <source-dir>

Info-ZIP `zip` packs the hand-written skin folder skin_model/testdata/doc_skin; our
program (skin_doc_tool_child.exe under Wine) opens it, changes values in three parts and
saves it under a new name; Python's zipfile then checks the saved package (the expected
Skin.ini, the pictures, nothing unreferenced, no skinbak.ini) and the work folder the
program left (the uncleaned Skin.ini and skinbak.ini). Exits non-zero on any mismatch.
"""
import os
import re
import shutil
import subprocess
import sys
import tempfile
import zipfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from peer_common import check, finish, run, win  # noqa: E402


def ini_text(data, what):
    check(data[:2] == b"\xff\xfe", what + ": UTF-16LE with byte-order mark")
    return data[2:].decode("utf-16-le")


def main():
    build_dir, source_dir = sys.argv[1], sys.argv[2]
    fixture = os.path.join(source_dir, "skin_model", "testdata", "doc_skin")
    golden_path = os.path.join(source_dir, "skin_model", "testdata", "doc_skin_golden.ini")
    work = tempfile.mkdtemp(prefix="kavrel_doc_peer_")
    try:
        package = os.path.join(work, "原皮肤.vsf")
        subprocess.run(["zip", "-q", "-r", "-X", package, "."], cwd=fixture, check=True)

        saved = os.path.join(work, "新皮肤.vsf")
        snapshot = os.path.join(work, "snapshot")
        code, out, err = run(build_dir, "skin_doc_tool_child.exe",
                             ["tmp", win(work), "open", win(package),
                              "set", "general.name", "新名字",
                              "set", "display.font_size", "18",
                              "set", "status.opaque", "200",
                              "saveas", win(saved), "snapshot", win(snapshot)])
        check(code == 0, "the tool ran through (exit %d): %s" % (code, err.strip()))
        if code != 0:
            return

        with zipfile.ZipFile(saved) as archive:
            check(archive.testzip() is None, "the saved package tests clean")
            names = sorted(archive.namelist())
            check(names == sorted(["Skin.ini", "cn.png", "en.png", "skin1.png", "status.png"]),
                  "saved entries: %s" % names)
            for name in ("cn.png", "en.png", "skin1.png", "status.png"):
                with open(os.path.join(fixture, name), "rb") as f:
                    check(archive.read(name) == f.read(), name + " saved unchanged")
            text = ini_text(archive.read("Skin.ini"), "saved Skin.ini")
        # Saving stamps the date; everything else is fixed.
        stamped = re.sub(r"skin_time=\d{4}\.\d{2}\.\d{2}", "skin_time=@TODAY@", text)
        check(stamped != text, "the saved Skin.ini carries a skin_time date")
        with open(golden_path, "rb") as f:
            golden = ini_text(f.read(), "golden")
        check(stamped == golden, "the saved Skin.ini equals the golden file")

        # The work folder as the program left it: uncleaned, with the committed Skin.ini.
        listed = sorted(os.listdir(snapshot))
        check("unused.png" in listed, "the work folder keeps the picture the cleaner dropped")
        check("skinbak.ini" in listed, "the work folder holds skinbak.ini")
        with open(os.path.join(snapshot, "Skin.ini"), "rb") as f:
            committed = ini_text(f.read(), "work Skin.ini")
        with open(os.path.join(snapshot, "skinbak.ini"), "rb") as f:
            check(ini_text(f.read(), "skinbak.ini") == committed, "skinbak.ini holds the committed Skin.ini")
        for line in ("skin_name=新名字", "font_size=18", "opaque=200", "font_en=Arial", "pic=skin1.png"):
            check(line in committed.split("\r\n"), "work Skin.ini has " + line)
        # Keys that the cleaner prunes as defaults stay in the uncleaned copy.
        check(len(committed) > len(text), "the work Skin.ini is the uncleaned one")
        check("[Scheme_H1]" in committed and "transparent_color_enable=0" in committed,
              "work Skin.ini keeps default-valued keys")
    finally:
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    main()
    finish("skin document peer")
