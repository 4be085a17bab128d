// A flash item played in a window of the Flash component above the skinned window: the
// element only keeps the player, which follows the owner window's place and visibility.
#pragma once

#include "ime_ui/windows/flash/wnd_flash_sub_impl.h"

class t_wndFlashPopupImpl : public t_wndFlashSubImpl {
public:
    // The player's own window takes the mouse; the element takes nothing and paints nothing.
    void OnMouseMove(UINT, int, int) override {}
    void OnMouseLeave() override {}
    bool OnLButtonDblClk(UINT, int, int) override { return false; }
    bool OnLButtonDown(UINT, int, int) override { return false; }
    bool OnLButtonUp(UINT, int, int) override { return false; }
    void Paint_Layout(t_paintCtx&) override {}
    bool HitTest(int, int, int) override { return false; }
    bool SuspendsDrag() override { return false; }
    bool WantsHandCursor() override { return false; }

    // The player (control id 0) and an empty child of owner that only keeps it.
    bool CreateFlash(HWND host, HWND parentWindow, int controlId, LPARAM packedId, t_wndBase* owner) override;
    void SetCaptureAll(bool) override {}
    void SetNotified(bool) override {}
    bool IsNotified() override { return false; }
    bool TickFlash() override { return false; }
    void SetPlaceholder(const t_image&) override {}
    void SetNoHandCursor(bool) override {}
    // The player's window moves to the owner window's rectangle.
    void FollowRect(const RECT& rect) override;
    // The player's window shows or hides with the owner window.
    void FollowShow(bool shown) override;
};
