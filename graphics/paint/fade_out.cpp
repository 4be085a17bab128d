#include "graphics/paint/fade_out.h"

#include <algorithm>

uint32_t ScaleArgb(uint32_t pixel, int factor)
{
    factor = std::clamp(factor, 0, 255);
    uint32_t result = 0;
    for (int shift = 0; shift < 32; shift += 8) {
        const uint32_t channel = (pixel >> shift) & 0xFF;
        result |= (channel * static_cast<uint32_t>(factor) / 255) << shift;
    }
    return result;
}

void FadeOutHorizontally(const RECT& rect, uint32_t* pixels, int width, int height)
{
    if (!pixels || width <= 0 || height <= 0 || rect.right <= rect.left)
        return;
    const long long span = static_cast<long long>(rect.right) - rect.left;
    const int x0 = std::max<int>(rect.left, 0), x1 = std::min<int>(rect.right, width);
    const int y0 = std::max<int>(rect.top, 0), y1 = std::min<int>(rect.bottom, height);
    for (int x = x0; x < x1; ++x) {
        const int factor = static_cast<int>((static_cast<long long>(rect.right) - x) * 255 / span);
        for (int y = y0; y < y1; ++y) {
            uint32_t& pixel = pixels[static_cast<size_t>(y) * width + x];
            pixel = ScaleArgb(pixel, factor);
        }
    }
}
