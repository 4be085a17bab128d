// A separator between menu items: a one-pixel line, or a nine-part picture that the menu
// places in its own layout tree.
#pragma once

#include <windows.h>

#include "graphics/paint/nine_images.h"
#include "toolkit/controls/wnd_base.h"

struct t_pen;

class t_wndSeperator : public t_wndBase {
public:
    enum t_kind : int {
        e_line = 1,
        e_picture = 2,
    };
    enum t_orientation : int {
        e_horizontal = 0,
        e_vertical = 1,
    };

    t_wndSeperator();
    ~t_wndSeperator() override = default;

    // Shown: paints the inner node.
    void Paint_Layout(t_paintCtx& context) override;
    // A separator has no children to destroy.
    void Destroy() override {}
    // Line: a line node inside the element's own node, which is returned. Any other kind
    // gives the element no node: null.
    t_layoutWnd* CreateLayout() override;
    // The node that shows the separator in a menu's layout tree, by kind: the line's own
    // node (CreateLayout); for a picture a new 3 x 3 grid of the nine pictures that the
    // caller owns (it is not the element's layout); null for any other kind.
    t_layoutPtr CreateSeparatorLayout();
    // Never hit.
    bool HitTest(int, int, int) override { return false; }
    // Paints into a plain DC (alpha kept when the element paints real alpha).
    virtual void PaintDC(HDC dc);

    int kind;
    const t_pen* linePen;  // not owned
    int orientation;
    t_imageSet9 nineImages;
};
