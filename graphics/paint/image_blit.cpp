// t_image::Blit: the fill-mode dispatch (tile across, tile down, natural size, stretch)
// and the stretch path; t_image::Draw and DrawWithDC around it; MapPoint.
#include <windows.h>

#include <algorithm>
#include <cmath>
#include <cstring>

#include "graphics/image/image.h"
#include "graphics/paint/color_key.h"
#include "foundation/win/scoped_win.h"
#include "graphics/paint/image_draw.h"
#include "graphics/paint/paint_ctx.h"
#include "graphics/paint/pixel_ops.h"

namespace {

// Tiling goes through one pre-tiled strip instead of one draw per tile from this many
// tiles on: the strip gives the same pixels with one blit.
const int c_stripMinTiles = 5;

bool HasKey(uint32_t key) { return key != c_noColorKey; }

void Dispatch(t_image& record, t_blitContext& context);
void HorizontalDispatch(t_image& record, t_blitContext& context);
void VerticalDispatch(t_image& record, t_blitContext& context);

// Scoped stretch mode: COLORONCOLOR keeps shrunk colour pictures from being ANDed
// together (the default BLACKONWHITE mode).
class t_stretchMode {
public:
    explicit t_stretchMode(HDC dc) : m_dc(dc), m_old(SetStretchBltMode(dc, COLORONCOLOR)) {}
    ~t_stretchMode()
    {
        if (m_old)
            SetStretchBltMode(m_dc, m_old);
    }

private:
    HDC m_dc;
    int m_old;
};

// Sizes along one axis of the stretch path: natural mode draws the part at its size, tile
// mode copies the destination's size 1:1, stretch maps the part onto the destination.
void StretchAxis(int mode, int part, int dest, int& sourceSize, int& destSize)
{
    if (mode == t_image::e_natural) {
        sourceSize = destSize = part;
    } else if (mode == t_image::e_tile) {
        sourceSize = destSize = dest;
    } else {
        sourceSize = part;
        destSize = dest;
    }
}

// Key 1 removed into a bitmap filled with key 2, which then goes out stretched without key 2.
void TwoKeyTransparentBlt(const t_image& record, const t_blitContext& context, int sw, int sh, int dw, int dh)
{
    HDC tempDc = CreateCompatibleDC(context.dest);
    HBITMAP tempBitmap = CreateCompatibleBitmap(context.dest, sw, sh);
    if (tempDc && tempBitmap) {
        t_scopedSelectObject selected(tempDc, tempBitmap);
        HBRUSH brush = CreateSolidBrush(record.key2 & 0xFFFFFF);
        RECT all = {0, 0, sw, sh};
        FillRect(tempDc, &all, brush);
        DeleteObject(brush);
        TransparentBlt(tempDc, 0, 0, sw, sh, context.source, record.partX, record.partY, sw, sh,
                       record.key1 & 0xFFFFFF);
        t_stretchMode mode(context.dest);
        TransparentBlt(context.dest, context.x, context.y, dw, dh, tempDc, 0, 0, sw, sh, record.key2 & 0xFFFFFF);
    }
    if (tempBitmap)
        DeleteObject(tempBitmap);
    if (tempDc)
        DeleteDC(tempDc);
}

void StretchPath(t_image& record, t_blitContext& context)
{
    const t_bitmapRef ref = record.GetBitmapRef();
    if (!ref.IsBitmap())
        return;
    int sw, sh, dw, dh;
    StretchAxis(record.modeH, record.partWidth, context.width, sw, dw);
    StretchAxis(record.modeV, record.partHeight, context.height, sh, dh);
    if (sw <= 0 || sh <= 0 || dw <= 0 || dh <= 0)
        return;
    if (ref.kind == t_bitmapRef::e_pixels) {
        // Pixel buffers are copied, alpha and all.
        t_stretchMode mode(context.dest);
        BltPixels(ref.width, context.dest, context.x, context.y, dw, dh, record.partX, record.partY, sw, sh, ref.height,
                  ref.handle);
        return;
    }
    if (record.hasAlpha && BlendDirect(context, context.x, context.y, dw, dh, ref.Bitmap(), record.partX, record.partY,
                                       sw, sh, context.alpha))
        return;
    t_scopedSelectObject selected(context.source, ref.Bitmap());
    const BLENDFUNCTION function = {AC_SRC_OVER, 0, static_cast<BYTE>(context.alpha), AC_SRC_ALPHA};
    if (record.hasAlpha) {
        AlphaBlend(context.dest, context.x, context.y, dw, dh, context.source, record.partX, record.partY, sw, sh,
                   function);
    } else if (context.blend) {
        // Opaque picture on an alpha target: keyed pixels transparent, the rest opaque.
        t_scratchDib temp(context.dest, sw, sh);
        if (!temp)
            return;
        BitBlt(temp->dc, 0, 0, sw, sh, context.source, record.partX, record.partY, SRCCOPY);
        GdiFlush();
        ApplyColorKey(record.key1, sh, sw, temp->Pixels(), false);
        // Every kept pixel is opaque now: key 2 matches exactly, leaving key 1's cleared
        // pixels cleared.
        if (HasKey(record.key2))
            ApplyColorKey(record.key2 & 0xFFFFFF, sh, sw, temp->Pixels(), true);
        if (!BlendDirect(context, context.x, context.y, dw, dh, t_pixelView::BottomUp(temp->Pixels(), sw, sh), 0, 0, sw,
                         sh, context.alpha))
            AlphaBlend(context.dest, context.x, context.y, dw, dh, temp->dc, 0, 0, sw, sh, function);
    } else if (!HasKey(record.key1) && !HasKey(record.key2)) {
        t_stretchMode mode(context.dest);
        StretchBlt(context.dest, context.x, context.y, dw, dh, context.source, record.partX, record.partY, sw, sh,
                   SRCCOPY);
    } else {
        // Keyed copies compare colours; a 32-bit picture's alpha bytes would take part in
        // the comparison on some GDI implementations, so the part goes through a copy
        // without them.
        t_memDC colours;
        t_image keyed = record;
        t_blitContext from = context;
        int bw = 0, bh = 0;
        if (ReadablePixels(ref, bw, bh) && t_memDC::Create(colours, context.dest, sw, sh)) {
            BitBlt(colours.dc, 0, 0, sw, sh, context.source, record.partX, record.partY, SRCCOPY);
            GdiFlush();
            uint32_t* p = colours.Pixels();
            for (size_t i = 0, n = static_cast<size_t>(sw) * sh; i < n; ++i)
                p[i] &= 0xFFFFFF;
            from.source = colours.dc;
            keyed.partX = keyed.partY = 0;
        }
        if (HasKey(keyed.key1) && HasKey(keyed.key2)) {
            TwoKeyTransparentBlt(keyed, from, sw, sh, dw, dh);
        } else {
            const uint32_t key = HasKey(keyed.key1) ? keyed.key1 : keyed.key2;
            t_stretchMode mode(context.dest);
            TransparentBlt(context.dest, context.x, context.y, dw, dh, from.source, keyed.partX, keyed.partY, sw, sh,
                           key & 0xFFFFFF);
        }
    }
}

// Draws the record tiled along one axis through one strip holding the part repeated over
// `across` x `down` pixels (top-left aligned); false when the pixels cannot be read, so the
// caller tiles one draw at a time.
bool BlitThroughStrip(t_image& record, t_blitContext& context, bool horizontal)
{
    int bw = 0, bh = 0;
    const t_bitmapRef ref = record.GetBitmapRef();
    const uint32_t* pixels = ReadablePixels(ref, bw, bh);
    if (!pixels || record.partX + record.partWidth > bw || record.partY + record.partHeight > bh)
        return false;
    const int across = horizontal ? context.width : record.partWidth;
    const int down = horizontal ? record.partHeight : context.height;
    t_memDC strip;
    if (!t_memDC::Create(strip, context.dest, across, down))
        return false;
    uint32_t* out = strip.Pixels();
    for (int y = 0; y < down; ++y) {
        // Top-down row y of the strip shows part row y mod part height.
        const int sourceRow = record.partY + y % record.partHeight;
        const uint32_t* from = pixels + static_cast<size_t>(bh - 1 - sourceRow) * bw + record.partX;
        uint32_t* to = out + static_cast<size_t>(down - 1 - y) * across;
        for (int x = 0; x < across; x += record.partWidth)
            memcpy(to + x, from, size_t(std::min(record.partWidth, across - x)) * 4);
    }
    t_image tiled = record;
    tiled.source = nullptr;
    tiled.holder = t_image::e_ownBitmap;
    // Pixel buffers stay pixel buffers so that the same drawing path runs; a bitmap leaves
    // the strip's DC so that the source DC can select it.
    HBITMAP detached = nullptr;
    if (ref.kind == t_bitmapRef::e_pixels) {
        tiled.ref = t_bitmapRef{t_bitmapRef::e_pixels, out, across, down};
    } else {
        detached = strip.Detach();
        tiled.ref = t_bitmapRef{t_bitmapRef::e_handle, detached, 0, 0};
    }
    tiled.partX = tiled.partY = 0;
    tiled.partWidth = across;
    tiled.partHeight = down;
    tiled.fullWidth = across;
    tiled.fullHeight = down;
    if (horizontal) {
        tiled.modeH = t_image::e_natural;
        VerticalDispatch(tiled, context);
    } else {
        tiled.modeV = t_image::e_natural;
        HorizontalDispatch(tiled, context);
    }
    if (detached)
        DeleteObject(detached);
    return true;
}

// Tiles of part size from the destination's left (top); the last one ends at the
// destination's edge. Each tile goes through the other axis's dispatch.
void Tile(t_image& record, t_blitContext& context, bool horizontal)
{
    const int part = horizontal ? record.partWidth : record.partHeight;
    const int length = horizontal ? context.width : context.height;
    const int count = length / part + 1;
    if (count >= c_stripMinTiles && BlitThroughStrip(record, context, horizontal))
        return;
    for (int i = 0; i < count; ++i) {
        t_blitContext tile = context;
        tile.borrowed = 1;
        const int offset = i * part;
        const int size = i == count - 1 ? length - offset : part;
        if (size <= 0)
            continue;
        if (horizontal) {
            tile.x = context.x + offset;
            tile.width = size;
            VerticalDispatch(record, tile);
        } else {
            tile.y = context.y + offset;
            tile.height = size;
            HorizontalDispatch(record, tile);
        }
    }
}

void TileAcross(t_image& record, t_blitContext& context)
{
    if (record.partWidth >= context.width)
        VerticalDispatch(record, context);
    else
        Tile(record, context, true);
}

void TileDown(t_image& record, t_blitContext& context)
{
    if (record.partHeight >= context.height)
        HorizontalDispatch(record, context);
    else
        Tile(record, context, false);
}

void VerticalDispatch(t_image& record, t_blitContext& context)
{
    if (record.modeV == t_image::e_stretch)
        StretchPath(record, context);
    else if (record.modeV == t_image::e_tile && record.partHeight < context.height)
        TileDown(record, context);
    else
        BlitNaturalSize(record, context);
}

void HorizontalDispatch(t_image& record, t_blitContext& context)
{
    if (record.modeH == t_image::e_stretch)
        StretchPath(record, context);
    else if (record.modeH == t_image::e_tile && record.partWidth < context.width)
        TileAcross(record, context);
    else
        BlitNaturalSize(record, context);
}

void Dispatch(t_image& record, t_blitContext& context)
{
    if (record.modeH == t_image::e_tile)
        TileAcross(record, context);
    else if (record.modeV == t_image::e_tile)
        TileDown(record, context);
    else if (record.modeH != t_image::e_stretch && record.modeV != t_image::e_stretch)
        BlitNaturalSize(record, context);
    else
        StretchPath(record, context);
}

// One axis of MapPoint: the part pixel that position p of a destination of `dest` shows.
bool MapAxis(int mode, int origin, int part, int dest, int p, LONG& out)
{
    if (p < 0 || p >= dest || part <= 0)
        return false;
    int offset;
    if (mode == t_image::e_tile) {
        // The tile holding p starts at a multiple of the part size and is never wider.
        offset = p % part;
    } else if (mode == t_image::e_stretch) {
        const double scale = static_cast<double>(dest) / part;
        offset = std::clamp(static_cast<int>(std::floor(p / scale + 0.5)), 0, part - 1);
    } else {
        if (p >= std::min(part, dest))
            return false;
        offset = p;
    }
    out = origin + offset;
    return true;
}

}  // namespace

void t_image::Blit(t_blitContext& context)
{
    blend = context.blend;
    if (partWidth <= 0 || partHeight <= 0 || context.width <= 0 || context.height <= 0)
        return;
    if (!GetBitmapRef().IsBitmap())
        return;
    // A negative part origin is cut off the destination in a copy: the record itself stays
    // as its owner set it, so every paint lands in the same place.
    t_image local = *this;
    t_blitContext corrected = context;
    if (local.partX < 0) {
        corrected.x -= local.partX;
        corrected.width += local.partX;
        local.partX = 0;
    }
    if (local.partY < 0) {
        corrected.y -= local.partY;
        corrected.height += local.partY;
        local.partY = 0;
    }
    if (corrected.width <= 0 || corrected.height <= 0)
        return;
    Dispatch(local, corrected);
}

void t_image::BlitNatural(t_blitContext& context) { BlitNaturalSize(*this, context); }

BOOL t_image::Draw(t_paintCtx& paint, int x, int y, int width, int height, int alpha)
{
    t_blitContext context;
    if (!OpenBlitContext(context, paint, x, y, width, height, alpha))
        return FALSE;
    Blit(context);
    return DeleteDC(context.source);
}

BOOL t_image::DrawWithDC(HDC dest, HDC sourceDc, int x, int y, int width, int height, int alpha)
{
    t_blitContext context = {};
    context.dest = dest;
    context.source = sourceDc;
    context.x = x;
    context.y = y;
    context.width = width;
    context.height = height;
    context.alpha = std::clamp(alpha, 0, 255);
    context.borrowed = 1;
    FindPixelTarget(context);
    Blit(context);
    return TRUE;
}

bool t_image::MapPoint(SIZE size, POINT point, POINT& sourcePixel) const
{
    POINT out = {};
    if (!MapAxis(modeH, partX, partWidth, size.cx, point.x, out.x) ||
        !MapAxis(modeV, partY, partHeight, size.cy, point.y, out.y))
        return false;
    sourcePixel = out;
    return true;
}

bool t_image::LoadBitmapResource(HMODULE module, UINT id, t_image& record)
{
    HANDLE loaded = LoadImageW(module ? module : GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0,
                               LR_CREATEDIBSECTION | LR_DEFAULTSIZE);
    if (!loaded)
        return false;
    record.SetBitmap(static_cast<HBITMAP>(loaded), 0, 0, c_noColorKey, c_noColorKey, -1, -1, e_natural, e_natural,
                     false);
    return true;
}
