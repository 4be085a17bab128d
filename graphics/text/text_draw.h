// GDI text on a paint context made alpha-correct for 32-bit surfaces, and the measuring
// that matches each drawing path. The paint context's DrawText and MeasureText (declared
// with t_paintCtx, defined in paint_text.cpp) dispatch here by the font record's kind.
#pragma once

#include <windows.h>

#include <cstdint>

#include "graphics/text/text_helpers.h"

class t_paintCtx;

// Size of a text in a GDI font: single-line formats through the width cache (extent mode
// with c_textExtentMode), others with DrawTextW DT_CALCRECT into {0, 0, widthLimit, 0}.
bool MeasureTextGdi(UINT format, t_paintCtx& context, HFONT font, const wchar_t* text, int length, SIZE& size,
                    int widthLimit);

// GDI text drawn black on white into a DIB of the text's size (cut to the rect), turned
// into premultiplied colour with coverage as alpha, placed in the rect by the format's
// alignment and blended with a constant alpha. `color` is a COLORREF (low 24 bits).
bool DrawTextAlpha(t_paintCtx& context, const wchar_t* text, int length, const RECT& rect, HFONT font, uint32_t color,
                   UINT format, int alpha);

// Text size as the theme's glowing text lays it out, less the margin the theme adds for
// the glow; the GDI measure when there is no "Window" theme.
bool MeasureThemedText(HFONT font, HDC dc, const wchar_t* text, int length, SIZE& size, UINT format, int widthLimit);

// Copies a face name into a LOGFONT's 32-character field, cut to 31 characters (skin files
// may hold longer names).
void SetLogFontFaceName(wchar_t (&field)[LF_FACESIZE], const wchar_t* name);
