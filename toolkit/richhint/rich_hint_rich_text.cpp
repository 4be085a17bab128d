#include "toolkit/richhint/rich_hint_rich_text.h"

#include <cwchar>

#include "graphics/paint/paint_ctx.h"
#include "graphics/text/font.h"
#include "toolkit/richhint/rich_hint_attributes.h"
#include "toolkit/richhint/rich_hint_shared.h"

namespace {
const int c_faceLimit = 31;
}  // namespace

t_wndRichHintRichText::t_wndRichHintRichText(t_wndRichHintDelegate* owner) : t_wndRichHintElement(e_styledText, owner)
{}

t_wndRichHintRichText::~t_wndRichHintRichText() { t_font::Release(font); }

void t_wndRichHintRichText::ParseAttributes(const wchar_t* token, int length, HMODULE)
{
    t_str face(L"宋体");
    int height = 12;
    bool bold = false, italic = false;
    ReadAttributes(token, length, true, [&](const t_str& name, const t_str& value) {
        if (name.Equals(L"text")) {
            text = RichHintQuoted(value);
        } else if (name.Equals(L"fontname")) {
            face = RichHintQuoted(value);
        } else if (name.Equals(L"fontsize")) {
            height = RichHintInt(value);
        } else if (name.Equals(L"fontcolor")) {
            color = RichHintColor(value);
            hasColor = true;
        } else if (name.Equals(L"fontstyle")) {
            const t_str styles = RichHintQuoted(value);
            itl::ImmSimpleArray<t_str> list;
            SplitRichHintPieces(styles.c_str(), styles.Length(), L',', false, list);
            for (int s = 0; s < list.Count(); ++s) {
                bold = bold || list[s].EqualsNoCase(L"bold");
                italic = italic || list[s].EqualsNoCase(L"italic");
            }
        }
    });
    logFont = LOGFONTW{};
    logFont.lfHeight = height;
    logFont.lfWeight = bold ? FW_BOLD : FW_NORMAL;
    logFont.lfItalic = italic ? TRUE : FALSE;
    logFont.lfCharSet = DEFAULT_CHARSET;
    logFont.lfQuality = 6;
    const int faceLength = face.Length() < c_faceLimit ? face.Length() : c_faceLimit;
    wmemcpy(logFont.lfFaceName, face.c_str(), faceLength);
    logFont.lfFaceName[faceLength] = 0;
    t_font::Release(font);
    font = nullptr;
    t_font::Create(logFont, font, false);
}

void t_wndRichHintRichText::Measure(t_paintCtx& context, SIZE& size)
{
    size = MeasureRichHintText(context, text.c_str(), text.Length(), font);
    SetMeasured(size);
}

void t_wndRichHintRichText::Paint(t_paintCtx& context, POINT origin, SIZE cellSize)
{
    RECT rect;
    GetRectInRow(origin, cellSize, rect);
    const uint32_t drawColor = hasColor ? color : c_richHintTextColor;
    context.DrawText(text.c_str(), text.Length(), &rect, font, &drawColor, nullptr,
                     static_cast<UINT>(align) | DT_VCENTER | DT_SINGLELINE, 255);
}
