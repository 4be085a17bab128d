// The preview window in this process on the default skin: created with a skin already
// open, driven by the editor's messages, its back buffer read pixel by pixel.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "editor/app/app.h"
#include "editor/framework/editor_messages.h"
#include "editor/preview/imc_wrap_skin_preview.h"
#include "editor/preview/preview.h"
#include "editor/preview/preview_pc.h"
#include "foundation/core/error_chain.h"
#include "graphics/paint/module_instance.h"
#include "ime_ui/skin/skin_config_file.h"
#include "skin_model/combine_info.h"
#include "skin_model/display_info.h"
#include "skin_model/ime_skin.h"
#include "tests/support/dialog_driver.h"
#include "tests/support/editor_frame.h"
#include "tests/support/flat_png.h"
#include "tests/support/gdi_census.h"
#include "tests/support/message_pump.h"
#include "tests/support/window_timer.h"
#include "tests/support/temp_folder.h"
#include "toolkit/controls/ui_settings.h"

namespace {
const COLORREF c_marker = RGB(0xE0, 0x10, 0x30);

struct t_box {
    int left = INT32_MAX, top = INT32_MAX, right = -1, bottom = -1;
    bool Empty() const { return right < 0; }
};

class PreviewHost : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ASSERT_TRUE(RegisterEditorClasses()); }

    void SetUp() override
    {
        ASSERT_TRUE(IMESkin::Instance()->New());
        ASSERT_TRUE(m_parent.Create(nullptr, L"preview host", WS_POPUP | WS_VISIBLE, 0, 0, 0, 1000, 800, nullptr,
                                    GetModuleInstance()));
        CreatePreview(900, 700);
    }

    void CreatePreview(int width, int height)
    {
        m_preview = new Preview;
        ASSERT_TRUE(m_preview->Create(nullptr, L"", WS_CHILD | WS_VISIBLE | WS_BORDER, 0, 0, 0, width, height,
                                      m_parent.GetHwnd(), GetModuleInstance()));
        m_parent.AddChild(m_preview);
    }

    void TearDown() override { TearDownHost(m_parent, m_driver); }

    LRESULT Send(UINT message, WPARAM wParam, LPARAM lParam = 0)
    {
        return SendMessageW(m_preview->GetHwnd(), message, wParam, lParam);
    }
    void Edit(int part) { Send(n_editorMessage::c_skinChanged, MAKEWPARAM(part, 0)); }

    // Pixels of the back buffer (0x00RRGGBB) within tolerance of a colour.
    t_box Find(COLORREF colour, int tolerance = 8)
    {
        m_preview->RenderBackBuffer();
        t_box box;
        const SIZE size = m_preview->BackBufferSize();
        const uint32_t* pixels = m_preview->BackBufferPixels();
        if (!pixels)
            return box;
        for (int y = 0; y < size.cy; ++y) {
            for (int x = 0; x < size.cx; ++x) {
                const uint32_t p = pixels[y * size.cx + x];
                const int dr = int((p >> 16) & 0xFF) - GetRValue(colour);
                const int dg = int((p >> 8) & 0xFF) - GetGValue(colour);
                const int db = int(p & 0xFF) - GetBValue(colour);
                if (std::abs(dr) > tolerance || std::abs(dg) > tolerance || std::abs(db) > tolerance)
                    continue;
                box.left = std::min(box.left, x);
                box.top = std::min(box.top, y);
                box.right = std::max(box.right, x + 1);
                box.bottom = std::max(box.bottom, y + 1);
            }
        }
        return box;
    }

    // Pixels that differ from the background inside a rectangle.
    int Painted(const RECT& rect)
    {
        m_preview->RenderBackBuffer();
        const SIZE size = m_preview->BackBufferSize();
        const uint32_t* pixels = m_preview->BackBufferPixels();
        const COLORREF bk = m_preview->Background();
        const uint32_t background = (GetRValue(bk) << 16) | (GetGValue(bk) << 8) | GetBValue(bk);
        int count = 0;
        for (int y = std::max(0L, rect.top); y < std::min<LONG>(size.cy, rect.bottom); ++y)
            for (int x = std::max(0L, rect.left); x < std::min<LONG>(size.cx, rect.right); ++x)
                count += (pixels[y * size.cx + x] & 0xFFFFFF) != background;
        return count;
    }

    PreviewPC& Desktop(int index) { return *static_cast<PreviewPC*>(m_preview->GetPreview(index)); }

    Frame m_parent;
    Preview* m_preview = nullptr;
    t_dialogDriver m_driver;
    t_tempFolder m_folder{L"preview"};
};

// Created while a skin is open (the editor creates it before any skin, a host may not):
// the previews are ready before the skin loads into them, so the windows show at once.
TEST_F(PreviewHost, CreatedWithASkinOpenShowsItWithoutAnEdit)
{
    int width = 0, height = 0;
    Desktop(0).GetSize(width, height);
    EXPECT_GT(width, 0);
    EXPECT_GT(height, 0);
    const SIZE sample = m_preview->SampleSize();
    EXPECT_GT(sample.cx, 8 * sample.cy / 2) << "nine characters of the sentence";
    EXPECT_EQ(sample.cx + width + 20, m_preview->ContentSize().cx);
    EXPECT_EQ(sample.cy + height + 10, m_preview->ContentSize().cy);

    // The sentence in black before the windows, the windows painted in the picture rect.
    m_preview->RenderBackBuffer();
    const RECT picture = m_preview->PictureRect();
    EXPECT_EQ(width, picture.right - picture.left);
    EXPECT_EQ(height, picture.bottom - picture.top);
    EXPECT_GT(Painted(picture), width * height / 4);
    const t_box text = Find(RGB(0, 0, 0), 40);
    ASSERT_FALSE(text.Empty());
    EXPECT_LT(text.right, sample.cx + picture.left + 2);
    EXPECT_LE(text.bottom, std::max<int>(sample.cy, picture.top) + sample.cy);
}

// An edit reaches the work folder, the packed copy and the back buffer: the combined
// window's picture becomes a flat marker, which fills the window's place after the
// sentence; the status bar stays below it.
TEST_F(PreviewHost, AnEditRewritesTheWorkCopyAndRepaints)
{
    IMESkin* skin = IMESkin::Instance();
    const std::wstring work = skin->GetWorkFolder();
    const std::wstring pack = work + L".dat";
    const std::wstring marker = m_folder.Path() + L"\\marker.png";
    ASSERT_TRUE(WriteRaw(marker, FlatPng(40, 30, {0xE01030FFu})));
    WIN32_FILE_ATTRIBUTE_DATA before = {};
    ASSERT_TRUE(GetFileAttributesExW(pack.c_str(), GetFileExInfoStandard, &before));

    CombineInfo& h1 = skin->HorizontalCombined();
    h1.hasPic = true;
    wcscpy(h1.pic, marker.c_str());
    h1.transparentEnabled = false;
    Send(n_editorMessage::c_selectPage, 2);
    Edit(2);

    WIN32_FILE_ATTRIBUTE_DATA after = {};
    ASSERT_TRUE(GetFileAttributesExW(pack.c_str(), GetFileExInfoStandard, &after));
    EXPECT_NE(before.nFileSizeLow, after.nFileSizeLow) << "the marker picture joins the packed copy";
    EXPECT_TRUE(m_preview->Config().schemeH1.window.pic.IsPresent());

    const t_box box = Find(c_marker);
    ASSERT_FALSE(box.Empty());
    const RECT picture = m_preview->PictureRect();
    EXPECT_EQ(picture.left, box.left);
    EXPECT_EQ(picture.top, box.top);
    EXPECT_LT(box.bottom, picture.bottom) << "the status bar follows the window";
    EXPECT_GT(Painted(RECT{picture.left, box.bottom + 5, picture.right, picture.bottom}), 0);

    // A copy of the status bar leaves the texts of the layout's copy as they were.
    const std::wstring copied = m_preview->Config().schemeH1.window.pic.Value().file;
    Edit(6);
    EXPECT_EQ(copied, m_preview->Config().schemeH1.window.pic.Value().file);
    EXPECT_NE(std::wstring::npos, copied.find(L".png"));

    // Back to no picture: the marker is gone.
    h1.hasPic = false;
    Edit(2);
    EXPECT_TRUE(Find(c_marker).Empty());
    EXPECT_FALSE(m_preview->Config().schemeH1.window.pic.IsPresent());

    // Edits and repaints hold no more GDI objects than the first one did.
    auto editAndPaint = [&](int i) {
        h1.pinyinMarge[2] += i % 2 ? -1 : 1;
        Edit(2);
        m_preview->RenderBackBuffer();
        UpdateWindow(m_preview->GetHwnd());
    };
    editAndPaint(1);
    const DWORD live = LiveGdiObjects();
    for (int i = 0; i < 100; ++i)
        editAndPaint(i);
    EXPECT_EQ(live, LiveGdiObjects());

    // The work folder's Skin.ini holds the last value (UTF-16 with its byte-order mark).
    const std::string bytes = ReadRaw(work + L"\\Skin.ini");
    ASSERT_GE(bytes.size(), 2u);
    ASSERT_EQ("\xFF\xFE", bytes.substr(0, 2));
    const std::wstring ini(reinterpret_cast<const wchar_t*>(bytes.data() + 2), (bytes.size() - 2) / 2);
    wchar_t margin[64];
    _snwprintf(margin, 64, L"pinyin_marge=%d,%d,%d,%d", h1.pinyinMarge[0], h1.pinyinMarge[1], h1.pinyinMarge[2],
               h1.pinyinMarge[3]);
    margin[63] = 0;
    EXPECT_NE(std::wstring::npos, ini.find(margin)) << "no " << margin[0];
}

TEST_F(PreviewHost, PagesSwitchTheLayoutAndTheStatusPageKeepsIt)
{
    struct t_case {
        int page;
        int expectedPage;
        int compStyle;
        int candStyle;
    };
    const t_case cases[] = {{3, 3, 1, 0}, {4, 4, 0, 1}, {5, 5, 1, 1}, {6, 5, 1, 1},
                            {2, 2, 0, 0}, {6, 2, 0, 0}, {0, 2, 0, 0}, {1, 2, 0, 0}};
    for (const t_case& c : cases) {
        Send(n_editorMessage::c_selectPage, c.page);
        EXPECT_EQ(c.expectedPage, m_preview->CurrentPage()) << c.page;
        EXPECT_EQ(c.expectedPage, Desktop(0).Page()) << c.page;
        EXPECT_EQ(c.compStyle, m_preview->Settings().compStyle) << c.page;
        EXPECT_EQ(c.candStyle, m_preview->Settings().candStyle) << c.page;
        EXPECT_EQ(c.compStyle, Desktop(1).Settings().compStyle) << c.page;
    }
    // A separate page shows two windows and the status bar: taller than the combined one.
    int combinedW, combinedH, separateW, separateH;
    Desktop(0).GetSize(combinedW, combinedH);
    Send(n_editorMessage::c_selectPage, 3);
    Desktop(0).GetSize(separateW, separateH);
    EXPECT_GT(separateH, combinedH);
}

// Errors of the work copy are never shown: with nothing open the edit fails quietly and
// the picture stays as it was.
TEST_F(PreviewHost, FailedWorkCopyShowsNoMessageAndKeepsThePicture)
{
    m_preview->RenderBackBuffer();
    const RECT picture = m_preview->PictureRect();
    const int painted = Painted(picture);
    ASSERT_GT(painted, 0);
    ASSERT_TRUE(IMESkin::Instance()->Close());
    for (int part : {1, 2, 6, 7, 100, 101}) {
        t_errorChain errors;
        EXPECT_FALSE(m_preview->OnModelChanged(errors, part, true)) << part;
        EXPECT_TRUE(errors.IsFailed()) << part;
        Edit(part);
    }
    EXPECT_EQ(painted, Painted(picture));
}

TEST_F(PreviewHost, DisplayEditsReachTheSettingsAndEveryPreview)
{
    DisplayInfo& display = IMESkin::Instance()->Display();
    display.pinyinColor = RGB(1, 2, 3);
    display.previewFontSize = 21;
    display.previewCandCount = 3;
    wcscpy(display.fontCh, L"SimSun");
    Edit(1);
    EXPECT_EQ(21, m_preview->Settings().fontSize);
    EXPECT_EQ(21, Desktop(0).Settings().fontSize);
    EXPECT_EQ(21 + PreviewPC::c_largeFontStep, Desktop(1).Settings().fontSize);
    EXPECT_STREQ(L"SimSun", m_preview->Settings().fontCh);
    EXPECT_EQ(3, Desktop(0).Host().CandidateCount());
    const SkinDisplay& config = m_preview->Config().display;
    EXPECT_EQ(unsigned(RGB(1, 2, 3)), config.pinyin_color.Value());
    EXPECT_EQ(unsigned(RGB(1, 2, 3)), config.result_color.Value());
    EXPECT_EQ(unsigned(RGB(1, 2, 3)), config.bihua_color.Value());
    EXPECT_STREQ(L"SimSun", config.font_ch.Value());

    // Every preview draws with the larger font: the large-font preview is the larger one.
    int normalW, normalH, largeW, largeH;
    Desktop(0).GetSize(normalW, normalH);
    Desktop(1).GetSize(largeW, largeH);
    EXPECT_GT(largeH, normalH);
    Send(n_editorMessage::c_selectPreview, 1);
    EXPECT_EQ(m_preview->SampleSize().cy + largeH + 10, m_preview->ContentSize().cy);
}

TEST_F(PreviewHost, ColourCycleStepsEveryTwoSecondsAndLeavingItResetsWhite)
{
    const HWND window = m_preview->GetHwnd();
    EXPECT_FALSE(TimerArmed(window, Preview::c_colourTimer, Preview::c_colourMs));
    Send(n_editorMessage::c_viewMode, Preview::e_viewColourCycle);
    EXPECT_EQ(0xFFFFFFu, m_preview->Background());
    EXPECT_EQ(2000u, +Preview::c_colourMs);
    ASSERT_TRUE(TimerArmed(window, Preview::c_colourTimer, Preview::c_colourMs));
    TickTimer(window, Preview::c_colourTimer);
    EXPECT_EQ(Preview::c_backgroundColours[1], m_preview->Background());
    for (int i = 2; i < Preview::c_backgroundColourCount + 2; ++i) {
        m_preview->NextBackgroundColour();
        EXPECT_EQ(Preview::c_backgroundColours[i % Preview::c_backgroundColourCount], m_preview->Background());
    }
    // The back buffer takes the colour.
    EXPECT_FALSE(Find(m_preview->Background(), 0).Empty());
    // Full screen keeps the cycle; normal mode ends it.
    Send(n_editorMessage::c_viewMode, Preview::e_viewFullScreen);
    EXPECT_EQ(Preview::c_backgroundColours[1], m_preview->Background());
    EXPECT_TRUE(TimerArmed(window, Preview::c_colourTimer, Preview::c_colourMs));
    Send(n_editorMessage::c_viewMode, Preview::e_viewNormal);
    EXPECT_EQ(0xFFFFFFu, m_preview->Background());
    EXPECT_FALSE(TimerArmed(window, Preview::c_colourTimer, Preview::c_colourMs));
}

TEST_F(PreviewHost, LongSampleWidensTheWindows)
{
    int normalW, normalH;
    Desktop(0).GetSize(normalW, normalH);
    Send(n_editorMessage::c_viewMode, Preview::e_viewLongSample);
    EXPECT_TRUE(Desktop(0).Host().LongSample());
    EXPECT_TRUE(Desktop(1).Host().LongSample());
    int longW, longH;
    Desktop(0).GetSize(longW, longH);
    EXPECT_GT(longW, normalW);
    Send(n_editorMessage::c_viewMode, Preview::e_viewNormal);
    EXPECT_FALSE(Desktop(0).Host().LongSample());
}

TEST_F(PreviewHost, ScrollBarsAppearWhenTheContentIsLarger)
{
    auto style = [this] { return GetWindowLongW(m_preview->GetHwnd(), GWL_STYLE); };
    EXPECT_FALSE(style() & (WS_VSCROLL | WS_HSCROLL));
    MoveWindow(m_preview->GetHwnd(), 0, 0, 80, 40, TRUE);
    EXPECT_TRUE(style() & WS_VSCROLL);
    EXPECT_TRUE(style() & WS_HSCROLL);

    Send(WM_VSCROLL, SB_LINEDOWN);
    Send(WM_HSCROLL, SB_LINEDOWN);
    EXPECT_EQ(10, m_preview->ScrollOffset().y);
    EXPECT_EQ(5, m_preview->ScrollOffset().x);
    Send(WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA));
    EXPECT_EQ(0, m_preview->ScrollOffset().y);
    // The back buffer covers what was scrolled past.
    m_preview->RenderBackBuffer();
    RECT client;
    GetClientRect(m_preview->GetHwnd(), &client);
    EXPECT_EQ(client.right + 5, m_preview->BackBufferSize().cx);

    MoveWindow(m_preview->GetHwnd(), 0, 0, 900, 700, TRUE);
    EXPECT_FALSE(style() & (WS_VSCROLL | WS_HSCROLL));
    EXPECT_EQ(0, m_preview->ScrollOffset().x);
}

// The exported picture holds the IME windows alone: its size is the windows' and no pixel
// of the sentence is in it.
TEST_F(PreviewHost, SavedPictureHoldsOnlyTheImeWindows)
{
    const std::wstring path = m_folder.Path() + L"\\preview.png";
    ASSERT_TRUE(m_preview->SavePicture(path.c_str()));
    int width, height;
    Desktop(0).GetSize(width, height);
    // Width and height from the PNG header.
    const std::string png = ReadRaw(path);
    ASSERT_GE(png.size(), 24u);
    ASSERT_EQ("\x89PNG", png.substr(0, 4));
    auto be32 = [&png](size_t at) {
        return int((uint8_t(png[at]) << 24) | (uint8_t(png[at + 1]) << 16) | (uint8_t(png[at + 2]) << 8) |
                   uint8_t(png[at + 3]));
    };
    EXPECT_EQ(width, be32(16));
    EXPECT_EQ(height, be32(20));
    EXPECT_FALSE(m_preview->SavePicture(nullptr));

    // The small phone's picture is its screen.
    Send(n_editorMessage::c_selectPreview, Preview::e_phone);
    const std::wstring phone = m_folder.Path() + L"\\phone.png";
    ASSERT_TRUE(m_preview->SavePicture(phone.c_str()));
    const std::string phonePng = ReadRaw(phone);
    ASSERT_GE(phonePng.size(), 24u);
    EXPECT_EQ(240, int((uint8_t(phonePng[18]) << 8) | uint8_t(phonePng[19])));
    EXPECT_EQ(320, int((uint8_t(phonePng[22]) << 8) | uint8_t(phonePng[23])));
}

TEST_F(PreviewHost, ButtonAnimationStepsAStatusButtonUntilStopped)
{
    const int cnEn = 0;  // type 0 (built-in), index 0
    Send(n_editorMessage::c_buttonAnimation, 1, cnEn);
    EXPECT_TRUE(m_preview->TickButtonAnimation()) << "the first step shows the first picture";
    PumpMessages(100);
    Send(n_editorMessage::c_buttonAnimation, 0, 0);
    EXPECT_FALSE(m_preview->TickButtonAnimation());
    // A page switch stops it too.
    Send(n_editorMessage::c_buttonAnimation, 1, cnEn);
    Send(n_editorMessage::c_selectPage, 3);
    EXPECT_FALSE(m_preview->TickButtonAnimation());
}

// Posts the IME windows address to their host window (none in the preview) arrive as
// thread messages and pass through a message loop harmlessly.
TEST_F(PreviewHost, PostsToTheMissingHostWindowPassHarmlessly)
{
    for (UINT message : {0x523u, 0x83FAu, unsigned(WM_IME_NOTIFY)})
        EXPECT_TRUE(PostMessageW(nullptr, message, 6, 0));
    PumpMessages(50);
    EXPECT_TRUE(IsWindow(m_preview->GetHwnd()));
}
}  // namespace
