// Helpers for the decoder tests: the public picture suites (Debian's libpng and giflib
// sources, pillow's images), whole files as bytes and the pixels of decoded bitmaps.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "graphics/image/image_source.h"

// Folder holding the unpacked Debian sources (.deps/src).
inline std::wstring DepsSrc() { return KAVREL_DEPS_SRC; }

// The first folder of DepsSrc() matching pattern (e.g. L"libpng1.6-*"); empty when none.
inline std::wstring DepsFolder(const wchar_t* pattern)
{
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((DepsSrc() + L"\\" + pattern).c_str(), &data);
    if (find == INVALID_HANDLE_VALUE)
        return std::wstring();
    std::wstring out = DepsSrc() + L"\\" + data.cFileName;
    FindClose(find);
    return out;
}

inline std::vector<std::wstring> FilesWithExtension(const std::wstring& folder, const wchar_t* extension)
{
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((folder + L"\\*" + extension).c_str(), &data);
    if (find == INVALID_HANDLE_VALUE)
        return names;
    do {
        if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            names.push_back(data.cFileName);
    } while (FindNextFileW(find, &data));
    FindClose(find);
    return names;
}

inline bool ReadBytes(const std::wstring& path, std::string& out)
{
    out.clear();
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    LARGE_INTEGER size;
    bool ok = GetFileSizeEx(file, &size) && size.QuadPart < (1 << 30);
    if (ok) {
        out.resize(static_cast<size_t>(size.QuadPart));
        DWORD read = 0;
        ok = out.empty() ||
             (ReadFile(file, &out[0], static_cast<DWORD>(out.size()), &read, nullptr) && read == out.size());
    }
    CloseHandle(file);
    return ok;
}

inline std::string Narrow(const std::wstring& text) { return std::string(text.begin(), text.end()); }

// A decoded bitmap's pixels, bottom-up as stored.
struct t_pixels {
    int width = 0, height = 0;
    std::vector<uint32_t> bits;
    // Pixel at (x, y) counted from the top.
    uint32_t At(int x, int y) const { return bits[static_cast<size_t>(height - 1 - y) * width + x]; }
};

inline bool PixelsOf(const t_bitmapRef& ref, t_pixels& out)
{
    ref.GetSize(out.width, out.height);
    const uint32_t* bits = static_cast<const uint32_t*>(ref.GetPixels());
    if (!bits || out.width <= 0 || out.height <= 0)
        return false;
    GdiFlush();
    out.bits.assign(bits, bits + static_cast<size_t>(out.width) * out.height);
    return true;
}
