// The work area of a monitor: the part of its screen that windows may use (the taskbar
// left out).
#pragma once

#include <windows.h>

// Work area of the monitor nearest to point (the primary monitor when point is null);
// without monitor information the whole screen less the part the taskbar covers.
void GetWorkArea(const POINT* point, RECT& out);
