// The combined window layouts: one window holding the composition (pinyin) and the
// candidates, with one background picture and a separator line between the two areas.
#pragma once

#include "skin_model/layout_info.h"

class CombineInfo : public LayoutInfo {
public:
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
};

// The horizontal combined part (index 2): section Scheme_H1, pictures skin1*.
class HorizontalCombineInfo : public CombineInfo {
public:
    HorizontalCombineInfo() : CombineInfo(L"Scheme_H1", L"skin1") {}
    t_partIndex PartIndex() const override { return t_partIndex::e_horizontalCombined; }
};

// The vertical combined part (index 4): section Scheme_V1, pictures skin2*.
class VerticalCombineInfo : public CombineInfo {
public:
    VerticalCombineInfo() : CombineInfo(L"Scheme_V1", L"skin2") {}
    t_partIndex PartIndex() const override { return t_partIndex::e_verticalCombined; }
};
