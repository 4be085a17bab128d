// Dispatches this thread's messages for a while, for tests that wait on timers or posted
// messages of their windows.
#pragma once

#include <windows.h>

// Dispatches every message for ms milliseconds.
inline void PumpMessages(DWORD ms)
{
    const DWORD end = GetTickCount() + ms;
    do {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&msg);
        Sleep(5);
    } while (static_cast<int>(end - GetTickCount()) > 0);
}
