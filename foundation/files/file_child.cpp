// Helper process for the file tests: "hold <path> <milliseconds> <event name>" opens the
// file without sharing, signals the event once it holds it, keeps it for the given time
// and exits 0 (1 when the file cannot be opened).
#include <windows.h>

#include <cwchar>
#include <cstdlib>

int wmain(int argc, wchar_t** argv)
{
    if (argc != 5 || wcscmp(argv[1], L"hold") != 0)
        return 2;
    HANDLE file =
        CreateFileW(argv[2], GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    HANDLE ready = OpenEventW(EVENT_MODIFY_STATE, FALSE, argv[4]);
    if (ready)
        SetEvent(ready);
    if (file == INVALID_HANDLE_VALUE)
        return 1;
    Sleep(static_cast<DWORD>(_wtoi(argv[3])));
    CloseHandle(file);
    return 0;
}
