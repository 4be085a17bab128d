#include "skin_model/picture_path.h"

#include <windows.h>

#include <cwchar>
#include <set>
#include <string>
#include <vector>

namespace n_picturePath {

namespace {

const wchar_t* const c_fileExtensions[] = {L"bmp", L"png", L"gif", L"jpg", L"jpeg", L"tif", L"tiff", L"swf"};

bool SameNoCase(const wchar_t* a, size_t aLength, const wchar_t* b)
{
    return CompareStringOrdinal(a, int(aLength), b, -1, TRUE) == CSTR_EQUAL;
}

bool IsSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t'; }

// CON, PRN, AUX, NUL, COM1..9, LPT1..9, CONIN$ and CONOUT$, whatever follows a '.'.
bool IsDeviceName(const wchar_t* part, size_t length)
{
    size_t base = 0;
    while (base < length && part[base] != L'.')
        ++base;
    while (base > 0 && part[base - 1] == L' ')
        --base;
    for (const wchar_t* device : {L"CON", L"PRN", L"AUX", L"NUL", L"CONIN$", L"CONOUT$"}) {
        if (SameNoCase(part, base, device))
            return true;
    }
    if (base == 4 && part[3] >= L'1' && part[3] <= L'9')
        return SameNoCase(part, 3, L"COM") || SameNoCase(part, 3, L"LPT");
    return false;
}

// The trimmed name of an item: the text before any '<', without blanks at either end.
std::wstring ItemName(const std::wstring& item)
{
    size_t end = item.find(L'<');
    if (end == std::wstring::npos)
        end = item.size();
    size_t begin = 0;
    while (begin < end && IsBlank(item[begin]))
        ++begin;
    while (end > begin && IsBlank(item[end - 1]))
        --end;
    return item.substr(begin, end - begin);
}

}  // namespace

bool StaysInside(const wchar_t* name)
{
    if (!name)
        return true;
    if (wcschr(name, L':') || IsSeparator(name[0]))
        return false;
    int depth = 0;
    const wchar_t* part = name;
    while (*part) {
        size_t length = 0;
        while (part[length] && !IsSeparator(part[length]))
            ++length;
        size_t meaningful = length;
        while (meaningful > 0 && (part[meaningful - 1] == L'.' || part[meaningful - 1] == L' '))
            --meaningful;
        if (length == 2 && part[0] == L'.' && part[1] == L'.') {
            if (--depth < 0)
                return false;
        } else if (length == 1 && part[0] == L'.') {
        } else if (length > 0 && meaningful == 0) {
            return false;
        } else if (length > 0) {
            if (IsDeviceName(part, length))
                return false;
            ++depth;
        }
        part += length;
        if (*part)
            ++part;
    }
    return true;
}

bool NamesAFile(const wchar_t* name)
{
    if (!name)
        return false;
    const wchar_t* dot = wcsrchr(name, L'.');
    if (!dot || dot == name)
        return false;
    for (const wchar_t* extension : c_fileExtensions) {
        if (SameNoCase(dot + 1, wcslen(dot + 1), extension))
            return true;
    }
    return false;
}

int RefuseOutside(t_iniDocument& document, t_errorChain& notes)
{
    t_iniFile* root = document.ParsedRoot();
    if (!root)
        return 0;
    int changed = 0;
    std::set<std::wstring> reported;
    for (int i = 0; i < root->LineCount(); ++i) {
        if (!root->IsNameLine(i))
            continue;
        t_iniSection* section = root->FindSection(root->Line(i));
        if (!section)
            continue;
        for (int j = 0; j < section->LineCount(); ++j) {
            if (!section->IsNameLine(j))
                continue;
            const wchar_t* key = section->Line(j);
            const wchar_t* value = section->Value(key);
            if (!value || !value[0])
                continue;
            // Items are cut at every ',' as the cleaner and the button cells cut them.
            const std::wstring text(value);
            std::wstring rebuilt;
            bool refused = false;
            size_t start = 0;
            for (;;) {
                const size_t comma = text.find(L',', start);
                const std::wstring item =
                    text.substr(start, comma == std::wstring::npos ? std::wstring::npos : comma - start);
                const std::wstring name = ItemName(item);
                if (NamesAFile(name.c_str()) && !StaysInside(name.c_str()))
                    refused = true;
                else
                    rebuilt += item;
                if (comma == std::wstring::npos)
                    break;
                rebuilt += L',';
                start = comma + 1;
            }
            if (!refused)
                continue;
            if (reported.insert(text).second)
                notes.NewLine().AppendFormat(L"图片路径无效:%s", text.c_str());
            // Only items change: the key keeps its place, the section's lines stay as they are.
            section->SetKey(key, rebuilt.c_str());
            ++changed;
        }
    }
    return changed;
}

}  // namespace n_picturePath
