// The preview selector and the view-mode buttons in windows of this process: thumbnails
// painted into a DIB through the panel's own paint, clicks made with the real mouse, and
// the messages the panels post to their parent recorded there.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "editor/app/app.h"
#include "editor/app/main_frame.h"
#include "editor/framework/editor_messages.h"
#include "editor/preview/preview.h"
#include "editor/preview/preview_blank.h"
#include "editor/resources/resource_ids.h"
#include "editor/widgets/extra_panels.h"
#include "foundation/win/rect.h"
#include "graphics/paint/module_instance.h"
#include "graphics/paint/paint_ctx.h"
#include "skin_model/combine_info.h"
#include "skin_model/ime_skin.h"
#include "tests/support/dialog_driver.h"
#include "tests/support/editor_frame.h"
#include "tests/support/flat_png.h"
#include "tests/support/message_pump.h"
#include "tests/support/real_mouse.h"
#include "tests/support/temp_folder.h"
#include "toolkit/ownerdraw/owner_draw_hover_button_item.h"

namespace {
const DWORD c_panelStyle = WS_CHILD | WS_VISIBLE | WS_BORDER;
const int c_panelHeight = 180;

// The parent of the panels: records the preview and view-mode messages posted to it.
class t_recordingParent : public Frame {
public:
    LRESULT WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == n_editorMessage::c_selectPreview || message == n_editorMessage::c_viewMode) {
            posted.emplace_back(message, static_cast<int>(wParam));
            return 0;
        }
        return Frame::WndProc(window, message, wParam, lParam);
    }
    std::vector<std::pair<UINT, int>> posted;
};

// A preview of a fixed size drawn as one opaque colour, the way the real previews draw:
// alpha-blended premultiplied pixels.
class t_flatSource : public PreviewBlank {
public:
    t_flatSource(int width, int height, COLORREF colour) : m_width(width), m_height(height), m_colour(colour) {}
    void GetSize(int& width, int& height) override
    {
        width = m_width;
        height = m_height;
    }
    void Paint(HDC dc, int x, int y) override
    {
        ++paints;
        t_memDC picture;
        if (!t_memDC::Create(picture, dc, m_width, m_height))
            return;
        const uint32_t pixel =
            0xFF000000u | (GetRValue(m_colour) << 16) | (GetGValue(m_colour) << 8) | GetBValue(m_colour);
        for (int i = 0; i < m_width * m_height; ++i)
            picture.Pixels()[i] = pixel;
        AlphaBlend(dc, x, y, m_width, m_height, picture.dc, 0, 0, m_width, m_height, picture.blend);
    }
    int paints = 0;

private:
    int m_width, m_height;
    COLORREF m_colour;
};

// A client area painted by a panel: 0x00RRGGBB pixels, top row first.
struct t_picture {
    int width = 0, height = 0;
    std::vector<uint32_t> pixels;
    uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x] & 0xFFFFFF; }
    int Count(const RECT& rect, COLORREF colour, int tolerance = 8) const
    {
        int count = 0;
        for (int y = std::max(0L, rect.top); y < std::min<LONG>(height, rect.bottom); ++y)
            for (int x = std::max(0L, rect.left); x < std::min<LONG>(width, rect.right); ++x)
                count += Near(At(x, y), colour, tolerance);
        return count;
    }
    static bool Near(uint32_t pixel, COLORREF colour, int tolerance)
    {
        return std::abs(int((pixel >> 16) & 0xFF) - GetRValue(colour)) <= tolerance &&
               std::abs(int((pixel >> 8) & 0xFF) - GetGValue(colour)) <= tolerance &&
               std::abs(int(pixel & 0xFF) - GetBValue(colour)) <= tolerance;
    }
};

std::string Hex(uint32_t pixel)
{
    char text[16];
    snprintf(text, sizeof(text), "%06X", static_cast<unsigned>(pixel));
    return text;
}

// A click as the user makes it: press at one client point of window, release at another.
void Drag(HWND pressWindow, POINT press, HWND releaseWindow, POINT release)
{
    ClientToScreen(pressWindow, &press);
    ClientToScreen(releaseWindow, &release);
    SendMouse(MOUSEEVENTF_MOVE, press.x, press.y);
    SendMouse(MOUSEEVENTF_LEFTDOWN);
    SendMouse(MOUSEEVENTF_MOVE, release.x, release.y);
    SendMouse(MOUSEEVENTF_LEFTUP, 0, 0, 60);
}
void Click(HWND window, POINT point) { Drag(window, point, window, point); }

class ExtraPanels : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ASSERT_TRUE(RegisterEditorClasses()); }

    void SetUp() override
    {
        ASSERT_TRUE(m_parent.Create(nullptr, L"panels", WS_POPUP | WS_VISIBLE, 0, 40, 40, 1040, 440, nullptr,
                                    GetModuleInstance()));
        SetForegroundWindow(m_parent.GetHwnd());
    }

    void TearDown() override { TearDownHost(m_parent, m_driver); }

    // A view panel whose client area is clientWidth wide, at the parent's top-left corner.
    ExtraViewPanel* CreateViewPanel(int clientWidth)
    {
        ExtraViewPanel* panel = new ExtraViewPanel;
        RECT outer = {0, 0, clientWidth, c_panelHeight};
        AdjustWindowRect(&outer, c_panelStyle, FALSE);
        if (!panel->Create(nullptr, L"", c_panelStyle, 0, 0, 0, outer.right - outer.left, outer.bottom - outer.top,
                           m_parent.GetHwnd(), GetModuleInstance())) {
            delete panel;
            return nullptr;
        }
        m_parent.AddChild(panel);
        panel->CreateItems();
        return panel;
    }

    ExtraBtnPanel* CreateButtonPanel()
    {
        ExtraBtnPanel* panel = new ExtraBtnPanel;
        if (!panel->Create(nullptr, L"", c_panelStyle, 0, 0, 200, 600, 240, m_parent.GetHwnd(), GetModuleInstance())) {
            delete panel;
            return nullptr;
        }
        m_parent.AddChild(panel);
        return panel;
    }

    static t_picture Render(ExtraViewPanel& panel)
    {
        t_picture out;
        RECT client;
        GetClientRect(panel.GetHwnd(), &client);
        out.width = client.right;
        out.height = client.bottom;
        t_memDC buffer;
        if (!t_memDC::Create(buffer, nullptr, out.width, out.height))
            return out;
        FillRect(buffer.dc, &client, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        panel.OnPaint(buffer.dc);
        GdiFlush();
        // The DIB is bottom-up.
        out.pixels.resize(static_cast<size_t>(out.width) * out.height);
        for (int y = 0; y < out.height; ++y)
            for (int x = 0; x < out.width; ++x)
                out.pixels[static_cast<size_t>(y) * out.width + x] =
                    buffer.Pixels()[static_cast<size_t>(out.height - 1 - y) * out.width + x];
        return out;
    }

    std::vector<std::pair<UINT, int>> Posted()
    {
        PumpMessages(20);
        std::vector<std::pair<UINT, int>> out;
        out.swap(m_parent.posted);
        return out;
    }

    static std::pair<UINT, int> SelectPreview(int preview) { return {n_editorMessage::c_selectPreview, preview}; }
    static std::pair<UINT, int> ViewMode(int mode) { return {n_editorMessage::c_viewMode, mode}; }

    t_recordingParent m_parent;
    t_dialogDriver m_driver;
};

using t_posts = std::vector<std::pair<UINT, int>>;

// Where a source picture goes in a thumbnail: fitted inside the frame, centred in the
// picture area, never enlarged past what the frame holds.
TEST(PreviewThumb, PicturePlaceFitsAndCentres)
{
    struct {
        int width, sourceWidth, sourceHeight;
        RECT expected;
    } cases[] = {
        // Wide: the width limits (128 / 256 = 0.5).
        {130, 256, 60, {1, 30 + 55, 129, 30 + 55 + 30}},
        // Tall: the height limits (138 / 276 = 0.5).
        {130, 100, 276, {40, 30 + 1, 90, 30 + 1 + 138}},
        // Small: enlarged to fit (min(128 / 64, 138 / 46) = 2).
        {130, 64, 46, {1, 30 + 24, 129, 30 + 24 + 92}},
        // A shrunk thumbnail 100 wide: 98 / 196 = 0.5.
        {100, 196, 40, {1, 30 + 60, 99, 30 + 60 + 20}},
    };
    for (const auto& c : cases) {
        const RECT place = t_previewThumb::PicturePlace(0, 0, c.width, c.sourceWidth, c.sourceHeight);
        EXPECT_EQ(c.expected.left, place.left) << c.sourceWidth << "x" << c.sourceHeight;
        EXPECT_EQ(c.expected.top, place.top) << c.sourceWidth << "x" << c.sourceHeight;
        EXPECT_EQ(c.expected.right, place.right) << c.sourceWidth << "x" << c.sourceHeight;
        EXPECT_EQ(c.expected.bottom, place.bottom) << c.sourceWidth << "x" << c.sourceHeight;
    }
    // Moved with the thumbnail's corner.
    const RECT moved = t_previewThumb::PicturePlace(7, 2, 130, 256, 60);
    EXPECT_EQ(8, moved.left);
    EXPECT_EQ(2 + 30 + 55, moved.top);
    // Nothing to place.
    for (SIZE empty : {SIZE{0, 50}, SIZE{50, 0}, SIZE{-4, 20}}) {
        const RECT none = t_previewThumb::PicturePlace(0, 0, 130, empty.cx, empty.cy);
        EXPECT_TRUE(IsRectEmpty(&none));
    }
}

// The panel in a window of a fixed width: four equal cells; below 520 pixels the
// thumbnails shrink uniformly and touch, above it they keep their size with equal gaps.
// The frames are read back from the painted pixels.
TEST_F(ExtraPanels, ThumbnailsShrinkBelowTheirNaturalWidthAndSpreadAboveIt)
{
    struct {
        int clientWidth;
        int left0, width, step;
    } cases[] = {
        {400, 0, 100, 100},
        {520, 0, 130, 130},
        {600, 10, 130, 150},
        {1000, 60, 130, 250},
    };
    for (const auto& c : cases) {
        ExtraViewPanel* panel = CreateViewPanel(c.clientWidth);
        ASSERT_NE(nullptr, panel);
        // Every thumbnail enabled: no veil over the frames.
        SendMessageW(panel->GetHwnd(), n_editorMessage::c_selectPage, 2, 0);
        const t_picture painted = Render(*panel);
        ASSERT_EQ(c.clientWidth, painted.width);
        const float scale = c.width / 130.0f;
        const int frameY = 2 + 30 + 70;
        for (int i = 0; i < 4; ++i) {
            const RECT rect = panel->ItemRect(i);
            const int left = c.left0 + c.step * i;
            EXPECT_EQ(left, rect.left) << c.clientWidth << " item " << i;
            EXPECT_EQ(left + c.width, rect.right) << c.clientWidth << " item " << i;
            EXPECT_EQ(2, rect.top);
            EXPECT_EQ(172, rect.bottom);
            EXPECT_FLOAT_EQ(scale, panel->Item(i)->Scale());
            // The frame's sides in black where the layout puts them.
            EXPECT_EQ(0u, painted.At(left, frameY)) << c.clientWidth << " item " << i;
            EXPECT_EQ(0u, painted.At(left + c.width - 1, frameY)) << c.clientWidth << " item " << i;
            EXPECT_EQ(0u, painted.At(left + c.width / 2, 2 + 30)) << c.clientWidth << " item " << i;
            EXPECT_EQ(0u, painted.At(left + c.width / 2, 2 + 169)) << c.clientWidth << " item " << i;
            if (c.step > c.width) {
                EXPECT_EQ(0xFFFFFFu, painted.At(left + c.width, frameY)) << "the gap stays clear";
            }
        }
        // The title band holds dark text in every thumbnail.
        for (int i = 0; i < 4; ++i) {
            const RECT rect = panel->ItemRect(i);
            EXPECT_GT(painted.Count(RECT{rect.left, 2, rect.right, 2 + 30}, RGB(0, 0, 0), 100), 5)
                << c.clientWidth << " title " << i;
        }
        DestroyWindow(panel->GetHwnd());
    }
}

// Each thumbnail shows its own source, scaled and centred; the phone thumbnails are veiled
// in grey except on the phone page; a source without a picture or with an absurd size
// leaves the picture area clear and is not asked to paint.
TEST_F(ExtraPanels, ThumbnailsPaintTheirSourcesAndVeilTheDisabledOnes)
{
    ExtraViewPanel* panel = CreateViewPanel(600);
    ASSERT_NE(nullptr, panel);
    t_flatSource red(64, 46, RGB(255, 0, 0)), green(256, 60, RGB(0, 255, 0)), blue(100, 276, RGB(0, 0, 255)),
        huge(100000, 100000, RGB(255, 255, 0));
    panel->SetSource(0, &red);
    panel->SetSource(1, &green);
    panel->SetSource(2, &blue);
    panel->SetSource(3, &huge);
    panel->SetSource(4, &red);   // ignored
    panel->SetSource(-1, &red);  // ignored
    EXPECT_EQ(&red, panel->Item(0)->Source());
    EXPECT_EQ(&huge, panel->Item(3)->Source());

    struct {
        int page;
        bool phones;
    } pages[] = {{0, false}, {2, true}, {3, false}};
    for (const auto& p : pages) {
        SendMessageW(panel->GetHwnd(), n_editorMessage::c_selectPage, MAKEWPARAM(p.page, 0), 0);
        EXPECT_EQ(p.phones, panel->Item(2)->IsEnabled()) << "page " << p.page;
        EXPECT_EQ(p.phones, panel->Item(3)->IsEnabled()) << "page " << p.page;
        EXPECT_TRUE(panel->Item(0)->IsEnabled());
        const t_picture painted = Render(*panel);
        struct {
            int item;
            SIZE size;
            COLORREF colour;
        } shown[] = {{0, {64, 46}, RGB(255, 0, 0)}, {1, {256, 60}, RGB(0, 255, 0)}, {2, {100, 276}, RGB(0, 0, 255)}};
        for (const auto& s : shown) {
            const RECT item = panel->ItemRect(s.item);
            const RECT place = t_previewThumb::PicturePlace(item.left, item.top, 130, s.size.cx, s.size.cy);
            const int area = (place.right - place.left) * (place.bottom - place.top);
            COLORREF expected = s.colour;
            if (s.item >= 2 && !p.phones)  // half the colour over half grey
                expected =
                    RGB(GetRValue(s.colour) / 2 + 0x40, GetGValue(s.colour) / 2 + 0x40, GetBValue(s.colour) / 2 + 0x40);
            EXPECT_GT(painted.Count(place, expected, 6), area * 9 / 10)
                << "page " << p.page << " item " << s.item << " centre "
                << Hex(painted.At(RectCentre(place).x, RectCentre(place).y));
            // Nothing of it outside its place within the picture area.
            const RECT above = {item.left + 1, item.top + 31, item.right - 1, place.top};
            EXPECT_EQ(0, painted.Count(above, expected, 6)) << "page " << p.page << " item " << s.item;
        }
        // The absurd source: a clear (or veiled) picture area.
        const RECT item3 = panel->ItemRect(3);
        const POINT middle = {(item3.left + item3.right) / 2, item3.top + 100};
        EXPECT_TRUE(
            t_picture::Near(painted.At(middle.x, middle.y), p.phones ? RGB(255, 255, 255) : RGB(0xBF, 0xBF, 0xBF), 3))
            << "page " << p.page << ": " << Hex(painted.At(middle.x, middle.y));
    }
    EXPECT_EQ(0, huge.paints);
    EXPECT_GT(red.paints, 0);
}

// Thumbnails choose their preview only when pressed and released on the same enabled one;
// the phone thumbnails answer only on the phone page.
TEST_F(ExtraPanels, PressAndReleaseOnOneThumbnailChoosesIt)
{
    ExtraViewPanel* panel = CreateViewPanel(600);
    ASSERT_NE(nullptr, panel);
    const HWND window = panel->GetHwnd();
    EXPECT_EQ(t_posts{}, Posted()) << "creating the panel chooses nothing";

    Click(window, RectCentre(panel->ItemRect(1)));
    EXPECT_EQ(t_posts{SelectPreview(1)}, Posted());
    Click(window, RectCentre(panel->ItemRect(0)));
    EXPECT_EQ(t_posts{SelectPreview(0)}, Posted());

    // Pressed on one, released on another or outside any: nothing.
    Drag(window, RectCentre(panel->ItemRect(0)), window, RectCentre(panel->ItemRect(1)));
    EXPECT_EQ(t_posts{}, Posted());
    EXPECT_EQ(-1, panel->Pressed());
    const RECT first = panel->ItemRect(0);
    Drag(window, RectCentre(first), window, POINT{first.right + 3, first.top + 50});
    EXPECT_EQ(t_posts{}, Posted());
    // The press outside, the release on a thumbnail: nothing either.
    Drag(window, POINT{first.right + 3, first.top + 50}, window, RectCentre(panel->ItemRect(1)));
    EXPECT_EQ(t_posts{}, Posted());

    // A disabled phone thumbnail ignores the click; on the phone page it chooses.
    Click(window, RectCentre(panel->ItemRect(3)));
    EXPECT_EQ(t_posts{}, Posted());
    SendMessageW(window, n_editorMessage::c_selectPage, 2, 0);
    Click(window, RectCentre(panel->ItemRect(3)));
    EXPECT_EQ(t_posts{SelectPreview(3)}, Posted());
}

// Leaving the phone page while the phones could be chosen sends the frame back to the
// first preview, once; the view mode is kept and changes nothing there.
TEST_F(ExtraPanels, LeavingThePhonePageFallsBackToTheFirstPreview)
{
    ExtraViewPanel* panel = CreateViewPanel(600);
    ASSERT_NE(nullptr, panel);
    const HWND window = panel->GetHwnd();
    struct {
        int page;
        t_posts posts;
    } steps[] = {
        {1, {}}, {2, {}}, {2, {}}, {3, {SelectPreview(0)}}, {4, {}}, {2, {}}, {0, {SelectPreview(0)}},
    };
    for (const auto& s : steps) {
        SendMessageW(window, n_editorMessage::c_selectPage, MAKEWPARAM(s.page, 0), 0);
        EXPECT_EQ(s.page, panel->PageMode());
        EXPECT_EQ(s.posts, Posted()) << "page " << s.page;
    }
    SendMessageW(window, n_editorMessage::c_viewMode, 3, 0);
    EXPECT_EQ(3, panel->ViewMode());
    EXPECT_EQ(t_posts{}, Posted());
    EXPECT_FALSE(panel->Item(2)->IsEnabled());
}

// The buttons: four pictures of four equal frames side by side, the first one chosen.
// Each button draws the frame of its state: the chosen one its pressed frame.
TEST_F(ExtraPanels, ViewButtonsAreFourFramePicturesSideBySide)
{
    ExtraBtnPanel* panel = CreateButtonPanel();
    ASSERT_NE(nullptr, panel);
    ASSERT_TRUE(panel->CreateButtons());
    EXPECT_EQ(0, panel->Mode());
    t_image strip;
    ASSERT_TRUE(LoadButtonPicture(GetModuleInstance(), MAKEINTRESOURCEW(2000), strip));
    const int width = strip.fullWidth / 4, height = strip.fullHeight;
    strip.Release();
    EXPECT_GT(width, 40);
    for (int i = 0; i < 4; ++i) {
        const HWND button = panel->ButtonWindow(i);
        ASSERT_NE(nullptr, button);
        EXPECT_EQ(100 + i, GetDlgCtrlID(button));
        EXPECT_TRUE(IsWindowVisible(button));
        RECT rect;
        GetWindowRect(button, &rect);
        MapWindowPoints(nullptr, panel->GetHwnd(), reinterpret_cast<POINT*>(&rect), 2);
        EXPECT_EQ(i * width, rect.left) << "button " << i;
        EXPECT_EQ(0, rect.top) << "button " << i;
        EXPECT_EQ((i + 1) * width, rect.right) << "button " << i;
        EXPECT_EQ(height, rect.bottom) << "button " << i;
        EXPECT_EQ(i == 0, panel->Button(i)->selected);
    }

    // Drawn through the panel's WM_DRAWITEM: a point of each button's fill.
    auto fill = [&](int i) {
        t_memDC buffer;
        if (!t_memDC::Create(buffer, nullptr, width, height))
            return 0u;
        DRAWITEMSTRUCT item = {ODT_BUTTON, static_cast<UINT>(100 + i), 0, ODA_DRAWENTIRE, 0, panel->ButtonWindow(i),
                               buffer.dc,  RECT{0, 0, width, height},  0};
        SendMessageW(panel->GetHwnd(), WM_DRAWITEM, 100 + i, reinterpret_cast<LPARAM>(&item));
        GdiFlush();
        return buffer.Pixels()[static_cast<size_t>(height / 2) * width + 6] & 0xFFFFFF;
    };
    const uint32_t pressed = 0x2D7DD2, normal = 0xFFFFFF;
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(i == 0 ? pressed : normal, fill(i)) << "button " << i << ": " << Hex(fill(i));
    SendMessageW(panel->GetHwnd(), n_editorMessage::c_viewMode, 3, 0);
    EXPECT_EQ(3, panel->Mode());
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(i == 3 ? pressed : normal, fill(i)) << "button " << i << ": " << Hex(fill(i));
}

// Clicked with the mouse, the buttons act as one radio group and post the chosen mode.
TEST_F(ExtraPanels, ViewButtonsActAsOneRadioGroupPostingTheMode)
{
    ExtraBtnPanel* panel = CreateButtonPanel();
    ASSERT_NE(nullptr, panel);
    ASSERT_TRUE(panel->CreateButtons());
    EXPECT_EQ(t_posts{}, Posted());
    for (int mode : {2, 1, 3, 0}) {
        RECT rect;
        GetClientRect(panel->ButtonWindow(mode), &rect);
        Click(panel->ButtonWindow(mode), RectCentre(rect));
        EXPECT_EQ(t_posts{ViewMode(mode)}, Posted()) << "mode " << mode;
        // The frame hands the mode back to the panel.
        SendMessageW(panel->GetHwnd(), n_editorMessage::c_viewMode, mode, 0);
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(i == mode, panel->Button(i)->selected) << "mode " << mode << " button " << i;
    }
}

// A phone preview hides the colour-cycle and long-sample buttons and falls back from those
// modes to the normal one; a desktop preview shows them again.
TEST_F(ExtraPanels, PhonePreviewsHideTheirButtonsAndFallBackToNormal)
{
    ExtraBtnPanel* panel = CreateButtonPanel();
    ASSERT_NE(nullptr, panel);
    ASSERT_TRUE(panel->CreateButtons());
    struct {
        int mode, preview;
        bool shown;
        int modeAfter;
        t_posts posts;
    } cases[] = {
        {2, 2, false, 0, {ViewMode(0)}},
        {3, 3, false, 0, {ViewMode(0)}},
        {1, 3, false, 1, {}},
        {0, 2, false, 0, {}},
        {2, 0, true, 2, {}},
        {3, 1, true, 3, {}},
    };
    for (const auto& c : cases) {
        SendMessageW(panel->GetHwnd(), n_editorMessage::c_viewMode, c.mode, 0);
        SendMessageW(panel->GetHwnd(), n_editorMessage::c_selectPreview, 0, 0);
        Posted();
        SendMessageW(panel->GetHwnd(), n_editorMessage::c_selectPreview, c.preview, 0);
        EXPECT_EQ(c.posts, Posted()) << "mode " << c.mode << " preview " << c.preview;
        EXPECT_EQ(c.modeAfter, panel->Mode()) << "mode " << c.mode << " preview " << c.preview;
        EXPECT_TRUE(IsWindowVisible(panel->ButtonWindow(0)));
        EXPECT_TRUE(IsWindowVisible(panel->ButtonWindow(1)));
        EXPECT_EQ(c.shown, IsWindowVisible(panel->ButtonWindow(2)) != FALSE) << "preview " << c.preview;
        EXPECT_EQ(c.shown, IsWindowVisible(panel->ButtonWindow(3)) != FALSE) << "preview " << c.preview;
    }
}

// The thumbnails of the preview host's desktop previews show the skin being edited and
// follow an edit: the combined window's picture becomes a flat marker, which then fills
// part of both desktop thumbnails.
TEST_F(ExtraPanels, DesktopThumbnailsFollowTheSkinLive)
{
    ASSERT_TRUE(IMESkin::Instance()->New());
    Preview* preview = new Preview;
    ASSERT_TRUE(
        preview->Create(nullptr, L"", c_panelStyle, 0, 0, 200, 900, 400, m_parent.GetHwnd(), GetModuleInstance()));
    m_parent.AddChild(preview);
    ExtraViewPanel* panel = CreateViewPanel(600);
    ASSERT_NE(nullptr, panel);
    for (int i = 0; i < Preview::c_previewCount; ++i)
        panel->SetSource(i, preview->GetPreview(i));
    SendMessageW(preview->GetHwnd(), n_editorMessage::c_selectPage, 2, 0);

    const COLORREF marker = RGB(0xE0, 0x10, 0x30);
    t_picture before = Render(*panel);
    for (int i = 0; i < 2; ++i) {
        const RECT item = panel->ItemRect(i);
        const RECT picture = {item.left + 1, item.top + 31, item.right - 1, item.bottom - 1};
        EXPECT_GT(before.Count(picture, RGB(255, 255, 255), 0), 0);
        EXPECT_LT(before.Count(picture, RGB(255, 255, 255), 0), (picture.right - picture.left) * 138)
            << "thumbnail " << i << " shows the windows";
        EXPECT_EQ(0, before.Count(picture, marker));
    }

    t_tempFolder folder(L"panels");
    const std::wstring file = folder.Path() + L"\\marker.png";
    ASSERT_TRUE(WriteRaw(file, FlatPng(60, 40, {0xE01030FFu})));
    CombineInfo& h1 = IMESkin::Instance()->HorizontalCombined();
    h1.hasPic = true;
    wcscpy(h1.pic, file.c_str());
    h1.transparentEnabled = false;
    SendMessageW(preview->GetHwnd(), n_editorMessage::c_skinChanged, MAKEWPARAM(2, 0), 0);

    const t_picture after = Render(*panel);
    for (int i = 0; i < 2; ++i) {
        const RECT item = panel->ItemRect(i);
        EXPECT_GT(after.Count(RECT{item.left + 1, item.top + 31, item.right - 1, item.bottom - 1}, marker, 12), 20)
            << "thumbnail " << i;
    }
}

class PanelsInTheFrame : public t_editorFrameTest {};

// The panels inside the editor's main frame with a new skin: the thumbnails show the
// preview host's previews and choose among them, the phones only on their page; the view
// buttons follow the chosen preview; leaving the phone page brings the first preview back.
TEST_F(PanelsInTheFrame, ThumbnailsAndButtonsDriveThePreview)
{
    const HWND window = m_window;
    auto* preview = static_cast<Preview*>(m_frame->ChildAt(IMEKavrelFrame::e_preview));
    auto* view = static_cast<ExtraViewPanel*>(m_frame->ChildAt(IMEKavrelFrame::e_viewPanel));
    auto* buttons = static_cast<ExtraBtnPanel*>(m_frame->ChildAt(IMEKavrelFrame::e_buttonPanel));
    ASSERT_TRUE(preview && view && buttons);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(preview->GetPreview(i), view->Item(i)->Source()) << "thumbnail " << i;
        EXPECT_TRUE(IsWindowVisible(buttons->ButtonWindow(i))) << "button " << i;
    }
    const HWND thumbs = view->GetHwnd();
    auto buttonClick = [&](int mode) {
        RECT rect;
        GetClientRect(buttons->ButtonWindow(mode), &rect);
        Click(buttons->ButtonWindow(mode), RectCentre(rect));
        PumpMessages(50);
    };
    auto page = [&](int p) {
        SendMessageW(window, n_editorMessage::c_selectPage, p, 0);
        PumpMessages(50);
    };

    // A desktop thumbnail chooses its preview on any page; a phone one only on page 2.
    page(3);
    Click(thumbs, RectCentre(view->ItemRect(1)));
    EXPECT_EQ(1, preview->SelectedPreview());
    Click(thumbs, RectCentre(view->ItemRect(3)));
    EXPECT_EQ(1, preview->SelectedPreview());

    // The colour cycle, then a phone: the buttons for the desktop modes hide and the mode
    // falls back to normal in the preview too.
    buttonClick(2);
    EXPECT_EQ(2, preview->ViewMode());
    EXPECT_EQ(2, buttons->Mode());
    page(2);
    Click(thumbs, RectCentre(view->ItemRect(3)));
    EXPECT_EQ(3, preview->SelectedPreview());
    EXPECT_EQ(0, preview->ViewMode());
    EXPECT_EQ(0, buttons->Mode());
    EXPECT_TRUE(buttons->Button(0)->selected);
    EXPECT_FALSE(IsWindowVisible(buttons->ButtonWindow(2)));
    EXPECT_FALSE(IsWindowVisible(buttons->ButtonWindow(3)));

    // Leaving the page brings preview 0 back, and the desktop modes with it.
    page(5);
    EXPECT_EQ(0, preview->SelectedPreview());
    EXPECT_TRUE(IsWindowVisible(buttons->ButtonWindow(2)));
    EXPECT_TRUE(IsWindowVisible(buttons->ButtonWindow(3)));
    buttonClick(3);
    EXPECT_EQ(3, preview->ViewMode());
    EXPECT_TRUE(buttons->Button(3)->selected);
    EXPECT_FALSE(buttons->Button(0)->selected);
}
}  // namespace
