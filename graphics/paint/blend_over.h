// Premultiplied source-over blending straight into 32-bit pixels, the arithmetic of
// AlphaBlend with AC_SRC_ALPHA: the source's channels are first scaled by the constant
// alpha c (s' = s x c / 255), then every target channel t becomes s' + t x (255 - a') / 255,
// a' being the scaled source alpha, each division rounded to nearest and the sum saturated
// at 255. Four pixels a step with SSE2; drawing uses it wherever the target's pixels are at
// hand and keeps GDI's AlphaBlend for targets that are not 32-bit DIB sections.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>

// Rows of a 32-bit picture in top-down order, whatever the order in memory.
struct t_pixelView {
    uint32_t* top;     // first pixel of the top row
    ptrdiff_t stride;  // pixels from one row to the next one down (negative when bottom-up)
    int width, height;

    uint32_t* Row(int y) const { return top + y * stride; }
    // A bottom-up buffer of width x height pixels, as pictures and DIB sections keep them.
    static t_pixelView BottomUp(const uint32_t* pixels, int width, int height);
};

// The pixels of a 32-bit BI_RGB DIB section (either row order), flushed first; false for
// other bitmaps.
bool PixelViewOf(HBITMAP bitmap, t_pixelView& view);

// A DC whose drawing lands in a 32-bit DIB section that can be written directly: the
// DIB's pixels, where logical (0, 0) lies on it and the clip box in DIB coordinates.
struct t_pixelTarget {
    t_pixelView view;
    POINT offset;  // device = logical + offset
    RECT clip;     // within the DIB; may be empty (nothing visible)
};

// Fills `target` for a DC with a 32-bit DIB section selected, an identity mapping of
// logical to device units (MM_TEXT, no world transform, left-to-right layout) and a
// visible area of at most one rectangle; false otherwise (GDI must draw then).
bool PixelTargetOf(HDC dc, t_pixelTarget& target);

// Blends `count` source pixels over as many target pixels with constant alpha 0..255.
void BlendRowOver(uint32_t* target, const uint32_t* source, int count, int alpha);

// Whether a source of sw x sh drawn into dw x dh can be blended here: same size or
// enlarged on each axis (the nearest source pixel, ties to the lower one, as GDI's
// colour-on-colour stretch picks it); shrinking is left to GDI.
inline bool CanBlendOver(int sw, int sh, int dw, int dh) { return sw > 0 && sh > 0 && dw >= sw && dh >= sh; }

// AlphaBlend's equivalent: the source rectangle (sx, sy, sw, sh) drawn over the target's
// logical rectangle (x, y, dw, dh), clipped to the target's clip box. False, with nothing
// drawn, when CanBlendOver says no or the source rectangle is not inside the source; the
// caller then draws through GDI.
bool BlendOver(const t_pixelTarget& target, int x, int y, int dw, int dh, const t_pixelView& source, int sx, int sy,
               int sw, int sh, int alpha);
