#include "skin_model/button_keys.h"

#include "tests/support/part_golden.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(ButtonKeys, PropertyKeys)
{
    struct t_case {
        int index;
        int type;
        int property;
        const wchar_t* key;  // null: no key
    };
    const t_case cases[] = {
        {0, c_btnBuiltIn, c_propNormal, L"cn_en"},
        {0, c_btnBuiltIn, c_propDown, L"cn_en_down"},
        {8, c_btnBuiltIn, c_propDisplay, L"pageup_display"},
        {9, c_btnBuiltIn, c_propDowning, L"pagedown_downing"},
        {2, c_btnCustom, c_propHover, L"custom2_hover"},
        {0, c_btnCustom, c_propPos, L"custom0_pos"},
        {5, c_btnFlash, c_propFlashPreview, L"flash5_flashpreview"},
        {1, c_btnPhotoFrame, c_propNormal, L"photoframe1"},
        {13, c_btnBuiltIn, c_propDisplay, nullptr},
        {100, c_btnCustom, c_propDisplay, nullptr},
        {0, 4, c_propDisplay, nullptr},
        {0, c_btnCustom, c_propCount, nullptr},
        {0, c_btnCustom, -1, nullptr},
    };
    for (const t_case& c : cases) {
        t_str key(L"stale");
        const bool made = MakePropertyKey(key, c.index, c.type, c.property);
        EXPECT_EQ(made, c.key != nullptr) << TextOrNull(c.key);
        EXPECT_EQ(std::wstring(key.c_str()), c.key ? c.key : L"");
    }
}

TEST(ButtonKeys, PropertyTable)
{
    struct t_case {
        int property;
        const wchar_t* key;
        const wchar_t* caption;
        int cellsForThreeVariants;
        t_cellKind kind;
    };
    const t_case cases[] = {
        {c_propDisplay, L"display", L"显示", 1, t_cellKind::e_int},
        {c_propPos, L"pos", L"位置", 2, t_cellKind::e_int},
        {c_propAlign, L"align", L"对齐位置", 10, t_cellKind::e_int},
        {c_propNormal, L"", L"普通状态", 3, t_cellKind::e_text},
        {c_propUp, L"up", L"鼠标抬起", 3, t_cellKind::e_text},
        {c_propHint, L"hint", L"悬浮提示", 1, t_cellKind::e_text},
        {c_propFlashPreview, L"flashpreview", L"Flash预览图", 1, t_cellKind::e_text},
        {c_propCount, nullptr, nullptr, 0, t_cellKind::e_none},
        {-1, nullptr, nullptr, 0, t_cellKind::e_none},
    };
    for (const t_case& c : cases) {
        EXPECT_EQ(TextOrNull(PropertyKeyOf(c.property)), TextOrNull(c.key));
        EXPECT_EQ(TextOrNull(PropertyCaptionOf(c.property)), TextOrNull(c.caption));
        EXPECT_EQ(PropertyCellCount(c.property, 3), c.cellsForThreeVariants) << c.property;
        EXPECT_TRUE(PropertyKind(c.property) == c.kind) << c.property;
    }
    EXPECT_EQ(PlacementPropertyOf(true), c_propAlign);
    EXPECT_EQ(PlacementPropertyOf(false), c_propPos);
}

TEST(ButtonKeys, ButtonAccessorsCheckIndexAndVariant)
{
    EXPECT_EQ(TextOrNull(ButtonKeyOf(10, c_btnBuiltIn)), L"passport");
    EXPECT_EQ(TextOrNull(ButtonCaptionOf(7, c_btnBuiltIn)), L"栖鹭搜索");
    EXPECT_EQ(TextOrNull(ButtonVariantCaptionOf(10, c_btnBuiltIn, 1)), L"已登录状态");
    EXPECT_EQ(ButtonVariantCaptionOf(10, c_btnBuiltIn, 2), nullptr);
    EXPECT_EQ(ButtonVariantCountOf(1, c_btnBuiltIn), 2);
    EXPECT_EQ(ButtonVariantCountOf(13, c_btnBuiltIn), 0);
    EXPECT_EQ(TextOrNull(CountKeyOf(c_btnFlash)), L"flash_cnt");
    EXPECT_EQ(CountKeyOf(c_btnBuiltIn), nullptr);
    EXPECT_EQ(CountKeyOf(7), nullptr);
    EXPECT_TRUE(IsValidButton(99, c_btnPhotoFrame));
    EXPECT_FALSE(IsValidButton(-1, c_btnCustom));
}

// A key names a button only when it is exactly one of that button's property keys.
TEST(ButtonKeys, ParseButtonKey)
{
    struct t_case {
        const wchar_t* key;
        int index;
        int type;
    };
    const t_case cases[] = {
        {L"custom12_hover", 12, c_btnCustom},
        {L"custom0", 0, c_btnCustom},
        {L"flash3_flashfile", 3, c_btnFlash},
        {L"photoframe3_flashfile", 3, c_btnPhotoFrame},  // holds "flash" too
        {L"custom4_flashpreview", 4, c_btnCustom},
        {L"pageup_flashfile", 0, -1},  // built-in: found in the map, never parsed
        {L"cn_en_down", 0, -1},
        {L"bogus_flashfile", 0, -1},
        {L"custom3_nothing", 0, -1},
        {L"custom100_display", 0, -1},
        {L"custom-1_display", 0, -1},
        {L"custom03_display", 0, -1},
        {L"", 0, -1},
        {nullptr, 0, -1},
    };
    for (const t_case& c : cases) {
        const t_btnDesc button = ParseButtonKey(c.key);
        EXPECT_EQ(button.type, c.type) << TextOrNull(c.key);
        EXPECT_EQ(button.index, c.index) << TextOrNull(c.key);
    }
}

TEST(ButtonKeys, DefaultPictureNames)
{
    struct t_case {
        int index;
        int type;
        int variant;
        int property;
        int window;
        const wchar_t* name;  // null: none
    };
    const t_case cases[] = {
        {c_btnCnEn, c_btnBuiltIn, 0, c_propHover, c_windowHorizontalCombined, L"oh_cn2.bmp"},
        {c_btnCnEn, c_btnBuiltIn, 2, c_propNormal, c_windowStatusBar, L"a1.bmp"},
        {c_btnFanJian, c_btnBuiltIn, 0, c_propDown, c_windowVerticalCand, L"av_jian3.bmp"},
        {c_btnFanJian, c_btnBuiltIn, 1, c_propUp, c_windowHorizontalCand, L"ah_fan7.bmp"},
        {c_btnPageUp, c_btnBuiltIn, 1, c_propDowning, c_windowVerticalComp, L"ov2_pageup_off6.bmp"},
        {c_btnSearch, c_btnBuiltIn, 0, c_propIn, c_windowHorizontalComp, L"oh2_ie4.bmp"},
        {c_btnPageDown, c_btnBuiltIn, 0, c_propOut, c_windowVerticalCombined, L"ov_pagedown_on5.bmp"},
        {2, c_btnCustom, 0, c_propNormal, c_windowHorizontalComp, L"oh2_custom21.bmp"},
        {1, c_btnPhotoFrame, 0, c_propHint, c_windowStatusBar, L"photoframe11.bmp"},
        // The Flash rows lie past the seven picture states.
        {0, c_btnFlash, 0, c_propFlashFile, c_windowHorizontalCombined, L"oh_flash0.swf"},
        {0, c_btnFlash, 0, c_propFlashPreview, c_windowHorizontalCombined, L"oh_flash0.bmp"},
        {c_btnSoftKeyboard, c_btnBuiltIn, 1, c_propNormal, c_windowHorizontalCombined, nullptr},
        {c_btnCnEn, c_btnBuiltIn, 0, c_propNormal, c_buttonWindowCount, nullptr},
        {100, c_btnCustom, 0, c_propNormal, c_windowHorizontalCombined, nullptr},
    };
    for (const t_case& c : cases) {
        t_str name(L"stale");
        EXPECT_EQ(MakeDefaultImageName(name, c.index, c.type, c.variant, c.property, c.window), c.name != nullptr);
        EXPECT_EQ(std::wstring(name.c_str()), c.name ? c.name : L"");
    }
}

TEST(ButtonKeys, StateRows)
{
    const int rows[c_propCount] = {0, 0, 0, 0, 2, 1, 3, 4, 5, 6, 0, 0, 7, 8};
    for (int property = 0; property < c_propCount; ++property)
        EXPECT_EQ(StateImageIndex(property), rows[property]) << property;
    EXPECT_EQ(StateImageIndex(-1), 0);
    EXPECT_EQ(TextOrNull(StateSuffixOf(c_propUrl)), L"1.bmp");
    EXPECT_EQ(TextOrNull(WindowPicturePrefix(0)), L"");
    EXPECT_EQ(WindowPicturePrefix(-1), nullptr);
}

TEST(BtnCtrlBase, FlatNumbering)
{
    BtnCtrlBase base(BuiltInOrderTable(), 13, 1);
    base.SetCount(c_btnCustom, 2);
    base.SetCount(c_btnFlash, 0);
    base.SetCount(c_btnPhotoFrame, 3);
    struct t_case {
        int flat;
        int index;
        int type;
    };
    const t_case cases[] = {
        {0, 0, c_btnBuiltIn},     {5, 5, c_btnBuiltIn},     {6, 7, c_btnBuiltIn}, {9, 10, c_btnBuiltIn},
        {10, 6, c_btnBuiltIn},    {12, 12, c_btnBuiltIn},   {13, 0, c_btnCustom}, {14, 1, c_btnCustom},
        {15, 0, c_btnPhotoFrame}, {17, 2, c_btnPhotoFrame},
    };
    for (const t_case& c : cases) {
        const t_btnDesc button = base.FromFlat(c.flat);
        EXPECT_EQ(button.index, c.index) << c.flat;
        EXPECT_EQ(button.type, c.type) << c.flat;
        EXPECT_EQ(base.ToFlat(c.index, c.type), c.flat) << c.flat;
        EXPECT_TRUE(base.Exists(c.index, c.type));
    }
    for (int flat : {18, -1}) {
        EXPECT_EQ(base.FromFlat(flat).type, -1);
        EXPECT_EQ(base.FromFlat(flat).index, 0);
    }
    EXPECT_EQ(base.ToFlat(13, c_btnBuiltIn), -1);
    EXPECT_EQ(base.ToFlat(0, 4), -1);
    EXPECT_FALSE(base.Exists(0, c_btnFlash));
    EXPECT_FALSE(base.Exists(2, c_btnCustom));
    EXPECT_FALSE(base.Exists(-1, c_btnCustom));
    EXPECT_TRUE(BuiltInOrderTable()[10].IsBuiltIn(6));
    EXPECT_EQ(base.Count(c_btnBuiltIn), 13);
    EXPECT_EQ(base.Count(9), 0);
}

}  // namespace
