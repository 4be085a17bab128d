// The button-state animation of the desktop preview: it shows one status-bar button's
// picture variants in turn, and within each the seven state pictures, each for as long as
// its picture plays (a still picture for a second), so that a designer sees every picture
// of the button as the input method would show it.
#pragma once

#include <windows.h>

#include <cstdint>

class t_wndStatusBtn;
struct t_image;

class StateAnimator {
public:
    // States are the button's seven (normal .. up); this one means a full cycle was shown.
    static const int c_stateCount = 7;
    static const int c_cycleDone = 7;
    // How long a still picture is shown, in milliseconds.
    static const uint32_t c_stillPictureMs = 1000;

    // Picture and state -1; the button and the running flag are kept.
    void Reset();
    void SetRunning(bool on) { m_running = on; }
    bool Running() const { return m_running; }
    // The button to animate (not owned; null: none) and its number of picture variants.
    void SetButton(t_wndStatusBtn* button, int pictureCount);
    t_wndStatusBtn* Button() const { return m_button; }
    int Picture() const { return m_picture; }
    int State() const { return m_state; }

    // One step at now (milliseconds): the next picture variant once the states of the
    // current one were all shown (or none of them has a duration), else the next state once
    // the current one has lasted its picture's time. True when the button changed; false
    // when not running or without a button.
    bool Step(uint32_t now);
    // Stops and shows the button's first picture variant in its own state again.
    void Stop();

    // Milliseconds a state picture lasts: 0 for none or an empty picture, a second for a
    // still picture, the play length of an animated one.
    static uint32_t PictureDuration(const t_image* picture);

private:
    // Duration of the picture of the current state in the current variant.
    uint32_t CurrentDuration() const;
    // The button shows a picture variant, or a state of the current variant, its own
    // choice of either held off.
    void ShowPicture(int picture);
    void ShowState(int state);

    t_wndStatusBtn* m_button = nullptr;
    int m_picture = -1;
    int m_state = -1;
    uint32_t m_stateStart = 0;
    bool m_running = false;
    int m_pictureCount = 0;
    // What the button had before the animator took it, given back by Stop.
    bool m_savedModeLock = false;
    bool m_savedFixedOn = false;
    int m_savedFixedState = 0;
};
