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

void t_hitMask::SetSpan(size_t first, size_t count)
{
    if (count == 0)
        return;
    size_t word = first / 32;
    const unsigned shift = first % 32;
    if (shift) {
        const size_t take = std::min<size_t>(32 - shift, count);
        const uint32_t ones = take == 32 ? ~0u : ((1u << take) - 1);
        bits[word++] |= ones << shift;
        count -= take;
    }
    const size_t whole = count / 32;
    if (whole)
        memset(bits + word, 0xFF, whole * 4);
    word += whole;
    if (count % 32)
        bits[word] |= (1u << (count % 32)) - 1;
}

void t_hitMask::SetAll(int w, int h)
{
    w = std::min(w, width);
    h = std::min(h, height);
    if (!bits || w <= 0 || h <= 0)
        return;
    if (w == width) {
        SetSpan(0, static_cast<size_t>(w) * static_cast<size_t>(h));
        return;
    }
    for (int y = 0; y < h; ++y)
        SetSpan(static_cast<size_t>(y) * width, static_cast<size_t>(w));
}

void t_hitMask::SetRowFromPixels(int x, int y, const uint32_t* pixels, int count, uint32_t key1, uint32_t key2)
{
    if (!bits || !pixels || y < 0 || y >= height || count <= 0)
        return;
    int skip = 0;
    if (x < 0) {
        if (x <= -count)
            return;
        skip = -x;
        x = 0;
    }
    count = std::min(count - skip, width - x);
    if (count <= 0)
        return;
    pixels += skip;
    size_t i = static_cast<size_t>(x) + static_cast<size_t>(y) * width;
    uint32_t* word = bits + i / 32;
    unsigned shift = i % 32;
    // A word's worth of pixels at a time, the bits gathered branch-free.
    while (count > 0) {
        const int take = std::min(count, static_cast<int>(32 - shift));
        uint32_t acc = 0;
        for (int k = 0; k < take; ++k) {
            const uint32_t p = pixels[k];
            acc |= static_cast<uint32_t>((p != key1) & (p != key2)) << (shift + k);
        }
        *word++ |= acc;
        pixels += take;
        count -= take;
        shift = 0;
    }
}
