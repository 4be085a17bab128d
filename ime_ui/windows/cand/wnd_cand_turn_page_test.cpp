// Page-turn item: arrow shapes and their scaled sizes, dimming of the arrow that cannot
// page, the hover nudge, paging on release and the repeat from the ninth tick on, and the
// top's no-drag state while the button is held.
#include "ime_ui/windows/cand/wnd_cand_turn_page.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "tests/support/paint_surface.h"
#include "tests/support/painted_tree.h"
#include "toolkit/controls/imc_wrap.h"
#include "toolkit/controls/input_hooks.h"
#include "toolkit/controls/ui_context.h"
#include "toolkit/controls/wnd_top.h"

namespace {

class t_pagingHost : public ImcWrapImplBase {
public:
    bool CanPageUp(HWND) override { return canUp; }
    bool CanPageDown(HWND) override { return canDown; }
    void PageUp(HWND) override { ++ups; }
    void PageDown(HWND) override { ++downs; }

    bool canUp = false, canDown = true;
    int ups = 0, downs = 0;
};

// The item with its skin look given by the test.
class t_testTurnPage : public t_wndCandTurnPage {
public:
    t_turnPageLook look = {true, 0x0000FF, 0.0};  // red

protected:
    t_turnPageLook ReadSkin() const override { return look; }
};

POINT g_cursor = {0, 0};
bool FakeCursor(POINT& point)
{
    point = g_cursor;
    return true;
}

// The arrow as text, row by row: '#' set, '.' clear.
std::string Picture(const std::vector<uint32_t>& pixels, int w, int h)
{
    std::string text;
    for (int r = 0; r < h; ++r) {
        for (int c = 0; c < w; ++c)
            text += pixels[static_cast<size_t>(r) * w + c] ? '#' : '.';
        text += '\n';
    }
    return text;
}

TEST(CandTurnPageArrows, ShapesPointLeftAndRight)
{
    const char* const previous = ".....#\n"
                                 "....##\n"
                                 "...###\n"
                                 "..####\n"
                                 ".#####\n"
                                 "######\n"
                                 ".#####\n"
                                 "..####\n"
                                 "...###\n"
                                 "....##\n"
                                 ".....#\n";
    const char* const next = "#.....\n"
                             "##....\n"
                             "###...\n"
                             "####..\n"
                             "#####.\n"
                             "######\n"
                             "#####.\n"
                             "####..\n"
                             "###...\n"
                             "##....\n"
                             "#.....\n";
    const std::vector<uint32_t> left = t_wndCandTurnPage::BuildArrow(false, 6, 11, 0x00336699);
    EXPECT_EQ(previous, Picture(left, 6, 11));
    EXPECT_EQ(next, Picture(t_wndCandTurnPage::BuildArrow(true, 6, 11, 0x00336699), 6, 11));
    EXPECT_EQ(0xFF996633u, left[5 * 6]);  // opaque, red in the high bytes
    // No colour: every pixel transparent.
    const std::vector<uint32_t> none = t_wndCandTurnPage::BuildArrow(false, 6, 11, 0xFFFFFFFFu);
    EXPECT_EQ(std::string(66, '.'), [&] {
        std::string s = Picture(none, 6, 11);
        s.erase(std::remove(s.begin(), s.end(), '\n'), s.end());
        return s;
    }());
    // Scaled 9 x 16: tips at the middle row.
    const std::vector<uint32_t> big = t_wndCandTurnPage::BuildArrow(true, 9, 16, 0x00FFFFFF);
    EXPECT_NE(0u, big[8 * 9 + 8]);
    EXPECT_EQ(0u, big[9 * 9 + 8]);
    EXPECT_EQ(0u, big[7 * 9 + 8]);
}

class CandTurnPageTest : public ::testing::Test {
protected:
    CandTurnPageTest() : m_hooks(t_inputHooks{nullptr, nullptr, &FakeCursor})
    {
        MakeWindowlessTop(top, 100, 200, 60, 30);
        context.SetImcWrap(&host);
        item = new t_testTurnPage();
        item->SetContext(&context);
        item->Create(0, 10, 5, 0, 0, 0, nullptr, &top);
        item->Rebuild();
        item->Measure(nullptr);
        item->SetSize(18, 15);  // taller than the arrows: they sit in the middle
    }

    // Screen point of a point relative to the item.
    POINT At(int x, int y) const { return POINT{item->rect.left + x, item->rect.top + y}; }

    t_inputHooksScope m_hooks;
    t_wndTop top;
    t_pagingHost host;
    t_uiContext context;
    t_testTurnPage* item;
};

TEST_F(CandTurnPageTest, SizeFollowsTheSkinScale)
{
    struct t_case {
        double scale;
        int w, h, width;
    } const cases[] = {{1.5, 9, 16, 27}, {0.0, 6, 11, 18}, {-2.0, 6, 11, 18}, {1.0, 6, 11, 18}, {2.0, 12, 22, 36}};
    for (const t_case& c : cases) {
        item->look.scale = c.scale;
        item->Rebuild();
        item->Measure(nullptr);
        EXPECT_EQ(c.w, item->ArrowWidth()) << c.scale;
        EXPECT_EQ(c.h, item->ArrowHeight()) << c.scale;
        EXPECT_EQ(c.w, t_wndCandTurnPage::ArrowGap());
        EXPECT_EQ(c.width, item->GetSize().cx) << c.scale;
        EXPECT_EQ(c.h, item->GetSize().cy) << c.scale;
    }
    item->visible = false;
    item->Measure(nullptr);
    EXPECT_EQ(0, item->rect.right - item->rect.left);
}

TEST_F(CandTurnPageTest, PaintsTheArrowThatCannotPageDimmed)
{
    t_testSurface surface(60, 30, true);
    item->Paint_CandPage(surface.Paint());
    // Item at (10, 5) in the top, 15 high: arrows start 2 rows down.
    const int y = 5 + 2 + 5;                           // the tip row
    const uint32_t dim = surface.At(10, y);            // previous arrow's tip: page up impossible
    const uint32_t full = surface.At(10 + 12 + 5, y);  // next arrow's tip
    EXPECT_EQ(255u, full >> 24);
    EXPECT_EQ(0xFFu, (full >> 16) & 0xFF);
    EXPECT_EQ(79u, dim >> 24);
    EXPECT_NEAR(79, static_cast<int>((dim >> 16) & 0xFF), 1);
    EXPECT_EQ(0u, surface.At(10, y - 1));  // outside the previous arrow
    EXPECT_EQ(0u, surface.At(10 + 6, y));  // the gap

    // Without the skin's two text styles nothing is drawn.
    t_testSurface empty(60, 30, true);
    item->look.stylesPresent = false;
    item->Paint_CandPage(empty.Paint());
    EXPECT_EQ(0u, empty.At(10 + 12 + 5, y));
    EXPECT_EQ(0u, empty.At(10, y));
}

TEST_F(CandTurnPageTest, RebuildsArrowsForANewScaleAndGlow)
{
    {
        t_testSurface surface(60, 30, true);
        item->Paint_CandPage(surface.Paint());
    }
    item->look.scale = 1.5;
    item->Rebuild();
    item->Measure(nullptr);
    item->SetSize(27, 16);
    t_testSurface surface(60, 30, true);
    item->Paint_CandPage(surface.Paint());
    EXPECT_EQ(9u * 16u, item->nextPixels.size());
    EXPECT_EQ(9, item->nextBitmap.pixels.width);
    // Next arrow at 10 + 9 + 9, tip 8 columns in, on row 8 of the item.
    EXPECT_EQ(255u, surface.At(28 + 8, 5 + 8) >> 24);
    EXPECT_EQ(0u, surface.At(28 + 8, 5 + 9) >> 24);

    // With the top's glow the arrows get a halo around them.
    top.themedText = true;
    t_testSurface glowing(60, 40, true);
    item->Paint_CandPage(glowing.Paint());
    EXPECT_TRUE(item->nextBitmap.glowFlag);
    EXPECT_EQ(9 + 21, item->nextBitmap.glow.width);
    EXPECT_NE(0u, glowing.At(28 + 8, 5 + 9) >> 24);
}

TEST_F(CandTurnPageTest, HoverNudgesOnlyAnArrowThatCanPage)
{
    item->OnMouseMove(0, At(2, 7).x, At(2, 7).y);
    EXPECT_TRUE(item->prevHovered);
    EXPECT_EQ(0, item->prevDx);  // page up impossible: no nudge
    EXPECT_EQ(0, item->prevDy);
    item->OnMouseMove(0, At(14, 7).x, At(14, 7).y);
    EXPECT_FALSE(item->prevHovered);
    EXPECT_TRUE(item->nextHovered);
    EXPECT_EQ(1, item->nextDx);
    EXPECT_EQ(-1, item->nextDy);
    EXPECT_EQ(0, item->prevDx);
    host.canUp = true;
    item->OnMouseMove(0, At(1, 7).x, At(1, 7).y);
    EXPECT_EQ(1, item->prevDx);
    EXPECT_EQ(-1, item->prevDy);
    EXPECT_EQ(0, item->nextDx);
    item->OnMouseLeave();
    EXPECT_FALSE(item->prevHovered);
    EXPECT_EQ(0, item->prevDx);
}

TEST_F(CandTurnPageTest, PagesOnReleaseAndRepeatsFromTheNinthTick)
{
    const POINT next = At(14, 7);
    EXPECT_FALSE(item->OnLButtonDown(0, next.x, next.y + 40));  // a miss does nothing
    EXPECT_TRUE(item->OnLButtonDown(0, next.x, next.y));
    EXPECT_TRUE(top.noDrag);
    EXPECT_TRUE(item->RepeatRunning());
    g_cursor = next;
    for (int tick = 1; tick <= 8; ++tick)
        item->OnTimer(t_wndCandTurnPage::c_repeatTimerId);
    EXPECT_EQ(0, host.downs);  // 400 ms: not yet
    item->OnTimer(t_wndCandTurnPage::c_repeatTimerId);
    EXPECT_EQ(1, host.downs);  // 450 ms
    item->OnTimer(t_wndCandTurnPage::c_repeatTimerId);
    EXPECT_EQ(2, host.downs);
    EXPECT_TRUE(item->cursorRestore);
    EXPECT_EQ(14, item->pressPoint.x);
    EXPECT_EQ(7, item->pressPoint.y);

    EXPECT_TRUE(item->OnLButtonUp(0, next.x, next.y));
    EXPECT_EQ(3, host.downs);
    EXPECT_FALSE(top.noDrag);
    EXPECT_FALSE(item->RepeatRunning());

    // The previous arrow cannot page: a release there does nothing; once it can, it pages up.
    const POINT prev = At(2, 7);
    item->OnLButtonDown(0, prev.x, prev.y);
    item->OnLButtonUp(0, prev.x, prev.y);
    EXPECT_EQ(0, host.ups);
    host.canUp = true;
    item->OnLButtonDown(0, prev.x, prev.y);
    item->OnLButtonUp(0, prev.x, prev.y);
    EXPECT_EQ(1, host.ups);
    EXPECT_EQ(3, host.downs);

    // Leaving while held stops the repeat and gives the top its drag back.
    item->OnLButtonDown(0, next.x, next.y);
    item->OnMouseLeave();
    EXPECT_FALSE(top.noDrag);
    EXPECT_FALSE(item->RepeatRunning());
    for (int tick = 0; tick < 8; ++tick)
        item->OnTimer(t_wndCandTurnPage::c_repeatTimerId + 1);  // not ours: the base's
    EXPECT_EQ(3, host.downs);
}

TEST_F(CandTurnPageTest, PutsTheCursorBackWhereItPressedAfterAPage)
{
    const POINT next = At(15, 9);
    item->OnLButtonDown(0, next.x, next.y);
    item->OnLButtonUp(0, next.x, next.y);
    ASSERT_EQ(1, host.downs);
    ASSERT_TRUE(item->cursorRestore);
    // The list re-laid itself out: the item moved before it paints again.
    item->MoveTo(130, 240);
    SetCursorPos(5, 5);
    t_testSurface surface(60, 30, true);
    item->Paint_CandPage(surface.Paint());
    EXPECT_FALSE(item->cursorRestore);
    POINT cursor = {0, 0};
    GetCursorPos(&cursor);
    EXPECT_EQ(130 + 15, cursor.x);
    EXPECT_EQ(240 + 9, cursor.y);
}

}  // namespace
