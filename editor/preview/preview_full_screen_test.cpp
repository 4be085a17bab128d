// The full-screen preview as a user meets it: shown over the whole monitor of its parent
// frame, closed with Esc (typed into it or into its button, through the program's message
// loop) or with a click on its close button, unmoved by Alt+F4, refitted when the display
// settings change; driven by the preview panel, whose colour cycle it follows; and inside
// the editor's main frame, shown by its button.
#include "editor/preview/preview_full_screen.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "editor/app/app.h"
#include "editor/app/main_frame.h"
#include "editor/framework/editor_messages.h"
#include "editor/preview/preview.h"
#include "editor/preview/preview_blank.h"
#include "editor/preview/preview_mobile.h"
#include "editor/resources/resource_ids.h"
#include "editor/widgets/extra_panels.h"
#include "graphics/image/image.h"
#include "graphics/paint/module_instance.h"
#include "skin_model/ime_skin.h"
#include "tests/support/dialog_driver.h"
#include "tests/support/editor_frame.h"
#include "tests/support/message_pump.h"
#include "tests/support/window_timer.h"
#include "tests/support/paint_surface.h"
#include "tests/support/real_mouse.h"
#include "toolkit/ownerdraw/owner_draw_hover_button.h"
#include "toolkit/ownerdraw/owner_draw_hover_button_item.h"

namespace {

const COLORREF c_previewColour = RGB(0xD0, 0x20, 0x40);

// The main frame's part: it records the view modes posted to it and, when it has a preview
// panel, hands them on as the main frame does.
class t_parentFrame : public Frame {
public:
    LRESULT WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == n_editorMessage::c_viewMode) {
            modes.push_back(static_cast<int>(wParam));
            if (panel)
                SendMessageW(panel, message, wParam, lParam);
        }
        return Frame::WndProc(window, message, wParam, lParam);
    }
    std::vector<int> modes;
    HWND panel = nullptr;
};

// A preview of a fixed size that paints one colour.
class t_solidPreview : public PreviewBlank {
public:
    t_solidPreview(int width, int height) : m_width(width), m_height(height) {}
    void GetSize(int& width, int& height) override
    {
        width = m_width;
        height = m_height;
    }
    void Paint(HDC dc, int x, int y) override
    {
        const HBRUSH brush = CreateSolidBrush(c_previewColour);
        const RECT rect = {x, y, x + m_width, y + m_height};
        FillRect(dc, &rect, brush);
        DeleteObject(brush);
    }

private:
    int m_width, m_height;
};

RECT MonitorOf(HWND window)
{
    MONITORINFO info = {};
    info.cbSize = sizeof(info);
    GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &info);
    return info.rcMonitor;
}

RECT WindowRect(HWND window)
{
    RECT rect = {};
    GetWindowRect(window, &rect);
    return rect;
}

bool SameRect(const RECT& a, const RECT& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

// Keys as typed on the keyboard, to the focused window.
void TypeKeys(std::initializer_list<std::pair<WORD, bool>> keys)
{
    for (const auto& key : keys) {
        INPUT input = {};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = key.first;
        input.ki.dwFlags = key.second ? 0 : KEYEVENTF_KEYUP;
        SendInput(1, &input, sizeof(input));
    }
    PumpMessages(100);
}

// Runs the program's message loop over what is queued, until the quit posted behind it.
void RunProgramLoop()
{
    PostQuitMessage(0);
    IMEKavrelApp app;
    app.Run();
}

class FullScreenTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ASSERT_TRUE(RegisterEditorClasses()); }

    void SetUp() override
    {
        ASSERT_TRUE(m_parent.Create(nullptr, L"full screen parent", WS_POPUP | WS_VISIBLE, 0, 100, 100, 500, 400,
                                    nullptr, GetModuleInstance()));
        m_full = new PreviewFullScreen;
        ASSERT_TRUE(m_full->Create(L"IMEKavrel_FullScreen", L"", WS_POPUP | WS_CLIPCHILDREN, 0, 0, 0, 0, 0,
                                   m_parent.GetHwnd(), GetModuleInstance()));
        m_parent.AddChild(m_full);
    }

    void TearDown() override { DestroyHost(m_parent); }

    HWND Window() const { return m_full->GetHwnd(); }
    bool Shown() const { return IsWindowVisible(Window()) != FALSE; }
    // Shown as the panel shows it, from a mode to go back to, with the focus on it.
    void ShowFrom(int mode)
    {
        m_full->Show(mode);
        SetForegroundWindow(Window());
        PumpMessages(50);
        ASSERT_TRUE(Shown());
    }

    t_parentFrame m_parent;
    PreviewFullScreen* m_full = nullptr;
};

TEST_F(FullScreenTest, CreatedHiddenWithItsCloseButtonAndTheLoopKnowsIt)
{
    EXPECT_FALSE(Shown());
    EXPECT_EQ(Window(), GetFullScreenPreviewWindow());
    const HWND button = m_full->CloseButton();
    ASSERT_NE(nullptr, button);
    EXPECT_EQ(PreviewFullScreen::c_closeButtonId, GetDlgCtrlID(button));
    EXPECT_TRUE(GetWindowLongW(button, GWL_STYLE) & BS_OWNERDRAW);
    // One frame of the three-frame strip.
    t_image strip;
    ASSERT_TRUE(strip.LoadResource(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(PreviewFullScreen::c_closePicture)));
    const RECT rect = WindowRect(button);
    EXPECT_EQ(strip.fullWidth / 3, rect.right - rect.left);
    EXPECT_EQ(strip.fullHeight, rect.bottom - rect.top);
    strip.Release();
    // The window goes, and the loop forgets it.
    DestroyWindow(Window());
    EXPECT_EQ(nullptr, GetFullScreenPreviewWindow());
}

TEST_F(FullScreenTest, ShowCoversTheMonitorWithTheButtonAtTheTopRight)
{
    m_full->SetBackground(RGB(1, 2, 3));
    ShowFrom(Preview::e_viewColourCycle);
    const RECT monitor = MonitorOf(m_parent.GetHwnd());
    EXPECT_TRUE(SameRect(monitor, WindowRect(Window())));
    EXPECT_EQ(0xFFFFFFu, m_full->Background());
    EXPECT_EQ(Preview::e_viewColourCycle, m_full->ReturnMode());

    const HWND button = m_full->CloseButton();
    EXPECT_TRUE(IsWindowVisible(button));
    const RECT rect = WindowRect(button);
    EXPECT_EQ(monitor.right, rect.right);
    EXPECT_EQ(monitor.top, rect.top);

    // Shown again from full screen itself: the mode to go back to stays.
    m_full->Show(Preview::e_viewFullScreen);
    EXPECT_EQ(Preview::e_viewColourCycle, m_full->ReturnMode());
}

TEST_F(FullScreenTest, PreviewCentredOnTheBackground)
{
    struct t_case {
        const char* name;
        int width, height;
        POINT origin;
    };
    const int clientWidth = 400, clientHeight = 300;
    const t_case cases[] = {
        {"smaller", 100, 50, {150, 125}},
        {"one pixel narrower", 399, 50, {0, 125}},
        {"wider: from the left edge", 500, 50, {0, 125}},
        {"taller: above the top edge", 100, 400, {150, -50}},
    };
    const COLORREF background = RGB(0x20, 0x40, 0x90);
    m_full->SetBackground(background);
    for (const t_case& c : cases) {
        SCOPED_TRACE(c.name);
        const POINT origin = PreviewFullScreen::PreviewOrigin(clientWidth, clientHeight, c.width, c.height);
        EXPECT_EQ(c.origin.x, origin.x);
        EXPECT_EQ(c.origin.y, origin.y);

        t_solidPreview preview(c.width, c.height);
        m_full->SetPreview(&preview);
        t_testSurface surface(clientWidth, clientHeight, false);
        m_full->Render(surface.Dc(), clientWidth, clientHeight);
        auto colourAt = [&](int x, int y) {
            const uint32_t p = surface.At(x, y);
            return RGB(p >> 16 & 0xFF, p >> 8 & 0xFF, p & 0xFF);
        };
        const int left = std::max<int>(0, origin.x), top = std::max<int>(0, origin.y);
        const int right = std::min(clientWidth, static_cast<int>(origin.x) + c.width);
        const int bottom = std::min(clientHeight, static_cast<int>(origin.y) + c.height);
        EXPECT_EQ(c_previewColour, colourAt(left, top));
        EXPECT_EQ(c_previewColour, colourAt(right - 1, bottom - 1));
        if (left > 0) {
            EXPECT_EQ(background, colourAt(left - 1, top));
        }
        if (right < clientWidth) {
            EXPECT_EQ(background, colourAt(right, top));
        }
        if (top > 0) {
            EXPECT_EQ(background, colourAt(left, top - 1));
        }
    }
    // Without a preview: the background alone.
    m_full->SetPreview(nullptr);
    t_testSurface surface(40, 30, false);
    m_full->Render(surface.Dc(), 40, 30);
    EXPECT_EQ(0x204090u, surface.At(20, 15) & 0xFFFFFF);
}

// Esc typed into the window, into its button (through the loop's re-addressing) or posted
// to the button: each hides the window and hands the parent the mode to go back to.
TEST_F(FullScreenTest, EscReturnsFromTheWindowOrItsButton)
{
    ShowFrom(Preview::e_viewLongSample);
    TypeKeys({{VK_ESCAPE, true}, {VK_ESCAPE, false}});
    EXPECT_FALSE(Shown());
    ASSERT_EQ(1u, m_parent.modes.size());
    EXPECT_EQ(Preview::e_viewLongSample, m_parent.modes[0]);

    // Esc posted to the button: the program's loop hands it to the window.
    ShowFrom(Preview::e_viewNormal);
    PostMessageW(m_full->CloseButton(), WM_KEYDOWN, VK_ESCAPE, 1);
    RunProgramLoop();
    EXPECT_FALSE(Shown());
    ASSERT_EQ(2u, m_parent.modes.size());
    EXPECT_EQ(Preview::e_viewNormal, m_parent.modes[1]);

    // Without the loop, the button keeps the key: the window stays.
    ShowFrom(Preview::e_viewNormal);
    SendMessageW(m_full->CloseButton(), WM_KEYDOWN, VK_ESCAPE, 1);
    EXPECT_TRUE(Shown());
}

TEST_F(FullScreenTest, ClickOnTheCloseButtonReturns)
{
    ShowFrom(Preview::e_viewColourCycle);
    const RECT button = WindowRect(m_full->CloseButton());
    const int x = (button.left + button.right) / 2, y = (button.top + button.bottom) / 2;
    SendMouse(MOUSEEVENTF_MOVE, x, y, 100);
    SendMouse(MOUSEEVENTF_LEFTDOWN, 0, 0, 50);
    EXPECT_TRUE(Shown());
    SendMouse(MOUSEEVENTF_LEFTUP, 0, 0, 100);
    EXPECT_FALSE(Shown());
    ASSERT_EQ(1u, m_parent.modes.size());
    EXPECT_EQ(Preview::e_viewColourCycle, m_parent.modes[0]);
    SendMouse(MOUSEEVENTF_MOVE, 0, 0, 10);
}

TEST_F(FullScreenTest, AltF4AndTheSystemMenuLeaveItOpen)
{
    // The keys reach a focused window of the editor's class: a plain one closes.
    Frame* plain = new Frame;
    ASSERT_TRUE(
        plain->Create(nullptr, L"plain", WS_POPUP | WS_VISIBLE, 0, 0, 0, 200, 100, nullptr, GetModuleInstance()));
    const HWND plainWindow = plain->GetHwnd();
    SetForegroundWindow(plainWindow);
    SetFocus(plainWindow);
    PumpMessages(50);
    TypeKeys({{VK_MENU, true}, {VK_F4, true}, {VK_F4, false}, {VK_MENU, false}});
    const bool plainClosed = !IsWindow(plainWindow);
    if (!plainClosed)
        DestroyWindow(plainWindow);
    delete plain;
    ASSERT_TRUE(plainClosed);

    ShowFrom(Preview::e_viewNormal);
    TypeKeys({{VK_MENU, true}, {VK_F4, true}, {VK_F4, false}, {VK_MENU, false}});
    EXPECT_TRUE(IsWindow(Window()));
    EXPECT_TRUE(Shown());
    EXPECT_EQ(1, SendMessageW(Window(), WM_SYSCOMMAND, SC_CLOSE, 0));
    EXPECT_EQ(1, SendMessageW(Window(), WM_SYSCOMMAND, SC_MOVE, 0));
    EXPECT_EQ(1, SendMessageW(Window(), WM_CLOSE, 0, 0));
    EXPECT_TRUE(Shown());
    EXPECT_TRUE(m_parent.modes.empty());
}

TEST_F(FullScreenTest, SettingsChangeRefitsToTheMonitor)
{
    ShowFrom(Preview::e_viewNormal);
    const RECT monitor = MonitorOf(m_parent.GetHwnd());
    // A changed setting, and a changed screen resolution.
    for (UINT message : {unsigned(WM_WININICHANGE), unsigned(WM_DISPLAYCHANGE)}) {
        MoveWindow(Window(), 30, 40, 300, 200, TRUE);
        SendMessageW(Window(), message, 0, 0);
        EXPECT_TRUE(SameRect(monitor, WindowRect(Window()))) << message;
        EXPECT_EQ(monitor.right, WindowRect(m_full->CloseButton()).right) << message;
        EXPECT_EQ(monitor.top, WindowRect(m_full->CloseButton()).top) << message;
    }
}

// The panel in full screen: it hands over the chosen phone, the colour cycle goes on behind
// it, and Esc brings the panel back to the cycle.
class FullScreenPanelTest : public FullScreenTest {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(IMESkin::Instance()->New());
        ASSERT_TRUE(m_parent.Create(nullptr, L"full screen panel", WS_POPUP | WS_VISIBLE, 0, 0, 0, 900, 700, nullptr,
                                    GetModuleInstance()));
        m_preview = new Preview;
        ASSERT_TRUE(m_preview->Create(nullptr, L"", WS_CHILD | WS_VISIBLE, 0, 0, 0, 800, 600, m_parent.GetHwnd(),
                                      GetModuleInstance()));
        m_parent.AddChild(m_preview);
        m_parent.panel = m_preview->GetHwnd();
    }
    void TearDown() override
    {
        FullScreenTest::TearDown();
        CloseSkinLeftOpen();
    }
    LRESULT Send(UINT message, WPARAM wParam) { return SendMessageW(m_preview->GetHwnd(), message, wParam, 0); }

    Preview* m_preview = nullptr;
};

TEST_F(FullScreenPanelTest, ShowsThePhoneFollowsTheColourCycleAndGoesBack)
{
    const HWND window = m_preview->FullScreenWindow();
    ASSERT_NE(nullptr, window);
    ASSERT_EQ(window, GetFullScreenPreviewWindow());
    PreviewFullScreen* full = reinterpret_cast<PreviewFullScreen*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    ASSERT_NE(nullptr, full);

    Send(n_editorMessage::c_selectPreview, Preview::e_phoneLarge);
    Send(n_editorMessage::c_viewMode, Preview::e_viewColourCycle);
    Send(n_editorMessage::c_viewMode, Preview::e_viewFullScreen);
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_EQ(m_preview->GetPreview(Preview::e_phoneLarge), full->GetPreview());
    EXPECT_TRUE(SameRect(MonitorOf(m_parent.GetHwnd()), WindowRect(window)));

    // The phone, centred: its screen picture where the window draws it.
    RECT client;
    GetClientRect(window, &client);
    t_testSurface surface(client.right, client.bottom, false);
    full->Render(surface.Dc(), client.right, client.bottom);
    const POINT origin = PreviewFullScreen::PreviewOrigin(client.right, client.bottom, 480, 800);
    const PreviewMobile& phone = *static_cast<PreviewMobile*>(m_preview->GetPreview(Preview::e_phoneLarge));
    ASSERT_FALSE(phone.FramePicture().IsEmpty());
    // The phone's columns, and the white background on either side.
    const int row = std::max<int>(0, origin.y) + 10;
    auto rgb = [&](int x) { return surface.At(x, row) & 0xFFFFFF; };
    ASSERT_GT(origin.x, 0);
    EXPECT_EQ(0xFFFFFFu, rgb(origin.x - 1));
    EXPECT_NE(0xFFFFFFu, rgb(origin.x));
    EXPECT_NE(0xFFFFFFu, rgb(origin.x + 479));
    EXPECT_EQ(0xFFFFFFu, rgb(origin.x + 480));

    // The cycle's next colour is the window's background too.
    const HWND panel = m_preview->GetHwnd();
    ASSERT_TRUE(TimerArmed(panel, Preview::c_colourTimer, Preview::c_colourMs));
    TickTimer(panel, Preview::c_colourTimer);
    EXPECT_NE(0xFFFFFFu, m_preview->Background());
    EXPECT_EQ(m_preview->Background(), full->Background());

    // Esc: back to the cycle, which goes on.
    SetForegroundWindow(window);
    PumpMessages(50);
    TypeKeys({{VK_ESCAPE, true}, {VK_ESCAPE, false}});
    EXPECT_FALSE(IsWindowVisible(window));
    EXPECT_EQ(Preview::e_viewColourCycle, m_preview->ViewMode());
    const COLORREF shown = m_preview->Background();
    ASSERT_TRUE(TimerArmed(panel, Preview::c_colourTimer, Preview::c_colourMs));
    TickTimer(panel, Preview::c_colourTimer);
    EXPECT_NE(shown, m_preview->Background());
}

// Leaving full screen by another road than its own close takes the window away too.
TEST_F(FullScreenPanelTest, AnotherModeHidesTheWindow)
{
    Send(n_editorMessage::c_viewMode, Preview::e_viewFullScreen);
    const HWND window = m_preview->FullScreenWindow();
    EXPECT_TRUE(IsWindowVisible(window));
    Send(n_editorMessage::c_viewMode, Preview::e_viewNormal);
    EXPECT_FALSE(IsWindowVisible(window));
}

class FullScreenInTheFrame : public t_editorFrameTest {
protected:
    // The cursor goes back to the screen's corner, off the buttons the test clicked.
    void TearDown() override
    {
        t_editorFrameTest::TearDown();
        SendMouse(MOUSEEVENTF_MOVE, 0, 0, 10);
    }
};

// In the editor's main frame: its full-screen button shows the preview over the screen and
// Esc, typed into the close button and passed through the program's loop, brings the
// frame back to the colour cycle, its buttons following.
TEST_F(FullScreenInTheFrame, TheFramesButtonShowsItAndEscGoesBack)
{
    IMEKavrelApp* app = IMEKavrelApp::Instance();
    const HWND window = m_window;
    auto* preview = static_cast<Preview*>(m_frame->ChildAt(IMEKavrelFrame::e_preview));
    auto* buttons = static_cast<ExtraBtnPanel*>(m_frame->ChildAt(IMEKavrelFrame::e_buttonPanel));
    ASSERT_TRUE(preview && buttons);
    const HWND full = preview->FullScreenWindow();
    ASSERT_NE(nullptr, full);
    EXPECT_EQ(full, GetFullScreenPreviewWindow());
    auto click = [&](int mode) {
        RECT rect = WindowRect(buttons->ButtonWindow(mode));
        SendMouse(MOUSEEVENTF_MOVE, (rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2, 50);
        SendMouse(MOUSEEVENTF_LEFTDOWN, 0, 0, 50);
        SendMouse(MOUSEEVENTF_LEFTUP, 0, 0, 100);
    };

    click(Preview::e_viewColourCycle);
    EXPECT_EQ(Preview::e_viewColourCycle, preview->ViewMode());
    click(Preview::e_viewFullScreen);
    EXPECT_EQ(Preview::e_viewFullScreen, preview->ViewMode());
    EXPECT_TRUE(IsWindowVisible(full));
    EXPECT_TRUE(SameRect(MonitorOf(window), WindowRect(full)));

    const HWND close = GetDlgItem(full, PreviewFullScreen::c_closeButtonId);
    ASSERT_NE(nullptr, close);
    PostMessageW(close, WM_KEYDOWN, VK_ESCAPE, 1);
    PostQuitMessage(0);
    app->Run();
    PumpMessages(50);
    EXPECT_FALSE(IsWindowVisible(full));
    EXPECT_EQ(Preview::e_viewColourCycle, preview->ViewMode());
    EXPECT_EQ(Preview::e_viewColourCycle, buttons->Mode());
    EXPECT_TRUE(buttons->Button(Preview::e_viewColourCycle)->selected);
}

}  // namespace
