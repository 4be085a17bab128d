#include "graphics/text/glow_text.h"

#include <algorithm>

#include "graphics/paint/glow.h"
#include "graphics/paint/paint_ctx.h"
#include "graphics/text/font.h"
#include "graphics/text/text_helpers.h"
#include "graphics/text/theme.h"

namespace {

// Whether any pixel of the DIB has alpha: composited theme text sets it, plain GDI text not.
bool AnyAlpha(const t_memDC& dib)
{
    GdiFlush();
    const uint32_t* p = dib.Pixels();
    const size_t n = static_cast<size_t>(dib.width) * dib.height;
    return std::any_of(p, p + n, [](uint32_t v) { return v >= 0x1000000u; });
}

}  // namespace

bool DrawFilterGlowText(const RECT& rect, t_paintCtx& context, const wchar_t* text, int length, const t_font* font,
                        const uint32_t* color, UINT format, int alpha)
{
    const int width = rect.right - rect.left, height = rect.bottom - rect.top;
    if (width <= 0 || height <= 0)
        return true;
    t_memDC textDib;
    if (!t_memDC::Create(textDib, context.Dc(), width, height))
        return false;
    {
        t_paintCtx inner(textDib.dc, true, &textDib, false);
        const RECT innerRect = {0, 0, width, height};
        const bool drawn = inner.DrawText(text, length, &innerRect, font, color, nullptr, format, alpha);
        inner.End();
        if (!drawn)
            return false;
    }
    GdiFlush();
    const int margin = (t_effectGlowSimple::c_size - 1) / 2;
    const int glowWidth = width + 2 * margin, glowHeight = height + 2 * margin;
    t_memDC glowDib;
    if (!t_memDC::Create(glowDib, context.Dc(), glowWidth, glowHeight))
        return false;
    const t_pixelRect source = {textDib.dc, textDib.Pixels(), width, height, 0, 0, width, height};
    const t_pixelRect target = {glowDib.dc, glowDib.Pixels(), glowWidth, glowHeight, 0, 0, glowWidth, glowHeight};
    if (!ApplyEffectFilter(source, SharedGlowFilter(), target))
        return false;
    GdiFlush();
    AlphaBlend(context.Dc(), rect.left - margin, rect.top - margin, glowWidth, glowHeight, glowDib.dc, 0, 0, glowWidth,
               glowHeight, SourceAlphaBlend(alpha));
    AlphaBlend(context.Dc(), rect.left, rect.top, width, height, textDib.dc, 0, 0, width, height,
               SourceAlphaBlend(255));
    return true;
}

bool DrawThemedGlowText(const RECT& rect, t_paintCtx& context, const wchar_t* text, int length, const t_font* font,
                        const uint32_t* color, UINT format, int alpha)
{
    t_theme* theme = t_theme::Instance();
    HTHEME handle = theme && theme->Load() ? theme->WindowTheme() : nullptr;
    HFONT gdiFont = font ? font->hfont : nullptr;
    if (!handle || !gdiFont || !color)
        return DrawFilterGlowText(rect, context, text, length, font, color, format, alpha);

    HDC dc = context.Dc();
    const COLORREF textColor = *color & 0xFFFFFF;
    RECT textRect = rect;
    {
        t_scopedSelectObject selection(dc, gdiFont);
        DTTOPTS options = GlowTextOptions(textColor, true);
        if (FAILED(theme->DrawThemeTextExFn()(handle, dc, 1, 1, text, length, GdiTextFormat(format) | DT_CALCRECT,
                                              &textRect, &options)))
            return DrawFilterGlowText(rect, context, text, length, font, color, format, alpha);
    }
    const int border = 21;
    const int width = textRect.right - textRect.left, height = textRect.bottom - textRect.top;
    if (width <= 0 || height <= 0)
        return true;
    // Composited theme text is written in top-down row order.
    t_memDC dib;
    if (!t_memDC::Create(dib, dc, width + 2 * border, height + 2 * border, t_dibRows::topDown))
        return false;
    bool composed;
    {
        t_scopedSelectObject selection(dib.dc, gdiFont);
        SetTextColor(dib.dc, textColor);
        SetBkMode(dib.dc, TRANSPARENT);
        DTTOPTS options = GlowTextOptions(textColor, false);
        RECT inner = {border, border, border + width, border + height};
        composed = SUCCEEDED(theme->DrawThemeTextExFn()(handle, dib.dc, 1, 1, text, length, GdiTextFormat(format),
                                                        &inner, &options)) &&
                   AnyAlpha(dib);
    }
    if (!composed)
        return DrawFilterGlowText(rect, context, text, length, font, color, format, alpha);
    AlphaBlend(dc, textRect.left - border, textRect.top - border, width + 2 * border, height + 2 * border, dib.dc, 0, 0,
               width + 2 * border, height + 2 * border, SourceAlphaBlend(alpha));
    return true;
}

bool DrawGlowText(const RECT& rect, t_paintCtx& context, const wchar_t* text, int length, const t_font* font,
                  const uint32_t* color, UINT format, int alpha)
{
    if (RuntimeIsVistaOrLater())
        return DrawThemedGlowText(rect, context, text, length, font, color, format, alpha);
    return DrawFilterGlowText(rect, context, text, length, font, color, format, alpha);
}
