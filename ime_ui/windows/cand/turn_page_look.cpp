#include "ime_ui/windows/cand/turn_page_look.h"

#include "ime_ui/skin/ui_skin_data.h"

t_turnPageLook ReadTurnPageLook(const t_uiSkinData* skin)
{
    t_turnPageLook look = {false, 0xFFFFFFFFu, 0.0};
    if (!skin)
        return look;
    const t_skinTextStyle* arrow = skin->GetTextStylePtr(c_turnPageArrowStyle);
    look.stylesPresent = arrow && skin->GetTextStylePtr(c_turnPageCompanionStyle);
    if (arrow && arrow->color)
        look.color = *arrow->color;
    look.scale = skin->ZoomOn() ? skin->ZoomFactor() : 0.0;
    return look;
}
