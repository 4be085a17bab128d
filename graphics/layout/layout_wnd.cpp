#include "graphics/layout/layout_wnd.h"

#include "foundation/core/perf.h"
#include "graphics/paint/paint_ctx.h"

SIZE t_layoutWnd::GetSize()
{
    if (!m_element)
        return SIZE{0, 0};
    return m_element->GetElementMinSize();
}

int t_layoutWnd::Measure(t_paintCtx* context)
{
    if (!m_element)
        return 0;
    rect.right = rect.left;
    rect.bottom = rect.top;
    const int value = m_element->Measure(context ? context->Dc() : nullptr);
    if (value == 0)
        return 0;
    if (m_element->IsElementVisible()) {
        const RECT r = m_element->GetElementRect();
        rect.right = ClampToInt(0LL + rect.left + r.right - r.left);
        rect.bottom = ClampToInt(0LL + rect.top + r.bottom - r.top);
    }
    return value;
}

void t_layoutWnd::Paint(t_paintCtx& context, const POINT*)
{
    PerfScope scope("Paint_Layout_Wnd");
    if (m_element)
        m_element->Paint_Layout(context);
}

HRGN t_layoutWnd::GetRegion(HDC) { return m_element ? m_element->GetRegion() : nullptr; }
