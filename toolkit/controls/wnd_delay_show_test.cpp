// The delay-show window on a real layered window, driven by a fake clock and cursor: the
// fades step by step, the reversal at the mirrored time, the hold while the cursor is over
// it, placement against the anchor, immediate show and hide, and the real timers.
#include "toolkit/controls/wnd_delay_show.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <string>

#include "graphics/paint/work_area.h"
#include "tests/support/message_pump.h"
#include "tests/support/painted_tree.h"
#include "toolkit/controls/input_hooks.h"

namespace {

uint32_t g_tick = 0;
POINT g_cursor = {0, 0};

uint32_t FakeClock() { return g_tick; }
bool NoButton() { return false; }
bool FakeCursor(POINT& p)
{
    p = g_cursor;
    return true;
}

class t_probeDelayShow : public t_wndDelayShow {
public:
    void OnHidden() override
    {
        ++hidden;
        log += "hidden ";
    }
    bool FadeOnLeave() override { return fadeOnLeave; }
    void OnPlaced(const RECT& finalRect, const RECT& requestedRect) override
    {
        placed = finalRect;
        requested = requestedRect;
        log += "placed ";
    }
    void OnPopup() override { log += "popup "; }

    int hidden = 0;
    bool fadeOnLeave = true;
    RECT placed = {}, requested = {};
    std::string log;
};

const int c_width = 100, c_height = 60;

class DelayShowTest : public ::testing::Test {
protected:
    DelayShowTest() : m_hooks(t_inputHooks{FakeClock, NoButton, FakeCursor})
    {
        g_tick = 50000;
        g_cursor = POINT{-3000, -3000};
        GetWorkArea(nullptr, work);
        anchor = POINT{(work.left + work.right) / 2, (work.top + work.bottom) / 2};
    }

    // A disabled layered window of 100 x 60.
    static void Make(t_probeDelayShow& window)
    {
        ASSERT_TRUE(window.Create(WS_POPUP | WS_DISABLED, 0, 0, c_width, c_height, 0, nullptr, nullptr));
        AddRootLayout(window);
        window.layout->SetMinSize(c_width, c_height);
        window.SetLayered(true);
    }

    // A fading popup with its left/top at the anchor.
    void Popup(t_probeDelayShow& window, bool immediate = false)
    {
        t_delayShowRequest request;
        request.Set(&anchor, 0, 0, nullptr, nullptr, immediate);
        window.Popup(request);
    }

    // One tick of a window timer, through the window's message handling.
    static void Tick(t_wndDelayShow& window, UINT_PTR id) { SendMessageW(window.hwnd, WM_TIMER, id, 0); }
    static void FadeInTick(t_wndDelayShow& window) { Tick(window, window.fadeInTimerId); }
    static void FadeOutTick(t_wndDelayShow& window) { Tick(window, window.fadeOutTimerId); }

    // The mouse message a disabled window learns of, with the cursor at p.
    static void MouseAt(t_wndDelayShow& window, POINT p)
    {
        g_cursor = p;
        SendMessageW(window.hwnd, WM_SETCURSOR, reinterpret_cast<WPARAM>(window.hwnd),
                     MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    }

    // Popup, then fade in to the end.
    void ShowOpaque(t_probeDelayShow& window)
    {
        Popup(window);
        g_tick += 2000;
        FadeInTick(window);
        ASSERT_EQ(255, window.alpha);
        ASSERT_FALSE(window.fadingIn);
    }

    RECT work;
    POINT anchor;

private:
    t_inputHooksScope m_hooks;
};

TEST(MirroredFadeStart, ContinuesFromTheReachedAlphaAndNeverOverflows)
{
    struct t_case {
        uint32_t now, otherStart;
        int otherDuration, ownDuration;
        uint32_t wantElapsed;  // now - result: how far into its own fade the new one starts
    } const cases[] = {
        {10000, 9700, 1000, 1000, 700},           // 300 of 1000 out: 700 of 1000 in
        {10000, 9750, 1000, 500, 375},            // durations differ: the fraction carries over
        {10000, 10000, 1000, 1000, 1000},         // just started: the other fade starts at its end
        {10000, 8000, 1000, 1000, 0},             // the other fade ended: the new one from the start
        {10000, 0, 1000, 1000, 0},                // a start of 0 long ago
        {0xC0000000u, 0, 1000, 1000, 0},          // ... whose difference overflows 32 signed bits
        {0xFFFFFFF0u, 0, 1000, 1000, 0},          // ... and the largest tick
        {100, 0xFFFFFF00u, 1000, 1000, 644},      // the other fade began before the tick wrapped
        {10000, 9000, 0, 1000, 0},                // an other fade of no length is over
        {10000, 9700, 1000, 0, 0},                // a fade of no length starts now
        {10, 9, INT_MAX, INT_MAX, INT_MAX - 1u},  // the largest durations stay exact
    };
    for (const t_case& c : cases) {
        const uint32_t start = MirroredFadeStart(c.now, c.otherStart, c.otherDuration, c.ownDuration);
        EXPECT_EQ(c.wantElapsed, c.now - start) << c.now << " " << c.otherStart << " " << c.ownDuration;
    }
}

// A window fresh from construction counts as one whose fade-out ended long ago: its first
// popup fades in over the whole second from alpha 0, whatever the tick count, the wrap of
// the tick count included.
TEST_F(DelayShowTest, FirstPopupFadesInOverTheWholeDurationAtAnyTickCount)
{
    for (uint32_t start : {1500u, 0x7FFFFF00u, 0xC0000000u, 0xFFFFFF00u}) {
        SCOPED_TRACE(start);
        t_probeDelayShow window;
        Make(window);
        g_tick = start;
        Popup(window);
        EXPECT_TRUE(window.fadingIn);
        EXPECT_FALSE(window.fadingOut);
        EXPECT_FALSE(IsWindowVisible(window.hwnd));
        EXPECT_EQ("placed popup ", window.log);

        const struct {
            uint32_t at;
            int alpha;
        } steps[] = {{0, 0}, {250, 63}, {500, 127}, {999, 254}};
        for (const auto& step : steps) {
            g_tick = start + step.at;
            FadeInTick(window);
            EXPECT_EQ(step.alpha, window.alpha) << step.at;
            EXPECT_TRUE(IsWindowVisible(window.hwnd));
        }
        g_tick = start + 1000;
        FadeInTick(window);
        EXPECT_EQ(255, window.alpha);
        EXPECT_FALSE(window.fadingIn);
        EXPECT_FALSE(KillTimer(window.hwnd, window.fadeInTimerId));
    }
}

TEST_F(DelayShowTest, AReversedFadeContinuesAtTheMirroredTime)
{
    t_probeDelayShow window;
    Make(window);
    ShowOpaque(window);

    // Fade out for 300 ms of 1000.
    window.Hide(false);
    EXPECT_TRUE(window.fadingOut);
    g_tick += 300;
    FadeOutTick(window);
    EXPECT_EQ(255 - 300 * 255 / 1000, window.alpha);

    // A popup turns it into a fade-in at 700 ms: no jump in alpha.
    Popup(window);
    EXPECT_TRUE(window.fadingIn);
    EXPECT_FALSE(window.fadingOut);
    EXPECT_FALSE(KillTimer(window.hwnd, window.fadeOutTimerId));
    FadeInTick(window);
    EXPECT_EQ(700 * 255 / 1000, window.alpha);

    // 100 ms on (800 ms in), a fade-out takes over at 200 ms.
    g_tick += 100;
    window.Hide(false);
    EXPECT_FALSE(window.fadingIn);
    FadeOutTick(window);
    EXPECT_EQ(255 - 200 * 255 / 1000, window.alpha);
    // A stray tick of the replaced fade-in changes nothing.
    FadeInTick(window);
    EXPECT_EQ(255 - 200 * 255 / 1000, window.alpha);
    EXPECT_TRUE(window.fadingOut);

    // The rest of the fade-out: 800 ms more hides the window.
    g_tick += 799;
    FadeOutTick(window);
    EXPECT_EQ(255 - 999 * 255 / 1000, window.alpha);
    EXPECT_EQ(0, window.hidden);
    g_tick += 1;
    FadeOutTick(window);
    EXPECT_FALSE(IsWindowVisible(window.hwnd));
    EXPECT_FALSE(window.IsShown());
    EXPECT_EQ(1, window.hidden);
    EXPECT_FALSE(window.fadingOut);
}

TEST_F(DelayShowTest, TheCursorHoldsTheWindowAndLeavingFadesItOut)
{
    t_probeDelayShow window;
    Make(window);
    ShowOpaque(window);
    const POINT inside = {anchor.x + 20, anchor.y + 20};
    const POINT outside = {anchor.x + 400, anchor.y + 20};

    window.Hide(false);
    g_tick += 600;
    FadeOutTick(window);
    ASSERT_LT(window.alpha, 128);

    // Entering stops the fade and makes the window opaque.
    MouseAt(window, inside);
    EXPECT_TRUE(window.hold);
    EXPECT_EQ(255, window.alpha);
    EXPECT_FALSE(window.fadingOut);
    EXPECT_FALSE(KillTimer(window.hwnd, window.fadeOutTimerId));
    // A fade-out tick while held leaves it shown, and so does a fade-out started meanwhile.
    window.Hide(false);
    g_tick += 5000;
    FadeOutTick(window);
    EXPECT_TRUE(IsWindowVisible(window.hwnd));
    EXPECT_FALSE(window.fadingOut);
    EXPECT_EQ(0, window.hidden);

    // Leaving starts a full-length fade-out from alpha 255.
    MouseAt(window, outside);
    EXPECT_FALSE(window.hold);
    EXPECT_TRUE(window.fadingOut);
    FadeOutTick(window);
    EXPECT_EQ(255, window.alpha);
    g_tick += 500;
    FadeOutTick(window);
    EXPECT_EQ(255 - 127, window.alpha);
    g_tick += 500;
    FadeOutTick(window);
    EXPECT_EQ(1, window.hidden);
    EXPECT_FALSE(IsWindowVisible(window.hwnd));
}

TEST_F(DelayShowTest, TheHoverPollReportsTheLeaveAndAWindowMayRefuseToFade)
{
    t_probeDelayShow window;
    Make(window);
    ShowOpaque(window);
    MouseAt(window, POINT{anchor.x + 10, anchor.y + 10});
    ASSERT_TRUE(window.hold);

    // The cursor goes away without a mouse message: the hover poll (timer 100) finds it out.
    window.fadeOnLeave = false;
    g_cursor = POINT{anchor.x - 300, anchor.y};
    Tick(window, c_hoverTimerId);
    PumpMessages(50);
    EXPECT_FALSE(window.hover);
    EXPECT_TRUE(window.hold);  // refused: still held, no fade
    EXPECT_FALSE(window.fadingOut);
    EXPECT_TRUE(IsWindowVisible(window.hwnd));

    window.fadeOnLeave = true;
    MouseAt(window, POINT{anchor.x + 10, anchor.y + 10});
    g_cursor = POINT{anchor.x - 300, anchor.y};
    Tick(window, c_hoverTimerId);
    PumpMessages(50);
    EXPECT_FALSE(window.hold);
    EXPECT_TRUE(window.fadingOut);
}

TEST_F(DelayShowTest, PopupPlacesTheWindowAgainstTheAnchor)
{
    struct t_case {
        int flags;
        int dx, dy;  // left/top relative to the anchor
    } const cases[] = {
        {0, 0, 0},
        {t_delayShowRequest::e_centreOnX, -c_width / 2, 0},
        {t_delayShowRequest::e_rightAtX, -c_width, 0},
        {t_delayShowRequest::e_centreOnX | t_delayShowRequest::e_rightAtX, -c_width / 2, 0},
        {t_delayShowRequest::e_centreOnY, 0, -c_height / 2},
        {t_delayShowRequest::e_bottomAtY, 0, -c_height},
        {t_delayShowRequest::e_centreOnY | t_delayShowRequest::e_bottomAtY, 0, -c_height / 2},
        {t_delayShowRequest::e_rightAtX | t_delayShowRequest::e_bottomAtY, -c_width, -c_height},
    };
    t_probeDelayShow window;
    Make(window);
    for (const t_case& c : cases) {
        t_delayShowRequest request;
        const RECT fit = {anchor.x - 5, anchor.y - 5, anchor.x + 5, anchor.y + 5};
        request.Set(&anchor, c.flags, 0, &fit, nullptr, true);
        window.Popup(request);
        EXPECT_EQ(anchor.x + c.dx, window.rect.left) << c.flags;
        EXPECT_EQ(anchor.y + c.dy, window.rect.top) << c.flags;
        EXPECT_EQ(c_width, window.rect.right - window.rect.left);
        EXPECT_EQ(window.requested.left, window.placed.left);
    }

    // Against the work area's right edge: left of the fit rectangle when asked, else
    // against the edge.
    const RECT fit = {work.right - 40, anchor.y, work.right - 20, anchor.y + 20};
    const POINT corner = {fit.right, fit.bottom};
    t_delayShowRequest request;
    request.Set(&corner, t_delayShowRequest::e_bottomAtY, e_fitLeftOfAnchor, &fit, &fit, true);
    window.Popup(request);
    EXPECT_EQ(fit.right, window.requested.left);
    EXPECT_EQ(fit.left - c_width, window.placed.left);
    EXPECT_EQ(fit.left - c_width, window.rect.left);
    EXPECT_EQ(fit.bottom - c_height, window.rect.top);
    EXPECT_EQ(fit.left, window.request.secondRect.left);
    request.noFit = true;
    window.Popup(request);
    EXPECT_EQ(fit.right, window.placed.left);           // not fitted
    EXPECT_EQ(work.right - c_width, window.rect.left);  // the top still keeps to the work area

    // Without a point or rectangles the request holds zeros.
    request.Set(nullptr, 0, 0, nullptr, nullptr, false);
    EXPECT_EQ(0, request.anchorX);
    EXPECT_EQ(0, request.fitRect.right);
    EXPECT_FALSE(request.noFit);
}

TEST_F(DelayShowTest, ImmediatePopupAndHideSkipTheFades)
{
    t_probeDelayShow window;
    Make(window);
    // Hiding a hidden window does nothing.
    window.Hide(true);
    window.Hide(false);
    EXPECT_EQ(0, window.hidden);
    EXPECT_TRUE(window.fadingOut);  // the construction state, untouched

    Popup(window, true);
    EXPECT_TRUE(IsWindowVisible(window.hwnd));
    EXPECT_EQ(255, window.alpha);
    EXPECT_FALSE(window.fadingIn);
    EXPECT_FALSE(window.fadingOut);
    EXPECT_FALSE(KillTimer(window.hwnd, window.fadeInTimerId));

    // A visible window popped up again (not immediately) moves and stays opaque.
    anchor.x += 30;
    Popup(window);
    EXPECT_EQ(anchor.x, window.rect.left);
    EXPECT_EQ(255, window.alpha);
    EXPECT_FALSE(window.fadingIn);

    // An immediate hide in the middle of a fade-out.
    window.Hide(false);
    g_tick += 400;
    FadeOutTick(window);
    window.Hide(true);
    EXPECT_FALSE(IsWindowVisible(window.hwnd));
    EXPECT_EQ(1, window.hidden);
    EXPECT_FALSE(window.fadingOut);
    EXPECT_FALSE(KillTimer(window.hwnd, window.fadeOutTimerId));
    window.Hide(true);
    EXPECT_EQ(1, window.hidden);
}

TEST_F(DelayShowTest, TheWindowTimersDriveBothFades)
{
    t_probeDelayShow window;
    Make(window);
    Popup(window);
    g_tick += 5000;
    PumpMessages(200);
    EXPECT_TRUE(IsWindowVisible(window.hwnd));
    EXPECT_EQ(255, window.alpha);
    EXPECT_FALSE(window.fadingIn);
    EXPECT_FALSE(KillTimer(window.hwnd, window.fadeInTimerId));

    window.Hide(false);
    g_tick += 5000;
    PumpMessages(200);
    EXPECT_FALSE(IsWindowVisible(window.hwnd));
    EXPECT_EQ(1, window.hidden);
    EXPECT_FALSE(KillTimer(window.hwnd, window.fadeOutTimerId));
}

}  // namespace
