#include "skin_model/general_info.h"

#include <cwchar>

namespace {

const wchar_t c_section[] = L"General";

// The section's keys in the order they are written. Every text is empty after a reset.
struct t_generalKey {
    const wchar_t* key;
    wchar_t (GeneralInfo::*field)[BaseInfo::c_pathChars];
    // Loaded when the key is missing (a key present but empty loads empty); null: today.
    const wchar_t* missing;
};

const t_generalKey c_keys[] = {
    {L"skin_name", &GeneralInfo::skinName, L"未命名皮肤"}, {L"skin_version", &GeneralInfo::skinVersion, L"0.9"},
    {L"skin_author", &GeneralInfo::skinAuthor, L"匿名"},   {L"skin_email", &GeneralInfo::skinEmail, L""},
    {L"skin_time", &GeneralInfo::skinTime, nullptr},       {L"skin_info", &GeneralInfo::skinInfo, L"欢迎大家使用"},
};

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
    for (const t_generalKey& k : c_keys)
        ReadString(c_section, k.key, k.missing ? k.missing : today, this->*k.field);
    return true;
}

bool GeneralInfo::Save()
{
    bool ok = true;
    for (const t_generalKey& k : c_keys)
        ok &= WriteString(c_section, k.key, this->*k.field);
    return ok;
}

bool GeneralInfo::Reset()
{
    for (const t_generalKey& k : c_keys)
        (this->*k.field)[0] = 0;
    return true;
}
