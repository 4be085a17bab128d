// The combined window layouts: one window holding the composition (pinyin) and the
// candidates, with one background picture and a separator line between the two areas.
#pragma once

#include "skin_model/layout_info.h"

class CombineInfo : public LayoutInfo {
public:
    bool Load() override;
    bool Reset() override;
    bool UsesPngOrGif() const override;

    bool hasPic;
    wchar_t pic[c_pathChars];
    wchar_t picMask[c_pathChars];
    int layoutHorizontal[3];
    int layoutVertical[3];
    bool separatorEnabled;
    // A colour followed by two integers.
    int separator[3];
    int pinyinMarge[4];
    int zhongwenMarge[4];

protected:
    CombineInfo(const wchar_t* section, const wchar_t* picturePrefix);

    bool ImportOwnPictures(t_errorChain& errors) override;
    bool WriteKeys() override;

private:
    t_background Background() { return {pic, picMask, layoutHorizontal, layoutVertical}; }
};

// Section Scheme_H1, pictures skin1*.
class HorizontalCombineInfo : public CombineInfo {
public:
    HorizontalCombineInfo() : CombineInfo(L"Scheme_H1", L"skin1") {}
    int PartIndex() const override { return 2; }
};

// Section Scheme_V1, pictures skin2*.
class VerticalCombineInfo : public CombineInfo {
public:
    VerticalCombineInfo() : CombineInfo(L"Scheme_V1", L"skin2") {}
    int PartIndex() const override { return 4; }
};
