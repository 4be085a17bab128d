#include "launch_recorder.h"

#include <windows.h>

#include <cwchar>
#include <string>

namespace {

std::wstring EnvironmentText(const wchar_t* name)
{
    wchar_t buffer[1024];
    DWORD length = GetEnvironmentVariableW(name, buffer, 1024);
    return length > 0 && length < 1024 ? std::wstring(buffer, length) : std::wstring();
}

std::wstring ProgramName()
{
    wchar_t path[MAX_PATH] = {};
    DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring full(path, length < MAX_PATH ? length : 0);
    size_t slash = full.find_last_of(L"\\/");
    return slash == std::wstring::npos ? full : full.substr(slash + 1);
}

std::wstring WorkingFolder()
{
    wchar_t folder[MAX_PATH] = {};
    DWORD length = GetCurrentDirectoryW(MAX_PATH, folder);
    return std::wstring(folder, length < MAX_PATH ? length : 0);
}

}  // namespace

int RecordLaunch()
{
    std::wstring logPath = EnvironmentText(KAVREL_LAUNCH_LOG_VARIABLE);
    if (!logPath.empty()) {
        std::wstring record = ProgramName() + L"\r\n" + GetCommandLineW() + L"\r\n" + WorkingFolder() + L"\r\n";
        HANDLE file = CreateFileW(logPath.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            DWORD written = 0;
            WriteFile(file, record.data(), static_cast<DWORD>(record.size() * sizeof(wchar_t)), &written, nullptr);
            CloseHandle(file);
        }
    }
    std::wstring exitText = EnvironmentText(KAVREL_STANDIN_EXIT_VARIABLE);
    return exitText.empty() ? 0 : static_cast<int>(wcstol(exitText.c_str(), nullptr, 10));
}
