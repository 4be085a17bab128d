#include "toolkit/richhint/rich_hint_hyper_link.h"

#include "graphics/paint/paint_ctx.h"
#include "toolkit/richhint/rich_hint_attributes.h"
#include "toolkit/richhint/rich_hint_delegate.h"
#include "toolkit/richhint/rich_hint_shared.h"

namespace {

void SetHandCursor() { SetCursor(LoadCursorW(nullptr, IDC_HAND)); }

}  // namespace

t_wndRichHintHyperLink::t_wndRichHintHyperLink(t_wndRichHintDelegate* owner) : t_wndRichHintElement(e_link, owner) {}

void t_wndRichHintHyperLink::ParseAttributes(const wchar_t* token, int length, HMODULE)
{
    ReadAttributes(token, length, true, [&](const t_str& name, const t_str& value) {
        if (name.Equals(L"text")) {
            text = RichHintQuoted(value);
        } else if (name.Equals(L"href")) {
            href = RichHintQuoted(value);
            mode = e_href;
        } else if (name.Equals(L"action")) {
            action = RichHintQuoted(value);
            mode = e_action;
        } else if (name.EqualsNoCase(L"fontcolor")) {
            color = RichHintColor(value);
            hasColor = true;
        }
    });
}

void t_wndRichHintHyperLink::Measure(t_paintCtx& context, SIZE& size)
{
    size = MeasureRichHintText(context, text.c_str(), text.Length(), t_richHintShared::Get().underlined);
    SetMeasured(size);
}

void t_wndRichHintHyperLink::Paint(t_paintCtx& context, POINT origin, SIZE cellSize)
{
    RECT rect;
    GetRectInRow(origin, cellSize, rect);
    const uint32_t drawColor = hasColor ? color : c_richHintLinkColor;
    context.DrawText(text.c_str(), text.Length(), &rect, t_richHintShared::Get().underlined, &drawColor, nullptr,
                     static_cast<UINT>(align) | DT_VCENTER | DT_SINGLELINE, 255);
}

bool t_wndRichHintHyperLink::OnMouseMove(POINT, POINT)
{
    SetHandCursor();
    return true;
}

bool t_wndRichHintHyperLink::OnLButtonDown(POINT, POINT)
{
    SetHandCursor();
    pressed = true;
    return true;
}

bool t_wndRichHintHyperLink::OnLButtonUp(POINT, POINT)
{
    SetHandCursor();
    if (!pressed || !delegate)
        return true;
    pressed = false;
    // The delegate may release this element: nothing of it is touched afterwards.
    if (mode == e_href)
        delegate->OnHref(href.c_str(), text.c_str());
    else
        delegate->OnAction(action.c_str(), text.c_str());
    return true;
}
