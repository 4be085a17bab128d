#include "ime_ui/windows/skin_style_access.h"

#include "ime_ui/skin/ui_skin_data.h"

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
