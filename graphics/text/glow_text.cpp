#include "graphics/text/glow_text.h"

#include <algorithm>

#include "graphics/paint/glow.h"
#include "graphics/paint/paint_ctx.h"
#include "graphics/text/font.h"
#include "graphics/text/text_helpers.h"
#include "graphics/text/theme.h"

namespace {
// A top-down 32-bit DIB: composited theme text is written in top-down row order.
class t_topDownDib {
public:
    t_topDownDib(HDC reference, int width, int height) : m_width(width), m_height(height)
    {
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        m_dc = CreateCompatibleDC(reference);
        if (m_dc)
            m_dib = CreateDIBSection(m_dc, &info, DIB_RGB_COLORS, &m_bits, nullptr, 0);
        if (m_dib && m_bits)
            m_previous = SelectObject(m_dc, m_dib);
    }
    ~t_topDownDib()
    {
        if (m_previous)
            SelectObject(m_dc, m_previous);
        if (m_dib)
            DeleteObject(m_dib);
        if (m_dc)
            DeleteDC(m_dc);
    }
    t_topDownDib(const t_topDownDib&) = delete;
    t_topDownDib& operator=(const t_topDownDib&) = delete;

    bool Ok() const { return m_previous != nullptr; }
    HDC Dc() const { return m_dc; }
    bool AnyAlpha() const
    {
        GdiFlush();
        const uint32_t* p = static_cast<const uint32_t*>(m_bits);
        const size_t n = static_cast<size_t>(m_width) * m_height;
        return std::any_of(p, p + n, [](uint32_t v) { return v >= 0x1000000u; });
    }

private:
    int m_width, m_height;
    HDC m_dc = nullptr;
    HBITMAP m_dib = nullptr;
    void* m_bits = nullptr;
    HGDIOBJ m_previous = nullptr;
};

}  // namespace

bool DrawFilterGlowText(const RECT& rect, t_paintCtx& context, const wchar_t* text, int length, const t_font* font,
                        const uint32_t* color, UINT format, int alpha)
{
    const int width = rect.right - rect.left, height = rect.bottom - rect.top;
    if (width <= 0 || height <= 0)
        return true;
    t_memDCHolder textDib;
    if (!t_memDC::Create(*textDib, context.Dc(), width, height, 32))
        return false;
    {
        t_paintCtx inner(textDib->dc, true, textDib.get(), false);
        const RECT innerRect = {0, 0, width, height};
        const bool drawn = inner.DrawText(text, length, &innerRect, font, color, nullptr, format, alpha);
        inner.End();
        if (!drawn)
            return false;
    }
    GdiFlush();
    const int margin = (t_effectGlowSimple::c_size - 1) / 2;
    const int glowWidth = width + 2 * margin, glowHeight = height + 2 * margin;
    t_memDCHolder glowDib;
    if (!t_memDC::Create(*glowDib, context.Dc(), glowWidth, glowHeight, 32))
        return false;
    const t_pixelRect source = {textDib->dc, textDib->Pixels(), width, height, 0, 0, width, height};
    const t_pixelRect target = {glowDib->dc, glowDib->Pixels(), glowWidth, glowHeight, 0, 0, glowWidth, glowHeight};
    if (!ApplyEffectFilter(source, SharedGlowFilter(), target))
        return false;
    GdiFlush();
    AlphaBlend(context.Dc(), rect.left - margin, rect.top - margin, glowWidth, glowHeight, glowDib->dc, 0, 0, glowWidth,
               glowHeight, SourceAlphaBlend(alpha));
    AlphaBlend(context.Dc(), rect.left, rect.top, width, height, textDib->dc, 0, 0, width, height,
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
        t_gdiSelection selection(dc, gdiFont);
        DTTOPTS options = GlowTextOptions(textColor, true);
        if (FAILED(theme->DrawThemeTextExFn()(handle, dc, 1, 1, text, length, GdiTextFormat(format) | DT_CALCRECT,
                                              &textRect, &options)))
            return DrawFilterGlowText(rect, context, text, length, font, color, format, alpha);
    }
    const int border = 21;
    const int width = textRect.right - textRect.left, height = textRect.bottom - textRect.top;
    if (width <= 0 || height <= 0)
        return true;
    t_topDownDib dib(dc, width + 2 * border, height + 2 * border);
    if (!dib.Ok())
        return false;
    bool composed;
    {
        t_gdiSelection selection(dib.Dc(), gdiFont);
        SetTextColor(dib.Dc(), textColor);
        SetBkMode(dib.Dc(), TRANSPARENT);
        DTTOPTS options = GlowTextOptions(textColor, false);
        RECT inner = {border, border, border + width, border + height};
        composed = SUCCEEDED(theme->DrawThemeTextExFn()(handle, dib.Dc(), 1, 1, text, length, GdiTextFormat(format),
                                                        &inner, &options)) &&
                   dib.AnyAlpha();
    }
    if (!composed)
        return DrawFilterGlowText(rect, context, text, length, font, color, format, alpha);
    AlphaBlend(dc, textRect.left - border, textRect.top - border, width + 2 * border, height + 2 * border, dib.Dc(), 0,
               0, width + 2 * border, height + 2 * border, SourceAlphaBlend(alpha));
    return true;
}

bool DrawGlowText(const RECT& rect, t_paintCtx& context, const wchar_t* text, int length, const t_font* font,
                  const uint32_t* color, UINT format, int alpha)
{
    if (RuntimeIsVistaOrLater())
        return DrawThemedGlowText(rect, context, text, length, font, color, format, alpha);
    return DrawFilterGlowText(rect, context, text, length, font, color, format, alpha);
}
