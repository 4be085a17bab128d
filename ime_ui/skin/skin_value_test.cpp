#include "ime_ui/skin/skin_image_value.h"
#include "ime_ui/skin/skin_number.h"
#include "ime_ui/skin/skin_value.h"

#include <gtest/gtest.h>

#include "tests/support/skin_value_text.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

typedef std::function<SkinTypeBase*()> t_factory;

struct t_case {
    const char* kind;
    t_factory make;
    std::wstring text;
    bool parses;
    // The text form after the parse: the canonical form, or that of the default.
    std::wstring formatted;
};

std::vector<t_case> Cases()
{
    const t_factory Bool = [] { return new SkinBool; };
    const t_factory Int = [] { return new SkinInt; };
    const t_factory Color = [] { return new SkinColor; };
    const t_factory Str = [] { return new SkinStr; };
    const t_factory Pos = [] { return new SkinPos; };
    const t_factory LeftRight = [] { return new SkinToLeftRight; };
    const t_factory Split = [] { return new SkinSplit; };
    const t_factory Seperator = [] { return new SkinSeperator; };
    const t_factory Align = [] { return new SkinAlign; };
    const t_factory AlignExt = [] { return new SkinAlignEx; };
    const t_factory Image = [] { return new SkinImage; };
    const t_factory BtnUi = [] { return new SkinBtnUi; };
    const std::wstring longDigits(100000, L'7');
    const std::wstring longCommas(100000, L',');
    return {
        {"bool", Bool, L"1", true, L"1"},
        {"bool", Bool, L"1x", true, L"1"},
        {"bool", Bool, L"0", true, L"0"},
        {"bool", Bool, L"x", true, L"0"},
        {"bool", Bool, L"2", false, L"0"},
        {"bool", Bool, L"-1", false, L"0"},
        {"bool", Bool, L"", false, L"0"},
        {"bool", Bool, longDigits, false, L"0"},
        {"int", Int, L"42", true, L"42"},
        {"int", Int, L"-7", true, L"-7"},
        {"int", Int, L"+5", true, L"5"},
        {"int", Int, L"2147483646", true, L"2147483646"},
        {"int", Int, L"2147483647", false, L"0"},
        {"int", Int, L"-2147483648", false, L"0"},
        {"int", Int, L"99999999999", false, L"0"},
        {"int", Int, L"0x10", false, L"0"},
        {"int", Int, L"31 ", false, L"0"},
        {"int", Int, L"-", false, L"0"},
        {"int", Int, L"", false, L"0"},
        {"int", Int, longDigits, false, L"0"},
        {"color", Color, L"0X1F", true, L"0x1f"},
        {"color", Color, L"0x1f", true, L"0x1f"},
        {"color", Color, L"16711935", true, L"0xff00ff"},
        {"color", Color, L"-1", true, L"0xffffffff"},
        {"color", Color, L"0xffffffff", true, L"0xffffffff"},
        {"color", Color, L"0x00000000ff", true, L"0xff"},
        {"color", Color, L"4294967295", false, L"0xffffffff"},
        {"color", Color, L"0x100000000", false, L"0xffffffff"},
        {"color", Color, L"0x" + longDigits, false, L"0xffffffff"},
        {"color", Color, L"31 ", false, L"0xffffffff"},
        {"color", Color, L"0x", false, L"0xffffffff"},
        {"color", Color, L"0x-1", false, L"0xffffffff"},
        {"color", Color, L"0x 1", false, L"0xffffffff"},
        {"color", Color, L"0x1g", false, L"0xffffffff"},
        {"str", Str, L"宋体", true, L"宋体"},
        {"str", Str, L"", false, L"<none>"},
        {"str", Str, longCommas, true, longCommas},
        {"pos", Pos, L"3,4", true, L"3,4"},
        {"pos", Pos, L"0x10,-2", true, L"16,-2"},
        {"pos", Pos, L"3", false, L"0,0"},
        {"pos", Pos, L"3,4,5", false, L"0,0"},
        {"pos", Pos, L",4", false, L"0,0"},
        {"pos", Pos, longCommas, false, L"0,0"},
        {"to_left_right", LeftRight, L"500,-7", true, L"300,-7"},
        {"to_left_right", LeftRight, L"300,301", true, L"300,300"},
        {"to_left_right", LeftRight, L"1", false, L"0,0"},
        {"split", Split, L"1,0,0", true, L"1,0,0"},
        {"split", Split, L"0,8,8", true, L"0,8,8"},
        {"split", Split, L"3,4,5", false, L"2,0,0"},
        {"split", Split, L"-1,4,5", false, L"2,0,0"},
        {"split", Split, L"2,5", false, L"2,0,0"},
        {"split", Split, L"2,5,5,5", false, L"2,0,0"},
        {"seperator", Seperator, L"0xff0000,2,3", true, L"0x00ff0000,2,3"},
        {"seperator", Seperator, L"-1,400,5", true, L"0xffffffff,300,5"},
        {"seperator", Seperator, L"0xff,2", false, L"0xffffffff,0,0"},
        {"seperator", Seperator, L"0xff,2,x", false, L"0xffffffff,0,0"},
        {"align", Align, L"1,2,3,4", true, L"1,2,3,4"},
        {"align", Align, L"1,2,3", false, L"0,0,0,0"},
        {"align", Align, L"1,2,3,4,5", false, L"0,0,0,0"},
        {"align_ex", AlignExt, L"0,0,0,28,0,0,0,2,6,2", true, L"0,0,0,28,0,0,0,2,6,2"},
        {"align_ex", AlignExt, L"1,2,3,4,5,6,7,8,9", false, L"0,0,0,0,0,0,0,0,0,0"},
        {"align_ex", AlignExt, L"1,2,3,4,5,6,7,8,9,10,11", false, L"0,0,0,0,0,0,0,0,0,0"},
        {"align_ex", AlignExt, longCommas, false, L"0,0,0,0,0,0,0,0,0,0"},
        {"image", Image, L"bk.bmp", true, L"bk.bmp"},
        {"image", Image, L"bk.bmp<1;2>", true, L"bk.bmp<1;2;0;0>"},
        {"image", Image, L"bk.bmp<0;0;0;0>", true, L"bk.bmp"},
        {"image", Image, L"bk.bmp<0x10;x;3;4>", true, L"bk.bmp<16;0;3;4>"},
        {"image", Image, L"bk.bmp<1;2;3;4;5;6>", true, L"bk.bmp<1;2;3;4>"},
        {"image", Image, L"bk.bmp<" + std::wstring(100000, L';') + L">", true, L"bk.bmp"},
        {"image", Image, L"bk.bmp<1;2", false, L""},
        {"image", Image, L"", false, L""},
        {"btn_ui", BtnUi, L"a.bmp,,b.bmp", true, L"a.bmp,,b.bmp"},
        {"btn_ui", BtnUi, L",,", true, L",,"},
        {"btn_ui", BtnUi, L"a.png<1;2;3;4>,b.png", true, L"a.png<1;2;3;4>,b.png"},
        {"btn_ui", BtnUi, L"x<1;2,y.png", true, L",y.png"},
        // More pieces than the list has room for: the fourth and later are ignored.
        {"btn_ui", BtnUi, L"a,b,c,d", true, L"a,b,c"},
        {"btn_ui", BtnUi, longCommas, true, L",,"},
        {"btn_ui", BtnUi, L"", false, L"<none>"},
    };
}

TEST(SkinValue, EveryFormParsesFormatsAndResets)
{
    for (const t_case& c : Cases()) {
        const std::string label = std::string(c.kind) + " " + testing::PrintToString(c.text.substr(0, 40));
        std::unique_ptr<SkinTypeBase> value(c.make());
        const std::wstring atDefault = SkinValueText(*value);
        t_writableText text(c.text);
        EXPECT_EQ(c.parses, value->Parse(text.Get())) << label;
        EXPECT_EQ(c.formatted, SkinValueText(*value)) << label;
        if (!c.parses) {
            EXPECT_TRUE(value->IsDefault()) << label;
        }
        value->Reset();
        EXPECT_TRUE(value->IsDefault()) << label;
        EXPECT_FALSE(value->IsPresent()) << label;
        EXPECT_EQ(atDefault, SkinValueText(*value)) << label;

        // What Format prints parses back to itself.
        if (c.parses && !c.formatted.empty() && c.formatted != L"<none>") {
            std::unique_ptr<SkinTypeBase> again(c.make());
            t_writableText printed(c.formatted);
            EXPECT_TRUE(again->Parse(printed.Get())) << label;
            EXPECT_EQ(c.formatted, SkinValueText(*again)) << label;
        }
    }
}

TEST(SkinValue, StructuredFormsFillTheirFields)
{
    SkinAlign align;
    t_writableText alignText(L"1,2,3,4");
    ASSERT_TRUE(align.Parse(alignText.Get()));
    EXPECT_EQ(1, align.Value().top);
    EXPECT_EQ(2, align.Value().bottom);
    EXPECT_EQ(3, align.Value().left);
    EXPECT_EQ(4, align.Value().right);

    SkinAlignEx alignEx;
    t_writableText alignExText(L"1,2,3,4,5,6,7,8,9,10");
    ASSERT_TRUE(alignEx.Parse(alignExText.Get()));
    const AlignEx& a = alignEx.Value();
    EXPECT_EQ((std::vector<int>{1, 2, 3, 4}),
              (std::vector<int>{a.topMargin, a.bottomMargin, a.leftMargin, a.rightMargin}));
    EXPECT_EQ((std::vector<int>{5, 6, 7, 8}), (std::vector<int>{a.topMode, a.bottomMode, a.leftMode, a.rightMode}));
    EXPECT_EQ(9, a.extra1);
    EXPECT_EQ(10, a.extra2);

    SkinSplit split;
    t_writableText splitText(L"1,-3,7");
    ASSERT_TRUE(split.Parse(splitText.Get()));
    EXPECT_EQ(1, split.Value().mode);
    EXPECT_EQ(-3, split.Value().first);
    EXPECT_EQ(7, split.Value().second);

    // The picture's file points into the text, cut where the numbers begin.
    SkinImage image;
    t_writableText imageText(L"bk.bmp<1;2>");
    ASSERT_TRUE(image.Parse(imageText.Get()));
    EXPECT_TRUE(image.IsPresent());
    EXPECT_EQ(imageText.Get(), image.Value().file);
    EXPECT_STREQ(L"bk.bmp", image.Value().file);
    EXPECT_EQ(1, image.Value().a);
    EXPECT_EQ(2, image.Value().b);
    EXPECT_EQ(0, image.Value().c);

    SkinBtnUi list;
    t_writableText listText(L"a.bmp,,b.bmp<1;2;3;4>,c.bmp,d.bmp");
    ASSERT_TRUE(list.Parse(listText.Get()));
    ASSERT_EQ(3, list.Value().count);
    EXPECT_STREQ(L"a.bmp", list.Value().images[0].file);
    EXPECT_EQ(nullptr, list.Value().images[1].file);
    EXPECT_STREQ(L"b.bmp", list.Value().images[2].file);
    EXPECT_EQ(4, list.Value().images[2].d);

    // Strings compare by text: no text and the empty text are both the default.
    SkinStr str;
    t_writableText empty(L"");
    str.Set(empty.Get(), true);
    EXPECT_TRUE(str.IsDefault());
    t_writableText upper(L"A");
    str.Set(upper.Get(), true);
    EXPECT_FALSE(str.IsDefault());
}

TEST(SkinValue, NumbersAndKeys)
{
    struct {
        const wchar_t* text;
        bool ok;
        int value;
    } const numbers[] = {
        {L"0", true, 0},           {L"0x0", true, 0},   {L"0XFFFFFFFF", true, -1}, {L"-2147483647", true, -2147483647},
        {L"2147483647", false, 0}, {L"0x1_", false, 0}, {L"0x0x1", false, 0},      {L"0x+1", false, 0},
        {L" 12", true, 12},        {L"12 ", false, 0},  {nullptr, false, 0},
    };
    for (const auto& n : numbers) {
        int out = 12345;
        EXPECT_EQ(n.ok, ParseSkinNumber(n.text, out))
            << (n.text ? testing::PrintToString(std::wstring(n.text)) : "null");
        EXPECT_EQ(n.ok ? n.value : 12345, out) << "a failure leaves the number as it was";
    }

    struct {
        const wchar_t* name;
        const wchar_t* prefix;
        bool ok;
        const wchar_t* key;
    } const keys[] = {
        {L"down", L"cn_en", true, L"cn_en_down"},
        {L"down", L"", true, L"down"},
        {L"down", nullptr, true, L"down"},
        {L"", L"comp_custom3", true, L"comp_custom3"},
        {L"", L"", true, L"untouched"},
        {L"hidefullscreen", L"comp_flash999", true, L"comp_flash999_hidefullscreen"},
        {L"123456789012345678901234567890", L"123456789", false, L""},
        {L"x", L"12345678901234567890123456789012345678", false, L""},
        {L"x", L"1234567890123456789012345678901234567", true, L"1234567890123456789012345678901234567_x"},
    };
    for (const auto& k : keys) {
        wchar_t out[c_skinKeyChars] = L"untouched";
        EXPECT_EQ(k.ok, MakeSkinKey(k.name, k.prefix, out)) << testing::PrintToString(std::wstring(k.name));
        EXPECT_STREQ(k.key, out);
    }
}

class SkinValueSectionTest : public ::testing::Test {
protected:
    SkinValueSectionTest() : document(false)
    {
        const std::wstring text = L"\xFEFF[S]\r\nCN_EN_POS=3,4\r\nbad_pos=3\r\nshown=1\r\n";
        const std::string bytes(reinterpret_cast<const char*>(text.data()), text.size() * sizeof(wchar_t));
        EXPECT_TRUE(document.ReadFromMemory(bytes.data(), bytes.size(), 936));
        section = document.Root()->FindSection(L"s");
    }
    t_iniDocument document;
    t_iniSection* section = nullptr;
};

TEST_F(SkinValueSectionTest, LoadFindsTheComposedKeyIgnoringCaseAndResetsOtherwise)
{
    ASSERT_NE(nullptr, section);
    SkinPos pos;
    EXPECT_TRUE(pos.Load(section, L"pos", L"cn_en"));
    EXPECT_TRUE(pos.IsPresent());
    EXPECT_EQ(4, pos.Value().y);

    // Malformed and missing keys alike: back to the default, not present.
    EXPECT_FALSE(pos.Load(section, L"pos", L"bad"));
    EXPECT_FALSE(pos.IsPresent());
    EXPECT_TRUE(pos.IsDefault());
    // The parse cut the text in place: the document is read afresh before every parse.
    EXPECT_FALSE(pos.Load(section, L"pos", L"missing"));
    EXPECT_TRUE(pos.IsDefault());
    EXPECT_FALSE(pos.Load(nullptr, L"pos", L"cn_en"));
    // A key longer than the reader's keys is not looked for.
    EXPECT_FALSE(pos.Load(section, L"pos", L"cn_en_cn_en_cn_en_cn_en_cn_en_cn_en_cn_en"));

    SkinBool shown;
    bool out = false;
    EXPECT_FALSE(shown.Get(out));
    EXPECT_TRUE(shown.Load(section, L"shown", nullptr));
    EXPECT_TRUE(shown.Get(out));
    EXPECT_TRUE(out);
}

TEST_F(SkinValueSectionTest, SaveWritesNonDefaultValuesAndRemovesDefaultOnes)
{
    ASSERT_NE(nullptr, section);
    t_heap heap(0x1000);
    SkinPos pos;
    pos.Set(POINT{7, -8}, true);
    EXPECT_TRUE(pos.Save(section, L"pos", heap, L"menu"));
    EXPECT_STREQ(L"7,-8", section->Value(L"menu_pos"));
    EXPECT_STREQ(L"menu_pos", section->Line(section->LineCount() - 1)) << "a new key goes to the end";

    // An existing key keeps its place.
    pos.Set(POINT{1, 2}, true);
    EXPECT_TRUE(pos.Save(section, L"pos", heap, L"cn_en"));
    EXPECT_STREQ(L"1,2", section->Value(L"cn_en_pos"));
    EXPECT_STREQ(L"CN_EN_POS", section->Line(0));

    pos.Reset();
    EXPECT_FALSE(pos.Save(section, L"pos", heap, L"cn_en"));
    EXPECT_EQ(nullptr, section->FindKey(L"cn_en_pos"));
    EXPECT_FALSE(pos.Save(section, L"pos", heap, L"absent"));

    SkinBtnUi list;
    t_writableText listText(L",,");
    ASSERT_TRUE(list.Parse(listText.Get()));
    EXPECT_TRUE(list.Save(section, L"", heap, L"cn_en"));
    EXPECT_STREQ(L",,", section->Value(L"cn_en"));
}

}  // namespace
