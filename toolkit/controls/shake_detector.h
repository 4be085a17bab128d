// Recognises a shake while a window is dragged: a swing followed by quick reversals of
// direction, each more than `distance` pixels, the reversals at most `time` ms apart.
#pragma once

#include <cstdint>

struct t_shakeDetector {
    int reversalsNeeded = 2;
    int distance = 100;  // pixels a step must cover to count
    int time = 500;      // ms allowed between two reversals
    int count = -1;      // -1 while idle
    int lastX = 0;
    uint32_t lastReversalTick = 0;
    bool direction = false;  // the last counted step went right

    // One drag step at horizontal position x, at the hooked clock. True on the step that
    // completes a shake.
    bool Update(int x);
    // Back to idle.
    void Reset();
};
