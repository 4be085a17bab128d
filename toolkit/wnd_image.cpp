#include "toolkit/wnd_image.h"

#include <new>

#include "graphics/layout/layout_render.h"
#include "graphics/layout/layout_wnd.h"
#include "graphics/layout/render.h"

t_wndImage::t_wndImage() : ownsImage(false)
{
    image.Init();
    image.modeH = t_image::e_natural;
    image.modeV = t_image::e_natural;
    image.key1 = c_noColorKey;
    image.key2 = c_noColorKey;
}

t_wndImage::~t_wndImage()
{
    if (ownsImage)
        image.Release();
}

namespace {

// The picture renderer of the element's inner node, when the node is a picture node.
t_renderImage* InnerImageRender(t_layout* layout)
{
    if (!layout || !layout->GetInner() || layout->GetInner()->GetKind() != t_layout::e_kindRender)
        return nullptr;
    t_render* render = static_cast<t_layoutRender*>(layout->GetInner())->GetRender();
    if (!render || render->GetKind() != t_render::e_kindImage)
        return nullptr;
    return static_cast<t_renderImage*>(render);
}

}  // namespace

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
    if (!node)
        return nullptr;
    t_renderImage* render = new (std::nothrow) t_renderImage();
    t_layoutRender* picture = render ? new (std::nothrow) t_layoutRender(render) : nullptr;
    if (!picture) {
        delete render;
        return node;
    }
    // The picture is copied in at every paint; no hit mask is kept for it.
    render->keepHitMask = 0;
    picture->SetRect(node->GetRect());
    node->SetInner(picture);
    return node;
}
