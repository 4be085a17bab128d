#pragma once

#include <windows.h>

#include <string>

// The full path of the running executable; empty when it cannot be had.
inline std::wstring ExePath()
{
    wchar_t path[MAX_PATH];
    const DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
    return n && n < MAX_PATH ? std::wstring(path, n) : std::wstring();
}

// The folder of the running executable (no trailing backslash), where the build puts the
// helper programs and libraries the tests load.
inline std::wstring ExeFolder()
{
    const std::wstring exe = ExePath();
    return exe.substr(0, exe.rfind(L'\\'));
}
