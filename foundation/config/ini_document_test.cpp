#include "foundation/config/ini_document.h"

#include "tests/support/temp_folder.h"
#include "tests/support/utf16_file.h"
#include "foundation/files/text_file.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// The document as WriteConfig renders it, without the byte-order mark.
std::wstring Rendered(t_iniDocument& doc)
{
    t_fileTextWrite out(64);
    t_iniDocument::Render(*doc.Root(), out);
    return std::wstring(out.Text() ? out.Text() : L"", out.UsedBytes() / sizeof(wchar_t));
}

bool ParsePlain(t_iniDocument& doc, const std::wstring& text)
{
    const std::string bytes = Utf16File(text);
    return doc.ReadFromMemory(bytes.data(), bytes.size(), 936);
}

std::wstring FixturePath(const wchar_t* name)
{
    return std::wstring(KAVREL_SOURCE_DIR) + L"\\foundation\\config\\testdata\\" + name;
}

struct t_parseCase {
    const wchar_t* what;
    std::wstring input;
    std::wstring expected;
};

TEST(IniDocument, ParseAndRenderKeepOrderCommentsAndRules)
{
    const t_parseCase cases[] = {
        {L"key before any section dropped, leading comment written first", L"k=v\r\n;top\r\n[A]\r\nx=1\r\n",
         L";top\r\n\r\n[A]\r\nx=1\r\n"},
        {L"header rest ignored; unclosed and empty headers end the section",
         L"[ Main ]x\r\na=1\r\n[Main\r\nb=2\r\n[]\r\nc=3\r\n[Other]\r\nd=4",
         L"[Main]\r\na=1\r\n\r\n[Other]\r\nd=4\r\n"},
        {L"blanks around key and value, value keeps its '='", L"[S]\r\n  key  =  some = value  \r\n",
         L"[S]\r\nkey=some = value\r\n"},
        {L"empty key and lines without '=' ignored, empty value kept", L"[S]\r\n=x\r\nk=\r\nnoequals\r\n",
         L"[S]\r\nk=\r\n"},
        {L"keys differing in case are one key at the first place with the last value", L"[S]\r\nK=1\r\nz=3\r\nk=2\r\n",
         L"[S]\r\nK=2\r\nz=3\r\n"},
        {L"sections of one name merge at the first place", L"[A]\r\na=1\r\n[B]\r\nb=1\r\n[a]\r\nc=1\r\n",
         L"[A]\r\na=1\r\nc=1\r\n\r\n[B]\r\nb=1\r\n"},
        {L"leading blanks stripped before the comment test", L"[S]\r\n   ;note\r\n", L"[S]\r\n;note\r\n"},
        {L"CR, LF, LF CR and CR LF line ends", L"[S]\n\ra=1\rb=2\r\nc=3", L"[S]\r\na=1\r\nb=2\r\nc=3\r\n"},
        {L"tabs and control characters trimmed", L"\t[S]\x01\r\n\tk\t=\tv\t\r\n", L"[S]\r\nk=v\r\n"},
        {L"the text ends at its first NUL", std::wstring(L"[S]\r\na=1\r\n\0b=2\r\n", 16), L"[S]\r\na=1\r\n"},
        {L"comment after a rejected header belongs to the file", L";c1\r\n[S]\r\n;c2\r\na=1\r\n[bad\r\n;c3\r\nz=9\r\n",
         L";c1\r\n\r\n[S]\r\n;c2\r\na=1\r\n;c3\r\n"},
        {L"a section named like a comment is still a section", L"[;x]\r\na=1\r\n", L"[;x]\r\na=1\r\n"},
    };
    for (const t_parseCase& c : cases) {
        t_iniDocument doc(false);
        ASSERT_TRUE(ParsePlain(doc, c.input)) << c.what;
        EXPECT_EQ(c.expected, Rendered(doc)) << c.what;
    }
}

TEST(IniDocument, LookupsIgnoreCaseAndKeepTheFirstSpelling)
{
    t_iniDocument doc(false);
    EXPECT_EQ(nullptr, doc.GetValue(L"S", L"k"));  // nothing parsed yet
    EXPECT_EQ(nullptr, doc.ParsedRoot());
    ASSERT_TRUE(ParsePlain(doc, L"[Setting]\r\nUseGdip=1\r\nEmpty=\r\n"));
    EXPECT_STREQ(L"1", doc.GetValue(L"SETTING", L"usegdip"));
    EXPECT_STREQ(L"", doc.GetValue(L"setting", L"Empty"));
    EXPECT_EQ(nullptr, doc.GetValue(L"Setting", L"Missing"));
    EXPECT_EQ(nullptr, doc.GetValue(L"Missing", L"UseGdip"));
    const t_iniSection* section = doc.Root()->FindSection(L"setting");
    ASSERT_NE(nullptr, section);
    EXPECT_STREQ(L"UseGdip", section->Line(0));
    EXPECT_FALSE(section->Find(L"useGDIP").Equals(section->End()));
    EXPECT_TRUE(section->Find(L"nope").Equals(section->End()));
}

TEST(IniDocument, ChangesKeepPlacesAndAppendNewNames)
{
    t_iniDocument doc(false);
    ASSERT_TRUE(ParsePlain(doc, L"[S]\r\n;c\r\na=1\r\nb=2\r\n"));
    EXPECT_TRUE(doc.SetValue(L"s", L"A", L"10"));           // existing key: new value, same place
    EXPECT_TRUE(doc.SetValue(L"S", L"first", L"0", 0));     // inserted at the front
    EXPECT_TRUE(doc.SetValue(L"S", L"last", nullptr, 99));  // past the end: appended, no value
    EXPECT_TRUE(doc.SetValue(L"New", L"x", L"y"));          // new section at the end
    EXPECT_EQ(L"[S]\r\nfirst=0\r\n;c\r\na=10\r\nb=2\r\nlast=\r\n\r\n[New]\r\nx=y\r\n", Rendered(doc));

    t_iniSection* section = doc.Root()->FindSection(L"S");
    section->AddComment(L"b");  // a comment with the text of a key survives its removal
    section->RemoveKey(section->FindKey(L"B"));
    EXPECT_EQ(nullptr, doc.GetValue(L"S", L"b"));
    EXPECT_EQ(L"[S]\r\nfirst=0\r\n;c\r\na=10\r\nlast=\r\nb\r\n\r\n[New]\r\nx=y\r\n", Rendered(doc));
}

TEST(IniDocument, PlainFilesRoundTripAsUtf16WithBom)
{
    t_tempFolder dir(L"ini_plain");
    const std::wstring text =
        L";说明\r\n\r\n[General]\r\nName=栖鹭皮肤\r\nPath=C:\\皮肤\\a.vsf\r\n\r\n[Display]\r\nFont=宋体\r\n";
    // Each encoding the reader knows gives the same document.
    const std::string gbk("[General]\r\nName=\xC6\xA4\xB7\xF4\r\n");  // 皮肤 in code page 936
    const std::string utf8("\xEF\xBB\xBF[General]\r\nName=\xE7\x9A\xAE\xE8\x82\xA4\r\n");
    std::wstring be;
    for (wchar_t c : std::wstring(L"[General]\r\nName=皮肤\r\n"))
        be += static_cast<wchar_t>(((c & 0xFF) << 8) | (c >> 8));
    const std::string utf16be = "\xFE\xFF" + Utf16File(be).substr(2);
    for (const std::string& bytes : {gbk, utf8, utf16be}) {
        ASSERT_TRUE(WriteRaw(dir / L"in.ini", bytes));
        t_iniDocument doc(false);
        t_errorChain errors;
        ASSERT_TRUE(doc.ReadConfig(errors, (dir / L"in.ini").c_str(), 936)) << Lines(errors);
        EXPECT_STREQ(L"皮肤", doc.GetValue(L"general", L"name"));
    }

    ASSERT_TRUE(WriteRaw(dir / L"in.ini", Utf16File(text)));
    t_iniDocument doc(false);
    t_errorChain errors;
    ASSERT_TRUE(doc.ReadConfig(errors, (dir / L"in.ini").c_str(), 936)) << Lines(errors);
    ASSERT_TRUE(doc.WriteConfig(errors, (dir / L"out.ini").c_str())) << Lines(errors);
    EXPECT_EQ(Utf16File(L";说明\r\n\r\n[General]\r\nName=栖鹭皮肤\r\nPath=C:\\皮肤\\a.vsf\r\n\r\n"
                        L"[Display]\r\nFont=宋体\r\n"),
              ReadRaw(dir / L"out.ini"));
}

TEST(IniDocument, EmptyFilesAndEmptyDocuments)
{
    t_tempFolder dir(L"ini_empty");
    ASSERT_TRUE(WriteRaw(dir / L"bom.ini", "\xFF\xFE"));
    t_iniDocument doc(false);
    t_errorChain errors;
    EXPECT_TRUE(doc.ReadConfig(errors, (dir / L"bom.ini").c_str(), 936)) << Lines(errors);
    EXPECT_EQ(0, doc.Root()->LineCount());
    ASSERT_TRUE(doc.WriteConfig(errors, (dir / L"out.ini").c_str()));
    EXPECT_EQ(std::string("\xFF\xFE"), ReadRaw(dir / L"out.ini"));

    t_iniDocument fresh(false);  // never parsed: written as the empty document
    ASSERT_TRUE(fresh.WriteConfig(errors, (dir / L"fresh.ini").c_str()));
    EXPECT_EQ(std::string("\xFF\xFE"), ReadRaw(dir / L"fresh.ini"));
}

TEST(IniDocument, FailedReadsReportAndLeaveTheDocumentEmpty)
{
    t_tempFolder dir(L"ini_missing");
    const std::wstring missing = dir / L"none.ini";
    struct {
        bool encrypted;
        const wchar_t* verdict;
    } const cases[] = {{false, L"无法解析ini文件"}, {true, L"无法打开ini文件"}};
    for (const auto& c : cases) {
        t_iniDocument doc(c.encrypted);
        doc.SetValue(L"S", L"k", L"v");
        t_errorChain errors;
        EXPECT_FALSE(doc.ReadConfig(errors, missing.c_str(), 936));
        const std::wstring lines = Lines(errors);
        // The file layer's lines come first, the document's verdict last.
        EXPECT_NE(std::wstring::npos, lines.find(missing)) << lines;
        ASSERT_GE(lines.size(), wcslen(c.verdict));
        EXPECT_EQ(c.verdict, lines.substr(lines.size() - wcslen(c.verdict))) << lines;
        EXPECT_EQ(nullptr, doc.ParsedRoot());
        EXPECT_EQ(nullptr, doc.GetValue(L"S", L"k"));
    }
}

// Made on the host:
//   printf '; 由 openssl 生成\r\n[General]\r\nName=栖鹭测试\r\nVersion=1.0\r\n\r\n[Display]\r\n'
//          'Pair = a = b \r\n' | iconv -f UTF-8 -t CP936 > plain.txt
//   head -c16 /dev/urandom > r.bin; cat r.bin plain.txt > in.bin
//   openssl enc -aes-256-cbc -K <text key in hex> -iv <text IV in hex> -in in.bin | base64 -w0
// so the file is Base64 of AES-256-CBC(random block + GBK text, PKCS#7 padding).
TEST(IniDocument, ReadsAnEncryptedFileMadeByOpenssl)
{
    const std::wstring path = FixturePath(L"ini_encrypted_openssl.ini");
    t_iniDocument doc(true);
    t_errorChain errors;
    ASSERT_TRUE(doc.ReadConfig(errors, path.c_str(), 936)) << Lines(errors);
    EXPECT_STREQ(L"栖鹭测试", doc.GetValue(L"General", L"Name"));
    EXPECT_STREQ(L"a = b", doc.GetValue(L"display", L"pair"));
    EXPECT_EQ(L"; 由 openssl 生成\r\n\r\n[General]\r\nName=栖鹭测试\r\nVersion=1.0\r\n\r\n"
              L"[Display]\r\nPair=a = b\r\n",
              Rendered(doc));

    // Trailing line ends after the Base64 text are tolerated.
    const std::string base64 = ReadRaw(path);
    for (const char* tail : {"\r\n", "\n", "\r\n\r\n"}) {
        t_iniDocument again(true);
        ASSERT_TRUE(again.ReadFromMemory((base64 + tail).data(), base64.size() + strlen(tail), 936));
        EXPECT_EQ(Rendered(doc), Rendered(again));
    }
}

TEST(IniDocument, EncryptedWritesDifferEachTimeAndReadBack)
{
    t_tempFolder dir(L"ini_enc");
    t_iniDocument doc(true);
    doc.Root()->AddComment(L";皮肤");
    doc.SetValue(L"General", L"Name", L"栖鹭");
    doc.SetValue(L"General", L"Count", L"3");
    t_errorChain errors;
    ASSERT_TRUE(doc.WriteConfig(errors, (dir / L"a.ini").c_str())) << Lines(errors);
    ASSERT_TRUE(doc.WriteConfig(errors, (dir / L"b.ini").c_str())) << Lines(errors);
    const std::string a = ReadRaw(dir / L"a.ini");
    const std::string b = ReadRaw(dir / L"b.ini");
    EXPECT_NE(a, b);  // a fresh random block each time
    EXPECT_EQ(std::string::npos,
              a.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/="));
    for (const wchar_t* name : {L"a.ini", L"b.ini"}) {
        t_iniDocument back(true);
        ASSERT_TRUE(back.ReadConfig(errors, (dir / name).c_str(), 936)) << Lines(errors);
        EXPECT_EQ(Rendered(doc), Rendered(back));
    }
    // A plain reader does not take the encrypted form for a document.
    t_iniDocument plain(false);
    ASSERT_TRUE(plain.ReadConfig(errors, (dir / L"a.ini").c_str(), 936));
    EXPECT_EQ(nullptr, plain.GetValue(L"General", L"Name"));
}

TEST(IniDocument, EncryptedWriteRefusesTextThatCodePage936CannotHold)
{
    t_tempFolder dir(L"ini_lossy");
    t_iniDocument doc(true);
    doc.SetValue(L"S", L"k", L"smile \xD83D\xDE00");
    t_errorChain errors;
    EXPECT_FALSE(doc.WriteConfig(errors, (dir / L"x.ini").c_str()));
    EXPECT_EQ(L"保存ini文件失败:转换失败", Lines(errors));
    EXPECT_FALSE(Exists(dir / L"x.ini"));
}

TEST(IniDocument, MalformedEncryptedDataIsRefused)
{
    const std::string good = ReadRaw(FixturePath(L"ini_encrypted_openssl.ini"));
    std::string flipped = good;
    flipped[flipped.size() - 5] = flipped[flipped.size() - 5] == 'A' ? 'B' : 'A';  // padding breaks
    const std::string cases[] = {
        "",
        "\r\n",
        "abc",
        "QUJDREVGR0hJSktMTU5PUA==",  // one block: nothing after the random block
        good.substr(0, good.size() - 4),
        good.substr(4),
        good + "AAAA",
        "*" + good.substr(1),
        good.substr(0, 20) + std::string(1, '\0') + good.substr(21),
        flipped,
    };
    for (const std::string& bytes : cases) {
        t_iniDocument doc(true);
        doc.SetValue(L"Old", L"k", L"v");
        EXPECT_FALSE(doc.ReadFromMemory(bytes.data(), bytes.size(), 936)) << bytes;
        EXPECT_EQ(nullptr, doc.ParsedRoot()) << bytes;
    }
}

// Arbitrary bytes never crash either reader. A refused input leaves nothing parsed;
// whatever parses renders to a text that parses and renders to the same text.
TEST(IniDocument, SurvivesArbitraryBytes)
{
    const std::string seed = ReadRaw(FixturePath(L"ini_encrypted_openssl.ini"));
    const std::string plainSeed = Utf16File(L"[A]\r\nk=v\r\n;c\r\n[B]\r\nx = y = z\r\n");
    unsigned state = 12345;
    auto next = [&state]() { return (state = state * 1103515245u + 12345u) >> 16; };
    for (int round = 0; round < 3000; ++round) {
        std::string bytes;
        if (round % 3 == 0) {
            bytes.resize(next() % 200);
            for (char& b : bytes)
                b = static_cast<char>(next());
        } else {
            bytes = round % 3 == 1 ? seed : plainSeed;
            for (int flips = 1 + next() % 4; flips > 0; --flips)
                bytes[next() % bytes.size()] = static_cast<char>(next());
        }
        for (bool encrypted : {false, true}) {
            t_iniDocument doc(encrypted);
            if (!doc.ReadFromMemory(bytes.data(), bytes.size(), 936)) {
                EXPECT_EQ(nullptr, doc.ParsedRoot());
                continue;
            }
            const std::wstring once = Rendered(doc);
            t_iniDocument again(false);
            ASSERT_TRUE(ParsePlain(again, once));
            EXPECT_EQ(once, Rendered(again)) << round;
        }
    }
}

}  // namespace
