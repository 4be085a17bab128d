#include "graphics/codecs/image_loader.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "graphics/codecs/picture_suites_test.h"
#include "tests/support/temp_folder.h"

namespace {

TEST(DetectImageType, ChoosesBySignatureInOrder)
{
    const struct {
        std::string bytes;
        int type;
    } cases[] = {
        {std::string("BM\0\0", 4), e_pictureBmp},
        {"\x89PNG", e_picturePng},
        {"xPNG", e_picturePng},  // byte 0 is not looked at
        {"GIF8", e_pictureGif},
        {"\xFF\xD8\xFF\xE0", e_pictureJpeg},
        {"BMP\x89", e_pictureBmp},  // "BM" is tested first
        {"\x89PNX", e_pictureUnknown},
        {"GIF", e_pictureUnknown},  // 3 bytes or fewer: unknown
        {"", e_pictureUnknown},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.type, DetectImageType(c.bytes.data(), c.bytes.size())) << c.bytes;
}

TEST(ImageLoaders, RegisteredBeforeMainAndDispatchedByType)
{
    EXPECT_EQ(nullptr, GetImageLoader(e_pictureUnknown));
    EXPECT_NE(nullptr, GetImageLoader(e_pictureBmp));
    EXPECT_NE(nullptr, GetImageLoader(e_picturePng));
    EXPECT_NE(nullptr, GetImageLoader(e_pictureGif));
    EXPECT_EQ(nullptr, GetImageLoader(e_pictureJpeg));
    EXPECT_EQ(nullptr, GetImageLoader(5));
    EXPECT_EQ(nullptr, GetImageLoader(-1));

    // Unknown, short, JPEG and damaged PNG data all fail; nothing is left in the source.
    const std::string cases[] = {
        "",      "BM", "xyz", "\xFF\xD8\xFF\xE0" + std::string(64, 'j'), "\x88PNG\r\n\x1a\n" + std::string(64, 'p'),
        "GIF89a"};
    for (const std::string& bytes : cases) {
        t_imageSource* source = reinterpret_cast<t_imageSource*>(1);
        EXPECT_FALSE(t_imageSource::CreateFromMemory(bytes.data(), bytes.size(), source)) << bytes;
        EXPECT_EQ(nullptr, source);
    }
}

TEST(LoadImageFile, ReadsWidePathsAndNamesReadFailures)
{
    const std::wstring giflib = DepsFolder(L"giflib-*");
    if (giflib.empty())
        GTEST_SKIP() << "Debian's giflib source is not under .deps/src";
    std::string gif;
    ASSERT_TRUE(ReadBytes(giflib + L"\\pic\\porsche.gif", gif));
    t_tempFolder folder(L"image_loader");
    const std::wstring path = folder.Path() + L"\\皮肤图片.gif";
    ASSERT_TRUE(WriteRaw(path, gif));

    t_imageSource* source = nullptr;
    ASSERT_TRUE(t_imageSource::LoadFile(path.c_str(), source));
    int width = 0, height = 0;
    EXPECT_TRUE(source->GetSize(width, height));
    EXPECT_EQ(320, width);
    t_imageSource::Destroy(source);

    t_errorChain errors;
    void* data = reinterpret_cast<void*>(1);
    uint32_t size = 7;
    EXPECT_FALSE(ReadWholeFile(errors, (folder.Path() + L"\\无此文件.png").c_str(), data, size));
    EXPECT_EQ(nullptr, data);
    ASSERT_NE(nullptr, errors.FirstLine());
    EXPECT_STREQ(L"读取文件失败:获取文件大小失败", errors.FirstLine()->text.c_str());
    EXPECT_EQ(nullptr, errors.FirstLine()->next);
    EXPECT_FALSE(t_imageSource::LoadFile((folder.Path() + L"\\无此文件.png").c_str(), source));

    ASSERT_TRUE(ReadWholeFile(errors, path.c_str(), data, size));
    EXPECT_EQ(gif.size(), size);
    free(data);
}

}  // namespace
