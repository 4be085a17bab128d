#include "ime_ui/windows/buttons/button_layer.h"

#include <algorithm>
#include <new>
#include <vector>

#include "foundation/core/owned.h"
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

std::unique_ptr<t_layoutAligned> BuildButtonLayer(t_layoutPtr inner, const t_flashKeyMap& buttons, int layer,
                                                  t_layoutGrid*& grid)
{
    grid = nullptr;
    auto result = MakeOwned<t_layoutAligned>();
    auto cellsMade = MakeOwned<t_layoutGrid>(3, 3);
    t_layoutGrid* cells = cellsMade.get();
    // An aligned inner node is the centre itself; any other goes inside a new centre.
    const bool innerAligned = inner && inner->GetKind() == t_layout::e_kindAligned;
    std::unique_ptr<t_layoutAligned> centreMade(innerAligned ? static_cast<t_layoutAligned*>(inner.release())
                                                             : new (std::nothrow) t_layoutAligned);
    t_layoutAligned* centre = centreMade.get();
    if (!result || !centre || !result->AddChild(std::move(cellsMade), t_alignInfo::Default()) ||
        !cells->AddChildAt(std::move(centreMade), 1, 1) ||
        (inner && !centre->AddChild(std::move(inner), t_alignInfo::Default())))
        return nullptr;
    // The middle row and column take the space left; the outer ones their content's size.
    cells->SetRowInfo(1, 0, 0, 0, 1.0f);
    cells->SetColumnInfo(1, 0, 0, 0, 1.0f);
    grid = cells;

    t_layoutAligned* targets[c_buttonLayerTargets] = {};
    targets[0] = result.get();
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
            auto made = MakeOwned<t_layoutAligned>();
            t_layoutAligned* cell = made.get();
            int row = 0, column = 0;
            CellOf(target, row, column);
            if (!cells->AddChildAt(std::move(made), row, column))
                continue;
            targets[target] = cell;
        }
        // Each tree gets a node of its own: a node still held by an older tree stays there.
        if (t_layoutPtr node{button->CreateLayout()})
            targets[target]->AddChild(std::move(node), record->align);
    }
    return result;
}
