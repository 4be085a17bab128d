// Drawing an image record at its natural size: the part's top-left at the destination's
// top-left, cut to the smaller of part and destination, with colour keys and per-pixel
// alpha. The pixel copies and blends the drawing paths share live here too.
#pragma once

#include <windows.h>

#include <cstdint>

#include "graphics/image/image.h"
#include "graphics/paint/blend_over.h"
#include "graphics/paint/paint_ctx.h"

// One image draw.
struct t_blitContext {
    HDC dest;
    HDC source;  // memory DC compatible with dest
    int x, y, width, height;
    int alpha;  // constant alpha 0..255
    // The target's own pixels (bottom-up 32-bit), when the paint context has a holder.
    uint32_t* targetPixels;
    int targetWidth, targetHeight;
    uint8_t borrowed;  // the source DC belongs to an enclosing draw
    uint8_t blend;     // the paint context's alpha-target flag
    // The destination DC's own pixels, when blends can be written into them (PixelTargetOf).
    uint8_t direct;
    t_pixelTarget pixels;
};

// Sets the context's direct-target fields from its destination DC.
void FindPixelTarget(t_blitContext& context);

// What AlphaBlend (AC_SRC_ALPHA, constant alpha) of the part (sx, sy, sw, sh) of `source`
// to (x, y, dw, dh) of the destination draws, written straight into the destination's
// pixels; false, with nothing drawn, when the context has no pixels or the sizes are
// not for BlendOver: the caller then calls AlphaBlend.
bool BlendDirect(const t_blitContext& context, int x, int y, int dw, int dh, const t_pixelView& source, int sx, int sy,
                 int sw, int sh, int alpha);
// The same for the bitmap's pixels (a 32-bit DIB section).
bool BlendDirect(const t_blitContext& context, int x, int y, int dw, int dh, HBITMAP source, int sx, int sy, int sw,
                 int sh, int alpha);

// StretchDIBits of a part of a bottom-up 32-bit buffer (bufferWidth x bufferHeight) to
// dc; source coordinates are top-down.
bool BltPixels(int bufferWidth, HDC dc, int x, int y, int width, int height, int sourceX, int sourceY, int sourceWidth,
               int sourceHeight, int bufferHeight, const void* pixels);

// Premultiplied "over" of a width x height part of one bottom-up buffer at (sourceX,
// sourceY) onto another at (x, y), both in top-down coordinates, clipped to both buffers.
// Constant alpha is not applied.
void BlendPixelsDirect(const uint32_t* source, int sourceWidth, int sourceHeight, int sourceX, int sourceY, int width,
                       int height, uint32_t* target, int targetWidth, int targetHeight, int x, int y);

// A draw into the paint context: a new source DC compatible with the context's, constant
// alpha clamped to 0..255, and the target's pixels when it is a 32-bit DIB. False when no
// source DC could be made; on success the caller deletes context.source.
bool OpenBlitContext(t_blitContext& context, t_paintCtx& paint, int x, int y, int width, int height, int alpha);

// The natural-size path for a record whose part origin is already corrected.
void BlitNaturalSize(t_image& record, t_blitContext& context);

// Draws the record at natural size into the paint context: records the context's
// alpha-target flag in the record, clamps negative part origins of a local copy (moving
// the destination; the record keeps its origin) and draws. False only when no source DC could be made.
bool DrawImageNatural(t_image& record, t_paintCtx& context, int x, int y, int width, int height, int alpha);
