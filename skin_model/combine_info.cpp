#include "skin_model/combine_info.h"

#include <cstring>

namespace {

// Values of a new skin; a loaded key that holds fewer values keeps these.
const int c_layoutHorizontal[3] = {0, 20, 100};
const int c_layoutVertical[3] = {0, 6, 6};
const int c_separator[3] = {0, 4, 4};
const int c_pinyinMarge[4] = {8, 4, 2, 4};
const int c_zhongwenMarge[4] = {2, 8, 3, 4};

}  // namespace

CombineInfo::CombineInfo(const wchar_t* section, const wchar_t* picturePrefix) : LayoutInfo(section, picturePrefix)
{
    Reset();
}

bool CombineInfo::Reset()
{
    ResetShared();
    hasPic = false;
    pic[0] = picMask[0] = 0;
    memcpy(layoutHorizontal, c_layoutHorizontal, sizeof(layoutHorizontal));
    memcpy(layoutVertical, c_layoutVertical, sizeof(layoutVertical));
    separatorEnabled = true;
    memcpy(separator, c_separator, sizeof(separator));
    memcpy(pinyinMarge, c_pinyinMarge, sizeof(pinyinMarge));
    memcpy(zhongwenMarge, c_zhongwenMarge, sizeof(zhongwenMarge));
    return true;
}

bool CombineInfo::Load()
{
    Reset();
    hasPic = ReadBackground(L"", Background(), L"0,6,6");

    // Without a separator key the line is off and keeps the values of "0x0,4,4".
    wchar_t text[c_pathChars];
    ReadString(m_section, L"separator", L"", text);
    separatorEnabled = text[0] != 0;
    ParseIntList(separatorEnabled ? text : L"0x0,4,4", separator, 3);

    // A missing margin key loads other values than a new skin starts with.
    ReadList(L"pinyin_marge", L"4,2,4,8", pinyinMarge, 4);
    ReadList(L"zhongwen_marge", L"2,3,4,8", zhongwenMarge, 4);
    ReadShared();
    return true;
}

bool CombineInfo::WriteKeys()
{
    bool ok = WriteBackground(L"", Background());
    if (separatorEnabled)
        ok &= WriteList(L"separator", separator, 3, true);
    else
        ok &= WriteString(m_section, L"separator", L"");
    ok &= WriteList(L"pinyin_marge", pinyinMarge, 4);
    ok &= WriteList(L"zhongwen_marge", zhongwenMarge, 4);
    ok &= WriteShared();
    return ok;
}

bool CombineInfo::ImportOwnPictures(t_errorChain& errors)
{
    if (!hasPic)
        return true;
    return ImportBackground(errors, Background(), L"");
}

bool CombineInfo::UsesPngOrGif() const { return hasPic && IsPngOrGif(pic); }
