// A flash item played as the window's background: the element paints the window's
// background layout with every picture of it replaced by the player's current frame.
#pragma once

#include "ime_ui/windows/flash/wnd_flash_sub_impl.h"

class t_layout;

class t_wndFlashBkSubImpl : public t_wndFlashSubImpl {
public:
    t_wndFlashBkSubImpl();

    // The background layout under the player's frame.
    void Paint_Layout(t_paintCtx& context) override;
    // The element's node, carrying the background layout as its inner node.
    t_layoutWnd* CreateLayout() override;
    // The window's background layout; it stays the window's to delete.
    void SetInnerLayout(t_layout* layout) override;
    // Relative to the background layout when there is one.
    void ToFlashPoint(POINT* point) override;

    t_layout* InnerLayout() const { return m_inner; }

protected:
    // The background went with the window's tree.
    void OnLayoutGone(t_layout* node) override;

private:
    t_layout* m_inner;  // the background layout, not owned
};
