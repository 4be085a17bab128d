#include <cwchar>

#include "graphics/paint/paint_ctx.h"
#include "graphics/text/font.h"
#include "graphics/text/freetype.h"
#include "graphics/text/glow_text.h"
#include "graphics/text/text_draw.h"

namespace {

// FreeType text placed in the rect by the format's alignment, with the constant alpha.
bool DrawFreeTypeText(t_paintCtx& context, const wchar_t* text, int length, const RECT& rect, const t_font& font,
                      uint32_t color, UINT format, int alpha)
{
    if (!font.IsFreeType())
        return false;
    t_freetype* freeType = t_freetype::Instance();
    return freeType && freeType->DrawText(context, text, length, rect, font.ftFont, color & 0xFFFFFF, format, alpha);
}

}  // namespace

bool t_paintCtx::DrawText(const wchar_t* text, int length, const RECT* rect, const t_font* font, const uint32_t* color,
                          const uint32_t* background, UINT format, int alpha)
{
    if (!font || !color || !rect || !text)
        return false;
    length = TextLength(text, length);
    if (length == 0)
        return true;
    if (background)
        FillRect(rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top, *background);
    if (IsAlphaTarget()) {
        if (IsThemedText())
            return DrawGlowText(*rect, *this, text, length, font, color, format, alpha);
        if (font->kind == t_fontKind::gdi)
            return DrawTextAlpha(*this, text, length, *rect, font->hfont, *color, format, alpha);
        return DrawFreeTypeText(*this, text, length, *rect, *font, *color, format, alpha);
    }
    if (font->kind == t_fontKind::freeType)
        return DrawFreeTypeText(*this, text, length, *rect, *font, *color, format, alpha);
    if (alpha != 255)
        return DrawTextAlpha(*this, text, length, *rect, font->hfont, *color, format, alpha);
    t_scopedSelectObject selection(m_dc, font->hfont);
    SetTextColor(m_dc, *color & 0xFFFFFF);
    RECT bounds = *rect;
    ::DrawTextW(m_dc, text, length, &bounds, GdiTextFormat(format));
    return true;
}

bool t_paintCtx::MeasureText(const wchar_t* text, int length, const t_font* font, SIZE* size, UINT format,
                             int widthLimit)
{
    if (!font || !size || !text)
        return false;
    if (font->kind == t_fontKind::gdi)
        return MeasureTextGdi(format | (font->needsAlphaFix ? c_textExtentMode : 0), *this, font->hfont, text, length,
                              *size, widthLimit);
    if (!font->IsFreeType())
        return false;
    if (IsThemedText() && RuntimeIsVistaOrLater())
        return MeasureThemedText(font->hfont, m_dc, text, length, *size, format, widthLimit);
    t_freetype* freeType = t_freetype::Instance();
    return freeType && freeType->MeasureText(text, length, font->ftFont, *size);
}
