#!/usr/bin/env python3
"""Packages from someone else, made with Info-ZIP, opened and saved by our skin document.

Usage: hostile_skin_peer.py <build-dir> <source-dir>

1. For each picture value that points outside the skin (a drive, "..", a UNC prefix, a
   rooted path, a network share) a package is zipped with Info-ZIP; skin_doc_tool_child
   opens it, saves it and reopens the saved package. The program must report the value
   ("图片路径无效"), and no byte of the sentinel file the values point at may reach the
   saved package, whose Skin.ini must not name it either.
2. An Info-ZIP archive holding "Skin.ini" and "SKIN.INI" (and two pictures equal but for
   case) must give the first entry's bytes through both roads of ZipLib.dll: unzipping the
   whole archive and extracting one entry by name; the document reports the skipped ones.
3. Saving into a read-only folder fails with "压缩失败" followed by the system's reason
   and the path.
Exits non-zero on any mismatch.
"""
import os
import shutil
import subprocess
import sys
import tempfile
import zipfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from peer_common import check, finish, run, win  # noqa: E402


def write_skin(folder, fixture, ini_lines):
    os.makedirs(folder)
    for name in ("skin1.png", "status.png", "cn.png", "en.png"):
        shutil.copy(os.path.join(fixture, name), folder)
    with open(os.path.join(folder, "Skin.ini"), "wb") as f:
        f.write(b"\xef\xbb\xbf" + "\r\n".join(ini_lines).encode("utf-8") + b"\r\n")


def hostile_values(build_dir, fixture, work):
    secret = os.path.join(work, "secret.png")
    sentinel = b"SENTINEL:" + os.urandom(24).hex().encode()
    with open(secret, "wb") as f:
        f.write(sentinel)
    tmp = os.path.join(work, "t")  # the work folder is t\SkinTmp: "..\..\" is work
    os.makedirs(tmp)
    values = [
        win(secret),
        "..\\..\\secret.png",
        "sub\\..\\..\\..\\secret.png",
        "\\\\?\\" + win(secret),
        win(secret)[2:],
        "\\\\server\\share\\secret.png",
    ]
    for n, value in enumerate(values):
        folder = os.path.join(work, "skin%d" % n)
        write_skin(folder, fixture, ["[General]", "skin_name=hostile", "[Scheme_H1]", "pic=" + value,
                                     "pic_mask=" + value, "[StatusBar]", "pic=" + value, "cn_en_display=1",
                                     "cn_en=cn.png," + value])
        package = os.path.join(work, "hostile%d.vsf" % n)
        subprocess.run(["zip", "-q", "-r", "-X", package, "."], cwd=folder, check=True)
        saved = os.path.join(work, "saved%d.vsf" % n)
        code, out, err = run(build_dir, "skin_doc_tool_child.exe",
                             ["tmp", win(tmp), "open", win(package), "saveas", win(saved), "close",
                              "open", win(saved)], cwd=work)
        what = "value %r" % value
        check(code == 0, "%s: the tool ran through (exit %d): %s" % (what, code, err.strip()))
        notes = [line for line in out.splitlines() if line.startswith("note: ")]
        check(notes == ["note: 图片路径无效:" + value, "note: 图片路径无效:cn.png," + value],
              "%s: reported once per value on the first open only: %s" % (what, notes))
        if code != 0:
            continue
        with zipfile.ZipFile(saved) as archive:
            check(archive.testzip() is None, what + ": the saved package tests clean")
            for name in archive.namelist():
                check(sentinel not in archive.read(name), "%s: %s holds none of the outside file" % (what, name))
            text = archive.read("Skin.ini")[2:].decode("utf-16-le")
            check("secret" not in text, what + ": the saved Skin.ini does not name the outside file")
    with open(secret, "rb") as f:
        check(f.read() == sentinel, "the outside file is unchanged")


def case_duplicates(build_dir, fixture, work):
    folder = os.path.join(work, "dup")
    os.makedirs(folder)
    entries = [("Skin.ini", "[General]\r\nskin_name=first\r\n".encode("utf-8")),
               ("SKIN.INI", "[General]\r\nskin_name=second\r\n".encode("utf-8")),
               ("a.png", b"first picture"), ("A.PNG", b"second picture")]
    for name, data in entries:
        with open(os.path.join(folder, name), "wb") as f:
            f.write(data)
    package = os.path.join(work, "dup.vsf")
    subprocess.run(["zip", "-q", "-X", package] + [name for name, _ in entries], cwd=folder, check=True)
    with zipfile.ZipFile(package) as archive:
        check(archive.namelist() == [name for name, _ in entries], "Info-ZIP kept the four entries in order")

    out = os.path.join(work, "dup_out")
    code, _, err = run(build_dir, "zip_tool.exe", ["unzip", win(package), win(out)], cwd=work)
    check(code == 0, "UnZip of the case duplicates succeeds (%d): %s" % (code, err))
    listed = sorted(os.listdir(out)) if os.path.isdir(out) else []
    check(listed == ["Skin.ini", "a.png"], "UnZip writes one file per name: %s" % listed)
    for asked, first, written in (("Skin.ini", entries[0][1], "Skin.ini"), ("SKIN.INI", entries[0][1], "Skin.ini"),
                                  ("A.PNG", entries[2][1], "a.png"), ("a.png", entries[2][1], "a.png")):
        one = os.path.join(work, "one.bin")
        code, _, err = run(build_dir, "zip_tool.exe", ["get", win(package), asked, win(one)], cwd=work)
        check(code == 0, "UnZipFile of %s succeeds (%d)" % (asked, code))
        if code != 0 or not os.path.exists(os.path.join(out, written)):
            continue
        with open(one, "rb") as f:
            single = f.read()
        with open(os.path.join(out, written), "rb") as f:
            whole = f.read()
        check(single == whole == first, "%s: the same first bytes through both roads" % asked)

    tmp = os.path.join(work, "t2")
    os.makedirs(tmp)
    snapshot = os.path.join(work, "dup_snapshot")
    code, out_text, err = run(build_dir, "skin_doc_tool_child.exe",
                              ["tmp", win(tmp), "open", win(package), "snapshot", win(snapshot)], cwd=work)
    check(code == 0, "the document opens the case duplicates (%d): %s" % (code, err))
    notes = [line for line in out_text.splitlines() if line.startswith("note: ")]
    check(len(notes) == 2 and "SKIN.INI" in notes[0] and "A.PNG" in notes[1], "skipped entries reported: %s" % notes)
    if code == 0:
        with open(os.path.join(snapshot, "Skin.ini"), "rb") as f:
            check(f.read() == entries[0][1], "the editor sees the first Skin.ini")


def read_only_target(build_dir, fixture, work):
    folder = os.path.join(work, "ro")
    os.makedirs(folder)
    package = os.path.join(work, "doc.vsf")
    subprocess.run(["zip", "-q", "-r", "-X", package, "."], cwd=fixture, check=True)
    # Root writes through missing permission bits; the immutable attribute stops it too.
    if os.geteuid() == 0:
        locked = subprocess.run(["chattr", "+i", folder], stderr=subprocess.DEVNULL).returncode == 0
    else:
        os.chmod(folder, 0o555)
        locked = True
    if not locked:
        print("read-only folder check skipped: the folder cannot be made read-only here")
        return
    try:
        target = os.path.join(folder, "x.vsf")
        tmp = os.path.join(work, "t3")
        os.makedirs(tmp)
        code, _, err = run(build_dir, "skin_doc_tool_child.exe",
                           ["tmp", win(tmp), "open", win(package), "saveas", win(target)], cwd=work)
        lines = err.splitlines()
        check(code == 3, "saving into a read-only folder fails at the save (exit %d)" % code)
        check(len(lines) >= 2 and lines[0] == "压缩失败" and lines[1].startswith("系统错误5:"),
              "the failure names the denied access: %s" % lines)
        check(win(target) in err, "the failure names the path")
        check(not os.path.exists(target), "nothing is written into the read-only folder")
    finally:
        if os.geteuid() == 0:
            subprocess.run(["chattr", "-i", folder])
        else:
            os.chmod(folder, 0o755)


def main():
    build_dir, source_dir = os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2])
    fixture = os.path.join(source_dir, "skin_model", "testdata", "doc_skin")
    work = tempfile.mkdtemp(prefix="kavrel_hostile_peer_")
    for part in ("values", "case", "target"):
        os.makedirs(os.path.join(work, part))
    try:
        hostile_values(build_dir, fixture, os.path.join(work, "values"))
        case_duplicates(build_dir, fixture, os.path.join(work, "case"))
        read_only_target(build_dir, fixture, os.path.join(work, "target"))
    finally:
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    main()
    finish("hostile skin peer")
