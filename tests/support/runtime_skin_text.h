// Test helper: a runtime skin loaded from the text of a Skin.ini held in memory, with the
// skin switched on at font size 16 (so that no zoom applies and the file's colours hold).
#pragma once

#include <string>

#include "ime_ui/skin/skin_config_file.h"
#include "ime_ui/skin/ui_skin_data.h"
#include "tests/support/utf16_file.h"
#include "toolkit/controls/ui_settings.h"

// settings must outlive skin, which keeps a pointer to it.
inline void LoadRuntimeSkinText(t_uiSkinData& skin, t_uiSettings& settings, const std::wstring& iniText)
{
    settings = t_uiSettings{};
    settings.skinEnabled = true;
    settings.fontSize = 16;
    skin.SetSettings(&settings);
    const std::string bytes = Utf16File(iniText);
    SkinConfigFile parsed;
    parsed.ParseDefault(bytes.data(), bytes.size());
    skin.LoadConfig(parsed);
}
