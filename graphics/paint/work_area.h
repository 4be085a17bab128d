// The work area of a monitor: the part of its screen that windows may use (the taskbar
// left out).
#pragma once

#include <windows.h>

// Work area of the monitor nearest to point (the primary monitor when point is null);
// without monitor information the whole screen less the part the taskbar covers.
void GetWorkArea(const POINT* point, RECT& out);

// Flags of FitRectToWorkArea.
enum t_fitFlags : unsigned {
    e_fitLeftOfAnchor = 1,  // go left of the anchor rather than against the area's edge
    e_fitAboveAnchor = 2,   // go above the anchor rather than against the area's edge
};

// Moves a popup rectangle into the work area of the monitor of the anchor's top-left
// corner, keeping its size. One that sticks out on the right goes against the area's
// right edge, or left of the anchor with e_fitLeftOfAnchor (right of it when that leaves
// the area); one that sticks out below goes against the bottom, or above the anchor with
// e_fitAboveAnchor; one above or left of the area goes against that edge, or below or
// right of the anchor with the matching flag. Never above the area's top.
void FitRectToWorkArea(RECT& rect, const RECT& anchor, unsigned flags);
