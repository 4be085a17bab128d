// The input method's reader and the editor's model read the same Skin.ini apart: what
// the model writes, the reader must read under the same keys with the same values.
#include "ime_ui/skin/skin_config_file.h"

#include <gtest/gtest.h>

#include <cwctype>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "interfaces/ziplib.h"
#include "skin_model/button_set.h"
#include "skin_model/combine_info.h"
#include "skin_model/display_info.h"
#include "skin_model/general_info.h"
#include "skin_model/ime_skin.h"
#include "skin_model/separate_info.h"
#include "skin_model/status_info.h"
#include "tests/support/skin_value_text.h"
#include "tests/support/temp_folder.h"

namespace {

t_tempFolder* g_temp = nullptr;
::testing::Environment* const g_environment =
    ::testing::AddGlobalTestEnvironment(new t_programTempFolder(g_temp, L"skin_roundtrip", true));

const std::wstring c_defaultSkin = std::wstring(KAVREL_SOURCE_DIR) + L"\\art\\default_skin";

std::wstring Lower(std::wstring text)
{
    for (wchar_t& c : text)
        c = wchar_t(towlower(c));
    return text;
}

// "section|key", lower case: both readers match names ignoring case.
typedef std::map<std::wstring, std::wstring> t_entries;

// The keys of a Skin.ini as the shared INI document holds them, apart from the reader.
t_entries EntriesOf(const std::string& bytes)
{
    t_entries entries;
    t_iniDocument document(false);
    EXPECT_TRUE(document.ReadFromMemory(bytes.data(), bytes.size(), 936));
    const t_iniFile* root = document.ParsedRoot();
    for (int i = 0; root && i < root->LineCount(); ++i) {
        if (!root->IsNameLine(i))
            continue;
        const t_iniSection* section = root->FindSection(root->Line(i));
        for (int j = 0; j < section->LineCount(); ++j) {
            if (section->IsNameLine(j)) {
                const wchar_t* key = section->Line(j);
                entries[Lower(std::wstring(root->Line(i)) + L"|" + key)] = section->Value(key);
            }
        }
    }
    return entries;
}

// A value of the same kind at its default.
std::unique_ptr<SkinTypeBase> FreshLike(const SkinTypeBase& value)
{
    const SkinTypeBase* v = &value;
    if (dynamic_cast<const SkinBool*>(v))
        return std::make_unique<SkinBool>(static_cast<const SkinBool*>(v)->Default());
    if (dynamic_cast<const SkinInt*>(v))
        return std::make_unique<SkinInt>(static_cast<const SkinInt*>(v)->Default());
    if (dynamic_cast<const SkinColor*>(v))
        return std::make_unique<SkinColor>(static_cast<const SkinColor*>(v)->Default());
    if (dynamic_cast<const SkinStr*>(v))
        return std::make_unique<SkinStr>();
    if (dynamic_cast<const SkinPos*>(v))
        return std::make_unique<SkinPos>();
    if (dynamic_cast<const SkinToLeftRight*>(v))
        return std::make_unique<SkinToLeftRight>();
    if (dynamic_cast<const SkinSplit*>(v))
        return std::make_unique<SkinSplit>();
    if (dynamic_cast<const SkinSeperator*>(v))
        return std::make_unique<SkinSeperator>();
    if (dynamic_cast<const SkinAlign*>(v))
        return std::make_unique<SkinAlign>();
    if (dynamic_cast<const SkinAlignEx*>(v))
        return std::make_unique<SkinAlignEx>();
    if (dynamic_cast<const SkinImage*>(v))
        return std::make_unique<SkinImage>();
    if (dynamic_cast<const SkinBtnUi*>(v))
        return std::make_unique<SkinBtnUi>();
    return nullptr;
}

struct t_collect : i_skinValueVisitor {
    std::map<std::wstring, const SkinTypeBase*> values;
    void Visit(const wchar_t* section, const wchar_t* key, const SkinTypeBase& value) override
    {
        values[Lower(std::wstring(section) + L"|" + key)] = &value;
    }
};

// Keys that the model writes and the input method doesn't read.
bool IsUnreadKey(const std::wstring& entry)
{
    static const wchar_t* const c_whole[] = {
        L"general|skin_name", L"general|skin_version", L"general|skin_author",      L"general|skin_email",
        L"general|skin_time", L"general|skin_info",    L"display|largefontsupport",
    };
    for (const wchar_t* whole : c_whole) {
        if (entry == whole)
            return true;
    }
    const std::wstring key = entry.substr(entry.find(L'|') + 1);
    for (const wchar_t* suffix : {L"_flashfile", L"_flashpreview"}) {
        const std::wstring s = suffix;
        if (key.size() > s.size() && key.compare(key.size() - s.size(), s.size(), s) == 0)
            return true;
    }
    return key.find(L"photoframe") != std::wstring::npos;
}

// Walks the file's keys: every key the reader knows holds what a fresh value makes of
// the text, present exactly when the text parses; every other key is one the input
// method doesn't read; and no value is present without a key behind it.
void ExpectReaderHoldsTheFile(const SkinConfigFile& skin, const t_entries& entries, size_t minimumRead)
{
    t_collect collect;
    skin.Walk(collect);
    size_t read = 0;
    for (const auto& entry : entries) {
        const auto found = collect.values.find(entry.first);
        if (found == collect.values.end()) {
            EXPECT_TRUE(IsUnreadKey(entry.first))
                << "a key the reader never looks at: " << testing::PrintToString(entry.first);
            continue;
        }
        const SkinTypeBase& value = *found->second;
        std::unique_ptr<SkinTypeBase> fresh = FreshLike(value);
        ASSERT_TRUE(fresh);
        std::vector<wchar_t> text(entry.second.begin(), entry.second.end());
        text.push_back(0);
        const bool parses = fresh->Parse(text.data());
        const std::string label = testing::PrintToString(entry.first + L"=" + entry.second);
        // The separator line is read only when the picture form is incomplete.
        const bool skipped =
            Lower(entry.first).find(L"|separator") != std::wstring::npos && !value.IsPresent() && parses;
        if (skipped)
            continue;
        EXPECT_EQ(parses, value.IsPresent()) << label;
        EXPECT_EQ(SkinValueText(*fresh), SkinValueText(value)) << label;
        ++read;
    }
    EXPECT_GE(read, minimumRead);
    for (const auto& value : collect.values) {
        if (value.second->IsPresent()) {
            EXPECT_TRUE(entries.count(value.first)) << "present without a key: " << testing::PrintToString(value.first);
        }
    }
}

TEST(SkinConfigRoundTrip, DefaultSkinReadsAsItsFileSays)
{
    const std::wstring path = c_defaultSkin + L"\\Skin.ini";
    const t_entries entries = EntriesOf(ReadRaw(path));
    ASSERT_GT(entries.size(), 1000u);
    SkinConfigFile skin;
    skin.ParseConfig(path.c_str());
    ExpectReaderHoldsTheFile(skin, entries, 900);
    EXPECT_EQ(L"kavrel_default", std::wstring(skin.skin_id.Text()));
    EXPECT_EQ(L"skin1.png", std::wstring(skin.schemeH1.window.pic.Value().file));
    EXPECT_EQ(t_seperatorMode::e_line, skin.schemeH1.seperatorUi.Mode());
    EXPECT_EQ(2, skin.schemeH1.window.buttons.Button(t_skinButton::e_pageUp).normal.Value().count);
    EXPECT_EQ(L"skin1_1.png", std::wstring(skin.schemeH2.composition.pic.Value().file));
    EXPECT_EQ(L"cn1.png,en1.png,a1.png", SkinValueText(skin.statusBar.buttons.Button(t_skinButton::e_cnEn).normal));
}

// Edits every part of the model: texts, colours, fonts, pictures, splits, margins,
// separators, anchors, opacity, status values, and buttons of every window (built-in
// and added ones).
void EditEveryPart(IMESkin& model)
{
    wcscpy(model.General().skinName, L"改过的皮肤");
    DisplayInfo& display = model.Display();
    display.fontSize = 20;
    wcscpy(display.fontCh, L"黑体");
    wcscpy(display.fontEn, L"Tahoma");
    display.pinyinColor = 0x123456;
    display.zhongwenFirstColor = 0xabcdef;
    wcscpy(display.webpage, L"http://example.com/页");
    display.aero = true;
    display.glow = true;

    for (CombineInfo* combined : {&model.HorizontalCombined(), &model.VerticalCombined()}) {
        wcscpy(combined->pic, L"skin2.png");
        combined->layoutHorizontal[0] = 1;
        combined->layoutHorizontal[1] = 11;
        combined->layoutVertical[2] = 7;
        combined->separatorEnabled = true;
        combined->separator[0] = 0x00ff00;
        combined->separator[1] = 350;
        combined->pinyinMarge[0] = 9;
        combined->zhongwenMarge[3] = 13;
        combined->transparentEnabled = true;
        combined->transparentColor = 0xff00ff;
        combined->opacity = 50;
        combined->anchor[0] = 5;
        combined->anchor[1] = -6;
    }
    for (SeparateInfo* separate : {&model.HorizontalSeparate(), &model.VerticalSeparate()}) {
        wcscpy(separate->pinyinPic, L"skin1_2.png");
        separate->pinyinLayoutVertical[0] = 2;
        separate->zhongwenLayoutHorizontal[1] = 4;
        separate->pinyinMarge[2] = 15;
        separate->zhongwenMarge[1] = 16;
        separate->opacity = 80;
        separate->anchor[1] = 3;
    }
    StatusInfo& status = model.StatusBar();
    ASSERT_TRUE(status.SetInt(L"transparent_color_enable", 0, 1));
    ASSERT_TRUE(status.SetInt(L"transparent_color", 0, 0x00ff00));
    ASSERT_TRUE(status.SetInt(L"opaque", 0, 200));

    for (int window = 0; window < c_buttonWindowCount; ++window) {
        BtnInfo& set = model.ButtonSet(window);
        const bool aligned = set.AlignFlag();
        ASSERT_TRUE(set.SetIntByKey(L"menu_display", 0, 1));
        ASSERT_TRUE(set.SetStringByKey(L"menu", 0, L"menu1.png"));
        ASSERT_TRUE(set.SetStringByKey(L"menu_hover", 0, L"menu2.png"));
        ASSERT_TRUE(set.SetStringByKey(L"menu_hint", 0, L"菜单"));
        ASSERT_TRUE(set.SetStringByKey(L"cn_en_down", 2, L"a3.png"));
        if (aligned) {
            ASSERT_TRUE(set.SetIntByKey(L"menu_align", 3, 40 + window));
            ASSERT_TRUE(set.SetIntByKey(L"menu_align", 7, 2));
        } else {
            ASSERT_TRUE(set.SetIntByKey(L"menu_pos", 0, 100));
        }
        ASSERT_TRUE(set.AddButton(1, c_btnCustom));
        ASSERT_TRUE(set.SetIntByKey(L"custom1_display", 0, 1));
        ASSERT_TRUE(set.SetStringByKey(L"custom1", 0, L"skin1.png"));
        ASSERT_TRUE(set.SetStringByKey(L"custom1_url", 0, L"http://custom"));
    }
}

TEST(SkinConfigRoundTrip, SkinSavedByTheModelAfterEditsReadsWithTheValuesItWrote)
{
    const std::wstring package = g_temp->Path() + L"\\default.vsf";
    ASSERT_EQ(ZIPLIB_OK, ZipFolder(c_defaultSkin.c_str(), nullptr, package.c_str()));
    IMESkin model;
    ASSERT_TRUE(model.Open(package.c_str()));
    EditEveryPart(model);
    const std::wstring saved = g_temp->Path() + L"\\edited.vsf";
    t_errorChain errors;
    ASSERT_TRUE(model.Save(errors, saved.c_str())) << Lines(errors);

    wchar_t ini[MAX_PATH];
    ASSERT_TRUE(model.GetIniPath(ini));
    const std::string bytes = ReadRaw(ini);
    const t_entries entries = EntriesOf(bytes);

    SkinConfigFile fromFile;
    fromFile.ParseConfig(ini);
    SkinConfigFile fromMemory;
    fromMemory.ParseDefault(bytes.data(), bytes.size());
    for (const SkinConfigFile* skin : {&fromFile, &fromMemory}) {
        ExpectReaderHoldsTheFile(*skin, entries, 900);

        // The edits themselves, as the reader sees them.
        const SkinDisplay& display = skin->display;
        EXPECT_EQ(20, display.font_size.Value());
        EXPECT_EQ(L"黑体", std::wstring(display.font_ch.Text()));
        EXPECT_EQ(0x123456u, display.pinyin_color.Value());
        EXPECT_EQ(0xabcdefu, display.zhongwen_first_color.Value());
        EXPECT_TRUE(display.aero.Value() && display.glow.Value());
        for (const SkinSchemeCombined* combined : {&skin->schemeH1, &skin->schemeV1}) {
            EXPECT_EQ(L"skin2.png", SkinValueText(combined->window.pic));
            EXPECT_EQ(1, combined->window.layout_horizontal.Value().mode);
            EXPECT_EQ(11, combined->window.layout_horizontal.Value().first);
            EXPECT_EQ(t_seperatorMode::e_line, combined->seperatorUi.Mode());
            EXPECT_EQ(0x00ff00u, combined->seperatorUi.separator.Value().colour);
            EXPECT_EQ(300, combined->seperatorUi.separator.Value().first) << "distances are capped";
            EXPECT_EQ(9, combined->marges.pinyin_marge.Value().top);
            EXPECT_EQ(13, combined->marges.zhongwen_marge.Value().right);
            EXPECT_TRUE(combined->common.transparent_color_enable.Value());
            EXPECT_EQ(0xff00ffu, combined->common.transparent_color.Value());
            EXPECT_EQ(-6, combined->marges.anchor.Value().y);
            EXPECT_LT(combined->common.opaque.Value(), 255);
        }
        for (const SkinSchemeSeparate* separate : {&skin->schemeH2, &skin->schemeV2}) {
            EXPECT_EQ(L"skin1_2.png", SkinValueText(separate->composition.pic));
            EXPECT_EQ(2, separate->composition.layout_vertical.Value().mode);
            EXPECT_EQ(4, separate->candidate.layout_horizontal.Value().first);
            EXPECT_EQ(15, separate->marges.pinyin_marge.Value().left);
            EXPECT_EQ(16, separate->marges.zhongwen_marge.Value().bottom);
            EXPECT_EQ(3, separate->marges.anchor.Value().y);
        }
        EXPECT_EQ(200, skin->statusBar.common.opaque.Value());
        EXPECT_EQ(0x00ff00u, skin->statusBar.common.transparent_color.Value());

        const SkinStatusButtons* windows[] = {
            &skin->statusBar.buttons,          &skin->schemeH1.window.buttons, &skin->schemeH2.composition.buttons,
            &skin->schemeH2.candidate.buttons, &skin->schemeV1.window.buttons, &skin->schemeV2.composition.buttons,
            &skin->schemeV2.candidate.buttons,
        };
        for (int window = 0; window < c_buttonWindowCount; ++window) {
            const std::string label = "window " + std::to_string(window);
            const SkinStatusButtons& buttons = *windows[window];
            const SkinBtn& menu = buttons.Button(t_skinButton::e_menu);
            EXPECT_TRUE(menu.display.Value()) << label;
            EXPECT_EQ(L"menu1.png", SkinValueText(menu.normal)) << label;
            EXPECT_EQ(L"menu2.png", SkinValueText(menu.hover)) << label;
            EXPECT_EQ(L"菜单", std::wstring(menu.hint.Text())) << label;
            EXPECT_EQ(L"a3.png", std::wstring(buttons.Button(t_skinButton::e_cnEn).down.Value().images[2].file))
                << label;
            if (window == 0) {
                EXPECT_EQ(100, menu.pos.Value().x) << label;
            } else {
                EXPECT_EQ(40 + window, menu.align.Value().rightMargin) << label;
                EXPECT_EQ(2, menu.align.Value().rightMode) << label;
            }
            ASSERT_EQ(2, buttons.custom.ItemCount()) << label;
            EXPECT_TRUE(buttons.custom.Item(1).display.Value()) << label;
            EXPECT_EQ(L"skin1.png", SkinValueText(buttons.custom.Item(1).normal)) << label;
            EXPECT_EQ(L"http://custom", std::wstring(buttons.custom.Item(1).url.Text())) << label;
        }
    }
    EXPECT_TRUE(model.Close());
}

}  // namespace
