// Scaling of premultiplied pixels and the fade towards a rectangle's right edge.
#include <gtest/gtest.h>

#include <vector>

#include "graphics/paint/fade_out.h"

namespace {

TEST(ScaleArgb, ScalesEveryByteRoundingDown)
{
    struct t_case {
        uint32_t pixel;
        int factor;
        uint32_t expected;
    } const cases[] = {
        {0xFF804020u, 255, 0xFF804020u}, {0xFF804020u, 0, 0u},  {0xFF804020u, 128, 0x80402010u}, {0x01010101u, 254, 0u},
        {0xFFFFFFFFu, 300, 0xFFFFFFFFu}, {0xFFFFFFFFu, -4, 0u},
    };
    for (const t_case& c : cases)
        EXPECT_EQ(c.expected, ScaleArgb(c.pixel, c.factor)) << std::hex << c.pixel << " " << std::dec << c.factor;
}

TEST(FadeOutHorizontally, FadesColumnsTowardsTheRightEdgeInsideTheBuffer)
{
    const int width = 6, height = 3;
    std::vector<uint32_t> pixels(width * height, 0xFFFFFFFFu);
    // Starts left of the buffer and ends past it; rows 1..2 only.
    FadeOutHorizontally(RECT{-1, 1, 9, 5}, pixels.data(), width, height);
    for (int x = 0; x < width; ++x) {
        const uint32_t factor = (9 - x) * 255 / 10;
        EXPECT_EQ(0xFFFFFFFFu, pixels[x]) << x;  // row 0 untouched
        EXPECT_EQ(factor, pixels[1 * width + x] & 0xFF) << x;
        EXPECT_EQ(factor, pixels[2 * width + x] >> 24) << x;
    }
    std::vector<uint32_t> untouched(pixels);
    FadeOutHorizontally(RECT{3, 0, 3, 3}, pixels.data(), width, height);
    FadeOutHorizontally(RECT{7, 0, 9, 3}, pixels.data(), width, height);
    FadeOutHorizontally(RECT{0, 0, 6, 3}, nullptr, width, height);
    EXPECT_EQ(untouched, pixels);
}

}  // namespace
