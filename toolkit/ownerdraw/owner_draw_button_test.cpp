// Wrappers on the BUTTON controls of a real dialog (from this program's resources): the
// subclass chain of two wrappers on one control, hover and leave posts, the hand cursor
// per control, and the owner-drawn, hover and radio buttons drawing the frame of each
// state when their control paints (WM_DRAWITEM drawn into a DIB).
#include "toolkit/ownerdraw/owner_draw_button.h"

#include <gtest/gtest.h>
#include <commctrl.h>

#include <map>
#include <memory>
#include <vector>

#include "graphics/paint/work_area.h"
#include "tests/support/gdi_census.h"
#include "tests/support/message_pump.h"
#include "tests/support/real_mouse.h"
#include "tests/support/paint_surface.h"
#include "toolkit/ownerdraw/owner_draw_button_group.h"
#include "toolkit/ownerdraw/owner_draw_hover_button.h"
#include "toolkit/ownerdraw/owner_draw_hover_button_item.h"
#include "toolkit/testdata/owner_draw_buttons.h"

namespace {

const uint32_t c_red = 0xFF0000, c_green = 0x00FF00, c_blue = 0x0000FF, c_yellow = 0xFFFF00;

// What the dialog saw: posts and notifications, and the last drawing of each control.
struct t_dialogLog {
    struct t_post {
        UINT msg;
        WPARAM wParam;
        LPARAM lParam;
    };
    std::vector<t_post> posts;
    std::vector<NMHDR> notifies;
    std::vector<int> clicks;
    std::map<int, std::unique_ptr<t_testSurface>> drawn;
    std::map<int, bool> drawResult;
};
t_dialogLog* g_log = nullptr;

INT_PTR CALLBACK TestDialogProc(HWND, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (!g_log)
        return FALSE;
    switch (msg) {
    case WM_DRAWITEM: {
        // The wrapper draws into a DIB instead of the screen.
        DRAWITEMSTRUCT item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        auto surface = std::make_unique<t_testSurface>(item.rcItem.right, item.rcItem.bottom, false);
        item.hDC = surface->Dc();
        g_log->drawResult[item.CtlID] = t_wndOwnerDrawButton::DrawItemOf(&item);
        g_log->drawn[item.CtlID] = std::move(surface);
        return TRUE;
    }
    case WM_NOTIFY:
        g_log->notifies.push_back(*reinterpret_cast<const NMHDR*>(lParam));
        return TRUE;
    case WM_COMMAND:
        if (HIWORD(wParam) == BN_CLICKED)
            g_log->clicks.push_back(LOWORD(wParam));
        return TRUE;
    case c_handleHoverMessage:
    case c_handleLeaveMessage:
        g_log->posts.push_back({msg, wParam, lParam});
        return TRUE;
    default:
        return FALSE;
    }
}

// Counts the messages that pass through it.
class t_countingHandle : public t_wndBaseHandle {
public:
    LRESULT WndProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) override
    {
        if (msg == WM_LBUTTONDOWN)
            ++presses;
        return t_wndBaseHandle::WndProc(window, msg, wParam, lParam);
    }
    int presses = 0;
};

class OwnerDrawButtons : public ::testing::Test {
protected:
    void SetUp() override
    {
        g_log = &log;
        dialog =
            CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_BUTTONS), nullptr, TestDialogProc, 0);
        ASSERT_NE(dialog, nullptr);
        RECT work;
        GetWorkArea(nullptr, work);
        // Topmost, away from the corner where the other window tests put theirs.
        SetWindowPos(dialog, HWND_TOPMOST, work.right - 420, work.top + 40, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
        ShowWindow(dialog, SW_SHOWNOACTIVATE);
        PumpMessages(30);
    }
    void TearDown() override
    {
        if (dialog)
            DestroyWindow(dialog);
        g_log = nullptr;
    }

    HWND Item(int id) { return GetDlgItem(dialog, id); }
    // Sends a mouse message at a client point and lets the control repaint at once.
    void Mouse(int id, UINT msg, int x = 2, int y = 2)
    {
        SendMessageW(Item(id), msg, msg == WM_LBUTTONDOWN ? MK_LBUTTON : 0, MAKELPARAM(x, y));
        UpdateWindow(Item(id));
    }
    // Colour of the last drawing of a control at a point; 1 << 24 when none was drawn.
    uint32_t DrawnAt(int id, int x = 2, int y = 2)
    {
        auto found = log.drawn.find(id);
        return found == log.drawn.end() ? 1u << 24 : found->second->At(x, y) & 0xFFFFFF;
    }
    static SIZE WindowSize(HWND window)
    {
        RECT r;
        GetWindowRect(window, &r);
        return SIZE{r.right - r.left, r.bottom - r.top};
    }

    t_dialogLog log;
    HWND dialog = nullptr;
};

TEST_F(OwnerDrawButtons, SecondWrapperChainsToTheFirstAndDetachingRestoresIt)
{
    HWND plain = Item(IDC_PLAIN);
    const WNDPROC original = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(plain, GWLP_WNDPROC));
    auto click = [&] {
        log.clicks.clear();
        SendMessageW(plain, BM_CLICK, 0, 0);
        return log.clicks.size() == 1 && log.clicks[0] == IDC_PLAIN;
    };

    t_countingHandle first, second;
    ASSERT_TRUE(first.Attach(plain));
    EXPECT_EQ(first.oldWndProc, original);
    // Attaching the same object again keeps its previous procedure.
    ASSERT_TRUE(first.Attach(plain));
    EXPECT_EQ(first.oldWndProc, original);
    ASSERT_TRUE(second.Attach(plain));
    EXPECT_NE(second.oldWndProc, reinterpret_cast<WNDPROC>(DefWindowProcW));
    EXPECT_EQ(t_wndBaseHandle::FromHwnd(plain), &second);
    // Both wrappers see the press and the button still works underneath them.
    EXPECT_TRUE(click());
    EXPECT_EQ(first.presses, 1);
    EXPECT_EQ(second.presses, 1);

    second.Detach();
    EXPECT_EQ(t_wndBaseHandle::FromHwnd(plain), &first);
    EXPECT_TRUE(click());
    EXPECT_EQ(first.presses, 2);
    EXPECT_EQ(second.presses, 1);
    first.Detach();
    EXPECT_EQ(reinterpret_cast<WNDPROC>(GetWindowLongPtrW(plain, GWLP_WNDPROC)), original);
    EXPECT_EQ(GetWindowLongPtrW(plain, GWLP_USERDATA), 0);
    EXPECT_TRUE(click());
    EXPECT_EQ(first.presses, 2);

    // The first one detached while the second is on top: the second goes straight to the
    // button's procedure, and detaching it too gives the button its procedure back.
    first.Attach(plain);
    second.Attach(plain);
    first.Detach();
    EXPECT_TRUE(click());
    EXPECT_EQ(first.presses, 2);
    EXPECT_EQ(second.presses, 2);
    second.Detach();
    EXPECT_EQ(reinterpret_cast<WNDPROC>(GetWindowLongPtrW(plain, GWLP_WNDPROC)), original);
    EXPECT_TRUE(click());

    // A wrapped control destroyed with its dialog: the wrappers let go of it.
    first.Attach(plain);
    second.Attach(plain);
    DestroyWindow(dialog);
    dialog = nullptr;
    EXPECT_EQ(first.hwnd, nullptr);
    EXPECT_EQ(second.hwnd, nullptr);
}

TEST_F(OwnerDrawButtons, HoverAndLeaveArePostedOnlyWithAnId)
{
    HWND plain = Item(IDC_PLAIN);
    t_wndBaseHandle quiet;
    ASSERT_TRUE(quiet.Attach(plain));
    SendMessageW(plain, WM_MOUSEHOVER, 0, 0);
    SendMessageW(plain, WM_MOUSELEAVE, 0, 0);
    PumpMessages(30);
    EXPECT_TRUE(log.posts.empty());

    quiet.id = 7;
    SendMessageW(plain, WM_MOUSEHOVER, 0, 0);
    SendMessageW(plain, WM_MOUSELEAVE, 0, 0);
    PumpMessages(30);
    ASSERT_EQ(log.posts.size(), 2u);
    EXPECT_EQ(log.posts[0].msg, c_handleHoverMessage);
    EXPECT_EQ(log.posts[1].msg, c_handleLeaveMessage);
    for (const auto& post : log.posts) {
        EXPECT_EQ(post.wParam, 7u);
        EXPECT_EQ(reinterpret_cast<HWND>(post.lParam), plain);
    }
}

TEST_F(OwnerDrawButtons, HandCursorIsSetPerControlNotThroughTheClass)
{
    HWND face = Item(IDC_FACE);
    const ULONG_PTR classCursor = GetClassLongPtrW(face, GCLP_HCURSOR);
    t_wndOwnerDrawButton button;
    ASSERT_TRUE(button.AttachDlgItem(dialog, IDC_FACE, MAKEINTRESOURCEW(IDB_STRIP3), nullptr, nullptr));
    EXPECT_EQ(GetClassLongPtrW(face, GCLP_HCURSOR), classCursor);

    const HCURSOR hand = LoadCursorW(nullptr, IDC_HAND);
    SetCursor(LoadCursorW(nullptr, IDC_ARROW));
    EXPECT_TRUE(SendMessageW(face, WM_SETCURSOR, reinterpret_cast<WPARAM>(face), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)));
    EXPECT_EQ(GetCursor(), hand);
    // Another button of the same class keeps its own cursor.
    HWND other = Item(IDC_PLAIN2);
    SendMessageW(other, WM_SETCURSOR, reinterpret_cast<WPARAM>(other), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_NE(GetCursor(), hand);
}

TEST_F(OwnerDrawButtons, OwnerDrawnButtonTakesItsPictureSizeDrawsItAndReportsRightClicks)
{
    t_wndOwnerDrawButton button;
    EXPECT_FALSE(button.AttachDlgItem(dialog, 4242, MAKEINTRESOURCEW(IDB_STRIP3), nullptr, nullptr));
    EXPECT_FALSE(button.AttachDlgItem(dialog, IDC_FACE, MAKEINTRESOURCEW(999), nullptr, nullptr));
    EXPECT_EQ(button.hwnd, nullptr);
    ASSERT_TRUE(button.AttachDlgItem(dialog, IDC_FACE, MAKEINTRESOURCEW(IDB_STRIP3), nullptr, nullptr));
    EXPECT_EQ(WindowSize(Item(IDC_FACE)).cx, 30);
    EXPECT_EQ(WindowSize(Item(IDC_FACE)).cy, 8);
    InvalidateRect(Item(IDC_FACE), nullptr, TRUE);
    UpdateWindow(Item(IDC_FACE));
    EXPECT_EQ(DrawnAt(IDC_FACE, 2), c_red);
    EXPECT_EQ(DrawnAt(IDC_FACE, 12), c_green);
    EXPECT_EQ(DrawnAt(IDC_FACE, 27, 7), c_blue);

    SendMessageW(Item(IDC_FACE), WM_RBUTTONUP, 0, MAKELPARAM(3, 3));
    ASSERT_EQ(log.notifies.size(), 1u);
    EXPECT_EQ(log.notifies[0].hwndFrom, Item(IDC_FACE));
    EXPECT_EQ(log.notifies[0].idFrom, static_cast<UINT_PTR>(IDC_FACE));
    EXPECT_EQ(log.notifies[0].code, static_cast<UINT>(NM_RCLICK));

    // Moved to another control: the first gets its own procedure back, the picture stays.
    const WNDPROC original = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(Item(IDC_PLAIN2), GWLP_WNDPROC));
    ASSERT_TRUE(button.Attach(Item(IDC_PLAIN2)));
    EXPECT_EQ(t_wndBaseHandle::FromHwnd(Item(IDC_FACE)), nullptr);
    EXPECT_EQ(GetWindowLongPtrW(Item(IDC_FACE), GWLP_WNDPROC), GetWindowLongPtrW(Item(IDC_PLAIN), GWLP_WNDPROC));
    EXPECT_NE(reinterpret_cast<WNDPROC>(GetWindowLongPtrW(Item(IDC_PLAIN2), GWLP_WNDPROC)), original);
    EXPECT_EQ(WindowSize(Item(IDC_PLAIN2)).cx, 30);
}

TEST_F(OwnerDrawButtons, PicturesAreFreedWhenAttachedAgainAndDetached)
{
    {
        t_wndOwnerDrawHoverButton4 warm;
        warm.Attach(dialog, IDC_HOVER4, L"STRIP4", GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDB_BACK));
    }
    const DWORD before = LiveGdiObjects();
    {
        t_wndOwnerDrawHoverButton4 button;
        for (int i = 0; i < 10; ++i)
            ASSERT_TRUE(
                button.Attach(dialog, IDC_HOVER4, L"STRIP4", GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDB_BACK)));
        button.Detach();
        ASSERT_TRUE(
            button.Attach(dialog, IDC_HOVER4, L"STRIP4", GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDB_BACK)));
    }
    EXPECT_EQ(LiveGdiObjects(), before);
}

TEST_F(OwnerDrawButtons, HoverButtonDrawsTheFrameOfEachStateWithItsTextColour)
{
    t_wndOwnerDrawHoverButton button;
    ASSERT_TRUE(button.Attach(dialog, IDC_HOVER, MAKEINTRESOURCEW(IDB_STRIP3), nullptr, nullptr));
    // One frame of the three-frame strip.
    EXPECT_EQ(WindowSize(Item(IDC_HOVER)).cx, 10);
    button.threeColors = true;
    button.normalColor = RGB(1, 2, 3);
    button.hoverColor = RGB(4, 5, 6);
    button.downColor = RGB(7, 8, 9);
    auto hasText = [&](COLORREF color) {
        const uint32_t wanted = (GetRValue(color) << 16) | (GetGValue(color) << 8) | GetBValue(color);
        for (int y = 0; y < 8; ++y) {
            for (int x = 0; x < 10; ++x) {
                if (DrawnAt(IDC_HOVER, x, y) == wanted)
                    return true;
            }
        }
        return false;
    };

    struct t_step {
        UINT msg;
        int state;
        uint32_t frame;
        COLORREF text;
    };
    const t_step steps[] = {
        {WM_MOUSEMOVE, t_wndOwnerDrawHoverButton::e_hover, c_green, RGB(4, 5, 6)},
        {WM_LBUTTONDOWN, t_wndOwnerDrawHoverButton::e_pressed, c_blue, RGB(7, 8, 9)},
        {WM_LBUTTONUP, t_wndOwnerDrawHoverButton::e_normal, c_red, RGB(1, 2, 3)},
        {WM_MOUSELEAVE, t_wndOwnerDrawHoverButton::e_normal, c_red, RGB(1, 2, 3)},
    };
    // The frames without the text over them, then the text colours.
    for (const wchar_t* label : {L"", L"Go"}) {
        SetWindowTextW(Item(IDC_HOVER), label);
        for (const t_step& step : steps) {
            SCOPED_TRACE(step.msg);
            log.drawn.clear();
            Mouse(IDC_HOVER, step.msg);
            EXPECT_EQ(button.state, step.state);
            if (label[0])
                EXPECT_TRUE(hasText(step.text));
            else
                EXPECT_EQ(DrawnAt(IDC_HOVER, 5, 4), step.frame);
        }
    }
    EXPECT_FALSE(button.hovering);
    EXPECT_FALSE(button.pressed);

    // Two colours: the pressed one in the pressed state only.
    button.threeColors = false;
    button.textColor = RGB(10, 20, 30);
    button.pressedTextColor = RGB(40, 50, 60);
    Mouse(IDC_HOVER, WM_LBUTTONDOWN);
    EXPECT_TRUE(hasText(RGB(40, 50, 60)));
    Mouse(IDC_HOVER, WM_LBUTTONUP);
    EXPECT_TRUE(hasText(RGB(10, 20, 30)));

    // A state without a frame draws nothing and reports it.
    button.state = 3;
    log.drawn.clear();
    InvalidateRect(Item(IDC_HOVER), nullptr, TRUE);
    UpdateWindow(Item(IDC_HOVER));
    EXPECT_FALSE(log.drawResult[IDC_HOVER]);
    EXPECT_EQ(log.drawn[IDC_HOVER]->CountAlpha(), 0);
    EXPECT_EQ(DrawnAt(IDC_HOVER, 5, 4), 0u);
}

TEST_F(OwnerDrawButtons, FourFrameStripShowsTheBackgroundThroughTransparentPixels)
{
    t_wndOwnerDrawHoverButton4 button;
    ASSERT_TRUE(button.Attach(dialog, IDC_HOVER4, L"STRIP4", GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDB_BACK)));
    EXPECT_EQ(WindowSize(Item(IDC_HOVER4)).cx, 10);
    EXPECT_EQ(button.hoverImage.partX, 10);
    EXPECT_EQ(button.pressedImage.partX, 20);
    Mouse(IDC_HOVER4, WM_MOUSEMOVE);
    EXPECT_EQ(DrawnAt(IDC_HOVER4, 1), c_green);
    EXPECT_EQ(DrawnAt(IDC_HOVER4, 8), c_yellow);
    // Detaching drops the frames and the state.
    button.Detach();
    EXPECT_EQ(button.state, t_wndOwnerDrawHoverButton::e_normal);
    EXPECT_TRUE(button.hoverImage.IsBitmapEmpty());
    EXPECT_TRUE(button.face.IsBitmapEmpty());
}

TEST_F(OwnerDrawButtons, RadioButtonsSelectOneOfTheirGroup)
{
    t_ownerDrawButtonGroup group;
    t_wndOwnerDrawHoverButtonItem a, b, c;
    const int ids[] = {IDC_RADIO_A, IDC_RADIO_B, IDC_RADIO_C};
    t_wndOwnerDrawHoverButtonItem* buttons[] = {&a, &b, &c};
    for (int i = 0; i < 3; ++i) {
        ASSERT_TRUE(buttons[i]->Attach(dialog, ids[i], MAKEINTRESOURCEW(IDB_STRIP3), nullptr, nullptr));
        group.Add(buttons[i]);
    }
    EXPECT_EQ(group.Count(), 3);

    // Hover, then a press and a release inside: b stays selected and shows the pressed frame.
    Mouse(IDC_RADIO_B, WM_MOUSEMOVE);
    EXPECT_EQ(DrawnAt(IDC_RADIO_B), c_green);
    Mouse(IDC_RADIO_B, WM_LBUTTONDOWN);
    Mouse(IDC_RADIO_B, WM_LBUTTONUP);
    Mouse(IDC_RADIO_B, WM_MOUSELEAVE);
    EXPECT_TRUE(b.selected);
    EXPECT_EQ(b.state, t_wndOwnerDrawHoverButton::e_pressed);
    EXPECT_EQ(DrawnAt(IDC_RADIO_B), c_blue);
    // A selected button ignores the hover.
    Mouse(IDC_RADIO_B, WM_MOUSEMOVE);
    EXPECT_EQ(b.state, t_wndOwnerDrawHoverButton::e_pressed);

    // Selecting c unselects b, and b repaints with its normal frame.
    Mouse(IDC_RADIO_C, WM_LBUTTONDOWN);
    Mouse(IDC_RADIO_C, WM_LBUTTONUP);
    UpdateWindow(Item(IDC_RADIO_B));
    EXPECT_TRUE(c.selected);
    EXPECT_FALSE(b.selected);
    EXPECT_EQ(b.state, t_wndOwnerDrawHoverButton::e_normal);
    EXPECT_EQ(DrawnAt(IDC_RADIO_B), c_red);
    EXPECT_EQ(DrawnAt(IDC_RADIO_C), c_blue);
    EXPECT_FALSE(a.selected);

    // A press on a that is released outside its client rectangle gives the selection up.
    Mouse(IDC_RADIO_A, WM_LBUTTONDOWN);
    EXPECT_TRUE(a.selected);
    EXPECT_FALSE(c.selected);
    Mouse(IDC_RADIO_A, WM_LBUTTONUP, 50, 50);
    EXPECT_FALSE(a.selected);
    EXPECT_EQ(a.state, t_wndOwnerDrawHoverButton::e_normal);
    EXPECT_EQ(DrawnAt(IDC_RADIO_A), c_red);
}

// Real input, the control under the system's cursor: the hover button follows the mouse
// and its wrapper posts hover after the cursor rests and leave once it goes.
TEST_F(OwnerDrawButtons, RealMouseHoversPressesAndLeavesAHoverButton)
{
    t_wndOwnerDrawHoverButton button;
    ASSERT_TRUE(button.Attach(dialog, IDC_HOVER, MAKEINTRESOURCEW(IDB_STRIP3), nullptr, nullptr));
    button.id = 9;
    RECT r;
    GetWindowRect(Item(IDC_HOVER), &r);
    SendMouse(MOUSEEVENTF_MOVE, r.left + 5, r.top + 4, 40);
    EXPECT_EQ(button.state, t_wndOwnerDrawHoverButton::e_hover);
    EXPECT_EQ(DrawnAt(IDC_HOVER), c_green);
    // The cursor rests: the parent hears of the hover.
    PumpMessages(700);
    ASSERT_FALSE(log.posts.empty());
    EXPECT_EQ(log.posts[0].msg, c_handleHoverMessage);
    EXPECT_EQ(log.posts[0].wParam, 9u);

    SendMouse(MOUSEEVENTF_LEFTDOWN, 0, 0, 40);
    EXPECT_EQ(DrawnAt(IDC_HOVER), c_blue);
    SendMouse(MOUSEEVENTF_LEFTUP, 0, 0, 40);
    EXPECT_EQ(DrawnAt(IDC_HOVER), c_red);
    ASSERT_EQ(log.clicks.size(), 1u);

    log.posts.clear();
    SendMouse(MOUSEEVENTF_MOVE, r.left - 200, r.top + 200, 40);
    // The system looks for the leave once per hover time.
    PumpMessages(700);
    EXPECT_FALSE(button.hovering);
    EXPECT_EQ(DrawnAt(IDC_HOVER), c_red);
    ASSERT_FALSE(log.posts.empty());
    EXPECT_EQ(log.posts.back().msg, c_handleLeaveMessage);
    EXPECT_EQ(reinterpret_cast<HWND>(log.posts.back().lParam), Item(IDC_HOVER));
}

}  // namespace
