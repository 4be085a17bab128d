#include "graphics/paint/pixel_ops.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "graphics/image/image_source.h"
#include "graphics/paint/color_key.h"
#include "graphics/paint/paint_ctx.h"

namespace {

size_t PixelCount(int rows, int width)
{
    return rows > 0 && width > 0 ? static_cast<size_t>(rows) * static_cast<size_t>(width) : 0;
}

bool RowIsEmpty(const uint32_t* row, int width)
{
    for (int x = 0; x < width; ++x) {
        if (row[x])
            return false;
    }
    return true;
}

}  // namespace

const uint32_t* ReadablePixels(const t_bitmapRef& ref, int& width, int& height)
{
    if (!ref.IsBitmap())
        return nullptr;
    if (ref.kind == t_bitmapRef::e_pixels) {
        width = ref.width;
        height = ref.height;
        return width > 0 && height > 0 ? static_cast<const uint32_t*>(ref.handle) : nullptr;
    }
    DIBSECTION section = {};
    if (GetObjectW(ref.Bitmap(), sizeof(section), &section) != sizeof(section) || section.dsBm.bmBitsPixel != 32 ||
        !section.dsBm.bmBits || section.dsBmih.biHeight <= 0)
        return nullptr;
    GdiFlush();
    width = section.dsBm.bmWidth;
    height = section.dsBm.bmHeight;
    return static_cast<const uint32_t*>(section.dsBm.bmBits);
}

void SetAlphaPremultiplied(int rows, uint32_t* pixels, int alpha, int width)
{
    if (!pixels)
        return;
    const uint32_t a = static_cast<uint32_t>(std::clamp(alpha, 0, 255));
    const size_t n = PixelCount(rows, width);
    for (size_t i = 0; i < n; ++i) {
        const uint32_t p = pixels[i];
        pixels[i] =
            a << 24 | ((p >> 16 & 0xFF) * a / 255) << 16 | ((p >> 8 & 0xFF) * a / 255) << 8 | (p & 0xFF) * a / 255;
    }
}

void RecolorPixels(uint32_t colorA, uint32_t* pixels, uint32_t colorB, int rows, int width)
{
    const size_t n = PixelCount(rows, width);
    if (colorB == 0xFFFFFFFFu || colorB == 0x7FFFFFFFu || !pixels || n == 0)
        return;
    const uint32_t from = ColorRefToArgb(colorA);
    const uint32_t to = ColorRefToArgb(colorB) & 0x00FFFFFFu;
    for (size_t i = 0; i < n; ++i) {
        const uint32_t p = pixels[i];
        if (p <= 0xFFFFFFu)
            continue;
        const uint32_t a = p >> 24;
        bool close = true;
        for (int shift = 0; shift <= 16 && close; shift += 8) {
            const int want = static_cast<int>((from >> shift & 0xFF) * a / 255);
            close = std::abs(static_cast<int>(p >> shift & 0xFF) - want) <= 16;
        }
        if (close)
            pixels[i] = PremultiplyArgb(a << 24 | to);
    }
}

void ClearPixelRect(int height, const RECT& rect, int width, uint32_t* pixels)
{
    if (!pixels || width <= 0 || height <= 0)
        return;
    const int left = std::max<int>(rect.left, 0), right = std::min<int>(rect.right, width);
    const int top = std::max<int>(rect.top, 0), bottom = std::min<int>(rect.bottom, height);
    if (left >= right)
        return;
    for (int y = top; y < bottom; ++y)
        memset(pixels + static_cast<size_t>(height - 1 - y) * width + left, 0, size_t(right - left) * 4);
}

void FlipRows(int width, uint32_t* pixels, int height)
{
    if (!pixels || width <= 0 || height <= 1)
        return;
    for (int top = 0, bottom = height - 1; top < bottom; ++top, --bottom)
        std::swap_ranges(pixels + size_t(top) * width, pixels + size_t(top + 1) * width,
                         pixels + size_t(bottom) * width);
}

bool GetOpaqueBounds(int width, int height, const uint32_t* pixels, RECT& rect)
{
    if (!pixels || width <= 0 || height <= 0)
        return false;
    int left = width, right = -1, top = height, bottom = -1;
    for (int y = 0; y < height; ++y) {
        // Top-down row y is memory row height - 1 - y.
        const uint32_t* row = pixels + static_cast<size_t>(height - 1 - y) * width;
        int first = -1, last = -1;
        for (int x = 0; x < width; ++x) {
            if (row[x]) {
                if (first < 0)
                    first = x;
                last = x;
            }
        }
        if (first < 0)
            continue;
        left = std::min(left, first);
        right = std::max(right, last);
        top = std::min(top, y);
        bottom = y;
    }
    if (right < 0)
        return false;
    rect = RECT{left, top, right + 1, bottom + 1};
    return true;
}

bool GetOpaqueBand(const uint32_t* pixels, int rows, int width, int height, RECT& rect)
{
    if (!pixels || width <= 0 || height <= 0)
        return false;
    int first = 0;
    while (first < height && RowIsEmpty(pixels + static_cast<size_t>(height - 1 - first) * width, width))
        ++first;
    if (first == height)
        return false;
    const int end = rows > 0 ? std::min(height, first + rows) : first + 1;
    int left = width, right = -1;
    for (int y = first; y < end; ++y) {
        const uint32_t* row = pixels + static_cast<size_t>(height - 1 - y) * width;
        for (int x = 0; x < width; ++x) {
            if (row[x]) {
                left = std::min(left, x);
                right = std::max(right, x);
            }
        }
    }
    rect = RECT{left, first, right + 1, end};
    return true;
}

bool SampleAverageColor(t_paintCtx& context, int x, int y, int right, int bottom, uint32_t& color, bool useAlpha,
                        bool alphaTarget)
{
    const int width = std::min(right - x, 1024);
    const int height = bottom - y;
    if (width <= 0 || height <= 0 || !context.Dc())
        return false;
    const int rows[3] = {height / 4, height / 2, height * 3 / 4};
    uint64_t sum[4] = {};  // R, G, B, A
    const uint64_t count = 3 * static_cast<uint64_t>(width);
    if (useAlpha && alphaTarget) {
        t_memDC dib;
        if (!t_memDC::Create(dib, context.Dc(), width, height))
            return false;
        const BLENDFUNCTION function = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
        AlphaBlend(dib.dc, 0, 0, width, height, context.Dc(), x, y, width, height, function);
        GdiFlush();
        for (int r : rows) {
            const uint32_t* row = dib.Pixels() + static_cast<size_t>(height - 1 - r) * width;
            for (int i = 0; i < width; ++i) {
                sum[0] += row[i] >> 16 & 0xFF;
                sum[1] += row[i] >> 8 & 0xFF;
                sum[2] += row[i] & 0xFF;
                sum[3] += row[i] >> 24;
            }
        }
        for (uint64_t& s : sum)
            s /= count;
        if (sum[3] != 0) {
            for (int c = 0; c < 3; ++c)
                sum[c] = std::min<uint64_t>(255, sum[c] * 255 / sum[3]);
        }
    } else {
        for (int r : rows) {
            for (int i = 0; i < width; ++i) {
                const COLORREF c = GetPixel(context.Dc(), x + i, y + r);
                if (c == CLR_INVALID)
                    continue;
                sum[0] += GetRValue(c);
                sum[1] += GetGValue(c);
                sum[2] += GetBValue(c);
            }
        }
        for (int c = 0; c < 3; ++c)
            sum[c] /= count;
        sum[3] = 255;
    }
    if (!(sum[0] | sum[1] | sum[2] | sum[3]))
        return false;
    color = uint32_t(sum[0]) | uint32_t(sum[1]) << 8 | uint32_t(sum[2]) << 16 | uint32_t(sum[3]) << 24;
    return true;
}

SIZE GetBitmapSize(HBITMAP bitmap)
{
    SIZE size = {};
    int w = 0, h = 0;
    BitmapSizeOf(bitmap, w, h);
    size.cx = w;
    size.cy = h;
    return size;
}

bool QueryBitmapSize(HBITMAP bitmap, int& width, int& height)
{
    BitmapSizeOf(bitmap, width, height);
    return width > 0 && height > 0;
}

void* GetBitmapPixels(HBITMAP bitmap) { return BitmapPixelsOf(bitmap); }
