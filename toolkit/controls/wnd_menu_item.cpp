#include "toolkit/controls/wnd_menu_item.h"

#include <new>

#include "foundation/core/owned.h"
#include "graphics/layout/layout_aligned.h"
#include "graphics/layout/layout_render.h"
#include "graphics/layout/layout_wnd.h"
#include "graphics/layout/render.h"
#include "graphics/paint/solid_draw.h"
#include "toolkit/controls/wnd_menu.h"

namespace {

// DT_NOPREFIX | DT_NOCLIP.
const UINT c_menuLabelFormat = 0x900;
// The light line under the top edge of the hot frame.
const COLORREF c_hotLineColor = 0xFAE8D3;
// White is keyed out of the check mark.
const COLORREF c_checkMarkKey = 0xFFFFFF;

}  // namespace

bool AddAlignedRender(t_layoutAligned& parent, std::unique_ptr<t_render> render, int leftMode, int leftMargin,
                      int rightMode, int rightMargin, int topMode, int topMargin, int bottomMode, int bottomMargin)
{
    if (!render)
        return false;
    return parent.AddChildAligned(MakeOwned<t_layoutRender>(std::move(render)), leftMode, leftMargin, rightMode,
                                  rightMargin, topMode, topMargin, bottomMode, bottomMargin);
}

t_wndMenuItem::t_wndMenuItem(const t_menuItemStyle& itemStyle)
    : style(itemStyle), hotFrame(nullptr), line(nullptr), pen(nullptr)
{
    // The text lives in the label; the style keeps no pointer to the caller's copy.
    style.text = nullptr;
    label.SetItemText(itemStyle.text);
    t_pen::Create(pen, c_hotLineColor);
}

t_wndMenuItem::~t_wndMenuItem()
{
    // The renderers go with the layout tree, which may already be gone.
    hotFrame = nullptr;
    line = nullptr;
    t_pen::Release(pen);
    pen = nullptr;
}

bool t_wndMenuItem::IsHot() const { return hotFrame && hotFrame->flags == 0; }

void t_wndMenuItem::OnLayoutGone(t_layout*)
{
    if (!layout) {
        hotFrame = nullptr;
        line = nullptr;
    }
}

t_layoutWnd* t_wndMenuItem::CreateLayout()
{
    auto node = MakeOwned<t_layoutAligned>();
    auto under = MakeOwned<t_layoutAligned>();
    if (!node || !under)
        return nullptr;
    node->SetRect(rect);

    label.format = c_menuLabelFormat;
    label.SetStyle(t_textItemStyle{style.grayed ? style.grayedTextColor : style.textColor, 0, 0, style.font, false});
    label.Create(0, 0, 0, 0, 0, 0, nullptr, this);
    if (t_layoutPtr labelNode{label.CreateLayout()})
        node->AddChildAligned(std::move(labelNode), 1, 18, 0, 22, 1, 6, 0, 4);

    checkMark.Create(0, 0, 0, 0, 0, 0, nullptr, this);
    if (style.checkImage)
        checkMark.image.SetPart(style.checkImage, 0, 0, c_checkMarkKey, c_noColorKey, -1, -1, t_image::e_natural,
                                t_image::e_natural, false);
    if (t_layoutPtr checkNode{checkMark.CreateLayout()})
        node->AddChildAligned(std::move(checkNode), 1, 2, 0, 0, 1, 2, 2, 2);

    // Underneath the label: the light line (no pen until the row is hot) and the hot
    // frame with its gradient, one pixel in from the left and right.
    auto lineRender = MakeOwned<t_renderLine>();
    t_renderLine* lineMade = lineRender.get();
    line = AddAlignedRender(*under, std::move(lineRender), 1, 2, 2, 2, 1, 1, 1, 2) ? lineMade : nullptr;
    auto frame = MakeOwned<t_renderFrame>();
    t_renderFrame* frameMade = frame.get();
    if (frame) {
        frame->borderColor = 0;
        frame->fillColor = 0;
        frame->flags = t_renderFrame::e_fillOnly | t_renderFrame::e_borderOnly;
        frame->innerRender =
            MakeOwned<t_renderGradient>(style.hotGradientTop, style.hotGradientBottom, t_renderGradient::e_vertical);
    }
    hotFrame = AddAlignedRender(*under, std::move(frame), 1, 1, 2, 1, 1, 0, 2, 0) ? frameMade : nullptr;
    under->SetRect(rect);
    node->SetInner(std::move(under));
    // The node goes to whoever puts the row in a tree.
    SetLayoutNode(node.release());
    return nullptr;
}

void t_wndMenuItem::ShowHot(bool hot)
{
    if (hotFrame) {
        hotFrame->borderColor = hot ? style.hotFrameColor : 0;
        hotFrame->fillColor = 0;
        hotFrame->flags = hot && !style.grayed ? 0 : t_renderFrame::e_fillOnly | t_renderFrame::e_borderOnly;
    }
    if (line)
        line->pen = hot && !style.grayed ? pen : nullptr;
}

void t_wndMenuItem::OnMouseEnter()
{
    label.textColor = style.grayed ? style.grayedTextColor : style.hotTextColor;
    ShowHot(true);
    InvalidateAll();
}

void t_wndMenuItem::OnMouseLeave()
{
    label.textColor = style.grayed ? style.grayedTextColor : style.textColor;
    ShowHot(false);
    t_wndMenu* menu = dynamic_cast<t_wndMenu*>(top);
    t_wndBase::OnMouseLeave();
    InvalidateAll();
    // Last: the notify window may rebuild the menu, and this row with it.
    if (menu)
        menu->OnItemLeave(style.command, 0);
}

bool t_wndMenuItem::OnMouseHover(UINT, int x, int y)
{
    const RECT r = GetRect();
    const POINT point = {x, y};
    if (!PtInRect(&r, point))
        return false;
    if (t_wndMenu* menu = dynamic_cast<t_wndMenu*>(top))
        menu->OnItemHover(style.command, r);
    return true;
}

bool t_wndMenuItem::OnLButtonUp(UINT, int x, int y)
{
    if (!HitTest(x, y, 0))
        return false;
    t_wndMenu* menu = dynamic_cast<t_wndMenu*>(top);
    if (!menu)
        return false;
    if (!style.grayed)
        menu->OnItemClick(style.command);
    return true;
}

bool t_wndMenuItem::HitTest(int x, int y, int)
{
    if (!visible || !acceptsMouse)
        return false;
    const RECT r = GetRect();
    const POINT point = {x, y};
    return PtInRect(&r, point) != FALSE;
}
