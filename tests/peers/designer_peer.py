#!/usr/bin/env python3
"""A designer's session with the editor, end to end, with independent tools at both ends.

Usage: designer_peer.py <build-dir> <source-dir>

Info-ZIP `zip` packs the hand-written skin folder tests/peers/testdata/designer_skin; the
program designer_run_child.exe (under Wine) starts the editor's main frame, opens the
package, changes a text colour on the display page, imports a window picture on a layout
page (checking that the adjustment lines show the fixed edges) and a button picture on a
button page, adds, shows and pictures a custom button, moves a status button (typed
position, then the arrow key), checks that each change reaches the preview, saves under a
new name, closes, reopens and checks the model (the custom button still ticked, also after
another of its pictures is imported); then moves the button again, saves over that package
and reopens it. Python's zipfile then checks the saved package: the Skin.ini values (the
display keys no page edits included) and the imported pictures. The wall time of each
step is printed. Exits non-zero on any mismatch.
"""
import hashlib
import os
import re
import shutil
import struct
import subprocess
import sys
import tempfile
import time
import zipfile
import zlib

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from peer_common import FAILURES, WINE, check, finish, win  # noqa: E402

COLOUR = 0x3010E0  # as Skin.ini writes a colour: 0xBBGGRR


def png(path, width, height, rgba):
    """A plain RGBA picture of one colour."""
    raw = b"".join(b"\x00" + bytes(rgba) * width for _ in range(height))

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)

    data = (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)) +
            chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))
    with open(path, "wb") as f:
        f.write(data)
    return data


def ini_sections(data):
    if data[:2] == b"\xff\xfe":
        text = data[2:].decode("utf-16-le")
    else:
        text = data.decode("utf-8-sig")
    sections = {}
    current = None
    for line in text.splitlines():
        line = line.strip()
        if line.startswith("[") and line.endswith("]"):
            current = sections.setdefault(line[1:-1], {})
        elif current is not None and "=" in line:
            key, value = line.split("=", 1)
            current[key] = value
    return sections


def main():
    build_dir, source_dir = sys.argv[1], sys.argv[2]
    fixture = os.path.join(source_dir, "tests", "peers", "testdata", "designer_skin")
    work = tempfile.mkdtemp(prefix="kavrel_designer_peer_")
    try:
        package = os.path.join(work, "设计稿.vsf")
        started = time.monotonic()
        subprocess.run(["zip", "-q", "-r", "-X", package, "."], cwd=fixture, check=True)
        print("step zip %.0f" % ((time.monotonic() - started) * 1000))
        window_picture = os.path.join(work, "新窗口.png")
        window_bytes = png(window_picture, 96, 40, (0x30, 0x60, 0xC0, 0xFF))
        button_picture = os.path.join(work, "new_down.png")
        button_bytes = png(button_picture, 12, 16, (0x10, 0xB0, 0x40, 0xFF))
        saved = os.path.join(work, "改好的.vsf")
        with open(package, "rb") as f:
            package_digest = hashlib.sha256(f.read()).hexdigest()

        exe = os.path.join(build_dir, "bin", "designer_run_child.exe")
        started = time.monotonic()
        log_path = os.path.join(work, "session.log")
        with open(log_path, "wb") as log:
            process = subprocess.Popen([WINE, exe, win(package), win(saved), win(window_picture),
                                        win(button_picture), "%06x" % COLOUR], stdout=log, stderr=subprocess.STDOUT)
            try:
                code = process.wait(timeout=120)
            except subprocess.TimeoutExpired:
                process.kill()
                code = process.wait()
                check(False, "the session finished within 120 s")
        print("step program %.0f" % ((time.monotonic() - started) * 1000))
        with open(log_path, "rb") as log:
            out = log.read().decode("utf-8", "replace")
        print(out, end="")
        check(code == 0, "the session ran through (exit %d)" % code)
        steps = [line.split()[1] for line in out.splitlines() if line.startswith("step ")]
        for step in ("start", "open", "display_colour", "layout_picture", "button_picture", "custom_button",
                     "status_position", "save_as", "edit_and_save", "close", "reopen", "verify",
                     "custom_button_reopened", "save_in_place", "reopen_again"):
            check(step in steps, "the session reported step " + step)
        with open(package, "rb") as f:
            check(hashlib.sha256(f.read()).hexdigest() == package_digest,
                  "saving under a new name leaves the opened package alone")
        if not os.path.exists(saved):
            check(False, "the saved package exists")
            return

        with zipfile.ZipFile(saved) as archive:
            check(archive.testzip() is None, "the saved package tests clean")
            names = set(archive.namelist())
            sections = ini_sections(archive.read("Skin.ini"))
            display = sections.get("Display", {})
            check(display.get("zhongwen_first_color") == "0x%06x" % COLOUR,
                  "saved colour: %s" % display.get("zhongwen_first_color"))
            scheme = sections.get("Scheme_H1", {})
            window_name = scheme.get("pic", "")
            check(window_name in names and archive.read(window_name) == window_bytes,
                  "saved window picture %r is the imported one" % window_name)
            check(scheme.get("layout_horizontal") == "0,7,8", "saved stretch: %s" % scheme.get("layout_horizontal"))
            button_name = scheme.get("pagedown", "").split(",")[0]
            check(button_name in names and archive.read(button_name) == button_bytes,
                  "saved page-down picture %r is the imported one" % button_name)
            position = sections.get("StatusBar", {}).get("cn_en_pos")
            check(position == "31,7", "saved status-button position: %s" % position)
            # What the designer did not touch keeps its pictures; the editor may rename a
            # picture, so each is found through the saved Skin.ini.
            untouched = [("Scheme_H1", "pageup", 0, "up.png"), ("Scheme_H1", "pageup", 1, "up_off.png"),
                         ("Scheme_H1", "pagedown", 1, "down_off.png"), ("StatusBar", "pic", 0, "bar.png"),
                         ("StatusBar", "cn_en", 0, "cn.png"), ("StatusBar", "cn_en", 1, "en.png")]
            for section, key, position, original in untouched:
                value = sections.get(section, {}).get(key, "").split(",")
                name = value[position] if position < len(value) else ""
                with open(os.path.join(fixture, original), "rb") as f:
                    check(name in names and archive.read(name) == f.read(),
                          "[%s] %s keeps %s (saved as %r)" % (section, key, original, name))
            check(sections.get("General", {}).get("skin_name") == "设计师的皮肤", "the skin keeps its name")
            # Display keys that no page edits (colours and switches only the input method
            # reads) keep their values, so the saved skin previews as it did before saving.
            with open(os.path.join(fixture, "Skin.ini"), "rb") as f:
                given = ini_sections(f.read()).get("Display", {})
            for key in ("result_color", "bihua_color", "caret_color", "clear_edge", "webpage"):
                check(display.get(key) == given.get(key),
                      "[Display] %s keeps %r (saved %r)" % (key, given.get(key), display.get(key)))
            # Every picture Skin.ini names is in the package, and every picture in it is named.
            named = set()
            for values in sections.values():
                for value in values.values():
                    named.update(v for v in value.split(",") if re.search(r"\.(png|bmp|gif|jpg)$", v, re.I))
            check(named <= names, "pictures named but missing: %s" % sorted(named - names))
            unnamed = names - {"Skin.ini"} - named
            check(not unnamed, "pictures packed but not named: %s" % sorted(unnamed))
            if FAILURES:
                print("saved entries:", sorted(names))
                for name in ("Scheme_H1", "StatusBar"):
                    print("[%s]" % name, {k: v for k, v in sections.get(name, {}).items() if v not in ("", ",", ",,")})
    finally:
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    main()
    finish("designer peer")
