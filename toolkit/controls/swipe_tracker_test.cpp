#include "toolkit/controls/swipe_tracker.h"

#include <gtest/gtest.h>

#include "toolkit/controls/input_hooks.h"

namespace {

uint32_t g_tick = 0;
uint32_t FakeTick() { return g_tick; }

class SwipeTrackerTest : public ::testing::Test {
protected:
    SwipeTrackerTest() : m_hooks(t_inputHooks{&FakeTick, nullptr, nullptr}) { g_tick = 0xFFFFFF00u; }

    // An enabled tracker that started tracking at (100, 100) at the current tick.
    t_swipeTracker Started()
    {
        t_swipeTracker tracker;
        tracker.enabled = true;
        tracker.Reset(96, 100);
        EXPECT_FALSE(tracker.Track(100, 100));
        EXPECT_TRUE(tracker.started);
        return tracker;
    }

    t_inputHooksScope m_hooks;
};

TEST_F(SwipeTrackerTest, DisabledOrBelowTheDistanceNeverStarts)
{
    t_swipeTracker tracker;
    tracker.Reset(0, 0);
    EXPECT_FALSE(tracker.Track(50, 0));
    EXPECT_FALSE(tracker.started);
    tracker.enabled = true;
    EXPECT_FALSE(tracker.Track(3, -3));
    EXPECT_FALSE(tracker.started);
    EXPECT_FALSE(tracker.Track(0, -4));  // exactly the distance starts, from this point
    EXPECT_TRUE(tracker.started);
    EXPECT_EQ(0, tracker.startX);
    EXPECT_EQ(-4, tracker.startY);
    EXPECT_EQ(g_tick, tracker.startTime);
}

TEST_F(SwipeTrackerTest, DirectionsBySpeedAndDistance)
{
    struct t_case {
        int dx, dy;
        uint32_t elapsed;
        int expected;
    } const cases[] = {
        {4, 0, 1, 0},                                 // exactly the distance is no swipe however fast
        {5, 0, 10, 2},                                // 500 px/s
        {30, 0, 200, 2},                              // 150 px/s
        {20, 0, 200, 0},                              // exactly 100 px/s is not faster than the threshold
        {-30, -30, 100, 1 | 4},                       // diagonal up and to the left
        {0, 40, 100, 8},        {-10, 50, 0, 1 | 8},  // no time at all counts as one millisecond
        {30, 0, 499, 0},                              // 60 px/s: too slow
        {300, 0, 499, 2},                             // still inside the window
        {3000000, 0, 100, 2},                         // far moves do not wrap
    };
    for (const t_case& c : cases) {
        const uint32_t start = g_tick;
        t_swipeTracker tracker = Started();
        g_tick = start + c.elapsed;  // crosses the 32-bit wrap for most cases
        EXPECT_EQ(c.expected != 0, tracker.Track(100 + c.dx, 100 + c.dy)) << c.dx << "," << c.dy << " " << c.elapsed;
        EXPECT_EQ(c.expected, tracker.directions) << c.dx << "," << c.dy << " " << c.elapsed;
        EXPECT_EQ(c.expected != 0, tracker.result);
        g_tick = start;
    }
}

TEST_F(SwipeTrackerTest, ExpiresAfterHalfASecondUntilReset)
{
    t_swipeTracker tracker = Started();
    g_tick += 100;
    EXPECT_TRUE(tracker.Track(160, 100));
    g_tick += 400;  // 500 ms after the start
    EXPECT_FALSE(tracker.Track(1000, 100));
    EXPECT_FALSE(tracker.result);
    EXPECT_TRUE(tracker.started);
    g_tick += 1;
    EXPECT_FALSE(tracker.Track(5000, 100));

    tracker.Reset(5000, 100);
    EXPECT_FALSE(tracker.Track(4990, 100));  // starts anew
    g_tick += 50;
    EXPECT_TRUE(tracker.Track(4900, 100));
    EXPECT_EQ(t_swipeTracker::e_left, tracker.directions);
}

}  // namespace
