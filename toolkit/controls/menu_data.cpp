#include "toolkit/controls/menu_data.h"

bool t_menuData::Assign(const t_menuData& other)
{
    if (&other == this)
        return true;
    Clear();
    if (!items.Reserve(other.items.Count()))
        return false;
    for (int i = 0; i < other.items.Count(); ++i)
        items.Append(other.items[i]);
    userValue = other.userValue;
    title = other.title;
    linkUrl = other.linkUrl;
    linkText = other.linkText;
    return true;
}

void t_menuData::Clear()
{
    items.Clear();
    userValue = 0;
    title.Clear();
    linkUrl.Clear();
    linkText.Clear();
}
