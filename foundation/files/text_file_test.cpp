#include "foundation/files/text_file.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "tests/support/temp_folder.h"
#include "tests/support/utf16_file.h"

namespace {

std::string Swapped(std::string bytes)
{
    for (size_t i = 0; i + 1 < bytes.size(); i += 2)
        std::swap(bytes[i], bytes[i + 1]);
    return bytes;
}

std::string Narrow(const std::wstring& text, UINT codePage)
{
    int n = WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(n, '\0');
    WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), &out[0], n, nullptr, nullptr);
    return out;
}

const std::wstring c_sample = L"[General]\r\nName=栖鹭皮肤\r\n\r\n  Author = 某人 \r\nend";

TEST(TextFile, WrittenWithBomAndCrlfReadsBackInEveryEncoding)
{
    t_tempFolder dir(L"text");
    std::wstring path = dir / L"Skin.ini";
    t_fileTextWrite writer(4);  // small start: the buffer must grow
    writer.Append(L"[General]\nName=栖鹭皮肤\r\n\r  Author = 某人 \n\rend").Append(nullptr);
    t_errorChain errors;
    ASSERT_TRUE(writer.WriteToFile(errors, path.c_str())) << Lines(errors);
    EXPECT_EQ(0u, writer.UsedBytes());

    std::string stored = ReadRaw(path);
    ASSERT_EQ("\xFF\xFE" + Utf16Le(c_sample), stored);

    struct {
        const char* name;
        std::string bytes;
        unsigned codePage;
    } encodings[] = {
        {"utf-16le", stored, 1252},
        {"utf-16be", "\xFE\xFF" + Swapped(Utf16Le(c_sample)), 1252},
        {"utf-8", "\xEF\xBB\xBF" + Narrow(c_sample, CP_UTF8), 1252},  // the mark wins over the code page
        {"cp936", Narrow(c_sample, 936), 936},
    };
    for (const auto& e : encodings) {
        ASSERT_TRUE(WriteRaw(path, e.bytes));
        t_textBuffer text;
        ASSERT_TRUE(LoadTextFile(errors, path.c_str(), e.codePage, text)) << e.name << Lines(errors);
        EXPECT_EQ(c_sample, text.Text()) << e.name;

        t_textBuffer fromMemory;
        ASSERT_TRUE(LoadTextMemory(errors, e.bytes.data(), e.bytes.size(), e.codePage, fromMemory)) << e.name;
        std::vector<std::wstring> lines;
        while (const wchar_t* line = fromMemory.NextLine())
            lines.push_back(line);
        EXPECT_EQ((std::vector<std::wstring>{L"[General]", L"Name=栖鹭皮肤", L"", L"Author = 某人", L"end"}), lines)
            << e.name;
        EXPECT_EQ(nullptr, fromMemory.NextLine());
    }
}

TEST(TextFile, DecodingTable)
{
    struct {
        const char* name;
        std::string bytes;
        unsigned codePage;
        bool ok;
        const wchar_t* expected;  // the decoded text, or a run of the error lines
    } cases[] = {
        {"empty after FF FE", "\xFF\xFE", 936, true, L""},
        {"zero bytes", "", 936, true, L""},
        {"empty after EF BB BF", "\xEF\xBB\xBF", 936, true, L""},
        {"odd UTF-16LE",
         std::string("\xFF\xFE"
                     "A\0B",
                     5),
         936, true, L"AB"},
        {"UTF-16LE without a mark, told by its zero bytes", std::string("a\0b\0", 4), 1252, true, L"ab"},
        {"UTF-16BE without a mark", std::string("\0a\0b\x6d\x4b", 6), 936, true, L"ab\x6d4b"},
        {"UTF-16LE without a mark, odd length", std::string("a\0b", 3), 936, true, L"ab"},
        {"Chinese UTF-16LE without a mark", std::string("[\0\x4b\x6d]\0", 6), 936, true, L"[\x6d4b]"},
        {"GBK without zero bytes", "\xb2\xe2=1", 936, true, L"\x6d4b=1"},
        {"a single byte", "x", 1252, true, L"x"},
        {"odd UTF-16BE", std::string("\xFE\xFF\x00\x41\x00", 5), 936, false,
         L"BigEndianUnicode解码错误：数据长度为奇数（len = 3）|加载内存文件失败"},
        {"unknown code page", "abcd", 12345, false, L"ANSI转码失败|编码不识别[6162-6364]|加载内存文件失败"},
    };
    for (const auto& c : cases) {
        t_errorChain errors;
        t_textBuffer text;
        EXPECT_EQ(c.ok, LoadTextMemory(errors, c.bytes.data(), c.bytes.size(), c.codePage, text)) << c.name;
        if (c.ok) {
            EXPECT_STREQ(c.expected, text.Text()) << c.name;
            continue;
        }
        EXPECT_TRUE(errors.IsFailed()) << c.name;
        EXPECT_NE(std::wstring::npos, Lines(errors).find(c.expected)) << c.name;
        EXPECT_EQ(nullptr, text.Text());
    }
}

TEST(TextFile, MissingFileIsReported)
{
    t_tempFolder dir(L"text");
    t_errorChain errors;
    t_textBuffer text;
    std::wstring missing = dir / L"missing.ini";
    EXPECT_FALSE(LoadTextFile(errors, missing.c_str(), 936, text));
    EXPECT_NE(std::wstring::npos, Lines(errors).find(L"打开文件失败：" + missing));
}

TEST(TextFile, ArbitraryBytesLoadOrFailCleanly)
{
    uint32_t seed = 12345;
    auto next = [&] { return seed = seed * 1103515245u + 12345u, uint8_t(seed >> 16); };
    const uint8_t marks[][3] = {{0xFF, 0xFE, 0}, {0xFE, 0xFF, 0}, {0xEF, 0xBB, 0xBF}};
    for (int round = 0; round < 300; ++round) {
        std::string bytes(next() % 40, '\0');
        for (auto& b : bytes)
            b = static_cast<char>(next());
        if (round % 4 < 3 && bytes.size() >= 3)
            memcpy(&bytes[0], marks[round % 4], round % 4 == 2 ? 3 : 2);
        for (unsigned codePage : {936u, 1252u, 65001u}) {
            t_errorChain errors;
            t_textBuffer text;
            if (!LoadTextMemory(errors, bytes.data(), bytes.size(), codePage, text)) {
                EXPECT_FALSE(errors.IsEmpty());
                continue;
            }
            size_t lines = 0;
            while (text.NextLine())
                ++lines;
            EXPECT_LE(lines, bytes.size() + 1);
        }
    }
}

TEST(TextFile, WriterKeepsItsTextUntilItIsDelivered)
{
    t_tempFolder dir(L"text");
    t_fileTextWrite writer;
    writer.Append(L"a\nb");
    t_errorChain errors;
    std::wstring bad = dir / L"no\\folder.ini";
    EXPECT_FALSE(writer.WriteToFile(errors, bad.c_str()));
    EXPECT_EQ(8u, writer.UsedBytes());

    size_t size = 5;
    char out[16] = {};
    EXPECT_FALSE(writer.CopyOutWithBom(size, out));
    EXPECT_EQ(10u, size);
    EXPECT_EQ(0, out[0]);
    EXPECT_TRUE(writer.CopyOutWithBom(size, out));
    EXPECT_EQ("\xFF\xFE" + Utf16Le(L"a\r\nb"), std::string(out, 10));
    EXPECT_EQ(0u, writer.UsedBytes());

    // After delivery it can be filled again.
    writer.Append(L"c");
    std::wstring good = dir / L"again.ini";
    EXPECT_TRUE(writer.WriteToFile(errors, good.c_str()));
    EXPECT_EQ("\xFF\xFE" + Utf16Le(L"c"), ReadRaw(good));
}

}  // namespace
