// Real mouse input through SendInput, for tests that drive windows the way a user does.
// Such tests move the one cursor of the display: their ctest entries take the
// mouse_cursor resource lock.
#pragma once

#include <windows.h>

#include "tests/support/message_pump.h"

// One mouse event (a move goes to the screen point x, y), then pumpMs of message dispatch.
inline void SendMouse(DWORD flags, int x = 0, int y = 0, DWORD pumpMs = 25)
{
    INPUT input = {};
    input.type = INPUT_MOUSE;
    if (flags & MOUSEEVENTF_MOVE) {
        const int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
        input.mi.dx = (x * 65536 + w / 2) / w;
        input.mi.dy = (y * 65536 + h / 2) / h;
        flags |= MOUSEEVENTF_ABSOLUTE;
    }
    input.mi.dwFlags = flags;
    SendInput(1, &input, sizeof(input));
    PumpMessages(pumpMs);
}
