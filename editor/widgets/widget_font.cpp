#include "editor/widgets/widget_font.h"

#include <cwchar>

namespace n_widgetFont {
const wchar_t c_face[] = L"宋体";

int HeightForPoints(int pointSize, int dpi) { return -MulDiv(pointSize, dpi, 72); }

namespace {
HFONT MakeShared()
{
    int dpi = 96;
    if (const HDC screen = GetDC(nullptr)) {
        dpi = GetDeviceCaps(screen, LOGPIXELSY);
        ReleaseDC(nullptr, screen);
    }
    LOGFONTW font = {};
    font.lfHeight = HeightForPoints(c_pointSize, dpi > 0 ? dpi : 96);
    font.lfWeight = FW_NORMAL;
    font.lfCharSet = DEFAULT_CHARSET;
    wcscpy(font.lfFaceName, c_face);
    return CreateFontIndirectW(&font);
}
}  // namespace

HFONT Shared()
{
    static const HFONT font = MakeShared();
    return font;
}
}  // namespace n_widgetFont
