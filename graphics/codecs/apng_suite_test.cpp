// Animated PNG: the APNG conformance images of pillow's source (frames, composition,
// delays, play counts and broken files), and the caps on what a file may ask for.
#include <gtest/gtest.h>

#include <zlib.h>

#include <cstdlib>

#include "graphics/codecs/apng_frames.h"
#include "graphics/codecs/picture_suites_test.h"

namespace {

std::wstring ApngFolder() { return DepsSrc() + L"\\pillow\\Tests\\images\\apng"; }

bool Near(uint32_t a, uint32_t b)
{
    for (int shift = 0; shift < 32; shift += 8) {
        if (abs(int(a >> shift & 0xFF) - int(b >> shift & 0xFF)) > 1)
            return false;
    }
    return true;
}

const uint32_t c_green = 0xFF00FF00, c_clear = 0;

TEST(ApngSuite, LastFramesShowWhatTheConformanceImagesAsk)
{
    if (FilesWithExtension(ApngFolder(), L".png").empty())
        GTEST_SKIP() << "pillow's APNG images are not under .deps/src/pillow (tests/fetch_test_suites.sh)";
    // Expected pixels are premultiplied BGRA at (0, 0) and (64, 32) of the last frame, as
    // the APNG rules compose the frames' own pixels; frames -1: not checked.
    const struct {
        const wchar_t* name;
        bool decodes;
        int frames;
        uint32_t at00, at6432;
    } cases[] = {
        {L"single_frame.png", true, 1, c_green, c_green},
        // The default image has no control chunk: not a frame, and not shown.
        {L"single_frame_default.png", true, 1, c_green, c_green},
        {L"split_fdat.png", true, -1, c_green, c_green},
        {L"split_fdat_zero_chunk.png", true, -1, c_green, c_green},
        {L"dispose_op_none.png", true, -1, c_green, c_green},
        {L"dispose_op_background.png", true, -1, c_clear, c_clear},
        {L"dispose_op_background_final.png", true, -1, c_green, c_green},
        {L"dispose_op_previous.png", true, -1, c_green, c_green},
        {L"dispose_op_previous_final.png", true, -1, c_green, c_green},
        {L"dispose_op_previous_first.png", true, -1, c_clear, c_clear},
        {L"dispose_op_none_region.png", true, -1, c_green, c_green},
        {L"dispose_op_background_before_region.png", true, -1, c_clear, c_clear},
        {L"dispose_op_background_region.png", true, -1, 0xFF0000FF, c_clear},
        {L"dispose_op_previous_region.png", true, -1, c_green, c_green},
        {L"dispose_op_previous_frame.png", true, 3, 0xFFFF0000, c_green},
        {L"blend_op_source_solid.png", true, -1, c_green, c_green},
        {L"blend_op_source_transparent.png", true, -1, c_clear, c_clear},
        {L"blend_op_source_near_transparent.png", true, -1, 0x02000200, 0x02000200},
        {L"blend_op_over.png", true, -1, c_green, c_green},
        // Near-transparent green frames over opaque green stay opaque green.
        {L"blend_op_over_near_transparent.png", true, -1, c_green, c_green},
        {L"fctl_actl.png", true, -1, c_green, c_green},
        // The mode pictures' second frame is blended over the first (dispose none, blend
        // over): half-transparent blue or grey over opaque black, a transparent frame over
        // opaque green.
        {L"mode_16bit.png", true, -1, 0xFF000080, 0xFF000080},
        {L"mode_greyscale.png", true, -1, 0xFF808080, 0xFFFFFFFF},
        {L"mode_greyscale_alpha.png", true, -1, 0xFF808080, 0xFF808080},
        {L"mode_palette.png", true, -1, c_green, c_green},
        {L"mode_palette_alpha.png", true, -1, c_green, c_green},
        {L"mode_palette_1bit_alpha.png", true, -1, 0xFF000080, 0xFF000080},
        // Broken animations fail whole; a broken acTL leaves a still picture.
        {L"chunk_no_fctl.png", false, 0, 0, 0},
        {L"chunk_repeat_fctl.png", false, 0, 0, 0},
        {L"chunk_no_fdat.png", false, 0, 0, 0},
        {L"syntax_num_frames_high.png", false, 0, 0, 0},
        {L"syntax_num_frames_zero.png", false, 0, 0, 0},
        {L"sequence_start.png", false, 0, 0, 0},
        {L"sequence_gap.png", false, 0, 0, 0},
        {L"sequence_repeat.png", false, 0, 0, 0},
        // Its repeated chunk follows the last announced frame and is never read: the two
        // announced frames play, the second one red.
        {L"sequence_repeat_chunk.png", true, 2, 0xFFFF0000, 0xFFFF0000},
        {L"sequence_reorder.png", false, 0, 0, 0},
        {L"sequence_reorder_chunk.png", false, 0, 0, 0},
        {L"sequence_fdat_fctl.png", false, 0, 0, 0},
        // libpng refuses a frame count past 2^31 outright.
        {L"syntax_num_frames_invalid.png", false, 0, 0, 0},
        {L"chunk_no_actl.png", true, 0, c_green, c_green},
        {L"chunk_actl_after_idat.png", true, 0, c_green, c_green},
        {L"syntax_num_frames_zero_default.png", true, 0, c_green, c_green},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(Narrow(c.name));
        std::string bytes;
        ASSERT_TRUE(ReadBytes(ApngFolder() + L"\\" + c.name, bytes));
        t_imageSource source;
        const bool ok = source.Decode(bytes.data(), bytes.size());
        ASSERT_EQ(c.decodes, ok);
        if (!ok) {
            EXPECT_FALSE(source.IsLoaded());
            continue;
        }
        t_bitmapRef last = source.GetBitmapRef();
        if (c.frames == 0) {
            EXPECT_EQ(t_imageSource::e_single, source.kind);
        } else {
            ASSERT_EQ(t_imageSource::e_frames, source.kind);
            if (c.frames > 0) {
                EXPECT_EQ(c.frames, source.payload.count);
            }
            last = source.GetFrame(source.payload.count - 1);
            EXPECT_TRUE(source.payload.hasAlpha);
        }
        t_pixels pixels;
        ASSERT_TRUE(PixelsOf(last, pixels));
        ASSERT_EQ(128, pixels.width);
        ASSERT_EQ(64, pixels.height);
        EXPECT_PRED2(Near, c.at00, pixels.At(0, 0)) << std::hex << pixels.At(0, 0);
        EXPECT_PRED2(Near, c.at6432, pixels.At(64, 32)) << std::hex << pixels.At(64, 32);
        source.Free();
    }
}

TEST(ApngSuite, DelaysAndPlayCounts)
{
    if (FilesWithExtension(ApngFolder(), L".png").empty())
        GTEST_SKIP() << "pillow's APNG images are not under .deps/src/pillow (tests/fetch_test_suites.sh)";
    // Hundredths of a second from numerator/denominator: 50/100, 1/2, 32767/65534, a zero
    // denominator counting as 100, 0/100 raised to 2, and 0/0 giving 100.
    const struct {
        const wchar_t* name;
        std::vector<int> delays;
        int loops;
    } cases[] = {
        {L"delay.png", {50, 100, 50, 100}, 0},
        {L"delay_round.png", {50, 100}, 0},
        {L"delay_short_max.png", {50, 100}, 0},
        {L"delay_zero_denom.png", {50, 100}, 0},
        {L"delay_zero_numer.png", {2, 100, 50, 100}, 0},
        {L"num_plays.png", {100, 100}, 0},
        {L"num_plays_1.png", {100, 100}, 1},
        // One frame announced, two present: the announced one is played.
        {L"syntax_num_frames_low.png", {100}, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(Narrow(c.name));
        std::string bytes;
        ASSERT_TRUE(ReadBytes(ApngFolder() + L"\\" + c.name, bytes));
        t_imageSource source;
        ASSERT_TRUE(source.Decode(bytes.data(), bytes.size()));
        ASSERT_EQ(t_imageSource::e_frames, source.kind);
        std::vector<int> delays;
        for (int i = 0; i < source.payload.count; ++i)
            delays.push_back(source.payload.frames[i].delay);
        EXPECT_EQ(c.delays, delays);
        EXPECT_EQ(c.loops, source.payload.loopLimit);
        source.Free();
    }
}

TEST(ApngDelay, ZeroOverZeroIsOneSecondAndShortDelaysAreRaised)
{
    const struct {
        unsigned num, den;
        int delay;
    } cases[] = {{0, 0, 100}, {1, 100, 2}, {0, 100, 2}, {3, 0, 3}, {1, 3, 33}, {65535, 1, 6553500}};
    for (const auto& c : cases)
        EXPECT_EQ(c.delay, ApngDelay(c.num, c.den)) << c.num << "/" << c.den;
}

// A PNG made of the given chunks after the signature.
std::string Png(std::initializer_list<std::pair<std::string, std::string>> chunks)
{
    std::string out = "\x89PNG\r\n\x1a\n";
    auto be32 = [](uint32_t v) { return std::string{char(v >> 24), char(v >> 16), char(v >> 8), char(v)}; };
    for (const auto& chunk : chunks) {
        const std::string typed = chunk.first + chunk.second;
        out += be32(static_cast<uint32_t>(chunk.second.size())) + typed;
        out += be32(crc32(0, reinterpret_cast<const Bytef*>(typed.data()), static_cast<uInt>(typed.size())));
    }
    return out;
}

std::string Be32(uint32_t v) { return std::string{char(v >> 24), char(v >> 16), char(v >> 8), char(v)}; }

TEST(ApngLimits, FrameCountsAndCanvasSizesAreCappedBeforeAllocation)
{
    // A 1 x 1 white RGB picture's image data.
    const std::string idat("\x78\x9c\x63\xf8\xff\xff\x3f\x00\x05\xfe\x02\xfe", 12);
    const struct {
        uint32_t width, height, frames;
    } cases[] = {
        {1, 1, c_maxAnimationFrames + 1},  // too many frames
        {4000, 4000, 100},                 // frames x canvas past the picture's bytes
        {8192, 8192, 1},                   // canvas past the pixel cap
    };
    for (const auto& c : cases) {
        const std::string ihdr = Be32(c.width) + Be32(c.height) + std::string("\x08\x02\x00\x00\x00", 5);
        const std::string actl = Be32(c.frames) + Be32(0);
        const std::string fctl =
            Be32(0) + Be32(c.width) + Be32(c.height) + Be32(0) + Be32(0) + std::string("\x00\x01\x00\x64\x00\x00", 6);
        const std::string file = Png({{"IHDR", ihdr}, {"acTL", actl}, {"fcTL", fctl}, {"IDAT", idat}, {"IEND", ""}});
        t_errorChain errors;
        t_memInput input(file.data(), file.size());
        t_imageLoader_png_dyn dyn;
        t_imageSource source = {};
        const DWORD start = GetTickCount();
        EXPECT_FALSE(DecodePng(errors, input, source, &dyn)) << c.width << "x" << c.height << " x" << c.frames;
        EXPECT_LT(GetTickCount() - start, 1000u);
        EXPECT_FALSE(source.IsLoaded());
        ASSERT_NE(nullptr, errors.FirstLine());
    }
}

}  // namespace
