#include "toolkit/richhint/rich_hint_radio_button.h"

#include "graphics/paint/paint_ctx.h"
#include "toolkit/richhint/rich_hint_attributes.h"
#include "toolkit/richhint/rich_hint_delegate.h"
#include "toolkit/richhint/rich_hint_shared.h"

namespace {
const int c_gap = 3;
const int c_stateCount = 4;
}  // namespace

t_wndRichHintRadioButton::t_wndRichHintRadioButton(t_wndRichHintDelegate* owner) : t_wndRichHintSetting(e_radio, owner)
{}

void t_wndRichHintRadioButton::ParseAttributes(const wchar_t* token, int length, HMODULE)
{
    itl::ImmSimpleArray<t_str> texts;
    itl::ImmSimpleArray<t_str> values;
    ReadAttributes(token, length, false, [&](const t_str& name, const t_str& value) {
        if (ReadSettingAttribute(name, value))
            return;
        if (name.Equals(L"texts")) {
            const t_str list = RichHintQuoted(value);
            texts.Clear();
            SplitRichHintPieces(list.c_str(), list.Length(), L',', false, texts);
        } else if (name.Equals(L"values")) {
            const t_str list = RichHintQuoted(value);
            values.Clear();
            SplitRichHintPieces(list.c_str(), list.Length(), L',', false, values);
        }
    });
    optionTexts.Clear();
    optionValues.Clear();
    optionSizes.Clear();
    const int count = texts.Count() < values.Count() ? texts.Count() : values.Count();
    for (int i = 0; i < count; ++i) {
        if (!optionTexts.Add(texts[i]) || !optionValues.Add(RichHintInt(values[i])) || !optionSizes.Add(SIZE{0, 0})) {
            // Out of memory: no options rather than arrays of different lengths.
            optionTexts.Clear();
            optionValues.Clear();
            optionSizes.Clear();
            break;
        }
    }
    selected = 0;
    shown = false;
    if (optionTexts.Count() > 0 && delegate) {
        int current = 0;
        shown = delegate->GetEnvInt(envItem.c_str(), current);
        for (int i = 0; i < optionValues.Count(); ++i) {
            if (optionValues[i] == current) {
                selected = i;
                break;
            }
        }
    }
    if (shown) {
        int w = 0, h = 0;
        RichHintPictureSize(t_richHintShared::Get().RadioPicture(), w, h);
        stateWidth = w / c_stateCount;
        stateHeight = h;
    }
}

int t_wndRichHintRadioButton::SelectedValue() const
{
    return selected >= 0 && selected < optionValues.Count() ? optionValues[selected] : 0;
}

void t_wndRichHintRadioButton::Measure(t_paintCtx& context, SIZE& size)
{
    size = {0, 0};
    if (shown) {
        const t_font* font = t_richHintShared::Get().normal;
        // Summed wide: a group may have any number of options.
        long long height = 0;
        for (int i = 0; i < optionTexts.Count(); ++i) {
            const SIZE text = MeasureRichHintText(context, optionTexts[i].c_str(), optionTexts[i].Length(), font);
            optionSizes[i] = text;
            const int width = text.cx + stateHeight + c_gap;
            if (width > size.cx)
                size.cx = width;
            height += (text.cy > stateHeight ? text.cy : stateHeight) + (i > 0 ? c_gap : 0);
        }
        size.cy = height > 0x3FFFFFFF ? 0x3FFFFFFF : static_cast<LONG>(height);
    }
    SetMeasured(size);
}

void t_wndRichHintRadioButton::Paint(t_paintCtx& context, POINT origin, SIZE cellSize)
{
    if (!shown)
        return;
    t_richHintShared& shared = t_richHintShared::Get();
    RECT rect;
    GetRectInRow(origin, cellSize, rect);
    const uint32_t color = c_richHintTextColor;
    int y = rect.top;
    for (int i = 0; i < optionTexts.Count(); ++i) {
        const bool isSelected = i == selected;
        const bool isHovered = i == hoverIndex;
        const int state = isHovered ? (isSelected ? 3 : 2) : (isSelected ? 1 : 0);
        DrawRichHintPicturePart(context, shared.radioPicture, state * stateWidth, stateWidth, stateHeight, rect.left,
                                y);
        RECT text = {rect.left + stateHeight + c_gap, y, rect.right, y + optionSizes[i].cy};
        context.DrawText(optionTexts[i].c_str(), optionTexts[i].Length(), &text, shared.normal, &color, nullptr,
                         DT_LEFT | DT_VCENTER | DT_SINGLELINE, 255);
        y += optionSizes[i].cy + c_gap;
    }
}

int t_wndRichHintRadioButton::OptionAt(POINT origin, POINT point) const
{
    RECT rect;
    GetRectInRow(origin, GetCellSize(), rect);
    int y = rect.top;
    for (int i = 0; i < optionSizes.Count(); ++i) {
        const int right = rect.left + optionSizes[i].cx + stateHeight + c_gap;
        if (point.x >= rect.left && point.x < right && point.y >= y && point.y < y + optionSizes[i].cy)
            return i;
        y += optionSizes[i].cy + c_gap;
    }
    return -1;
}

bool t_wndRichHintRadioButton::OnMouseMove(POINT origin, POINT point)
{
    hoverActive = true;
    const int index = OptionAt(origin, point);
    if (index != hoverIndex) {
        hoverIndex = index;
        if (delegate)
            delegate->Redraw();
    }
    return false;
}

bool t_wndRichHintRadioButton::OnLButtonUp(POINT origin, POINT point)
{
    if (pressed) {
        pressed = false;
        const int index = OptionAt(origin, point);
        if (index >= 0)
            selected = index;
        if (delegate)
            delegate->Redraw();
    }
    return true;
}

bool t_wndRichHintRadioButton::OnLeave()
{
    hoverActive = false;
    hoverIndex = -1;
    if (delegate)
        delegate->Redraw();
    return true;
}
