// An owner-drawn hover button that behaves as one button of a radio group: a press
// selects it (it stays pressed) and unselects the others of its group.
#pragma once

#include "toolkit/ownerdraw/owner_draw_hover_button.h"

class t_ownerDrawButtonGroup;

class t_wndOwnerDrawHoverButtonItem : public t_wndOwnerDrawHoverButton {
public:
    t_wndOwnerDrawHoverButtonItem();
    // Leaves its group.
    ~t_wndOwnerDrawHoverButtonItem() override;

    bool OnMouseMove(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) override;
    bool OnMouseLeave(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) override;
    bool OnLButtonDown(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) override;
    // A release outside the client rectangle gives the selection up again.
    bool OnLButtonUp(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) override;

    bool selected;
    t_ownerDrawButtonGroup* group;
};

class t_wndOwnerDrawHoverButtonItem4 : public t_wndOwnerDrawHoverButtonItem {
public:
    int FrameCount() const override { return 4; }
};
