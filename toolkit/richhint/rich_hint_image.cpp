#include "toolkit/richhint/rich_hint_image.h"

#include "graphics/paint/paint_ctx.h"
#include "toolkit/richhint/rich_hint_attributes.h"
#include "toolkit/richhint/rich_hint_delegate.h"
#include "toolkit/richhint/rich_hint_shared.h"

namespace {
const int c_vOffsetLimit = 32767;
}

t_wndRichHintImage::t_wndRichHintImage(t_wndRichHintDelegate* owner) : t_wndRichHintElement(e_image, owner)
{
    picture.Init();
}

t_wndRichHintImage::~t_wndRichHintImage() { picture.Release(); }

void t_wndRichHintImage::ParseAttributes(const wchar_t* token, int length, HMODULE module)
{
    ReadAttributes(token, length, false, [&](const t_str& name, const t_str& value) {
        if (name.Equals(L"id"))
            id = RichHintQuoted(value);
        else if (name.Equals(L"type"))
            type = RichHintInt(value);
        else if (name.Equals(L"voffset"))
            vOffset = RichHintInt(value);
    });
    // Kept within screen distances so that adding it to coordinates cannot overflow.
    if (vOffset > c_vOffsetLimit)
        vOffset = c_vOffsetLimit;
    else if (vOffset < -c_vOffsetLimit)
        vOffset = -c_vOffsetLimit;
    if (!id.IsEmpty()) {
        picture.Release();
        loaded = picture.LoadResource(module, id.c_str());
        if (!loaded)
            picture.Init();
    }
}

void t_wndRichHintImage::Measure(t_paintCtx&, SIZE& size)
{
    size = {0, 0};
    if (loaded) {
        int w = 0, h = 0;
        RichHintPictureSize(picture, w, h);
        size = {type == c_buttonStrip ? w / 3 : w, h};
    }
    SetMeasured(size);
}

void t_wndRichHintImage::Paint(t_paintCtx& context, POINT origin, SIZE cellSize)
{
    if (!loaded)
        return;
    RECT rect;
    GetRectInRow(origin, cellSize, rect);
    int w = 0, h = 0;
    RichHintPictureSize(picture, w, h);
    int partX = 0;
    if (type == c_buttonStrip) {
        w /= 3;
        partX = pressed ? 2 * w : hover ? w : 0;
    }
    DrawRichHintPicturePart(context, picture, partX, w, h, rect.left, rect.top + vOffset);
}

bool t_wndRichHintImage::OnMouseMove(POINT, POINT)
{
    if (type != c_buttonStrip)
        return false;
    if (!hover) {
        hover = true;
        pressed = false;
        if (delegate)
            delegate->Redraw();
    }
    return false;
}

bool t_wndRichHintImage::OnLButtonDown(POINT, POINT)
{
    if (type != c_buttonStrip)
        return false;
    pressed = true;
    if (delegate)
        delegate->Redraw();
    return true;
}

bool t_wndRichHintImage::OnLButtonUp(POINT, POINT)
{
    if (type != c_buttonStrip)
        return false;
    if (pressed && delegate) {
        pressed = false;
        delegate->OnImageClick();
    }
    return true;
}

bool t_wndRichHintImage::OnLeave()
{
    if (type != c_buttonStrip)
        return false;
    hover = false;
    pressed = false;
    if (delegate)
        delegate->Redraw();
    return true;
}
