#include "graphics/image/mem_dc.h"

void t_memDC::Init()
{
    dc = nullptr;
    dib = nullptr;
    previous = nullptr;
    blend = BLENDFUNCTION{};
    bits = nullptr;
    width = height = 0;
}

bool t_memDC::CreateBitmap(int w, int h, t_dibRows rows)
{
    Release();
    if (w <= 0 || h <= 0)
        return false;
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = w;
    info.bmiHeader.biHeight = rows == t_dibRows::topDown ? -h : h;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* pixels = nullptr;
    // DIB_RGB_COLORS takes no palette from a DC, so the section needs none.
    HBITMAP made = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &pixels, nullptr, 0);
    if (!made || !pixels) {
        if (made)
            DeleteObject(made);
        return false;
    }
    dib = made;
    blend = BLENDFUNCTION{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    bits = pixels;
    width = w;
    height = h;
    return true;
}

bool t_memDC::Create(t_memDC& holder, HDC reference, int width, int height, t_dibRows rows)
{
    if (!holder.CreateBitmap(width, height, rows))
        return false;
    holder.dc = CreateCompatibleDC(reference);
    if (!holder.dc) {
        holder.Release();
        return false;
    }
    holder.previous = SelectObject(holder.dc, holder.dib);
    return true;
}

// Selects the old bitmap back, deletes the DC and empties the holder; the DIB is deleted
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

HBITMAP CreateDib32(int width, int height, uint32_t** bits, t_dibRows rows)
{
    t_memDC holder;
    if (!holder.CreateBitmap(width, height, rows))
        return nullptr;
    if (bits)
        *bits = holder.Pixels();
    return holder.Detach();
}
