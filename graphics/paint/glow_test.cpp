#include "graphics/paint/glow.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

namespace {

// The glow filter without its whole-picture pass: one window at a time, as the filter
// interface describes it.
class t_windowedGlow : public t_effectGlowSimple {
public:
    bool ApplyWhole(const t_pixelRect&, const t_pixelRect&) const override { return false; }
};

TEST(GlowEffect, WholePassGivesThePixelsOfTheWindowedFilter)
{
    uint32_t seed = 7;
    const auto next = [&seed] {
        seed = seed * 1664525u + 1013904223u;
        return seed >> 8;
    };
    t_windowedGlow windowed;
    const struct {
        int width, height, extra;  // target = source + extra on each axis
        int density;               // percent of pixels with alpha
    } cases[] = {{1, 1, 21, 100}, {5, 3, 21, 50},  {40, 30, 21, 100}, {64, 40, 20, 30},
                 {33, 25, 21, 5}, {30, 20, 0, 60}, {7, 45, 10, 70},   {3, 3, 21, 0}};
    for (const auto& c : cases) {
        // A source inside a larger buffer, so that the rectangle's offsets count.
        const int bw = c.width + 3, bh = c.height + 2;
        std::vector<uint32_t> buffer(size_t(bw) * bh);
        for (uint32_t& p : buffer)
            p = int(next() % 100) < c.density ? (next() & 0xFF) << 24 | (next() & 0xFFFFFF) : next() & 0xFFFFFF;
        const t_pixelRect source = {nullptr, buffer.data(), bw, bh, 2, 1, c.width, c.height};
        // The target inside a larger buffer too: what lies outside its rectangle stays.
        const int tw = c.width + c.extra, th = c.height + c.extra, tbw = tw + 5, tbh = th + 3;
        std::vector<uint32_t> fast(size_t(tbw) * tbh, 0xDEADBEEF), slow(fast);
        const t_pixelRect fastTarget = {nullptr, fast.data(), tbw, tbh, 3, 2, tw, th};
        const t_pixelRect slowTarget = {nullptr, slow.data(), tbw, tbh, 3, 2, tw, th};
        ASSERT_TRUE(ApplyEffectFilter(source, SharedGlowFilter(), fastTarget));
        ASSERT_TRUE(ApplyEffectFilter(source, windowed, slowTarget));
        EXPECT_EQ(slow, fast) << c.width << "x" << c.height << " +" << c.extra;
        EXPECT_EQ(0xDEADBEEFu, fast[0]);
        EXPECT_EQ(0xDEADBEEFu, fast.back());
    }
    // A block larger than the kernel glows 255 in its middle; one pixel peaks at 2.
    std::vector<uint32_t> block(60 * 50, 0xFF000000u);
    std::vector<uint32_t> out(81 * 71);
    ASSERT_TRUE(ApplyEffectFilter({nullptr, block.data(), 60, 50, 0, 0, 60, 50}, SharedGlowFilter(),
                                  {nullptr, out.data(), 81, 71, 0, 0, 81, 71}));
    EXPECT_EQ(0xFFFFFFFFu, out[35 * 81 + 40]);
    uint32_t one = 0xFF000000u;
    std::vector<uint32_t> glow(22 * 22);
    ASSERT_TRUE(ApplyEffectFilter({nullptr, &one, 1, 1, 0, 0, 1, 1}, SharedGlowFilter(),
                                  {nullptr, glow.data(), 22, 22, 0, 0, 22, 22}));
    EXPECT_EQ(0x02020202u, *std::max_element(glow.begin(), glow.end()));
}

}  // namespace
