#include "graphics/layout/layout_render.h"

#include "foundation/core/perf.h"
#include "graphics/layout/render.h"

t_layoutRender::t_layoutRender(std::unique_ptr<t_render> render) : m_render(std::move(render)) {}

t_layoutRender::~t_layoutRender() = default;

void t_layoutRender::SetRender(std::unique_ptr<t_render> render) { m_render = std::move(render); }

int t_layoutRender::Measure(t_paintCtx*)
{
    ApplyMinSize();
    return 0;
}

void t_layoutRender::Paint_Layout_Render(t_paintCtx& context, const POINT* offset)
{
    PerfScope scope("Paint_Layout_Render");
    if (!m_render)
        return;
    RECT r = rect;
    if (offset)
        OffsetRect(&r, offset->x, offset->y);
    m_render->Paint(context, r);
}

t_layout* t_layoutRender::FindNodeAt(int x, int y)
{
    return m_render && m_render->HitTest(x - rect.left, y - rect.top) ? this : nullptr;
}

HRGN t_layoutRender::GetRegion(HDC dc)
{
    return m_render ? m_render->GetRegion(dc, rect.right - rect.left, rect.bottom - rect.top) : nullptr;
}

bool t_layoutRender::HitTest(POINT point, POINT* out)
{
    if (!m_render || !PtInRect(&rect, point))
        return false;
    return m_render->MapPoint(POINT{point.x - rect.left, point.y - rect.top},
                              SIZE{rect.right - rect.left, rect.bottom - rect.top}, out);
}
