// Renderers: painters of one rectangle (a picture, a frame, a gradient or a line), placed
// in the layout tree through render nodes. Owners set the fields directly.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>

#include "graphics/image/image.h"
#include "graphics/paint/hit_mask.h"

class t_paintCtx;
struct t_pen;

class t_render {
public:
    enum t_kind : int {
        e_kindPlain = 0,
        e_kindFrame = 1,
        e_kindGradient = 2,
        e_kindImage = 3,
        e_kindLine = 4,
        e_kindFrameEx = 5,
    };

    t_render() = default;
    virtual ~t_render() = default;
    t_render(const t_render&) = delete;
    t_render& operator=(const t_render&) = delete;

    // Paints into rect of a paint context (alpha-correct on alpha targets).
    virtual void Paint(t_paintCtx& context, const RECT& rect) = 0;
    // Paints into rect of a plain DC.
    virtual void PaintDC(HDC dc, const RECT& rect) = 0;
    // Whether the point (relative to the painted rectangle) answers the mouse.
    virtual bool HitTest(int x, int y) = 0;
    // The painted shape as a region of width x height; null for none. The caller owns it.
    virtual HRGN GetRegion(HDC, int, int) { return nullptr; }
    virtual int GetKind() const { return e_kindPlain; }
    // The picture pixel that point of a rectangle of size shows; false for none.
    virtual bool MapPoint(POINT, SIZE, POINT*) { return false; }

    uint32_t color = 0xFFFFFFFFu;  // carried for the owner
    uint8_t dirty = 1;             // the hit mask must be rebuilt before the next paint
    uint8_t keepHitMask = 1;       // keep a hit mask of the painted picture
    int32_t user1 = 0, user2 = 0;  // carried for the owner
    t_hitMask hitMask;
};

class t_renderImage : public t_render {
public:
    t_renderImage();
    ~t_renderImage() override;

    void Paint(t_paintCtx& context, const RECT& rect) override;
    void PaintDC(HDC dc, const RECT& rect) override;
    bool HitTest(int x, int y) override { return hitMask.Test(x, y); }
    HRGN GetRegion(HDC dc, int width, int height) override;
    int GetKind() const override { return e_kindImage; }
    bool MapPoint(POINT point, SIZE size, POINT* out) override;

    t_image image;
    int alpha = 255;

private:
    // Rebuilds the hit mask when it is kept and stale for a rectangle of this size.
    void RefreshHitMask(int width, int height);
};

class t_renderFrame : public t_render {
public:
    enum : int {
        e_fillOnly = 1,
        e_borderOnly = 2,
    };
    ~t_renderFrame() override;

    void Paint(t_paintCtx& context, const RECT& rect) override;
    void PaintDC(HDC dc, const RECT& rect) override;
    bool HitTest(int, int) override { return true; }
    int GetKind() const override { return e_kindFrame; }

    uint32_t borderColor = 0xFFFFFFFFu;
    uint32_t fillColor = 0xFFFFFFFFu;
    int flags = 0;
    std::unique_ptr<t_render> innerRender;  // painted inside the border
};

class t_renderGradient : public t_render {
public:
    enum : int {
        e_vertical = 1,
        e_disabled = 2,
    };
    t_renderGradient() = default;
    t_renderGradient(COLORREF from, COLORREF to, int flagBits) : color1(from), color2(to), flags(flagBits) {}

    // On alpha targets the gradient is opaque, as GDI draws it.
    void Paint(t_paintCtx& context, const RECT& rect) override;
    void PaintDC(HDC dc, const RECT& rect) override;
    bool HitTest(int, int) override { return false; }
    int GetKind() const override { return e_kindGradient; }

    COLORREF color1 = 0, color2 = 0;
    int flags = 0;
};

class t_renderFrameEx : public t_render {
public:
    enum : int {
        e_gradientOne = 0,  // one vertical gradient from A to B
        e_gradientTwo = 1,  // A to B over the top half, B to C over the bottom half
    };

    // On alpha targets the frame and its gradient are opaque, as GDI draws them.
    void Paint(t_paintCtx& context, const RECT& rect) override;
    void PaintDC(HDC dc, const RECT& rect) override;
    bool HitTest(int, int) override { return true; }
    int GetKind() const override { return e_kindFrameEx; }

    COLORREF outerColor = 0, innerColor = 0;
    COLORREF gradientA = 0, gradientB = 0, gradientC = 0;
    int gradientMode = 0;
};

class t_renderLine : public t_render {
public:
    enum : int {
        e_horizontal = 0,
        e_vertical = 1,
    };

    void Paint(t_paintCtx& context, const RECT& rect) override;
    void PaintDC(HDC dc, const RECT& rect) override;
    bool HitTest(int, int) override { return false; }
    int GetKind() const override { return e_kindLine; }

    const t_pen* pen = nullptr;  // not owned
    int orientation = e_horizontal;
};
