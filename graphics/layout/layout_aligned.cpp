#include "graphics/layout/layout_aligned.h"

#include <algorithm>
#include <utility>

void AlignSpan(int lowBound, int highBound, int size, int nearMode, int nearMargin, int farMode, int farMargin,
               bool keep, int& nearEdge, int& farEdge)
{
    // 64-bit arithmetic: margins and sizes from a skin may be anything.
    using t_wide = long long;
    const t_wide lo = lowBound, hi = highBound;
    const t_wide mid = (lo + hi) / 2;
    const t_wide m1 = nearMargin, m2 = farMargin, w = size;
    // Unknown modes count as free.
    const int a = nearMode >= 0 && nearMode <= 3 ? nearMode : 0;
    const int b = farMode >= 0 && farMode <= 3 ? farMode : 0;
    t_wide n = 0, f = 0;
    const auto centred = [&] {
        n = lo + m1 + (hi - m2 - m1 - lo - w) / 2;
        f = n + w;
    };
    switch (a * 4 + b) {
    case 0:  // free, free
        centred();
        break;
    case 1:  // free, near
        f = lo + m2;
        n = f - w;
        break;
    case 2:  // free, far
        f = hi - m2;
        n = f - w;
        break;
    case 3:  // free, middle
        f = mid + m2;
        n = f - w;
        break;
    case 4:  // near, free
        n = lo + m1;
        f = keep ? n + w : hi - m2;
        break;
    case 5:  // near, near
        n = lo + m1;
        f = lo + m2;
        if (keep) {
            if (f < n + w)
                f = n + w;
            else
                n = f - w;
        }
        break;
    case 6:  // near, far
        n = lo + m1;
        f = hi - m2;
        if (keep)
            centred();
        break;
    case 7:  // near, middle
        n = lo + m1;
        f = mid;
        if (keep) {
            n = mid - w;
            if (n < lo + m1) {
                n = lo + m1;
                f = n + w;
            }
        }
        break;
    case 8:  // far, free
        n = hi - m1;
        f = n + w;
        break;
    case 9:  // far, near
        n = hi - m1;
        f = lo + m2;
        if (keep) {
            n = hi - m1 - (hi + w - m2 - m1 - lo) / 2;
            f = n + w;
        }
        break;
    case 10:  // far, far
        n = hi - m1;
        f = hi - m2;
        if (keep) {
            f = n + w;
            if (hi - m2 < n + w) {
                f = hi - m2;
                n = f - w;
            }
        }
        break;
    case 11:  // far, middle
        n = hi - m1;
        f = mid;
        if (keep) {
            n = mid - w;
            if (hi - m1 < n) {
                n = hi - m1;
                f = n + w;
            }
        }
        break;
    case 12:  // middle, free
        n = mid + m1;
        f = n + w;
        break;
    case 13:  // middle, near
        n = mid;
        f = lo + m2;
        if (keep) {
            f = mid + w;
            if (f < lo + m2) {
                f = lo + m2;
                n = f - w;
            }
        }
        break;
    case 14:  // middle, far
        n = mid;
        f = hi - m2;
        if (keep) {
            f = mid + w;
            if (hi - m2 < f) {
                f = hi - m2;
                n = f - w;
            }
        }
        break;
    default:  // middle, middle
        n = mid - w / 2;
        f = mid + w - w / 2;
        break;
    }
    if (f < n)
        std::swap(n, f);
    nearEdge = ClampToInt(n);
    farEdge = ClampToInt(f);
}

RECT t_alignInfo::Place(const RECT& box, bool keepWidth, bool keepHeight) const
{
    int left, right, top, bottom;
    AlignSpan(box.left, box.right, itemWidth, leftMode, leftMargin, rightMode, rightMargin, keepWidth, left, right);
    AlignSpan(box.top, box.bottom, itemHeight, topMode, topMargin, bottomMode, bottomMargin, keepHeight, top, bottom);
    return RECT{left, top, right, bottom};
}

RECT t_alignInfo::ComputeRect(const t_alignInfo& record, int left, int top, int right, int bottom)
{
    return record.Place(RECT{left, top, right, bottom}, false, false);
}

SIZE t_layoutAligned::GetSize()
{
    SIZE size{0, 0};
    for (auto& entry : m_aligns) {
        const SIZE child = entry.first->GetSize();
        const t_alignInfo& a = entry.second;
        size.cx = std::max<LONG>(size.cx, ClampToInt(0LL + child.cx + a.leftMargin + a.rightMargin));
        size.cy = std::max<LONG>(size.cy, ClampToInt(0LL + child.cy + a.topMargin + a.bottomMargin));
    }
    size.cx = std::max<LONG>(size.cx, minWidth);
    size.cy = std::max<LONG>(size.cy, minHeight);
    return size;
}

int t_layoutAligned::Measure(t_paintCtx* context)
{
    m_contentWidth = minWidth;
    m_contentHeight = minHeight;
    for (auto& entry : m_aligns) {
        t_layout* child = entry.first;
        t_alignInfo& a = entry.second;
        a.measureValue = child->Measure(context);
        const int w = std::max(child->Width(), child->minWidth);
        const int h = std::max(child->Height(), child->minHeight);
        m_contentWidth = std::max(m_contentWidth, ClampToInt(0LL + w + a.leftMargin + a.rightMargin));
        m_contentHeight = std::max(m_contentHeight, ClampToInt(0LL + h + a.topMargin + a.bottomMargin));
        a.SetSize(w, h);
    }
    rect.right = ClampToInt(0LL + rect.left + m_contentWidth);
    rect.bottom = ClampToInt(0LL + rect.top + m_contentHeight);
    return e_fixedWidth | e_fixedHeight;
}

RECT t_layoutAligned::GetChildRect(t_layout* child)
{
    const t_alignInfo* a = FindChild(child);
    if (!a)
        return RECT{0, 0, 0, 0};
    return a->Place(rect, (a->measureValue & e_fixedWidth) != 0, (a->measureValue & e_fixedHeight) != 0);
}

bool t_layoutAligned::AddChild(t_layoutPtr child, const t_alignInfo& record)
{
    t_layout* node = child.get();
    if (!AppendChild(std::move(child)))
        return false;
    m_aligns[node] = record;
    return true;
}

bool t_layoutAligned::Realign(t_layout* child, const t_alignInfo& record)
{
    t_alignInfo* kept = FindChild(child);
    if (!kept)
        return false;
    *kept = record;
    return true;
}

bool t_layoutAligned::AddChildAligned(t_layoutPtr child, int leftMode, int leftMargin, int rightMode, int rightMargin,
                                      int topMode, int topMargin, int bottomMode, int bottomMargin)
{
    t_alignInfo record = t_alignInfo::Default();
    record.leftMode = leftMode;
    record.leftMargin = leftMargin;
    record.rightMode = rightMode;
    record.rightMargin = rightMargin;
    record.topMode = topMode;
    record.topMargin = topMargin;
    record.bottomMode = bottomMode;
    record.bottomMargin = bottomMargin;
    return AddChild(std::move(child), record);
}

t_alignInfo* t_layoutAligned::FindChild(t_layout* child)
{
    auto found = m_aligns.find(child);
    return found == m_aligns.end() ? nullptr : &found->second;
}
