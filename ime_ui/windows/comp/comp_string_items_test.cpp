#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "graphics/paint/paint_ctx.h"
#include "graphics/text/font.h"
#include "ime_ui/windows/base/mask_icons.h"
#include "ime_ui/windows/comp/wnd_comp_string_bihua.h"
#include "ime_ui/windows/comp/wnd_comp_string_mode_icon.h"
#include "ime_ui/windows/comp/wnd_comp_string_text.h"
#include "tests/support/paint_surface.h"
#include "tests/support/painted_tree.h"
#include "toolkit/controls/imc_wrap.h"
#include "toolkit/controls/ui_context.h"
#include "toolkit/controls/wnd_top.h"

namespace {

// A host that counts strokes and hands out a stamp the test sets.
class t_testHost : public ImcWrapImplBase {
public:
    int GetHintStamp() override { return stamp; }
    void InputStroke(HWND, int stroke) override { strokes.push_back(stroke); }
    bool DrawModeIcon(HWND, const wchar_t* name, const wchar_t*, HDC, void* pixels, int width, int height,
                      BYTE) override
    {
        drawn.push_back(name);
        uint32_t* p = static_cast<uint32_t*>(pixels);
        for (int i = 0; i < width * height; ++i)
            p[i] = 0xFF0000FFu;  // opaque blue
        return true;
    }
    int stamp = 0;
    std::vector<int> strokes;
    bool OnModeIconClick(HWND, const wchar_t* name, const wchar_t*, int x, int y) override
    {
        clicks.push_back(std::wstring(name) + L"@" + std::to_wstring(x) + L"," + std::to_wstring(y));
        return true;
    }
    std::vector<std::wstring> drawn;
    std::vector<std::wstring> clicks;
};

// Appends one mode-icon record in the host's buffer format.
void PutRecord(std::vector<uint8_t>& out, int32_t id, uint8_t clickable, uint8_t hasTip, const wchar_t* name,
               const wchar_t* hint)
{
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<uint8_t>(static_cast<uint32_t>(id) >> (8 * i)));
    out.push_back(clickable);
    out.push_back(hasTip);
    for (const wchar_t* text : {name, hint}) {
        for (const wchar_t* p = text; *p; ++p) {
            out.push_back(static_cast<uint8_t>(*p & 0xFF));
            out.push_back(static_cast<uint8_t>(*p >> 8));
        }
        out.push_back(0);
        out.push_back(0);
    }
}

class CompStringItemsTest : public ::testing::Test {
protected:
    CompStringItemsTest()
    {
        MakeWindowlessTop(top, 100, 200, 300, 40);
        context.SetImcWrap(&host);
    }

    t_wndTop top;
    t_testHost host;
    t_uiContext context;
};

}  // namespace

TEST(CompStringText, LetterPositionsSkipApostrophes)
{
    struct t_case {
        const wchar_t* text;
        int letters;
        int units;
    };
    const t_case cases[] = {
        {L"ni'hao", 3, 4},  // n, i, ', h
        {L"ni'hao", 2, 2},  // the separator after the last letter is not taken
        {L"ni'hao", 0, 0}, {L"ni'hao", 5, 6}, {L"ni'hao", 99, 6}, {L"'''a", 1, 4}, {L"", 3, 0},
    };
    for (const t_case& c : cases)
        EXPECT_EQ(c.units, LetterPrefixLength(c.text, static_cast<int>(wcslen(c.text)), c.letters))
            << c.text << " " << c.letters;

    t_wndCompStringText item;
    item.SetItemText(L"ni'hao'ma");
    item.segmentStart = 2;
    item.segmentEnd = 5;
    item.SplitParts();
    EXPECT_STREQ(L"ni", item.before.c_str());
    EXPECT_STREQ(L"'hao", item.segment.c_str());
    EXPECT_STREQ(L"'ma", item.after.c_str());
}

TEST_F(CompStringItemsTest, SegmentIsFilledBehindItsText)
{
    t_wndCompStringText* item = new t_wndCompStringText();
    item->Create(0, 10, 5, 0, 0, 0, nullptr, &top);
    item->SetContext(&context);
    LOGFONTW lf = {};
    lf.lfHeight = -16;
    lf.lfWeight = FW_BOLD;
    lf.lfQuality = NONANTIALIASED_QUALITY;
    wcscpy(lf.lfFaceName, L"Tahoma");
    t_font* font = nullptr;
    ASSERT_TRUE(t_font::Create(lf, font, false));
    item->SetStyle(t_textItemStyle{0x00FF00, 0, 0, font, false});
    item->SetItemText(L"ab'cd");
    item->segmentStart = 2;
    item->segmentEnd = 4;
    item->Measure(nullptr);
    ASSERT_GT(item->segmentSize.cx, 0);
    EXPECT_GT(item->beforeSize.cx, 0);
    t_testSurface surface(300, 40, false);
    item->Paint_Text(surface.Paint());
    // The fill starts right after "ab"; the "ab" run itself is not filled.
    const int fillX = 10 + item->beforeSize.cx;
    int filled = 0;
    for (int x = fillX; x < fillX + item->segmentSize.cx; ++x)
        filled += (surface.At(x, 5) & 0xFFFFFF) == 0x0A246A;  // DIB order of 0x6A240A
    EXPECT_GT(filled, item->segmentSize.cx / 2);
    EXPECT_NE(0x0A246Au, surface.At(10, 5) & 0xFFFFFF);

    // start = end: one plain run, no fill anywhere.
    t_testSurface plain(300, 40, false);
    item->segmentEnd = 2;
    item->Paint_Text(plain.Paint());
    for (int x = 0; x < 300; ++x)
        EXPECT_NE(0x0A246Au, plain.At(x, 5) & 0xFFFFFF) << x;
    top.Destroy();
    t_font::Release(font);
}

TEST(CompStringBlank, MeasuresItsWidthByOne)
{
    struct t_case {
        int width;
        bool visible;
        SIZE size;
    };
    const t_case cases[] = {{64, true, {64, 1}}, {0, true, {0, 0}}, {64, false, {0, 0}}};
    for (const t_case& c : cases) {
        t_wndCompStringBlank blank;
        blank.blankWidth = c.width;
        blank.visible = c.visible;
        blank.Measure(nullptr);
        EXPECT_EQ(c.size.cx, blank.rect.right - blank.rect.left) << c.width;
        EXPECT_EQ(c.size.cy, blank.rect.bottom - blank.rect.top) << c.width;
    }
}

TEST(CompStringAlpha, DrawsAtSixTenthsAndHidesWithoutFont)
{
    EXPECT_EQ(153, DimmedAlpha(255));
    EXPECT_EQ(0, DimmedAlpha(0));
    EXPECT_EQ(76, DimmedAlpha(128));
    t_wndCompStringAlpha alpha;
    alpha.SetItemText(L"hint");
    alpha.Measure(nullptr);
    EXPECT_FALSE(alpha.visible);
    EXPECT_EQ(0, alpha.rect.right - alpha.rect.left);
}

TEST_F(CompStringItemsTest, FadeWaitsEightTicksRisesEightAndTellsTheTop)
{
    // The top's window is a message-only window that collects the end message.
    HWND sink = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    ASSERT_NE(nullptr, sink);
    top.hwnd = sink;
    t_wndCompStringAlpha* item = new t_wndCompStringAlpha();
    item->Create(0, 0, 0, 10, 10, 0, nullptr, &top);
    item->SetContext(&context);
    item->fadeTimerId = 161;

    item->RestartFade();  // stamp unchanged (0): nothing starts
    EXPECT_FALSE(item->timerRunning);
    host.stamp = 7;
    item->RestartFade();
    EXPECT_TRUE(item->timerRunning);
    EXPECT_EQ(0, item->alpha);
    EXPECT_FALSE(item->OnTimer(160));
    std::vector<int> seen;
    for (int tick = 1; tick <= 16; ++tick) {
        EXPECT_TRUE(item->OnTimer(161));
        seen.push_back(item->alpha);
    }
    const std::vector<int> expected = {0, 0, 0, 0, 0, 0, 0, 0, 31, 62, 93, 124, 155, 186, 217, 255};
    EXPECT_EQ(expected, seen);
    EXPECT_FALSE(item->timerRunning);
    MSG msg;
    ASSERT_TRUE(PeekMessageW(&msg, sink, c_msgFadeDone, c_msgFadeDone, PM_REMOVE));
    EXPECT_EQ(0x523u, msg.message);
    EXPECT_EQ(255u, msg.wParam);
    EXPECT_EQ(11, msg.lParam);

    // A tick while hidden stops a running fade.
    host.stamp = 8;
    item->RestartFade();
    item->visible = false;
    EXPECT_TRUE(item->OnTimer(161));
    EXPECT_FALSE(item->timerRunning);
    EXPECT_FALSE(PeekMessageW(&msg, sink, c_msgFadeDone, c_msgFadeDone, PM_REMOVE));
    top.hwnd = nullptr;
    DestroyWindow(sink);
}

TEST(CompStringModeIcon, ReadsRecordsAndRepeatsOnShortBuffers)
{
    std::vector<uint8_t> data;
    PutRecord(data, 5, 1, 0, L"中", L"mode");
    PutRecord(data, -2, 0, 1, L"en", L"");
    t_wndCompStringModeIcon item;
    item.SetModeIcons(data.data(), data.size(), 2);
    ASSERT_EQ(2, item.IconCount());
    EXPECT_EQ(5, item.Icon(0).id);
    EXPECT_EQ(1, item.Icon(0).clickable);
    EXPECT_STREQ(L"中", item.Icon(0).name);
    EXPECT_STREQ(L"mode", item.Icon(0).hint);
    EXPECT_EQ(-2, item.Icon(1).id);
    EXPECT_EQ(1, item.Icon(1).hasTip);
    EXPECT_EQ(26, item.Icon(1).x);
    item.Measure(nullptr);
    EXPECT_EQ(52, item.rect.right - item.rect.left);
    EXPECT_EQ(18, item.rect.bottom - item.rect.top);

    // Three records from a buffer of one: the later ones repeat the last values.
    item.SetModeIcons(data.data(), data.size() - 1, 3);
    ASSERT_EQ(3, item.IconCount());
    EXPECT_EQ(-2, item.Icon(2).id);
    EXPECT_STREQ(L"en", item.Icon(2).name);
    EXPECT_EQ(78, item.totalWidth);

    // A null buffer changes nothing; an impossible count is refused.
    item.SetModeIcons(nullptr, 100, 1);
    EXPECT_EQ(3, item.IconCount());
    item.SetModeIcons(data.data(), 4, 1000000);
    EXPECT_EQ(0, item.IconCount());
    EXPECT_EQ(0, item.totalHeight);
}

TEST(CompStringModeIcon, NamesWithoutTerminatorStayInsideTheBuffer)
{
    // A name of 300 units that runs to the end of the buffer with no 0 unit.
    std::vector<uint8_t> data = {1, 0, 0, 0, 1, 1};
    for (int i = 0; i < 300; ++i) {
        data.push_back('A' + i % 26);
        data.push_back(0);
    }
    data.push_back('Z');  // an odd last byte is no unit
    t_modeIconRecord records[2];
    memset(records, 0x5A, sizeof(records));
    ASSERT_EQ(2, ReadModeIconRecords(data.data(), data.size(), 2, records));
    EXPECT_EQ(127u, wcslen(records[0].name));
    EXPECT_EQ(L'A', records[0].name[0]);
    EXPECT_EQ(0u, wcslen(records[0].hint));
    EXPECT_STREQ(records[0].name, records[1].name);
    EXPECT_EQ(0, ReadModeIconRecords(data.data(), data.size(), 0, records));
}

TEST_F(CompStringItemsTest, ModeIconsAreDrawnByTheHost)
{
    std::vector<uint8_t> data;
    PutRecord(data, 1, 1, 0, L"a", L"");
    PutRecord(data, 2, 0, 0, L"b", L"");
    t_wndCompStringModeIcon* item = new t_wndCompStringModeIcon();
    item->Create(0, 4, 2, 0, 0, 0, nullptr, &top);
    item->SetContext(&context);
    item->SetModeIcons(data.data(), data.size(), 2);
    item->Measure(nullptr);
    t_testSurface surface(300, 40, false);
    item->Paint_Text(surface.Paint());
    ASSERT_EQ(2u, host.drawn.size());
    EXPECT_EQ(L"b", host.drawn[1]);
    EXPECT_EQ(0xFFu, surface.At(4, 2) & 0xFF);
    EXPECT_EQ(0xFFu, surface.At(4 + 26 + 17, 2 + 17) & 0xFF);
    EXPECT_EQ(0u, surface.At(4 + 20, 2) & 0xFF);  // the gap
    EXPECT_EQ(30, item->Icon(1).iconRect.left);

    // Screen points: the top sits at (100, 200). Only the clickable icon reaches the host,
    // with the point relative to the icon.
    EXPECT_TRUE(item->HitTest(100 + 4 + 3, 200 + 2 + 5, 0));
    EXPECT_TRUE(item->OnLButtonUp(0, 100 + 4 + 3, 200 + 2 + 5));
    EXPECT_FALSE(item->HitTest(100 + 30 + 3, 200 + 2 + 5, 0));  // neither clickable nor with a tip
    EXPECT_EQ(1, item->hovered);
    item->OnLButtonUp(0, 100 + 30 + 3, 200 + 2 + 5);
    EXPECT_FALSE(item->HitTest(100 + 4 + 20, 200 + 2 + 5, 0));  // the gap
    EXPECT_EQ((std::vector<std::wstring>{L"a@3,5"}), host.clicks);
}

TEST_F(CompStringItemsTest, AlphaTextDrawsAt153)
{
    LOGFONTW lf = {};
    lf.lfHeight = -20;
    lf.lfWeight = FW_BOLD;
    lf.lfQuality = NONANTIALIASED_QUALITY;
    wcscpy(lf.lfFaceName, L"Tahoma");
    t_font* font = nullptr;
    ASSERT_TRUE(t_font::Create(lf, font, false));
    for (int kind = 0; kind < 2; ++kind) {
        t_wndCompStringAlpha* item = kind == 0 ? new t_wndCompStringAlpha() : new t_wndCompStringFlashHint();
        item->Create(0, 2, 2, 0, 0, 0, nullptr, &top);
        item->SetStyle(t_textItemStyle{0xFFFFFF, 0, 0, font, false});
        item->SetItemText(L"WM");
        item->Measure(nullptr);
        ASSERT_GT(item->rect.right - item->rect.left, 0);
        t_testSurface surface(300, 40, true);
        item->Paint_Text(surface.Paint());
        uint32_t highest = 0;
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < 300; ++x)
                highest = std::max(highest, surface.At(x, y) >> 24);
        EXPECT_EQ(153u, highest) << kind;
        item->visible = false;
    }
    top.Destroy();
    t_font::Release(font);
}

TEST(CompStringBiHua, CellsHintsAndTint)
{
    struct t_case {
        int dx;
        int cell;
    };
    const t_case cases[] = {{0, -1}, {1, 0}, {9, 0}, {10, -1}, {11, 1}, {49, 4}, {50, -1}, {60, -1}, {-3, -1}};
    for (const t_case& c : cases)
        EXPECT_EQ(c.cell, StrokeCellAt(c.dx, 10)) << c.dx;
    EXPECT_EQ(-1, StrokeCellAt(5, 0));
    EXPECT_STREQ(L" 折，按 z 键输入 ", StrokeHintText(4));
    EXPECT_EQ(nullptr, StrokeHintText(5));

    // Black is opaque colour, white keeps alpha 1, mid grey half.
    EXPECT_EQ(0xFF0000FFu, TintStrokePixel(0x000000, 0xFF0000));
    EXPECT_EQ(0x01000001u, TintStrokePixel(0xFFFFFF, 0xFF0000));
    EXPECT_EQ(0x7F7F0000u, TintStrokePixel(0x808080, 0x0000FF));
}

TEST_F(CompStringItemsTest, StrokeKeysMeasureHitAndClick)
{
    t_wndCompStringBiHua* item = new t_wndCompStringBiHua();
    item->Create(0, 10, 0, 0, 0, 0, nullptr, &top);
    item->SetContext(&context);
    std::vector<uint32_t> pixels(50 * 12, 0xFFFFFF);
    pixels[0] = 0;
    ASSERT_TRUE(item->SetStrokePixels(pixels.data(), 50, 12, 0x0000FF));
    item->loadTried = true;
    item->Measure(nullptr);
    EXPECT_EQ(62, item->rect.right - item->rect.left);
    EXPECT_EQ(12, item->rect.bottom - item->rect.top);
    EXPECT_EQ(0xFFFF0000u, item->TintedPixels()[0]);
    const int left = item->rect.left, y = item->rect.top + 3;
    EXPECT_TRUE(item->HitTest(left + 49, y, 0));
    EXPECT_FALSE(item->HitTest(left + 55, y, 0));  // the margin is not the picture

    // A border point types stroke 0; a point in cell 3 types 3.
    item->OnLButtonUp(0, left + 20, y);
    item->OnLButtonUp(0, left + 35, y);
    EXPECT_EQ((std::vector<int>{0, 3}), host.strokes);
    EXPECT_FALSE(item->SetStrokePixels(pixels.data(), 0, 12, 0));
}

TEST_F(CompStringItemsTest, StrokeKeysWithoutColourHide)
{
    t_wndCompStringBiHua* item = new t_wndCompStringBiHua();
    item->Create(0, 10, 0, 0, 0, 0, nullptr, &top);
    item->SetContext(&context);
    item->Measure(nullptr);  // no skin: no colour of style 5
    EXPECT_FALSE(item->visible);
    EXPECT_EQ(0, item->rect.right - item->rect.left);
}

// A stroke picture that decodes but cannot be held is reported; a missing one is not.
TEST_F(CompStringItemsTest, StrokePictureThatCannotBeReadIsReported)
{
    t_wndCompStringBiHua* item = new t_wndCompStringBiHua();
    item->Create(0, 10, 0, 0, 0, 0, nullptr, &top);
    item->SetContext(&context);
    t_errorChain errors;
    // This program's own IDB_BIHUA is 4097 pixels wide.
    EXPECT_FALSE(item->LoadStrokeBitmap(errors, GetModuleHandleW(nullptr)));
    ASSERT_NE(nullptr, errors.FirstLine());
    EXPECT_STREQ(L"获取BITMAP失败!", errors.FirstLine()->text.c_str());
    EXPECT_FALSE(item->visible);

    t_errorChain none;
    EXPECT_FALSE(item->LoadStrokeBitmap(none, GetModuleHandleW(L"kernel32.dll")));
    EXPECT_EQ(nullptr, none.FirstLine());
}

TEST(CompStringBiHua, StrokePictureOfTheResourceLibraryDecodes)
{
    wchar_t path[MAX_PATH];
    ASSERT_GT(GetModuleFileNameW(nullptr, path, MAX_PATH), 0u);
    wcscpy(wcsrchr(path, L'\\') + 1, L"Resource.dll");
    HMODULE module = LoadLibraryW(path);
    ASSERT_NE(nullptr, module);
    uint32_t* pixels = nullptr;
    int width = 0, height = 0;
    ASSERT_TRUE(LoadResourcePixels(module, L"IDB_BIHUA", RT_BITMAP, pixels, width, height));
    EXPECT_GT(width / c_strokeCellCount, 4);
    EXPECT_GT(height, 4);
    delete[] pixels;
    FreeLibrary(module);
}
