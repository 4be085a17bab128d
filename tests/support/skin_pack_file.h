// Test helper: a skin pack file made from named files and a Skin.ini, through a folder
// that is emptied and filled first, as the runtime skin's tests and the IME windows'
// tests load their skins.
#pragma once

#include <windows.h>

#include <string>
#include <utility>
#include <vector>

#include "foundation/core/error_chain.h"
#include "foundation/records/skin_pack.h"
#include "tests/support/temp_folder.h"
#include "tests/support/utf16_file.h"

using t_skinPackFiles = std::vector<std::pair<std::wstring, std::string>>;

// Writes files and "Skin.ini" (UTF-16 with its byte-order mark) into folder, then packs the
// folder into packPath; false when a step failed.
inline bool WriteSkinPackFile(const std::wstring& folder, const t_skinPackFiles& files, const std::wstring& ini,
                              const std::wstring& packPath)
{
    t_tempFolder::RemoveTree(folder);
    CreateDirectoryW(folder.c_str(), nullptr);
    for (const auto& file : files) {
        if (!WriteRaw(folder + L"\\" + file.first, file.second))
            return false;
    }
    if (!WriteRaw(folder + L"\\Skin.ini", Utf16File(ini)))
        return false;
    t_skinPack pack;
    t_errorChain errors;
    return pack.AddFolder(folder.c_str()) && pack.Export(errors, packPath.c_str(), true);
}
