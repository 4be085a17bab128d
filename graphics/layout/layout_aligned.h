// Aligned layout: each child sits in its own rectangle, each of its four edges anchored to
// the near side, the far side or the middle of the node's rectangle, with margins.
#pragma once

#include <map>

#include "graphics/layout/layout.h"

// Placement of one child of an aligned layout. Anchor modes of an edge: free, near side
// plus the margin, far side minus the margin, middle plus the margin.
struct t_alignInfo {
    enum t_anchor : int {
        e_free = 0,
        e_near = 1,
        e_far = 2,
        e_middle = 3,
    };

    int leftMode, leftMargin;
    int rightMode, rightMargin;
    int topMode, topMargin;
    int bottomMode, bottomMargin;
    int itemWidth, itemHeight;  // the child's measured size
    int measureValue;           // bit 0 keeps the item width, bit 1 the item height
    int extra1, extra2;         // carried for the caller, not read by the layout

    // Every edge on its own side with margin 0: the child fills the box.
    static t_alignInfo Default() { return t_alignInfo{1, 0, 2, 0, 1, 0, 2, 0, 0, 0, 0, 0, 0}; }
    void SetSize(int width, int height)
    {
        itemWidth = width;
        itemHeight = height;
    }
    // The item rectangle inside the box, without keeping the item size.
    static RECT ComputeRect(const t_alignInfo& record, int left, int top, int right, int bottom);
    // The item rectangle inside box; keepWidth/keepHeight hold the measured size where the
    // anchors would stretch it.
    RECT Place(const RECT& box, bool keepWidth, bool keepHeight) const;
};

// One axis of the anchor rule: near and far edge of an item of size inside [lo, hi].
void AlignSpan(int lo, int hi, int size, int nearMode, int nearMargin, int farMode, int farMargin, bool keep,
               int& nearEdge, int& farEdge);

class t_layoutAligned : public t_layout {
public:
    t_layoutAligned() = default;

    SIZE GetSize() override;
    int Measure(t_paintCtx* context) override;
    void Prepare() override {}
    RECT GetChildRect(t_layout* child) override;
    int GetKind() const override { return e_kindAligned; }

    // Adds child with its record, owned from here on; false (and the child deleted) when it
    // cannot be added.
    bool AddChild(t_layoutPtr child, const t_alignInfo& record);
    bool AddChildAligned(t_layoutPtr child, int leftMode, int leftMargin, int rightMode, int rightMargin, int topMode,
                         int topMargin, int bottomMode, int bottomMargin);
    // A child already held keeps its one entry and takes the new record; false for a node
    // that is not a child.
    bool Realign(t_layout* child, const t_alignInfo& record);
    t_alignInfo* FindChild(t_layout* child);
    void InsertAlign(t_layout* child, const t_alignInfo& record) { m_aligns[child] = record; }
    // Drops the child's record; the caller also calls RemoveChild.
    void EraseAlign(t_layout* child) { m_aligns.erase(child); }

    // Content size of the last measuring pass.
    int ContentWidth() const { return m_contentWidth; }
    int ContentHeight() const { return m_contentHeight; }

private:
    int m_contentWidth = 0, m_contentHeight = 0;
    std::map<t_layout*, t_alignInfo> m_aligns;
};
