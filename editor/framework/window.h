// The editor's own window family: a handle with owned child objects (Window), windows
// created with CreateWindowExW (Frame, SizeFrame) and the main frame's base that keeps
// its placement in the settings file (FrameStoreSize). The skinned IME windows are a
// different family and do not use these classes.
#pragma once

#include <windows.h>

#include "skin_model/ptr_vector.h"

class Window {
public:
    Window();
    virtual ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    // Each child's OnDestroy, then the child is deleted; the list is emptied and the
    // handle forgotten.
    virtual void OnDestroy();
    virtual void Move(int left, int top, int right, int bottom, bool repaint);
    virtual LRESULT WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    virtual void GetSize(int& width, int& height);

    HWND GetHwnd() const { return m_hwnd; }
    void SetHwnd(HWND window) { m_hwnd = window; }
    BOOL Show(int command) { return ShowWindow(m_hwnd, command); }
    HWND GetParentHwnd() const { return GetParent(m_hwnd); }
    LRESULT SendToParent(UINT message, WPARAM wParam, LPARAM lParam);
    // The list owns the object from here on.
    void AddChild(Window* child);
    int ChildCount() const { return m_children.Count(); }
    Window* ChildAt(int index) const;
    // Records the window's size and centres it on the screen.
    void CenterOnScreen();
    // The window rectangle in the parent's client coordinates (parent with a menu);
    // -1 without a parent.
    int GetRectInParent(RECT& out) const;

protected:
    void DeleteChildren();

    HWND m_hwnd;
    t_ptrVector m_children;
    int m_width;
    int m_height;
};

class Frame : public Window {
public:
    LRESULT WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
    // A null class means "IMEKavrel"; the menu is loaded from the module when menuId is
    // not 0. The object is stored in the window's GWL_USERDATA.
    virtual bool Create(const wchar_t* className, const wchar_t* title, DWORD style, int menuId, int left, int top,
                        int right, int bottom, HWND parent, HINSTANCE module);
    virtual void OnPaint(HDC dc);
};

class SizeFrame : public Frame {
public:
    virtual void OnSizeChanged() = 0;
};

// A frame that stores its placement in "Window Rect" of the settings file when it is
// destroyed and restores it on the first activation of the process.
class FrameStoreSize : public Frame {
public:
    LRESULT WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;

    // The placement into the settings object (not the file: the program saves it on exit).
    static void StorePlacement(HWND window);
    static void RestorePlacement(HWND window);
    // For tests: the next activation restores the placement again.
    static void ResetFirstActivation();
};

// The class procedure of "IMEKavrel", "IMEKavrel_FullScreen", "IMEKavrel_BTN" and the
// dialog procedure of every Dialog: hands each message to the object in GWL_USERDATA.
LRESULT CALLBACK FrameworkWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
