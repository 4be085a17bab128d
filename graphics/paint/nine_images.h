// Nine-part pictures: corners at their size, edges stretched (or tiled) along one axis,
// the centre along both.
#pragma once

#include <windows.h>

#include "graphics/image/image.h"

class t_paintCtx;

struct t_insets {
    int left, right, top, bottom;
};

struct t_imageSet9 {
    enum t_cell {
        e_topLeft,
        e_top,
        e_topRight,
        e_left,
        e_centre,
        e_right,
        e_bottomLeft,
        e_bottom,
        e_bottomRight,
        e_cellCount
    };

    t_image cells[e_cellCount];

    // Cuts a source into the nine cells (keys none); the cells point at the source and do
    // not own it. Insets are cut to the picture and a cell that would be empty or negative
    // is empty (draws nothing).
    static void SetFromSource(t_imageSource* source, t_imageSet9& set, const t_insets& insets);
    // The same over a bitmap (0 x 0 takes its size), with the keys, the given fill mode on
    // the stretched axis of the edges and the centre, and has-alpha set in every cell. The
    // cells share the bitmap: the caller releases it once.
    static void SetFromBitmap(t_imageSet9& set, HBITMAP bitmap, const t_insets& insets, int width, int height,
                              uint32_t key1, uint32_t key2, int edgeModeH, int edgeModeV);
    // Corner columns and rows at the corner cells' sizes, the rest to the middle; each cell
    // drawn at alpha 255. False only when no source DC could be made.
    static bool Draw(t_paintCtx& context, t_imageSet9& set, int x, int y, int width, int height);
};
