#include "graphics/paint/image_draw.h"

#include <algorithm>

#include <gtest/gtest.h>

#include "graphics/paint/paint_ctx.h"

namespace {

// A 32-bit bitmap of width x height filled with one premultiplied pixel value.
HBITMAP Filled(int width, int height, uint32_t pixel)
{
    uint32_t* bits = nullptr;
    HBITMAP bitmap = CreateDib32(width, height, &bits);
    for (int i = 0; i < width * height; ++i)
        bits[i] = pixel;
    return bitmap;
}

uint32_t At(const t_memDC& dc, int x, int y)
{
    GdiFlush();
    return dc.Pixels()[static_cast<size_t>(dc.height - 1 - y) * dc.width + x];
}

TEST(DrawImageNatural, BlendsAtTheSmallerOfPartAndDestinationAndClampsNegativeOrigins)
{
    t_memDC target;
    ASSERT_TRUE(t_memDC::Create(target, nullptr, 8, 4));
    HBITMAP half = Filled(4, 4, 0x80008000);  // green at alpha 128, premultiplied
    t_image image;
    image.Init();
    image.SetBitmap(half, -2, 0, c_noColorKey, c_noColorKey, 4, 4, 2, 2, false);
    image.hasAlpha = 1;
    t_paintCtx context(target.dc, true, &target, false);
    // Part x -2 at x 1: drawn from part x 0 at x 3, at most 3 wide and 2 high.
    // Drawn twice: the record keeps its origin, so the second paint lands on the first.
    for (int pass = 0; pass < 2; ++pass) {
        ASSERT_TRUE(DrawImageNatural(image, context, 1, 0, 5, 2, 255));
        EXPECT_EQ(-2, image.partX);
        EXPECT_EQ(1, image.blend);
        for (int x = 0; x < 8; ++x) {
            const uint32_t expected = x < 3 || x >= 6 ? 0u : pass == 0 ? 0x80008000u : 0xC000C000u;
            EXPECT_EQ(expected, At(target, x, 0)) << x << " pass " << pass;
            EXPECT_EQ(0u, At(target, x, 2)) << x;
        }
    }
    context.End();
    DeleteObject(half);
    target.Release();
}

TEST(DrawImageNatural, ExactKeysClearTheirPixelsFirst)
{
    t_memDC target;
    ASSERT_TRUE(t_memDC::Create(target, nullptr, 2, 1));
    HBITMAP red = Filled(2, 1, 0xFFFF0000);
    t_image image;
    image.Init();
    image.SetBitmap(red, 0, 0, 0x0000FF, c_noColorKey, -1, -1, 2, 2, false);
    image.hasAlpha = 1;
    t_paintCtx context(target.dc, true, &target, false);
    DrawImageNatural(image, context, 0, 0, 2, 1, 255);
    EXPECT_EQ(0u, At(target, 0, 0));
    context.End();
    DeleteObject(red);
    target.Release();
}

TEST(BlendPixelsDirect, PremultipliedOverClippedToBothBuffers)
{
    const uint32_t source[2] = {0x80400000, 0xFF00FF00};  // bottom-up, one row
    uint32_t target[4] = {0xFF0000FF, 0xFF0000FF, 0xFF0000FF, 0xFF0000FF};
    BlendPixelsDirect(source, 2, 1, 0, 0, 2, 1, target, 2, 2, 1, 1);
    // Only (1, 1) is inside the target: row 0 of the bottom-up target.
    EXPECT_EQ(0xFF40007Fu, target[1]);
    EXPECT_EQ(0xFF0000FFu, target[0]);
    EXPECT_EQ(0xFF0000FFu, target[3]);
}

// Pooled scratch DIBs come back as a new one would: zeroed, with nothing left selected or
// set by the last borrower; one in use is never handed out twice.
TEST(ScratchDib, ReusedDibsStartClearAndNestedBorrowsGetTheirOwn)
{
    HGDIOBJ defaultFont = nullptr;
    HBITMAP first = nullptr, second = nullptr;
    {
        t_scratchDib dib(nullptr, 7, 5);
        ASSERT_TRUE(dib);
        ASSERT_EQ(7, dib->width);
        ASSERT_EQ(5, dib->height);
        first = dib->dib;
        defaultFont = GetCurrentObject(dib->dc, OBJ_FONT);
        std::fill(dib->Pixels(), dib->Pixels() + 35, 0xFF123456u);
        SelectObject(dib->dc, GetStockObject(SYSTEM_FIXED_FONT));
        SetTextColor(dib->dc, RGB(1, 2, 3));
        {
            t_scratchDib nested(nullptr, 7, 5);
            ASSERT_TRUE(nested);
            second = nested->dib;
            EXPECT_NE(first, second);
            EXPECT_EQ(0u, nested->Pixels()[0]);
        }
    }
    t_scratchDib again(nullptr, 7, 5);
    ASSERT_TRUE(again);
    EXPECT_TRUE(again->dib == first || again->dib == second);
    for (int i = 0; i < 35; ++i)
        ASSERT_EQ(0u, again->Pixels()[i]) << i;
    EXPECT_EQ(defaultFont, GetCurrentObject(again->dc, OBJ_FONT));
    EXPECT_EQ(RGB(0, 0, 0), GetTextColor(again->dc));
    EXPECT_FALSE(t_scratchDib(nullptr, 0, 5));
}

}  // namespace
