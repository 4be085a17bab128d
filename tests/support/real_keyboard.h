// Real key input through SendInput, for tests that type into the focused window the way a
// user does.
#pragma once

#include <windows.h>

// One key pressed and released; the caller dispatches the messages it brings.
inline void SendKeyPress(WORD key)
{
    INPUT input[2] = {};
    input[0].type = input[1].type = INPUT_KEYBOARD;
    input[0].ki.wVk = input[1].ki.wVk = key;
    input[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, input, sizeof(INPUT));
}
