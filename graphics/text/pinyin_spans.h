// Texts that mix a main font with a pinyin font: parenthesised runs of pinyin letters,
// such as the "(hǎo)" of "ni(hǎo)ma", are measured and drawn in the pinyin font.
#pragma once

#include <windows.h>

#include <cstdint>

#include "foundation/core/simple_array.h"

class t_paintCtx;
struct t_font;

// Colour (ARGB), optional background and the main font of a pinyin-span text.
struct t_textStyle {
    const uint32_t* color;
    const uint32_t* background;
    const t_font* mainFont;
};

// Whether c may stand inside a pinyin span: a to z, the toned vowels and ü, the comma.
bool IsPinyinChar(wchar_t c);

// Index pairs (opening, closing) of the parenthesised spans whose every character is a
// pinyin character (an empty pair counts); the array is emptied first.
void FindPinyinParens(const wchar_t* text, itl::ImmSimpleArray<int>& spans);

// Width = the sum of the pieces' widths, height = the largest height; without spans the
// whole text in the main font.
bool MeasureTextWithPinyinSpans(SIZE& size, t_paintCtx& context, const wchar_t* text, const t_font* mainFont,
                                const t_font* pinyinFont, const itl::ImmSimpleArray<int>& spans);

// Draws the pieces left to right from the rect's left edge, each advancing by its
// measured width: with the style's colours through the paint context, or, with
// useAlphaText, with DrawTextAlpha in `color`.
bool DrawTextWithPinyinSpans(const wchar_t* text, t_paintCtx& context, const t_textStyle& style,
                             const t_font* pinyinFont, const uint32_t* color, const itl::ImmSimpleArray<int>& spans,
                             const RECT& rect, int alpha, bool useAlphaText);
