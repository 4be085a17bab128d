// Selects a GDI object into a DC for one scope and puts the previous one back.
#pragma once

#include <windows.h>

class t_selected {
public:
    t_selected(HDC dc, HGDIOBJ object) : m_dc(dc), m_old(object ? SelectObject(dc, object) : nullptr) {}
    ~t_selected()
    {
        if (m_old)
            SelectObject(m_dc, m_old);
    }
    t_selected(const t_selected&) = delete;
    t_selected& operator=(const t_selected&) = delete;

private:
    HDC m_dc;
    HGDIOBJ m_old;
};
