#include "toolkit/controls/wnd_text_item.h"

#include "foundation/core/perf.h"
#include "foundation/win/scoped_win.h"
#include "graphics/paint/paint_ctx.h"
#include "graphics/paint/solid_draw.h"
#include "toolkit/controls/wnd_top.h"

t_wndTextItem::t_wndTextItem()
    : caretIndex(-1), caretX1(0), caretY1(0), caretX2(0), caretY2(0), textColor(0), backColor(0), shadowColor(0),
      font(nullptr), hasBackColor(false), defaultStyle{0, 0, 0, nullptr, false}, caretPen(nullptr), align(3),
      alpha(255), format(c_textItemFormat), measureFlags(0)
{}

t_wndTextItem::~t_wndTextItem() { itemText.Clear(); }

bool t_wndTextItem::OnMouseHover(UINT keys, int x, int y)
{
    if (!HitTest(x, y, 0))
        return false;
    t_wndBase::OnMouseHover(keys, x, y);
    return true;
}

bool t_wndTextItem::HitTest(int x, int y, int)
{
    // A hidden item is out of the mouse's reach too: it never becomes hot nor shows a tip.
    if (!acceptsMouse || !visible)
        return false;
    const RECT r = GetRect();
    const POINT point = {x, y};
    return PtInRect(&r, point) != FALSE;
}

void t_wndTextItem::SetItemText(const wchar_t* newText)
{
    if (!newText)
        itemText.Clear();
    else
        itemText.Assign(newText);
}

void t_wndTextItem::SetStyle(const t_textItemStyle& style)
{
    defaultStyle = style;
    RestoreStyle();
}

void t_wndTextItem::RestoreStyle()
{
    textColor = defaultStyle.textColor;
    backColor = defaultStyle.backColor;
    shadowColor = defaultStyle.shadowColor;
    font = defaultStyle.font;
    hasBackColor = defaultStyle.hasBackColor;
}

t_textItemStyle t_wndTextItem::CurrentStyle() const
{
    return t_textItemStyle{textColor, backColor, shadowColor, font, hasBackColor};
}

int t_wndTextItem::Measure(HDC dc)
{
    const int length = itemText.Length();
    if (length == 0) {
        SetSize(0, 0);
        return 3;
    }
    // Without a DC from the caller it measures in a memory DC of its own.
    const t_autoDeleteDC ownDc(dc ? nullptr : CreateCompatibleDC(nullptr));
    t_paintCtx context(dc ? dc : ownDc.Get(), perPixelAlpha, nullptr, top && top->themedText);
    SIZE size = {0, 0};
    if (!context.MeasureText(itemText.c_str(), length, font, &size, format, measureFlags))
        size = SIZE{0, 0};
    SetSize(size.cx, size.cy);
    if (hover && caretIndex >= 0 && caretIndex <= length) {
        SIZE caret = {0, 0};
        int caretX = 0;
        if (caretIndex == 0) {
            // Only the height of one character: the caret stands before the text.
            context.MeasureText(itemText.c_str(), 1, font, &caret, c_textItemFormat, 0);
        } else {
            context.MeasureText(itemText.c_str(), caretIndex, font, &caret, c_textItemFormat, 0);
            caretX = caret.cx;
        }
        caretX1 = caretX2 = caretX;
        caretY1 = 0;
        caretY2 = caret.cy;
    }
    context.End();
    return 3;
}

void t_wndTextItem::Paint_Text(t_paintCtx& context)
{
    if (!visible)
        return;
    PerfScope scope("Paint_Text");
    const RECT target = GetRectInHwnd();
    const int length = itemText.Length();
    if (length > 0) {
        // The background is filled once over the item: drawn with each pass, the text's own
        // fill would cover the shadow.
        if (hasBackColor)
            context.FillRect(target.left, target.top, target.right - target.left, target.bottom - target.top,
                             backColor);
        if (shadowColor != 0) {
            RECT lower = target;
            OffsetRect(&lower, 0, 1);
            context.DrawText(itemText.c_str(), length, &lower, font, &shadowColor, nullptr, format, alpha);
        }
        context.DrawText(itemText.c_str(), length, &target, font, &textColor, nullptr, format, alpha);
    }
    if (hover && caretPen)
        DrawPenLine(target.left + caretX1, target.top + caretY1, target.left + caretX2, target.top + caretY2, context,
                    caretPen);
}
