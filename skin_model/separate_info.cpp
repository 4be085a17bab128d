#include "skin_model/separate_info.h"

#include <cstring>

namespace {

const int c_layoutHorizontal[3] = {0, 20, 100};
const int c_pinyinLayoutVertical[3] = {0, 6, 6};

// The vertical form resets its pinyin margins to 3,3,4,8, though a missing key loads
// 4,3,4,8 in both forms.
const SeparateInfo::t_form c_horizontal = {
    L"Scheme_H2", L"skin1", {4, 3, 4, 8}, {0, 6, 2}, L"0,6,2", {4, 3, 4, 8}, L"4,3,4,8"};
const SeparateInfo::t_form c_vertical = {
    L"Scheme_V2", L"skin2", {3, 3, 4, 8}, {0, 6, 6}, L"0,6,6", {3, 3, 4, 8}, L"3,3,4,8"};

}  // namespace

SeparateInfo::SeparateInfo(const t_form& form)
    : LayoutInfo(form.section, form.picturePrefix), m_form(form)
{
    Reset();
}

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
    ReadPicture(m_section, L"pinyin_pic", pinyinPic);
    pinyinHasPic = pinyinPic[0] != 0;
    ReadPicture(m_section, L"pinyin_pic_mask", pinyinPicMask);
    ReadList(L"pinyin_layout_horizontal", L"0,20,100", pinyinLayoutHorizontal, 3);
    ReadList(L"pinyin_layout_vertical", L"0,6,6", pinyinLayoutVertical, 3);
    ReadList(L"pinyin_marge", L"4,3,4,8", pinyinMarge, 4);

    ReadPicture(m_section, L"zhongwen_pic", zhongwenPic);
    zhongwenHasPic = zhongwenPic[0] != 0;
    ReadPicture(m_section, L"zhongwen_pic_mask", zhongwenPicMask);
    ReadList(L"zhongwen_layout_horizontal", L"0,20,100", zhongwenLayoutHorizontal, 3);
    ReadList(L"zhongwen_layout_vertical", m_form.zhongwenLayoutVerticalText, zhongwenLayoutVertical, 3);
    ReadList(L"zhongwen_marge", m_form.zhongwenMargeText, zhongwenMarge, 4);
    ReadShared();
    return true;
}

bool SeparateInfo::WriteKeys()
{
    bool ok = WriteString(m_section, L"pinyin_pic", pinyinPic);
    ok &= WriteString(m_section, L"pinyin_pic_mask", pinyinPicMask);
    ok &= WriteList(L"pinyin_layout_horizontal", pinyinLayoutHorizontal, 3);
    ok &= WriteList(L"pinyin_layout_vertical", pinyinLayoutVertical, 3);
    ok &= WriteList(L"pinyin_marge", pinyinMarge, 4);
    ok &= WriteString(m_section, L"zhongwen_pic", zhongwenPic);
    ok &= WriteString(m_section, L"zhongwen_pic_mask", zhongwenPicMask);
    ok &= WriteList(L"zhongwen_layout_horizontal", zhongwenLayoutHorizontal, 3);
    ok &= WriteList(L"zhongwen_layout_vertical", zhongwenLayoutVertical, 3);
    ok &= WriteList(L"zhongwen_marge", zhongwenMarge, 4);
    ok &= WriteShared();
    return ok;
}

bool SeparateInfo::ImportOwnPictures(t_errorChain& errors)
{
    bool ok = true;
    if (pinyinHasPic) {
        ok &= Import(errors, pinyinPic, L"_1");
        ok &= Import(errors, pinyinPicMask, L"_1_mask");
    }
    if (zhongwenHasPic) {
        ok &= Import(errors, zhongwenPic, L"_2");
        ok &= Import(errors, zhongwenPicMask, L"_2_mask");
    }
    return ok;
}

bool SeparateInfo::UsesPngOrGif() const
{
    return (pinyinHasPic && IsPngOrGif(pinyinPic)) || (zhongwenHasPic && IsPngOrGif(zhongwenPic));
}
