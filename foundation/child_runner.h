#pragma once

#include <windows.h>

#include <string>

// Helpers for tests that need a second process: the child programs are built beside the
// test programs.

// Runs "<folder of this exe>\<exeName> <arguments>" and returns its exit code, or -1 when
// it could not be started or did not end within timeoutMs.
inline int RunChild(const wchar_t* exeName, const std::wstring& arguments, DWORD timeoutMs = 30000) {
    wchar_t self[MAX_PATH];
    DWORD length = GetModuleFileNameW(nullptr, self, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return -1;
    std::wstring exe(self, length);
    exe.erase(exe.rfind(L'\\') + 1);
    exe += exeName;
    std::wstring commandLine = L"\"" + exe + L"\" " + arguments;
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(exe.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process))
        return -1;
    CloseHandle(process.hThread);
    DWORD code = static_cast<DWORD>(-1);
    if (WaitForSingleObject(process.hProcess, timeoutMs) != WAIT_OBJECT_0 ||
        !GetExitCodeProcess(process.hProcess, &code)) {
        TerminateProcess(process.hProcess, 1);
        code = static_cast<DWORD>(-1);
    }
    CloseHandle(process.hProcess);
    return static_cast<int>(code);
}

// A text unique to this test process, for kernel object names that parallel test runs
// must not share.
inline std::wstring UniqueTag(const wchar_t* prefix) {
    return prefix + std::to_wstring(GetCurrentProcessId());
}
