// The skin-box hint, its button and the tip bubbles on real layered windows, with a fake
// clock and a host that says the skin box is active; the launches reach the recording
// stand-ins of the utility and the component manager.
#include "ime_ui/windows/skinbox/wnd_skin_box.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "foundation/core/error_chain.h"
#include "foundation/config/runtime.h"
#include "foundation/win/reg.h"
#include "foundation/win/rect.h"
#include "graphics/paint/work_area.h"
#include "ime_ui/windows/skinbox/wnd_skin_box_tip.h"
#include "tests/support/exe_folder.h"
#include "tests/support/gdi_census.h"
#include "tests/support/launch_log.h"
#include "tests/support/runtime_init.h"
#include "tests/support/temp_folder.h"
#include "toolkit/controls/input_hooks.h"
#include "toolkit/controls/ui_context.h"
#include "toolkit/controls/ui_wrap.h"
#include "toolkit/controls/wnd_text_array.h"

namespace {

uint32_t g_tick = 0;
uint32_t FakeClock() { return g_tick; }
bool NoButton() { return false; }
bool FarCursor(POINT& p)
{
    p = POINT{-3000, -3000};
    return true;
}

class SkinBoxUi : public UiWrapImplBase {
public:
    bool IsSkinBoxActive() override { return active; }
    void OnSkinBoxLaunch(int flag) override { launches.push_back(flag); }

    bool active = true;
    std::vector<int> launches;
};

// A plain window that receives the popups' notifications.
class t_notifyWindow {
public:
    t_notifyWindow()
        : hwnd(CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr))
    {}
    ~t_notifyWindow() { Destroy(); }
    void Destroy()
    {
        if (hwnd)
            DestroyWindow(hwnd);
        hwnd = nullptr;
    }
    // The lParam of every message of this number waiting for the window.
    std::vector<LPARAM> Take(UINT message)
    {
        std::vector<LPARAM> out;
        MSG msg;
        while (hwnd && PeekMessageW(&msg, hwnd, message, message, PM_REMOVE))
            out.push_back(msg.lParam);
        return out;
    }

    HWND hwnd;
};

const UINT c_notify = c_msgSetupTipClicked;

class SkinBoxTest : public ::testing::Test {
protected:
    SkinBoxTest() : m_hooks(t_inputHooks{FakeClock, NoButton, FarCursor})
    {
        g_tick = 70000;
        GetWorkArea(nullptr, work);
        context.SetUiWrap(&ui);
    }
    ~SkinBoxTest() override
    {
        if (resources)
            FreeLibrary(resources);
    }

    void MakeTip(t_wndSkinBoxTip& tip, const wchar_t* text)
    {
        tip.SetResourceModule(resources);
        tip.tipText.Assign(text);
        ASSERT_TRUE(tip.Create(WS_POPUP | WS_DISABLED, 0, 0, 100, 100, 0, nullptr, nullptr));
        tip.SetNotify(notify.hwnd, c_notify);
    }
    void MakeHint(t_wndSkinBoxHint& hint)
    {
        hint.SetContext(&context);
        hint.SetResourceModule(resources);
        ASSERT_TRUE(
            hint.Create(WS_POPUP | WS_DISABLED, 0, 0, 0, 0, reinterpret_cast<INT_PTR>(notify.hwnd), nullptr, nullptr));
        hint.SetNotify(notify.hwnd, c_msgSkinBoxHidden);
    }
    // The hint as the status bar pops it up: left/bottom at the skin box's bottom-right corner.
    static void PopupBeside(t_wndSkinBoxHint& hint, const RECT& skinBox)
    {
        const POINT corner = {skinBox.right, skinBox.bottom};
        t_delayShowRequest request;
        request.Set(&corner, 0x20, 1, &skinBox, &skinBox, true);
        hint.Popup(request);
    }

    HMODULE resources = LoadLibraryW((ExeFolder() + L"\\Resource.dll").c_str());
    RECT work;
    SkinBoxUi ui;
    t_uiContext context;
    t_notifyWindow notify;

private:
    t_inputHooksScope m_hooks;
};

TEST_F(SkinBoxTest, TipLoadsItsPicturesAndMakesOneRowPerLine)
{
    ASSERT_NE(nullptr, resources);
    const struct {
        const wchar_t* text;
        int rows;
    } cases[] = {{L"点此换肤", 1}, {L"手写、换肤\r\n惊喜", 2}, {L"a\r\n\r\nb", 3}, {L"", 1}};
    int oneRowHeight = 0;
    for (const auto& c : cases) {
        t_wndSkinBoxTip tip;
        MakeTip(tip, c.text);
        EXPECT_TRUE(tip.LoadTipImages());
        ASSERT_NE(nullptr, tip.textArray);
        EXPECT_EQ(c.rows, tip.textArray->ChildCount()) << c.text;
        const POINT centre = {(work.left + work.right) / 2, (work.top + work.bottom) / 2};
        const RECT r = tip.ComputeTipRect(centre, 0, 2, RECT{centre.x, centre.y, centre.x + 1, centre.y + 1});
        if (c.rows == 1 && c.text[0])
            oneRowHeight = RectHeight(r);
        if (c.rows == 2) {
            EXPECT_GT(RectHeight(r), oneRowHeight) << "a second row makes the tip taller";
        }
    }
}

TEST_F(SkinBoxTest, MissingPicturesAreReportedButTheTipStillWorks)
{
    t_wndSkinBoxTip tip;
    tip.SetResourceModule(GetModuleHandleW(nullptr));  // the test program has none of them
    tip.tipText.Assign(L"x");
    ASSERT_TRUE(tip.Create(WS_POPUP | WS_DISABLED, 0, 0, 100, 100, 0, nullptr, nullptr));
    EXPECT_FALSE(tip.LoadTipImages());
    const POINT centre = {(work.left + work.right) / 2, (work.top + work.bottom) / 2};
    tip.ShowTip(RECT{centre.x, centre.y, centre.x, centre.y}, centre, 0, 2, false);
    g_tick += 600;
    tip.SlideStep();
    EXPECT_TRUE(tip.IsShown());
}

TEST_F(SkinBoxTest, PlacementFlagsPutTheTipAroundTheAnchor)
{
    t_wndSkinBoxTip tip;
    MakeTip(tip, L"点此换肤");
    const POINT a = {(work.left + work.right) / 2, (work.top + work.bottom) / 2};
    const RECT target = {a.x - 5, a.y - 5, a.x + 5, a.y + 5};
    const RECT probe = tip.ComputeTipRect(a, 0, 0, target);
    const int w = RectWidth(probe), h = RectHeight(probe);
    const struct {
        unsigned flags;
        int left, top;
    } cases[] = {
        {0, a.x, a.y},        {0x04, a.x - w / 2, a.y}, {0x08, a.x - w, a.y},     {0x10, a.x, a.y - h / 2},
        {0x20, a.x, a.y - h}, {0x0C, a.x - w / 2, a.y}, {0x28, a.x - w, a.y - h},
    };
    for (const auto& c : cases) {
        const RECT r = tip.ComputeTipRect(a, c.flags, 0, target);
        EXPECT_EQ(c.left, r.left) << c.flags;
        EXPECT_EQ(c.top, r.top) << c.flags;
        EXPECT_EQ(w, RectWidth(r));
    }
    // Arrows: towards the target, along the axis the fit flags choose.
    tip.ComputeTipRect(POINT{a.x, target.top}, 0x24, 2, target);
    EXPECT_EQ(t_wndSkinBoxTip::e_arrowDown, tip.arrow);
    tip.ComputeTipRect(POINT{a.x, target.bottom}, 0x04, 2, target);
    EXPECT_EQ(t_wndSkinBoxTip::e_arrowUp, tip.arrow);
    tip.ComputeTipRect(POINT{target.right, a.y}, 0x10, 1, target);
    EXPECT_EQ(t_wndSkinBoxTip::e_arrowLeft, tip.arrow);
    tip.ComputeTipRect(POINT{target.left, a.y}, 0x18, 1, target);
    EXPECT_EQ(t_wndSkinBoxTip::e_arrowRight, tip.arrow);
    // A target far to the side: the arrow stays 5 pixels plus the margin from the bubble's end.
    const RECT farLeft = {a.x - 400, a.y + 40, a.x - 390, a.y + 50};
    const RECT r = tip.ComputeTipRect(a, 0x20, 2, farLeft);
    EXPECT_EQ(t_wndSkinBoxTip::c_arrowEndGap + t_wndSkinBoxTip::c_marginX, tip.arrowAt.x);
    EXPECT_EQ(RectHeight(r) - tip.pictures[t_wndSkinBoxTip::e_arrowDown].partHeight, tip.arrowAt.y);
}

TEST_F(SkinBoxTest, FirstShowSlidesInOverHalfASecondAndLaterShowsJump)
{
    t_wndSkinBoxTip tip;
    MakeTip(tip, L"点此换肤");
    const POINT a = {(work.left + work.right) / 2, (work.top + work.bottom) / 2};
    const RECT target = {a.x - 20, a.y - 10, a.x, a.y + 10};
    const RECT placed = tip.ComputeTipRect(a, 0x20, 1, target);

    tip.ShowTip(target, a, 0x20, 1, false);
    EXPECT_TRUE(tip.animating);
    // Sideways (fit flag 1) from 100 pixels to the right (no flag 8).
    EXPECT_EQ(placed.left + 100, tip.GetRect().left);
    EXPECT_EQ(placed.top, tip.GetRect().top);
    EXPECT_EQ(0, tip.alpha);

    const struct {
        uint32_t elapsed;
        int left;  // expected
        int alpha;
    } steps[] = {
        {0, placed.left + 100, 0},
        {250, placed.left + 11, 180},  // 63 whole degrees: sin 63° = 0.891 of the way; alpha 255 sin 45°
        {499, placed.left, 254},
    };
    const uint32_t start = g_tick;
    for (const auto& s : steps) {
        g_tick = start + s.elapsed;
        tip.SlideStep();
        EXPECT_TRUE(tip.animating) << s.elapsed;
        EXPECT_EQ(s.left, tip.GetRect().left) << s.elapsed;
        EXPECT_EQ(placed.top, tip.GetRect().top) << s.elapsed;
        EXPECT_EQ(s.alpha, tip.alpha) << s.elapsed;
        EXPECT_TRUE(tip.IsShown());
    }
    g_tick = start + 500;
    tip.SlideStep();
    EXPECT_FALSE(tip.animating);
    EXPECT_EQ(255, tip.alpha);
    EXPECT_EQ(placed.left, tip.GetRect().left);

    // Shown again elsewhere: no slide, straight to the new place.
    const POINT b = {a.x - 50, a.y - 30};
    const RECT target2 = {b.x - 20, b.y - 10, b.x, b.y + 10};
    const RECT placed2 = tip.ComputeTipRect(b, 0x20, 1, target2);
    tip.ShowTip(target2, b, 0x20, 1, false);
    EXPECT_FALSE(tip.animating);
    EXPECT_EQ(placed2.left, tip.GetRect().left);
    EXPECT_EQ(placed2.top, tip.GetRect().top);
}

TEST_F(SkinBoxTest, SecondShowWhileSlidingStopsTheSlide)
{
    t_wndSkinBoxTip tip;
    MakeTip(tip, L"点此换肤");
    const POINT a = {(work.left + work.right) / 2, (work.top + work.bottom) / 2};
    const RECT target = {a.x, a.y, a.x + 10, a.y + 10};
    tip.ShowTip(target, a, 0, 2, false);
    // Vertical slide (no fit flag 1): 50 pixels down (no flag 0x20).
    const RECT placed = tip.ComputeTipRect(a, 0, 2, target);
    EXPECT_EQ(placed.top + 50, tip.GetRect().top);
    g_tick += 100;
    tip.SlideStep();
    tip.ShowTip(target, a, 0, 2, false);
    EXPECT_FALSE(tip.animating);
    EXPECT_EQ(255, tip.alpha);
    EXPECT_EQ(placed.top, tip.GetRect().top);
    // The slide timer is gone: a late tick changes nothing.
    EXPECT_FALSE(KillTimer(tip.hwnd, t_wndSkinBoxTip::c_slideTimerId));
}

TEST_F(SkinBoxTest, TipHidesAfterItsTimeOutOrAClickAndTellsItsNotifyWindow)
{
    t_wndSkinBoxTip tip;
    MakeTip(tip, L"点此换肤");
    const POINT a = {(work.left + work.right) / 2, (work.top + work.bottom) / 2};
    const RECT target = {a.x, a.y, a.x + 10, a.y + 10};

    // Without auto-hide no time-out runs.
    tip.ShowTip(target, a, 0, 2, false);
    EXPECT_FALSE(KillTimer(tip.hwnd, t_wndSkinBoxTip::c_hideTimerId));

    tip.ShowTip(target, a, 0, 2, true);
    EXPECT_TRUE(tip.IsShown());
    g_tick += t_wndSkinBoxTip::c_autoHideMs;
    SendMessageW(tip.hwnd, WM_TIMER, t_wndSkinBoxTip::c_hideTimerId, 0);
    EXPECT_FALSE(tip.IsShown());
    EXPECT_EQ(std::vector<LPARAM>{1}, notify.Take(c_notify));
    EXPECT_FALSE(KillTimer(tip.hwnd, t_wndSkinBoxTip::c_hideTimerId)) << "the time-out runs once";

    tip.ShowTip(target, a, 0, 2, false);
    const RECT r = tip.GetRect();
    tip.OnLButtonUp(0, r.left + 2, r.top + 2);
    EXPECT_FALSE(tip.IsShown());
    EXPECT_EQ(std::vector<LPARAM>{0}, notify.Take(c_notify));

    // A notify window that is gone hears nothing and nothing fails.
    notify.Destroy();
    tip.ShowTip(target, a, 0, 2, true);
    g_tick += t_wndSkinBoxTip::c_autoHideMs;
    SendMessageW(tip.hwnd, WM_TIMER, t_wndSkinBoxTip::c_hideTimerId, 0);
    EXPECT_FALSE(tip.IsShown());
}

TEST_F(SkinBoxTest, TheAutoHideWaitsTwentySecondsOnTheToolkitClock)
{
    t_wndSkinBoxTip tip;
    MakeTip(tip, L"点此换肤");
    const POINT a = {(work.left + work.right) / 2, (work.top + work.bottom) / 2};
    tip.ShowTip(RECT{a.x, a.y, a.x + 10, a.y + 10}, a, 0, 2, true);
    const uint32_t shownAt = g_tick;
    // The slide ends long before; a timer that comes early keeps the tip and waits the rest.
    for (uint32_t elapsed : {600u, 10000u, 19999u}) {
        g_tick = shownAt + elapsed;
        tip.SlideStep();
        SendMessageW(tip.hwnd, WM_TIMER, t_wndSkinBoxTip::c_hideTimerId, 0);
        EXPECT_TRUE(tip.IsShown()) << elapsed;
        EXPECT_TRUE(notify.Take(c_notify).empty()) << elapsed;
    }
    g_tick = shownAt + 20000;
    SendMessageW(tip.hwnd, WM_TIMER, t_wndSkinBoxTip::c_hideTimerId, 0);
    EXPECT_FALSE(tip.IsShown());
    EXPECT_EQ(std::vector<LPARAM>{1}, notify.Take(c_notify));
}

TEST_F(SkinBoxTest, HintIsAsLargeAsItsPictureAndHoldsTheButton)
{
    t_wndSkinBoxHint hint;
    MakeHint(hint);
    ASSERT_NE(nullptr, hint.button);
    const SIZE picture = {hint.pictures[t_wndSkinBoxHint::e_normal].partWidth,
                          hint.pictures[t_wndSkinBoxHint::e_normal].partHeight};
    ASSERT_GT(picture.cx, 0);
    const RECT skinBox = {work.left + 200, work.top + 200, work.left + 220, work.top + 210};
    ui.active = false;
    PopupBeside(hint, skinBox);
    const RECT r = hint.GetRect();
    EXPECT_EQ(picture.cx, RectWidth(r));
    EXPECT_EQ(picture.cy, RectHeight(r));
    EXPECT_EQ(skinBox.right, r.left);
    EXPECT_EQ(skinBox.bottom, r.bottom);
    EXPECT_EQ(t_wndBtnSkinBox::c_tooltip, std::wstring(hint.button->text.c_str()));
    for (int state : {0, 1, 2})
        EXPECT_FALSE(hint.button->GetImage(0, state)->IsBitmapEmpty()) << state;
    // No active skin box: no tip, and the hint fades when the mouse leaves.
    EXPECT_FALSE(hint.tipPlaced);
    EXPECT_TRUE(hint.FadeOnLeave());
    ui.active = true;
    EXPECT_FALSE(hint.FadeOnLeave());
}

TEST_F(SkinBoxTest, ActiveSkinBoxShowsTheTipBesideTheHintOnTheSideThatFits)
{
    // Room on the right: hint right of the skin box, tip right of the hint.
    {
        t_wndSkinBoxHint hint;
        MakeHint(hint);
        const RECT skinBox = {work.left + 200, work.top + 300, work.left + 220, work.top + 310};
        PopupBeside(hint, skinBox);
        ASSERT_TRUE(hint.tipPlaced);
        ASSERT_NE(nullptr, hint.tip);
        EXPECT_FALSE(hint.tipOnLeft);
        EXPECT_TRUE(hint.tip->IsShown());
        EXPECT_TRUE(hint.tip->animating);
        EXPECT_EQ(t_wndSkinBoxHint::c_tipText, std::wstring(hint.tip->tipText.c_str()));
        g_tick += 600;
        hint.tip->SlideStep();
        EXPECT_EQ(skinBox.right, hint.GetRect().left);
        EXPECT_GE(hint.tip->GetRect().left, hint.GetRect().right);
        EXPECT_EQ(t_wndSkinBoxTip::e_arrowLeft, hint.tip->arrow);
    }
    // Against the right edge, or with no room for the tip on the right: the tip goes left of
    // the hint and the hint left of the skin box.
    for (int fromRight : {10, 60}) {
        t_wndSkinBoxHint hint;
        MakeHint(hint);
        const RECT skinBox = {work.right - fromRight - 10, work.top + 300, work.right - fromRight, work.top + 310};
        PopupBeside(hint, skinBox);
        ASSERT_TRUE(hint.tipPlaced) << fromRight;
        EXPECT_TRUE(hint.tipOnLeft) << fromRight;
        const RECT r = hint.GetRect();
        EXPECT_EQ(skinBox.left - RectWidth(r), r.left) << fromRight;
        g_tick += 600;
        hint.tip->SlideStep();
        EXPECT_LE(hint.tip->GetRect().right, r.left) << fromRight;
        EXPECT_EQ(t_wndSkinBoxTip::e_arrowRight, hint.tip->arrow) << fromRight;
    }
}

TEST_F(SkinBoxTest, HintAndTipLeaveNoGdiObjectsBehind)
{
    const RECT skinBox = {work.left + 200, work.top + 300, work.left + 220, work.top + 310};
    const auto cycle = [&] {
        t_wndSkinBoxHint hint;
        MakeHint(hint);
        PopupBeside(hint, skinBox);
        ASSERT_NE(nullptr, hint.tip);
        for (int step = 0; step < 6; ++step) {
            g_tick += 100;
            hint.tip->SlideStep();
        }
        hint.HideNow();
    };
    cycle();
    const DWORD before = LiveGdiObjects();
    for (int i = 0; i < 3; ++i)
        cycle();
    EXPECT_EQ(before, LiveGdiObjects());
}

// The utility and the component manager are the recording stand-ins.
class SkinBoxLaunchTest : public SkinBoxTest {
protected:
    static void SetUpTestSuite()
    {
        s_install = new t_tempFolder(L"skin_box_install");
        t_errorChain errors;
        InitRuntimeAt(errors, s_install->Path());
        PlaceStandIn(L"VavIdiz.exe", t_runtime::Instance()->GetInstallDir().c_str());
        const std::wstring manager = *s_install / L"components";
        CreateDirectoryW(manager.c_str(), nullptr);
        PlaceStandIn(L"VexilComMgr.exe", manager);
        t_reg key(HKEY_LOCAL_MACHINE);
        if (key.Open(errors, L"SoftWare\\VexilComponents", true, true))
            key.SetString(errors, manager.c_str(), nullptr);
    }
    static void TearDownTestSuite()
    {
        RegDeleteKeyExW(HKEY_LOCAL_MACHINE, L"SoftWare\\VexilComponents", KEY_WOW64_32KEY, 0);
        RegDeleteKeyExW(HKEY_LOCAL_MACHINE, L"SoftWare\\VexilComponents", 0, 0);
        delete s_install;
        s_install = nullptr;
    }

    // The stand-ins' records by program, in any order.
    static std::vector<std::wstring> Lines(const std::vector<t_launchRecord>& records, const wchar_t* program)
    {
        std::vector<std::wstring> out;
        for (const t_launchRecord& r : records) {
            if (r.program == program)
                out.push_back(r.commandLine.substr(r.commandLine.find(L".exe\"") + 5));
        }
        std::sort(out.begin(), out.end());
        return out;
    }

    static t_tempFolder* s_install;
    t_tempFolder logs{L"skin_box_logs"};
    t_launchLog log{logs / L"launch.log"};
};
t_tempFolder* SkinBoxLaunchTest::s_install = nullptr;

TEST_F(SkinBoxLaunchTest, LaunchArgumentsNameTheSwitchTheSourceAndTheValue)
{
    EXPECT_EQ(std::wstring(L" -sbp \"/p\"\"1\" \"/p\"\"0\""), SkinBoxLaunchArguments(0, 1).c_str());
    EXPECT_EQ(std::wstring(L" -sbp \"/p\"\"4\" \"/p\"\"1\""), SkinBoxLaunchArguments(1, 4).c_str());
    ASSERT_TRUE(LaunchSkinBox(1, 4));
    const auto records = log.WaitFor(1);
    ASSERT_EQ(1u, records.size());
    EXPECT_EQ(L"VavIdiz.exe", records[0].program);
    // The current user (0 without accounts) comes first.
    EXPECT_EQ(std::vector<std::wstring>{L"  0 -sbp \"/p\"\"4\" \"/p\"\"1\""}, Lines(records, L"VavIdiz.exe"));
}

TEST_F(SkinBoxLaunchTest, TipClickAndTimeOutLaunchOnlyWhileTheSkinBoxIsActive)
{
    t_wndSkinBoxHint hint;
    MakeHint(hint);
    const RECT skinBox = {work.left + 200, work.top + 300, work.left + 220, work.top + 310};
    PopupBeside(hint, skinBox);
    ASSERT_NE(nullptr, hint.tip);
    // The tip's click and its time-out reach the hint as its message.
    const RECT tipRect = hint.tip->GetRect();
    hint.tip->OnLButtonUp(0, tipRect.left + 1, tipRect.top + 1);
    MSG msg;
    while (PeekMessageW(&msg, hint.hwnd, 0, 0, PM_REMOVE))
        DispatchMessageW(&msg);
    EXPECT_FALSE(hint.tip->IsShown());
    EXPECT_TRUE(hint.fadingOut) << "the hint fades out after the tip";
    SendMessageW(hint.hwnd, c_msgSkinBoxLaunch, 0, 1);
    EXPECT_EQ((std::vector<int>{0, 0}), ui.launches);
    ui.active = false;
    SendMessageW(hint.hwnd, c_msgSkinBoxLaunch, 0, 0);
    EXPECT_EQ(2u, ui.launches.size());

    const auto records = log.WaitFor(2);
    const std::vector<std::wstring> expected = {L"  0 -sbp \"/p\"\"1\" \"/p\"\"0\"",
                                                L"  0 -sbp \"/p\"\"1\" \"/p\"\"1\""};
    EXPECT_EQ(expected, Lines(records, L"VavIdiz.exe"));
}

TEST_F(SkinBoxLaunchTest, ButtonHidesTheHintAtOnceInvokesTheSkinBoxAndLaunches)
{
    t_wndSkinBoxHint hint;
    MakeHint(hint);
    const RECT skinBox = {work.left + 200, work.top + 300, work.left + 220, work.top + 310};
    PopupBeside(hint, skinBox);
    ASSERT_TRUE(hint.IsShown());
    notify.Take(c_msgSkinBoxHidden);

    // A real press and release on the button.
    const RECT b = hint.button->GetRect();
    hint.button->OnLButtonDown(MK_LBUTTON, b.left + RectWidth(b) / 2, b.top + RectHeight(b) / 2);
    hint.button->OnLButtonUp(0, b.left + RectWidth(b) / 2, b.top + RectHeight(b) / 2);
    EXPECT_FALSE(hint.IsShown());
    EXPECT_FALSE(hint.tip->IsShown());
    EXPECT_EQ(std::vector<LPARAM>{1}, notify.Take(c_msgSkinBoxHidden)) << "the owner hears that the hint hid";
    EXPECT_EQ(std::vector<int>{0}, ui.launches);

    const auto records = log.WaitFor(2);
    EXPECT_EQ(std::vector<std::wstring>{L"  0 -sbp \"/p\"\"4\" \"/p\"\"1\""}, Lines(records, L"VavIdiz.exe"));
    EXPECT_EQ(std::vector<std::wstring>{L" -invoke vexil.skinbox VexilSkinBox.Component -uwr"},
              Lines(records, L"VexilComMgr.exe"));
}

}  // namespace
