#pragma once

#include <string>

#include "foundation/temp_folder_test.h"

// Test helper: the bytes of a plain INI file, UTF-16LE behind the byte-order mark FF FE.
inline std::string Utf16File(const std::wstring& text) {
    std::string out("\xFF\xFE", 2);
    out.append(reinterpret_cast<const char*>(text.data()), text.size() * sizeof(wchar_t));
    return out;
}

// Writes text as such a file named name into dir; its path, or empty when the write failed.
inline std::wstring WriteUtf16File(const t_tempFolder& dir, const wchar_t* name, const std::wstring& text) {
    const std::wstring path = dir / name;
    return WriteRaw(path, Utf16File(text)) ? path : std::wstring();
}
