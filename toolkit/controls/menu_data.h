// Popup-menu description: the items, a user value and the title and link texts that a
// skinned popup menu shows. Elements keep one and hand it to their top's menu.
#pragma once

#include <windows.h>

#include "foundation/core/simple_array.h"
#include "foundation/core/str.h"

struct t_menuItem {
    t_str text;
    bool grayed = false;
    bool selectable = true;
    bool skip = false;
    bool checked = false;
    int command = 0;
};

class t_menuData {
public:
    t_menuData() = default;
    t_menuData(const t_menuData&) = delete;
    t_menuData& operator=(const t_menuData&) = delete;

    // Appends one item; false when the array cannot grow.
    bool AddItem(const t_menuItem& item) { return items.Append(item); }
    // Copies every item and text of other; false (description left empty) when memory runs out.
    bool Assign(const t_menuData& other);
    // Drops every item and text.
    void Clear();

    itl::ImmSimpleArray<t_menuItem> items;
    LPARAM userValue = 0;
    t_str title;
    t_str linkUrl;
    t_str linkText;
};
