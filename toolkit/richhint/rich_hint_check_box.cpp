#include "toolkit/richhint/rich_hint_check_box.h"

#include "graphics/paint/paint_ctx.h"
#include "toolkit/richhint/rich_hint_attributes.h"
#include "toolkit/richhint/rich_hint_delegate.h"
#include "toolkit/richhint/rich_hint_shared.h"

namespace {
const int c_gap = 3;
}  // namespace

t_wndRichHintCheckBox::t_wndRichHintCheckBox(t_wndRichHintDelegate* owner) : t_wndRichHintSetting(e_checkBox, owner) {}

void t_wndRichHintCheckBox::ParseAttributes(const wchar_t* token, int length, HMODULE)
{
    ReadAttributes(token, length, false, [&](const t_str& name, const t_str& value) {
        if (ReadSettingAttribute(name, value))
            return;
        if (name.Equals(L"text")) {
            text = RichHintQuoted(value);
        } else if (name.EqualsNoCase(L"fontcolor")) {
            color = RichHintColor(value);
            hasColor = true;
        }
    });
    shown = false;
    if (delegate) {
        checked = false;
        shown = delegate->GetEnvBool(envItem.c_str(), checked);
    }
    if (shown)
        t_richHintShared::Get().CheckPicture();
}

void t_wndRichHintCheckBox::Measure(t_paintCtx& context, SIZE& size)
{
    size = {0, 0};
    if (shown) {
        int w = 0, box = 0;
        RichHintPictureSize(t_richHintShared::Get().CheckPicture(), w, box);
        const SIZE textSize = MeasureRichHintText(context, text.c_str(), text.Length(), t_richHintShared::Get().normal);
        size = {textSize.cx + box + c_gap, textSize.cy > box ? textSize.cy : box};
    }
    SetMeasured(size);
}

void t_wndRichHintCheckBox::Paint(t_paintCtx& context, POINT origin, SIZE cellSize)
{
    if (!shown)
        return;
    t_richHintShared& shared = t_richHintShared::Get();
    RECT rect;
    GetRectInRow(origin, cellSize, rect);
    int w = 0, box = 0;
    RichHintPictureSize(shared.CheckPicture(), w, box);
    const int state = (checked ? 2 : 0) + (hover ? 1 : 0);
    DrawRichHintPicturePart(context, shared.checkPicture, state * box, box, box, rect.left, rect.top);
    RECT textRect = {rect.left + box + c_gap, rect.top, rect.right, rect.bottom};
    const uint32_t drawColor = hasColor ? color : c_richHintTextColor;
    context.DrawText(text.c_str(), text.Length(), &textRect, shared.normal, &drawColor, nullptr,
                     DT_RIGHT | DT_VCENTER | DT_SINGLELINE, 255);
}

bool t_wndRichHintCheckBox::OnMouseMove(POINT origin, POINT point)
{
    RECT rect;
    GetRectInRow(origin, GetCellSize(), rect);
    const bool inside = PtInRect(&rect, point) != 0;
    if (inside != hover) {
        hover = inside;
        if (delegate)
            delegate->Redraw();
    }
    return false;
}

bool t_wndRichHintCheckBox::OnLButtonUp(POINT, POINT)
{
    if (!pressed)
        return true;
    pressed = false;
    checked = !checked;
    t_wndRichHintDelegate* owner = delegate;
    if (owner) {
        // The look changes first: the host's answer may release this element.
        owner->Redraw();
        owner->OnCheck(id, text.c_str());
    }
    return true;
}

bool t_wndRichHintCheckBox::OnLeave()
{
    hover = false;
    if (delegate)
        delegate->Redraw();
    return true;
}
