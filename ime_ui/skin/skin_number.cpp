#include "ime_ui/skin/skin_number.h"

#include "skin_model/skin_ini.h"

#include <cerrno>
#include <climits>
#include <cwchar>

namespace {

bool IsEmpty(const wchar_t* text) { return !text || !*text; }

}  // namespace

bool ParseSkinDecimal(const wchar_t* text, int& out)
{
    if (IsEmpty(text))
        return false;
    wchar_t* end = nullptr;
    errno = 0;
    const long long value = wcstoll(text, &end, 10);
    if (end == text || *end != 0 || errno == ERANGE)
        return false;
    // The limits themselves are taken as the overflow they usually are.
    if (value >= INT_MAX || value <= INT_MIN)
        return false;
    out = static_cast<int>(value);
    return true;
}

bool ParseSkinNumber(const wchar_t* text, int& out)
{
    if (IsEmpty(text))
        return false;
    if (text[0] != L'0' || (text[1] != L'x' && text[1] != L'X'))
        return ParseSkinDecimal(text, out);
    // Digits only: the C conversion would also take blanks, a sign or a second "0x" here.
    const wchar_t* digits = text + 2;
    if (!*digits)
        return false;
    unsigned long long value = 0;
    for (const wchar_t* at = digits; *at; ++at) {
        const int digit = HexDigitValue(*at);
        if (digit < 0)
            return false;
        value = value * 16 + unsigned(digit);
        if (value > 0xFFFFFFFFull)
            return false;
    }
    out = static_cast<int>(static_cast<unsigned>(value));
    return true;
}

bool MakeSkinKey(const wchar_t* name, const wchar_t* prefix, wchar_t (&out)[c_skinKeyChars])
{
    const bool hasName = !IsEmpty(name);
    const bool hasPrefix = !IsEmpty(prefix);
    if (!hasName && !hasPrefix)
        return true;
    const size_t nameLength = hasName ? wcslen(name) : 0;
    const size_t prefixLength = hasPrefix ? wcslen(prefix) : 0;
    const size_t total = nameLength + prefixLength + (hasName && hasPrefix ? 1 : 0);
    if (total >= static_cast<size_t>(c_skinKeyChars)) {
        out[0] = 0;
        return false;
    }
    size_t at = 0;
    if (hasPrefix) {
        wmemcpy(out, prefix, prefixLength);
        at = prefixLength;
        if (hasName)
            out[at++] = L'_';
    }
    if (hasName) {
        wmemcpy(out + at, name, nameLength);
        at += nameLength;
    }
    out[at] = 0;
    return true;
}
