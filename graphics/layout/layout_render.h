// The layout node that paints one renderer into its rectangle.
#pragma once

#include <memory>

#include "graphics/layout/layout.h"

class t_render;

class t_layoutRender : public t_layout {
public:
    t_layoutRender() = default;
    // Takes the renderer (null: none).
    explicit t_layoutRender(std::unique_ptr<t_render> render);
    ~t_layoutRender() override;

    SIZE GetSize() override { return SIZE{0, 0}; }
    // The node takes its minimum size; it stretches.
    int Measure(t_paintCtx* context) override;
    void Prepare() override {}
    RECT GetChildRect(t_layout*) override { return RECT{0, 0, 0, 0}; }
    void Paint(t_paintCtx& context, const POINT* offset) override { Paint_Layout_Render(context, offset); }
    t_layout* FindNodeAt(int x, int y) override;
    HRGN GetRegion(HDC dc) override;
    bool HitTest(POINT point, POINT* out) override;
    int GetKind() const override { return e_kindRender; }

    void Paint_Layout_Render(t_paintCtx& context, const POINT* offset);
    t_render* GetRender() const { return m_render.get(); }
    // Takes the renderer; a previous renderer is deleted.
    void SetRender(std::unique_ptr<t_render> render);

private:
    std::unique_ptr<t_render> m_render;
};
