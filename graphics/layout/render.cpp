#include "graphics/layout/render.h"

#include <algorithm>
#include <functional>

#include "foundation/core/perf.h"
#include "graphics/paint/paint_ctx.h"
#include "graphics/paint/solid_draw.h"

namespace {

const BLENDFUNCTION c_sourceAlpha = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};

// GDI leaves alpha 0 behind on a 32-bit target, which a layered window shows as holes.
// Paints through GDI into a scratch DIB of the rectangle, makes the pixels that the
// drawing covers opaque and blends the result in (the target's clip region holds).
void PaintOpaque(t_paintCtx& context, const RECT& rect, const std::function<void(HDC, const RECT&)>& paint,
                 const std::function<bool(int, int, int, int)>& covered)
{
    const int width = rect.right - rect.left, height = rect.bottom - rect.top;
    if (width <= 0 || height <= 0)
        return;
    t_scratchDib dib(context.Dc(), width, height);
    if (!dib)
        return;
    paint(dib->dc, RECT{0, 0, width, height});
    GdiFlush();
    uint32_t* pixels = dib->Pixels();
    for (int y = 0; y < height; ++y) {
        uint32_t* row = pixels + static_cast<size_t>(height - 1 - y) * width;
        for (int x = 0; x < width; ++x)
            row[x] = covered(x, y, width, height) ? (row[x] | 0xFF000000u) : 0;
    }
    AlphaBlend(context.Dc(), rect.left, rect.top, width, height, dib->dc, 0, 0, width, height, c_sourceAlpha);
}

bool OnRing(int x, int y, int width, int height, int inset)
{
    const bool insideOuter = x >= inset && y >= inset && x < width - inset && y < height - inset;
    const bool insideInner = x > inset && y > inset && x < width - inset - 1 && y < height - inset - 1;
    return insideOuter && !insideInner;
}

// Rectangle outline with a one-pixel pen of colour and no fill.
void Outline(HDC dc, const RECT& r, COLORREF colour)
{
    HPEN pen = CreatePen(PS_SOLID, 1, colour & 0xFFFFFF);
    HGDIOBJ oldPen = SelectObject(dc, pen);
    HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(NULL_BRUSH));
    Rectangle(dc, r.left, r.top, r.right, r.bottom);
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
    DeleteObject(pen);
}

}  // namespace

// --- t_renderImage ---

t_renderImage::t_renderImage()
{
    image.Init();
    image.modeH = t_image::e_natural;
    image.modeV = t_image::e_natural;
    image.key1 = c_noColorKey;
    image.key2 = c_noColorKey;
}

t_renderImage::~t_renderImage() = default;

void t_renderImage::RefreshHitMask(int width, int height)
{
    if (!keepHitMask || (!dirty && hitMask.width == width && hitMask.height == height))
        return;
    if (hitMask.Reset(width, height))
        image.BuildHitMask(width, height, hitMask);
}

void t_renderImage::Paint(t_paintCtx& context, const RECT& rect)
{
    const int width = rect.right - rect.left, height = rect.bottom - rect.top;
    RefreshHitMask(width, height);
    image.Draw(context, rect.left, rect.top, width, height, alpha);
    dirty = 0;
}

void t_renderImage::PaintDC(HDC dc, const RECT& rect)
{
    const int width = rect.right - rect.left, height = rect.bottom - rect.top;
    RefreshHitMask(width, height);
    HDC source = CreateCompatibleDC(dc);
    if (source) {
        image.DrawWithDC(dc, source, rect.left, rect.top, width, height, alpha);
        DeleteDC(source);
    }
    dirty = 0;
}

HRGN t_renderImage::GetRegion(HDC dc, int width, int height) { return image.CreateRegion(dc, width, height); }

bool t_renderImage::MapPoint(POINT point, SIZE size, POINT* out)
{
    POINT pixel = {};
    if (!image.MapPoint(size, point, pixel))
        return false;
    if (out)
        *out = pixel;
    return true;
}

// --- t_renderFrame ---

t_renderFrame::~t_renderFrame() = default;

void t_renderFrame::Paint(t_paintCtx& context, const RECT& rect)
{
    PerfScope scope("Paint_Frame1");
    if (flags & (e_fillOnly | e_borderOnly))
        return;
    if (!context.IsAlphaTarget()) {
        PaintDC(context.Dc(), rect);
        return;
    }
    context.FillRect(rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, fillColor);
}

void t_renderFrame::PaintDC(HDC dc, const RECT& rect)
{
    PerfScope scope("Paint_Frame2");
    if ((flags & e_borderOnly) || innerRender) {
        Outline(dc, rect, borderColor);
    } else if (flags & e_fillOnly) {
        HBRUSH brush = CreateSolidBrush(fillColor & 0xFFFFFF);
        ::FillRect(dc, &rect, brush);
        DeleteObject(brush);
    } else {
        HPEN pen = CreatePen(PS_SOLID, 1, borderColor & 0xFFFFFF);
        HBRUSH brush = CreateSolidBrush(fillColor & 0xFFFFFF);
        HGDIOBJ oldPen = SelectObject(dc, pen);
        HGDIOBJ oldBrush = SelectObject(dc, brush);
        Rectangle(dc, rect.left, rect.top, rect.right, rect.bottom);
        SelectObject(dc, oldBrush);
        SelectObject(dc, oldPen);
        DeleteObject(brush);
        DeleteObject(pen);
    }
    if (!(flags & e_borderOnly) && innerRender) {
        t_paintCtx inner(dc, false, nullptr, false);
        innerRender->Paint(inner, RECT{rect.left + 1, rect.top + 1, rect.right - 1, rect.bottom - 1});
        inner.End();
    }
}

// --- t_renderGradient ---

void t_renderGradient::Paint(t_paintCtx& context, const RECT& rect)
{
    if (flags & e_disabled)
        return;
    if (!context.IsAlphaTarget()) {
        PaintDC(context.Dc(), rect);
        return;
    }
    PaintOpaque(
        context, rect, [this](HDC dc, const RECT& local) { PaintDC(dc, local); },
        [](int, int, int, int) { return true; });
}

void t_renderGradient::PaintDC(HDC dc, const RECT& rect)
{
    if (flags & e_disabled)
        return;
    TRIVERTEX vertices[2] = {
        {rect.left, rect.top, static_cast<COLOR16>(GetRValue(color1) << 8),
         static_cast<COLOR16>(GetGValue(color1) << 8), static_cast<COLOR16>(GetBValue(color1) << 8), 0},
        {rect.right, rect.bottom, static_cast<COLOR16>(GetRValue(color2) << 8),
         static_cast<COLOR16>(GetGValue(color2) << 8), static_cast<COLOR16>(GetBValue(color2) << 8), 0},
    };
    GRADIENT_RECT span = {0, 1};
    GradientFill(dc, vertices, 2, &span, 1, (flags & e_vertical) ? GRADIENT_FILL_RECT_V : GRADIENT_FILL_RECT_H);
}

// --- t_renderFrameEx ---

void t_renderFrameEx::Paint(t_paintCtx& context, const RECT& rect)
{
    if (!context.IsAlphaTarget()) {
        PaintDC(context.Dc(), rect);
        return;
    }
    const bool filled = gradientMode == e_gradientOne || gradientMode == e_gradientTwo;
    PaintOpaque(
        context, rect, [this](HDC dc, const RECT& local) { PaintDC(dc, local); },
        [filled](int x, int y, int width, int height) {
            if (OnRing(x, y, width, height, 0) || OnRing(x, y, width, height, 1))
                return true;
            return filled && x >= 2 && y >= 2 && x < width - 2 && y < height - 2;
        });
}

void t_renderFrameEx::PaintDC(HDC dc, const RECT& rect)
{
    PerfScope scope("Paint_FrameEx");
    RECT r = rect;
    {
        PerfScope rectangles("Paint_Rectangle");
        Outline(dc, r, outerColor);
        InflateRect(&r, -1, -1);
        Outline(dc, r, innerColor);
        InflateRect(&r, -1, -1);
    }
    if (gradientMode == e_gradientTwo) {
        PerfScope gradient("Paint_Gradient");
        const int mid = (r.top + r.bottom) / 2;
        t_renderGradient(gradientA, gradientB, t_renderGradient::e_vertical)
            .PaintDC(dc, RECT{r.left, r.top, r.right, mid});
        t_renderGradient(gradientB, gradientC, t_renderGradient::e_vertical)
            .PaintDC(dc, RECT{r.left, mid, r.right, r.bottom});
    } else if (gradientMode == e_gradientOne) {
        t_renderGradient(gradientA, gradientB, t_renderGradient::e_vertical).PaintDC(dc, r);
    }
}

// --- t_renderLine ---

void t_renderLine::Paint(t_paintCtx& context, const RECT& rect)
{
    PerfScope scope("Paint_Line");
    if (!pen)
        return;
    if (orientation == e_horizontal) {
        const int y = (rect.top + rect.bottom) / 2;
        DrawPenLine(rect.left, y, rect.right, y, context, pen);
    } else {
        const int x = (rect.left + rect.right) / 2;
        DrawPenLine(x, rect.top, x, rect.bottom, context, pen);
    }
}

void t_renderLine::PaintDC(HDC dc, const RECT& rect)
{
    t_paintCtx context(dc, false, nullptr, false);
    Paint(context, rect);
    context.End();
}
