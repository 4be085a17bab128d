#include "toolkit/richhint/rich_hint_row.h"

#include "toolkit/richhint/rich_hint_button.h"
#include "toolkit/richhint/rich_hint_check_box.h"
#include "toolkit/richhint/rich_hint_element.h"
#include "toolkit/richhint/rich_hint_radio_button.h"

void t_richHintRow::Clear()
{
    hovered = nullptr;
    for (int i = 0; i < elements.Count(); ++i)
        elements[i]->Release();
    elements.Clear();
    width = height = 0;
}

void MeasureRow(t_richHintRow& row, t_paintCtx& context)
{
    long long width = 0;
    int height = 0;
    for (int i = 0; i < row.elements.Count(); ++i) {
        SIZE size = {0, 0};
        row.elements[i]->Measure(context, size);
        width += size.cx;
        if (size.cy > height)
            height = size.cy;
    }
    row.width = width > 0x3FFFFFFF ? 0x3FFFFFFF : static_cast<int>(width);
    row.height = height;
}

void StretchRow(t_richHintRow& row, int width)
{
    int aligned = 0;
    for (int i = 0; i < row.elements.Count(); ++i)
        aligned += row.elements[i]->Align() != t_wndRichHintElement::e_left;
    const int share = aligned ? (width - row.width) / aligned : 0;
    for (int i = 0; i < row.elements.Count(); ++i) {
        t_wndRichHintElement* element = row.elements[i];
        const int extra = element->Align() != t_wndRichHintElement::e_left ? share : 0;
        element->SetCellSize(element->GetCellSize().cx + extra, row.height);
    }
    row.width = width;
}

void PaintRow(t_richHintRow& row, POINT origin, t_paintCtx& context)
{
    POINT pen = origin;
    for (int i = 0; i < row.elements.Count(); ++i) {
        t_wndRichHintElement* element = row.elements[i];
        const SIZE cell = element->GetCellSize();
        element->Paint(context, pen, SIZE{cell.cx, row.height});
        pen.x += cell.cx;
    }
}

t_wndRichHintElement* HitTestRow(const t_richHintRow& row, POINT origin, POINT point, POINT* elementOrigin)
{
    int x = origin.x;
    for (int i = 0; i < row.elements.Count(); ++i) {
        t_wndRichHintElement* element = row.elements[i];
        const SIZE cell = element->GetCellSize();
        const int content = element->GetContentSize().cx;
        int left = x;
        int right = x + cell.cx;
        if (element->Align() == t_wndRichHintElement::e_centre) {
            left = x + (cell.cx - content) / 2;
            right = left + content;
        } else if (element->Align() == t_wndRichHintElement::e_right) {
            left = x + cell.cx - content;
        }
        const int top = origin.y + element->GetVOffset();
        if (point.x >= left && point.x < right && point.y >= top && point.y < top + row.height) {
            if (elementOrigin)
                *elementOrigin = POINT{x, origin.y};
            return element;
        }
        x += cell.cx;
    }
    return nullptr;
}

void CollectGroup(const t_richHintRow& row, int id, itl::ImmSimpleArray<t_wndRichHintElement*>& list)
{
    for (int i = 0; i < row.elements.Count(); ++i) {
        t_wndRichHintElement* element = row.elements[i];
        bool take = false;
        switch (element->Kind()) {
        case t_wndRichHintElement::e_radio: {
            auto* radio = static_cast<t_wndRichHintRadioButton*>(element);
            take = radio->IsShown() && radio->Id() == id;
            break;
        }
        case t_wndRichHintElement::e_checkBox: {
            auto* box = static_cast<t_wndRichHintCheckBox*>(element);
            take = box->IsShown() && box->Id() == id;
            break;
        }
        case t_wndRichHintElement::e_button: {
            auto* button = static_cast<t_wndRichHintButton*>(element);
            take = button->IsKnown() && button->Id() == id;
            break;
        }
        default:
            break;
        }
        if (take)
            list.Add(element);
    }
}
