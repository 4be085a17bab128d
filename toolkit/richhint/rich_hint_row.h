// One line of a rich hint: its elements left to right, measured, stretched to the widest
// line, painted and hit-tested as a unit.
#pragma once

#include <windows.h>

#include <cstdint>

#include "foundation/core/simple_array.h"

class t_paintCtx;
class t_wndRichHintDelegate;
class t_wndRichHintElement;

struct t_richHintRow {
    explicit t_richHintRow(t_wndRichHintDelegate* owner = nullptr) : delegate(owner) {}
    ~t_richHintRow() { Clear(); }
    t_richHintRow(const t_richHintRow&) = delete;
    t_richHintRow& operator=(const t_richHintRow&) = delete;

    // Releases every element and forgets the hovered one.
    void Clear();

    itl::ImmSimpleArray<t_wndRichHintElement*> elements;  // owned
    int32_t width = 0, height = 0;
    t_wndRichHintDelegate* delegate;
    t_wndRichHintElement* hovered = nullptr;  // not owned
};

// Width = the sum of the element widths, height = the tallest.
void MeasureRow(t_richHintRow& row, t_paintCtx& context);
// Shares the spare width among the aligned elements; every cell takes the row height.
void StretchRow(t_richHintRow& row, int width);
// Paints the cells left to right from origin.
void PaintRow(t_richHintRow& row, POINT origin, t_paintCtx& context);
// The first element whose content span (across the cell per its align, down the row from
// its vertical offset) holds point; elementOrigin receives its cell origin. Null when none.
t_wndRichHintElement* HitTestRow(const t_richHintRow& row, POINT origin, POINT point, POINT* elementOrigin);
// Appends the row's shown radio groups and check boxes and its known buttons of that id.
void CollectGroup(const t_richHintRow& row, int id, itl::ImmSimpleArray<t_wndRichHintElement*>& list);
