#include "skin_model/separate_info.h"

namespace {

// Sections Scheme_H2 and Scheme_V2; where the vertical form differs, its defaults follow
// the horizontal ones. The vertical form resets its pinyin margins to 3,3,4,8, though a
// missing key loads 4,3,4,8 in both forms.
const t_layoutKey c_keys[] = {
    LayoutPicture(L"pinyin_pic", &SeparateInfo::pinyinPic, &SeparateInfo::pinyinHasPic, L"_1"),
    LayoutPicture(L"pinyin_pic_mask", &SeparateInfo::pinyinPicMask, &SeparateInfo::pinyinHasPic, L"_1_mask", true),
    LayoutList(L"pinyin_layout_horizontal", &SeparateInfo::pinyinLayoutHorizontal, {L"0,20,100", {0, 20, 100}}),
    LayoutList(L"pinyin_layout_vertical", &SeparateInfo::pinyinLayoutVertical, {L"0,6,6", {0, 6, 6}}),
    LayoutList(L"pinyin_marge", &SeparateInfo::pinyinMarge, {L"4,3,4,8", {4, 3, 4, 8}}, {L"4,3,4,8", {3, 3, 4, 8}}),
    LayoutPicture(L"zhongwen_pic", &SeparateInfo::zhongwenPic, &SeparateInfo::zhongwenHasPic, L"_2"),
    LayoutPicture(L"zhongwen_pic_mask", &SeparateInfo::zhongwenPicMask, &SeparateInfo::zhongwenHasPic, L"_2_mask",
                  true),
    LayoutList(L"zhongwen_layout_horizontal", &SeparateInfo::zhongwenLayoutHorizontal, {L"0,20,100", {0, 20, 100}}),
    LayoutList(L"zhongwen_layout_vertical", &SeparateInfo::zhongwenLayoutVertical, {L"0,6,2", {0, 6, 2}},
               {L"0,6,6", {0, 6, 6}}),
    LayoutList(L"zhongwen_marge", &SeparateInfo::zhongwenMarge, {L"4,3,4,8", {4, 3, 4, 8}}, {L"3,3,4,8", {3, 3, 4, 8}}),
};

}  // namespace

SeparateInfo::SeparateInfo(const wchar_t* section, const wchar_t* picturePrefix, bool vertical)
    : LayoutInfo(section, picturePrefix, c_keys, static_cast<int>(sizeof(c_keys) / sizeof(c_keys[0])), vertical)
{
    Reset();
}
