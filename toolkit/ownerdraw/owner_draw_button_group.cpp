#include "toolkit/ownerdraw/owner_draw_button_group.h"

#include <algorithm>

#include "toolkit/ownerdraw/owner_draw_hover_button_item.h"

t_ownerDrawButtonGroup::~t_ownerDrawButtonGroup()
{
    for (t_wndOwnerDrawHoverButtonItem* button : m_buttons) {
        if (button->group == this)
            button->group = nullptr;
    }
}

bool t_ownerDrawButtonGroup::Add(t_wndOwnerDrawHoverButtonItem* button)
{
    if (!button)
        return false;
    if (button->group && button->group != this)
        button->group->Remove(button);
    if (std::find(m_buttons.begin(), m_buttons.end(), button) == m_buttons.end())
        m_buttons.push_back(button);
    button->group = this;
    return true;
}

void t_ownerDrawButtonGroup::Remove(t_wndOwnerDrawHoverButtonItem* button)
{
    const auto at = std::find(m_buttons.begin(), m_buttons.end(), button);
    if (at == m_buttons.end())
        return;
    m_buttons.erase(at);
    if (button->group == this)
        button->group = nullptr;
}

void t_ownerDrawButtonGroup::Select(t_wndOwnerDrawHoverButtonItem* button)
{
    for (t_wndOwnerDrawHoverButtonItem* other : m_buttons) {
        if (other == button)
            continue;
        other->selected = false;
        other->state = t_wndOwnerDrawHoverButton::e_normal;
    }
    if (button && !button->selected) {
        button->state = t_wndOwnerDrawHoverButton::e_pressed;
        button->selected = true;
    }
    for (t_wndOwnerDrawHoverButtonItem* each : m_buttons)
        each->Repaint();
}
