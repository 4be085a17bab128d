// Every key of every section, each with its own value: a full load, the walk that tells
// them back, a section read again from nothing, and the reset to a fresh reader.
#include "ime_ui/skin/skin_config_file.h"

#include <gtest/gtest.h>

#include <cwctype>
#include <map>
#include <string>

#include "tests/support/skin_value_text.h"
#include "tests/support/utf16_file.h"

namespace {

enum class t_kind {
    e_bool,
    e_int,
    e_color,
    e_str,
    e_pos,
    e_split,
    e_align,
    e_alignEx,
    e_image,
    e_btnUi,
    e_line,
    e_leftRight
};

struct t_keyKind {
    const wchar_t* name;
    t_kind kind;
};

const t_keyKind c_general[] = {{L"skin_id", t_kind::e_str}, {L"widget_cnt", t_kind::e_int}};

const t_keyKind c_display[] = {
    {L"font_size", t_kind::e_int},
    {L"font_ch", t_kind::e_str},
    {L"font_en", t_kind::e_str},
    {L"pinyin_color", t_kind::e_color},
    {L"zhongwen_color", t_kind::e_color},
    {L"zhongwen_first_color", t_kind::e_color},
    {L"zhongwen_first_bk_color", t_kind::e_color},
    {L"result_color", t_kind::e_color},
    {L"bihua_color", t_kind::e_color},
    {L"comphint_color", t_kind::e_color},
    {L"caret_color", t_kind::e_color},
    {L"use_gdip", t_kind::e_bool},
    {L"clear_edge", t_kind::e_bool},
    {L"webpage", t_kind::e_str},
    {L"aero", t_kind::e_bool},
    {L"glow", t_kind::e_bool},
    {L"default_skin", t_kind::e_bool},
};

const t_keyKind c_common[] = {
    {L"transparent_color", t_kind::e_color},
    {L"transparent_color_enable", t_kind::e_bool},
    {L"click_color", t_kind::e_color},
    {L"click_color_enable", t_kind::e_bool},
    {L"opaque", t_kind::e_int},
    {L"layered", t_kind::e_bool},
};

const t_keyKind c_button[] = {
    {L"display", t_kind::e_bool}, {L"pos", t_kind::e_pos},    {L"align", t_kind::e_alignEx},
    {L"", t_kind::e_btnUi},       {L"down", t_kind::e_btnUi}, {L"hover", t_kind::e_btnUi},
    {L"in", t_kind::e_btnUi},     {L"out", t_kind::e_btnUi},  {L"downing", t_kind::e_btnUi},
    {L"up", t_kind::e_btnUi},     {L"hint", t_kind::e_str},   {L"url", t_kind::e_str},
};

const t_keyKind c_componentIds[] = {{L"BundleId", t_kind::e_str}, {L"ComId", t_kind::e_str}};

const t_keyKind c_flash[] = {
    {L"", t_kind::e_str},
    {L"display", t_kind::e_bool},
    {L"pos", t_kind::e_pos},
    {L"align", t_kind::e_alignEx},
    {L"width", t_kind::e_int},
    {L"height", t_kind::e_int},
    {L"drag", t_kind::e_bool},
    {L"preview", t_kind::e_str},
    {L"cursor", t_kind::e_bool},
    {L"param", t_kind::e_str},
    {L"popup", t_kind::e_bool},
    {L"showDisable", t_kind::e_bool},
    {L"stick", t_kind::e_int},
    {L"correct", t_kind::e_bool},
    {L"security", t_kind::e_int},
    {L"showlikeparent", t_kind::e_bool},
    {L"hidefullscreen", t_kind::e_bool},
    {L"activate", t_kind::e_bool},
    {L"framefree", t_kind::e_bool},
    {L"framecnt", t_kind::e_int},
};

const t_keyKind c_windowPictures[] = {
    {L"pic", t_kind::e_image},
    {L"pic_mask", t_kind::e_image},
    {L"layout_horizontal", t_kind::e_split},
    {L"layout_vertical", t_kind::e_split},
};

const t_keyKind c_statusPictures[] = {
    {L"pic", t_kind::e_image}, {L"pic_mask", t_kind::e_image}, {L"pic_preview", t_kind::e_image}};

const t_keyKind c_flashBk[] = {
    {L"flashbk", t_kind::e_str},
    {L"flashbk_security", t_kind::e_int},
    {L"flashbk_width", t_kind::e_int},
    {L"flashbk_height", t_kind::e_int},
};

const t_keyKind c_marges[] = {
    {L"pinyin_marge", t_kind::e_align}, {L"zhongwen_marge", t_kind::e_align}, {L"anchor", t_kind::e_pos}};

const t_keyKind c_separatorPicture[] = {
    {L"seperatorui_pic", t_kind::e_image},
    {L"seperatorui_layout_horizontal", t_kind::e_split},
    {L"seperatorui_layout_vertical", t_kind::e_split},
    {L"seperatorui_to_left_right", t_kind::e_leftRight},
};

const t_keyKind c_separatorLine[] = {{L"separator", t_kind::e_line}};

const wchar_t* const c_buttonNames[] = {
    L"cn_en",  L"biaodian", L"quan_ban", L"quan_shuang", L"fan_jian",    L"softkeyboard", L"menu", L"vexilsearch",
    L"pageup", L"pagedown", L"passport", L"webpage",     L"skinmanager", L"handinput",    L"news", L"logo",
};

std::wstring Lower(std::wstring text)
{
    for (wchar_t& c : text)
        c = wchar_t(towlower(c));
    return text;
}

std::wstring Join(const std::wstring& prefix, const std::wstring& name)
{
    if (prefix.empty())
        return name;
    return name.empty() ? prefix : prefix + L"_" + name;
}

// A Skin.ini giving every key the reader knows a value in its text form, each value a
// different one so that a key told with another key's value shows.
class t_fullSkin {
public:
    t_fullSkin()
    {
        Section(L"General");
        Keys(L"", c_general);
        Section(L"Display");
        Keys(L"", c_display);
        for (const wchar_t* name : {L"Scheme_H1", L"Scheme_V1"}) {
            Section(name);
            Keys(L"", c_common);
            Window(L"", L"");
            Keys(L"", c_marges);
            // The picture form of the separator in one, the line in the other.
            if (name[7] == L'H')
                Keys(L"", c_separatorPicture);
            else
                Keys(L"", c_separatorLine);
        }
        for (const wchar_t* name : {L"Scheme_H2", L"Scheme_V2"}) {
            Section(name);
            Keys(L"", c_common);
            Window(L"pinyin", L"comp");
            Window(L"zhongwen", L"cand");
            Keys(L"", c_marges);
        }
        Section(L"StatusBar");
        Keys(L"", c_common);
        Keys(L"", c_statusPictures);
        Controls(L"");
    }

    std::wstring text;
    // "section|key" in lower case -> the value's text.
    std::map<std::wstring, std::wstring> values;

private:
    void Section(const std::wstring& name)
    {
        m_section = name;
        text += L"[" + name + L"]\r\n";
    }

    // A key written again keeps its first value: the web page button's url is also the
    // window's web page ("webpage_url", "comp_webpage_url").
    void Line(const std::wstring& key, const std::wstring& value)
    {
        if (values.emplace(Lower(m_section + L"|" + key), value).second)
            text += key + L"=" + value + L"\r\n";
    }

    template <size_t N>
    void Keys(const std::wstring& prefix, const t_keyKind (&keys)[N])
    {
        for (const t_keyKind& key : keys)
            Line(Join(prefix, key.name), ValueText(key.kind));
    }

    // Window pictures under P, its controls under Q.
    void Window(const std::wstring& p, const std::wstring& q)
    {
        Keys(p, c_windowPictures);
        Controls(q);
    }

    // Buttons, web page, flash items and flash background of a window under Q.
    void Controls(const std::wstring& q)
    {
        for (const wchar_t* name : c_buttonNames)
            Keys(Join(q, name), c_button);
        Line(Join(q, L"custom_cnt"), L"2");
        for (const wchar_t* item : {L"custom0", L"custom1"})
            Keys(Join(q, item), c_button);
        Line(Join(q, L"component_cnt"), L"1");
        Keys(Join(q, L"component0"), c_button);
        Keys(Join(q, L"component0"), c_componentIds);
        Line(Join(q, L"webpage_url"), ValueText(t_kind::e_str));
        Line(Join(q, L"flash_cnt"), L"1");
        Keys(Join(q, L"flash0"), c_flash);
        Keys(q, c_flashBk);
    }

    // A value of the kind that differs from every other one written (booleans alternate
    // between 1 and 0, both present), already in the form the value prints.
    std::wstring ValueText(t_kind kind)
    {
        const int n = ++m_serial;
        const std::wstring s = std::to_wstring(n);
        wchar_t hex[16];
        swprintf(hex, 16, L"0x%x", unsigned(n));
        wchar_t hex8[16];
        swprintf(hex8, 16, L"0x%08x", unsigned(n));
        switch (kind) {
        case t_kind::e_bool:
            return n % 2 ? L"1" : L"0";
        case t_kind::e_int:
            return s;
        case t_kind::e_color:
            return hex;
        case t_kind::e_str:
            return L"文字" + s;
        case t_kind::e_pos:
            return s + L",-" + s;
        case t_kind::e_split:
            return std::to_wstring(n % 3) + L"," + s + L",7";
        case t_kind::e_align:
            return s + L",1,2,3";
        case t_kind::e_alignEx:
            return s + L",1,2,3,4,5,6,7,8,9";
        case t_kind::e_image:
            return L"p" + s + L".png<1;2;3;" + s + L">";
        case t_kind::e_btnUi:
            return L"a" + s + L".png,b.png<0;0;4;4>";
        case t_kind::e_line:
            return std::wstring(hex8) + L",2,3";
        case t_kind::e_leftRight:
            return L"5," + std::to_wstring(n % 300);
        }
        return s;
    }

    std::wstring m_section;
    int m_serial = 0;
};

struct t_told {
    std::wstring text;
    bool present;
    bool isDefault;
};

// "section|key" in lower case -> what the walk told of it.
struct t_walk : i_skinValueVisitor {
    std::map<std::wstring, t_told> told;
    void Visit(const wchar_t* section, const wchar_t* key, const SkinTypeBase& value) override
    {
        const std::wstring name = Lower(std::wstring(section) + L"|" + key);
        const t_told now = {SkinValueText(value), value.IsPresent(), value.IsDefault()};
        const auto earlier = told.find(name);
        if (earlier == told.end())
            told[name] = now;
        else
            EXPECT_EQ(earlier->second.text, now.text) << "one key, two values: " << testing::PrintToString(name);
    }
};

std::map<std::wstring, t_told> Walked(const SkinConfigFile& skin)
{
    t_walk walk;
    skin.Walk(walk);
    return walk.told;
}

// In the section, or anywhere for an empty name.
bool InSection(const std::wstring& key, const std::wstring& section)
{
    return section.empty() || key.rfind(Lower(section) + L"|", 0) == 0;
}

// The walk's values of one section (all of them for an empty name) are those of a fresh
// reader: the same keys, texts and present flags.
void ExpectFresh(const std::map<std::wstring, t_told>& walked, const std::wstring& section)
{
    static const SkinConfigFile fresh;
    std::map<std::wstring, t_told> expected;
    for (const auto& value : Walked(fresh)) {
        if (InSection(value.first, section))
            expected.insert(value);
    }
    size_t count = 0;
    for (const auto& value : walked) {
        if (!InSection(value.first, section))
            continue;
        ++count;
        const auto found = expected.find(value.first);
        const std::string label = testing::PrintToString(value.first);
        ASSERT_NE(expected.end(), found) << "an item left over: " << label;
        EXPECT_EQ(found->second.text, value.second.text) << label;
        EXPECT_FALSE(value.second.present) << label;
        EXPECT_TRUE(value.second.isDefault) << label;
    }
    EXPECT_EQ(expected.size(), count) << testing::PrintToString(section);
}

TEST(SkinSections, EveryKeyOfEverySectionLoadsWalksAndResets)
{
    const t_fullSkin full;
    const std::string bytes = Utf16File(full.text);
    SkinConfigFile skin;
    EXPECT_TRUE(skin.ParseDefault(bytes.data(), bytes.size())) << "every section holds every key";

    // Every key given is told back under its own name with its own value; every key told
    // that the file lacks is at its default.
    const std::map<std::wstring, t_told> loaded = Walked(skin);
    for (const auto& value : full.values) {
        const std::string label = testing::PrintToString(value.first + L"=" + value.second);
        const auto found = loaded.find(value.first);
        ASSERT_NE(loaded.end(), found) << label;
        EXPECT_TRUE(found->second.present) << label;
        EXPECT_EQ(value.second, found->second.text) << label;
    }
    for (const auto& value : loaded) {
        if (!full.values.count(value.first)) {
            EXPECT_FALSE(value.second.present) << testing::PrintToString(value.first);
            EXPECT_TRUE(value.second.isDefault) << testing::PrintToString(value.first);
        }
    }
    // The file gives one separator form in each combined scheme: the other one's keys (one
    // line, four picture keys) are told at their defaults.
    EXPECT_EQ(full.values.size() + 5, loaded.size());
    EXPECT_EQ(t_seperatorMode::e_picture, skin.schemeH1.seperatorUi.Mode());
    EXPECT_EQ(t_seperatorMode::e_line, skin.schemeV1.seperatorUi.Mode());

    // A section read again from an empty one keeps nothing of the file, and leaves the
    // other sections as they were.
    t_iniDocument document(false);
    for (const wchar_t* name :
         {L"General", L"Display", L"Scheme_H1", L"Scheme_V1", L"Scheme_H2", L"Scheme_V2", L"StatusBar"}) {
        ASSERT_TRUE(skin.ParseDefault(bytes.data(), bytes.size()));
        const t_iniSection* empty = document.Root()->AddSection(name);
        ASSERT_NE(nullptr, empty);
        skin.ParseSkinSection(empty, name);
        // An emptied combined scheme has no separator; the other keeps its own.
        const std::wstring emptied = name;
        EXPECT_EQ(emptied == L"Scheme_H1" ? t_seperatorMode::e_none : t_seperatorMode::e_picture,
                  skin.schemeH1.seperatorUi.Mode());
        EXPECT_EQ(emptied == L"Scheme_V1" ? t_seperatorMode::e_none : t_seperatorMode::e_line,
                  skin.schemeV1.seperatorUi.Mode());
        const std::map<std::wstring, t_told> again = Walked(skin);
        ExpectFresh(again, name);
        for (const auto& value : loaded) {
            if (!InSection(value.first, name)) {
                ASSERT_TRUE(again.count(value.first)) << testing::PrintToString(value.first);
                EXPECT_EQ(value.second.text, again.at(value.first).text) << testing::PrintToString(value.first);
            }
        }
    }

    // Reset: every value as a fresh reader holds it, the arrays empty.
    ASSERT_TRUE(skin.ParseDefault(bytes.data(), bytes.size()));
    skin.Reset();
    ExpectFresh(Walked(skin), L"");
    EXPECT_EQ(t_seperatorMode::e_none, skin.schemeH1.seperatorUi.Mode());
    EXPECT_EQ(0, skin.statusBar.flashs.ItemCount());
}

}  // namespace
