// The orders in which the built-in buttons of each window are listed: in the skin
// model's button sets and on the editor's button pages. Constant tables, ready before
// the program's entry function runs.
#pragma once

#include "skin_model/btn_ctrl_base.h"

// A table of built-in buttons (type 0) and its row count.
struct t_btnOrderTable {
    const t_btnDesc* rows;
    int count;
};

enum class t_btnOrder : int {
    // All thirteen, the menu after the passport button: the model's button sets.
    e_model = 0,
    // The button pages of the four layouts: page-up and page-down last, webpage left out.
    e_horizontalCombinedPage = 1,
    e_horizontalSeparatePage = 2,
    e_verticalCombinedPage = 3,
    e_verticalSeparatePage = 4,
    // The status page's button list: as a layout page without the two page keys.
    e_statusPage = 5,
};

t_btnOrderTable ButtonOrderTable(t_btnOrder order);
