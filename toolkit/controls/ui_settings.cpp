#include "toolkit/controls/ui_settings.h"

#include "foundation/env/env.h"
#include "foundation/env/env_entries.h"

namespace {

void CopySettingText(wchar_t (&out)[t_uiSettings::c_textChars], const wchar_t* text)
{
    int i = 0;
    if (text) {
        for (; i < t_uiSettings::c_textChars - 1 && text[i]; ++i)
            out[i] = text[i];
    }
    out[i] = 0;
}

}  // namespace

void BuildUiSettings(const t_env& env, t_uiSettings& s)
{
    CopySettingText(s.activeSkinName, env.GetString(n_env::ActiveSkinName));
    CopySettingText(s.fontCh, env.GetString(n_env::FontCh));
    CopySettingText(s.fontEn, env.GetString(n_env::FontEn));
    CopySettingText(s.invalidSkinName, env.GetString(n_env::InvalidSkinName));
    s.clearFontEdge = env.GetBool(n_env::ClearFontEdge);
    s.skinEnabled = env.GetBool(n_env::SkinEnabled);
    s.ignoreSkinFontSetting = env.GetBool(n_env::IgnoreSkinFontSetting);
    s.ignoreSkinColorSetting = env.GetBool(n_env::IgnoreSkinColorSetting);
    s.cursorFollow = env.GetBool(n_env::CursorFollow);
    s.hideStatusWhenFullScreen = env.GetBool(n_env::HideStatusWhenFullScreen);
    s.showLangBar = env.GetBool(n_env::ShowLangBar);
    s.shuangPin = env.GetBool(n_env::ShuangPin);
    s.showSearchBtn = env.GetBool(n_env::ShowSearchBtn);
    s.timeChangeSkin = env.GetULong(n_env::ImeStat_TimeChangeSkin);
    s.shortCutFanJian = env.GetBool(n_env::ShortCutFanJian);
    s.shortcutOn = env.GetBool(n_env::ShortcutOn);
    s.shortCutMenu = env.GetBool(n_env::ShortCutMenu);
    s.keyEnCnSwitch = env.GetInt(n_env::KeyEnCnSwitch);
    s.keyFanJianSwitch = env.GetInt(n_env::KeyFanJianSwitch);
    s.keySoftKeyboardSwitch = env.GetInt(n_env::KeySoftKeyboardSwitch);
    s.keyMenuSwitch = env.GetInt(n_env::KeyMenuSwitch);
    s.quanPin = env.GetBool(n_env::QuanPin);
    s.fontSize = env.GetInt(n_env::FontSize);
    s.colorPinyin = env.GetInt(n_env::ColorPinyin);
    s.colorNonPrimary = env.GetInt(n_env::ColorNonPrimary);
    s.colorPrimary = env.GetInt(n_env::ColorPrimary);
    s.colorCursor = env.GetInt(n_env::ColorCursor);
    s.colorBorder = env.GetInt(n_env::ColorBorder);
    s.statusPosX = env.GetInt(n_env::StatusPosX);
    s.statusPosY = env.GetInt(n_env::StatusPosY);
    s.compPosX = env.GetInt(n_env::CompPosX);
    s.compPosY = env.GetInt(n_env::CompPosY);
    s.candStyle = env.GetInt(n_env::CandStyle);
    s.colorBackground = env.GetInt(n_env::ColorBackground);
    s.pageSize = env.GetInt(n_env::PageSize);
    s.compStyle = env.GetInt(n_env::CompStyle);
    s.candAlign = env.GetInt(n_env::CandAlign);
    s.statusAppearance = env.GetInt(n_env::StatusAppearance);
    s.softKbdIndex = env.GetInt(n_env::SoftKbdIndex);
    s.invalidSkinTime = env.GetULong(n_env::InvalidSkinTime);
    s.isotropicSkin = env.GetBool(n_env::IsotropicSkin);
    s.ignoreSkinColorSettingReal = env.GetBool(n_env::IgnoreSkinColorSetting_Real);
    s.flashDebugMode = env.GetBool(n_env::FlashDebugMode);
    s.statusBtnFlag = env.GetULong(n_env::StatusBtnFlag);
    s.statusBtnColor = env.GetULong(n_env::StatusBtnColor);
}
