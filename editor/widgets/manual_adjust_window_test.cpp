// The adjustment window in a small test window: lines held apart and inside the window,
// margins and the point set from picture pixels and reported back, arrow keys inside a
// dialog, a real mouse drag that reports once at its end, and the painted picture.
#include "editor/widgets/manual_adjust_window.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "editor/app/app.h"
#include "graphics/paint/module_instance.h"
#include "tests/support/flat_png.h"
#include "tests/support/message_pump.h"
#include "tests/support/paint_surface.h"
#include "tests/support/real_mouse.h"
#include "tests/support/temp_folder.h"

namespace {
using namespace n_manualAdjust;
using t_grip = ManualAdjustWindow::t_grip;

const int c_controlId = 7;
const wchar_t c_parentClass[] = L"KavrelAdjustTestParent";

struct t_report {
    int controlId;
    int grip;
    int x;
    int y;
};
std::vector<t_report> g_reports;

LRESULT CALLBACK ParentProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == c_gripMoved) {
        g_reports.push_back({static_cast<int>(HIWORD(wParam)), static_cast<int>(LOWORD(wParam)),
                             static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))});
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

class ManualAdjust : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        SetModuleInstance(GetModuleHandleW(nullptr));
        IMEKavrelApp::RegisterClasses();
        WNDCLASSW parentClass = {};
        parentClass.lpfnWndProc = ParentProc;
        parentClass.hInstance = GetModuleHandleW(nullptr);
        parentClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        parentClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
        parentClass.lpszClassName = c_parentClass;
        RegisterClassW(&parentClass);
    }

    void SetUp() override
    {
        g_reports.clear();
        m_parent = CreateWindowExW(WS_EX_TOPMOST, c_parentClass, L"adjust", WS_POPUP | WS_VISIBLE, 100, 100, 400, 300,
                                   nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
        ASSERT_NE(nullptr, m_parent);
    }

    void TearDown() override
    {
        delete m_window;
        if (m_parent)
            DestroyWindow(m_parent);
    }

    // The adjustment window at (10, 10) of the parent, w x h.
    ManualAdjustWindow& Make(int w, int h, bool pointFlag = true)
    {
        m_window = new ManualAdjustWindow(c_controlId, pointFlag);
        EXPECT_EQ(1, m_window->Create(m_parent, 10, 10, 10 + w, 10 + h, GetModuleHandleW(nullptr)));
        return *m_window;
    }

    // A flat picture file of w x h loaded into the window.
    void LoadFlat(int w, int h, uint32_t rgba = 0xFF0000FF)
    {
        const std::wstring path = m_folder / (L"flat" + std::to_wstring(w) + L"x" + std::to_wstring(h) + L".png");
        ASSERT_TRUE(WriteRaw(path, FlatPng(w, h, {rgba})));
        Send(c_loadPicture, 0, reinterpret_cast<LPARAM>(path.c_str()));
        int pw = 0, ph = 0;
        m_window->GetPictureSize(pw, ph);
        ASSERT_EQ(w, pw);
        ASSERT_EQ(h, ph);
    }

    LRESULT Send(UINT message, WPARAM wParam, LPARAM lParam)
    {
        return SendMessageW(m_window->GetHwnd(), message, wParam, lParam);
    }
    void MoveGrip(int grip, int x, int y)
    {
        Send(c_gripMoved, static_cast<WPARAM>(grip),
             MAKELPARAM(static_cast<WORD>(static_cast<short>(x)), static_cast<WORD>(static_cast<short>(y))));
    }
    void EndDrag(int grip) { Send(c_dragEnded, static_cast<WPARAM>(grip) | c_dragEndFlag, 0); }
    void SetMargins(int top, int bottom, int left, int right)
    {
        Send(c_setMargins, MAKEWPARAM(top, bottom), MAKELPARAM(left, right));
    }
    // The margins the four lines report, in picture pixels: top, bottom, left, right.
    std::vector<int> ReportedMargins()
    {
        g_reports.clear();
        for (int grip = ManualAdjustWindow::e_top; grip <= ManualAdjustWindow::e_right; ++grip)
            EndDrag(grip);
        std::vector<int> margins;
        for (const t_report& report : g_reports) {
            EXPECT_EQ(c_controlId, report.controlId);
            const bool horizontal =
                report.grip == ManualAdjustWindow::e_top || report.grip == ManualAdjustWindow::e_bottom;
            margins.push_back(horizontal ? report.y : report.x);
        }
        return margins;
    }

    HWND m_parent = nullptr;
    ManualAdjustWindow* m_window = nullptr;
    t_tempFolder m_folder{L"adjust"};
};

std::string RectText(const RECT& r)
{
    return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
           std::to_string(r.bottom);
}

TEST_F(ManualAdjust, GripsStartAtTheEdgesAndThePointExistsOnlyWithItsFlag)
{
    ManualAdjustWindow& window = Make(200, 100);
    EXPECT_EQ("0,0,200,2", RectText(window.GripRect(ManualAdjustWindow::e_top)));
    EXPECT_EQ("0,98,200,100", RectText(window.GripRect(ManualAdjustWindow::e_bottom)));
    EXPECT_EQ("0,0,2,100", RectText(window.GripRect(ManualAdjustWindow::e_left)));
    EXPECT_EQ("198,0,200,100", RectText(window.GripRect(ManualAdjustWindow::e_right)));
    EXPECT_EQ("-5,-5,5,5", RectText(window.GripRect(ManualAdjustWindow::e_point)));
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    EXPECT_NE(ERROR, GetWindowRgn(window.Grip(ManualAdjustWindow::e_point), region));
    // A round point: its centre inside the region, its corners outside.
    EXPECT_TRUE(PtInRegion(region, 5, 5));
    EXPECT_FALSE(PtInRegion(region, 0, 0));
    EXPECT_FALSE(PtInRegion(region, 9, 9));
    DeleteObject(region);

    delete m_window;
    m_window = nullptr;
    ManualAdjustWindow& plain = Make(200, 100, false);
    EXPECT_EQ(nullptr, plain.Grip(ManualAdjustWindow::e_point));
    LoadFlat(20, 10);
    Send(c_setPoint, MAKEWPARAM(5, 5), 0);
    Send(c_dragEnded, ManualAdjustWindow::e_point | c_dragEndFlag, 0);
    EXPECT_TRUE(g_reports.empty());
}

TEST_F(ManualAdjust, EachGripShowsTheCursorOfItsDirection)
{
    ManualAdjustWindow& window = Make(200, 100);
    const struct {
        int grip;
        const wchar_t* shape;
    } cases[] = {
        {ManualAdjustWindow::e_top, IDC_SIZENS},    {ManualAdjustWindow::e_bottom, IDC_SIZENS},
        {ManualAdjustWindow::e_left, IDC_SIZEWE},   {ManualAdjustWindow::e_right, IDC_SIZEWE},
        {ManualAdjustWindow::e_point, IDC_SIZEALL},
    };
    for (const auto& c : cases) {
        const HWND grip = window.Grip(c.grip);
        EXPECT_TRUE(
            SendMessageW(grip, WM_SETCURSOR, reinterpret_cast<WPARAM>(grip), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)));
        EXPECT_EQ(LoadCursorW(nullptr, c.shape), GetCursor()) << "grip " << c.grip;
    }
}

TEST_F(ManualAdjust, WithoutAPictureLinesMoveButNothingIsReportedOrSet)
{
    ManualAdjustWindow& window = Make(200, 100);
    MoveGrip(ManualAdjustWindow::e_top, 0, 30);
    EXPECT_EQ(30, window.GripRect(ManualAdjustWindow::e_top).top);
    EndDrag(ManualAdjustWindow::e_top);
    EXPECT_TRUE(g_reports.empty());
    SetMargins(10, 10, 10, 10);
    Send(c_setPoint, MAKEWPARAM(50, 50), 0);
    EXPECT_EQ(30, window.GripRect(ManualAdjustWindow::e_top).top);
    EXPECT_EQ(98, window.GripRect(ManualAdjustWindow::e_bottom).top);
    EXPECT_EQ(-5, window.GripRect(ManualAdjustWindow::e_point).left);

    // A file that is not a picture leaves none.
    const std::wstring path = m_folder / L"not_a_picture.png";
    ASSERT_TRUE(WriteRaw(path, std::string("not a picture at all")));
    Send(c_loadPicture, 0, reinterpret_cast<LPARAM>(path.c_str()));
    int w = -1, h = -1;
    window.GetPictureSize(w, h);
    EXPECT_EQ(0, w);
    EXPECT_EQ(0, h);
    EndDrag(ManualAdjustWindow::e_top);
    EXPECT_TRUE(g_reports.empty());
}

TEST_F(ManualAdjust, LinesStayApartAndInsideTheWindowYetReachItsEdges)
{
    ManualAdjustWindow& window = Make(200, 100);
    struct t_case {
        int grip;
        int x, y;
        int expected;  // the line's top (horizontal) or left (vertical) afterwards
    } cases[] = {
        {ManualAdjustWindow::e_bottom, 0, 60, 60},  {ManualAdjustWindow::e_top, 0, 20, 20},
        {ManualAdjustWindow::e_top, 0, 80, 59},      // stops above the bottom line
        {ManualAdjustWindow::e_top, 0, -40, 0},      // a fast drag above still reaches the top edge
        {ManualAdjustWindow::e_bottom, 0, 500, 98},  // and the bottom edge
        {ManualAdjustWindow::e_bottom, 0, -3, 1},    // stops below the top line
        {ManualAdjustWindow::e_right, 50, 0, 50},   {ManualAdjustWindow::e_left, 10, 0, 10},
        {ManualAdjustWindow::e_left, 120, 0, 49},   {ManualAdjustWindow::e_right, 999, 0, 198},
        {ManualAdjustWindow::e_right, 0, 0, 50},    {ManualAdjustWindow::e_left, -7, 0, 0},
    };
    for (const t_case& c : cases) {
        MoveGrip(c.grip, c.x, c.y);
        const RECT top = window.GripRect(ManualAdjustWindow::e_top),
                   bottom = window.GripRect(ManualAdjustWindow::e_bottom);
        const RECT left = window.GripRect(ManualAdjustWindow::e_left),
                   right = window.GripRect(ManualAdjustWindow::e_right);
        const RECT moved = window.GripRect(c.grip);
        const bool horizontal = c.grip == ManualAdjustWindow::e_top || c.grip == ManualAdjustWindow::e_bottom;
        EXPECT_EQ(c.expected, horizontal ? moved.top : moved.left) << "grip " << c.grip << " to " << c.x << "," << c.y;
        EXPECT_LT(top.top, bottom.top);
        EXPECT_LT(left.left, right.left);
        EXPECT_EQ(2, moved.bottom - moved.top < moved.right - moved.left ? moved.bottom - moved.top
                                                                         : moved.right - moved.left);
    }
    EXPECT_TRUE(g_reports.empty()) << "moves are not reported";
}

TEST_F(ManualAdjust, MarginsComeBackUnchangedAtScaleOneAndWithinAPixelScaled)
{
    struct t_case {
        int windowW, windowH, pictureW, pictureH;
        int tolerance;
    } scales[] = {
        {120, 80, 120, 80, 0},   // scale 1
        {240, 160, 120, 80, 1},  // enlarged twice
        {180, 120, 120, 80, 1},  // enlarged by half
    };
    const int margins[][4] = {{0, 0, 0, 0}, {1, 1, 1, 1}, {10, 20, 30, 40}, {39, 40, 59, 60}, {5, 0, 0, 7}};
    for (const t_case& s : scales) {
        ManualAdjustWindow& window = Make(s.windowW, s.windowH);
        LoadFlat(s.pictureW, s.pictureH);
        for (const auto& m : margins) {
            SetMargins(m[0], m[1], m[2], m[3]);
            const std::vector<int> back = ReportedMargins();
            ASSERT_EQ(4u, back.size());
            for (int i = 0; i < 4; ++i) {
                EXPECT_NEAR(m[i], back[i], s.tolerance)
                    << "margin " << i << " of " << m[0] << "," << m[1] << "," << m[2] << "," << m[3] << " in a "
                    << s.windowW << "x" << s.windowH << " window";
            }
        }
        // Margins larger than the picture hold the far lines inside the window.
        SetMargins(0, 500, 0, 500);
        EXPECT_EQ(0, window.GripRect(ManualAdjustWindow::e_bottom).top);
        EXPECT_EQ(0, window.GripRect(ManualAdjustWindow::e_right).left);
        delete m_window;
        m_window = nullptr;
    }
}

// The page sets margins and point when it fills, which may be before its picture loads;
// the lines show them once it does, on every later picture too, and a reported drag is
// what the next picture shows, in picture pixels.
TEST_F(ManualAdjust, MarginsAndPointSetBeforeAPictureShowWhenItLoads)
{
    ManualAdjustWindow& window = Make(200, 100);
    SetMargins(8, 8, 8, 8);
    Send(c_setPoint, MAKEWPARAM(10, 10), 0);
    EXPECT_EQ(0, window.GripRect(ManualAdjustWindow::e_top).top) << "no picture to measure against yet";
    const struct {
        int pictureW, pictureH;
        int top, bottom, left, right;
        int pointLeft;
    } loads[] = {
        {100, 50, 16, 84, 16, 184, 15},  // scale 2
        {200, 100, 8, 92, 8, 192, 5},    // scale 1
    };
    for (const auto& load : loads) {
        LoadFlat(load.pictureW, load.pictureH);
        EXPECT_EQ(load.top, window.GripRect(ManualAdjustWindow::e_top).top) << load.pictureW;
        EXPECT_EQ(load.bottom, window.GripRect(ManualAdjustWindow::e_bottom).bottom) << load.pictureW;
        EXPECT_EQ(load.left, window.GripRect(ManualAdjustWindow::e_left).left) << load.pictureW;
        EXPECT_EQ(load.right, window.GripRect(ManualAdjustWindow::e_right).right) << load.pictureW;
        EXPECT_EQ(load.pointLeft, window.GripRect(ManualAdjustWindow::e_point).left) << load.pictureW;
    }
    MoveGrip(ManualAdjustWindow::e_top, 0, 30);
    EndDrag(ManualAdjustWindow::e_top);
    LoadFlat(100, 50);
    EXPECT_EQ(60, window.GripRect(ManualAdjustWindow::e_top).top);
}

// An arrow key is a finished move: the grip's new margin is reported at once.
TEST_F(ManualAdjust, AnArrowKeyReportsTheMovedGrip)
{
    ManualAdjustWindow& window = Make(200, 100);
    LoadFlat(200, 100);
    SetMargins(8, 8, 8, 8);
    const struct {
        int grip;
        UINT key;
        int value;
    } cases[] = {
        {ManualAdjustWindow::e_top, VK_DOWN, 9},
        {ManualAdjustWindow::e_bottom, VK_UP, 9},
        {ManualAdjustWindow::e_left, VK_LEFT, 7},
        {ManualAdjustWindow::e_right, VK_RIGHT, 7},
    };
    for (const auto& c : cases) {
        g_reports.clear();
        SendMessageW(window.Grip(c.grip), WM_KEYDOWN, c.key, 0);
        ASSERT_EQ(1u, g_reports.size()) << c.grip;
        EXPECT_EQ(c.grip, g_reports[0].grip);
        const bool horizontal = c.grip == ManualAdjustWindow::e_top || c.grip == ManualAdjustWindow::e_bottom;
        EXPECT_EQ(c.value, horizontal ? g_reports[0].y : g_reports[0].x) << c.grip;
    }
}

TEST_F(ManualAdjust, ThePointReportsItsCentreInPicturePixels)
{
    ManualAdjustWindow& window = Make(200, 100);
    LoadFlat(100, 50);
    const int points[][2] = {{0, 0}, {50, 25}, {99, 49}, {13, 7}};
    for (const auto& p : points) {
        Send(c_setPoint, MAKEWPARAM(p[0], p[1]), 0);
        const RECT r = window.GripRect(ManualAdjustWindow::e_point);
        EXPECT_EQ(p[0] * 2 - 5, r.left);
        EXPECT_EQ(p[1] * 2 - 5, r.top);
        g_reports.clear();
        EndDrag(ManualAdjustWindow::e_point);
        ASSERT_EQ(1u, g_reports.size());
        EXPECT_EQ(ManualAdjustWindow::e_point, g_reports[0].grip);
        EXPECT_EQ(p[0], g_reports[0].x);
        EXPECT_EQ(p[1], g_reports[0].y);
    }
    // A drag past the window holds the point's centre on the edge.
    MoveGrip(ManualAdjustWindow::e_point, -30, 300);
    EXPECT_EQ("-5,95,5,105", RectText(window.GripRect(ManualAdjustWindow::e_point)));
}

// The program's loop hands keys to IsDialogMessage for any dialog ancestor, as here.
void PumpDialog(HWND dialog, DWORD ms)
{
    const DWORD end = GetTickCount() + ms;
    do {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (!IsDialogMessageW(dialog, &msg)) {
                TranslateMessage(&msg);
                DispatchMessageW(&msg);
            }
        }
        Sleep(5);
    } while (static_cast<int>(end - GetTickCount()) > 0);
}

INT_PTR CALLBACK PlainDialogProc(HWND, UINT message, WPARAM, LPARAM) { return message == WM_INITDIALOG; }

TEST_F(ManualAdjust, ArrowKeysMoveTheFocusedGripInsideADialog)
{
    // An empty child dialog in the parent, the adjustment window inside it.
    struct alignas(4) {
        DLGTEMPLATE header;
        WORD menu, windowClass, title;
    } dialogTemplate = {};
    dialogTemplate.header.style = WS_CHILD | WS_VISIBLE | DS_CONTROL;
    dialogTemplate.header.dwExtendedStyle = WS_EX_CONTROLPARENT;
    dialogTemplate.header.cx = 200;
    dialogTemplate.header.cy = 150;
    const HWND dialog =
        CreateDialogIndirectParamW(GetModuleHandleW(nullptr), &dialogTemplate.header, m_parent, PlainDialogProc, 0);
    ASSERT_NE(nullptr, dialog);
    m_window = new ManualAdjustWindow(c_controlId, true);
    ASSERT_EQ(1, m_window->Create(dialog, 5, 5, 205, 105, GetModuleHandleW(nullptr)));
    const HWND other = CreateWindowExW(0, L"BUTTON", L"x", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 5, 120, 40, 20, dialog,
                                       nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(nullptr, other);
    SetForegroundWindow(m_parent);

    const HWND bottom = m_window->Grip(ManualAdjustWindow::e_bottom);
    EXPECT_EQ(DLGC_WANTARROWS, SendMessageW(bottom, WM_GETDLGCODE, VK_UP, 0) & DLGC_WANTARROWS);
    struct t_case {
        int grip;
        UINT key;
        int dx, dy;
    } cases[] = {
        {ManualAdjustWindow::e_bottom, VK_UP, 0, -1},  {ManualAdjustWindow::e_bottom, VK_LEFT, 0, 0},
        {ManualAdjustWindow::e_bottom, VK_DOWN, 0, 1}, {ManualAdjustWindow::e_bottom, VK_DOWN, 0, 0},  // at the edge
        {ManualAdjustWindow::e_top, VK_DOWN, 0, 1},    {ManualAdjustWindow::e_top, VK_RIGHT, 0, 0},
        {ManualAdjustWindow::e_right, VK_LEFT, -1, 0}, {ManualAdjustWindow::e_left, VK_RIGHT, 1, 0},
        {ManualAdjustWindow::e_left, VK_UP, 0, 0},     {ManualAdjustWindow::e_point, VK_RIGHT, 1, 0},
        {ManualAdjustWindow::e_point, VK_DOWN, 0, 1},
    };
    Send(c_setPoint, 0, 0);
    MoveGrip(ManualAdjustWindow::e_point, 50, 50);
    for (const t_case& c : cases) {
        const HWND grip = m_window->Grip(c.grip);
        SetFocus(grip);
        const RECT before = m_window->GripRect(c.grip);
        PostMessageW(grip, WM_KEYDOWN, c.key, 0);
        PumpDialog(dialog, 30);
        const RECT after = m_window->GripRect(c.grip);
        EXPECT_EQ(c.dx, after.left - before.left) << "grip " << c.grip << " key " << c.key;
        EXPECT_EQ(c.dy, after.top - before.top) << "grip " << c.grip << " key " << c.key;
        EXPECT_EQ(grip, GetFocus()) << "the arrow stayed with the grip";
    }
    EXPECT_TRUE(g_reports.empty());
    delete m_window;
    m_window = nullptr;
    DestroyWindow(dialog);
}

TEST_F(ManualAdjust, PaintsThePictureStretchedAndTheLinesInTheirColours)
{
    ManualAdjustWindow& window = Make(200, 100);
    LoadFlat(20, 10, 0x00FF00FF);  // green
    t_testSurface surface(200, 100, false);
    window.OnPaint(surface.Dc());
    EXPECT_EQ(0x00FF00u, surface.At(100, 50) & 0xFFFFFF);
    EXPECT_EQ(0x00FF00u, surface.At(199, 99) & 0xFFFFFF);

    t_testSurface line(200, 2, false);
    // COLORREF 0x0082E5 is red E5, green 82, blue 00.
    ManualAdjustWindow::AdjustItem* bottom = nullptr;
    for (int i = 0; i < window.ChildCount(); ++i) {
        auto* item = dynamic_cast<ManualAdjustWindow::AdjustItem*>(window.ChildAt(i));
        if (item && item->Index() == ManualAdjustWindow::e_bottom)
            bottom = item;
    }
    ASSERT_NE(nullptr, bottom);
    bottom->OnPaint(line.Dc());
    EXPECT_EQ(0xE58200u, line.At(100, 1) & 0xFFFFFF);
}

TEST_F(ManualAdjust, ARealDragReportsInPicturePixelsOnlyWhenItEnds)
{
    ManualAdjustWindow& window = Make(200, 100);
    LoadFlat(100, 50);
    UpdateWindow(m_parent);
    PumpMessages(50);
    RECT bottom;
    GetWindowRect(window.Grip(ManualAdjustWindow::e_bottom), &bottom);
    const int x = (bottom.left + bottom.right) / 2, y = bottom.top + 1;
    SendMouse(MOUSEEVENTF_MOVE, x, y);
    SendMouse(MOUSEEVENTF_LEFTDOWN);
    for (int step = 1; step <= 5; ++step) {
        SendMouse(MOUSEEVENTF_MOVE, x, y - 8 * step);
        EXPECT_TRUE(g_reports.empty()) << "reported while dragging, step " << step;
    }
    const RECT moved = window.GripRect(ManualAdjustWindow::e_bottom);
    EXPECT_EQ(98 - 40 + 1, moved.top) << "the line follows the cursor";
    SendMouse(MOUSEEVENTF_LEFTUP);
    ASSERT_EQ(1u, g_reports.size());
    EXPECT_EQ(c_controlId, g_reports[0].controlId);
    EXPECT_EQ(ManualAdjustWindow::e_bottom, g_reports[0].grip);
    // The outer edge 100 - moved.bottom window pixels above the bottom: half that in the picture.
    EXPECT_EQ((100 - moved.bottom) / 2, g_reports[0].y);
    SendMouse(MOUSEEVENTF_MOVE, x, y - 60);
    EXPECT_EQ(1u, g_reports.size()) << "nothing after the drag";
    EXPECT_EQ(moved.top, window.GripRect(ManualAdjustWindow::e_bottom).top);
}
}  // namespace
