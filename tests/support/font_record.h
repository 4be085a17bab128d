// A toolkit font record made from a GDI face for tests, released at the end of its scope.
#pragma once

#include <windows.h>

#include <cwchar>
#include <memory>

#include "graphics/text/font.h"

struct t_testFontRelease {
    void operator()(t_font* font) const { t_font::Release(font); }
};
typedef std::unique_ptr<t_font, t_testFontRelease> t_testFontPtr;

// Non-antialiased, so that pixel tests see whole colours; null when it cannot be made.
inline t_testFontPtr MakeTestFont(const wchar_t* face, int pixelHeight, int weight = FW_NORMAL)
{
    LOGFONTW lf = {};
    lf.lfHeight = -pixelHeight;
    lf.lfWeight = weight;
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfQuality = NONANTIALIASED_QUALITY;
    wcsncpy(lf.lfFaceName, face, LF_FACESIZE - 1);
    t_font* font = nullptr;
    t_font::Create(lf, font, false);
    return t_testFontPtr(font);
}
