// Test helper: the default skin of art/default_skin read into memory (its pictures as
// pack files, its Skin.ini as text), so that a test packs it as it is or with a value
// changed.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "tests/support/skin_pack_file.h"
#include "tests/support/temp_folder.h"

struct t_defaultSkin {
    t_skinPackFiles pictures;
    std::wstring ini;
};

inline t_defaultSkin ReadDefaultSkin()
{
    const std::wstring folder = std::wstring(KAVREL_SOURCE_DIR) + L"\\art\\default_skin";
    t_defaultSkin skin;
    for (const std::wstring& name : NamesIn(folder, true)) {
        const std::string bytes = ReadRaw(folder + L"\\" + name);
        if (_wcsicmp(name.c_str(), L"Skin.ini") != 0) {
            skin.pictures.push_back({name, bytes});
            continue;
        }
        // UTF-16 little endian after its byte-order mark.
        for (size_t i = 2; i + 1 < bytes.size(); i += 2)
            skin.ini += wchar_t(uint8_t(bytes[i]) | uint8_t(bytes[i + 1]) << 8);
    }
    return skin;
}
