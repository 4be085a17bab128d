// Mix-in of the input method's main windows for drawing that is put off until later. No
// window here draws that way: the callback does nothing unless a window overrides it.
#pragma once

class t_wndDelayDraw {
public:
    t_wndDelayDraw() = default;
    virtual ~t_wndDelayDraw();

    // Runs the drawing that was put off.
    virtual void OnDelayDraw() {}

protected:
    bool m_drawPending = false;
    bool m_drawRunning = false;
};
