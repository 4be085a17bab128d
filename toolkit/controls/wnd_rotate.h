// A layered window that plays a 180-degree card flip from one picture to another, one
// step per tick of timer 121.
#pragma once

#include <windows.h>

#include "graphics/paint/paint_ctx.h"

const UINT_PTR c_rotateTimerId = 121;

class t_wndRotate {
public:
    // A picture of the flip: its pixels in a memory DC, the blend to draw it with and
    // its screen rectangle.
    struct t_picture {
        t_memDC dc;
        RECT rect;
    };

    t_wndRotate();
    // Destroys the window and frees both pictures.
    virtual ~t_wndRotate();
    t_wndRotate(const t_wndRotate&) = delete;
    t_wndRotate& operator=(const t_wndRotate&) = delete;

    // Makes the layered window owned by owner; false when it cannot be made (the object
    // then has no window).
    bool Create(HWND owner);
    virtual LRESULT WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

    // Takes a copy of the pictures (a null back flips to nothing: the front is shown at its
    // place on every tick), resets the angle and starts timer 121 at interval ms. False
    // without a window or a front picture.
    bool Start(HBITMAP front, const RECT& frontRect, HBITMAP back, const RECT* backRect, UINT interval);
    // One tick.
    void Step();
    // The window rectangle of the current angle (current is kept at exactly 90 degrees).
    void ComputeFrameRect();
    void DrawFrame();
    // Ends the animation and hides the window.
    void Stop();

    HWND hwnd;
    HWND notifyHwnd;
    UINT notifyMsg;
    t_picture* front;
    t_picture* back;
    int angle;
    RECT current;
    int step;
    int reserved;
    int cursorOffsetX, cursorOffsetY;
    bool followCursor;
    int running;

private:
    static t_picture* CopyPicture(HBITMAP bitmap, const RECT& rect);
    static void FreePicture(t_picture*& picture);
};
