#include "skin_model/general_info.h"

#include "tests/support/part_golden.h"

TEST(GeneralInfo, NewAndLoadedSkinsWriteTheExpectedFile)
{
    ExpectGoldenRoads<GeneralInfo>(L"general_new.ini", L"general_loaded.ini");
}

TEST(GeneralInfo, MissingKeysTakeDefaultsAndEmptyKeysStayEmpty)
{
    LoadSkinText(L"[General]\r\nskin_name=\r\n");
    GeneralInfo part;
    ASSERT_TRUE(part.Load());
    EXPECT_STREQ(L"", part.skinName);
    EXPECT_STREQ(L"0.9", part.skinVersion);
    EXPECT_STREQ(L"匿名", part.skinAuthor);
    EXPECT_STREQ(L"欢迎大家使用", part.skinInfo);

    // The date of the day the skin is opened.
    SYSTEMTIME now;
    GetLocalTime(&now);
    wchar_t today[32];
    _snwprintf(today, 31, L"%04u.%02u.%02u", now.wYear, now.wMonth, now.wDay);
    today[31] = 0;
    EXPECT_STREQ(today, part.skinTime);

    // Closing the skin empties the texts.
    ASSERT_TRUE(part.Clear());
    EXPECT_STREQ(L"", part.skinVersion);
}

TEST(GeneralInfo, LongTextIsCutTo259Characters)
{
    LoadSkinText(L"[General]\r\nskin_info=" + std::wstring(400, L'字') + L"\r\n");
    GeneralInfo part;
    ASSERT_TRUE(part.Load());
    EXPECT_EQ(std::wstring(259, L'字'), part.skinInfo);
}
