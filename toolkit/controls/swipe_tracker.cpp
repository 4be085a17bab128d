#include "toolkit/controls/swipe_tracker.h"

#include "toolkit/controls/input_hooks.h"

namespace {

// Pixels per second of a move of delta pixels (delta > 0) over elapsed ms, in 64 bits so that
// a far move cannot wrap.
uint64_t Speed(int64_t delta, uint32_t elapsed) { return static_cast<uint64_t>(delta) * 1000u / elapsed; }

}  // namespace

void t_swipeTracker::Reset(int x, int y)
{
    started = false;
    result = false;
    directions = 0;
    startX = x;
    startY = y;
}

bool t_swipeTracker::Track(int x, int y)
{
    if (!enabled)
        return false;
    const int64_t dx = static_cast<int64_t>(x) - startX;
    const int64_t dy = static_cast<int64_t>(y) - startY;
    if (!started) {
        if (dx >= distance || -dx >= distance || dy >= distance || -dy >= distance) {
            started = true;
            startTime = InputTickCount();
            startX = x;
            startY = y;
        }
        return false;
    }
    uint32_t elapsed = InputTickCount() - startTime;
    if (elapsed >= c_windowMs) {
        result = false;
        return false;
    }
    if (elapsed == 0)
        elapsed = 1;
    int flags = 0;
    if (dx > distance && Speed(dx, elapsed) > speed)
        flags = e_right;
    else if (dx < -static_cast<int64_t>(distance) && Speed(-dx, elapsed) > speed)
        flags = e_left;
    if (dy > distance && Speed(dy, elapsed) > speed)
        flags |= e_down;
    else if (dy < -static_cast<int64_t>(distance) && Speed(-dy, elapsed) > speed)
        flags |= e_up;
    directions = flags;
    result = flags != 0;
    return result;
}
