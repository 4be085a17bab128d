#include "toolkit/controls/wnd_base.h"

#include <algorithm>

#include <cstdint>
#include <cstdlib>
#include <new>

#include "foundation/core/perf.h"
#include "graphics/layout/layout.h"
#include "graphics/layout/layout_wnd.h"
#include "toolkit/controls/wnd_top_access.h"

namespace {

// The block that t_wndBase's operator new handed out last on this thread; the constructor
// that runs next at that address belongs to a heap element.
// The block the last operator new of an element gave, until an element takes it.
thread_local const char* t_pendingHeapBlock = nullptr;
thread_local size_t t_pendingHeapSize = 0;

// One dimension of the keep rule: a kept dimension does not shrink unless the shrink reaches
// the threshold (a negative threshold never does).
int KeepDimension(bool keep, int& kept, int threshold, int request)
{
    if (!keep)
        return request;
    const int64_t shrink = static_cast<int64_t>(kept) - request;
    const int result = (threshold >= 0 && shrink >= threshold) ? request : (kept > request ? kept : request);
    kept = result;
    return result;
}

bool IsInPendingBlock(const void* object)
{
    const char* at = static_cast<const char*>(object);
    return t_pendingHeapBlock && at >= t_pendingHeapBlock && at < t_pendingHeapBlock + t_pendingHeapSize;
}

}  // namespace

void* t_wndBase::operator new(size_t size)
{
    void* block = operator new(size, std::nothrow);
    if (!block)
        throw std::bad_alloc();
    return block;
}

void* t_wndBase::operator new(size_t size, const std::nothrow_t&) noexcept
{
    void* block = std::malloc(size ? size : 1);
    t_pendingHeapBlock = static_cast<const char*>(block);
    t_pendingHeapSize = size;
    return block;
}

void t_wndBase::operator delete(void* block) { std::free(block); }

void t_wndBase::operator delete(void* block, const std::nothrow_t&) noexcept { std::free(block); }

t_wndBase::t_wndBase()
    : top(nullptr), parent(nullptr), rect{0, 0, 0, 0}, hover(false), layout(nullptr), minWidth(0), minHeight(0),
      visible(true), measureValue(3), perPixelAlpha(false), acceptsMouse(false), cursorRestore(false),
      cursorRestorePending(false), cursorOffsetX(0), cursorOffsetY(0), keepWidth(false), keepHeight(false),
      keptWidth(-1), keptHeight(-1), shrinkThresholdWidth(-1), shrinkThresholdHeight(-1), id(0), value(0),
      hintBelow(true), m_heapMade(IsInPendingBlock(this)), m_painting(false)
{
    // The first element constructed inside a fresh block is the heap object itself (its
    // element part need not sit at the block's start when another base comes first); its
    // member elements are constructed after it and find the mark taken.
    t_pendingHeapBlock = nullptr;
    t_pendingHeapSize = 0;
}

t_wndBase::~t_wndBase()
{
    // Nodes that outlive the element (the tree that holds them is another's) stop using it.
    for (t_layout* node : m_watched)
        node->Unwatch();
    m_watched.clear();
    ReleaseChildren();
    // The top would otherwise hand a deleted element its next OnMouseLeave.
    if (top && TopAsElement(top) != this && TopHotElement(top) == this)
        TopClearHot(top);
    if (parent)
        parent->RemoveChild(this);
    parent = nullptr;
    menuData.Clear();
    text.Clear();
}

void t_wndBase::RemoveChild(t_wndBase* child)
{
    const int at = children.Find(child);
    if (at < 0)
        return;
    // The array has no erase: copy the others out and back, in order.
    const int count = children.Count();
    itl::ImmSimpleArray<t_wndBase*> others;
    if (!others.Reserve(count - 1))
        return;
    for (int i = 0; i < count; ++i) {
        if (i != at)
            others.Append(children[i]);
    }
    children.Clear();
    children.Reserve(others.Count());
    for (int i = 0; i < others.Count(); ++i)
        children.Append(others[i]);
}

void t_wndBase::ReleaseChildren()
{
    // A deleted child has no parent any more, so it does not touch this array while it goes.
    for (int i = 0; i < children.Count(); ++i) {
        t_wndBase* child = children[i];
        child->Destroy();
        child->parent = nullptr;
        if (child->m_heapMade) {
            delete child;
        } else {
            // A member of some object, which ends it; it no longer belongs to this tree.
            child->SetTop(nullptr);
        }
    }
    children.Clear();
}

void t_wndBase::OnMouseMove(UINT keys, int x, int y)
{
    const POINT point = {x, y};
    for (int i = 0; i < children.Count(); ++i)
        children[i]->LeaveTest(point);
    for (int i = 0; i < children.Count(); ++i)
        children[i]->OnMouseMove(keys, x, y);

    if (HitTest(x, y, 0)) {
        if (hover)
            return;
        if (top) {
            // The deepest element hit first in this move is the hot one; the others stay out.
            if (TopHasHotElement(top))
                return;
            t_wndBase* previous = TopHotElement(top);
            if (previous)
                previous->OnMouseLeave();
            TopSetHot(top, this);
        }
        hover = true;
        OnMouseEnter();
    } else if (hover) {
        hover = false;
        OnMouseLeave();
    }
}

void t_wndBase::OnMouseEnter() {}

void t_wndBase::OnMouseLeave()
{
    hover = false;
    for (int i = 0; i < children.Count(); ++i)
        children[i]->OnMouseLeave();
    if (top)
        TopClearHotElement(top);
}

bool t_wndBase::OnMouseHover(UINT keys, int x, int y)
{
    if (HitTest(x, y, 0)) {
        for (int i = 0; i < children.Count(); ++i) {
            if (children[i]->OnMouseHover(keys, x, y))
                return true;
        }
    } else if (hover) {
        OnMouseLeave();
    }
    return false;
}

#define KAVREL_PASS_BUTTON(operation)                                                                                  \
    bool t_wndBase::operation(UINT keys, int x, int y)                                                                 \
    {                                                                                                                  \
        if (!visible || !HitTest(x, y, 0))                                                                             \
            return false;                                                                                              \
        for (int i = 0; i < children.Count(); ++i) {                                                                   \
            if (children[i]->operation(keys, x, y))                                                                    \
                return true;                                                                                           \
        }                                                                                                              \
        return false;                                                                                                  \
    }
KAVREL_PASS_BUTTON(OnLButtonDblClk)
KAVREL_PASS_BUTTON(OnLButtonDown)
KAVREL_PASS_BUTTON(OnLButtonUp)
KAVREL_PASS_BUTTON(OnRButtonDown)
KAVREL_PASS_BUTTON(OnRButtonUp)
#undef KAVREL_PASS_BUTTON

void t_wndBase::Paint_Layout(t_paintCtx& context)
{
    if (!layout || m_painting)
        return;
    PerfScope scope("Paint_Layout");
    m_painting = true;
    const POINT offset = GetTopOffset();
    // The element's own window node paints by calling back here: walk its inner node and
    // children directly instead of going round in a circle.
    if (layout->GetKind() == t_layout::e_kindWnd &&
        static_cast<t_layoutWnd*>(layout)->GetElement() == static_cast<i_element*>(this)) {
        layout->t_layout::Paint(context, &offset);
    } else {
        layout->Paint(context, &offset);
    }
    m_painting = false;
}

void t_wndBase::PaintLayoutLinked(t_paintCtx& context)
{
    if (!layout || !layout->GetInner())
        return;
    const POINT offset = GetTopOffset();
    layout->GetInner()->Paint(context, &offset);
}

void t_wndBase::MoveTo(int x, int y)
{
    if (layout) {
        layout->MoveTo(x, y);
        rect = layout->GetRect();
        return;
    }
    const int dx = x - rect.left;
    const int dy = y - rect.top;
    for (int i = 0; i < children.Count(); ++i)
        children[i]->MoveBy(dx, dy);
    OffsetRect(&rect, dx, dy);
}

void t_wndBase::SetSize(int width, int height)
{
    width = KeepDimension(keepWidth, keptWidth, shrinkThresholdWidth, width);
    height = KeepDimension(keepHeight, keptHeight, shrinkThresholdHeight, height);
    rect.right = rect.left + width;
    rect.bottom = rect.top + height;
    if (layout)
        layout->SetRect(rect);
}

void t_wndBase::MoveBy(int dx, int dy)
{
    if (layout) {
        const RECT r = layout->GetRect();
        layout->MoveTo(r.left + dx, r.top + dy);
        OffsetRect(&rect, dx, dy);
        return;
    }
    MoveTo(rect.left + dx, rect.top + dy);
}

bool t_wndBase::OnTimer(UINT_PTR timerId)
{
    for (int i = 0; i < children.Count(); ++i)
        children[i]->OnTimer(timerId);
    return true;
}

int t_wndBase::GetHoverTime(int x, int y)
{
    for (int i = 0; i < children.Count(); ++i) {
        if (children[i]->HitTest(x, y, 0))
            return children[i]->GetHoverTime(x, y);
    }
    return 100;
}

bool t_wndBase::LeaveTest(POINT point)
{
    const bool hit = HitTest(point.x, point.y, 0);
    if (!hit && hover && top)
        TopClearHot(top);
    return hit;
}

bool t_wndBase::Create(DWORD, int x, int y, int width, int height, INT_PTR newId, HINSTANCE, t_wndBase* newParent)
{
    POINT origin = {0, 0};
    if (newParent) {
        if (newParent != parent) {
            if (!newParent->children.Append(this))
                return false;
            if (parent)
                parent->RemoveChild(this);
        }
        parent = newParent;
        SetTop(newParent->top);
        const RECT base = newParent->GetRect();
        origin = {base.left, base.top};
    }
    rect = {origin.x + x, origin.y + y, origin.x + x + width, origin.y + y + height};
    id = static_cast<int>(newId);
    return true;
}

bool t_wndBase::CreateWithValue(DWORD style, int x, int y, int width, int height, INT_PTR newId, HINSTANCE instance,
                                t_wndBase* newParent, int newValue)
{
    if (!Create(style, x, y, width, height, newId, instance, newParent))
        return false;
    value = newValue;
    return true;
}

void t_wndBase::Destroy() { ReleaseChildren(); }

void t_wndBase::SetBounds(int x, int y, int width, int height, bool repaint)
{
    SetSize(width, height);
    MoveTo(x, y);
    if (repaint)
        InvalidateAll();
    RestoreCursorPos();
}

int t_wndBase::Measure(HDC) { return measureValue; }

void t_wndBase::Relayout(t_paintCtx* context)
{
    if (!layout)
        return;
    RECT r = layout->GetRect();
    layout->SetRect(r.left, r.top, r.left, r.top);
    layout->Measure(context);
    layout->Layout(context);
    r = layout->GetRect();
    SetBounds(r.left, r.top, r.right - r.left, r.bottom - r.top, false);
}

t_layoutWnd* t_wndBase::CreateLayout()
{
    t_layoutWnd* node = new (std::nothrow) t_layoutWnd(this);
    if (!node)
        return nullptr;
    node->SetRect(rect);
    SetLayoutNode(node);
    return node;
}

void t_wndBase::SetLayoutNode(t_layout* node)
{
    layout = node;
    WatchLayout(node);
}

void t_wndBase::WatchLayout(t_layout* node)
{
    if (!node || node->Watcher() == this)
        return;
    // One watcher per node: a node handed to another element leaves the first one's list.
    if (t_wndBase* previous = dynamic_cast<t_wndBase*>(node->Watcher())) {
        std::vector<t_layout*>& list = previous->m_watched;
        list.erase(std::remove(list.begin(), list.end(), node), list.end());
    }
    node->SetWatcher(this);
    m_watched.push_back(node);
}

void t_wndBase::LayoutGone(t_layout* node)
{
    const auto at = std::find(m_watched.begin(), m_watched.end(), node);
    if (at != m_watched.end())
        m_watched.erase(at);
    if (layout == node)
        layout = nullptr;
    OnLayoutGone(node);
}

bool t_wndBase::HitTest(int x, int y, int)
{
    if (!visible)
        return false;
    const RECT r = GetRect();
    const POINT point = {x, y};
    if (!PtInRect(&r, point))
        return false;
    if (layout && layout->GetInner()) {
        POINT pixel = {0, 0};
        return layout->GetInner()->HitTest(point, &pixel);
    }
    return true;
}

void t_wndBase::Invalidate(const RECT* area)
{
    if (!area) {
        InvalidateAll();
        return;
    }
    if (!parent)
        return;
    RECT r = *area;
    OffsetRect(&r, rect.left, rect.top);
    parent->Invalidate(&r);
}

void t_wndBase::InvalidateAll()
{
    if (parent)
        parent->InvalidateAll();
}

void t_wndBase::ForwardToParent(WPARAM wParam, LPARAM lParam)
{
    if (parent)
        parent->ForwardToParent(wParam, lParam);
}

void t_wndBase::SetText(const wchar_t* tip) { text.Assign(tip); }

void t_wndBase::ShowHint(bool show)
{
    if (!top || TopIsDragging(top))
        return;
    if (!show || text.IsEmpty()) {
        TopHideHint(top);
        return;
    }
    const RECT r = GetRect();
    const RECT anchor = {r.left, r.top - 2, r.left, r.bottom + 10};
    TopShowHint(top, text.c_str(), anchor, hintBelow);
}

void t_wndBase::SetMenuData(const t_menuData& data) { menuData.Assign(data); }

void t_wndBase::ShowMenu(POINT point, UINT alignFlags, UINT fitFlags, HWND notifyHwnd, const t_menuData* data,
                         LPARAM param)
{
    if (!top || TopIsDragging(top))
        return;
    if (!TopIsShown(top)) {
        CloseMenu(1);
        return;
    }
    TopPopupMenu(top, data ? *data : menuData, point, alignFlags, fitFlags, notifyHwnd, param);
}

void t_wndBase::CloseMenu(int flag)
{
    t_wndBase* owner = top ? TopAsElement(top) : nullptr;
    if (owner && owner != this)
        owner->CloseMenu(flag);
}

LRESULT t_wndBase::OnMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, bool& handled)
{
    for (int i = 0; i < children.Count(); ++i) {
        const LRESULT result = children[i]->OnMessage(hwnd, msg, wParam, lParam, handled);
        if (handled)
            return result;
    }
    return 0;
}

HRGN t_wndBase::GetRegion() { return nullptr; }

bool t_wndBase::SuspendsDrag() { return false; }

bool t_wndBase::WantsHandCursor() { return true; }

void t_wndBase::ResetUi(int arg)
{
    PerfScope scope("ResetUi");
    for (int i = 0; i < children.Count(); ++i)
        children[i]->ResetUi(arg);
    Rebuild();
}

void t_wndBase::Rebuild() {}

HWND t_wndBase::GetHwnd() const { return top ? TopDrawingHwnd(top) : nullptr; }

RECT t_wndBase::GetRect() const { return layout ? layout->GetRect() : rect; }

RECT t_wndBase::GetClientRect() const
{
    const RECT r = GetRect();
    return RECT{0, 0, r.right - r.left, r.bottom - r.top};
}

SIZE t_wndBase::GetSize() const
{
    if (!visible)
        return SIZE{0, 0};
    const RECT r = GetRect();
    return SIZE{r.right - r.left, r.bottom - r.top};
}

RECT t_wndBase::GetRectInTop() const
{
    if (!top)
        return RECT{0, 0, 0, 0};
    const t_wndBase* root = TopAsElement(top);
    const RECT origin = root ? root->GetRect() : RECT{0, 0, 0, 0};
    RECT r = GetRect();
    OffsetRect(&r, -origin.left, -origin.top);
    return r;
}

RECT t_wndBase::GetRectInHwnd() const
{
    const POINT offset = GetTopOffset();
    RECT r = GetRect();
    OffsetRect(&r, offset.x, offset.y);
    return r;
}

POINT t_wndBase::GetTopOffset() const
{
    if (!top || TopIsOwnerMode(top))
        return POINT{0, 0};
    const t_wndBase* root = TopAsElement(top);
    const RECT origin = root ? root->GetRect() : RECT{0, 0, 0, 0};
    return POINT{-origin.left, -origin.top};
}

void t_wndBase::SetTop(t_wndTop* newTop)
{
    top = newTop;
    for (int i = 0; i < children.Count(); ++i)
        children[i]->SetTop(newTop);
}

void t_wndBase::SetPerPixelAlpha(bool on)
{
    perPixelAlpha = on;
    for (int i = 0; i < children.Count(); ++i)
        children[i]->SetPerPixelAlpha(on);
}

void t_wndBase::ForgetKeptSize()
{
    keptWidth = -1;
    keptHeight = -1;
    for (int i = 0; i < children.Count(); ++i)
        children[i]->ForgetKeptSize();
}

void t_wndBase::RestoreCursorPos() { RestoreCursorWalk(); }

bool t_wndBase::RestoreCursorWalk()
{
    if (cursorRestore && cursorRestorePending) {
        const RECT r = GetRect();
        SetCursorPos(r.left + cursorOffsetX, r.top + cursorOffsetY);
        cursorRestorePending = false;
        return true;
    }
    for (int i = 0; i < children.Count(); ++i) {
        if (children[i]->RestoreCursorWalk())
            return true;
    }
    return false;
}

void t_wndBase::SyncLayoutRect()
{
    if (layout)
        layout->SetRect(rect);
}
