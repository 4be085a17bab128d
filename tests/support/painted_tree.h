// A tree of painted elements under a top window that has no window of its own, for pixel
// tests and benchmarks of the top's rendering: the top's layout is an aligned node that
// holds one element node per child, and the children fill their rectangles.
#pragma once

#include <windows.h>

#include <cstdint>

#include "graphics/layout/layout.h"
#include "graphics/layout/layout_aligned.h"
#include "graphics/layout/layout_wnd.h"
#include "graphics/paint/paint_ctx.h"
#include "toolkit/controls/wnd_top.h"

// Fills its rectangle: through GDI with a COLORREF (alpha 0 on 32-bit targets), or through
// the paint context with an ARGB colour (alpha kept on alpha targets).
class t_fillElement : public t_wndBase {
public:
    t_fillElement(uint32_t fillColor, bool throughGdi) : color(fillColor), gdi(throughGdi) {}

    void Paint_Layout(t_paintCtx& context) override
    {
        const RECT r = GetRectInHwnd();
        if (!gdi) {
            context.FillRect(r.left, r.top, r.right - r.left, r.bottom - r.top, color);
            return;
        }
        HBRUSH brush = CreateSolidBrush(color);
        FillRect(context.Dc(), &r, brush);
        DeleteObject(brush);
    }

    uint32_t color;
    bool gdi;
};

// Gives a top an aligned root node over its rectangle, to hold the children's nodes.
inline void AddRootLayout(t_wndTop& top)
{
    t_layoutAligned* root = new t_layoutAligned();
    root->SetRect(top.rect);
    top.layout = root;
}

// Gives a top without a window its rectangle and a root node for children.
inline void MakeWindowlessTop(t_wndTop& top, int x, int y, int width, int height)
{
    top.t_wndBase::Create(0, x, y, width, height, 0, nullptr, nullptr);
    top.SetTop(&top);
    AddRootLayout(top);
}

// A filled child at (x, y) relative to the top, painted through the root node.
inline t_fillElement* AddFilledChild(t_wndTop& top, int x, int y, int width, int height, uint32_t color, bool gdi)
{
    t_fillElement* child = new t_fillElement(color, gdi);
    child->Create(0, x, y, width, height, 0, nullptr, &top);
    t_layoutWnd* node = child->CreateLayout();
    static_cast<t_layoutAligned*>(top.layout)->AddChild(t_layoutPtr(node), t_alignInfo::Default());
    child->SyncLayoutRect();
    return child;
}

// Arranges the background layers (the picture layer and the mask layer) over the top's rectangle.
inline void LayOutBackground(t_wndTop& top)
{
    for (t_layout* layer : {top.layout->GetInner(), top.layout->GetNext()}) {
        if (!layer)
            continue;
        layer->Measure(nullptr);
        layer->SetRect(top.rect);
        layer->Layout(nullptr);
    }
}
