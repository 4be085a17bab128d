// A dialog push button with the owner-draw style drawn from a picture: the wrapper sizes
// the control to its picture, shows the hand cursor over it and reports a right click to
// the parent as NM_RCLICK.
#pragma once

#include <windows.h>

#include <functional>

#include "graphics/image/image.h"
#include "toolkit/controls/wnd_base_handle.h"

class t_wndOwnerDrawButton : public t_wndBaseHandle {
public:
    t_wndOwnerDrawButton();
    // Detaches and frees the pictures.
    ~t_wndOwnerDrawButton() override;

    LRESULT WndProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) override;
    bool Attach(HWND window) override { return t_wndBaseHandle::Attach(window); }
    // Also frees the face and background pictures.
    void Detach() override;
    // Sizes the control to the face's part.
    void OnAttached() override;
    // Draws the face at its natural size at the item's origin; true.
    virtual bool DrawItem(const DRAWITEMSTRUCT& item);
    // Sends WM_NOTIFY with NM_RCLICK to the parent.
    virtual void OnRClick(WPARAM keys, POINT point);

    // Wraps item itemId of dialog with the picture resource of module (a bitmap resource
    // first, then a PNG or BMP picture resource) and an optional background picture. False
    // when the control is missing or the face cannot be loaded.
    bool AttachDlgItem(HWND dialog, int itemId, const wchar_t* picture, HMODULE module,
                       const wchar_t* backgroundPicture);

    // Hands a WM_DRAWITEM to the owner-drawn wrapper of its control; false when the control
    // has none.
    static bool DrawItemOf(const DRAWITEMSTRUCT* item);

    t_image face;
    t_image background;
    int itemId;

protected:
    // Draws the item through a memory DC of the item's size: paint draws into it, then it
    // is copied onto the item DC.
    bool DrawBuffered(const DRAWITEMSTRUCT& item, const std::function<bool(HDC dc, int width, int height)>& paint);
};

// Loads a picture resource into record: a bitmap resource when picture is a number, else
// (or failing that) a PNG or BMP picture resource. False when neither loads.
bool LoadButtonPicture(HMODULE module, const wchar_t* picture, t_image& record);
