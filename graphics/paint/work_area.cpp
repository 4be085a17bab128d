#include "graphics/paint/work_area.h"

namespace {

// The screen less the taskbar's rectangle, when the taskbar lies along one whole edge.
void ScreenLessTaskbar(RECT& out)
{
    out = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    HWND tray = FindWindowW(L"Shell_TrayWnd", nullptr);
    RECT trayRect;
    RECT common;
    if (!tray || !GetWindowRect(tray, &trayRect) || !IntersectRect(&common, &out, &trayRect))
        return;
    RECT rest;
    if (SubtractRect(&rest, &out, &common))
        out = rest;
}

}  // namespace

void GetWorkArea(const POINT* point, RECT& out)
{
    const POINT origin = {0, 0};
    HMONITOR monitor =
        MonitorFromPoint(point ? *point : origin, point ? MONITOR_DEFAULTTONEAREST : MONITOR_DEFAULTTOPRIMARY);
    MONITORINFO info = {};
    info.cbSize = sizeof(info);
    if (monitor && GetMonitorInfoW(monitor, &info)) {
        out = info.rcWork;
        return;
    }
    ScreenLessTaskbar(out);
}
