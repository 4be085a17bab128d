#!/usr/bin/env python3
"""Draws the editor's icon: a heron-blue rounded square with a white brush stroke and a
small candidate bar, at the sizes Windows asks for. Usage: make_icon.py out.ico"""
import sys

from PIL import Image, ImageDraw


def draw(size):
    scale = 4
    big = size * scale
    image = Image.new("RGBA", (big, big), (0, 0, 0, 0))
    pen = ImageDraw.Draw(image)
    radius = big // 6
    pen.rounded_rectangle([0, 0, big - 1, big - 1], radius=radius, fill=(32, 96, 168, 255))
    # A candidate bar across the lower third.
    bar_top = big * 62 // 100
    pen.rounded_rectangle([big // 8, bar_top, big * 7 // 8, bar_top + big // 5], radius=big // 20,
                          fill=(250, 250, 245, 255))
    for i in range(3):
        left = big // 8 + big // 14 + i * big * 6 // 25
        pen.rectangle([left, bar_top + big // 16, left + big // 8, bar_top + big // 7], fill=(32, 96, 168, 255))
    # A brush stroke above it.
    pen.line([(big // 5, big * 45 // 100), (big // 2, big // 5), (big * 4 // 5, big * 40 // 100)],
             fill=(255, 255, 255, 255), width=max(1, big // 12), joint="curve")
    return image.resize((size, size), Image.LANCZOS)


def main():
    sizes = [16, 24, 32, 48, 64, 256]
    images = [draw(s) for s in sizes]
    images[-1].save(sys.argv[1], format="ICO", sizes=[(s, s) for s in sizes], append_images=images[:-1])


if __name__ == "__main__":
    main()
