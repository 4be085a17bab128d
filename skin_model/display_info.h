// The display part (index 1) of the skin model: fonts, colours and switches of section
// Display of Skin.ini, plus two values that only the editor's preview uses.
#pragma once

#include "skin_model/base_info.h"

class DisplayInfo : public BaseInfo {
public:
    DisplayInfo();

    // The display keeps its values when the skin closes.
    bool Clear() override { return true; }
    bool Load() override;
    bool Save() override;
    bool Reset() override;
    t_partIndex PartIndex() const override { return t_partIndex::e_display; }
    bool UsesPngOrGif() const override { return false; }

    int fontSize;
    wchar_t fontCh[c_pathChars];
    wchar_t fontEn[c_pathChars];
    COLORREF pinyinColor;
    COLORREF zhongwenFirstColor;
    COLORREF zhongwenColor;
    COLORREF comphintColor;
    wchar_t webpage[c_longTextChars];
    bool useGdip;
    // Never read from or written to Skin.ini; a reset takes the count from the
    // editor's settings ("candsize" of section Preview).
    int previewCandCount;
    int previewFontSize;
    // The negation of LargeFontSupport.
    bool largeFontDisabled;
    bool aero;
    bool glow;
};
