// Text items, links, pictures and separators: how they measure, paint into a DIB, take
// the mouse (a hidden or mouse-refusing item never does) and, for links, open their url.
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "foundation/win/scoped_win.h"
#include "graphics/layout/layout_aligned.h"
#include "graphics/layout/layout_wnd.h"
#include "graphics/paint/paint_ctx.h"
#include "graphics/paint/pixel_ops.h"
#include "graphics/paint/solid_draw.h"
#include "graphics/text/font.h"
#include "tests/support/gdi_font.h"
#include "tests/support/paint_surface.h"
#include "tests/support/painted_tree.h"
#include "toolkit/controls/wnd_image.h"
#include "toolkit/controls/wnd_link.h"
#include "toolkit/controls/wnd_separator.h"
#include "toolkit/controls/wnd_text_item.h"
#include "toolkit/controls/wnd_top.h"
#include "toolkit/controls/wnd_top_access.h"

namespace {

struct t_fontDeleter {
    void operator()(t_font* font) const { t_font::Release(font); }
};
typedef std::unique_ptr<t_font, t_fontDeleter> t_fontPtr;

t_fontPtr GdiFont(int height)
{
    LOGFONTW lf = {};
    lf.lfHeight = -height;
    lf.lfWeight = FW_BOLD;
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfQuality = NONANTIALIASED_QUALITY;
    wcscpy(lf.lfFaceName, L"Tahoma");
    t_font* font = nullptr;
    t_font::Create(lf, font, false);
    return t_fontPtr(font);
}

struct t_penDeleter {
    void operator()(t_pen* pen) const { t_pen::Release(pen); }
};
typedef std::unique_ptr<t_pen, t_penDeleter> t_penPtr;

t_penPtr Pen(uint32_t color)
{
    t_pen* pen = nullptr;
    t_pen::Create(pen, color);
    return t_penPtr(pen);
}

// COLORREF colours whose DIB value has the same low 24 bits (red and blue equal).
const uint32_t c_green = 0x00FF00;
const uint32_t c_magenta = 0xFF00FF;
const uint32_t c_white = 0xFFFFFF;

// Bounds (right and bottom exclusive) of the pixels of a colour in a surface; left > right
// when there are none.
RECT ColorBounds(t_testSurface& surface, uint32_t rgb)
{
    RECT r = {surface.Width(), surface.Height(), 0, 0};
    for (int y = 0; y < surface.Height(); ++y) {
        for (int x = 0; x < surface.Width(); ++x) {
            if ((surface.At(x, y) & 0xFFFFFF) == rgb) {
                r.left = std::min<LONG>(r.left, x);
                r.top = std::min<LONG>(r.top, y);
                r.right = std::max<LONG>(r.right, x + 1);
                r.bottom = std::max<LONG>(r.bottom, y + 1);
            }
        }
    }
    return r;
}

// A windowless top at (100, 200) for the elements to live under; paints land at their
// offset inside the top.
class SimpleElementsTest : public ::testing::Test {
protected:
    SimpleElementsTest() { MakeWindowlessTop(top, 100, 200, 80, 40); }

    t_wndTop top;
};

TEST_F(SimpleElementsTest, TextItemMeasuresItsTextAndCaret)
{
    t_fontPtr font = GdiFont(16);
    ASSERT_TRUE(font);
    t_wndTextItem* item = new t_wndTextItem();
    item->Create(0, 5, 5, 0, 0, 0, nullptr, &top);
    item->SetStyle(t_textItemStyle{c_green, 0, 0, font.get(), false});
    EXPECT_EQ(item->format, c_textItemFormat);
    EXPECT_EQ(item->align, 3);

    // Empty text: no size, whatever the font.
    item->Measure(nullptr);
    EXPECT_EQ(item->GetSize().cx, 0);
    EXPECT_EQ(item->GetSize().cy, 0);

    item->SetItemText(L"Kavrel");
    EXPECT_EQ(item->Measure(nullptr), 3);
    const SIZE whole = TestGdiExtent(font->hfont, L"Kavrel");
    EXPECT_EQ(item->GetSize().cx, whole.cx);
    EXPECT_EQ(item->GetSize().cy, whole.cy);
    EXPECT_EQ(item->rect.left, 105);

    struct t_case {
        int caretIndex;
        int expectX;
        int expectHeight;
    };
    const t_case cases[] = {
        {0, 0, TestGdiExtent(font->hfont, L"K").cy},
        {2, TestGdiExtent(font->hfont, L"Ka").cx, whole.cy},
        {6, whole.cx, whole.cy},
    };
    item->hover = true;
    for (const t_case& c : cases) {
        SCOPED_TRACE(c.caretIndex);
        item->caretIndex = c.caretIndex;
        item->Measure(nullptr);
        EXPECT_EQ(item->caretX1, c.expectX);
        EXPECT_EQ(item->caretX2, c.expectX);
        EXPECT_EQ(item->caretY1, 0);
        EXPECT_EQ(item->caretY2, c.expectHeight);
    }
    // Past the text, or not hovered: the caret is left as it was.
    item->caretIndex = 7;
    item->caretX1 = -5;
    item->Measure(nullptr);
    EXPECT_EQ(item->caretX1, -5);
    item->caretIndex = 1;
    item->hover = false;
    item->Measure(nullptr);
    EXPECT_EQ(item->caretX1, -5);

    // Null clears the text.
    item->SetItemText(nullptr);
    item->Measure(nullptr);
    EXPECT_EQ(item->GetSize().cx, 0);
}

TEST_F(SimpleElementsTest, TextItemPaintsTextShadowBackgroundAndCaret)
{
    t_fontPtr font = GdiFont(18);
    ASSERT_TRUE(font);
    t_penPtr caretPen = Pen(c_white);
    t_wndTextItem* item = new t_wndTextItem();
    item->Create(0, 10, 6, 0, 0, 0, nullptr, &top);
    item->SetItemText(L"HEH");
    item->SetStyle(t_textItemStyle{c_green, 0, c_magenta, font.get(), false});
    item->Measure(nullptr);
    const SIZE size = item->GetSize();
    ASSERT_GT(size.cx, 0);

    {
        t_testSurface surface(80, 40, false);
        item->Paint_Layout(surface.Paint());
        const RECT text = ColorBounds(surface, c_green);
        const RECT shadow = ColorBounds(surface, c_magenta);
        ASSERT_LT(text.left, text.right);
        ASSERT_LT(shadow.left, shadow.right);
        // Inside the item's rectangle (at its place in the top), the shadow one pixel lower.
        EXPECT_GE(text.left, 10);
        EXPECT_GE(text.top, 6);
        EXPECT_LE(text.right, 10 + size.cx);
        EXPECT_LE(text.bottom, 6 + size.cy);
        EXPECT_EQ(shadow.bottom, text.bottom + 1);
        EXPECT_EQ(ColorBounds(surface, c_white).right, 0);  // no caret while not hovered
    }

    // A background colour, no shadow, and the caret line after two characters.
    item->SetStyle(t_textItemStyle{c_green, 0x0000FF, 0, font.get(), true});
    item->caretPen = caretPen.get();
    item->caretIndex = 2;
    item->hover = true;
    item->Measure(nullptr);
    {
        t_testSurface surface(80, 40, false);
        item->Paint_Layout(surface.Paint());
        EXPECT_EQ(surface.At(10, 6) & 0xFFFFFF, 0xFF0000u);  // blue as a DIB value
        EXPECT_EQ(surface.At(10 + size.cx - 1, 6 + size.cy - 1) & 0xFFFFFF, 0xFF0000u);
        EXPECT_EQ(surface.At(9, 6) & 0xFFFFFF, 0u);
        EXPECT_EQ(ColorBounds(surface, c_magenta).right, 0);
        const RECT caret = ColorBounds(surface, c_white);
        EXPECT_EQ(caret.left, 10 + item->caretX1);
        EXPECT_EQ(caret.right, caret.left + 1);
        EXPECT_EQ(caret.top, 6);
    }

    // Shadow and background together: the background goes under the shadow once, so the
    // text's own drawing does not cover the shadow.
    item->SetStyle(t_textItemStyle{c_green, 0x0000FF, c_magenta, font.get(), true});
    item->hover = false;
    {
        t_testSurface surface(80, 40, false);
        item->Paint_Layout(surface.Paint());
        EXPECT_EQ(surface.At(10, 6) & 0xFFFFFF, 0xFF0000u);
        const RECT text = ColorBounds(surface, c_green);
        const RECT shadow = ColorBounds(surface, c_magenta);
        ASSERT_LT(shadow.left, shadow.right);
        EXPECT_EQ(shadow.bottom, text.bottom + 1);
    }

    // The default style comes back after a change of the current one.
    item->textColor = c_white;
    item->RestoreStyle();
    EXPECT_EQ(item->textColor, c_green);

    // Hidden: nothing painted.
    item->visible = false;
    t_testSurface surface(80, 40, false);
    item->Paint_Layout(surface.Paint());
    EXPECT_EQ(ColorBounds(surface, c_green).right, 0);
}

// A link that records what it would open and the tooltip calls.
class t_recordingLink : public t_wndLink {
public:
    void ShowHint(bool show) override { (show ? shown : hidden)++; }
    std::vector<std::wstring> opened;
    int shown = 0, hidden = 0;

protected:
    void Open(const wchar_t* link) override { opened.push_back(link); }
};

// A child that takes every release.
class t_releaseTaker : public t_wndBase {
public:
    bool OnLButtonUp(UINT, int, int) override
    {
        ++releases;
        return true;
    }
    int releases = 0;
};

TEST_F(SimpleElementsTest, HiddenOrRefusingItemsTakeNoMouseNorTip)
{
    struct t_case {
        const char* what;
        bool acceptsMouse;
        bool visible;
        bool reached;
    };
    const t_case cases[] = {
        {"taking the mouse", true, true, true},
        {"refusing the mouse", false, true, false},
        {"hidden", true, false, false},
    };
    for (const t_case& c : cases) {
        SCOPED_TRACE(c.what);
        t_wndTop owner;
        MakeWindowlessTop(owner, 100, 200, 80, 40);
        t_recordingLink* link = new t_recordingLink();
        link->Create(0, 10, 10, 30, 12, 0, nullptr, &owner);
        link->acceptsMouse = c.acceptsMouse;
        link->visible = c.visible;
        link->SetUrl(L"https://example.com/");

        EXPECT_EQ(link->HitTest(115, 215, 0), c.reached);
        link->OnMouseMove(0, 115, 215);
        EXPECT_EQ(link->hover, c.reached);
        EXPECT_EQ(TopHotElement(&owner) == link, c.reached);
        EXPECT_EQ(link->OnMouseHover(0, 115, 215), c.reached);
        EXPECT_EQ(link->shown, c.reached ? 1 : 0);
        EXPECT_EQ(link->OnLButtonUp(0, 115, 215), false);  // no child takes it
        EXPECT_EQ(link->opened.size(), c.reached ? 1u : 0u);
        // Outside: never.
        EXPECT_FALSE(link->HitTest(141, 215, 0));
    }
}

TEST_F(SimpleElementsTest, LinkOpensItsUrlAndPassesTheRelease)
{
    t_recordingLink* link = new t_recordingLink();
    link->Create(0, 10, 10, 30, 12, 0, nullptr, &top);
    link->acceptsMouse = true;
    t_releaseTaker* child = new t_releaseTaker();
    child->Create(0, 0, 0, 30, 12, 0, nullptr, link);

    link->SetUrl(L"https://example.com/a");
    EXPECT_TRUE(link->OnLButtonUp(0, 115, 215));
    ASSERT_EQ(link->opened.size(), 1u);
    EXPECT_EQ(link->opened[0], L"https://example.com/a");
    EXPECT_EQ(child->releases, 1);

    // An empty url opens nothing, but the release still reaches the children.
    link->SetUrl(nullptr);
    EXPECT_TRUE(link->OnLButtonUp(0, 115, 215));
    EXPECT_EQ(link->opened.size(), 1u);
    EXPECT_EQ(child->releases, 2);

    // Not hit: nothing.
    link->SetUrl(L"https://example.com/b");
    EXPECT_FALSE(link->OnLButtonUp(0, 50, 50));
    EXPECT_EQ(link->opened.size(), 1u);
    EXPECT_EQ(child->releases, 2);

    // Hover shows the tooltip, leaving hides it.
    EXPECT_TRUE(link->OnMouseHover(0, 115, 215));
    EXPECT_EQ(link->shown, 1);
    link->OnMouseLeave();
    EXPECT_EQ(link->hidden, 1);
}

class t_ownedBitmap {
public:
    // w x h, every pixel the colour (opaque ARGB), except a transparent top-left pixel.
    t_ownedBitmap(int w, int h, uint32_t argb)
    {
        uint32_t* bits = nullptr;
        m_bitmap.Reset(CreateDib32(w, h, &bits));
        for (int i = 0; i < w * h; ++i)
            bits[i] = argb;
        bits[(h - 1) * w] = 0;
    }
    t_ownedBitmap(const t_ownedBitmap&) = delete;
    t_ownedBitmap& operator=(const t_ownedBitmap&) = delete;
    HBITMAP get() const { return m_bitmap.Get(); }

private:
    t_scopedGdiObj<HBITMAP> m_bitmap;
};

// The element's node in the top's root layout, at the element's rectangle.
void AddNode(t_wndTop& owner, t_wndBase& element, t_layout* node)
{
    static_cast<t_layoutAligned*>(owner.layout)->AddChild(t_layoutPtr(node), t_alignInfo::Default());
    element.SyncLayoutRect();
}

uint32_t RenderedAt(t_wndTop& owner, int x, int y)
{
    t_memDC dib;
    EXPECT_TRUE(owner.RenderToDib(nullptr, dib, 80, 40));
    GdiFlush();
    return dib.Pixels()[(40 - 1 - y) * 80 + x];
}

TEST_F(SimpleElementsTest, ImageMeasuresAndPaintsItsPicture)
{
    t_ownedBitmap picture(12, 8, 0xFF336699u);
    t_wndImage* image = new t_wndImage();
    image->Create(0, 20, 4, 1, 1, 0, nullptr, &top);
    EXPECT_EQ(image->image.modeH, t_image::e_natural);
    EXPECT_EQ(image->image.key1, c_noColorKey);
    AddNode(top, *image, image->CreateLayout());

    // No picture yet: no size and nothing painted.
    image->Measure(nullptr);
    EXPECT_EQ(image->GetSize().cx, 0);
    EXPECT_EQ(RenderedAt(top, 22, 6), 0xFF000000u);

    // A 5 x 3 part of the picture.
    image->image.SetBitmap(picture.get(), 1, 1, c_noColorKey, c_noColorKey, 5, 3, t_image::e_natural,
                           t_image::e_natural, false);
    image->image.hasAlpha = 1;
    EXPECT_EQ(image->Measure(nullptr), 3);
    EXPECT_EQ(image->GetSize().cx, 5);
    EXPECT_EQ(image->GetSize().cy, 3);
    image->SyncLayoutRect();
    EXPECT_EQ(RenderedAt(top, 20, 4), 0xFF336699u);
    EXPECT_EQ(RenderedAt(top, 24, 6), 0xFF336699u);
    EXPECT_EQ(RenderedAt(top, 25, 6), 0xFF000000u);
    EXPECT_EQ(RenderedAt(top, 20, 7), 0xFF000000u);

    // The picture changes: the next paint shows the new part (the transparent corner).
    image->image.SetBitmap(picture.get(), 0, 0, c_noColorKey, c_noColorKey, 5, 3, t_image::e_natural,
                           t_image::e_natural, false);
    image->image.hasAlpha = 1;
    EXPECT_EQ(RenderedAt(top, 20, 4), 0xFF000000u);
    EXPECT_EQ(RenderedAt(top, 21, 4), 0xFF336699u);
}

TEST_F(SimpleElementsTest, LineSeparatorIsOnePixelThick)
{
    t_penPtr pen = Pen(c_green);
    struct t_case {
        int orientation;
        int measureValue;
        SIZE size;
        POINT on, off;
    };
    const t_case cases[] = {
        {t_wndSeperator::e_horizontal, 2, {30, 1}, {15, 10}, {15, 11}},
        {t_wndSeperator::e_vertical, 1, {1, 7}, {2, 13}, {3, 13}},
    };
    for (const t_case& c : cases) {
        SCOPED_TRACE(c.orientation);
        t_wndTop owner;
        MakeWindowlessTop(owner, 100, 200, 80, 40);
        t_wndSeperator* line = new t_wndSeperator();
        line->Create(0, 2, 10, 30, 7, 0, nullptr, &owner);
        line->kind = t_wndSeperator::e_line;
        line->linePen = pen.get();
        line->orientation = c.orientation;
        t_layoutPtr made = line->CreateSeparatorLayout();
        t_layout* node = made.release();
        ASSERT_NE(node, nullptr);
        EXPECT_EQ(node, line->layout);
        EXPECT_EQ(line->measureValue, c.measureValue);
        EXPECT_EQ(line->GetSize().cx, c.size.cx);
        EXPECT_EQ(line->GetSize().cy, c.size.cy);
        AddNode(owner, *line, node);
        EXPECT_FALSE(line->HitTest(102, 10 + 200, 0));

        t_testSurface surface(80, 40, false);
        line->PaintDC(surface.Dc());
        EXPECT_EQ(surface.At(c.on.x, c.on.y) & 0xFFFFFF, c_green);
        EXPECT_EQ(surface.At(c.off.x, c.off.y) & 0xFFFFFF, 0u);
        EXPECT_EQ((RenderedAt(owner, c.on.x, c.on.y) & 0xFFFFFF), c_green);

        // Hidden: PaintDC paints nothing.
        line->visible = false;
        t_testSurface hidden(80, 40, false);
        line->PaintDC(hidden.Dc());
        EXPECT_EQ(ColorBounds(hidden, c_green).right, 0);
    }
}

TEST_F(SimpleElementsTest, PictureSeparatorGivesANineCellGridAndOtherKindsNothing)
{
    // Nine 2 x 2 cells of distinct colours.
    uint32_t* bits = nullptr;
    HBITMAP bitmap = CreateDib32(6, 6, &bits);
    for (int y = 0; y < 6; ++y) {
        for (int x = 0; x < 6; ++x)
            bits[(5 - y) * 6 + x] = 0xFF000000u | (0x10u * (1 + (y / 2) * 3 + x / 2)) << 16;
    }
    t_wndSeperator* picture = new t_wndSeperator();
    picture->Create(0, 0, 0, 20, 6, 0, nullptr, &top);
    picture->kind = t_wndSeperator::e_picture;
    t_imageSet9::SetFromBitmap(picture->nineImages, bitmap, t_insets{2, 2, 2, 2}, 0, 0, c_noColorKey, c_noColorKey,
                               t_image::e_stretch, t_image::e_stretch);
    EXPECT_EQ(picture->CreateLayout(), nullptr);  // not the element's own node
    std::unique_ptr<t_layout> grid(picture->CreateSeparatorLayout());
    ASSERT_NE(grid, nullptr);
    EXPECT_EQ(grid->GetKind(), t_layout::e_kindGrid);
    EXPECT_EQ(picture->layout, nullptr);
    grid->SetRect(RECT{0, 0, 20, 6});
    grid->Measure(nullptr);
    grid->SetRect(RECT{0, 0, 20, 6});
    grid->Layout(nullptr);
    t_testSurface surface(20, 6, true);
    grid->Paint(surface.Paint(), nullptr);
    EXPECT_EQ(surface.At(0, 0), 0xFF100000u);
    EXPECT_EQ(surface.At(10, 0), 0xFF200000u);  // the top edge stretched
    EXPECT_EQ(surface.At(19, 0), 0xFF300000u);
    EXPECT_EQ(surface.At(10, 3), 0xFF500000u);
    EXPECT_EQ(surface.At(19, 5), 0xFF900000u);
    DeleteObject(bitmap);

    // Any other kind: no node, nothing painted, never hit.
    t_wndSeperator* other = new t_wndSeperator();
    other->Create(0, 0, 0, 20, 6, 0, nullptr, &top);
    other->kind = 3;
    EXPECT_EQ(other->CreateLayout(), nullptr);
    EXPECT_EQ(other->CreateSeparatorLayout(), nullptr);
    t_testSurface blank(20, 6, true);
    other->PaintDC(blank.Dc());
    EXPECT_EQ(blank.CountAlpha(), 0);
    EXPECT_FALSE(other->HitTest(105, 203, 0));
}

}  // namespace
