// The visual-styles entry points that themed text needs, looked up at run time in an
// already loaded uxtheme.dll, and the process-wide theme handle of the class "Window".
#pragma once

#include <windows.h>

#include <uxtheme.h>

class t_theme {
public:
    typedef HTHEME(WINAPI* t_openThemeData)(HWND, LPCWSTR);
    typedef HRESULT(WINAPI* t_drawThemeTextEx)(HTHEME, HDC, int, int, LPCWSTR, int, DWORD, LPRECT, const DTTOPTS*);

    // The process-wide record (managed singleton "t_theme").
    static t_theme* Instance();

    // Once per process: both entry points from uxtheme.dll when the process has it loaded
    // (this never loads it). Later calls give the first answer.
    bool Load();

    // Opens the theme of the class "Window" for a window into the process-wide handle
    // unless one is open; the handle stays null when the theme cannot be opened.
    HTHEME OpenWindowTheme(HWND window);
    // The process-wide "Window" theme handle, null until a window opened it.
    HTHEME WindowTheme() const { return m_windowTheme; }

    // What the theme adds around a measured text for its glow: measured once, as the size
    // of a sample text with the glow less its size without (a theme that ignores the glow
    // adds nothing). Zero without the "Window" theme.
    SIZE GlowMargin(HDC dc);

    t_openThemeData OpenThemeDataFn() const { return m_openThemeData; }
    t_drawThemeTextEx DrawThemeTextExFn() const { return m_drawThemeTextEx; }

private:
    bool m_tried = false;
    bool m_loaded = false;
    t_openThemeData m_openThemeData = nullptr;
    t_drawThemeTextEx m_drawThemeTextEx = nullptr;
    HTHEME m_windowTheme = nullptr;
    bool m_marginKnown = false;
    SIZE m_glowMargin = {0, 0};
};
