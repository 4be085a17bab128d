// Converts one skin package into the input method's runtime skin, for checks by independent
// tools. The installation folder gets the zip library from beside this program; the user
// folders are private to the run.
//   extract_tool_child <installation folder> <package> <target>
// Exit code 0 on success, 100 + the extraction's code on failure, 2 for bad usage, 3 when
// the user folders cannot be set up. The error chain's lines go to stdout in UTF-8.
#include <windows.h>

#include <cstdio>
#include <string>

#include "foundation/env/user_env_test_setup.h"
#include "skin_model/extract/env_skin.h"
#include "tests/support/exe_folder.h"
#include "tests/support/temp_folder.h"

namespace {

void PrintLines(const t_errorChain& errors)
{
    for (const t_errorLine* line = errors.FirstLine(); line; line = line->next) {
        const int n = WideCharToMultiByte(CP_UTF8, 0, line->text.c_str(), -1, nullptr, 0, nullptr, nullptr);
        std::string text(size_t(n > 0 ? n : 1), '\0');
        if (n > 0)
            WideCharToMultiByte(CP_UTF8, 0, line->text.c_str(), -1, &text[0], n, nullptr, nullptr);
        std::printf("%s\n", text.c_str());
    }
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc < 4)
        return 2;
    const std::wstring install = argv[1];
    CreateDirectoryW(install.c_str(), nullptr);
    CopyFileW((ExeFolder() + L"\\ZipLib.dll").c_str(), (install + L"\\ZipLib.dll").c_str(), FALSE);
    t_errorChain errors;
    if (!InitUserEnvTestProcess(errors, install.c_str(), L"extract_tool", int(GetCurrentProcessId() * 64 + 4))) {
        PrintLines(errors);
        return 3;
    }
    int32_t code = -1;
    const bool ok = t_envSkin::Instance()->Extract2(errors, 0x600, false, argv[2], argv[3], &code);
    PrintLines(errors);
    t_str acc;
    if (UserManager::Instance()->GetAccFilePath(acc)) {
        const std::wstring dir = acc.c_str();
        t_tempFolder::RemoveTree(dir.substr(0, dir.rfind(L'\\')));
    }
    std::fflush(stdout);
    return ok ? 0 : 100 + code;
}
