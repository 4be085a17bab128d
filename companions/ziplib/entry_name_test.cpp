#include "companions/ziplib/entry_name.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <string>

namespace {

struct t_nameCase {
    const wchar_t* name;
    bool safe;
    const wchar_t* result;  // after separators were turned, when safe
    bool folder;
};

TEST(EntryNameTest, OnlyRelativeNamesBelowTheTargetAreSafe)
{
    const t_nameCase cases[] = {
        {L"Skin.ini", true, L"Skin.ini", false},
        {L"pic/a.png", true, L"pic\\a.png", false},
        {L"pic\\a.png", true, L"pic\\a.png", false},
        {L"pic/", true, L"pic", true},
        {L"图片/候选.png", true, L"图片\\候选.png", false},
        {L"a..b.png", true, L"a..b.png", false},
        {L".hidden", true, L".hidden", false},
        {L"console.png", true, L"console.png", false},
        {L"COM10.png", true, L"COM10.png", false},
        {L"", false},
        {L"/", false},
        {L"../evil.png", false},
        {L"..\\evil.png", false},
        {L"pic/../../evil.png", false},
        {L"pic\\..\\..\\evil.png", false},
        {L"pic/..", false},
        {L"./a.png", false},
        {L"pic/. ./a.png", false},
        {L"pic/.../a.png", false},
        {L"/etc/passwd", false},
        {L"\\Windows\\evil.dll", false},
        {L"\\\\server\\share\\evil.png", false},
        {L"//server/share/evil.png", false},
        {L"C:\\evil.png", false},
        {L"C:evil.png", false},
        {L"c:/evil.png", false},
        {L"a.png:stream", false},
        {L"pic//a.png", false},
        {L"a.png.", false},
        {L"a.png ", false},
        {L"CON", false},
        {L"pic/nul.png", false},
        {L"aux .txt", false},
        {L"LPT1", false},
        {L"COM\u00b9.png", false},
        {L"a\x01.png", false},
        {L"a?.png", false},
        {L"a*.png", false},
        {L"a|b", false},
        {L"a\"b", false},
        {L"a<b>", false},
    };
    for (const t_nameCase& c : cases) {
        std::wstring name = c.name;
        bool folder = false;
        const bool safe = n_zipName::MakeSafeRelative(name, folder);
        EXPECT_EQ(c.safe, safe) << c.name;
        if (c.safe && safe) {
            EXPECT_EQ(c.result, name) << c.name;
            EXPECT_EQ(c.folder, folder) << c.name;
        }
    }
}

std::string UnicodePathField(const std::string& raw, const std::string& utf8, int version = 1)
{
    const uLong crc = crc32(0L, reinterpret_cast<const Bytef*>(raw.data()), static_cast<uInt>(raw.size()));
    std::string field = "\x75\x70";
    const size_t size = 5 + utf8.size();
    field += static_cast<char>(size & 0xff);
    field += static_cast<char>(size >> 8);
    field += static_cast<char>(version);
    for (int i = 0; i < 4; ++i)
        field += static_cast<char>((crc >> (8 * i)) & 0xff);
    return field + utf8;
}

TEST(EntryNameTest, NamesDecodeByFlagThenUnicodeFieldThenCodePage936)
{
    const std::string utf8 = "\xe7\x9a\xae\xe8\x82\xa4.png";  // 皮肤.png
    const std::string gbk = "\xc6\xa4\xb7\xf4.png";           // 皮肤.png
    const std::string fresh = "\xe6\x96\xb0.png";             // 新.png
    const std::string otherExtra = std::string("\x0a\x00\x04\x00", 4) + "abcd";
    struct t_decodeCase {
        std::string raw;
        uint16_t flags;
        std::string extra;
        uint8_t host;
        bool ok;
        const wchar_t* name;
    } cases[] = {
        {utf8, n_zipName::c_flagUtf8, "", 0, true, L"皮肤.png"},
        {gbk, 0, "", 0, true, L"皮肤.png"},
        {"plain.png", 0, "", 0, true, L"plain.png"},
        {gbk, 0, "", 11, true, L"皮肤.png"},
        // Unix tools store the locale's bytes, UTF-8, without the flag; GBK bytes that
        // are not valid UTF-8 still read as GBK.
        {utf8, 0, "", n_zipName::c_hostUnix, true, L"皮肤.png"},
        {utf8, 0, "", n_zipName::c_hostOsx, true, L"皮肤.png"},
        {gbk, 0, "", n_zipName::c_hostUnix, true, L"皮肤.png"},
        // Info-ZIP may put the UTF-8 name in 0x7075 beside a raw name of the local code page.
        {gbk, 0, UnicodePathField(gbk, fresh), 0, true, L"新.png"},
        {gbk, 0, otherExtra + UnicodePathField(gbk, fresh), 0, true, L"新.png"},
        // A field whose CRC does not match the header name is stale: the header holds.
        {gbk, 0, UnicodePathField("other", "x.png"), 0, true, L"皮肤.png"},
        {"x.png", 0, UnicodePathField("x.png", utf8, 2), 0, true, L"x.png"},
        // Bytes that are not UTF-8 under the UTF-8 flag, and not GBK without it.
        {"\xff\xfe.png", n_zipName::c_flagUtf8, "", 0, false, L""},
        {"\x81.png", 0, "", 0, false, L""},
        // An extra field that claims more than it holds is ignored.
        {gbk, 0, std::string("\x75\x70\xff\x00\x01", 5), 0, true, L"皮肤.png"},
    };
    for (const t_decodeCase& c : cases) {
        std::wstring out;
        const bool ok =
            n_zipName::Decode(c.raw.data(), c.raw.size(), c.flags, reinterpret_cast<const uint8_t*>(c.extra.data()),
                              c.extra.size(), c.host, out);
        EXPECT_EQ(c.ok, ok) << c.name;
        if (c.ok) {
            EXPECT_EQ(c.name, out);
        }
    }
}

TEST(EntryNameTest, KeysIgnoreCaseAndSeparator)
{
    EXPECT_EQ(n_zipName::Key(L"Skin.ini"), n_zipName::Key(L"SKIN.INI"));
    EXPECT_EQ(n_zipName::Key(L"pic/Ä.png"), n_zipName::Key(L"PIC\\ä.PNG"));
    EXPECT_NE(n_zipName::Key(L"pic/a.png"), n_zipName::Key(L"pic/b.png"));
}

TEST(EntryNameTest, CodePage936RoundTripsExactlyOrFails)
{
    std::string narrow;
    ASSERT_TRUE(n_zipName::ToCp936(L"C:\\皮肤\\a.vsf", narrow));
    EXPECT_EQ("C:\\\xc6\xa4\xb7\xf4\\a.vsf", narrow);
    std::wstring back;
    ASSERT_TRUE(n_zipName::FromCp936(narrow.c_str(), back));
    EXPECT_EQ(L"C:\\皮肤\\a.vsf", back);
    // No best fit: characters outside the code page fail instead of turning into others.
    EXPECT_FALSE(n_zipName::ToCp936(L"C:\\\U0001F600.vsf", narrow));
}

}  // namespace
