#include "ime_ui/windows/flash/wnd_flash_bk_sub_impl.h"

#include <new>
#include <vector>

#include "interfaces/flash_interfaces.h"
#include "graphics/image/image.h"
#include "graphics/image/image_source.h"
#include "graphics/layout/layout_render.h"
#include "graphics/layout/layout_wnd.h"
#include "graphics/layout/render.h"

namespace {

// Every picture render of the tree, depth first.
void CollectImageRenders(t_layout* node, std::vector<t_renderImage*>& out)
{
    if (!node)
        return;
    if (node->GetKind() == t_layout::e_kindRender) {
        t_render* render = static_cast<t_layoutRender*>(node)->GetRender();
        if (render && render->GetKind() == t_render::e_kindImage)
            out.push_back(static_cast<t_renderImage*>(render));
    }
    CollectImageRenders(node->GetInner(), out);
    CollectImageRenders(node->GetNext(), out);
    for (int i = 0; i < node->ChildCount(); ++i)
        CollectImageRenders(node->ChildAt(i), out);
}

// While it lives, every picture of the tree shows the frame; the pictures come back after.
class t_frameSwap {
public:
    t_frameSwap(t_layout* tree, const t_flashFrame& frame)
    {
        t_imageSource* made = nullptr;
        if (!t_imageSource::CreateFromPixels(1, frame.pixels, frame.width, frame.height, made, 0, nullptr))
            return;
        m_source.reset(made);
        CollectImageRenders(tree, m_renders);
        m_saved.reserve(m_renders.size());
        for (t_renderImage* render : m_renders) {
            m_saved.push_back(render->image);
            t_image& image = render->image;
            // The frame fills the picture's place the way the picture did.
            image.SetPart(m_source.get(), 0, 0, c_noColorKey, c_noColorKey, frame.width, frame.height, image.modeH,
                          image.modeV, true);
            image.ownsSource = 0;
            // The hit mask follows the picture shown.
            render->dirty = 1;
        }
    }
    ~t_frameSwap()
    {
        for (size_t i = 0; i < m_renders.size(); ++i) {
            m_renders[i]->image = m_saved[i];
            m_renders[i]->dirty = 1;
        }
    }
    t_frameSwap(const t_frameSwap&) = delete;
    t_frameSwap& operator=(const t_frameSwap&) = delete;

private:
    t_imageSourcePtr m_source;
    std::vector<t_renderImage*> m_renders;
    std::vector<t_image> m_saved;
};

// The element's node: the background is its inner node, carried, not owned: the window's
// tree holds it.
class t_layoutFlashBackground : public t_layoutWnd {
public:
    explicit t_layoutFlashBackground(i_element* element) : t_layoutWnd(element) {}
    void Carry(t_layout* background) { CarryInner(background); }
};

}  // namespace

t_wndFlashBkSubImpl::t_wndFlashBkSubImpl() : m_inner(nullptr) {}

t_layoutWnd* t_wndFlashBkSubImpl::CreateLayout()
{
    t_layoutFlashBackground* node = new (std::nothrow) t_layoutFlashBackground(this);
    if (!node)
        return nullptr;
    node->SetRect(rect);
    node->Carry(m_inner);
    SetLayoutNode(node);
    return node;
}

void t_wndFlashBkSubImpl::OnLayoutGone(t_layout* node)
{
    if (node != m_inner)
        return;
    SetInnerLayout(nullptr);
}

void t_wndFlashBkSubImpl::SetInnerLayout(t_layout* background)
{
    m_inner = background;
    // The window's tree deletes the background; the element hears of it and lets it go.
    WatchLayout(background);
    // Only the element's own kind of node carries it: any other owns its inner nodes.
    if (t_layoutFlashBackground* node = dynamic_cast<t_layoutFlashBackground*>(layout))
        node->Carry(background);
}

void t_wndFlashBkSubImpl::ToFlashPoint(POINT* point)
{
    if (!point)
        return;
    if (!m_inner) {
        t_wndFlashSubImpl::ToFlashPoint(point);
        return;
    }
    const RECT r = m_inner->GetRect();
    point->x -= r.left;
    point->y -= r.top;
}

void t_wndFlashBkSubImpl::Paint_Layout(t_paintCtx& context)
{
    if (!stub || !m_inner || !visible)
        return;
    const RECT r = GetRect();
    if (IsRectEmpty(&r))
        return;
    SetPerPixelAlpha(true);
    const POINT offset = GetTopOffset();
    t_flashFrame frame;
    if (SendSize() && TakeFrame(frame)) {
        t_frameSwap swap(m_inner, frame);
        m_inner->Paint(context, &offset);
        return;
    }
    m_inner->Paint(context, &offset);
}
