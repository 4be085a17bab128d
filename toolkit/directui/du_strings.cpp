#include "toolkit/directui/du_strings.h"

#include <windows.h>

#include <cwchar>
#include <new>

namespace DirectUI {

wchar_t* DupString(const wchar_t* text)
{
    if (!text)
        return nullptr;
    size_t length = wcslen(text);
    wchar_t* copy = new (std::nothrow) wchar_t[length + 1];
    if (copy)
        wmemcpy(copy, text, length + 1);
    return copy;
}

char* WideToUtf8(const wchar_t* text)
{
    if (!text)
        return nullptr;
    int bytes = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (bytes <= 0)
        return nullptr;
    char* out = new (std::nothrow) char[bytes];
    if (out && WideCharToMultiByte(CP_UTF8, 0, text, -1, out, bytes, nullptr, nullptr) != bytes) {
        delete[] out;
        return nullptr;
    }
    return out;
}

wchar_t* Utf8ToWide(const char* text)
{
    if (!text)
        return nullptr;
    int chars = MultiByteToWideChar(CP_UTF8, 0, text, -1, nullptr, 0);
    if (chars <= 0)
        return nullptr;
    wchar_t* out = new (std::nothrow) wchar_t[chars];
    if (out && MultiByteToWideChar(CP_UTF8, 0, text, -1, out, chars) != chars) {
        delete[] out;
        return nullptr;
    }
    return out;
}

int ParseLeadingInt(const wchar_t* value, int low, int high)
{
    if (!value)
        return low > 0 ? low : (high < 0 ? high : 0);
    const wchar_t* p = value;
    while (*p == L' ' || *p == L'\t')
        ++p;
    bool negative = false;
    if (*p == L'-' || *p == L'+')
        negative = *p++ == L'-';
    long long number = 0;
    for (; *p >= L'0' && *p <= L'9'; ++p) {
        // Saturate instead of overflowing on absurdly long digit runs.
        if (number < 10000000000LL)
            number = number * 10 + (*p - L'0');
    }
    if (negative)
        number = -number;
    if (number < low)
        return low;
    if (number > high)
        return high;
    return static_cast<int>(number);
}

}  // namespace DirectUI
