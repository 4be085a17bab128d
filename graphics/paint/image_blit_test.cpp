#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <functional>

#include "graphics/image/image.h"
#include "graphics/paint/color_key.h"
#include "graphics/paint/hit_mask.h"
#include "graphics/paint/image_draw.h"
#include "graphics/paint/nine_images.h"
#include "graphics/paint/paint_ctx.h"
#include "graphics/paint/pixel_ops.h"
#include "graphics/paint/solid_draw.h"

namespace {

// A 32-bit DIB whose top-down pixel (x, y) is pixel(x, y).
HBITMAP MakeBitmap(int w, int h, const std::function<uint32_t(int, int)>& pixel)
{
    uint32_t* bits = nullptr;
    HBITMAP bitmap = CreateDib32(w, h, &bits);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x)
            bits[(h - 1 - y) * w + x] = pixel(x, y);
    }
    return bitmap;
}

// A distinct opaque colour per source pixel.
uint32_t Opaque(int x, int y) { return 0xFF000000u | uint32_t(x + 1) << 16 | uint32_t(y + 1) << 8 | 0x5A; }

// A target DIB of w x h filled with `fill`, painted through a context.
class t_target {
public:
    t_target(int w, int h, bool alphaTarget, uint32_t fill = 0) : m_paint(nullptr, false, nullptr, false)
    {
        t_memDC::Create(m_dc, nullptr, w, h);
        std::fill(m_dc.Pixels(), m_dc.Pixels() + w * h, fill);
        new (&m_paint) t_paintCtx(m_dc.dc, alphaTarget, &m_dc, false);
    }
    t_paintCtx& Paint() { return m_paint; }
    uint32_t At(int x, int y)
    {
        GdiFlush();
        return m_dc.Pixels()[(m_dc.height - 1 - y) * m_dc.width + x];
    }
    int Width() const { return m_dc.width; }
    int Height() const { return m_dc.height; }

private:
    t_memDC m_dc;
    t_paintCtx m_paint;
};

t_image Record(HBITMAP bitmap, int x, int y, int w, int h, int modeH, int modeV, bool alpha, uint32_t k1 = c_noColorKey,
               uint32_t k2 = c_noColorKey)
{
    t_image record;
    memset(&record, 0, sizeof(record));
    record.Init();
    record.SetBitmap(bitmap, x, y, k1, k2, w, h, modeH, modeV, false);
    record.hasAlpha = alpha ? 1 : 0;
    return record;
}

bool Near(uint32_t a, uint32_t b, int tolerance)
{
    for (int s = 0; s < 32; s += 8) {
        if (std::abs(int(a >> s & 0xFF) - int(b >> s & 0xFF)) > tolerance)
            return false;
    }
    return true;
}

TEST(ImageBlit, TilesAcrossEachPartWideWithTheLastEndingAtTheEdge)
{
    HBITMAP bitmap = MakeBitmap(16, 4, Opaque);
    // Part 2,1 of w x 2; few tiles draw one at a time, many through one strip.
    const struct {
        int part, dest;
        bool alpha, alphaTarget;
    } cases[] = {{10, 25, true, true}, {10, 20, true, true},  {10, 25, false, false}, {3, 40, true, true},
                 {3, 40, false, true}, {1, 37, false, false}, {14, 14, true, true}};
    for (const auto& c : cases) {
        t_image record = Record(bitmap, 2, 1, c.part, 2, t_image::e_tile, t_image::e_natural, c.alpha);
        t_target target(50, 5, c.alphaTarget, 0x11223344);
        record.Draw(target.Paint(), 4, 1, c.dest, 3, 255);
        for (int y = 0; y < 5; ++y) {
            for (int x = 0; x < 50; ++x) {
                const bool inside = x >= 4 && x < 4 + c.dest && y >= 1 && y < 3;
                const uint32_t want = inside ? Opaque(2 + (x - 4) % c.part, 1 + (y - 1)) : 0x11223344;
                ASSERT_EQ(want, target.At(x, y)) << c.part << " across " << c.dest << " at " << x << "," << y;
            }
        }
    }
    DeleteObject(bitmap);
}

TEST(ImageBlit, TilesDownAndStretchesTheOtherAxis)
{
    // A 1 x 3 part tiled down 7 rows and stretched from 1 to 4 columns.
    HBITMAP bitmap = MakeBitmap(3, 3, Opaque);
    t_image record = Record(bitmap, 1, 0, 1, 3, t_image::e_stretch, t_image::e_tile, true);
    t_target target(6, 9, true);
    record.Draw(target.Paint(), 1, 1, 4, 7, 255);
    for (int y = 1; y < 8; ++y) {
        for (int x = 1; x < 5; ++x)
            ASSERT_EQ(Opaque(1, (y - 1) % 3), target.At(x, y)) << x << "," << y;
    }
    EXPECT_EQ(0u, target.At(5, 4));
    EXPECT_EQ(0u, target.At(1, 8));
    DeleteObject(bitmap);
}

TEST(ImageBlit, NaturalSizeWithKeysAndAlpha)
{
    const uint32_t magenta = 0x00FF00FF, green = 0x0000FF00;
    // Columns 0 and 3 carry the keys' colours, opaque; column 1 is half transparent.
    HBITMAP bitmap = MakeBitmap(4, 2, [&](int x, int) -> uint32_t {
        if (x == 0)
            return ColorRefToArgb(magenta);
        if (x == 3)
            return ColorRefToArgb(green);
        return x == 1 ? 0x80400000u : 0xFF00FF80u;
    });
    const uint32_t background = 0xFF202020;
    const struct {
        bool alpha, alphaTarget, stretched;
        uint32_t k1, k2;
        uint32_t want[4];
        int tolerance;
    } cases[] = {
        // Alpha pictures are blended (over the background, within AlphaBlend's rounding);
        // exact keys drop their pixels.
        {true, true, false, magenta, green, {background, 0xFF501010, 0xFF00FF80, background}, 1},
        {true, true, false, c_noColorKey, green, {ColorRefToArgb(magenta), 0xFF501010, 0xFF00FF80, background}, 1},
        // Opaque pictures on alpha targets: keyed pixels transparent, the rest opaque.
        {false, true, false, magenta, c_noColorKey, {background, 0xFF400000, 0xFF00FF80, ColorRefToArgb(green)}, 0},
        {false, true, true, magenta, green, {background, 0xFF400000, 0xFF00FF80, background}, 0},
        {false, true, false, magenta, green, {background, 0xFF400000, 0xFF00FF80, background}, 0},
        // Key 1 none and key 2 set keys with key 2 alone; ordinary targets through GDI
        // (stretched 1:1: the part fills the destination exactly).
        {false, false, true, c_noColorKey, green, {ColorRefToArgb(magenta), 0x400000, 0xFF00FF80, background}, 0},
        {false, false, true, magenta, green, {background, 0x400000, 0x00FF80, background}, 0},
    };
    for (size_t i = 0; i < sizeof(cases) / sizeof(cases[0]); ++i) {
        const auto& c = cases[i];
        const int mode = c.stretched ? t_image::e_stretch : t_image::e_natural;
        t_image record = Record(bitmap, 0, 0, 4, 2, mode, mode, c.alpha, c.k1, c.k2);
        t_target target(6, 3, c.alphaTarget, background);
        record.Draw(target.Paint(), 1, 1, c.stretched ? 4 : 10, c.stretched ? 2 : 10, 255);
        for (int x = 0; x < 4; ++x) {
            const uint32_t got = target.At(1 + x, 1);
            // GDI leaves the alpha bytes of ordinary targets as it likes: compare colours.
            const uint32_t mask = c.alphaTarget ? 0xFFFFFFFF : 0xFFFFFF;
            EXPECT_TRUE(Near(got & mask, c.want[x] & mask, c.tolerance))
                << "case " << i << " column " << x << ": " << std::hex << got << " != " << c.want[x];
        }
        EXPECT_EQ(background, target.At(0, 0));
    }
    DeleteObject(bitmap);
}

TEST(ImageBlit, StretchedOpaquePictureOnAnAlphaTargetComesOutOpaque)
{
    // The bitmap's alpha bytes are 0; with no keys every drawn pixel gets alpha 255.
    HBITMAP bitmap = MakeBitmap(2, 2, [](int x, int y) { return uint32_t(x * 0x40 + y * 0x10) << 8; });
    t_image record = Record(bitmap, 0, 0, 2, 2, t_image::e_stretch, t_image::e_stretch, false);
    t_target target(4, 4, true);
    record.Draw(target.Paint(), 0, 0, 4, 4, 255);
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(0xFF000000u | uint32_t((x / 2) * 0x40 + (y / 2) * 0x10) << 8, target.At(x, y)) << x << "," << y;
    }
    DeleteObject(bitmap);
}

TEST(ImageBlit, NegativePartOriginMovesTheDrawingButNotTheRecord)
{
    HBITMAP bitmap = MakeBitmap(60, 2, Opaque);
    t_image record = Record(bitmap, -5, 0, 40, 2, t_image::e_natural, t_image::e_natural, true);
    for (int pass = 0; pass < 2; ++pass) {
        t_target target(160, 2, true);
        record.Draw(target.Paint(), 100, 0, 50, 2, 255);
        EXPECT_EQ(0u, target.At(104, 0));
        EXPECT_EQ(Opaque(0, 0), target.At(105, 0)) << "pass " << pass;
        EXPECT_EQ(Opaque(39, 1), target.At(144, 1));
        EXPECT_EQ(0u, target.At(145, 0));
        // The record keeps its own origin, so a second paint lands in the same place.
        EXPECT_EQ(-5, record.partX);
        EXPECT_EQ(1, record.blend);
    }
    DeleteObject(bitmap);
}

TEST(ImageBlit, PixelBuffersBlendDirectlyIntoTheTarget)
{
    uint32_t pixels[4] = {0xFF0000FF, 0x80000080, 0, 0xFFFFFFFF};  // bottom row first: 2 x 2
    t_imageSource* source = nullptr;
    ASSERT_TRUE(t_imageSource::CreateFromPixels(1, pixels, 2, 2, source, 0, nullptr));
    t_image record;
    memset(&record, 0, sizeof(record));
    record.SetPart(source, 0, 0, c_noColorKey, c_noColorKey, -1, -1, t_image::e_natural, t_image::e_natural, true);
    t_target target(2, 2, true, 0xFF00FF00);
    record.Draw(target.Paint(), 0, 0, 2, 2, 255);
    // Top row is memory row 1: {0, white}; bottom row {blue, half blue}.
    EXPECT_EQ(0xFF00FF00u, target.At(0, 0));
    EXPECT_EQ(0xFFFFFFFFu, target.At(1, 0));
    EXPECT_EQ(0xFF0000FFu, target.At(0, 1));
    EXPECT_EQ(0xFF007F80u, target.At(1, 1));
    t_imageSource::Destroy(source);
}

TEST(NineImages, CornersKeepTheirSizeAndTheRestStretches)
{
    // 9 x 9 picture, insets 2 (left), 3 (right), 2 (top), 4 (bottom): one colour per cell.
    const int columns[] = {0, 2, 6, 9}, rows[] = {0, 2, 5, 9};
    auto cellOf = [&](int v, const int* edges) { return v < edges[1] ? 0 : v < edges[2] ? 1 : 2; };
    auto colour = [](int cell) { return 0xFF000000u | uint32_t(cell + 1) * 0x1C0B05u; };
    HBITMAP bitmap = MakeBitmap(9, 9, [&](int x, int y) { return colour(cellOf(y, rows) * 3 + cellOf(x, columns)); });
    t_imageSource source;
    memset(&source, 0, sizeof(source));
    source.SetSingle(0, 0, false, true, true, t_bitmapRef::e_handle, bitmap, 0, 0);
    t_imageSet9 set;
    t_imageSet9::SetFromSource(&source, set, t_insets{2, 3, 2, 4});
    EXPECT_EQ(4, set.cells[t_imageSet9::e_centre].partWidth);
    EXPECT_EQ(3, set.cells[t_imageSet9::e_centre].partHeight);

    const struct {
        int w, h;
    } sizes[] = {{30, 20}, {5, 6}, {9, 9}};
    for (const auto& s : sizes) {
        t_target target(40, 30, true);
        ASSERT_TRUE(t_imageSet9::Draw(target.Paint(), set, 3, 2, s.w, s.h));
        const int dc[] = {0, 2, s.w - 3, s.w}, dr[] = {0, 2, s.h - 4, s.h};
        for (int y = 0; y < s.h; ++y) {
            for (int x = 0; x < s.w; ++x) {
                const uint32_t want = colour(cellOf(y, dr) * 3 + cellOf(x, dc));
                ASSERT_EQ(want, target.At(3 + x, 2 + y)) << s.w << "x" << s.h << " at " << x << "," << y;
            }
        }
    }
    DeleteObject(bitmap);
}

TEST(NineImages, TargetsSmallerThanTheCornersDrawNoMirroredMiddle)
{
    HBITMAP bitmap = MakeBitmap(9, 9, [](int x, int y) {
        const bool corner = (x < 3 || x >= 6) && (y < 3 || y >= 6);
        return corner ? 0xFF0000FFu : 0xFFFF0000u;
    });
    t_imageSet9 set;
    t_imageSet9::SetFromBitmap(set, bitmap, t_insets{3, 3, 3, 3}, 0, 0, c_noColorKey, c_noColorKey, t_image::e_stretch,
                               t_image::e_stretch);
    t_target target(8, 8, true);
    t_imageSet9::Draw(target.Paint(), set, 0, 0, 4, 4);
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x)
            ASSERT_EQ(x < 4 && y < 4 ? 0xFF0000FFu : 0u, target.At(x, y)) << x << "," << y;
    }
    // Insets wider than the picture cut no cell to a negative size.
    t_imageSource source;
    memset(&source, 0, sizeof(source));
    source.SetSingle(0, 0, false, true, true, t_bitmapRef::e_handle, bitmap, 0, 0);
    t_imageSet9::SetFromSource(&source, set, t_insets{7, 7, 2, 9});
    for (const t_image& cell : set.cells) {
        EXPECT_GE(cell.partWidth, 0);
        EXPECT_GE(cell.partHeight, 0);
        EXPECT_LE(cell.partX + cell.partWidth, 9);
        EXPECT_LE(cell.partY + cell.partHeight, 9);
    }
    DeleteObject(bitmap);
}

TEST(HitMask, BitsCountFromThePartsOriginAndSkipTransparentPixels)
{
    // Transparent where x + y is odd.
    HBITMAP bitmap = MakeBitmap(20, 10, [](int x, int y) { return (x + y) % 2 ? 0u : 0xFF102030u; });
    t_image record = Record(bitmap, 12, 3, 6, 5, t_image::e_natural, t_image::e_natural, true);
    t_hitMask mask;
    ASSERT_TRUE(mask.Reset(6, 5));
    record.BuildHitMask(6, 5, mask);
    for (int y = 0; y < 5; ++y) {
        for (int x = 0; x < 6; ++x)
            EXPECT_EQ((x + 12 + y + 3) % 2 == 0, mask.Test(x, y)) << x << "," << y;
    }
    EXPECT_FALSE(mask.Test(6, 0));
    EXPECT_FALSE(mask.Test(-1, 0));
    // No keys and no alpha: every bit.
    record.hasAlpha = 0;
    record.BuildHitMask(6, 5, mask);
    EXPECT_TRUE(mask.Test(1, 0));
    EXPECT_TRUE(mask.Test(5, 4));
    DeleteObject(bitmap);
}

// The per-pixel rule the hit mask follows: from the part's origin, each pixel of the part
// inside the bitmap that equals neither key (as ARGB, a missing key being 0) is set;
// without keys and alpha, the whole width x height.
void ReferenceHitMask(const t_image& record, const uint32_t* pixels, int bw, int bh, int width, int height,
                      t_hitMask& mask)
{
    mask.Clear();
    if (record.key1 == c_noColorKey && record.key2 == c_noColorKey && !record.hasAlpha) {
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x)
                mask.Set(x, y);
        }
        return;
    }
    const uint32_t k1 = ColorRefToArgb(record.key1), k2 = ColorRefToArgb(record.key2);
    for (int i = 0; i < bh; ++i) {
        for (int j = 0; j < bw; ++j) {
            const uint32_t p = pixels[static_cast<size_t>(bh - 1 - i) * bw + j];
            if (i >= record.partY && i < record.partY + height && j >= record.partX && j < record.partX + width &&
                p != k1 && p != k2)
                mask.Set(j - record.partX, i - record.partY);
        }
    }
}

// Every word of both masks, the spare bits past the last pixel included.
void ExpectSameMask(const t_hitMask& want, const t_hitMask& got)
{
    ASSERT_EQ(want.width, got.width);
    ASSERT_EQ(want.height, got.height);
    const size_t words = static_cast<size_t>(want.width) * want.height / 32 + 1;
    for (size_t i = 0; i < words; ++i)
        ASSERT_EQ(want.bits[i], got.bits[i]) << "word " << i;
}

TEST(HitMask, RowsBuiltAWordAtATimeMatchThePerPixelRule)
{
    const uint32_t magenta = 0x00FF00FFu, teal = 0x00808000u;
    const uint32_t magentaArgb = ColorRefToArgb(magenta), tealArgb = ColorRefToArgb(teal);
    // Pixels: transparent, both keys, the keys' colours at other alphas, alpha edges
    // (alpha 1, alpha 0 with colour left over) and opaque colours.
    const uint32_t palette[] = {0u,          magentaArgb,  tealArgb,    magentaArgb & 0x80FFFFFFu,
                                0x01000000u, 0x00000001u,  0xFF000000u, 0xFF102030u,
                                0x80402010u, tealArgb ^ 1u};
    struct t_case {
        int bw, bh;        // bitmap
        int x, y, w, h;    // part
        int maskW, maskH;  // mask, built at the part's size when 0
        uint32_t k1, k2;
        bool alpha;
    };
    const t_case cases[] = {
        {33, 7, 0, 0, 33, 7, 0, 0, c_noColorKey, c_noColorKey, true},    // alpha only, odd width
        {31, 5, 1, 1, 29, 3, 0, 0, magenta, c_noColorKey, true},         // first key, inner part
        {65, 3, 0, 0, 65, 3, 0, 0, c_noColorKey, teal, false},           // second key alone
        {40, 6, -3, -2, 47, 9, 0, 0, magenta, teal, true},               // part past every edge
        {1, 40, 0, 0, 1, 40, 0, 0, magenta, c_noColorKey, false},        // one column
        {97, 2, 5, 0, 90, 2, 0, 0, c_noColorKey, c_noColorKey, true},    // rows across many words
        {33, 7, 40, 0, 5, 5, 0, 0, magenta, c_noColorKey, true},         // part beside the bitmap
        {33, 7, 2, 1, 13, 3, 20, 4, c_noColorKey, c_noColorKey, false},  // whole area, narrower than the mask
        {64, 4, 0, 0, 64, 4, 0, 0, c_noColorKey, c_noColorKey, false},   // whole area, word-aligned rows
        {16, 16, 3, 3, 7, 9, 12, 12, magenta, teal, true},               // mask larger than the part
    };
    uint32_t seed = 12345;
    for (const t_case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.bw << "x" << c.bh << " part " << c.x << "," << c.y << " " << c.w << "x"
                                        << c.h);
        HBITMAP bitmap = MakeBitmap(c.bw, c.bh, [&](int, int) {
            seed = seed * 1103515245u + 12345u;
            return palette[(seed >> 16) % (sizeof(palette) / sizeof(palette[0]))];
        });
        t_image record =
            Record(bitmap, c.x, c.y, c.w, c.h, t_image::e_natural, t_image::e_natural, c.alpha, c.k1, c.k2);
        int bw = 0, bh = 0;
        const uint32_t* pixels = ReadablePixels(record.GetBitmapRef(), bw, bh);
        ASSERT_NE(pixels, nullptr);
        const int maskW = c.maskW ? c.maskW : c.w, maskH = c.maskH ? c.maskH : c.h;
        t_hitMask want, got;
        ASSERT_TRUE(want.Reset(maskW, maskH));
        ASSERT_TRUE(got.Reset(maskW, maskH));
        ReferenceHitMask(record, pixels, bw, bh, c.w, c.h, want);
        memset(got.bits, 0xA5, (static_cast<size_t>(maskW) * maskH / 32 + 1) * 4);  // built over a dirty mask
        record.BuildHitMask(c.w, c.h, got);
        ExpectSameMask(want, got);
        DeleteObject(bitmap);
    }
}

TEST(HitMask, ARowRunIsCutToTheMask)
{
    const int width = 37, height = 3;
    uint32_t row[50];
    for (int i = 0; i < 50; ++i)
        row[i] = i % 3 ? 0xFF000000u | i : 0u;
    const int starts[] = {-60, -5, 0, 1, 31, 36, 37, 40};
    const int counts[] = {0, 1, 31, 32, 33, 45, 50, -4};
    for (int y : {-1, 0, 2, 3}) {
        for (int x : starts) {
            for (int count : counts) {
                SCOPED_TRACE(testing::Message() << "x " << x << " y " << y << " count " << count);
                t_hitMask want, got;
                ASSERT_TRUE(want.Reset(width, height));
                ASSERT_TRUE(got.Reset(width, height));
                for (int i = 0; i < count; ++i) {
                    if (row[i])
                        want.Set(x + i, y);
                }
                got.SetRowFromPixels(x, y, row, count, 0u, 0u);
                ExpectSameMask(want, got);
            }
        }
    }
}

TEST(MapPoint, FollowsTheFillRulesAndStaysInThePart)
{
    t_image record;
    memset(&record, 0, sizeof(record));
    record.Init();
    record.partX = 4;
    record.partY = 2;
    record.partWidth = 10;
    record.partHeight = 3;
    const struct {
        int modeH, modeV, w, h, x, y;
        bool ok;
        int sx, sy;
    } cases[] = {
        {t_image::e_stretch, t_image::e_stretch, 3, 1, 2, 0, true, 11, 2},  // shrinking: no division by 0
        {t_image::e_stretch, t_image::e_stretch, 3, 1, 0, 0, true, 4, 2},
        {t_image::e_stretch, t_image::e_stretch, 20, 6, 19, 5, true, 13, 4},  // never past the part
        {t_image::e_stretch, t_image::e_stretch, 20, 6, 20, 0, false, 0, 0},
        {t_image::e_tile, t_image::e_tile, 25, 7, 23, 6, true, 7, 2},
        {t_image::e_natural, t_image::e_natural, 8, 8, 7, 2, true, 11, 4},
        {t_image::e_natural, t_image::e_natural, 8, 8, 8, 2, false, 0, 0},
        {t_image::e_natural, t_image::e_natural, 20, 8, 5, 3, false, 0, 0},
    };
    for (const auto& c : cases) {
        record.modeH = c.modeH;
        record.modeV = c.modeV;
        POINT out = {-1, -1};
        EXPECT_EQ(c.ok, record.MapPoint(SIZE{c.w, c.h}, POINT{c.x, c.y}, out)) << c.x << "," << c.y;
        if (c.ok) {
            EXPECT_EQ(c.sx, out.x) << c.x << "," << c.y;
            EXPECT_EQ(c.sy, out.y) << c.x << "," << c.y;
        }
    }
}

TEST(ImageRegion, KeyedAndTransparentPixelsAreOutside)
{
    const uint32_t magenta = 0x00FF00FF;
    HBITMAP bitmap = MakeBitmap(6, 4, [&](int x, int y) {
        if (x == 0)
            return ColorRefToArgb(magenta);
        return y == 3 ? 0u : 0xFF336699u;
    });
    t_image record = Record(bitmap, 0, 0, 6, 4, t_image::e_natural, t_image::e_natural, false, magenta);
    HRGN region = record.CreateRegion(nullptr, 6, 4);
    ASSERT_NE(nullptr, region);
    EXPECT_FALSE(PtInRegion(region, 0, 1));
    EXPECT_TRUE(PtInRegion(region, 1, 1));
    EXPECT_FALSE(PtInRegion(region, 2, 3));
    DeleteObject(region);
    // Stretched to 12 x 8 through a drawing: the key's column doubles, alpha 0 stays out.
    record.modeH = record.modeV = t_image::e_stretch;
    record.hasAlpha = 1;
    region = record.CreateRegion(nullptr, 12, 8);
    ASSERT_NE(nullptr, region);
    RECT box = {};
    GetRgnBox(region, &box);
    EXPECT_EQ(2, box.left);
    EXPECT_EQ(12, box.right);
    EXPECT_EQ(6, box.bottom);
    DeleteObject(region);
    EXPECT_EQ(nullptr, record.CreateRegion(nullptr, 0, 4));
    DeleteObject(bitmap);
}

TEST(SolidDraw, FillsAndPenLinesAreAlphaCorrectOnAlphaTargets)
{
    t_target target(10, 6, true);
    // COLORREF blue at alpha 0x80; a colour below 0x1000000 is opaque.
    ASSERT_TRUE(target.Paint().FillRect(1, 1, 3, 2, 0x80FF0000));
    EXPECT_EQ(0x80000080u, target.At(1, 1));
    EXPECT_EQ(0x80000080u, target.At(3, 2));
    EXPECT_EQ(0u, target.At(4, 1));
    ASSERT_TRUE(target.Paint().FillRect(5, 0, 1, 1, 0x0000FF));
    EXPECT_EQ(0xFFFF0000u, target.At(5, 0));

    t_pen* pen = nullptr;
    ASSERT_TRUE(t_pen::Create(pen, 0x0000FF00));
    t_target lines(10, 10, true);
    EXPECT_TRUE(DrawPenLine(1, 4, 6, 4, lines.Paint(), pen));
    for (int x = 0; x < 10; ++x)
        EXPECT_EQ(x >= 1 && x < 6 ? 0xFF00FF00u : 0u, lines.At(x, 4)) << x;
    // A diagonal line blends only its own pixels, not its bounding box.
    EXPECT_TRUE(DrawPenLine(0, 0, 3, 3, lines.Paint(), pen));
    EXPECT_EQ(0xFF00FF00u, lines.At(1, 1));
    EXPECT_EQ(0u, lines.At(2, 0));
    const RECT frame = {5, 5, 9, 9};
    EXPECT_TRUE(DrawPenFrame(pen, frame, lines.Paint()));
    EXPECT_EQ(0xFF00FF00u, lines.At(5, 5));
    EXPECT_EQ(0xFF00FF00u, lines.At(8, 7));
    EXPECT_EQ(0u, lines.At(7, 7));
    EXPECT_FALSE(DrawPenLine(0, 0, 1, 1, lines.Paint(), nullptr));
    t_pen::Release(pen);
}

}  // namespace
