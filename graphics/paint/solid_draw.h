// Solid drawing on a paint context: pen records and one-pixel lines and frames, alpha-
// correct on alpha targets. (t_paintCtx::FillRect lives in solid_draw.cpp too.)
#pragma once

#include <windows.h>

#include <cstdint>

class t_paintCtx;

// A solid one-pixel pen of a colour: COLORREF in the low 24 bits, alpha in the top byte
// (0 counts as opaque). Heap record: Create makes it, Release deletes pen and record.
struct t_pen {
    HPEN pen;
    uint32_t color;

    static bool Create(t_pen*& out, uint32_t color);
    static void Release(t_pen* pen);
};

// One-pixel line from (x1, y1) towards (x2, y2), the end point left out as LineTo does.
// On alpha targets only the line's pixels are blended in at the pen's alpha. False when
// the pen is missing or the line's DIB cannot be made.
bool DrawPenLine(int x1, int y1, int x2, int y2, t_paintCtx& context, const t_pen* pen);
// The four sides of rect: top, right at right - 1, bottom at bottom - 1, left.
bool DrawPenFrame(const t_pen* pen, const RECT& rect, t_paintCtx& context);
