// The crash-report program that the crash reporter starts beside the executable:
//   crashrpt.exe "<program>" "dezadir" "0" "<dump file>" "<report file>"
// Started by a test (KAVREL_LAUNCH_LOG set) it only records its launch. Otherwise it tells
// the user, in one message box, where the report and the dump were written; a process
// without a visible desktop (a service) shows nothing.
#include <windows.h>

#include <shellapi.h>

#include <string>

#include "launch_recorder.h"

namespace {

bool LaunchIsRecorded()
{
    wchar_t text[8];
    const DWORD n = GetEnvironmentVariableW(KAVREL_LAUNCH_LOG_VARIABLE, text, 8);
    return n > 0;
}

bool DesktopIsVisible()
{
    USEROBJECTFLAGS flags = {};
    HWINSTA station = GetProcessWindowStation();
    return station && GetUserObjectInformationW(station, UOI_FLAGS, &flags, sizeof(flags), nullptr) &&
           (flags.dwFlags & WSF_VISIBLE) != 0;
}

// This program's folder with a trailing backslash: the crashed program's folder.
std::wstring OwnFolder()
{
    wchar_t path[MAX_PATH] = {};
    const DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring full(path, n < MAX_PATH ? n : 0);
    return full.substr(0, full.find_last_of(L'\\') + 1);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    if (LaunchIsRecorded())
        return RecordLaunch();
    if (!DesktopIsVisible())
        return 0;

    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (!argv || argc < 7) {
        if (argv)
            LocalFree(argv);
        return 1;
    }
    const std::wstring folder = OwnFolder();
    const std::wstring text = std::wstring(argv[1]) + L" 遇到错误，需要关闭。\n\n错误报告已写入：\n" + folder +
                              argv[6] + L"\n" + folder + argv[5];
    LocalFree(argv);
    MessageBoxW(nullptr, text.c_str(), L"栖鹭拼音输入法错误报告", MB_OK | MB_ICONERROR | MB_SETFOREGROUND);
    return 0;
}
