#include "skin_model/combine_info.h"

#include "tests/support/part_golden.h"

TEST(CombineInfo, NewAndLoadedSkinsWriteTheExpectedFile)
{
    ExpectGoldenRoads<HorizontalCombineInfo>(L"h1_new.ini", L"h1_loaded.ini");
    ExpectGoldenRoads<VerticalCombineInfo>(L"v1_new.ini", L"v1_loaded.ini");
}

TEST(CombineInfo, PartFacts)
{
    HorizontalCombineInfo h;
    VerticalCombineInfo v;
    EXPECT_EQ(t_partIndex::e_horizontalCombined, h.PartIndex());
    EXPECT_EQ(t_partIndex::e_verticalCombined, v.PartIndex());
    EXPECT_STREQ(L"Scheme_H1", h.Section());
    EXPECT_STREQ(L"Scheme_V1", v.Section());

    // A closed skin keeps its layouts.
    h.layoutHorizontal[1] = 77;
    ASSERT_TRUE(h.Clear());
    EXPECT_EQ(77, h.layoutHorizontal[1]);

    // Only a picture in use counts, and only PNG or GIF.
    wcscpy(h.pic, L"x.gif");
    EXPECT_FALSE(h.UsesPngOrGif());
    h.hasPic = true;
    EXPECT_TRUE(h.UsesPngOrGif());
    wcscpy(h.pic, L"x.bmp");
    EXPECT_FALSE(h.UsesPngOrGif());
}

TEST(CombineInfo, SeparatorIsReadAsHexOrDecimal)
{
    LoadSkinText(L"[Scheme_H1]\r\nseparator=255,1\r\n");
    HorizontalCombineInfo part;
    ASSERT_TRUE(part.Load());
    EXPECT_TRUE(part.separatorEnabled);
    EXPECT_EQ(255, part.separator[0]);
    EXPECT_EQ(1, part.separator[1]);
    EXPECT_EQ(4, part.separator[2]);  // not reached by the text: value of a new skin
}
