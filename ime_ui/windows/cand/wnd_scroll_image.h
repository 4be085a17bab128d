// A picture shown inside an element at an offset that can be scrolled a little past
// either end, fading out towards the element's right edge. The candidate string uses it
// for pictures wider than its row.
#pragma once

#include <windows.h>

#include "graphics/image/image.h"
#include "toolkit/controls/wnd_base.h"

class t_renderImage;

// How far the picture may be pulled beyond either end.
const int c_scrollOvershoot = 10;

// The offset range along one axis: [-overshoot, max(picture - view, 0, start) + overshoot].
int ClampScrollOffset(int offset, int pictureSize, int viewSize, int start);

class t_wndScrollImage : public t_wndBase {
public:
    t_wndScrollImage();
    ~t_wndScrollImage() override;

    // Takes the bitmap (owned from here on) with a start offset; the scroll delta is 0.
    void SetImage(HBITMAP bitmap, int x, int y);
    // Sets the scroll delta, kept so that the offset stays in range for the element's size.
    void SetScrollDelta(int dx, int dy);
    // Keeps the current offset in range; the delta follows the clamped offset.
    void ClampScroll();
    // The part of the picture shown for the current offset and element size (the width or
    // height may be 0 or less when the offset is past the picture).
    RECT VisiblePart() const;

    void Paint_Layout(t_paintCtx& context) override;
    // At most the picture's size.
    void SetSize(int width, int height) override;
    void Destroy() override;
    // The element's node holds a picture node that paints the composed picture.
    t_layoutWnd* CreateLayout() override;

    t_image source;    // owns the bitmap
    RECT visiblePart;  // of the last paint
    SIZE pictureSize;
    POINT start;
    POINT delta;
    t_image composed;       // owns the faded bitmap of the last paint
    t_renderImage* render;  // owned by the layout

protected:
    // The picture node lives in the element's own node.
    void OnLayoutGone(t_layout* node) override;

private:
    void ReleaseImages();
};
