#include "toolkit/richhint/rich_hint_attributes.h"

#include <climits>

void SplitRichHintPieces(const wchar_t* text, int length, wchar_t separator, bool honourQuotes,
                         itl::ImmSimpleArray<t_str>& pieces)
{
    if (!text || length <= 0)
        return;
    bool quoted = false;
    int start = 0;
    for (int i = 0; i < length; ++i) {
        const wchar_t c = text[i];
        if (honourQuotes && c == L'"') {
            quoted = !quoted;
        } else if (c == separator && !quoted && i > 0) {
            if (i > start) {
                t_str piece;
                piece.AssignN(text + start, i - start);
                pieces.Add(piece);
            }
            start = i + 1;
        }
    }
    if (length > start) {
        t_str piece;
        piece.AssignN(text + start, length - start);
        pieces.Add(piece);
    }
}

void ParseRichHintAttributes(const wchar_t* token, int length, bool quotedEquals,
                             itl::ImmSimpleArray<t_richHintAttribute>& attributes)
{
    if (!token || length <= 0)
        return;
    int end = length;
    if (token[end - 1] == L'>')
        --end;
    // The list starts after the tag name and the blank that ends it.
    int start = 0;
    while (start < end && token[start] != L' ')
        ++start;
    if (start >= end)
        return;
    ++start;
    itl::ImmSimpleArray<t_str> pieces;
    SplitRichHintPieces(token + start, end - start, L' ', true, pieces);
    for (int i = 0; i < pieces.Count(); ++i) {
        itl::ImmSimpleArray<t_str> parts;
        SplitRichHintPieces(pieces[i].c_str(), pieces[i].Length(), L'=', quotedEquals, parts);
        if (parts.Count() == 0)
            continue;
        t_richHintAttribute attribute;
        attribute.name = parts[0];
        if (parts.Count() > 1)
            attribute.value = parts[1];
        attributes.Add(attribute);
    }
}

t_str RichHintQuoted(const t_str& value)
{
    t_str out;
    if (value.Length() >= 2)
        out.AssignN(value.c_str() + 1, value.Length() - 2);
    return out;
}

int RichHintInt(const t_str& value)
{
    const wchar_t* p = value.c_str();
    bool negative = false;
    if (*p == L'-' || *p == L'+') {
        negative = *p == L'-';
        ++p;
    }
    long long n = 0;
    for (; *p >= L'0' && *p <= L'9'; ++p) {
        n = n * 10 + (*p - L'0');
        if (n > static_cast<long long>(INT_MAX) + 1)
            n = static_cast<long long>(INT_MAX) + 1;
    }
    if (negative)
        n = -n;
    if (n > INT_MAX)
        n = INT_MAX;
    return static_cast<int>(n);
}

uint32_t RichHintColor(const t_str& value)
{
    const wchar_t* p = value.c_str();
    uint32_t n = 0;
    for (int i = 0; i < 8; ++i, ++p) {
        const wchar_t c = *p;
        int digit;
        if (c >= L'0' && c <= L'9')
            digit = c - L'0';
        else if (c >= L'a' && c <= L'f')
            digit = c - L'a' + 10;
        else if (c >= L'A' && c <= L'F')
            digit = c - L'A' + 10;
        else
            break;
        n = (n << 4) | static_cast<uint32_t>(digit);
    }
    return n | 0xFF000000u;
}

int RichHintAlign(const t_str& value)
{
    if (value.Equals(L"right"))
        return 2;
    if (value.Equals(L"center"))
        return 1;
    return 0;
}
