// Wide (UTF-16) string with a small inline store, and two fixed-buffer helpers.
#pragma once

#include <cstdarg>
#include <cstddef>
#include <cstdint>
#include <cwchar>

// The common-dialog header maps FindText to FindTextW, which would rename the member
// below in some files and not in others. Taking the headers here and dropping the macro
// once keeps the name the same everywhere.
#include <windows.h>
#include <commdlg.h>
#undef FindText

class t_str {
public:
    t_str();
    t_str(const wchar_t* text);
    t_str(const t_str& other);
    t_str& operator=(const t_str& other);
    virtual ~t_str();

    const wchar_t* c_str() const { return Chars(); }
    int Length() const { return static_cast<int>(m_length); }
    bool IsEmpty() const { return m_length == 0; }
    // Characters the current block holds, terminator included.
    int Capacity() const { return static_cast<int>(*m_block); }
    // True while the text lives in the inline store (no heap block yet).
    bool IsInPlace() const { return m_inPlace != 0; }

    void Assign(const wchar_t* text);
    void AssignN(const wchar_t* text, int count);
    void Clear();

    void Append(const wchar_t* text);
    void AppendStr(const t_str& other);
    t_str& AppendText(const wchar_t* text);
    t_str& AppendInt(int value);
    t_str& AppendUInt(unsigned value);
    t_str& AppendChar(wchar_t c);
    // Formatted arguments must not point into this string: growing may move its text.
    void AppendFormat(const wchar_t* format, ...);
    void AppendFormatV(const wchar_t* format, va_list args);
    void Format(const wchar_t* format, ...);
    void FormatV(const wchar_t* format, va_list args);

    bool Equals(const wchar_t* text) const;
    bool EqualsNoCase(const wchar_t* text) const;
    bool EqualsNoCaseStr(const t_str& other) const;
    bool operator==(const t_str& other) const;
    bool operator!=(const t_str& other) const { return !(*this == other); }

    // No bounds check: the caller keeps index within 0..Length().
    wchar_t CharAt(int index) const { return Chars()[index]; }
    int Find(wchar_t c, int start = 0) const;
    int FindText(int start, const wchar_t* text) const;
    int ReverseFindBackslash() const;
    void Mid(t_str& out, int start, int count = -1) const;
    void Erase(int from, int to);
    void Truncate(int length);
    void Trim(const wchar_t* set);
    void ToLowerAscii();

    // Lends room for count characters plus a terminator; ReleaseBuffer recounts the length.
    wchar_t* GetBuffer(int count);
    bool ReleaseBuffer();
    void Reserve(int count);

    // Code page 936 conversions.
    bool FromNarrow(const char* text);
    bool ToNarrow(char (&out)[260]) const;

private:
    // A block is a capacity word followed by the characters. The inline store is 270 bytes:
    // the word plus 133 characters, i.e. at most 132 characters and the terminator.
    static const int c_inlineChars = 133;
    struct t_inlineStore {
        uint32_t capacity;
        wchar_t chars[c_inlineChars];
    };

    wchar_t* Chars() { return reinterpret_cast<wchar_t*>(m_block + 1); }
    const wchar_t* Chars() const { return reinterpret_cast<const wchar_t*>(m_block + 1); }
    void Init();
    void AppendN(const wchar_t* text, uint32_t count);
    bool InBlock(const wchar_t* text, size_t& offset) const;

    uint32_t m_length;
    uint32_t* m_block;
    t_inlineStore m_inline;
    int16_t m_inlineUsed;
    uint8_t m_inPlace;
    uint32_t m_lentSize;
};

// Appends text to a 260-character path buffer. False (buffer unchanged) when the result
// would not fit or the buffer holds no terminator.
bool AppendToPathBuf(wchar_t (&buf)[260], const wchar_t* text);
// Copies text into a 1024-character buffer, always terminated; false when it was cut.
bool CopyText1024(wchar_t (&buf)[1024], const wchar_t* text);
