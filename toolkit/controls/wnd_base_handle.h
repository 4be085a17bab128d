// An object attached to an existing window (a dialog control) by subclassing it: the
// window's messages reach the object's virtual WndProc first and then the procedure the
// window had before. A wrapper with an id tells the parent window when the mouse rests on
// the control and when it leaves.
#pragma once

#include <windows.h>

#include "toolkit/controls/toolkit_messages.h"

// The id of a wrapper that reports neither hover nor leave.
const int c_noHandleId = -1;

class t_wndBaseHandle {
public:
    t_wndBaseHandle();
    // Detaches.
    virtual ~t_wndBaseHandle();
    t_wndBaseHandle(const t_wndBaseHandle&) = delete;
    t_wndBaseHandle& operator=(const t_wndBaseHandle&) = delete;

    // Hover and leave reporting, then the previous procedure.
    virtual LRESULT WndProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);
    // Subclasses window and makes this object its wrapper. A window that another wrapper
    // already holds keeps that wrapper underneath: its messages pass through this object
    // first and then through the other. Attaching again to the same window changes
    // nothing; attaching to another window takes the object off the first (its pictures
    // stay). False for no window.
    virtual bool Attach(HWND window);
    // Takes the object out of the window's chain: the wrapper underneath (or, for the
    // last one, the window's own procedure) handles the messages again.
    virtual void Detach();
    // Runs at the end of every Attach.
    virtual void OnAttached();
    // Stores the point of a WM_LBUTTONDOWN in the record; true for that message only.
    virtual bool PreTranslate(MSG& msg);

    void Show(bool show);
    void Move(int x, int y, int width, int height, bool repaint);

    // The wrapper handling window first; null when none.
    static t_wndBaseHandle* FromHwnd(HWND window);

    HWND hwnd;
    // The window's procedure below every wrapper.
    WNDPROC oldWndProc;
    int id;

protected:
    // A wrapper that follows the mouse itself wants WM_MOUSELEAVE after every move, with
    // or without an id.
    virtual bool TracksLeave() const { return false; }
    // The wrapper underneath, or the window's previous procedure.
    LRESULT CallPrevious(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);

private:
    // The window is being destroyed: every wrapper forgets it.
    void ForgetDyingWindow();

    // The wrapper that held the window before this one attached; null when none.
    t_wndBaseHandle* m_below;
};
