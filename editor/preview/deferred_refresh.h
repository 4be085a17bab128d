// What a preview defers until it is next painted or measured: loading its skin again and
// remaking its windows. Several requests before that cost one of each.
#pragma once

#include <windows.h>

#include <initializer_list>

class t_uiSkinData;
class t_wndTop;

class t_deferredRefresh {
public:
    explicit t_deferredRefresh(bool layoutFirst = false) : m_layout(layoutFirst) {}

    void Reload() { m_reload = true; }
    void Relayout() { m_layout = true; }
    bool ReloadPending() const { return m_reload; }
    bool LayoutPending() const { return m_layout; }
    bool Pending() const { return m_reload || m_layout; }
    // Does what was asked: the skin loads again (its windows, holding pictures of the skin
    // replaced, are then remade too), and the windows are remade and measured with dc.
    void Run(t_uiSkinData& skin, std::initializer_list<t_wndTop*> windows, HDC dc);

private:
    bool m_reload = false;
    bool m_layout;
};
