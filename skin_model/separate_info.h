// The separate window layouts: a composition (pinyin) window and a candidate window,
// each with its own background picture, stretch settings and margins.
#pragma once

#include "skin_model/layout_info.h"

class SeparateInfo : public LayoutInfo {
public:
    bool Load() override;
    bool Reset() override;
    bool UsesPngOrGif() const override;

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

    // What differs between the horizontal and the vertical form.
    struct t_form {
        const wchar_t* section;
        const wchar_t* picturePrefix;
        int pinyinMargeReset[4];
        int zhongwenLayoutVertical[3];
        const wchar_t* zhongwenLayoutVerticalText;
        int zhongwenMarge[4];
        const wchar_t* zhongwenMargeText;
    };

protected:
    explicit SeparateInfo(const t_form& form);

    bool ImportOwnPictures(t_errorChain& errors) override;
    bool WriteKeys() override;

private:
    t_background PinyinBackground() { return {pinyinPic, pinyinPicMask, pinyinLayoutHorizontal, pinyinLayoutVertical}; }
    t_background ZhongwenBackground()
    {
        return {zhongwenPic, zhongwenPicMask, zhongwenLayoutHorizontal, zhongwenLayoutVertical};
    }

    const t_form& m_form;
};

// Section Scheme_H2, pictures skin1_1* and skin1_2*.
class HorizontalSeparateInfo : public SeparateInfo {
public:
    HorizontalSeparateInfo();
    int PartIndex() const override { return 3; }
};

// Section Scheme_V2, pictures skin2_1* and skin2_2*.
class VerticalSeparateInfo : public SeparateInfo {
public:
    VerticalSeparateInfo();
    int PartIndex() const override { return 5; }
};
