#include "toolkit/ownerdraw/owner_draw_hover_button_item.h"

#include "toolkit/ownerdraw/owner_draw_button_group.h"

t_wndOwnerDrawHoverButtonItem::t_wndOwnerDrawHoverButtonItem() : selected(false), group(nullptr) {}

t_wndOwnerDrawHoverButtonItem::~t_wndOwnerDrawHoverButtonItem()
{
    if (group)
        group->Remove(this);
}

bool t_wndOwnerDrawHoverButtonItem::OnMouseMove(HWND, UINT, WPARAM, LPARAM)
{
    if (hovering || selected)
        return true;
    state = e_hover;
    hovering = true;
    Repaint();
    return true;
}

bool t_wndOwnerDrawHoverButtonItem::OnMouseLeave(HWND, UINT, WPARAM, LPARAM)
{
    hovering = false;
    if (!selected)
        state = e_normal;
    Repaint();
    return true;
}

bool t_wndOwnerDrawHoverButtonItem::OnLButtonDown(HWND, UINT, WPARAM, LPARAM)
{
    if (!selected) {
        state = e_pressed;
        selected = true;
        if (group)
            group->Select(this);
    }
    pressed = true;
    Repaint();
    return true;
}

bool t_wndOwnerDrawHoverButtonItem::OnLButtonUp(HWND window, UINT, WPARAM, LPARAM lParam)
{
    pressed = false;
    RECT client = {0, 0, 0, 0};
    if (window)
        GetClientRect(window, &client);
    const POINT point = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    if (selected && PtInRect(&client, point)) {
        Repaint();
        return true;
    }
    selected = false;
    state = e_normal;
    Repaint();
    return true;
}
