#include "graphics/text/theme.h"

#include "foundation/core/singleton.h"

t_theme* t_theme::Instance() { return ImmSingleton<t_theme>::Instance("t_theme"); }

bool t_theme::Load()
{
    if (m_tried)
        return m_loaded;
    m_tried = true;
    HMODULE module = GetModuleHandleW(L"uxtheme.dll");
    if (!module)
        return false;
    m_openThemeData = reinterpret_cast<t_openThemeData>(GetProcAddress(module, "OpenThemeData"));
    m_drawThemeTextEx = reinterpret_cast<t_drawThemeTextEx>(GetProcAddress(module, "DrawThemeTextEx"));
    m_loaded = m_openThemeData && m_drawThemeTextEx;
    return m_loaded;
}

HTHEME t_theme::OpenWindowTheme(HWND window)
{
    if (!m_windowTheme && Load())
        m_windowTheme = m_openThemeData(window, L"Window");
    return m_windowTheme;
}
