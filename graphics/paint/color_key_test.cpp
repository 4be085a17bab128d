#include "graphics/paint/color_key.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

TEST(ColorRefToArgb, SwapsRedAndBlueAndKeepsAGivenAlpha)
{
    const struct {
        uint32_t in, out;
    } cases[] = {
        {0x0000FF, 0xFFFF0000}, {0xFF0000, 0xFF0000FF}, {0xFFFFFFFF, 0}, {0x80123456, 0x80563412}, {0, 0xFF000000}};
    for (const auto& c : cases)
        EXPECT_EQ(c.out, ColorRefToArgb(c.in)) << std::hex << c.in;
    EXPECT_EQ(0x80400000u, PremultiplyArgb(0x80800000));
}

TEST(ApplyColorKey, ExactClearsMatchesLooseAlsoMakesTheRestOpaque)
{
    const std::vector<uint32_t> start = {0xFFFFFFFF, 0x00FFFFFF, 0x7F102030, 0x00000000};
    const struct {
        uint32_t key;
        bool exact;
        std::vector<uint32_t> out;
    } cases[] = {
        {0xFFFFFF, true, {0, 0x00FFFFFF, 0x7F102030, 0}},
        {0xFFFFFF, false, {0, 0, 0xFF102030, 0xFF000000}},
        {0xFFFFFFFF, false, {0xFFFFFFFF, 0xFFFFFFFF, 0xFF102030, 0xFF000000}},
        {0x302010, false, {0xFFFFFFFF, 0xFFFFFFFF, 0, 0xFF000000}},
    };
    for (const auto& c : cases) {
        std::vector<uint32_t> pixels = start;
        ApplyColorKey(c.key, 2, 2, pixels.data(), c.exact);
        EXPECT_EQ(c.out, pixels) << std::hex << c.key << " exact " << c.exact;
    }
}

}  // namespace
