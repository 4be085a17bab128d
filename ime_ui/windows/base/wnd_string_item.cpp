#include "ime_ui/windows/base/wnd_string_item.h"

#include "toolkit/controls/imc_wrap.h"
#include "toolkit/controls/ui_context.h"
#include "toolkit/controls/wnd_top.h"

t_wndStringItem::t_wndStringItem()
    : fadeStartAlpha(0), fadeEndAlpha(255), fadeSign(1), fadeTimerId(-1), tickCounter(0), fadeApplied(false),
      timerRunning(false), fadeSteps(0), delayTicks(0), lastHintStamp(0)
{}

t_wndStringItem::~t_wndStringItem() { StopFade(); }

void t_wndStringItem::RestartFade()
{
    const int stamp = GetContext()->Imc().GetHintStamp();
    if (stamp == lastHintStamp)
        return;
    lastHintStamp = stamp;
    if (fadeTimerId < 0)
        return;
    fadeSteps = c_fadeSteps;
    delayTicks = c_fadeDelayTicks;
    if (!timerRunning) {
        if (HWND hwnd = GetHwnd())
            SetTimer(hwnd, static_cast<UINT_PTR>(fadeTimerId), c_fadeTickMs, nullptr);
    }
    timerRunning = true;
    tickCounter = 0;
    fadeApplied = false;
    alpha = fadeStartAlpha;
}

void t_wndStringItem::StopFade()
{
    if (fadeTimerId < 0)
        return;
    if (timerRunning) {
        if (HWND hwnd = GetHwnd())
            KillTimer(hwnd, static_cast<UINT_PTR>(fadeTimerId));
    }
    timerRunning = false;
    tickCounter = 0;
    fadeSteps = 0;
    delayTicks = 0;
    fadeApplied = false;
}

bool t_wndStringItem::OnTimer(UINT_PTR timerId)
{
    if (fadeTimerId < 0 || timerId != static_cast<UINT_PTR>(fadeTimerId))
        return false;
    if (!visible) {
        StopFade();
        return true;
    }
    ++tickCounter;
    if (tickCounter <= delayTicks)
        return true;
    const int risen = tickCounter - delayTicks;
    if (fadeSteps > 0 && risen <= fadeSteps) {
        int next = alpha + fadeSign * (255 / fadeSteps);
        alpha = next < 0 ? 0 : (next > 255 ? 255 : next);
        if (risen == fadeSteps) {
            alpha = fadeEndAlpha;
            StopFade();
            if (top) {
                if (HWND topHwnd = top->GetHwnd())
                    PostMessageW(topHwnd, c_msgFadeDone, static_cast<WPARAM>(alpha),
                                 static_cast<LPARAM>(fadeTimerId - c_fadeTimerBase));
            }
        }
    }
    fadeApplied = true;
    Invalidate(nullptr);
    return true;
}
