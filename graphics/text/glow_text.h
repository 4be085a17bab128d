// Glowing text on themed alpha targets: the visual-styles glow on Windows Vista or later,
// else the program's own glow filter.
#pragma once

#include <windows.h>

#include <cstdint>

class t_paintCtx;
struct t_font;

bool DrawGlowText(const RECT& rect, t_paintCtx& context, const wchar_t* text, int length, const t_font* font,
                  const uint32_t* color, UINT format, int alpha);
// Glow drawn by the theme of the class "Window" (DrawThemeTextEx with a glow of 10). When
// the theme is missing or composes no alpha (an uxtheme that ignores DTT_COMPOSITED), the
// program's own glow is drawn instead, so the text never disappears.
bool DrawThemedGlowText(const RECT& rect, t_paintCtx& context, const wchar_t* text, int length, const t_font* font,
                        const uint32_t* color, UINT format, int alpha);
// Text drawn into a DIB of the rect's size, spread by the glow filter into a halo 10
// pixels wide on every side; halo then text blended over the rect.
bool DrawFilterGlowText(const RECT& rect, t_paintCtx& context, const wchar_t* text, int length, const t_font* font,
                        const uint32_t* color, UINT format, int alpha);
