// Helper process for perf_test: the "EnablePerf" answer is cached for the life
// of a process, so each case needs a process of its own.
//   perf_child off   - with the switch off, marks touch nothing and the value
//                      is not read; it is read once the switch is on.
//   perf_child zero  - the value read at the first call keeps profiling off,
//                      even after it changes.
// Exit code 0 on success, otherwise the number of the failed check.
#include "foundation/core/perf.h"

#include <windows.h>

#include <wchar.h>

namespace {

bool SetEnablePerf(DWORD value)
{
    HKEY key;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, L"SoftWare\\VexilInput", 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                        nullptr) != ERROR_SUCCESS)
        return false;
    LONG rc = RegSetValueExW(key, L"EnablePerf", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof(value));
    RegCloseKey(key);
    return rc == ERROR_SUCCESS;
}

long Threads() { return PerfThreads().count; }

void Marks()
{
    PerfBegin("Paint");
    {
        PerfScope scope("Lock");
    }
    PerfEnd("Paint");
    PerfLeave();
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc < 2)
        return 100;
    const char* names[] = {"()", "Paint", "Lock"};
    if (!PerfNames.Load(names, 3, "perf_child_unused.txt"))
        return 101;

    int rc = 0;
    if (wcscmp(argv[1], L"off") == 0) {
        Marks();
        if (PerfEnabled())
            rc = 1;
        else if (Threads() != 0)
            rc = 2;
        else if (!SetEnablePerf(1))
            rc = 3;
        else {
            PerfSetSwitch(true);
            // Had the marks above read the value (0 then), this would stay off.
            if (!PerfEnabled())
                rc = 4;
            else {
                Marks();
                if (Threads() != 1)
                    rc = 5;
            }
        }
    } else if (wcscmp(argv[1], L"zero") == 0) {
        PerfSetSwitch(true);
        if (PerfEnabled())
            rc = 11;
        else if (!SetEnablePerf(1))
            rc = 12;
        else if (PerfEnabled())
            rc = 13;
        else {
            Marks();
            if (Threads() != 0)
                rc = 14;
        }
    } else {
        rc = 102;
    }
    // No report at exit.
    PerfNames.Clear();
    return rc;
}
