// Pixels of a top window's rendering: RenderToDib and PaintToDC into 32-bit DIBs, with
// colour keys, per-pixel alpha, nine-picture backgrounds in every fill mode and frames.
#include "toolkit/controls/wnd_top.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <vector>

#include "foundation/win/scoped_win.h"
#include "graphics/image/image.h"
#include "graphics/layout/layout.h"
#include "graphics/paint/nine_images.h"
#include "graphics/paint/paint_ctx.h"
#include "graphics/paint/pixel_ops.h"
#include "tests/support/paint_surface.h"
#include "tests/support/painted_tree.h"

namespace {

const uint32_t c_red = RGB(255, 0, 0);
const uint32_t c_magenta = RGB(255, 0, 255);

// Pixel (x, y) (top-down) of a bottom-up 32-bit holder.
uint32_t PixelAt(t_memDC& dib, int x, int y)
{
    GdiFlush();
    return dib.Pixels()[(dib.height - 1 - y) * dib.width + x];
}

// A 9 x 9 opaque picture in nine 3 x 3 cells; cell i has colour c_cellColors[i], except
// that the middle column of the centre cell is c_stripe (to tell tiling from stretching).
const uint32_t c_cellColors[9] = {0xFF100000, 0xFF200000, 0xFF300000, 0xFF400000, 0xFF500000,
                                  0xFF600000, 0xFF700000, 0xFF800000, 0xFF900000};
const uint32_t c_stripe = 0xFF00FF00;

HBITMAP MakeNinePicture()
{
    uint32_t* bits = nullptr;
    HBITMAP bitmap = CreateDib32(9, 9, &bits);
    if (!bitmap)
        return nullptr;
    for (int y = 0; y < 9; ++y) {
        for (int x = 0; x < 9; ++x) {
            const int cell = (y / 3) * 3 + x / 3;
            uint32_t color = c_cellColors[cell];
            if (cell == 4 && x == 4)
                color = c_stripe;
            bits[(8 - y) * 9 + x] = color;
        }
    }
    return bitmap;
}

TEST(WndTopRender, ColourKeyAndAlphaRules)
{
    struct t_case {
        const char* what;
        COLORREF key;
        bool perPixelAlpha;
        bool gdiChild;
        uint32_t childColor;
        uint32_t expectBackground;  // pixel outside the child
        uint32_t expectChild;       // pixel inside the child
    };
    const t_case cases[] = {
        // The DIB is filled with the key first; key pixels become fully transparent.
        {"magenta key", c_magenta, false, true, c_red, 0x00000000, 0xFFFF0000},
        // No key, no alpha: every pixel opaque, the unpainted ones black.
        {"no key", CLR_INVALID, false, true, c_red, 0xFF000000, 0xFFFF0000},
        // Per-pixel alpha without a key keeps what was painted, half-transparent included.
        // (Paint-context colours are COLORREF values with the alpha in the top byte.)
        {"alpha kept", CLR_INVALID, true, false, 0x800000FF, 0x00000000, 0x80800000},
        // Per-pixel alpha with a key: only key pixels at full alpha go; nothing else changes.
        {"alpha and key", c_red, true, false, 0xFF0000FF, 0x00000000, 0x00000000},
        {"alpha, other key", c_magenta, true, false, 0xFF0000FF, 0x00000000, 0xFFFF0000},
    };
    for (const t_case& c : cases) {
        SCOPED_TRACE(c.what);
        t_wndTop top;
        MakeWindowlessTop(top, 0, 0, 20, 10);
        top.colorKey = c.key;
        AddFilledChild(top, 5, 2, 5, 4, c.childColor, c.gdiChild);
        if (c.perPixelAlpha)
            top.SetPerPixelAlpha(true);
        t_memDC dib;
        ASSERT_TRUE(top.RenderToDib(nullptr, dib, 20, 10));
        EXPECT_EQ(PixelAt(dib, 0, 0), c.expectBackground);
        EXPECT_EQ(PixelAt(dib, 19, 9), c.expectBackground);
        EXPECT_EQ(PixelAt(dib, 5, 2), c.expectChild);
        EXPECT_EQ(PixelAt(dib, 9, 5), c.expectChild);
        EXPECT_EQ(PixelAt(dib, 10, 5), c.expectBackground);
        EXPECT_EQ(dib.blend.SourceConstantAlpha, 255);
    }
}

TEST(WndTopRender, PaintToDcBlendsWithTheWindowAlphaAndLeavesKeyedPixels)
{
    t_wndTop top;
    MakeWindowlessTop(top, 300, 400, 8, 6);
    top.colorKey = c_magenta;
    AddFilledChild(top, 2, 1, 3, 3, c_red, true);
    t_testSurface surface(20, 20, true);
    surface.Paint().FillRect(0, 0, 20, 20, 0xFFFF0000);  // opaque blue

    ASSERT_TRUE(top.PaintToDC(surface.Dc(), 4, 5, -1, -1));
    EXPECT_EQ(surface.At(4, 5), 0xFF0000FFu);  // keyed: the target shows through
    EXPECT_EQ(surface.At(6, 6), 0xFFFF0000u);  // the child, opaque
    EXPECT_EQ(surface.At(8, 8), 0xFFFF0000u);
    EXPECT_EQ(surface.At(9, 8), 0xFF0000FFu);
    EXPECT_EQ(surface.At(12, 11), 0xFF0000FFu);  // outside the top's 8 x 6

    // The window's constant alpha goes into the blend.
    top.alpha = 128;
    surface.Paint().FillRect(0, 0, 20, 20, 0xFFFF0000);  // opaque blue
    ASSERT_TRUE(top.PaintToDC(surface.Dc(), 4, 5, 8, 6));
    const uint32_t mixed = surface.At(6, 6);
    EXPECT_NEAR(static_cast<int>(mixed >> 16 & 0xFF), 128, 2);
    EXPECT_NEAR(static_cast<int>(mixed & 0xFF), 127, 2);
    EXPECT_EQ(mixed >> 24, 0xFFu);

    EXPECT_FALSE(top.PaintToDC(surface.Dc(), 0, 0, 0, 6));  // nothing to render
}

// Renders a top of width x height with the nine-picture background in the given modes.
struct t_nineResult {
    std::vector<uint32_t> pixels;
    int width, height;
    uint32_t At(int x, int y) const { return pixels[y * width + x]; }
};

t_nineResult RenderNine(int edgeMode, int width, int height)
{
    t_scopedGdiObj<HBITMAP> picture(MakeNinePicture());
    t_imageSet9 nine;
    t_imageSet9::SetFromBitmap(nine, picture.Get(), t_insets{3, 3, 3, 3}, 0, 0, c_noColorKey, c_noColorKey, edgeMode,
                               edgeMode);
    t_image mask;
    mask.Init();
    mask.SetBitmap(picture.Get(), 0, 0, c_noColorKey, c_noColorKey, -1, -1, 0, 0, false);

    t_wndTop top;
    MakeWindowlessTop(top, 0, 0, width, height);
    top.colorKey = c_magenta;
    EXPECT_TRUE(top.SetNineImageBackground(mask, nine, false));
    EXPECT_EQ(top.colorKey, CLR_INVALID);
    EXPECT_TRUE(top.perPixelAlpha);
    EXPECT_EQ(top.minWidth, 9);
    EXPECT_EQ(top.minHeight, 9);
    LayOutBackground(top);
    t_memDC dib;
    t_nineResult result{{}, width, height};
    EXPECT_TRUE(top.RenderToDib(nullptr, dib, width, height));
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x)
            result.pixels.push_back(PixelAt(dib, x, y));
    }
    return result;
}

TEST(WndTopRender, NinePictureBackgroundStretchesOrTilesTheMiddle)
{
    for (int mode : {t_image::e_stretch, t_image::e_tile}) {
        SCOPED_TRACE(mode == t_image::e_stretch ? "stretch" : "tile");
        const t_nineResult r = RenderNine(mode, 21, 15);
        // Corners at their own size.
        EXPECT_EQ(r.At(0, 0), c_cellColors[0]);
        EXPECT_EQ(r.At(2, 2), c_cellColors[0]);
        EXPECT_EQ(r.At(20, 0), c_cellColors[2]);
        EXPECT_EQ(r.At(18, 2), c_cellColors[2]);
        EXPECT_EQ(r.At(0, 14), c_cellColors[6]);
        EXPECT_EQ(r.At(20, 14), c_cellColors[8]);
        // Edges over the middle 15 columns and 9 rows.
        EXPECT_EQ(r.At(10, 1), c_cellColors[1]);
        EXPECT_EQ(r.At(1, 7), c_cellColors[3]);
        EXPECT_EQ(r.At(19, 7), c_cellColors[5]);
        EXPECT_EQ(r.At(10, 13), c_cellColors[7]);
        // The centre: its 3-pixel stripe pattern repeats when tiled and widens when stretched.
        const int left = 3;
        if (mode == t_image::e_tile) {
            for (int x = left; x < left + 15; ++x)
                EXPECT_EQ(r.At(x, 7), (x - left) % 3 == 1 ? c_stripe : c_cellColors[4]) << x;
        } else {
            EXPECT_EQ(r.At(left, 7), c_cellColors[4]);
            EXPECT_EQ(r.At(left + 7, 7), c_stripe);
            EXPECT_EQ(r.At(left + 14, 7), c_cellColors[4]);
            EXPECT_EQ(r.At(left + 1, 7), c_cellColors[4]);  // a tiled centre would show the stripe here
        }
    }
}

TEST(WndTopRender, NaturalSizeCentreKeepsItsSizeAndLeavesTheRestEmpty)
{
    const t_nineResult r = RenderNine(t_image::e_natural, 21, 15);
    EXPECT_EQ(r.At(0, 0), c_cellColors[0]);
    EXPECT_EQ(r.At(3, 4), c_cellColors[4]);
    EXPECT_EQ(r.At(4, 4), c_stripe);
    EXPECT_EQ(r.At(5, 4), c_cellColors[4]);
    // The right column follows the 3-pixel centre at once; nothing is drawn beyond the grid.
    EXPECT_EQ(r.At(6, 4), c_cellColors[5]);
    EXPECT_EQ(r.At(8, 8), c_cellColors[8]);
    EXPECT_EQ(r.At(12, 4), 0u);
    EXPECT_EQ(r.At(20, 14), 0u);
}

TEST(WndTopRender, NinePictureBackgroundKeepsTheCallersRecordsForTheNextCall)
{
    // The mask cells are copies: the records still show the pictures when the skin sets
    // the same background again.
    t_scopedGdiObj<HBITMAP> picture(MakeNinePicture());
    uint32_t* maskBits = nullptr;
    t_scopedGdiObj<HBITMAP> maskPicture(CreateDib32(9, 9, &maskBits));
    for (int i = 0; i < 81; ++i)
        maskBits[i] = 0xFF000000u;
    t_imageSet9 nine;
    t_imageSet9::SetFromBitmap(nine, picture.Get(), t_insets{3, 3, 3, 3}, 0, 0, c_noColorKey, c_noColorKey,
                               t_image::e_stretch, t_image::e_stretch);
    t_image mask;
    mask.Init();
    mask.SetBitmap(maskPicture.Get(), 0, 0, c_noColorKey, c_noColorKey, -1, -1, 0, 0, false);
    t_wndTop top;
    MakeWindowlessTop(top, 0, 0, 12, 12);
    for (int round = 0; round < 2; ++round) {
        ASSERT_TRUE(top.SetNineImageBackground(mask, nine, false));
        for (const t_image& cell : nine.cells) {
            EXPECT_EQ(cell.ref.handle, picture.Get());
            EXPECT_EQ(cell.key1, c_noColorKey);
        }
        LayOutBackground(top);
        t_memDC dib;
        ASSERT_TRUE(top.RenderToDib(nullptr, dib, 12, 12));
        EXPECT_EQ(PixelAt(dib, 0, 0), c_cellColors[0]) << round;
        EXPECT_EQ(PixelAt(dib, 11, 11), c_cellColors[8]) << round;
    }
}

TEST(WndTopRender, NinePictureWithoutPictureFallsBackToAFrame)
{
    t_imageSet9 empty = {};
    t_image mask;
    mask.Init();
    t_wndTop top;
    MakeWindowlessTop(top, 0, 0, 10, 8);
    top.colorKey = c_magenta;
    top.frameColor = RGB(0, 0, 255);
    top.backColor = RGB(0, 255, 0);
    EXPECT_FALSE(top.SetNineImageBackground(mask, empty, false));
    EXPECT_EQ(top.colorKey, CLR_INVALID);
    LayOutBackground(top);
    t_memDC dib;
    ASSERT_TRUE(top.RenderToDib(nullptr, dib, 10, 8));
    EXPECT_EQ(PixelAt(dib, 0, 0), 0xFF0000FFu);
    EXPECT_EQ(PixelAt(dib, 9, 7), 0xFF0000FFu);
    EXPECT_EQ(PixelAt(dib, 5, 4), 0xFF00FF00u);
}

TEST(WndTopRender, PlainAndGradientFrames)
{
    {
        t_wndTop top;
        MakeWindowlessTop(top, 0, 0, 12, 9);
        top.SetPlainFrame(RGB(255, 0, 0), RGB(0, 0, 255));
        LayOutBackground(top);
        t_memDC dib;
        ASSERT_TRUE(top.RenderToDib(nullptr, dib, 12, 9));
        for (POINT p : {POINT{0, 0}, POINT{11, 0}, POINT{0, 8}, POINT{11, 8}, POINT{6, 0}, POINT{0, 4}})
            EXPECT_EQ(PixelAt(dib, p.x, p.y), 0xFFFF0000u) << p.x << "," << p.y;
        EXPECT_EQ(PixelAt(dib, 1, 1), 0xFF0000FFu);
        EXPECT_EQ(PixelAt(dib, 6, 4), 0xFF0000FFu);
    }
    struct t_case {
        int fifth;
        uint32_t bottomRow;
    };
    // With a fifth colour the gradient runs A to B to C, without it A to B.
    for (const t_case& c : {t_case{-1, 0x0000FF}, t_case{0x00FF00, 0x00FF00}}) {
        SCOPED_TRACE(c.fifth);
        t_wndTop top;
        MakeWindowlessTop(top, 0, 0, 12, 24);
        top.frameExParams[0] = RGB(255, 0, 0);
        top.frameExParams[1] = RGB(255, 255, 255);
        top.frameExParams[2] = RGB(0, 0, 0);
        top.frameExParams[3] = RGB(0, 0, 255);
        top.frameExParams[4] = c.fifth;
        top.SetFrameEx();
        LayOutBackground(top);
        t_memDC dib;
        ASSERT_TRUE(top.RenderToDib(nullptr, dib, 12, 24));
        EXPECT_EQ(PixelAt(dib, 0, 0), 0xFFFF0000u);
        EXPECT_EQ(PixelAt(dib, 1, 1), 0xFFFFFFFFu);
        const uint32_t top2 = PixelAt(dib, 6, 2);
        const uint32_t bottom = PixelAt(dib, 6, 21);
        EXPECT_LT(top2 & 0xFFFFFF, 0x202020u) << std::hex << top2;  // starts near black
        for (int shift : {0, 8, 16})
            EXPECT_NEAR(static_cast<int>(bottom >> shift & 0xFF), static_cast<int>(c.bottomRow >> shift & 0xFF), 40)
                << std::hex << bottom;
        EXPECT_EQ(bottom >> 24, 0xFFu);
    }
}

TEST(WndTopRender, ImageLayersNeedALayoutAndKeyTheMaskBlack)
{
    t_scopedGdiObj<HBITMAP> picture(MakeNinePicture());
    t_image image;
    image.Init();
    image.SetBitmap(picture.Get(), 0, 0, c_noColorKey, c_noColorKey, -1, -1, 0, 0, false);
    t_image mask = image;

    t_wndTop bare;
    EXPECT_FALSE(bare.SetImageLayers(image, mask));

    t_wndTop top;
    MakeWindowlessTop(top, 0, 0, 9, 9);
    ASSERT_TRUE(top.SetImageLayers(image, mask));
    EXPECT_EQ(mask.key1, 0u);
    LayOutBackground(top);
    t_memDC dib;
    ASSERT_TRUE(top.RenderToDib(nullptr, dib, 9, 9));
    EXPECT_EQ(PixelAt(dib, 0, 0), c_cellColors[0]);
    EXPECT_EQ(PixelAt(dib, 8, 8), c_cellColors[8]);
}

}  // namespace
