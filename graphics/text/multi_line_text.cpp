#include "graphics/text/multi_line_text.h"

#include <climits>
#include <cstdlib>
#include <cwchar>

int t_multiLineText::SetText(const wchar_t* text)
{
    Clear();
    if (!text)
        return 0;
    const size_t length = wcslen(text);
    // A CR LF pair shrinks to one NUL, so the stored text is never longer than the source.
    if (length >= static_cast<size_t>(INT_MAX) / sizeof(wchar_t) - 1)
        return 0;
    wchar_t* buffer = static_cast<wchar_t*>(std::malloc((length + 1) * sizeof(wchar_t)));
    if (!buffer)
        return 0;
    int breaks = 0;
    size_t out = 0;
    for (size_t i = 0; i < length; ++i) {
        const wchar_t c = text[i];
        if (c == L'\r' || c == L'\n') {
            buffer[out++] = L'\0';
            ++breaks;
            if (c == L'\r' && i + 1 < length && text[i + 1] == L'\n')
                ++i;
        } else {
            buffer[out++] = c;
        }
    }
    buffer[out] = L'\0';
    m_buffer = buffer;
    m_breaks = breaks;
    m_length = static_cast<int>(out);
    return breaks;
}

const wchar_t* t_multiLineText::Line(int index) const
{
    if (!m_buffer || index < 0 || index > m_breaks)
        return nullptr;
    const wchar_t* line = m_buffer;
    for (int i = 0; i < index; ++i)
        line += wcslen(line) + 1;
    return line;
}

int t_multiLineText::Draw(UINT flags, RECT& rect, HDC dc) const
{
    if (!m_buffer)
        return 0;
    const UINT lineFlags = flags | DT_SINGLELINE;
    int total = 0;
    if (flags & DT_CALCRECT) {
        rect = RECT{0, 0, 0, 0};
        for (int i = 0; i <= m_breaks; ++i) {
            const wchar_t* line = Line(i);
            RECT measured = {0, 0, 0, 0};
            // An empty line measures no height in DrawTextW: measure a space for its height.
            const bool empty = line[0] == L'\0';
            const int height = DrawTextW(dc, empty ? L" " : line, -1, &measured, lineFlags);
            if (!empty && measured.right > rect.right)
                rect.right = measured.right;
            total += height;
        }
        rect.bottom = total;
        return total;
    }
    RECT lineRect = rect;
    for (int i = 0; i <= m_breaks; ++i) {
        const wchar_t* line = Line(i);
        int height;
        if (line[0] == L'\0') {
            // Nothing to draw; the line still takes its height.
            RECT measured = {0, 0, 0, 0};
            height = DrawTextW(dc, L" ", -1, &measured, lineFlags | DT_CALCRECT);
        } else {
            height = DrawTextW(dc, line, -1, &lineRect, lineFlags);
        }
        lineRect.top += height;
        total += height;
    }
    return total;
}

void t_multiLineText::Clear()
{
    std::free(m_buffer);
    m_buffer = nullptr;
    m_breaks = 0;
    m_length = 0;
}
