// Hex helpers and fixture loading shared by the byte-level tests.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "tests/support/temp_folder.h"

typedef std::vector<unsigned char> t_bytes;

inline t_bytes FromHex(const char* hex)
{
    t_bytes out;
    for (; hex[0] && hex[1]; hex += 2) {
        unsigned v = 0;
        sscanf(hex, "%2x", &v);
        out.push_back(static_cast<unsigned char>(v));
    }
    return out;
}

inline std::string ToHex(const unsigned char* p, size_t n)
{
    static const char digits[] = "0123456789abcdef";
    std::string s;
    for (size_t i = 0; i < n; ++i) {
        s += digits[p[i] >> 4];
        s += digits[p[i] & 15];
    }
    return s;
}

inline std::string ToHex(const t_bytes& b) { return ToHex(b.data(), b.size()); }

inline t_bytes FromText(const char* text) { return t_bytes(text, text + std::char_traits<char>::length(text)); }

// Whole file at a path below the source tree (for example
// L"foundation\\crypto\\testdata\\x.bin"); empty when it cannot be read.
inline t_bytes LoadFixture(const std::wstring& relativePath)
{
    std::wstring path = std::wstring(KAVREL_SOURCE_DIR) + L"\\" + relativePath;
    std::string bytes;
    ReadRaw(path, bytes);
    return t_bytes(bytes.begin(), bytes.end());
}
