// A text cut into lines at CR, LF and CR LF, kept in one buffer with a NUL after each
// line, measured and drawn one line under the other.
#pragma once

#include <windows.h>

class t_multiLineText {
public:
    t_multiLineText() = default;
    ~t_multiLineText() { Clear(); }
    t_multiLineText(const t_multiLineText&) = delete;
    t_multiLineText& operator=(const t_multiLineText&) = delete;

    // Replaces the lines; every CR, LF or CR LF ends a line. Returns the number of line
    // ends; a null text (or no memory) leaves the record empty and returns 0.
    int SetText(const wchar_t* text);
    // With DT_CALCRECT in flags: rect becomes (0, 0, widest line, summed heights). Without:
    // each line is drawn with DrawTextW (flags | DT_SINGLELINE) in a copy of rect whose top
    // moves down by each line's height; rect is unchanged. Returns the total height; 0
    // without text.
    int Draw(UINT flags, RECT& rect, HDC dc) const;
    void Clear();

    bool IsEmpty() const { return !m_buffer; }
    // Lines = breaks + 1 when there is text.
    int LineCount() const { return m_buffer ? m_breaks + 1 : 0; }
    int Breaks() const { return m_breaks; }
    int Length() const { return m_length; }
    // The i-th line (0-based); null out of range.
    const wchar_t* Line(int index) const;

private:
    wchar_t* m_buffer = nullptr;
    int m_breaks = 0;
    int m_length = 0;  // characters stored, the NULs after the lines included
};
