// The UI settings of the input method's skinned windows: a snapshot of the environment
// entries they read, taken once by BuildUiSettings. The windows read it at each use and
// write back the few positions and status-bar choices the user changes.
#pragma once

#include <cstdint>

class t_env;

struct t_uiSettings {
    // Text fields hold at most this many units, terminator included.
    static const int c_textChars = 260;

    wchar_t activeSkinName[c_textChars];
    wchar_t fontCh[c_textChars];
    wchar_t fontEn[c_textChars];
    wchar_t invalidSkinName[c_textChars];
    bool clearFontEdge;
    bool skinEnabled;
    bool ignoreSkinFontSetting;
    bool ignoreSkinColorSetting;
    bool cursorFollow;
    bool hideStatusWhenFullScreen;
    bool showLangBar;
    bool shuangPin;
    bool showSearchBtn;
    uint32_t timeChangeSkin;
    bool shortCutFanJian;
    bool shortcutOn;
    bool shortCutMenu;
    int32_t keyEnCnSwitch;
    int32_t keyFanJianSwitch;
    int32_t keySoftKeyboardSwitch;
    int32_t keyMenuSwitch;
    bool quanPin;
    int32_t fontSize;
    int32_t colorPinyin;
    int32_t colorNonPrimary;
    int32_t colorPrimary;
    int32_t colorCursor;
    int32_t colorBorder;
    int32_t statusPosX;
    int32_t statusPosY;
    int32_t compPosX;
    int32_t compPosY;
    int32_t candStyle;
    int32_t colorBackground;
    int32_t pageSize;
    int32_t compStyle;
    int32_t candAlign;
    int32_t statusAppearance;
    int32_t softKbdIndex;
    uint32_t invalidSkinTime;
    bool isotropicSkin;
    bool ignoreSkinColorSettingReal;
    bool flashDebugMode;
    uint32_t statusBtnFlag;   // bit n set shows built-in status button kind n
    uint32_t statusBtnColor;  // colour of the status-bar button icons
};

// Fills every field from the environment: each value is the one the environment stores,
// else the entry's default. Texts longer than 259 units are cut and terminated.
void BuildUiSettings(const t_env& env, t_uiSettings& settings);
