#include "graphics/layout/layout.h"

#include "foundation/core/perf.h"
#include "graphics/paint/paint_ctx.h"

#include <new>
#include <vector>

t_layout::t_layout() : rect{0, 0, 0, 0}, minWidth(0), minHeight(0), inner(nullptr), m_watcher(nullptr) {}

t_layout::~t_layout()
{
    if (m_watcher)
        m_watcher->LayoutGone(this);
}

bool t_layout::AppendChild(t_layoutPtr child)
{
    if (!child)
        return false;
    try {
        m_children.push_back(std::move(child));
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

void t_layout::Paint(t_paintCtx& context, const POINT* offset)
{
    if (inner)
        inner->Paint(context, offset);
    for (int i = ChildCount() - 1; i >= 0; --i) {
        if (ChildAt(i))
            ChildAt(i)->Paint(context, offset);
    }
}

void t_layout::Paint_Bk(t_paintCtx& context, const POINT* offset)
{
    if (inner) {
        PerfScope scope("Paint_Bk");
        inner->Paint_Bk(context, offset);
    }
    for (int i = ChildCount() - 1; i >= 0; --i) {
        if (ChildAt(i))
            ChildAt(i)->Paint_Bk(context, offset);
    }
}

t_layout* t_layout::FindNodeAt(int x, int y)
{
    for (int i = 0; i < ChildCount(); ++i) {
        if (!ChildAt(i))
            continue;
        if (t_layout* found = ChildAt(i)->FindNodeAt(x, y))
            return found;
    }
    return nullptr;
}

HRGN t_layout::GetRegion(HDC dc)
{
    HRGN result = nullptr;
    for (int i = 0; i < ChildCount(); ++i) {
        t_layout* child = ChildAt(i);
        if (!child)
            continue;
        HRGN part = child->GetRegion(dc);
        if (!part)
            continue;
        OffsetRgn(part, child->rect.left - rect.left, child->rect.top - rect.top);
        if (!result) {
            result = part;
            continue;
        }
        CombineRgn(result, result, part, RGN_OR);
        DeleteObject(part);
    }
    return result;
}

bool t_layout::HitTest(POINT point, POINT* out)
{
    if (inner && inner->HitTest(point, out))
        return true;
    for (int i = ChildCount() - 1; i >= 0; --i) {
        if (ChildAt(i) && ChildAt(i)->HitTest(point, out))
            return true;
    }
    return false;
}

void t_layout::SetRect(int left, int top, int right, int bottom)
{
    for (t_layout* node = this; node; node = node->GetNext()) {
        node->rect = RECT{left, top, right, bottom};
        if (node->inner)
            node->inner->SetRect(left, top, right, bottom);
    }
}

void t_layout::SetSize(int width, int height)
{
    rect.right = ClampToInt(0LL + rect.left + width);
    rect.bottom = ClampToInt(0LL + rect.top + height);
}

void t_layout::SetMinSize(int width, int height)
{
    for (t_layout* node = this; node; node = node->GetNext()) {
        node->minWidth = width;
        node->minHeight = height;
        if (node->inner)
            node->inner->SetMinSize(width, height);
    }
}

void t_layout::MoveTo(int x, int y)
{
    for (t_layout* node = this; node; node = node->GetNext()) {
        for (int i = 0; i < node->ChildCount(); ++i) {
            t_layout* child = node->ChildAt(i);
            if (child)
                child->MoveTo(ClampToInt(0LL + x + child->rect.left - node->rect.left),
                              ClampToInt(0LL + y + child->rect.top - node->rect.top));
        }
        node->rect.right = ClampToInt(0LL + node->rect.right + x - node->rect.left);
        node->rect.bottom = ClampToInt(0LL + node->rect.bottom + y - node->rect.top);
        node->rect.left = x;
        node->rect.top = y;
        if (node->inner)
            node->inner->MoveTo(x, y);
    }
}

void t_layout::Layout(t_paintCtx* context)
{
    for (t_layout* node = this; node; node = node->GetNext()) {
        node->Prepare();
        for (int i = 0; i < node->ChildCount(); ++i) {
            t_layout* child = node->ChildAt(i);
            if (!child)
                continue;
            child->SetRect(node->GetChildRect(child));
            child->Layout(context);
        }
        if (node->inner) {
            node->inner->Measure(context);
            node->inner->SetRect(node->rect);
            node->inner->Layout(context);
        }
        if (t_layout* chained = node->GetNext()) {
            chained->Measure(context);
            chained->SetRect(node->rect);
        }
    }
}

void t_layout::ApplyMinSize()
{
    for (t_layout* node = this; node; node = node->GetNext()) {
        node->SetRect(node->rect.left, node->rect.top, ClampToInt(0LL + node->rect.left + node->minWidth),
                      ClampToInt(0LL + node->rect.top + node->minHeight));
        for (int i = 0; i < node->ChildCount(); ++i) {
            if (node->ChildAt(i))
                node->ChildAt(i)->ApplyMinSize();
        }
        if (node->inner)
            node->inner->ApplyMinSize();
    }
}

void t_layout::SetInner(t_layoutPtr node)
{
    m_ownedInner = std::move(node);
    inner = m_ownedInner.get();
}

void t_layout::CarryInner(t_layout* node)
{
    m_ownedInner.reset();
    inner = node;
}

void t_layout::SetNext(t_layoutPtr node) { m_next = std::move(node); }

t_layoutPtr t_layout::RemoveChild(t_layout* node)
{
    for (auto at = m_children.begin(); at != m_children.end(); ++at) {
        if (at->get() == node) {
            t_layoutPtr taken = std::move(*at);
            m_children.erase(at);
            return taken;
        }
    }
    return nullptr;
}

bool t_layout::AllChildren(bool (*predicate)(t_layout* child, void* context), void* context)
{
    for (int i = 0; i < ChildCount(); ++i) {
        if (ChildAt(i) && !predicate(ChildAt(i), context))
            return false;
    }
    return true;
}
