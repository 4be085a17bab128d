// Test helper: cases that change the process for good (a library loaded once, a singleton
// set up) run in a fresh copy of the test program. The parent runs one disabled test of a
// scenario suite; the child marks that it ran, so a filter that matched nothing is told
// from a pass.
#pragma once

#include <windows.h>

#include <string>

#include "tests/support/child_runner.h"
#include "tests/support/exe_folder.h"

#define KAVREL_SCENARIO_MARK_VARIABLE L"KAVREL_SCENARIO_MARK"

// Runs suite.name of this program in a child process; its exit code (0 when every check
// held), or -2 when the scenario did not run. markPath is a file the child may create.
inline int RunScenarioChild(const char* suite, const char* name, const std::wstring& markPath, DWORD timeoutMs = 60000)
{
    std::wstring filter = L"--gtest_also_run_disabled_tests --gtest_filter=";
    for (const char* c = suite; *c; ++c)
        filter += static_cast<wchar_t>(*c);
    filter += L'.';
    for (const char* c = name; *c; ++c)
        filter += static_cast<wchar_t>(*c);
    DeleteFileW(markPath.c_str());
    SetEnvironmentVariableW(KAVREL_SCENARIO_MARK_VARIABLE, markPath.c_str());
    const int code = RunProgram(ExePath(), filter, timeoutMs);
    SetEnvironmentVariableW(KAVREL_SCENARIO_MARK_VARIABLE, nullptr);
    return GetFileAttributesW(markPath.c_str()) != INVALID_FILE_ATTRIBUTES ? code : -2;
}

// In the child: leaves the mark that the scenario ran (call from the suite's TearDown).
inline void MarkScenarioRan()
{
    wchar_t mark[MAX_PATH] = {};
    if (!GetEnvironmentVariableW(KAVREL_SCENARIO_MARK_VARIABLE, mark, MAX_PATH))
        return;
    HANDLE file = CreateFileW(mark, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file != INVALID_HANDLE_VALUE)
        CloseHandle(file);
}
