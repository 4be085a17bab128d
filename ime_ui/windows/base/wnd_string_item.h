// A text item of the input method's windows: it knows the UI context and can fade itself
// in. The composition, candidate, page-turn and rich items all derive from it.
#pragma once

#include <windows.h>

#include <cstdint>

#include "ime_ui/windows/ime_messages.h"
#include "toolkit/controls/wnd_text_item.h"
#include "toolkit/controls/wnd_ui_sub.h"

// A fade ticks every 50 ms: 8 ticks of waiting, then 8 ticks of rising.
const UINT c_fadeTickMs = 50;
const int c_fadeSteps = 8;
const int c_fadeDelayTicks = 8;
const int c_fadeTimerBase = 150;

// The largest side of a picture the host draws into an item.
const int c_maxHostPictureSide = 1024;
// A host picture an item can hold: positive and no larger than c_maxHostPictureSide, so
// that the widths it adds to cannot overflow and its bitmap stays small.
inline bool IsHostPictureSize(int width, int height)
{
    return width > 0 && height > 0 && width <= c_maxHostPictureSide && height <= c_maxHostPictureSide;
}

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
