// The runtime skin's text styles for items built on the toolkit's text item, whose style
// record shares its name with the skin's: this pair keeps the two headers apart.
#pragma once

#include <cstdint>

class t_uiSkinData;
struct t_font;
struct t_textItemStyle;

// The text colour of the style; false when the skin, the style or its colour is absent.
bool SkinStyleColour(const t_uiSkinData* skin, int index, uint32_t& colour);
// The font of the style, or null.
t_font* SkinStyleFont(const t_uiSkinData* skin, int index);
// The style as a text item takes it: text colour, back colour (drawn only when the skin
// gives one), the reserved word as the shadow colour, and the font. False, with `out` left
// as it was, when the skin or the style is absent.
bool SkinItemStyle(const t_uiSkinData* skin, int index, t_textItemStyle& out);
