#include "toolkit/richhint/rich_hint_element.h"

#include "toolkit/richhint/rich_hint_shared.h"

t_wndRichHintElement::t_wndRichHintElement(t_kind elementKind, t_wndRichHintDelegate* owner)
    : kind(elementKind), delegate(owner)
{
    // The first element makes the shared fonts.
    t_richHintShared::Get();
}

t_wndRichHintElement::~t_wndRichHintElement() = default;

void t_wndRichHintElement::Release() { delete this; }

bool t_wndRichHintElement::OnMouseMove(POINT, POINT) { return false; }
bool t_wndRichHintElement::OnLButtonDown(POINT, POINT) { return false; }
bool t_wndRichHintElement::OnLButtonUp(POINT, POINT) { return false; }
bool t_wndRichHintElement::OnLeave() { return false; }

void t_wndRichHintElement::GetRectInRow(POINT origin, SIZE cellSize, RECT& rect) const
{
    int left = origin.x;
    if (align == e_centre)
        left += (cellSize.cx - contentWidth) / 2;
    else if (align == e_right)
        left += cellSize.cx - contentWidth;
    const int top = origin.y + (cellSize.cy - contentHeight) / 2;
    rect = {left, top, left + contentWidth, top + contentHeight};
}

void t_wndRichHintElement::SetMeasured(SIZE size)
{
    contentWidth = cellWidth = size.cx;
    contentHeight = cellHeight = size.cy;
}
