#include "ime_ui/windows/cand/wnd_scroll_image.h"

#include <algorithm>

#include "graphics/layout/layout_wnd.h"
#include "graphics/layout/render.h"
#include "graphics/paint/fade_out.h"
#include "graphics/paint/paint_ctx.h"
#include "graphics/paint/pixel_ops.h"
#include "toolkit/controls/wnd_image.h"

int ClampScrollOffset(int offset, int pictureSize, int viewSize, int start)
{
    const int highest = std::max({pictureSize - viewSize, 0, start}) + c_scrollOvershoot;
    return std::clamp(offset, -c_scrollOvershoot, highest);
}

t_wndScrollImage::t_wndScrollImage()
    : visiblePart{0, 0, 0, 0}, pictureSize{0, 0}, start{0, 0}, delta{0, 0}, render(nullptr)
{
    InitEmptyPicture(source);
    InitEmptyPicture(composed);
}

t_wndScrollImage::~t_wndScrollImage() { ReleaseImages(); }

void t_wndScrollImage::ReleaseImages()
{
    // The picture node holds a copy of the composed record: forget it before its bitmap goes.
    if (render)
        InitEmptyPicture(render->image);
    source.Release();
    composed.Release();
    InitEmptyPicture(source);
    InitEmptyPicture(composed);
}

void t_wndScrollImage::SetImage(HBITMAP bitmap, int x, int y)
{
    ReleaseImages();
    pictureSize = SIZE{0, 0};
    if (bitmap) {
        source.SetBitmap(bitmap, 0, 0, c_noColorKey, c_noColorKey, -1, -1, t_image::e_natural, t_image::e_natural,
                         false);
        BITMAP info = {};
        // A 32-bit picture carries its own (premultiplied) alpha.
        if (GetObjectW(bitmap, sizeof info, &info) && info.bmBitsPixel == 32)
            source.hasAlpha = 1;
        pictureSize = SIZE{source.fullWidth, source.fullHeight};
    }
    start = POINT{x, y};
    delta = POINT{0, 0};
}

void t_wndScrollImage::ClampScroll()
{
    const RECT r = GetRectInHwnd();
    const int x = ClampScrollOffset(start.x + delta.x, pictureSize.cx, r.right - r.left, start.x);
    const int y = ClampScrollOffset(start.y + delta.y, pictureSize.cy, r.bottom - r.top, start.y);
    delta = POINT{x - start.x, y - start.y};
}

void t_wndScrollImage::SetScrollDelta(int dx, int dy)
{
    delta = POINT{dx, dy};
    ClampScroll();
}

RECT t_wndScrollImage::VisiblePart() const
{
    const RECT r = GetRectInHwnd();
    const int x = start.x + delta.x, y = start.y + delta.y;
    const int width = std::min<int>(r.right - r.left, pictureSize.cx - std::max(x, 0));
    const int height = std::min<int>(r.bottom - r.top, pictureSize.cy - std::max(y, 0));
    return RECT{x, y, x + width, y + height};
}

void t_wndScrollImage::Paint_Layout(t_paintCtx& context)
{
    if (!visible || !render)
        return;
    ClampScroll();
    visiblePart = VisiblePart();
    const int width = visiblePart.right - visiblePart.left;
    const int height = visiblePart.bottom - visiblePart.top;
    InitEmptyPicture(render->image);
    composed.Release();
    InitEmptyPicture(composed);
    // Scrolled past the picture: nothing to show, and no bitmap of a size that is none.
    if (width <= 0 || height <= 0 || source.IsBitmapEmpty())
        return;

    t_memDC dib;
    if (!t_memDC::Create(dib, context.Dc(), width, height))
        return;
    {
        t_paintCtx inner(dib.dc, true, &dib, false);
        source.Draw(inner, -visiblePart.left, -visiblePart.top, pictureSize.cx, pictureSize.cy, 255);
        inner.End();
    }
    GdiFlush();
    // The last (height) columns fade out towards the right edge.
    const RECT fade = {std::max(width - height, 0), 0, width, height};
    FadeOutHorizontally(fade, dib.Pixels(), width, height);
    HBITMAP bitmap = dib.Detach();
    if (!bitmap)
        return;
    composed.SetBitmap(bitmap, 0, 0, c_noColorKey, c_noColorKey, -1, -1, t_image::e_natural, t_image::e_natural, false);
    composed.hasAlpha = 1;
    render->image = composed;
    render->dirty = 1;
    PaintLayoutLinked(context);
}

void t_wndScrollImage::SetSize(int width, int height)
{
    t_wndBase::SetSize(std::min<int>(width, pictureSize.cx), std::min<int>(height, pictureSize.cy));
}

void t_wndScrollImage::Destroy()
{
    ReleaseImages();
    pictureSize = SIZE{0, 0};
    start = POINT{0, 0};
    delta = POINT{0, 0};
    t_wndBase::Destroy();
}

void t_wndScrollImage::OnLayoutGone(t_layout*)
{
    if (!layout)
        render = nullptr;
}

t_layoutWnd* t_wndScrollImage::CreateLayout()
{
    t_layoutWnd* node = t_wndBase::CreateLayout();
    if (node)
        render = AttachPictureNode(*node, false);
    return node;
}
