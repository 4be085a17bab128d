// What a layout node needs of the window element bound to it. The toolkit's element
// implements this; the graphics layer never sees the toolkit itself.
#pragma once

#include <windows.h>

class t_paintCtx;

class i_element {
public:
    // The element's measure value: bit 0 width fixed, bit 1 height fixed, 0 stretches.
    virtual int Measure(HDC dc) = 0;
    // Paints the element through its own layout node.
    virtual void Paint_Layout(t_paintCtx& context) = 0;
    // The element's share of the window region, owned by the caller; null for none.
    virtual HRGN GetRegion() = 0;

    // The element rectangle itself (not its layout's), in the top window's coordinates.
    virtual RECT GetElementRect() const = 0;
    // A hidden element measures to an empty size.
    virtual bool IsElementVisible() const = 0;
    // The element's minimum width and height.
    virtual SIZE GetElementMinSize() const = 0;

protected:
    ~i_element() = default;
};
