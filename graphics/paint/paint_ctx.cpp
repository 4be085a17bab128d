#include "graphics/paint/paint_ctx.h"

#include <cstring>

void t_memDC::Init() { memset(this, 0, sizeof(*this)); }

bool t_memDC::Create(t_memDC& holder, HDC reference, int width, int height, int bitDepth)
{
    if (holder.dc)
        holder.Release();
    if (width <= 0 || height <= 0)
        return false;
    HDC dc = CreateCompatibleDC(reference);
    if (!dc)
        return false;
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = static_cast<WORD>(bitDepth);
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP dib = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!dib || !bits) {
        if (dib)
            DeleteObject(dib);
        DeleteDC(dc);
        return false;
    }
    holder.dc = dc;
    holder.dib = dib;
    holder.previous = SelectObject(dc, dib);
    holder.blend = BLENDFUNCTION{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    holder.bits = bits;
    holder.width = width;
    holder.height = height;
    holder.bitDepth = bitDepth;
    return true;
}

// Selects the old bitmap back, deletes the DC and zeroes the holder; the DIB is deleted
// too unless it is handed out through `keep`.
static BOOL ReleaseHolder(t_memDC& holder, HBITMAP* keep)
{
    BOOL deleted = FALSE;
    if (holder.dc) {
        if (holder.previous)
            SelectObject(holder.dc, holder.previous);
        deleted = DeleteDC(holder.dc);
    }
    if (keep)
        *keep = holder.dib;
    else if (holder.dib)
        DeleteObject(holder.dib);
    holder.Init();
    return deleted;
}

BOOL t_memDC::Release() { return ReleaseHolder(*this, nullptr); }

HBITMAP t_memDC::Detach()
{
    HBITMAP out = nullptr;
    ReleaseHolder(*this, &out);
    return out;
}

void t_memDC::Delete(t_memDC* holder)
{
    if (!holder)
        return;
    holder->Release();
    delete holder;
}

t_paintCtx::t_paintCtx(HDC dc, bool alphaTarget, t_memDC* target, bool themedText)
    : m_alphaTarget(alphaTarget ? 1 : 0), m_themedText(themedText ? 1 : 0), m_dc(dc), m_target(target)
{
    if (dc)
        SetBkMode(dc, TRANSPARENT);
}

void t_paintCtx::SetCreatedObject(HGDIOBJ object)
{
    if (m_created && m_created != object)
        DeleteObject(m_created);
    m_created = object;
}

void t_paintCtx::SaveClip()
{
    if (m_clipSaved || !m_dc)
        return;
    m_clipSaved = true;
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    // GetClipRgn answers 0 when the DC has no clip region: End then removes clipping.
    if (region && GetClipRgn(m_dc, region) == 1) {
        m_savedClip = region;
    } else if (region) {
        DeleteObject(region);
    }
}

BOOL t_paintCtx::End()
{
    BOOL result = TRUE;
    if (!m_dc)
        return result;
    // A context without a saved region ends unclipped.
    SelectClipRgn(m_dc, m_savedClip);
    if (m_created)
        DeleteObject(m_created);
    if (m_savedClip)
        DeleteObject(m_savedClip);
    m_created = nullptr;
    m_savedClip = nullptr;
    m_clipSaved = false;
    if (m_previous) {
        SelectObject(m_dc, m_previous);
        result = DeleteDC(m_dc);
        m_previous = nullptr;
        m_dc = nullptr;
    }
    return result;
}
