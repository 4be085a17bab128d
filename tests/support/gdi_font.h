// GDI fonts for tests: a font of a face and character height held for one scope, and
// GDI's own single-line measure of a text in it.
#pragma once

#include <windows.h>

#include <cwchar>

#include "foundation/win/scoped_win.h"

class t_testGdiFont {
public:
    t_testGdiFont(const wchar_t* face, int height, int weight = FW_NORMAL)
    {
        LOGFONTW lf = {};
        lf.lfHeight = -height;
        lf.lfWeight = weight;
        lf.lfCharSet = DEFAULT_CHARSET;
        wcsncpy(lf.lfFaceName, face, LF_FACESIZE - 1);
        m_font.Reset(CreateFontIndirectW(&lf));
    }
    t_testGdiFont(const t_testGdiFont&) = delete;
    t_testGdiFont& operator=(const t_testGdiFont&) = delete;
    HFONT Get() const { return m_font.Get(); }

private:
    t_scopedGdiObj<HFONT> m_font;
};

// GetTextExtentPoint32W of the text in the font.
inline SIZE TestGdiExtent(HFONT font, const wchar_t* text, int length = -1)
{
    const t_autoDeleteDC dc(CreateCompatibleDC(nullptr));
    const t_scopedSelectObject selected(dc.Get(), font);
    SIZE size = {};
    GetTextExtentPoint32W(dc.Get(), text, length < 0 ? static_cast<int>(wcslen(text)) : length, &size);
    return size;
}
