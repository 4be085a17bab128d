// A text item of the input method's windows: it knows the UI context and can fade itself
// in. The composition, candidate, page-turn and rich items all derive from it.
#pragma once

#include <windows.h>

#include <cstdint>

#include "toolkit/controls/wnd_text_item.h"
#include "toolkit/controls/wnd_ui_sub.h"

// Posted to the owning top when a fade ends: wParam the final alpha, lParam the item's
// index in the composition string (timer id - 150).
const UINT c_msgFadeDone = WM_USER + 0x123;
// A fade ticks every 50 ms: 8 ticks of waiting, then 8 ticks of rising.
const UINT c_fadeTickMs = 50;
const int c_fadeSteps = 8;
const int c_fadeDelayTicks = 8;
const int c_fadeTimerBase = 150;

class t_wndStringItem : public t_wndTextItem, public t_wndUiSub {
public:
    t_wndStringItem();
    ~t_wndStringItem() override;

    // Handles the fade timer; other ids answer false.
    bool OnTimer(UINT_PTR timerId) override;

    // Starts the fade again when the host's hint stamp changed since the last call.
    void RestartFade();
    void StopFade();

    uint8_t fadeStartAlpha;
    uint8_t fadeEndAlpha;
    int fadeSign;
    int fadeTimerId;  // -1: the item never fades
    int tickCounter;
    bool fadeApplied;
    bool timerRunning;
    int fadeSteps;
    int delayTicks;
    int lastHintStamp;
};
