#include "ime_ui/windows/buttons/button_layer.h"

#include <algorithm>
#include <new>
#include <vector>

#include "graphics/layout/layout_aligned.h"
#include "graphics/layout/layout_grid.h"
#include "graphics/layout/layout_wnd.h"
#include "ime_ui/windows/buttons/wnd_status_btn.h"

namespace {

void CellOf(int target, int& row, int& column)
{
    row = (target - 1) / 3;
    column = (target - 1) % 3;
}

}  // namespace

t_layoutAligned* ButtonLayerCell(t_layoutGrid* grid, int target)
{
    if (!grid || target < 1 || target >= c_buttonLayerTargets)
        return nullptr;
    int row = 0, column = 0;
    CellOf(target, row, column);
    t_layout* cell = grid->GetChildAt(row, column);
    return cell && cell->GetKind() == t_layout::e_kindAligned ? static_cast<t_layoutAligned*>(cell) : nullptr;
}

t_layoutAligned* BuildButtonLayer(t_layout* inner, const t_flashKeyMap& buttons, int layer, t_layoutGrid*& grid)
{
    grid = nullptr;
    t_layoutAligned* result = new (std::nothrow) t_layoutAligned;
    t_layoutGrid* cells = new (std::nothrow) t_layoutGrid(3, 3);
    const bool innerAligned = inner && inner->GetKind() == t_layout::e_kindAligned;
    t_layoutAligned* centre = innerAligned ? static_cast<t_layoutAligned*>(inner) : new (std::nothrow) t_layoutAligned;
    // Each piece is handed to the one above it; what was not handed over is deleted here.
    const bool cellsIn = result && cells && result->AddChild(cells, t_alignInfo::Default());
    if (!cellsIn)
        delete cells;
    const bool centreIn = cellsIn && centre && cells->AddChildAt(centre, 1, 1);
    if (!centreIn && centre != inner)
        delete centre;
    const bool innerIn = centreIn && (innerAligned || !inner || centre->AddChild(inner, t_alignInfo::Default()));
    if (!innerIn) {
        if (!(innerAligned && centreIn))
            delete inner;
        delete result;
        return nullptr;
    }
    // The middle row and column take the space left; the outer ones their content's size.
    cells->SetRowInfo(1, 0, 0, 0, 1.0f);
    cells->SetColumnInfo(1, 0, 0, 0, 1.0f);
    grid = cells;

    t_layoutAligned* targets[c_buttonLayerTargets] = {};
    targets[0] = result;
    targets[c_buttonLayerCentre] = centre;

    // Built-in and component buttons in map order, then the custom ones in key order.
    std::vector<t_wndStatusBtn*> order, custom;
    for (t_flashKeyMap::t_iterator it = buttons.Begin(); it.NotEquals(buttons.End()); it.Next()) {
        t_wndStatusBtn* button = static_cast<t_wndStatusBtn*>(it.Node()->value);
        if (!button)
            continue;
        (button->type == static_cast<int>(t_skinItemType::e_custom) ? custom : order).push_back(button);
    }
    std::stable_sort(custom.begin(), custom.end(), [](const t_wndStatusBtn* a, const t_wndStatusBtn* b) {
        return t_wndStatusBtn::CompareButtonKeys(*a, *b) < 0;
    });
    order.insert(order.end(), custom.begin(), custom.end());

    for (t_wndStatusBtn* button : order) {
        const t_btnSkinRec* record = button->Record();
        if (!record)
            continue;
        const int target = record->align.extra1;
        if (target < 0 || target >= c_buttonLayerTargets || record->align.extra2 != layer)
            continue;
        if (!targets[target]) {
            t_layoutAligned* made = new (std::nothrow) t_layoutAligned;
            int row = 0, column = 0;
            CellOf(target, row, column);
            if (!made || !cells->AddChildAt(made, row, column)) {
                delete made;
                continue;
            }
            targets[target] = made;
        }
        t_layout* node = button->layout;
        if (!node)
            node = button->CreateLayout();
        if (node)
            targets[target]->AddChild(node, record->align);
    }
    return result;
}
