#include "toolkit/richhint/rich_hint_text.h"

#include "graphics/paint/paint_ctx.h"
#include "toolkit/richhint/rich_hint_shared.h"

t_wndRichHintText::t_wndRichHintText(t_wndRichHintDelegate* owner) : t_wndRichHintElement(e_text, owner) {}

void t_wndRichHintText::ParseAttributes(const wchar_t* token, int length, HMODULE)
{
    if (!token || length <= 0) {
        text.Clear();
        return;
    }
    if (length >= 2 && token[0] == L'<' && token[1] == L'b') {
        // "<b text>": drop "<b " and the closing '>'; "<b>" and a cut-off "<b" leave nothing.
        kind = e_boldText;
        const int shown = length - 4;
        if (shown > 0)
            text.AssignN(token + 3, shown);
        else
            text.Clear();
        return;
    }
    text.AssignN(token, length);
}

void t_wndRichHintText::Measure(t_paintCtx& context, SIZE& size)
{
    t_richHintShared& shared = t_richHintShared::Get();
    size = MeasureRichHintText(context, text.c_str(), text.Length(), kind == e_boldText ? shared.bold : shared.normal);
    SetMeasured(size);
}

void t_wndRichHintText::Paint(t_paintCtx& context, POINT origin, SIZE cellSize)
{
    t_richHintShared& shared = t_richHintShared::Get();
    RECT rect;
    GetRectInRow(origin, cellSize, rect);
    const uint32_t color = c_richHintTextColor;
    context.DrawText(text.c_str(), text.Length(), &rect, kind == e_boldText ? shared.bold : shared.normal, &color,
                     nullptr, static_cast<UINT>(align) | DT_VCENTER | DT_SINGLELINE, 255);
}
