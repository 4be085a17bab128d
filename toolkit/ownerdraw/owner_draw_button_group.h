// A radio group of owner-drawn hover buttons: selecting one unselects the others.
#pragma once

#include <vector>

class t_wndOwnerDrawHoverButtonItem;

class t_ownerDrawButtonGroup {
public:
    t_ownerDrawButtonGroup() = default;
    // Lets the buttons go (they stay alive and forget the group).
    ~t_ownerDrawButtonGroup();
    t_ownerDrawButtonGroup(const t_ownerDrawButtonGroup&) = delete;
    t_ownerDrawButtonGroup& operator=(const t_ownerDrawButtonGroup&) = delete;

    // Adds a button (not owned) and makes this its group; false for none.
    bool Add(t_wndOwnerDrawHoverButtonItem* button);
    // Takes a button out of the group.
    void Remove(t_wndOwnerDrawHoverButtonItem* button);
    // Every other button unselected and shown normal; button, unless already selected,
    // selected and shown pressed; every button repainted.
    void Select(t_wndOwnerDrawHoverButtonItem* button);

    int Count() const { return static_cast<int>(m_buttons.size()); }
    t_wndOwnerDrawHoverButtonItem* At(int index) const { return m_buttons[index]; }

private:
    std::vector<t_wndOwnerDrawHoverButtonItem*> m_buttons;
};
