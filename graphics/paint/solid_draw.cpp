#include "graphics/paint/solid_draw.h"

#include <algorithm>
#include <cstdlib>
#include <new>

#include "graphics/paint/color_key.h"
#include "graphics/paint/paint_ctx.h"
#include "graphics/paint/pixel_ops.h"

namespace {

// Alpha byte of a colour whose top byte is its alpha, 0 meaning opaque.
int AlphaOf(uint32_t color)
{
    const int alpha = static_cast<int>(color >> 24);
    return alpha == 0 ? 255 : alpha;
}

const BLENDFUNCTION c_sourceAlpha = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};

}  // namespace

bool t_paintCtx::FillRect(int x, int y, int width, int height, uint32_t argb)
{
    if (width <= 0 || height <= 0 || !m_dc)
        return true;
    if (!IsAlphaTarget()) {
        HBRUSH brush = CreateSolidBrush(argb & 0xFFFFFF);
        if (!brush)
            return false;
        RECT rect = {x, y, x + width, y + height};
        ::FillRect(m_dc, &rect, brush);
        DeleteObject(brush);
        return true;
    }
    t_scratchDib dib(m_dc, width, height);
    if (!dib)
        return false;
    const uint32_t pixel = ColorRefToArgb(argb & 0xFFFFFF);
    std::fill(dib->Pixels(), dib->Pixels() + static_cast<size_t>(width) * height, pixel);
    SetAlphaPremultiplied(height, dib->Pixels(), argb < 0x1000000u ? 255 : static_cast<int>(argb >> 24), width);
    AlphaBlend(m_dc, x, y, width, height, dib->dc, 0, 0, width, height, c_sourceAlpha);
    return true;
}

bool t_pen::Create(t_pen*& out, uint32_t color)
{
    out = nullptr;
    HPEN pen = CreatePen(PS_SOLID, 1, color & 0xFFFFFF);
    if (!pen)
        return false;
    out = new (std::nothrow) t_pen{pen, color};
    if (!out) {
        DeleteObject(pen);
        return false;
    }
    return true;
}

void t_pen::Release(t_pen* pen)
{
    if (!pen)
        return;
    if (pen->pen)
        DeleteObject(pen->pen);
    delete pen;
}

bool DrawPenLine(int x1, int y1, int x2, int y2, t_paintCtx& context, const t_pen* pen)
{
    if (!pen || !pen->pen || !context.Dc())
        return false;
    HDC dc = context.Dc();
    if (!context.IsAlphaTarget()) {
        HGDIOBJ old = SelectObject(dc, pen->pen);
        MoveToEx(dc, x1, y1, nullptr);
        LineTo(dc, x2, y2);
        SelectObject(dc, old);
        return true;
    }
    const int left = std::min(x1, x2), top = std::min(y1, y2);
    const int width = std::abs(x2 - x1) + 1, height = std::abs(y2 - y1) + 1;
    t_scratchDib dib(dc, width, height);
    if (!dib)
        return false;
    // The DIB starts in the pen colour's complement, so that the pixels the line touched
    // are told from the rest: only they are blended in.
    const uint32_t rgb = ColorRefToArgb(pen->color & 0xFFFFFF) & 0xFFFFFF;
    uint32_t* pixels = dib->Pixels();
    const size_t count = static_cast<size_t>(width) * height;
    std::fill(pixels, pixels + count, rgb ^ 0xFFFFFF);
    HGDIOBJ old = SelectObject(dib->dc, pen->pen);
    MoveToEx(dib->dc, x1 - left, y1 - top, nullptr);
    LineTo(dib->dc, x2 - left, y2 - top);
    SelectObject(dib->dc, old);
    GdiFlush();
    const uint32_t a = static_cast<uint32_t>(AlphaOf(pen->color));
    const uint32_t drawn = PremultiplyArgb(a << 24 | rgb);
    for (size_t i = 0; i < count; ++i)
        pixels[i] = (pixels[i] & 0xFFFFFF) == rgb ? drawn : 0;
    AlphaBlend(dc, left, top, width, height, dib->dc, 0, 0, width, height, c_sourceAlpha);
    return true;
}

bool DrawPenFrame(const t_pen* pen, const RECT& rect, t_paintCtx& context)
{
    bool ok = DrawPenLine(rect.left, rect.top, rect.right, rect.top, context, pen);
    ok = DrawPenLine(rect.right - 1, rect.top, rect.right - 1, rect.bottom, context, pen) && ok;
    ok = DrawPenLine(rect.left, rect.bottom - 1, rect.right, rect.bottom - 1, context, pen) && ok;
    ok = DrawPenLine(rect.left, rect.top, rect.left, rect.bottom, context, pen) && ok;
    return ok;
}
