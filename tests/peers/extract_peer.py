#!/usr/bin/env python3
"""Runtime skins made by t_envSkin::Extract2 from packages that independent tools wrote.

Usage: extract_peer.py BUILD_DIR SOURCE_DIR (Wine up, WINEPREFIX exported)

Python's zipfile (deflated, UTF-8 names, streamed with data descriptors) and Info-ZIP zip
write skin packages; the container readers of skin_pack_peer.py write packed ones. Our
program (extract_tool_child.exe, under Wine) converts each; this script reads the runtime
skin with its own container reader and checks every entry against what it put in: zip
archives give format 1 with "skin.ini" and the files it names (under the names it uses),
containers give format 3 with every entry. A package without "skin.ini" fails with code 6
and stays byte for byte as it was.
"""
import io
import os
import shutil
import subprocess
import sys
import tempfile
import zipfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import skin_pack_peer  # noqa: E402  (the container reader and writer)

BUILD = sys.argv[1]
TOOL = os.path.join(BUILD, "bin", "extract_tool_child.exe")
failures = []


def check(ok, what):
    print(("ok   " if ok else "FAIL ") + what)
    if not ok:
        failures.append(what)


def extract(work, package, target):
    result = subprocess.run([os.environ.get("KAVREL_WINE", "/usr/lib/wine/wine64"), TOOL, skin_pack_peer.win(os.path.join(work, "install")),
                             skin_pack_peer.win(package), skin_pack_peer.win(target)], capture_output=True, timeout=300)
    return result.returncode, result.stdout.decode("utf-8", "replace")


def read_runtime_skin(path):
    with open(path, "rb") as f:
        fmt, image = skin_pack_peer.unpack(f.read())
    return fmt, dict(skin_pack_peer.parse_list(image))


class Unseekable(io.RawIOBase):
    """A write-only stream without seek, so that zipfile writes data descriptors."""

    def __init__(self):
        self.data = bytearray()

    def writable(self):
        return True

    def write(self, b):
        self.data += b
        return len(b)


INDEX = ("[General]\r\nName=蓝色\r\nversion=3\r\n[Display]\r\nBack=背景.png, bg.BMP\r\n"
         "Hover=背景.png\r\n").encode("gbk")
FILES = {"skin.ini": INDEX, "背景.png": os.urandom(30000), "bg.bmp": b"BM" + bytes(range(256)) * 40,
         "readme.txt": b"not named by skin.ini"}
EXPECTED = {"skin.ini": INDEX, "背景.png": FILES["背景.png"], "bg.BMP": FILES["bg.bmp"]}


def zipfile_package(path, method, streamed):
    out = Unseekable() if streamed else open(path, "wb")
    with zipfile.ZipFile(out, "w", method) as z:
        for name, data in FILES.items():
            z.writestr(name, data)
    if streamed:
        with open(path, "wb") as f:
            f.write(out.data)
    else:
        out.close()


def main():
    work = tempfile.mkdtemp(prefix="extract_peer_")
    try:
        packages = {}
        for label, method, streamed in (("zipfile deflated", zipfile.ZIP_DEFLATED, False),
                                        ("zipfile stored", zipfile.ZIP_STORED, False),
                                        ("zipfile streamed", zipfile.ZIP_DEFLATED, True)):
            path = os.path.join(work, label.replace(" ", "_") + ".vsf")
            zipfile_package(path, method, streamed)
            packages[label] = path
        if shutil.which("zip"):
            folder = os.path.join(work, "folder")
            os.makedirs(folder)
            for name, data in FILES.items():
                with open(os.path.join(folder, name), "wb") as f:
                    f.write(data)
            path = os.path.join(work, "infozip.vsf")
            subprocess.run(["zip", "-q", "-r", "-9", path, "."], cwd=folder, check=True, env=dict(os.environ, LC_ALL="C.UTF-8"))
            packages["Info-ZIP zip"] = path

        for label, path in packages.items():
            target = os.path.join(work, label.replace(" ", "_") + ".dat")
            code, lines = extract(work, path, target)
            check(code == 0 and lines == "", "%s: converted (exit %d) %s" % (label, code, lines.strip()))
            if code == 0:
                fmt, entries = read_runtime_skin(target)
                check(fmt == 1, "%s: plain container" % label)
                check(entries == EXPECTED, "%s: skin.ini and the files it names, nothing else (%s)"
                      % (label, sorted(entries)))

        container_entries = [("skin.ini", b"[General]\r\nversion=7\r\n"), ("图.png", os.urandom(5000)),
                             ("notes.txt", b"kept")]
        for fmt in (1, 3):
            path = os.path.join(work, "container%d.vsf" % fmt)
            with open(path, "wb") as f:
                f.write(skin_pack_peer.build_container(container_entries, fmt))
            target = os.path.join(work, "container%d.dat" % fmt)
            code, lines = extract(work, path, target)
            check(code == 0, "container format %d: converted (exit %d) %s" % (fmt, code, lines.strip()))
            if code == 0:
                out_fmt, entries = read_runtime_skin(target)
                check(out_fmt == 3 and entries == dict(container_entries),
                      "container format %d: packed, every entry kept" % fmt)

        path = os.path.join(work, "no_index.vsf")
        with zipfile.ZipFile(path, "w", zipfile.ZIP_DEFLATED) as z:
            z.writestr("背景.png", b"x" * 100)
        with open(path, "rb") as f:
            before = f.read()
        target = os.path.join(work, "no_index.dat")
        code, lines = extract(work, path, target)
        check(code == 106 and "skin.ini不存在" in lines, "no skin.ini: code 6 (exit %d)" % code)
        with open(path, "rb") as f:
            check(f.read() == before, "no skin.ini: the package is still there, unchanged")
        check(not os.path.exists(target), "no skin.ini: no runtime skin written")
    finally:
        shutil.rmtree(work, ignore_errors=True)
    print("%d failures" % len(failures))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
