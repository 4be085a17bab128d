// Tests drive a window's timers themselves instead of waiting out real time: they check
// that a timer is armed and deliver its tick by hand.
#pragma once

#include <windows.h>

// Whether the window's timer runs; it goes on running with the given period.
inline bool TimerArmed(HWND window, UINT_PTR id, UINT periodMs)
{
    if (!KillTimer(window, id))
        return false;
    SetTimer(window, id, periodMs, nullptr);
    return true;
}

// One tick of the window's timer, now.
inline void TickTimer(HWND window, UINT_PTR id) { SendMessageW(window, WM_TIMER, id, 0); }
