#include "skin_model/general_info.h"

#include <cwchar>

namespace {

const wchar_t c_section[] = L"General";

// Today's local date as "%Y.%m.%d".
void FormatToday(wchar_t (&out)[100])
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    _snwprintf(out, 99, L"%04u.%02u.%02u", now.wYear, now.wMonth, now.wDay);
    out[99] = 0;
}

}  // namespace

GeneralInfo::GeneralInfo() { Reset(); }

bool GeneralInfo::Load()
{
    // A skin without a date receives the date of the day it is opened.
    wchar_t today[100];
    FormatToday(today);
    ReadString(c_section, L"skin_name", L"未命名皮肤", skinName);
    ReadString(c_section, L"skin_version", L"0.9", skinVersion);
    ReadString(c_section, L"skin_author", L"匿名", skinAuthor);
    ReadString(c_section, L"skin_email", L"", skinEmail);
    ReadString(c_section, L"skin_time", today, skinTime);
    ReadString(c_section, L"skin_info", L"欢迎大家使用", skinInfo);
    return true;
}

bool GeneralInfo::Save()
{
    bool ok = WriteString(c_section, L"skin_name", skinName);
    ok &= WriteString(c_section, L"skin_version", skinVersion);
    ok &= WriteString(c_section, L"skin_author", skinAuthor);
    ok &= WriteString(c_section, L"skin_email", skinEmail);
    ok &= WriteString(c_section, L"skin_time", skinTime);
    ok &= WriteString(c_section, L"skin_info", skinInfo);
    return ok;
}

bool GeneralInfo::Reset()
{
    skinName[0] = skinVersion[0] = skinAuthor[0] = skinEmail[0] = skinTime[0] = skinInfo[0] = 0;
    return true;
}
