#include "toolkit/controls/ui_settings.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>

#include "foundation/env/env.h"
#include "tests/support/utf16_file.h"

namespace {

// One number field of the settings: the environment key, the value the file gives it
// (never the entry's default), and the entry's default.
struct t_numberField {
    const wchar_t* key;
    long long value;
    long long entryDefault;
    std::function<long long(const t_uiSettings&)> field;
};

#define FIELD(member) [](const t_uiSettings& s) { return static_cast<long long>(s.member); }

const t_numberField c_numberFields[] = {
    {L"ClearFontEdge", 1, n_env::ClearFontEdge.Default(), FIELD(clearFontEdge)},
    {L"SkinEnabled", 1, n_env::SkinEnabled.Default(), FIELD(skinEnabled)},
    {L"IgnoreSkinFontSetting", 1, n_env::IgnoreSkinFontSetting.Default(), FIELD(ignoreSkinFontSetting)},
    {L"IgnoreSkinColorSetting", 1, n_env::IgnoreSkinColorSetting.Default(), FIELD(ignoreSkinColorSetting)},
    {L"CursorFollow", 0, n_env::CursorFollow.Default(), FIELD(cursorFollow)},
    {L"HideStatusWhenFullScreen", 0, n_env::HideStatusWhenFullScreen.Default(), FIELD(hideStatusWhenFullScreen)},
    {L"ShowLangBar", 0, n_env::ShowLangBar.Default(), FIELD(showLangBar)},
    {L"ShuangPin", 1, n_env::ShuangPin.Default(), FIELD(shuangPin)},
    {L"ShowSearchBtn", 0, n_env::ShowSearchBtn.Default(), FIELD(showSearchBtn)},
    {L"ImeStat_TimeChangeSkin", 123456, n_env::ImeStat_TimeChangeSkin.Default(), FIELD(timeChangeSkin)},
    {L"ShortCutFanJian", 0, n_env::ShortCutFanJian.Default(), FIELD(shortCutFanJian)},
    {L"ShortcutOn", 0, n_env::ShortcutOn.Default(), FIELD(shortcutOn)},
    {L"ShortCutMenu", 0, n_env::ShortCutMenu.Default(), FIELD(shortCutMenu)},
    {L"KeyEnCnSwitch", 3, n_env::KeyEnCnSwitch.Default(), FIELD(keyEnCnSwitch)},
    {L"KeyFanJianSwitch", 6, n_env::KeyFanJianSwitch.Default(), FIELD(keyFanJianSwitch)},
    {L"KeySoftKeyboardSwitch", 11, n_env::KeySoftKeyboardSwitch.Default(), FIELD(keySoftKeyboardSwitch)},
    {L"KeyMenuSwitch", 13, n_env::KeyMenuSwitch.Default(), FIELD(keyMenuSwitch)},
    {L"QuanPin", 0, n_env::QuanPin.Default(), FIELD(quanPin)},
    {L"FontSize", 22, n_env::FontSize.Default(), FIELD(fontSize)},
    {L"ColorPinyin", 0x010203, n_env::ColorPinyin.Default(), FIELD(colorPinyin)},
    {L"ColorNonPrimary", 0x040506, n_env::ColorNonPrimary.Default(), FIELD(colorNonPrimary)},
    {L"ColorPrimary", 0x070809, n_env::ColorPrimary.Default(), FIELD(colorPrimary)},
    {L"ColorCursor", 0x0A0B0C, n_env::ColorCursor.Default(), FIELD(colorCursor)},
    {L"ColorBorder", 0x0D0E0F, n_env::ColorBorder.Default(), FIELD(colorBorder)},
    // Monitors left of and above the primary one give negative positions.
    {L"StatusPosX", -1500, n_env::StatusPosX.Default(), FIELD(statusPosX)},
    {L"StatusPosY", -20, n_env::StatusPosY.Default(), FIELD(statusPosY)},
    {L"CompPosX", 640, n_env::CompPosX.Default(), FIELD(compPosX)},
    {L"CompPosY", 480, n_env::CompPosY.Default(), FIELD(compPosY)},
    {L"CandStyle", 1, n_env::CandStyle.Default(), FIELD(candStyle)},
    {L"ColorBackground", 0x101112, n_env::ColorBackground.Default(), FIELD(colorBackground)},
    {L"PageSize", 9, n_env::PageSize.Default(), FIELD(pageSize)},
    {L"CompStyle", 2, n_env::CompStyle.Default(), FIELD(compStyle)},
    {L"CandAlign", 1, n_env::CandAlign.Default(), FIELD(candAlign)},
    {L"StatusAppearance", 3, n_env::StatusAppearance.Default(), FIELD(statusAppearance)},
    {L"SoftKbdIndex", 4, n_env::SoftKbdIndex.Default(), FIELD(softKbdIndex)},
    // Above the largest int: kept unsigned.
    {L"InvalidSkinTime", 3000000000LL, n_env::InvalidSkinTime.Default(), FIELD(invalidSkinTime)},
    {L"IsotropicSkin", 0, n_env::IsotropicSkin.Default(), FIELD(isotropicSkin)},
    {L"IgnoreSkinColorSetting_Real", 1, n_env::IgnoreSkinColorSetting_Real.Default(),
     FIELD(ignoreSkinColorSettingReal)},
    {L"FlashDebugMode", 1, n_env::FlashDebugMode.Default(), FIELD(flashDebugMode)},
    {L"StatusBtnFlag", 0x8001, n_env::StatusBtnFlag.Default(), FIELD(statusBtnFlag)},
    {L"StatusBtnColor", 0x00FF00, n_env::StatusBtnColor.Default(), FIELD(statusBtnColor)},
};

#undef FIELD

struct t_textField {
    const wchar_t* key;
    std::wstring value;
    const wchar_t* entryDefault;
    const wchar_t* (*field)(const t_uiSettings&);
};

const t_textField c_textFields[] = {
    {L"ActiveSkinName", L"晚霞(紫)", n_env::ActiveSkinName.Default(),
     [](const t_uiSettings& s) -> const wchar_t* { return s.activeSkinName; }},
    {L"FontCh", L"黑体", n_env::FontCh.Default(), [](const t_uiSettings& s) -> const wchar_t* { return s.fontCh; }},
    {L"FontEn", L"Tahoma", n_env::FontEn.Default(), [](const t_uiSettings& s) -> const wchar_t* { return s.fontEn; }},
    {L"InvalidSkinName", L"坏皮肤", n_env::InvalidSkinName.Default(),
     [](const t_uiSettings& s) -> const wchar_t* { return s.invalidSkinName; }},
};

class UiSettingsTest : public ::testing::Test {
protected:
    UiSettingsTest() : m_dir(L"ui_settings") { std::memset(&m_settings, 0xCD, sizeof(m_settings)); }

    // An environment loaded from an "env.ini" whose [Setting] section holds lines.
    void Load(const std::wstring& lines)
    {
        const std::wstring path = WriteUtf16File(m_dir, L"env.ini", L"[Setting]\r\n" + lines);
        ASSERT_FALSE(path.empty());
        t_errorChain errors;
        ASSERT_TRUE(m_env.LoadFromIni(errors, path.c_str(), 1));
    }

    t_tempFolder m_dir;
    t_env m_env;
    t_uiSettings m_settings;
};

TEST_F(UiSettingsTest, EveryFieldComesFromTheEnvironment)
{
    std::wstring lines;
    for (const t_numberField& f : c_numberFields)
        lines += std::wstring(f.key) + L"=" + std::to_wstring(f.value) + L"\r\n";
    for (const t_textField& f : c_textFields)
        lines += std::wstring(f.key) + L"=" + f.value + L"\r\n";
    Load(lines);

    BuildUiSettings(m_env, m_settings);
    for (const t_numberField& f : c_numberFields) {
        ASSERT_NE(f.entryDefault, f.value) << "the table must move every field off its default";
        EXPECT_EQ(f.value, f.field(m_settings)) << testing::PrintToString(std::wstring(f.key));
    }
    for (const t_textField& f : c_textFields) {
        ASSERT_NE(std::wstring(f.entryDefault), f.value);
        EXPECT_EQ(f.value, f.field(m_settings)) << testing::PrintToString(std::wstring(f.key));
    }
}

TEST_F(UiSettingsTest, MissingValuesGiveTheEntryDefaults)
{
    Load(L"UnrelatedKey=1\r\n");
    BuildUiSettings(m_env, m_settings);
    for (const t_numberField& f : c_numberFields)
        EXPECT_EQ(f.entryDefault, f.field(m_settings)) << testing::PrintToString(std::wstring(f.key));
    for (const t_textField& f : c_textFields)
        EXPECT_STREQ(f.entryDefault, f.field(m_settings)) << testing::PrintToString(std::wstring(f.key));
}

TEST_F(UiSettingsTest, LongTextsAreCutTo259UnitsAndTerminated)
{
    const struct {
        int length;
        int kept;
    } cases[] = {{1, 1}, {258, 258}, {259, 259}, {260, 259}, {1000, 259}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.length);
        std::wstring text;
        for (int i = 0; i < c.length; ++i)
            text += wchar_t(L'一' + i % 50);
        std::wstring lines;
        for (const t_textField& f : c_textFields)
            lines += std::wstring(f.key) + L"=" + text + L"\r\n";
        Load(lines);
        std::memset(&m_settings, 0xCD, sizeof(m_settings));
        BuildUiSettings(m_env, m_settings);
        for (const t_textField& f : c_textFields) {
            const wchar_t* field = f.field(m_settings);
            EXPECT_EQ(text.substr(0, c.kept), field) << testing::PrintToString(std::wstring(f.key));
            EXPECT_EQ(0, field[c.kept]);
        }
    }
}

}  // namespace
