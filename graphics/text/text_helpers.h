// Small helpers shared by the text drawing files: the DrawTextW part of a format, blend
// functions and the glowing theme text options.
#pragma once

#include <windows.h>

#include <uxtheme.h>

#include <algorithm>
#include <cwchar>

#include "foundation/config/runtime.h"
#include "foundation/win/scoped_win.h"

// Added to a measuring format for fonts that need the alpha fix: the width cache then
// fills the font's widths from text extents instead of ABC widths.
const UINT c_textExtentMode = 0x10000000;
// Format of the pieces of pinyin-span texts and of single-line skin texts.
const UINT c_textSingleLine = DT_SINGLELINE | DT_NOCLIP | DT_NOPREFIX;

// A negative length means up to the NUL.
inline int TextLength(const wchar_t* text, int length) { return length < 0 ? static_cast<int>(wcslen(text)) : length; }

// The runtime facts' answer (false before they are known).
inline bool RuntimeIsVistaOrLater()
{
    const t_runtime* runtime = GetRuntime();
    return runtime && runtime->IsVistaOrLater();
}

// DrawTextW takes only its own flags.
inline UINT GdiTextFormat(UINT format) { return format & ~(c_textExtentMode | DT_CALCRECT); }

// Per-pixel alpha times a constant alpha.
inline BLENDFUNCTION SourceAlphaBlend(int alpha)
{
    return BLENDFUNCTION{AC_SRC_OVER, 0, static_cast<BYTE>(std::clamp(alpha, 0, 255)), AC_SRC_ALPHA};
}

// Glowing theme text: composited, glow 10, the text colour, grey border and shadow.
inline DTTOPTS GlowTextOptions(COLORREF color, bool calcRect)
{
    DTTOPTS options = {};
    options.dwSize = sizeof(options);
    options.dwFlags = DTT_COMPOSITED | DTT_GLOWSIZE | DTT_TEXTCOLOR | (calcRect ? DTT_CALCRECT : 0);
    options.crText = color;
    options.crBorder = 0xFF8F8F8F;
    options.crShadow = 0xFF8F8F8F;
    options.iTextShadowType = 2;  // continuous shadow
    options.iBorderSize = 5;
    options.iGlowSize = 10;
    return options;
}
