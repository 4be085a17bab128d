// What the benchmarks that work on files share: the command line (a work folder and a run
// count) and an installation with the zip library and a user's folders under that folder.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <algorithm>
#include <cstdio>
#include <string>

#include "foundation/core/str.h"
#include "foundation/env/user_env_test_setup.h"
#include "foundation/files/path.h"
#include "foundation/users/user_manager.h"
#include "tests/support/exe_folder.h"

// "name WORK_FOLDER [RUNS]": false, with the usage printed, without a folder.
inline bool ReadBenchArgs(const char* name, int defaultRuns, std::wstring& root, int& runs)
{
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (!argv || argc < 2) {
        std::printf("usage: %s WORK_FOLDER [RUNS]\n", name);
        return false;
    }
    root = argv[1];
    runs = argc > 2 ? std::max(1, _wtoi(argv[2])) : defaultRuns;
    LocalFree(argv);
    return true;
}

// root\install holding ZipLib.dll (as the input method ships it), the user environment of
// this process and the user's folder; false with the reason printed.
inline bool SetUpBenchUser(const std::wstring& root, const wchar_t* processName, int accounts, int userId,
                           t_str& userDir)
{
    const std::wstring install = root + L"\\install";
    CreateDirectoryW(install.c_str(), nullptr);
    if (!CopyFileW((ExeFolder() + L"\\ZipLib.dll").c_str(), (install + L"\\ZipLib.dll").c_str(), FALSE)) {
        std::printf("no ZipLib.dll beside the program\n");
        return false;
    }
    t_errorChain errors;
    if (!InitUserEnvTestProcess(errors, install.c_str(), processName, accounts) ||
        !UserManager::Instance()->GetUserDirText(userDir, userId) ||
        !t_path(userDir.c_str()).CreateDirectoryTree(errors, false)) {
        std::printf("could not set up the user folders\n");
        return false;
    }
    return true;
}
