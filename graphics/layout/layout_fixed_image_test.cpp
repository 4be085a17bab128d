// The fixed-image node: its size against stretching parents, the picture it paints, and
// its box, shape and picture pixel for the mouse.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "graphics/image/image.h"
#include "graphics/layout/layout_aligned.h"
#include "graphics/layout/layout_fixed_image.h"
#include "graphics/layout/layout_grid.h"
#include "tests/support/paint_surface.h"

namespace {

const uint32_t c_opaque = 0xFF2040C0u;

// An 8 x 8 picture, its left half opaque and its right half transparent, shown stretched.
class t_halfPicture {
public:
    t_halfPicture() : m_pixels(8 * 8, 0)
    {
        for (int y = 0; y < 8; ++y) {
            for (int x = 0; x < 4; ++x)
                m_pixels[y * 8 + x] = c_opaque;
        }
        EXPECT_TRUE(t_imageSource::CreateFromPixels(1, m_pixels.data(), 8, 8, m_source, 0, nullptr));
        image.Init();
        image.SetPart(m_source, 0, 0, c_noColorKey, c_noColorKey, 8, 8, t_image::e_stretch, t_image::e_stretch, false);
    }
    ~t_halfPicture() { t_imageSource::Destroy(m_source); }
    t_halfPicture(const t_halfPicture&) = delete;
    t_halfPicture& operator=(const t_halfPicture&) = delete;

    t_image image;

private:
    std::vector<uint32_t> m_pixels;
    t_imageSource* m_source = nullptr;
};

TEST(LayoutFixedImage, MeasuresToItsFixedSizeOrThePictureSize)
{
    t_halfPicture picture;
    struct t_case {
        t_image* image;
        int width, height;
        LONG wantWidth, wantHeight;
    } const cases[] = {
        {&picture.image, 20, 12, 20, 12},  // the given size, not the picture's
        {&picture.image, -1, -1, 8, 8},    // the picture's part size
        {&picture.image, 30, -1, 30, 8},   // one of each
        {nullptr, -1, -1, 0, 0},           // no picture, no size
        {nullptr, 5, 6, 5, 6},             // an empty box still takes its room
    };
    for (const t_case& c : cases) {
        t_layoutFixedImage node(c.image, c.width, c.height);
        node.SetRect(100, 50, 400, 400);
        EXPECT_EQ(t_layout::e_fixedWidth | t_layout::e_fixedHeight, node.Measure(nullptr));
        EXPECT_EQ(c.wantWidth, node.GetSize().cx);
        EXPECT_EQ(c.wantHeight, node.GetSize().cy);
        EXPECT_EQ(100, node.rect.left);
        EXPECT_EQ(100 + c.wantWidth, node.rect.right);
        EXPECT_EQ(50 + c.wantHeight, node.rect.bottom);
        EXPECT_EQ(0, node.GetKind());
    }
}

TEST(LayoutFixedImage, KeepsItsSizeInStretchingParentsAndSizesGridTracks)
{
    t_halfPicture picture;
    // Anchored to all four sides of a big box: the node keeps its size (and the aligned
    // layout centres a kept size between its anchors).
    t_layoutAligned aligned;
    t_layoutFixedImage* held = new t_layoutFixedImage(&picture.image, 16, 10);
    ASSERT_TRUE(aligned.AddChildAligned(t_layoutPtr(held), t_alignInfo::e_near, 3, t_alignInfo::e_far, 0, t_alignInfo::e_near, 4,
                                        t_alignInfo::e_far, 0));
    aligned.SetMinSize(200, 100);
    aligned.SetRect(0, 0, 0, 0);
    aligned.Measure(nullptr);
    aligned.Layout(nullptr);
    EXPECT_EQ(200, aligned.Width());
    EXPECT_EQ(3 + (200 - 3 - 16) / 2, held->rect.left);
    EXPECT_EQ(4 + (100 - 4 - 10) / 2, held->rect.top);
    EXPECT_EQ(16, held->Width());
    EXPECT_EQ(10, held->Height());

    // Grid tracks widen to the fixed sizes of their single-cell nodes.
    t_layoutGrid grid(1, 2);
    grid.AddChildAt(t_layoutPtr(new t_layoutFixedImage(&picture.image, 12, 9)), 0, 0);
    grid.AddChildAt(t_layoutPtr(new t_layoutFixedImage(&picture.image, 7, 21)), 0, 1);
    grid.SetRect(10, 10, 10, 10);
    grid.Measure(nullptr);
    grid.Layout(nullptr);
    EXPECT_EQ(19, grid.Width());
    EXPECT_EQ(21, grid.Height());
    EXPECT_EQ(22, grid.ChildAt(1)->rect.left);
}

TEST(LayoutFixedImage, PaintsThePictureAtItsSizeAndOffsetOnly)
{
    t_halfPicture picture;
    t_layoutFixedImage node(&picture.image, 16, 8);
    // A parent gave it a bigger rectangle: the picture keeps the fixed size.
    node.SetRect(30, 20, 80, 60);
    t_testSurface surface(64, 48, true);
    const POINT offset = {-20, -10};
    node.Paint(surface.Paint(), &offset);
    // Stretched to 16 x 8 at (10, 10): the opaque half covers x 10..17.
    const RECT bounds = surface.AlphaBounds();
    EXPECT_EQ(10, bounds.left);
    EXPECT_EQ(10, bounds.top);
    EXPECT_EQ(18, bounds.right);
    EXPECT_EQ(18, bounds.bottom);
    EXPECT_EQ(8 * 8, surface.CountAlpha());
    EXPECT_EQ(c_opaque, surface.At(12, 12));

    // Nothing at all from an empty picture, a zero size or no picture.
    t_image empty;
    empty.Init();
    t_testSurface none(64, 48, true);
    t_layoutFixedImage emptyNode(&empty, 10, 10);
    emptyNode.Paint(none.Paint(), nullptr);
    t_layoutFixedImage flatNode(&picture.image, 0, 10);
    flatNode.Paint(none.Paint(), nullptr);
    t_layoutFixedImage nullNode(nullptr, 10, 10);
    nullNode.Paint(none.Paint(), nullptr);
    EXPECT_EQ(0, none.CountAlpha());
}

TEST(LayoutFixedImage, AnswersTheMouseInsideItsBoxWithThePicturePixel)
{
    t_halfPicture picture;
    t_layoutFixedImage node(&picture.image, 16, 16);
    node.SetRect(40, 40, 100, 100);
    EXPECT_EQ(&node, node.FindNodeAt(40, 40));
    EXPECT_EQ(&node, node.FindNodeAt(55, 55));
    EXPECT_EQ(nullptr, node.FindNodeAt(56, 50));  // inside the rectangle, outside the picture
    EXPECT_EQ(nullptr, node.FindNodeAt(39, 50));

    POINT pixel = {-1, -1};
    EXPECT_TRUE(node.HitTest(POINT{55, 46}, &pixel));
    EXPECT_EQ(7, pixel.x);  // the stretched picture's last column
    EXPECT_EQ(3, pixel.y);
    EXPECT_TRUE(node.HitTest(POINT{41, 41}, nullptr));
    EXPECT_FALSE(node.HitTest(POINT{60, 41}, &pixel));

    // The region is the opaque half at the fixed size, relative to the node.
    t_testSurface surface(4, 4, false);
    HRGN region = node.GetRegion(surface.Dc());
    ASSERT_NE(nullptr, region);
    EXPECT_TRUE(PtInRegion(region, 2, 15));
    EXPECT_FALSE(PtInRegion(region, 9, 2));
    DeleteObject(region);
    t_layoutFixedImage nothing(nullptr, 8, 8);
    EXPECT_EQ(nullptr, nothing.GetRegion(surface.Dc()));
}

}  // namespace
