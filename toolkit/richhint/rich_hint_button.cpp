#include "toolkit/richhint/rich_hint_button.h"

#include <algorithm>

#include "graphics/paint/nine_images.h"
#include "graphics/paint/paint_ctx.h"
#include "toolkit/richhint/rich_hint_attributes.h"
#include "toolkit/richhint/rich_hint_delegate.h"
#include "toolkit/richhint/rich_hint_shared.h"

namespace {

// Split lines of one state of the button picture.
const int c_splitLeft = 6, c_splitRight = 11, c_splitTop = 6, c_splitBottom = 19;

// The nine cells of one state (stateX, stateWidth) of the shared picture, edges and centre
// tiled; split lines past a small picture are cut to it.
void CutButtonState(const t_image& picture, int stateX, int stateWidth, int height, t_imageSet9& set)
{
    const int xs[4] = {0, std::min(c_splitLeft, stateWidth), std::min(std::max(c_splitRight, c_splitLeft), stateWidth),
                       stateWidth};
    const int ys[4] = {0, std::min(c_splitTop, height), std::min(std::max(c_splitBottom, c_splitTop), height), height};
    for (int r = 0; r < 3; ++r) {
        for (int c = 0; c < 3; ++c) {
            t_image& cell = set.cells[r * 3 + c];
            cell = picture;
            cell.partX = picture.partX + stateX + xs[c];
            cell.partY = picture.partY + ys[r];
            cell.partWidth = xs[c + 1] - xs[c];
            cell.partHeight = ys[r + 1] - ys[r];
            cell.modeH = c == 1 ? t_image::e_tile : t_image::e_natural;
            cell.modeV = r == 1 ? t_image::e_tile : t_image::e_natural;
            cell.ownsSource = 0;
        }
    }
}

}  // namespace

t_wndRichHintButton::t_wndRichHintButton(t_wndRichHintDelegate* owner) : t_wndRichHintSetting(e_button, owner) {}

void t_wndRichHintButton::ParseAttributes(const wchar_t* token, int length, HMODULE)
{
    ReadAttributes(token, length, false, [&](const t_str& name, const t_str& value) {
        if (!ReadSettingAttribute(name, value) && name.Equals(L"text"))
            text = RichHintQuoted(value);
    });
    bool value = false;
    known = delegate && delegate->GetEnvBool(envItem.c_str(), value);
    t_richHintShared::Get().ButtonPicture();
}

void t_wndRichHintButton::Measure(t_paintCtx& context, SIZE& size)
{
    textSize = MeasureRichHintText(context, text.c_str(), text.Length(), t_richHintShared::Get().normal);
    size = {textSize.cx + 2 * c_innerMargin, textSize.cy + 2 * c_innerMargin};
    SetMeasured(size);
}

void t_wndRichHintButton::Paint(t_paintCtx& context, POINT origin, SIZE cellSize)
{
    t_richHintShared& shared = t_richHintShared::Get();
    RECT rect;
    GetRectInRow(origin, cellSize, rect);
    int w = 0, h = 0;
    RichHintPictureSize(shared.ButtonPicture(), w, h);
    const int stateWidth = w / 3;
    if (stateWidth > 0 && h > 0) {
        const int state = pressed ? 2 : hover ? 1 : 0;
        t_imageSet9 set;
        CutButtonState(shared.buttonPicture, state * stateWidth, stateWidth, h, set);
        t_imageSet9::Draw(context, set, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
    }
    RECT textRect = {rect.left + (contentWidth - textSize.cx) / 2, rect.top + (contentHeight - textSize.cy) / 2,
                     rect.right, rect.bottom};
    const uint32_t black = c_richHintTextColor;
    context.DrawText(text.c_str(), text.Length(), &textRect, shared.normal, &black, nullptr,
                     DT_CENTER | DT_VCENTER | DT_SINGLELINE, 255);
}

bool t_wndRichHintButton::OnMouseMove(POINT, POINT)
{
    if (!hover) {
        hover = true;
        pressed = false;
        if (delegate)
            delegate->Redraw();
    }
    return false;
}

bool t_wndRichHintButton::OnLButtonDown(POINT, POINT)
{
    pressed = true;
    if (delegate)
        delegate->Redraw();
    return true;
}

bool t_wndRichHintButton::OnLButtonUp(POINT, POINT)
{
    if (pressed && delegate) {
        pressed = false;
        // Last: the delegate commits and may release this element.
        delegate->OnButton(id, text.c_str());
    }
    return true;
}

bool t_wndRichHintButton::OnLeave()
{
    hover = false;
    pressed = false;
    if (delegate)
        delegate->Redraw();
    return true;
}
