// The composition string's text items: the typed text with its converted segment, the
// blank between parts, and the dimmed hint and flashing hint texts.
#pragma once

#include "foundation/core/str.h"
#include "ime_ui/windows/base/wnd_string_item.h"

// Units of text taken by the first `letters` characters other than the syllable
// separator "'"; separators met on the way are taken too. Never beyond length.
int LetterPrefixLength(const wchar_t* text, int length, int letters);

// Opaque fill behind the converted segment (red 0x0A, green 0x24, blue 0x6A).
const COLORREF c_segmentFill = 0x6A240A;

class t_wndCompStringText : public t_wndStringItem {
public:
    t_wndCompStringText();

    // The text measure, then the three parts around the segment in the font of style 1.
    int Measure(HDC dc) override;
    void Paint_Text(t_paintCtx& context) override { Paint_CompText(context); }
    void Paint_CompText(t_paintCtx& context);
    void PaintPlain(t_paintCtx& context);
    void OnMouseMove(UINT keys, int x, int y) override;
    void OnMouseEnter() override;
    void OnMouseLeave() override;

    // Rebuilds before, segment and after from the text (no measuring).
    void SplitParts();

    int segmentStart, segmentEnd;
    SIZE beforeSize, segmentSize, afterSize;
    t_str before, segment, after;
    bool caretShown;

private:
    void PaintCaretDot(t_paintCtx& context, const RECT& textBox);
};

class t_wndCompStringBlank : public t_wndStringItem {
public:
    // (width, 1) while shown with a width, else (0, 0).
    int Measure(HDC dc) override;
    void Paint_Text(t_paintCtx& context) override { Paint_CompBlank(context); }
    // The plain text paint, under its own profiler name.
    void Paint_CompBlank(t_paintCtx& context);
    int blankWidth = 0;
};

// The dimmed hint text; draws at 0.6 of the item alpha.
class t_wndCompStringAlpha : public t_wndStringItem {
public:
    // The text in the item font; without a font or colour (0, 0), and the item hides.
    int Measure(HDC dc) override;
    void Paint_Text(t_paintCtx& context) override { Paint_CompAlpha(context); }
    void Paint_CompAlpha(t_paintCtx& context);
    // Text colour known: the base style or a set colour.
    bool hasTextColour = true;
};

class t_wndCompStringFlashHint : public t_wndCompStringAlpha {
public:
    void Paint_Text(t_paintCtx& context) override { Paint_CompFlashHint(context); }
    void Paint_CompFlashHint(t_paintCtx& context) { Paint_CompAlpha(context); }
};

// Alpha of the dimmed texts for an item alpha (153 at 255).
inline int DimmedAlpha(int itemAlpha) { return itemAlpha * 6 / 10; }
