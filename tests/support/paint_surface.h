// A zeroed 32-bit DIB with a paint context over it, for drawing tests: pixels read top-down
// and the bounds and count of the pixels that carry alpha.
#pragma once

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <new>

#include "graphics/paint/paint_ctx.h"

class t_testSurface {
public:
    t_testSurface(int w, int h, bool alphaTarget, bool themedText = false) : m_paint(nullptr, false, nullptr, false)
    {
        t_memDC::Create(m_dib, nullptr, w, h);
        new (&m_paint) t_paintCtx(m_dib.dc, alphaTarget, &m_dib, themedText);
    }
    ~t_testSurface() { m_paint.End(); }
    t_testSurface(const t_testSurface&) = delete;
    t_testSurface& operator=(const t_testSurface&) = delete;

    t_paintCtx& Paint() { return m_paint; }
    HDC Dc() { return m_dib.dc; }
    int Width() { return m_dib.width; }
    int Height() { return m_dib.height; }
    uint32_t At(int x, int y)
    {
        GdiFlush();
        return m_dib.Pixels()[(m_dib.height - 1 - y) * m_dib.width + x];
    }
    // Bounds of the pixels with alpha (right and bottom exclusive); left > right when none.
    RECT AlphaBounds()
    {
        RECT r = {Width(), Height(), 0, 0};
        for (int y = 0; y < Height(); ++y) {
            for (int x = 0; x < Width(); ++x) {
                if (At(x, y) >> 24) {
                    r.left = std::min<LONG>(r.left, x);
                    r.top = std::min<LONG>(r.top, y);
                    r.right = std::max<LONG>(r.right, x + 1);
                    r.bottom = std::max<LONG>(r.bottom, y + 1);
                }
            }
        }
        return r;
    }
    int CountAlpha()
    {
        int n = 0;
        for (int y = 0; y < Height(); ++y) {
            for (int x = 0; x < Width(); ++x)
                n += (At(x, y) >> 24) != 0;
        }
        return n;
    }

private:
    t_memDC m_dib;
    t_paintCtx m_paint;
};
