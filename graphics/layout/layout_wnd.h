// The layout node bound to a window element: it sizes itself from the element and paints
// the element.
#pragma once

#include "graphics/layout/element.h"
#include "graphics/layout/layout.h"

class t_layoutWnd : public t_layout {
public:
    explicit t_layoutWnd(i_element* element = nullptr) : m_element(element) {}

    SIZE GetSize() override;
    int Measure(t_paintCtx* context) override;
    void Prepare() override {}
    RECT GetChildRect(t_layout*) override { return RECT{0, 0, 0, 0}; }
    void Paint(t_paintCtx& context, const POINT* offset) override;
    HRGN GetRegion(HDC dc) override;
    int GetKind() const override { return e_kindWnd; }

    i_element* GetElement() const { return m_element; }
    void SetElement(i_element* element) { m_element = element; }

protected:
    void WatcherGone() override { m_element = nullptr; }

private:
    i_element* m_element;  // not owned
};
