#include "toolkit/controls/wnd_text_array.h"

#include <algorithm>
#include <new>

#include "foundation/core/owned.h"

namespace {

const t_alignInfo c_startAlign = {
    t_alignInfo::e_near, 0, t_alignInfo::e_free, 0, t_alignInfo::e_near, 0, t_alignInfo::e_free, 0, 0, 0, 0, 0, 0};

}  // namespace

t_wndTextArray::t_wndTextArray() : current{}, base{}, orientation(e_row), derivedFlag(false), scale(1.0) {}

t_wndTextArray::~t_wndTextArray() { cellLayouts.Clear(); }

t_wndTextItem* t_wndTextArray::AddTextItem(const wchar_t* itemText, const t_textItemStyle& style,
                                           const t_textItemStyle&, int alignKind, int itemValue)
{
    t_wndTextItem* item = new (std::nothrow) t_wndTextItem();
    if (!item)
        return nullptr;
    item->SetItemText(itemText);
    item->SetStyle(style);
    item->value = itemValue;
    // The item draws into its top's drawing window, which it finds through the top it joins.
    if (!item->Create(WS_CHILD, 0, 0, 0, 0, 0, nullptr, this)) {
        delete item;
        return nullptr;
    }
    m_states[item].alignKind = alignKind;
    return item;
}

t_wndTextItem* t_wndTextArray::TextItemAt(int index) const
{
    if (index < 0 || index >= ChildCount())
        return nullptr;
    return dynamic_cast<t_wndTextItem*>(ChildAt(index));
}

template <class F>
t_wndTextItem* t_wndTextArray::ForItems(int index, F fn)
{
    t_wndTextItem* last = nullptr;
    const int first = index == c_allItems ? 0 : index;
    const int end = index == c_allItems ? ChildCount() : index + 1;
    for (int i = first; i < end; ++i) {
        if (t_wndTextItem* item = TextItemAt(i)) {
            fn(*item, m_states[item]);
            last = item;
        }
    }
    return last;
}

void t_wndTextArray::SetItemStyle(int index, const t_textItemStyle& style)
{
    ForItems(index, [&](t_wndTextItem& item, t_itemState&) { item.SetStyle(style); });
}

void t_wndTextArray::SetItemFont(int index, t_font* itemFont)
{
    ForItems(index, [&](t_wndTextItem& item, t_itemState&) {
        item.font = itemFont;
        item.defaultStyle.font = itemFont;
    });
}

t_wndTextItem* t_wndTextArray::SetItemHotStyle(int index, const t_textItemStyle& hotStyle)
{
    return ForItems(index, [&](t_wndTextItem&, t_itemState& state) { state.hotStyle = hotStyle; });
}

void t_wndTextArray::SetItemUnderline(int index, uint32_t color, int companion)
{
    ForItems(index, [&](t_wndTextItem&, t_itemState& state) {
        state.underlineColor = color;
        state.underlineValue = companion;
    });
}

void t_wndTextArray::SetItemAlignKind(int index, int alignKind)
{
    ForItems(index, [&](t_wndTextItem&, t_itemState& state) { state.alignKind = alignKind; });
}

void t_wndTextArray::SetHotItem(int hotIndex, int linkValue)
{
    for (int i = 0; i < ChildCount(); ++i) {
        t_wndTextItem* item = TextItemAt(i);
        if (!item)
            continue;
        t_itemState& state = m_states[item];
        state.hot = i == hotIndex;
        state.linkValue = state.hot ? linkValue : -1;
    }
}

const wchar_t* t_wndTextArray::GetItem5Text() const
{
    const int sixth = 5;
    const t_wndTextItem* item = ChildCount() > sixth ? TextItemAt(sixth) : nullptr;
    return item ? item->ItemText().c_str() : nullptr;
}

t_wndTextArray::t_itemState t_wndTextArray::ItemState(int index) const
{
    const t_wndTextItem* item = TextItemAt(index);
    if (!item)
        return t_itemState();
    const auto found = m_states.find(item);
    return found == m_states.end() ? t_itemState() : found->second;
}

void t_wndTextArray::SetGeometry(const int (&values)[c_valueCount])
{
    for (int i = 0; i < c_valueCount; ++i)
        base[i] = current[i] = values[i];
}

void t_wndTextArray::ApplyScale()
{
    for (int i = 0; i < c_valueCount; ++i) {
        current[i] = base[i];
        if (scale != 0.0 && scale != 1.0) {
            // Truncation toward zero after adding a half, held inside the int range.
            const double scaled = base[i] * scale + 0.5;
            current[i] = static_cast<int>(std::clamp(scaled, -2147483648.0, 2147483647.0));
        }
    }
}

t_alignInfo t_wndTextArray::BuildItemAlign(int alignKind) const
{
    t_alignInfo record = c_startAlign;
    if (alignKind == e_alignCentre) {
        record.leftMode = record.rightMode = record.topMode = record.bottomMode = t_alignInfo::e_middle;
    } else if (alignKind == e_alignFar) {
        record.leftMode = record.topMode = t_alignInfo::e_free;
        record.rightMode = record.bottomMode = t_alignInfo::e_far;
    }
    if (current[c_rowGap] > 0 || current[c_columnGap] > 0) {
        if (orientation == e_row)
            record.rightMargin = current[c_rowGap];
        else if (orientation == e_column)
            record.bottomMargin = current[c_columnGap];
    }
    return record;
}

t_layoutWnd* t_wndTextArray::CreateLayout()
{
    cellLayouts.Clear();
    t_layoutTexts* grid = nullptr;
    if (orientation == e_row || orientation == e_column)
        grid = CreateLayoutTexts(orientation == e_column);
    SetLayoutNode(grid);
    if (grid)
        grid->SetRect(rect);
    return nullptr;
}

t_wndTextArray::t_layoutTexts* t_wndTextArray::CreateLayoutTexts(bool column)
{
    const int count = ChildCount();
    auto grid = MakeOwned<t_layoutTexts>(this, column ? count : 1, column ? 1 : count);
    if (!grid)
        return nullptr;
    if (column)
        grid->SetColumnInfo(0, 0, 0, -1, 1.0f);
    for (int i = 0; i < count; ++i) {
        t_wndTextItem* item = TextItemAt(i);
        if (!item)
            continue;
        item->CreateLayout();
        // A node that finds no place is deleted, and the item forgets it.
        t_layoutPtr itemNode(item->layout);
        t_layout* itemLayout = itemNode.get();
        if (!itemNode)
            continue;
        auto wrapper = MakeOwned<t_layoutAligned>();
        t_layoutAligned* wrapperNode = wrapper.get();
        const t_gridSpan span = column ? t_gridSpan{i, i, 0, 0} : t_gridSpan{0, 0, i, i};
        if (!wrapper || !wrapper->AddChild(std::move(itemNode), BuildItemAlign(m_states[item].alignKind)) ||
            !grid->SetCell(std::move(wrapper), span))
            continue;
        if (!cellLayouts.Append(itemLayout)) {
            grid->EraseCell(wrapperNode);
            grid->RemoveChild(wrapperNode);
        }
    }
    return grid.release();
}

void t_wndTextArray::RefreshItemAligns(t_layoutGrid& grid)
{
    if (grid.ChildCount() != cellLayouts.Count())
        return;
    int cell = 0;
    for (int i = 0; i < ChildCount() && cell < cellLayouts.Count(); ++i) {
        t_wndTextItem* item = TextItemAt(i);
        if (!item || item->layout != cellLayouts[cell])
            continue;
        t_alignInfo record = BuildItemAlign(m_states[item].alignKind);
        if (item->ItemText().IsEmpty())
            record.leftMargin = record.rightMargin = record.topMargin = record.bottomMargin = 0;
        t_layout* wrapperNode = grid.ChildAt(cell);
        if (wrapperNode->GetKind() == t_layout::e_kindAligned) {
            t_layoutAligned* wrapper = static_cast<t_layoutAligned*>(wrapperNode);
            if (t_alignInfo* kept = wrapper->FindChild(cellLayouts[cell]))
                *kept = record;
            wrapper->ApplyMinSize();
        }
        ++cell;
    }
}

int t_wndTextArray::t_layoutTexts::Measure(t_paintCtx* context)
{
    if (!m_owner)
        return t_layoutGrid::Measure(context);
    m_owner->RefreshItemAligns(*this);
    t_layoutGrid::Measure(context);
    m_owner->SetSize(std::max(Width(), minWidth), std::max(Height(), minHeight));
    const RECT inHwnd = m_owner->GetRectInHwnd();
    rect.right = rect.left + (inHwnd.right - inHwnd.left);
    rect.bottom = rect.top + (inHwnd.bottom - inHwnd.top);
    return 0;
}

bool t_wndTextArray::HitTest(int x, int y, int)
{
    for (int i = 0; i < ChildCount(); ++i) {
        t_wndBase* child = ChildAt(i);
        if (child && child->HitTest(x, y, 0))
            return true;
    }
    return false;
}
