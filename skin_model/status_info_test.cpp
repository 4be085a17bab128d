#include "skin_model/status_info.h"

#include "tests/support/part_golden.h"

TEST(StatusInfo, NewAndLoadedSkinsWriteTheExpectedFile)
{
    ExpectGoldenRoads<StatusInfo>(L"status_new.ini", L"status_loaded.ini");
}

TEST(StatusInfo, AccessorsFindCellsByExactKeyAndPosition)
{
    StatusInfo part;
    part.Reset();
    int n = -7;
    t_str text;
    EXPECT_TRUE(part.GetInt(L"opaque", 0, n));
    EXPECT_EQ(255, n);
    EXPECT_TRUE(part.SetString(L"pic", 0, L"a.png"));
    EXPECT_TRUE(part.GetString(L"pic", 0, text));
    EXPECT_STREQ(L"a.png", text.c_str());
    EXPECT_TRUE(part.UsesPngOrGif());

    // Wrong kind, wrong case, wrong position, unknown key: refused, nothing changed.
    n = -7;
    EXPECT_FALSE(part.GetInt(L"pic", 0, n));
    EXPECT_FALSE(part.GetString(L"PIC", 0, text));
    EXPECT_FALSE(part.GetInt(L"opaque", 1, n));
    EXPECT_FALSE(part.SetInt(L"pic", 0, 3));
    EXPECT_FALSE(part.SetString(L"opaque", 0, L"x"));
    EXPECT_FALSE(part.SetInt(L"cn_en_pos", 0, 3));
    EXPECT_EQ(-7, n);
    EXPECT_EQ(nullptr, part.FindItem(nullptr, 0));

    EXPECT_TRUE(part.SetInt(L"opaque", 0, 10));
    part.ResetItem(L"opaque", 0);
    EXPECT_TRUE(part.GetInt(L"opaque", 0, n));
    EXPECT_EQ(255, n);
}

TEST(StatusInfo, LoadResetsMissingKeysAndKeepsCellsForEmptyValues)
{
    StatusInfo part;
    part.SetInt(L"transparent_color", 0, 42);
    part.SetInt(L"opaque", 0, 9);
    part.editorFlag = 0;
    LoadSkinText(L"[StatusBar]\r\ntransparent_color=\r\ntransparent_color_enable=0x1G\r\n");
    ASSERT_TRUE(part.Load());
    int n = 0;
    part.GetInt(L"transparent_color", 0, n);
    EXPECT_EQ(42, n);  // empty: unchanged
    part.GetInt(L"transparent_color_enable", 0, n);
    EXPECT_EQ(0, n);  // malformed: unchanged
    part.GetInt(L"opaque", 0, n);
    EXPECT_EQ(255, n);  // missing: reset
    EXPECT_EQ(1, part.editorFlag);
}

TEST(StatusInfo, KeyMapHoldsEveryTableCellOnce)
{
    StatusInfo part;
    EXPECT_TRUE(part.BuildKeyMap());
    InfoItem* const* table = StatusInfo::ItemTable();
    int count = 0;
    for (; table[count]; ++count)
        EXPECT_EQ(table[count], part.FindItem(table[count]->GetName().c_str(), 0));
    EXPECT_EQ(5, count);
}
