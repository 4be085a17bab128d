// The version resource of an executable file: its fixed file version and its string table.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

#include "foundation/core/str.h"

class t_fileVersionInfo {
public:
    // Reads the whole version resource; false when the file has none or cannot be read.
    bool Load(const wchar_t* path);
    // The fixed file version as {major, minor, build, revision}.
    bool GetFixedVersion(uint16_t out[4]) const;
    // A value of the string table named by the first language and code page that the
    // resource lists (for example "CompanyName").
    bool GetString(const wchar_t* name, t_str& out) const;

private:
    std::vector<BYTE> m_block;
};

// The fixed file version of a file as {major, minor, build, revision}.
bool GetFileVersion(const wchar_t* path, uint16_t out[4]);
