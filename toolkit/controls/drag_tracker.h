// Tells whether the pointer has left the point where a button was pressed by a threshold,
// so that a press on a child turns into a window drag only after a real move.
#pragma once

struct t_dragTracker {
    int threshold = 4;
    bool pressed = false;
    bool moved = false;  // latched until Reset
    int pressX = 0, pressY = 0;

    // Records the press point unless a press is already recorded.
    void Press(int x, int y);
    // False while not pressed; true once |x - pressX| or |y - pressY| reached the
    // threshold, and from then on until Reset.
    bool HasMoved(int x, int y);
    // Not pressed, not moved, press point 0.
    void Reset();
};
