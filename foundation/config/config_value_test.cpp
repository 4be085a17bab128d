#include "foundation/config/config_struct.h"

#include "foundation/config/ini_document.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace n_config;

TEST(ConfigValue, IntegerTextTable)
{
    struct {
        const wchar_t* text;
        bool ok;
        int value;
    } const cases[] = {
        {L"0", true, 0},
        {L"42", true, 42},
        {L"-17", true, -17},
        {L"+5", true, 5},
        {L"0x10", true, 16},
        {L"0X1f", true, 31},
        {L"0xFFFFFFFF", true, -1},
        {L"2147483647", true, 2147483647},
        {L"-2147483648", true, -2147483647 - 1},
        {L"2147483648", false, 0},
        {L"0x100000000", false, 0},
        {L"12abc", false, 0},
        {L"", false, 0},
        {L"0x", false, 0},
        {L"-0x10", false, 0},
        {L"1.5", false, 0},
        {L"yes", false, 0},
    };
    for (const auto& c : cases) {
        int value = 12345;
        EXPECT_EQ(c.ok, ParseInt(c.text, value)) << c.text;
        if (c.ok) {
            EXPECT_EQ(c.value, value) << c.text;
        }
    }
}

TEST(ConfigValue, FailedParsesLeaveTheDefault)
{
    t_int number(L"n", 9);
    EXPECT_TRUE(number.FromString(L"0x10", nullptr));
    EXPECT_EQ(16, number.Get());
    EXPECT_FALSE(number.FromString(L"12abc", nullptr));
    EXPECT_EQ(9, number.Get());

    t_bool flag(L"b", true);
    struct {
        const wchar_t* text;
        bool ok;
        bool value;
    } const bools[] = {{L"0", true, false}, {L"1", true, true},     {L"0x1", true, true},
                       {L"2", false, true}, {L"true", false, true}, {L"", false, true}};
    for (const auto& c : bools) {
        EXPECT_EQ(c.ok, flag.FromString(c.text, nullptr)) << c.text;
        EXPECT_EQ(c.value, flag.Value()) << c.text;
    }

    t_heap arena(0x100);
    n_config::t_str text(L"s", L"默认", &arena);
    EXPECT_FALSE(text.FromString(L"", nullptr));
    EXPECT_STREQ(L"默认", text.Get());
    wchar_t source[] = L"栖鹭";
    EXPECT_TRUE(text.FromString(source, nullptr));
    source[0] = L'X';  // the value is a copy in the arena
    EXPECT_STREQ(L"栖鹭", text.Get());
    EXPECT_TRUE(text.IsSet());
}

TEST(ConfigValue, GetAndSetMarkTheValueSet)
{
    t_bool flag(L"UseGdip", true);
    bool out = false;
    EXPECT_FALSE(flag.Get(&out));  // not set: the caller's own default stays
    EXPECT_FALSE(out);
    flag.Set(false);
    EXPECT_TRUE(flag.Get(&out));
    EXPECT_FALSE(out);
    flag.Reset();
    EXPECT_FALSE(flag.IsSet());
    EXPECT_TRUE(flag.Value());
}

TEST(ConfigValue, RenderingNeedsRoom)
{
    wchar_t buffer[12];
    t_int number(L"n", -2147483647 - 1);
    EXPECT_FALSE(number.ToString(buffer, 11));
    EXPECT_TRUE(number.ToString(buffer, 12));
    EXPECT_STREQ(L"-2147483648", buffer);
    t_bool flag(L"b", true);
    EXPECT_FALSE(flag.ToString(buffer, 1));
    EXPECT_TRUE(flag.ToString(buffer, 2));
    EXPECT_STREQ(L"1", buffer);
}

class t_quad : public t_structOneLine {
public:
    t_quad() : t_structOneLine(L"Rect", L","), a(L"", 0), b(L"", 0), c(L"", 800), d(L"", 600) {}
    void RegisterMembers() override
    {
        AddMember(a);
        AddMember(b);
        AddMember(c);
        AddMember(d);
        t_structOneLine::RegisterMembers();
    }
    t_int a, b, c, d;
};

TEST(ConfigValue, OneLineStructures)
{
    t_quad quad;
    quad.RegisterMembers();
    quad.RegisterMembers();  // a second registration adds nothing
    EXPECT_EQ(4, quad.MemberCount());
    wchar_t buffer[64];
    ASSERT_TRUE(quad.ToString(buffer, 64));
    EXPECT_STREQ(L"0,0,800,600,", buffer);

    struct {
        const wchar_t* text;
        bool ok;
        int a, b, c, d;
        const wchar_t* rendered;
    } const cases[] = {
        {L"10,20,300,400", true, 10, 20, 300, 400, L"10,20,300,400,"},
        {L"10,20,300,400,", true, 10, 20, 300, 400, L"10,20,300,400,"},
        {L"1,2,3,4,5,6", true, 1, 2, 3, 4, L"1,2,3,4,"},
        {L"7,8", true, 7, 8, 800, 600, L"7,8,800,600,"},
        {L"7,x,9,10", false, 7, 0, 9, 10, L"7,0,9,10,"},
        {L"", true, 0, 0, 800, 600, L"0,0,800,600,"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.ok, quad.FromString(c.text, nullptr)) << c.text;
        EXPECT_EQ(c.a, quad.a.Get()) << c.text;
        EXPECT_EQ(c.b, quad.b.Get()) << c.text;
        EXPECT_EQ(c.c, quad.c.Get()) << c.text;
        EXPECT_EQ(c.d, quad.d.Get()) << c.text;
        EXPECT_FALSE(quad.a.IsSet());  // only the structure is marked by Read
        ASSERT_TRUE(quad.ToString(buffer, 64));
        EXPECT_STREQ(c.rendered, buffer) << c.text;
    }
    EXPECT_FALSE(quad.ToString(buffer, 12));  // 12 characters need room for 13
    EXPECT_TRUE(quad.ToString(buffer, 13));
}

class t_font : public t_struct {
public:
    explicit t_font(t_heap* arena) : t_struct(L"Font"), face(L"Name", L"宋体", arena), size(L"Size", 12) {}
    void RegisterMembers() override
    {
        AddMember(face);
        AddMember(size);
        t_struct::RegisterMembers();
    }
    n_config::t_str face;
    t_int size;
};

class t_display : public t_section {
public:
    explicit t_display(t_heap* arena) : t_section(L"Display", arena), font(arena), rect(), on(L"On", false) {}
    void RegisterMembers() override
    {
        AddMember(font);
        AddMember(rect);
        AddMember(on);
        t_section::RegisterMembers();
    }
    t_font font;
    t_quad rect;
    t_bool on;
};

TEST(ConfigValue, SectionsReadAndWriteMembersUnderTheirKeys)
{
    t_heap arena(0x1000);
    t_display display(&arena);
    display.RegisterMembers();
    EXPECT_EQ(4, display.rect.MemberCount());  // registration reached the nested structure

    t_iniDocument doc(false);
    const std::wstring text = L"\xFEFF[Display]\r\nFontName=黑体\r\nFontSize=0x20\r\nRect=1,2,3,4,\r\n";
    ASSERT_TRUE(doc.ReadFromMemory(text.data(), text.size() * sizeof(wchar_t), 936));
    t_iniSection* section = doc.Root()->FindSection(L"Display");
    ASSERT_NE(nullptr, section);
    EXPECT_FALSE(display.Read(*section, nullptr));  // "On" is missing
    EXPECT_STREQ(L"黑体", display.font.face.Get());
    EXPECT_EQ(32, display.font.size.Get());
    EXPECT_EQ(3, display.rect.c.Get());
    EXPECT_TRUE(display.rect.IsSet());
    EXPECT_FALSE(display.on.IsSet());
    EXPECT_TRUE(display.HasAnySet());

    t_heap scratch(0x1fff8);
    t_textCursor cursor(&scratch);
    EXPECT_TRUE(display.Write(*section, cursor, nullptr));
    EXPECT_STREQ(L"32", doc.GetValue(L"Display", L"FontSize"));
    EXPECT_STREQ(L"1,2,3,4,", doc.GetValue(L"Display", L"Rect"));
    EXPECT_STREQ(L"0", doc.GetValue(L"Display", L"On"));  // unset values write their default

    display.Reset();
    EXPECT_FALSE(display.HasAnySet());
    EXPECT_STREQ(L"宋体", display.font.face.Get());
}

}  // namespace
