// The top window's mouse logic driven through the input hooks: drag threshold and shake
// detection, double clicks made from presses, the child under a point, mouse messages
// carried by WM_SETCURSOR, sign-extended hover points and hover timers only with a window.
#include "toolkit/controls/wnd_top.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "graphics/paint/work_area.h"
#include "tests/support/painted_tree.h"
#include "toolkit/controls/drag_tracker.h"
#include "toolkit/controls/input_hooks.h"
#include "toolkit/controls/shake_detector.h"

namespace {

// What the hooks answer.
uint32_t g_tick = 1000;
bool g_buttonDown = false;
POINT g_cursor = {0, 0};

uint32_t FakeTick() { return g_tick; }
bool FakeButton() { return g_buttonDown; }
bool FakeCursor(POINT& p)
{
    p = g_cursor;
    return true;
}

class InputTest : public ::testing::Test {
protected:
    InputTest() : m_hooks(t_inputHooks{FakeTick, FakeButton, FakeCursor})
    {
        g_tick = 1000;
        g_buttonDown = false;
        g_cursor = POINT{0, 0};
    }

private:
    t_inputHooksScope m_hooks;
};

// A child that counts what reaches it.
class t_probeChild : public t_fillElement {
public:
    t_probeChild() : t_fillElement(RGB(255, 0, 0), true) {}
    bool OnLButtonDown(UINT, int, int) override
    {
        ++downs;
        return true;
    }
    bool OnLButtonUp(UINT, int, int) override
    {
        ++ups;
        return true;
    }
    bool OnMouseHover(UINT, int x, int y) override
    {
        hovers.push_back(POINT{x, y});
        return true;
    }
    void OnMouseMove(UINT keys, int x, int y) override
    {
        ++moves;
        t_fillElement::OnMouseMove(keys, x, y);
    }
    bool SuspendsDrag() override { return suspends; }

    int downs = 0, ups = 0, moves = 0;
    std::vector<POINT> hovers;
    bool suspends = false;
};

// A top that counts its double clicks.
class t_countingTop : public t_wndTop {
public:
    bool OnLButtonDblClk(UINT keys, int x, int y) override
    {
        ++doubleClicks;
        return t_wndTop::OnLButtonDblClk(keys, x, y);
    }
    int doubleClicks = 0;
};

t_probeChild* AddProbe(t_wndTop& top, int x, int y, int width, int height)
{
    t_probeChild* child = new t_probeChild();
    child->Create(0, x, y, width, height, 0, nullptr, &top);
    return child;
}

TEST(DragTracker, ReportsAMoveFromTheThresholdOnAndLatches)
{
    t_dragTracker tracker;
    EXPECT_FALSE(tracker.HasMoved(100, 100));  // not pressed
    tracker.Press(10, 10);
    tracker.Press(50, 50);  // a second press keeps the first point
    EXPECT_EQ(tracker.pressX, 10);
    EXPECT_FALSE(tracker.HasMoved(13, 7));
    EXPECT_TRUE(tracker.HasMoved(10, 14));
    EXPECT_TRUE(tracker.HasMoved(10, 10));  // latched
    tracker.Reset();
    EXPECT_FALSE(tracker.pressed);
    EXPECT_FALSE(tracker.HasMoved(30, 30));
}

TEST_F(InputTest, ShakeDetectorNeedsTwoQuickReversalsOfMoreThanTheDistance)
{
    struct t_step {
        int x;
        uint32_t tick;
        bool shake;
    };
    struct t_case {
        const char* what;
        std::vector<t_step> steps;
    };
    const t_case cases[] = {
        {"swing and two quick reversals", {{0, 0, false}, {150, 50, false}, {0, 100, false}, {150, 150, true}}},
        {"steps of exactly 100 do not count", {{0, 0, false}, {100, 50, false}, {0, 100, false}, {100, 150, false}}},
        {"a slow reversal restarts the timing",
         {{0, 0, false}, {150, 50, false}, {0, 700, false}, {150, 750, false}, {0, 800, true}}},
        {"one direction only", {{0, 0, false}, {150, 50, false}, {300, 100, false}, {450, 150, false}}},
    };
    for (const t_case& c : cases) {
        SCOPED_TRACE(c.what);
        t_shakeDetector shake;
        for (const t_step& s : c.steps) {
            g_tick = s.tick;
            EXPECT_EQ(shake.Update(s.x), s.shake) << s.x << " at " << s.tick;
        }
        shake.Reset();
        EXPECT_EQ(shake.count, -1);
    }
}

TEST_F(InputTest, ChildIndexAtIsTheFirstVisibleChildUnderThePoint)
{
    t_wndTop top;
    MakeWindowlessTop(top, 100, 100, 50, 50);
    AddProbe(top, 0, 0, 20, 20);
    AddProbe(top, 10, 10, 20, 20);
    t_probeChild* hidden = AddProbe(top, 30, 30, 10, 10);
    hidden->visible = false;
    struct {
        int x, y, index;
    } cases[] = {{105, 105, 0}, {115, 115, 0}, {125, 125, 1}, {135, 135, -1}, {145, 145, -1}, {99, 99, -1}};
    for (const auto& c : cases)
        EXPECT_EQ(top.ChildIndexAt(c.x, c.y), c.index) << c.x << "," << c.y;
}

TEST_F(InputTest, PressesOnTheBackgroundMakeDoubleClicksByTimeAndDistance)
{
    struct t_case {
        const char* what;
        int dx, dy;
        uint32_t gap;
        int doubleClicks;
    };
    const int cx = GetSystemMetrics(SM_CXDOUBLECLK);
    const t_case cases[] = {
        {"3 pixels right, 150 ms later", 3, 0, 150, 1},
        {"at the double-click width", cx, 0, 150, 1},
        {"50 pixels lower", 0, 50, 150, 0},
        {"200 ms later", 0, 0, 200, 0},
    };
    for (const t_case& c : cases) {
        SCOPED_TRACE(c.what);
        t_countingTop top;
        MakeWindowlessTop(top, 0, 0, 200, 200);
        top.dragEnabled = false;
        g_tick = 5000;
        EXPECT_TRUE(top.OnLButtonDown(MK_LBUTTON, 50, 50));
        top.OnLButtonUp(0, 50, 50);
        g_tick += c.gap;
        EXPECT_TRUE(top.OnLButtonDown(MK_LBUTTON, 50 + c.dx, 50 + c.dy));
        top.OnLButtonUp(0, 50 + c.dx, 50 + c.dy);
        EXPECT_EQ(top.doubleClicks, c.doubleClicks);
    }
}

TEST_F(InputTest, APressOnAChildStartsADragOnlyPastTheThreshold)
{
    struct t_case {
        const char* what;
        int move;
        bool suspends;
        bool drags;
    };
    const t_case cases[] = {
        {"3 pixels", 3, false, false},
        {"4 pixels", 4, false, true},
        {"4 pixels on a child that suspends dragging", 4, true, false},
    };
    for (const t_case& c : cases) {
        SCOPED_TRACE(c.what);
        t_wndTop top;
        MakeWindowlessTop(top, 100, 100, 80, 40);
        // Without a layout the top's moves carry its children along.
        top.SetLayout(nullptr);
        top.keepOnScreen = false;
        t_probeChild* child = AddProbe(top, 10, 10, 20, 20);
        child->suspends = c.suspends;
        g_buttonDown = true;
        g_cursor = POINT{115, 115};
        EXPECT_TRUE(top.OnLButtonDown(MK_LBUTTON, 115, 115));
        EXPECT_EQ(child->downs, 1);
        EXPECT_FALSE(top.dragging);
        g_cursor = POINT{115 + c.move, 115};
        top.OnMouseMove(MK_LBUTTON, 115 + c.move, 115);
        EXPECT_EQ(top.dragging, c.drags);
        if (c.drags) {
            // The press point is the drag's anchor; the next step moves the window with the cursor.
            EXPECT_EQ(top.dragOffsetX, 15);
            EXPECT_EQ(top.dragOffsetY, 15);
            g_cursor = POINT{140, 130};
            top.OnMouseMove(MK_LBUTTON, 140, 130);
            EXPECT_EQ(top.dragState, t_wndTop::e_dragMoving);
            EXPECT_EQ(top.rect.left, 125);
            EXPECT_EQ(top.rect.top, 115);
            EXPECT_EQ(child->rect.left, 135);  // the tree moves with the top
        }
        g_buttonDown = false;
        top.OnLButtonUp(0, g_cursor.x, g_cursor.y);
        EXPECT_FALSE(top.dragging);
        EXPECT_EQ(top.dragState, t_wndTop::e_dragNone);
        EXPECT_TRUE(top.dragEnabled);  // given back after a suspending child's press
    }
}

TEST_F(InputTest, AMoveWithTheButtonAlreadyUpEndsTheDrag)
{
    t_wndTop top;
    MakeWindowlessTop(top, 0, 0, 80, 40);
    top.keepOnScreen = false;
    g_buttonDown = true;
    g_cursor = POINT{20, 20};
    top.OnLButtonDown(MK_LBUTTON, 20, 20);
    EXPECT_TRUE(top.dragging);  // the background drags at once
    g_buttonDown = false;
    g_cursor = POINT{60, 50};
    top.OnMouseMove(0, 60, 50);
    EXPECT_FALSE(top.dragging);
    EXPECT_EQ(t_wndTop::DraggedWindow(), nullptr);
}

class t_shakeTop : public t_wndTop {
public:
    void OnShake(void* param) override
    {
        ++shakes;
        t_wndTop::OnShake(param);
    }
    int shakes = 0;
};

TEST_F(InputTest, ShakingADraggedTopCallsOnShakeOnce)
{
    t_shakeTop top;
    MakeWindowlessTop(top, 0, 0, 80, 40);
    top.keepOnScreen = false;
    g_buttonDown = true;
    g_cursor = POINT{20, 20};
    top.OnLButtonDown(MK_LBUTTON, 20, 20);
    ASSERT_TRUE(top.dragging);
    const struct {
        int x;
        uint32_t tick;
    } steps[] = {{30, 1000}, {180, 1050}, {30, 1100}, {180, 1150}, {30, 1200}};
    for (const auto& step : steps) {
        g_tick = step.tick;
        g_cursor = POINT{step.x, 20};
        top.OnMouseMove(MK_LBUTTON, step.x, 20);
    }
    EXPECT_EQ(top.shakes, 1);
    g_buttonDown = false;
    top.OnLButtonUp(0, 30, 20);
}

TEST_F(InputTest, TheWorkAreaClampCanKeepOnlyThePaintedPixelsOnScreen)
{
    RECT work;
    const POINT corner = {0, 0};
    GetWorkArea(&corner, work);
    t_wndTop top;
    MakeWindowlessTop(top, work.left, work.top, 100, 60);
    AddFilledChild(top, 10, 10, 20, 20, 0xFF0000FF, false);
    top.SetPerPixelAlpha(true);
    top.useContentBounds = true;
    top.Measure(nullptr);
    EXPECT_EQ(top.contentBounds.left, 10);
    EXPECT_EQ(top.contentBounds.right, 30);
    EXPECT_EQ(top.contentBounds.bottom, 30);
    // Only the painted 20 x 20 must stay inside: the window may stick out by its empty part.
    top.Move(work.right - 25, work.top + 5, 100, 60, false);
    EXPECT_EQ(top.rect.left, work.right - 30);
    EXPECT_TRUE(top.clampedRight);
    top.useContentBounds = false;
    top.Move(work.right - 25, work.top + 5, 100, 60, false);
    EXPECT_EQ(top.rect.left, work.right - 100);
    // Owner mode draws into another window: no clamp.
    top.ownerMode = true;
    top.Move(work.right - 25, work.top + 5, 100, 60, false);
    EXPECT_EQ(top.rect.left, work.right - 25);
}

TEST_F(InputTest, AHiddenTopTakesNoButtonUp)
{
    t_wndTop top;
    MakeWindowlessTop(top, 0, 0, 80, 40);
    t_probeChild* child = AddProbe(top, 0, 0, 10, 10);
    top.visible = false;
    EXPECT_FALSE(top.OnLButtonUp(0, 5, 5));
    EXPECT_EQ(child->ups, 0);
    top.visible = true;
    EXPECT_TRUE(top.OnLButtonUp(0, 5, 5));
    EXPECT_EQ(child->ups, 1);
}

// Pumps this thread's messages for ms milliseconds; counts the WM_TIMER messages that
// carry no window (thread timers).
int PumpCountingThreadTimers(DWORD ms)
{
    int threadTimers = 0;
    const DWORD end = GetTickCount() + ms;
    while (static_cast<int>(end - GetTickCount()) > 0) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_TIMER && !msg.hwnd)
                ++threadTimers;
            DispatchMessageW(&msg);
        }
        Sleep(10);
    }
    return threadTimers;
}

TEST_F(InputTest, ATopWithoutAWindowStartsNoHoverTimer)
{
    t_wndTop top;
    MakeWindowlessTop(top, 0, 0, 80, 40);
    top.ownerMode = true;  // owner mode without an owner, as the preview makes them
    top.OnMouseMove(0, 10, 10);
    EXPECT_TRUE(top.hover);
    top.OnMouseEnter();
    EXPECT_EQ(PumpCountingThreadTimers(350), 0);
    top.OnMouseLeave();
}

// A real top window for the message tests; its class is registered by Create.
struct t_realTop {
    explicit t_realTop(DWORD style)
    {
        EXPECT_TRUE(top.Create(style, 200, 200, 100, 60, 0, nullptr, nullptr));
        AddRootLayout(top);
        child = AddProbe(top, 10, 10, 30, 30);
    }
    t_countingTop top;
    t_probeChild* child;
};

TEST_F(InputTest, SetCursorCarriesMouseMessagesOnlyForADisabledWindow)
{
    struct t_case {
        const char* what;
        DWORD style;
        int perMessage;  // calls for each message WM_SETCURSOR carries
    };
    for (const t_case& c : {t_case{"enabled", WS_POPUP, 0}, t_case{"disabled", WS_POPUP | WS_DISABLED, 1}}) {
        SCOPED_TRACE(c.what);
        t_realTop real(c.style);
        HWND window = real.top.hwnd;
        ASSERT_NE(window, nullptr);
        const auto setCursor = [&](UINT mouseMsg) {
            SendMessageW(window, WM_SETCURSOR, reinterpret_cast<WPARAM>(window), MAKELPARAM(HTCLIENT, mouseMsg));
        };
        g_cursor = POINT{220, 220};  // over the child
        setCursor(WM_MOUSEMOVE);
        EXPECT_EQ(real.child->moves, c.perMessage);
        // The system repeats the message for a cursor that did not move: dropped.
        setCursor(WM_MOUSEMOVE);
        EXPECT_EQ(real.child->moves, c.perMessage);
        // Two presses at one spot are two presses.
        setCursor(WM_LBUTTONDOWN);
        EXPECT_EQ(real.child->downs, c.perMessage);
        setCursor(WM_LBUTTONDOWN);
        EXPECT_EQ(real.child->downs, 2 * c.perMessage);
        if (c.style & WS_DISABLED)
            continue;
        // An enabled window's own press arrives as WM_LBUTTONDOWN: one press, one call.
        SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 20));
        EXPECT_EQ(real.child->downs, 1);
        SendMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(20, 20));
        EXPECT_EQ(real.child->ups, 1);
    }
}

TEST_F(InputTest, HoverPointsAreSignExtended)
{
    t_realTop real(WS_POPUP | WS_DISABLED);
    // A child placed left of and above the primary monitor.
    real.child->rect = RECT{-300, -200, -100, -50};
    real.child->SyncLayoutRect();
    real.top.rect = RECT{-400, -300, 100, 100};
    real.top.SyncLayoutRect();
    SendMessageW(real.top.hwnd, WM_MOUSEHOVER, 0, MAKELPARAM(-250, -120));
    ASSERT_EQ(real.child->hovers.size(), 1u);
    EXPECT_EQ(real.child->hovers[0].x, -250);
    EXPECT_EQ(real.child->hovers[0].y, -120);
}

TEST_F(InputTest, ClientPointsOfMouseMessagesBecomeScreenPoints)
{
    t_realTop real(WS_POPUP);
    SendMessageW(real.top.hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(15, 12));
    EXPECT_EQ(real.child->downs, 1);  // (215, 212) lies in the child at (210, 210)
    SendMessageW(real.top.hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(60, 12));
    EXPECT_EQ(real.child->downs, 1);  // (260, 212) is background
    SendMessageW(real.top.hwnd, WM_LBUTTONUP, 0, MAKELPARAM(60, 12));
}

}  // namespace
