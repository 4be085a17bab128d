// Drawing resources every rich-hint element shares, made on first use and kept for the
// process: the three fonts, the default colours and the three control pictures.
#pragma once

#include <cstdint>

#include "graphics/image/image.h"

struct t_font;

const uint32_t c_richHintTextColor = 0xFF000000u;
const uint32_t c_richHintLinkColor = 0xFFFF0000u;

struct t_richHintShared {
    t_font* normal;
    t_font* underlined;
    t_font* bold;
    // Loaded from the resource library on first use; an empty record when missing.
    t_image buttonPicture;  // three states side by side: normal, hover, pressed
    t_image radioPicture;   // four state cells side by side
    t_image checkPicture;   // four square states side by side
    bool buttonTried, radioTried, checkTried;

    // The process-wide instance; the fonts are made on the first call.
    static t_richHintShared& Get();
    t_image& ButtonPicture();
    t_image& RadioPicture();
    t_image& CheckPicture();
};

// Single-line size of text[0..length) in font, as every element measures it; 0 x 0 when it
// cannot be measured.
SIZE MeasureRichHintText(t_paintCtx& context, const wchar_t* text, int length, const t_font* font);
// The size of a picture record's part; 0 x 0 for an empty record.
void RichHintPictureSize(const t_image& picture, int& width, int& height);
// Draws the part (x, 0, width, height) of a picture at its natural size.
void DrawRichHintPicturePart(t_paintCtx& context, const t_image& picture, int partX, int width, int height, int x,
                             int y);
