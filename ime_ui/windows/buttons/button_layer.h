// The layer of layouts that places a window's buttons around its content: an aligned
// layout over a 3 x 3 grid whose centre cell holds the content; a button goes into the
// whole window (target 0) or one of the nine cells (targets 1 to 9, row by row), as its
// skin record's alignment says.
#pragma once

#include <memory>

#include "graphics/layout/layout_aligned.h"
#include "ime_ui/windows/flash/flash_key.h"

class t_layoutAligned;
class t_layoutGrid;

const int c_buttonLayerTargets = 10;
const int c_buttonLayerCentre = 5;

// Places the buttons of the map whose record names the given layer (0 the whole window;
// in the combined composition window 1 the composition part, 2 the candidate part) around
// inner. Built-in and component buttons go first in map order, then the custom buttons in
// CompareButtonKeys order. grid receives the 3 x 3 grid. Null only when memory runs out.
std::unique_ptr<t_layoutAligned> BuildButtonLayer(t_layoutPtr inner, const t_flashKeyMap& buttons, int layer,
                                                  t_layoutGrid*& grid);

// The aligned layout of cell target (1 to 9) of the grid, null when the cell is empty or
// the target is out of range.
t_layoutAligned* ButtonLayerCell(t_layoutGrid* grid, int target);
