// GIF: giflib's own pictures against its reference dumps (colours and frame lists), and
// hand-made pictures for the edges: frames past the screen, indices past the colour map,
// no colour map at all, transparency and white.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>

#include "graphics/codecs/gif_decoder.h"
#include "graphics/codecs/gif_maker_test.h"
#include "graphics/codecs/picture_suites_test.h"

namespace {

// Counts "Image #" records and collects "DelayTime:" values of a giftext dump.
void ReadDump(const std::string& text, int& images, std::vector<int>& delays)
{
    images = 0;
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        if (line.compare(0, 7, "Image #") == 0)
            ++images;
        const size_t at = line.find("DelayTime: ");
        if (at != std::string::npos)
            delays.push_back(atoi(line.c_str() + at + 11));
    }
}

TEST(GifSuite, PicturesMatchGiflibsReferenceDumps)
{
    const std::wstring giflib = DepsFolder(L"giflib-*");
    if (giflib.empty())
        GTEST_SKIP() << "Debian's giflib source is not under .deps/src";
    int compared = 0;
    for (const std::wstring& name : FilesWithExtension(giflib + L"\\pic", L".gif")) {
        SCOPED_TRACE(Narrow(name));
        const std::wstring stem = name.substr(0, name.size() - 4);
        std::string bytes, dump, rgb;
        ASSERT_TRUE(ReadBytes(giflib + L"\\pic\\" + name, bytes));
        if (!ReadBytes(giflib + L"\\tests\\" + stem + L".dmp", dump))
            continue;
        int images = 0;
        std::vector<int> delays;
        ReadDump(dump, images, delays);
        t_imageSource source;
        ASSERT_TRUE(source.Decode(bytes.data(), bytes.size()));
        EXPECT_TRUE(source.payload.hasAlpha);
        t_bitmapRef last = source.GetBitmapRef();
        if (images == 1) {
            EXPECT_EQ(t_imageSource::e_single, source.kind);
        } else {
            ASSERT_EQ(t_imageSource::e_frames, source.kind);
            ASSERT_EQ(images, source.payload.count);
            EXPECT_EQ(0, source.payload.loopLimit);
            if (static_cast<int>(delays.size()) == images) {
                for (int i = 0; i < images; ++i)
                    EXPECT_EQ(delays[i] ? delays[i] : 10, source.payload.frames[i].delay) << "frame " << i;
            }
            last = source.GetFrame(images - 1);
        }
        // The reference render (gif2rgb) holds the screen after the last frame as RGB rows,
        // top-down. Our white is transparent; every other colour is opaque. gif2rgb paints
        // transparent indices as colours, so pictures with transparency are left out.
        const bool transparency = dump.find("Transparency on: yes") != std::string::npos;
        if (!transparency && ReadBytes(giflib + L"\\tests\\" + stem + L".rgb", rgb)) {
            t_pixels pixels;
            ASSERT_TRUE(PixelsOf(last, pixels));
            ASSERT_EQ(rgb.size(), size_t(pixels.width) * pixels.height * 3);
            int wrong = 0;
            for (int y = 0; y < pixels.height; ++y) {
                for (int x = 0; x < pixels.width; ++x) {
                    const uint8_t* p =
                        reinterpret_cast<const uint8_t*>(rgb.data()) + (size_t(y) * pixels.width + x) * 3;
                    const uint32_t colour = uint32_t(p[0]) << 16 | uint32_t(p[1]) << 8 | p[2];
                    const uint32_t expected = colour == 0xFFFFFF ? 0 : 0xFF000000u | colour;
                    wrong += pixels.At(x, y) != expected;
                }
            }
            EXPECT_EQ(0, wrong);
            ++compared;
        }
        source.Free();
    }
    EXPECT_GE(compared, 5);
}

bool DecodeGifBytes(const std::string& bytes, t_imageSource& source)
{
    source = t_imageSource{};
    return source.Decode(bytes.data(), bytes.size());
}

const uint32_t c_red = 0xFF0000, c_black = 0x000000, c_white = 0xFFFFFF;

TEST(DecodeGif, FramesPastTheScreenAreClipped)
{
    // A 4 x 4 screen and a red 4 x 4 frame at (2, 2): only its top-left quarter shows.
    t_gifFrame frame{2, 2, 4, 4, {}, std::vector<uint8_t>(16, 1)};
    t_imageSource source;
    ASSERT_TRUE(DecodeGifBytes(GifBytes(4, 4, {c_white, c_red}, {frame}), source));
    t_pixels pixels;
    ASSERT_TRUE(PixelsOf(source.GetBitmapRef(), pixels));
    ASSERT_EQ(4, pixels.width);
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(x >= 2 && y >= 2 ? 0xFFFF0000u : 0u, pixels.At(x, y)) << x << "," << y;
    }
    source.Free();

    // A frame wholly right of or below the screen draws nothing and restores nothing, with
    // every disposal: a second frame then shows the untouched screen.
    for (int disposal = 0; disposal < 4; ++disposal) {
        for (const auto& at : {std::make_pair(4, 0), std::make_pair(0, 4), std::make_pair(0, 9),
                               std::make_pair(60000, 60000), std::make_pair(65535, 0)}) {
            t_gifFrame outside{at.first, at.second, 3, 3, {}, std::vector<uint8_t>(9, 1), -1, disposal, 5};
            t_gifFrame after{0, 0, 1, 1, {}, {1}, -1, 0, 5};
            ASSERT_TRUE(DecodeGifBytes(GifBytes(4, 4, {c_white, c_red}, {outside, after}), source));
            ASSERT_EQ(t_imageSource::e_frames, source.kind);
            for (int i = 0; i < 2; ++i) {
                ASSERT_TRUE(PixelsOf(source.GetFrame(i), pixels));
                for (size_t p = 0; p < pixels.bits.size(); ++p)
                    EXPECT_EQ(i == 1 && p == 12 ? 0xFFFF0000u : 0u, pixels.bits[p])
                        << "disposal " << disposal << " at " << at.first << "," << at.second << " frame " << i;
            }
            source.Free();
        }
    }

    // The smallest such file: a 1 x 1 screen and a 1 x 1 frame at left 16 with disposal 2
    // (the restore of its rectangle ran from column 16 back to column 1).
    const std::string tiny = GifBytes(1, 1, {c_white, c_red}, {{16, 0, 1, 1, {}, {1}, -1, 2, 0}});
    ASSERT_TRUE(DecodeGifBytes(tiny, source));
    ASSERT_TRUE(PixelsOf(source.GetBitmapRef(), pixels));
    EXPECT_EQ(std::vector<uint32_t>{0u}, pixels.bits);
    source.Free();

    // Disposal 2 of a frame hanging over the bottom-right corner restores only the part on
    // the screen; an interlaced frame is clipped the same way.
    t_gifFrame corner{3, 3, 2, 2, {}, {1, 1, 1, 1}, -1, 2, 5, true};
    t_gifFrame keep{0, 0, 1, 1, {}, {1}, -1, 1, 5};
    ASSERT_TRUE(DecodeGifBytes(GifBytes(4, 4, {c_white, c_red}, {keep, corner, keep}), source));
    ASSERT_EQ(3, source.payload.count);
    ASSERT_TRUE(PixelsOf(source.GetFrame(1), pixels));
    EXPECT_EQ(0xFFFF0000u, pixels.At(3, 3));
    EXPECT_EQ(0xFFFF0000u, pixels.At(0, 0));
    ASSERT_TRUE(PixelsOf(source.GetFrame(2), pixels));
    EXPECT_EQ(0u, pixels.At(3, 3));
    EXPECT_EQ(0xFFFF0000u, pixels.At(0, 0));
    source.Free();
}

TEST(DecodeGif, IndicesPastTheColourMapAreBlack)
{
    t_gifFrame frame{0, 0, 3, 1, {}, {1, 2, 255}};
    t_imageSource source;
    ASSERT_TRUE(DecodeGifBytes(GifBytes(3, 1, {c_white, c_red}, {frame}), source));
    t_pixels pixels;
    ASSERT_TRUE(PixelsOf(source.GetBitmapRef(), pixels));
    EXPECT_EQ(0xFFFF0000u, pixels.At(0, 0));
    EXPECT_EQ(0xFF000000u, pixels.At(1, 0));
    EXPECT_EQ(0xFF000000u, pixels.At(2, 0));
    source.Free();
}

TEST(DecodeGif, AFrameWithoutAnyColourMapIsRefused)
{
    t_gifFrame frame{0, 0, 2, 2, {}, {0, 1, 1, 0}};
    t_errorChain errors;
    const std::string bytes = GifBytes(2, 2, {}, {frame});
    t_memInput input(bytes.data(), bytes.size());
    t_imageSource source = {};
    EXPECT_FALSE(DecodeGif(errors, input, source));
    EXPECT_FALSE(source.IsLoaded());
    ASSERT_NE(nullptr, errors.FirstLine());
    EXPECT_EQ(0, wcsncmp(L"加载GIF图片失败:", errors.FirstLine()->text.c_str(), 10));

    // With a local map it shows.
    frame.localMap = {c_black, c_red};
    EXPECT_TRUE(DecodeGifBytes(GifBytes(2, 2, {}, {frame}), source));
    source.Free();
}

TEST(DecodeGif, WhiteAndTheTransparentIndexAreTransparentAndFramesComposeByDisposal)
{
    // Frame 0: white, red, black, transparent index 3 (shows the white screen fill).
    t_gifFrame first{0, 0, 4, 1, {}, {0, 1, 2, 3}, 3, 1, 7};
    // Frame 1 restores its area to the background afterwards (disposal 2), but shows
    // first: the transparent pixel keeps frame 0's red.
    t_gifFrame second{1, 0, 2, 1, {}, {3, 2}, 3, 2, 0};
    // Frame 2 starts from frame 0 with frame 1's area cleared to the fill (white).
    t_gifFrame third{3, 0, 1, 1, {}, {1}, -1, 0, 3};
    t_imageSource source;
    ASSERT_TRUE(DecodeGifBytes(GifBytes(4, 1, {c_white, c_red, c_black, 0x00FF00}, {first, second, third}), source));
    ASSERT_EQ(t_imageSource::e_frames, source.kind);
    ASSERT_EQ(3, source.payload.count);
    EXPECT_EQ(7, source.payload.frames[0].delay);
    EXPECT_EQ(10, source.payload.frames[1].delay);  // 0 counts as 100 ms
    EXPECT_EQ(3, source.payload.frames[2].delay);
    const uint32_t red = 0xFFFF0000, black = 0xFF000000;
    const std::vector<uint32_t> expected[3] = {{0, red, black, 0}, {0, red, black, 0}, {0, 0, 0, red}};
    for (int i = 0; i < 3; ++i) {
        t_pixels pixels;
        ASSERT_TRUE(PixelsOf(source.GetFrame(i), pixels));
        EXPECT_EQ(expected[i], pixels.bits) << "frame " << i;
    }
    source.Free();

    // One frame: a single bitmap, not a frame list.
    ASSERT_TRUE(DecodeGifBytes(GifBytes(4, 1, {c_white, c_red}, {first}), source));
    EXPECT_EQ(t_imageSource::e_single, source.kind);
    source.Free();
}

}  // namespace
