#include "toolkit/controls/wnd_separator.h"

#include <new>

#include "foundation/core/owned.h"
#include "graphics/layout/layout_grid.h"
#include "graphics/layout/layout_render.h"
#include "graphics/layout/layout_wnd.h"
#include "graphics/layout/render.h"
#include "graphics/paint/paint_ctx.h"
#include "toolkit/controls/wnd_top.h"

t_wndSeperator::t_wndSeperator() : kind(0), linePen(nullptr), orientation(e_horizontal)
{
    for (t_image& cell : nineImages.cells)
        cell.Init();
}

void t_wndSeperator::Paint_Layout(t_paintCtx& context)
{
    if (visible)
        PaintLayoutLinked(context);
}

t_layoutWnd* t_wndSeperator::CreateLayout()
{
    if (kind != e_line)
        return nullptr;
    // A line is one pixel thick across the separator's run.
    if (orientation == e_horizontal) {
        measureValue = t_layout::e_fixedHeight;
        rect.bottom = rect.top + 1;
    } else {
        measureValue = t_layout::e_fixedWidth;
        rect.right = rect.left + 1;
    }
    auto line = MakeOwned<t_renderLine>();
    if (!line)
        return nullptr;
    line->pen = linePen;
    line->orientation = orientation;
    auto lineNode = MakeOwned<t_layoutRender>(std::move(line));
    if (!lineNode)
        return nullptr;
    t_layoutWnd* node = t_wndBase::CreateLayout();
    if (!node)
        return nullptr;
    lineNode->SetRect(node->GetRect());
    node->SetInner(std::move(lineNode));
    return node;
}

t_layoutPtr t_wndSeperator::CreateSeparatorLayout()
{
    if (kind == e_line)
        return t_layoutPtr(CreateLayout());
    if (kind != e_picture)
        return nullptr;
    auto grid = MakeOwned<t_layoutGrid>(3, 3);
    if (!grid)
        return nullptr;
    t_wndTop::BuildNineImageGrid(*grid, nineImages, false);
    return grid;
}

void t_wndSeperator::PaintDC(HDC dc)
{
    if (!visible)
        return;
    t_paintCtx context(dc, perPixelAlpha, nullptr, false);
    Paint_Layout(context);
    context.End();
}
