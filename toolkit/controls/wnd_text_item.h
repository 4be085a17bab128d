// One line of text as an element: colours, an optional shadow one pixel lower, a font and
// a caret line drawn while the item is hovered. Menu items and the input method's string
// items are built on it.
#pragma once

#include <windows.h>

#include <cstdint>

#include "foundation/core/str.h"
#include "toolkit/controls/wnd_base.h"

struct t_font;
struct t_pen;

// DT_SINGLELINE | DT_NOCLIP | DT_NOPREFIX.
const UINT c_textItemFormat = 0x920;

// How a text item draws: colours are GDI colours with the alpha in the top byte (0 counts
// as opaque). A shadow colour of 0 draws no shadow; the background is filled only when
// hasBackColor is set (0 is a real colour, opaque black).
struct t_textItemStyle {
    uint32_t textColor;
    uint32_t backColor;
    uint32_t shadowColor;
    t_font* font;  // not owned
    bool hasBackColor;
};

class t_wndTextItem : public t_wndBase {
public:
    t_wndTextItem();
    ~t_wndTextItem() override;

    // Hit: the element's hover walk, true; else false.
    bool OnMouseHover(UINT keys, int x, int y) override;
    // Draws the text (and the caret line while hovered).
    void Paint_Layout(t_paintCtx& context) override { Paint_Text(context); }
    virtual void Paint_Text(t_paintCtx& context);
    // Takes the text's measured size; an empty text is (0, 0). Computes the caret line.
    int Measure(HDC dc) override;
    // Only with acceptsMouse, and only while shown: the point in the layout rectangle or rect.
    bool HitTest(int x, int y, int mode) override;

    // Null clears the text.
    void SetItemText(const wchar_t* newText);
    const t_str& ItemText() const { return itemText; }
    // Sets the current and the default style.
    void SetStyle(const t_textItemStyle& style);
    // The current style back to the default one.
    void RestoreStyle();
    t_textItemStyle CurrentStyle() const;

    int caretIndex;
    int caretX1, caretY1, caretX2, caretY2;
    uint32_t textColor, backColor, shadowColor;
    t_font* font;  // not owned
    bool hasBackColor;
    t_textItemStyle defaultStyle;
    const t_pen* caretPen;  // not owned
    t_str itemText;
    int align;
    int alpha;
    UINT format;
    int measureFlags;
};
