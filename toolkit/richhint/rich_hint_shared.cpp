#include "toolkit/richhint/rich_hint_shared.h"

#include <cstring>

#include "graphics/paint/image_draw.h"
#include "graphics/paint/paint_ctx.h"
#include "graphics/text/font.h"

namespace {

t_font* MakeHintFont(int weight, bool underline)
{
    LOGFONTW logFont = {};
    logFont.lfHeight = 12;
    logFont.lfWeight = weight;
    logFont.lfUnderline = underline ? TRUE : FALSE;
    logFont.lfCharSet = DEFAULT_CHARSET;
    logFont.lfQuality = 6;
    wcscpy(logFont.lfFaceName, L"宋体");
    t_font* font = nullptr;
    t_font::Create(logFont, font, false);
    return font;
}

t_image& LoadOnce(t_image& picture, bool& tried, const wchar_t* name)
{
    if (!tried) {
        tried = true;
        if (!picture.LoadResource(nullptr, name))
            picture.Init();
    }
    return picture;
}

}  // namespace

t_richHintShared& t_richHintShared::Get()
{
    static t_richHintShared* shared = [] {
        t_richHintShared* made = new t_richHintShared;
        made->normal = MakeHintFont(FW_NORMAL, false);
        made->underlined = MakeHintFont(FW_NORMAL, true);
        made->bold = MakeHintFont(FW_BOLD, false);
        made->buttonPicture.Init();
        made->radioPicture.Init();
        made->checkPicture.Init();
        made->buttonTried = made->radioTried = made->checkTried = false;
        return made;
    }();
    return *shared;
}

t_image& t_richHintShared::ButtonPicture() { return LoadOnce(buttonPicture, buttonTried, L"IDR_HINTBUTTON"); }
t_image& t_richHintShared::RadioPicture() { return LoadOnce(radioPicture, radioTried, L"IDR_HINTRADIO"); }
t_image& t_richHintShared::CheckPicture() { return LoadOnce(checkPicture, checkTried, L"IDR_HINTCHECK"); }

SIZE MeasureRichHintText(t_paintCtx& context, const wchar_t* text, int length, const t_font* font)
{
    SIZE size = {0, 0};
    if (font && !context.MeasureText(text, length, font, &size, DT_NOPREFIX | DT_NOCLIP | DT_SINGLELINE, 0))
        size = {0, 0};
    return size;
}

void RichHintPictureSize(const t_image& picture, int& width, int& height)
{
    if (picture.IsBitmapEmpty()) {
        width = height = 0;
        return;
    }
    width = picture.partWidth;
    height = picture.partHeight;
}

void DrawRichHintPicturePart(t_paintCtx& context, const t_image& picture, int partX, int width, int height, int x,
                             int y)
{
    if (picture.IsBitmapEmpty() || width <= 0 || height <= 0)
        return;
    t_image part = picture;
    part.partX = picture.partX + partX;
    part.partWidth = width;
    part.partHeight = height;
    DrawImageNatural(part, context, x, y, width, height, 255);
}
