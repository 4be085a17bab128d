#include "toolkit/controls/input_hooks.h"

namespace {

uint32_t SystemTickCount() { return GetTickCount(); }

bool SystemPrimaryButtonDown()
{
    const int key = GetSystemMetrics(SM_SWAPBUTTON) ? VK_RBUTTON : VK_LBUTTON;
    return (GetAsyncKeyState(key) & 0x8000) != 0;
}

bool SystemCursorPos(POINT& point) { return GetCursorPos(&point) != FALSE; }

const t_inputHooks c_systemHooks = {SystemTickCount, SystemPrimaryButtonDown, SystemCursorPos};
t_inputHooks g_hooks = c_systemHooks;

}  // namespace

const t_inputHooks& InputHooks() { return g_hooks; }

t_inputHooks SetInputHooks(const t_inputHooks& hooks)
{
    const t_inputHooks old = g_hooks;
    g_hooks.tickCount = hooks.tickCount ? hooks.tickCount : c_systemHooks.tickCount;
    g_hooks.primaryButtonDown = hooks.primaryButtonDown ? hooks.primaryButtonDown : c_systemHooks.primaryButtonDown;
    g_hooks.cursorPos = hooks.cursorPos ? hooks.cursorPos : c_systemHooks.cursorPos;
    return old;
}

uint32_t InputTickCount() { return g_hooks.tickCount(); }

bool IsPrimaryButtonDown() { return g_hooks.primaryButtonDown(); }

POINT InputCursorPos()
{
    POINT point = {0, 0};
    if (!g_hooks.cursorPos(point))
        point = {0, 0};
    return point;
}
