// Window regions from pixels: the pixels of a picture that are not keyed out, or the
// pixels of a drawn surface that are not fully transparent.
#pragma once

#include <windows.h>

#include <cstdint>

// Region of the pixels of a top-down rectangle of a bottom-up 32-bit buffer that equal
// neither key (as ColorRefToArgb values: a none key is 0, so fully transparent pixels are
// outside), relative to the rectangle. Null for an empty rectangle; an empty region when
// no pixel belongs.
HRGN RegionFromBitmap(const uint32_t* pixels, int bitmapWidth, int bitmapHeight, int x, int y, int width, int height,
                      uint32_t key1, uint32_t key2);
// Region of the pixels of dc's (0, 0, width, height) whose alpha is not 0.
HRGN RegionFromAlpha(HDC dc, int width, int height);
