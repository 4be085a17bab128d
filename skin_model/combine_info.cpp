#include "skin_model/combine_info.h"

namespace {

// Sections Scheme_H1 and Scheme_V1 alike. A new skin's margins and separator differ from
// what a missing key loads.
const t_layoutKey c_keys[] = {
    LayoutPicture(L"pic", &CombineInfo::pic, &CombineInfo::hasPic, L""),
    LayoutPicture(L"pic_mask", &CombineInfo::picMask, &CombineInfo::hasPic, L"_mask", true),
    LayoutList(L"layout_horizontal", &CombineInfo::layoutHorizontal, {L"0,20,100", {0, 20, 100}}),
    LayoutList(L"layout_vertical", &CombineInfo::layoutVertical, {L"0,6,6", {0, 6, 6}}),
    LayoutList(L"separator", &CombineInfo::separator, {L"0x0,4,4", {0, 4, 4}}, {}, &CombineInfo::separatorEnabled),
    LayoutList(L"pinyin_marge", &CombineInfo::pinyinMarge, {L"4,2,4,8", {8, 4, 2, 4}}),
    LayoutList(L"zhongwen_marge", &CombineInfo::zhongwenMarge, {L"2,3,4,8", {2, 8, 3, 4}}),
};

}  // namespace

CombineInfo::CombineInfo(const wchar_t* section, const wchar_t* picturePrefix)
    : LayoutInfo(section, picturePrefix, c_keys, static_cast<int>(sizeof(c_keys) / sizeof(c_keys[0])), false)
{
    Reset();
}
