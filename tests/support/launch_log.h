#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "companions/standins/launch_recorder.h"
#include "tests/support/exe_folder.h"

// Reads back what the recording stand-ins (companions/standins) were started with. While a
// t_launchLog lives, every program this process starts inherits the variable that names
// its file.
struct t_launchRecord {
    std::wstring program;
    std::wstring commandLine;
    std::wstring folder;
};

class t_launchLog {
public:
    explicit t_launchLog(const std::wstring& path) : m_path(path)
    {
        DeleteFileW(m_path.c_str());
        SetEnvironmentVariableW(KAVREL_LAUNCH_LOG_VARIABLE, m_path.c_str());
    }
    ~t_launchLog()
    {
        SetEnvironmentVariableW(KAVREL_LAUNCH_LOG_VARIABLE, nullptr);
        SetEnvironmentVariableW(KAVREL_STANDIN_EXIT_VARIABLE, nullptr);
    }
    t_launchLog(const t_launchLog&) = delete;
    t_launchLog& operator=(const t_launchLog&) = delete;

    // The exit code the stand-ins started from now on end with.
    void SetExitCode(int code) { SetEnvironmentVariableW(KAVREL_STANDIN_EXIT_VARIABLE, std::to_wstring(code).c_str()); }

    std::vector<t_launchRecord> Read() const
    {
        std::vector<t_launchRecord> records;
        HANDLE file = CreateFileW(m_path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, 0, nullptr);
        if (file == INVALID_HANDLE_VALUE)
            return records;
        std::wstring text;
        wchar_t buffer[2048];
        DWORD read = 0;
        while (ReadFile(file, buffer, sizeof(buffer), &read, nullptr) && read > 0)
            text.append(buffer, read / sizeof(wchar_t));
        CloseHandle(file);
        std::vector<std::wstring> lines;
        for (size_t start = 0, end; (end = text.find(L"\r\n", start)) != std::wstring::npos; start = end + 2)
            lines.push_back(text.substr(start, end - start));
        for (size_t i = 0; i + 2 < lines.size(); i += 3)
            records.push_back({lines[i], lines[i + 1], lines[i + 2]});
        return records;
    }

    // Waits until at least count records are there (or timeoutMs passed) and answers them.
    std::vector<t_launchRecord> WaitFor(size_t count, DWORD timeoutMs = 15000) const
    {
        const DWORD start = GetTickCount();
        std::vector<t_launchRecord> records = Read();
        while (records.size() < count && GetTickCount() - start < timeoutMs) {
            Sleep(20);
            records = Read();
        }
        return records;
    }

    // Proves that nothing was started: true when no record arrives within boundMs. Waits on
    // the folder's change notification, so a launch that does come ends the wait at once.
    bool NothingWithin(DWORD boundMs) const
    {
        const std::wstring folder = m_path.substr(0, m_path.find_last_of(L'\\'));
        HANDLE change = FindFirstChangeNotificationW(folder.c_str(), FALSE,
                                                     FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_SIZE |
                                                         FILE_NOTIFY_CHANGE_LAST_WRITE);
        if (change == INVALID_HANDLE_VALUE)
            return false;
        const DWORD start = GetTickCount();
        bool nothing = Read().empty();
        for (DWORD waited = 0; nothing && waited < boundMs; waited = GetTickCount() - start) {
            if (WaitForSingleObject(change, boundMs - waited) != WAIT_OBJECT_0)
                break;
            nothing = Read().empty();
            FindNextChangeNotification(change);
        }
        FindCloseChangeNotification(change);
        return nothing && Read().empty();
    }

private:
    std::wstring m_path;
};

// Copies the stand-in "<name>" from beside the test program into a folder; its new path.
inline std::wstring PlaceStandIn(const wchar_t* name, const std::wstring& folder)
{
    const std::wstring target = folder + L"\\" + name;
    CopyFileW((ExeFolder() + L"\\" + name).c_str(), target.c_str(), FALSE);
    return target;
}
