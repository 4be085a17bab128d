#include "skin_model/display_info.h"

#include "foundation/config/app_config.h"
#include "tests/support/part_golden.h"

TEST(DisplayInfo, NewAndLoadedSkinsWriteTheExpectedFile)
{
    ExpectGoldenRoads<DisplayInfo>(L"display_new.ini", L"display_loaded.ini");
}

TEST(DisplayInfo, LoadKeepsPreviewValuesOutOfTheFile)
{
    DisplayInfo part;
    LoadSkinText(L"[Display]\r\nfont_size=20\r\nuse_gdip=0\r\nLargeFontSupport=0\r\n"
                 L"pinyin_color=\r\nfont_ch=" +
                 std::wstring(300, L'体') + L"\r\nwebpage=" + std::wstring(1100, L'w') + L"\r\n");
    ASSERT_TRUE(part.Load());
    EXPECT_EQ(20, part.previewFontSize);
    EXPECT_TRUE(part.useGdip);
    EXPECT_TRUE(part.largeFontDisabled);
    EXPECT_EQ(0xFFFFu, part.pinyinColor);  // empty counts as missing
    EXPECT_EQ(std::wstring(259, L'体'), part.fontCh);
    EXPECT_EQ(std::wstring(1024, L'w'), part.webpage);

    // The display survives a close.
    ASSERT_TRUE(part.Clear());
    EXPECT_EQ(20, part.fontSize);
}

TEST(DisplayInfo, ResetTakesThePreviewCandidateCountFromTheSettings)
{
    DisplayInfo part;
    EXPECT_EQ(9, part.previewCandCount);
    part.ResetAll();
    EXPECT_EQ(9, part.previewCandCount);  // the settings' default

    AppConfig::Instance()->preview.candSize.Set(5);
    part.previewFontSize = 30;
    part.ResetAll();
    EXPECT_EQ(5, part.previewCandCount);
    EXPECT_EQ(16, part.previewFontSize);
    AppConfig::Instance()->preview.candSize.Set(9);
}
