// The colour picker in a small test window: its halves and their painting, the colour
// dialog (a stand-in, and the real one cancelled), and the screen magnifier driven with
// the real cursor from a timer inside its modal loop.
#include "editor/widgets/color_picker.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <string>

#include "editor/app/app.h"
#include "editor/resources/resource_ids.h"
#include "graphics/paint/module_instance.h"
#include "tests/support/dialog_driver.h"
#include "tests/support/message_pump.h"
#include "tests/support/paint_surface.h"
#include "tests/support/real_mouse.h"

namespace {
using namespace n_colorPicker;

const wchar_t c_parentClass[] = L"KavrelPickerTestParent";
const wchar_t c_patchClass[] = L"KavrelPickerTestPatch";
const COLORREF c_start = RGB(0x20, 0x40, 0x60);

int g_dialogClosed = 0;
int g_magnifierClosed = 0;

LRESULT CALLBACK ParentProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == c_dialogClosed)
        ++g_dialogClosed;
    else if (message == c_magnifierClosed)
        ++g_magnifierClosed;
    return DefWindowProcW(window, message, wParam, lParam);
}

// The colour dialog's stand-in: records the request and answers as told.
struct t_chooseAnswer {
    BOOL result;
    COLORREF color;
};
t_chooseAnswer g_answer;
CHOOSECOLORW g_request;
int g_requests = 0;

BOOL WINAPI ChooseStandIn(CHOOSECOLORW* choose)
{
    g_request = *choose;
    ++g_requests;
    if (g_answer.result)
        choose->rgbResult = g_answer.color;
    return g_answer.result;
}

// A script run from a thread timer, which the magnifier's modal loop dispatches.
std::function<void()> g_script;
UINT_PTR g_rescue = 0;
ColorPicker* g_openPicker = nullptr;

void CALLBACK RunScript(HWND, UINT, UINT_PTR id, DWORD)
{
    KillTimer(nullptr, id);
    std::function<void()> script = std::move(g_script);
    g_script = nullptr;
    if (script)
        script();
}

class PickerTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        SetModuleInstance(GetModuleHandleW(nullptr));
        IMEKavrelApp::RegisterClasses();
        WNDCLASSW windowClass = {};
        windowClass.lpfnWndProc = ParentProc;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
        windowClass.lpszClassName = c_parentClass;
        RegisterClassW(&windowClass);
        windowClass.lpfnWndProc = DefWindowProcW;
        windowClass.lpszClassName = c_patchClass;
        windowClass.hbrBackground = nullptr;
        RegisterClassW(&windowClass);
    }

    void SetUp() override
    {
        g_dialogClosed = g_magnifierClosed = g_requests = 0;
        m_screen = {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
        m_parent = CreateWindowExW(0, c_parentClass, L"picker", WS_POPUP | WS_VISIBLE, 100, 100, 200, 80, nullptr,
                                   nullptr, GetModuleHandleW(nullptr), nullptr);
        ASSERT_NE(nullptr, m_parent);
        ASSERT_EQ(1, m_picker.Create(10, 10, 130, 40, m_parent, GetModuleHandleW(nullptr)));
        m_picker.SetColor(c_start);
        // The window system's own activation of the new window settles before a test
        // opens the magnifier, which must keep the activation and the capture.
        PumpMessages(150);
    }

    void TearDown() override
    {
        ColorPicker::SetChooseColorFn(nullptr);
        if (g_rescue)
            KillTimer(nullptr, g_rescue);
        g_rescue = 0;
        g_script = nullptr;
        for (HWND patch : m_patches)
            DestroyWindow(patch);
        DestroyWindow(m_parent);
    }

    void Click(int id)
    {
        SendMessageW(m_picker.GetHwnd(), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(m_picker.GetHwnd(), id)));
    }

    // Opens the magnifier with the cursor at the screen's centre and runs the script
    // inside its loop; a magnifier still open after some seconds is cancelled.
    void RunMagnifier(std::function<void()> script)
    {
        SetCursorPos(m_screen.cx / 2, m_screen.cy / 2);
        g_script = std::move(script);
        g_openPicker = &m_picker;
        SetTimer(nullptr, 0, 30, RunScript);
        g_rescue = SetTimer(nullptr, 0, 8000, [](HWND, UINT, UINT_PTR id, DWORD) {
            KillTimer(nullptr, id);
            g_rescue = 0;
            ADD_FAILURE() << "the magnifier did not end";
            if (g_openPicker && g_openPicker->Magnifier())
                EndDialog(g_openPicker->Magnifier()->GetHwnd(), 0);
        });
        Click(c_pickButtonId);
    }

    HWND Magnifier() const { return m_picker.Magnifier() ? m_picker.Magnifier()->GetHwnd() : nullptr; }

    // A topmost square of one colour centred at the screen's centre.
    void ShowPatch(COLORREF color)
    {
        const int size = 120;
        const HWND patch = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, c_patchClass, L"", WS_POPUP,
                                           m_screen.cx / 2 - size / 2, m_screen.cy / 2 - size / 2, size, size, nullptr,
                                           nullptr, GetModuleHandleW(nullptr), nullptr);
        SetClassLongPtrW(patch, GCLP_HBRBACKGROUND, reinterpret_cast<LONG_PTR>(CreateSolidBrush(color)));
        ShowWindow(patch, SW_SHOWNOACTIVATE);
        UpdateWindow(patch);
        m_patches.push_back(patch);
        PumpMessages(100);
    }

    std::wstring Readout() const
    {
        wchar_t text[64] = {};
        GetDlgItemTextW(Magnifier(), c_magnifierRgb, text, 64);
        return text;
    }

    SIZE m_screen = {};
    HWND m_parent = nullptr;
    ColorPicker m_picker;
    std::vector<HWND> m_patches;
};

std::string RectText(const RECT& r)
{
    return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
           std::to_string(r.bottom);
}

RECT ChildRect(HWND child)
{
    RECT r;
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

TEST_F(PickerTest, TwoHalvesThatFollowTheFrameAndEnableTogether)
{
    EXPECT_EQ("1,1,59,29", RectText(ChildRect(m_picker.ChooseButton())));
    EXPECT_EQ("61,1,119,29", RectText(ChildRect(m_picker.PickButton())));
    EXPECT_EQ(c_chooseButtonId, GetDlgCtrlID(m_picker.ChooseButton()));
    EXPECT_EQ(c_pickButtonId, GetDlgCtrlID(m_picker.PickButton()));
    EXPECT_TRUE(GetWindowLongW(m_picker.ChooseButton(), GWL_STYLE) & BS_OWNERDRAW);

    m_picker.Move(10, 10, 110, 50, true);
    EXPECT_EQ("0,0,50,40", RectText(ChildRect(m_picker.ChooseButton())));
    EXPECT_EQ("50,0,100,40", RectText(ChildRect(m_picker.PickButton())));

    m_picker.Enable(false);
    EXPECT_FALSE(IsWindowEnabled(m_picker.ChooseButton()));
    EXPECT_FALSE(IsWindowEnabled(m_picker.PickButton()));
    m_picker.Enable(true);
    EXPECT_TRUE(IsWindowEnabled(m_picker.ChooseButton()));

    SetFocus(m_picker.GetHwnd());
    EXPECT_EQ(m_picker.ChooseButton(), GetFocus());
}

TEST_F(PickerTest, EachHalfShowsTheColourFramedInBlackWithItsLabelInAContrastingColour)
{
    // The label is black on light colours and white on dark ones; a mid grey's inverse
    // would be the same grey.
    const struct {
        COLORREF color;
        uint32_t label;  // 0xRRGGBB
    } cases[] = {
        {RGB(0, 0, 0), 0xFFFFFF},          {RGB(255, 255, 255), 0x000000},    {RGB(0x80, 0x80, 0x80), 0x000000},
        {RGB(0x7E, 0x7E, 0x7E), 0xFFFFFF}, {RGB(0x20, 0x40, 0x60), 0xFFFFFF}, {RGB(255, 255, 0), 0x000000},
        {RGB(0, 0, 255), 0xFFFFFF},
    };
    for (const auto& c : cases) {
        m_picker.SetColor(c.color);
        const uint32_t fill = (GetRValue(c.color) << 16) | (GetGValue(c.color) << 8) | GetBValue(c.color);
        for (int id : {c_chooseButtonId, c_pickButtonId}) {
            t_testSurface surface(60, 28, false);
            DRAWITEMSTRUCT item = {};
            item.CtlType = ODT_BUTTON;
            item.CtlID = id;
            item.hwndItem = GetDlgItem(m_picker.GetHwnd(), id);
            item.hDC = surface.Dc();
            item.rcItem = {0, 0, 60, 28};
            EXPECT_TRUE(SendMessageW(m_picker.GetHwnd(), WM_DRAWITEM, id, reinterpret_cast<LPARAM>(&item)));
            EXPECT_EQ(0u, surface.At(0, 0) & 0xFFFFFF);
            EXPECT_EQ(0u, surface.At(59, 27) & 0xFFFFFF);
            EXPECT_EQ(fill, surface.At(3, 3) & 0xFFFFFF);
            // The label's strokes inside the frame: pixels nearer the label colour than the
            // fill (the glyphs' edges are smoothed) and clearly apart from the fill.
            const auto distance = [](uint32_t a, uint32_t b) {
                int sum = 0;
                for (int shift : {0, 8, 16})
                    sum += std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF));
                return sum;
            };
            int strokes = 0;
            for (int y = 1; y < 27; ++y) {
                for (int x = 1; x < 59; ++x) {
                    const uint32_t pixel = surface.At(x, y) & 0xFFFFFF;
                    strokes += distance(pixel, c.label) < distance(pixel, fill) && distance(pixel, fill) >= 96;
                }
            }
            EXPECT_GT(strokes, 10) << "the label of " << id << " on " << std::hex << fill;
        }
    }
}

TEST_F(PickerTest, TheColourDialogStoresOnlyAChangeAndAlwaysNotifies)
{
    ColorPicker::SetChooseColorFn(ChooseStandIn);
    struct t_case {
        t_chooseAnswer answer;
        COLORREF expected;
    } cases[] = {
        {{TRUE, RGB(1, 2, 3)}, RGB(1, 2, 3)},
        {{TRUE, RGB(1, 2, 3)}, RGB(1, 2, 3)},   // the same colour again
        {{FALSE, RGB(9, 9, 9)}, RGB(1, 2, 3)},  // cancelled
        {{TRUE, c_start}, c_start},
    };
    int notified = 0;
    COLORREF before = m_picker.GetColor();
    for (const t_case& c : cases) {
        g_answer = c.answer;
        Click(c_chooseButtonId);
        EXPECT_EQ(c.expected, m_picker.GetColor());
        EXPECT_EQ(++notified, g_dialogClosed);
        EXPECT_EQ(0, g_magnifierClosed);
        EXPECT_EQ(m_picker.GetHwnd(), g_request.hwndOwner);
        EXPECT_EQ(before, g_request.rgbResult) << "the dialog starts at the current colour";
        EXPECT_EQ(static_cast<DWORD>(CC_RGBINIT | CC_FULLOPEN), g_request.Flags);
        EXPECT_EQ(ColorPicker::CustomColors(), g_request.lpCustColors);
        before = m_picker.GetColor();
    }

    // Custom colours set in one picker's dialog are offered by every other picker's.
    g_request.lpCustColors[3] = RGB(7, 7, 7);
    ColorPicker other;
    ASSERT_EQ(1, other.Create(10, 45, 130, 75, m_parent, GetModuleHandleW(nullptr)));
    SendMessageW(other.GetHwnd(), WM_COMMAND, MAKEWPARAM(c_chooseButtonId, BN_CLICKED), 0);
    EXPECT_EQ(RGB(7, 7, 7), g_request.lpCustColors[3]);
    EXPECT_EQ(ColorPicker::CustomColors(), g_request.lpCustColors);
}

TEST_F(PickerTest, CancellingTheSystemColourDialogKeepsTheColourAndNotifies)
{
    t_dialogDriver driver;
    driver.Press(IDCANCEL);
    Click(c_chooseButtonId);
    EXPECT_TRUE(driver.AllAnswered());
    EXPECT_EQ(1u, driver.Seen().size());
    EXPECT_TRUE(driver.Unexpected().empty());
    EXPECT_EQ(c_start, m_picker.GetColor());
    EXPECT_EQ(1, g_dialogClosed);
}

TEST_F(PickerTest, MagnifierSitsInACornerJumpsAwayFromTheCursorAndCancelsOnEscape)
{
    std::vector<std::string> places;
    bool cursorInside = true;
    bool secondClickIgnored = false;
    RunMagnifier([&] {
        const HWND dialog = Magnifier();
        ASSERT_NE(nullptr, dialog);
        PumpMessages(150);
        EXPECT_TRUE(GetWindowLongW(dialog, GWL_EXSTYLE) & WS_EX_TOPMOST);
        EXPECT_EQ(dialog, GetCapture());
        RECT r;
        GetWindowRect(dialog, &r);
        const int w = r.right - r.left, h = r.bottom - r.top;
        places.push_back(RectText(r));
        // The cursor onto the dialog, twice: each time it jumps to the other corner.
        for (int jump = 0; jump < 2; ++jump) {
            SendMouse(MOUSEEVENTF_MOVE, (r.left + r.right) / 2, (r.top + r.bottom) / 2, 350);
            GetWindowRect(dialog, &r);
            places.push_back(RectText(r));
            POINT cursor;
            GetCursorPos(&cursor);
            InflateRect(&r, 5, 5);
            cursorInside = cursorInside && PtInRect(&r, cursor);
            InflateRect(&r, -5, -5);
        }
        EXPECT_EQ(w, r.right - r.left);
        EXPECT_EQ(h, r.bottom - r.top);
        ColorPicker::PickColorMagnifier* open = m_picker.Magnifier();
        Click(c_pickButtonId);
        secondClickIgnored = open == m_picker.Magnifier() && g_magnifierClosed == 0;
        PostMessageW(dialog, WM_KEYDOWN, VK_ESCAPE, 0);
    });
    ASSERT_EQ(3u, places.size());
    const std::string origin = "0,0,";
    EXPECT_EQ(0u, places[0].rfind(origin, 0)) << places[0];
    // Bottom-right corner at (screen width - 1, screen height - 1), and back.
    const std::string farCorner = "," + std::to_string(m_screen.cx - 1) + "," + std::to_string(m_screen.cy - 1);
    EXPECT_EQ(places[1].size() - farCorner.size(), places[1].rfind(farCorner)) << places[1];
    EXPECT_EQ(places[0], places[2]);
    EXPECT_FALSE(cursorInside) << "the dialog never stays under the cursor";
    EXPECT_TRUE(secondClickIgnored);
    EXPECT_EQ(nullptr, m_picker.Magnifier());
    EXPECT_EQ(c_start, m_picker.GetColor());
    EXPECT_EQ(1, g_magnifierClosed);
    EXPECT_EQ(0, g_dialogClosed);
    EXPECT_EQ(nullptr, GetCapture());
}

TEST_F(PickerTest, MagnifierShowsTheColourUnderTheCursorAndAClickTakesIt)
{
    const COLORREF red = RGB(255, 0, 0);
    ShowPatch(red);
    std::wstring readout;
    uint32_t zoomCorner = 0, swatchInside = 0, swatchFrame = 0;
    RunMagnifier([&] {
        SendMouse(MOUSEEVENTF_MOVE, m_screen.cx / 2 + 3, m_screen.cy / 2 + 3, 350);
        readout = Readout();
        t_testSurface zoom(128, 128, false), swatch(128, 19, false);
        DRAWITEMSTRUCT item = {};
        item.CtlType = ODT_BUTTON;
        item.CtlID = c_magnifierZoom;
        item.hDC = zoom.Dc();
        item.rcItem = {0, 0, 128, 128};
        SendMessageW(Magnifier(), WM_DRAWITEM, c_magnifierZoom, reinterpret_cast<LPARAM>(&item));
        item.CtlID = c_magnifierSwatch;
        item.hDC = swatch.Dc();
        item.rcItem = {0, 0, 128, 19};
        SendMessageW(Magnifier(), WM_DRAWITEM, c_magnifierSwatch, reinterpret_cast<LPARAM>(&item));
        // A 64-pixel square around the cursor lies inside the patch: the 2x view is all red
        // away from the drawn cursor.
        zoomCorner = zoom.At(2, 2) & 0xFFFFFF;
        swatchInside = swatch.At(60, 9) & 0xFFFFFF;
        swatchFrame = swatch.At(0, 0) & 0xFFFFFF;
        SendMouse(MOUSEEVENTF_LEFTDOWN);
        SendMouse(MOUSEEVENTF_LEFTUP);
    });
    EXPECT_EQ(L"R : 255\tG : 0\tB : 0", readout);
    EXPECT_EQ(0xFF0000u, zoomCorner);
    EXPECT_EQ(0xFF0000u, swatchInside);
    EXPECT_EQ(0x00FFFFu, swatchFrame);
    EXPECT_EQ(red, m_picker.GetColor());
    EXPECT_EQ(1, g_magnifierClosed);
    EXPECT_EQ(nullptr, GetCapture());
}

TEST_F(PickerTest, MagnifierEndsWithEnterTakingTheColourOrWithLostActivationCancelling)
{
    const COLORREF blue = RGB(0, 0, 255);
    ShowPatch(blue);
    struct t_case {
        bool enter;
        COLORREF expected;
    } cases[] = {{false, c_start}, {true, blue}};
    for (const t_case& c : cases) {
        m_picker.SetColor(c_start);
        g_magnifierClosed = 0;
        RunMagnifier([&] {
            SendMouse(MOUSEEVENTF_MOVE, m_screen.cx / 2 - 4, m_screen.cy / 2 + 2, 350);
            if (c.enter)
                PostMessageW(Magnifier(), WM_KEYDOWN, VK_RETURN, 0);
            else
                SendMessageW(Magnifier(), WM_ACTIVATEAPP, FALSE, 0);
        });
        EXPECT_EQ(c.expected, m_picker.GetColor()) << (c.enter ? "enter" : "lost activation");
        EXPECT_EQ(1, g_magnifierClosed);
        EXPECT_EQ(nullptr, GetCapture());
    }
}
}  // namespace
