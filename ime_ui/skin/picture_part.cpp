#include "ime_ui/skin/picture_part.h"

#include "graphics/image/image.h"

t_partRect ClipPicturePart(int x, int y, int width, int height, int pictureWidth, int pictureHeight)
{
    t_partRect part;
    part.x = x < 0 ? 0 : (x > pictureWidth ? pictureWidth : x);
    part.y = y < 0 ? 0 : (y > pictureHeight ? pictureHeight : y);
    const int roomX = pictureWidth - part.x;
    const int roomY = pictureHeight - part.y;
    if (width == 0 && height == 0) {
        part.width = roomX;
        part.height = roomY;
    } else {
        part.width = width < 0 ? 0 : (width > roomX ? roomX : width);
        part.height = height < 0 ? 0 : (height > roomY ? roomY : height);
    }
    return part;
}

uint32_t WindowColorKey(const SkinBool& enable, const SkinColor& color)
{
    return enable.Value() && color.IsPresent() ? color.Value() : c_noColorKey;
}
