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

void FitRectToWorkArea(RECT& rect, const RECT& anchor, unsigned flags)
{
    const POINT corner = {anchor.left, anchor.top};
    RECT area;
    GetWorkArea(&corner, area);
    const LONG width = rect.right - rect.left;
    const LONG height = rect.bottom - rect.top;
    const bool leftOfAnchor = (flags & e_fitLeftOfAnchor) != 0;
    const bool aboveAnchor = (flags & e_fitAboveAnchor) != 0;

    LONG left = rect.left;
    if (rect.right > area.right)
        left = leftOfAnchor ? anchor.left - width : area.right - width;
    if (left < area.left)
        left = leftOfAnchor ? anchor.right : area.left;

    LONG top = rect.top;
    if (rect.bottom > area.bottom) {
        const bool anchorInside = anchor.top >= area.top && anchor.top < area.bottom;
        top = aboveAnchor && anchorInside ? anchor.top - height : area.bottom - height;
        if (top < area.top)
            top = area.top;
    } else if (top < area.top) {
        top = aboveAnchor ? anchor.bottom : area.top;
    }
    rect = {left, top, left + width, top + height};
}
