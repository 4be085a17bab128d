#include "graphics/text/text_draw.h"

#include <algorithm>
#include <cwchar>

#include "graphics/paint/color_key.h"
#include "graphics/paint/paint_ctx.h"
#include "graphics/text/theme.h"
#include "graphics/text/ui_cache.h"

void SetLogFontFaceName(wchar_t (&field)[LF_FACESIZE], const wchar_t* name)
{
    if (!name)
        name = L"";
    const size_t n = std::min(wcslen(name), static_cast<size_t>(LF_FACESIZE - 1));
    wmemcpy(field, name, n);
    field[n] = 0;
}

bool MeasureTextGdi(UINT format, t_paintCtx& context, HFONT font, const wchar_t* text, int length, SIZE& size,
                    int widthLimit)
{
    if (!text)
        return false;
    HDC dc = context.Dc();
    if (format & DT_SINGLELINE) {
        t_uiCache* cache = t_uiCache::Instance();
        return cache && cache->Measure(dc, font, text, length, size, (format & c_textExtentMode) != 0);
    }
    t_scopedSelectObject selection(dc, font);
    RECT rect = {0, 0, widthLimit, 0};
    DrawTextW(dc, text, length, &rect, GdiTextFormat(format) | DT_CALCRECT);
    size.cx = rect.right - rect.left;
    size.cy = rect.bottom - rect.top;
    return true;
}

bool DrawTextAlpha(t_paintCtx& context, const wchar_t* text, int length, const RECT& rect, HFONT font, uint32_t color,
                   UINT format, int alpha)
{
    if (!text)
        return false;
    SIZE size = {0, 0};
    if (!MeasureTextGdi(format, context, font, text, length, size, 0))
        return false;
    const int rectWidth = rect.right - rect.left, rectHeight = rect.bottom - rect.top;
    const int width = std::min<int>(size.cx, rectWidth), height = std::min<int>(size.cy, rectHeight);
    if (width <= 0 || height <= 0)
        return true;

    // Texts are drawn many times per paint: the thread's scratch DIB saves making and
    // freeing a DIB section each time (the costliest part under some GDI implementations).
    t_memDC own;
    t_memDC* dib = ScratchDib(context.Dc(), width, height);
    if (!dib) {
        if (!t_memDC::Create(own, context.Dc(), width, height))
            return false;
        dib = &own;
    }
    RECT inner = {0, 0, width, height};
    ::FillRect(dib->dc, &inner, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    {
        t_scopedSelectObject selection(dib->dc, font);
        SetBkMode(dib->dc, TRANSPARENT);
        SetTextColor(dib->dc, RGB(0, 0, 0));
        DrawTextW(dib->dc, text, length, &inner, GdiTextFormat(format));
    }
    GdiFlush();

    // Black on white: the blue byte says how little ink a pixel has.
    const uint32_t k = ColorRefToArgb(color & 0xFFFFFF);
    const uint32_t kb = k & 0xFF, kg = k >> 8 & 0xFF, kr = k >> 16 & 0xFF;
    for (int row = 0; row < height; ++row) {
        uint32_t* pixels = dib->Pixels() + static_cast<size_t>(dib->height - 1 - row) * dib->width;
        for (int column = 0; column < width; ++column) {
            const uint32_t c = pixels[column] & 0xFF;
            const uint32_t a = 255 - c;
            pixels[column] = a == 0 ? 0 : a << 24 | (kr * a / 255) << 16 | (kg * a / 255) << 8 | kb * a / 255;
        }
    }

    int x = rect.left, y = rect.top;
    if (format & DT_CENTER)
        x = rect.left + (rectWidth - width) / 2;
    else if (format & DT_RIGHT)
        x = rect.right - width;
    if (format & DT_VCENTER)
        y = rect.top + (rectHeight - height) / 2;
    else if (format & DT_BOTTOM)
        y = rect.bottom - height;
    AlphaBlend(context.Dc(), x, y, width, height, dib->dc, 0, 0, width, height, SourceAlphaBlend(alpha));
    return true;
}

bool MeasureThemedText(HFONT font, HDC dc, const wchar_t* text, int length, SIZE& size, UINT format, int widthLimit)
{
    t_theme* theme = t_theme::Instance();
    HTHEME handle = theme && theme->Load() ? theme->WindowTheme() : nullptr;
    if (!handle) {
        t_paintCtx plain(dc, false, nullptr, false);
        return MeasureTextGdi(format, plain, font, text, length, size, widthLimit);
    }
    t_scopedSelectObject selection(dc, font);
    const SIZE margin = theme->GlowMargin(dc);
    DTTOPTS options = GlowTextOptions(0, true);
    RECT rect = {0, 0, 0, 0};
    if (FAILED(theme->DrawThemeTextExFn()(handle, dc, 1, 1, text, length, GdiTextFormat(format) | DT_CALCRECT, &rect,
                                          &options)))
        return false;
    size.cx = std::max(0L, rect.right - rect.left - margin.cx);
    size.cy = std::max(0L, rect.bottom - rect.top - margin.cy);
    return true;
}
