#include "graphics/layout/layout_fixed_image.h"

#include "foundation/core/perf.h"
#include "graphics/image/image.h"

t_layoutFixedImage::t_layoutFixedImage(t_image* image, int width, int height) { SetImage(image, width, height); }

void t_layoutFixedImage::SetImage(t_image* image, int width, int height)
{
    m_image = image;
    if (width < 0)
        width = image ? image->partWidth : 0;
    if (height < 0)
        height = image ? image->partHeight : 0;
    m_size = SIZE{width < 0 ? 0 : width, height < 0 ? 0 : height};
    // Nodes that give their children their minimum size keep this one at its size too.
    minWidth = m_size.cx;
    minHeight = m_size.cy;
}

RECT t_layoutFixedImage::ImageRect() const
{
    return RECT{rect.left, rect.top, ClampToInt(0LL + rect.left + m_size.cx), ClampToInt(0LL + rect.top + m_size.cy)};
}

int t_layoutFixedImage::Measure(t_paintCtx*)
{
    rect = ImageRect();
    return e_fixedWidth | e_fixedHeight;
}

void t_layoutFixedImage::Paint(t_paintCtx& context, const POINT* offset)
{
    PerfScope scope("Paint_Layout_FixedImage");
    if (!m_image || m_image->IsEmpty() || m_size.cx <= 0 || m_size.cy <= 0)
        return;
    RECT r = ImageRect();
    if (offset)
        OffsetRect(&r, offset->x, offset->y);
    m_image->Draw(context, r.left, r.top, m_size.cx, m_size.cy, 255);
}

t_layout* t_layoutFixedImage::FindNodeAt(int x, int y)
{
    const RECT box = ImageRect();
    return PtInRect(&box, POINT{x, y}) ? this : nullptr;
}

HRGN t_layoutFixedImage::GetRegion(HDC dc)
{
    return m_image ? m_image->CreateRegion(dc, m_size.cx, m_size.cy) : nullptr;
}

bool t_layoutFixedImage::HitTest(POINT point, POINT* out)
{
    const RECT box = ImageRect();
    if (!PtInRect(&box, point))
        return false;
    POINT pixel = {};
    if (out && m_image && m_image->MapPoint(m_size, POINT{point.x - box.left, point.y - box.top}, pixel))
        *out = pixel;
    return true;
}
