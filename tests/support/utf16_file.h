#pragma once

#include <string>

#include "tests/support/temp_folder.h"

// Test helpers: the UTF-16LE bytes of a text, and those of a plain INI file, the same behind
// the byte-order mark FF FE.
inline std::string Utf16Le(const std::wstring& text)
{
    return std::string(reinterpret_cast<const char*>(text.data()), text.size() * sizeof(wchar_t));
}
inline std::string Utf16File(const std::wstring& text) { return "\xFF\xFE" + Utf16Le(text); }

// Writes text as such a file named name into dir; its path, or empty when the write failed.
inline std::wstring WriteUtf16File(const t_tempFolder& dir, const wchar_t* name, const std::wstring& text)
{
    const std::wstring path = dir / name;
    return WriteRaw(path, Utf16File(text)) ? path : std::wstring();
}
