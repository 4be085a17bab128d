#include "graphics/codecs/bmp_decoder.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "graphics/codecs/bmp_maker_test.h"

namespace {

std::vector<std::wstring> Lines(const t_errorChain& errors)
{
    std::vector<std::wstring> out;
    for (const t_errorLine* line = errors.FirstLine(); line; line = line->next)
        out.push_back(line->text.c_str());
    return out;
}

// Decodes and returns the DIB's pixels, bottom row first; empty on failure.
std::vector<uint32_t> Decode(const std::string& bytes, t_errorChain& errors, t_pictureHeader& header)
{
    t_memInput input(bytes.data(), bytes.size());
    HBITMAP bitmap = nullptr;
    if (!DecodeBmp(errors, input, bitmap, header)) {
        EXPECT_EQ(nullptr, bitmap);
        return {};
    }
    DIBSECTION section = {};
    EXPECT_EQ(int(sizeof(section)), GetObjectW(bitmap, sizeof(section), &section));
    EXPECT_EQ(32, section.dsBmih.biBitCount);
    EXPECT_EQ(header.biWidth, section.dsBmih.biWidth);
    EXPECT_EQ(header.biHeight, section.dsBmih.biHeight);  // positive: bottom-up
    const uint32_t* bits = static_cast<const uint32_t*>(section.dsBm.bmBits);
    std::vector<uint32_t> pixels(bits, bits + size_t(header.biWidth) * header.biHeight);
    DeleteObject(bitmap);
    return pixels;
}

t_bmpFields Spec(int width, int height, int bits, std::string pixels)
{
    t_bmpFields s;
    s.width = width;
    s.height = height;
    s.bits = static_cast<uint16_t>(bits);
    s.pixels = std::move(pixels);
    return s;
}

t_bmpFields WithPalette(t_bmpFields s, std::vector<uint32_t> palette)
{
    s.colorsUsed = static_cast<uint32_t>(palette.size());
    s.palette = std::move(palette);
    return s;
}

t_bmpFields WithHeader(t_bmpFields s, uint32_t headerSize, uint32_t compression = 0, std::vector<uint32_t> masks = {})
{
    s.headerSize = headerSize;
    s.compression = compression;
    s.masks = std::move(masks);
    return s;
}

// An RLE picture whose image size is its stream's length.
t_bmpFields Rle(t_bmpFields s, uint32_t compression)
{
    s.compression = compression;
    s.imageSize = static_cast<uint32_t>(s.pixels.size());
    return s;
}

t_bmpFields Bare(t_bmpFields s)
{
    s.fileHeader = false;
    return s;
}

const uint32_t c_black = 0xFF000000;

TEST(DecodeBmp, DecodesEveryHeaderFormDepthAndCompression)
{
    const std::vector<uint32_t> twoColours = {0x0000AA, 0x00BB00};
    // A palette of 300 entries: more than an index can reach.
    std::vector<uint32_t> longPalette(300, 0x123456);
    longPalette[255] = 0xABCDEF;
    const struct {
        const char* name;
        t_bmpFields fields;
        std::vector<uint32_t> expected;  // bottom row first
    } cases[] = {
        {"24-bit, rows padded to 8 bytes, first file row at the bottom",
         Spec(2, 2, 24, Bytes({0, 0, 0xFF, 0, 0xFF, 0, 0, 0, 0xFF, 0, 0, 0xFF, 0xFF, 0xFF, 0, 0})),
         {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFFFF}},
        {"1-bit, most significant bit first",
         WithPalette(Spec(3, 2, 1, Bytes({0xA0, 0, 0, 0, 0x40, 0, 0, 0})), {0x000000, 0xFFFFFF}),
         {0xFFFFFFFF, c_black, 0xFFFFFFFF, c_black, 0xFFFFFFFF, c_black}},
        {"4-bit, high nibble first",
         WithPalette(Spec(3, 1, 4, Bytes({0x21, 0x00, 0, 0})), {0x112233, 0x445566, 0x778899}),
         {0xFF778899, 0xFF445566, 0xFF112233}},
        {"8-bit top-down ends bottom-up",
         WithPalette(Spec(1, -2, 8, Bytes({0, 0, 0, 0, 1, 0, 0, 0})), twoColours),
         {0xFF00BB00, 0xFF0000AA}},
        {"16-bit without masks is 5-5-5",
         Spec(2, 1, 16, Bytes({0xFF, 0x7F, 0x00, 0x7C})),
         {0xFFF8F8F8, 0xFFF80000}},
        {"16-bit 5-6-5 masks: top bits set, low bits 0",
         WithHeader(Spec(2, 1, 16, Bytes({0xFF, 0xFF, 0x10, 0x84})), 40, BI_BITFIELDS,
                    {0xF800, 0x07E0, 0x001F}),
         {0xFFF8FCF8, 0xFF808080}},
        {"16-bit 2-3-1 masks",
         WithHeader(Spec(2, 1, 16, Bytes({0x3F, 0x00, 0x12, 0x00})), 40, BI_BITFIELDS,
                    {0x30, 0x0E, 0x01}),
         {0xFFC0E080, 0xFF402000}},
        {"32-bit: bytes as they stand, premultiplied; alpha 0 is transparent black",
         Spec(2, 1, 32, Bytes({0xFF, 0x80, 0x40, 0x80, 0xFF, 0xFF, 0xFF, 0x00})),
         {0x80204080, 0x00000000}},
        {"32-bit top-down",
         Spec(1, -2, 32, Bytes({1, 2, 3, 0xFF, 4, 5, 6, 0xFF})),
         {0xFF060504, 0xFF030201}},
        {"V5 header, 32-bit masks of another order with alpha",
         WithHeader(Spec(2, 1, 32, Bytes({0xFF, 0x30, 0x20, 0x10, 0x80, 0, 0, 0xFF})), 124,
                    BI_BITFIELDS, {0xFF000000, 0x00FF0000, 0x0000FF00, 0x000000FF}),
         {0xFF102030, 0x80800000}},
        {"V5 header, 32-bit B-G-R-A masks",
         WithHeader(Spec(1, 1, 32, Bytes({0x10, 0x20, 0x30, 0x80})), 124, BI_BITFIELDS,
                    {0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000}),
         {0x80181008}},
        {"V4 header, 32-bit masks that declare no alpha",
         WithHeader(Spec(1, 1, 32, Bytes({0x10, 0x20, 0x30, 0x00})), 108, BI_BITFIELDS,
                    {0x00FF0000, 0x0000FF00, 0x000000FF, 0}),
         {0xFF302010}},
        {"V4 header with a palette after it",
         WithHeader(WithPalette(Spec(2, 1, 8, Bytes({1, 0, 0, 0})), twoColours), 108),
         {0xFF00BB00, 0xFF0000AA}},
        {"V5 header, 16-bit 5-6-5 masks inside the header",
         WithHeader(Spec(1, 1, 16, Bytes({0xFF, 0xFF, 0, 0})), 124, BI_BITFIELDS,
                    {0xF800, 0x07E0, 0x001F, 0}),
         {0xFFF8FCF8}},
        {"core header, 3-byte palette entries",
         WithHeader(WithPalette(Spec(2, 1, 8, Bytes({1, 0, 0, 0})), twoColours), 12),
         {0xFF00BB00, 0xFF0000AA}},
        {"64-byte header",
         WithHeader(Spec(1, 1, 24, Bytes({1, 2, 3, 0})), 64),
         {0xFF030201}},
        {"other header size with plain data of the stated size",
         [] {
             t_bmpFields s = WithHeader(Spec(1, 1, 24, Bytes({1, 2, 3, 0})), 52);
             s.imageSize = 4;
             return s;
         }(),
         {0xFF030201}},
        {"bare data: palette and pixels follow the header",
         Bare(WithPalette(Spec(2, 1, 4, Bytes({0x10, 0, 0, 0})), twoColours)),
         {0xFF00BB00, 0xFF0000AA}},
        {"bare data: pixels follow a palette longer than 256 entries",
         Bare(WithPalette(Spec(1, 1, 8, Bytes({0xFF, 0, 0, 0})), longPalette)),
         {0xFFABCDEF}},
        {"bare data: 16-bit masks between header and pixels",
         Bare(WithHeader(Spec(1, 1, 16, Bytes({0xFF, 0xFF, 0, 0})), 40, BI_BITFIELDS,
                         {0xF800, 0x07E0, 0x001F})),
         {0xFFF8FCF8}},
        {"RLE8: encoded run, end of line, padded absolute run; complete at the last pixel",
         Rle(WithPalette(Spec(3, 2, 8, Bytes({3, 1, 0, 0, 0, 3, 0, 1, 0, 0})), twoColours), BI_RLE8),
         {0xFF00BB00, 0xFF00BB00, 0xFF00BB00, 0xFF0000AA, 0xFF00BB00, 0xFF0000AA}},
        {"RLE8: pixels a delta skips are opaque black",
         Rle(WithPalette(Spec(3, 2, 8, Bytes({0, 2, 2, 1, 1, 1, 0, 1})), twoColours), BI_RLE8),
         {c_black, c_black, c_black, c_black, c_black, 0xFF00BB00}},
        {"RLE4: an absolute run of 5 pixels takes 3 bytes and 1 of padding",
         Rle(WithPalette(Spec(5, 1, 4, Bytes({0, 5, 0x10, 0x01, 0x10, 0})), twoColours), BI_RLE4),
         {0xFF00BB00, 0xFF0000AA, 0xFF0000AA, 0xFF00BB00, 0xFF00BB00}},
        {"RLE4: encoded runs alternate the nibbles",
         Rle(WithPalette(Spec(3, 1, 4, Bytes({3, 0x10, 0, 1})), twoColours), BI_RLE4),
         {0xFF00BB00, 0xFF0000AA, 0xFF00BB00}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        t_errorChain errors;
        t_pictureHeader header = {};
        const std::vector<uint32_t> pixels = Decode(MakeBmp(c.fields), errors, header);
        EXPECT_EQ(c.expected, pixels);
        EXPECT_TRUE(errors.IsEmpty());
        EXPECT_EQ(c.fields.width, header.biWidth);
        EXPECT_EQ(c.fields.height < 0 ? -c.fields.height : c.fields.height, header.biHeight);
    }
}

TEST(DecodeBmp, RefusesBadDataWithTheReason)
{
    const std::vector<uint32_t> twoColours = {0x0000AA, 0x00BB00};
    const std::wstring unsupported = L"bmp数据读取错误:不支持的格式";
    const std::wstring shortData = L"bmp数据读取错误:数据不全";
    const std::wstring rle8 = L"bmp数据读取错误:RLE8数据错误";
    const std::wstring rle4 = L"bmp数据读取错误:RLE4数据错误";
    const std::wstring index = L"bmp数据读取错误:调色板索引越界";
    const std::wstring data = L"读取图片数据失败";
    const std::wstring info = L"读取图片信息失败";
    auto rle = [&](int width, int height, std::string stream, uint32_t compression = BI_RLE8) {
        return MakeBmp(
            Rle(WithPalette(Spec(width, height, compression == BI_RLE8 ? 8 : 4, std::move(stream)), twoColours),
                compression));
    };
    std::string offsetPastEnd = MakeBmp(Spec(1, 1, 24, Bytes({1, 2, 3, 0})));
    offsetPastEnd[10] = 100;
    const struct {
        const char* name;
        std::string bytes;
        std::vector<std::wstring> lines;  // the chain's last lines
    } cases[] = {
        {"three bytes", "BMx", {L"文件过小"}},
        {"header of 20 bytes", MakeBmp(WithHeader(Spec(1, 1, 24, Bytes({1, 2, 3, 0})), 20)), {info}},
        {"other header size with a palette",
         MakeBmp(WithHeader(WithPalette(Spec(1, 1, 8, Bytes({0, 0, 0, 0})), twoColours), 66)),
         {info}},
        {"width 0", MakeBmp(Spec(0, 1, 24, "")), {info}},
        {"height INT_MIN", MakeBmp(Spec(1, INT_MIN, 24, "")), {info}},
        {"rows beyond 4 GB", MakeBmp(Spec(3000000, 2000000, 24, Bytes({0, 0, 0, 0}))), {info}},
        {"header cut short", MakeBmp(Spec(1, 1, 24, Bytes({1, 2, 3, 0}))).substr(0, 40), {info}},
        {"RLE8 compression on 4 bits",
         MakeBmp(WithHeader(WithPalette(Spec(2, 1, 4, Bytes({2, 1, 0, 1})), twoColours), 40, BI_RLE8)),
         {unsupported, data}},
        {"2 bits per pixel", MakeBmp(WithPalette(Spec(1, 1, 2, Bytes({0, 0, 0, 0})), twoColours)), {unsupported, data}},
        {"16-bit masks that are not one run of bits",
         MakeBmp(WithHeader(Spec(1, 1, 16, Bytes({0, 0, 0, 0})), 40, BI_BITFIELDS, {0xF00F, 0x0F0, 0x0})),
         {unsupported, data}},
        {"JPEG inside a bitmap", MakeBmp(WithHeader(Spec(1, 1, 0, Bytes({0xFF, 0xD8})), 124, 4)), {unsupported, data}},
        {"rows cut short", MakeBmp(Spec(2, 2, 24, std::string(12, '\0'))), {shortData, data}},
        {"rows of a huge picture missing", MakeBmp(Spec(20000, 20000, 8, "")), {shortData, data}},
        {"32-bit rows cut short", MakeBmp(Spec(2, 1, 32, std::string(7, '\0'))), {shortData, data}},
        {"pixel data offset past the end", offsetPastEnd, {shortData, data}},
        {"index past the palette", MakeBmp(WithPalette(Spec(2, 1, 8, Bytes({1, 5, 0, 0})), twoColours)), {index, data}},
        {"1-bit index past a one-entry palette",
         MakeBmp(WithPalette(Spec(2, 1, 1, Bytes({0x40, 0, 0, 0})), {0xFFFFFF})),
         {index, data}},
        {"RLE8 index past the palette", rle(2, 1, Bytes({2, 7, 0, 1})), {index, data}},
        {"RLE4 absolute index past the palette", rle(3, 1, Bytes({0, 3, 0x13, 0}), BI_RLE4), {index, data}},
        {"RLE8 stream without its end", rle(3, 2, Bytes({3, 1})), {rle8, data}},
        {"RLE8 run past the row's end", rle(3, 1, Bytes({4, 1, 0, 1})), {rle8, data}},
        {"RLE8 delta past the right edge", rle(3, 2, Bytes({0, 2, 4, 0, 0, 1})), {rle8, data}},
        {"RLE8 delta past the top", rle(3, 2, Bytes({0, 2, 0, 3, 0, 1})), {rle8, data}},
        {"RLE8 end of line past the top", rle(1, 1, Bytes({0, 0, 0, 0, 1, 1})), {rle8, data}},
        {"RLE8 absolute run longer than the data", rle(5, 1, Bytes({0, 5, 1, 1, 1})), {rle8, data}},
        {"RLE4 absolute run longer than the data", rle(5, 1, Bytes({0, 5, 0x10, 0x01}), BI_RLE4), {rle4, data}},
        {"RLE8 delta cut short", rle(3, 2, Bytes({0, 2, 1})), {rle8, data}},
        {"RLE8 image size beyond the data",
         [&] {
             t_bmpFields f = Rle(WithPalette(Spec(3, 1, 8, Bytes({2, 1})), twoColours), BI_RLE8);
             f.imageSize = 100000;
             return MakeBmp(f);
         }(),
         {rle8, data}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        t_errorChain errors;
        t_pictureHeader header = {};
        EXPECT_TRUE(Decode(c.bytes, errors, header).empty());
        EXPECT_TRUE(errors.IsFailed());
        const std::vector<std::wstring> lines = Lines(errors);
        ASSERT_GE(lines.size(), c.lines.size());
        EXPECT_EQ(c.lines, std::vector<std::wstring>(lines.end() - c.lines.size(), lines.end()));
    }
}

TEST(DecodeBmp, RefusesPicturesTooLargeToAllocate)
{
    // Sizes that pass the header checks but exceed what a DIB may take (an RLE stream
    // may cover any size).
    t_errorChain errors;
    t_pictureHeader header = {};
    t_bmpFields fields = Rle(WithPalette(Spec(20000, 20000, 8, Bytes({0, 1})), {0}), BI_RLE8);
    EXPECT_TRUE(Decode(MakeBmp(fields), errors, header).empty());
    const std::vector<std::wstring> lines = Lines(errors);
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(L"创建DIBSection失败:", lines[lines.size() - 2]);
    EXPECT_EQ(L"创建HBITMAP失败", lines.back());
}

TEST(ImageLoaderBmp, FillsASingleBitmapWithoutAlpha)
{
    const std::string bytes = MakeBmp(Spec(2, -3, 32, std::string(24, '\x40')));
    t_imageSource source = {};
    t_imageLoader_bmp loader;
    ASSERT_TRUE(loader.Load(source, bytes.data(), bytes.size()));
    EXPECT_TRUE(source.IsLoaded());
    EXPECT_EQ(t_imageSource::e_single, source.kind);
    int width = 0, height = 0;
    ASSERT_TRUE(source.GetSize(width, height));
    EXPECT_EQ(2, width);
    EXPECT_EQ(3, height);
    EXPECT_EQ(1, source.Single().made);
    EXPECT_EQ(0, source.Single().system);
    EXPECT_EQ(0, source.Single().hasAlpha);
    const uint32_t* bits = static_cast<const uint32_t*>(BitmapPixelsOf(source.GetBitmap()));
    ASSERT_NE(nullptr, bits);
    EXPECT_EQ(0x40101010u, bits[0]);
    source.Free();

    t_imageSource untouched = {};
    EXPECT_FALSE(loader.Load(untouched, bytes.data(), 20));
    EXPECT_FALSE(untouched.IsLoaded());
    EXPECT_EQ(nullptr, untouched.GetBitmap());
}

}  // namespace
