// The skinned popup menu opened by an element's ShowMenu on a shown top: its rows and header
// laid out from the description and drawn in its colours (rendered into a DIB), the
// notifications a test window receives while the menu's window is driven with the mouse
// messages a disabled window gets, and the closes at once, after a second and when the
// mouse leaves. Cursor and clock come through the input hooks, except in the last test,
// where the system's cursor drives the menu.
#include "toolkit/controls/wnd_menu.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <functional>
#include <vector>

#include "foundation/win/rect.h"
#include "graphics/layout/layout_grid.h"
#include "graphics/paint/paint_ctx.h"
#include "graphics/paint/work_area.h"
#include "tests/support/gdi_census.h"
#include "tests/support/message_pump.h"
#include "tests/support/painted_tree.h"
#include "tests/support/real_mouse.h"
#include "toolkit/controls/input_hooks.h"
#include "toolkit/controls/wnd_link.h"
#include "toolkit/controls/wnd_menu_item.h"
#include "toolkit/controls/wnd_text_item.h"

namespace {

POINT g_cursor = {0, 0};
uint32_t g_tick = 1000;
bool g_fakeClock = true;

bool FakeCursor(POINT& p)
{
    p = g_cursor;
    return true;
}
bool ButtonUp() { return false; }
uint32_t Clock() { return g_fakeClock ? g_tick : GetTickCount(); }

// What the notify window received.
struct t_note {
    UINT msg;
    WPARAM wParam;
    LPARAM lParam;
    t_menuHoverInfo hover;
};
std::vector<t_note> g_notes;
// Runs after a note is recorded, inside the menu's SendMessageW.
std::function<void(UINT)> g_onNote;

LRESULT CALLBACK NotifyProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_COMMAND || msg == c_menuItemLeaveMessage) {
        g_notes.push_back({msg, wParam, lParam, {}});
        if (g_onNote)
            g_onNote(msg);
        return 0;
    }
    if (msg == c_menuItemHoverMessage) {
        g_notes.push_back({msg, wParam, lParam, *reinterpret_cast<const t_menuHoverInfo*>(lParam)});
        return 0;
    }
    return DefWindowProcW(window, msg, wParam, lParam);
}

HWND MakeNotifyWindow()
{
    WNDCLASSW wc = {};
    wc.lpfnWndProc = NotifyProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"KavrelMenuNotifyProbe";
    RegisterClassW(&wc);
    return CreateWindowExW(0, wc.lpszClassName, L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, wc.hInstance, nullptr);
}

// Pixels read top-down from a DIB; COLORREF values compared as such.
COLORREF PixelAt(t_memDC& dib, int x, int y)
{
    const uint32_t p = dib.Pixels()[(dib.height - 1 - y) * dib.width + x];
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}

bool Near(COLORREF a, COLORREF b, int tolerance)
{
    return std::abs(GetRValue(a) - GetRValue(b)) <= tolerance && std::abs(GetGValue(a) - GetGValue(b)) <= tolerance &&
           std::abs(GetBValue(a) - GetBValue(b)) <= tolerance;
}

// Pixels of rect (relative to the DIB) near colour.
int CountNear(t_memDC& dib, const RECT& r, COLORREF color, int tolerance)
{
    int n = 0;
    for (int y = r.top; y < r.bottom; ++y) {
        for (int x = r.left; x < r.right; ++x)
            n += Near(PixelAt(dib, x, y), color, tolerance);
    }
    return n;
}

const int c_open = 101, c_skipped = 102, c_gray = 103;
const LPARAM c_userValue = 55;

class MenuTest : public ::testing::Test {
protected:
    MenuTest() : m_hooks(t_inputHooks{Clock, ButtonUp, FakeCursor})
    {
        g_notes.clear();
        g_fakeClock = true;
        g_tick = 1000;
        GetWorkArea(nullptr, work);
        // The cursor starts away from every window of the test.
        g_cursor = POINT{work.left + 1, work.bottom - 2};
        notify = MakeNotifyWindow();
        EXPECT_TRUE(top.Create(WS_POPUP, 0, 0, 200, 40, 0, nullptr, nullptr));
        AddRootLayout(top);
        top.SetPlainFrame(RGB(0, 0, 0), RGB(40, 90, 200));
        top.Move(work.left + 100, work.top + 100, 200, 40, true);
        top.Show(true);
        element = AddFilledChild(top, 10, 10, 50, 20, RGB(0, 0, 255), true);
    }
    ~MenuTest() override
    {
        g_onNote = nullptr;
        top.Destroy();
        DestroyWindow(notify);
    }

    // A description with a checked row, a skipped one and a grayed one.
    static void Describe(t_menuData& data, const wchar_t* title, const wchar_t* linkText)
    {
        const t_menuItem rows[] = {
            {t_str(L"打开皮肤"), false, true, false, true, c_open},
            {t_str(L"不见"), false, true, true, false, c_skipped},
            {t_str(L"灰色一项"), true, true, false, false, c_gray},
        };
        for (const t_menuItem& row : rows)
            data.AddItem(row);
        data.userValue = c_userValue;
        data.title.Assign(title);
        data.linkUrl.Assign(L"http://example.invalid/");
        data.linkText.Assign(linkText);
    }

    // Opens the menu through the element below the top, at the top's bottom-left corner.
    t_wndMenu* Open(const wchar_t* title = L"皮肤菜单", const wchar_t* linkText = L"更多")
    {
        t_menuData data;
        Describe(data, title, linkText);
        const RECT r = top.GetRect();
        element->ShowMenu(POINT{r.left, r.bottom}, 0, 0, notify, &data, 77);
        return top.menu.get();
    }

    // The mouse message a disabled window learns of, with the cursor at p.
    static void Mouse(t_wndMenu* menu, UINT msg, POINT p)
    {
        g_cursor = p;
        SendMessageW(menu->hwnd, WM_SETCURSOR, reinterpret_cast<WPARAM>(menu->hwnd), MAKELPARAM(HTCLIENT, msg));
    }

    RECT work;
    HWND notify = nullptr;
    t_wndTop top;
    t_fillElement* element = nullptr;

private:
    t_inputHooksScope m_hooks;
};

TEST_F(MenuTest, ShowMenuOpensARowPerItemUnderTheHeader)
{
    t_wndMenu* menu = Open();
    ASSERT_NE(menu, nullptr);
    EXPECT_TRUE(IsWindowVisible(menu->hwnd));
    EXPECT_TRUE(menu->shown);
    const LONG_PTR exStyle = GetWindowLongPtrW(menu->hwnd, GWL_EXSTYLE);
    EXPECT_TRUE(exStyle & WS_EX_TOPMOST);
    EXPECT_TRUE(exStyle & WS_EX_NOACTIVATE);
    EXPECT_EQ(GetWindow(menu->hwnd, GW_OWNER), top.hwnd);
    wchar_t className[64] = L"";
    GetClassNameW(menu->hwnd, className, 64);
    EXPECT_STREQ(className, L"class_VxPY_Menu");

    // The skipped row is left out; the two others sit in rows 0 and 2 of the column grid.
    EXPECT_EQ(menu->ItemCount(), 2);
    t_wndMenuItem* first = menu->FindItem(c_open);
    t_wndMenuItem* grayed = menu->FindItem(c_gray);
    ASSERT_NE(first, nullptr);
    ASSERT_NE(grayed, nullptr);
    EXPECT_EQ(menu->FindItem(c_skipped), nullptr);
    t_layoutGrid* both = static_cast<t_layoutGrid*>(menu->layout);
    ASSERT_EQ(both->GetKind(), t_layout::e_kindGrid);
    t_layout* column = both->GetChildAt(1, 0);
    ASSERT_NE(column, nullptr);
    t_layoutGrid* rows = static_cast<t_layoutGrid*>(column->ChildAt(0));
    EXPECT_EQ(rows->GetChildAt(0, 0), first->layout);
    EXPECT_EQ(rows->GetChildAt(1, 0), nullptr);
    EXPECT_EQ(rows->GetChildAt(2, 0), grayed->layout);

    // Placed at the point below the top, and sized to its content.
    const RECT m = menu->GetRect();
    const RECT t = top.GetRect();
    EXPECT_EQ(m.left, t.left);
    EXPECT_EQ(m.top, t.bottom);
    RECT shownAt;
    GetWindowRect(menu->hwnd, &shownAt);
    EXPECT_TRUE(EqualRect(&shownAt, &m));
    // Rows: 2 pixels in from the sides, the skipped row of no height, the label at 18, 6.
    const RECT a = first->GetRect(), b = grayed->GetRect();
    const RECT label = first->Label().GetRect();
    const RECT header = both->GetChildAt(0, 0)->GetRect();
    const RECT title = menu->Title()->GetRect();
    EXPECT_EQ(a.left, m.left + 2);
    EXPECT_EQ(a.right, m.right - 2);
    EXPECT_EQ(a.top, header.bottom + 2);
    EXPECT_EQ(b.top, a.bottom);
    EXPECT_EQ(b.bottom, m.bottom - 2);
    EXPECT_EQ(label.left, a.left + 18);
    EXPECT_EQ(label.top, a.top + 6);
    EXPECT_EQ(a.bottom - a.top, label.bottom - label.top + 10);
    EXPECT_GE(m.right - m.left, label.right - label.left + 18 + 22 + 4);
    // Header: the title at 8, 5; the link 5 pixels above the header's bottom.
    EXPECT_EQ(header.top, m.top);
    EXPECT_EQ(title.left, m.left + 8);
    EXPECT_EQ(title.top, header.top + 5);
    EXPECT_EQ(header.bottom - header.top, title.bottom - title.top + 10);
    ASSERT_NE(menu->Link(), nullptr);
    EXPECT_STREQ(menu->Link()->url.c_str(), L"http://example.invalid/");
    EXPECT_EQ(menu->Link()->GetRect().bottom, header.bottom - 5);
    EXPECT_GE(menu->Link()->GetRect().left, m.left + 80);
}

TEST_F(MenuTest, MenuDrawsItsFrameGradientsTextAndHotRow)
{
    t_wndMenu* menu = Open();
    ASSERT_NE(menu, nullptr);
    const RECT m = menu->GetRect();
    const int w = m.right - m.left, h = m.bottom - m.top;
    auto local = [&](RECT r) {
        OffsetRect(&r, -m.left, -m.top);
        return r;
    };
    const RECT header = local(static_cast<t_layoutGrid*>(menu->layout)->GetChildAt(0, 0)->GetRect());
    const RECT a = local(menu->FindItem(c_open)->GetRect());
    const RECT b = local(menu->FindItem(c_gray)->GetRect());
    {
        t_memDC dib;
        ASSERT_TRUE(menu->RenderToDib(nullptr, dib, w, h));
        // Border, the white fill at column 1, the header and body gradients.
        EXPECT_EQ(PixelAt(dib, 0, 0), 0xD8D8D8u);
        EXPECT_EQ(PixelAt(dib, w - 1, h - 1), 0xD8D8D8u);
        EXPECT_EQ(PixelAt(dib, 1, h / 2), 0xFFFFFFu);
        EXPECT_TRUE(Near(PixelAt(dib, w - 3, 2), 0xFCF8F3, 2));
        EXPECT_TRUE(Near(PixelAt(dib, w - 3, 27), 0xFFFEFC, 2));
        EXPECT_TRUE(Near(PixelAt(dib, w - 3, h - 2), 0xFFF8EE, 2));
        // Title and link in their colours; the row label black, the grayed one gray.
        EXPECT_GT(CountNear(dib, header, 0xB96205, 24), 3);
        EXPECT_GT(CountNear(dib, header, 0xE58200, 24), 3);
        EXPECT_GT(CountNear(dib, a, 0x000000, 24), 3);
        // The prefix's CJK face draws thin strokes: the grey row's darkest pixels stay some
        // way above the grey itself, well away from both the black and the background.
        EXPECT_GT(CountNear(dib, b, 0xB8C2C5, 40), 3);
        EXPECT_EQ(CountNear(dib, b, 0x000000, 24), 0);
        // No hot frame while the mouse is away.
        EXPECT_EQ(CountNear(dib, a, 0xF0CFAC, 0), 0);
    }

    // The mouse over the first row: the hot frame and its gradient.
    Mouse(menu, WM_MOUSEMOVE, RectCentre(menu->FindItem(c_open)->GetRect()));
    EXPECT_TRUE(menu->FindItem(c_open)->IsHot());
    {
        t_memDC dib;
        ASSERT_TRUE(menu->RenderToDib(nullptr, dib, w, h));
        EXPECT_EQ(PixelAt(dib, a.left + 1, (a.top + a.bottom) / 2), 0xF0CFACu);
        EXPECT_EQ(PixelAt(dib, a.right - 2, (a.top + a.bottom) / 2), 0xF0CFACu);
        EXPECT_TRUE(Near(PixelAt(dib, a.right - 4, a.bottom - 2), 0xF2D0AC, 3));
        // The light line under the frame's top edge.
        EXPECT_EQ(PixelAt(dib, a.right - 4, a.top + 1), 0xFAE8D3u);
    }
    // A grayed row under the mouse shows no hot frame.
    Mouse(menu, WM_MOUSEMOVE, RectCentre(menu->FindItem(c_gray)->GetRect()));
    EXPECT_FALSE(menu->FindItem(c_open)->IsHot());
    EXPECT_FALSE(menu->FindItem(c_gray)->IsHot());
}

TEST_F(MenuTest, HoverLeaveAndClickReachTheNotifyWindow)
{
    t_wndMenu* menu = Open();
    ASSERT_NE(menu, nullptr);
    const RECT a = menu->FindItem(c_open)->GetRect();
    const RECT b = menu->FindItem(c_gray)->GetRect();

    // The cursor rests on the first row: the menu's hover poll posts the hover.
    Mouse(menu, WM_MOUSEMOVE, RectCentre(a));
    EXPECT_TRUE(menu->mouseInside);
    menu->PollHover();
    g_tick += 150;
    menu->PollHover();
    PumpMessages(30);
    ASSERT_EQ(g_notes.size(), 1u);
    EXPECT_EQ(g_notes[0].msg, c_menuItemHoverMessage);
    EXPECT_EQ(g_notes[0].wParam, static_cast<WPARAM>(c_open));
    EXPECT_EQ(g_notes[0].hover.userValue, c_userValue);
    EXPECT_TRUE(EqualRect(&g_notes[0].hover.itemRect, &a));

    // On to the grayed row: the first one reports its leave; a click there sends nothing
    // and the menu stays.
    g_notes.clear();
    Mouse(menu, WM_MOUSEMOVE, RectCentre(b));
    ASSERT_EQ(g_notes.size(), 1u);
    EXPECT_EQ(g_notes[0].msg, c_menuItemLeaveMessage);
    EXPECT_EQ(g_notes[0].wParam, static_cast<WPARAM>(c_open));
    EXPECT_EQ(g_notes[0].lParam, c_userValue);
    g_notes.clear();
    Mouse(menu, WM_LBUTTONDOWN, RectCentre(b));
    Mouse(menu, WM_LBUTTONUP, RectCentre(b));
    EXPECT_TRUE(g_notes.empty());
    EXPECT_TRUE(IsWindowVisible(menu->hwnd));

    // A click on the first row: the menu hides and the command arrives.
    Mouse(menu, WM_MOUSEMOVE, RectCentre(a));
    g_notes.clear();
    Mouse(menu, WM_LBUTTONDOWN, RectCentre(a));
    Mouse(menu, WM_LBUTTONUP, RectCentre(a));
    ASSERT_FALSE(g_notes.empty());
    EXPECT_EQ(g_notes.back().msg, static_cast<UINT>(WM_COMMAND));
    EXPECT_EQ(g_notes.back().wParam, static_cast<WPARAM>(c_open));
    EXPECT_EQ(g_notes.back().lParam, c_userValue);
    EXPECT_FALSE(IsWindowVisible(menu->hwnd));
    EXPECT_FALSE(menu->shown);
}

TEST_F(MenuTest, NotifyWindowMayReopenTheMenuFromANotification)
{
    t_wndMenu* menu = Open();
    ASSERT_NE(menu, nullptr);
    // The row that reports its leave or click is gone when the handler returns.
    int reopened = 0;
    g_onNote = [&](UINT) {
        ++reopened;
        Open(L"又一个");
    };
    Mouse(menu, WM_MOUSEMOVE, RectCentre(menu->FindItem(c_open)->GetRect()));
    Mouse(menu, WM_MOUSEMOVE, RectCentre(menu->FindItem(c_gray)->GetRect()));
    EXPECT_EQ(reopened, 1);
    EXPECT_EQ(menu->ItemCount(), 2);
    EXPECT_TRUE(IsWindowVisible(menu->hwnd));
    Mouse(menu, WM_MOUSEMOVE, RectCentre(menu->FindItem(c_open)->GetRect()));
    Mouse(menu, WM_LBUTTONDOWN, RectCentre(menu->FindItem(c_open)->GetRect()));
    Mouse(menu, WM_LBUTTONUP, RectCentre(menu->FindItem(c_open)->GetRect()));
    EXPECT_EQ(g_notes.back().msg, static_cast<UINT>(WM_COMMAND));
    EXPECT_TRUE(IsWindowVisible(menu->hwnd));
    EXPECT_EQ(menu->ItemCount(), 2);
}

TEST_F(MenuTest, MenuClosesAtOnceAfterASecondOrWhenTheMouseLeaves)
{
    t_wndMenu* menu = Open();
    ASSERT_NE(menu, nullptr);
    // A delayed close: still open after half a second, closed after one.
    element->CloseMenu(0);
    EXPECT_TRUE(menu->closePending);
    g_tick += 500;
    menu->OnTimer(c_menuCloseTimerId);
    EXPECT_TRUE(IsWindowVisible(menu->hwnd));
    g_tick += 501;
    menu->OnTimer(c_menuCloseTimerId);
    EXPECT_FALSE(IsWindowVisible(menu->hwnd));

    // The mouse coming into the menu, or the menu popping up again, keeps it open.
    for (bool enter : {true, false}) {
        SCOPED_TRACE(enter);
        menu = Open();
        element->CloseMenu(0);
        g_tick += 100;
        if (enter)
            Mouse(menu, WM_MOUSEMOVE, RectCentre(menu->FindItem(c_open)->GetRect()));
        else
            Open();
        g_tick += 1500;
        menu->OnTimer(c_menuCloseTimerId);
        EXPECT_FALSE(menu->closePending);
        EXPECT_TRUE(IsWindowVisible(menu->hwnd));
        // The mouse leaving the menu closes it.
        Mouse(menu, WM_MOUSEMOVE, RectCentre(menu->FindItem(c_gray)->GetRect()));
        EXPECT_TRUE(IsWindowVisible(menu->hwnd));
        Mouse(menu, WM_MOUSEMOVE, POINT{work.left + 1, work.bottom - 2});
        EXPECT_FALSE(IsWindowVisible(menu->hwnd));
    }

    // The real timer on the real clock.
    g_fakeClock = false;
    menu = Open();
    element->CloseMenu(0);
    PumpMessages(400);
    EXPECT_TRUE(IsWindowVisible(menu->hwnd));
    PumpMessages(1100);
    EXPECT_FALSE(IsWindowVisible(menu->hwnd));

    // At once: through the element, and when the top hides.
    menu = Open();
    element->CloseMenu(1);
    EXPECT_FALSE(IsWindowVisible(menu->hwnd));
    menu = Open();
    top.Show(false);
    EXPECT_FALSE(IsWindowVisible(menu->hwnd));
    // A hidden top opens no menu.
    Open();
    EXPECT_FALSE(IsWindowVisible(menu->hwnd));
}

TEST_F(MenuTest, RebuildingTheMenuKeepsNoGdiObjectsAndAnEmptyOneShowsNothing)
{
    for (int i = 0; i < 3; ++i)
        Open();
    const DWORD before = LiveGdiObjects();
    for (int i = 0; i < 20; ++i) {
        Open();
        Mouse(top.menu.get(), WM_MOUSEMOVE, RectCentre(top.menu->FindItem(c_open)->GetRect()));
    }
    top.menu->Close(1);
    EXPECT_EQ(LiveGdiObjects(), before);

    t_menuData empty;
    element->ShowMenu(POINT{work.left + 300, work.top + 300}, 0, 0, notify, &empty, 0);
    EXPECT_EQ(top.menu->ItemCount(), 0);
    EXPECT_EQ(top.menu->layout, nullptr);
    EXPECT_EQ(top.menu->GetSize().cx, 0);
}

TEST_F(MenuTest, AlignmentAndHeaderVariants)
{
    // The point as the menu's bottom-right corner.
    t_menuData data;
    Describe(data, L"", L"");
    const POINT point = {work.left + 400, work.top + 300};
    element->ShowMenu(point, e_menuAlignRight | e_menuAlignBottom, 0, notify, &data, 0);
    t_wndMenu* menu = top.menu.get();
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->GetRect().right, point.x);
    EXPECT_EQ(menu->GetRect().bottom, point.y);
    // Without a title: no header, the rows are the whole layout and the body gradient
    // starts 2 pixels down.
    EXPECT_EQ(menu->Title(), nullptr);
    EXPECT_EQ(menu->FindItem(c_open)->GetRect().top, menu->GetRect().top + 2);
    {
        const RECT m = menu->GetRect();
        t_memDC dib;
        ASSERT_TRUE(menu->RenderToDib(nullptr, dib, m.right - m.left, m.bottom - m.top));
        EXPECT_TRUE(Near(PixelAt(dib, m.right - m.left - 3, 2), 0xFFFEFC, 2));
        EXPECT_EQ(PixelAt(dib, m.right - m.left - 3, 1), 0xFFFFFFu);
    }
    // A title with an empty link text: the title alone.
    menu = Open(L"只有标题", L"");
    ASSERT_NE(menu->Title(), nullptr);
    EXPECT_EQ(menu->Link(), nullptr);
    // Centred on the point.
    t_menuData again;
    Describe(again, L"", L"");
    element->ShowMenu(point, e_menuAlignCentre | e_menuAlignMiddle, 0, notify, &again, 0);
    const RECT m = menu->GetRect();
    EXPECT_LE(std::abs((m.left + m.right) / 2 - point.x), 1);
    EXPECT_LE(std::abs((m.top + m.bottom) / 2 - point.y), 1);
}

// Real input, the hooks left alone: the system's mouse reaches the disabled menu window.
TEST(MenuRealInput, SystemMouseHoversLeavesAndClicksRows)
{
    g_notes.clear();
    RECT work;
    GetWorkArea(nullptr, work);
    HWND notify = MakeNotifyWindow();
    t_wndTop top;
    ASSERT_TRUE(top.Create(WS_POPUP, 0, 0, 120, 30, 0, nullptr, nullptr));
    AddRootLayout(top);
    top.SetPlainFrame(RGB(0, 0, 0), RGB(40, 90, 200));
    // Away from where the other window tests put theirs.
    top.Move(work.right - 420, work.top + 200, 120, 30, true);
    top.Show(true);
    t_fillElement* element = AddFilledChild(top, 5, 5, 20, 20, RGB(0, 0, 255), true);
    t_menuData data;
    data.AddItem(t_menuItem{t_str(L"第一项"), false, true, false, false, c_open});
    data.AddItem(t_menuItem{t_str(L"第二项"), false, true, false, false, c_gray});
    data.userValue = c_userValue;
    const RECT t = top.GetRect();
    element->ShowMenu(POINT{t.left, t.bottom}, 0, 0, notify, &data, 0);
    t_wndMenu* menu = top.menu.get();
    ASSERT_NE(menu, nullptr);
    ASSERT_TRUE(IsWindowVisible(menu->hwnd));
    const POINT a = RectCentre(menu->FindItem(c_open)->GetRect());
    const POINT b = RectCentre(menu->FindItem(c_gray)->GetRect());

    SendMouse(MOUSEEVENTF_MOVE, a.x, a.y);
    EXPECT_TRUE(menu->FindItem(c_open)->IsHot());
    // The cursor rests: the hover poll reports the row.
    PumpMessages(400);
    ASSERT_FALSE(g_notes.empty());
    EXPECT_EQ(g_notes[0].msg, c_menuItemHoverMessage);
    EXPECT_EQ(g_notes[0].wParam, static_cast<WPARAM>(c_open));
    g_notes.clear();
    SendMouse(MOUSEEVENTF_MOVE, b.x, b.y);
    ASSERT_FALSE(g_notes.empty());
    EXPECT_EQ(g_notes[0].msg, c_menuItemLeaveMessage);
    g_notes.clear();
    SendMouse(MOUSEEVENTF_LEFTDOWN);
    SendMouse(MOUSEEVENTF_LEFTUP);
    // The command, and at most the leave of the row the hidden menu no longer shows.
    ASSERT_FALSE(g_notes.empty());
    EXPECT_EQ(g_notes[0].msg, static_cast<UINT>(WM_COMMAND));
    EXPECT_EQ(g_notes[0].wParam, static_cast<WPARAM>(c_gray));
    for (size_t i = 1; i < g_notes.size(); ++i)
        EXPECT_EQ(g_notes[i].msg, c_menuItemLeaveMessage);
    EXPECT_FALSE(IsWindowVisible(menu->hwnd));
    SendMouse(MOUSEEVENTF_MOVE, work.left + 1, work.bottom - 2);
    top.Destroy();
    DestroyWindow(notify);
}

}  // namespace
