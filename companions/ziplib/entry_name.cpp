#include "companions/ziplib/entry_name.h"

#include <windows.h>
#include <zlib.h>

#include <cstring>
#include <cwchar>

namespace n_zipName {

namespace {

bool Decode(UINT codePage, const char* raw, size_t size, std::wstring& out)
{
    out.clear();
    if (size == 0)
        return true;
    if (size > 0x7fffffff)
        return false;
    const int n = MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, raw, static_cast<int>(size), nullptr, 0);
    if (n <= 0)
        return false;
    out.resize(static_cast<size_t>(n));
    return MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, raw, static_cast<int>(size), &out[0], n) == n;
}

uint16_t Le16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
uint32_t Le32(const uint8_t* p)
{
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) | (static_cast<uint32_t>(p[2]) << 16) |
           (static_cast<uint32_t>(p[3]) << 24);
}

// The Info-ZIP Unicode Path field: id 0x7075, size, version 1, CRC-32 of the raw header
// name, then the UTF-8 name. A CRC that does not match means another tool renamed the
// entry since, and the header name holds.
bool UnicodePathField(const char* raw, size_t rawSize, const uint8_t* extra, size_t extraSize, std::wstring& out)
{
    size_t at = 0;
    while (extraSize - at >= 4) {
        const uint16_t id = Le16(extra + at);
        const uint16_t size = Le16(extra + at + 2);
        at += 4;
        if (size > extraSize - at)
            return false;
        if (id == 0x7075 && size >= 5 && extra[at] == 1) {
            const uLong crc = crc32(0L, reinterpret_cast<const Bytef*>(raw), static_cast<uInt>(rawSize));
            if (Le32(extra + at + 1) != crc)
                return false;
            return Decode(CP_UTF8, reinterpret_cast<const char*>(extra + at + 5), size - 5, out);
        }
        at += size;
    }
    return false;
}

bool IsReservedDevice(const std::wstring& part)
{
    // The base name before the first dot, trailing blanks dropped, is what Windows checks.
    std::wstring base = part.substr(0, part.find(L'.'));
    while (!base.empty() && base.back() == L' ')
        base.pop_back();
    static const wchar_t* const c_names[] = {L"CON", L"PRN", L"AUX", L"NUL", L"CONIN$", L"CONOUT$", L"CLOCK$"};
    for (const wchar_t* name : c_names) {
        if (_wcsicmp(base.c_str(), name) == 0)
            return true;
    }
    if (base.size() == 4 && (_wcsnicmp(base.c_str(), L"COM", 3) == 0 || _wcsnicmp(base.c_str(), L"LPT", 3) == 0)) {
        const wchar_t d = base[3];
        // Windows also reserves the superscript digits 1 to 3.
        return (d >= L'0' && d <= L'9') || d == 0x00B9 || d == 0x00B2 || d == 0x00B3;
    }
    return false;
}

bool IsSafePart(const std::wstring& part)
{
    if (part.empty())
        return false;
    bool onlyDotsAndBlanks = true;
    for (wchar_t c : part) {
        if (c < 0x20 || wcschr(L"<>\"|?*:", c))
            return false;
        if (c != L'.' && c != L' ')
            onlyDotsAndBlanks = false;
    }
    if (onlyDotsAndBlanks)
        return false;
    if (part.back() == L'.' || part.back() == L' ')
        return false;
    return !IsReservedDevice(part);
}

}  // namespace

bool Decode(const char* raw, size_t rawSize, uint16_t flags, const uint8_t* extra, size_t extraSize, uint8_t madeByHost,
            std::wstring& out)
{
    if (flags & c_flagUtf8)
        return Decode(CP_UTF8, raw, rawSize, out);
    if (extra && extraSize && UnicodePathField(raw, rawSize, extra, extraSize, out))
        return true;
    if ((madeByHost == c_hostUnix || madeByHost == c_hostOsx) && Decode(CP_UTF8, raw, rawSize, out))
        return true;
    return Decode(936, raw, rawSize, out);
}

bool MakeSafeRelative(std::wstring& name, bool& directory)
{
    directory = false;
    for (wchar_t& c : name) {
        if (c == L'/')
            c = L'\\';
    }
    if (!name.empty() && name.back() == L'\\') {
        directory = true;
        name.pop_back();
    }
    if (name.empty() || name[0] == L'\\')
        return false;
    size_t start = 0;
    for (;;) {
        const size_t end = name.find(L'\\', start);
        if (!IsSafePart(name.substr(start, end == std::wstring::npos ? std::wstring::npos : end - start)))
            return false;
        if (end == std::wstring::npos)
            return true;
        start = end + 1;
    }
}

std::wstring Key(const std::wstring& name)
{
    std::wstring key = name;
    for (wchar_t& c : key) {
        if (c == L'/')
            c = L'\\';
    }
    if (!key.empty() && key.size() < 0x7fffffff)
        LCMapStringW(LOCALE_INVARIANT, LCMAP_UPPERCASE, key.c_str(), static_cast<int>(key.size()), &key[0],
                     static_cast<int>(key.size()));
    return key;
}

namespace {

// Encodes text in the code page; false when a character has no exact form there.
bool Encode(UINT codePage, const std::wstring& text, std::string& out)
{
    out.clear();
    if (text.empty())
        return true;
    if (text.size() > 0x3fffffff)
        return false;
    // UTF-8 reports bad characters by failing; other code pages through the lossy flag,
    // which UTF-8 does not accept.
    const bool utf8 = codePage == CP_UTF8;
    const DWORD flags = utf8 ? WC_ERR_INVALID_CHARS : WC_NO_BEST_FIT_CHARS;
    BOOL lossy = FALSE;
    BOOL* lossyOut = utf8 ? nullptr : &lossy;
    const int length = static_cast<int>(text.size());
    const int n = WideCharToMultiByte(codePage, flags, text.c_str(), length, nullptr, 0, nullptr, lossyOut);
    if (n <= 0 || lossy)
        return false;
    out.resize(static_cast<size_t>(n));
    return WideCharToMultiByte(codePage, flags, text.c_str(), length, &out[0], n, nullptr, lossyOut) == n && !lossy;
}

}  // namespace

bool ToUtf8(const std::wstring& text, std::string& out) { return Encode(CP_UTF8, text, out); }

bool FromCp936(const char* text, std::wstring& out) { return text && Decode(936, text, strlen(text), out); }

bool ToCp936(const std::wstring& text, std::string& out)
{
    if (!Encode(936, text, out))
        return false;
    // Best-fit is off, yet check the way back too: only an exact round trip names the same file.
    std::wstring back;
    return Decode(936, out.data(), out.size(), back) && back == text;
}

}  // namespace n_zipName
