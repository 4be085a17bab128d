// Hostile GIFs decode or fail cleanly: frames at and past every edge of the screen, with
// every disposal, transparent or not, interlaced or not, first exactly as built and then
// damaged by the mutator. Inputs end at a no-access page; a write past a canvas ends the
// program. KAVREL_FUZZ_ROUNDS sets the number of mutated inputs for long runs.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "graphics/codecs/gif_decoder.h"
#include "graphics/codecs/gif_maker_test.h"
#include "graphics/image/image_source.h"
#include "tests/support/decode_cleanly.h"
#include "tests/support/fuzz_input.h"

namespace {

const int c_screenWidth = 5, c_screenHeight = 4;

// Two-frame pictures whose first frame sits at an edge: before, on, just inside and past
// the screen's borders, and at the largest offset a file can hold.
std::vector<std::string> EdgeSeeds()
{
    const int lefts[] = {0, c_screenWidth - 1, c_screenWidth, c_screenWidth + 1, 0xFFFF};
    const int tops[] = {0, c_screenHeight - 1, c_screenHeight, c_screenHeight + 1, 0xFFFF};
    const std::pair<int, int> sizes[] = {{1, 1}, {c_screenWidth, c_screenHeight}, {c_screenWidth + 3, 2}};
    std::vector<std::string> seeds;
    int variant = 0;
    for (int left : lefts) {
        for (int top : tops) {
            for (const auto& size : sizes) {
                const int disposal = variant % 4;
                const bool transparent = variant / 4 % 2 != 0;
                const bool interlace = variant / 8 % 2 != 0;
                ++variant;
                std::vector<uint8_t> pixels(size_t(size.first) * size.second);
                for (size_t i = 0; i < pixels.size(); ++i)
                    pixels[i] = uint8_t(i % 3);
                t_gifFrame edge{left,     top, size.first, size.second, {}, pixels, transparent ? 2 : -1,
                                disposal, 3,   interlace};
                t_gifFrame next{1, 1, 2, 2, {}, {1, 2, 3, 1}, -1, (disposal + 2) % 4, 4};
                seeds.push_back(GifBytes(c_screenWidth, c_screenHeight, {0xFFFFFF, 0xFF0000, 0x00FF00, 0x0000FF},
                                         {edge, next, edge}));
            }
        }
    }
    return seeds;
}

TEST(GifDecoderFuzz, FramesAtAndPastEveryEdgeDecode)
{
    t_guardedBytes guard;
    for (const std::string& seed : EdgeSeeds()) {
        const uint8_t* placed = guard.Place(seed);
        ASSERT_NE(nullptr, placed);
        EXPECT_TRUE(DecodeCleanly(placed, seed.size()));
    }
}

TEST(GifDecoderFuzz, DamagedEdgeFramesDecodeOrFailCleanly)
{
    const std::vector<std::string> seeds = EdgeSeeds();
    std::mt19937 rng(20250611);
    t_guardedBytes guard;
    int decoded = 0, refused = 0;
    const int rounds = FuzzRounds(1500);
    for (int round = 0; round < rounds; ++round) {
        std::string bytes = seeds[rng() % seeds.size()];
        Mutate(bytes, rng);
        // Often also move a frame: the offsets of the first image descriptor get edge values.
        const size_t descriptor = bytes.find(',');
        if (descriptor != std::string::npos && rng() % 2) {
            PutLe16(bytes, descriptor + 1 + 2 * (rng() % 4), EdgeValue(rng, c_screenWidth));
        }
        const uint8_t* placed = guard.Place(bytes);
        ASSERT_NE(nullptr, placed);
        (DecodeCleanly(placed, bytes.size()) ? decoded : refused)++;
    }
    EXPECT_GT(decoded, 0);
    EXPECT_GT(refused, 0);
}

}  // namespace
