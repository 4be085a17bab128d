// Device-context state held for one scope by the previews: a moved viewport origin.
#pragma once

#include <windows.h>

// Moves the viewport origin for one scope and puts the previous one back.
class t_viewportScope {
public:
    t_viewportScope(HDC dc, int x, int y) : m_dc(dc) { m_moved = SetViewportOrgEx(dc, x, y, &m_previous) != FALSE; }
    ~t_viewportScope()
    {
        if (m_moved)
            SetViewportOrgEx(m_dc, m_previous.x, m_previous.y, nullptr);
    }
    t_viewportScope(const t_viewportScope&) = delete;
    t_viewportScope& operator=(const t_viewportScope&) = delete;

private:
    HDC m_dc;
    POINT m_previous = {0, 0};
    bool m_moved = false;
};

// A position in 96-dpi units as device pixels of dc.
inline POINT ScaledByDpi(HDC dc, int x, int y)
{
    const int dpiX = GetDeviceCaps(dc, LOGPIXELSX);
    const int dpiY = GetDeviceCaps(dc, LOGPIXELSY);
    return POINT{dpiX > 0 ? MulDiv(x, dpiX, USER_DEFAULT_SCREEN_DPI) : x,
                 dpiY > 0 ? MulDiv(y, dpiY, USER_DEFAULT_SCREEN_DPI) : y};
}
