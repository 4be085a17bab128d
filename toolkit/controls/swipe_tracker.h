// Turns a stream of pointer positions into a swipe direction: once the pointer has moved a
// minimum distance from where tracking began, the speed of the movement over the next half
// second decides whether it was a swipe to the left, right, up or down.
#pragma once

#include <cstdint>

struct t_swipeTracker {
    enum t_direction : int {
        e_left = 1,
        e_right = 2,
        e_up = 4,
        e_down = 8,
    };
    // A swipe must happen within this time after tracking started.
    static const uint32_t c_windowMs = 500;

    int distance = 4;      // pixels the pointer moves before tracking starts
    uint32_t speed = 100;  // pixels per second a swipe must exceed
    bool enabled = false;
    bool started = false;
    bool result = false;  // the last call saw a swipe
    int directions = 0;   // t_direction bits; a horizontal and a vertical one may combine
    int startX = 0, startY = 0;
    uint32_t startTime = 0;

    // Forgets a started track and takes (x, y) as the new point of departure.
    void Reset(int x, int y);
    // Feeds one pointer position (clock: InputTickCount); true when it completes a swipe.
    bool Track(int x, int y);
};
