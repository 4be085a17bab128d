#include "foundation/env/env_entries.h"

#include <gtest/gtest.h>

#include <cwchar>
#include <map>
#include <set>

namespace {

struct t_row {
    int id;
    const wchar_t* name;
    t_envType type;
    int mode;
    int group;
    long long number;     // default of bool, int and unsigned long entries
    const wchar_t* text;  // default of string entries
};

// Entries whose details other code relies on.
const t_row c_rows[] = {
    {1, L"HanziSet", t_envType::integer, 3, -1, 5, nullptr},
    {2, L"CodePage", t_envType::integer, 3, -1, 936, nullptr},
    {3, L"FreqUpMode", t_envType::integer, 3, -1, 4, nullptr},
    {4, L"LearnNewWord", t_envType::boolean, 3, -1, 1, nullptr},
    {5, L"LearnFreq", t_envType::boolean, 3, -1, 1, nullptr},
    {7, L"QuanPin", t_envType::boolean, 3, 5, 1, nullptr},
    {8, L"ShuangPin", t_envType::boolean, 3, 5, 0, nullptr},
    {10, L"JianPin", t_envType::boolean, 3, 5, 1, nullptr},
    {11, L"ZCSForZhChSh", t_envType::boolean, 3, 5, 1, nullptr},
    {12, L"MohuYin", t_envType::boolean, 3, 5, 0, nullptr},
    {13, L"MohuSmart", t_envType::boolean, 3, 5, 1, nullptr},
    {14, L"MohuTip", t_envType::boolean, 3, 5, 1, nullptr},
    {15, L"QuickInput", t_envType::boolean, 3, 5, 1, nullptr},
    {16, L"Correction", t_envType::boolean, 3, 5, 1, nullptr},
    {19, L"AllowQuanPin", t_envType::boolean, 3, 5, 0, nullptr},
    {21, L"SoftKbdIndex", t_envType::integer, 2, -1, 0, nullptr},
    {22, L"StatusPosX", t_envType::integer, 2, -1, -1, nullptr},
    {23, L"StatusPosY", t_envType::integer, 2, -1, -1, nullptr},
    {24, L"CompPosX", t_envType::integer, 2, -1, 0, nullptr},
    {25, L"CompPosY", t_envType::integer, 2, -1, 0, nullptr},
    {26, L"CursorFollow", t_envType::boolean, 3, -1, 1, nullptr},
    {27, L"LimitWordCand", t_envType::boolean, 3, -1, 0, nullptr},
    {28, L"MaxWordCand", t_envType::integer, 3, -1, 10, nullptr},
    {29, L"PageSize", t_envType::integer, 3, -1, 5, nullptr},
    {30, L"FontSize", t_envType::integer, 3, 3, 16, nullptr},
    {31, L"FontCh", t_envType::string, 3, 3, 0, L"宋体"},
    {32, L"FontEn", t_envType::string, 3, 3, 0, L"Arial"},
    {33, L"ColorPinyin", t_envType::integer, 3, 3, 0xB96205, nullptr},
    {34, L"ColorPrimary", t_envType::integer, 3, 3, 0x0000FF, nullptr},
    {35, L"ColorNonPrimary", t_envType::integer, 3, 3, 0xE58200, nullptr},
    {36, L"ColorBorder", t_envType::integer, 3, 3, 0xD8D8D8, nullptr},
    {37, L"ColorBackground", t_envType::integer, 3, 3, 0xFFFFFF, nullptr},
    {38, L"ColorCursor", t_envType::integer, 3, 3, 0x0000C0, nullptr},
    {39, L"MarginCand", t_envType::integer, 3, 3, 4, nullptr},
    {41, L"CompStyle", t_envType::integer, 3, -1, 0, nullptr},
    {42, L"CandStyle", t_envType::integer, 3, -1, 0, nullptr},
    {43, L"CandAlign", t_envType::integer, 3, -1, 0, nullptr},
    {44, L"ConvertStyle", t_envType::boolean, 3, -1, 0, nullptr},
    {45, L"SelectStyle", t_envType::boolean, 3, -1, 0, nullptr},
    {50, L"KeyEnCnSwitch", t_envType::integer, 3, -1, 0, nullptr},
    {54, L"KeyFocusWord", t_envType::integer, 3, -1, 1, nullptr},
    {63, L"ShortCutMenu", t_envType::boolean, 3, -1, 1, nullptr},
    {64, L"ShortcutOn", t_envType::boolean, 3, -1, 1, nullptr},
    {66, L"ShortCutFanJian", t_envType::boolean, 3, -1, 1, nullptr},
    {70, L"KeyMenuSwitch", t_envType::integer, 3, -1, 12, nullptr},
    {71, L"KeySoftKeyboardSwitch", t_envType::integer, 3, -1, 10, nullptr},
    {73, L"KeyFanJianSwitch", t_envType::integer, 3, -1, 5, nullptr},
    {82, L"UserPhrase", t_envType::boolean, 3, 4, 1, nullptr},
    {85, L"IntelligentDeleteWord", t_envType::boolean, 3, -1, 1, nullptr},
    {88, L"ShuangPinName", t_envType::string, 3, -1, 0, L"Vexil"},
    {89, L"StatusAppearance", t_envType::integer, 3, -1, 0, nullptr},
    {90, L"SkinEnabled", t_envType::boolean, 3, 3, 0, nullptr},
    {91, L"ActiveSkinName", t_envType::string, 3, 3, 0, L"Default(黑系)"},
    {93, L"IgnoreSkinFontSetting", t_envType::boolean, 3, 3, 0, nullptr},
    {94, L"IgnoreSkinColorSetting", t_envType::boolean, 3, 3, 0, nullptr},
    {95, L"AllowArt", t_envType::boolean, 3, -1, 0, nullptr},
    {96, L"ArtWordMode", t_envType::integer, 1, -1, 0, nullptr},
    {104, L"UseGdiplus", t_envType::boolean, 3, 3, 1, nullptr},
    {105, L"UseLayeredWindow", t_envType::boolean, 3, 3, 1, nullptr},
    {106, L"InputStatistics", t_envType::boolean, 3, -1, 1, nullptr},
    {128, L"ClearFontEdge", t_envType::boolean, 3, 3, 0, nullptr},
    {130, L"HideStatusWhenFullScreen", t_envType::boolean, 3, -1, 1, nullptr},
    {182, L"InvalidSkinTime", t_envType::ulong, 2, -1, 0, nullptr},
    {183, L"InvalidSkinName", t_envType::string, 2, -1, 0, L""},
    {190, L"ShowLangBar", t_envType::boolean, 3, -1, 1, nullptr},
    {212, L"ImeStat_TimeChangeSkin", t_envType::ulong, 2, -1, 0, nullptr},
    {220, L"ShowSearchBtn", t_envType::boolean, 3, -1, 1, nullptr},
    {233, L"RandSkinName", t_envType::string, 2, -1, 0, L""},
    {302, L"StateKeyShortcutEngFill", t_envType::integer, 3, -1, 0, nullptr},
    {303, L"StateKeyShortcutMailUrl", t_envType::integer, 3, -1, 0, nullptr},
    {304, L"StateKeyShortcutName", t_envType::integer, 3, -1, 0, nullptr},
    {305, L"StateKeyShortcutQuickInput", t_envType::integer, 3, -1, 0, nullptr},
    {306, L"StateKeyShortcutUrlGuide", t_envType::integer, 3, -1, 0, nullptr},
    {307, L"StateKeyShortcutSearch", t_envType::integer, 3, -1, 0, nullptr},
    {317, L"WizardReadFlags", t_envType::string, 2, -1, 0, nullptr},
    {321, L"IsotropicSkin", t_envType::boolean, 3, -1, 1, nullptr},
    {327, L"IgnoreSkinColorSetting_Real", t_envType::boolean, 3, -1, 0, nullptr},
    {362, L"ShortcutJJGMenu", t_envType::boolean, 3, -1, 1, nullptr},
    {363, L"KeyShortcutJJGMenu", t_envType::integer, 3, -1, 186, nullptr},
    {380, L"ENV_VERSION", t_envType::string, 2, -1, 0, L""},
    {403, L"FlashDebugMode", t_envType::boolean, 2, -1, 0, nullptr},
    {420, L"StatusBtnFlag", t_envType::ulong, 3, -1, 0x9467u, nullptr},
    {421, L"StatusBtnColor", t_envType::ulong, 3, -1, 0xFFFFFFFFu, nullptr},
    {437, L"ShowBarConfig", t_envType::boolean, 1, -1, 0, nullptr},
    {438, L"ShowBarConfigFlag", t_envType::ulong, 1, -1, 0xFFFFFFFFu, nullptr},
    {439, L"ShowBarConfigColor", t_envType::ulong, 1, -1, 0xFFFFFFFFu, nullptr},
    {443, L"HaveScreenKeyboard", t_envType::boolean, 1, -1, 0, nullptr},
};

long long NumberDefault(const t_envEntryBase& entry)
{
    switch (entry.Type()) {
    case t_envType::boolean:
        return static_cast<const t_envEntry<bool>&>(entry).Default();
    case t_envType::integer:
        return static_cast<const t_envEntry<int>&>(entry).Default();
    case t_envType::ulong:
        return static_cast<const t_envEntry<unsigned long>&>(entry).Default();
    default:
        return -1;
    }
}

TEST(EnvEntries, DetailedRows)
{
    for (const t_row& row : c_rows) {
        SCOPED_TRACE(row.id);
        const t_envEntryBase* entry = t_envEntryBase::FindById(row.id);
        ASSERT_NE(entry, nullptr);
        EXPECT_STREQ(entry->Name(), row.name);
        EXPECT_EQ(entry->Type(), row.type);
        EXPECT_EQ(static_cast<int>(entry->Mode()), row.mode);
        EXPECT_EQ(entry->Group(), row.group);
        if (row.type == t_envType::string) {
            const wchar_t* value = static_cast<const t_envEntry<const wchar_t*>*>(entry)->Default();
            if (row.text)
                EXPECT_STREQ(value, row.text);
            else
                EXPECT_EQ(value, nullptr);
        } else {
            EXPECT_EQ(NumberDefault(*entry), row.number);
        }
        EXPECT_EQ(t_envEntryBase::FindByName(row.name), entry);
    }
}

TEST(EnvEntries, CountsByTypeAndGroup)
{
    size_t count = 0;
    const t_envEntryBase* const* all = n_env::AllEntries(count);
    ASSERT_EQ(count, 358u);
    std::map<t_envType, int> types;
    std::map<int, int> groups;
    for (size_t i = 0; i < count; ++i) {
        ++types[all[i]->Type()];
        ++groups[all[i]->Group()];
        if (all[i]->Type() == t_envType::ulong) {
            EXPECT_EQ(all[i]->Group(), c_envNoGroup) << all[i]->Id();
        }
        // Every entry is what its id and its name find.
        EXPECT_EQ(t_envEntryBase::FindById(all[i]->Id()), all[i]);
        EXPECT_EQ(t_envEntryBase::FindByName(all[i]->Name()), all[i]);
    }
    EXPECT_EQ(types[t_envType::boolean], 123);
    EXPECT_EQ(types[t_envType::integer], 152);
    EXPECT_EQ(types[t_envType::ulong], 69);
    EXPECT_EQ(types[t_envType::string], 14);
    EXPECT_EQ(groups[3], 17);
    EXPECT_EQ(groups[4], 1);
    EXPECT_EQ(groups[5], 10);
    EXPECT_EQ(groups[c_envNoGroup], 330);
}

TEST(EnvEntries, UnusedIdsFindNothing)
{
    std::set<int> unused = {92, 124, 127, 170, 188, 189, 208, 308, 309, 319, 320, 326, 341, 348, 349, 364, 404};
    for (int id = 131; id <= 136; ++id)
        unused.insert(id);
    for (int id = 237; id <= 300; ++id)
        unused.insert(id);
    for (int id : {357, 358, 359, 410, 411, 412, 413})
        unused.insert(id);
    for (int id = 367; id <= 376; ++id)
        unused.insert(id);
    for (int id = -1; id <= 470; ++id) {
        const bool inTable = id >= 1 && id <= 462 && unused.count(id) == 0;
        EXPECT_EQ(t_envEntryBase::FindById(id) != nullptr, inTable) << id;
    }
    EXPECT_EQ(462 - unused.size(), 358u);
}

TEST(EnvEntries, LookupRules)
{
    // Names ignore ASCII case.
    const t_envEntryBase* hanzi = t_envEntryBase::FindByName(L"hanziset");
    ASSERT_NE(hanzi, nullptr);
    EXPECT_EQ(hanzi->Id(), 1);
    EXPECT_EQ(t_envEntryBase::FindByName(L"PAGESIZE"), &n_env::PageSize);
    // An unknown id falls back to the name; a known id decides alone.
    EXPECT_EQ(t_envEntryBase::Find(t_envKey{92, L"CodePage"}), &n_env::CodePage);
    EXPECT_EQ(t_envEntryBase::Find(t_envKey{29, L"CodePage"}), &n_env::PageSize);
    EXPECT_EQ(t_envEntryBase::FindByName(L"NoSuchEntry"), nullptr);
    EXPECT_EQ(t_envEntryBase::FindByName(nullptr), nullptr);
}

}  // namespace
