#pragma once

#include <windows.h>

#include <string>

// The folder of the running test executable, where the build puts the helper programs
// and libraries the tests load.
inline std::wstring ExeFolder() {
    wchar_t path[MAX_PATH];
    const DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
    const std::wstring exe(path, n);
    return exe.substr(0, exe.rfind(L'\\'));
}
