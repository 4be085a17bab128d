#include "graphics/text/pinyin_spans.h"

#include <algorithm>
#include <cwchar>

#include "graphics/paint/paint_ctx.h"
#include "graphics/text/font.h"
#include "graphics/text/text_draw.h"
#include "graphics/text/text_helpers.h"

namespace {

const wchar_t c_pinyinChars[] = L"abcdefghijklmnopqrstuvwxyzāēīōūǖáéíóúǘǎěǐǒǔǚàèìòùǜ,";

// Calls piece(start, length, font) for the pieces of the text from left to right: the
// main-font text before each span, the span with both parentheses in the pinyin font,
// and the rest. Spans that are out of order or outside the text are passed over.
template <class t_piece>
bool ForEachPiece(const wchar_t* text, const itl::ImmSimpleArray<int>& spans, const t_font* mainFont,
                  const t_font* pinyinFont, t_piece piece)
{
    const int length = static_cast<int>(wcslen(text));
    int begin = 0;
    for (int i = 0; i + 1 < spans.Count(); i += 2) {
        const int open = spans[i], close = spans[i + 1];
        if (open < begin || close <= open || close >= length)
            continue;
        if (open > begin && !piece(begin, open - begin, mainFont))
            return false;
        if (!piece(open, close - open + 1, pinyinFont))
            return false;
        begin = close + 1;
    }
    return begin >= length || piece(begin, length - begin, mainFont);
}

}  // namespace

bool IsPinyinChar(wchar_t c) { return c != 0 && wcschr(c_pinyinChars, c) != nullptr; }

void FindPinyinParens(const wchar_t* text, itl::ImmSimpleArray<int>& spans)
{
    spans.Clear();
    if (!text)
        return;
    const wchar_t* from = text;
    for (;;) {
        const wchar_t* open = wcschr(from, L'(');
        const wchar_t* close = open ? wcschr(open + 1, L')') : nullptr;
        if (!close)
            return;
        if (std::all_of(open + 1, close, IsPinyinChar)) {
            spans.Add(static_cast<int>(open - text));
            spans.Add(static_cast<int>(close - text));
        }
        from = close;
    }
}

bool MeasureTextWithPinyinSpans(SIZE& size, t_paintCtx& context, const wchar_t* text, const t_font* mainFont,
                                const t_font* pinyinFont, const itl::ImmSimpleArray<int>& spans)
{
    if (!text)
        return false;
    size.cx = 0;
    size.cy = 0;
    return ForEachPiece(text, spans, mainFont, pinyinFont, [&](int start, int length, const t_font* font) {
        SIZE piece = {0, 0};
        if (!context.MeasureText(text + start, length, font, &piece, c_textSingleLine, 0))
            return false;
        size.cx += piece.cx;
        size.cy = std::max(size.cy, piece.cy);
        return true;
    });
}

bool DrawTextWithPinyinSpans(const wchar_t* text, t_paintCtx& context, const t_textStyle& style,
                             const t_font* pinyinFont, const uint32_t* color, const itl::ImmSimpleArray<int>& spans,
                             const RECT& rect, int alpha, bool useAlphaText)
{
    if (!text)
        return false;
    RECT running = rect;
    return ForEachPiece(text, spans, style.mainFont, pinyinFont, [&](int start, int length, const t_font* font) {
        SIZE piece = {0, 0};
        if (!context.MeasureText(text + start, length, font, &piece, c_textSingleLine, 0))
            return false;
        if (useAlphaText) {
            const uint32_t* value = color ? color : style.color;
            if (!font || !value ||
                !DrawTextAlpha(context, text + start, length, running, font->hfont, *value, c_textSingleLine, alpha))
                return false;
        } else if (!context.DrawText(text + start, length, &running, font, style.color, style.background,
                                     c_textSingleLine, alpha)) {
            return false;
        }
        running.left += piece.cx;
        return true;
    });
}
