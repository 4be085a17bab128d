#include "toolkit/controls/wnd_image.h"

#include <new>

#include "foundation/core/owned.h"
#include "graphics/layout/layout_render.h"
#include "graphics/layout/layout_wnd.h"
#include "graphics/layout/render.h"

void InitEmptyPicture(t_image& picture)
{
    picture.Init();
    picture.key1 = c_noColorKey;
    picture.key2 = c_noColorKey;
    picture.modeH = t_image::e_natural;
    picture.modeV = t_image::e_natural;
}

t_wndImage::t_wndImage() : ownsImage(false) { InitEmptyPicture(image); }

t_wndImage::~t_wndImage()
{
    if (ownsImage)
        image.Release();
}

t_renderImage* InnerImageRender(t_layout* layout)
{
    if (!layout || !layout->GetInner() || layout->GetInner()->GetKind() != t_layout::e_kindRender)
        return nullptr;
    t_render* render = static_cast<t_layoutRender*>(layout->GetInner())->GetRender();
    if (!render || render->GetKind() != t_render::e_kindImage)
        return nullptr;
    return static_cast<t_renderImage*>(render);
}

t_renderImage* AttachPictureNode(t_layoutWnd& node, bool keepHitMask)
{
    auto made = MakeOwned<t_renderImage>();
    if (!made)
        return nullptr;
    t_renderImage* render = made.get();
    render->keepHitMask = keepHitMask ? 1 : 0;
    auto picture = MakeOwned<t_layoutRender>(std::move(made));
    if (!picture)
        return nullptr;
    picture->SetRect(node.GetRect());
    node.SetInner(std::move(picture));
    return render;
}

void t_wndImage::Paint_Layout(t_paintCtx& context)
{
    if (t_renderImage* render = InnerImageRender(layout)) {
        render->image = image;
        // The node draws a copy; the element keeps what the record points at.
        render->image.ownsSource = 0;
        render->dirty = 1;
    }
    PaintLayoutLinked(context);
}

int t_wndImage::Measure(HDC)
{
    SetSize(image.partWidth > 0 ? image.partWidth : 0, image.partHeight > 0 ? image.partHeight : 0);
    return 3;
}

t_layoutWnd* t_wndImage::CreateLayout()
{
    t_layoutWnd* node = t_wndBase::CreateLayout();
    // The picture is copied in at every paint; no hit mask is kept for it.
    if (node)
        AttachPictureNode(*node, false);
    return node;
}
