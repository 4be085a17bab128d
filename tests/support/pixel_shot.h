// Test helper: the pixels of one rendering (0xAARRGGBB, rows top down) with finders that
// answer the bounds of the opaque pixels of a colour or of a kind of colour.
#pragma once

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <vector>

struct t_pixelShot {
    int width = 0, height = 0;
    std::vector<uint32_t> pixels;

    uint32_t Pixel(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
    uint32_t At(int x, int y) const { return Pixel(x, y) & 0xFFFFFF; }
    int Alpha(int x, int y) const { return static_cast<int>(Pixel(x, y) >> 24); }
    bool Opaque(int x, int y) const { return Alpha(x, y) == 0xFF; }

    // The smallest rectangle within `within` holding every opaque pixel whose colour
    // matches; empty (all zero) when none does.
    template <class F>
    RECT Bounds(F&& match, const RECT& within) const
    {
        RECT r = {width, height, 0, 0};
        for (int y = std::max<int>(0, within.top); y < std::min<int>(height, within.bottom); ++y) {
            for (int x = std::max<int>(0, within.left); x < std::min<int>(width, within.right); ++x) {
                if (Opaque(x, y) && match(At(x, y))) {
                    r.left = std::min<LONG>(r.left, x);
                    r.top = std::min<LONG>(r.top, y);
                    r.right = std::max<LONG>(r.right, x + 1);
                    r.bottom = std::max<LONG>(r.bottom, y + 1);
                }
            }
        }
        return r.left < r.right ? r : RECT{0, 0, 0, 0};
    }
    RECT All() const { return RECT{0, 0, width, height}; }
    RECT Find(uint32_t color) const
    {
        return Bounds([color](uint32_t c) { return c == color; }, All());
    }
};
