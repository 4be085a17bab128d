#!/usr/bin/env python3
"""ZipLib.dll against independent zip tools.

Usage: ziplib_peer.py BUILD_DIR SOURCE_DIR (Wine up, WINEPREFIX exported)

- Archives written by ZipFolder pass Info-ZIP `unzip -t`, Python's zipfile and `7z t`, and
  both tools give back the same files, Chinese names included.
- UnZip reads archives written by Info-ZIP zip (to a file and streamed, with data
  descriptors), Python's zipfile (stored, deflated, data descriptors, UTF-8 and
  code-page-936 names) and 7z; PrepareUnzipFile/UnZipFile read single entries of them.
- Hostile archives (traversal in both separators, absolute, drive and UNC names, encrypted
  entries, bombs) are refused and nothing is written anywhere.
"""
import io
import os
import shutil
import struct
import subprocess
import sys
import tempfile
import zipfile

BUILD, SOURCE = sys.argv[1], sys.argv[2]
TOOL = os.path.join(BUILD, "bin", "zip_tool.exe")
E_REFUSED, E_TOO_BIG = 3, 4
failures = []


def check(ok, what):
    print(("ok   " if ok else "FAIL ") + what)
    if not ok:
        failures.append(what)


def win(path):
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def tool(*args):
    result = subprocess.run([os.environ.get("KAVREL_WINE", "/usr/lib/wine/wine64"), TOOL] + [str(a) for a in args], capture_output=True, timeout=300)
    return result.returncode


def run(*args, cwd=None, stdout=None):
    return subprocess.run(list(args), cwd=cwd, stdout=stdout or subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                          timeout=300).returncode


def tree(root):
    """relative path -> bytes, or None for folders; '/' separated."""
    out = {}
    for folder, dirs, files in os.walk(root):
        rel = os.path.relpath(folder, root)
        for d in dirs:
            out[os.path.normpath(os.path.join(rel, d)).replace(os.sep, "/")] = None
        for f in files:
            with open(os.path.join(folder, f), "rb") as fh:
                out[os.path.normpath(os.path.join(rel, f)).replace(os.sep, "/")] = fh.read()
    return out


SKIN = {
    "Skin.ini": "[General]\r\nname=测试皮肤\r\nversion=3\r\n".encode("gbk"),
    "图片": None,
    "图片/候选背景.png": os.urandom(40000),
    "图片/空": None,
    "Bar Mixed.BMP": bytes(120000),
    "空文件.txt": b"",
    "a": None,
    "a/b": None,
    "a/b/深.gif": b"GIF89a" + os.urandom(3000),
}


def write_tree(root, files):
    os.makedirs(root, exist_ok=True)
    for name, data in sorted(files.items()):
        path = os.path.join(root, name)
        if data is None:
            os.makedirs(path, exist_ok=True)
        else:
            os.makedirs(os.path.dirname(path), exist_ok=True)
            with open(path, "wb") as fh:
                fh.write(data)


class Unseekable(io.RawIOBase):
    """A write-only stream: zipfile then writes data descriptors (flag bit 3)."""

    def __init__(self, fh):
        self.fh = fh

    def writable(self):
        return True

    def write(self, b):
        return self.fh.write(b)


class Cp936Info(zipfile.ZipInfo):
    """Names stored in code page 936 without the UTF-8 flag, as Windows tools write them
    (they also name a FAT or NTFS host; Unix archives carry their locale's bytes)."""

    def __init__(self, name):
        super().__init__(name)
        self.create_system = 0

    def _encodeFilenameFlags(self):
        return self.filename.encode("gbk"), self.flag_bits & ~0x800


def python_archive(path, files, method, names="utf-8", stream=False):
    def fill(zf):
        for name, data in sorted(files.items()):
            arc = name + "/" if data is None else name
            info = Cp936Info(arc) if names == "gbk" else zipfile.ZipInfo(arc)
            info.compress_type = zipfile.ZIP_STORED if data is None else method
            zf.writestr(info, b"" if data is None else data)

    with open(path, "wb") as fh:
        with zipfile.ZipFile(Unseekable(fh) if stream else fh, "w") as zf:
            fill(zf)


def zipfolder_output(work):
    src = os.path.join(work, "源")
    write_tree(src, SKIN)
    archive = os.path.join(work, "皮肤.vsf")
    check(tool("zip", win(src), win(archive)) == 0, "ZipFolder writes the package")
    check(run("unzip", "-tq", archive) == 0, "unzip -t passes ZipFolder's archive")
    check(run("7z", "t", archive) == 0, "7z t passes ZipFolder's archive")
    with zipfile.ZipFile(archive) as zf:
        check(zf.testzip() is None, "Python's zipfile finds every CRC right")
        names = {i.filename.rstrip("/") for i in zf.infolist()}
        check(names == set(SKIN), "entry names round-trip in Chinese: %s" % sorted(names ^ set(SKIN)))
        check(all(i.flag_bits & 0x800 for i in zf.infolist() if not i.filename.isascii()),
              "non-ASCII names carry the UTF-8 flag")
    out = os.path.join(work, "by_unzip")
    run("unzip", "-q", archive, "-d", out)
    check(tree(out) == SKIN, "Info-ZIP unzip gives back the same files")
    out = os.path.join(work, "by_7z")
    run("7z", "x", "-o" + out, archive)
    check(tree(out) == SKIN, "7z gives back the same files")
    return src


def readers(work, src):
    made = {}
    made["Info-ZIP zip -r"] = os.path.join(work, "infozip.zip")
    run("zip", "-q", "-r", "-6", made["Info-ZIP zip -r"], ".", cwd=src)
    made["Info-ZIP zip to a pipe (data descriptors)"] = os.path.join(work, "infozip_stream.zip")
    with open(made["Info-ZIP zip to a pipe (data descriptors)"], "wb") as fh:
        subprocess.run(["zip", "-q", "-r", "-", "."], cwd=src, stdout=fh, check=True)
    made["7z"] = os.path.join(work, "7z.zip")
    run("7z", "a", "-tzip", made["7z"], "./*", cwd=src)
    for label, method, names, stream in [
        ("Python deflated, UTF-8 names", zipfile.ZIP_DEFLATED, "utf-8", False),
        ("Python stored, UTF-8 names", zipfile.ZIP_STORED, "utf-8", False),
        ("Python deflated, data descriptors", zipfile.ZIP_DEFLATED, "utf-8", True),
        ("Python deflated, code-page-936 names", zipfile.ZIP_DEFLATED, "gbk", False),
        ("Python stored, code-page-936 names, data descriptors", zipfile.ZIP_STORED, "gbk", True),
    ]:
        path = os.path.join(work, "py_%d.zip" % len(made))
        python_archive(path, SKIN, method, names, stream)
        made[label] = path
    with zipfile.ZipFile(made["Python deflated, data descriptors"]) as zf:
        check(all(i.flag_bits & 0x8 for i in zf.infolist()), "the streamed Python archive has data descriptors")

    for label, archive in made.items():
        out = os.path.join(work, "out_%d" % abs(hash(label)))
        rc = tool("unzip", win(archive), win(out))
        check(rc == 0 and tree(out) == SKIN, "UnZip reads %s (rc %d)" % (label, rc))
        got = os.path.join(work, "entry.bin")
        rc = tool("get", win(archive), "图片\\候选背景.PNG", win(got))
        with open(got, "rb") as fh:
            same = fh.read() == SKIN["图片/候选背景.png"]
        check(rc == 0 and same, "UnZipFile finds one entry of %s by another case and separator" % label)
        os.remove(got)


def hostile_archives(work):
    """(label, path, expected result) for archives that UnZip must refuse."""
    marker = "kavrel_zipslip_%d" % os.getpid()
    outside_abs = os.path.join(tempfile.gettempdir(), marker)
    cases = []

    def names(label, entries, expected=E_REFUSED):
        path = os.path.join(work, "hostile_%d.zip" % len(cases))
        with zipfile.ZipFile(path, "w") as zf:
            for name in entries:
                info = zipfile.ZipInfo("placeholder")
                info.filename = name  # kept as given: no separator clean-up
                zf.writestr(info, b"evil")
        cases.append((label, path, expected))

    names("good entry before ../", ["good.txt", "../evil.txt"])
    names("../ with slashes", ["a/../../evil.txt"])
    names("..\\ with backslashes", ["a\\..\\..\\evil.txt"])
    names("mixed separators", ["a/..\\../evil.txt"])
    names("absolute Unix path", [outside_abs + "/evil.txt"])
    names("absolute Windows path", ["\\evil.txt"])
    names("drive path with backslash", ["C:\\evil.txt"])
    names("drive path with slash", ["c:/evil.txt"])
    names("drive-relative path", ["C:evil.txt"])
    names("drive path to a real folder", [win(os.path.join(work, "evil.txt"))])
    names("UNC path", ["\\\\server\\share\\evil.txt", "//server/share/evil.txt"])
    names("alternate data stream", ["good.txt:evil"])
    names("device name", ["aux.txt"])
    names("trailing dot part", ["... /evil.txt"])

    # Encrypted entries, made by the tools that encrypt.
    src = os.path.join(work, "secret")
    write_tree(src, {"Skin.ini": b"secret"})
    path = os.path.join(work, "zipcrypto.zip")
    run("zip", "-q", "-P", "password", path, "Skin.ini", cwd=src)
    cases.append(("ZipCrypto entry (Info-ZIP -P)", path, E_REFUSED))
    path = os.path.join(work, "aes.zip")
    run("7z", "a", "-tzip", "-ppassword", "-mem=AES256", path, "Skin.ini", cwd=src)
    cases.append(("AES entry (7z)", path, E_REFUSED))

    # Bombs: a real one, one that lies about its size, and one with too many entries.
    path = os.path.join(work, "bomb.zip")
    with zipfile.ZipFile(path, "w", zipfile.ZIP_DEFLATED, compresslevel=1) as zf:
        with zf.open("zeros.bmp", "w", force_zip64=True) as fh:
            block = bytes(1 << 20)
            for _ in range(200):
                fh.write(block)
    cases.append(("200 MB of zeros in %d KB" % (os.path.getsize(path) // 1024), path, E_TOO_BIG))

    path = os.path.join(work, "liar.zip")
    with zipfile.ZipFile(path, "w", zipfile.ZIP_DEFLATED) as zf:
        zf.writestr("big.bmp", bytes(1000))
    data = bytearray(open(path, "rb").read())
    cd = data.rfind(b"PK\x01\x02")
    struct.pack_into("<I", data, cd + 24, 300 << 20)  # uncompressed size in the directory
    struct.pack_into("<I", data, 22, 300 << 20)  # and in the local header
    open(path, "wb").write(bytes(data))
    cases.append(("an entry that claims 300 MB", path, E_TOO_BIG))

    # One entry past ZIPLIB_MAX_ENTRIES (65535): Python writes the count in a Zip64 end record.
    path = os.path.join(work, "many.zip")
    with zipfile.ZipFile(path, "w") as zf:
        for i in range(65536):
            zf.writestr("f%d.png" % i, b"")
    cases.append(("65536 entries", path, E_TOO_BIG))
    return cases, outside_abs


def hostile(work):
    sandbox = os.path.join(work, "sandbox")
    os.makedirs(sandbox)
    cases, outside_abs = hostile_archives(work)
    before = tree(work)
    for label, archive, expected in cases:
        target = os.path.join(sandbox, "target")
        rc = tool("unzip", win(archive), win(target))
        written = os.path.exists(target) and os.listdir(target)
        check(rc == expected and not written, "UnZip refuses %s (rc %d)" % (label, rc))
    after = tree(work)
    check(before == after, "nothing was written beside or above the target")
    check(not os.path.exists(outside_abs), "nothing was written at the absolute path")
    drive_c = os.path.join(os.environ.get("WINEPREFIX", ""), "drive_c", "evil.txt")
    check(not os.path.exists(drive_c), "nothing was written on drive C:")
    check(not os.path.exists(os.path.join(work, "evil.txt")), "nothing was written through the Z: path")


def main():
    work = tempfile.mkdtemp(prefix="ziplib_peer_")
    try:
        src = zipfolder_output(work)
        readers(work, src)
        hostile(work)
    finally:
        shutil.rmtree(work, ignore_errors=True)
    if failures:
        print("%d check(s) failed" % len(failures))
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
