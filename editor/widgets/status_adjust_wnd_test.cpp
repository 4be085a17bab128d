// The status layout editor inside a real dialog: bar and button pictures from the work
// folder, showing and hiding, quiet moves, focus that raises and reports, arrow keys through
// the dialog's own key handling, a real mouse drag by the system's move loop kept inside the
// bar, and the painted picture keyed by the transparent colour.
#include "editor/widgets/status_adjust_wnd.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "editor/app/app.h"
#include "graphics/codecs/bmp_maker_test.h"
#include "graphics/paint/module_instance.h"
#include "skin_model/base_info.h"
#include "skin_model/ime_skin.h"
#include "skin_model/status_info.h"
#include "tests/support/message_pump.h"
#include "tests/support/paint_surface.h"
#include "tests/support/real_keyboard.h"
#include "tests/support/real_mouse.h"
#include "tests/support/temp_folder.h"

namespace {
using namespace n_statusAdjust;

const int c_barWidth = 120;
const int c_barHeight = 30;
const int c_buttonSize = 16;
// COLORREF values (0x00BBGGRR).
const COLORREF c_red = RGB(255, 0, 0);
const COLORREF c_blue = RGB(0, 0, 255);

struct t_report {
    UINT message;
    int index;
    int x;
    int y;
};
std::vector<t_report> g_reports;

INT_PTR CALLBACK PageProc(HWND, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == c_buttonFocused || message == c_buttonMoved) {
        g_reports.push_back({message, static_cast<int>(wParam), static_cast<short>(LOWORD(lParam)),
                             static_cast<short>(HIWORD(lParam))});
        return TRUE;
    }
    return message == WM_INITDIALOG;
}

// A 24-bit bitmap file whose pixel (x, y) (top-down) has the COLORREF colour(x, y).
std::string Bitmap(int width, int height, const std::function<COLORREF(int, int)>& colour)
{
    t_bmpFields fields;
    fields.width = width;
    fields.height = height;
    const int stride = (width * 3 + 3) & ~3;
    for (int row = height - 1; row >= 0; --row) {
        std::string line;
        for (int x = 0; x < width; ++x) {
            const COLORREF c = colour(x, row);
            line.push_back(static_cast<char>(GetBValue(c)));
            line.push_back(static_cast<char>(GetGValue(c)));
            line.push_back(static_cast<char>(GetRValue(c)));
        }
        line.resize(static_cast<size_t>(stride), '\0');
        fields.pixels += line;
    }
    return MakeBmp(fields);
}

// An empty dialog template: the page stand-in, so that the dialog manager's key handling runs.
struct alignas(4) t_emptyDialog {
    DLGTEMPLATE header;
    WORD menu, windowClass, title;
};

class StatusAdjust : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        SetModuleInstance(GetModuleHandleW(nullptr));
        IMEKavrelApp::RegisterClasses();
    }

    void SetUp() override
    {
        g_reports.clear();
        BaseInfo::SetWorkFolder(m_work.Path().c_str());
        ASSERT_TRUE(WriteRaw(m_work / L"bar.bmp", Bitmap(c_barWidth, c_barHeight, [](int x, int) {
                                 return x < c_barWidth / 2 ? c_red : c_blue;
                             })));
        ASSERT_TRUE(WriteRaw(m_work / L"button.bmp",
                             Bitmap(c_buttonSize, c_buttonSize, [](int, int) { return RGB(0, 128, 0); })));
        ASSERT_TRUE(WriteRaw(m_work / L"junk.bmp", std::string("BM not a picture at all")));
        SetBarPicture(L"bar.bmp");

        t_emptyDialog dialog = {};
        dialog.header.style = WS_POPUP | WS_VISIBLE | DS_CONTROL;
        dialog.header.cx = 200;
        dialog.header.cy = 100;
        m_page = CreateDialogIndirectParamW(GetModuleHandleW(nullptr), &dialog.header, nullptr, PageProc, 0);
        ASSERT_NE(nullptr, m_page);
        SetWindowPos(m_page, HWND_TOPMOST, 100, 100, 300, 120, SWP_SHOWWINDOW);
        // A second tab stop: without the element's own wish for them, the arrow keys move
        // the focus here.
        CreateWindowExW(0, L"BUTTON", L"other", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 10, 80, 60, 20, m_page, nullptr,
                        GetModuleHandleW(nullptr), nullptr);
        m_adjust = new StatusAdjustWnd();
        const RECT rect = {10, 10, 10 + 200, 10 + 60};
        ASSERT_TRUE(m_adjust->Create(m_page, rect));
        ASSERT_EQ(0, Send(c_reloadBar, 0, 0));
        SetForegroundWindow(m_page);
        PumpPage(50);
    }

    void TearDown() override
    {
        delete m_adjust;
        if (m_page)
            DestroyWindow(m_page);
        BaseInfo::SetWorkFolder(nullptr);
        SetBarPicture(L"");
        IMESkin::Instance()->StatusBar().SetString(L"pic_mask", 0, L"");
    }

    static void SetBarPicture(const wchar_t* name) { IMESkin::Instance()->StatusBar().SetString(L"pic", 0, name); }

    LRESULT Send(UINT message, WPARAM wParam, LPARAM lParam)
    {
        return SendMessageW(m_adjust->GetHwnd(), message, wParam, lParam);
    }
    GEStatusBarBackGround& Bar() { return *m_adjust->Background(); }
    GEButton& Button(int index) { return *Bar().Button(index); }

    // A button with its picture, shown, quietly at (x, y); the reports so far forgotten.
    GEButton& Place(int index, int x, int y)
    {
        Send(c_setButtonPicture, reinterpret_cast<WPARAM>(L"button.bmp"), MAKELPARAM(0, index));
        Bar().ShowButton(index, true);
        Send(c_moveButton, static_cast<WPARAM>(index), MAKELPARAM(x, y));
        g_reports.clear();
        return Button(index);
    }

    // Dispatches messages through the dialog manager, as the program's loop does.
    void PumpPage(DWORD ms)
    {
        const DWORD end = GetTickCount() + ms;
        do {
            MSG msg;
            while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
                if (!IsDialogMessageW(m_page, &msg)) {
                    TranslateMessage(&msg);
                    DispatchMessageW(&msg);
                }
            }
            Sleep(5);
        } while (static_cast<int>(end - GetTickCount()) > 0);
    }

    static POINT InBar(const Window& element)
    {
        RECT rect;
        GetWindowRect(element.GetHwnd(), &rect);
        POINT corner = {rect.left, rect.top};
        ScreenToClient(GetParent(element.GetHwnd()), &corner);
        return corner;
    }
    static SIZE SizeOf(const Window& element)
    {
        RECT rect;
        GetWindowRect(element.GetHwnd(), &rect);
        return {rect.right - rect.left, rect.bottom - rect.top};
    }
    // The buttons' indexes from the bottom of the window stack to its top.
    std::vector<int> WindowStack()
    {
        std::vector<int> order;
        for (HWND child = GetWindow(GetWindow(Bar().GetHwnd(), GW_CHILD), GW_HWNDLAST); child;
             child = GetWindow(child, GW_HWNDPREV)) {
            for (int i = 0; i < c_buttonCount; ++i) {
                if (Button(i).GetHwnd() == child)
                    order.push_back(i);
            }
        }
        return order;
    }
    std::vector<int> StackList()
    {
        std::vector<int> order;
        for (int i = 0; i < c_buttonCount; ++i)
            order.push_back(Bar().StackAt(i));
        return order;
    }
    std::vector<t_report> Reports(UINT message)
    {
        std::vector<t_report> out;
        for (const t_report& report : g_reports) {
            if (report.message == message)
                out.push_back(report);
        }
        return out;
    }

    t_tempFolder m_work{L"status_adjust"};
    HWND m_page = nullptr;
    StatusAdjustWnd* m_adjust = nullptr;
};

TEST_F(StatusAdjust, TenHiddenButtonsOnTheBarInStackingOrder)
{
    ASSERT_NE(nullptr, m_adjust->Background());
    EXPECT_EQ(m_adjust->GetHwnd(), GetParent(Bar().GetHwnd()));
    EXPECT_TRUE(Bar().IsFixed());
    for (int i = 0; i < c_buttonCount; ++i) {
        SCOPED_TRACE(i);
        ASSERT_NE(nullptr, Bar().Button(i));
        EXPECT_EQ(i, Button(i).Index());
        EXPECT_EQ(Bar().GetHwnd(), GetParent(Button(i).GetHwnd()));
        EXPECT_FALSE(IsWindowVisible(Button(i).GetHwnd()));
        EXPECT_FALSE(Button(i).IsFixed());
    }
    EXPECT_EQ(nullptr, Bar().Button(-1));
    EXPECT_EQ(nullptr, Bar().Button(c_buttonCount));
    EXPECT_EQ((std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9}), StackList());
    EXPECT_EQ(StackList(), WindowStack());
    // The user grabs buttons, not the bar.
    RECT bar;
    GetWindowRect(Bar().GetHwnd(), &bar);
    EXPECT_EQ(HTCLIENT, SendMessageW(Bar().GetHwnd(), WM_NCHITTEST, 0, MAKELPARAM(bar.left + 1, bar.top + 1)));

    m_adjust->ShowButton(4, true);
    EXPECT_TRUE(IsWindowVisible(Button(4).GetHwnd()));
    EXPECT_TRUE(Button(4).IsShown());
    m_adjust->ShowButton(4, false);
    EXPECT_FALSE(IsWindowVisible(Button(4).GetHwnd()));
    EXPECT_FALSE(Button(4).IsShown());
    m_adjust->ShowButton(-1, true);
    m_adjust->ShowButton(c_buttonCount, true);
    EXPECT_TRUE(g_reports.empty());
}

TEST_F(StatusAdjust, BarPictureReloadsFromTheStatusPart)
{
    struct t_case {
        const wchar_t* pic;
        LRESULT result;
        int width, height;
    };
    const t_case cases[] = {
        {L"bar.bmp", 0, c_barWidth, c_barHeight},
        {L"missing.bmp", -1, 0, 0},
        {L"bar.bmp", 0, c_barWidth, c_barHeight},
        {L"junk.bmp", -1, 0, 0},
        // No picture is no failure: the bar is merely empty.
        {L"", 0, 0, 0},
    };
    for (const t_case& c : cases) {
        SCOPED_TRACE(&c - cases);
        SetBarPicture(c.pic);
        EXPECT_EQ(c.result, Send(c_reloadBar, 0, 0));
        int width = -1, height = -1;
        Bar().GetSize(width, height);
        EXPECT_EQ(c.width, width);
        EXPECT_EQ(c.height, height);
        EXPECT_EQ(c.width, SizeOf(Bar()).cx);
        EXPECT_EQ(c.height, SizeOf(Bar()).cy);
        EXPECT_EQ(c.width != 0, Bar().HasPicture());
        EXPECT_TRUE(IsWindowVisible(Bar().GetHwnd()));
        const POINT at = InBar(Bar());
        EXPECT_EQ(0, at.x);
        EXPECT_EQ(0, at.y);
    }
    // Without its background element the editor answers -2.
    StatusAdjustWnd bare;
    EXPECT_EQ(c_noBackground, bare.WndProc(nullptr, c_reloadBar, 0, 0));
}

TEST_F(StatusAdjust, ButtonPictureResizesAndRaisesWithoutReport)
{
    GEButton& button = Button(2);
    Send(c_setButtonPicture, reinterpret_cast<WPARAM>(L"button.bmp"), MAKELPARAM(0, 2));
    EXPECT_EQ(c_buttonSize, SizeOf(button).cx);
    EXPECT_EQ(c_buttonSize, SizeOf(button).cy);
    EXPECT_TRUE(button.HasPicture());
    EXPECT_EQ(m_work / L"button.bmp", std::wstring(button.PicturePath()));
    // A hidden button stays hidden: the page decides what is shown.
    EXPECT_FALSE(IsWindowVisible(button.GetHwnd()));
    EXPECT_EQ(2, StackList().back());
    EXPECT_EQ(StackList(), WindowStack());

    Bar().ShowButton(2, true);
    Send(c_moveButton, 2, MAKELPARAM(30, 4));
    Send(c_setButtonPicture, reinterpret_cast<WPARAM>(L"junk.bmp"), MAKELPARAM(0, 2));
    EXPECT_FALSE(button.HasPicture());
    EXPECT_EQ(0, SizeOf(button).cx);
    EXPECT_EQ(0, SizeOf(button).cy);
    EXPECT_EQ(30, InBar(button).x);
    EXPECT_EQ(4, InBar(button).y);
    EXPECT_TRUE(IsWindowVisible(button.GetHwnd()));
    // An empty name and a null name mean no picture.
    Send(c_setButtonPicture, reinterpret_cast<WPARAM>(L"button.bmp"), MAKELPARAM(0, 2));
    Send(c_setButtonPicture, reinterpret_cast<WPARAM>(L""), MAKELPARAM(0, 2));
    EXPECT_FALSE(button.HasPicture());
    Send(c_setButtonPicture, 0, MAKELPARAM(0, 2));
    EXPECT_FALSE(button.HasPicture());
    // Indexes outside the ten are ignored.
    const std::vector<int> before = StackList();
    Send(c_setButtonPicture, reinterpret_cast<WPARAM>(L"button.bmp"), MAKELPARAM(0, c_buttonCount));
    EXPECT_EQ(before, StackList());
    EXPECT_TRUE(g_reports.empty());
}

TEST_F(StatusAdjust, QuietMovesGoAnywhereWithoutReport)
{
    GEButton& button = Place(5, 0, 0);
    const POINT targets[] = {{40, 7}, {-3, 2}, {200, 50}, {0, 0}};
    for (const POINT& target : targets) {
        Send(c_moveButton, 5,
             MAKELPARAM(static_cast<WORD>(static_cast<short>(target.x)),
                        static_cast<WORD>(static_cast<short>(target.y))));
        EXPECT_EQ(target.x, InBar(button).x);
        EXPECT_EQ(target.y, InBar(button).y);
    }
    Send(c_moveButton, c_buttonCount, MAKELPARAM(1, 1));
    EXPECT_TRUE(g_reports.empty());
}

TEST_F(StatusAdjust, FocusRaisesPushesInsideAndReports)
{
    for (int i = 0; i < c_buttonCount; ++i)
        Place(i, 2 * i, 0);
    const std::vector<int> before = StackList();
    GEButton& button = Place(3, c_barWidth - 4, -6);
    SetFocus(button.GetHwnd());
    PumpPage(20);
    ASSERT_EQ(button.GetHwnd(), GetFocus());
    // The others keep their order; 3 goes on top.
    std::vector<int> expected;
    for (int i : before) {
        if (i != 3)
            expected.push_back(i);
    }
    expected.push_back(3);
    EXPECT_EQ(expected, StackList());
    EXPECT_EQ(expected, WindowStack());
    ASSERT_EQ(1u, Reports(c_buttonFocused).size());
    EXPECT_EQ(3, Reports(c_buttonFocused)[0].index);
    ASSERT_FALSE(Reports(c_buttonMoved).empty());
    const t_report moved = Reports(c_buttonMoved).back();
    EXPECT_EQ(3, moved.index);
    EXPECT_EQ(c_barWidth - c_buttonSize, moved.x);
    EXPECT_EQ(0, moved.y);
    EXPECT_EQ(moved.x, InBar(button).x);
    EXPECT_EQ(moved.y, InBar(button).y);

    // The editor hands its focus to the bar; a click on the editor takes it.
    SetFocus(m_adjust->GetHwnd());
    EXPECT_EQ(Bar().GetHwnd(), GetFocus());
    SetFocus(button.GetHwnd());
    SendMessageW(m_adjust->GetHwnd(), WM_LBUTTONDOWN, 0, 0);
    EXPECT_EQ(Bar().GetHwnd(), GetFocus());
}

TEST_F(StatusAdjust, ArrowKeysMoveOnePixelInsideTheDialog)
{
    GEButton& button = Place(1, 50, 5);
    // The dialog manager leaves the arrows to the element only when it asks for them.
    EXPECT_EQ(DLGC_WANTARROWS, SendMessageW(button.GetHwnd(), WM_GETDLGCODE, 0, 0) & DLGC_WANTARROWS);
    SetFocus(button.GetHwnd());
    PumpPage(20);
    ASSERT_EQ(button.GetHwnd(), GetFocus());
    g_reports.clear();

    struct t_step {
        WORD key;
        int x, y;
    };
    const int right = c_barWidth - c_buttonSize, bottom = c_barHeight - c_buttonSize;
    const t_step steps[] = {
        {VK_RIGHT, 51, 5},
        {VK_DOWN, 51, 6},
        {VK_LEFT, 50, 6},
        {VK_UP, 50, 5},
    };
    auto press = [&](WORD key) {
        SendKeyPress(key);
        PumpPage(40);
    };
    for (const t_step& step : steps) {
        SCOPED_TRACE(step.key);
        g_reports.clear();
        press(step.key);
        EXPECT_EQ(button.GetHwnd(), GetFocus());
        EXPECT_EQ(step.x, InBar(button).x);
        EXPECT_EQ(step.y, InBar(button).y);
        ASSERT_EQ(1u, Reports(c_buttonMoved).size());
        EXPECT_EQ(1, Reports(c_buttonMoved)[0].index);
        EXPECT_EQ(step.x, Reports(c_buttonMoved)[0].x);
        EXPECT_EQ(step.y, Reports(c_buttonMoved)[0].y);
    }
    // At the bar's edges the keys push against them and stay inside.
    Send(c_moveButton, 1, MAKELPARAM(right, bottom));
    press(VK_RIGHT);
    press(VK_DOWN);
    EXPECT_EQ(right, InBar(button).x);
    EXPECT_EQ(bottom, InBar(button).y);
    Send(c_moveButton, 1, MAKELPARAM(0, 0));
    press(VK_LEFT);
    press(VK_UP);
    EXPECT_EQ(0, InBar(button).x);
    EXPECT_EQ(0, InBar(button).y);
    EXPECT_EQ(c_buttonSize, SizeOf(button).cx);
    EXPECT_EQ(c_buttonSize, SizeOf(button).cy);
}

TEST_F(StatusAdjust, MouseDragMovesButtonAndKeepsItInsideTheBar)
{
    struct t_drag {
        POINT start;  // bar coordinates
        int dx, dy;
        POINT end;
    };
    const int right = c_barWidth - c_buttonSize, bottom = c_barHeight - c_buttonSize;
    const t_drag drags[] = {
        {{20, 4}, 30, 5, {50, 9}},
        // Past the right and bottom edges: flush with them.
        {{20, 4}, 300, 80, {right, bottom}},
        // Past the left and top edges.
        {{60, 10}, -200, -90, {0, 0}},
    };
    for (const t_drag& drag : drags) {
        SCOPED_TRACE(drag.dx);
        GEButton& button = Place(6, drag.start.x, drag.start.y);
        RECT rect;
        GetWindowRect(button.GetHwnd(), &rect);
        const POINT grab = {rect.left + c_buttonSize / 2, rect.top + c_buttonSize / 2};
        // The system's move loop runs inside the press: the mouse is driven from another thread.
        struct t_path {
            POINT grab;
            int dx, dy;
        } path = {grab, drag.dx, drag.dy};
        const HANDLE driver = CreateThread(
            nullptr, 0,
            [](void* context) -> DWORD {
                const t_path& p = *static_cast<t_path*>(context);
                // The driver thread has no windows: its pump only spaces the events.
                auto send = [](DWORD flags, int x, int y) { SendMouse(flags, x, y, 40); };
                send(MOUSEEVENTF_MOVE, p.grab.x, p.grab.y);
                send(MOUSEEVENTF_LEFTDOWN, 0, 0);
                const int steps = 6;
                for (int i = 1; i <= steps; ++i)
                    send(MOUSEEVENTF_MOVE, p.grab.x + p.dx * i / steps, p.grab.y + p.dy * i / steps);
                send(MOUSEEVENTF_LEFTUP, 0, 0);
                return 0;
            },
            &path, 0, nullptr);
        ASSERT_NE(nullptr, driver);
        const DWORD end = GetTickCount() + 3000;
        while (WaitForSingleObject(driver, 0) == WAIT_TIMEOUT && static_cast<int>(end - GetTickCount()) > 0)
            PumpPage(10);
        PumpPage(100);
        WaitForSingleObject(driver, INFINITE);
        CloseHandle(driver);

        EXPECT_EQ(button.GetHwnd(), GetFocus());
        EXPECT_EQ(drag.end.x, InBar(button).x);
        EXPECT_EQ(drag.end.y, InBar(button).y);
        ASSERT_FALSE(Reports(c_buttonFocused).empty());
        EXPECT_EQ(6, Reports(c_buttonFocused)[0].index);
        ASSERT_FALSE(Reports(c_buttonMoved).empty());
        const t_report last = Reports(c_buttonMoved).back();
        EXPECT_EQ(6, last.index);
        EXPECT_EQ(drag.end.x, last.x);
        EXPECT_EQ(drag.end.y, last.y);
        EXPECT_EQ(6, StackList().back());
        SetFocus(m_page);
    }
}

TEST_F(StatusAdjust, PaintKeysOutTheTransparentColour)
{
    const uint32_t green = 0x00FF00, red = 0xFF0000, blue = 0x0000FF, grey = 0x808080;
    struct t_case {
        int colour;
        uint32_t left, right;
    };
    const t_case cases[] = {
        {c_noTransparentColour, red, blue},
        {static_cast<int>(c_red), green, blue},
        {static_cast<int>(c_blue), red, green},
    };
    // The same through an alpha-keeping paint, as when the skin holds PNG or GIF pictures.
    for (const bool alpha : {false, true}) {
        IMESkin::Instance()->StatusBar().SetString(L"pic_mask", 0, alpha ? L"mask.png" : L"");
        ASSERT_EQ(alpha, IMESkin::Instance()->AnyPartUsesPngOrGif());
        for (const t_case& c : cases) {
            SCOPED_TRACE(testing::Message() << c.colour << (alpha ? " alpha" : ""));
            m_adjust->SetTransparentColour(c.colour);
            EXPECT_EQ(c.colour, Bar().TransparentColour());
            for (int i = 0; i < c_buttonCount; ++i)
                EXPECT_EQ(c.colour, Button(i).TransparentColour());
            t_testSurface surface(c_barWidth + 10, c_barHeight + 10, false);
            const HBRUSH brush = CreateSolidBrush(RGB(0, 255, 0));
            const RECT all = {0, 0, surface.Width(), surface.Height()};
            FillRect(surface.Dc(), &all, brush);
            DeleteObject(brush);
            Bar().Paint(surface.Dc());
            EXPECT_EQ(c.left, surface.At(5, 5) & 0xFFFFFF);
            EXPECT_EQ(c.right, surface.At(c_barWidth - 5, c_barHeight - 5) & 0xFFFFFF);
            // Nothing beyond the picture.
            EXPECT_EQ(green, surface.At(c_barWidth + 5, 5) & 0xFFFFFF);
        }
    }
    // Without a picture: a grey box with a black frame over the element.
    GEButton& button = Button(8);
    SetWindowPos(button.GetHwnd(), nullptr, 0, 0, 12, 10, SWP_NOMOVE | SWP_NOZORDER);
    t_testSurface surface(20, 20, false);
    button.Paint(surface.Dc());
    EXPECT_EQ(0u, surface.At(0, 0) & 0xFFFFFF);
    EXPECT_EQ(0u, surface.At(11, 9) & 0xFFFFFF);
    EXPECT_EQ(grey, surface.At(5, 5) & 0xFFFFFF);
    EXPECT_EQ(0u, surface.At(15, 15) & 0xFFFFFF);
}

TEST_F(StatusAdjust, WindowsAndObjectsEndInEitherOrder)
{
    // The page window goes first, the editor object later.
    Place(0, 1, 1);
    SetFocus(Button(0).GetHwnd());
    DestroyWindow(m_page);
    m_page = nullptr;
    EXPECT_EQ(nullptr, Bar().GetHwnd());
    EXPECT_EQ(nullptr, Button(0).GetHwnd());
    delete m_adjust;
    m_adjust = nullptr;

    // The editor object goes first: its windows go with it.
    t_emptyDialog dialog = {};
    dialog.header.style = WS_POPUP | WS_VISIBLE;
    m_page = CreateDialogIndirectParamW(GetModuleHandleW(nullptr), &dialog.header, nullptr, PageProc, 0);
    ASSERT_NE(nullptr, m_page);
    StatusAdjustWnd* adjust = new StatusAdjustWnd();
    const RECT rect = {0, 0, 100, 40};
    ASSERT_TRUE(adjust->Create(m_page, rect));
    const HWND window = adjust->GetHwnd();
    delete adjust;
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(nullptr, GetWindow(m_page, GW_CHILD));
    PumpPage(20);
}

}  // namespace
