#include "ime_ui/windows/comp/wnd_comp_string_text.h"

#include "foundation/core/perf.h"

#include "graphics/paint/paint_ctx.h"
#include "ime_ui/windows/base/skin_style_access.h"
#include "toolkit/controls/imc_wrap.h"
#include "toolkit/controls/ui_context.h"
#include "toolkit/controls/wnd_top.h"

int LetterPrefixLength(const wchar_t* text, int length, int letters)
{
    if (!text || length <= 0)
        return 0;
    int taken = 0, i = 0;
    while (i < length && taken < letters) {
        if (text[i] != L'\'')
            ++taken;
        ++i;
    }
    return i;
}

namespace {

// Measures with a DC of its own when the caller has none.
SIZE MeasureRun(HDC dc, const wchar_t* text, int length, const t_font* font)
{
    SIZE size = {0, 0};
    if (length <= 0)
        return size;
    HDC own = dc ? nullptr : CreateCompatibleDC(nullptr);
    {
        t_paintCtx context(dc ? dc : own, false, nullptr, false);
        if (!context.MeasureText(text, length, font, &size, c_textItemFormat, 0))
            size = SIZE{0, 0};
        context.End();
    }
    if (own)
        DeleteDC(own);
    return size;
}

const uint32_t c_white = 0xFFFFFF;
const int c_caretDotAlpha = 127;

}  // namespace

t_wndCompStringText::t_wndCompStringText()
    : segmentStart(0), segmentEnd(0), beforeSize{0, 0}, segmentSize{0, 0}, afterSize{0, 0}, caretShown(false)
{
    acceptsMouse = true;
}

void t_wndCompStringText::SplitParts()
{
    const wchar_t* text = itemText.c_str();
    const int length = itemText.Length();
    const int start = LetterPrefixLength(text, length, segmentStart);
    const int end = LetterPrefixLength(text, length, segmentEnd);
    before.AssignN(text, start);
    segment.AssignN(text + start, end - start);
    after.AssignN(text + end, length - end);
}

int t_wndCompStringText::Measure(HDC dc)
{
    const int result = t_wndTextItem::Measure(dc);
    if (segmentStart < segmentEnd) {
        SplitParts();
        // Without the skin's font the parts take the item's own, so the boxes match the text.
        const t_font* partFont = SkinStyleFont(GetContext()->GetSkin(), 1);
        if (!partFont)
            partFont = font;
        beforeSize = MeasureRun(dc, before.c_str(), before.Length(), partFont);
        const int upToEnd = before.Length() + segment.Length();
        const SIZE whole = MeasureRun(dc, itemText.c_str(), upToEnd, partFont);
        segmentSize = SIZE{whole.cx - beforeSize.cx, whole.cy};
        afterSize = MeasureRun(dc, after.c_str(), after.Length(), partFont);
    }
    return result;
}

void t_wndCompStringText::PaintCaretDot(t_paintCtx& context, const RECT& textBox)
{
    if (!caretShown)
        return;
    RECT dot = textBox;
    dot.left = textBox.right;
    dot.right = dot.left + 16;
    context.DrawText(L".", 1, &dot, font, &textColor, hasBackColor ? &backColor : nullptr, format,
                     alpha * c_caretDotAlpha / 255);
}

void t_wndCompStringText::PaintPlain(t_paintCtx& context)
{
    const RECT box = GetRectInHwnd();
    if (itemText.Length() > 0)
        context.DrawText(itemText.c_str(), itemText.Length(), &box, font, &textColor,
                         hasBackColor ? &backColor : nullptr, format, alpha);
    PaintCaretDot(context, box);
}

void t_wndCompStringText::Paint_CompText(t_paintCtx& context)
{
    if (!visible)
        return;
    if (segmentStart >= segmentEnd) {
        PaintPlain(context);
        return;
    }
    const RECT inTop = GetRectInTop();
    const int x = inTop.left, y = inTop.top;
    context.FillRect(x + beforeSize.cx, y, segmentSize.cx, segmentSize.cy, 0xFF000000u | c_segmentFill);
    const uint32_t* back = hasBackColor ? &backColor : nullptr;
    RECT box = {x, y, x + beforeSize.cx, y + beforeSize.cy};
    context.DrawText(before.c_str(), before.Length(), &box, font, &textColor, back, format, alpha);
    box = RECT{box.right, y, box.right + segmentSize.cx, y + segmentSize.cy};
    context.DrawText(segment.c_str(), segment.Length(), &box, font, &c_white, back, format, alpha);
    box = RECT{box.right, y, box.right + afterSize.cx, y + afterSize.cy};
    context.DrawText(after.c_str(), after.Length(), &box, font, &textColor, back, format, alpha);
    PaintCaretDot(context, box);
}

void t_wndCompStringText::OnMouseMove(UINT keys, int x, int y)
{
    if (HitTest(x, y, 0))
        SetCursor(LoadCursorW(nullptr, IDC_HAND));
    t_wndStringItem::OnMouseMove(keys, x, y);
}

void t_wndCompStringText::OnMouseEnter()
{
    t_wndStringItem::OnMouseEnter();
    if (!top)
        return;
    t_uiContext* context = GetContext();
    t_str tip;
    if (context->Imc().GetCompositionTip(context->hostWindow, tip)) {
        SetText(tip.c_str());
        const RECT r = GetRect();
        ShowMenu(POINT{r.left, r.bottom}, 32, 2, nullptr, nullptr, 0);
    } else {
        CloseMenu(1);
    }
}

void t_wndCompStringText::OnMouseLeave()
{
    CloseMenu(0);
    t_wndStringItem::OnMouseLeave();
}

int t_wndCompStringBlank::Measure(HDC)
{
    if (visible && blankWidth != 0)
        SetSize(blankWidth, 1);
    else
        SetSize(0, 0);
    return 3;
}

void t_wndCompStringBlank::Paint_CompBlank(t_paintCtx& context)
{
    PerfScope scope("Paint_CompBlank");
    t_wndStringItem::Paint_Text(context);
}

int t_wndCompStringAlpha::Measure(HDC dc)
{
    if (!font || !hasTextColour) {
        SetSize(0, 0);
        visible = false;
        return 3;
    }
    const SIZE size = MeasureRun(dc, itemText.c_str(), itemText.Length(), font);
    SetSize(size.cx, size.cy);
    return 3;
}

void t_wndCompStringAlpha::Paint_CompAlpha(t_paintCtx& context)
{
    if (!visible || itemText.Length() == 0)
        return;
    const RECT box = GetRectInHwnd();
    context.DrawText(itemText.c_str(), itemText.Length(), &box, font, &textColor, hasBackColor ? &backColor : nullptr,
                     format, DimmedAlpha(alpha));
}
