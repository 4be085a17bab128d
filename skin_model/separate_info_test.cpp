#include "skin_model/separate_info.h"

#include "tests/support/part_golden.h"

TEST(SeparateInfo, NewAndLoadedSkinsWriteTheExpectedFile)
{
    ExpectGoldenRoads<HorizontalSeparateInfo>(L"h2_new.ini", L"h2_loaded.ini");
    ExpectGoldenRoads<VerticalSeparateInfo>(L"v2_new.ini", L"v2_loaded.ini");
}

TEST(SeparateInfo, PicturesSetTheirWindowsFlags)
{
    LoadSkinText(L"[Scheme_V2]\r\npinyin_pic=a.txt\r\npinyin_pic_mask=m.bmp\r\nzhongwen_pic=z.GIF\r\n");
    VerticalSeparateInfo part;
    ASSERT_TRUE(part.Load());
    EXPECT_EQ(t_partIndex::e_verticalSeparate, part.PartIndex());
    EXPECT_FALSE(part.pinyinHasPic);
    EXPECT_STREQ(L"", part.pinyinPic);
    EXPECT_STREQ(L"m.bmp", part.pinyinPicMask);  // a mask sets no flag
    EXPECT_TRUE(part.zhongwenHasPic);
    EXPECT_TRUE(part.UsesPngOrGif());
    part.zhongwenHasPic = false;
    EXPECT_FALSE(part.UsesPngOrGif());
}
