// A disabled layered top driven by real input: the system's own mouse messages, sent as
// input, reach the top through WM_SETCURSOR since a disabled window gets no button message.
#include "toolkit/wnd_top.h"

#include <gtest/gtest.h>

#include "graphics/paint/work_area.h"
#include "tests/support/painted_tree.h"

namespace {

class t_countingTop : public t_wndTop {
public:
    bool OnLButtonDblClk(UINT keys, int x, int y) override
    {
        ++doubleClicks;
        return t_wndTop::OnLButtonDblClk(keys, x, y);
    }
    bool OnSetCursor(HWND window, int hitCode, int mouseMsg) override
    {
        if (mouseMsg == WM_LBUTTONDOWN)
            ++setCursorPresses;
        return t_wndTop::OnSetCursor(window, hitCode, mouseMsg);
    }
    int doubleClicks = 0;
    int setCursorPresses = 0;
};

void Pump(DWORD ms)
{
    const DWORD end = GetTickCount() + ms;
    do {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&msg);
        Sleep(5);
    } while (static_cast<int>(end - GetTickCount()) > 0);
}

void SendMouse(DWORD flags, int x = 0, int y = 0)
{
    INPUT input = {};
    input.type = INPUT_MOUSE;
    if (flags & MOUSEEVENTF_MOVE) {
        const int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
        input.mi.dx = (x * 65536 + w / 2) / w;
        input.mi.dy = (y * 65536 + h / 2) / h;
        flags |= MOUSEEVENTF_ABSOLUTE;
    }
    input.mi.dwFlags = flags;
    SendInput(1, &input, sizeof(input));
    Pump(25);
}

RECT WindowRect(HWND window)
{
    RECT r = {};
    GetWindowRect(window, &r);
    return r;
}

TEST(WndTopRealInput, DisabledLayeredTopTakesClicksDoubleClicksAndDrags)
{
    RECT work;
    GetWorkArea(nullptr, work);
    t_countingTop top;
    ASSERT_TRUE(top.Create(WS_POPUP | WS_DISABLED, 0, 0, 120, 80, 0, nullptr, nullptr));
    AddRootLayout(top);
    top.SetPlainFrame(RGB(0, 0, 0), RGB(40, 90, 200));
    top.SetLayered(true);
    const POINT origin = {work.left + 200, work.top + 200};
    top.Move(origin.x, origin.y, 120, 80, true);
    top.Show(true);
    Pump(100);

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
