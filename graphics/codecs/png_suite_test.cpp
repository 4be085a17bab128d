// PngSuite and libpng's testpngs decode to the pixels an independent decoder on the host
// gives (graphics/tools/png_reference.py: expand, strip to 8 bits, premultiply).
#include <gtest/gtest.h>

#include <cstring>

#include "graphics/codecs/image_loader.h"
#include "graphics/codecs/picture_suites_test.h"
#include "graphics/codecs/png_decoder.h"

namespace {

struct t_reference {
    bool refused = false;
    int width = 0, height = 0;
    bool hasAlpha = false;
    std::string pixels;
};

bool LoadReference(const std::wstring& name, t_reference& out)
{
    const std::wstring stem = std::wstring(KAVREL_PNG_REFERENCE) + L"\\" + name.substr(0, name.size() - 4);
    std::string bytes;
    if (ReadBytes(stem + L".fail", bytes)) {
        out.refused = true;
        return true;
    }
    if (!ReadBytes(stem + L".raw", bytes) || bytes.size() < 16 || bytes.compare(0, 4, "KRAW") != 0)
        return false;
    uint32_t header[3];
    memcpy(header, bytes.data() + 4, sizeof(header));
    out.width = header[0];
    out.height = header[1];
    out.hasAlpha = header[2] != 0;
    out.pixels = bytes.substr(16);
    return true;
}

TEST(PngSuite, DecodesToTheIndependentDecodersPixels)
{
    const std::wstring libpng = DepsFolder(L"libpng1.6-*");
    if (libpng.empty())
        GTEST_SKIP() << "Debian's libpng1.6 source is not under .deps/src";
    int checked = 0;
    for (const wchar_t* sub : {L"\\contrib\\pngsuite", L"\\contrib\\pngsuite\\interlaced", L"\\contrib\\testpngs"}) {
        const std::wstring folder = libpng + sub;
        for (const std::wstring& name : FilesWithExtension(folder, L".png")) {
            SCOPED_TRACE(Narrow(name));
            t_reference expected;
            ASSERT_TRUE(LoadReference(name, expected)) << "no reference from the host decoder";
            std::string bytes;
            ASSERT_TRUE(ReadBytes(folder + L"\\" + name, bytes));
            t_imageSource source;
            const bool ok = source.Decode(bytes.data(), bytes.size());
            ++checked;
            if (expected.refused) {
                EXPECT_FALSE(ok);
                source.Free();
                continue;
            }
            ASSERT_TRUE(ok);
            ASSERT_EQ(t_imageSource::e_single, source.kind);
            int width = 0, height = 0;
            ASSERT_TRUE(source.GetSize(width, height));
            EXPECT_EQ(expected.width, width);
            EXPECT_EQ(expected.height, height);
            EXPECT_EQ(expected.hasAlpha, source.payload.hasAlpha != 0);
            t_pixels pixels;
            ASSERT_TRUE(PixelsOf(source.GetBitmapRef(), pixels));
            ASSERT_EQ(expected.pixels.size(), pixels.bits.size() * 4);
            size_t firstDiff = 0;
            while (firstDiff < pixels.bits.size() &&
                   memcmp(&pixels.bits[firstDiff], expected.pixels.data() + firstDiff * 4, 4) == 0)
                ++firstDiff;
            EXPECT_EQ(pixels.bits.size(), firstDiff) << "first differing pixel (bottom-up index)";
            source.Free();
        }
    }
    EXPECT_GT(checked, 150);
}

// libpng's crash regressions: each decodes or is refused, without a fault or a leak of
// the source.
TEST(PngSuite, CrashRegressionsFailOrDecodeCleanly)
{
    const std::wstring libpng = DepsFolder(L"libpng1.6-*");
    if (libpng.empty())
        GTEST_SKIP() << "Debian's libpng1.6 source is not under .deps/src";
    const std::wstring folder = libpng + L"\\contrib\\testpngs\\crashers";
    for (const std::wstring& name : FilesWithExtension(folder, L".png")) {
        SCOPED_TRACE(Narrow(name));
        std::string bytes;
        ASSERT_TRUE(ReadBytes(folder + L"\\" + name, bytes));
        t_imageSource* source = nullptr;
        if (t_imageSource::CreateFromMemory(bytes.data(), bytes.size(), source)) {
            int width = 0, height = 0;
            EXPECT_TRUE(source->GetSize(width, height));
        }
        t_imageSource::Destroy(source);
    }
}

TEST(DecodePng, FailuresNameTheirReason)
{
    const std::string signature = "\x89PNG\r\n\x1a\n";
    const struct {
        std::string bytes;
        const wchar_t* line;
    } cases[] = {
        {"\x89PNG\r\n", L"加载PNG图片失败:文件过小"},
        {"\x88PNG\r\n\x1a\n" + std::string(40, '\0'), L"加载PNG图片失败:头部不正确"},
        // A signature and nothing else: libpng's own words on the read past the end.
        {signature, L"加载PNG图片失败:Read Error"},
    };
    for (const auto& c : cases) {
        t_errorChain errors;
        errors.AddText(L"earlier line");
        t_memInput input(c.bytes.data(), c.bytes.size());
        t_imageSource source = {};
        EXPECT_FALSE(DecodePng(errors, input, source, nullptr));
        ASSERT_NE(nullptr, errors.FirstLine()->next);
        EXPECT_STREQ(c.line, errors.FirstLine()->next->text.c_str());
        EXPECT_EQ(nullptr, errors.FirstLine()->next->next);
        EXPECT_EQ(nullptr, source.GetBitmapRef().handle);
    }
}

}  // namespace
