#include "foundation/core/version_text.h"

#include <cwchar>

namespace {

const int c_maxVersionText = 31;

// Leading decimal digits of text[from, end), saturated so that long digit runs cannot wrap.
uint32_t LeadingNumber(const wchar_t* text, int from, int end)
{
    uint32_t value = 0;
    for (int i = from; i < end && text[i] >= L'0' && text[i] <= L'9'; ++i) {
        const uint32_t digit = static_cast<uint32_t>(text[i] - L'0');
        value = value > (0xffffffffu - digit) / 10 ? 0xffffffffu : value * 10 + digit;
    }
    return value;
}

// Walks the dot-separated parts of a text of known length.
class t_partReader {
public:
    t_partReader(const wchar_t* text, int length) : m_text(text), m_length(length) {}

    // The next part as [begin, end); false when the text has no more parts.
    bool Next(int& begin, int& end)
    {
        if (m_pos >= m_length)
            return false;
        begin = m_pos;
        end = begin;
        while (end < m_length && m_text[end] != L'.')
            ++end;
        m_pos = end + 1;
        return true;
    }

private:
    const wchar_t* m_text;
    int m_length;
    int m_pos = 0;
};

int BoundedLength(const wchar_t* text, int limit)
{
    int n = 0;
    while (text && n < limit && text[n])
        ++n;
    return n;
}

}  // namespace

int CompareVersionText(const wchar_t* first, const wchar_t* second, int parts)
{
    const wchar_t* a = first ? first : L"";
    const wchar_t* b = second ? second : L"";
    t_partReader readA(a, BoundedLength(a, c_maxVersionText));
    t_partReader readB(b, BoundedLength(b, c_maxVersionText));
    for (int i = 0; i < parts; ++i) {
        int beginA = 0, endA = 0, beginB = 0, endB = 0;
        const bool hasA = readA.Next(beginA, endA);
        const bool hasB = readB.Next(beginB, endB);
        if (!hasA)
            return hasB ? -1 : 0;
        if (!hasB)
            return 1;
        const uint32_t x = LeadingNumber(a, beginA, endA);
        const uint32_t y = LeadingNumber(b, beginB, endB);
        if (x != y)
            return x > y ? 1 : -1;
    }
    return 0;
}

bool MatchVersionPattern(const wchar_t* pattern, const uint16_t version[4])
{
    if (!pattern)
        return true;
    int length = static_cast<int>(wcslen(pattern));
    // 0: every numeric part equal; 1: at least; -1: at most.
    int direction = 0;
    if (length > 0 && (pattern[length - 1] == L'+' || pattern[length - 1] == L'-')) {
        direction = pattern[length - 1] == L'+' ? 1 : -1;
        --length;
    }
    t_partReader reader(pattern, length);
    for (int i = 0; i < 4; ++i) {
        int begin = 0, end = 0;
        if (!reader.Next(begin, end))
            break;
        const bool wildcard =
            end - begin == 1 && (pattern[begin] == L'*' || pattern[begin] == L'X' || pattern[begin] == L'x');
        if (wildcard)
            continue;
        const uint32_t wanted = LeadingNumber(pattern, begin, end);
        const uint32_t actual = version[i];
        if (actual == wanted)
            continue;
        if (direction == 0)
            return false;
        // The first differing numeric part decides.
        return direction > 0 ? actual > wanted : actual < wanted;
    }
    return true;
}
