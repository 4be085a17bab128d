// The rounded panel that the paint benchmarks draw as a nine-part background.
#pragma once

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "graphics/image/image.h"
#include "graphics/image/mem_dc.h"
#include "graphics/paint/nine_images.h"
#include "graphics/paint/pixel_ops.h"

inline uint32_t Premultiplied(uint32_t r, uint32_t g, uint32_t b, uint32_t a)
{
    return a << 24 | (r * a / 255) << 16 | (g * a / 255) << 8 | (b * a / 255);
}

// A 48 x 48 rounded-panel picture with soft alpha edges, cut 16/16/16/16 into `nine`.
// Returns the bitmap (the caller deletes it), or null.
inline HBITMAP MakeRoundedPanel(t_imageSource& source, t_imageSet9& nine)
{
    uint32_t* bits = nullptr;
    HBITMAP panel = CreateDib32(48, 48, &bits);
    if (!panel)
        return nullptr;
    for (int i = 0; i < 48 * 48; ++i) {
        const int x = i % 48, y = i / 48;
        const int edge = std::min(std::min(x, 47 - x), std::min(y, 47 - y));
        bits[i] = Premultiplied(40 + x, 90, 160 + y, edge < 6 ? 40 * edge + 15 : 230);
    }
    memset(&source, 0, sizeof(source));
    source.SetSingle(0, 0, false, true, true, t_bitmapRef::e_handle, panel, 0, 0);
    t_imageSet9::SetFromSource(&source, nine, t_insets{16, 16, 16, 16});
    return panel;
}
