#include "graphics/text/theme.h"

#include <algorithm>

#include "foundation/core/singleton.h"
#include "graphics/text/text_helpers.h"

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

SIZE t_theme::GlowMargin(HDC dc)
{
    if (m_marginKnown || !m_windowTheme)
        return m_glowMargin;
    const wchar_t sample[] = L"\x56FD";
    DTTOPTS glow = GlowTextOptions(0, true);
    DTTOPTS plain = glow;
    plain.dwFlags &= ~DTT_GLOWSIZE;
    plain.iGlowSize = 0;
    RECT withGlow = {0, 0, 0, 0}, without = {0, 0, 0, 0};
    const UINT format = DT_SINGLELINE | DT_CALCRECT;
    if (SUCCEEDED(m_drawThemeTextEx(m_windowTheme, dc, 1, 1, sample, 1, format, &withGlow, &glow)) &&
        SUCCEEDED(m_drawThemeTextEx(m_windowTheme, dc, 1, 1, sample, 1, format, &without, &plain))) {
        m_glowMargin.cx = std::max(0L, (withGlow.right - withGlow.left) - (without.right - without.left));
        m_glowMargin.cy = std::max(0L, (withGlow.bottom - withGlow.top) - (without.bottom - without.top));
        m_marginKnown = true;
    }
    return m_glowMargin;
}
