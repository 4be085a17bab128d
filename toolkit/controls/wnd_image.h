// One picture as an element, drawn at its natural size through a picture node.
#pragma once

#include "graphics/image/image.h"
#include "toolkit/controls/wnd_base.h"

class t_layout;
class t_renderImage;

// An empty picture record as elements start with: no bitmap, natural size both ways, no
// colour keys.
void InitEmptyPicture(t_image& picture);
// The picture renderer of an element's inner node, when that node is a picture node; null
// otherwise.
t_renderImage* InnerImageRender(t_layout* layout);
// Gives an element's own node a picture node as its inner node, over the node's rectangle;
// null (the node left as it was) when it cannot be made.
t_renderImage* AttachPictureNode(t_layoutWnd& node, bool keepHitMask);

class t_wndImage : public t_wndBase {
public:
    t_wndImage();
    // Releases the picture when the element owns it (see ownsImage).
    ~t_wndImage() override;

    // Copies the picture into the picture node and paints it.
    void Paint_Layout(t_paintCtx& context) override;
    // The size of the picture's part.
    int Measure(HDC dc) override;
    // A picture node becomes the inner node of the element's own node.
    t_layoutWnd* CreateLayout() override;

    t_image image;
    // The element releases image when it goes; clear when the picture belongs to a skin.
    bool ownsImage;
};
