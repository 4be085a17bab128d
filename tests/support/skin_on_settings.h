// Test helper: the user's settings the IME window tests start from: skins on, the skin's
// own colours (-1), a white background and every status button shown.
#pragma once

#include "toolkit/controls/ui_settings.h"

inline t_uiSettings SkinOnSettings(int fontSize)
{
    t_uiSettings settings = {};
    settings.skinEnabled = true;
    settings.fontSize = fontSize;
    settings.colorPinyin = settings.colorNonPrimary = settings.colorPrimary = -1;
    settings.colorBackground = 0xFFFFFF;
    settings.statusBtnColor = 0xFFFFFFFFu;
    return settings;
}
