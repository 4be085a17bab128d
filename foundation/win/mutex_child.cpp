// Helper process for the lock tests.
//   mutex_child abandon <name>: takes the named mutex and ends without releasing it.
//   mutex_child try <name>:     exit code 1 when the mutex is free, 0 when another holds it.
#include <windows.h>

#include <wchar.h>

#include "foundation/win/mutex.h"

int wmain(int argc, wchar_t** argv)
{
    if (argc != 3)
        return 100;
    t_errorChain errors;
    t_mutex mutex;
    if (!mutex.Create(errors, argv[2]))
        return 101;
    if (wcscmp(argv[1], L"abandon") == 0) {
        if (!Lock(errors, mutex))
            return 102;
        ExitProcess(0);
    }
    if (wcscmp(argv[1], L"try") == 0) {
        DWORD result = WaitForSingleObject(mutex.Handle(), 0);
        if (result == WAIT_OBJECT_0 || result == WAIT_ABANDONED) {
            mutex.Release();
            return 1;
        }
        return 0;
    }
    return 103;
}
