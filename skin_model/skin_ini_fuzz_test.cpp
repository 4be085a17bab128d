// Skin.ini through the shared document and all fourteen model parts on hostile input:
// arbitrary values under every key the parts know, and damaged or random files in code
// page 936, UTF-16 and UTF-8, placed at the very end of readable memory. Nothing may
// crash, every part loads, and once the parts have written a file, loading it and
// writing again gives the same file.
#include "skin_model/skin_ini.h"

#include "tests/support/fuzz_input.h"
#include "foundation/files/text_file.h"
#include "tests/support/utf16_file.h"
#include "skin_model/button_set.h"
#include "tests/support/part_golden.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <random>
#include <string>
#include <utility>
#include <vector>

namespace {

// The seven model parts of the windows and the seven button sets.
struct t_allParts {
    t_modelParts model;
    std::unique_ptr<BtnInfo> sets[7];
    std::vector<BaseInfo*> parts;

    t_allParts()
    {
        parts.assign(std::begin(model.parts), std::end(model.parts));
        for (int w = 0; w < 7; ++w) {
            sets[w].reset(BtnInfo::New(w));
            parts.push_back(sets[w].get());
        }
    }
    void LoadAll()
    {
        for (BaseInfo* part : parts)
            EXPECT_TRUE(part->Load()) << PartNameOf(part->PartIndex());
    }
    // The parts into an emptied shared document, rendered as its file text.
    std::wstring SaveAll()
    {
        SkinIni::Instance()->Clear();
        for (BaseInfo* part : parts)
            part->Save();
        t_fileTextWrite out;
        t_iniDocument::Render(*SkinIni::Instance()->Root(), out);
        return std::wstring(out.Text(), out.UsedBytes() / sizeof(wchar_t));
    }
};

// Reads the bytes into the shared document from the end of a guarded buffer.
bool ReadGuarded(t_guardedBytes& guard, const std::string& bytes)
{
    const uint8_t* at = guard.Place(bytes);
    return at && SkinIni::Instance()->ReadFromMemory(at, bytes.size(), SkinIni::c_codePage);
}

// The first line where two texts differ, with its section, for a readable failure.
std::string FirstDifference(const std::wstring& a, const std::wstring& b)
{
    size_t at = 0;
    while (at < a.size() && at < b.size() && a[at] == b[at])
        ++at;
    const size_t start = a.rfind(L'\n', at) == std::wstring::npos ? 0 : a.rfind(L'\n', at) + 1;
    const size_t header = a.rfind(L"\n[", start);
    auto line = [start](const std::wstring& text) { return text.substr(start, text.find(L'\r', start) - start); };
    const std::wstring section =
        header == std::wstring::npos ? L"" : a.substr(header + 1, a.find(L'\r', header + 1) - header - 1);
    return testing::PrintToString(section) + " first: " + testing::PrintToString(line(a)) +
           " second: " + testing::PrintToString(line(b));
}

// Loads the document into the parts and writes them back once, which normalises the
// values; from then on loading and writing again must change nothing.
void ExpectFixedPoint(t_allParts& all, t_guardedBytes& guard, const std::string& label)
{
    all.LoadAll();
    ASSERT_TRUE(ReadGuarded(guard, Utf16File(all.SaveAll()))) << label;
    all.LoadAll();
    const std::wstring once = all.SaveAll();
    ASSERT_TRUE(ReadGuarded(guard, Utf16File(once))) << label;
    all.LoadAll();
    const std::wstring twice = all.SaveAll();
    EXPECT_TRUE(once == twice) << label << "\n" << FirstDifference(once, twice);
}

// Every section and key the parts write, extra buttons included.
std::vector<std::pair<std::wstring, std::wstring>> KnownKeys()
{
    t_allParts all;
    for (auto& set : all.sets) {
        set->AddButton(2, c_btnCustom);
        set->AddButton(1, c_btnFlash);
        set->AddButton(1, c_btnPhotoFrame);
    }
    all.SaveAll();
    std::vector<std::pair<std::wstring, std::wstring>> keys;
    const t_iniFile& root = *SkinIni::Instance()->Root();
    for (int i = 0; i < root.LineCount(); ++i) {
        const t_iniSection* section = root.IsNameLine(i) ? root.FindSection(root.Line(i)) : nullptr;
        for (int j = 0; section && j < section->LineCount(); ++j) {
            if (section->IsNameLine(j))
                keys.emplace_back(root.Line(i), section->Line(j));
        }
    }
    return keys;
}

// A value built from pieces that numbers, lists, colours, pictures and texts are made of.
std::wstring RandomValue(std::mt19937& rng)
{
    static const wchar_t* const c_pieces[] = {
        L"0",           L"1",      L"-1",     L"7",   L"255", L"0x",   L"0X",  L"ff",   L"FFFFFFFF", L"123456789012",
        L"-2147483649", L",",      L",",      L" ",   L"\t",  L"+",    L"-",   L"a",    L"bk.png",   L"cn.BMP",
        L".gif",        L"<",      L">",      L";",   L"\\",  L"..\\", L"@2x", L"皮肤", L"=",        L"[",
        L"]",           L"\xFFFF", L"\xD800", L"%s%n"};
    std::wstring value;
    const int count = static_cast<int>(rng() % 14);
    for (int i = 0; i < count; ++i)
        value += c_pieces[rng() % (sizeof c_pieces / sizeof c_pieces[0])];
    // Now and then a value past every buffer the parts read into.
    if (rng() % 25 == 0)
        value += std::wstring(200 + rng() % 1500, rng() % 2 ? L'9' : L',');
    return value;
}

TEST(SkinIniFuzz, ArbitraryValuesUnderEveryKey)
{
    const auto keys = KnownKeys();
    ASSERT_GT(keys.size(), 500u);
    std::mt19937 rng(20240611);
    t_guardedBytes guard;
    t_allParts all;
    for (int round = 0; round < 60; ++round) {
        std::wstring text;
        const std::wstring* section = nullptr;
        for (const auto& key : keys) {
            if (!section || *section != key.first) {
                section = &key.first;
                text += L"[" + key.first + L"]\r\n";
            }
            if (rng() % 4 == 0)
                continue;
            text += key.second + L"=" + RandomValue(rng) + L"\r\n";
        }
        ASSERT_TRUE(ReadGuarded(guard, Utf16File(text)));
        ExpectFixedPoint(all, guard, "round " + std::to_string(round));
    }
}

TEST(SkinIniFuzz, DamagedAndRandomFiles)
{
    std::vector<std::string> seeds;
    for (const wchar_t* name :
         {L"hand_skin_936.ini", L"hand_skin_utf16.ini", L"hand_skin_utf8.ini", L"buttons_hand.ini"}) {
        seeds.push_back(ReadRaw(SkinTestData(name)));
        ASSERT_GT(seeds.back().size(), 100u);
    }
    static const char* const c_marks[] = {"", "\xFF\xFE", "\xFE\xFF", "\xEF\xBB\xBF"};
    std::mt19937 rng(936);
    t_guardedBytes guard;
    t_allParts all;
    int parsed = 0;
    for (int round = 0; round < 250; ++round) {
        std::string bytes;
        if (round % 4 == 0) {
            bytes = c_marks[rng() % 4] + RandomBytes(rng, rng() % 400);
        } else {
            bytes = seeds[rng() % seeds.size()];
            Mutate(bytes, rng);
        }
        if (!ReadGuarded(guard, bytes))
            continue;
        ++parsed;
        ExpectFixedPoint(all, guard, "round " + std::to_string(round));
    }
    EXPECT_GT(parsed, 180);
}

// Values as the parts read them: single values and lists, decimal and "0x" forms, cut at
// the value buffer's size, never past the text.
TEST(SkinIniFuzz, ValueParsingOfArbitraryText)
{
    std::mt19937 rng(7);
    for (int round = 0; round < 3000; ++round) {
        const std::wstring text = RandomValue(rng);
        ASSERT_TRUE(SkinIni::SetString(L"S", L"k", text.c_str()));
        std::unique_ptr<Value> value(SkinIni::GetValue(L"S", L"k"));
        ASSERT_TRUE(value != nullptr);
        EXPECT_LE(value->RawText().Length(), SkinIni::c_valueChars - 1);
        int number = 12345;
        value->ToInt(number);
        if (value->Kind() == t_valueKind::e_list) {
            const ValueArray& list = static_cast<const ValueArray&>(*value);
            EXPECT_LE(list.Count(), static_cast<int>(text.size()) + 1);
            for (int i = 0; i < list.Count(); ++i)
                ASSERT_TRUE(list.At(i) != nullptr);
            EXPECT_TRUE(list.At(list.Count()) == nullptr);
        }
        int list[4] = {0, 0, 0, 0};
        BaseInfo::ParseIntList(text.c_str(), list, 4);
    }
}

}  // namespace
