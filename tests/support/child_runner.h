#pragma once

#include <windows.h>

#include <string>

#include "tests/support/exe_folder.h"

// Helpers for tests that need a second process: the child programs are built beside the
// test programs.

// Starts "<exe> <arguments>"; the process handle, or null when it could not be started.
inline HANDLE StartProgram(const std::wstring& exe, const std::wstring& arguments)
{
    std::wstring commandLine = L"\"" + exe + L"\" " + arguments;
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(exe.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return nullptr;
    CloseHandle(process.hThread);
    return process.hProcess;
}

// Waits for a started process and closes its handle; its exit code, or -1 when it did not
// end within timeoutMs (it is then ended).
inline int EndProgram(HANDLE process, DWORD timeoutMs)
{
    DWORD code = static_cast<DWORD>(-1);
    if (WaitForSingleObject(process, timeoutMs) != WAIT_OBJECT_0 || !GetExitCodeProcess(process, &code)) {
        TerminateProcess(process, 1);
        code = static_cast<DWORD>(-1);
    }
    CloseHandle(process);
    return static_cast<int>(code);
}

// Runs "<exe> <arguments>" to its end: its exit code, or -1 when it could not be started or
// did not end within timeoutMs.
inline int RunProgram(const std::wstring& exe, const std::wstring& arguments, DWORD timeoutMs = 30000)
{
    HANDLE process = StartProgram(exe, arguments);
    return process ? EndProgram(process, timeoutMs) : -1;
}

// The same for "<folder of this exe>\<exeName>".
inline HANDLE StartChild(const wchar_t* exeName, const std::wstring& arguments)
{
    return StartProgram(ExeFolder() + L"\\" + exeName, arguments);
}
inline int RunChild(const wchar_t* exeName, const std::wstring& arguments, DWORD timeoutMs = 30000)
{
    return RunProgram(ExeFolder() + L"\\" + exeName, arguments, timeoutMs);
}

// A text unique to this test process, for kernel object names that parallel test runs
// must not share.
inline std::wstring UniqueTag(const wchar_t* prefix) { return prefix + std::to_wstring(GetCurrentProcessId()); }
