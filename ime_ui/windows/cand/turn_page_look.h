// What the page-turn item reads of the runtime skin, kept apart from the item because the
// runtime skin's text-style record and the toolkit's share one name.
#pragma once

#include <cstdint>

class t_uiSkinData;

struct t_turnPageLook {
    bool stylesPresent;  // text styles 5 and 6 both present
    uint32_t color;      // COLORREF of style 5, -1 none
    double scale;        // zoom factor when zoom is on, else 0
};

// Text style of the arrow colour, and the one that must also exist for the arrows to show.
const int c_turnPageArrowStyle = 5;
const int c_turnPageCompanionStyle = 6;

// No skin: no styles, no colour, scale 0.
t_turnPageLook ReadTurnPageLook(const t_uiSkinData* skin);
