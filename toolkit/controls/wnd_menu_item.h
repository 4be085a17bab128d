// One row of the skinned popup menu: a label, a check mark and a hot frame with a gradient
// that shows while the mouse is over the row. It tells its menu when it is hovered, left
// and clicked.
#pragma once

#include <windows.h>

#include "toolkit/controls/wnd_base.h"
#include "toolkit/controls/wnd_image.h"
#include "toolkit/controls/wnd_text_item.h"

struct t_font;
struct t_pen;
struct t_imageSource;
class t_layoutAligned;
class t_render;
class t_renderFrame;
class t_renderLine;

// Places render in a node of its own inside parent with the anchors given (as
// t_layoutAligned::AddChildAligned takes them). The tree owns the renderer; false (the
// renderer deleted) when it could not be placed.
bool AddAlignedRender(t_layoutAligned& parent, std::unique_ptr<t_render> render, int leftMode, int leftMargin, int rightMode,
                      int rightMargin, int topMode, int topMargin, int bottomMode, int bottomMargin);

// The look and the data of one row, copied from the menu.
struct t_menuItemStyle {
    COLORREF hotGradientTop;
    COLORREF hotGradientBottom;
    COLORREF hotFrameColor;
    COLORREF hotTextColor;
    COLORREF textColor;
    COLORREF grayedTextColor;
    t_font* font;               // not owned
    t_imageSource* checkImage;  // not owned; null when the row is not checked
    const wchar_t* text;        // copied into the label
    bool grayed;
    int command;
};

class t_wndMenuItem : public t_wndBase {
public:
    explicit t_wndMenuItem(const t_menuItemStyle& itemStyle);
    // Frees the pen; the label and the check mark are members.
    ~t_wndMenuItem() override;

    void OnMouseEnter() override;
    void OnMouseLeave() override;
    // Over the row: the menu hears of the hover.
    bool OnMouseHover(UINT keys, int x, int y) override;
    // Over the row of a menu: a click, unless the row is grayed.
    bool OnLButtonUp(UINT keys, int x, int y) override;
    // A row that takes the mouse (its selectable byte) is hit anywhere in its rectangle.
    bool HitTest(int x, int y, int mode) override;
    // The row's aligned node with the label, the check mark and, underneath, the hot frame
    // and its light line. Returned as null: the node is not a window node; layout holds it.
    t_layoutWnd* CreateLayout() override;

    const t_menuItemStyle& Style() const { return style; }
    const t_wndTextItem& Label() const { return label; }
    bool IsHot() const;

    t_menuItemStyle style;
    t_wndTextItem label;
    t_wndImage checkMark;
    t_renderFrame* hotFrame;  // owned by the layout tree
    t_renderLine* line;       // owned by the layout tree
    t_pen* pen;

protected:
    // The frame and the line live in the row's own node.
    void OnLayoutGone(t_layout* node) override;

private:
    void ShowHot(bool hot);
};
