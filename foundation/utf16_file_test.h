#pragma once

#include <string>

// Test helper: the bytes of a plain INI file, UTF-16LE behind the byte-order mark FF FE.
inline std::string Utf16File(const std::wstring& text) {
    std::string out("\xFF\xFE", 2);
    out.append(reinterpret_cast<const char*>(text.data()), text.size() * sizeof(wchar_t));
    return out;
}
