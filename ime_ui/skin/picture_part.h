// How a window's pictures are cut and keyed from what the skin file says: part rectangles
// clipped so that no pixel outside the picture is ever read, and the window colour keys.
#pragma once

#include <cstdint>

#include "ime_ui/skin/skin_value.h"

// A part rectangle of a picture.
struct t_partRect {
    int x, y, width, height;
};

// The part (x, y, width, height) of a picture of size pictureWidth x pictureHeight: the
// origin clamped into the picture, the size to what remains. A size of 0 x 0 takes
// everything from the origin on. The result may be empty.
t_partRect ClipPicturePart(int x, int y, int width, int height, int pictureWidth, int pictureHeight);

// A window's colour key: the colour when its switch is on and the colour is given.
uint32_t WindowColorKey(const SkinBool& enable, const SkinColor& color);
