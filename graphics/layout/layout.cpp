#include "graphics/layout/layout.h"

#include "foundation/core/perf.h"
#include "graphics/paint/paint_ctx.h"

#include <vector>

t_layout::t_layout() : rect{0, 0, 0, 0}, minWidth(0), minHeight(0), inner(nullptr), next(nullptr) {}

t_layout::~t_layout()
{
    for (int i = 0; i < children.Count(); ++i)
        delete children[i];
    children.Clear();
    delete inner;
    delete next;
}

bool t_layout::AppendChild(t_layout* child) { return child && children.Append(child); }

void t_layout::Paint(t_paintCtx& context, const POINT* offset)
{
    if (inner)
        inner->Paint(context, offset);
    for (int i = children.Count() - 1; i >= 0; --i) {
        if (children[i])
            children[i]->Paint(context, offset);
    }
}

void t_layout::Paint_Bk(t_paintCtx& context, const POINT* offset)
{
    if (inner) {
        PerfScope scope("Paint_Bk");
        inner->Paint_Bk(context, offset);
    }
    for (int i = children.Count() - 1; i >= 0; --i) {
        if (children[i])
            children[i]->Paint_Bk(context, offset);
    }
}

t_layout* t_layout::FindNodeAt(int x, int y)
{
    for (int i = 0; i < children.Count(); ++i) {
        if (!children[i])
            continue;
        if (t_layout* found = children[i]->FindNodeAt(x, y))
            return found;
    }
    return nullptr;
}

HRGN t_layout::GetRegion(HDC dc)
{
    HRGN result = nullptr;
    for (int i = 0; i < children.Count(); ++i) {
        t_layout* child = children[i];
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
    for (int i = children.Count() - 1; i >= 0; --i) {
        if (children[i] && children[i]->HitTest(point, out))
            return true;
    }
    return false;
}

void t_layout::SetRect(int left, int top, int right, int bottom)
{
    for (t_layout* node = this; node; node = node->next) {
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
    for (t_layout* node = this; node; node = node->next) {
        node->minWidth = width;
        node->minHeight = height;
        if (node->inner)
            node->inner->SetMinSize(width, height);
    }
}

void t_layout::MoveTo(int x, int y)
{
    for (t_layout* node = this; node; node = node->next) {
        for (int i = 0; i < node->children.Count(); ++i) {
            t_layout* child = node->children[i];
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
    for (t_layout* node = this; node; node = node->next) {
        node->Prepare();
        for (int i = 0; i < node->children.Count(); ++i) {
            t_layout* child = node->children[i];
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
        if (node->next) {
            node->next->Measure(context);
            node->next->SetRect(node->rect);
        }
    }
}

void t_layout::ApplyMinSize()
{
    for (t_layout* node = this; node; node = node->next) {
        node->SetRect(node->rect.left, node->rect.top, ClampToInt(0LL + node->rect.left + node->minWidth),
                      ClampToInt(0LL + node->rect.top + node->minHeight));
        for (int i = 0; i < node->children.Count(); ++i) {
            if (node->children[i])
                node->children[i]->ApplyMinSize();
        }
        if (node->inner)
            node->inner->ApplyMinSize();
    }
}

void t_layout::SetInner(t_layout* node)
{
    if (node == inner)
        return;
    delete inner;
    inner = node;
}

void t_layout::SetNext(t_layout* node)
{
    if (node == next)
        return;
    delete next;
    next = node;
}

void t_layout::RemoveChild(t_layout* node)
{
    const int at = children.Find(node);
    if (at < 0)
        return;
    // The array has no removal of its own: rebuild it without that entry.
    std::vector<t_layout*> kept;
    kept.reserve(children.Count());
    for (int i = 0; i < children.Count(); ++i) {
        if (i != at)
            kept.push_back(children[i]);
    }
    children.Clear();
    for (t_layout* child : kept)
        children.Append(child);
}

bool t_layout::AllChildren(bool (*predicate)(t_layout* child, void* context), void* context)
{
    for (int i = 0; i < children.Count(); ++i) {
        if (children[i] && !predicate(children[i], context))
            return false;
    }
    return true;
}
