#!/usr/bin/env python3
"""Starts the editor under Wine on a package of the default skin and looks at the screen
the way a person would, through the X server (ImageMagick's import): the title bar, the
menu bar with its Chinese texts, and the panels shown once the skin is open. The last
screen is kept as editor_screenshot.png in the build folder.

Usage: editor_screenshot_peer.py <build-dir> <source-dir>
"""
import os
import shutil
import subprocess
import sys
import tempfile
import time
import zipfile

try:
    from PIL import Image
except ImportError:
    if sys.executable != "/usr/bin/python3" and os.path.exists("/usr/bin/python3"):
        os.execv("/usr/bin/python3", ["/usr/bin/python3"] + sys.argv)
    raise

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from peer_common import WINE, win  # noqa: E402

TIMEOUT_S = 60


def grab(path):
    subprocess.run(["import", "-display", os.environ["DISPLAY"], "-window", "root", path],
                   check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=30)
    return Image.open(path).convert("RGB")


def dark_pixels(image, box, below=110):
    return sum(1 for p in image.crop(box).getdata() if max(p) < below)


def caption_pixels(image, box):
    """Pixels of a coloured (not grey) title bar."""
    return sum(1 for p in image.crop(box).getdata() if max(p) - min(p) > 60)


def main():
    build, source = sys.argv[1], sys.argv[2]
    if not os.environ.get("DISPLAY"):
        print("FAIL: no display (run through tools/test.sh)")
        return 1
    bin_dir = os.path.join(build, "bin")
    work = tempfile.mkdtemp(prefix="editor_screen_")
    try:
        for name in ("Kavrel.exe", "ZipLib.dll", "Resource.dll", "skin.dat"):
            shutil.copy(os.path.join(bin_dir, name), work)
        package = os.path.join(work, "默认皮肤.vsf")
        skin = os.path.join(source, "art", "default_skin")
        with zipfile.ZipFile(package, "w", zipfile.ZIP_DEFLATED) as z:
            for name in sorted(os.listdir(skin)):
                z.write(os.path.join(skin, name), name)
        editor = subprocess.Popen([WINE, os.path.join(work, "Kavrel.exe"), win(package)],
                                  stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        shot = os.path.join(work, "screen.png")
        image, ok = None, False
        deadline = time.time() + TIMEOUT_S
        try:
            while time.time() < deadline and not ok:
                time.sleep(1)
                image = grab(shot)
                width, height = image.size
                title = caption_pixels(image, (0, 0, width // 2, 16))
                menu = dark_pixels(image, (0, 18, 300, 38))
                # The preview's border: a vertical grey line right of the page area.
                panels = dark_pixels(image, (width // 3, height // 2, width, height // 2 + 1), 200) > 0
                ok = title > 1000 and menu > 50 and panels
        finally:
            editor.terminate()
            try:
                editor.wait(timeout=20)
            except subprocess.TimeoutExpired:
                editor.kill()
        if image is not None:
            image.save(os.path.join(build, "editor_screenshot.png"))
        if not ok:
            print("FAIL: the editor's frame, menu texts and panels did not all show within %d s" % TIMEOUT_S)
            return 1
        print("ok: frame, Chinese menu texts and panels on screen (editor_screenshot.png)")
        return 0
    finally:
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
