// Renderers painting into 32-bit buffers: gradients and double frames opaque on alpha
// targets, frame flags, lines, the image's hit mask, and the render node's walks.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "graphics/layout/layout_render.h"
#include "graphics/layout/render.h"
#include "graphics/paint/solid_draw.h"
#include "tests/support/paint_surface.h"

namespace {

uint8_t AlphaOf(uint32_t pixel) { return static_cast<uint8_t>(pixel >> 24); }
uint8_t RedOf(uint32_t pixel) { return static_cast<uint8_t>(pixel >> 16); }
uint8_t BlueOf(uint32_t pixel) { return static_cast<uint8_t>(pixel); }

// Counts the paints that reach it.
class t_countingRender : public t_render {
public:
    void Paint(t_paintCtx&, const RECT& rect) override
    {
        ++paints;
        last = rect;
    }
    void PaintDC(HDC, const RECT&) override { ++paints; }
    bool HitTest(int x, int y) override { return x == 2 && y == 3; }
    HRGN GetRegion(HDC, int width, int height) override { return CreateRectRgn(0, 0, width, height); }
    bool MapPoint(POINT point, SIZE, POINT* out) override
    {
        if (out)
            *out = point;
        return true;
    }
    int paints = 0;
    RECT last{};
};

TEST(RenderGradient, IsOpaqueOnAlphaTargetsAndRunsAlongItsAxis)
{
    struct t_case {
        int flags;
        bool alongX;
    } const cases[] = {{0, true}, {t_renderGradient::e_vertical, false}};
    for (const t_case& c : cases) {
        t_testSurface surface(40, 30, true);
        t_renderGradient gradient(RGB(255, 0, 0), RGB(0, 0, 255), c.flags);
        gradient.Paint(surface.Paint(), RECT{5, 4, 35, 24});
        EXPECT_EQ(30 * 20, surface.CountAlpha());
        const RECT bounds = surface.AlphaBounds();
        EXPECT_EQ(5, bounds.left);
        EXPECT_EQ(24, bounds.bottom);
        for (int y = 4; y < 24; ++y) {
            for (int x = 5; x < 35; ++x)
                ASSERT_EQ(255, AlphaOf(surface.At(x, y))) << x << "," << y;
        }
        const uint32_t first = surface.At(5, 4);
        const uint32_t last = c.alongX ? surface.At(34, 4) : surface.At(5, 23);
        EXPECT_GT(RedOf(first), 200);
        EXPECT_LT(BlueOf(first), 50);
        EXPECT_GT(BlueOf(last), 200);
        EXPECT_LT(RedOf(last), 50);
    }
}

TEST(RenderGradient, DisabledPaintsNothingAndTheClipHolds)
{
    t_testSurface surface(20, 20, true);
    t_renderGradient disabled(RGB(255, 255, 255), RGB(255, 255, 255), t_renderGradient::e_disabled);
    disabled.Paint(surface.Paint(), RECT{0, 0, 20, 20});
    disabled.PaintDC(surface.Dc(), RECT{0, 0, 20, 20});
    EXPECT_EQ(0, surface.CountAlpha());

    HRGN clip = CreateRectRgn(0, 0, 10, 20);
    SelectClipRgn(surface.Dc(), clip);
    DeleteObject(clip);
    t_renderGradient gradient(RGB(0, 255, 0), RGB(0, 255, 0), 0);
    gradient.Paint(surface.Paint(), RECT{0, 0, 20, 20});
    SelectClipRgn(surface.Dc(), nullptr);
    EXPECT_EQ(10 * 20, surface.CountAlpha());
    EXPECT_EQ(10, surface.AlphaBounds().right);
}

TEST(RenderFrameEx, BothBordersAndTheGradientAreOpaqueOnAlphaTargets)
{
    struct t_case {
        int mode;
        bool interior;
    } const cases[] = {{t_renderFrameEx::e_gradientOne, true}, {t_renderFrameEx::e_gradientTwo, true}, {7, false}};
    for (const t_case& c : cases) {
        t_testSurface surface(30, 30, true);
        t_renderFrameEx frame;
        frame.outerColor = RGB(255, 0, 0);
        frame.innerColor = RGB(0, 0, 255);
        frame.gradientA = RGB(0, 255, 0);
        frame.gradientB = RGB(0, 255, 0);
        frame.gradientC = RGB(0, 255, 0);
        frame.gradientMode = c.mode;
        frame.Paint(surface.Paint(), RECT{2, 2, 22, 26});
        EXPECT_EQ(0xFFFF0000u, surface.At(2, 2)) << c.mode;
        EXPECT_EQ(0xFFFF0000u, surface.At(21, 25)) << c.mode;
        EXPECT_EQ(0xFF0000FFu, surface.At(3, 3)) << c.mode;
        EXPECT_EQ(0xFF0000FFu, surface.At(20, 12)) << c.mode;
        const int ring = 2 * (20 + 24) - 4 + 2 * (18 + 22) - 4;
        EXPECT_EQ(c.interior ? 20 * 24 : ring, surface.CountAlpha()) << c.mode;
        if (c.interior) {
            EXPECT_EQ(0xFF00FF00u, surface.At(4, 4)) << c.mode;
            EXPECT_EQ(0xFF00FF00u, surface.At(19, 23)) << c.mode;
        }
    }
}

TEST(RenderFrame, AlphaTargetsGetAPlainFillAndFlagsPaintNothing)
{
    t_testSurface surface(20, 20, true);
    t_renderFrame frame;
    frame.borderColor = RGB(255, 0, 0);
    frame.fillColor = RGB(0, 0, 255);
    frame.Paint(surface.Paint(), RECT{1, 1, 11, 11});
    EXPECT_EQ(100, surface.CountAlpha());
    EXPECT_EQ(0xFF0000FFu, surface.At(1, 1));  // fill colour to the edge: no border drawn

    for (int flags : {t_renderFrame::e_fillOnly, t_renderFrame::e_borderOnly}) {
        t_testSurface other(20, 20, true);
        frame.flags = flags;
        frame.Paint(other.Paint(), RECT{1, 1, 11, 11});
        EXPECT_EQ(0, other.CountAlpha()) << flags;
    }
}

TEST(RenderFrame, BorderOnlyNeverPaintsTheInnerRenderer)
{
    t_testSurface surface(20, 20, false);
    t_renderFrame frame;
    t_countingRender* inner = new t_countingRender;
    frame.innerRender.reset(inner);
    frame.borderColor = RGB(255, 0, 0);
    frame.flags = t_renderFrame::e_borderOnly;
    frame.PaintDC(surface.Dc(), RECT{0, 0, 10, 10});
    EXPECT_EQ(0, inner->paints);
    EXPECT_EQ(0xFF0000u, surface.At(0, 0) & 0xFFFFFF);
    EXPECT_EQ(0u, surface.At(5, 5) & 0xFFFFFF);

    frame.flags = 0;
    frame.PaintDC(surface.Dc(), RECT{0, 0, 10, 10});
    EXPECT_EQ(1, inner->paints);
    EXPECT_EQ(1, inner->last.left);
    EXPECT_EQ(9, inner->last.bottom);
}

TEST(RenderLine, DrawsAcrossTheMiddleOfItsRectangle)
{
    t_pen* pen = nullptr;
    ASSERT_TRUE(t_pen::Create(pen, RGB(0, 0, 255)));
    t_testSurface surface(20, 20, true);
    t_renderLine line;
    line.Paint(surface.Paint(), RECT{0, 0, 10, 10});  // no pen: nothing
    EXPECT_EQ(0, surface.CountAlpha());
    line.pen = pen;
    line.Paint(surface.Paint(), RECT{2, 4, 12, 10});
    EXPECT_EQ(255, AlphaOf(surface.At(2, 7)));
    EXPECT_EQ(255, AlphaOf(surface.At(11, 7)));
    EXPECT_EQ(0, AlphaOf(surface.At(5, 6)));
    line.orientation = t_renderLine::e_vertical;
    line.Paint(surface.Paint(), RECT{2, 4, 12, 10});
    EXPECT_EQ(255, AlphaOf(surface.At(7, 4)));
    EXPECT_EQ(0, AlphaOf(surface.At(6, 5)));
    t_pen::Release(pen);
}

TEST(RenderImage, HitMaskIsRebuiltOnlyForANewSizeOrANewPicture)
{
    // Left half opaque, right half transparent.
    std::vector<uint32_t> pixels(8 * 8, 0);
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 4; ++x)
            pixels[y * 8 + x] = 0xFF102030u;
    }
    t_imageSource* source = nullptr;
    ASSERT_TRUE(t_imageSource::CreateFromPixels(1, pixels.data(), 8, 8, source, 0, nullptr));
    t_renderImage render;
    render.image.SetPart(source, 0, 0, c_noColorKey, c_noColorKey, 8, 8, t_image::e_stretch, t_image::e_stretch, false);
    t_testSurface surface(32, 32, true);
    render.Paint(surface.Paint(), RECT{0, 0, 8, 8});
    EXPECT_TRUE(render.HitTest(1, 1));
    EXPECT_FALSE(render.HitTest(6, 1));
    EXPECT_EQ(0, render.dirty);

    render.hitMask.Clear();  // a stale mask stays while size and picture are unchanged
    render.Paint(surface.Paint(), RECT{8, 8, 16, 16});
    EXPECT_FALSE(render.HitTest(1, 1));
    render.Paint(surface.Paint(), RECT{0, 0, 16, 16});
    EXPECT_EQ(16, render.hitMask.width);
    EXPECT_TRUE(render.HitTest(1, 1));
    EXPECT_FALSE(render.HitTest(6, 1));
    render.hitMask.Clear();
    render.dirty = 1;  // a replaced picture
    render.Paint(surface.Paint(), RECT{0, 0, 16, 16});
    EXPECT_TRUE(render.HitTest(1, 1));

    POINT pixel{};
    EXPECT_TRUE(render.MapPoint(POINT{15, 15}, SIZE{16, 16}, &pixel));
    EXPECT_EQ(7, pixel.x);

    // The plain-DC path draws the picture too and keeps the mask rule.
    t_testSurface plain(32, 32, false);
    render.PaintDC(plain.Dc(), RECT{10, 10, 18, 18});
    EXPECT_EQ(8, render.hitMask.width);
    EXPECT_EQ(0x102030u, plain.At(10, 10) & 0xFFFFFF);
    EXPECT_EQ(0u, plain.At(16, 10) & 0xFFFFFF);

    // The region holds the opaque half.
    HRGN region = render.GetRegion(plain.Dc(), 8, 8);
    ASSERT_NE(nullptr, region);
    EXPECT_TRUE(PtInRegion(region, 3, 7));
    EXPECT_FALSE(PtInRegion(region, 4, 0));
    DeleteObject(region);
    t_imageSource::Destroy(source);
}

TEST(LayoutRender, PaintsAtTheOffsetAndAsksItsRendererRelativeToTheNode)
{
    t_countingRender* render = new t_countingRender;
    t_layoutRender node{std::unique_ptr<t_render>(render)};
    node.SetMinSize(6, 7);
    node.SetRect(10, 20, 100, 100);
    EXPECT_EQ(0, node.Measure(nullptr));
    EXPECT_EQ(16, node.rect.right);
    EXPECT_EQ(27, node.rect.bottom);

    t_testSurface surface(4, 4, true);
    const POINT offset{-10, -20};
    node.Paint(surface.Paint(), &offset);
    EXPECT_EQ(0, render->last.left);
    EXPECT_EQ(7, render->last.bottom);

    EXPECT_EQ(&node, node.FindNodeAt(12, 23));
    EXPECT_EQ(nullptr, node.FindNodeAt(13, 23));
    POINT out{};
    EXPECT_TRUE(node.HitTest(POINT{15, 26}, &out));
    EXPECT_EQ(5, out.x);
    EXPECT_EQ(6, out.y);
    EXPECT_FALSE(node.HitTest(POINT{16, 26}, &out));
    HRGN region = node.GetRegion(nullptr);
    RECT box{};
    GetRgnBox(region, &box);
    EXPECT_EQ(6, box.right);
    EXPECT_EQ(7, box.bottom);
    DeleteObject(region);

    t_layoutRender empty;
    EXPECT_EQ(nullptr, empty.FindNodeAt(0, 0));
    EXPECT_FALSE(empty.HitTest(POINT{0, 0}, nullptr));
    EXPECT_EQ(nullptr, empty.GetRegion(nullptr));
}

}  // namespace
