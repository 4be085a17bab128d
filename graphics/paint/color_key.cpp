#include "graphics/paint/color_key.h"

#include <cstddef>

uint32_t ColorRefToArgb(uint32_t colorRef)
{
    if (colorRef == 0xFFFFFFFFu)
        return 0;
    const uint32_t rgb = (colorRef & 0x0000FF00u) | (colorRef & 0xFFu) << 16 | (colorRef >> 16 & 0xFFu);
    const uint32_t alpha = colorRef < 0x1000000u ? 0xFF000000u : (colorRef & 0xFF000000u);
    return alpha | rgb;
}

uint32_t PremultiplyArgb(uint32_t argb)
{
    const uint32_t a = argb >> 24;
    const uint32_t r = (argb >> 16 & 0xFF) * a / 255;
    const uint32_t g = (argb >> 8 & 0xFF) * a / 255;
    const uint32_t b = (argb & 0xFF) * a / 255;
    return a << 24 | r << 16 | g << 8 | b;
}

void ApplyColorKey(uint32_t key, int rows, int width, uint32_t* pixels, bool exact)
{
    if (!pixels || rows <= 0 || width <= 0)
        return;
    const size_t n = static_cast<size_t>(rows) * static_cast<size_t>(width);
    if (exact) {
        const uint32_t match = ColorRefToArgb(key);
        for (size_t i = 0; i < n; ++i) {
            if (pixels[i] == match)
                pixels[i] = 0;
        }
        return;
    }
    if (key == 0xFFFFFFFFu) {
        for (size_t i = 0; i < n; ++i)
            pixels[i] |= 0xFF000000u;
        return;
    }
    const uint32_t rgb = ColorRefToArgb(key) & 0x00FFFFFFu;
    for (size_t i = 0; i < n; ++i) {
        if ((pixels[i] & 0x00FFFFFFu) == rgb)
            pixels[i] = 0;
        else
            pixels[i] |= 0xFF000000u;
    }
}
