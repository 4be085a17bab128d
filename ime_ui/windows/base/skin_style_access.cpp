#include "ime_ui/windows/base/skin_style_access.h"

#include "ime_ui/skin/ui_skin_data.h"
#include "toolkit/controls/wnd_text_item.h"

bool SkinStyleColour(const t_uiSkinData* skin, int index, uint32_t& colour)
{
    const t_skinTextStyle* style = skin ? skin->GetTextStylePtr(index) : nullptr;
    if (!style || !style->color)
        return false;
    colour = *style->color;
    return true;
}

t_font* SkinStyleFont(const t_uiSkinData* skin, int index)
{
    const t_skinTextStyle* style = skin ? skin->GetTextStylePtr(index) : nullptr;
    return style ? style->font : nullptr;
}

bool SkinItemStyle(const t_uiSkinData* skin, int index, t_textItemStyle& out)
{
    const t_skinTextStyle* style = skin ? skin->GetTextStylePtr(index) : nullptr;
    if (!style)
        return false;
    out.textColor = style->color ? *style->color : 0;
    out.backColor = style->color2 ? *style->color2 : 0;
    out.hasBackColor = style->color2 != nullptr;
    out.shadowColor = static_cast<uint32_t>(style->reserved);
    out.font = style->font;
    return true;
}
