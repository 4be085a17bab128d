// The layout tree: nodes that size and place their children, paint them, give the window
// region and hit-test. A node owns its children, its inner node (drawn underneath, sharing
// the node's rectangle) and its next node (a chain of nodes sharing one rectangle).
#pragma once

#include <windows.h>

#include <climits>
#include <memory>
#include <vector>

class t_paintCtx;

// Sizes and margins come from skin files: sums are taken in 64 bits and clamped back.
inline int ClampToInt(long long value)
{
    return value < INT_MIN ? INT_MIN : value > INT_MAX ? INT_MAX : static_cast<int>(value);
}

class t_layout;
using t_layoutPtr = std::unique_ptr<t_layout>;

// Keeps a plain pointer to a node that somebody else's tree owns (an element's own node, a
// picture node inside it) and is told when that node is deleted, before the pointer could be
// used again.
class i_layoutWatcher {
public:
    virtual void LayoutGone(t_layout* node) = 0;

protected:
    ~i_layoutWatcher() = default;
};

class t_layout {
public:
    enum t_kind : int {
        e_kindPlain = 0,
        e_kindAligned = 1,
        e_kindGrid = 2,
        e_kindRender = 3,
        e_kindWnd = 4,
    };
    // Bits of a measure value.
    enum : int {
        e_fixedWidth = 1,
        e_fixedHeight = 2,
    };

    t_layout();
    virtual ~t_layout();
    t_layout(const t_layout&) = delete;
    t_layout& operator=(const t_layout&) = delete;

    // The node's minimum content size.
    virtual SIZE GetSize() = 0;
    // Sizes the node from its content at its current left/top; returns the measure value.
    // context may be null (elements then measure with a null DC).
    virtual int Measure(t_paintCtx* context) = 0;
    // Fixes the node's own tracks or cells for the current rectangle.
    virtual void Prepare() = 0;
    // The rectangle this node gives one of its children.
    virtual RECT GetChildRect(t_layout* child) = 0;
    // Inner node first, then the children from the last to the first. offset may be null.
    virtual void Paint(t_paintCtx& context, const POINT* offset);
    // The background walk: inner node, then the children from the last to the first.
    virtual void Paint_Bk(t_paintCtx& context, const POINT* offset);
    // The first child (in order) that finds a node at the point; null when none.
    virtual t_layout* FindNodeAt(int x, int y);
    // Union of the children's regions moved by their offsets inside this node; null when
    // no child has one. The caller owns the result.
    virtual HRGN GetRegion(HDC dc);
    // Inner node first, then the children from the last to the first; out receives the
    // picture pixel that a render node hit.
    virtual bool HitTest(POINT point, POINT* out);
    virtual int GetKind() const { return e_kindPlain; }

    // Sets this node's rectangle and, recursively, its inner node's and its chain's.
    void SetRect(int left, int top, int right, int bottom);
    void SetRect(const RECT& r) { SetRect(r.left, r.top, r.right, r.bottom); }
    RECT GetRect() const { return rect; }
    int Width() const { return ClampToInt(0LL + rect.right - rect.left); }
    int Height() const { return ClampToInt(0LL + rect.bottom - rect.top); }
    // right = left + width, bottom = top + height (this node only).
    void SetSize(int width, int height);
    // Sets the minimum size of this node, its inner node and its chain.
    void SetMinSize(int width, int height);
    // Moves the node (children keep their offsets, inner and chain follow).
    void MoveTo(int x, int y);
    // Arranges the subtree; the caller measures the root first.
    void Layout(t_paintCtx* context);
    // Gives every node of the subtree its minimum size at its current left/top.
    void ApplyMinSize();
    // Takes the node; a previous inner node is deleted.
    void SetInner(t_layoutPtr node);
    // Takes the node; a previous next node is deleted.
    void SetNext(t_layoutPtr node);
    t_layout* GetInner() const { return inner; }
    t_layout* GetNext() const { return m_next.get(); }
    // Takes the node out of the children, keeping the order of the others, and hands it
    // back; empty when it is not a child.
    t_layoutPtr RemoveChild(t_layout* node);
    // Calls predicate for every child in order; false at the first child it refuses.
    bool AllChildren(bool (*predicate)(t_layout* child, void* context), void* context);
    int ChildCount() const { return static_cast<int>(m_children.size()); }
    t_layout* ChildAt(int index) const { return m_children[index].get(); }

    // One watcher per node; the node tells it when deleted. A watcher that goes first calls
    // Unwatch, and a node bound to it stops using it.
    void SetWatcher(i_layoutWatcher* watcher) { m_watcher = watcher; }
    i_layoutWatcher* Watcher() const { return m_watcher; }
    void Unwatch()
    {
        m_watcher = nullptr;
        WatcherGone();
    }

    RECT rect;
    int minWidth, minHeight;

protected:
    // Appends a child, owned from here on; false (and the child deleted) when it cannot.
    bool AppendChild(t_layoutPtr child);
    // Draws node underneath without owning it: its owner keeps it alive while it is carried.
    void CarryInner(t_layout* node);

    // The watcher is going away: a node that calls back into it forgets it here.
    virtual void WatcherGone() {}

    t_layout* inner;  // the inner node, owned or carried

private:
    i_layoutWatcher* m_watcher;
    // Destroyed from the last declared: children first, then the inner node and the chain.
    t_layoutPtr m_ownedInner;
    t_layoutPtr m_next;
    std::vector<t_layoutPtr> m_children;
};
