#include "skin_model/base_info.h"
#include "skin_model/btn_ctrl_base.h"

#include "tests/support/part_golden.h"

#include <memory>

namespace {

enum t_parser {
    e_valueToInt,
    e_parseInt,
    e_parse,
    e_intList
};

const int c_untouched = 12345;

std::wstring JoinItems(const Value& value)
{
    if (value.Kind() == t_valueKind::e_single)
        return value.Text().c_str();
    const ValueArray& list = static_cast<const ValueArray&>(value);
    std::wstring out;
    for (int i = 0; i < list.Count(); ++i)
        out += (i ? L"|" : L"") + std::wstring(list.At(i)->Text().c_str());
    return out;
}

}  // namespace

// Every way a Skin.ini text becomes numbers or list items.
TEST(SkinValueParsing, Table)
{
    struct t_row {
        t_parser parser;
        const wchar_t* text;
        int status;            // e_valueToInt: status; e_parse: 1 for a list; e_intList: count n
        int value;             // e_valueToInt, e_parseInt: the number
        const wchar_t* items;  // e_parse: items joined by |; e_intList: the four elements
    } const rows[] = {
        {e_valueToInt, L"0x1A", 0, 26, nullptr},
        {e_valueToInt, L"0X1a", 0, 26, nullptr},
        {e_valueToInt, L"0x", -1, c_untouched, nullptr},
        {e_valueToInt, L"0x123456789", -1, c_untouched, nullptr},
        {e_valueToInt, L"0x1G", -1, c_untouched, nullptr},
        {e_valueToInt, L"0xFFFFFFFF", 0, -1, nullptr},
        {e_valueToInt, L" 12 ", 0, 12, nullptr},
        {e_valueToInt, L"1 2", 0, 12, nullptr},
        {e_valueToInt, L"12abc", 0, 12, nullptr},
        {e_valueToInt, L"abc", 0, 0, nullptr},
        {e_valueToInt, L"-5", 0, -5, nullptr},
        {e_valueToInt, L"", -1, c_untouched, nullptr},
        {e_valueToInt, L"   ", -1, c_untouched, nullptr},
        {e_parse, L"a", 0, 0, L"a"},
        {e_parse, L"a,b", 1, 0, L"a|b"},
        {e_parse, L"a,,b", 1, 0, L"a||b"},
        {e_parse, L",a", 1, 0, L"|a"},
        {e_parse, L"a,", 1, 0, L"a"},
        {e_parse, L"a,,", 1, 0, L"a|"},
        {e_parse, L"1, 2 ,3", 1, 0, L"1|2|3"},
        {e_parseInt, L"0x", 0, 0, nullptr},
        {e_parseInt, L"0x10", 0, 16, nullptr},
        {e_parseInt, L"0xffffffff", 0, -1, nullptr},
        {e_parseInt, L"0x1G", 0, -1, nullptr},
        {e_parseInt, L"0x123456789", 0, -1, nullptr},
        {e_parseInt, L"  -12", 0, -12, nullptr},
        {e_parseInt, L"+7x", 0, 7, nullptr},
        {e_parseInt, L"abc", 0, 0, nullptr},
        {e_parseInt, L"99999999999", 0, 2147483647, nullptr},
        {e_intList, L"1,2,3,4", 3, 0, L"1,2,3,9"},
        {e_intList, L"7", 3, 0, L"7,9,9,9"},
        {e_intList, L"1,,3", 3, 0, L"1,9,3,9"},
        {e_intList, L"0x10, 5", 4, 0, L"16,5,9,9"},
        {e_intList, L"", 3, 0, L"9,9,9,9"},
        {e_intList, L"1,2", 0, 0, L"9,9,9,9"},
    };
    for (const t_row& row : rows) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(row.text)) + " parser " + std::to_string(row.parser));
        switch (row.parser) {
        case e_valueToInt: {
            std::unique_ptr<Value> value(Value::Parse(row.text));
            int out = c_untouched;
            EXPECT_EQ(row.status, value->ToInt(out));
            EXPECT_EQ(row.value, out);
            break;
        }
        case e_parse: {
            std::unique_ptr<Value> value(Value::Parse(row.text));
            EXPECT_EQ(row.status == 1 ? t_valueKind::e_list : t_valueKind::e_single, value->Kind());
            EXPECT_EQ(std::wstring(row.items), JoinItems(*value));
            break;
        }
        case e_parseInt:
            EXPECT_EQ(row.value, BaseInfo::ParseInt(row.text));
            break;
        case e_intList: {
            int out[4] = {9, 9, 9, 9};
            BaseInfo::ParseIntList(row.text, out, row.status);
            wchar_t joined[64];
            _snwprintf(joined, 63, L"%d,%d,%d,%d", out[0], out[1], out[2], out[3]);
            joined[63] = 0;
            EXPECT_STREQ(row.items, joined);
            break;
        }
        }
    }
}

TEST(SkinValueParsing, ListItemsKeepInnerBlanksInTheirRawText)
{
    std::unique_ptr<Value> value(Value::Parse(L" my pic.bmp , b c.png"));
    ASSERT_EQ(t_valueKind::e_list, value->Kind());
    const ValueArray& list = static_cast<const ValueArray&>(*value);
    EXPECT_STREQ(L"mypic.bmp", list.At(0)->Text().c_str());
    EXPECT_STREQ(L"my pic.bmp", list.At(0)->RawText().c_str());
    EXPECT_STREQ(L"b c.png", list.At(1)->RawText().c_str());
    EXPECT_EQ(nullptr, list.At(2));
    EXPECT_EQ(nullptr, list.At(-1));
}

TEST(BaseInfoHelpers, FileNamesAndOpacity)
{
    struct t_name {
        const wchar_t* text;
        bool image;
        bool pngOrGif;
    } const names[] = {
        {L"C:\\skins\\A.PNG", true, true}, {L"a.bmp", true, false},        {L"x.gif", true, true},
        {L"photo.JPEG", true, false},      {L"scan.tiff", true, false},    {L".png", false, true},
        {L"a.txt", false, false},          {L"noextension", false, false}, {L"png", false, false},
        {nullptr, false, false},
    };
    for (const t_name& n : names) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(n.text ? n.text : L"<null>")));
        EXPECT_EQ(n.image, BaseInfo::IsImageFileName(n.text));
        EXPECT_EQ(n.pngOrGif, BaseInfo::IsPngOrGif(n.text));
    }

    wchar_t name[MAX_PATH];
    EXPECT_TRUE(BaseInfo::FileNameOf(L"C:\\a\\b.png", name));
    EXPECT_STREQ(L"b.png", name);
    EXPECT_FALSE(BaseInfo::FileNameOf(L"b.png", name));
    EXPECT_FALSE(BaseInfo::FileNameOf(L"a\\b", name));

    struct t_opacity {
        unsigned alpha, percent, alphaBack;
    } const opacities[] = {{200, 78, 198}, {255, 100, 255}, {300, 100, 255}, {0, 0, 0}, {128, 50, 127}, {51, 20, 51}};
    for (const t_opacity& o : opacities) {
        EXPECT_EQ(o.percent, AlphaToPercent(o.alpha)) << o.alpha;
        EXPECT_EQ(o.alphaBack, PercentToAlpha(o.percent)) << o.percent;
    }
    // One load and save may move an opacity; a second one must not move it again.
    for (unsigned alpha = 0; alpha <= 255; ++alpha) {
        const unsigned once = PercentToAlpha(AlphaToPercent(alpha));
        EXPECT_EQ(once, PercentToAlpha(AlphaToPercent(once))) << alpha;
    }

    EXPECT_STREQ(L"普通", PartNameOf(t_partIndex::e_general));
    EXPECT_STREQ(L"状态窗口", PartNameOf(t_partIndex::e_statusBar));
    EXPECT_STREQ(L"状态窗口按钮", PartNameOf(ButtonSetPartOf(c_windowStatusBar)));
    EXPECT_STREQ(L"竖排分窗口候选窗口按钮", PartNameOf(t_partIndex::e_lastButtonSet));
    EXPECT_STREQ(L"", PartNameOf(static_cast<t_partIndex>(c_partCount)));
    EXPECT_STREQ(L"", PartNameOf(static_cast<t_partIndex>(-1)));
}

TEST(BaseInfoHelpers, ReadersTakeDefaultsForMissingOrEmptyValues)
{
    LoadSkinText(L"[S]\r\nempty=\r\nhex=0x1f\r\nbad=0xZZ\r\nyes=2\r\nlong=" + std::wstring(300, L'x') +
                 L"\r\n"
                 L"pic=a.png\r\nnotpic=a.doc\r\n");
    EXPECT_EQ(7, BaseInfo::ReadInt(L"S", L"empty", 7));
    EXPECT_EQ(7, BaseInfo::ReadInt(L"S", L"missing", 7));
    EXPECT_EQ(7, BaseInfo::ReadInt(L"Nowhere", L"hex", 7));
    EXPECT_EQ(31, BaseInfo::ReadInt(L"S", L"hex", 7));
    EXPECT_EQ(-1, BaseInfo::ReadInt(L"S", L"bad", 7));
    EXPECT_TRUE(BaseInfo::ReadBool(L"S", L"yes", false));
    EXPECT_TRUE(BaseInfo::ReadBool(L"S", L"missing", true));

    wchar_t text[MAX_PATH];
    BaseInfo::ReadString(L"S", L"empty", L"def", text);
    EXPECT_STREQ(L"", text);
    BaseInfo::ReadString(L"S", L"missing", L"def", text);
    EXPECT_STREQ(L"def", text);
    BaseInfo::ReadString(L"S", L"long", L"", text);
    EXPECT_EQ(std::wstring(259, L'x'), text);
    BaseInfo::ReadPicture(L"S", L"pic", text);
    EXPECT_STREQ(L"a.png", text);
    BaseInfo::ReadPicture(L"S", L"notpic", text);
    EXPECT_STREQ(L"", text);

    BaseInfo::WriteInt(L"S", L"hex", 255, true);
    EXPECT_STREQ(L"0xff", SkinIni::GetText(L"S", L"hex"));
    BaseInfo::WriteInt(L"S", L"neg", -3, false);
    EXPECT_STREQ(L"-3", SkinIni::GetText(L"S", L"neg"));
    BaseInfo::WriteBool(L"New", L"flag", true);
    EXPECT_STREQ(L"1", SkinIni::GetText(L"New", L"flag"));
}

TEST(InfoItem, CellsCopyOnlyToTheirOwnKind)
{
    std::unique_ptr<InfoItem> number(NewIntCell(L"k_pos", 1, 5, 6));
    std::unique_ptr<InfoItem> text(NewStringCell(L"k", 0, L"v", L"d"));
    std::unique_ptr<InfoItem> target(NewCell(t_cellKind::e_text, L"other", 3));
    ASSERT_TRUE(number && text && target);
    EXPECT_EQ(nullptr, NewCell(t_cellKind::e_none, L"x", 0));

    EXPECT_FALSE(number->CopyTo(*target));
    EXPECT_STREQ(L"other", target->GetName().c_str());
    EXPECT_EQ(3, target->Position());

    EXPECT_TRUE(text->CopyTo(*target));
    EXPECT_STREQ(L"k", target->GetName().c_str());
    EXPECT_EQ(0, target->Position());
    EXPECT_STREQ(L"v", static_cast<InfoItemString&>(*target).Text().c_str());
    target->Reset();
    EXPECT_STREQ(L"d", static_cast<InfoItemString&>(*target).Text().c_str());

    std::unique_ptr<InfoItem> clone(number->Clone());
    EXPECT_EQ(t_cellKind::e_int, clone->Kind());
    EXPECT_EQ(1, clone->Position());
    EXPECT_EQ(5, static_cast<InfoItemInt&>(*clone).GetValue());
    clone->Reset();
    EXPECT_EQ(6, static_cast<InfoItemInt&>(*clone).GetValue());
    t_str shown(L"old");
    static_cast<InfoItemInt&>(*number).ToText(shown);
    EXPECT_STREQ(L"5", shown.c_str());
}

TEST(InfoItem, ReadAndWriteThroughTheSharedDocument)
{
    SkinIni::Instance()->Clear();
    InfoItemInt number(L"n", 0, 4, 0);
    InfoItemString text(L"t", 0, L"", L"");

    std::unique_ptr<Value> empty(Value::Parse(L""));
    number.ReadFrom(*empty);
    EXPECT_EQ(4, number.GetValue());
    std::unique_ptr<Value> hex(Value::Parse(L"0x80"));
    EXPECT_EQ(0, number.ReadFrom(*hex));
    EXPECT_EQ(128, number.GetValue());

    std::unique_ptr<Value> name(Value::Parse(L"my pic.bmp"));
    text.ReadFrom(*name);
    EXPECT_STREQ(L"my pic.bmp", text.Text().c_str());

    number.WriteTo(L"Sec");
    text.WriteTo(L"Sec");
    EXPECT_STREQ(L"128", SkinIni::GetText(L"Sec", L"n"));
    EXPECT_STREQ(L"my pic.bmp", SkinIni::GetText(L"Sec", L"t"));
}
