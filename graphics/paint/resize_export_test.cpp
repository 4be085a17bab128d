#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "graphics/image/mem_dc.h"
#include "graphics/paint/pixel_ops.h"
#include "graphics/paint/png_export.h"
#include "graphics/paint/resize.h"

namespace {

HBITMAP Filled(int w, int h, uint32_t pixel, uint32_t** bits = nullptr)
{
    uint32_t* p = nullptr;
    HBITMAP bitmap = CreateDib32(w, h, &p);
    std::fill(p, p + w * h, pixel);
    if (bits)
        *bits = p;
    return bitmap;
}

bool IsBitmap(HBITMAP bitmap)
{
    BITMAP info;
    return GetObjectW(bitmap, sizeof(info), &info) == sizeof(info);
}

TEST(ResizeBitmap, EmptySizesFailAndLeaveTheSourceToTheCaller)
{
    for (bool bicubic : {true, false}) {
        for (SIZE size : {SIZE{0, 5}, SIZE{5, 0}, SIZE{-3, 4}}) {
            HBITMAP source = Filled(4, 4, 0xFF00FF00);
            EXPECT_EQ(nullptr, ResizeBitmap(source, 0x00FF00, size.cx, size.cy, false, bicubic));
            ASSERT_TRUE(IsBitmap(source));
            // The key was not applied either: the source is as it was.
            EXPECT_EQ(0xFF00FF00u, static_cast<uint32_t*>(GetBitmapPixels(source))[5]);
            DeleteObject(source);
        }
    }
    EXPECT_EQ(nullptr, ResizeBitmap(nullptr, 0xFFFFFFFFu, 4, 4, false, true));
    CBicubicFilter filter;
    t_weightTable table;
    EXPECT_FALSE(table.Build(filter, 0, 5));
    EXPECT_FALSE(table.Build(filter, 5, 0));
}

TEST(ResizeBitmap, KeysFirstThenScalesAndDeletesTheSource)
{
    // Magenta (not exact) becomes transparent before scaling; the rest is opaque grey.
    uint32_t* bits = nullptr;
    HBITMAP source = Filled(8, 8, 0x00808080, &bits);
    for (int i = 0; i < 32; ++i)
        bits[i] = 0x00FF00FF;  // the bottom four rows
    for (bool bicubic : {true, false}) {
        HBITMAP copy = CreateDib32(8, 8, nullptr);
        memcpy(GetBitmapPixels(copy), bits, 8 * 8 * 4);
        HBITMAP result = ResizeBitmap(copy, 0x00FF00FF, 4, 4, false, bicubic);
        ASSERT_NE(nullptr, result);
        EXPECT_FALSE(IsBitmap(copy));
        const uint32_t* out = static_cast<uint32_t*>(GetBitmapPixels(result));
        EXPECT_EQ(4, GetBitmapSize(result).cx);
        EXPECT_EQ(0u, out[0]) << bicubic;  // bottom row: keyed out
        // Top row: opaque grey (the bicubic filter rings by 1 next to the keyed rows).
        EXPECT_EQ(0xFFu, out[15] >> 24) << bicubic;
        EXPECT_NEAR(0x80, int(out[15] & 0xFF), 1) << bicubic;
        DeleteObject(result);
    }
    DeleteObject(source);
}

TEST(ResizeBitmap, SameSizeCopiesThePixels)
{
    uint32_t* bits = nullptr;
    HBITMAP source = Filled(5, 3, 0, &bits);
    for (int i = 0; i < 15; ++i)
        bits[i] = 0x10101010u * uint32_t(i % 16);
    std::vector<uint32_t> before(bits, bits + 15);
    HBITMAP result = ResizeBitmap(source, 0xFFFFFFFF, 5, 3, false, true);
    ASSERT_NE(nullptr, result);
    const uint32_t* out = static_cast<uint32_t*>(GetBitmapPixels(result));
    EXPECT_TRUE(std::equal(before.begin(), before.end(), out));
    DeleteObject(result);
}

// One pass in doubles, one target pixel at a time, taps in order: the sums the resize is
// defined by, truncated after + 0.5, clamped, alpha raised to the largest channel.
std::vector<uint32_t> ReferencePass(const std::vector<uint32_t>& in, int w, int h, bool horizontal, int length)
{
    CBicubicFilter filter;
    t_weightTable table;
    const int source = horizontal ? w : h;
    if (source == length)
        return in;
    EXPECT_TRUE(table.Build(filter, source, length));
    const int ow = horizontal ? length : w, oh = horizontal ? h : length;
    std::vector<uint32_t> out(size_t(ow) * oh);
    for (int y = 0; y < oh; ++y) {
        for (int x = 0; x < ow; ++x) {
            const int u = horizontal ? x : y;
            const t_weightTable::t_entry& e = table.entries[u];
            double sums[4] = {0, 0, 0, 0};
            for (int k = e.firstUsed; k <= e.right; ++k) {
                const uint32_t p = horizontal ? in[size_t(y) * w + k] : in[size_t(k) * w + x];
                for (int c = 0; c < 4; ++c)
                    sums[c] += table.WeightsOf(u)[k - e.left] * double(p >> (8 * c) & 0xFF);
            }
            uint32_t channel[4];
            for (int c = 0; c < 4; ++c)
                channel[c] = uint32_t(std::clamp(int(sums[c] + 0.5), 0, 255));
            const uint32_t alpha = std::max({channel[0], channel[1], channel[2], channel[3]});
            out[size_t(y) * ow + x] = alpha << 24 | channel[2] << 16 | channel[1] << 8 | channel[0];
        }
    }
    return out;
}

// The largest difference of one channel between two pictures of the same size.
int LargestChannelDifference(const std::vector<uint32_t>& a, const std::vector<uint32_t>& b)
{
    int largest = 0;
    for (size_t i = 0; i < a.size(); ++i) {
        for (int shift = 0; shift < 32; shift += 8)
            largest = std::max(largest, std::abs(int(a[i] >> shift & 0xFF) - int(b[i] >> shift & 0xFF)));
    }
    return largest;
}

TEST(ResizePixels, WithinOneUnitOfTheDoubleSumsAtEverySize)
{
    uint32_t seed = 3;
    const auto next = [&seed] {
        seed = seed * 1664525u + 1013904223u;
        return seed >> 8;
    };
    // Small pictures run on one thread, the large ones in blocks over the workers. The
    // float sums, unrounded between the passes, may round the other way than the double
    // sums (by one, never more); ramps and flat areas put many sums on a rounding edge,
    // where an error would grow through the second pass. Single pixels, upscales and
    // extreme ratios stretch the weight tables.
    const struct {
        int w, h, tw, th;
    } cases[] = {{9, 7, 4, 3},         {5, 5, 13, 11},      {64, 48, 31, 47}, {700, 400, 333, 190},
                 {480, 640, 960, 320}, {300, 200, 300, 77}, {1, 1, 1, 1},     {1, 1, 7, 5},
                 {6, 1, 1, 1},         {1, 9, 3, 2},        {1000, 3, 7, 60}, {2, 500, 300, 3},
                 {480, 270, 240, 135}, {17, 13, 16, 14}};
    for (const auto& c : cases) {
        std::vector<uint32_t> picture(size_t(c.w) * c.h);
        for (int i = 0; i < c.w * c.h; ++i) {
            const int x = i % c.w, y = i / c.w;
            const uint32_t a = (x / 7 + y / 5) % 3 == 0 ? 255 : (next() & 0xFF);
            const uint32_t r = (x * 3) % 256 * a / 255, g = (next() & 0xFF) * a / 255, b = (y % 2 ? a : 0);
            picture[i] = a << 24 | r << 16 | g << 8 | b;
        }
        // Smooth ramps under an alpha ramp, as photographs and gradients have them.
        std::vector<uint32_t> ramps(picture.size());
        for (int i = 0; i < c.w * c.h; ++i) {
            const int x = i % c.w, y = i / c.w;
            const uint32_t a = 200 + (x + y) % 56;
            ramps[i] = a << 24 | (x * 255 / std::max(1, c.w - 1)) * a / 255 << 16 |
                       (y * 255 / std::max(1, c.h - 1)) * a / 255 << 8 | ((x ^ y) & 0x7F) * a / 255;
        }
        for (const std::vector<uint32_t>* source : {&picture, &ramps}) {
            const bool verticalFirst = int64_t(c.th) * c.w < int64_t(c.tw) * c.h;
            std::vector<uint32_t> expected =
                verticalFirst ? ReferencePass(ReferencePass(*source, c.w, c.h, false, c.th), c.w, c.th, true, c.tw)
                              : ReferencePass(ReferencePass(*source, c.w, c.h, true, c.tw), c.tw, c.h, false, c.th);
            std::vector<uint32_t> out(size_t(c.tw) * c.th, 0xDEADBEEF);
            CBicubicFilter filter;
            ASSERT_TRUE(ResizePixels(filter, source->data(), c.w, c.h, out.data(), c.tw, c.th));
            EXPECT_LE(LargestChannelDifference(out, expected), 1)
                << c.w << "x" << c.h << " -> " << c.tw << "x" << c.th << (source == &ramps ? " ramps" : " random");
            // Still valid premultiplied pixels: no channel above alpha.
            const auto invalid = std::count_if(out.begin(), out.end(), [](uint32_t p) {
                const uint32_t a = p >> 24;
                return (p & 0xFF) > a || (p >> 8 & 0xFF) > a || (p >> 16 & 0xFF) > a;
            });
            EXPECT_EQ(0, invalid) << c.w << "x" << c.h << " -> " << c.tw << "x" << c.th;
        }
    }
}

TEST(ResizePixels, BoxFilterAveragesWhenShrinkingAndRepeatsWhenEnlarging)
{
    // One row each way: shrinking by whole factors averages each run of source pixels,
    // enlarging repeats each pixel (no blur between neighbours).
    const struct {
        std::vector<uint32_t> row;
        int targetWidth;
        std::vector<uint32_t> expected;
    } cases[] = {
        {{0xFF000000, 0xFF0000FE, 0xFF00FE00, 0xFFFE0000}, 2, {0xFF00007F, 0xFF7F7F00}},
        {{0xFF000000, 0xFF000030, 0xFF000060}, 1, {0xFF000030}},
        {{0xFF102030, 0x00000000}, 6, {0xFF102030, 0xFF102030, 0xFF102030, 0, 0, 0}},
        {{0xFF000010, 0xFF000020}, 4, {0xFF000010, 0xFF000010, 0xFF000020, 0xFF000020}},
    };
    CBoxFilter filter;
    for (const auto& c : cases) {
        const int width = static_cast<int>(c.row.size());
        std::vector<uint32_t> out(c.expected.size());
        ASSERT_TRUE(ResizePixels(filter, c.row.data(), width, 1, out.data(), c.targetWidth, 1));
        EXPECT_EQ(c.expected, out) << width << " -> " << c.targetWidth;
    }
}

std::wstring TempPath(const wchar_t* name)
{
    wchar_t folder[MAX_PATH];
    GetTempPathW(MAX_PATH, folder);
    return std::wstring(folder) + name;
}

TEST(SavePixelsAsPng, ChecksTheRectangleAndReportsGdiplusFailures)
{
    std::vector<uint32_t> pixels(6 * 4, 0xFF336699);
    const SIZE size = {6, 4};
    const std::wstring path = TempPath(L"kavrel_png_export_test.png");
    const struct {
        RECT rect;
        bool ok;
    } cases[] = {{{0, 0, 6, 4}, true},  {{1, 2, 4, 4}, true},  {{0, 0, 7, 4}, false}, {{-1, 0, 3, 3}, false},
                 {{0, 3, 6, 5}, false}, {{2, 2, 2, 3}, false}, {{4, 1, 2, 3}, false}};
    for (const auto& c : cases) {
        DeleteFileW(path.c_str());
        EXPECT_EQ(c.ok, SavePixelsAsPng(pixels.data(), c.rect, size, path.c_str()))
            << c.rect.left << "," << c.rect.top << "," << c.rect.right << "," << c.rect.bottom;
        EXPECT_EQ(c.ok, GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES);
    }
    EXPECT_TRUE(StartGdiplusOnce());
    CLSID png = {};
    EXPECT_GE(FindEncoderClsid(L"image/png", png), 0);
    CLSID none = {};
    EXPECT_EQ(-1, FindEncoderClsid(L"image/PNG", none));
    EXPECT_FALSE(
        SavePixelsAsPng(pixels.data(), RECT{0, 0, 6, 4}, size, TempPath(L"kavrel_no_such_folder\\x.png").c_str()));
    // The bitmap adapter wants a 32-bit DIB of the stated size.
    HBITMAP bitmap = Filled(6, 4, 0xFF112233);
    EXPECT_TRUE(SavePng(bitmap, RECT{0, 0, 6, 4}, size, path.c_str()));
    EXPECT_FALSE(SavePng(bitmap, RECT{0, 0, 6, 4}, SIZE{7, 4}, path.c_str()));
    DeleteObject(bitmap);
    DeleteFileW(path.c_str());
}

}  // namespace
