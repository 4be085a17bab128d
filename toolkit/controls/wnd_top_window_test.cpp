// Real top windows on the display: a disabled layered top that shows, stays in the work
// area, is dragged and double-clicked through the mouse messages a disabled window gets
// (WM_SETCURSOR), posts hover and leave from its 100 ms timer, and the tooltip with
// several lines below or above its anchor.
#include "toolkit/controls/wnd_top.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "graphics/image/image.h"
#include "graphics/image/mem_dc.h"
#include "graphics/paint/pixel_ops.h"
#include "graphics/paint/work_area.h"
#include "tests/support/message_pump.h"
#include "tests/support/real_mouse.h"
#include "tests/support/painted_tree.h"
#include "toolkit/controls/input_hooks.h"
#include "toolkit/controls/wnd_hint.h"

namespace {

bool g_buttonDown = false;
POINT g_cursor = {0, 0};
uint32_t g_tick = 0;
bool g_fakeClock = false;

bool FakeButton() { return g_buttonDown; }
bool FakeCursor(POINT& p)
{
    p = g_cursor;
    return true;
}
uint32_t Clock() { return g_fakeClock ? g_tick : GetTickCount(); }

class WindowTest : public ::testing::Test {
protected:
    WindowTest() : m_hooks(t_inputHooks{Clock, FakeButton, FakeCursor})
    {
        g_buttonDown = false;
        g_cursor = POINT{0, 0};
        g_fakeClock = false;
        GetWorkArea(nullptr, work);
    }

    RECT work;

private:
    t_inputHooksScope m_hooks;
};

class t_probeChild : public t_fillElement {
public:
    t_probeChild() : t_fillElement(RGB(0, 128, 255), true) {}
    bool OnLButtonDown(UINT, int, int) override
    {
        ++downs;
        return true;
    }
    bool OnMouseHover(UINT, int x, int y) override
    {
        hovers.push_back(POINT{x, y});
        return true;
    }
    void OnMouseLeave() override
    {
        ++leaves;
        t_fillElement::OnMouseLeave();
    }
    int downs = 0, leaves = 0;
    std::vector<POINT> hovers;
};

class t_probeTop : public t_wndTop {
public:
    bool OnLButtonDblClk(UINT keys, int x, int y) override
    {
        ++doubleClicks;
        return t_wndTop::OnLButtonDblClk(keys, x, y);
    }
    void OnMouseLeave() override
    {
        ++leaves;
        t_wndTop::OnMouseLeave();
    }
    bool OnSetCursor(HWND window, int hitCode, int mouseMsg) override
    {
        if (mouseMsg == WM_LBUTTONDOWN)
            ++setCursorPresses;
        return t_wndTop::OnSetCursor(window, hitCode, mouseMsg);
    }
    int doubleClicks = 0, leaves = 0, setCursorPresses = 0;
};

// The mouse message a disabled window learns of, with the cursor at p.
void Mouse(HWND window, UINT msg, POINT p)
{
    g_cursor = p;
    SendMessageW(window, WM_SETCURSOR, reinterpret_cast<WPARAM>(window), MAKELPARAM(HTERROR, msg));
}

RECT WindowRect(HWND window)
{
    RECT r = {};
    GetWindowRect(window, &r);
    return r;
}

// A disabled layered top of 100 x 60 with one child at (10, 10, 40, 40).
struct t_layeredTop {
    t_layeredTop()
    {
        EXPECT_TRUE(top.Create(WS_POPUP | WS_DISABLED, 0, 0, 100, 60, 0, nullptr, nullptr));
        AddRootLayout(top);
        top.colorKey = RGB(255, 0, 255);
        child = new t_probeChild();
        child->Create(0, 10, 10, 30, 30, 0, nullptr, &top);
        static_cast<t_layoutAligned*>(top.layout)->AddChild(t_layoutPtr(child->CreateLayout()), t_alignInfo::Default());
        top.SetLayered(true);
    }
    t_probeTop top;
    t_probeChild* child;
};

TEST_F(WindowTest, DisabledLayeredTopShowsInsideTheWorkArea)
{
    t_layeredTop t;
    HWND window = t.top.hwnd;
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_LAYERED);
    EXPECT_FALSE(IsWindowEnabled(window));

    t.top.Move(work.right - 10, work.top + 50, 100, 60, true);
    EXPECT_TRUE(t.top.clampedRight);
    EXPECT_EQ(t.top.rect.left, work.right - 100);
    EXPECT_TRUE(t.top.Show(true));
    EXPECT_TRUE(IsWindowVisible(window));
    const RECT shownAt = WindowRect(window);
    EXPECT_EQ(shownAt.left, work.right - 100);
    EXPECT_EQ(shownAt.top, work.top + 50);
    EXPECT_EQ(shownAt.right - shownAt.left, 100);

    // Below and left of the area; and wider than the area: the left and top edges stay on it.
    t.top.Move(work.left - 30, work.bottom - 20, 100, 60, true);
    EXPECT_EQ(WindowRect(window).left, work.left);
    EXPECT_EQ(WindowRect(window).top, work.bottom - 60);
    const int wide = work.right - work.left + 50;
    t.top.Move(work.left + 5, work.top + 5, wide, 60, true);
    EXPECT_EQ(t.top.rect.left, work.left);

    t.top.Show(false);
    EXPECT_FALSE(IsWindowVisible(window));
    EXPECT_FALSE(t.top.shown);
    EXPECT_FALSE(t.top.clampedRight);
}

TEST_F(WindowTest, DragStartsOnlyPastTheThresholdAndTheWindowFollows)
{
    t_layeredTop t;
    HWND window = t.top.hwnd;
    const POINT origin = {work.left + 200, work.top + 200};
    t.top.Move(origin.x, origin.y, 100, 60, true);
    t.top.Show(true);

    // Press on the child, then move 3 and 4 pixels with the button held.
    g_buttonDown = true;
    const POINT press = {origin.x + 20, origin.y + 20};
    Mouse(window, WM_LBUTTONDOWN, press);
    EXPECT_EQ(t.child->downs, 1);
    Mouse(window, WM_MOUSEMOVE, POINT{press.x + 3, press.y});
    EXPECT_FALSE(t.top.dragging);
    EXPECT_EQ(WindowRect(window).left, origin.x);
    Mouse(window, WM_MOUSEMOVE, POINT{press.x + 4, press.y});
    EXPECT_TRUE(t.top.dragging);
    EXPECT_EQ(t_wndTop::DraggedWindow(), window);
    Mouse(window, WM_MOUSEMOVE, POINT{press.x + 50, press.y + 30});
    EXPECT_EQ(WindowRect(window).left, origin.x + 50);
    EXPECT_EQ(WindowRect(window).top, origin.y + 30);

    g_buttonDown = false;
    Mouse(window, WM_LBUTTONUP, POINT{press.x + 60, press.y + 30});
    EXPECT_FALSE(t.top.dragging);
    EXPECT_EQ(t_wndTop::DraggedWindow(), nullptr);
    EXPECT_EQ(WindowRect(window).left, origin.x + 60);
}

TEST_F(WindowTest, TwoQuickPressesOnTheBackgroundMakeADoubleClick)
{
    t_layeredTop t;
    HWND window = t.top.hwnd;
    const POINT origin = {work.left + 100, work.top + 100};
    t.top.Move(origin.x, origin.y, 100, 60, true);
    t.top.Show(true);
    g_fakeClock = true;
    g_tick = 10000;
    const POINT background = {origin.x + 70, origin.y + 40};
    g_buttonDown = true;
    Mouse(window, WM_LBUTTONDOWN, background);
    g_buttonDown = false;
    Mouse(window, WM_LBUTTONUP, background);
    g_tick += 120;
    g_buttonDown = true;
    Mouse(window, WM_LBUTTONDOWN, POINT{background.x + 2, background.y});
    g_buttonDown = false;
    Mouse(window, WM_LBUTTONUP, POINT{background.x + 2, background.y});
    EXPECT_EQ(t.top.doubleClicks, 1);
    // A third press long after makes none.
    g_tick += 1000;
    g_buttonDown = true;
    Mouse(window, WM_LBUTTONDOWN, POINT{background.x + 3, background.y});
    g_buttonDown = false;
    Mouse(window, WM_LBUTTONUP, POINT{background.x + 3, background.y});
    EXPECT_EQ(t.top.doubleClicks, 1);
}

TEST_F(WindowTest, Timer100PostsHoverAfterRestAndLeaveOutside)
{
    t_layeredTop t;
    HWND window = t.top.hwnd;
    const POINT origin = {work.left + 300, work.top + 100};
    t.top.Move(origin.x, origin.y, 100, 60, true);
    t.top.Show(true);
    g_fakeClock = true;
    g_tick = 20000;
    // The poll timer's ticks, driven by hand on the fake clock; posted messages delivered.
    const auto tick = [&](int times) {
        for (int i = 0; i < times; ++i) {
            g_tick += 150;
            SendMessageW(window, WM_TIMER, c_hoverTimerId, 0);
            PumpMessages(0);
        }
    };
    const POINT over = {origin.x + 20, origin.y + 25};
    g_cursor = over;
    Mouse(window, WM_MOUSEMOVE, over);
    EXPECT_TRUE(t.top.hover);
    tick(6);
    // The cursor rested on the child: hover reached it with the screen point.
    ASSERT_FALSE(t.child->hovers.empty());
    EXPECT_EQ(t.child->hovers[0].x, over.x);
    EXPECT_EQ(t.child->hovers[0].y, over.y);
    EXPECT_EQ(t.top.leaves, 0);

    g_cursor = POINT{origin.x + 500, origin.y + 500};
    tick(1);
    EXPECT_GE(t.top.leaves, 1);
    EXPECT_FALSE(t.top.hover);
    // Leaving stopped the poll.
    EXPECT_FALSE(KillTimer(window, c_hoverTimerId));
}

// Counts and removes the hover messages waiting for window.
int TakeHovers(HWND window)
{
    int count = 0;
    MSG msg;
    while (PeekMessageW(&msg, window, WM_MOUSEHOVER, WM_MOUSEHOVER, PM_REMOVE))
        ++count;
    return count;
}

TEST_F(WindowTest, HoverPollingPausesWhileAnotherTopIsDragged)
{
    t_layeredTop dragged, resting;
    dragged.top.Move(work.left + 10, work.top + 10, 100, 60, true);
    resting.top.Move(work.left + 300, work.top + 10, 100, 60, true);
    dragged.top.Show(true);
    resting.top.Show(true);
    g_fakeClock = true;
    g_tick = 50000;
    const POINT over = {work.left + 320, work.top + 30};
    g_cursor = over;
    const auto poll = [&] {
        resting.top.PollHover();
        g_tick += 150;
        resting.top.PollHover();
        return TakeHovers(resting.top.hwnd);
    };
    EXPECT_EQ(poll(), 1);
    // A press on the other top's background drags it at once.
    g_buttonDown = true;
    dragged.top.OnLButtonDown(MK_LBUTTON, work.left + 80, work.top + 50);
    ASSERT_EQ(t_wndTop::DraggedWindow(), dragged.top.hwnd);
    g_cursor = over;
    g_tick += 150;
    EXPECT_EQ(poll(), 0);
    g_buttonDown = false;
    dragged.top.OnLButtonUp(0, work.left + 80, work.top + 50);
    g_cursor = over;
    g_tick += 150;
    EXPECT_GT(poll(), 0);
}

TEST_F(WindowTest, TooltipShowsItsLinesBelowOrAboveTheElement)
{
    t_layeredTop t;
    t.top.Move(work.left + 100, work.top + 100, 100, 60, true);
    t.top.Show(true);
    t.child->SetText(L"a\r\nbb\rccc\n");
    t.child->ShowHint(true);
    t_wndHint* hint = t.top.hint.get();
    ASSERT_NE(hint, nullptr);
    HWND hintWindow = hint->hwnd;
    ASSERT_NE(hintWindow, nullptr);
    EXPECT_TRUE(IsWindowVisible(hintWindow));
    EXPECT_EQ(hint->Lines().LineCount(), 4);

    // Four lines of the tooltip font, the margins and one more pixel each way.
    HDC dc = GetDC(nullptr);
    HGDIOBJ previous = SelectObject(dc, t_wndHint::HintFont());
    TEXTMETRICW metrics;
    GetTextMetricsW(dc, &metrics);
    SIZE widest;
    GetTextExtentPoint32W(dc, L"ccc", 3, &widest);
    SelectObject(dc, previous);
    ReleaseDC(nullptr, dc);
    const RECT childRect = t.child->GetRect();
    RECT r = WindowRect(hintWindow);
    EXPECT_EQ(r.bottom - r.top, 4 * metrics.tmHeight + 8 + 1);
    EXPECT_EQ(r.right - r.left, widest.cx + 4 + 1);
    EXPECT_EQ(r.left, childRect.left);
    EXPECT_EQ(r.top, childRect.bottom + 10);
    // Shown, the tooltip keeps itself topmost on a timer.
    EXPECT_TRUE(KillTimer(hintWindow, c_hintTopmostTimerId));

    // Near the bottom of the work area it goes above the element.
    t.top.Move(work.left + 100, work.bottom - 45, 100, 60, true);
    t.child->ShowHint(true);
    const RECT low = t.child->GetRect();
    r = WindowRect(hintWindow);
    EXPECT_EQ(r.bottom, low.top - 2);
    EXPECT_EQ(r.left, low.left);

    // Hidden, its topmost timer is gone; the window never had a timer 0.
    t.child->ShowHint(false);
    EXPECT_FALSE(IsWindowVisible(hintWindow));
    EXPECT_FALSE(KillTimer(hintWindow, c_hintTopmostTimerId));
    EXPECT_FALSE(KillTimer(hintWindow, 0));

    // An empty text hides instead of showing.
    t.child->ShowHint(true);
    EXPECT_TRUE(IsWindowVisible(hintWindow));
    t.child->SetText(L"");
    t.child->ShowHint(true);
    EXPECT_FALSE(IsWindowVisible(hintWindow));
}

// A 9 x 9 picture: opaque white with an opaque black top-left 3 x 3 corner.
HBITMAP CornerPicture()
{
    uint32_t* bits = nullptr;
    HBITMAP bitmap = CreateDib32(9, 9, &bits);
    for (int y = 0; bitmap && y < 9; ++y) {
        for (int x = 0; x < 9; ++x)
            bits[(8 - y) * 9 + x] = x < 3 && y < 3 ? 0xFF000000u : 0xFFFFFFFFu;
    }
    return bitmap;
}

TEST_F(WindowTest, ClassicTopTakesItsRegionFromTheMaskOncePerSize)
{
    HBITMAP picture = CornerPicture();
    ASSERT_NE(picture, nullptr);
    t_image image;
    image.Init();
    image.SetBitmap(picture, 0, 0, c_noColorKey, c_noColorKey, -1, -1, t_image::e_stretch, t_image::e_stretch, false);
    struct t_case {
        const char* what;
        bool maskRegion;
        bool cornerInside;
    };
    for (const t_case& c : {t_case{"mask region", true, false}, t_case{"picture and own regions", false, true}}) {
        SCOPED_TRACE(c.what);
        t_wndTop top;
        ASSERT_TRUE(top.Create(WS_POPUP, work.left + 50, work.top + 50, 9, 9, 0, nullptr, nullptr));
        AddRootLayout(top);
        t_image mask = image;
        ASSERT_TRUE(top.SetImageLayers(image, mask));
        top.useMaskRegion = c.maskRegion;
        top.Move(work.left + 50, work.top + 50, 9, 9, true);
        top.Measure(nullptr);
        HRGN region = CreateRectRgn(0, 0, 0, 0);
        ASSERT_NE(GetWindowRgn(top.hwnd, region), ERROR);
        EXPECT_EQ(PtInRegion(region, 1, 1) != FALSE, c.cornerInside);
        EXPECT_TRUE(PtInRegion(region, 5, 5));
        EXPECT_FALSE(PtInRegion(region, 9, 9));
        DeleteObject(region);
        // The same size keeps the region; another size makes a new one.
        const HRGN kept = top.region;
        top.Measure(nullptr);
        EXPECT_EQ(top.region, kept);
        top.Move(work.left + 50, work.top + 50, 18, 18, true);
        top.Measure(nullptr);
        EXPECT_EQ(top.regionWidth, 18);
        // Shown, the classic path paints through WM_PAINT.
        EXPECT_TRUE(top.Show(true));
        PumpMessages(50);
        EXPECT_TRUE(IsWindowVisible(top.hwnd));
    }
    // A layered top has no window region.
    t_wndTop layered;
    ASSERT_TRUE(layered.Create(WS_POPUP, work.left + 50, work.top + 50, 9, 9, 0, nullptr, nullptr));
    AddRootLayout(layered);
    t_image mask = image;
    layered.SetImageLayers(image, mask);
    layered.SetLayered(true);
    layered.Measure(nullptr);
    EXPECT_EQ(layered.region, nullptr);
    DeleteObject(picture);
}

// Real input, the hooks left alone: the system's own mouse messages reach a disabled top
// through WM_SETCURSOR, and under capture as they are.
TEST(WndTopRealInput, DisabledLayeredTopTakesClicksDoubleClicksAndDrags)
{
    RECT work;
    GetWorkArea(nullptr, work);
    t_probeTop top;
    ASSERT_TRUE(top.Create(WS_POPUP | WS_DISABLED, 0, 0, 120, 80, 0, nullptr, nullptr));
    AddRootLayout(top);
    top.SetPlainFrame(RGB(0, 0, 0), RGB(40, 90, 200));
    top.SetLayered(true);
    // Topmost, and away from the places where the other window tests put theirs.
    SetWindowPos(top.hwnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    const POINT origin = {work.right - 400, work.bottom - 300};
    top.Move(origin.x, origin.y, 120, 80, true);
    top.Show(true);
    PumpMessages(100);

    // Two presses at one spot, the cursor still: the second is a double click. (A wide
    // double-click time, so that a loaded machine still makes one.)
    top.doubleClickTime = 1000;
    const int x = origin.x + 60, y = origin.y + 40;
    for (int i = 0; i < 2; ++i) {
        SendMouse(MOUSEEVENTF_MOVE, x, y);
        SendMouse(MOUSEEVENTF_LEFTDOWN);
        SendMouse(MOUSEEVENTF_LEFTUP);
    }
    EXPECT_EQ(top.setCursorPresses, 2);
    EXPECT_EQ(top.doubleClicks, 1);
    EXPECT_TRUE(top.hover);
    EXPECT_FALSE(top.dragging);

    // A press on the background drags the window with the cursor until the release.
    SendMouse(MOUSEEVENTF_MOVE, x, y);
    SendMouse(MOUSEEVENTF_LEFTDOWN);
    EXPECT_TRUE(top.dragging);
    SendMouse(MOUSEEVENTF_MOVE, x + 30, y + 20);
    SendMouse(MOUSEEVENTF_MOVE, x + 40, y + 25);
    EXPECT_EQ(WindowRect(top.hwnd).left, origin.x + 40);
    EXPECT_EQ(WindowRect(top.hwnd).top, origin.y + 25);
    SendMouse(MOUSEEVENTF_LEFTUP);
    EXPECT_FALSE(top.dragging);
}

}  // namespace
