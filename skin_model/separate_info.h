// The separate window layouts: a composition (pinyin) window and a candidate window,
// each with its own background picture, stretch settings and margins.
#pragma once

#include "skin_model/layout_info.h"

class SeparateInfo : public LayoutInfo {
public:
    bool pinyinHasPic;
    wchar_t pinyinPic[c_pathChars];
    wchar_t pinyinPicMask[c_pathChars];
    int pinyinLayoutHorizontal[3];
    int pinyinLayoutVertical[3];
    int pinyinMarge[4];
    bool zhongwenHasPic;
    wchar_t zhongwenPic[c_pathChars];
    wchar_t zhongwenPicMask[c_pathChars];
    int zhongwenLayoutHorizontal[3];
    int zhongwenLayoutVertical[3];
    int zhongwenMarge[4];

protected:
    SeparateInfo(const wchar_t* section, const wchar_t* picturePrefix, bool vertical);
};

// The horizontal separate part (index 3): section Scheme_H2, pictures skin1_1* and skin1_2*.
class HorizontalSeparateInfo : public SeparateInfo {
public:
    HorizontalSeparateInfo() : SeparateInfo(L"Scheme_H2", L"skin1", false) {}
    t_partIndex PartIndex() const override { return t_partIndex::e_horizontalSeparate; }
};

// The vertical separate part (index 5): section Scheme_V2, pictures skin2_1* and skin2_2*.
class VerticalSeparateInfo : public SeparateInfo {
public:
    VerticalSeparateInfo() : SeparateInfo(L"Scheme_V2", L"skin2", true) {}
    t_partIndex PartIndex() const override { return t_partIndex::e_verticalSeparate; }
};
