#include "toolkit/controls/drag_tracker.h"

#include <cstdlib>

void t_dragTracker::Press(int x, int y)
{
    if (pressed)
        return;
    pressed = true;
    pressX = x;
    pressY = y;
}

bool t_dragTracker::HasMoved(int x, int y)
{
    if (!pressed)
        return false;
    if (!moved && (std::abs(x - pressX) >= threshold || std::abs(y - pressY) >= threshold))
        moved = true;
    return moved;
}

void t_dragTracker::Reset()
{
    pressed = false;
    moved = false;
    pressX = 0;
    pressY = 0;
}
