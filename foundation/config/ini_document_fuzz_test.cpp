// The text reader and the INI reader on hostile bytes placed at the very end of readable
// memory: every mark (UTF-16LE, UTF-16BE, UTF-8, none) and code page, damaged valid files,
// the encrypted form. Whatever parses renders to a text that parses to itself.
#include "foundation/config/ini_document.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <random>
#include <string>

#include "tests/support/fuzz_input.h"
#include "tests/support/temp_folder.h"
#include "foundation/files/text_file.h"
#include "tests/support/utf16_file.h"

namespace {

std::wstring Rendered(t_iniDocument& doc)
{
    t_fileTextWrite out;
    t_iniDocument::Render(*doc.Root(), out);
    return std::wstring(out.Text(), out.UsedBytes() / sizeof(wchar_t));
}

std::string Fixture(const wchar_t* name)
{
    return ReadRaw(std::wstring(KAVREL_SOURCE_DIR) + L"\\foundation\\config\\testdata\\" + name);
}

std::string Cp936(const std::wstring& text)
{
    const int n = WideCharToMultiByte(936, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(n, '\0');
    WideCharToMultiByte(936, 0, text.data(), static_cast<int>(text.size()), &out[0], n, nullptr, nullptr);
    return out;
}

// Inputs: damaged valid files of every form, and noise behind every mark.
std::string NextInput(std::mt19937& rng, int round)
{
    static const std::wstring c_text =
        L"; 皮肤\r\n[General]\r\nskin_name = 栖鹭 \r\nskin_info=a,b,,c\r\n\r\n[Display]\n font_size=0x10\r"
        L"[ x ]\r\nk=v=w\r\n[Scheme_H1]\r\npic=bk.png<0;0;10;10>, cn.bmp\r\n[\r\nlost=1\r\n[]\r\n";
    static const std::string c_seeds[] = {
        Utf16File(c_text),
        Cp936(c_text),
        "\xEF\xBB\xBF"
        "[A]\r\nname=\xE6\xA0\x96\xE9\xB9\xAD\r\n",
        "\xFE\xFF" + std::string("\0[\0A\0]\0\r\0\n\0k\0=\0v", 16),
        Fixture(L"ini_encrypted_openssl.ini"),
    };
    static const char* const c_marks[] = {"", "\xFF\xFE", "\xFE\xFF", "\xEF\xBB\xBF"};
    if (round % 4 == 0)
        return c_marks[rng() % 4] + RandomBytes(rng, rng() % 300);
    std::string bytes = c_seeds[rng() % (sizeof c_seeds / sizeof c_seeds[0])];
    Mutate(bytes, rng);
    return bytes;
}

TEST(IniDocumentFuzz, GuardedBytesParseOrFailCleanly)
{
    std::mt19937 rng(936);
    t_guardedBytes guard;
    t_guardedBytes rereadGuard;
    int parsed = 0;
    for (int round = 0; round < 4000; ++round) {
        const std::string bytes = NextInput(rng, round);
        const uint8_t* at = guard.Place(bytes);
        ASSERT_TRUE(at);
        const unsigned codePage = round % 5 == 0 ? 65001u : 936u;

        t_errorChain errors;
        t_textBuffer text;
        if (LoadTextMemory(errors, at, bytes.size(), codePage, text)) {
            size_t lines = 0;
            while (text.NextLine())
                ++lines;
            EXPECT_LE(lines, bytes.size() + 1);
        } else {
            EXPECT_FALSE(errors.IsEmpty());
        }

        for (bool encrypted : {false, true}) {
            t_iniDocument doc(encrypted);
            if (!doc.ReadFromMemory(at, bytes.size(), codePage)) {
                EXPECT_EQ(nullptr, doc.ParsedRoot());
                continue;
            }
            ++parsed;
            // Rendered text read back (plain, UTF-16 with its mark) renders the same.
            const std::wstring once = Rendered(doc);
            t_iniDocument again(false);
            const std::string file = Utf16File(once);
            ASSERT_TRUE(again.ReadFromMemory(rereadGuard.Place(file), file.size(), codePage));
            EXPECT_EQ(once, Rendered(again)) << testing::PrintToString(bytes);
        }
    }
    EXPECT_GT(parsed, 2000);
}

// The same kind of bytes as files: sizes from the file system rather than the caller.
TEST(IniDocumentFuzz, DamagedFilesReadOrFailCleanly)
{
    std::mt19937 rng(1252);
    t_tempFolder dir(L"ini_fuzz");
    const std::wstring path = dir / L"Skin.ini";
    for (int round = 0; round < 150; ++round) {
        const std::string bytes = NextInput(rng, round);
        ASSERT_TRUE(WriteRaw(path, bytes));
        for (bool encrypted : {false, true}) {
            t_iniDocument doc(encrypted);
            t_errorChain errors;
            if (doc.ReadConfig(errors, path.c_str(), 936)) {
                t_iniDocument fromMemory(encrypted);
                ASSERT_TRUE(fromMemory.ReadFromMemory(bytes.data(), bytes.size(), 936));
                EXPECT_EQ(Rendered(fromMemory), Rendered(doc));
            } else {
                EXPECT_FALSE(errors.IsEmpty());
                EXPECT_EQ(nullptr, doc.ParsedRoot());
            }
        }
    }
}

}  // namespace
