#include "skin_model/separate_info.h"

#include <cstring>

namespace {

const int c_layoutHorizontal[3] = {0, 20, 100};
const int c_pinyinLayoutVertical[3] = {0, 6, 6};

// The vertical form resets its pinyin margins to 3,3,4,8, though a missing key loads
// 4,3,4,8 in both forms.
const SeparateInfo::t_form c_horizontal = {L"Scheme_H2", L"skin1",     {4, 3, 4, 8}, {0, 6, 2},
                                           L"0,6,2",     {4, 3, 4, 8}, L"4,3,4,8"};
const SeparateInfo::t_form c_vertical = {L"Scheme_V2", L"skin2",     {3, 3, 4, 8}, {0, 6, 6},
                                         L"0,6,6",     {3, 3, 4, 8}, L"3,3,4,8"};

}  // namespace

SeparateInfo::SeparateInfo(const t_form& form) : LayoutInfo(form.section, form.picturePrefix), m_form(form) { Reset(); }

HorizontalSeparateInfo::HorizontalSeparateInfo() : SeparateInfo(c_horizontal) {}

VerticalSeparateInfo::VerticalSeparateInfo() : SeparateInfo(c_vertical) {}

bool SeparateInfo::Reset()
{
    ResetShared();
    pinyinHasPic = zhongwenHasPic = false;
    pinyinPic[0] = pinyinPicMask[0] = zhongwenPic[0] = zhongwenPicMask[0] = 0;
    memcpy(pinyinLayoutHorizontal, c_layoutHorizontal, sizeof(pinyinLayoutHorizontal));
    memcpy(pinyinLayoutVertical, c_pinyinLayoutVertical, sizeof(pinyinLayoutVertical));
    memcpy(pinyinMarge, m_form.pinyinMargeReset, sizeof(pinyinMarge));
    memcpy(zhongwenLayoutHorizontal, c_layoutHorizontal, sizeof(zhongwenLayoutHorizontal));
    memcpy(zhongwenLayoutVertical, m_form.zhongwenLayoutVertical, sizeof(zhongwenLayoutVertical));
    memcpy(zhongwenMarge, m_form.zhongwenMarge, sizeof(zhongwenMarge));
    return true;
}

bool SeparateInfo::Load()
{
    Reset();
    pinyinHasPic = ReadBackground(L"pinyin_", PinyinBackground(), L"0,6,6");
    ReadList(L"pinyin_marge", L"4,3,4,8", pinyinMarge, 4);
    zhongwenHasPic = ReadBackground(L"zhongwen_", ZhongwenBackground(), m_form.zhongwenLayoutVerticalText);
    ReadList(L"zhongwen_marge", m_form.zhongwenMargeText, zhongwenMarge, 4);
    ReadShared();
    return true;
}

bool SeparateInfo::WriteKeys()
{
    bool ok = WriteBackground(L"pinyin_", PinyinBackground());
    ok &= WriteList(L"pinyin_marge", pinyinMarge, 4);
    ok &= WriteBackground(L"zhongwen_", ZhongwenBackground());
    ok &= WriteList(L"zhongwen_marge", zhongwenMarge, 4);
    ok &= WriteShared();
    return ok;
}

bool SeparateInfo::ImportOwnPictures(t_errorChain& errors)
{
    bool ok = true;
    if (pinyinHasPic)
        ok &= ImportBackground(errors, PinyinBackground(), L"_1");
    if (zhongwenHasPic)
        ok &= ImportBackground(errors, ZhongwenBackground(), L"_2");
    return ok;
}

bool SeparateInfo::UsesPngOrGif() const
{
    return (pinyinHasPic && IsPngOrGif(pinyinPic)) || (zhongwenHasPic && IsPngOrGif(zhongwenPic));
}
