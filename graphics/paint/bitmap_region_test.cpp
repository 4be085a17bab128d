#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "graphics/paint/bitmap_region.h"
#include "graphics/paint/paint_ctx.h"

namespace {

const uint32_t c_none = 0xFFFFFFFFu;

// Bottom-up pixels whose top-down pixel (x, y) is pixel(x, y).
std::vector<uint32_t> Pixels(int w, int h, const std::function<uint32_t(int, int)>& pixel)
{
    std::vector<uint32_t> out(static_cast<size_t>(w) * h);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x)
            out[static_cast<size_t>(h - 1 - y) * w + x] = pixel(x, y);
    }
    return out;
}

// Every point of the w x h area is in the region exactly when inside(x, y) holds.
void ExpectRegion(HRGN region, int w, int h, const std::function<bool(int, int)>& inside)
{
    ASSERT_TRUE(region);
    int wrong = 0;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x)
            wrong += (PtInRegion(region, x, y) != FALSE) != inside(x, y);
    }
    EXPECT_EQ(0, wrong);
    RECT box;
    EXPECT_NE(ERROR, GetRgnBox(region, &box));
    EXPECT_GE(box.left, 0);
    EXPECT_GE(box.top, 0);
    EXPECT_LE(box.right, w);
    EXPECT_LE(box.bottom, h);
}

TEST(RegionFromBitmap, RunsOfUnkeyedPixelsRelativeToThePart)
{
    const uint32_t red = 0xFFFF0000u, keyArgb = 0xFF00FF00u;  // key 1 is green as a COLORREF too
    // A 12 x 8 picture: a green frame, a transparent column, red elsewhere.
    auto pixel = [&](int x, int y) -> uint32_t {
        if (x == 0 || y == 0 || x == 11 || y == 7)
            return keyArgb;
        return x == 5 ? 0u : red;
    };
    const std::vector<uint32_t> pixels = Pixels(12, 8, pixel);
    struct {
        int x, y, w, h;
    } const parts[] = {{0, 0, 12, 8}, {2, 1, 6, 5}, {3, 2, 100, 100}};
    for (const auto& p : parts) {
        HRGN region = RegionFromBitmap(pixels.data(), 12, 8, p.x, p.y, p.w, p.h, 0x0000FF00, c_none);
        const int w = std::min(p.w, 12 - p.x), h = std::min(p.h, 8 - p.y);
        ExpectRegion(region, w + 2, h + 2, [&](int x, int y) {
            if (x >= w || y >= h)
                return false;
            const uint32_t v = pixel(x + p.x, y + p.y);
            return v != keyArgb && v != 0;
        });
        DeleteObject(region);
    }
}

TEST(RegionFromBitmap, SecondKeyAndEmptyResults)
{
    const std::vector<uint32_t> pixels = Pixels(6, 4, [](int x, int) { return x < 3 ? 0xFF0000FFu : 0xFFFF0000u; });
    // Both colours keyed (blue and red as COLORREF values): an empty region, not null.
    HRGN region = RegionFromBitmap(pixels.data(), 6, 4, 0, 0, 6, 4, 0x00FF0000, 0x000000FF);
    ASSERT_TRUE(region);
    RECT box;
    EXPECT_EQ(NULLREGION, GetRgnBox(region, &box));
    DeleteObject(region);
    // Key 2 alone.
    region = RegionFromBitmap(pixels.data(), 6, 4, 0, 0, 6, 4, c_none, 0x000000FF);
    ExpectRegion(region, 6, 4, [](int x, int) { return x < 3; });
    DeleteObject(region);
    // Nothing of the bitmap in the part.
    EXPECT_EQ(nullptr, RegionFromBitmap(pixels.data(), 6, 4, 6, 0, 5, 4, c_none, c_none));
    EXPECT_EQ(nullptr, RegionFromBitmap(pixels.data(), 6, 4, 0, 4, 6, 5, c_none, c_none));
    EXPECT_EQ(nullptr, RegionFromBitmap(pixels.data(), 6, 4, 0, 0, 0, 4, c_none, c_none));
    EXPECT_EQ(nullptr, RegionFromBitmap(nullptr, 6, 4, 0, 0, 6, 4, c_none, c_none));
}

// 4500 single-pixel runs cross the 2000-rectangle flushes twice; the ORed parts must
// give exactly the pixels.
TEST(RegionFromBitmap, ManyRunsAreJoinedAcrossFlushes)
{
    const int w = 100, h = 90;  // every other pixel: 50 runs a row, 4500 in all
    auto in = [](int x, int y) { return (x + y) % 2 == 0; };
    const std::vector<uint32_t> pixels = Pixels(w, h, [&](int x, int y) { return in(x, y) ? 0xFF102030u : 0u; });
    HRGN region = RegionFromBitmap(pixels.data(), w, h, 0, 0, w, h, c_none, c_none);
    ExpectRegion(region, w, h, in);
    const DWORD bytes = GetRegionData(region, 0, nullptr);
    std::vector<BYTE> data(bytes);
    ASSERT_EQ(bytes, GetRegionData(region, bytes, reinterpret_cast<RGNDATA*>(data.data())));
    EXPECT_EQ(4500u, reinterpret_cast<RGNDATA*>(data.data())->rdh.nCount);
    DeleteObject(region);
}

TEST(RegionFromAlpha, PixelsWithAlphaOfADrawnSurface)
{
    t_memDC dib;
    ASSERT_TRUE(t_memDC::Create(dib, nullptr, 40, 30));
    // Alpha only in a ring; colour without alpha elsewhere does not count.
    auto in = [](int x, int y) {
        const int dx = x - 20, dy = y - 15;
        return dx * dx + dy * dy <= 144 && dx * dx + dy * dy >= 25;
    };
    for (int y = 0; y < 30; ++y) {
        for (int x = 0; x < 40; ++x)
            dib.Pixels()[(29 - y) * 40 + x] = in(x, y) ? 0x01000000u : 0x00FFFFFFu;
    }
    HRGN region = RegionFromAlpha(dib.dc, 40, 30);
    ExpectRegion(region, 40, 30, in);
    DeleteObject(region);
    EXPECT_EQ(nullptr, RegionFromAlpha(dib.dc, 0, 30));
    EXPECT_EQ(nullptr, RegionFromAlpha(nullptr, 40, 30));
}

}  // namespace
