#include "graphics/paint/nine_images.h"

#include <algorithm>

#include "graphics/paint/image_draw.h"
#include "graphics/paint/paint_ctx.h"

namespace {

// The nine rectangles of a w x h picture: column edges 0, left, d, w and row edges 0, top,
// f, h with d = w - right and f = h - bottom, insets cut to the picture.
struct t_cuts {
    int columns[4], rows[4];
};

t_cuts CutsOf(int w, int h, const t_insets& insets)
{
    const int left = std::clamp(insets.left, 0, w), top = std::clamp(insets.top, 0, h);
    const int d = std::clamp(w - insets.right, left, w), f = std::clamp(h - insets.bottom, top, h);
    return t_cuts{{0, left, d, w}, {0, top, f, h}};
}

// Fill modes of each cell: corners natural, edges and centre `edge` on their long axis.
void ModesOf(int cell, int edgeH, int edgeV, int& h, int& v)
{
    const int column = cell % 3, row = cell / 3;
    h = column == 1 ? edgeH : t_image::e_natural;
    v = row == 1 ? edgeV : t_image::e_natural;
}

}  // namespace

void t_imageSet9::SetFromSource(t_imageSource* source, t_imageSet9& set, const t_insets& insets)
{
    int w = 0, h = 0;
    if (!source || !source->GetSize(w, h)) {
        for (t_image& cell : set.cells)
            cell.SetPart(nullptr, 0, 0, c_noColorKey, c_noColorKey, 0, 0, t_image::e_natural, t_image::e_natural,
                         false);
        return;
    }
    const t_cuts cuts = CutsOf(w, h, insets);
    for (int cell = 0; cell < e_cellCount; ++cell) {
        const int c = cell % 3, r = cell / 3;
        int modeH, modeV;
        ModesOf(cell, t_image::e_stretch, t_image::e_stretch, modeH, modeV);
        set.cells[cell].SetPart(source, cuts.columns[c], cuts.rows[r], c_noColorKey, c_noColorKey,
                                cuts.columns[c + 1] - cuts.columns[c], cuts.rows[r + 1] - cuts.rows[r], modeH, modeV,
                                false);
    }
}

void t_imageSet9::SetFromBitmap(t_imageSet9& set, HBITMAP bitmap, const t_insets& insets, int width, int height,
                                uint32_t key1, uint32_t key2, int edgeModeH, int edgeModeV)
{
    if (width == 0 && height == 0)
        BitmapSizeOf(bitmap, width, height);
    const t_cuts cuts = CutsOf(std::max(width, 0), std::max(height, 0), insets);
    for (int cell = 0; cell < e_cellCount; ++cell) {
        const int c = cell % 3, r = cell / 3;
        int modeH, modeV;
        ModesOf(cell, edgeModeH, edgeModeV, modeH, modeV);
        t_image& image = set.cells[cell];
        image.SetBitmap(bitmap, cuts.columns[c], cuts.rows[r], key1, key2, cuts.columns[c + 1] - cuts.columns[c],
                        cuts.rows[r + 1] - cuts.rows[r], modeH, modeV, false);
        image.hasAlpha = 1;
    }
}

bool t_imageSet9::Draw(t_paintCtx& context, t_imageSet9& set, int x, int y, int width, int height)
{
    const int columns[3] = {set.cells[e_topLeft].partWidth, 0, set.cells[e_topRight].partWidth};
    const int rows[3] = {set.cells[e_topLeft].partHeight, 0, set.cells[e_bottomLeft].partHeight};
    // A middle at or below 0 (a target smaller than its corners) draws nothing.
    const int middleWidth = width - columns[0] - columns[2];
    const int middleHeight = height - rows[0] - rows[2];
    t_blitContext blit = {};
    blit.dest = context.Dc();
    blit.source = CreateCompatibleDC(context.Dc());
    if (!blit.source)
        return false;
    blit.alpha = 255;
    blit.blend = context.IsAlphaTarget() ? 1 : 0;
    blit.borrowed = 1;
    if (t_memDC* target = context.Target()) {
        if (target->bits) {
            blit.targetPixels = target->Pixels();
            blit.targetWidth = target->width;
            blit.targetHeight = target->height;
        }
    }
    FindPixelTarget(blit);
    int top = y;
    for (int r = 0; r < 3; ++r) {
        const int h = r == 1 ? middleHeight : rows[r];
        int left = x;
        for (int c = 0; c < 3; ++c) {
            const int w = c == 1 ? middleWidth : columns[c];
            t_blitContext cell = blit;
            cell.x = left;
            cell.y = top;
            cell.width = w;
            cell.height = h;
            set.cells[r * 3 + c].Blit(cell);
            left += w;
        }
        top += h;
    }
    return DeleteDC(blit.source) != 0;
}
