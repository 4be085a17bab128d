// Damaged PNG, animated PNG and GIF pictures (truncated, bit-flipped, with oversized fields)
// decode or fail cleanly through the loader registry: no read past the data (inputs end at
// a no-access page) and a failure leaves an empty source. Seeds are the suites' pictures;
// the random source has a fixed seed, so every run tries the same inputs.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "graphics/codecs/image_loader.h"
#include "graphics/codecs/picture_suites_test.h"
#include "tests/support/decode_cleanly.h"
#include "tests/support/fuzz_input.h"

namespace {

// At most `limit` files of the folder with the extension, in name order.
void AddSeeds(std::vector<std::string>& seeds, const std::wstring& folder, const wchar_t* extension, size_t limit)
{
    std::vector<std::wstring> names = FilesWithExtension(folder, extension);
    std::sort(names.begin(), names.end());
    for (size_t i = 0; i < names.size() && i < limit; ++i) {
        std::string bytes;
        if (ReadBytes(folder + L"\\" + names[i], bytes) && bytes.size() < 64 * 1024)
            seeds.push_back(bytes);
    }
}

std::vector<std::string> Seeds()
{
    std::vector<std::string> seeds;
    const std::wstring libpng = DepsFolder(L"libpng1.6-*");
    if (!libpng.empty()) {
        AddSeeds(seeds, libpng + L"\\contrib\\pngsuite", L".png", 60);
        AddSeeds(seeds, libpng + L"\\contrib\\pngsuite\\interlaced", L".png", 10);
    }
    AddSeeds(seeds, DepsSrc() + L"\\pillow\\Tests\\images\\apng", L".png", 60);
    const std::wstring giflib = DepsFolder(L"giflib-*");
    if (!giflib.empty())
        AddSeeds(seeds, giflib + L"\\pic", L".gif", 20);
    return seeds;
}

TEST(PictureFuzz, DamagedSuitePicturesDecodeOrFailCleanly)
{
    const std::vector<std::string> seeds = Seeds();
    if (seeds.size() < 20)
        GTEST_SKIP() << "the picture suites are not under .deps/src (build_deps.sh, tests/fetch_test_suites.sh)";
    std::mt19937 rng(20240715);
    t_guardedBytes guard;
    int decoded = 0, refused = 0;
    for (int round = 0; round < 4000; ++round) {
        std::string bytes = seeds[rng() % seeds.size()];
        Mutate(bytes, rng);
        const uint8_t* placed = guard.Place(bytes);
        ASSERT_NE(nullptr, placed);
        (DecodeCleanly(placed, bytes.size()) ? decoded : refused)++;
    }
    // Both outcomes occur: damage that libpng's checks catch, and damage they cannot see.
    EXPECT_GT(decoded, 0);
    EXPECT_GT(refused, 0);
}

TEST(PictureFuzz, EveryTruncationOfASeedFailsOrDecodes)
{
    const std::vector<std::string> seeds = Seeds();
    if (seeds.empty())
        GTEST_SKIP() << "the picture suites are not under .deps/src";
    t_guardedBytes guard;
    // Every cut of a few seeds of each kind, the magic bytes included.
    for (size_t s = 0; s < seeds.size(); s += 17) {
        const std::string& seed = seeds[s];
        for (size_t cut = 0; cut < seed.size(); cut += 1 + seed.size() / 200) {
            const uint8_t* placed = guard.Place(seed.data(), cut);
            ASSERT_NE(nullptr, placed);
            DecodeCleanly(placed, cut);
        }
    }
}

}  // namespace
