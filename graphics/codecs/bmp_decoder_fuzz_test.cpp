// Damaged bitmaps (truncated, bit-flipped, with oversized header fields) decode or fail
// cleanly: no read past the data (inputs end at a no-access page), no leaked bitmap, and
// a failure always ends with one of the decoder's lines. Seeds are small pictures of every
// header form and depth, and the bmpsuite pictures when tests/fetch_test_suites.sh
// fetched them. The random source has a fixed seed, so every run tries the same inputs.
#include "graphics/codecs/bmp_decoder.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "graphics/codecs/bmp_maker_test.h"
#include "tests/support/fuzz_input.h"
#include "tests/support/gdi_census.h"

namespace {

std::vector<std::string> BuiltSeeds()
{
    const std::vector<uint32_t> palette = {0x0000AA, 0x00BB00, 0xCC0000, 0xFFFFFF};
    auto make = [&](int width, int height, int bits, uint32_t compression, uint32_t headerSize, std::string pixels,
                    std::vector<uint32_t> masks = {}) {
        t_bmpFields f;
        f.width = width;
        f.height = height;
        f.bits = static_cast<uint16_t>(bits);
        f.compression = compression;
        f.headerSize = headerSize;
        f.masks = std::move(masks);
        if (bits <= 8) {
            f.palette = palette;
            f.colorsUsed = static_cast<uint32_t>(palette.size());
        }
        if (compression == BI_RLE4 || compression == BI_RLE8)
            f.imageSize = static_cast<uint32_t>(pixels.size());
        f.pixels = std::move(pixels);
        return MakeBmp(f);
    };
    return {
        make(5, 3, 1, BI_RGB, 40, std::string(12, '\x5A')),
        make(5, 3, 4, BI_RGB, 12, std::string(12, '\x12')),
        make(5, 3, 8, BI_RGB, 108, std::string(24, '\x01')),
        make(4, 2, 16, BI_BITFIELDS, 40, std::string(16, '\x7F'), {0xF800, 0x07E0, 0x001F}),
        make(4, 2, 16, BI_BITFIELDS, 124, std::string(16, '\x3C'), {0x0F00, 0x00F0, 0x000F, 0xF000}),
        make(3, 2, 24, BI_RGB, 64, std::string(24, '\x40')),
        make(3, 2, 32, BI_RGB, 40, std::string(24, '\x80')),
        make(3, -2, 32, BI_BITFIELDS, 124, std::string(24, '\x90'), {0xFF000000, 0xFF0000, 0xFF00, 0xFF}),
        make(6, 3, 8, BI_RLE8, 40, Bytes({3, 1, 0, 3, 2, 3, 1, 0, 0, 0, 0, 2, 1, 1, 2, 2, 3, 3})),
        make(6, 2, 4, BI_RLE4, 40, Bytes({0, 5, 0x12, 0x30, 0x10, 0, 1, 2, 0, 0, 6, 0x31, 0, 1})),
    };
}

std::vector<std::string> SuiteSeeds()
{
    std::vector<std::string> seeds;
    const std::wstring suite = std::wstring(KAVREL_SOURCE_DIR) + L"\\.deps\\src\\pillow\\Tests\\images\\bmp\\";
    for (const wchar_t* set : {L"g", L"q", L"b"}) {
        WIN32_FIND_DATAW data;
        HANDLE find = FindFirstFileW((suite + set + L"\\*.bmp").c_str(), &data);
        if (find == INVALID_HANDLE_VALUE)
            continue;
        do {
            HANDLE file = CreateFileW((suite + set + L"\\" + data.cFileName).c_str(), GENERIC_READ, FILE_SHARE_READ,
                                      nullptr, OPEN_EXISTING, 0, nullptr);
            if (file == INVALID_HANDLE_VALUE)
                continue;
            std::string bytes(data.nFileSizeLow, '\0');
            DWORD read = 0;
            if (ReadFile(file, &bytes[0], DWORD(bytes.size()), &read, nullptr) && read == bytes.size())
                seeds.push_back(bytes);
            CloseHandle(file);
        } while (FindNextFileW(find, &data));
        FindClose(find);
    }
    return seeds;
}

class t_cleanCheck {
public:
    // Decodes the bytes from a guarded buffer and checks that the outcome is clean.
    void Run(const std::string& bytes)
    {
        const uint8_t* placed = m_guard.Place(bytes);
        ASSERT_NE(nullptr, placed);
        t_errorChain errors;
        t_memInput input(placed, bytes.size());
        HBITMAP bitmap = nullptr;
        t_pictureHeader header = {};
        if (DecodeBmp(errors, input, bitmap, header)) {
            ++m_decoded;
            ASSERT_NE(nullptr, bitmap);
            BITMAP info = {};
            ASSERT_EQ(int(sizeof(info)), GetObjectW(bitmap, sizeof(info), &info));
            EXPECT_EQ(header.biWidth, info.bmWidth);
            EXPECT_EQ(header.biHeight, info.bmHeight);
            EXPECT_EQ(32, info.bmBitsPixel);
            DeleteObject(bitmap);
            return;
        }
        ++m_refused;
        EXPECT_EQ(nullptr, bitmap);
        ASSERT_TRUE(errors.IsFailed());
        const t_errorLine* last = errors.FirstLine();
        while (last && last->next)
            last = last->next;
        ASSERT_NE(nullptr, last);
        const std::wstring text = last->text.c_str();
        EXPECT_TRUE(text == L"文件过小" || text == L"读取图片信息失败" || text == L"创建HBITMAP失败" ||
                    text == L"读取图片数据失败");
    }
    int Decoded() const { return m_decoded; }
    int Refused() const { return m_refused; }

private:
    t_guardedBytes m_guard;
    int m_decoded = 0;
    int m_refused = 0;
};

// The fields of the file and info headers that size, place and shape the picture.
const size_t c_headerFields[] = {2, 10, 14, 18, 22, 26, 28, 30, 34, 46, 54, 58, 62};

void Damage(const std::string& seed, int mutations, std::mt19937& rng, t_cleanCheck& check)
{
    // Every cut within the headers and the palette, then cuts further in.
    for (size_t n = 0; n < seed.size() && n < 128; ++n)
        check.Run(seed.substr(0, n));
    for (int i = 0; i < 16; ++i)
        check.Run(seed.substr(0, rng() % seed.size()));
    for (int i = 0; i < mutations; ++i) {
        std::string bytes = seed;
        if (i % 3 == 0) {
            // An oversized or edge value in one header field.
            const size_t at = c_headerFields[rng() % (sizeof(c_headerFields) / sizeof(c_headerFields[0]))];
            if (rng() % 2)
                PutLe32(bytes, at, EdgeValue(rng, bytes.size()));
            else
                PutLe16(bytes, at, EdgeValue(rng, bytes.size()));
        } else {
            Mutate(bytes, rng);
        }
        check.Run(bytes);
        if (::testing::Test::HasFatalFailure())
            return;
    }
}

TEST(BmpDecoderFuzz, DamagedPicturesDecodeOrFailCleanly)
{
    const DWORD gdiBefore = LiveGdiObjects();
    std::mt19937 rng(0x5EED0B3Fu);
    t_cleanCheck check;
    const std::vector<std::string> built = BuiltSeeds();
    for (size_t i = 0; i < built.size(); ++i) {
        SCOPED_TRACE(i);
        const std::string& seed = built[i];
        // The seeds themselves decode.
        const int decoded = check.Decoded();
        check.Run(seed);
        ASSERT_EQ(decoded + 1, check.Decoded());
        Damage(seed, 600, rng, check);
        ASSERT_FALSE(HasFatalFailure());
    }
    const std::vector<std::string> suite = SuiteSeeds();
    if (suite.empty())
        std::printf("bmpsuite not under .deps/src/pillow (tests/fetch_test_suites.sh): built seeds only\n");
    for (const std::string& seed : suite) {
        Damage(seed, 150, rng, check);
        ASSERT_FALSE(HasFatalFailure());
    }
    std::printf("%d damaged inputs decoded, %d refused\n", check.Decoded(), check.Refused());
    // Both outcomes occur: the damage is neither always fatal nor always harmless.
    EXPECT_GT(check.Decoded(), 100);
    EXPECT_GT(check.Refused(), 100);
    EXPECT_EQ(gdiBefore, LiveGdiObjects());
}

TEST(BmpDecoderFuzz, RandomBytesFailCleanly)
{
    std::mt19937 rng(0xB17E5u);
    t_cleanCheck check;
    for (int i = 0; i < 2000; ++i) {
        std::string bytes = RandomBytes(rng, rng() % 200);
        if (i % 2 && bytes.size() >= 2)
            bytes.replace(0, 2, "BM");
        check.Run(bytes);
        ASSERT_FALSE(HasFatalFailure());
    }
}

}  // namespace
