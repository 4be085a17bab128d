// The layout node of one fixed size that draws one picture at that size: a picture placed
// in a layout by itself, with no window element behind it. A leaf: it has no children.
#pragma once

#include "graphics/layout/layout.h"

struct t_image;

class t_layoutFixedImage : public t_layout {
public:
    // image is not owned and must outlive the node; it may be null (the node then draws
    // nothing). A negative width or height takes the picture's part size.
    explicit t_layoutFixedImage(t_image* image, int width = -1, int height = -1);

    // The fixed size.
    SIZE GetSize() override { return m_size; }
    // The fixed size at the current left/top; both dimensions are fixed.
    int Measure(t_paintCtx* context) override;
    void Prepare() override {}
    RECT GetChildRect(t_layout*) override { return RECT{0, 0, 0, 0}; }
    // The picture at the fixed size from the node's left/top (moved by offset).
    void Paint(t_paintCtx& context, const POINT* offset) override;
    // This node when the point is inside the picture's box.
    t_layout* FindNodeAt(int x, int y) override;
    // The picture's shape at the fixed size, relative to the node; null without a picture.
    HRGN GetRegion(HDC dc) override;
    // Inside the picture's box; out receives the picture pixel under the point.
    bool HitTest(POINT point, POINT* out) override;

    // Replaces the picture and the size (negative: the picture's part size).
    void SetImage(t_image* image, int width = -1, int height = -1);
    t_image* GetImage() const { return m_image; }
    // The picture's box: the node's left/top and the fixed size.
    RECT ImageRect() const;

private:
    t_image* m_image = nullptr;
    SIZE m_size = {0, 0};
};
