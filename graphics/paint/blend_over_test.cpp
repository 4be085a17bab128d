#include "graphics/paint/blend_over.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "graphics/image/image.h"
#include "graphics/image/mem_dc.h"
#include "graphics/paint/nine_images.h"
#include "graphics/paint/paint_ctx.h"

namespace {

uint32_t g_seed = 99;
uint32_t Random()
{
    g_seed = g_seed * 1664525u + 1013904223u;
    return g_seed >> 8;
}

// A valid premultiplied pixel of the given alpha.
uint32_t PremultipliedOf(uint32_t alpha)
{
    const uint32_t r = Random() & 0xFF, g = Random() & 0xFF, b = Random() & 0xFF;
    return alpha << 24 | (r * alpha / 255) << 16 | (g * alpha / 255) << 8 | (b * alpha / 255);
}

// The blend one channel at a time, as the formulas read: source scaled by the constant
// alpha, then over the target, every division rounded to nearest.
uint32_t ReferenceOver(uint32_t target, uint32_t source, int constant)
{
    const auto divide = [](uint32_t x) { return (x + 127) / 255; };
    uint32_t scaled[4];
    for (int c = 0; c < 4; ++c)
        scaled[c] = divide((source >> (8 * c) & 0xFF) * uint32_t(constant));
    uint32_t out = 0;
    for (int c = 0; c < 4; ++c) {
        const uint32_t t = target >> (8 * c) & 0xFF;
        out |= std::min(255u, scaled[c] + divide(t * (255 - scaled[3]))) << (8 * c);
    }
    return out;
}

int LargestChannelDifference(uint32_t a, uint32_t b)
{
    int most = 0;
    for (int c = 0; c < 32; c += 8)
        most = std::max(most, std::abs(int(a >> c & 0xFF) - int(b >> c & 0xFF)));
    return most;
}

const int c_constants[] = {0, 1, 2, 77, 128, 200, 254, 255};

TEST(BlendOver, RowsMatchTheChannelFormulaForEverySourceAlpha)
{
    // Every source alpha against random targets, at lengths that leave every tail size.
    for (int constant : c_constants) {
        for (int length : {1, 2, 3, 4, 5, 7, 256}) {
            std::vector<uint32_t> source(256 * 3), target(source.size());
            for (size_t i = 0; i < source.size(); ++i) {
                source[i] = PremultipliedOf(uint32_t(i % 256));
                target[i] = PremultipliedOf(Random() & 0xFF);
            }
            source[5] = 0;  // empty and opaque pixels take the shortcuts when four meet
            const std::vector<uint32_t> before = target;
            for (size_t start = 0; start + length <= source.size(); start += length)
                BlendRowOver(target.data() + start, source.data() + start, length, constant);
            for (size_t i = 0; i < source.size() / length * length; ++i)
                ASSERT_EQ(ReferenceOver(before[i], source[i], constant), target[i])
                    << "constant " << constant << " length " << length << " pixel " << i << " source " << std::hex
                    << source[i] << " target " << before[i];
        }
    }
}

// A w x h DIB in its own DC, filled with the given pixels (top-down order).
struct t_dib {
    t_memDC dc;
    t_dib(int w, int h, const std::vector<uint32_t>& topDown)
    {
        t_memDC::Create(dc, nullptr, w, h);
        for (int y = 0; y < h; ++y)
            std::copy(topDown.begin() + y * w, topDown.begin() + (y + 1) * w, dc.Row(h - 1 - y));
    }
    uint32_t At(int x, int y) const { return dc.Row(dc.height - 1 - y)[x]; }
};

std::vector<uint32_t> RandomPixels(size_t n, bool anyAlpha)
{
    std::vector<uint32_t> p(n);
    for (size_t i = 0; i < n; ++i)
        p[i] = PremultipliedOf(anyAlpha ? Random() & 0xFF : uint32_t(i % 256));
    return p;
}

// Compares BlendOver with GDI's AlphaBlend, the path drawing took before, on two copies
// of one target; the pixels may differ by one per channel at most.
void ExpectLikeAlphaBlend(const t_dib& source, int x, int y, int dw, int dh, int sx, int sy, int sw, int sh,
                          int constant, const char* what)
{
    const int w = 40, h = 30;
    const std::vector<uint32_t> fill = RandomPixels(w * h, true);
    t_dib gdi(w, h, fill), direct(w, h, fill);
    const BLENDFUNCTION function = {AC_SRC_OVER, 0, BYTE(constant), AC_SRC_ALPHA};
    AlphaBlend(gdi.dc.dc, x, y, dw, dh, source.dc.dc, sx, sy, sw, sh, function);
    GdiFlush();
    t_pixelTarget target;
    ASSERT_TRUE(PixelTargetOf(direct.dc.dc, target));
    t_pixelView view;
    ASSERT_TRUE(PixelViewOf(source.dc.dib, view));
    ASSERT_TRUE(BlendOver(target, x, y, dw, dh, view, sx, sy, sw, sh, constant)) << what;
    int most = 0;
    for (int py = 0; py < h; ++py)
        for (int px = 0; px < w; ++px)
            most = std::max(most, LargestChannelDifference(gdi.At(px, py), direct.At(px, py)));
    EXPECT_LE(most, 1) << what << " constant " << constant;
}

TEST(BlendOver, MatchesAlphaBlendWithinOneUnit)
{
    // Every alpha in the 256 columns of the source's rows.
    const t_dib source(256, 4, RandomPixels(256 * 4, false));
    const t_dib small(7, 5, RandomPixels(7 * 5, true));
    const struct {
        const char* what;
        const t_dib& source;
        int x, y, dw, dh, sx, sy, sw, sh;
    } cases[] = {
        {"1:1 inside", small, 3, 4, 7, 5, 0, 0, 7, 5},
        {"part of the source", small, 10, 2, 4, 3, 2, 1, 4, 3},
        {"negative origin", small, -3, -2, 7, 5, 0, 0, 7, 5},
        {"past the right and bottom", small, 36, 27, 7, 5, 0, 0, 7, 5},
        {"wholly outside", small, 45, 0, 7, 5, 0, 0, 7, 5},
        {"zero-sized", small, 3, 3, 0, 0, 0, 0, 0, 0},
        {"enlarged on both axes", small, 1, 1, 33, 17, 0, 0, 7, 5},
        {"enlarged and clipped", small, -9, -4, 52, 41, 1, 1, 5, 3},
        {"one column stretched", small, 0, 0, 40, 5, 3, 0, 1, 5},
        {"every alpha, wider than the target", source, -100, 2, 256, 4, 0, 0, 256, 4},
    };
    for (const auto& c : cases) {
        for (int constant : {255, 128, 1}) {
            if (c.dw == 0) {
                // GDI refuses an empty draw; BlendOver draws nothing.
                const std::vector<uint32_t> fill = RandomPixels(40 * 30, true);
                t_dib target(40, 30, fill);
                t_pixelTarget t;
                t_pixelView view;
                ASSERT_TRUE(PixelTargetOf(target.dc.dc, t) && PixelViewOf(c.source.dc.dib, view));
                EXPECT_FALSE(BlendOver(t, c.x, c.y, c.dw, c.dh, view, c.sx, c.sy, c.sw, c.sh, constant));
                continue;
            }
            ExpectLikeAlphaBlend(c.source, c.x, c.y, c.dw, c.dh, c.sx, c.sy, c.sw, c.sh, constant, c.what);
        }
    }
    // Shrinking and sources outside their picture are left to GDI.
    t_dib target(40, 30, RandomPixels(40 * 30, true));
    t_pixelTarget t;
    t_pixelView view;
    ASSERT_TRUE(PixelTargetOf(target.dc.dc, t) && PixelViewOf(small.dc.dib, view));
    EXPECT_FALSE(BlendOver(t, 0, 0, 3, 5, view, 0, 0, 7, 5, 255));
    EXPECT_FALSE(BlendOver(t, 0, 0, 7, 5, view, 1, 0, 7, 5, 255));
    EXPECT_FALSE(BlendOver(t, 0, 0, 7, 5, view, -1, 0, 7, 5, 255));
}

TEST(PixelTargetOf, FollowsTheDcsOriginAndClipAndRefusesWhatItCannotFollow)
{
    const t_dib source(7, 5, RandomPixels(7 * 5, true));
    const std::vector<uint32_t> fill = RandomPixels(40 * 30, true);
    // A moved origin and a clip rectangle: the same pixels as GDI's.
    {
        t_dib gdi(40, 30, fill), direct(40, 30, fill);
        for (HDC dc : {gdi.dc.dc, direct.dc.dc}) {
            SetViewportOrgEx(dc, 5, 3, nullptr);
            IntersectClipRect(dc, 2, 1, 20, 6);
        }
        const BLENDFUNCTION function = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
        AlphaBlend(gdi.dc.dc, -2, -1, 21, 10, source.dc.dc, 0, 0, 7, 5, function);
        GdiFlush();
        t_pixelTarget target;
        t_pixelView view;
        ASSERT_TRUE(PixelTargetOf(direct.dc.dc, target) && PixelViewOf(source.dc.dib, view));
        EXPECT_EQ(5, target.offset.x);
        EXPECT_EQ(3, target.offset.y);
        const RECT clip = {7, 4, 25, 9};
        EXPECT_TRUE(EqualRect(&clip, &target.clip));
        ASSERT_TRUE(BlendOver(target, -2, -1, 21, 10, view, 0, 0, 7, 5, 255));
        for (int y = 0; y < 30; ++y)
            for (int x = 0; x < 40; ++x)
                ASSERT_LE(LargestChannelDifference(gdi.At(x, y), direct.At(x, y)), 1) << x << "," << y;
    }
    // Two clip rectangles, a scaled mapping, a bitmap that is no DIB section: GDI draws.
    t_dib dib(40, 30, fill);
    t_pixelTarget target;
    HRGN two = CreateRectRgn(0, 0, 5, 5);
    HRGN second = CreateRectRgn(10, 10, 20, 20);
    CombineRgn(two, two, second, RGN_OR);
    SelectClipRgn(dib.dc.dc, two);
    EXPECT_FALSE(PixelTargetOf(dib.dc.dc, target));
    SelectClipRgn(dib.dc.dc, nullptr);
    EXPECT_TRUE(PixelTargetOf(dib.dc.dc, target));
    SetMapMode(dib.dc.dc, MM_ANISOTROPIC);
    SetWindowExtEx(dib.dc.dc, 1, 1, nullptr);
    SetViewportExtEx(dib.dc.dc, 2, 2, nullptr);
    EXPECT_FALSE(PixelTargetOf(dib.dc.dc, target));
    DeleteObject(two);
    DeleteObject(second);
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP device = CreateCompatibleBitmap(screen, 8, 8);
    HGDIOBJ old = SelectObject(memory, device);
    EXPECT_FALSE(PixelTargetOf(memory, target));
    SelectObject(memory, old);
    DeleteObject(device);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
}

// The nine-part, stretched, tiled and natural-size draws give the pixels they gave through
// GDI: the same drawing into a target whose clip is two rectangles (so GDI draws) and into
// a plain one (drawn directly).
TEST(BlendOver, ImageDrawsMatchTheGdiPath)
{
    const int w = 48, h = 36;
    // Drawing selects the picture into its own DC: it must not sit in another one.
    uint32_t* picture = nullptr;
    HBITMAP panel = CreateDib32(w, h, &picture);
    for (int i = 0; i < w * h; ++i)
        picture[i] = PremultipliedOf(i % 5 == 0 ? 255 : i % 7 == 0 ? 0 : Random() & 0xFF);
    t_imageSource source;
    memset(&source, 0, sizeof(source));
    source.SetSingle(0, 0, false, true, true, t_bitmapRef::e_handle, panel, 0, 0);
    t_imageSet9 nine;
    t_imageSet9::SetFromSource(&source, nine, t_insets{10, 12, 8, 9});
    const auto draw = [&](t_paintCtx& paint, int step) {
        switch (step) {
        case 0:
            t_imageSet9::Draw(paint, nine, -5, 3, 150, 90);
            break;
        default: {
            const int modes[][2] = {{0, 0}, {1, 1}, {2, 2}, {0, 2}, {1, 0}, {2, 1}};
            const int* m = modes[(step - 1) % 6];
            t_image record;
            memset(&record, 0, sizeof(record));
            record.SetPart(&source, 3, 2, c_noColorKey, c_noColorKey, 20, 15, m[0], m[1], false);
            record.Draw(paint, 7 - step, 60 - step * 4, 70 + step, 45, step > 6 ? 140 : 255);
        }
        }
    };
    const std::vector<uint32_t> fill = RandomPixels(160 * 100, true);
    for (int step = 0; step <= 12; ++step) {
        t_dib gdi(160, 100, fill), direct(160, 100, fill);
        HRGN all = CreateRectRgn(0, 0, 160, 50);
        HRGN lower = CreateRectRgn(0, 50, 161, 100);
        CombineRgn(all, all, lower, RGN_OR);
        SelectClipRgn(gdi.dc.dc, all);
        DeleteObject(all);
        DeleteObject(lower);
        t_pixelTarget unused;
        ASSERT_FALSE(PixelTargetOf(gdi.dc.dc, unused));
        for (t_dib* target : {&gdi, &direct}) {
            t_paintCtx paint(target->dc.dc, true, &target->dc, false);
            draw(paint, step);
            paint.End();
        }
        GdiFlush();
        int most = 0, drawn = 0;
        for (int y = 0; y < 100; ++y) {
            for (int x = 0; x < 160; ++x) {
                most = std::max(most, LargestChannelDifference(gdi.At(x, y), direct.At(x, y)));
                drawn += gdi.At(x, y) != fill[y * 160 + x];
            }
        }
        EXPECT_LE(most, 1) << "draw " << step;
        EXPECT_GT(drawn, 100) << "draw " << step;
    }
    DeleteObject(panel);
}

}  // namespace
