#include "skin_model/btn_type_helper.h"

#include "tests/support/part_golden.h"

#include <gtest/gtest.h>

#include <climits>
#include <cwchar>
#include <string>

namespace {

TEST(BtnTypeHelper, KeysCaptionsAndCountsPerType)
{
    struct t_case {
        int type;
        int index;
        const wchar_t* key;
        const wchar_t* caption;
        const wchar_t* variant0;
        int variants;
        const wchar_t* countKey;
    };
    const t_case cases[] = {
        {0, 0, L"cn_en", L"中/英文", L"中文状态", 3, nullptr},
        {0, 4, L"fan_jian", L"繁/简体", L"繁体输入", 2, nullptr},
        {0, 5, L"softkeyboard", L"软键盘", L"软键盘", 1, nullptr},
        {0, 12, L"skinmanager", L"皮肤管理器", L"皮肤管理器", 1, nullptr},
        {1, 7, L"custom7", L"自定义图片7", L"自定义图片", 1, L"custom_cnt"},
        {2, 0, L"flash0", L"Flash0", L"Flash", 1, L"flash_cnt"},
        {3, 2, L"photoframe2", L"相框2", L"相框", 1, L"photoframe_cnt"},
        {3, 99, L"photoframe99", L"相框99", L"相框", 1, L"photoframe_cnt"},
    };
    for (const t_case& c : cases) {
        SCOPED_TRACE(testing::Message() << "type " << c.type << " index " << c.index);
        t_btnTypeHelper* helper = TypeHelperOf(c.type);
        ASSERT_NE(helper, nullptr);
        EXPECT_EQ(TextOrNull(helper->Key(c.index)), c.key);
        EXPECT_EQ(TextOrNull(helper->Caption(c.index)), c.caption);
        EXPECT_EQ(TextOrNull(helper->VariantCaption(c.index, 0)), c.variant0);
        EXPECT_EQ(helper->VariantCount(c.index), c.variants);
        EXPECT_EQ(TextOrNull(helper->CountKey()), TextOrNull(c.countKey));
    }
    EXPECT_EQ(TextOrNull(TypeHelperOf(0)->VariantCaption(0, 2)), L"Caps锁定");
    EXPECT_EQ(TextOrNull(TypeHelperOf(0)->VariantCaption(9, 1)), L"不可翻页");
}

TEST(BtnTypeHelper, SingletonsAndTypesOutOfRange)
{
    EXPECT_EQ(TypeHelperOf(4), nullptr);
    EXPECT_EQ(TypeHelperOf(-1), nullptr);
    EXPECT_EQ(TypeHelperOf(2), TypeHelperOf(2));
    EXPECT_NE(TypeHelperOf(1), TypeHelperOf(2));
}

TEST(BtnTypeHelper, ValidIndexes)
{
    struct t_case {
        int type;
        int index;
        bool valid;
    };
    const t_case cases[] = {
        {0, 0, true},  {0, 12, true},   {0, 13, false}, {0, -1, false}, {1, 0, true},
        {1, 99, true}, {1, 100, false}, {1, -1, false}, {2, 99, true},  {3, 100, false},
    };
    for (const t_case& c : cases)
        EXPECT_EQ(TypeHelperOf(c.type)->IsValidIndex(c.index), c.valid) << c.type << "/" << c.index;
    EXPECT_EQ(TypeHelperOf(0)->Key(13), nullptr);
}

TEST(BtnTypeHelper, ParseKeyFindsTheWordAnywhere)
{
    struct t_case {
        int type;
        const wchar_t* key;
        bool found;
        int index;
    };
    const t_case cases[] = {
        {1, L"custom12_hover", true, 12},
        {1, L"custom", true, 0},
        {1, L"comp_custom3_pos", true, 3},
        {1, L"flash1", false, 0},
        {2, L"pageup_flashfile", true, 0},  // the word inside a property key
        {2, L"flash7_flashpreview", true, 7},
        {3, L"photoframe40", true, 40},
        {3, L"photoframe99999999999", true, INT_MAX},
        {0, L"cn_en", false, 0},
    };
    for (const t_case& c : cases) {
        int index = -5;
        EXPECT_EQ(TypeHelperOf(c.type)->ParseKey(c.key, index), c.found) << c.key;
        if (c.found) {
            EXPECT_EQ(index, c.index) << c.key;
        }
    }
    int index = 0;
    EXPECT_FALSE(TypeHelperOf(1)->ParseKey(nullptr, index));
}

// A key or caption taken earlier still reads the same after others are asked for.
TEST(BtnTypeHelper, ReturnedTextsStayValid)
{
    t_btnTypeHelper* custom = TypeHelperOf(1);
    const wchar_t* key7 = custom->Key(7);
    const wchar_t* caption7 = custom->Caption(7);
    custom->Key(8);
    custom->Caption(99);
    custom->Key(-1);
    EXPECT_EQ(TextOrNull(key7), L"custom7");
    EXPECT_EQ(TextOrNull(caption7), L"自定义图片7");
}

// Keys and captions of indexes outside the valid range are cut to the helper's buffer,
// never written past it.
TEST(BtnTypeHelper, NumberedTextsNeverOverrunTheirBuffer)
{
    for (int type = 1; type <= 3; ++type) {
        t_btnTypeHelper* helper = TypeHelperOf(type);
        const wchar_t* key = helper->Key(INT_MIN);
        ASSERT_NE(key, nullptr);
        EXPECT_LT(wcslen(key), static_cast<size_t>(t_btnTypeHelper_Numbered::c_bufferChars));
        EXPECT_LT(wcslen(helper->Caption(INT_MIN)), static_cast<size_t>(t_btnTypeHelper_Numbered::c_bufferChars));
    }
    EXPECT_EQ(TextOrNull(TypeHelperOf(3)->Key(INT_MIN)), L"photoframe-21474836");
}

}  // namespace
