// Regions and hit masks of image records.
#include <windows.h>

#include <algorithm>

#include "graphics/image/image.h"
#include "graphics/paint/bitmap_region.h"
#include "graphics/paint/color_key.h"
#include "graphics/paint/hit_mask.h"
#include "graphics/paint/paint_ctx.h"
#include "graphics/paint/pixel_ops.h"

HRGN t_image::CreateRegion(HDC reference, int width, int height) const
{
    const t_bitmapRef bitmap = GetBitmapRef();
    if (!bitmap.IsBitmap() || width <= 0 || height <= 0)
        return nullptr;
    if (modeH == e_natural && modeV == e_natural) {
        if (key1 == c_noColorKey && key2 == c_noColorKey && !hasAlpha)
            return CreateRectRgn(0, 0, partWidth, partHeight);
        int bw = 0, bh = 0;
        const uint32_t* pixels = ReadablePixels(bitmap, bw, bh);
        return RegionFromBitmap(pixels, bw, bh, partX, partY, partWidth, partHeight, key1, key2);
    }
    // Drawn at the asked size with alpha forced on, so that the region follows the fill.
    HDC screen = reference ? nullptr : GetDC(nullptr);
    HRGN region = nullptr;
    t_memDC dib;
    if (t_memDC::Create(dib, reference ? reference : screen, width, height)) {
        t_image drawn = *this;
        drawn.hasAlpha = 1;
        t_paintCtx paint(dib.dc, true, &dib, false);
        drawn.Draw(paint, 0, 0, width, height, 255);
        paint.End();
        GdiFlush();
        if (key1 != c_noColorKey)
            ApplyColorKey(key1, height, width, dib.Pixels(), true);
        region = RegionFromAlpha(dib.dc, width, height);
    }
    if (screen)
        ReleaseDC(nullptr, screen);
    return region;
}

void t_image::BuildHitMask(int width, int height, t_hitMask& mask) const
{
    mask.Clear();
    if (key1 == c_noColorKey && key2 == c_noColorKey && !hasAlpha) {
        mask.SetAll(width, height);
        return;
    }
    int bw = 0, bh = 0;
    const uint32_t* pixels = ReadablePixels(GetBitmapRef(), bw, bh);
    if (!pixels)
        return;
    const uint32_t k1 = ColorRefToArgb(key1), k2 = ColorRefToArgb(key2);
    // Bits are counted from the part's origin, whatever the part's place in the picture;
    // each row is the columns of the part that lie inside the bitmap.
    const int x0 = std::max(partX, 0);
    const int x1 = static_cast<int>(std::min<int64_t>(static_cast<int64_t>(partX) + width, bw));
    if (x1 <= x0)
        return;
    const int y1 = static_cast<int>(std::min<int64_t>(static_cast<int64_t>(partY) + height, bh));
    for (int i = std::max(partY, 0); i < y1; ++i) {
        const uint32_t* row = pixels + static_cast<size_t>(bh - 1 - i) * bw;
        mask.SetRowFromPixels(x0 - partX, i - partY, row + x0, x1 - x0, k1, k2);
    }
}
