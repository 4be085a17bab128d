#include "graphics/codecs/dib32.h"

#include <gtest/gtest.h>

#include <cstdint>

#include "graphics/codecs/mem_reader.h"

namespace {

TEST(CreatePictureDib, MakesBottomUp32BitSectionsOfTheHeadersSize)
{
    // A top-down height still makes a bottom-up section of the same size.
    for (int height : {3, -3}) {
        t_errorChain errors;
        t_memDC dib;
        ASSERT_TRUE(CreatePictureDib(errors, MakePictureHeader(5, height, 24), dib));
        EXPECT_EQ(nullptr, dib.dc);
        DIBSECTION section = {};
        ASSERT_EQ(sizeof(section), static_cast<size_t>(GetObjectW(dib.dib, sizeof(section), &section)));
        EXPECT_EQ(5, section.dsBmih.biWidth);
        EXPECT_EQ(3, section.dsBmih.biHeight);
        EXPECT_EQ(32, section.dsBmih.biBitCount);
        EXPECT_EQ(section.dsBm.bmBits, dib.bits);
        EXPECT_EQ(dib.Pixels() + 10, dib.Row(2));
        EXPECT_TRUE(errors.IsEmpty());
    }
}

TEST(CreatePictureDib, RefusesEmptyAndOversizedPicturesBeforeAllocating)
{
    const struct {
        int width, height;
    } cases[] = {{0, 4}, {4, 0}, {-4, 4}, {0x10000, 0x10000}, {0x7FFFFFFF, 2}, {1, INT32_MIN}};
    for (const auto& c : cases) {
        t_errorChain errors;
        // A picture made before is released, not kept, by a refused one.
        t_memDC dib;
        ASSERT_TRUE(dib.CreateBitmap(2, 2));
        EXPECT_FALSE(CreatePictureDib(errors, MakePictureHeader(c.width, c.height, 32), dib))
            << c.width << "x" << c.height;
        EXPECT_EQ(nullptr, dib.dib);
        EXPECT_EQ(nullptr, dib.bits);
        ASSERT_FALSE(errors.IsEmpty());
        const t_errorLine* last = errors.FirstLine();
        while (last->next)
            last = last->next;
        EXPECT_STREQ(L"创建DIBSection失败:", last->text.c_str());
        EXPECT_EQ(0u, GetLastError());
    }
}

TEST(MemInput, SeeksAndReadsOnlyWithinTheBlock)
{
    const uint8_t block[6] = {1, 2, 3, 4, 5, 6};
    t_memInput input(block, 6);
    uint32_t word = 0;
    ASSERT_TRUE(input.ReadU32(word));
    EXPECT_EQ(0x04030201u, word);
    EXPECT_FALSE(input.Seek(7));
    EXPECT_EQ(4u, input.Position());
    EXPECT_TRUE(input.Seek(6));
    EXPECT_EQ(0u, input.Remaining());
    ASSERT_TRUE(input.Seek(3));
    uint8_t out[4] = {};
    EXPECT_EQ(3u, input.ReadSome(out, 4));
    EXPECT_EQ(6, out[2]);
    EXPECT_EQ(0u, input.ReadSome(out, 4));
    // A read past the end spends the input, for every count including ones that would wrap.
    for (size_t count : {size_t(7), SIZE_MAX, SIZE_MAX - 1}) {
        ASSERT_TRUE(input.Seek(1));
        EXPECT_FALSE(input.Read(out, count));
        EXPECT_EQ(0u, input.Remaining());
        EXPECT_FALSE(input.Skip(1));
    }
}

}  // namespace
