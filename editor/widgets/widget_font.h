// The font of the editor's own widgets (path fields, colour fields, button-state rows):
// the face and point size of the dialog templates they sit in, asked for by character
// height (a negative lfHeight) as the dialog manager asks, so that their text is as tall
// as the dialogs' own. A positive height would be a cell height, some pixels shorter.
#pragma once

#include <windows.h>

namespace n_widgetFont {
// The dialog templates' "FONT 9, ..." line.
const int c_pointSize = 9;
extern const wchar_t c_face[];

// The lfHeight of a point size on a device of dpi pixels per inch: negative, so that
// the font's characters, not its cells, have that size.
int HeightForPoints(int pointSize, int dpi);
// Made once from the screen's resolution and kept for the process; every widget shares it.
HFONT Shared();
}  // namespace n_widgetFont
