// Candidate items: the measure of label, prefix, icons and cloud states; the pixels of
// each element in a DIB (text by its bounding box); the fade under the clip; the waiting
// animation's hold and the name icon's fade; clicks; and the action item's underline.
#include "ime_ui/windows/cand/wnd_cand_string_item.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "graphics/image/image_source.h"
#include "graphics/paint/paint_ctx.h"
#include "tests/support/font_record.h"
#include "tests/support/paint_surface.h"
#include "tests/support/painted_tree.h"
#include "toolkit/controls/imc_wrap.h"
#include "toolkit/controls/input_hooks.h"
#include "toolkit/controls/ui_context.h"
#include "toolkit/controls/wnd_hint.h"
#include "toolkit/richhint/wnd_rich_hint.h"
#include "toolkit/controls/wnd_top.h"

namespace {

const uint32_t c_red = 0x0000FF;   // COLORREF
const uint32_t c_blue = 0xFF0000;  // COLORREF
const uint32_t c_hostGreen = 0xFF00FF00u;
const uint32_t c_hostBlue = 0xFF0000FFu;

class t_candHost : public ImcWrapImplBase {
public:
    void SelectCandidate(HWND, int index) override { selected.push_back(index); }
    bool GetCandidateExtraIconSize(HWND, int, int& width, int& height) override
    {
        if (extraSize.cx <= 0)
            return false;
        width = extraSize.cx;
        height = extraSize.cy;
        return true;
    }
    bool DrawCandidateExtraIcon(HWND, int, HDC, void* pixels, int width, int height) override
    {
        std::fill_n(static_cast<uint32_t*>(pixels), static_cast<size_t>(width) * height, c_hostGreen);
        return true;
    }
    bool OnCandidateExtraIconClick(HWND, int index, int x, int y) override
    {
        extraClicks.push_back({index, x, y});
        return extraClickHandled;
    }
    bool GetCandidateImageSize(HWND, int, int& width, int& height) override
    {
        if (imageSize.cx <= 0)
            return false;
        width = imageSize.cx;
        height = imageSize.cy;
        return true;
    }
    bool DrawCandidateImage(HWND, int, HDC, void* pixels, int width, int height) override
    {
        std::fill_n(static_cast<uint32_t*>(pixels), static_cast<size_t>(width) * height, c_hostBlue);
        return true;
    }
    bool ShowsCandidateIcons(HWND) override { return iconsShown; }
    DWORD GetCloudRequestTime(HWND) override { return requestTime; }
    void RequestUiRefresh(HWND) override { ++refreshes; }
    bool OnCandidateHover(HWND, int index, int x, int y) override
    {
        hovers.push_back({index, x, y});
        return true;
    }
    void OnRichCandidateClick(HWND) override { ++richClicks; }
    bool GetCandidateRichTip(HWND, t_str& markup, int) override
    {
        if (richMarkup.empty())
            return false;
        markup.Assign(richMarkup.c_str());
        return true;
    }
    bool GetCandidateTip(HWND, t_str&, int) override
    {
        ++plainTipQuestions;
        return false;
    }
    void OnRichCandidateBoxClick(HWND, const RECT& box) override { boxes.push_back(box); }

    struct t_point {
        int index, x, y;
    };
    SIZE extraSize = {0, 0};
    SIZE imageSize = {0, 0};
    bool extraClickHandled = true;
    bool iconsShown = false;
    DWORD requestTime = 0;
    int refreshes = 0;
    int richClicks = 0;
    int plainTipQuestions = 0;
    std::wstring richMarkup;
    std::vector<int> selected;
    std::vector<t_point> extraClicks, hovers;
    std::vector<RECT> boxes;
};

uint32_t g_now = 0;
uint32_t FakeTicks() { return g_now; }

// A 10 x 10 mask: fully opaque.
void PutSquareMask(t_maskIcons& icons, t_maskKind kind)
{
    const std::vector<uint8_t> mask(100, 255);
    ASSERT_TRUE(icons.SetMask(kind, mask.data(), 10, 10));
}

// Alpha bounds of the surface inside a column range (right exclusive).
RECT AlphaBoundsIn(t_testSurface& surface, int from, int to)
{
    RECT r = {to, surface.Height(), from, 0};
    for (int y = 0; y < surface.Height(); ++y) {
        for (int x = from; x < to; ++x) {
            if (surface.At(x, y) >> 24) {
                r.left = std::min<LONG>(r.left, x);
                r.top = std::min<LONG>(r.top, y);
                r.right = std::max<LONG>(r.right, x + 1);
                r.bottom = std::max<LONG>(r.bottom, y + 1);
            }
        }
    }
    return r;
}

int MaxAlpha(t_testSurface& surface, int from, int to)
{
    int most = 0;
    for (int y = 0; y < surface.Height(); ++y) {
        for (int x = from; x < to; ++x)
            most = std::max<int>(most, surface.At(x, y) >> 24);
    }
    return most;
}

class CandStringItemTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        wchar_t path[MAX_PATH];
        GetModuleFileNameW(nullptr, path, MAX_PATH);
        wcscpy(wcsrchr(path, L'\\') + 1, L"Resource.dll");
        s_module = LoadLibraryW(path);
        t_wndCandStringItem::LoadAnimations(s_module);
    }
    static void TearDownTestSuite()
    {
        t_wndCandStringItem::ReleaseAnimations();
        if (s_module)
            FreeLibrary(s_module);
    }

    CandStringItemTest() : m_font(MakeTestFont(L"Tahoma", 14)), m_hooks(t_inputHooks{&FakeTicks, nullptr, nullptr})
    {
        MakeWindowlessTop(top, 100, 200, 400, 40);
        top.shown = true;
        context.SetImcWrap(&host);
        item = new t_wndCandStringItem();
        item->SetContext(&context);
        item->Create(0, 10, 5, 0, 0, 0, nullptr, &top);
        item->SetStyles(t_textItemStyle{c_red, 0, 0, m_font.get(), false},
                        t_textItemStyle{c_blue, 0, 0, m_font.get(), false});
        item->candIndex = 3;
        item->SetItemText(L"4.word");
    }

    // Width and height of a run in the test font.
    SIZE Run(const wchar_t* text)
    {
        HDC dc = CreateCompatibleDC(nullptr);
        SIZE size = {0, 0};
        {
            t_paintCtx paint(dc, false, nullptr, false);
            paint.MeasureText(text, -1, m_font.get(), &size, c_textItemFormat, 0);
            paint.End();
        }
        DeleteDC(dc);
        return size;
    }
    int Width() const { return item->rect.right - item->rect.left; }
    int Height() const { return item->rect.bottom - item->rect.top; }
    // The item's left edge in the surface (the top sits at 100, 200).
    int Left() const { return item->rect.left - 100; }
    int Top() const { return item->rect.top - 200; }

    static HMODULE s_module;
    t_testFontPtr m_font;
    t_inputHooksScope m_hooks;
    t_wndTop top;
    t_candHost host;
    t_uiContext context;
    t_wndCandStringItem* item;
};

HMODULE CandStringItemTest::s_module = nullptr;

TEST_F(CandStringItemTest, SharedAnimationsComeFromTheResourceLibrary)
{
    ASSERT_NE(nullptr, s_module);
    const t_cloudAnimations& animations = t_wndCandStringItem::Animations();
    ASSERT_NE(nullptr, animations.waiting);
    EXPECT_GT(animations.waitingFrames, 1);
    EXPECT_GT(animations.frameWidth, 0);
    EXPECT_GT(animations.frameHeight, 0);
    ASSERT_NE(nullptr, animations.dead);
    EXPECT_GT(animations.deadFrames, 1);
    EXPECT_NE(nullptr, animations.deadReverse);
}

TEST_F(CandStringItemTest, MeasuresWordPrefixNameIconAndCloud)
{
    const SIZE text = Run(L"4.word");
    const int space = Run(L" ").cx;
    const t_cloudAnimations& animations = t_wndCandStringItem::Animations();
    PutSquareMask(item->maskIcons, t_maskKind::e_name);
    PutSquareMask(item->maskIcons, t_maskKind::e_cloud);
    int sharedMax = 0;
    item->SetSharedMaxWidth(&sharedMax);
    int widest = 0;

    item->Measure(nullptr);
    EXPECT_EQ(text.cx, Width());
    EXPECT_EQ(text.cy, Height());
    EXPECT_EQ(text.cx, sharedMax);

    // A prefix: the label measured as "1." and the prefix added.
    item->SetPrefix(L"pre");
    item->Measure(nullptr);
    EXPECT_EQ(Run(L"1.word").cx + Run(L"pre").cx, Width());
    widest = Width();
    item->SetPrefix(nullptr);

    // The name icon counts only while the host shows icons.
    item->nameIconFlag = true;
    item->Measure(nullptr);
    EXPECT_EQ(text.cx, Width());
    host.iconsShown = true;
    item->Measure(nullptr);
    EXPECT_EQ(text.cx + 10, Width());
    item->nameIconFlag = false;

    // Cloud: waiting and failed take the label, a space and the frame; the result the cloud icon.
    const int label = Run(L"4.").cx;
    const int rest = Run(L"word").cx;
    struct t_case {
        int mode;
        int width;
    } const cases[] = {
        {1, label + space + animations.frameWidth}, {3, label + space + animations.frameWidth}, {2, label + 10 + rest}};
    for (const t_case& c : cases) {
        item->SetCloudState(true, c.mode);
        item->Measure(nullptr);
        EXPECT_EQ(c.width, Width()) << c.mode;
        widest = std::max(widest, Width());
        if (c.mode != 2) {
            EXPECT_EQ(std::max<int>(text.cy, animations.frameHeight), Height()) << c.mode;
        }
    }
    // The shared record keeps the widest width measured.
    EXPECT_EQ(widest, sharedMax);

    // Hidden: nothing.
    item->visible = false;
    item->Measure(nullptr);
    EXPECT_EQ(0, Width());
}

TEST_F(CandStringItemTest, ExtraIconSuppressesNameIconAndCloud)
{
    PutSquareMask(item->maskIcons, t_maskKind::e_name);
    host.iconsShown = true;
    item->nameIconFlag = true;
    item->SetCloudState(true, 1);
    host.extraSize = SIZE{12, 30};
    item->Measure(nullptr);
    EXPECT_TRUE(item->extraIconFlag);
    EXPECT_FALSE(item->nameIconFlag);
    EXPECT_FALSE(item->cloudFlag);
    const SIZE text = Run(L"4.word");
    EXPECT_EQ(text.cx + 12, Width());
    EXPECT_EQ(30, Height());
    EXPECT_EQ(text.cx, item->extraIconBox.x);

    // The host's icon is painted at the right end; nothing of the name icon or the cloud.
    t_testSurface surface(400, 40, true);
    item->Paint_CandString(surface.Paint());
    const int right = Left() + Width();
    EXPECT_EQ(c_hostGreen, surface.At(right - 12, Top()));
    EXPECT_EQ(c_hostGreen, surface.At(right - 1, Top() + 29));
    EXPECT_EQ(0u, surface.At(right, Top()));
    const RECT textBox = AlphaBoundsIn(surface, 0, right - 12);
    EXPECT_GE(textBox.left, Left());
    EXPECT_LE(textBox.right, Left() + text.cx);

    // Its click goes to the host relative to the box; when not handled, the candidate is chosen.
    const int x = item->rect.left + item->extraIconBox.x + 3, y = item->rect.top + 4;
    ASSERT_TRUE(item->OnLButtonDown(0, x, y));
    ASSERT_TRUE(item->OnLButtonUp(0, x, y));
    ASSERT_EQ(1u, host.extraClicks.size());
    EXPECT_EQ(3, host.extraClicks[0].x);
    EXPECT_EQ(4, host.extraClicks[0].y);
    EXPECT_TRUE(host.selected.empty());
    host.extraClickHandled = false;
    item->OnLButtonDown(0, x, y);
    item->OnLButtonUp(0, x, y);
    EXPECT_EQ(std::vector<int>{3}, host.selected);
}

TEST_F(CandStringItemTest, PaintsTextUnderlineAndNameIcon)
{
    PutSquareMask(item->maskIcons, t_maskKind::e_name);
    host.iconsShown = true;
    item->SetItemText(L"4.word ");
    item->nameIconFlag = true;
    item->nameIconAlpha = 128;
    item->underline = true;
    item->Measure(nullptr);
    const SIZE text = Run(L"4.word ");
    const int space = Run(L" ").cx;
    ASSERT_EQ(text.cx + 10, Width());

    t_testSurface surface(400, 40, true);
    item->Paint_CandString(surface.Paint());
    const int right = Left() + Width();
    // Name icon: the 10 x 10 square at (right - 10 - space, top) at the icon's alpha, red.
    const uint32_t icon = surface.At(right - 10 - space, Top());
    EXPECT_NEAR(128, static_cast<int>(icon >> 24), 1);
    EXPECT_NEAR(128, static_cast<int>((icon >> 16) & 0xFF), 1);
    EXPECT_EQ(0u, icon & 0xFFFF);
    EXPECT_EQ(0u, surface.At(right - 10 - space - 1, Top()) >> 24);
    // Underline: the bottom row from the width of "2." to one space before the right end.
    const int bottom = Top() + Height() - 1;
    const int from = Left() + Run(L"2.").cx, to = right - space;
    EXPECT_EQ(0xFFFF0000u, surface.At(from, bottom));
    EXPECT_EQ(0xFFFF0000u, surface.At(to - 1, bottom));
    EXPECT_EQ(0u, surface.At(from - 1, bottom) >> 24);
    // The text: inside the item, from its left edge.
    const RECT textBox = AlphaBoundsIn(surface, 0, right - 10 - space);
    EXPECT_LE(textBox.left, Left() + 2);
    EXPECT_GE(textBox.left, Left());
    EXPECT_GE(textBox.top, Top());
    EXPECT_LE(textBox.right, Left() + text.cx);
}

TEST_F(CandStringItemTest, InlineImageFollowsTheLabel)
{
    item->inlineImageFlag = true;
    host.imageSize = SIZE{20, 25};
    item->Measure(nullptr);
    const SIZE text = Run(L"4.word");
    EXPECT_EQ(text.cx + 20, Width());
    EXPECT_EQ(25, Height());
    EXPECT_EQ(text.cx, item->labelWidth);

    // Painted: the label, then the host's picture right after it; the word is not drawn.
    t_testSurface surface(400, 40, true);
    item->Paint_CandString(surface.Paint());
    const int label = Run(L"4.").cx;
    EXPECT_EQ(c_hostBlue, surface.At(Left() + label, Top()));
    EXPECT_EQ(c_hostBlue, surface.At(Left() + label + 19, Top() + 24));
    EXPECT_EQ(0, MaxAlpha(surface, Left() + label + 20, 400));
    const RECT labelBox = AlphaBoundsIn(surface, 0, Left() + label);
    EXPECT_GE(labelBox.left, Left());
    EXPECT_LT(labelBox.left, labelBox.right);

    // Without the host's size, or with one no picture can have, the image adds nothing.
    for (SIZE size : {SIZE{0, 0}, SIZE{-5, 10}, SIZE{0x7FFFFFFF, 10}}) {
        host.imageSize = size;
        item->Measure(nullptr);
        EXPECT_EQ(text.cx, Width()) << size.cx;
    }
    // Nor does an extra icon of such a size.
    item->inlineImageFlag = false;
    host.extraSize = SIZE{0x7FFFFFF0, 0x7FFFFFF0};
    item->Measure(nullptr);
    EXPECT_FALSE(item->extraIconFlag);
    EXPECT_EQ(text.cx, Width());
}

// Largest red channel in a column range: the ink of red text on a black target.
int MaxRed(t_testSurface& surface, int from, int to)
{
    int most = 0;
    for (int y = 0; y < surface.Height(); ++y) {
        for (int x = from; x < to; ++x)
            most = std::max<int>(most, (surface.At(x, y) >> 16) & 0xFF);
    }
    return most;
}

TEST_F(CandStringItemTest, PrefixAndLabelAreDimmed)
{
    item->SetPrefix(L"pre");
    item->Measure(nullptr);
    const int dimEnd = Left() + Run(L"4.").cx + Run(L"pre").cx;
    // Layered (per-pixel alpha) and plain items on an alpha target.
    for (bool perPixel : {false, true}) {
        item->SetPerPixelAlpha(perPixel);
        t_testSurface surface(400, 40, true);
        item->Paint_CandString(surface.Paint());
        EXPECT_NEAR(63, MaxAlpha(surface, Left(), dimEnd), 1) << perPixel;
        EXPECT_EQ(255, MaxAlpha(surface, dimEnd, Left() + Width())) << perPixel;
        EXPECT_EQ(0, MaxAlpha(surface, Left() + Width(), 400)) << perPixel;
    }
    // A classic (opaque) target: the dimmed runs are blended, not drawn at full strength.
    item->SetPerPixelAlpha(false);
    t_testSurface classic(400, 40, false);
    item->Paint_CandString(classic.Paint());
    EXPECT_NEAR(63, MaxRed(classic, Left(), dimEnd), 1);
    EXPECT_EQ(255, MaxRed(classic, dimEnd, Left() + Width()));
}

TEST_F(CandStringItemTest, CloudStatesPaintLabelAndPictures)
{
    const t_cloudAnimations& animations = t_wndCandStringItem::Animations();
    ASSERT_NE(nullptr, animations.waiting);
    const int label = Run(L"4.").cx;

    // Waiting: the label at full alpha, then the red-tinted frame after it.
    item->SetCloudState(true, 1);
    item->Measure(nullptr);
    {
        t_testSurface surface(400, 40, true);
        item->Paint_CandString(surface.Paint());
        const RECT frame = AlphaBoundsIn(surface, Left() + label, 400);
        EXPECT_GE(frame.left, Left() + label);
        EXPECT_LE(frame.right, Left() + label + animations.frameWidth);
        EXPECT_GT(frame.right, frame.left);
        bool onlyRed = true;
        for (int y = frame.top; y < frame.bottom; ++y) {
            for (int x = frame.left; x < frame.right; ++x)
                onlyRed = onlyRed && (surface.At(x, y) & 0xFFFF) == 0;
        }
        EXPECT_TRUE(onlyRed);
        EXPECT_EQ(255, MaxAlpha(surface, Left(), Left() + label));
    }
    // Failed: label and frame at 63.
    item->SetCloudState(true, 3);
    item->Measure(nullptr);
    {
        t_testSurface surface(400, 40, true);
        item->Paint_CandString(surface.Paint());
        EXPECT_NEAR(63, MaxAlpha(surface, Left(), Left() + label), 1);
        EXPECT_NEAR(63, MaxAlpha(surface, Left() + label, 400), 1);
        EXPECT_GT(AlphaBoundsIn(surface, Left() + label, 400).right, Left() + label);
    }
    // Result: the whole text, and the cloud icon at the right end when icons are shown.
    PutSquareMask(item->maskIcons, t_maskKind::e_cloud);
    host.iconsShown = true;
    item->SetCloudState(true, 2);
    item->Measure(nullptr);
    {
        t_testSurface surface(400, 40, true);
        item->Paint_CandString(surface.Paint());
        const int right = Left() + Width();
        const int space = Run(L" ").cx;
        EXPECT_EQ(0xFFFF0000u, surface.At(right - 10 - space, Top()));
        EXPECT_EQ(255, MaxAlpha(surface, Left(), Left() + label));
    }
    // Off: mode 0, and turning on again starts at the first frame.
    item->frameCounter = 5;
    item->SetCloudState(false, 1);
    EXPECT_EQ(0, item->cloudMode);
    EXPECT_EQ(5, item->frameCounter);
    item->SetCloudState(true, 1);
    EXPECT_EQ(0, item->frameCounter);
    EXPECT_EQ(255, item->alpha);
}

TEST_F(CandStringItemTest, WaitingAnimationHoldsForHalfASecond)
{
    const t_cloudAnimations& animations = t_wndCandStringItem::Animations();
    ASSERT_NE(nullptr, animations.waiting);
    const int delayMs = animations.waiting->Frames().frames[0].delay * 10;
    host.requestTime = 10000;
    item->SetCloudState(true, 1);
    for (uint32_t t : {10000u, 10200u, 10499u}) {
        g_now = t;
        EXPECT_TRUE(item->OnTimer(t_wndCandStringItem::c_cloudTimerId));
        EXPECT_EQ(0, item->frameCounter) << t;
    }
    g_now = 10500;
    item->OnTimer(t_wndCandStringItem::c_cloudTimerId);
    EXPECT_EQ(0, item->frameCounter);
    // Frame 0's time runs from the last tick of the hold (10499).
    g_now = 10499 + delayMs;  // not yet longer than the delay
    item->OnTimer(t_wndCandStringItem::c_cloudTimerId);
    EXPECT_EQ(0, item->frameCounter);
    g_now += 1;
    item->OnTimer(t_wndCandStringItem::c_cloudTimerId);
    EXPECT_EQ(1, item->frameCounter);
    // The counter wraps at the frame count.
    item->frameCounter = static_cast<int16_t>(animations.waitingFrames - 1);
    g_now += 10000;
    item->OnTimer(t_wndCandStringItem::c_cloudTimerId);
    EXPECT_EQ(0, item->frameCounter);
    // A hidden top stops the animation.
    top.shown = false;
    g_now += 10000;
    item->OnTimer(t_wndCandStringItem::c_cloudTimerId);
    EXPECT_EQ(0, item->frameCounter);
    EXPECT_FALSE(item->cloudTimerRunning);
}

TEST_F(CandStringItemTest, NameIconFadesInAfterHalfASecond)
{
    host.requestTime = 5000;
    item->SetNameIcon(true);
    struct t_case {
        uint32_t now;
        int alpha;
        bool done;
    } const cases[] = {{5000, 0, false}, {5500, 0, false}, {5750, 127, false}, {5999, 254, false}, {6000, 255, true}};
    int refreshes = 0;
    for (const t_case& c : cases) {
        g_now = c.now;
        item->OnTimer(t_wndCandStringItem::c_nameIconTimerId);
        EXPECT_EQ(c.alpha, item->nameIconAlpha) << c.now;
        EXPECT_EQ(c.done, item->nameIconFadeDone) << c.now;
        if (!c.done)
            ++refreshes;
    }
    EXPECT_EQ(refreshes, host.refreshes);  // the last tick asks no refresh
    item->SetNameIcon(false);
    EXPECT_EQ(0, item->nameIconAlpha);
    EXPECT_FALSE(item->nameIconFadeDone);
}

TEST_F(CandStringItemTest, ClippedCandidateFadesAtTheCut)
{
    host.extraSize = SIZE{60, 20};  // a solid block the fade can be read on
    item->Measure(nullptr);
    const int natural = Width();
    item->SetClipRect(RECT{0, 0, natural - 20, 40});
    item->Measure(nullptr);
    ASSERT_EQ(natural - 20, Width());
    EXPECT_EQ(natural, item->naturalWidth);
    EXPECT_EQ(20, item->naturalHeight);

    t_testSurface surface(400, 40, true);
    item->Paint_CandString(surface.Paint());
    const int cut = Left() + Width();
    const int y = Top() + 10;
    // The last (height) columns fade to nothing; before them the block is whole.
    EXPECT_EQ(c_hostGreen, surface.At(cut - 21, y));
    int previous = 256;
    for (int x = cut - 20; x < cut; ++x) {
        const int a = static_cast<int>(surface.At(x, y) >> 24);
        EXPECT_LT(a, previous) << x;
        previous = a;
    }
    EXPECT_LT(previous, 20);
    EXPECT_EQ(0u, surface.At(cut, y));

    // Not cut short: painted whole, without a fade.
    item->SetClipRect(RECT{0, 0, 400, 40});
    item->Measure(nullptr);
    t_testSurface whole(400, 40, true);
    item->Paint_CandString(whole.Paint());
    EXPECT_EQ(c_hostGreen, whole.At(Left() + natural - 1, y));
}

TEST_F(CandStringItemTest, PressAndRelease)
{
    item->Measure(nullptr);
    const int x = item->rect.left + 2, y = item->rect.top + 2;
    ASSERT_TRUE(item->OnLButtonDown(0, x, y));
    EXPECT_TRUE(item->pressed);
    EXPECT_EQ(c_blue, item->textColor);
    ASSERT_TRUE(item->OnLButtonUp(0, x, y));
    EXPECT_EQ(c_red, item->textColor);
    EXPECT_EQ(std::vector<int>{3}, host.selected);

    // Released outside, or at the end of a drag of the window: no choice.
    item->OnLButtonDown(0, x, y);
    EXPECT_FALSE(item->OnLButtonUp(0, item->rect.right + 5, y));
    EXPECT_EQ(c_red, item->textColor);
    top.inUpAfterDrag = true;
    item->OnLButtonUp(0, x, y);
    top.inUpAfterDrag = false;
    EXPECT_EQ(1u, host.selected.size());

    // Hover reports the point relative to the item, and only over it.
    EXPECT_FALSE(item->OnMouseHover(0, item->rect.right + 5, y));
    EXPECT_TRUE(host.hovers.empty());
    item->OnMouseHover(0, x + 3, y + 1);
    ASSERT_EQ(1u, host.hovers.size());
    EXPECT_EQ(5, host.hovers[0].x);
    EXPECT_EQ(3, host.hovers[0].y);
}

TEST_F(CandStringItemTest, RichTipWinsOverThePlainTip)
{
    item->Measure(nullptr);
    EXPECT_FALSE(item->ShowRichTip());
    EXPECT_EQ(nullptr, item->richTip);

    host.richMarkup = L"a rich tip";
    item->OnMouseEnter();
    EXPECT_EQ(0, host.plainTipQuestions);
    ASSERT_NE(nullptr, item->richTip);
    ASSERT_NE(nullptr, item->richTip->hwnd);
    EXPECT_TRUE(IsWindowVisible(item->richTip->hwnd));
    EXPECT_EQ(1, item->richTip->RowCount());
    // The item draws into no window here: the tip hides at once.
    item->OnMouseLeave();
    EXPECT_FALSE(IsWindowVisible(item->richTip->hwnd));

    host.richMarkup.clear();
    item->OnMouseEnter();
    EXPECT_EQ(1, host.plainTipQuestions);
}

TEST_F(CandStringItemTest, NameIconShowsItsTooltip)
{
    PutSquareMask(item->maskIcons, t_maskKind::e_name);
    host.iconsShown = true;
    item->nameIconFlag = true;
    item->Measure(nullptr);
    const int right = item->rect.right;
    item->OnMouseMove(0, right - 3, item->rect.top + 2);
    ASSERT_NE(nullptr, top.hint);
    EXPECT_TRUE(IsWindowVisible(top.hint->hwnd));
    item->OnMouseMove(0, right - 20, item->rect.top + 2);
    EXPECT_FALSE(IsWindowVisible(top.hint->hwnd));
}

// ---- the action item

const RECT c_firstBox = {10, 20, 110, 50};
const RECT c_secondBox = {200, 5, 260, 45};
bool ReadTestBoxes(const t_wndPosRecord*, RECT& first, RECT& second)
{
    first = c_firstBox;
    second = c_secondBox;
    return true;
}

class CandStringRichItemTest : public ::testing::Test {
protected:
    CandStringRichItemTest() : m_font(MakeTestFont(L"Tahoma", 14))
    {
        MakeWindowlessTop(top, 100, 200, 400, 40);
        context.SetImcWrap(&host);
        item = new t_wndCandStringRichItem();
        item->SetContext(&context);
        item->Create(0, 10, 5, 0, 0, 0, nullptr, &top);
        item->SetStyle(t_textItemStyle{c_red, 0, 0, m_font.get(), false});
    }
    ~CandStringRichItemTest() override { t_wndCandStringRichItem::SetPositionBoxesReader(nullptr); }

    void Show(int kind, const wchar_t* text, int start, int length)
    {
        item->SetContent(t_wndCandStringRichItem::t_content{kind, text, true, start, length});
        item->Measure(nullptr);
        t_testSurface surface(400, 40, true);
        item->Paint_CandRich(surface.Paint());
        underlineRow.clear();
        const int bottom = item->underlineRect.bottom - 1;
        for (int x = 0; x < 400 && item->underline; ++x)
            underlineRow.push_back(surface.At(x, bottom));
    }

    t_testFontPtr m_font;
    t_wndTop top;
    t_candHost host;
    t_uiContext context;
    t_wndCandStringRichItem* item;
    std::vector<uint32_t> underlineRow;
};

TEST_F(CandStringRichItemTest, UnderlinedSegmentIsTheOnlyHit)
{
    Show(1, L"more words", 5, 5);
    ASSERT_TRUE(item->underline);
    EXPECT_TRUE(item->visible);
    EXPECT_EQ(L" ", std::wstring(item->ItemText().c_str()));
    const RECT u = item->underlineRect;
    EXPECT_GT(u.right, u.left);
    // The line runs under the segment only.
    EXPECT_EQ(0xFFFF0000u, underlineRow[u.left]);
    EXPECT_EQ(0xFFFF0000u, underlineRow[u.right - 1]);
    EXPECT_EQ(0u, underlineRow[u.left - 1] >> 24);
    // Hits: window client points of the segment, as screen points.
    EXPECT_TRUE(item->HitTest(u.left + 100, u.top + 200, 0));
    EXPECT_FALSE(item->HitTest(u.left + 99, u.top + 200, 0));
    EXPECT_FALSE(item->HitTest(item->rect.left, item->rect.top + 2, 0));  // the text before it
    ASSERT_TRUE(item->OnLButtonUp(0, u.left + 101, u.top + 201));
    EXPECT_EQ(1, host.richClicks);
}

TEST_F(CandStringRichItemTest, UnderlineBeyondTheTextIsDropped)
{
    struct t_case {
        int start, length;
    } const cases[] = {{5, 6}, {10, 1}, {-1, 2}, {3, 0}, {1, 0x7FFFFFFF}};
    for (const t_case& c : cases) {
        Show(1, L"more words", c.start, c.length);
        EXPECT_FALSE(item->underline) << c.start << "," << c.length;
        EXPECT_FALSE(item->HitTest(item->rect.left + 2, item->rect.top + 2, 0));
        EXPECT_FALSE(item->OnLButtonUp(0, item->rect.left + 2, item->rect.top + 2));
    }
    EXPECT_EQ(0, host.richClicks);
}

TEST_F(CandStringRichItemTest, BoxClickWithoutPositionRecordSendsNothing)
{
    Show(2, L"open box", 0, 4);
    const RECT u = item->underlineRect;
    // No record (as everywhere in this program): the release is taken and nothing read.
    ASSERT_EQ(nullptr, context.positionRecord);
    t_wndCandStringRichItem::SetPositionBoxesReader(&ReadTestBoxes);
    EXPECT_TRUE(item->OnLButtonUp(0, u.left + 101, u.top + 201));
    EXPECT_TRUE(host.boxes.empty());
    EXPECT_EQ(0, host.richClicks);

    // With a record and a reader: the union of both boxes.
    int record = 0;
    context.positionRecord = reinterpret_cast<t_wndPosRecord*>(&record);
    EXPECT_TRUE(item->OnLButtonUp(0, u.left + 101, u.top + 201));
    ASSERT_EQ(1u, host.boxes.size());
    const RECT expected = {10, 5, 260, 50};
    EXPECT_TRUE(EqualRect(&expected, &host.boxes[0]));
    context.positionRecord = nullptr;
}

TEST_F(CandStringRichItemTest, NullTextHidesTheItem)
{
    Show(1, L"more", 0, 2);
    item->SetContent(t_wndCandStringRichItem::t_content{1, nullptr, false, 0, 0});
    EXPECT_FALSE(item->visible);
    EXPECT_TRUE(item->ItemText().IsEmpty());
    item->Measure(nullptr);
    EXPECT_EQ(0, item->rect.right - item->rect.left);
}

}  // namespace
