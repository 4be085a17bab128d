#include "graphics/paint/image_draw.h"

#include <algorithm>

#include "graphics/paint/color_key.h"

bool BltPixels(int bufferWidth, HDC dc, int x, int y, int width, int height, int sourceX, int sourceY, int sourceWidth,
               int sourceHeight, int bufferHeight, const void* pixels)
{
    if (!pixels || bufferWidth <= 0 || bufferHeight <= 0)
        return false;
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = bufferWidth;
    info.bmiHeader.biHeight = bufferHeight;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    const int bottomUpY = bufferHeight - sourceY - sourceHeight;
    return StretchDIBits(dc, x, y, width, height, sourceX, bottomUpY, sourceWidth, sourceHeight, pixels, &info,
                         DIB_RGB_COLORS, SRCCOPY) != 0;
}

void BlendPixelsDirect(const uint32_t* source, int sourceWidth, int sourceHeight, int sourceX, int sourceY, int width,
                       int height, uint32_t* target, int targetWidth, int targetHeight, int x, int y)
{
    if (!source || !target)
        return;
    // Clip the part to the source buffer and the destination to the target buffer.
    if (sourceX < 0) {
        width += sourceX;
        x -= sourceX;
        sourceX = 0;
    }
    if (sourceY < 0) {
        height += sourceY;
        y -= sourceY;
        sourceY = 0;
    }
    if (x < 0) {
        width += x;
        sourceX -= x;
        x = 0;
    }
    if (y < 0) {
        height += y;
        sourceY -= y;
        y = 0;
    }
    width = std::min({width, sourceWidth - sourceX, targetWidth - x});
    height = std::min({height, sourceHeight - sourceY, targetHeight - y});
    if (width <= 0 || height <= 0)
        return;
    for (int r = 0; r < height; ++r) {
        const uint32_t* s = source + static_cast<size_t>(sourceHeight - 1 - (sourceY + r)) * sourceWidth + sourceX;
        uint32_t* t = target + static_cast<size_t>(targetHeight - 1 - (y + r)) * targetWidth + x;
        BlendRowOver(t, s, width, 255);
    }
}

void FindPixelTarget(t_blitContext& context) { context.direct = PixelTargetOf(context.dest, context.pixels) ? 1 : 0; }

bool BlendDirect(const t_blitContext& context, int x, int y, int dw, int dh, const t_pixelView& source, int sx, int sy,
                 int sw, int sh, int alpha)
{
    if (!context.direct)
        return false;
    // GDI work still queued for the target lands before these pixels are written.
    GdiFlush();
    return BlendOver(context.pixels, x, y, dw, dh, source, sx, sy, sw, sh, alpha);
}

bool BlendDirect(const t_blitContext& context, int x, int y, int dw, int dh, HBITMAP source, int sx, int sy, int sw,
                 int sh, int alpha)
{
    t_pixelView view;
    return context.direct && CanBlendOver(sw, sh, dw, dh) && PixelViewOf(source, view) &&
           BlendDirect(context, x, y, dw, dh, view, sx, sy, sw, sh, alpha);
}

namespace {

bool HasKey(uint32_t key) { return key != c_noColorKey; }

// AlphaBlend from a bitmap selected into the context's source DC.
bool AlphaBlendFrom(HDC dest, int x, int y, int width, int height, HDC source, int sx, int sy, int alpha)
{
    const BLENDFUNCTION function = {AC_SRC_OVER, 0, static_cast<BYTE>(alpha), AC_SRC_ALPHA};
    return AlphaBlend(dest, x, y, width, height, source, sx, sy, width, height, function) != 0;
}

// A temporary DIB blended 1:1 to the destination, into its pixels when it has them.
void BlendScratch(const t_blitContext& context, t_memDC& dib, int width, int height, int alpha)
{
    if (!BlendDirect(context, context.x, context.y, width, height,
                     t_pixelView::BottomUp(dib.Pixels(), dib.width, dib.height), 0, 0, width, height, alpha))
        AlphaBlendFrom(context.dest, context.x, context.y, width, height, dib.dc, 0, 0, alpha);
}

void ApplyKeysExact(const t_image& record, t_memDC& dib)
{
    if (HasKey(record.key1))
        ApplyColorKey(record.key1, dib.height, dib.width, dib.Pixels(), true);
    if (HasKey(record.key2))
        ApplyColorKey(record.key2, dib.height, dib.width, dib.Pixels(), true);
}

// Has alpha, a DIB section: AlphaBlend, through a keyed temporary DIB when keys are set.
void NaturalAlphaBitmap(t_image& record, t_blitContext& context, HBITMAP bitmap, int width, int height)
{
    const bool keyed = HasKey(record.key1) || HasKey(record.key2);
    if (!keyed && BlendDirect(context, context.x, context.y, width, height, bitmap, record.partX, record.partY, width,
                              height, context.alpha))
        return;
    HGDIOBJ old = SelectObject(context.source, bitmap);
    if (!keyed) {
        AlphaBlendFrom(context.dest, context.x, context.y, width, height, context.source, record.partX, record.partY,
                       context.alpha);
    } else {
        t_scratchDib temp(context.dest, width, height);
        if (temp) {
            AlphaBlendFrom(temp->dc, 0, 0, width, height, context.source, record.partX, record.partY, context.alpha);
            ApplyKeysExact(record, *temp);
            BlendScratch(context, *temp, width, height, context.alpha);
        }
    }
    SelectObject(context.source, old);
}

// Has alpha, a pixel pointer.
void NaturalAlphaPixels(t_image& record, t_blitContext& context, const t_bitmapRef& ref, int width, int height)
{
    const uint32_t* pixels = static_cast<const uint32_t*>(ref.handle);
    int bufferWidth = ref.width, bufferHeight = ref.height;
    int sx = record.partX, sy = record.partY;
    t_memDC copy;
    if (HasKey(record.key1) || HasKey(record.key2)) {
        if (!t_memDC::Create(copy, context.dest, width, height))
            return;
        BltPixels(bufferWidth, copy.dc, 0, 0, width, height, sx, sy, width, height, bufferHeight, pixels);
        GdiFlush();
        ApplyKeysExact(record, copy);
        pixels = copy.Pixels();
        bufferWidth = width;
        bufferHeight = height;
        sx = sy = 0;
    }
    if (context.blend && record.directBlend && context.targetPixels) {
        GdiFlush();
        BlendPixelsDirect(pixels, bufferWidth, bufferHeight, sx, sy, width, height, context.targetPixels,
                          context.targetWidth, context.targetHeight, context.x, context.y);
    } else if (context.blend && !record.directBlend) {
        BltPixels(bufferWidth, context.dest, context.x, context.y, width, height, sx, sy, width, height, bufferHeight,
                  pixels);
    } else if (copy.dc) {
        BlendScratch(context, copy, width, height, context.alpha);
    } else if (!BlendDirect(context, context.x, context.y, width, height,
                            t_pixelView::BottomUp(pixels, bufferWidth, bufferHeight), sx, sy, width, height,
                            context.alpha)) {
        t_scratchDib temp(context.dest, width, height);
        if (!temp)
            return;
        BltPixels(bufferWidth, temp->dc, 0, 0, width, height, sx, sy, width, height, bufferHeight, pixels);
        AlphaBlendFrom(context.dest, context.x, context.y, width, height, temp->dc, 0, 0, context.alpha);
    }
}

// No alpha: a copy, keyed through GDI's transparent blits or, on an alpha target, through
// a temporary DIB whose keyed pixels become transparent and the rest opaque (without keys
// the copied pixels keep the alpha the bitmap had).
void NaturalOpaque(t_image& record, t_blitContext& context, HBITMAP bitmap, int width, int height)
{
    HGDIOBJ old = SelectObject(context.source, bitmap);
    if (context.blend) {
        t_scratchDib temp(context.dest, width, height);
        if (temp) {
            BitBlt(temp->dc, 0, 0, width, height, context.source, record.partX, record.partY, SRCCOPY);
            GdiFlush();
            if (HasKey(record.key1))
                ApplyColorKey(record.key1, height, width, temp->Pixels(), false);
            // The first pass made every kept pixel opaque: the second key must match
            // exactly, or it would make key 1's cleared pixels opaque again.
            if (HasKey(record.key2))
                ApplyColorKey(record.key2 & 0xFFFFFF, height, width, temp->Pixels(), true);
            BlendScratch(context, *temp, width, height, context.alpha);
        }
    } else if (!HasKey(record.key1) && !HasKey(record.key2)) {
        BitBlt(context.dest, context.x, context.y, width, height, context.source, record.partX, record.partY, SRCCOPY);
    } else if (!HasKey(record.key1) || !HasKey(record.key2)) {
        const uint32_t key = HasKey(record.key1) ? record.key1 : record.key2;
        TransparentBlt(context.dest, context.x, context.y, width, height, context.source, record.partX, record.partY,
                       width, height, key & 0xFFFFFF);
    } else {
        // Two keys: key 1 is removed into a bitmap filled with key 2, which then goes out
        // without key 2.
        HDC tempDc = CreateCompatibleDC(context.dest);
        HBITMAP tempBitmap = CreateCompatibleBitmap(context.dest, width, height);
        if (tempDc && tempBitmap) {
            HGDIOBJ oldTemp = SelectObject(tempDc, tempBitmap);
            HBRUSH brush = CreateSolidBrush(record.key2 & 0xFFFFFF);
            RECT all = {0, 0, width, height};
            FillRect(tempDc, &all, brush);
            DeleteObject(brush);
            TransparentBlt(tempDc, 0, 0, width, height, context.source, record.partX, record.partY, width, height,
                           record.key1 & 0xFFFFFF);
            TransparentBlt(context.dest, context.x, context.y, width, height, tempDc, 0, 0, width, height,
                           record.key2 & 0xFFFFFF);
            SelectObject(tempDc, oldTemp);
        }
        if (tempBitmap)
            DeleteObject(tempBitmap);
        if (tempDc)
            DeleteDC(tempDc);
    }
    SelectObject(context.source, old);
}

}  // namespace

void BlitNaturalSize(t_image& record, t_blitContext& context)
{
    const t_bitmapRef ref = record.GetBitmapRef();
    if (!ref.IsBitmap())
        return;
    int width = std::min(record.partWidth, context.width);
    int height = std::min(record.partHeight, context.height);
    // Never read outside the bitmap: the part is cut to what the bitmap holds.
    int bitmapWidth = 0, bitmapHeight = 0;
    ref.GetSize(bitmapWidth, bitmapHeight);
    width = std::min(width, bitmapWidth - record.partX);
    height = std::min(height, bitmapHeight - record.partY);
    if (width <= 0 || height <= 0)
        return;
    if (record.hasAlpha) {
        if (ref.kind == t_bitmapRef::e_handle)
            NaturalAlphaBitmap(record, context, ref.Bitmap(), width, height);
        else
            NaturalAlphaPixels(record, context, ref, width, height);
    } else if (ref.kind == t_bitmapRef::e_handle) {
        NaturalOpaque(record, context, ref.Bitmap(), width, height);
    } else {
        // Opaque pixel buffers go out as copies.
        BltPixels(ref.width, context.dest, context.x, context.y, width, height, record.partX, record.partY, width,
                  height, ref.height, ref.handle);
    }
}

bool OpenBlitContext(t_blitContext& context, t_paintCtx& paint, int x, int y, int width, int height, int alpha)
{
    context = {};
    context.dest = paint.Dc();
    context.source = CreateCompatibleDC(paint.Dc());
    if (!context.source)
        return false;
    context.x = x;
    context.y = y;
    context.width = width;
    context.height = height;
    context.alpha = std::clamp(alpha, 0, 255);
    context.blend = paint.IsAlphaTarget() ? 1 : 0;
    if (t_memDC* target = paint.Target()) {
        if (target->bits) {
            context.targetPixels = target->Pixels();
            context.targetWidth = target->width;
            context.targetHeight = target->height;
        }
    }
    FindPixelTarget(context);
    return true;
}

bool DrawImageNatural(t_image& record, t_paintCtx& context, int x, int y, int width, int height, int alpha)
{
    record.blend = context.IsAlphaTarget() ? 1 : 0;
    if (record.partWidth == 0 || record.partHeight == 0 || width == 0 || height == 0)
        return true;
    if (!record.GetBitmapRef().IsBitmap())
        return true;
    // A negative part origin moves the destination for this draw only: the caller's record
    // keeps its origin, so the next paint lands in the same place.
    t_image part = record;
    if (part.partX < 0) {
        x -= part.partX;
        width += part.partX;
        part.partX = 0;
    }
    if (part.partY < 0) {
        y -= part.partY;
        height += part.partY;
        part.partY = 0;
    }
    t_blitContext blit;
    if (!OpenBlitContext(blit, context, x, y, width, height, alpha))
        return false;
    blit.blend = record.blend;
    BlitNaturalSize(part, blit);
    return DeleteDC(blit.source) != 0;
}
