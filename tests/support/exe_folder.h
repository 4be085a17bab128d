#pragma once

#include <string>

#include "foundation/core/exe_path.h"

// The full path of the running executable; empty when it cannot be had.
inline std::wstring ExePath()
{
    t_str path;
    return GetExePath(path) ? std::wstring(path.c_str()) : std::wstring();
}

// The folder of the running executable (no trailing backslash), where the build puts the
// helper programs and libraries the tests load.
inline std::wstring ExeFolder()
{
    t_str folder;
    return GetExeFolder(folder) ? std::wstring(folder.c_str()) : std::wstring();
}
