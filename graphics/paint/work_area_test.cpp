#include "graphics/paint/work_area.h"

#include <gtest/gtest.h>

namespace {

TEST(FitRectToWorkArea, MovesIntoTheAreaKeepingTheSize)
{
    const POINT corner = {100, 100};
    RECT area;
    GetWorkArea(&corner, area);
    ASSERT_GT(area.right - area.left, 600);
    ASSERT_GT(area.bottom - area.top, 400);
    const LONG L = area.left, T = area.top, R = area.right, B = area.bottom;

    const unsigned left = e_fitLeftOfAnchor;
    const unsigned above = e_fitAboveAnchor;
    struct t_case {
        const char* name;
        RECT rect, anchor;
        unsigned flags;
        POINT expected;  // top-left corner; the size never changes
    };
    // Each popup is 100 x 50.
    const t_case cases[] = {
        {"inside stays",
         {L + 100, T + 100, L + 200, T + 150},
         {L + 100, T + 80, L + 200, T + 100},
         0,
         {L + 100, T + 100}},
        {"inside stays with flags",
         {L + 100, T + 100, L + 200, T + 150},
         {L + 100, T + 80, L + 200, T + 100},
         left | above,
         {L + 100, T + 100}},
        {"out right: against the right edge",
         {R - 50, T + 100, R + 50, T + 150},
         {R - 80, T + 80, R - 60, T + 100},
         0,
         {R - 100, T + 100}},
        {"out right: left of the anchor",
         {R - 50, T + 100, R + 50, T + 150},
         {R - 80, T + 80, R - 60, T + 100},
         left,
         {R - 180, T + 100}},
        {"no room left of the anchor: right of it",
         {R - 50, T + 100, R + 50, T + 150},
         {L + 30, T + 80, L + 40, T + 100},
         left,
         {L + 40, T + 100}},
        {"out left: against the left edge",
         {L - 30, T + 100, L + 70, T + 150},
         {L + 10, T + 80, L + 20, T + 100},
         0,
         {L, T + 100}},
        {"out left: right of the anchor",
         {L - 30, T + 100, L + 70, T + 150},
         {L + 10, T + 80, L + 20, T + 100},
         left,
         {L + 20, T + 100}},
        {"out below: against the bottom",
         {L + 100, B - 20, L + 200, B + 30},
         {L + 100, B - 40, L + 150, B - 20},
         0,
         {L + 100, B - 50}},
        {"out below: above the anchor",
         {L + 100, B - 20, L + 200, B + 30},
         {L + 100, B - 40, L + 150, B - 20},
         above,
         {L + 100, B - 90}},
        {"above the anchor would leave the area: against the top",
         {L + 100, B - 20, L + 200, B + 30},
         {L + 100, T + 10, L + 150, B - 20},
         above,
         {L + 100, T}},
        {"out above: against the top",
         {L + 100, T - 10, L + 200, T + 40},
         {L + 100, T, L + 150, T + 20},
         0,
         {L + 100, T}},
        {"out above: below the anchor",
         {L + 100, T - 10, L + 200, T + 40},
         {L + 100, T, L + 150, T + 20},
         above,
         {L + 100, T + 20}},
        {"out right and below",
         {R - 50, B - 20, R + 50, B + 30},
         {R - 80, B - 40, R - 60, B - 20},
         0,
         {R - 100, B - 50}},
    };
    for (const t_case& c : cases) {
        SCOPED_TRACE(c.name);
        RECT rect = c.rect;
        FitRectToWorkArea(rect, c.anchor, c.flags);
        EXPECT_EQ(c.expected.x, rect.left);
        EXPECT_EQ(c.expected.y, rect.top);
        EXPECT_EQ(100, rect.right - rect.left);
        EXPECT_EQ(50, rect.bottom - rect.top);
    }
}

}  // namespace
