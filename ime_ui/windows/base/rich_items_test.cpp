#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "graphics/image/image_source.h"
#include "graphics/paint/paint_ctx.h"
#include "graphics/paint/pixel_ops.h"
#include "graphics/text/font.h"
#include "ime_ui/skin/skin_config_file.h"
#include "ime_ui/skin/ui_skin_data.h"
#include "ime_ui/windows/base/wnd_comp_rich_item.h"
#include "ime_ui/windows/comp/wnd_du_hint.h"
#include "ime_ui/windows/cand/wnd_scroll_image.h"
#include "tests/support/font_record.h"
#include "tests/support/gdi_census.h"
#include "tests/support/paint_surface.h"
#include "tests/support/painted_tree.h"
#include "tests/support/skin_on_settings.h"
#include "tests/support/utf16_file.h"
#include "toolkit/directui/du_window.h"
#include "toolkit/controls/imc_wrap.h"
#include "toolkit/controls/ui_context.h"
#include "toolkit/controls/ui_settings.h"
#include "toolkit/controls/ui_wrap.h"
#include "toolkit/richhint/wnd_rich_hint.h"
#include "toolkit/controls/wnd_top.h"

namespace {

// A host that records every hint call as a line of text and answers as the test sets.
class t_fakeHost : public ImcWrapImplBase {
public:
    int GetHintStamp() override { return stamp; }
    void SelectCandidate(HWND, int index) override { calls.push_back("select " + std::to_string(index)); }
    bool GetHintHalfTip(HWND, t_str& tip, int half) override
    {
        if (half < 1 || half > 2 || !halfTips[half - 1])
            return false;
        tip = L"half";
        return true;
    }
    bool GetHintTip(HWND, t_str& tip) override
    {
        tip = L"whole";
        return wholeTip;
    }
    void OnHintClick(HWND) override { calls.push_back("click"); }
    void OnHintAction(HWND) override { calls.push_back("action"); }
    void OnHintLink(HWND, const wchar_t* text) override
    {
        calls.push_back("link " + std::string(text, text + wcslen(text)));
    }
    void RequestUiRefresh(HWND) override { ++refreshes; }
    bool LoadHintImage(const wchar_t*, const wchar_t* fileName, const wchar_t*, HWND, int kind,
                       t_imageSource** picture) override
    {
        calls.push_back("image " + std::to_string(kind) + " " + std::string(fileName, fileName + wcslen(fileName)));
        // 2 x 2, top row red, bottom row blue (the source rows run bottom-up).
        static uint32_t pixels[4] = {0xFF0000FF, 0xFF0000FF, 0xFFFF0000, 0xFFFF0000};
        return t_imageSource::CreateFromPixels(1, pixels, 2, 2, *picture, 0, nullptr);
    }
    bool MeasureHintPicture(HWND, HDC, SIZE& size) override
    {
        size = pictureSize;
        return pictureSize.cx != 0;
    }
    bool DrawHintPicture(HWND, HDC, void* pixels, int width, int height, int bits) override
    {
        calls.push_back("draw " + std::to_string(width) + "x" + std::to_string(height) + "x" + std::to_string(bits));
        std::fill_n(static_cast<uint32_t*>(pixels), width * height, 0xFF00FF00u);
        return true;
    }
    bool HitHintPicture(HWND, int, int, bool& accepts) override
    {
        accepts = pictureAccepts;
        return true;
    }
    bool OnHintPicturePress(HWND, int x, int y) override
    {
        calls.push_back("press " + std::to_string(x) + "," + std::to_string(y));
        return true;
    }
    bool OnHintPictureClick(HWND, int x, int y) override
    {
        calls.push_back("picture " + std::to_string(x) + "," + std::to_string(y));
        return pictureTakesClick;
    }

    int stamp = 0;
    int refreshes = 0;
    bool halfTips[2] = {true, false};
    bool wholeTip = true;
    SIZE pictureSize = {0, 0};
    bool pictureAccepts = true;
    bool pictureTakesClick = false;
    std::vector<std::string> calls;
};

class t_frameHost : public UiWrapImplBase {
public:
    bool DrawsHintFrame(HWND) override { return drawsFrame; }
    bool drawsFrame = false;
};

// Text styles 3, 5 and 10 from a Skin.ini with fonts and colours.
bool LoadStyles(t_uiSkinData& skin, t_uiSettings& settings)
{
    settings = SkinOnSettings(16);
    skin.SetSettings(&settings);
    const std::string bytes = Utf16File(L"[Display]\r\nfont_size=16\r\nfont_ch=Tahoma\r\nfont_en=Tahoma\r\n"
                                        L"pinyin_color=0x0000ff\r\nzhongwen_color=0x00ff00\r\n"
                                        L"comphint_color=0x123456\r\n");
    SkinConfigFile parsed;
    parsed.ParseDefault(bytes.data(), bytes.size());
    skin.LoadConfig(parsed);
    return skin.GetTextStylePtr(3) && skin.GetTextStylePtr(5) && skin.GetTextStylePtr(3)->font &&
           skin.GetTextStylePtr(5)->font && skin.GetTextStylePtr(3)->color;
}

// A 32-bit top-down picture of one premultiplied colour as a DIB section.
HBITMAP SolidBitmap(int width, int height, uint32_t argb)
{
    uint32_t* bits = nullptr;
    HBITMAP bitmap = CreateDib32(width, height, &bits);
    if (bitmap)
        std::fill_n(bits, width * height, argb);
    GdiFlush();
    return bitmap;
}

class RichItemTest : public ::testing::Test {
protected:
    RichItemTest()
    {
        MakeWindowlessTop(top, 100, 200, 400, 60);
        context.SetImcWrap(&host);
        context.SetUiWrap(&ui);
        item = new t_wndCompRichItem();
        item->Create(0, 10, 10, 0, 0, 0, nullptr, &top);
        item->SetContext(&context);
    }
    ~RichItemTest() override
    {
        top.Destroy();
        t_wndCompRichItem::DestroySharedRichTip();
    }

    void UseSkin()
    {
        ASSERT_TRUE(LoadStyles(skin, settings));
        context.SetSkin(&skin);
    }
    void Show(int kind, const wchar_t* text, bool icon = false)
    {
        t_compHintRecord record = {};
        record.kind = kind;
        record.text = text;
        record.iconFlag = icon;
        item->SetHint(record);
        item->Measure(nullptr);
    }
    // Presses and releases at a point of the item (relative to its top-left).
    void Click(int dx, int dy)
    {
        const RECT r = item->GetRect();
        item->OnLButtonDown(0, r.left + dx, r.top + dy);
        item->OnLButtonUp(0, r.left + dx, r.top + dy);
    }
    int Width() const { return item->rect.right - item->rect.left; }
    int Height() const { return item->rect.bottom - item->rect.top; }

    t_wndTop top;
    t_fakeHost host;
    t_frameHost ui;
    t_uiContext context;
    t_uiSettings settings;
    t_uiSkinData skin;
    t_wndCompRichItem* item;
};

}  // namespace

// ---- Composition rich item ----

TEST_F(RichItemTest, WithoutItsTextStyleOnlyTheIconIsMeasured)
{
    Show(e_compHintUnderlined, L"hint", true);
    EXPECT_EQ(16, Width());
    EXPECT_EQ(16, Height());
    Show(e_compHintHalves, L"a b", false);
    EXPECT_EQ(0, Width());
    EXPECT_EQ(0, Height());
}

TEST_F(RichItemTest, MeasuresIconTextAndGap)
{
    UseSkin();
    Show(e_compHintUnderlined, L"hint");
    const int plain = Width();
    EXPECT_EQ(item->textSize.cx + 5, plain);
    EXPECT_GT(item->textSize.cx, 10);
    Show(e_compHintUnderlined, L"hint", true);
    EXPECT_EQ(16 + item->textSize.cx + 5, Width());
    EXPECT_EQ(std::max<int>(16, item->textSize.cy), Height());

    // The two halves of kind 16 are measured apart, with the width of the space between.
    Show(e_compHintHalves, L"left right");
    EXPECT_GT(item->halfSizes[0].cx, 0);
    EXPECT_GT(item->halfSizes[1].cx, item->halfSizes[0].cx);
    EXPECT_GT(item->spaceSize.cx, 0);

    // The minimum height comes from a sample in the style-5 font.
    item->Rebuild();
    EXPECT_GT(item->minHeight, 0);
    item->SetSize(10, 1);
    EXPECT_EQ(item->minHeight, Height());
}

TEST_F(RichItemTest, ClicksReachTheHostByKind)
{
    UseSkin();
    struct t_case {
        int kind;
        const wchar_t* text;
        int dx;  // from the item's left
        std::vector<std::string> calls;
    };
    host.pictureSize = SIZE{30, 12};
    host.pictureTakesClick = false;
    const t_case cases[] = {
        {e_compHintTriple, L"go", 2, {"click"}},
        {e_compHintUnderlined, L"go", 2, {"click"}},
        {e_compHintLink, L"go", 2, {"click"}},
        {e_compHintWholeTip, L"go", 2, {"select -3"}},
        {e_compHintAction, L"go", 2, {"action"}},
        {e_compHintAction | e_compHintUnderlined, L"go", 2, {"action"}},
        // The press reaches the host too; points are relative to the picture, 5 px in.
        {e_compHintPicture, L"", 12, {"press 7,3", "picture 7,3", "click"}},
        {e_compHintPassive, L"go", 2, {"click"}},
    };
    for (const t_case& c : cases) {
        host.calls.clear();
        Show(c.kind, c.text);
        Click(c.dx, 3);
        EXPECT_EQ(c.calls, host.calls) << c.kind;
    }

    // A picture the host takes the click for does not also count as a hint click.
    host.calls.clear();
    host.pictureTakesClick = true;
    Show(e_compHintPicture, L"");
    Click(12, 3);
    EXPECT_EQ((std::vector<std::string>{"press 7,3", "picture 7,3"}), host.calls);
}

TEST_F(RichItemTest, HalvesSelectOnlyWhereTheHostHasATip)
{
    UseSkin();
    Show(e_compHintHalves, L"left right", true);
    const int first = 21 + item->halfSizes[0].cx / 2;
    const int second = 21 + item->halfSizes[0].cx + item->spaceSize.cx + item->halfSizes[1].cx / 2;
    const RECT r = item->GetRect();
    EXPECT_EQ(e_compHalfFirst, item->HalfAt(r.left + first, r.top + 2));
    EXPECT_EQ(e_compHalfSecond, item->HalfAt(r.left + second, r.top + 2));
    EXPECT_EQ(e_compHalfNone, item->HalfAt(r.left + 21 + item->halfSizes[0].cx, r.top + 2));  // the space
    EXPECT_EQ(e_compHalfNone, item->HalfAt(r.left + 3, r.top + 2));                           // the icon

    host.halfTips[1] = true;
    Click(first, 2);
    Click(second, 2);
    host.halfTips[1] = false;
    Click(second, 2);
    Click(3, 2);  // on the icon: no click at all
    EXPECT_EQ((std::vector<std::string>{"select -1", "select -2"}), host.calls);

    // A release without a press does nothing.
    item->OnLButtonUp(0, r.left + first, r.top + 2);
    EXPECT_EQ(2u, host.calls.size());
}

TEST_F(RichItemTest, HitsFollowTheKind)
{
    UseSkin();
    struct t_case {
        int kind;
        bool hits;
    };
    const t_case cases[] = {{e_compHintUnderlined, true},
                            {e_compHintPassive, false},
                            {e_compHintPassiveAlt, false},
                            {e_compHintAction, true}};
    for (const t_case& c : cases) {
        Show(c.kind, L"text", true);
        const RECT r = item->GetRect();
        EXPECT_EQ(c.hits, item->HitTest(r.left + 25, r.top + 3, 0)) << c.kind;
        EXPECT_FALSE(item->HitTest(r.left + 3, r.top + 3, 0)) << c.kind;  // the icon never hits
    }

    // A host picture may refuse clicks at a point: it still hits, without the hand cursor.
    host.pictureSize = SIZE{30, 12};
    Show(e_compHintPicture, L"");
    const RECT r = item->GetRect();
    EXPECT_TRUE(item->HitTest(r.left + 8, r.top + 3, 0));
    EXPECT_TRUE(item->WantsHandCursor());
    host.pictureAccepts = false;
    EXPECT_TRUE(item->HitTest(r.left + 8, r.top + 3, 0));
    EXPECT_FALSE(item->WantsHandCursor());
}

TEST_F(RichItemTest, WaitingResultDrawsNothingThenShowsAnUnderlinedLink)
{
    UseSkin();
    t_compHintRecord record = {};
    record.kind = e_compHintResult;
    record.text = L"ignored";
    record.iconFlag = true;
    record.waiting = true;
    item->SetHint(record);
    item->Measure(nullptr);
    const RECT r = item->GetRect();
    EXPECT_FALSE(item->HitTest(r.left + 25, r.top + 3, 0));
    {
        t_testSurface surface(400, 60, true);
        item->Paint_Text(surface.Paint());
        EXPECT_EQ(0, surface.CountAlpha());
    }

    record.waiting = false;
    record.resultText = L"result";
    record.secondResultText = L"http://r";
    item->SetHint(record);
    item->Measure(nullptr);
    // The result fades in over 2 + 2 ticks, whatever the host's stamp.
    EXPECT_TRUE(item->hintFadeRunning);
    EXPECT_EQ(0, item->fadeAlpha);
    std::vector<int> seen;
    for (int tick = 0; tick < 5; ++tick) {
        item->OnTimer(c_compRichFadeTimerId);
        seen.push_back(item->fadeAlpha);
    }
    EXPECT_EQ((std::vector<int>{0, 0, 127, 254, 255}), seen);
    EXPECT_FALSE(item->hintFadeRunning);

    EXPECT_TRUE(item->HitTest(r.left + 25, r.top + 3, 0));
    t_testSurface surface(400, 60, true);
    item->Paint_Text(surface.Paint());
    // The icon, then the text with a line along its bottom in the text colour.
    int iconInk = 0;
    for (int y = 10; y < 26; ++y)
        for (int x = 10; x < 26; ++x)
            iconInk += (surface.At(x, y) >> 24) != 0;
    EXPECT_GT(iconInk, 100);
    const int textLeft = 10 + 21;
    const int bottom = 10 + (item->contentHeight - item->textSize.cy) / 2 + 1 + item->textSize.cy - 1;
    int lined = 0;
    for (int x = textLeft; x < textLeft + item->textSize.cx; ++x)
        lined += (surface.At(x, bottom) >> 24) == 0xFF;
    EXPECT_EQ(item->textSize.cx, lined);
    Click(25, 3);
    EXPECT_EQ((std::vector<std::string>{"link http://r"}), host.calls);
}

TEST_F(RichItemTest, OnlyLinkKindsAreUnderlined)
{
    UseSkin();
    // The text's bounding box; the bottom row holds a full line only where underlined.
    auto bottomRowCoverage = [&](int kind) {
        Show(kind, L"ab ab");
        t_testSurface surface(400, 60, true);
        item->Paint_Text(surface.Paint());
        const int y = 10 + (item->contentHeight - item->textSize.cy) / 2 + 1 + item->textSize.cy - 1;
        int count = 0;
        for (int x = 10; x < 10 + item->textSize.cx; ++x)
            count += (surface.At(x, y) >> 24) != 0;
        return count;
    };
    for (int kind : {e_compHintTriple, e_compHintUnderlined, e_compHintLink})
        EXPECT_EQ(item->textSize.cx, bottomRowCoverage(kind)) << kind;
    for (int kind : {e_compHintPassive, e_compHintAction})
        EXPECT_LT(bottomRowCoverage(kind), item->textSize.cx / 2) << kind;
}

TEST_F(RichItemTest, FadeWaitsThenRisesAndGatesThePaint)
{
    UseSkin();
    Show(e_compHintUnderlined, L"text");
    EXPECT_FALSE(item->hintFadeRunning);  // the stamp did not change: shown at once
    EXPECT_EQ(255, item->fadeAlpha);
    host.stamp = 3;
    Show(e_compHintUnderlined, L"text");
    EXPECT_TRUE(item->hintFadeRunning);
    std::vector<int> seen;
    for (int tick = 0; tick < 17; ++tick) {
        EXPECT_TRUE(item->OnTimer(c_compRichFadeTimerId));
        seen.push_back(item->fadeAlpha);
        if (tick == 7 || tick == 8) {
            // Below alpha 20 nothing is drawn; the first step (31) draws.
            t_testSurface surface(400, 60, true);
            item->Paint_Text(surface.Paint());
            EXPECT_EQ(tick == 8, surface.CountAlpha() > 0) << tick;
        }
    }
    EXPECT_EQ((std::vector<int>{0, 0, 0, 0, 0, 0, 0, 0, 31, 62, 93, 124, 155, 186, 217, 248, 255}), seen);
    EXPECT_FALSE(item->hintFadeRunning);

    // A tick while hidden stops the fade; the same stamp does not start it again.
    host.stamp = 4;
    Show(e_compHintUnderlined, L"text");
    item->visible = false;
    item->OnTimer(c_compRichFadeTimerId);
    EXPECT_FALSE(item->hintFadeRunning);
    item->visible = true;
    Show(e_compHintUnderlined, L"text");
    EXPECT_FALSE(item->hintFadeRunning);
    EXPECT_FALSE(item->OnTimer(7));  // not the item's
}

TEST_F(RichItemTest, HostPictureIsDrawnPastTheGap)
{
    host.pictureSize = SIZE{30, 12};
    Show(e_compHintPicture, L"");
    EXPECT_TRUE(item->hostPicture);
    EXPECT_EQ(35, Width());
    EXPECT_EQ(12, Height());
    t_testSurface surface(400, 60, true);
    item->Paint_Text(surface.Paint());
    EXPECT_EQ((std::vector<std::string>{"draw 30x12x32"}), host.calls);
    const RECT bounds = surface.AlphaBounds();
    EXPECT_EQ(15, bounds.left);
    EXPECT_EQ(10, bounds.top);
    EXPECT_EQ(45, bounds.right);
    EXPECT_EQ(22, bounds.bottom);
    EXPECT_EQ(0xFF00FF00u, surface.At(20, 15));

    // Without a picture from the host, or with a size no picture of an item may have, the
    // kind falls back to the text style (none here).
    for (SIZE size : {SIZE{0, 0}, SIZE{-5, 12}, SIZE{1025, 12}, SIZE{30, 1025}, SIZE{0x7FFFFFFF, 12}}) {
        host.pictureSize = size;
        Show(e_compHintPicture, L"x", true);
        EXPECT_FALSE(item->hostPicture) << size.cx << "x" << size.cy;
        EXPECT_EQ(16, Width()) << size.cx << "x" << size.cy;
    }
    // The largest one still fits.
    host.pictureSize = SIZE{1024, 1024};
    Show(e_compHintPicture, L"");
    EXPECT_TRUE(item->hostPicture);
    EXPECT_EQ(1029, Width());
}

TEST_F(RichItemTest, CaretStartsPastTheIcon)
{
    UseSkin();
    Show(e_compHintUnderlined, L"text", true);
    const RECT r = item->GetRect();
    EXPECT_EQ(r.left + 16, item->GetCaretRect().left);
    host.pictureSize = SIZE{30, 12};
    Show(e_compHintPicture, L"", true);
    EXPECT_EQ(r.left + 21, item->GetCaretRect().left);
    t_wndCompRichItem loose;
    const RECT none = loose.GetCaretRect();
    EXPECT_TRUE(IsRectEmpty(&none));
}

TEST_F(RichItemTest, FramePictureFromTheResourceLibrary)
{
    UseSkin();
    wchar_t path[MAX_PATH];
    ASSERT_GT(GetModuleFileNameW(nullptr, path, MAX_PATH), 0u);
    wcscpy(wcsrchr(path, L'\\') + 1, L"Resource.dll");
    HMODULE module = LoadLibraryW(path);
    ASSERT_NE(nullptr, module);
    ASSERT_TRUE(item->LoadFrame(module));
    EXPECT_GT(item->frame.width, 6);
    EXPECT_GT(item->frame.height, 3);
    FreeLibrary(module);

    Show(e_compHintUnderlined, L"text");
    const RECT frame = item->FrameRect();
    const RECT r = item->GetRectInHwnd();
    EXPECT_EQ(r.top - 3, frame.top);
    EXPECT_EQ(r.bottom + 3, frame.bottom);
    EXPECT_EQ(r.right + 6, frame.right);
    EXPECT_EQ(r.left - 8, frame.left);  // no icon: half an icon further left
    {
        // Only when the host asks for it.
        t_testSurface surface(400, 60, true);
        item->Paint_Text(surface.Paint());
        EXPECT_EQ(0u, surface.At(r.right + 3, r.top + 2) >> 24);
    }
    ui.drawsFrame = true;
    t_testSurface surface(400, 60, true);
    item->Paint_Text(surface.Paint());
    const RECT bounds = surface.AlphaBounds();
    EXPECT_EQ(frame.left, bounds.left);
    EXPECT_EQ(frame.top, bounds.top);
    EXPECT_EQ(frame.right, bounds.right);
    EXPECT_EQ(frame.bottom, bounds.bottom);

    // A picture too small for its edges is refused and leaves no frame.
    EXPECT_FALSE(item->SetFrameBitmap(SolidBitmap(4, 4, 0xFF000000u)));
    EXPECT_EQ(nullptr, item->frame.bitmap);
}

TEST_F(RichItemTest, ClearHintForgetsEverything)
{
    UseSkin();
    host.stamp = 9;
    t_compHintRecord record = {};
    record.kind = e_compHintTriple;
    record.text = L"text";
    record.tipText = L"tip";
    record.extraTexts[0] = L"a";
    record.extraTexts[2] = L"c";
    item->SetHint(record);
    EXPECT_STREQ(L"a", item->extraTexts[0].c_str());
    EXPECT_STREQ(L"", item->extraTexts[1].c_str());
    EXPECT_STREQ(L"tip", item->tipText.c_str());
    EXPECT_TRUE(item->hintFadeRunning);
    item->ClearHint();
    EXPECT_EQ(0, item->kind);
    EXPECT_TRUE(item->hintText.IsEmpty());
    EXPECT_TRUE(item->tipText.IsEmpty());
    EXPECT_FALSE(item->hintFadeRunning);
    // A null text empties the hint too.
    record.text = nullptr;
    item->SetHint(record);
    EXPECT_TRUE(item->hintText.IsEmpty());
}

TEST_F(RichItemTest, HoverAndIconPressOpenTheSharedRichTip)
{
    UseSkin();
    HWND host = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    context.SetHostWindow(host);
    EXPECT_EQ(1500, item->GetHoverTime(0, 0));
    Show(e_compHintUnderlined, L"text", true);
    const RECT r = item->GetRect();
    // No tip text: no tip is made.
    item->OnMouseHover(0, r.left + 25, r.top + 3);
    EXPECT_EQ(nullptr, t_wndCompRichItem::RichTip());

    t_compHintRecord record = {};
    record.kind = e_compHintUnderlined;
    record.text = L"text";
    record.tipText = L"tip line";
    record.iconFlag = true;
    item->SetHint(record);
    item->OnMouseHover(0, r.left + 25, r.top + 3);
    t_wndRichHint* tip = t_wndCompRichItem::RichTip();
    ASSERT_NE(nullptr, tip);
    EXPECT_TRUE(IsWindowVisible(tip->hwnd));
    EXPECT_GE(tip->RowCount(), 1);
    EXPECT_EQ(-1, tip->closeId);
    EXPECT_EQ(host, tip->ownerValue);
    EXPECT_GT(tip->rect.right - tip->rect.left, 1);

    // A click on the text hides it at once; a press on the icon opens it again, the same window.
    Click(25, 3);
    EXPECT_EQ(1, tip->rect.right - tip->rect.left);
    item->OnLButtonDown(0, r.left + 3, r.top + 3);
    EXPECT_EQ(tip, t_wndCompRichItem::RichTip());
    EXPECT_GT(tip->rect.right - tip->rect.left, 1);
    item->OnLButtonUp(0, r.left + 3, r.top + 3);
    EXPECT_EQ((std::vector<std::string>{"click"}), this->host.calls);
    DestroyWindow(host);
}

// ---- DirectUI hint ----

namespace {

class DuHintTest : public ::testing::Test {
protected:
    DuHintTest() : font(MakeTestFont(L"Tahoma", 14))
    {
        MakeWindowlessTop(top, 100, 200, 400, 60);
        context.SetImcWrap(&host);
        item = new t_wndDuHint();
        item->Create(0, 10, 10, 0, 0, 0, nullptr, &top);
        item->SetContext(&context);
        item->SetStyle(t_textItemStyle{0x123456, 0, 0, font.get(), false});
    }
    ~DuHintTest() override { top.Destroy(); }

    SIZE Measured()
    {
        item->Measure(nullptr);
        return SIZE{item->rect.right - item->rect.left, item->rect.bottom - item->rect.top};
    }
    void Wait(int ticks)
    {
        for (int i = 0; i < ticks; ++i)
            item->OnTimer(c_duHintTimerId);
    }

    t_testFontPtr font;
    t_wndTop top;
    t_fakeHost host;
    t_uiContext context;
    t_wndDuHint* item;
};

}  // namespace

TEST_F(DuHintTest, AppearsEightTicksAfterItsMarkupChanged)
{
    item->SetMarkup(L"<text>Hint</text>");
    EXPECT_EQ(0, Measured().cx);
    Wait(7);
    EXPECT_EQ(0, Measured().cx);
    EXPECT_EQ(0, host.refreshes);
    Wait(1);
    EXPECT_EQ(1, host.refreshes);
    const SIZE shown = Measured();
    EXPECT_GT(shown.cx, 10);
    EXPECT_GT(shown.cy, 5);

    // The same markup in other letter case changes nothing; another markup waits again.
    item->SetMarkup(L"<TEXT>hint</TEXT>");
    EXPECT_EQ(shown.cx, Measured().cx);
    EXPECT_STREQ(L"<text>Hint</text>", item->Markup().c_str());
    item->SetMarkup(L"<text>Other</text>");
    EXPECT_EQ(0, Measured().cx);
    Wait(8);
    EXPECT_GT(Measured().cx, 0);
    EXPECT_EQ(2, host.refreshes);

    // Hidden with null, the same hint shown again waits again instead of staying hidden.
    item->SetMarkup(nullptr);
    EXPECT_EQ(0, Measured().cx);
    item->SetMarkup(L"<text>Other</text>");
    Wait(8);
    EXPECT_GT(Measured().cx, 0);
}

TEST_F(DuHintTest, DelayRunsOnTheItemWindowFor400ms)
{
    HWND sink = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    ASSERT_NE(nullptr, sink);
    top.hwnd = sink;
    const DWORD start = GetTickCount();
    item->SetMarkup(L"<text>Hint</text>");
    while (!item->IsReady() && GetTickCount() - start < 5000) {
        MSG msg;
        if (PeekMessageW(&msg, sink, WM_TIMER, WM_TIMER, PM_REMOVE)) {
            if (msg.wParam == c_duHintTimerId)
                item->OnTimer(msg.wParam);
        } else {
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_TIMER);
        }
    }
    const DWORD elapsed = GetTickCount() - start;
    EXPECT_TRUE(item->IsReady());
    // Eight 50 ms ticks; timers never come early by more than the clock's grain.
    EXPECT_GE(elapsed, 350u);
    EXPECT_EQ(1, host.refreshes);
    top.hwnd = nullptr;
    DestroyWindow(sink);
}

TEST_F(DuHintTest, DelegateAnswersFromTheItemAndTheHost)
{
    EXPECT_EQ(0xFF123456u, item->GetTextColor());
    EXPECT_EQ(0u, item->GetBackColor());
    item->backColor = 0xABCDEF;
    item->hasBackColor = true;
    EXPECT_EQ(0xFFABCDEFu, item->GetBackColor());
    item->textColor = 0xFFFFFFFFu;
    EXPECT_EQ(0xFF000000u, item->GetTextColor());
    EXPECT_STREQ(L"Tahoma", item->GetFontName());
    EXPECT_EQ(-14, item->GetFontSize());
    EXPECT_FALSE(item->UseSmoothFont());  // the top paints without per-pixel alpha
    t_wndDuHint loose;
    EXPECT_TRUE(loose.UseSmoothFont());
    DirectUI::DuPicture picture;
    EXPECT_FALSE(loose.LoadResImage(L"x", picture));

    ASSERT_TRUE(item->LoadUrlImage(L"http://h/", L"p.png", L"http://h/p.png", picture));
    EXPECT_EQ((std::vector<std::string>{"image 5 p.png"}), host.calls);
    ASSERT_EQ(2, picture.width);
    ASSERT_EQ(2, picture.height);
    EXPECT_EQ(0xFFFF0000u, picture.pixels[0]);  // top row first
    EXPECT_EQ(0xFF0000FFu, picture.pixels[3]);
}

TEST_F(DuHintTest, LinksClickAndHitRelativeToTheItem)
{
    item->SetMarkup(L"<link href='go'>LINK</link>");
    Wait(8);
    SIZE size = Measured();
    ASSERT_GT(size.cx, 0);
    const RECT r = item->GetRect();
    EXPECT_TRUE(item->HitTest(r.left + 2, r.top + 2, 0));
    EXPECT_FALSE(item->HitTest(r.left - 2, r.top + 2, 0));
    EXPECT_TRUE(item->OnLButtonUp(0, r.left + 2, r.top + 2));
    EXPECT_EQ((std::vector<std::string>{"link go"}), host.calls);

    // Drawn at the item's place in the window (a plain text: a link's underline lies
    // below its box).
    item->SetMarkup(L"<text>Wx</text>");
    Wait(8);
    size = Measured();
    t_testSurface surface(400, 60, false);
    surface.Paint().FillRect(0, 0, 400, 60, 0xFFFFFFFFu);
    item->Paint_Text(surface.Paint());
    int inked = 0, outside = 0;
    for (int y = 0; y < 60; ++y) {
        for (int x = 0; x < 400; ++x) {
            const bool ink = (surface.At(x, y) & 0xFFFFFF) != 0xFFFFFF;
            const bool in = x >= 10 && x < 10 + size.cx && y >= 10 && y < 10 + size.cy;
            (in ? inked : outside) += ink;
        }
    }
    EXPECT_GT(inked, 0);
    EXPECT_EQ(0, outside);
}

// ---- Scroll image ----

TEST(ScrollImage, OffsetsStayWithinTenPixelsOfEitherEnd)
{
    struct t_case {
        int offset, picture, view, start;
        int expected;
    };
    const t_case cases[] = {
        {-30, 100, 40, 0, -10}, {-10, 100, 40, 0, -10}, {25, 100, 40, 0, 25}, {70, 100, 40, 0, 70},
        {90, 100, 40, 0, 70},   {50, 30, 40, 0, 10},    {-5, 30, 40, 0, -5},  {200, 100, 40, 120, 130},
    };
    for (const t_case& c : cases)
        EXPECT_EQ(c.expected, ClampScrollOffset(c.offset, c.picture, c.view, c.start))
            << c.offset << " " << c.picture << " " << c.view << " " << c.start;
}

namespace {

class ScrollImageTest : public ::testing::Test {
protected:
    ScrollImageTest()
    {
        MakeWindowlessTop(top, 100, 200, 300, 60);
        item = new t_wndScrollImage();
        item->Create(0, 10, 5, 0, 0, 0, nullptr, &top);
        item->CreateLayout();
        item->SetImage(SolidBitmap(100, 20, 0xFF0000FFu), 0, 0);
        item->SetSize(40, 50);
        item->SyncLayoutRect();
    }
    ~ScrollImageTest() override { top.Destroy(); }

    // Alpha of each column of the element's middle row.
    std::vector<int> Row()
    {
        t_testSurface surface(300, 60, true);
        item->Paint_Layout(surface.Paint());
        std::vector<int> alphas;
        for (int x = 10; x < 50; ++x)
            alphas.push_back(static_cast<int>(surface.At(x, 15) >> 24));
        return alphas;
    }

    t_wndTop top;
    t_wndScrollImage* item;
};

}  // namespace

TEST_F(ScrollImageTest, TakesAtMostThePictureSizeAndFadesAtItsRightEdge)
{
    EXPECT_EQ(40, item->rect.right - item->rect.left);
    EXPECT_EQ(20, item->rect.bottom - item->rect.top);
    const std::vector<int> alphas = Row();
    // Opaque up to the last (height = 20) columns, which fall towards 0.
    for (int x = 0; x < 20; ++x)
        EXPECT_EQ(255, alphas[x]) << x;
    for (int x = 21; x < 40; ++x)
        EXPECT_LT(alphas[x], alphas[x - 1]) << x;
    EXPECT_LT(alphas[39], 20);
}

TEST_F(ScrollImageTest, PulledBeyondEitherEndByTenPixels)
{
    item->SetScrollDelta(-50, 0);
    EXPECT_EQ(-10, item->delta.x);
    std::vector<int> alphas = Row();
    for (int x = 0; x < 10; ++x)
        EXPECT_EQ(0, alphas[x]) << x;  // the gap before the picture
    EXPECT_EQ(255, alphas[10]);
    EXPECT_EQ(-10, item->visiblePart.left);

    item->SetScrollDelta(500, 0);
    EXPECT_EQ(70, item->delta.x);
    alphas = Row();
    // 30 columns of picture remain; the fade runs over the last 20 of them.
    EXPECT_EQ(30, item->visiblePart.right - item->visiblePart.left);
    EXPECT_EQ(255, alphas[5]);
    EXPECT_LT(alphas[29], 20);
    for (int x = 30; x < 40; ++x)
        EXPECT_EQ(0, alphas[x]) << x;
}

TEST_F(ScrollImageTest, OffsetPastThePictureDrawsNothingAndMakesNoBitmap)
{
    // Shown once, then moved to a start beyond the picture's width: no visible width is left,
    // and the picture of the earlier paint must not stay on.
    EXPECT_EQ(255, Row()[0]);
    item->start = POINT{120, 0};
    EXPECT_EQ(0, Row()[0]);
    // Later paints make and keep nothing.
    const DWORD before = LiveGdiObjects();
    for (int i = 0; i < 3; ++i) {
        const std::vector<int> alphas = Row();
        EXPECT_EQ(0, *std::max_element(alphas.begin(), alphas.end()));
    }
    EXPECT_LE(item->visiblePart.right - item->visiblePart.left, 0);
    EXPECT_TRUE(item->composed.IsBitmapEmpty());
    EXPECT_EQ(before, LiveGdiObjects());

    // Destroy releases both pictures and zeroes the offsets.
    item->Destroy();
    EXPECT_TRUE(item->source.IsBitmapEmpty());
    EXPECT_EQ(0, item->start.x);
    EXPECT_EQ(0, item->pictureSize.cx);
}
