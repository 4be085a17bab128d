// The default skin that ships with the editor goes through every model part: what the
// parts read from it they must write back unchanged.
#include "skin_model/button_set.h"
#include "tests/support/part_golden.h"

#include <memory>
#include <string>
#include <vector>

namespace {

struct t_entry {
    std::wstring section;
    std::wstring key;
    std::wstring value;
};

// The key lines of a UTF-16LE INI file, read apart from the INI reader under test.
std::vector<t_entry> EntriesOf(const std::string& bytes)
{
    std::vector<t_entry> entries;
    const std::wstring text = Utf16Text(bytes);
    std::wstring section;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find(L'\n', start);
        if (end == std::wstring::npos)
            end = text.size();
        std::wstring line = text.substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == L'\r')
            line.pop_back();
        if (line.size() > 1 && line.front() == L'[' && line.back() == L']') {
            section = line.substr(1, line.size() - 2);
            continue;
        }
        const size_t equals = line.find(L'=');
        if (equals != std::wstring::npos)
            entries.push_back({section, line.substr(0, equals), line.substr(equals + 1)});
    }
    return entries;
}

// The fourteen parts of a skin.
struct t_skinParts {
    t_modelParts model;
    std::unique_ptr<BtnInfo> sets[7];

    t_skinParts()
    {
        for (int w = 0; w < 7; ++w)
            sets[w].reset(BtnInfo::New(w));
    }
    void LoadAll()
    {
        model.LoadAll();
        for (auto& set : sets)
            ASSERT_TRUE(set->Load());
    }
    void SaveAll()
    {
        model.SaveAll();
        for (auto& set : sets)
            EXPECT_TRUE(set->Save()) << set->Message().c_str();
    }
};

// Keys of the default skin that the input method reads but no model part owns: the
// parts never write them.
bool IsUnownedKey(const t_entry& entry)
{
    static const wchar_t* const c_unowned[][2] = {
        {L"General", L"skin_id"},     {L"General", L"widget_cnt"},  {L"Display", L"result_color"},
        {L"Display", L"bihua_color"}, {L"Display", L"caret_color"}, {L"Display", L"clear_edge"},
    };
    for (const auto& unowned : c_unowned) {
        if (entry.section == unowned[0] && entry.key == unowned[1])
            return true;
    }
    return false;
}

TEST(DefaultSkin, EveryKeyThePartsOwnSurvivesLoadAndSave)
{
    const std::wstring path = KAVREL_SOURCE_DIR L"\\art\\default_skin\\Skin.ini";
    const std::vector<t_entry> original = EntriesOf(ReadRaw(path));
    ASSERT_GT(original.size(), 1000u);

    LoadSkinIni(path);
    t_skinParts skin;
    skin.LoadAll();
    skin.SaveAll();

    for (const t_entry& entry : original) {
        if (IsUnownedKey(entry))
            continue;
        const wchar_t* saved = SkinIni::GetText(entry.section.c_str(), entry.key.c_str());
        EXPECT_TRUE(saved && entry.value == saved)
            << testing::PrintToString(L"[" + entry.section + L"] " + entry.key + L"=" + entry.value) << " saved as "
            << testing::PrintToString(std::wstring(saved ? saved : L"<missing>"));
    }

    // A second load and save of what the parts wrote changes nothing.
    t_tempFolder folder(L"default_skin");
    t_errorChain errors;
    const std::wstring first = folder / L"first.ini";
    ASSERT_TRUE(SkinIni::Instance()->WriteConfig(errors, first.c_str())) << Lines(errors);
    LoadSkinIni(first);
    t_skinParts again;
    again.LoadAll();
    again.SaveAll();
    const std::wstring second = folder / L"second.ini";
    ASSERT_TRUE(SkinIni::Instance()->WriteConfig(errors, second.c_str())) << Lines(errors);
    EXPECT_TRUE(ReadRaw(first) == ReadRaw(second));
}

}  // namespace
