// An owner-drawn dialog button with hover and pressed looks: its picture is a horizontal
// strip of equal frames (normal, hover, pressed), and its text, when shown, takes a colour
// per state; an icon may be drawn instead of the text. The "4" variant takes a strip of
// four frames.
#pragma once

#include <windows.h>

#include "toolkit/ownerdraw/owner_draw_button.h"

class t_wndOwnerDrawHoverButton : public t_wndOwnerDrawButton {
public:
    enum t_state : int {
        e_normal = 0,
        e_hover = 1,
        e_pressed = 2,
    };
    // Target rectangle of the icon for an item rectangle and the icon's size.
    typedef RECT (*t_iconPlacer)(const RECT& item, SIZE icon);

    t_wndOwnerDrawHoverButton();
    ~t_wndOwnerDrawHoverButton() override;

    LRESULT WndProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) override;
    bool Attach(HWND window) override { return t_wndOwnerDrawButton::Attach(window); }
    // Also forgets the hover and pressed frames and resets state, flags and colours.
    void Detach() override;
    // Takes one frame of the strip as the face, then sizes the control to it.
    void OnAttached() override;
    // The background, the frame of the state, then the icon or the text, and the focus
    // rectangle; false (nothing drawn) for a state without a frame.
    bool DrawItem(const DRAWITEMSTRUCT& item) override;
    virtual bool OnMouseMove(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);
    virtual bool OnMouseLeave(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);
    virtual bool OnLButtonDown(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);
    virtual bool OnLButtonUp(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);

    // Wraps a dialog item as AttachDlgItem does, then cuts the hover and pressed frames
    // from the strip.
    bool Attach(HWND dialog, int itemId, const wchar_t* picture, HMODULE module, const wchar_t* backgroundPicture);

    // Frames in the picture strip.
    virtual int FrameCount() const { return 3; }
    // Repaints the control (InvalidateRect with erase).
    void Repaint();

    t_image hoverImage;
    t_image pressedImage;
    int state;
    bool hovering;
    bool pressed;
    COLORREF textColor;
    COLORREF pressedTextColor;
    bool drawFocus;
    bool drawIcon;
    // Drawn in place of the text; the button owns it and frees it when destroyed.
    t_image icon;
    bool threeColors;
    COLORREF normalColor, hoverColor, downColor;
    t_iconPlacer iconPlacer;

protected:
    bool TracksLeave() const override { return true; }
    void ResetLooks();
};

class t_wndOwnerDrawHoverButton4 : public t_wndOwnerDrawHoverButton {
public:
    int FrameCount() const override { return 4; }
};
