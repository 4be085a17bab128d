#include "graphics/paint/hit_mask.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace {

// Words for width x height bits: (w * h / 32) + 1.
size_t WordsFor(int width, int height) { return static_cast<size_t>(width) * static_cast<size_t>(height) / 32 + 1; }

}  // namespace

bool t_hitMask::Reset(int newWidth, int newHeight)
{
    Free();
    // A mask covers one window's picture: refuse areas a 32-bit bit index cannot reach.
    if (newWidth < 0 || newHeight < 0 ||
        static_cast<uint64_t>(newWidth) * static_cast<uint64_t>(newHeight) > 0x7FFFFFFFu)
        return false;
    bits = static_cast<uint32_t*>(calloc(WordsFor(newWidth, newHeight), 4));
    if (!bits)
        return false;
    width = newWidth;
    height = newHeight;
    return true;
}

void t_hitMask::Free()
{
    free(bits);
    bits = nullptr;
    width = height = 0;
}

void t_hitMask::Clear()
{
    if (bits)
        memset(bits, 0, WordsFor(width, height) * 4);
}

bool t_hitMask::Test(int x, int y) const
{
    if (!bits || x < 0 || y < 0 || x >= width || y >= height)
        return false;
    const size_t i = static_cast<size_t>(x) + static_cast<size_t>(y) * width;
    return (bits[i / 32] >> (i % 32) & 1) != 0;
}

void t_hitMask::Set(int x, int y)
{
    if (!bits || x < 0 || y < 0 || x >= width || y >= height)
        return;
    const size_t i = static_cast<size_t>(x) + static_cast<size_t>(y) * width;
    bits[i / 32] |= 1u << (i % 32);
}

void t_hitMask::SetAll(int w, int h)
{
    w = std::min(w, width);
    h = std::min(h, height);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x)
            Set(x, y);
    }
}
