#include "toolkit/controls/shake_detector.h"

#include <cstdlib>

#include "toolkit/controls/input_hooks.h"

bool t_shakeDetector::Update(int x)
{
    const uint32_t now = InputTickCount();
    if (count == -1) {
        lastReversalTick = now;
        count = 0;
        lastX = x;
        return false;
    }
    // Steps are compared in 64 bits: positions come from screen coordinates and a
    // difference of two ints may not fit in one.
    const int64_t step = static_cast<int64_t>(x) - lastX;
    if (step <= distance && step >= -static_cast<int64_t>(distance))
        return false;
    const bool right = step > distance;
    lastX = x;
    bool shake = false;
    if (count == 0) {
        count = 1;
    } else if (right != direction) {
        if (now - lastReversalTick <= static_cast<uint32_t>(time)) {
            shake = count == reversalsNeeded;
            ++count;
        }
        lastReversalTick = now;
    }
    direction = right;
    return shake;
}

void t_shakeDetector::Reset()
{
    count = -1;
    lastX = 0;
}
